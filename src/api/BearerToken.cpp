#include "api/BearerToken.h"

#include <algorithm>

namespace quorva {

bool isHeaderSafe(std::string_view token)
{
    return std::ranges::all_of(token, [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte >= 0x21 && byte <= 0x7E;
    });
}

bool isUsableBearerToken(std::string_view token)
{
    constexpr std::size_t kLongest = 4096;
    return !token.empty() && token.size() <= kLongest && isHeaderSafe(token);
}

} // namespace quorva
