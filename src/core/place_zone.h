#pragma once

#include <optional>
#include <string>

#include "core/atlas.h"
#include "core/form_input.h"
#include "core/messages.h"
#include "core/zone_at_moment.h"
#include "model/moment.h"

namespace velmora::core {

// What choosing a place, or changing the date or time after choosing one,
// did to the form.
struct PlaceZoneOutcome {
    ZoneAtMoment Zone;  // the clock at the birth moment
    std::string Note;  // one line for the window, e.g. "Asia/Kolkata · UTC+05:30 on 27 September 1975 (no summer time)"
    std::optional<Notice> Refusal;  // a local time that never existed, or an unknown zone
};

// The pick a place gives the form.
PlacePick PickOf(const Place& place);

// Fills city, state and country, the coordinates (rounded to the nearest
// minute) and the zone and daylight-saving box for the date and time on the
// form, and remembers the pick.
PlaceZoneOutcome ApplyPlace(FormInput& form, const Place& place);

// Re-evaluates the zone of the remembered pick for the date and time now on
// the form: a zone row and the box when a row can express the offset, the
// exact offset otherwise. Without a pick nothing changes.
PlaceZoneOutcome ApplyPlaceZone(FormInput& form);

// The clock of a place at a local date and time.
PlaceZoneOutcome PlaceClockAt(const PlacePick& pick, const ClockReading& clock);

// The zone of the remembered pick at the form's date and time, without
// changing the form.
std::optional<PlaceZoneOutcome> PlaceZoneOf(const FormInput& form);

// The zone list's extra entry for an exact offset: "Asia/Kathmandu, UTC+05:45".
std::string ExactOffsetEntryText(const std::optional<PlacePick>& place, std::optional<int> exactUtcOffsetMinutes);

}  // namespace velmora::core
