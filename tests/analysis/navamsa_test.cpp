#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "analysis/navamsa.h"

using namespace velmora::analysis;

namespace {

double Degrees(int degrees, int minutes, double seconds = 0) { return degrees + minutes / 60.0 + seconds / 3600.0; }

}  // namespace

TEST(Navamsa, SignAndPartEdges) {
    EXPECT_EQ(NavamsaSign(0.0), 1);                   // first part of Aries: Aries
    EXPECT_EQ(NavamsaSign(Degrees(3, 19, 59.9)), 1);  // still the first part
    EXPECT_EQ(NavamsaSign(Degrees(3, 20)), 2);        // 3°20' starts the second: Taurus
    EXPECT_EQ(NavamsaSign(10.0 / 3.0), 2);
    EXPECT_EQ(NavamsaSign(Degrees(6, 40)), 3);
    EXPECT_EQ(NavamsaSign(Degrees(29, 59)), 9);  // last part of Aries: Sagittarius
    EXPECT_EQ(NavamsaSign(30.0), 10);            // Taurus starts from Capricorn
    EXPECT_EQ(NavamsaSign(Degrees(33, 20)), 11);
    EXPECT_EQ(NavamsaSign(60.0), 7);               // Gemini starts from Libra
    EXPECT_EQ(NavamsaSign(90.0), 4);               // Cancer starts from Cancer
    EXPECT_EQ(NavamsaSign(Degrees(119, 59)), 12);  // Cancer ends in Pisces
    EXPECT_EQ(NavamsaSign(120.0), 1);              // Leo starts from Aries again
    EXPECT_EQ(NavamsaSign(359.99), 12);            // Pisces ends in Pisces
}

TEST(Navamsa, EveryPartEdgeWrittenInMinutes) {
    // Part k starts at k × 200 arcminutes and has sign k mod 12 + 1.
    for (int k = 0; k < 108; ++k) {
        const int minutes = 200 * k;
        SCOPED_TRACE(k);
        EXPECT_EQ(NavamsaSign(Degrees(minutes / 60, minutes % 60)), k % 12 + 1);
        EXPECT_EQ(NavamsaSign(minutes / 60.0), k % 12 + 1);
        EXPECT_EQ(NavamsaSign((minutes + 199) / 60.0), k % 12 + 1);  // a minute before the next edge
    }
}

TEST(Navamsa, LongitudesOutsideOneCircleWrap) {
    EXPECT_EQ(NavamsaSign(360.0), 1);
    EXPECT_EQ(NavamsaSign(360.0 + 30.0), 10);
    EXPECT_EQ(NavamsaSign(720.0 + Degrees(3, 20)), 2);
    EXPECT_EQ(NavamsaSign(-0.5), 12);                       // 359°30'
    EXPECT_EQ(NavamsaSign(-30.0), 4);                       // 330°, Pisces starts from Cancer
    EXPECT_EQ(NavamsaSign(std::nextafter(360.0, 0.0)), 1);  // rounds onto 360°
    EXPECT_EQ(NavamsaSign(std::numeric_limits<double>::quiet_NaN()), 0);
}

TEST(Navamsa, TenBodies) {
    const std::array<double, 10> longitudes{0.0, 30.0, 60.0, 90.0, 120.0, 150.0, 180.0, 210.0, 240.0, 359.99};
    const std::array<int, 10> expected{1, 10, 7, 4, 1, 10, 7, 4, 1, 12};
    EXPECT_EQ(NavamsaSigns(longitudes), expected);
}
