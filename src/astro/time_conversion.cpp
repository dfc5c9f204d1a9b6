#include "astro/time_conversion.h"

#include <cmath>

namespace velmora::astro {

// The Julian day number of a civil date by whole-number arithmetic: months
// counted from March of year -4800, the Julian calendar's day count, then
// the Gregorian century correction for dates after the calendar reform
// (2299171 is what the Julian count gives 15 October 1582, the first
// Gregorian day). 2000 January 1 gives 2451545.
double DayNumber(int month, int day, int year) {
    const double a = 12.0 * (year + 4800) + month - 3;
    double j = std::floor((365 * a + 2 * (a - 12 * std::floor(a / 12)) + 7) / 12) + day + std::floor(a / 48) - 32083;
    if (j > 2299171) j += std::floor(a / 4800) - std::floor(a / 1200) + 38;
    return j;
}

// Days from J2000.0 (JD 2451545.0, 2000 January 1 at 12:00 UT): the day
// number of Paul Schlyter's "How to compute planetary positions"
// (367y - 7(y + (m+9)/12)/4 + 275m/9 + D - 730530, counted from 1999
// December 31 at 0h), moved by 1.5 days to that epoch. Good for Gregorian
// dates from March 1900 to February 2100.
double DayCount2000(int year, int month, int day, int hour, int minute) {
    const double y = year;
    const double m = month;
    return 367 * y - std::floor(7 * (y + std::floor((m + 9) / 12)) / 4) + std::floor(275 * m / 9) + day - 730531.5 +
           (hour + minute / 60.0) / 24;
}

double JulianDayOf(const BirthMoment& moment) {
    return DayNumber(moment.Clock.Month, moment.Clock.Day, moment.Clock.Year);
}

double CenturiesFrom1900(const BirthMoment& moment) {
    return (JulianDayOf(moment) - 2415020 + moment.UniversalTime / 24 - 0.5) / 36525;
}

double CenturiesFrom2000(const BirthMoment& moment) {
    return (JulianDayOf(moment) - 2451545 + moment.UniversalTime / 24 - 0.5) / 36525;
}

namespace {

using std::chrono::minutes;

std::chrono::sys_days DaysOf(const ClockReading& reading) {
    using namespace std::chrono;
    return sys_days{year{reading.Year} / month{static_cast<unsigned>(reading.Month)} /
                    day{static_cast<unsigned>(reading.Day)}};
}

minutes MinutesOf(const ClockReading& reading) {
    return DaysOf(reading).time_since_epoch() + std::chrono::hours{reading.Hour} + minutes{reading.Minute};
}

ClockReading ReadingOf(minutes at) {
    using namespace std::chrono;
    const auto dayStart = floor<days>(at);
    const auto timeOfDay = at - dayStart;
    const year_month_day date{sys_days{dayStart}};
    return ClockReading{static_cast<int>(date.year()), static_cast<int>(unsigned(date.month())),
                        static_cast<int>(unsigned(date.day())), static_cast<int>(timeOfDay.count() / 60),
                        static_cast<int>(timeOfDay.count() % 60)};
}

}  // namespace

ClockReading UniversalCalendarTime(const BirthMoment& moment) {
    // Whole minutes of the offset: the station tables and the planets'
    // day count work to the minute.
    return ReadingOf(MinutesOf(moment.Clock) - minutes{moment.UtcOffsetSeconds / 60});
}

ClockReading AddMinutes(const ClockReading& reading, int count) {
    return ReadingOf(MinutesOf(reading) + minutes{count});
}

UtMoment UtMomentOf(const ClockReading& universalTime) { return UtMoment{MinutesOf(universalTime)}; }

double JulianDayUtOf(const BirthMoment& moment) {
    // The day number is that of noon of the entered date; the universal time
    // counts from its midnight and may run past either end of the day.
    return JulianDayOf(moment) - 0.5 + moment.UniversalTime / 24;
}

UtMoment UtMomentOf(const BirthMoment& moment) {
    constexpr double kUnixEpochJulianDay = 2440587.5;
    return UtMoment(std::chrono::duration<double>((JulianDayUtOf(moment) - kUnixEpochJulianDay) * 86400.0));
}

ClockReading UniversalClockOf(UtMoment moment) {
    return ReadingOf(std::chrono::floor<minutes>(moment.time_since_epoch()));
}

BirthMoment UniversalMomentAt(const ClockReading& universalTime, double latitude, double longitude) {
    BirthMoment m;
    m.Clock = universalTime;
    m.UtcOffsetSeconds = 0;
    m.UniversalTime = universalTime.Hour + universalTime.Minute / 60.0;
    m.Latitude = latitude;
    m.Longitude = longitude;
    return m;
}

}  // namespace velmora::astro
