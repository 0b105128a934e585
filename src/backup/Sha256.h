#pragma once

#include <string>
#include <string_view>

namespace quorva {

// The SHA-256 digest of the bytes as 64 lowercase hexadecimal digits.
[[nodiscard]] std::string sha256Hex(std::string_view bytes);

} // namespace quorva
