#include "astro/time_conversion.h"

#include <cmath>

namespace velmora::astro {

double DayNumber(int month, int day, int year) {
    const double a = 12.0 * (year + 4800) + month - 3;
    double j = std::floor((365 * a + 2 * (a - 12 * std::floor(a / 12)) + 7) / 12) + day + std::floor(a / 48) - 32083;
    if (j > 2299171) j += std::floor(a / 4800) - std::floor(a / 1200) + 38;
    return j;
}

double DayCount2000(int year, int month, int day, int hour, int minute) {
    const double y = year;
    const double m = month;
    return 367 * y - std::floor(7 * (y + std::floor((m + 9) / 12)) / 4) + std::floor(275 * m / 9) + day - 730531.5 +
           (hour + minute / 60.0) / 24;
}

double JulianDayOf(const BirthMoment& moment) { return DayNumber(moment.Month, moment.Day, moment.Year); }

double CenturiesFrom1900(const BirthMoment& moment) {
    return (JulianDayOf(moment) - 2415020 + moment.UniversalTime / 24 - 0.5) / 36525;
}

double CenturiesFrom2000(const BirthMoment& moment) {
    return (JulianDayOf(moment) - 2451545 + moment.UniversalTime / 24 - 0.5) / 36525;
}

CivilMinute LocalCalendarTime(const BirthMoment& moment) {
    CivilMinute local;
    local.Date = std::chrono::year{moment.Year} / std::chrono::month{static_cast<unsigned>(moment.Month)} /
                 std::chrono::day{static_cast<unsigned>(moment.Day)};
    local.Hour = moment.Hour;
    local.Minute = moment.Minute;
    return local;
}

CivilMinute UniversalCalendarTime(const BirthMoment& moment) {
    using namespace std::chrono;
    const year_month_day date{year{moment.Year}, month{static_cast<unsigned>(moment.Month)},
                              day{static_cast<unsigned>(moment.Day)}};
    minutes at = sys_days{date}.time_since_epoch() + hours{moment.Hour} + minutes{moment.Minute};
    at += minutes{moment.OffsetMinutes};
    const auto dayStart = floor<days>(at);
    const auto timeOfDay = at - dayStart;
    CivilMinute result;
    result.Date = year_month_day{sys_days{dayStart}};
    result.Hour = static_cast<int>(timeOfDay.count() / 60);
    result.Minute = static_cast<int>(timeOfDay.count() % 60);
    return result;
}

}  // namespace velmora::astro
