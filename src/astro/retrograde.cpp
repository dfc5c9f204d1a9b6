#include "astro/retrograde.h"

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <iterator>
#include <vector>

namespace velmora::astro {
namespace {

// A date as one comparable number, yyyymmdd.
constexpr int DateKey(int year, unsigned month, unsigned day) {
    return year * 10000 + static_cast<int>(month * 100 + day);
}

int DateKeyOf(const StationMoment& station) {
    return DateKey(station.Year, static_cast<unsigned>(station.Month), static_cast<unsigned>(station.Day));
}

// The station days of each table as date keys, made once: the retrograde
// stations and the direct stations, in the tables' order.
struct StationKeys {
    std::vector<int> Retrograde;
    std::vector<int> Direct;
};

const std::array<StationKeys, 8>& KeysOfTables() {
    static const std::array<StationKeys, 8> keys = [] {
        std::array<StationKeys, 8> all;
        for (std::size_t k = 0; k < kStationTables.size(); ++k) {
            for (const RetrogradePeriod& period : kStationTables[k]) {
                all[k].Retrograde.push_back(DateKeyOf(period.Retrograde));
                all[k].Direct.push_back(DateKeyOf(period.Direct));
            }
        }
        return all;
    }();
    return keys;
}

// The lookup of IsRetrograde for table k and a date key.
bool IsRetrogradeIn(std::size_t table, int date) {
    const StationKeys& keys = KeysOfTables()[table];
    // The number of periods whose retrograde station day lies before the
    // date, found without branches on the data.
    const int* first = keys.Retrograde.data();
    std::size_t length = keys.Retrograde.size();
    while (length > 1) {
        const std::size_t half = length / 2;
        first = first[half - 1] < date ? first + half : first;
        length -= half;
    }
    const std::size_t before =
        static_cast<std::size_t>(first - keys.Retrograde.data()) + (length == 1 && *first < date);
    if (before == 0) return false;
    return date < keys.Direct[before - 1];
}

int DateKeyOf(const ClockReading& moment) {
    return DateKey(moment.Year, static_cast<unsigned>(moment.Month), static_cast<unsigned>(moment.Day));
}

}  // namespace

std::span<const RetrogradePeriod> RetrogradePeriods(std::string_view planet) {
    for (std::size_t k = 0; k < kStationPlanets.size(); ++k) {
        if (kStationPlanets[k] == planet) return kStationTables[k];
    }
    return {};
}

bool IsRetrograde(std::string_view planet, const ClockReading& moment) {
    // The periods are in order and none begins before the previous one has
    // ended, so only the last period whose retrograde station day lies before
    // the date can contain it. The time of day plays no part.
    for (std::size_t k = 0; k < kStationPlanets.size(); ++k) {
        if (kStationPlanets[k] == planet) return IsRetrogradeIn(k, DateKeyOf(moment));
    }
    return false;
}

std::array<bool, 5> RetrogradeFlagsOn(const ClockReading& moment) {
    std::array<bool, 5> flags{};
    // Mercury .. Saturn are the first five tables.
    const int date = DateKeyOf(moment);
    for (std::size_t k = 0; k < kRetrogradePlanets.size(); ++k) flags[k] = IsRetrogradeIn(k, date);
    return flags;
}

}  // namespace velmora::astro
