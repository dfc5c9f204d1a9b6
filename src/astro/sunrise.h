#pragma once

// Sunrise and sunset on a local clock date, from the Swiss Ephemeris.

#include <chrono>
#include <optional>
#include <string>

#include "astro/precise_engine.h"

namespace velmora::astro {

struct SunEventsQuery {
    std::chrono::year_month_day LocalDate{};  // the local clock date searched
    int ClockOffsetSeconds = 0;               // local clock = universal time + this (east positive)
    double Latitude = 0;                      // degrees, north positive
    double LongitudeEast = 0;                 // degrees, east positive
    std::string EphemerisPath = PreciseSettings{}.ephemerisPath;
};

struct SunEvents {
    bool Ok = false;
    std::string Error;
    // Julian days in universal time; none when the date has no such event
    // (polar day or night).
    std::optional<double> Sunrise;
    std::optional<double> Sunset;
};

// The first rising and the first setting of the Sun's upper limb, with the
// library's refraction, from 00:00 of the local date to the next 00:00 on the
// same clock: swe_rise_trans with SE_CALC_RISE or SE_CALC_SET and no other
// bits, the Swiss Ephemeris files, the place at 0 m, 1013.25 hPa and 15 °C.
// Refused outside the precise engine's range (PreciseRange), for a place
// beyond the poles or the date line, or without the data files. Safe to call
// from several threads: the library calls are serialised with the precise
// engine's.
SunEvents SunriseAndSunset(const SunEventsQuery& query);

// The universal-time Julian day of 00:00 on a local clock date.
double LocalMidnightJulianDay(std::chrono::year_month_day localDate, int clockOffsetSeconds);

}  // namespace velmora::astro
