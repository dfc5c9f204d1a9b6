#pragma once

#include <chrono>
#include <cstdint>

#include "model/moment.h"

namespace velmora::astro {

// Julian day number of a civil date (the Julian date at noon of that day);
// Julian calendar before the Gregorian reform, Gregorian after it.
double DayNumber(int month, int day, int year);

// Days from J2000.0 (12:00 UT on 1 January 2000) for a Gregorian date and a
// universal clock time; meaningful from March 1900 to February 2100.
double DayCount2000(int year, int month, int day, int hour, int minute);

// Day number of the civil birth date as entered.
double JulianDayOf(const BirthMoment& moment);

// Julian centuries from JD 2415020 and from JD 2451545, from the day number
// of the entered date and the universal time.
double CenturiesFrom1900(const BirthMoment& moment);
double CenturiesFrom2000(const BirthMoment& moment);

// The birth date and clock time carried to universal time with calendar carry
// (the route the planets take): the same moment as the universal time, to
// the minute.
ClockReading UniversalCalendarTime(const BirthMoment& moment);

// The reading `minutes` later (earlier when negative), the date carried.
ClockReading AddMinutes(const ClockReading& reading, int minutes);

// The universal moment of a clock reading taken as universal time.
UtMoment UtMomentOf(const ClockReading& universalTime);

// The Julian day in universal time of a moment.
double JulianDayUtOf(const BirthMoment& moment);

// The universal moment of a birth moment.
UtMoment UtMomentOf(const BirthMoment& moment);

// The universal clock reading a moment falls in, to the minute (seconds
// dropped).
ClockReading UniversalClockOf(UtMoment moment);

// The moment of a universal clock reading at a place: offset zero, the clock
// reading universal time.
BirthMoment UniversalMomentAt(const ClockReading& universalTime, double latitude, double longitude);

}  // namespace velmora::astro
