#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace velmora {

// The chosen zone's offset: the hours and minutes to add to local clock time
// to reach universal time. West of Greenwich is positive; the minutes carry
// the sign of the hours.
struct ZoneOffset {
    std::int16_t Hours = 0;
    std::int16_t Minutes = 0;

    bool operator==(const ZoneOffset&) const = default;
};

// The birth record of one analysis. Degrees and minutes are stored as typed,
// as non-negative magnitudes; the hemispheres live in IsEast and IsSouth.
// ZoneHours and ZoneMinutes hold the magnitudes of the chosen zone's offset
// (the signed offset travels beside the record as a ZoneOffset).
struct BirthData {
    std::string Name;
    std::int16_t Month = 0;  // 1 = January
    std::int16_t Day = 0;
    std::int16_t Year = 0;
    std::int16_t Hour = 0;
    std::int16_t Minute = 0;
    std::int16_t ZoneHours = 0;
    std::int16_t ZoneMinutes = 0;
    std::int16_t LongitudeDegrees = 0;
    std::int16_t LongitudeMinutes = 0;
    std::int16_t LatitudeDegrees = 0;
    std::int16_t LatitudeMinutes = 0;
    bool IsEast = false;
    bool IsSouth = false;
    bool DaylightSaving = false;
    // An exact offset of the clock from universal time in minutes, east of
    // Greenwich positive (+345 for UTC+05:45). When present it replaces the
    // zone row and the daylight-saving hour: universal time is local time
    // minus this offset.
    std::optional<int> ExactUtcOffsetMinutes;
};

}  // namespace velmora
