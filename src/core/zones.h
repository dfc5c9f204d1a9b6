#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace velmora::core {

inline constexpr int kZoneCount = 71;
inline constexpr int kDefaultZoneRow = 29;  // "Greenwich Mean Time,GMT,0.0"

struct ZoneRow {
    std::string_view Text;  // shown in the list exactly as stored, never parsed
    std::int16_t OffsetHours;
    std::int16_t OffsetMinutes;
};

const std::array<ZoneRow, kZoneCount>& ZoneTable();

// A zone row's offset: the hours and minutes to add to local clock time to
// reach universal time. West of Greenwich is positive; the minutes carry the
// sign of the hours.
struct ZoneOffset {
    std::int16_t Hours = 0;
    std::int16_t Minutes = 0;

    bool operator==(const ZoneOffset&) const = default;
};

// The offset of a row of the zone list; zero for a row outside 0..70.
ZoneOffset ZoneOffsetOfRow(int row);

}  // namespace velmora::core
