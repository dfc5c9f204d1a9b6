#include "astro/engine.h"
#include "astro/retrograde.h"
#include "core/display.h"
#include "model/birth_builders.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <string>
#include <vector>

namespace velmora::astro {
namespace {

using namespace std::chrono;
using velmora::testing::BirthData;

ClockReading Reading(const year_month_day& date, int hour, int minute) {
    return ClockReading{static_cast<int>(date.year()), static_cast<int>(unsigned(date.month())),
                        static_cast<int>(unsigned(date.day())), hour, minute};
}

year_month_day DateOfReading(const ClockReading& m) {
    return year{m.Year} / month{static_cast<unsigned>(m.Month)} / day{static_cast<unsigned>(m.Day)};
}

ClockReading At(int y, unsigned m, unsigned d, int hour = 12, int minute = 0) {
    return Reading(year{y} / month{m} / day{d}, hour, minute);
}

sys_days DateOf(const StationMoment& s) {
    return sys_days{year{s.Year} / month{static_cast<unsigned>(s.Month)} / day{static_cast<unsigned>(s.Day)}};
}

long MinutesOf(const StationMoment& s) {
    return static_cast<long>(DateOf(s).time_since_epoch().count()) * 1440 + s.Hour * 60 + s.Minute;
}

ClockReading Plus(const ClockReading& m, int days) {
    return Reading(year_month_day{sys_days{DateOfReading(m)} + std::chrono::days{days}}, m.Hour, m.Minute);
}

ClockReading MomentOf(const StationMoment& s) {
    return At(s.Year, static_cast<unsigned>(s.Month), static_cast<unsigned>(s.Day), s.Hour, s.Minute);
}

BirthData Birth(int y, int m, int d, int hour = 12, int minute = 0) {
    return velmora::testing::BirthAt(y, m, d, hour, minute);
}

struct QuotedRow {
    std::size_t Index;
    StationMoment Retrograde;
    StationMoment Direct;
};

struct TableFacts {
    const char* Planet;
    std::size_t Rows;
    int ShortestDays;  // calendar days from retrograde date to direct date
    int LongestDays;
    int MinSpacingDays;  // between consecutive retrograde station dates (synodic period)
    int MaxSpacingDays;
    std::vector<QuotedRow> Quoted;  // first and last rows included
};

const std::vector<TableFacts>& AllTables() {
    static const std::vector<TableFacts> tables{
        {"Mercury",
         476,
         19,
         25,
         100,
         135,
         {{0, {1900, 3, 15, 13, 19}, {1900, 4, 7, 18, 42}},
          {1, {1900, 7, 18, 0, 53}, {1900, 8, 11, 14, 59}},
          {238, {1975, 9, 26, 23, 43}, {1975, 10, 18, 10, 18}},
          {475, {2050, 12, 1, 17, 17}, {2050, 12, 21, 11, 33}}}},
        {"Venus",
         95,
         40,
         44,
         570,
         600,
         {{0, {1900, 6, 16, 22, 56}, {1900, 7, 30, 2, 44}},
          {47, {1975, 8, 6, 4, 31}, {1975, 9, 18, 1, 10}},
          {94, {2050, 9, 25, 22, 15}, {2050, 11, 6, 19, 4}}}},
        {"Mars",
         71,
         60,
         81,
         750,
         820,
         {{0, {1901, 1, 13, 6, 16}, {1901, 4, 4, 7, 21}},
          {35, {1975, 11, 6, 13, 2}, {1976, 1, 20, 21, 20}},
          {70, {2050, 7, 15, 5, 50}, {2050, 9, 13, 9, 41}}}},
        {"Jupiter",
         139,
         117,
         124,
         390,
         410,
         {{0, {1900, 3, 27, 20, 39}, {1900, 7, 29, 1, 35}}, {138, {2050, 12, 21, 13, 21}, {2051, 4, 21, 23, 46}}}},
        {"Saturn",
         146,
         133,
         142,
         370,
         386,
         {{0, {1900, 4, 14, 6, 2}, {1900, 9, 2, 14, 39}},
          {73, {1975, 11, 14, 18, 43}, {1976, 3, 27, 17, 52}},
          {145, {2050, 5, 18, 13, 6}, {2050, 10, 6, 11, 5}}}},
        {"Uranus",
         150,
         149,
         155,
         365,
         375,
         {{0, {1900, 3, 17, 17, 36}, {1900, 8, 17, 15, 27}}, {149, {2050, 12, 30, 15, 40}, {2051, 5, 29, 6, 22}}}},
        {"Neptune",
         150,
         156,
         161,
         364,
         372,
         {{0, {1900, 10, 2, 13, 58}, {1901, 3, 8, 0, 45}}, {149, {2050, 8, 31, 13, 52}, {2051, 2, 4, 10, 41}}}},
        {"Pluto",
         151,
         156,
         165,
         363,
         371,
         {{0, {1899, 9, 16, 5, 48}, {1900, 2, 27, 7, 36}}, {150, {2050, 6, 10, 3, 49}, {2050, 11, 21, 16, 16}}}},
    };
    return tables;
}

void ExpectSameMoment(const StationMoment& actual, const StationMoment& expected, const std::string& where) {
    EXPECT_EQ(actual.Year, expected.Year) << where;
    EXPECT_EQ(actual.Month, expected.Month) << where;
    EXPECT_EQ(actual.Day, expected.Day) << where;
    EXPECT_EQ(actual.Hour, expected.Hour) << where;
    EXPECT_EQ(actual.Minute, expected.Minute) << where;
}

// The lookup rule read literally: every row, calendar-day counts only. The
// rows' dates are turned into day numbers once, so a scan of every row on
// every day stays cheap under the sanitizers.
struct StationDays {
    sys_days Retrograde, Direct;
};

std::vector<StationDays> StationDaysOf(std::span<const RetrogradePeriod> periods) {
    std::vector<StationDays> days;
    days.reserve(periods.size());
    for (const RetrogradePeriod& p : periods) days.push_back({DateOf(p.Retrograde), DateOf(p.Direct)});
    return days;
}

bool RetrogradeByScan(const std::vector<StationDays>& rows, const ClockReading& moment) {
    const sys_days date{DateOfReading(moment)};
    for (const StationDays& row : rows) {
        const auto toRetrograde = (row.Retrograde - date).count();
        const auto toDirect = (row.Direct - date).count();
        if (toRetrograde < 0 && toDirect > 0) return true;
    }
    return false;
}

TEST(RetrogradeTables, RowCountsAndQuotedRows) {
    for (const TableFacts& facts : AllTables()) {
        const std::span<const RetrogradePeriod> periods = RetrogradePeriods(facts.Planet);
        ASSERT_EQ(periods.size(), facts.Rows) << facts.Planet;
        for (const QuotedRow& q : facts.Quoted) {
            const std::string where = std::string(facts.Planet) + " row " + std::to_string(q.Index);
            ExpectSameMoment(periods[q.Index].Retrograde, q.Retrograde, where + " retrograde");
            ExpectSameMoment(periods[q.Index].Direct, q.Direct, where + " direct");
        }
    }
}

TEST(RetrogradeTables, FieldsAreValidStationMoments) {
    for (const TableFacts& facts : AllTables()) {
        for (const RetrogradePeriod& p : RetrogradePeriods(facts.Planet)) {
            for (const StationMoment& s : {p.Retrograde, p.Direct}) {
                const year_month_day date{year{s.Year}, month{static_cast<unsigned>(s.Month)},
                                          day{static_cast<unsigned>(s.Day)}};
                EXPECT_TRUE(date.ok()) << facts.Planet << " " << s.Year << "-" << int{s.Month} << "-" << int{s.Day};
                EXPECT_GE(s.Year, 1899) << facts.Planet;
                EXPECT_LE(s.Year, 2051) << facts.Planet;
                EXPECT_GE(s.Hour, 0) << facts.Planet;
                EXPECT_LE(s.Hour, 23) << facts.Planet;
                EXPECT_GE(s.Minute, 0) << facts.Planet;
                EXPECT_LE(s.Minute, 59) << facts.Planet;
            }
        }
    }
}

TEST(RetrogradeTables, PeriodsAreOrderedDisjointAndOfPlausibleLength) {
    for (const TableFacts& facts : AllTables()) {
        const std::span<const RetrogradePeriod> periods = RetrogradePeriods(facts.Planet);
        for (std::size_t i = 0; i < periods.size(); ++i) {
            const RetrogradePeriod& p = periods[i];
            const std::string where = std::string(facts.Planet) + " row " + std::to_string(i);
            EXPECT_LT(MinutesOf(p.Retrograde), MinutesOf(p.Direct)) << where;
            const auto days = (DateOf(p.Direct) - DateOf(p.Retrograde)).count();
            EXPECT_GE(days, facts.ShortestDays) << where;
            EXPECT_LE(days, facts.LongestDays) << where;
            if (i == 0) continue;
            const RetrogradePeriod& previous = periods[i - 1];
            EXPECT_LT(MinutesOf(previous.Direct), MinutesOf(p.Retrograde)) << where;
            // One retrograde period per synodic period: a missing or doubled
            // row shows up as a gap twice as long or far too short.
            const auto spacing = (DateOf(p.Retrograde) - DateOf(previous.Retrograde)).count();
            EXPECT_GE(spacing, facts.MinSpacingDays) << where;
            EXPECT_LE(spacing, facts.MaxSpacingDays) << where;
        }
    }
}

TEST(RetrogradeTables, UnknownNamesHaveNoTable) {
    EXPECT_TRUE(RetrogradePeriods("Sun").empty());
    EXPECT_TRUE(RetrogradePeriods("mercury").empty());
    EXPECT_TRUE(RetrogradePeriods("").empty());
}

TEST(IsRetrograde, MercuryAroundTheSeptember1975Period) {
    // Stations 26 Sep 1975 23:43 and 18 Oct 1975 10:18: both days are direct.
    for (int hour : {0, 12, 23}) {
        EXPECT_FALSE(IsRetrograde("Mercury", At(1975, 9, 26, hour, 59))) << hour;
        EXPECT_FALSE(IsRetrograde("Mercury", At(1975, 10, 18, hour, 0))) << hour;
    }
    EXPECT_FALSE(IsRetrograde("Mercury", At(1975, 10, 18, 0, 0)));
    for (int hour = 0; hour < 24; ++hour) {
        EXPECT_TRUE(IsRetrograde("Mercury", At(1975, 9, 27, hour, 0))) << hour;
    }
    EXPECT_TRUE(IsRetrograde("Mercury", At(1975, 10, 17, 23, 59)));
    EXPECT_FALSE(IsRetrograde("Mercury", At(1975, 9, 25, 12, 0)));
    EXPECT_FALSE(IsRetrograde("Mercury", At(1975, 10, 19, 12, 0)));
}

TEST(IsRetrograde, ShortlyAfterALateStationCountsFromTheNextDay) {
    // The station fell at 23:43; 47 minutes later it is already the next day.
    EXPECT_TRUE(IsRetrograde("Mercury", At(1975, 9, 27, 0, 30)));
    EXPECT_FALSE(IsRetrograde("Mercury", At(1975, 9, 26, 23, 50)));
}

TEST(IsRetrograde, PeriodsThatCrossAYearEnd) {
    // Mars 6 Nov 1975 to 20 Jan 1976, Saturn 14 Nov 1975 to 27 Mar 1976.
    EXPECT_TRUE(IsRetrograde("Mars", At(1976, 1, 1, 0, 0)));
    EXPECT_TRUE(IsRetrograde("Mars", At(1975, 12, 31, 23, 59)));
    EXPECT_TRUE(IsRetrograde("Mars", At(1976, 1, 19, 23, 59)));
    EXPECT_FALSE(IsRetrograde("Mars", At(1976, 1, 20, 0, 0)));
    EXPECT_TRUE(IsRetrograde("Saturn", At(1976, 1, 1)));
    EXPECT_TRUE(IsRetrograde("Saturn", At(1976, 3, 26)));
    EXPECT_FALSE(IsRetrograde("Saturn", At(1976, 3, 27)));
}

TEST(IsRetrograde, OutsideTheTablesIsNeverRetrograde) {
    for (const TableFacts& facts : AllTables()) {
        const std::span<const RetrogradePeriod> periods = RetrogradePeriods(facts.Planet);
        const ClockReading first = MomentOf(periods.front().Retrograde);
        const ClockReading last = MomentOf(periods.back().Direct);
        EXPECT_FALSE(IsRetrograde(facts.Planet, first)) << facts.Planet;
        EXPECT_TRUE(IsRetrograde(facts.Planet, Plus(first, 1))) << facts.Planet;
        EXPECT_TRUE(IsRetrograde(facts.Planet, Plus(last, -1))) << facts.Planet;
        EXPECT_FALSE(IsRetrograde(facts.Planet, last)) << facts.Planet;
        for (int days : {1, 30, 365, 3650}) {
            EXPECT_FALSE(IsRetrograde(facts.Planet, Plus(first, -days))) << facts.Planet << " " << days;
            EXPECT_FALSE(IsRetrograde(facts.Planet, Plus(last, days))) << facts.Planet << " " << days;
        }
    }
}

TEST(IsRetrograde, NamesAreComparedExactly) {
    const ClockReading inside = At(1975, 10, 1);  // Mercury is retrograde
    ASSERT_TRUE(IsRetrograde("Mercury", inside));
    for (const char* name : {"mercury", "MERCURY", "Mercury ", " Mercury", "Merc", "", "Sun", "Moon", "Rahu"}) {
        EXPECT_FALSE(IsRetrograde(name, inside)) << '"' << name << '"';
    }
}

TEST(IsRetrograde, AgreesWithAScanOfEveryRowOnEveryDay) {
    const sys_days from{year{1899} / January / 1};
    const sys_days to{year{2052} / December / 31};
    for (std::string_view planet : kStationPlanets) {
        const std::span<const RetrogradePeriod> periods = RetrogradePeriods(planet);
        const std::vector<StationDays> rows = StationDaysOf(periods);
        int retrogradeDays = 0;
        int mismatches = 0;
        for (sys_days d = from; d <= to; d += std::chrono::days{1}) {
            const ClockReading moment = Reading(year_month_day{d}, 23, 59);
            const bool expected = RetrogradeByScan(rows, moment);
            retrogradeDays += expected;
            if (IsRetrograde(planet, moment) != expected && ++mismatches <= 5) {
                ADD_FAILURE() << planet << " on " << static_cast<int>(DateOfReading(moment).year()) << "-"
                              << static_cast<unsigned>(DateOfReading(moment).month()) << "-"
                              << static_cast<unsigned>(DateOfReading(moment).day());
            }
        }
        EXPECT_EQ(mismatches, 0) << planet;
        // Each period contributes its length less one day (the station days).
        int expectedDays = 0;
        for (const RetrogradePeriod& p : periods) {
            expectedDays += static_cast<int>((DateOf(p.Direct) - DateOf(p.Retrograde)).count()) - 1;
        }
        EXPECT_EQ(retrogradeDays, expectedDays) << planet;
    }
}

// The flags the formula engine gives Mercury .. Saturn, and the names the
// chart shows for the ten bodies.
struct Marks {
    std::array<bool, 5> RetrogradeFlags{};
    std::array<std::string, 10> BodyDisplayNames;
};

Marks MarkRetrogrades(const BirthData& birth, const velmora::core::ZoneOffset& zone = {}) {
    const EnginePositions p = ComputeFormulaPositions(velmora::testing::MomentOf(birth, zone));
    Marks marks;
    for (std::size_t k = 0; k < 5; ++k) marks.RetrogradeFlags[k] = p.Retrograde[kRetrogradeBodies[k]];
    for (std::size_t b = 0; b < 10; ++b)
        marks.BodyDisplayNames[b] = velmora::core::DisplayNameOf(static_cast<Body>(b), p.Retrograde[b]);
    return marks;
}

TEST(MarkRetrogrades, MarksRetrogradePlanetsInTheDisplayNames) {
    Marks marks = MarkRetrogrades(Birth(1976, 1, 1, 0, 0));
    EXPECT_EQ(marks.RetrogradeFlags, (std::array<bool, 5>{false, false, true, false, true}));
    EXPECT_EQ(marks.BodyDisplayNames, (std::array<std::string, 10>{"Sun", "Moon", "Mercury", "Venus", "Mars (R) ",
                                                                   "Jupiter", "Saturn (R) ", "Rahu", "Ketu", "Asc"}));

    marks = MarkRetrogrades(Birth(1975, 9, 27, 0, 5));
    EXPECT_EQ(marks.RetrogradeFlags, (std::array<bool, 5>{true, false, false, true, false}));
    EXPECT_EQ(marks.BodyDisplayNames[2], "Mercury (R) ");
    EXPECT_EQ(marks.BodyDisplayNames[5], "Jupiter (R) ");
}

TEST(MarkRetrogrades, UsesTheDateAsEnteredWithoutZoneCorrection) {
    // 23:30 on the day of Mercury's station, in a zone twelve hours west:
    // universal time would already be 27 September, but the entered date counts.
    BirthData birth = Birth(1975, 9, 26, 23, 30);
    birth.DaylightSaving = true;
    Marks marks = MarkRetrogrades(birth, velmora::core::ZoneOffset{12, 0});
    EXPECT_FALSE(marks.RetrogradeFlags[0]);
    EXPECT_EQ(marks.BodyDisplayNames[2], "Mercury");

    marks = MarkRetrogrades(Birth(1975, 10, 17, 23, 59), velmora::core::ZoneOffset{5, 0});
    EXPECT_TRUE(marks.RetrogradeFlags[0]);
}

TEST(MarkRetrogrades, OnlyTheFivePlanetsEverCarryTheMark) {
    // Every tenth day across the tables: the flags follow IsRetrograde, the
    // planets' names carry the mark exactly when flagged, the rest never do.
    std::array<int, 5> flaggedDays{};
    const sys_days from{year{1901} / January / 1};
    const sys_days to{year{2050} / December / 31};
    for (sys_days d = from; d <= to; d += std::chrono::days{10}) {
        const year_month_day date{d};
        const Marks marks =
            MarkRetrogrades(Birth(static_cast<int>(date.year()), static_cast<int>(static_cast<unsigned>(date.month())),
                                  static_cast<int>(static_cast<unsigned>(date.day()))));
        for (std::size_t i : {0u, 1u, 7u, 8u, 9u}) {
            ASSERT_EQ(marks.BodyDisplayNames[i], kBodyNames[i]);
        }
        for (std::size_t k = 0; k < 5; ++k) {
            const bool expected = IsRetrograde(kRetrogradePlanets[k], Reading(date, 12, 0));
            ASSERT_EQ(marks.RetrogradeFlags[k], expected);
            flaggedDays[k] += expected;
            const std::string base(kBodyNames[k + 2]);
            ASSERT_EQ(marks.BodyDisplayNames[k + 2], expected ? base + " (R) " : base);
        }
    }
    for (std::size_t k = 0; k < 5; ++k) EXPECT_GT(flaggedDays[k], 0) << kRetrogradePlanets[k];
}

}  // namespace
}  // namespace velmora::astro

namespace velmora::astro {

// The five flags a chart reads at once agree, on every day the tables span
// and a month either side, with each planet asked alone and with the
// periods read one by one (strictly after the retrograde station's day,
// strictly before the direct station's); dates the calendar has not got are
// answered as each planet asked alone answers them.
TEST(RetrogradeFlags, EveryDayAgreesWithEachPlanetAskedAlone) {
    const auto key = [](int y, int m, int d) { return y * 10000 + m * 100 + d; };
    int retrogradeDays = 0;
    for (sys_days day = sys_days{1899y / November / 1}; day <= sys_days{2052y / February / 28}; day += days{1}) {
        const year_month_day date{day};
        const velmora::ClockReading clock{static_cast<int>(date.year()), static_cast<int>(unsigned(date.month())),
                                          static_cast<int>(unsigned(date.day())), 12, 0};
        const std::array<bool, 5> flags = RetrogradeFlagsOn(clock);
        const int at = key(clock.Year, clock.Month, clock.Day);
        for (std::size_t k = 0; k < flags.size(); ++k) {
            bool within = false;
            for (const RetrogradePeriod& p : RetrogradePeriods(kRetrogradePlanets[k]))
                within = within || (key(p.Retrograde.Year, p.Retrograde.Month, p.Retrograde.Day) < at &&
                                    at < key(p.Direct.Year, p.Direct.Month, p.Direct.Day));
            ASSERT_EQ(flags[k], within) << kRetrogradePlanets[k] << " " << at;
            ASSERT_EQ(flags[k], IsRetrograde(kRetrogradePlanets[k], clock)) << kRetrogradePlanets[k] << " " << at;
            retrogradeDays += flags[k];
        }
    }
    EXPECT_GT(retrogradeDays, 20000);
    for (const velmora::ClockReading& odd :
         {velmora::ClockReading{1975, 2, 30, 0, 0}, velmora::ClockReading{1976, 4, 31},
          velmora::ClockReading{1976, 13, 1}, velmora::ClockReading{1976, 0, 5}, velmora::ClockReading{1800, 1, 1},
          velmora::ClockReading{2400, 6, 1}}) {
        const std::array<bool, 5> flags = RetrogradeFlagsOn(odd);
        for (std::size_t k = 0; k < flags.size(); ++k)
            EXPECT_EQ(flags[k], IsRetrograde(kRetrogradePlanets[k], odd))
                << odd.Year << "-" << odd.Month << "-" << odd.Day;
    }
}

}  // namespace velmora::astro
