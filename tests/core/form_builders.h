#pragma once

#include <random>
#include <string>

#include "core/birth_file.h"
#include "core/form_input.h"
#include "core/form_reading.h"
#include "core/zones.h"
#include "support/sample_birth.h"

namespace velmora::testing {

// The form holding the texts of the shared sample (support/sample_birth.h).
inline core::FormInput FormOf(const FormTexts& texts) {
    core::FormInput f;
    f.Name = texts.Name;
    f.MonthIndex = texts.MonthIndex;
    f.Day = texts.Day;
    f.Year = texts.Year;
    f.Hour = texts.Hour;
    f.Minute = texts.Minute;
    f.Second = texts.Second;
    f.ZoneRow = texts.ZoneRow;
    f.DaylightSaving = texts.DaylightSaving;
    f.LatitudeDegrees = texts.LatitudeDegrees;
    f.LatitudeMinutes = texts.LatitudeMinutes;
    f.South = texts.South;
    f.LongitudeDegrees = texts.LongitudeDegrees;
    f.LongitudeMinutes = texts.LongitudeMinutes;
    f.East = texts.East;
    f.City = texts.City;
    f.State = texts.State;
    f.Country = texts.Country;
    return f;
}

// The form as typed for the sample birth in New Delhi on 5 January 1980 at
// 09:05 Indian time (DelhiBirth). Tests change what they need.
inline core::FormInput DelhiForm() { return FormOf(DelhiBirth()); }
inline core::FormInput DelhiForm(std::string name) { return FormOf(DelhiBirth(std::move(name))); }

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
