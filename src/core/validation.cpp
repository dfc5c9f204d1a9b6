#include "core/validation.h"

#include <cmath>

#include "core/text_numbers.h"
#include "core/zones.h"

namespace velmora::core {

namespace {

// Degrees: the number the text starts with must lie within 0..bound.
bool DegreesFail(const std::string& text, double bound, int& read) {
    if (TrimBlanks(text).empty()) return true;
    const double value = LeadingNumber(text);
    if (value > bound || value < 0) return true;
    read = EntryNumberOf(value);
    return false;
}

// Minutes: the whole text must be a number within 0..59 (a whole text that
// is a number is also the number it starts with).
bool MinutesFail(const std::string& text, int& read) {
    if (TrimBlanks(text).empty()) return true;
    const std::optional<double> value = ParseNumber(text);
    if (!value || *value > 59 || *value < 0) return true;
    read = EntryNumberOf(*value);
    return false;
}

Notice Critical(const char* text, FormField focus) { return {text, MessageIcon::Critical, focus}; }

// A whole number within lo..hi, as a list entry reads; nothing otherwise.
std::optional<int> WholeNumberIn(const std::string& text, int lo, int hi) {
    const std::optional<double> value = ParseNumber(text);
    if (!value || *value != std::floor(*value) || *value < lo || *value > hi) return std::nullopt;
    return static_cast<int>(*value);
}

}  // namespace

bool IsLeapYearOfList(int year) { return year % 4 == 0; }

std::optional<Notice> ValidateInput(const FormInput& form) {
    FormNumbers unused;
    return ValidateInput(form, unused);
}

std::optional<Notice> ValidateInput(const FormInput& form, FormNumbers& numbers) {
    // Read into a copy, handed on only when every check has passed.
    FormNumbers n;
    if (TrimBlanks(form.Name).empty()) return Critical("Please Enter Name", FormField::Name);
    if (DegreesFail(form.LongitudeDegrees, 179, n.LongitudeDegrees))
        return Critical("Please Enter Value Between 0 And 179 in the Degree of Longitude", FormField::LongitudeDegrees);
    if (MinutesFail(form.LongitudeMinutes, n.LongitudeMinutes))
        return Critical("Please Enter Value Between 0 And 59 in the  Minute of Longitude", FormField::LongitudeMinutes);
    if (DegreesFail(form.LatitudeDegrees, 89, n.LatitudeDegrees))
        return Critical("Please Enter Value Between 0 And 89 in the Degree of Latitude", FormField::LatitudeDegrees);
    if (MinutesFail(form.LatitudeMinutes, n.LatitudeMinutes))
        return Critical("Please Enter Value Between 0 And 59 in the  Minute of Latitude", FormField::LatitudeMinutes);

    // The lists offer only valid entries; a caller that hands in anything
    // else is refused with the message of the field concerned.
    const auto badDate = [] {
        return Notice{"Please Enter Correct Date Or Month!", MessageIcon::Information, FormField::None};
    };
    if (form.MonthIndex < 0 || form.MonthIndex > 11) return badDate();
    const std::optional<int> year = WholeNumberIn(form.Year, kFirstYear, kLastYear);
    const std::optional<int> dayOfMonth = WholeNumberIn(form.Day, 1, 31);
    if (!year || !dayOfMonth) return badDate();

    const int day = *dayOfMonth;
    const int month = form.MonthIndex + 1;
    if (month == 2) {
        const bool leap = IsLeapYearOfList(*year);
        if (day >= (leap ? 30 : 29))
            return Notice{"Please Enter Correct Date Or Month!", MessageIcon::Information, FormField::None};
    }
    if ((month == 4 || month == 6 || month == 9 || month == 11) && day == 31)
        return Notice{"Please Enter Correct Date Or Month !", MessageIcon::Information, FormField::None};

    const std::optional<int> hour = WholeNumberIn(form.Hour, 0, 23);
    const std::optional<int> minute = WholeNumberIn(form.Minute, 0, 59);
    if (!hour || !minute) return Notice{std::string(kBadTimeMessage), MessageIcon::Information, FormField::None};
    if (form.ExactUtcOffsetMinutes) {
        if (*form.ExactUtcOffsetMinutes < -18 * 60 || *form.ExactUtcOffsetMinutes > 18 * 60)
            return Notice{std::string(kBadZoneMessage), MessageIcon::Information, FormField::None};
    } else if (form.ZoneRow < 0 || form.ZoneRow >= kZoneCount) {
        return Notice{std::string(kBadZoneMessage), MessageIcon::Information, FormField::None};
    }
    // Whole numbers, each the whole of its text: what EntryNumber reads too.
    n.Year = *year;
    n.Day = day;
    n.Hour = *hour;
    n.Minute = *minute;
    numbers = n;
    return std::nullopt;
}

std::optional<Notice> ValidateLookup(const FormInput& form) {
    if (form.City.empty()) return Notice{"Please Enter City", MessageIcon::Information, FormField::City};
    if (form.State.empty()) return Notice{"Please Enter State", MessageIcon::Information, FormField::State};
    if (form.Country.empty()) return Notice{"Please Enter Country", MessageIcon::Information, FormField::Country};
    return std::nullopt;
}

std::string LookupSearchText(const FormInput& form) {
    return form.City + " " + form.State + " " + form.Country + " Latitude Longitude";
}

}  // namespace velmora::core
