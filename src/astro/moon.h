#pragma once

#include "astro/time_conversion.h"

namespace velmora::astro {

// Tropical geocentric longitude of the Moon in degrees, [0, 360], for T in
// Julian centuries from JD 2451545: the mean longitude plus 25 periodic terms.
double MoonTropicalLongitude(double centuriesFrom2000);

// The Moon's sidereal longitude at the moment.
double ComputeMoon(const BirthMoment& moment);

}  // namespace velmora::astro
