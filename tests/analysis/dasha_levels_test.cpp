// The Vimshottari's third level and the dasha year.

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "analysis/dasha.h"

using namespace velmora::analysis;
using namespace std::chrono;

namespace {

UtMoment At(year_month_day date, double hours = 0) { return UtMoment(sys_days(date)) + duration<double>(hours * 3600); }

double Days(UtMoment from, UtMoment to) { return (to - from).count() / 86400; }

const UtMoment kBirth = At(2000y / January / 1);

std::size_t LordIndex(std::string_view name) {
    for (std::size_t k = 0; k < kDashaLords.size(); ++k)
        if (kDashaLords[k].Name == name) return k;
    return kDashaLords.size();
}

// Every pratyantar of a table, in time order.
std::vector<DashaPeriod> AllPratyantars(const DashaTable& table) {
    std::vector<DashaPeriod> all;
    for (const MahaDasha& maha : table.Periods)
        for (const AntarDasha& antar : maha.Sub)
            for (const DashaPeriod& sub : PratyantarsOf(table, antar)) all.push_back(sub);
    return all;
}

// What holds for the pratyantars of any table: they tile each antar, in the
// lords' order from the antar's lord, each its share of the antar.
void ExpectPratyantarsTile(const DashaTable& table) {
    UtMoment previousEnd = table.Periods.front().Start;
    for (const MahaDasha& maha : table.Periods) {
        for (const AntarDasha& antar : maha.Sub) {
            SCOPED_TRACE(testing::Message() << maha.LordName << "/" << antar.LordName);
            const PratyantarList subs = PratyantarsOf(table, antar);
            ASSERT_FALSE(subs.empty());
            EXPECT_EQ(subs.front().Start, antar.Start);
            EXPECT_EQ(subs.back().End, antar.End);
            EXPECT_EQ(subs.back().Lord, (antar.Lord + 8) % 9);  // the lord before the antar's closes it
            EXPECT_EQ(subs.front().Start, previousEnd);
            double days = 0;
            for (std::size_t p = 0; p < subs.size(); ++p) {
                if (p > 0) {
                    EXPECT_EQ(subs[p].Start, subs[p - 1].End);
                    EXPECT_EQ(subs[p].Lord, (subs[p - 1].Lord + 1) % 9);
                }
                EXPECT_LT(subs[p].Start, subs[p].End);
                days += Days(subs[p].Start, subs[p].End);
            }
            EXPECT_NEAR(days, Days(antar.Start, antar.End), 1e-6);
            previousEnd = subs.back().End;
            // An antar not cut at birth has all nine, its own lord first,
            // each antar × lord's years / 120 long.
            if (antar.Start != table.Periods.front().Start) {
                ASSERT_EQ(subs.size(), 9u);
                EXPECT_EQ(subs.front().Lord, antar.Lord);
                const double antarDays = Days(antar.Start, antar.End);
                for (const DashaPeriod& sub : subs)
                    EXPECT_NEAR(Days(sub.Start, sub.End),
                                antarDays * kDashaLords[static_cast<std::size_t>(sub.Lord)].Years / 120, 1e-6);
            }
        }
    }
}

}  // namespace

TEST(Pratyantar, PeriodCutAtBirth) {
    // Moon at 100°: Saturn's maha half gone, 9.5 of its 19 years; its Venus
    // antar (3.166667 years) began 6.808333 years in, so 2.691667 of it are
    // gone. Venus's pratyantars: Venus 0.527778, Sun 0.158333, Moon 0.263889,
    // Mars 0.184722, Rahu 0.475, Jupiter 0.422222, Saturn 0.501389 (to
    // 2.533333), Mercury 0.448611 (to 2.981944), Ketu 0.184722. Mercury runs
    // at birth and ends 0.290278 years (106.024 days) later, 2000-04-16
    // 00:35 UT; Ketu closes the antar.
    const DashaTable table = VimshottariDashas(100.0, kBirth);
    ExpectPratyantarsTile(table);
    const AntarDasha& venus = table.Periods[0].Sub[0];
    ASSERT_EQ(venus.LordName, "Venus");
    const PratyantarList subs = PratyantarsOf(table, venus);
    ASSERT_EQ(subs.size(), 2u);
    EXPECT_EQ(subs[0].Lord, static_cast<int>(LordIndex("Mercury")));
    EXPECT_EQ(subs[0].Start, kBirth);
    EXPECT_NEAR(Days(kBirth, subs[0].End), 0.2902778 * 365.25, 0.01);
    EXPECT_EQ(UtDateOf(subs[0].End), 2000y / April / 16);
    EXPECT_EQ(subs[1].Lord, static_cast<int>(LordIndex("Ketu")));
    EXPECT_NEAR(Days(subs[1].Start, subs[1].End), 3.1666667 * 7 / 120 * 365.25, 0.01);

    // The next antar, Sun (0.95 years), is whole: Sun 0.0475 years first.
    const PratyantarList sun = PratyantarsOf(table, table.Periods[0].Sub[1]);
    ASSERT_EQ(sun.size(), 9u);
    EXPECT_EQ(sun[0].Lord, static_cast<int>(LordIndex("Sun")));
    EXPECT_NEAR(Days(sun[0].Start, sun[0].End), 0.95 * 6 / 120 * 365.25, 1e-6);

    const auto running = RunningDashaAt(table, kBirth);
    ASSERT_TRUE(running.has_value());
    EXPECT_EQ(running->Pratyantar, 0u);
    const auto later = RunningDashaAt(table, At(2000y / May / 1));
    ASSERT_TRUE(later.has_value());
    EXPECT_EQ(later->Antar, 0u);
    EXPECT_EQ(later->Pratyantar, 1u);  // Ketu
    const auto mid = RunningDashaAt(table, At(2005y / March / 3));
    ASSERT_TRUE(mid.has_value());
    const AntarDasha& antar = table.Periods[mid->Maha].Sub[mid->Antar];
    const DashaPeriod sub = PratyantarsOf(table, antar)[mid->Pratyantar];
    EXPECT_LE(sub.Start, At(2005y / March / 3));
    EXPECT_GT(sub.End, At(2005y / March / 3));
}

TEST(Pratyantar, EveryTableTiles) {
    for (double longitude : {0.0, 5.0, 40.0 / 3 - 1e-7, 77.7, 181.25, 293.0, 359.5}) {
        SCOPED_TRACE(longitude);
        const DashaTable table = VimshottariDashas(longitude, kBirth);
        ExpectPratyantarsTile(table);
        const std::vector<DashaPeriod> all = AllPratyantars(table);
        EXPECT_EQ(all.front().Start, kBirth);
        EXPECT_EQ(all.back().End, table.Periods.back().End);
    }
    // From the start of Ashwini nothing is cut: 9 × 9 × 9, Ketu's own first,
    // 7 × 7 / 120 × 7 / 120 years.
    const DashaTable whole = VimshottariDashas(0.0, kBirth);
    const std::vector<DashaPeriod> all = AllPratyantars(whole);
    EXPECT_EQ(all.size(), 729u);
    EXPECT_NEAR(Days(all[0].Start, all[0].End), 7.0 * 7 / 120 * 7 / 120 * 365.25, 1e-6);
}

TEST(Pratyantar, BalanceThatUsesUpWholePeriods) {
    // Moon 103/120 through Ashwini: of Ketu's 7 years, 7 × 103 / 120 are
    // gone, exactly its antars before Mercury's (7 × (120 − 17) / 120), up
    // to rounding: Mercury runs from birth, whole, with all nine pratyantars.
    const DashaTable table = VimshottariDashas(40.0 / 3 * 103 / 120, kBirth);
    ASSERT_EQ(table.Periods[0].Sub.size(), 1u);
    EXPECT_EQ(table.Periods[0].Sub[0].LordName, "Mercury");
    EXPECT_NEAR(Days(kBirth, table.Periods[0].Sub[0].End), 7.0 * 17 / 120 * 365.25, 1e-6);
    EXPECT_EQ(PratyantarsOf(table, table.Periods[0].Sub[0]).size(), 9u);
}

TEST(Pratyantar, NoSlivers) {
    // A Moon whose elapsed part uses up whole antars (or pratyantars) ends
    // them at birth up to the rounding of the moments: they are left out
    // rather than kept for a fraction of a microsecond.
    for (const UtMoment birth : {kBirth, At(1931y / March / 7, 5.3), At(2044y / November / 30, 17.9)}) {
        for (std::size_t n = 0; n < 27; ++n) {
            int elapsed = 0;
            for (std::size_t k = 0; k < 8; ++k) {
                elapsed += kDashaLords[(n + k) % 9].Years;
                const DashaTable table = VimshottariDashas((static_cast<double>(n) + elapsed / 120.0) * 40 / 3, birth);
                SCOPED_TRACE(testing::Message() << "nakshatra " << n + 1 << " antar " << k);
                EXPECT_EQ(table.Periods[0].Sub.size(), 8 - k);
                EXPECT_EQ(table.Periods[0].Sub[0].Lord, static_cast<int>((n + k + 1) % 9));
                const PratyantarList first = PratyantarsOf(table, table.Periods[0].Sub[0]);
                EXPECT_GT(Days(first[0].Start, first[0].End), 1);
                EXPECT_EQ(PratyantarsOf(table, table.Periods[0].Sub[0]).size(), 9u);
            }
        }
    }
}

TEST(DashaYear, EveryLengthScalesTheMoments) {
    const DashaTable julian = VimshottariDashas(100.0, kBirth);
    for (DashaYear year : kAllDashaYears) {
        SCOPED_TRACE(DashaYearKey(year));
        const DashaTable table = VimshottariDashas(100.0, kBirth, year);
        EXPECT_EQ(table.Year, year);
        EXPECT_DOUBLE_EQ(table.YearDays, DaysPerYear(year));
        EXPECT_DOUBLE_EQ(table.BalanceYears, julian.BalanceYears);  // counted in years either way
        // 110.5 years of that length from birth to the end.
        EXPECT_NEAR(Days(kBirth, table.Periods.back().End), 110.5 * DaysPerYear(year), 1e-6);
        EXPECT_NEAR(Days(kBirth, table.Periods[0].End), 9.5 * DaysPerYear(year), 1e-6);
        ExpectPratyantarsTile(table);
    }
    EXPECT_DOUBLE_EQ(DaysPerYear(DashaYear::Julian), 365.25);
    EXPECT_DOUBLE_EQ(DaysPerYear(DashaYear::Tropical), 365.2422);
    EXPECT_DOUBLE_EQ(DaysPerYear(DashaYear::Sidereal), 365.25636);
    EXPECT_DOUBLE_EQ(DaysPerYear(DashaYear::Savana), 360);
    // A 360-day year: Saturn's remaining 9.5 years are 3420 days.
    const DashaTable savana = VimshottariDashas(100.0, kBirth, DashaYear::Savana);
    EXPECT_EQ(UtDateOf(savana.Periods[0].End), 2009y / May / 13);
}

TEST(DashaYear, DefaultIsTheJulianYearUnchanged) {
    const DashaTable a = VimshottariDashas(123.456, kBirth);
    const DashaTable b = VimshottariDashas(123.456, kBirth, DashaYear::Julian);
    EXPECT_DOUBLE_EQ(a.YearDays, kDashaDaysPerYear);
    ASSERT_EQ(a.Periods.size(), b.Periods.size());
    for (std::size_t m = 0; m < a.Periods.size(); ++m) {
        EXPECT_EQ(a.Periods[m].End, b.Periods[m].End);
        ASSERT_EQ(a.Periods[m].Sub.size(), b.Periods[m].Sub.size());
        for (std::size_t k = 0; k < a.Periods[m].Sub.size(); ++k)
            EXPECT_EQ(a.Periods[m].Sub[k].End, b.Periods[m].Sub[k].End);
    }
}

TEST(DashaYear, OptionTexts) {
    for (DashaYear year : kAllDashaYears) EXPECT_EQ(ParseDashaYear(DashaYearKey(year)), year);
    EXPECT_EQ(DashaYearKey(DashaYear::Julian), "365.25");
    EXPECT_EQ(DashaYearKey(DashaYear::Savana), "360");
    EXPECT_EQ(ParseDashaYear("365.2422"), DashaYear::Tropical);
    EXPECT_EQ(ParseDashaYear("365.25636"), DashaYear::Sidereal);
    for (std::string_view wrong : {"", "365", "365.250", "360.0", " 360", "365.25 ", "365,25", "julian"})
        EXPECT_FALSE(ParseDashaYear(wrong).has_value()) << wrong;
}
