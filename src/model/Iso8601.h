#pragma once

#include "model/Instant.h"

#include <optional>
#include <string>
#include <string_view>

namespace quorva {

// "2026-03-01T08:15:30.250Z": UTC, exactly three fractional digits, trailing Z.
[[nodiscard]] std::string formatInternetDateTime(Instant instant);

enum class FractionalSeconds { required, forbidden };

// Strict RFC 3339 internet date-time: full date with dashes, 'T', full time with colons,
// fractional seconds as asked, and 'Z' or a signed hh:mm offset. Anything else gives nothing.
[[nodiscard]] std::optional<Instant> parseInternetDateTime(std::string_view text, FractionalSeconds fraction);

} // namespace quorva
