// The padas, navamsa and dasha of random births against the definitions,
// worked out here afresh from the positions the analysis computed.

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <random>

#include "core/form_builders.h"
#include "core/pipeline.h"

using namespace velmora;
using namespace velmora::core;

namespace {

// Days since 1970-01-01 of a calendar date.
long DaysOf(const std::chrono::year_month_day& date) { return std::chrono::sys_days{date}.time_since_epoch().count(); }

}  // namespace

TEST(ToolkitDefinitions, PadasNavamsaAndDashaOfRandomBirths) {
    constexpr Body kLords[12] = {Mars,  Venus, Mercury, Moon,   Sun,    Mercury,
                                 Venus, Mars,  Jupiter, Saturn, Saturn, Jupiter};
    constexpr int kDashaYears[9] = {7,  20, 6,  10, 7,
                                    18, 16, 19, 17};  // Ketu, Venus, Sun, Moon, Mars, Rahu, Jupiter, Saturn, Mercury
    std::mt19937 random(1207);
    AnalysisOptions options;
    options.MonthNames = &EnglishMonthNames();
    for (int n = 0; n < 200; ++n) {
        const AnalysisOutcome outcome = RunAnalysis(velmora::testing::RandomForm(random), options);
        ASSERT_FALSE(outcome.Rejected);
        const BirthAnalysis& a = outcome.Result;

        // Padas: for each house from the ascendant's sign, count from the
        // lord of its sign as many signs as the lord stands from it; the
        // house itself and the seventh from it give way to the tenth and
        // the fourth.
        for (int house = 1; house <= 12; ++house) {
            const int houseSign = (a.Chart.AscendantSign + house - 2) % 12 + 1;
            const int lordSign = a.Chart.BodySign[kLords[houseSign - 1]];
            const int distance = (lordSign - houseSign + 12) % 12;
            int pada = (lordSign - 1 + distance) % 12 + 1;
            const int fromHouse = (pada - houseSign + 12) % 12;
            if (fromHouse == 0) pada = (houseSign - 1 + 9) % 12 + 1;
            if (fromHouse == 6) pada = (houseSign - 1 + 3) % 12 + 1;
            EXPECT_EQ(a.Padas[static_cast<std::size_t>(house - 1)].PadaSign, pada) << n << " house " << house;
        }
        EXPECT_EQ(a.Padas[0].PadaSign, a.Chart.ArudhaLagnaSign);

        // Navamsa: the ninth parts run on through the zodiac from Aries.
        for (std::size_t body = 0; body < kBodyCount; ++body) {
            const int part = static_cast<int>(std::floor(a.Positions.Longitudes[body] / (30.0 / 9)));
            EXPECT_EQ(a.Navamsa[body], part % 12 + 1) << n << " body " << body;
        }

        // Vimshottari: the Moon's nakshatra, its lord's period running at
        // birth with the elapsed part gone, then the next eight in order.
        const double moon = a.Positions.Longitudes[Moon];
        const int nakshatra = static_cast<int>(std::floor(moon / (360.0 / 27)));
        const double elapsed = moon / (360.0 / 27) - nakshatra;
        const int first = nakshatra % 9;
        const double birthDays =
            (std::chrono::sys_days{std::chrono::year{a.Birth.Clock.Year} / a.Birth.Clock.Month / a.Birth.Clock.Day}
                 .time_since_epoch()
                 .count()) +
            a.Birth.Moment.UniversalTime / 24;
        EXPECT_EQ(a.Dasha.Nakshatra, nakshatra + 1) << n;
        ASSERT_EQ(a.Dasha.Periods.size(), 9u);
        double end = birthDays - elapsed * kDashaYears[first] * 365.25;
        for (int k = 0; k < 9; ++k) {
            const int lord = (first + k) % 9;
            end += kDashaYears[lord] * 365.25;
            const auto& period = a.Dasha.Periods[static_cast<std::size_t>(k)];
            EXPECT_EQ(period.Lord, lord) << n << " maha " << k;
            EXPECT_LE(std::fabs(static_cast<double>(DaysOf(period.EndDate)) - std::floor(end)), 1.0)
                << n << " maha " << k;
        }
        EXPECT_EQ(DaysOf(a.Dasha.Periods[0].StartDate), static_cast<long>(std::floor(birthDays))) << n;
    }
}
