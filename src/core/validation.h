#pragma once

#include <optional>
#include <string_view>

#include "core/form_input.h"
#include "core/messages.h"

namespace velmora::core {

// The years the date lists offer.
inline constexpr int kFirstYear = 1901;
inline constexpr int kLastYear = 2050;

// Refusals of entries the lists never offer, for callers other than the
// input window (the tool, birth files, batch rows).
inline constexpr std::string_view kBadTimeMessage = "Please Enter Correct Time Of Birth!";
inline constexpr std::string_view kBadZoneMessage = "Please Choose A Time Zone From The List!";

// The numbers of a form, as every reader takes them (EntryNumber of each
// text: the number the text starts with, to the nearest whole).
struct FormNumbers {
    int Year = 0, Day = 0, Hour = 0, Minute = 0;
    int LatitudeDegrees = 0, LatitudeMinutes = 0;
    int LongitudeDegrees = 0, LongitudeMinutes = 0;
};

// The checks that must pass before a form is analysed, in their order; the
// first failed check is returned, nothing when the form may be analysed.
std::optional<Notice> ValidateInput(const FormInput& form);
// The same, also giving the form's numbers when every check passes (the
// checks have read each of them already; the reading does not read again).
std::optional<Notice> ValidateInput(const FormInput& form, FormNumbers& numbers);

// The checks of the coordinate look-up: city, state and country must not be
// empty (blanks count as text).
std::optional<Notice> ValidateLookup(const FormInput& form);

// The search text of the coordinate look-up: the three texts exactly as
// typed, separated by blanks, followed by " Latitude Longitude".
std::string LookupSearchText(const FormInput& form);

// Leap years of the offered range (1901..2050): every fourth year.
bool IsLeapYearOfList(int year);

}  // namespace velmora::core
