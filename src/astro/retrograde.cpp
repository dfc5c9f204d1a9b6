#include "astro/retrograde.h"

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <optional>
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

// The day of a calendar date, counted from 1970-01-01; nothing for a date
// the calendar has not got (30 February, month 13).
std::optional<int> DayOf(int year, int month, int day) {
    if (month < 1 || month > 12 || day < 1 || day > 31) return std::nullopt;
    const std::chrono::year_month_day date{std::chrono::year{year}, std::chrono::month{static_cast<unsigned>(month)},
                                           std::chrono::day{static_cast<unsigned>(day)}};
    if (!date.ok()) return std::nullopt;
    return static_cast<int>(std::chrono::sys_days{date}.time_since_epoch().count());
}

// The answers of the first five tables for every day they span, made once:
// one byte a day, bit k set for table k on the days strictly between a
// retrograde station's day and its direct station's day (the periods are in
// order and none overlaps the next, so this is IsRetrogradeIn's answer). A
// chart asks for the five planets on one date, which is then a single read.
struct RetrogradeDays {
    int FirstDay = 0;
    std::vector<std::uint8_t> Flags;
};

std::optional<int> DayOf(const StationMoment& station) { return DayOf(station.Year, station.Month, station.Day); }

const RetrogradeDays& DaysOfTables() {
    static const RetrogradeDays days = [] {
        // Each period's station days, then the days they span marked.
        struct Span {
            int From, To;
            std::size_t Table;
        };
        std::vector<Span> spans;
        for (std::size_t k = 0; k < kRetrogradePlanets.size(); ++k) {
            for (const RetrogradePeriod& period : kStationTables[k]) {
                const std::optional<int> from = DayOf(period.Retrograde);
                const std::optional<int> to = DayOf(period.Direct);
                if (!from || !to) return RetrogradeDays{};  // never in the generated tables: every lookup by table
                spans.push_back({*from, *to, k});
            }
        }
        RetrogradeDays all;
        if (spans.empty()) return all;
        int last = spans.front().To;
        all.FirstDay = spans.front().From;
        for (const Span& span : spans) {
            all.FirstDay = std::min(all.FirstDay, span.From);
            last = std::max(last, span.To);
        }
        all.Flags.assign(static_cast<std::size_t>(last - all.FirstDay + 1), 0);
        for (const Span& span : spans)
            for (int day = span.From + 1; day < span.To; ++day)
                all.Flags[static_cast<std::size_t>(day - all.FirstDay)] |= static_cast<std::uint8_t>(1u << span.Table);
        return all;
    }();
    return days;
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
    // Within the tables' days, the day's byte; a date beyond them (or one
    // the calendar has not got) is looked up table by table.
    const RetrogradeDays& days = DaysOfTables();
    if (const std::optional<int> day = DayOf(moment.Year, moment.Month, moment.Day)) {
        const long long at = static_cast<long long>(*day) - days.FirstDay;
        if (at >= 0 && at < static_cast<long long>(days.Flags.size())) {
            const std::uint8_t bits = days.Flags[static_cast<std::size_t>(at)];
            for (std::size_t k = 0; k < flags.size(); ++k) flags[k] = (bits >> k & 1u) != 0;
            return flags;
        }
    }
    // Mercury .. Saturn are the first five tables.
    const int date = DateKeyOf(moment);
    for (std::size_t k = 0; k < kRetrogradePlanets.size(); ++k) flags[k] = IsRetrogradeIn(k, date);
    return flags;
}

}  // namespace velmora::astro
