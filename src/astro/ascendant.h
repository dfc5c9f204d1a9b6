#pragma once

#include "model/birth_record.h"
#include "astro/engine_state.h"
#include "astro/time_conversion.h"

namespace velmora::astro {

// The sidereal correction (the ayanamsa with its sign reversed), in degrees,
// for T in Julian centuries from JD 2415020. Used for the ascendant, the Sun,
// the planets and the nodes.
double SiderealCorrectionAt(double centuriesFrom1900);

// The same family on the J2000 epoch, used for the Moon.
double MoonSiderealCorrectionAt(double centuriesFrom2000);

// First engine step: the sidereal correction and the ascendant.
void ComputeAscendant(const BirthData& birth, const ZoneOffset& zone, EngineState& state);

}  // namespace velmora::astro
