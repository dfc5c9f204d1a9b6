#pragma once

#include <optional>

#include "core/form_input.h"
#include "core/messages.h"

namespace velmora {

// The checks that must pass before a form is analysed, in their order; the
// first failed check is returned, nothing when the form may be analysed.
std::optional<Notice> ValidateInput(const FormInput& form);

// The checks of the coordinate look-up: city, state and country must not be
// empty (blanks count as text).
std::optional<Notice> ValidateLookup(const FormInput& form);

// The search text of the coordinate look-up: the three texts exactly as
// typed, separated by blanks, followed by " Latitude Longitude".
std::string LookupSearchText(const FormInput& form);

// Leap years of the offered range (1901..2050): every fourth year.
bool IsLeapYearOfList(int year);

}  // namespace velmora
