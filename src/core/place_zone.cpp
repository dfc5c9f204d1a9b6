#include "core/place_zone.h"

#include <cmath>

#include "core/text_formats.h"
#include "core/text_numbers.h"

namespace velmora::core {

namespace {

// Degrees and minutes of an angle's magnitude, rounded to the nearest minute.
void ToDegreesMinutes(double angle, std::string& degrees, std::string& minutes) {
    long total = std::lround(std::fabs(angle) * 60);
    degrees = std::to_string(total / 60);
    minutes = std::to_string(total % 60);
}

// The date and time on the form as the lists hold them, while it is being
// filled in (the checks come later).
ClockReading ClockOnForm(const FormInput& form) {
    return ClockReading{EntryNumber(form.Year), form.MonthIndex + 1, EntryNumber(form.Day), EntryNumber(form.Hour),
                        EntryNumber(form.Minute)};
}

}  // namespace

PlaceZoneOutcome PlaceClockAt(const PlacePick& pick, const ClockReading& clock) {
    PlaceZoneOutcome outcome;
    const int year = clock.Year;
    const int month = clock.Month;
    const int day = clock.Day;
    outcome.Zone = ZoneAt(pick.TimeZone, year, month, day, clock.Hour, clock.Minute);
    switch (outcome.Zone.Status) {
        case LocalTimeStatus::Skipped:
        case LocalTimeStatus::UnknownZone:
        case LocalTimeStatus::InvalidDate:
            outcome.Refusal = Notice{outcome.Zone.Note, MessageIcon::Information, FormField::None};
            outcome.Note = outcome.Zone.Note;
            return outcome;
        case LocalTimeStatus::Repeated:
        case LocalTimeStatus::Ok:
            break;
    }
    outcome.Note = ZoneNote(pick.TimeZone, outcome.Zone.UtcOffsetMinutes, outcome.Zone.SummerTime, year, month, day);
    if (outcome.Zone.Status == LocalTimeStatus::Repeated) outcome.Note += " " + outcome.Zone.Note;
    return outcome;
}

PlacePick PickOf(const Place& place) {
    return PlacePick{place.Name, place.State, place.Country, place.TimeZone, place.Latitude, place.Longitude};
}

PlaceZoneOutcome ApplyPlace(FormInput& form, const Place& place) {
    form.Place = PickOf(place);
    form.City = place.Name;
    form.State = place.State;
    form.Country = place.Country;
    ToDegreesMinutes(place.Latitude, form.LatitudeDegrees, form.LatitudeMinutes);
    form.South = place.Latitude < 0;
    ToDegreesMinutes(place.Longitude, form.LongitudeDegrees, form.LongitudeMinutes);
    form.East = place.Longitude >= 0;
    return ApplyPlaceZone(form);
}

PlaceZoneOutcome ApplyPlaceZone(FormInput& form) {
    if (!form.Place) return {};
    PlaceZoneOutcome outcome = PlaceClockAt(*form.Place, ClockOnForm(form));
    if (outcome.Refusal) return outcome;
    const std::optional<ZoneChoice> choice =
        ZoneChoiceFor(outcome.Zone.UtcOffsetMinutes, outcome.Zone.SummerTime, form.Place->TimeZone);
    if (choice) {
        form.ZoneRow = choice->Row;
        form.DaylightSaving = choice->DaylightSaving;
        form.ExactUtcOffsetMinutes.reset();
    } else {
        form.DaylightSaving = false;
        form.ExactUtcOffsetMinutes = outcome.Zone.UtcOffsetMinutes;
    }
    return outcome;
}

std::optional<PlaceZoneOutcome> PlaceZoneOf(const FormInput& form) {
    if (!form.Place) return std::nullopt;
    return PlaceClockAt(*form.Place, ClockOnForm(form));
}

std::string ExactOffsetEntryText(const std::optional<PlacePick>& place, std::optional<int> exactUtcOffsetMinutes) {
    if (!exactUtcOffsetMinutes) return {};
    std::string text = place ? place->TimeZone + ", " : std::string();
    return text + "UTC" + OffsetText(*exactUtcOffsetMinutes);
}

}  // namespace velmora::core
