#include "astro/ascendant.h"

#include <cmath>

#include "astro/angles.h"

namespace velmora::astro {

namespace {

// C = (17.23 sin(node) + 1.27 sin(2L) - p1 T - 1.11 T^2 - p0) / 3600, the
// coefficients in arcseconds, the angles in degrees.
double Correction(double node, double twiceSun, double t, double p0) {
    return (17.23 * std::sin(node * kDegToRad) + 1.27 * std::sin(twiceSun * kDegToRad) - 5025.64 * t - 1.11 * t * t -
            p0) /
           3600;
}

}  // namespace

double SiderealCorrectionAt(double t) {
    double node = (933060 - 6962911 * t + 7.5 * t * t) / 3600;
    while (node >= 360) node -= 360;
    const double twiceSun = (2013816 + 259205536 * t) / 3600;
    return Correction(node, twiceSun, t, 80861.27);
}

double MoonSiderealCorrectionAt(double t) {
    const double node = 125.044555 - 1934.1361849 * t + 0.0020762 * t * t;
    const double twiceSun = 2 * (280.466449 + 36000.7698231 * t + 0.0003106 * t * t);
    return Correction(node, twiceSun, t, 85886.27);
}

AscendantResult ComputeAscendant(const BirthMoment& moment) {
    const double t = CenturiesFrom1900(moment);
    AscendantResult result;
    result.SiderealCorrection = SiderealCorrectionAt(t);

    // Local sidereal time in degrees (east longitudes add). A negative value
    // (before 1900) is left as it is: only its trigonometric functions are used.
    double theta = 15 * (6.6460656 + 2400.0513 * t + 0.0000258 * t * t + moment.UniversalTime) + moment.Longitude;
    if (theta >= 360) theta = std::fmod(theta, 360);
    const double obliquity = 23.452294 - 0.0130125 * t;

    const double th = theta * kDegToRad;
    const double eps = obliquity * kDegToRad;
    const double phi = moment.Latitude * kDegToRad;
    const double y = std::cos(th);
    const double x = -std::sin(th) * std::cos(eps) - std::sin(eps) * std::tan(phi);
    double a = PolarAngle(y, x);
    if (a < 0) a += kPi;
    if (std::cos(th) < 0) a += kPi;

    double ascendant = a * kRadToDeg;
    while (ascendant >= 360) ascendant -= 360;
    ascendant += result.SiderealCorrection;
    WrapDegrees(ascendant);
    result.Longitude = ascendant;
    return result;
}

}  // namespace velmora::astro
