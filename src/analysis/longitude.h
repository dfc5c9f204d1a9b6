#pragma once

#include <cmath>

namespace velmora::analysis {

// A longitude in degrees carried into [0, 360): whole turns removed (by a
// remainder only when needed, as the engines' longitudes already lie
// within), a tiny negative value that would round up to 360 taken as 0, and
// NaN or infinity as 0.
inline double WithinOneCircle(double degrees) {
    if (degrees >= 0 && degrees < 360) return degrees;
    if (!std::isfinite(degrees)) return 0;
    double x = std::fmod(degrees, 360.0);
    if (x < 0) x += 360.0;
    if (x >= 360.0) x = 0;
    return x;
}

}  // namespace velmora::analysis
