#include "core/validation.h"

#include "core/text_numbers.h"

namespace velmora {

namespace {

// Degrees: the number the text starts with must lie within 0..bound.
bool DegreesFail(const std::string& text, double bound) {
    if (TrimBlanks(text).empty()) return true;
    const double value = LeadingNumber(text);
    return value > bound || value < 0;
}

// Minutes: the whole text must be a number within 0..59.
bool MinutesFail(const std::string& text) {
    if (TrimBlanks(text).empty()) return true;
    const std::optional<double> value = ParseNumber(text);
    return !value || *value > 59 || *value < 0;
}

Notice Critical(const char* text, FormField focus) { return {text, MessageIcon::Critical, focus}; }

}  // namespace

bool IsLeapYearOfList(int year) { return year % 4 == 0; }

std::optional<Notice> ValidateInput(const FormInput& form) {
    if (TrimBlanks(form.Name).empty()) return Critical("Please Enter Name", FormField::Name);
    if (DegreesFail(form.LongitudeDegrees, 179))
        return Critical("Please Enter Value Between 0 And 179 in the Degree of Longitude", FormField::LongitudeDegrees);
    if (MinutesFail(form.LongitudeMinutes))
        return Critical("Please Enter Value Between 0 And 59 in the  Minute of Longitude", FormField::LongitudeMinutes);
    if (DegreesFail(form.LatitudeDegrees, 89))
        return Critical("Please Enter Value Between 0 And 89 in the Degree of Latitude", FormField::LatitudeDegrees);
    if (MinutesFail(form.LatitudeMinutes))
        return Critical("Please Enter Value Between 0 And 59 in the  Minute of Latitude", FormField::LatitudeMinutes);

    const double day = LeadingNumber(form.Day);
    const int month = form.MonthIndex + 1;
    if (month == 2) {
        const bool leap = IsLeapYearOfList(static_cast<int>(LeadingNumber(form.Year)));
        if (day >= (leap ? 30 : 29))
            return Notice{"Please Enter Correct Date Or Month!", MessageIcon::Information, FormField::None};
    }
    if ((month == 4 || month == 6 || month == 9 || month == 11) && day == 31)
        return Notice{"Please Enter Correct Date Or Month !", MessageIcon::Information, FormField::None};
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

}  // namespace velmora
