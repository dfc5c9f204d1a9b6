#pragma once

#include "core/birth.h"
#include "model/moment.h"

namespace velmora::core {

// The clock of a birth's atlas place, where it decides the birth's moments.

// The offset the entries give (zone row and daylight-saving box, or the
// exact offset), east positive, in minutes.
int EnteredUtcOffsetMinutes(const Birth& birth);

// Whether the birth's atlas place governs its clock: a place was picked and
// the entries still give that place's offset at the birth (an offset chosen
// by hand after the pick is the entered one, and it holds).
bool FollowsPlaceClock(const Birth& birth);

// The moment of a local clock reading at the birth's coordinates for a clock
// offset in seconds (east positive): universal time follows the offset to
// the second (Casablanca's local mean time until 1913 is -0:30:20).
BirthMoment MomentWithOffset(const Birth& birth, const ClockReading& clock, int utcOffsetSeconds);

}  // namespace velmora::core
