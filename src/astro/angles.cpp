#include "astro/angles.h"

#include <cmath>

namespace velmora::astro {

double PolarAngle(double y, double x) {
    if (x > 0) return std::atan(y / x);
    if (x == 0) {
        if (y == 0) return 0.0;
        return (y > 0 ? 1.0 : -1.0) * kPi / 2;
    }
    const double a = kPi - std::atan(std::fabs(y / x));
    return y >= 0 ? a : -a;
}

double WrapDegrees(double& x) {
    if (x < 0) x += 360;
    if (x > 360) x -= 360;
    return x;
}

double ReduceRadians(double x) {
    const double q = x / kTwoPi;
    const double whole = std::trunc(q);
    double r = (q - whole) * kTwoPi;
    if (r < 0) r += kTwoPi;
    return r;
}

}  // namespace velmora::astro
