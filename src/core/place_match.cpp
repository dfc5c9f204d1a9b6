#include "core/place_match.h"

#include "core/atlas.h"

namespace velmora::core {

namespace {

std::string_view Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

bool CityNamesPlace(std::string_view city, const std::optional<PlacePick>& place) {
    if (!place) return true;
    return FoldForMatching(Trimmed(city)) == FoldForMatching(Trimmed(place->Name));
}

std::string PlaceMismatchNote(std::string_view city, const std::optional<PlacePick>& place) {
    if (CityNamesPlace(city, place)) return {};
    std::string where = place->Name;
    for (const std::string* part : {&place->State, &place->Country})
        if (!part->empty()) where += ", " + *part;
    const std::string_view typed = Trimmed(city);
    std::string note = "The coordinates and zone are still those of " + where;
    if (!typed.empty()) note += ", not of \u201C" + std::string(typed) + "\u201D";
    return note + "; choose a place from the list to change them.";
}

}  // namespace velmora::core
