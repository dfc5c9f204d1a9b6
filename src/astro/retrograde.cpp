#include "astro/retrograde.h"

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <iterator>

namespace velmora::astro {
namespace {

// A date as one comparable number, yyyymmdd.
constexpr int DateKey(int year, unsigned month, unsigned day) { return year * 10000 + static_cast<int>(month * 100 + day); }

int DateKeyOf(const StationMoment& station) {
    return DateKey(station.Year, static_cast<unsigned>(station.Month), static_cast<unsigned>(station.Day));
}

}  // namespace

std::span<const RetrogradePeriod> RetrogradePeriods(std::string_view planet) {
    for (std::size_t k = 0; k < kStationPlanets.size(); ++k) {
        if (kStationPlanets[k] == planet) return kStationTables[k];
    }
    return {};
}

bool IsRetrograde(std::string_view planet, const CivilMinute& moment) {
    const std::span<const RetrogradePeriod> periods = RetrogradePeriods(planet);
    const int date = DateKey(static_cast<int>(moment.Date.year()), static_cast<unsigned>(moment.Date.month()),
                             static_cast<unsigned>(moment.Date.day()));
    // The periods are in order and none begins before the previous one has
    // ended, so only the last period whose retrograde station day lies before
    // the date can contain it. The time of day plays no part.
    const auto after = std::partition_point(periods.begin(), periods.end(), [date](const RetrogradePeriod& period) {
        return DateKeyOf(period.Retrograde) < date;
    });
    if (after == periods.begin()) return false;
    return date < DateKeyOf(std::prev(after)->Direct);
}

std::array<bool, 5> RetrogradeFlagsOn(const CivilMinute& moment) {
    std::array<bool, 5> flags{};
    for (std::size_t k = 0; k < kRetrogradePlanets.size(); ++k) flags[k] = IsRetrograde(kRetrogradePlanets[k], moment);
    return flags;
}

}  // namespace velmora::astro
