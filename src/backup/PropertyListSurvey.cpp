#include "backup/PropertyListSurvey.h"

namespace quorva {
namespace {

// 0001-01-01T00:00:00Z up to 10000-01-01T00:00:00Z: the dates an ISO-8601 text can carry, which
// is how they travel on.
constexpr double kCalendarStart = -62135596800.0;
constexpr double kCalendarEnd = 253402300800.0;

} // namespace

std::optional<Instant> PropertyListSurvey::date(std::string_view key) const
{
    const auto found = m_entries.find(key);
    return found != m_entries.end() ? found->second : std::nullopt;
}

void PropertyListSurvey::noteEntry(std::string key, std::optional<Instant> date)
{
    if (date && !(date->unixSeconds >= kCalendarStart && date->unixSeconds < kCalendarEnd))
        date.reset(); // also not a number
    const auto [entry, added] = m_entries.try_emplace(std::move(key), date);
    if (!added)
        entry->second.reset(); // which of the two the parser keeps is its own affair
}

} // namespace quorva
