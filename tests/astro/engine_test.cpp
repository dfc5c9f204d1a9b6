#include <gtest/gtest.h>

#include <swephexp.h>

#include <cmath>
#include <random>
#include <utility>

#include "core/zones.h"
#include "astro/angles.h"
#include "astro/ascendant.h"
#include "astro/engine.h"
#include "astro/ephemeris.h"
#include "astro/moon.h"
#include "astro/position_text.h"
#include "model/birth_builders.h"

using namespace velmora;
using namespace velmora::core;
using namespace velmora::astro;

namespace {

using velmora::testing::BirthAt;
using velmora::testing::BirthData;
using velmora::testing::MomentOf;
constexpr auto Greenwich = BirthAt;

// One formula run with the texts the chart shows.
struct EngineRun {
    double UniversalTime = 0;
    double SiderealCorrection = 0;
    std::array<double, kBodyCount> SiderealLongitudes{};
    std::array<std::string, kBodyCount> PlanetPositions;
};

EngineRun RunEngine(const BirthData& birth, const ZoneOffset& zone = {}) {
    const EnginePositions p = ComputeFormulaPositions(MomentOf(birth, zone));
    EngineRun run;
    run.UniversalTime = p.UniversalTime;
    run.SiderealCorrection = p.SiderealCorrection;
    run.SiderealLongitudes = p.Longitudes;
    for (std::size_t b = 0; b < kBodyCount; ++b) run.PlanetPositions[b] = PositionTextOf(ArcTextOf(p.Longitudes[b]));
    return run;
}

// Difference of two longitudes in degrees, in (-180, 180].
double AngularDifference(double a, double b) {
    double d = std::fmod(a - b, 360.0);
    if (d > 180) d -= 360;
    if (d <= -180) d += 360;
    return d;
}

double DayCountOf(int year, int month, int day, int hour, int minute) {
    return DayCount2000(year, month, day, hour, minute);
}

}  // namespace

TEST(SiderealCorrection, BothMembersAtTheirEpochs) {
    EXPECT_NEAR(SiderealCorrectionAt(0), -22.4662821, 1e-7);
    EXPECT_NEAR(MoonSiderealCorrectionAt(0), -23.8535048, 1e-7);
    // At J2000 the first member, one century after its epoch, is about the
    // same ayanamsa as the second.
    EXPECT_NEAR(SiderealCorrectionAt(1), -23.854, 0.001);
    // It grows by about 1.396 degrees a century.
    EXPECT_NEAR(SiderealCorrectionAt(1.5) - SiderealCorrectionAt(0.5), -1.396, 0.01);
}

TEST(Ephemeris, GeocentricLongitudesAtJ2000) {
    EXPECT_NEAR(BodyLongitude(kOrbitEarth, 0), 280.380, 0.001);
    EXPECT_NEAR(BodyLongitude(kOrbitMercury, 0), 271.906, 0.001);
    EXPECT_NEAR(BodyLongitude(kOrbitVenus, 0), 241.578, 0.001);
    EXPECT_NEAR(BodyLongitude(kOrbitMars, 0), 327.983, 0.001);
    EXPECT_NEAR(BodyLongitude(kOrbitJupiter, 0), 25.361, 0.001);
    EXPECT_NEAR(BodyLongitude(kOrbitSaturn, 0), 40.215, 0.001);
}

TEST(Ephemeris, SunAgreesWithTheEquinoxesAndSolstices) {
    // The moments of the equinoxes and solstices of 1901, 1950, 2000 and
    // 2050, found with the Swiss Ephemeris (the Sun's apparent tropical
    // longitude of date at 0, 90, 180, 270 degrees). At each the engine's
    // sidereal Sun plus the ayanamsa it subtracted must give that longitude:
    // the planets are referred to the equinox of date, like the correction.
    for (int year : {1901, 1950, 2000, 2050}) {
        for (int quarter = 0; quarter < 4; ++quarter) {
            const double target = 90.0 * quarter;
            // Start from a day before the usual date and step to the crossing.
            double lo = swe_julday(year, 3 + 3 * quarter, 18, 0, SE_GREG_CAL);
            double hi = lo + 6;
            auto past = [&](double jd) {
                double x[6];
                char error[256];
                swe_calc_ut(jd, SE_SUN, SEFLG_MOSEPH, x, error);
                return AngularDifference(x[0], target) >= 0;
            };
            ASSERT_FALSE(past(lo));
            ASSERT_TRUE(past(hi));
            for (int step = 0; step < 50; ++step) ((past((lo + hi) / 2)) ? hi : lo) = (lo + hi) / 2;
            // Round to the minute, as the form takes times.
            const double minutes = std::round((lo - 0.5 - std::floor(lo - 0.5)) * 1440);
            int y, m, d, h, min;
            double hour;
            swe_revjul(std::floor(lo - 0.5) + 0.5, SE_GREG_CAL, &y, &m, &d, &hour);
            h = static_cast<int>(minutes) / 60;
            min = static_cast<int>(minutes) % 60;
            const EngineRun run = RunEngine(Greenwich(y, m, d, h, min));
            EXPECT_NEAR(AngularDifference(run.SiderealLongitudes[Sun] - run.SiderealCorrection, target), 0, 0.02)
                << year << " quarter " << quarter;
        }
    }
    // Nothing changes at J2000 itself.
    EXPECT_DOUBLE_EQ(GeneralPrecessionAt(0), 0);
    EXPECT_NEAR(GeneralPrecessionAt(36525), 1.39728, 1e-5);  // 5030.2078" in the first century
}

TEST(Ephemeris, TrueAnomalySolvesKeplersEquation) {
    EXPECT_NEAR(TrueAnomaly(1.0, 0), 1.0, 1e-12);
    for (double e : {0.0167, 0.2056, 0.2488}) {
        for (double m = 0.05; m < kTwoPi; m += 0.37) {
            const double nu = TrueAnomaly(m, e);
            ASSERT_GE(nu, 0);
            ASSERT_LT(nu, kTwoPi);
            // Back from the true anomaly to the mean anomaly.
            const double eccentric = 2 * std::atan(std::sqrt((1 - e) / (1 + e)) * std::tan(nu / 2));
            double mean = eccentric - e * std::sin(eccentric);
            if (mean < 0) mean += kTwoPi;
            EXPECT_NEAR(mean, m, 1e-10) << "e=" << e << " M=" << m;
        }
    }
}

// The chart solves its six orbits together; each must come out to the last
// bit as the body computed alone, on moments all over the tables' range.
TEST(Ephemeris, OrbitsSolvedTogetherEqualEachSolvedAlone) {
    std::mt19937 random(20261209);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    for (int run = 0; run < 2000; ++run) {
        const BirthMoment moment =
            MomentOf(Greenwich(pick(1800, 2100), pick(1, 12), pick(1, 28), pick(0, 23), pick(0, 59)));
        const double correction = run % 2 == 0 ? -23.5 : 22.1;
        std::array<double, kBodyCount> together{};
        ComputePlanetPositions(moment, correction, together);
        const ClockReading ut = UniversalCalendarTime(moment);
        const double d = DayCount2000(ut.Year, ut.Month, ut.Day, ut.Hour, ut.Minute);
        for (const auto& [orbit, body] : kChartOrbits) {
            double alone = BodyLongitude(orbit, d) + GeneralPrecessionAt(d) - std::fabs(correction);
            while (alone < 0) alone += 360;
            ASSERT_EQ(together[body], alone) << "body " << body << " on day " << d;
        }
    }
}

TEST(Ephemeris, ElementsForUnknownBodyLeavesTheCurrentSet) {
    OrbitalElements current;
    ASSERT_TRUE(ElementsFor(kOrbitMars, 0, current));
    const OrbitalElements mars = current;
    EXPECT_FALSE(ElementsFor(9, 1000, current));
    EXPECT_FALSE(ElementsFor(-1, 1000, current));
    EXPECT_EQ(current.SemiMajorAxis, mars.SemiMajorAxis);
    EXPECT_EQ(current.MeanLongitude, mars.MeanLongitude);
    EXPECT_NEAR(mars.SemiMajorAxis, 1.52366231, 1e-12);
    EXPECT_NEAR(mars.MeanLongitude, 355.45332 * kDegToRad, 1e-12);
}

TEST(Moon, SeriesAtJ2000AndFarFromIt) {
    EXPECT_NEAR(MoonTropicalLongitude(0), 223.316, 0.001);
    for (double t : {-0.99, -0.5, 0.25, 0.5}) {
        const double lambda = MoonTropicalLongitude(t);
        EXPECT_GE(lambda, 0);
        EXPECT_LE(lambda, 360);
    }
}

TEST(Moon, NewAndFullMoonsAgreeWithTheSun) {
    // Independent lunation times (UT): at a new moon the Moon's tropical
    // longitude equals the Sun's, at a full moon it is opposite.
    struct Lunation {
        int y, m, d, h, n;
        double elongation;
    };
    const Lunation lunations[] = {{2000, 1, 6, 18, 14, 0}, {1975, 5, 25, 5, 51, 180}, {2024, 4, 8, 18, 21, 0}};
    for (const Lunation& l : lunations) {
        const BirthData b = Greenwich(l.y, l.m, l.d, l.h, l.n);
        const double t = CenturiesFrom2000(MomentOf(b, {}));
        const double d = DayCountOf(l.y, l.m, l.d, l.h, l.n);
        const double sun = BodyLongitude(kOrbitEarth, d) + GeneralPrecessionAt(d);
        EXPECT_NEAR(AngularDifference(MoonTropicalLongitude(t) - sun, l.elongation), 0, 0.3) << l.y;
    }
}

TEST(Engine, ReferenceMomentJ2000AtLatitude51North) {
    BirthData birth = Greenwich(2000, 1, 1, 12, 0);
    birth.LatitudeDegrees = 51;
    birth.LatitudeMinutes = 30;
    const EngineRun s = RunEngine(birth);

    EXPECT_NEAR(s.SiderealCorrection, -23.8540, 0.0005);
    EXPECT_NEAR(s.SiderealLongitudes[Ascendant], 24.30 - 23.854, 0.01);
    EXPECT_EQ(s.PlanetPositions[Ascendant].substr(3, 3), "Ari");

    // The Moon uses the J2000 member of the correction.
    EXPECT_NEAR(s.SiderealLongitudes[Moon], 199.463, 0.001);
    EXPECT_EQ(s.PlanetPositions[Moon], "19 Lib 27");

    const double ayanamsa = -s.SiderealCorrection;
    EXPECT_NEAR(s.SiderealLongitudes[Sun], 280.380 - ayanamsa, 0.001);
    EXPECT_NEAR(s.SiderealLongitudes[Mercury], 271.906 - ayanamsa, 0.001);
    EXPECT_NEAR(s.SiderealLongitudes[Venus], 241.578 - ayanamsa, 0.001);
    EXPECT_NEAR(s.SiderealLongitudes[Mars], 327.983 - ayanamsa, 0.001);
    EXPECT_NEAR(s.SiderealLongitudes[Jupiter], 25.361 - ayanamsa, 0.001);
    EXPECT_NEAR(s.SiderealLongitudes[Saturn], 40.215 - ayanamsa, 0.001);

    // Rahu: the mean node, converted back with 3.1416 and set back a degree.
    const double rahu = 125.1228 * kDegToRad * 180 / 3.1416 - 1 - ayanamsa;
    EXPECT_NEAR(s.SiderealLongitudes[Rahu], rahu, 1e-9);
    EXPECT_NEAR(s.SiderealLongitudes[Ketu], rahu + 180, 1e-9);
}

TEST(Engine, NodesStayOppositeAndLongitudesInRange) {
    for (int year = 1901; year <= 2050; year += 3) {
        const EngineRun s = RunEngine(Greenwich(year, 1 + year % 12, 1 + year % 28, year % 24, year % 60));
        EXPECT_NEAR(std::fabs(AngularDifference(s.SiderealLongitudes[Ketu], s.SiderealLongitudes[Rahu])), 180, 1e-9);
        for (double lambda : s.SiderealLongitudes) {
            EXPECT_GE(lambda, 0);
            EXPECT_LE(lambda, 360);
        }
        for (const std::string& position : s.PlanetPositions) EXPECT_EQ(position.size(), 9u);
    }
}

TEST(Engine, DaylightSavingMovesEveryBodyByTheSameHour) {
    // A birth at 13:00 with daylight saving is the moment 12:00 without it,
    // for the Moon and the ascendant and for the Sun, planets and nodes alike.
    BirthData summer = Greenwich(1990, 7, 14, 13, 0);
    summer.DaylightSaving = true;
    summer.LatitudeDegrees = 40;
    BirthData plain = Greenwich(1990, 7, 14, 12, 0);
    plain.LatitudeDegrees = 40;
    const EngineRun a = RunEngine(summer);
    const EngineRun b = RunEngine(plain);
    for (int body = 0; body < kBodyCount; ++body) {
        EXPECT_DOUBLE_EQ(a.SiderealLongitudes[static_cast<std::size_t>(body)],
                         b.SiderealLongitudes[static_cast<std::size_t>(body)])
            << body;
    }
}

TEST(Engine, WestPlaceInAnEastZoneUsesTheZonesOwnDirection) {
    // 12:00 at 3° West on Central European Time is 11:00 universal time, for
    // every body.
    BirthData cet = Greenwich(1985, 4, 2, 12, 0);
    cet.LongitudeDegrees = 3;
    cet.LatitudeDegrees = 43;
    const ZoneOffset zone = ZoneOffsetOfRow(20);
    BirthData ut = cet;
    ut.Hour = 11;
    const EngineRun a = RunEngine(cet, zone);
    const EngineRun b = RunEngine(ut, {});
    EXPECT_DOUBLE_EQ(a.UniversalTime, 11);
    EXPECT_EQ(a.PlanetPositions, b.PlanetPositions);
}

TEST(Engine, SouthernAndEasternPlacesChangeOnlyTheAscendant) {
    BirthData north = Greenwich(1970, 3, 3, 6, 0);
    north.LatitudeDegrees = 35;
    BirthData south = north;
    south.IsSouth = true;
    BirthData east = north;
    east.LongitudeDegrees = 90;
    east.IsEast = true;
    const EngineRun n = RunEngine(north);
    const EngineRun s = RunEngine(south);
    const EngineRun e = RunEngine(east);
    EXPECT_NE(n.SiderealLongitudes[Ascendant], s.SiderealLongitudes[Ascendant]);
    EXPECT_NE(n.SiderealLongitudes[Ascendant], e.SiderealLongitudes[Ascendant]);
    for (int body = 0; body < Ascendant; ++body) {
        EXPECT_DOUBLE_EQ(n.SiderealLongitudes[static_cast<std::size_t>(body)],
                         s.SiderealLongitudes[static_cast<std::size_t>(body)]);
    }
}

TEST(Engine, SunJustBeforeTheSiderealStartOfAriesIsLatePisces) {
    // In mid-April the Sun crosses the ayanamsa: before that moment its
    // sidereal longitude is just under 360 (Pisces), never negative.
    bool sawLatePisces = false;
    bool sawEarlyAries = false;
    for (int hour = 0; hour < 72; ++hour) {
        const EngineRun s = RunEngine(Greenwich(2000, 4, 12 + hour / 24, hour % 24, 0));
        const double sun = s.SiderealLongitudes[Sun];
        ASSERT_GE(sun, 0);
        ASSERT_LT(sun, 360);
        if (sun > 359) {
            sawLatePisces = true;
            EXPECT_EQ(s.PlanetPositions[Sun].substr(0, 6), "29 Pis");
        }
        if (sun < 1) {
            sawEarlyAries = true;
            EXPECT_EQ(s.PlanetPositions[Sun].substr(0, 6), "00 Ari");
        }
    }
    EXPECT_TRUE(sawLatePisces);
    EXPECT_TRUE(sawEarlyAries);
}

TEST(Engine, EveryLongitudeLiesWithinOneTurn) {
    // Across the whole range of the lists, every minute of a day at a few
    // places, and the extreme latitudes the form allows.
    for (int year = 1901; year <= 2050; year += 7) {
        for (int minute = 0; minute < 24 * 60; minute += 37) {
            BirthData b = Greenwich(year, 1 + year % 12, 1 + year % 28, minute / 60, minute % 60);
            b.LatitudeDegrees = static_cast<std::int16_t>(minute % 90);
            b.LatitudeMinutes = 59;
            b.IsSouth = minute % 2 == 0;
            b.LongitudeDegrees = static_cast<std::int16_t>(minute % 180);
            b.IsEast = minute % 3 == 0;
            const EnginePositions p =
                ComputeFormulaPositions(MomentOf(b, ZoneOffset{static_cast<std::int16_t>(minute % 13 - 6), 0}));
            for (double longitude : p.Longitudes) {
                ASSERT_GE(longitude, 0) << year << " " << minute;
                ASSERT_LT(longitude, 360) << year << " " << minute;
            }
        }
    }
}
