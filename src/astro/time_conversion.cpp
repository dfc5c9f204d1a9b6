#include "astro/time_conversion.h"

#include <cmath>

namespace velmora::astro {

// The Julian day number of a civil date by whole-number arithmetic: months
// counted from March of year -4800, the Julian calendar's day count, then
// the Gregorian century correction for dates after the calendar reform
// (2299171 is what the Julian count gives 15 October 1582, the first
// Gregorian day, from which on it applies). 2000 January 1 gives 2451545.
//
// Whole numbers throughout, each quotient rounded down: every value is a
// whole number well inside a double's exact range, so this is to the bit
// what the same steps give in floating point with floor().
namespace {
constexpr long long FloorDivide(long long a, long long b) { return a / b - (a % b != 0 && (a < 0) != (b < 0)); }
}  // namespace

double DayNumber(int month, int day, int year) {
    const long long a = 12LL * (year + 4800LL) + month - 3;
    long long j = FloorDivide(365 * a + 2 * (a - 12 * FloorDivide(a, 12)) + 7, 12) + day + FloorDivide(a, 48) - 32083;
    if (j >= 2299171) j += FloorDivide(a, 4800) - FloorDivide(a, 1200) + 38;
    return static_cast<double>(j);
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
