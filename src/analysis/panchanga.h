#pragma once

#include <array>
#include <chrono>
#include <optional>
#include <string>
#include <string_view>

#include "analysis/dasha.h"
#include "analysis/nakshatra.h"
#include "astro/sunrise.h"

namespace velmora::analysis {

// A numbered limb and its name.
struct NamedNumber {
    int Number = 0;
    std::string_view Name;
};

struct TithiInfo {
    int Number = 0;  // 1..30
    std::string_view Name;
    std::string_view Paksha;  // "Shukla" for 1..15, "Krishna" for 16..30
};

// The five limbs of the day at a moment, with the day's sunrise and sunset.
struct Panchanga {
    NamedNumber Vara;  // 1 Sunday (Ravivara) .. 7 Saturday (Shanivara)
    TithiInfo Tithi;
    NakshatraPada Nakshatra;  // the Moon's
    NamedNumber Yoga;         // 1..27
    NamedNumber Karana;       // 1..60

    // Universal-time moments, and the local clock time "HH:MM" (seconds
    // dropped) or empty; none when the date has no such event.
    std::optional<UtMoment> Sunrise;
    std::optional<UtMoment> Sunset;
    std::string SunriseText;
    std::string SunsetText;
    // Why sunrise and sunset are unknown (outside the ephemeris range, no
    // data files); empty when they were looked up.
    std::string SunEventsError;
};

inline constexpr std::array<std::string_view, 7> kVaraNames{"Ravivara", "Somavara",   "Mangalavara", "Budhavara",
                                                            "Guruvara", "Shukravara", "Shanivara"};

// The weekday of a civil date, 1 Sunday .. 7 Saturday.
int WeekdayNumber(std::chrono::year_month_day date);

// Tithi, karana, yoga and the Moon's nakshatra from the sidereal Sun and Moon
// (degrees, any value), and the vara as the weekday of the local date without
// regard to sunrise. With the elongation E = (Moon − Sun) mod 360: tithi =
// floor(E / 12) + 1, karana = floor(E / 6) + 1; yoga = floor(((Sun + Moon)
// mod 360) / 13°20') + 1. A value on an edge up to rounding noise (1e-9 of a
// limb) starts the next limb.
Panchanga PanchangaLimbs(double sunLongitude, double moonLongitude, std::chrono::year_month_day localDate);

// Adds the day's sunrise and sunset to the limbs and takes the previous
// weekday for a birth before sunrise; a date without a sunrise keeps its
// weekday, and so does a failed look-up (its reason in SunEventsError).
void AddSunEvents(Panchanga& panchanga, const astro::SunEvents& events, UtMoment birth, int clockOffsetSeconds);

// "HH:MM" on the local clock (universal time + offset), seconds dropped.
std::string LocalClockText(UtMoment moment, int clockOffsetSeconds);

// What a whole panchanga of a birth needs.
struct PanchangaInput {
    double SunLongitude = 0;   // sidereal, degrees
    double MoonLongitude = 0;  // sidereal, degrees
    std::chrono::year_month_day LocalDate{};
    int ClockOffsetSeconds = 0;  // local clock = universal time + this (east positive)
    double Latitude = 0;         // north positive
    double LongitudeEast = 0;    // east positive
    UtMoment Birth{};
    std::string EphemerisPath = astro::PreciseSettings{}.ephemerisPath;
};

// The limbs, sunrise and sunset (from the Swiss Ephemeris in every mode) and
// the vara of a birth.
Panchanga PanchangaOfBirth(const PanchangaInput& input);

}  // namespace velmora::analysis
