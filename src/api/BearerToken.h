#pragma once

#include <string_view>

namespace quorva {

// Whether the text can follow "Bearer " in a header: visible ASCII only. A control character
// would split the request, and a space or a non-ASCII byte would be sent in whatever form it
// happens to have.
[[nodiscard]] bool isHeaderSafe(std::string_view token);

// Whether a token the service hands out can be kept and used: 1 to 4096 bytes, header-safe.
[[nodiscard]] bool isUsableBearerToken(std::string_view token);

} // namespace quorva
