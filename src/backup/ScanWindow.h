#pragma once

#include "model/Instant.h"

namespace quorva {

// The same wall-clock time `days` calendar days before `instant`, in the user's calendar and
// time zone (not days * 24 hours across a daylight-saving change). The distant past when the
// calendar cannot produce that date.
[[nodiscard]] Instant calendarDaysBefore(Instant instant, int days);

} // namespace quorva
