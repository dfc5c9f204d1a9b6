#include "core/place_zone.h"

#include <cmath>
#include <cstdio>

#include "core/text_numbers.h"

namespace velmora {

namespace {

// Degrees and minutes of an angle's magnitude, rounded to the nearest minute.
void ToDegreesMinutes(double angle, std::string& degrees, std::string& minutes) {
    long total = std::lround(std::fabs(angle) * 60);
    degrees = std::to_string(total / 60);
    minutes = std::to_string(total % 60);
}

int ReadOr(const std::string& text, int fallback) {
    const std::optional<std::int16_t> value = ParseInt16(text);
    return value ? *value : fallback;
}

PlaceZoneOutcome Evaluate(const FormInput& form) {
    PlaceZoneOutcome outcome;
    const PlacePick& pick = *form.Place;
    const int year = ReadOr(form.Year, 1901);
    const int month = form.MonthIndex + 1;
    const int day = ReadOr(form.Day, 1);
    outcome.Zone = ZoneAt(pick.TimeZone, year, month, day, ReadOr(form.Hour, 0), ReadOr(form.Minute, 0));
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

}  // namespace

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
    PlaceZoneOutcome outcome = Evaluate(form);
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
    return Evaluate(form);
}

std::string OffsetText(int utcOffsetMinutes) {
    const int magnitude = utcOffsetMinutes < 0 ? -utcOffsetMinutes : utcOffsetMinutes;
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%c%02d:%02d", utcOffsetMinutes < 0 ? '-' : '+', magnitude / 60 % 100,
                  magnitude % 60);
    return buffer;
}

std::string ExactOffsetEntryText(const FormInput& form) {
    if (!form.ExactUtcOffsetMinutes) return {};
    std::string text = form.Place ? form.Place->TimeZone + ", " : std::string();
    return text + "UTC" + OffsetText(*form.ExactUtcOffsetMinutes);
}

std::optional<int> ParseUtcOffset(std::string_view text) {
    int sign = 1;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        sign = text.front() == '-' ? -1 : 1;
        text.remove_prefix(1);
    }
    // One or two digits of hours, a colon, two digits of minutes.
    const auto colon = text.find(':');
    if (colon == std::string_view::npos || colon == 0 || colon > 2 || text.size() != colon + 3) return std::nullopt;
    auto digits = [](std::string_view part, int& value) {
        value = 0;
        for (char c : part) {
            if (c < '0' || c > '9') return false;
            value = value * 10 + (c - '0');
        }
        return true;
    };
    int hours = 0;
    int minutes = 0;
    if (!digits(text.substr(0, colon), hours) || !digits(text.substr(colon + 1), minutes)) return std::nullopt;
    if (minutes > 59) return std::nullopt;
    const int total = sign * (hours * 60 + minutes);
    if (total < -18 * 60 || total > 18 * 60) return std::nullopt;
    return total;
}

}  // namespace velmora
