#pragma once

#include <cmath>

namespace velmora::astro {

inline constexpr double kPi = 3.14159265358979;
inline constexpr double kTwoPi = 6.28318530717958;
inline constexpr double kDegToRad = 0.0174532925199433;
inline constexpr double kRadToDeg = 57.2957795130823;

// Inline: the formulas call these dozens of times a chart.

// Two-argument arctangent in radians, in (-pi, pi].
inline double PolarAngle(double y, double x) {
    if (x > 0) return std::atan(y / x);
    if (x == 0) {
        if (y == 0) return 0.0;
        return (y > 0 ? 1.0 : -1.0) * kPi / 2;
    }
    const double a = kPi - std::atan(std::fabs(y / x));
    return y >= 0 ? a : -a;
}

// Adds 360 once when x is negative, then subtracts 360 once when x exceeds
// 360. Exactly 360 stays 360. Updates x and returns it.
inline double WrapDegrees(double& x) {
    if (x < 0) x += 360;
    if (x > 360) x -= 360;
    return x;
}

// std::fmod(x, 360) without the library's general loop: below 2^52 the
// whole turns n*360 are exact and so is x - n*360 (a multiple of x's last
// place, smaller than x), and a quotient rounded across a whole number is
// put right by one turn, so the result is fmod's to the bit, its sign
// included. Larger, infinite and NaN inputs go to fmod itself.
inline double RemainderOfTurns(double x) {
    const double a = std::fabs(x);
    if (!(a < 0x1p52)) return std::fmod(x, 360);
    if (a < 360) return x;
    const double turns = std::floor(a / 360);
    double r = a - turns * 360;
    if (r < 0) {
        r += 360;
    } else if (r >= 360) {
        r -= 360;
    }
    return std::copysign(r, x);
}

// Reduces an angle in radians to [0, 2pi) by truncating whole turns.
inline double ReduceRadians(double x) {
    const double q = x / kTwoPi;
    const double whole = std::trunc(q);
    double r = (q - whole) * kTwoPi;
    if (r < 0) r += kTwoPi;
    return r;
}

}  // namespace velmora::astro
