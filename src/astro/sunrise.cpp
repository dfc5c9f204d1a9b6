#include "astro/sunrise.h"

#include <swephexp.h>

#include <cmath>

#include "astro/swiss_library.h"

namespace velmora::astro {

namespace {

constexpr double kUnixEpochJulianDay = 2440587.5;
constexpr double kPressure = 1013.25;  // hPa
constexpr double kTemperature = 15;    // °C

}  // namespace

double LocalMidnightJulianDay(std::chrono::year_month_day localDate, int clockOffsetSeconds) {
    const double days = static_cast<double>(std::chrono::sys_days(localDate).time_since_epoch().count());
    return kUnixEpochJulianDay + days - clockOffsetSeconds / 86400.0;
}

SunEvents SunriseAndSunset(const SunEventsQuery& query) {
    SunEvents events;
    if (!query.LocalDate.ok()) {
        events.Error = "The date does not exist.";
        return events;
    }
    const double start = LocalMidnightJulianDay(query.LocalDate, query.ClockOffsetSeconds);
    const double end = start + 1;
    const auto [first, last] = PreciseRange();
    if (start < first || end >= last) {
        events.Error = "Sunrise and sunset are known from 1800-01-02 to 2399-12-31 only.";
        return events;
    }
    if (!std::isfinite(query.Latitude) || query.Latitude < -90 || query.Latitude > 90 ||
        !std::isfinite(query.LongitudeEast) || query.LongitudeEast < -180 || query.LongitudeEast > 180) {
        events.Error = "The place lies outside the globe's latitudes or longitudes.";
        return events;
    }

    SwissLibraryUse library(query.EphemerisPath);
    // Without its files the library would quietly use its own series.
    double xx[6] = {};
    events.Error = library.Calculate(start, SE_SUN, SEFLG_SWIEPH, xx);
    if (!events.Error.empty()) return events;

    char serr[AS_MAXCH] = {};
    double place[3] = {query.LongitudeEast, query.Latitude, 0};
    for (const int32 which : {SE_CALC_RISE, SE_CALC_SET}) {
        double found[10] = {};
        serr[0] = '\0';
        const int32 result =
            swe_rise_trans(start, SE_SUN, nullptr, SEFLG_SWIEPH, which, place, kPressure, kTemperature, found, serr);
        if (result == -1) {
            events.Error = std::string("The Swiss Ephemeris failed: ") + serr;
            return events;
        }
        // -2: the Sun stays above or below the horizon.
        if (result != 0 || found[0] >= end) continue;
        (which == SE_CALC_RISE ? events.Sunrise : events.Sunset) = found[0];
    }
    events.Ok = true;
    return events;
}

}  // namespace velmora::astro
