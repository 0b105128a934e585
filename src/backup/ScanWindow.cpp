#include "backup/ScanWindow.h"

#include <unicode/calendar.h>

#include <cmath>
#include <memory>

namespace quorva {

Instant calendarDaysBefore(Instant instant, int days)
{
    const double millis = instant.unixSeconds * 1000.0;
    if (!std::isfinite(millis))
        return Instant::distantPast();
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Calendar> calendar(icu::Calendar::createInstance(status));
    if (U_FAILURE(status) || !calendar)
        return Instant::distantPast();
    // Not lenient: an instant outside the calendar's range is an error rather than clamped.
    calendar->setLenient(false);
    calendar->setTime(millis, status);
    calendar->add(UCAL_DATE, -days, status);
    const UDate earlier = calendar->getTime(status);
    if (U_FAILURE(status))
        return Instant::distantPast();
    return Instant::fromUnixSeconds(earlier / 1000.0);
}

} // namespace quorva
