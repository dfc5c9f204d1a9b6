// Daily motions from both engines: the precise engine's against the library
// called directly, the formula engine's against the precise engine's and
// against the station tables' retrograde marks.

#include <gtest/gtest.h>
#include <swephexp.h>

#include <cmath>
#include <random>
#include <vector>

#include "astro/engine.h"
#include "astro/time_conversion.h"
#include "model/birth_builders.h"

using namespace velmora;
using namespace velmora::core;
using namespace velmora::astro;
using velmora::testing::BirthData;
using velmora::testing::MomentOf;

namespace {

// Random births 1901-2050 between 60 south and 60 north, each as a moment
// with its clock offset, the same sequence on every run.
std::vector<BirthMoment> RandomMoments(std::size_t count, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> year(1901, 2050), month(1, 12), day(1, 28), hour(0, 23), minute(0, 59);
    std::uniform_int_distribution<int> zone(-11, 12), latitude(0, 59), longitude(0, 179), side(0, 1);
    std::vector<BirthMoment> moments;
    for (std::size_t i = 0; i < count; ++i) {
        BirthData b = velmora::testing::BirthAt(year(random), month(random), day(random), hour(random), minute(random));
        b.LatitudeDegrees = latitude(random);
        b.IsSouth = side(random) == 1;
        b.LongitudeDegrees = longitude(random);
        b.IsEast = side(random) == 1;
        moments.push_back(MomentOf(b, ZoneOffset{static_cast<std::int16_t>(zone(random)), 0}));
    }
    return moments;
}

EnginePositions Precise(const BirthMoment& moment) {
    const EngineOutcome outcome = PreciseEngine(PreciseSettings{}).Compute(moment);
    EXPECT_TRUE(outcome.Ok) << outcome.Error;
    return outcome.Positions;
}

double ArcDifference(double a, double b) { return std::remainder(a - b, 360.0); }

}  // namespace

TEST(PreciseSpeed, PlanetsAsTheLibraryGivesThem) {
    for (const BirthMoment& m : RandomMoments(40, 11)) {
        const EnginePositions p = Precise(m);
        // Single-threaded test: the library may be called directly.
        swe_set_ephe_path("/usr/share/libswe/ephe");
        swe_set_sid_mode(SE_SIDM_LAHIRI, 0, 0);
        const double jd = JulianDayUtOf(m);
        constexpr int kBodies[7] = {SE_SUN, SE_MOON, SE_MERCURY, SE_VENUS, SE_MARS, SE_JUPITER, SE_SATURN};
        for (std::size_t k = 0; k < 7; ++k) {
            double xx[6];
            char serr[AS_MAXCH];
            ASSERT_GE(swe_calc_ut(jd, kBodies[k], SEFLG_SWIEPH | SEFLG_SPEED | SEFLG_SIDEREAL, xx, serr), 0) << serr;
            EXPECT_DOUBLE_EQ(p.Speeds[k], xx[3]) << kBodyNames[k];
        }
        EXPECT_DOUBLE_EQ(p.Speeds[Ketu], p.Speeds[Rahu]);
        EXPECT_LT(p.Speeds[Rahu], 0);  // the mean node always moves backward
        for (Body planet : kRetrogradeBodies)
            EXPECT_EQ(p.Retrograde[planet], p.Speeds[planet] < 0) << kBodyNames[planet];
    }
}

TEST(PreciseSpeed, AscendantRateAgainstAFiniteDifference) {
    for (const BirthMoment& m : RandomMoments(40, 12)) {
        const EnginePositions p = Precise(m);
        const double jd = JulianDayUtOf(m);
        constexpr double kStep = 1.0 / 1440;  // a minute either side
        double cusps[13], before[10], after[10];
        swe_set_sid_mode(SE_SIDM_LAHIRI, 0, 0);
        ASSERT_GE(swe_houses_ex(jd - kStep, SEFLG_SIDEREAL, m.Latitude, m.Longitude, 'E', cusps, before), 0);
        ASSERT_GE(swe_houses_ex(jd + kStep, SEFLG_SIDEREAL, m.Latitude, m.Longitude, 'E', cusps, after), 0);
        const double rate = ArcDifference(after[0], before[0]) / (2 * kStep);
        EXPECT_NEAR(p.Speeds[Ascendant], rate, 0.01 * std::fabs(rate)) << "latitude " << m.Latitude;
        EXPECT_GT(p.Speeds[Ascendant], 100);  // at least a sign in a few hours
    }
}

TEST(FormulaSpeed, NearThePreciseSpeed) {
    // The formulas are mean elements, so their motions differ from the
    // ephemeris by a little; the Moon's 25 terms and the ascendant are close.
    // Tolerances in degrees a day, body order; the ascendant's (its formula
    // has its own obliquity and sidereal time) as a share of its rate.
    constexpr std::array<double, kBodyCount> kTolerance{0.002, 0.03,  0.005, 0.005, 0.005,
                                                        0.002, 0.002, 1e-4,  1e-4,  0.02};
    for (const BirthMoment& m : RandomMoments(300, 13)) {
        const EnginePositions formula = ComputeFormulaPositionsWithSpeeds(m);
        const EnginePositions precise = Precise(m);
        for (std::size_t b = 0; b < kBodyCount; ++b) {
            const double scale = b == Ascendant ? precise.Speeds[b] : 1;
            EXPECT_NEAR(formula.Speeds[b], precise.Speeds[b], kTolerance[b] * scale) << kBodyNames[b];
        }
    }
}

TEST(FormulaSpeed, SignAgreesWithTheStationMarks) {
    // The marks come from the station tables by date; the speed from the
    // formulas at the minute. They disagree only on the days around a
    // station, where the speed is near zero.
    int moments = 0, disagreements = 0;
    for (const BirthMoment& m : RandomMoments(2000, 14)) {
        const EnginePositions p = ComputeFormulaPositionsWithSpeeds(m);
        for (Body planet : kRetrogradeBodies) {
            ++moments;
            if (p.Retrograde[planet] != (p.Speeds[planet] < 0)) {
                ++disagreements;
                EXPECT_LT(std::fabs(p.Speeds[planet]), 0.3) << kBodyNames[planet];
            }
        }
    }
    EXPECT_LT(disagreements, moments / 50);
}

TEST(FormulaSpeed, MoonAndNodesAtTheirMeanRates) {
    for (const BirthMoment& m : RandomMoments(200, 15)) {
        const EnginePositions p = ComputeFormulaPositionsWithSpeeds(m);
        EXPECT_GT(p.Speeds[Moon], 11.7);
        EXPECT_LT(p.Speeds[Moon], 15.4);
        EXPECT_NEAR(p.Speeds[Sun], 0.9856, 0.035);
        EXPECT_NEAR(p.Speeds[Rahu], -0.0529538083 * 3.14159265358979 / 3.1416, 1e-4);
        EXPECT_NEAR(p.Speeds[Ketu], p.Speeds[Rahu], 1e-7);
        EXPECT_GT(p.Speeds[Ascendant], 100);
    }
}
