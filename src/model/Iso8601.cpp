#include "model/Iso8601.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

namespace quorva {
namespace {

// Howard Hinnant's days-from-civil / civil-from-days, proleptic Gregorian calendar.
constexpr int64_t daysFromCivil(int64_t y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

struct Civil {
    int64_t year;
    unsigned month;
    unsigned day;
};

constexpr Civil civilFromDays(int64_t z)
{
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t y = static_cast<int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    return {y + (m <= 2), m, d};
}

constexpr bool isLeap(int64_t y)
{
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

constexpr unsigned daysInMonth(int64_t y, unsigned m)
{
    constexpr unsigned days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && isLeap(y) ? 29 : days[m - 1];
}

// Reads exactly `count` ASCII digits at `pos`.
bool readDigits(std::string_view s, size_t& pos, size_t count, int64_t& out)
{
    if (pos + count > s.size())
        return false;
    int64_t value = 0;
    for (size_t i = 0; i < count; ++i) {
        const char c = s[pos + i];
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    pos += count;
    out = value;
    return true;
}

bool expect(std::string_view s, size_t& pos, char c)
{
    if (pos >= s.size() || s[pos] != c)
        return false;
    ++pos;
    return true;
}

} // namespace

std::string formatInternetDateTime(Instant instant)
{
    const auto totalMillis = static_cast<int64_t>(std::llround(instant.unixSeconds * 1000.0));
    int64_t days = totalMillis / 86'400'000;
    int64_t millisOfDay = totalMillis % 86'400'000;
    if (millisOfDay < 0) {
        millisOfDay += 86'400'000;
        days -= 1;
    }
    const Civil date = civilFromDays(days);
    const int64_t secondsOfDay = millisOfDay / 1000;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%04lld-%02u-%02uT%02lld:%02lld:%02lld.%03lldZ",
                  static_cast<long long>(date.year), date.month, date.day,
                  static_cast<long long>(secondsOfDay / 3600), static_cast<long long>(secondsOfDay / 60 % 60),
                  static_cast<long long>(secondsOfDay % 60), static_cast<long long>(millisOfDay % 1000));
    return buffer;
}

std::optional<Instant> parseInternetDateTime(std::string_view s, FractionalSeconds fraction)
{
    size_t pos = 0;
    int64_t year, month, day, hour, minute, second;
    if (!readDigits(s, pos, 4, year) || !expect(s, pos, '-') || !readDigits(s, pos, 2, month) ||
        !expect(s, pos, '-') || !readDigits(s, pos, 2, day) || !expect(s, pos, 'T') ||
        !readDigits(s, pos, 2, hour) || !expect(s, pos, ':') || !readDigits(s, pos, 2, minute) ||
        !expect(s, pos, ':') || !readDigits(s, pos, 2, second))
        return std::nullopt;
    if (month < 1 || month > 12 || day < 1 || day > daysInMonth(year, static_cast<unsigned>(month)) ||
        hour > 23 || minute > 59 || second > 59)
        return std::nullopt;

    double fractionalPart = 0.0;
    if (fraction == FractionalSeconds::required) {
        if (!expect(s, pos, '.'))
            return std::nullopt;
        double scale = 0.1;
        size_t digits = 0;
        while (pos < s.size() && s[pos] >= '0' && s[pos] <= '9') {
            fractionalPart += (s[pos] - '0') * scale;
            scale /= 10.0;
            ++pos;
            ++digits;
        }
        if (digits == 0)
            return std::nullopt;
    }

    int64_t offsetSeconds = 0;
    if (pos < s.size() && s[pos] == 'Z') {
        ++pos;
    } else if (pos < s.size() && (s[pos] == '+' || s[pos] == '-')) {
        const int sign = s[pos] == '-' ? -1 : 1;
        ++pos;
        int64_t oh, om;
        if (!readDigits(s, pos, 2, oh) || !expect(s, pos, ':') || !readDigits(s, pos, 2, om) || oh > 23 ||
            om > 59)
            return std::nullopt;
        offsetSeconds = sign * (oh * 3600 + om * 60);
    } else {
        return std::nullopt;
    }
    if (pos != s.size())
        return std::nullopt;

    const int64_t days = daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day));
    const int64_t seconds = days * 86400 + hour * 3600 + minute * 60 + second - offsetSeconds;
    return Instant{static_cast<double>(seconds) + fractionalPart};
}

} // namespace quorva
