#include <gtest/gtest.h>

#include <cmath>

#include "analysis/yogini.h"

using namespace velmora::analysis;
using namespace std::chrono;

namespace {

UtMoment At(year_month_day date) { return UtMoment(sys_days(date)); }

double Years(UtMoment from, UtMoment to, double yearDays = 365.25) { return (to - from).count() / 86400 / yearDays; }

const UtMoment kBirth = At(1990y / June / 15);

// What holds for any table: eight periods in yogini order from the first,
// each following the last, antars that tile their maha from its own yogini.
void ExpectWellFormed(const YoginiTable& table, UtMoment birth) {
    ASSERT_EQ(table.Periods.size(), 8u);
    UtMoment expectedStart = birth;
    for (std::size_t m = 0; m < 8; ++m) {
        const YoginiMaha& maha = table.Periods[m];
        SCOPED_TRACE(maha.YoginiName);
        EXPECT_EQ(maha.Yogini, static_cast<int>((static_cast<std::size_t>(table.First) + m) % 8));
        EXPECT_EQ(maha.LordName, kDashaLords[static_cast<std::size_t>(maha.Lord)].Name);
        EXPECT_EQ(maha.Start, expectedStart);
        expectedStart = maha.End;
        ASSERT_FALSE(maha.Sub.empty());
        EXPECT_EQ(maha.Sub.front().Start, maha.Start);
        EXPECT_EQ(maha.Sub.back().End, maha.End);
        EXPECT_EQ(maha.Sub.back().Yogini, (maha.Yogini + 7) % 8);
        for (std::size_t a = 1; a < maha.Sub.size(); ++a) {
            EXPECT_EQ(maha.Sub[a].Start, maha.Sub[a - 1].End);
            EXPECT_EQ(maha.Sub[a].Yogini, (maha.Sub[a - 1].Yogini + 1) % 8);
        }
        if (m > 0) {
            ASSERT_EQ(maha.Sub.size(), 8u);
            EXPECT_EQ(maha.Sub.front().Yogini, maha.Yogini);
            EXPECT_NEAR(Years(maha.Start, maha.End, table.YearDays), maha.Years, 1e-9);
            for (const YoginiSpan& antar : maha.Sub)
                EXPECT_NEAR(Years(antar.Start, antar.End, table.YearDays),
                            maha.Years * kYoginis[static_cast<std::size_t>(antar.Yogini)].Years / 36.0, 1e-9);
        }
    }
    EXPECT_NEAR(Years(birth, table.Periods.back().End, table.YearDays),
                36 - table.ElapsedFraction * kYoginis[static_cast<std::size_t>(table.First)].Years, 1e-9);
}

}  // namespace

TEST(Yogini, FirstYoginiOfEachNakshatra) {
    // (n + 3) mod 8: Ardra (6) Mangala, Ashwini (1) Bhramari, Mrigashira (5)
    // and Hasta (13) Sankata, Purva Ashadha (20) Siddha.
    EXPECT_EQ(kYoginis[static_cast<std::size_t>(FirstYoginiOf(6))].Name, "Mangala");
    EXPECT_EQ(kYoginis[static_cast<std::size_t>(FirstYoginiOf(1))].Name, "Bhramari");
    EXPECT_EQ(kYoginis[static_cast<std::size_t>(FirstYoginiOf(5))].Name, "Sankata");
    EXPECT_EQ(kYoginis[static_cast<std::size_t>(FirstYoginiOf(13))].Name, "Sankata");
    EXPECT_EQ(kYoginis[static_cast<std::size_t>(FirstYoginiOf(21))].Name, "Sankata");
    EXPECT_EQ(kYoginis[static_cast<std::size_t>(FirstYoginiOf(20))].Name, "Siddha");
    EXPECT_EQ(kYoginis[static_cast<std::size_t>(FirstYoginiOf(27))].Name, "Ulka");
    int total = 0;
    for (const YoginiEntry& y : kYoginis) total += y.Years;
    EXPECT_EQ(total, 36);
}

TEST(Yogini, PublishedExamplePurvaAshadha) {
    // Moon at 8s 19°55' = 259°55' = 15595', the 20th nakshatra (Purva
    // Ashadha): 20 + 3 = 23, remainder 7 by 8, Siddha (Venus, 7 years). 405'
    // of the nakshatra's 800' remain: 7 × 405 / 800 = 3.54375 years, 3 years
    // 6 months 16 days; then Sankata 8, Mangala 1, Pingala 2 years ...
    const YoginiTable table = YoginiDashas(259 + 55 / 60.0, kBirth);
    EXPECT_EQ(table.Nakshatra, 20);
    EXPECT_EQ(table.Periods[0].YoginiName, "Siddha");
    EXPECT_EQ(table.Periods[0].LordName, "Venus");
    EXPECT_NEAR(table.BalanceYears, 3.54375, 1e-9);
    EXPECT_NEAR(Years(kBirth, table.Periods[0].End), 3.54375, 1e-9);
    EXPECT_EQ(table.Periods[1].YoginiName, "Sankata");
    EXPECT_EQ(table.Periods[1].LordName, "Rahu");
    EXPECT_NEAR(Years(kBirth, table.Periods[1].End), 11.54375, 1e-9);
    EXPECT_EQ(table.Periods[2].YoginiName, "Mangala");
    EXPECT_EQ(table.Periods[2].LordName, "Moon");
    EXPECT_EQ(table.Periods[3].YoginiName, "Pingala");
    EXPECT_NEAR(Years(kBirth, table.Periods[3].End), 14.54375, 1e-9);
    ExpectWellFormed(table, kBirth);
}

TEST(Yogini, MrigashiraAndHastaStartWithSankata) {
    // At the very start of Mrigashira (53°20'): Sankata whole, all its
    // antars from Sankata (8 × 8 / 36 years) on.
    const YoginiTable start = YoginiDashas(53 + 20 / 60.0, kBirth);
    EXPECT_EQ(start.Nakshatra, 5);
    EXPECT_EQ(start.Periods[0].YoginiName, "Sankata");
    EXPECT_DOUBLE_EQ(start.BalanceYears, 8);
    ASSERT_EQ(start.Periods[0].Sub.size(), 8u);
    EXPECT_EQ(start.Periods[0].Sub[0].YoginiName, "Sankata");
    EXPECT_NEAR(Years(kBirth, start.Periods[0].Sub[0].End), 64.0 / 36, 1e-9);
    ExpectWellFormed(start, kBirth);

    // Halfway through Hasta (166°40'): 4 of Sankata's 8 years gone, which
    // are exactly its antars Sankata, Mangala, Pingala, Dhanya and Bhramari
    // (8 × 18 / 36): Bhadrika starts at birth, whole.
    const YoginiTable half = YoginiDashas(166 + 40 / 60.0, kBirth);
    EXPECT_EQ(half.Nakshatra, 13);
    EXPECT_EQ(half.Periods[0].YoginiName, "Sankata");
    EXPECT_NEAR(half.BalanceYears, 4, 1e-9);
    ASSERT_EQ(half.Periods[0].Sub.size(), 3u);
    EXPECT_EQ(half.Periods[0].Sub[0].YoginiName, "Bhadrika");
    EXPECT_EQ(half.Periods[0].Sub[0].LordName, "Mercury");
    EXPECT_EQ(half.Periods[0].Sub[0].Start, kBirth);
    EXPECT_NEAR(Years(kBirth, half.Periods[0].Sub[0].End), 8.0 * 5 / 36, 1e-9);
    EXPECT_EQ(half.Periods[1].YoginiName, "Mangala");
    ASSERT_EQ(half.Periods[1].Sub.size(), 8u);
    EXPECT_EQ(half.Periods[1].Sub[0].YoginiName, "Mangala");
    ExpectWellFormed(half, kBirth);
}

TEST(Yogini, AntarCutAtBirth) {
    // Ardra (6) a quarter gone: Mangala, 0.75 of its single year left. Its
    // antars: Mangala 1/36, Pingala 2/36, Dhanya 3/36 (to 6/36), Bhramari
    // 4/36 (to 10/36) running at 0.25 = 9/36.
    const YoginiTable table = YoginiDashas(66 + 40 / 60.0 + 40.0 / 3 / 4, kBirth);
    EXPECT_EQ(table.Nakshatra, 6);
    EXPECT_EQ(table.Periods[0].YoginiName, "Mangala");
    EXPECT_NEAR(table.BalanceYears, 0.75, 1e-9);
    ASSERT_EQ(table.Periods[0].Sub.size(), 5u);
    EXPECT_EQ(table.Periods[0].Sub[0].YoginiName, "Bhramari");
    EXPECT_EQ(table.Periods[0].Sub[0].Start, kBirth);
    EXPECT_NEAR(Years(kBirth, table.Periods[0].Sub[0].End), 1.0 / 36, 1e-9);
    ExpectWellFormed(table, kBirth);
}

TEST(Yogini, NoSlivers) {
    // An elapsed part that uses up whole antars leaves none of them behind.
    for (const UtMoment birth : {kBirth, At(1931y / March / 7), At(2044y / November / 30)}) {
        for (int n = 1; n <= 27; ++n) {
            const std::size_t first = static_cast<std::size_t>(FirstYoginiOf(n));
            int elapsed = 0;
            for (std::size_t k = 0; k < 7; ++k) {
                elapsed += kYoginis[(first + k) % 8].Years;
                const YoginiTable table = YoginiDashas((n - 1 + elapsed / 36.0) * 40 / 3, birth);
                SCOPED_TRACE(testing::Message() << "nakshatra " << n << " antar " << k);
                EXPECT_EQ(table.Periods[0].Sub.size(), 7 - k);
                EXPECT_EQ(table.Periods[0].Sub[0].Yogini, static_cast<int>((first + k + 1) % 8));
            }
        }
    }
}

TEST(Yogini, EveryYearLengthAndEveryNakshatra) {
    for (DashaYear year : kAllDashaYears) {
        for (int n = 0; n < 27; ++n) {
            SCOPED_TRACE(testing::Message() << DashaYearKey(year) << " nakshatra " << n + 1);
            const YoginiTable table = YoginiDashas(n * 40.0 / 3 + 5.1, kBirth, year);
            EXPECT_EQ(table.Nakshatra, n + 1);
            EXPECT_EQ(table.First, FirstYoginiOf(n + 1));
            EXPECT_DOUBLE_EQ(table.YearDays, DaysPerYear(year));
            ExpectWellFormed(table, kBirth);
        }
    }
}

TEST(Yogini, RunningPeriodAtAMoment) {
    const YoginiTable table = YoginiDashas(259 + 55 / 60.0, kBirth);
    auto running = RunningYoginiAt(table, kBirth);
    ASSERT_TRUE(running.has_value());
    EXPECT_EQ(running->Maha, 0u);
    EXPECT_EQ(running->Antar, 0u);
    running = RunningYoginiAt(table, table.Periods[1].Start);
    ASSERT_TRUE(running.has_value());
    EXPECT_EQ(running->Maha, 1u);
    EXPECT_EQ(running->Antar, 0u);
    running = RunningYoginiAt(table, At(2000y / January / 1));  // 9.55 years on: Sankata's
    ASSERT_TRUE(running.has_value());
    EXPECT_EQ(table.Periods[running->Maha].YoginiName, "Sankata");
    const YoginiSpan& antar = table.Periods[running->Maha].Sub[running->Antar];
    EXPECT_LE(antar.Start, At(2000y / January / 1));
    EXPECT_GT(antar.End, At(2000y / January / 1));
    EXPECT_FALSE(RunningYoginiAt(table, kBirth - seconds(1)).has_value());
    EXPECT_FALSE(RunningYoginiAt(table, table.Periods.back().End).has_value());
}
