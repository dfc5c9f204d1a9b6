#pragma once

#include <chrono>
#include <cstdint>

#include "model/birth_moment.h"

namespace velmora::astro {

using velmora::BirthMoment;
using velmora::ZoneOffset;

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

// A civil date with a clock time to the minute.
struct CivilMinute {
    std::chrono::year_month_day Date{};
    int Hour = 0;
    int Minute = 0;
};

// The birth date and clock time carried to universal time with calendar carry
// (the route the planets take): the same moment as the universal time.
CivilMinute UniversalCalendarTime(const BirthMoment& moment);

// The date and clock time as entered, without any zone correction.
CivilMinute LocalCalendarTime(const BirthMoment& moment);

}  // namespace velmora::astro
