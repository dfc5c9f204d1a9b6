#pragma once

#include "model/birth_record.h"
#include "astro/engine_state.h"
#include "astro/time_conversion.h"

namespace velmora::astro {

// Tropical geocentric longitude of the Moon in degrees, [0, 360], for T in
// Julian centuries from JD 2451545: the mean longitude plus 25 periodic terms.
double MoonTropicalLongitude(double centuriesFrom2000);

// Second engine step: the Moon's sidereal longitude and arc text.
void ComputeMoon(const BirthData& birth, const ZoneOffset& zone, EngineState& state);

}  // namespace velmora::astro
