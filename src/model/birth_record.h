#pragma once

#include <cstdint>
#include <string>

namespace velmora {

// The single birth record of one analysis. The driver is its only writer.
// Degrees and minutes are stored as typed, as non-negative magnitudes; the
// hemispheres live in IsEast and IsSouth. ZoneHours and ZoneMinutes hold the
// magnitudes of the chosen zone's offset (the signed offset is kept in
// ZoneOffset, see astro/time_conversion.h).
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
};

}  // namespace velmora
