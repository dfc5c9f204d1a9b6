#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

#include "astro/angles.h"

using velmora::astro::RemainderOfTurns;

namespace {

// The same double, bit for bit (so -0 differs from +0, and NaN from NaN
// only by its bits).
std::uint64_t Bits(double x) { return std::bit_cast<std::uint64_t>(x); }

}  // namespace

TEST(RemainderOfTurns, IsTheLibrarysRemainderToTheBit) {
    std::mt19937_64 random(360);
    // Every magnitude from tiny to past the exact range, both signs.
    std::uniform_real_distribution<double> exponent(-30, 70);
    for (int k = 0; k < 200000; ++k) {
        const double x =
            std::ldexp(1.0 + static_cast<double>(random() % 1000003) / 1000003, static_cast<int>(exponent(random)));
        for (double value : {x, -x}) ASSERT_EQ(Bits(RemainderOfTurns(value)), Bits(std::fmod(value, 360))) << value;
    }
    // Whole turns and their neighbours, where a rounded quotient crosses a
    // whole number.
    for (double turns = 1; turns < 1e15; turns = turns * 3 + 1) {
        const double x = turns * 360;
        for (double value : {x, std::nextafter(x, 0.0), std::nextafter(x, 1e300), -x, std::nextafter(-x, 0.0)})
            ASSERT_EQ(Bits(RemainderOfTurns(value)), Bits(std::fmod(value, 360))) << value;
    }
    // Zeros keep their sign; what fmod alone can answer goes to it.
    EXPECT_EQ(Bits(RemainderOfTurns(-0.0)), Bits(-0.0));
    EXPECT_EQ(Bits(RemainderOfTurns(-720.0)), Bits(-0.0));
    EXPECT_TRUE(std::isnan(RemainderOfTurns(std::numeric_limits<double>::infinity())));
    EXPECT_TRUE(std::isnan(RemainderOfTurns(std::numeric_limits<double>::quiet_NaN())));
    EXPECT_EQ(RemainderOfTurns(0x1p60), std::fmod(0x1p60, 360));
}
