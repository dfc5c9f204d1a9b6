#include "astro/time_conversion.h"

#include <cmath>

namespace velmora::astro {

double DayNumber(int month, int day, int year) {
    const double a = 12.0 * (year + 4800) + month - 3;
    double j = std::floor((365 * a + 2 * (a - 12 * std::floor(a / 12)) + 7) / 12) + day +
               std::floor(a / 48) - 32083;
    if (j > 2299171) j += std::floor(a / 4800) - std::floor(a / 1200) + 38;
    return j;
}

double DayCount2000(int year, int month, int day, int hour, int minute) {
    const double y = year;
    const double m = month;
    return 367 * y - std::floor(7 * (y + std::floor((m + 9) / 12)) / 4) + std::floor(275 * m / 9) + day -
           730531.5 + (hour + minute / 60.0) / 24;
}

double UniversalTimeOf(const BirthData& birth, const ZoneOffset& zone) {
    const double localTime = birth.Hour + birth.Minute / 60.0;
    double ut = localTime + zone.Hours + zone.Minutes / 60.0;
    if (birth.DaylightSaving) ut -= 1;
    return ut;
}

BirthMoment ConvertBirthTime(const BirthData& birth, const ZoneOffset& zone) {
    BirthMoment m;
    m.LocalTime = birth.Hour + birth.Minute / 60.0;
    m.LongitudeWest = birth.LongitudeDegrees + birth.LongitudeMinutes / 60.0;
    if (birth.IsEast) m.LongitudeWest = -m.LongitudeWest;
    m.Latitude = birth.LatitudeDegrees + birth.LatitudeMinutes / 60.0;
    if (birth.IsSouth) m.Latitude = -m.Latitude;
    m.UniversalTime = UniversalTimeOf(birth, zone);
    m.JulianDay = DayNumber(birth.Month, birth.Day, birth.Year);
    return m;
}

double CenturiesFrom1900(const BirthMoment& moment) {
    return (moment.JulianDay - 2415020 + moment.UniversalTime / 24 - 0.5) / 36525;
}

double CenturiesFrom2000(const BirthMoment& moment) {
    return (moment.JulianDay - 2451545 + moment.UniversalTime / 24 - 0.5) / 36525;
}

CivilMinute UniversalCalendarTime(const BirthData& birth, const ZoneOffset& zone) {
    using namespace std::chrono;
    const year_month_day date{year{birth.Year}, month{static_cast<unsigned>(birth.Month)},
                              day{static_cast<unsigned>(birth.Day)}};
    minutes moment = sys_days{date}.time_since_epoch() + hours{birth.Hour} + minutes{birth.Minute};
    moment += hours{zone.Hours};
    moment += minutes{zone.Minutes};
    if (birth.DaylightSaving) moment -= hours{1};
    const auto dayStart = floor<days>(moment);
    const auto timeOfDay = moment - dayStart;
    CivilMinute result;
    result.Date = year_month_day{sys_days{dayStart}};
    result.Hour = static_cast<int>(timeOfDay.count() / 60);
    result.Minute = static_cast<int>(timeOfDay.count() % 60);
    return result;
}

}  // namespace velmora::astro
