#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "model/birth_record.h"
#include "astro/time_conversion.h"

namespace velmora::astro {

// One station moment of the built-in tables, to the minute (universal time).
struct StationMoment {
    std::int16_t Year;
    std::int8_t Month;
    std::int8_t Day;
    std::int8_t Hour;
    std::int8_t Minute;
};

// One retrograde period: the station where the planet turns retrograde and
// the station where it turns direct again.
struct RetrogradePeriod {
    StationMoment Retrograde;
    StationMoment Direct;
};

// The names that have a built-in station table, and the tables themselves in
// the same order (generated data, retrograde_tables.cpp; rebuild it with
// tools/stations/generate.sh).
inline constexpr std::array<std::string_view, 8> kStationPlanets{"Mercury", "Venus",  "Mars",    "Jupiter",
                                                                 "Saturn",  "Uranus", "Neptune", "Pluto"};
extern const std::array<std::span<const RetrogradePeriod>, 8> kStationTables;

// The built-in periods of "Mercury", "Venus", "Mars", "Jupiter", "Saturn",
// "Uranus", "Neptune" or "Pluto" (names compared exactly), in chronological
// order; empty for any other name.
std::span<const RetrogradePeriod> RetrogradePeriods(std::string_view planet);

// True when the calendar date of `moment` lies strictly after the date of a
// retrograde station and strictly before the date of the matching direct
// station; the station days themselves count as direct.
bool IsRetrograde(std::string_view planet, const CivilMinute& moment);

inline constexpr std::array<std::string_view, 5> kRetrogradePlanets{"Mercury", "Venus", "Mars", "Jupiter", "Saturn"};
inline constexpr std::array<std::string_view, 10> kBodyBaseNames{"Sun",     "Moon",   "Mercury", "Venus", "Mars",
                                                                 "Jupiter", "Saturn", "Rahu",    "Ketu",  "Asc"};

struct RetrogradeMarks {
    std::array<bool, 5> RetrogradeFlags{};  // Mercury, Venus, Mars, Jupiter, Saturn
    std::array<std::string, 10> BodyDisplayNames{
        std::string(kBodyBaseNames[0]), std::string(kBodyBaseNames[1]), std::string(kBodyBaseNames[2]),
        std::string(kBodyBaseNames[3]), std::string(kBodyBaseNames[4]), std::string(kBodyBaseNames[5]),
        std::string(kBodyBaseNames[6]), std::string(kBodyBaseNames[7]), std::string(kBodyBaseNames[8]),
        std::string(kBodyBaseNames[9])};
};

// Asks about Mercury to Saturn for the birth date and clock time as entered
// (no zone correction) and rebuilds the display names from the base names, a
// retrograde planet's name followed by " (R) ".
void MarkRetrogrades(const BirthData& birth, RetrogradeMarks& marks);

}  // namespace velmora::astro
