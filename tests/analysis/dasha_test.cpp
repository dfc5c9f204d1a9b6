#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <new>

#include "analysis/dasha.h"

using namespace velmora::analysis;
using namespace std::chrono;

namespace {

constexpr double kSecondsPerYear = 365.25 * 86400;

UtMoment At(year_month_day date, double hours = 0) { return UtMoment(sys_days(date)) + duration<double>(hours * 3600); }

double YearsBetween(UtMoment from, UtMoment to) { return (to - from).count() / kSecondsPerYear; }

double DaysBetween(UtMoment from, UtMoment to) { return (to - from).count() / 86400; }

const UtMoment kBirth = At(2000y / January / 1);

// Checks what holds for any table: nine mahas in the lords' order, each
// following the last, antar dashas that tile their maha.
void ExpectWellFormed(const DashaTable& table, UtMoment birth) {
    ASSERT_EQ(table.Periods.size(), 9u);
    UtMoment expectedStart = birth;
    for (std::size_t m = 0; m < 9; ++m) {
        const MahaDasha& maha = table.Periods[m];
        SCOPED_TRACE(testing::Message() << "maha " << maha.LordName);
        EXPECT_EQ(maha.Lord, static_cast<int>((table.Lord + m) % 9));
        EXPECT_EQ(maha.LordName, kDashaLords[static_cast<std::size_t>(maha.Lord)].Name);
        EXPECT_NEAR(DaysBetween(expectedStart, maha.Start), 0, 1e-6);
        expectedStart = maha.End;
        ASSERT_FALSE(maha.Sub.empty());
        EXPECT_EQ(maha.Sub.back().Lord, (maha.Lord + 8) % 9);  // the one before the maha lord closes
        EXPECT_EQ(maha.Sub.front().Start, maha.Start);
        EXPECT_EQ(maha.Sub.back().End, maha.End);
        double antarYears = 0;
        for (std::size_t a = 0; a < maha.Sub.size(); ++a) {
            if (a > 0) {
                EXPECT_EQ(maha.Sub[a].Start, maha.Sub[a - 1].End);
            }
            EXPECT_LT(maha.Sub[a].Start, maha.Sub[a].End);
            antarYears += YearsBetween(maha.Sub[a].Start, maha.Sub[a].End);
        }
        EXPECT_NEAR(antarYears, YearsBetween(maha.Start, maha.End), 1e-9);
        if (m > 0) {
            EXPECT_EQ(maha.Sub.size(), 9u);
            EXPECT_EQ(maha.Sub.front().Lord, maha.Lord);
            EXPECT_NEAR(YearsBetween(maha.Start, maha.End), kDashaLords[static_cast<std::size_t>(maha.Lord)].Years,
                        1e-9);
        }
    }
}

}  // namespace

TEST(Dasha, MoonAtTheStartOfANakshatra) {
    const DashaTable table = VimshottariDashas(0.0, kBirth);
    EXPECT_EQ(table.Nakshatra, 1);
    EXPECT_EQ(table.NakshatraName, "Ashwini");
    EXPECT_EQ(table.LordName, "Ketu");
    EXPECT_DOUBLE_EQ(table.BalanceYears, 7.0);
    ExpectWellFormed(table, kBirth);
    const MahaDasha& ketu = table.Periods[0];
    EXPECT_EQ(ketu.Start, kBirth);
    EXPECT_NEAR(YearsBetween(kBirth, ketu.End), 7.0, 1e-9);
    ASSERT_EQ(ketu.Sub.size(), 9u);
    EXPECT_EQ(ketu.Sub[0].LordName, "Ketu");
    EXPECT_NEAR(YearsBetween(ketu.Sub[0].Start, ketu.Sub[0].End), 7.0 * 7 / 120, 1e-9);
    EXPECT_EQ(ketu.Sub[1].LordName, "Venus");
    EXPECT_NEAR(YearsBetween(ketu.Sub[1].Start, ketu.Sub[1].End), 7.0 * 20 / 120, 1e-9);
    EXPECT_NEAR(YearsBetween(kBirth, table.Periods.back().End), 120.0, 1e-9);
}

TEST(Dasha, EveryNakshatraEdgeWrittenInMinutes) {
    // Nakshatra n starts at n × 800 arcminutes.
    for (int n = 0; n < 27; ++n) {
        SCOPED_TRACE(n);
        const int minutes = 800 * n;
        const DashaTable table = VimshottariDashas(minutes / 60 + (minutes % 60) / 60.0, kBirth);
        EXPECT_EQ(table.Nakshatra, n + 1);
        EXPECT_EQ(table.Lord, n % 9);
        EXPECT_DOUBLE_EQ(table.ElapsedFraction, 0.0);
        EXPECT_DOUBLE_EQ(table.BalanceYears, kDashaLords[static_cast<std::size_t>(n % 9)].Years);
        ASSERT_FALSE(table.Periods.empty());
        ASSERT_FALSE(table.Periods[0].Sub.empty());
        EXPECT_EQ(table.Periods[0].Sub[0].Lord, n % 9);
    }
    EXPECT_EQ(VimshottariDashas(40.0 / 3, kBirth).NakshatraName, "Bharani");
    EXPECT_EQ(VimshottariDashas(359.9, kBirth).NakshatraName, "Revati");
    EXPECT_EQ(VimshottariDashas(360.0, kBirth).NakshatraName, "Ashwini");
    EXPECT_EQ(VimshottariDashas(-1.0, kBirth).NakshatraName, "Revati");
}

TEST(Dasha, MoonAtTheVeryEndOfANakshatra) {
    // A hair before Bharani: Ketu is all but spent, only its last antar
    // (Mercury's) remains, and Venus follows at once.
    const DashaTable table = VimshottariDashas(40.0 / 3 - 1e-7, kBirth);
    EXPECT_EQ(table.NakshatraName, "Ashwini");
    EXPECT_EQ(table.LordName, "Ketu");
    EXPECT_NEAR(table.BalanceYears, 0.0, 1e-6);
    ExpectWellFormed(table, kBirth);
    ASSERT_EQ(table.Periods[0].Sub.size(), 1u);
    EXPECT_EQ(table.Periods[0].Sub[0].LordName, "Mercury");
    EXPECT_EQ(table.Periods[1].LordName, "Venus");
    EXPECT_LT(DaysBetween(kBirth, table.Periods[1].Start), 0.01);
    EXPECT_EQ(table.Periods[1].Sub[0].LordName, "Venus");
    EXPECT_NEAR(YearsBetween(kBirth, table.Periods.back().End), 120.0 - 7.0, 1e-5);
}

TEST(Dasha, HalfwayThroughPushya) {
    // Moon at 100°: 7.5 nakshatras, so Pushya (the 8th), lord Saturn (19
    // years), half gone. Balance 9.5 years = 3469.875 days, so Saturn
    // nominally began 1990-07-02 03:00 and ends 2009-07-01 21:00.
    // Saturn's antars: Saturn 3.008333, Mercury 2.691667, Ketu 1.108333,
    // Venus 3.166667 years... Venus runs from 6.808333 to 9.975 years into
    // Saturn, so it is running at birth (9.5) and ends 0.475 years
    // (173.49 days) later, 2000-06-22; Sun follows for 0.95 years to
    // 2001-06-04.
    const DashaTable table = VimshottariDashas(100.0, kBirth);
    EXPECT_EQ(table.Nakshatra, 8);
    EXPECT_EQ(table.NakshatraName, "Pushya");
    EXPECT_EQ(table.LordName, "Saturn");
    EXPECT_NEAR(table.ElapsedFraction, 0.5, 1e-12);
    EXPECT_NEAR(table.BalanceYears, 9.5, 1e-9);
    ExpectWellFormed(table, kBirth);

    const MahaDasha& saturn = table.Periods[0];
    EXPECT_EQ(saturn.StartDate, 2000y / January / 1);
    EXPECT_NEAR(DaysBetween(At(2009y / July / 1, 21), saturn.End), 0, 1.0 / 1440);
    EXPECT_EQ(saturn.EndDate, 2009y / July / 1);
    ASSERT_EQ(saturn.Sub.size(), 6u);  // Venus, Sun, Moon, Mars, Rahu, Jupiter
    EXPECT_EQ(saturn.Sub[0].LordName, "Venus");
    EXPECT_EQ(saturn.Sub[0].Start, kBirth);
    EXPECT_NEAR(DaysBetween(At(2000y / June / 22, 11.85), saturn.Sub[0].End), 0, 1.0);
    EXPECT_EQ(saturn.Sub[1].LordName, "Sun");
    EXPECT_EQ(saturn.Sub[1].EndDate, 2001y / June / 4);
    EXPECT_EQ(saturn.Sub[5].LordName, "Jupiter");

    // Mercury 17 years to 2026-07-02 03:00; its own antar 17 × 17 / 120 =
    // 2.408333 years, to 2011-11-28 12:27.
    const MahaDasha& mercury = table.Periods[1];
    EXPECT_EQ(mercury.LordName, "Mercury");
    EXPECT_EQ(mercury.StartDate, 2009y / July / 1);
    EXPECT_EQ(mercury.EndDate, 2026y / July / 2);
    EXPECT_EQ(mercury.Sub[0].EndDate, 2011y / November / 28);
    EXPECT_EQ(mercury.Sub[1].LordName, "Ketu");

    // 120 years less the 9.5 gone: 110.5 years, to 2110-07-03 03:00.
    EXPECT_NEAR(YearsBetween(kBirth, table.Periods.back().End), 110.5, 1e-9);
    EXPECT_EQ(table.Periods.back().LordName, "Jupiter");
    EXPECT_EQ(table.Periods.back().EndDate, 2110y / July / 3);
}

TEST(Dasha, TotalSpanIsTheCycleLessTheElapsedPart) {
    for (double longitude : {5.0, 77.7, 181.25, 293.0, 359.5}) {
        SCOPED_TRACE(longitude);
        const DashaTable table = VimshottariDashas(longitude, kBirth);
        ExpectWellFormed(table, kBirth);
        const double firstYears = kDashaLords[static_cast<std::size_t>(table.Lord)].Years;
        EXPECT_NEAR(YearsBetween(kBirth, table.Periods.back().End), 120.0 - table.ElapsedFraction * firstYears, 1e-9);
        EXPECT_NEAR(YearsBetween(table.Periods[0].Start, table.Periods[0].End), table.BalanceYears, 1e-9);
    }
}

TEST(Dasha, RunningPeriodAtAMoment) {
    const DashaTable table = VimshottariDashas(100.0, kBirth);
    auto running = RunningDashaAt(table, kBirth);
    ASSERT_TRUE(running.has_value());
    EXPECT_EQ(running->Maha, 0u);
    EXPECT_EQ(table.Periods[running->Maha].Sub[running->Antar].LordName, "Venus");

    running = RunningDashaAt(table, At(2000y / July / 1));
    ASSERT_TRUE(running.has_value());
    EXPECT_EQ(table.Periods[running->Maha].Sub[running->Antar].LordName, "Sun");

    running = RunningDashaAt(table, At(2010y / March / 15));
    ASSERT_TRUE(running.has_value());
    EXPECT_EQ(table.Periods[running->Maha].LordName, "Mercury");
    EXPECT_EQ(running->Antar, 0u);

    // A period's end belongs to the next one.
    running = RunningDashaAt(table, table.Periods[0].End);
    ASSERT_TRUE(running.has_value());
    EXPECT_EQ(running->Maha, 1u);

    EXPECT_FALSE(RunningDashaAt(table, kBirth - duration<double>(1)).has_value());
    EXPECT_FALSE(RunningDashaAt(table, table.Periods.back().End).has_value());
}

TEST(Dasha, JulianDays) {
    EXPECT_EQ(MomentOfJulianDay(2451545.0), At(2000y / January / 1, 12));
    EXPECT_EQ(UtDateOf(MomentOfJulianDay(2451544.5)), 2000y / January / 1);
    EXPECT_EQ(UtDateOf(MomentOfJulianDay(2451544.4999)), 1999y / December / 31);
    EXPECT_EQ(UtDateOf(MomentOfJulianDay(2415020.5)), 1900y / January / 1);
}

// The short in-place lists: a value made in place starts from its defaults
// even where an earlier list's values lay in the same storage, and copies
// and assignments carry exactly the values made (a copy of a longer list
// over a shorter one and back).
TEST(FixedList, ValuesMadeInPlaceCopiedAndAssigned) {
    using List = FixedList<DashaPeriod, 9>;
    alignas(List) unsigned char storage[sizeof(List)];
    std::memset(storage, 0x5A, sizeof storage);  // stale bytes where the list will lie
    List* list = ::new (storage) List;
    EXPECT_TRUE(list->empty());
    DashaPeriod& first = list->emplace_back();
    EXPECT_EQ(first.Lord, 0);
    EXPECT_EQ(first.Start.time_since_epoch().count(), 0.0);
    EXPECT_EQ(first.End.time_since_epoch().count(), 0.0);
    first.Lord = 4;
    for (int lord = 5; lord < 9; ++lord)
        list->push_back(DashaPeriod{lord, UtMoment{std::chrono::duration<double>(lord)}, {}});
    ASSERT_EQ(list->size(), 5u);

    const List copy = *list;
    ASSERT_EQ(copy.size(), 5u);
    int expected = 4;
    for (const DashaPeriod& p : copy) EXPECT_EQ(p.Lord, expected++);
    EXPECT_EQ(copy.back().Start.time_since_epoch().count(), 8.0);

    List shorter;
    shorter.push_back(DashaPeriod{1, {}, {}});
    shorter = copy;
    EXPECT_EQ(shorter.size(), 5u);
    EXPECT_EQ(shorter[2].Lord, 6);
    List single;
    single.push_back(DashaPeriod{2, {}, {}});
    shorter = single;
    ASSERT_EQ(shorter.size(), 1u);
    EXPECT_EQ(shorter.front().Lord, 2);
    const List& same = shorter;
    shorter = same;  // onto itself: unchanged
    EXPECT_EQ(shorter.front().Lord, 2);
    list->~List();
}
