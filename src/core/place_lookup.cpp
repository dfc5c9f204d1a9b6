#include "core/place_lookup.h"

namespace velmora::core {

namespace {

std::vector<PlaceMatch> ImportedMatches(Library* library, std::string_view query, std::size_t limit) {
    if (!library) return {};
    LibraryResult<std::vector<PlaceMatch>> found = SearchImportedPlaces(*library, query, limit);
    return found.Ok() ? std::move(found.Value) : std::vector<PlaceMatch>{};
}

}  // namespace

std::vector<PlaceMatch> SearchPlaces(Library* library, std::string_view query, std::size_t limit) {
    const std::vector<Place> atlas = Atlas::Instance().Search(query, limit);
    const std::vector<PlaceMatch> imported = ImportedMatches(library, query, limit);
    if (!imported.empty()) return MergePlaceMatches(query, atlas, imported, limit);
    // Nothing imported matches: the atlas's own order, as without a library.
    std::vector<PlaceMatch> matches;
    matches.reserve(atlas.size());
    for (const Place& place : atlas) matches.push_back({place, {}, 0});
    return matches;
}

std::optional<PlaceMatch> FindPlace(Library* library, std::string_view query) {
    // A few of each, so the exact names and the most populous places of
    // both sources meet in the merge's order.
    constexpr std::size_t kCandidates = 8;
    const std::vector<PlaceMatch> imported = ImportedMatches(library, query, kCandidates);
    if (imported.empty()) {
        std::optional<Place> place = Atlas::Instance().Find(query);
        if (!place) return std::nullopt;
        return PlaceMatch{std::move(*place), {}, 0};
    }
    std::vector<PlaceMatch> best = MergePlaceMatches(query, Atlas::Instance().Search(query, kCandidates), imported, 1);
    return std::move(best.front());
}

}  // namespace velmora::core
