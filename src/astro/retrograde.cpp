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
// stations and the direct stations, in the tables' order, and for each year
// of the table the index of its first period whose retrograde station falls
// in that year or later (one more entry, the table's end, closes the last
// year), so that a lookup reads only its own year's few periods.
struct StationKeys {
    std::vector<int> Retrograde;
    std::vector<int> Direct;
    int FirstYear = 0;
    std::vector<std::size_t> FirstOfYear;
};

const std::array<StationKeys, 8>& KeysOfTables() {
    static const std::array<StationKeys, 8> keys = [] {
        std::array<StationKeys, 8> all;
        for (std::size_t k = 0; k < kStationTables.size(); ++k) {
            StationKeys& table = all[k];
            for (const RetrogradePeriod& period : kStationTables[k]) {
                table.Retrograde.push_back(DateKeyOf(period.Retrograde));
                table.Direct.push_back(DateKeyOf(period.Direct));
            }
            if (table.Retrograde.empty()) continue;
            table.FirstYear = table.Retrograde.front() / 10000;
            const int lastYear = table.Retrograde.back() / 10000;
            std::size_t index = 0;
            for (int year = table.FirstYear; year <= lastYear + 1; ++year) {
                while (index < table.Retrograde.size() && table.Retrograde[index] < year * 10000) ++index;
                table.FirstOfYear.push_back(index);
            }
        }
        return all;
    }();
    return keys;
}

// The lookup of IsRetrograde for table k and a date key: the number of
// periods whose retrograde station day lies before the date is those of the
// earlier years and those of the date's year before it.
bool IsRetrogradeIn(std::size_t table, int date) {
    const StationKeys& keys = KeysOfTables()[table];
    if (keys.FirstOfYear.empty()) return false;
    const int year = date / 10000;
    std::size_t before = 0;
    if (year >= keys.FirstYear) {
        const std::size_t row = std::min(static_cast<std::size_t>(year - keys.FirstYear), keys.FirstOfYear.size() - 1);
        const std::size_t first = keys.FirstOfYear[row];
        const std::size_t end = row + 1 < keys.FirstOfYear.size() ? keys.FirstOfYear[row + 1] : first;
        before = first;
        for (std::size_t k = first; k < end; ++k) before += keys.Retrograde[k] < date;
    }
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
