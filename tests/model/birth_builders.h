#pragma once

#include <cstdint>
#include <optional>

#include "core/birth.h"
#include "core/zones.h"
#include "model/moment.h"

namespace velmora::testing {

// The entries of a birth as the engine tests write them: the civil date and
// clock time, the coordinates as magnitudes with their sides, the zone row's
// offset (core::ZoneOffset, west positive) or an exact offset.
struct BirthData {
    int Year = 2000;
    int Month = 1;
    int Day = 1;
    int Hour = 0;
    int Minute = 0;
    int LongitudeDegrees = 0;
    int LongitudeMinutes = 0;
    int LatitudeDegrees = 0;
    int LatitudeMinutes = 0;
    bool IsEast = false;
    bool IsSouth = false;
    bool DaylightSaving = false;
    std::optional<int> ExactUtcOffsetMinutes;  // east positive
};

// A birth at Greenwich (longitude 0, latitude 0) on the given date and
// universal clock time; tests change the rest as they need.
inline BirthData BirthAt(int year, int month, int day, int hour, int minute) {
    BirthData b;
    b.Year = year;
    b.Month = month;
    b.Day = day;
    b.Hour = hour;
    b.Minute = minute;
    return b;
}

// The moment the program builds for these entries with a zone of this
// offset: the row of the zone list that has it, or an exact offset.
inline BirthMoment MomentOf(const BirthData& entries, const core::ZoneOffset& zone = {}) {
    core::Birth birth;
    birth.Clock = {entries.Year, entries.Month, entries.Day, entries.Hour, entries.Minute};
    birth.DaylightSaving = entries.DaylightSaving;
    birth.Latitude = {entries.LatitudeDegrees, entries.LatitudeMinutes, entries.IsSouth};
    birth.Longitude = {entries.LongitudeDegrees, entries.LongitudeMinutes, !entries.IsEast};
    birth.ExactUtcOffsetMinutes = entries.ExactUtcOffsetMinutes;
    if (!birth.ExactUtcOffsetMinutes) {
        birth.ZoneRow = -1;
        for (int row = 0; row < core::kZoneCount; ++row)
            if (core::ZoneOffsetOfRow(row) == zone) birth.ZoneRow = row;
        // An offset no row has: written as the exact offset it stands for.
        if (birth.ZoneRow < 0) {
            birth.ExactUtcOffsetMinutes = -(zone.Hours * 60 + zone.Minutes);
            if (birth.DaylightSaving) *birth.ExactUtcOffsetMinutes += 60;
        }
    }
    return core::MomentAt(birth, birth.Clock);
}

}  // namespace velmora::testing
