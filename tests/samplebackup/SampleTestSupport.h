#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quorva::samples::testing {

// Bytes written as pairs of hex digits, as archives are quoted in documentation.
[[nodiscard]] inline std::vector<uint8_t> fromHex(std::string_view hex)
{
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(static_cast<uint8_t>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16)));
    return bytes;
}

} // namespace quorva::samples::testing
