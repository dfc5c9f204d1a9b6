#pragma once

#include <chrono>
#include <compare>

namespace velmora {

// A clock reading to the minute on the civil calendar, with no zone attached:
// the local clock of a birth, or a universal clock reading.
struct ClockReading {
    int Year = 2000;
    int Month = 1;  // 1 = January
    int Day = 1;
    int Hour = 0;
    int Minute = 0;

    auto operator<=>(const ClockReading&) const = default;
};

// A moment in universal time: seconds since 1970-01-01 00:00 UT, with a
// fraction. Leap seconds are ignored, as std::chrono::sys_time does.
using UtMoment = std::chrono::sys_time<std::chrono::duration<double>>;

// One moment at one place, as the engines and the toolkit see it: the civil
// clock reading it came from, the clock's offset from universal time, and
// the universal time itself, counted in hours from 00:00 of the clock's date
// (so it may run below 0 or past 24 when the offset carries it to another
// day). Latitude north positive, longitude east positive.
struct BirthMoment {
    ClockReading Clock;
    int UtcOffsetSeconds = 0;  // east positive: the clock shows universal time plus this
    double UniversalTime = 0;  // hours from 00:00 of Clock's date
    double Latitude = 0;
    double Longitude = 0;

    bool operator==(const BirthMoment&) const = default;
};

}  // namespace velmora
