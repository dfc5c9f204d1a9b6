#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

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
bool IsRetrograde(std::string_view planet, const ClockReading& moment);

inline constexpr std::array<std::string_view, 5> kRetrogradePlanets{"Mercury", "Venus", "Mars", "Jupiter", "Saturn"};

// Asks about Mercury to Saturn (in that order) for a calendar date.
std::array<bool, 5> RetrogradeFlagsOn(const ClockReading& moment);

}  // namespace velmora::astro
