#pragma once

#include <chrono>
#include <cstdint>

#include "model/birth_record.h"

namespace velmora::astro {

// The chosen zone's offset: the hours and minutes to add to local clock time
// to reach universal time. West of Greenwich is positive; the minutes carry
// the sign of the hours.
struct ZoneOffset {
    std::int16_t Hours = 0;
    std::int16_t Minutes = 0;
};

// Julian day number of a civil date (the Julian date at noon of that day);
// Julian calendar before the Gregorian reform, Gregorian after it.
double DayNumber(int month, int day, int year);

// Days from J2000.0 (12:00 UT on 1 January 2000) for a Gregorian date and a
// universal clock time; meaningful from March 1900 to February 2100.
double DayCount2000(int year, int month, int day, int hour, int minute);

// The quantities every engine step derives from the birth record.
struct BirthMoment {
    double LocalTime = 0;      // t, local clock hours
    double LongitudeWest = 0;  // degrees, west positive
    double Latitude = 0;       // degrees, north positive
    double UniversalTime = 0;  // hours, not wrapped into 0..24
    double JulianDay = 0;      // day number of the civil birth date
};

// Universal time is local clock time plus the signed zone offset, less one
// hour when daylight saving was in force, whatever side of Greenwich the
// place lies on.
double UniversalTimeOf(const BirthData& birth, const ZoneOffset& zone);

BirthMoment ConvertBirthTime(const BirthData& birth, const ZoneOffset& zone);

// Julian centuries from JD 2415020 and from JD 2451545.
double CenturiesFrom1900(const BirthMoment& moment);
double CenturiesFrom2000(const BirthMoment& moment);

// A civil date with a clock time to the minute.
struct CivilMinute {
    std::chrono::year_month_day Date{};
    int Hour = 0;
    int Minute = 0;
};

// The birth date and clock time carried to universal time with calendar carry
// (the route the planets take): the same moment as UniversalTimeOf.
CivilMinute UniversalCalendarTime(const BirthData& birth, const ZoneOffset& zone);

}  // namespace velmora::astro
