#include "astro/precise_engine.h"

#include <gtest/gtest.h>
#include <swephexp.h>

#include <cmath>
#include <filesystem>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace velmora::astro {
namespace {

constexpr std::size_t kSun = 0, kMoon = 1, kRahu = 7, kKetu = 8, kAscendant = 9;
constexpr double kDeg = 3.14159265358979323846 / 180;

// Julian day of a Gregorian calendar date and a universal clock time, after
// Meeus, Astronomical Algorithms, chapter 7.
double JulianDay(int year, int month, int day, int hour = 0, int minute = 0) {
    if (month <= 2) {
        year -= 1;
        month += 12;
    }
    const int a = year / 100;
    const int b = 2 - a + a / 4;
    return std::floor(365.25 * (year + 4716)) + std::floor(30.6001 * (month + 1)) + day + b - 1524.5 +
           (hour + minute / 60.0) / 24;
}

// Signed difference a - b folded into (-180, 180].
double ArcDifference(double a, double b) {
    double d = std::fmod(a - b, 360.0);
    if (d > 180) d -= 360;
    if (d <= -180) d += 360;
    return d;
}

PreciseSettings With(Ayanamsa ayanamsa, NodeKind node = NodeKind::Mean) {
    PreciseSettings s;
    s.ayanamsa = ayanamsa;
    s.node = node;
    return s;
}

PreciseResult Chart(double jd, double latitude, double longitude, const PreciseSettings& settings = {}) {
    const PreciseOutcome outcome = ComputePrecise(jd, latitude, longitude, settings);
    EXPECT_TRUE(outcome.Ok) << outcome.Error;
    return outcome.Result;
}

double TropicalSun(double jd, const PreciseSettings& settings = {}) {
    const PreciseResult r = Chart(jd, 0, 0, settings);
    return std::fmod(r.Longitudes[kSun] + r.AyanamsaDegrees, 360.0);
}

// Random births 1901-2050 anywhere between 60 south and 60 north, the same
// sequence on every run.
struct RandomBirth {
    double JulianDay;
    double Latitude;
    double Longitude;
};

std::vector<RandomBirth> RandomBirths(std::size_t count, unsigned seed) {
    std::mt19937_64 random(seed);
    std::uniform_real_distribution<double> day(JulianDay(1901, 1, 1), JulianDay(2051, 1, 1));
    std::uniform_real_distribution<double> latitude(-60, 60);
    std::uniform_real_distribution<double> longitude(-180, 180);
    std::vector<RandomBirth> births;
    for (std::size_t i = 0; i < count; ++i) births.push_back({day(random), latitude(random), longitude(random)});
    return births;
}

// ---------------------------------------------------------------------------
// Ayanamsas against their published values

TEST(PreciseAyanamsa, LahiriAtJ2000And1900) {
    EXPECT_NEAR(Chart(JulianDay(2000, 1, 1, 12), 0, 0).AyanamsaDegrees, 23.85, 0.015);
    EXPECT_NEAR(Chart(JulianDay(1900, 1, 1), 0, 0).AyanamsaDegrees, 22.46, 0.02);
}

TEST(PreciseAyanamsa, OthersDifferFromLahiriByTheirKnownOffsets) {
    const double jd = JulianDay(2000, 1, 1, 12);
    const double lahiri = Chart(jd, 0, 0, With(Ayanamsa::Lahiri)).AyanamsaDegrees;
    EXPECT_NEAR(lahiri - Chart(jd, 0, 0, With(Ayanamsa::Raman)).AyanamsaDegrees, 1.44, 0.05);
    EXPECT_NEAR(lahiri - Chart(jd, 0, 0, With(Ayanamsa::Krishnamurti)).AyanamsaDegrees, 0.10, 0.03);
    EXPECT_NEAR(Chart(jd, 0, 0, With(Ayanamsa::FaganBradley)).AyanamsaDegrees - lahiri, 0.88, 0.03);
    EXPECT_NEAR(Chart(jd, 0, 0, With(Ayanamsa::Yukteshwar)).AyanamsaDegrees, 22.48, 0.05);
    // True Chitra puts Spica at 180 sidereal; Spica's tropical longitude
    // at J2000 is 203 deg 50'.
    EXPECT_NEAR(Chart(jd, 0, 0, With(Ayanamsa::TrueChitra)).AyanamsaDegrees, 203.84 - 180, 0.02);
}

TEST(PreciseAyanamsa, SettingsChangeBetweenCallsTakeEffect) {
    const double jd = JulianDay(1985, 6, 1);
    const double lahiri = Chart(jd, 20, 80, With(Ayanamsa::Lahiri)).Longitudes[kMoon];
    const double raman = Chart(jd, 20, 80, With(Ayanamsa::Raman)).Longitudes[kMoon];
    const double lahiriAgain = Chart(jd, 20, 80, With(Ayanamsa::Lahiri)).Longitudes[kMoon];
    EXPECT_NEAR(ArcDifference(raman, lahiri), 1.44, 0.05);
    EXPECT_DOUBLE_EQ(lahiri, lahiriAgain);
}

// ---------------------------------------------------------------------------
// The Sun and Moon: tropical longitude = sidereal longitude + ayanamsa

TEST(PreciseSun, TropicalLongitudeAtEquinoxesAndSolstices) {
    struct Cardinal {
        int Year, Month, Day, Hour, Minute;
        double Longitude;
    };
    // Universal times of the equinoxes and solstices of 2000 and 2020.
    const Cardinal moments[] = {
        {2000, 3, 20, 7, 35, 0}, {2000, 6, 21, 1, 48, 90},  {2000, 9, 22, 17, 27, 180}, {2000, 12, 21, 13, 37, 270},
        {2020, 3, 20, 3, 50, 0}, {2020, 6, 20, 21, 44, 90}, {2020, 9, 22, 13, 31, 180}, {2020, 12, 21, 10, 2, 270},
    };
    for (const Cardinal& c : moments) {
        const double jd = JulianDay(c.Year, c.Month, c.Day, c.Hour, c.Minute);
        for (Ayanamsa a : kAllAyanamsas) {
            EXPECT_NEAR(ArcDifference(TropicalSun(jd, With(a)), c.Longitude), 0, 0.002)
                << c.Year << "-" << c.Month << "-" << c.Day << " " << AyanamsaKey(a);
        }
    }
}

TEST(PreciseSun, ApparentLongitudeAndSpeedOnMeeusExample) {
    // Meeus example 25.b: 1992 October 13, 0h TD, apparent longitude
    // 199 deg 54' 21.818"; delta T was about 59 s.
    const PreciseResult r = Chart(JulianDay(1992, 10, 13) - 59.0 / 86400, 0, 0);
    EXPECT_NEAR(r.Longitudes[kSun] + r.AyanamsaDegrees, 199.906061, 0.001);
    EXPECT_NEAR(r.Speeds[kSun], 0.99, 0.03);  // near mean motion in October
}

TEST(PreciseMoon, ApparentLongitudeOnMeeusExample) {
    // Meeus example 47.a: 1992 April 12, 0h TD, apparent longitude
    // 133.167265 deg from a truncated theory good to about 10".
    const PreciseResult r = Chart(JulianDay(1992, 4, 12) - 59.0 / 86400, 0, 0);
    EXPECT_NEAR(r.Longitudes[kMoon] + r.AyanamsaDegrees, 133.167265, 0.01);
    EXPECT_GT(r.Speeds[kMoon], 11.5);
    EXPECT_LT(r.Speeds[kMoon], 15.5);
}

// ---------------------------------------------------------------------------
// The nodes

TEST(PreciseNodes, MeanNodeMatchesItsPolynomialAtJ2000) {
    // Meeus 47.7: the mean ascending node is 125.04452 deg at J2000 and
    // moves back 1934.136 deg a century.
    const PreciseResult r = Chart(JulianDay(2000, 1, 1, 12), 0, 0, With(Ayanamsa::Lahiri, NodeKind::Mean));
    EXPECT_NEAR(std::fmod(r.Longitudes[kRahu] + r.AyanamsaDegrees, 360.0), 125.04452, 0.01);
    EXPECT_NEAR(r.Speeds[kRahu], -1934.136 / 36525, 0.0005);
}

TEST(PreciseNodes, KetuOppositeRahuAndTrueNodeNearMeanNode) {
    for (const RandomBirth& b : RandomBirths(60, 7)) {
        const PreciseResult mean = Chart(b.JulianDay, b.Latitude, b.Longitude, With(Ayanamsa::Lahiri, NodeKind::Mean));
        const PreciseResult truth = Chart(b.JulianDay, b.Latitude, b.Longitude, With(Ayanamsa::Lahiri, NodeKind::True));
        for (const PreciseResult* r : {&mean, &truth}) {
            EXPECT_NEAR(std::fabs(ArcDifference(r->Longitudes[kKetu], r->Longitudes[kRahu])), 180, 1e-9);
            EXPECT_DOUBLE_EQ(r->Speeds[kKetu], r->Speeds[kRahu]);
        }
        // The true node swings less than two degrees about the mean one.
        EXPECT_LT(std::fabs(ArcDifference(truth.Longitudes[kRahu], mean.Longitudes[kRahu])), 2.0);
        EXPECT_DOUBLE_EQ(truth.Longitudes[kSun], mean.Longitudes[kSun]);
    }
}

// ---------------------------------------------------------------------------
// Retrograde motion in 2020

TEST(PreciseRetrograde, FlagsFollowTheStationsOf2020) {
    enum : std::size_t { Mercury, Venus, Mars, Jupiter, Saturn };
    auto flags = [](int month, int day) { return Chart(JulianDay(2020, month, day, 12), 0, 0).Retrograde; };

    // Early January: every planet direct.
    for (bool retrograde : flags(1, 5)) EXPECT_FALSE(retrograde);

    // Mercury stations retrograde on 18 June 05h UT and direct on 12 July 08h UT.
    EXPECT_FALSE(flags(6, 17)[Mercury]);
    EXPECT_TRUE(flags(6, 19)[Mercury]);
    EXPECT_TRUE(flags(7, 11)[Mercury]);
    EXPECT_FALSE(flags(7, 13)[Mercury]);

    // Venus 13 May - 25 June, Saturn 11 May - 29 September,
    // Jupiter 14 May - 13 September, Mars 9 September - 14 November.
    const auto june1 = flags(6, 1);
    EXPECT_TRUE(june1[Venus]);
    EXPECT_TRUE(june1[Jupiter]);
    EXPECT_TRUE(june1[Saturn]);
    EXPECT_FALSE(june1[Mars]);
    const auto july1 = flags(7, 1);
    EXPECT_FALSE(july1[Venus]);
    EXPECT_TRUE(july1[Jupiter]);
    const auto october13 = flags(10, 13);
    EXPECT_TRUE(october13[Mars]);
    EXPECT_FALSE(october13[Jupiter]);
    EXPECT_FALSE(october13[Saturn]);
    EXPECT_FALSE(flags(11, 20)[Mars]);
}

// ---------------------------------------------------------------------------
// The ascendant against the textbook formula

// Tropical ascendant from the apparent local sidereal time: Meeus 12.4 for
// mean Greenwich sidereal time, chapter 22 for the obliquity and a short
// nutation series, and the spherical-astronomy formula
// tan(asc) = cos(LST) / -(sin(LST) cos(eps) + tan(lat) sin(eps)).
double TextbookAscendant(double jd, double latitude, double longitudeEast) {
    const double t = (jd - 2451545.0) / 36525;
    const double gmst = 280.46061837 + 360.98564736629 * (jd - 2451545.0) + 0.000387933 * t * t - t * t * t / 38710000;
    const double node = (125.04452 - 1934.136261 * t) * kDeg;
    const double sun = (280.4665 + 36000.7698 * t) * kDeg;
    const double moon = (218.3165 + 481267.8813 * t) * kDeg;
    const double dpsi =
        (-17.20 * std::sin(node) - 1.32 * std::sin(2 * sun) - 0.23 * std::sin(2 * moon) + 0.21 * std::sin(2 * node)) /
        3600;
    const double deps =
        (9.20 * std::cos(node) + 0.57 * std::cos(2 * sun) + 0.10 * std::cos(2 * moon) - 0.09 * std::cos(2 * node)) /
        3600;
    const double eps = (23.4392911 - 0.0130042 * t) + deps;
    const double last = (gmst + dpsi * std::cos(eps * kDeg) + longitudeEast) * kDeg;
    const double e = eps * kDeg;
    const double phi = latitude * kDeg;
    double asc = std::atan2(std::cos(last), -(std::sin(last) * std::cos(e) + std::tan(phi) * std::sin(e))) / kDeg;
    if (asc < 0) asc += 360;
    return asc;
}

TEST(PreciseAscendant, AgreesWithTextbookFormula) {
    struct Place {
        double Latitude, Longitude;
    };
    const Place places[] = {{0, 0},           {0, 77.2},       {28.61, 77.21}, {-33.87, 151.21},
                            {51.48, -0.0015}, {40.71, -74.01}, {-60, -120},    {60, 30}};
    const double moments[] = {JulianDay(2000, 1, 1, 12), JulianDay(1947, 8, 15, 0, 0), JulianDay(1969, 7, 20, 20, 17),
                              JulianDay(2023, 3, 5, 6, 30), JulianDay(1910, 11, 2, 18, 45)};
    for (double jd : moments) {
        for (const Place& p : places) {
            const PreciseResult r = Chart(jd, p.Latitude, p.Longitude);
            const double tropical = r.Longitudes[kAscendant] + r.AyanamsaDegrees;
            EXPECT_NEAR(ArcDifference(tropical, TextbookAscendant(jd, p.Latitude, p.Longitude)), 0, 0.01)
                << "jd " << jd << " at " << p.Latitude << ", " << p.Longitude;
            EXPECT_GT(r.Speeds[kAscendant], 0);  // below the polar circles it always rises eastward
        }
    }
}

// ---------------------------------------------------------------------------
// What is refused

TEST(PreciseRefusals, MomentsOutsideTheDataFiles) {
    const auto [first, end] = PreciseRange();
    EXPECT_DOUBLE_EQ(first, JulianDay(1800, 1, 2));
    EXPECT_DOUBLE_EQ(end, JulianDay(2400, 1, 1));
    for (double jd : {first - 1e-4, end, end + 365, JulianDay(1700, 6, 1), std::nan("")}) {
        const PreciseOutcome o = ComputePrecise(jd, 10, 10, PreciseSettings{});
        EXPECT_FALSE(o.Ok) << jd;
        EXPECT_NE(o.Error.find("covers 1800-01-02 to 2399-12-31"), std::string::npos) << o.Error;
        EXPECT_NE(o.Error.find("outside"), std::string::npos) << o.Error;
    }
    // The very edges are still served from the files, not from a fallback.
    for (NodeKind node : kAllNodeKinds) {
        for (Ayanamsa a : kAllAyanamsas) {
            EXPECT_TRUE(ComputePrecise(first, 10, 10, With(a, node)).Ok) << AyanamsaKey(a);
            EXPECT_TRUE(ComputePrecise(end - 1e-6, 10, 10, With(a, node)).Ok) << AyanamsaKey(a);
        }
    }
}

TEST(PreciseRefusals, PlacesOffTheGlobe) {
    const double jd = JulianDay(1990, 1, 1);
    EXPECT_FALSE(ComputePrecise(jd, 90.5, 0, PreciseSettings{}).Ok);
    EXPECT_FALSE(ComputePrecise(jd, 0, -181, PreciseSettings{}).Ok);
    EXPECT_FALSE(ComputePrecise(jd, std::nan(""), 0, PreciseSettings{}).Ok);
    EXPECT_TRUE(ComputePrecise(jd, -89.9, 180, PreciseSettings{}).Ok);
}

TEST(PreciseRefusals, MissingDataFilesNameTheFolder) {
    PreciseSettings missing;
    missing.ephemerisPath = "/nonexistent/velmora-ephe";
    const PreciseOutcome o = ComputePrecise(JulianDay(1990, 1, 1), 10, 10, missing);
    EXPECT_FALSE(o.Ok);
    EXPECT_NE(o.Error.find("not found"), std::string::npos) << o.Error;
    EXPECT_NE(o.Error.find("/nonexistent/velmora-ephe"), std::string::npos) << o.Error;

    // Going back to the right folder works again.
    EXPECT_TRUE(ComputePrecise(JulianDay(1990, 1, 1), 10, 10, PreciseSettings{}).Ok);
}

// ---------------------------------------------------------------------------
// Every setting, every body

TEST(PreciseChart, EveryLongitudeLiesInRange) {
    for (const RandomBirth& b : RandomBirths(40, 11)) {
        for (Ayanamsa a : kAllAyanamsas) {
            for (NodeKind n : kAllNodeKinds) {
                const PreciseResult r = Chart(b.JulianDay, b.Latitude, b.Longitude, With(a, n));
                for (double lon : r.Longitudes) {
                    EXPECT_TRUE(std::isfinite(lon));
                    EXPECT_GE(lon, 0.0);
                    EXPECT_LT(lon, 360.0);
                }
            }
        }
    }
}

// The acceptance check: the engine gives what the library gives when called
// directly with the same settings, on 200 random births.
TEST(PreciseChart, MatchesDirectLibraryCalls) {
    constexpr int kBodies[8] = {SE_SUN, SE_MOON, SE_MERCURY, SE_VENUS, SE_MARS, SE_JUPITER, SE_SATURN, SE_MEAN_NODE};
    constexpr int kModes[6] = {SE_SIDM_LAHIRI,        SE_SIDM_RAMAN,      SE_SIDM_KRISHNAMURTI,
                               SE_SIDM_FAGAN_BRADLEY, SE_SIDM_YUKTESHWAR, SE_SIDM_TRUE_CITRA};
    const std::vector<RandomBirth> births = RandomBirths(200, 2024);
    for (std::size_t i = 0; i < births.size(); ++i) {
        const RandomBirth& b = births[i];
        const std::size_t modeIndex = i % 6;
        const NodeKind node = (i / 6) % 2 == 0 ? NodeKind::Mean : NodeKind::True;
        const PreciseResult r = Chart(b.JulianDay, b.Latitude, b.Longitude, With(kAllAyanamsas[modeIndex], node));

        // This test is single-threaded, so it may touch the library itself.
        swe_set_ephe_path("/usr/share/libswe/ephe");
        swe_set_sid_mode(kModes[modeIndex], 0, 0);
        char serr[AS_MAXCH];
        for (std::size_t k = 0; k < 8; ++k) {
            int body = kBodies[k];
            if (body == SE_MEAN_NODE && node == NodeKind::True) body = SE_TRUE_NODE;
            double xx[6];
            const int flags = swe_calc_ut(b.JulianDay, body, SEFLG_SWIEPH | SEFLG_SPEED | SEFLG_SIDEREAL, xx, serr);
            ASSERT_TRUE(flags >= 0 && (flags & SEFLG_SWIEPH)) << serr;
            EXPECT_NEAR(ArcDifference(r.Longitudes[k], xx[0]), 0, 0.001) << "body " << k << " birth " << i;
            EXPECT_NEAR(r.Speeds[k], xx[3], 1e-6) << "body " << k << " birth " << i;
        }

        double cusps[13], ascmc[10];
        ASSERT_GE(swe_houses_ex(b.JulianDay, SEFLG_SIDEREAL, b.Latitude, b.Longitude, 'P', cusps, ascmc), 0);
        EXPECT_EQ(static_cast<int>(r.Longitudes[kAscendant] / 30), static_cast<int>(std::fmod(ascmc[0], 360.0) / 30))
            << "birth " << i;
        EXPECT_NEAR(ArcDifference(r.Longitudes[kAscendant], ascmc[0]), 0, 0.001) << "birth " << i;
    }
}

// Batch analyses call the engine from several threads at once.
TEST(PreciseChart, ConcurrentCallsGiveTheSequentialResults) {
    const std::vector<RandomBirth> births = RandomBirths(60, 99);
    std::vector<std::vector<PreciseResult>> expected(4);
    for (std::size_t t = 0; t < 4; ++t) {
        for (const RandomBirth& b : births) {
            expected[t].push_back(Chart(b.JulianDay, b.Latitude, b.Longitude,
                                        With(kAllAyanamsas[t], t % 2 ? NodeKind::True : NodeKind::Mean)));
        }
    }
    std::vector<std::vector<PreciseResult>> got(4);
    std::vector<std::thread> threads;
    for (std::size_t t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (const RandomBirth& b : births) {
                got[t].push_back(ComputePrecise(b.JulianDay, b.Latitude, b.Longitude,
                                                With(kAllAyanamsas[t], t % 2 ? NodeKind::True : NodeKind::Mean))
                                     .Result);
            }
        });
    }
    for (std::thread& th : threads) th.join();
    for (std::size_t t = 0; t < 4; ++t) {
        ASSERT_EQ(got[t].size(), births.size());
        for (std::size_t i = 0; i < births.size(); ++i) {
            for (std::size_t k = 0; k < 10; ++k) {
                EXPECT_NEAR(got[t][i].Longitudes[k], expected[t][i].Longitudes[k], 1e-9) << t << " " << i << " " << k;
            }
            EXPECT_NEAR(got[t][i].AyanamsaDegrees, expected[t][i].AyanamsaDegrees, 1e-9);
        }
    }
}

// The library may keep its settings per thread: a thread's first chart must
// still use the settings asked for, whatever another thread set before.
TEST(PreciseChart, FreshThreadsUseTheSettingsAskedFor) {
    const double jd = JulianDay(1975, 4, 18, 3, 20);
    for (Ayanamsa a : kAllAyanamsas) {
        const PreciseResult here = Chart(jd, 12.97, 77.59, With(a));
        PreciseOutcome there;
        std::thread([&] { there = ComputePrecise(jd, 12.97, 77.59, With(a)); }).join();
        ASSERT_TRUE(there.Ok) << there.Error;
        EXPECT_DOUBLE_EQ(there.Result.AyanamsaDegrees, here.AyanamsaDegrees) << AyanamsaKey(a);
        EXPECT_DOUBLE_EQ(there.Result.Longitudes[kMoon], here.Longitudes[kMoon]) << AyanamsaKey(a);
        EXPECT_DOUBLE_EQ(there.Result.Longitudes[kAscendant], here.Longitudes[kAscendant]) << AyanamsaKey(a);
    }

    PreciseSettings missing;
    missing.ephemerisPath = "/nonexistent/velmora-ephe";
    EXPECT_FALSE(ComputePrecise(jd, 0, 0, missing).Ok);
    PreciseOutcome there;
    std::thread([&] { there = ComputePrecise(jd, 0, 0, missing); }).join();
    EXPECT_FALSE(there.Ok);
    EXPECT_NE(there.Error.find("/nonexistent/velmora-ephe"), std::string::npos) << there.Error;
    EXPECT_TRUE(ComputePrecise(jd, 0, 0, PreciseSettings{}).Ok);
}

// ---------------------------------------------------------------------------
// Names

TEST(PreciseNames, StableKeysAndDisplayNames) {
    const char* keys[] = {"lahiri", "raman", "krishnamurti", "fagan-bradley", "yukteshwar", "true-chitra"};
    const char* shown[] = {"Lahiri", "Raman", "Krishnamurti", "Fagan/Bradley", "Yukteshwar", "True Chitra"};
    for (std::size_t i = 0; i < kAllAyanamsas.size(); ++i) {
        EXPECT_EQ(AyanamsaKey(kAllAyanamsas[i]), keys[i]);
        EXPECT_EQ(AyanamsaDisplayName(kAllAyanamsas[i]), shown[i]);
        EXPECT_EQ(ParseAyanamsa(keys[i]), kAllAyanamsas[i]);
    }
    EXPECT_EQ(ParseAyanamsa("Fagan-Bradley"), Ayanamsa::FaganBradley);
    EXPECT_FALSE(ParseAyanamsa("Fagan/Bradley").has_value());
    EXPECT_FALSE(ParseAyanamsa("").has_value());
    EXPECT_FALSE(ParseAyanamsa("lahiri ").has_value());

    EXPECT_EQ(NodeKindKey(NodeKind::Mean), "mean");
    EXPECT_EQ(NodeKindKey(NodeKind::True), "true");
    EXPECT_EQ(ParseNodeKind("mean"), NodeKind::Mean);
    EXPECT_EQ(ParseNodeKind("TRUE"), NodeKind::True);
    EXPECT_FALSE(ParseNodeKind("osculating").has_value());
}

}  // namespace
}  // namespace velmora::astro

namespace {

int OpenDescriptors() {
    int count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) ++count;
    return count;
}

}  // namespace

TEST(PreciseChart, ThreadsThatEndCloseTheirEphemerisFiles) {
    // Each worker that used the library opens its data files; when it ends
    // they must be closed again, or a long batch runs out of descriptors.
    const double jd = 2451545.0;
    velmora::astro::PreciseSettings settings;
    ASSERT_TRUE(velmora::astro::ComputePrecise(jd, 28.6, 77.2, settings).Ok);
    const int before = OpenDescriptors();
    for (int round = 0; round < 20; ++round) {
        std::thread worker([&] { EXPECT_TRUE(velmora::astro::ComputePrecise(jd + round, 28.6, 77.2, settings).Ok); });
        worker.join();
    }
    EXPECT_LE(OpenDescriptors(), before + 2);
    // The calling thread still computes after the workers closed theirs.
    EXPECT_TRUE(velmora::astro::ComputePrecise(jd + 40, 28.6, 77.2, settings).Ok);
}
