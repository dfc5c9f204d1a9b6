#pragma once

#include "astro/time_conversion.h"

namespace velmora::astro {

// The sidereal correction (the ayanamsa with its sign reversed), in degrees,
// for T in Julian centuries from JD 2415020. Used for the ascendant, the Sun,
// the planets and the nodes.
double SiderealCorrectionAt(double centuriesFrom1900);

// The same family on the J2000 epoch, used for the Moon.
double MoonSiderealCorrectionAt(double centuriesFrom2000);

struct AscendantResult {
    double SiderealCorrection = 0;  // degrees, negative
    double Longitude = 0;           // sidereal, degrees
};

// The sidereal correction of the moment and the sidereal ascendant.
AscendantResult ComputeAscendant(const BirthMoment& moment);

}  // namespace velmora::astro
