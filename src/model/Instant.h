#pragma once

#include <compare>
#include <functional>
#include <limits>

namespace quorva {

// Seconds between 1970-01-01T00:00:00Z and 2001-01-01T00:00:00Z, the epoch of backup dates.
inline constexpr double kSecondsFrom1970To2001 = 978307200.0;

// An absolute point in time with sub-second precision, kept as double seconds since the
// Unix epoch: backup dates are converted in double precision and must compare exactly.
struct Instant {
    double unixSeconds = 0.0;

    [[nodiscard]] static Instant now();
    [[nodiscard]] static constexpr Instant fromUnixSeconds(double s) { return Instant{s}; }
    [[nodiscard]] static constexpr Instant fromReferenceSeconds(double s)
    {
        return Instant{s + kSecondsFrom1970To2001};
    }
    // Earlier than every real date: stands for "no date" when sorting and for "no window".
    [[nodiscard]] static constexpr Instant distantPast()
    {
        return Instant{-std::numeric_limits<double>::max()};
    }
    // Later than every real date: "no end" of a window.
    [[nodiscard]] static constexpr Instant distantFuture()
    {
        return Instant{std::numeric_limits<double>::max()};
    }

    [[nodiscard]] constexpr double referenceSeconds() const { return unixSeconds - kSecondsFrom1970To2001; }

    friend constexpr auto operator<=>(const Instant&, const Instant&) = default;
    friend constexpr bool operator==(const Instant&, const Instant&) = default;
};

} // namespace quorva

template <> struct std::hash<quorva::Instant> {
    std::size_t operator()(const quorva::Instant& i) const noexcept
    {
        return std::hash<double>{}(i.unixSeconds);
    }
};
