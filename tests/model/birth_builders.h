#pragma once

#include <cstdint>

#include "model/birth_record.h"

namespace velmora::testing {

// A birth at Greenwich (longitude 0, latitude 0) on the given date and
// universal clock time; tests change the rest as they need.
inline BirthData BirthAt(int year, int month, int day, int hour, int minute) {
    BirthData b;
    b.Year = static_cast<std::int16_t>(year);
    b.Month = static_cast<std::int16_t>(month);
    b.Day = static_cast<std::int16_t>(day);
    b.Hour = static_cast<std::int16_t>(hour);
    b.Minute = static_cast<std::int16_t>(minute);
    return b;
}

}  // namespace velmora::testing
