#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "core/place_import.h"

namespace velmora::core {

// The places a query finds in the built-in atlas and, when a library is
// given, among the places imported into it (MergePlaceMatches: an imported
// place wins over the atlas's of the same name, state and country; an
// alternate name finds its place). A library that cannot be read just now
// (busy, damaged) leaves the atlas's places alone.
std::vector<PlaceMatch> SearchPlaces(Library* library, std::string_view query, std::size_t limit);

// The best of them, or nothing.
std::optional<PlaceMatch> FindPlace(Library* library, std::string_view query);

}  // namespace velmora::core
