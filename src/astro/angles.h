#pragma once

namespace velmora::astro {

inline constexpr double kPi = 3.14159265358979;
inline constexpr double kTwoPi = 6.28318530717958;
inline constexpr double kDegToRad = 0.0174532925199433;
inline constexpr double kRadToDeg = 57.2957795130823;

// Two-argument arctangent in radians, in (-pi, pi].
double PolarAngle(double y, double x);

// Adds 360 once when x is negative, then subtracts 360 once when x exceeds
// 360. Exactly 360 stays 360. Updates x and returns it.
double WrapDegrees(double& x);

// Reduces an angle in radians to [0, 2pi) by truncating whole turns.
double ReduceRadians(double x);

}  // namespace velmora::astro
