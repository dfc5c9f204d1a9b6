#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include <cmath>

#include "astro/angles.h"
#include "astro/position_text.h"

using namespace velmora::astro;

TEST(PositionText, ArcAndPositionTextsOfTypicalLongitudes) {
    // 35° 7' 3.9": 5 degrees into Taurus, no leading zeros, seconds truncated.
    const double longitude = 35 + 7 / 60.0 + 3.9 / 3600;
    EXPECT_EQ(ArcTextOf(longitude), "5\xC2\xB0 7' 3\" Tau");
    EXPECT_EQ(PositionTextOf(ArcTextOf(longitude)), "05 Tau 07");

    EXPECT_EQ(ArcTextOf(0), "0\xC2\xB0 0' 0\" Ari");
    EXPECT_EQ(PositionTextOf(ArcTextOf(0)), "00 Ari 00");

    EXPECT_EQ(ArcTextOf(359.99), "29\xC2\xB0 59' 24\" Pis");
    EXPECT_EQ(PositionTextOf(ArcTextOf(359.99)), "29 Pis 59");

    // Every part is truncated, never carried to the next unit.
    EXPECT_EQ(ArcTextOf(29.9999999), "29\xC2\xB0 59' 59\" Ari");
    EXPECT_EQ(PositionTextOf("  12\xC2\xB0 34' 56\" Leo  "), "12 Leo 34");
}

TEST(PositionText, FullTurnIsTheStartOfAries) {
    // The wrapping rules can leave exactly 360; it must not become a
    // thirteenth sign that no box can hold.
    EXPECT_EQ(ArcTextOf(360), "0\xC2\xB0 0' 0\" Ari");
    EXPECT_EQ(PositionTextOf(ArcTextOf(360)), "00 Ari 00");
    EXPECT_EQ(ArcTextOf(390.5), ArcTextOf(30.5));
}

TEST(PositionText, EveryPositionTextIsNineCharactersWithTheSignAtFourToSix) {
    for (int step = 0; step < 36000; ++step) {
        const double longitude = step / 100.0 + 0.004;
        const std::string position = PositionTextOf(ArcTextOf(longitude));
        ASSERT_EQ(position.size(), 9u) << longitude;
        const int sign = static_cast<int>(longitude / 30);
        ASSERT_EQ(position.substr(3, 3), SignAbbreviation(sign)) << longitude;
        ASSERT_EQ(SignIndexOfAbbreviation(position.substr(3, 3)), sign);
    }
}

TEST(PositionText, MalformedArcTextIsRejected) {
    EXPECT_THROW(PositionTextOf("no degrees here"), std::invalid_argument);
    EXPECT_EQ(SignIndexOfAbbreviation("ari"), -1);
    EXPECT_EQ(SignIndexOfAbbreviation("Xyz"), -1);
}

TEST(Angles, PolarAngleQuadrantsAndAxes) {
    EXPECT_DOUBLE_EQ(PolarAngle(0, -1), kPi);
    EXPECT_DOUBLE_EQ(PolarAngle(1, 0), kPi / 2);
    EXPECT_DOUBLE_EQ(PolarAngle(-1, 0), -kPi / 2);
    EXPECT_DOUBLE_EQ(PolarAngle(0, 0), 0);
    EXPECT_NEAR(PolarAngle(-1, -1), -3 * kPi / 4, 1e-13);
    // Agrees with atan2 everywhere off the negative x axis.
    for (double y : {-2.0, -0.3, 0.7, 5.0})
        for (double x : {-3.0, -0.1, 0.2, 4.0}) EXPECT_NEAR(PolarAngle(y, x), std::atan2(y, x), 1e-13);
}

TEST(Angles, WrapDegreesAndReduceRadians) {
    double a = -10;
    EXPECT_DOUBLE_EQ(WrapDegrees(a), 350);
    EXPECT_DOUBLE_EQ(a, 350);
    double b = 370;
    EXPECT_DOUBLE_EQ(WrapDegrees(b), 10);
    double c = 360;
    EXPECT_DOUBLE_EQ(WrapDegrees(c), 360);  // left as a full turn

    EXPECT_NEAR(ReduceRadians(3 * kTwoPi + 1), 1, 1e-12);
    EXPECT_NEAR(ReduceRadians(-1), kTwoPi - 1, 1e-12);
    EXPECT_NEAR(ReduceRadians(-5 * kTwoPi - 0.5), kTwoPi - 0.5, 1e-10);
    EXPECT_GE(ReduceRadians(-kTwoPi), 0);
}

TEST(PositionText, BothTextsAtOnceEqualTheArcTextAndItsCut) {
    // Every whole minute of the zodiac, the edges of each sign and a full turn.
    std::vector<double> longitudes{0.0, 360.0, 359.99999999, 1e-12};
    for (int minute = 0; minute < 360 * 60; minute += 7) longitudes.push_back(minute / 60.0 + 0.004);
    // Every second of a one-digit and of a two-digit degree, so each of
    // degrees, minutes and seconds takes one digit and two beside the others.
    for (double degree : {7.0, 293.0})
        for (int second = 0; second < 3600; ++second) longitudes.push_back(degree + (second + 0.5) / 3600);
    for (int sign = 0; sign < 12; ++sign) {
        longitudes.push_back(sign * 30.0);
        longitudes.push_back(std::nextafter(sign * 30.0 + 30, 0.0));
        longitudes.push_back(sign * 30.0 + 29 + 59.0 / 60 + 59.9 / 3600);
    }
    velmora::astro::ArcText arc;
    velmora::astro::PositionText position;
    for (double x : longitudes) {
        FormatLongitude(x, arc, position);
        EXPECT_FALSE(arc.Cut() || position.Cut()) << x;
        EXPECT_EQ(arc, ArcTextOf(x)) << x;
        EXPECT_EQ(position, PositionTextOf(ArcTextOf(x))) << x;
    }
}

TEST(PositionText, SignIndexIsTheSignTheArcTextNames) {
    // The sign of a longitude and the abbreviation its arc text ends in
    // agree everywhere, at each sign's edges, a full turn and beyond, and
    // for the magnitude of a negative value.
    std::vector<double> longitudes{0.0, -0.0, 360.0, 720.0, std::nextafter(360.0, 0.0), 1e-300, -45.0, 1234.5};
    for (int sign = 0; sign < 12; ++sign) {
        longitudes.push_back(sign * 30.0);
        longitudes.push_back(std::nextafter(sign * 30.0, 0.0));
        longitudes.push_back(std::nextafter(sign * 30.0 + 30, 0.0));
    }
    for (double x : longitudes) {
        const int k = SignIndexOfLongitude(x);
        ASSERT_GE(k, 0) << x;
        ASSERT_LE(k, 11) << x;
        const std::string arc = ArcTextOf(x);
        EXPECT_EQ(arc.substr(arc.size() - 3), SignAbbreviation(k)) << x;
    }
    EXPECT_EQ(SignIndexOfLongitude(std::nextafter(30.0, 0.0)), 0);
    EXPECT_EQ(SignIndexOfLongitude(30.0), 1);
    EXPECT_EQ(SignIndexOfLongitude(360.0), 0);
    EXPECT_EQ(SignIndexOfLongitude(-45.0), 1);
}
