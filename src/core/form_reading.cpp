#include "core/form_reading.h"

#include "core/place_clock.h"
#include "core/place_match.h"
#include "core/text_numbers.h"
#include "core/validation.h"
#include "core/zones.h"

namespace velmora::core {

BirthMoment MomentAt(const Birth& birth, const ClockReading& clock) {
    // An atlas place's clock at the birth, to the second: the offset shown
    // stays the rounded one, universal time follows the exact one.
    if (clock == birth.Clock && FollowsPlaceClock(birth))
        return MomentWithOffset(birth, clock, birth.PlaceClock->Zone.UtcOffsetSeconds);
    BirthMoment m;
    m.Clock = clock;
    const double localTime = clock.Hour + clock.Minute / 60.0;
    if (birth.ExactUtcOffsetMinutes) {
        const int offset = *birth.ExactUtcOffsetMinutes;
        m.UtcOffsetSeconds = offset * 60;
        m.UniversalTime = localTime + -offset / 60.0;
    } else {
        // The zone rows hold the amount to add to the clock to reach
        // universal time (west positive); daylight saving takes an hour off.
        const ZoneRow& row = ZoneTable()[static_cast<std::size_t>(birth.ZoneRow)];
        m.UniversalTime = localTime + row.OffsetHours + row.OffsetMinutes / 60.0;
        if (birth.DaylightSaving) m.UniversalTime -= 1;
        m.UtcOffsetSeconds = -(row.OffsetHours * 60 + row.OffsetMinutes - (birth.DaylightSaving ? 60 : 0)) * 60;
    }
    m.Latitude = birth.Latitude.Signed();
    m.Longitude = birth.Longitude.Signed();
    return m;
}

FormReading ReadForm(const FormInput& form, const EngineSettings& settings) {
    // The checks read every number once; the birth takes them as read.
    FormNumbers n;
    if (std::optional<Notice> refused = ValidateInput(form, n)) return std::move(*refused);

    Birth birth;
    birth.Clock = ClockReading{n.Year, form.MonthIndex + 1, n.Day, n.Hour, n.Minute};
    // A place from the atlas: the clock must have shown this time there.
    if (form.Place) {
        birth.PlaceClock = PlaceClockAt(*form.Place, birth.Clock);
        if (birth.PlaceClock->Refusal) return *birth.PlaceClock->Refusal;
        birth.PlaceMismatch = PlaceMismatchNote(form.City, form.Place);
        if (!birth.PlaceMismatch.empty()) birth.PlaceClock->Note += " " + birth.PlaceMismatch;
    }
    birth.Name = form.Name;
    birth.ZoneRow = form.ZoneRow;
    birth.DaylightSaving = form.DaylightSaving;
    birth.ExactUtcOffsetMinutes = form.ExactUtcOffsetMinutes;
    birth.Latitude = AngleEntry{n.LatitudeDegrees, n.LatitudeMinutes, form.South};
    birth.Longitude = AngleEntry{n.LongitudeDegrees, n.LongitudeMinutes, !form.East};
    birth.City = form.City;
    birth.State = form.State;
    birth.Country = form.Country;
    birth.Place = form.Place;
    birth.Settings = settings;
    birth.Moment = MomentAt(birth, birth.Clock);
    return birth;
}

}  // namespace velmora::core
