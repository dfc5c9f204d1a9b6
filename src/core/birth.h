#pragma once

#include <optional>
#include <string>

#include "core/engine_settings.h"
#include "core/form_input.h"
#include "core/place_zone.h"
#include "model/moment.h"

namespace velmora::core {

// An angle as the boxes hold it: whole degrees and minutes of its magnitude
// and its side (south, or west).
struct AngleEntry {
    int Degrees = 0;
    int Minutes = 0;
    bool Negative = false;

    // Signed decimal degrees: north and east positive.
    double Signed() const {
        const double magnitude = Degrees + Minutes / 60.0;
        return Negative ? -magnitude : magnitude;
    }

    bool operator==(const AngleEntry&) const = default;
};

// A form that passed every check, read once into typed values: everything
// an analysis, a birth file or a library entry needs, and the moment the
// engines are given, built from it once.
struct Birth {
    std::string Name;
    ClockReading Clock;  // the date and local clock time of birth
    // The zone list's row and the daylight-saving box. An exact offset, when
    // present, replaces both for the clock (the row is kept as entered).
    int ZoneRow = 0;
    bool DaylightSaving = false;
    std::optional<int> ExactUtcOffsetMinutes;  // east positive, e.g. +345
    AngleEntry Latitude;                       // Negative: south
    AngleEntry Longitude;                      // Negative: west
    std::string City;
    std::string State;
    std::string Country;
    std::optional<PlacePick> Place;              // the atlas place the entries came from
    std::optional<PlaceZoneOutcome> PlaceClock;  // that place's clock at the birth
    // When the city no longer names Place: core::PlaceMismatchNote, also
    // added to PlaceClock's note. Empty otherwise.
    std::string PlaceMismatch;
    EngineSettings Settings;
    BirthMoment Moment;

    bool IsExactOffset() const { return ExactUtcOffsetMinutes.has_value(); }
};

// The moment of a birth's place and clock rule at another local clock
// reading: the same zone row, daylight-saving box or exact offset, the same
// coordinates. The birth's own moment is MomentAt(birth, birth.Clock).
BirthMoment MomentAt(const Birth& birth, const ClockReading& clock);

}  // namespace velmora::core
