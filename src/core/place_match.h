#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/form_input.h"

namespace velmora::core {

// Whether the city entry still names the atlas place the coordinates and
// zone came from, compared as the atlas compares names (letter case,
// accents and blanks at the ends aside). True when there is no place.
bool CityNamesPlace(std::string_view city, const std::optional<PlacePick>& place);

// When it does not, the sentence that says so, for the place note of the
// window, the result and the reports: the pick is kept, so the coordinates
// and zone are still the chosen place's, e.g.
// "The coordinates and zone are still those of New Delhi, Delhi, India, not
// of “Mumb”; choose a place from the list to change them."
// Empty when the city names the place or there is none.
std::string PlaceMismatchNote(std::string_view city, const std::optional<PlacePick>& place);

}  // namespace velmora::core
