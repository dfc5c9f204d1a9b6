#include "astro/ascendant.h"

#include <cmath>

#include "astro/angles.h"

namespace velmora::astro {

namespace {

// C = (17.23 sin(node) + 1.27 sin(2L) - p1 T - 1.11 T^2 - p0) / 3600, the
// coefficients in arcseconds, the angles in degrees. The periodic part is
// the two largest terms of the nutation in longitude, -17.2327" sin(node)
// - 1.2729" sin(2L) in Woolard's theory (Explanatory Supplement to the
// Astronomical Ephemeris, 1961), rounded; p1 = 5025.64" per century and
// 1.11" are Newcomb's general precession from 1900 (50.2564" a year); p0
// sets the ayanamsa at the epoch.
double Correction(double node, double twiceSun, double t, double p0) {
    return (17.23 * std::sin(node * kDegToRad) + 1.27 * std::sin(twiceSun * kDegToRad) - 5025.64 * t - 1.11 * t * t -
            p0) /
           3600;
}

}  // namespace

// Centuries from 1900 (JD 2415020.0). The node is Brown's mean node,
// 259 deg 10' 59.79" - 6962911.23" T + 7.48" T^2 (933060" is 259.18
// degrees; the rate is five turns and 134 deg 8' 31.23" a century), and 2L
// twice Newcomb's mean longitude of the Sun, 279 deg 41' 48.04" +
// 129602768.13" T, both as the 1961 Explanatory Supplement gives them, in
// whole arcseconds.
double SiderealCorrectionAt(double t) {
    double node = (933060 - 6962911 * t + 7.5 * t * t) / 3600;
    while (node >= 360) node -= 360;
    const double twiceSun = (2013816 + 259205536 * t) / 3600;
    return Correction(node, twiceSun, t, 80861.27);
}

// Centuries from J2000. The node is the Moon's mean ascending node of Meeus
// (1st ed.), chapter 45 (125.0445550 - 1934.1361849 T + 0.0020762 T^2); L
// is the Sun's mean longitude of the same epoch, within a few millionths of
// a degree of Meeus (2nd ed.), eq. 25.2 (280.46646 + 36000.76983 T +
// 0.0003032 T^2).
double MoonSiderealCorrectionAt(double t) {
    const double node = 125.044555 - 1934.1361849 * t + 0.0020762 * t * t;
    const double twiceSun = 2 * (280.466449 + 36000.7698231 * t + 0.0003106 * t * t);
    return Correction(node, twiceSun, t, 85886.27);
}

AscendantResult ComputeAscendant(const BirthMoment& moment) {
    const double t = CenturiesFrom1900(moment);
    AscendantResult result;
    result.SiderealCorrection = SiderealCorrectionAt(t);

    // Local sidereal time in degrees (east longitudes add): Newcomb's mean
    // sidereal time at 0h UT, 6h 38m 45.836s + 8640184.542s T + 0.0929s T^2
    // (6.6460656 h + 2400.0513 h T + 0.0000258 h T^2), plus the universal
    // time taken as sidereal hours (the factor 1.0027379 is left out, as the
    // charts have always had it). A negative value
    // (before 1900) is left as it is: only its trigonometric functions are used.
    double theta = 15 * (6.6460656 + 2400.0513 * t + 0.0000258 * t * t + moment.UniversalTime) + moment.Longitude;
    if (theta >= 360) theta = RemainderOfTurns(theta);
    // Newcomb's mean obliquity, 23 deg 27' 8.26" - 46.845" T.
    const double obliquity = 23.452294 - 0.0130125 * t;

    const double th = theta * kDegToRad;
    const double eps = obliquity * kDegToRad;
    const double phi = moment.Latitude * kDegToRad;
    // The ecliptic's rising point: tan(asc) = -cos(theta) / (sin(eps) tan(phi)
    // + cos(eps) sin(theta)), as in Meeus (2nd ed.), chapter 14, with the
    // quadrant chosen by the sign of cos(theta).
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
