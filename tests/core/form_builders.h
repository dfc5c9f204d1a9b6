#pragma once

#include <random>
#include <string>

#include "core/birth_file.h"
#include "core/form_input.h"
#include "core/form_reading.h"
#include "core/zones.h"

namespace velmora::testing {

// The form as typed for a birth in New Delhi on 5 January 1980 at 09:05
// Indian time (zone row 34): Jupiter is retrograde and several bodies have
// readings. Tests change what they need.
inline core::FormInput DelhiForm(std::string name = "ASHA") {
    core::FormInput f;
    f.Name = std::move(name);
    f.MonthIndex = 0;
    f.Day = "5";
    f.Year = "1980";
    f.Hour = "9";
    f.Minute = "5";
    f.ZoneRow = 34;
    f.LatitudeDegrees = "28";
    f.LatitudeMinutes = "36";
    f.LongitudeDegrees = "77";
    f.LongitudeMinutes = "12";
    f.City = "New Delhi";
    f.State = "Delhi";
    f.Country = "India";
    return f;
}

// A form as the lists and boxes could hold it, drawn at random: any date
// 1901-2050 (days 1-28), time, zone row and daylight saving, latitudes up to
// `maxLatitude` degrees either side, any longitude.
inline core::FormInput RandomForm(std::mt19937& random, int maxLatitude = 66) {
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    core::FormInput f;
    f.Name = "RANDOM BIRTH";
    f.MonthIndex = pick(0, 11);
    f.Day = std::to_string(pick(1, 28));
    f.Year = std::to_string(pick(1901, 2050));
    f.Hour = std::to_string(pick(0, 23));
    f.Minute = std::to_string(pick(0, 59));
    f.ZoneRow = pick(0, core::kZoneCount - 1);
    f.DaylightSaving = pick(0, 1) == 1;
    f.LatitudeDegrees = std::to_string(pick(0, maxLatitude));
    f.LatitudeMinutes = std::to_string(pick(0, 59));
    f.South = pick(0, 1) == 1;
    f.LongitudeDegrees = std::to_string(pick(0, 179));
    f.LongitudeMinutes = std::to_string(pick(0, 59));
    f.East = pick(0, 1) == 1;
    f.City = "City";
    f.State = "State";
    f.Country = "Country";
    return f;
}

// The birth file of a form the checks pass (empty when they refuse it).
inline std::string FileTextOf(const core::FormInput& form,
                              const std::optional<core::EngineSettings>& ephemeris = std::nullopt) {
    const core::FormReading reading = ReadForm(form);
    const core::Birth* birth = BirthOf(reading);
    return birth ? core::BirthFileText(*birth, ephemeris) : std::string();
}

}  // namespace velmora::testing
