#pragma once

#include "model/birth_record.h"

namespace velmora {

// One birth as the engines see it: the civil date and clock time as entered,
// the universal time, and the place as signed angles.
struct BirthMoment {
    int Year = 2000;
    int Month = 1;  // 1 = January
    int Day = 1;
    int Hour = 0;  // local clock
    int Minute = 0;
    double UniversalTime = 0;  // hours: local clock time plus the offset, not wrapped into 0..24
    int OffsetMinutes = 0;     // whole minutes to add to local clock time to reach universal time
    double Latitude = 0;       // degrees, north positive
    double LongitudeWest = 0;  // degrees, west positive

    bool operator==(const BirthMoment&) const = default;
};

// The moment of a birth record: universal time is local clock time plus the
// signed zone offset, less one hour when daylight saving was in force,
// whatever side of Greenwich the place lies on. An exact offset, when the
// record has one, takes the place of the zone and the daylight-saving hour.
inline BirthMoment MomentOf(const BirthData& birth, const ZoneOffset& zone) {
    BirthMoment m;
    m.Year = birth.Year;
    m.Month = birth.Month;
    m.Day = birth.Day;
    m.Hour = birth.Hour;
    m.Minute = birth.Minute;
    const double localTime = birth.Hour + birth.Minute / 60.0;
    if (birth.ExactUtcOffsetMinutes) {
        m.OffsetMinutes = -*birth.ExactUtcOffsetMinutes;
        m.UniversalTime = localTime + m.OffsetMinutes / 60.0;
    } else {
        m.UniversalTime = localTime + zone.Hours + zone.Minutes / 60.0;
        if (birth.DaylightSaving) m.UniversalTime -= 1;
        m.OffsetMinutes = zone.Hours * 60 + zone.Minutes - (birth.DaylightSaving ? 60 : 0);
    }
    m.LongitudeWest = birth.LongitudeDegrees + birth.LongitudeMinutes / 60.0;
    if (birth.IsEast) m.LongitudeWest = -m.LongitudeWest;
    m.Latitude = birth.LatitudeDegrees + birth.LatitudeMinutes / 60.0;
    if (birth.IsSouth) m.Latitude = -m.Latitude;
    return m;
}

}  // namespace velmora
