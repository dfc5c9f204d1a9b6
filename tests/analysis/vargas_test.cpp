#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "analysis/navamsa.h"
#include "analysis/vargas.h"

using namespace velmora::analysis;

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

// Where each part of a sign starts, in degrees within the sign: N equal
// parts, or the Trimshamsa's five for an odd or an even sign.
std::vector<double> PartStarts(Varga varga, int sign) {
    if (varga == Varga::D30) {
        if (sign % 2 == 0) return {0, 5, 10, 18, 25};  // Aries, Gemini, ...
        return {0, 5, 12, 20, 25};
    }
    const int n = VargaDivisions(varga);
    std::vector<double> starts;
    for (int k = 0; k < n; ++k) starts.push_back(30.0 * k / n);
    return starts;
}

double Wrap(double x) { return x < 0 ? x + 360 : x; }

}  // namespace

// Three longitudes worked by hand from Parashara's rules, every varga.
TEST(Vargas, WorkedLongitudes) {
    struct Case {
        double Longitude;
        std::array<int, kVargaCount> Signs;  // D1 D2 D3 D4 D7 D9 D10 D12 D16 D20 D24 D27 D30 D40 D45 D60
    };
    const Case cases[] = {
        // Taurus 17°30' (even, fixed, earth).
        {47.5, {2, 5, 6, 8, 12, 3, 3, 9, 2, 8, 6, 7, 12, 6, 7, 1}},
        // Sagittarius 10°15' (odd, dual, fire).
        {250.25, {9, 5, 1, 12, 11, 4, 12, 1, 2, 11, 1, 10, 9, 2, 12, 5}},
        // Cancer 5°00' (even, movable, water), on the edge of a D12, D24,
        // D30 and D60 part.
        {95.0, {4, 4, 4, 4, 11, 5, 1, 6, 3, 4, 8, 2, 6, 1, 8, 2}},
    };
    for (const Case& c : cases) {
        for (std::size_t v = 0; v < kAllVargas.size(); ++v) {
            EXPECT_EQ(VargaSign(kAllVargas[v], c.Longitude), c.Signs[v])
                << VargaKey(kAllVargas[v]) << " of " << c.Longitude;
        }
    }
}

TEST(Vargas, PublishedContinuityOfNavamsaAndDasamsa) {
    // P. Rath on the principles of the divisions: the last navamsa of Aries
    // is Sagittarius and the first of Taurus Capricorn; the last dasamsa of
    // Aries is Capricorn, and Taurus's dasamsas start from its 9th,
    // Capricorn, again.
    EXPECT_EQ(VargaSign(Varga::D9, 29.9), 9);
    EXPECT_EQ(VargaSign(Varga::D9, 30.0), 10);
    EXPECT_EQ(VargaSign(Varga::D10, 29.9), 10);
    EXPECT_EQ(VargaSign(Varga::D10, 30.0), 10);
    EXPECT_EQ(VargaSign(Varga::D10, 33.0), 11);
}

// Every part of every sign in every varga: the edge itself and a value a hair
// above it or below it by rounding noise start the part; a value 1e-7°
// (0.00036") below it still lies in the part before.
TEST(Vargas, EveryPartBoundary) {
    for (Varga varga : kAllVargas) {
        for (int sign = 0; sign < 12; ++sign) {
            const std::vector<double> starts = PartStarts(varga, sign);
            for (std::size_t k = 0; k < starts.size(); ++k) {
                const double edge = 30.0 * sign + starts[k];
                const double end = k + 1 < starts.size() ? 30.0 * sign + starts[k + 1] : 30.0 * (sign + 1);
                const double previousStart = k > 0 ? 30.0 * sign + starts[k - 1] : edge - 0.5;
                const int inside = VargaSign(varga, (edge + end) / 2);
                const int before = VargaSign(varga, Wrap((previousStart + edge) / 2));
                SCOPED_TRACE(testing::Message() << VargaKey(varga) << " edge " << edge);
                EXPECT_EQ(VargaSign(varga, edge), inside);
                EXPECT_EQ(VargaSign(varga, std::nextafter(edge, kInf)), inside);
                EXPECT_EQ(VargaSign(varga, Wrap(std::nextafter(edge, -kInf))), inside);
                EXPECT_EQ(VargaSign(varga, Wrap(edge - 1e-7)), before);
                EXPECT_EQ(VargaSign(varga, end - 1e-7), inside);
            }
        }
    }
}

TEST(Vargas, ExactBinaryEdgesWrittenTwoWays) {
    // Where the part is a binary fraction of a degree the edge is exact; the
    // same edge from degrees and minutes carries noise and still counts.
    EXPECT_EQ(VargaSign(Varga::D60, 0.5), 2);  // Aries, second part: Taurus
    EXPECT_EQ(VargaSign(Varga::D60, std::nextafter(0.5, 0)), 2);
    EXPECT_EQ(VargaSign(Varga::D60, 0.5 - 1e-7), 1);
    EXPECT_EQ(VargaSign(Varga::D16, 1.875), 2);  // Aries (movable) from Aries
    EXPECT_EQ(VargaSign(Varga::D16, 1 + 52 / 60.0 + 30 / 3600.0), 2);
    EXPECT_EQ(VargaSign(Varga::D40, 30 + 0.75), 8);                           // Taurus (even) from Libra: Scorpio
    EXPECT_EQ(VargaSign(Varga::D7, 4 + 17 / 60.0 + 8.5714285714 / 3600), 2);  // 30/7 in d, m, s
    EXPECT_EQ(VargaSign(Varga::D27, 60 + 1 + 6 / 60.0 + 40 / 3600.0), 8);     // Gemini (air) from Libra
    EXPECT_EQ(VargaSign(Varga::D45, 120 + 40 / 60.0), 6);                     // Leo (fixed) from Leo: Virgo
}

TEST(Vargas, TrimshamsaOfOddAndEvenSigns) {
    // Odd signs: Aries, Aquarius, Sagittarius, Gemini, Libra over 5, 5, 8, 7,
    // 5 degrees; even signs: Taurus, Virgo, Pisces, Capricorn, Scorpio over
    // 5, 7, 8, 5, 5.
    const std::array<double, 10> degrees{0, 4.99, 5, 9.99, 10, 11.99, 12, 17.99, 18, 29.99};
    const std::array<int, 10> odd{1, 1, 11, 11, 9, 9, 9, 9, 3, 7};
    const std::array<int, 10> even{2, 2, 6, 6, 6, 6, 12, 12, 12, 8};
    for (int sign = 0; sign < 12; ++sign) {
        for (std::size_t i = 0; i < degrees.size(); ++i) {
            const int expected = sign % 2 == 0 ? odd[i] : even[i];
            EXPECT_EQ(VargaSign(Varga::D30, 30.0 * sign + degrees[i]), expected) << sign << " " << degrees[i];
        }
        EXPECT_EQ(VargaSign(Varga::D30, 30.0 * sign + 24.99), sign % 2 == 0 ? 3 : 10);
        EXPECT_EQ(VargaSign(Varga::D30, 30.0 * sign + 25), sign % 2 == 0 ? 7 : 8);
    }
}

TEST(Vargas, HoraIsLeoOrCancer) {
    EXPECT_EQ(VargaSign(Varga::D2, 14.99), 5);
    EXPECT_EQ(VargaSign(Varga::D2, 15.0), 4);
    EXPECT_EQ(VargaSign(Varga::D2, 30.0), 4);
    EXPECT_EQ(VargaSign(Varga::D2, 45.0), 5);
    EXPECT_EQ(VargaSign(Varga::D2, 359.99), 5);  // Pisces, even, second half
}

TEST(Vargas, NavamsaEqualsTheProgramsNavamsa) {
    std::vector<double> longitudes;
    std::mt19937_64 random(9);
    std::uniform_real_distribution<double> anywhere(-720, 720);
    for (int i = 0; i < 100000; ++i) longitudes.push_back(anywhere(random));
    // Every edge of every varga (the navamsa's own among them), written in
    // degrees and minutes and in fractions, with its floating neighbours.
    for (Varga varga : kAllVargas) {
        for (int sign = 0; sign < 12; ++sign) {
            for (double start : PartStarts(varga, sign)) {
                const double edge = 30.0 * sign + start;
                for (double x : {edge, std::nextafter(edge, kInf), std::nextafter(edge, -kInf), edge - 1e-9,
                                 edge + 1e-9, edge - 1e-7})
                    longitudes.push_back(x);
            }
        }
    }
    for (int minutes = 0; minutes < 21600; minutes += 200) longitudes.push_back(minutes / 60 + (minutes % 60) / 60.0);
    for (double x : {360.0, std::nextafter(360.0, 0.0), -0.0, 1e-300, -1e-300}) longitudes.push_back(x);
    for (double x : longitudes) ASSERT_EQ(VargaSign(Varga::D9, x), NavamsaSign(x)) << x;
}

TEST(Vargas, OutsideOneTurnAndNonFinite) {
    for (Varga varga : kAllVargas) {
        EXPECT_EQ(VargaSign(varga, 400.0), VargaSign(varga, 40.0)) << VargaKey(varga);
        EXPECT_EQ(VargaSign(varga, -20.0), VargaSign(varga, 340.0)) << VargaKey(varga);
        EXPECT_EQ(VargaSign(varga, std::nextafter(360.0, 0.0)), VargaSign(varga, 0.0)) << VargaKey(varga);
        EXPECT_EQ(VargaSign(varga, std::numeric_limits<double>::quiet_NaN()), 0);
        EXPECT_EQ(VargaSign(varga, kInf), 0);
    }
}

TEST(Vargas, TableOfTenBodies) {
    std::array<double, 10> longitudes{};
    for (std::size_t b = 0; b < longitudes.size(); ++b) longitudes[b] = 17.3 + 36.7 * static_cast<double>(b);
    longitudes[9] = std::numeric_limits<double>::quiet_NaN();
    const VargaTable table = VargaSigns(longitudes);
    for (std::size_t v = 0; v < kAllVargas.size(); ++v) {
        for (std::size_t b = 0; b < 9; ++b) EXPECT_EQ(table[v][b], VargaSign(kAllVargas[v], longitudes[b]));
        EXPECT_EQ(table[v][9], 0);
    }
    EXPECT_EQ(table[5], NavamsaSigns(longitudes));
}
