#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "model/birth_record.h"

namespace velmora {

inline constexpr int kZoneCount = 71;
inline constexpr int kDefaultZoneRow = 29;  // "Greenwich Mean Time,GMT,0.0"

struct ZoneRow {
    std::string_view Text;  // shown in the list exactly as stored, never parsed
    std::int16_t OffsetHours;
    std::int16_t OffsetMinutes;
};

const std::array<ZoneRow, kZoneCount>& ZoneTable();

// Sets the zone offset from the selected row of the zone list; a row outside
// 0..70 leaves it unchanged.
void Zone_Calculation(int selectedRow, ZoneOffset& offset);

}  // namespace velmora
