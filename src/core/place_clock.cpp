#include "core/place_clock.h"

#include "core/zones.h"

namespace velmora::core {

int EnteredUtcOffsetMinutes(const Birth& birth) {
    if (birth.ExactUtcOffsetMinutes) return *birth.ExactUtcOffsetMinutes;
    // The zone rows hold the amount to add to the clock to reach universal
    // time (west positive); daylight saving takes an hour off.
    const ZoneRow& row = ZoneTable()[static_cast<std::size_t>(birth.ZoneRow)];
    return -(row.OffsetHours * 60 + row.OffsetMinutes - (birth.DaylightSaving ? 60 : 0));
}

bool FollowsPlaceClock(const Birth& birth) {
    return birth.Place && birth.PlaceClock && !birth.PlaceClock->Refusal &&
           birth.PlaceClock->Zone.UtcOffsetMinutes == EnteredUtcOffsetMinutes(birth);
}

BirthMoment MomentWithOffset(const Birth& birth, const ClockReading& clock, int utcOffsetSeconds) {
    BirthMoment m;
    m.Clock = clock;
    m.UtcOffsetSeconds = utcOffsetSeconds;
    m.UniversalTime = clock.Hour + clock.Minute / 60.0 - utcOffsetSeconds / 3600.0;
    m.Latitude = birth.Latitude.Signed();
    m.Longitude = birth.Longitude.Signed();
    return m;
}

}  // namespace velmora::core
