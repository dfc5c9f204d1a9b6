// The place query of the atlas on arbitrary text: Search and Find must never
// crash, must keep to the limit, and must only give places that match the
// query the way the atlas promises (the name starts with the folded city
// text), best first.

#include <algorithm>
#include <cmath>
#include <string>

#include "core/atlas.h"
#include "fuzz_support.h"

namespace {

using namespace velmora;
using namespace velmora::core;

std::string FoldedCity(std::string_view query) { return FoldForMatching(query.substr(0, query.find(','))); }

void CheckPlace(const Place& place, const std::string& city) {
    VELMORA_FUZZ_CHECK(FoldForMatching(place.Name).starts_with(city));
    VELMORA_FUZZ_CHECK(std::isfinite(place.Latitude) && std::fabs(place.Latitude) <= 90);
    VELMORA_FUZZ_CHECK(std::isfinite(place.Longitude) && std::fabs(place.Longitude) <= 180);
    VELMORA_FUZZ_CHECK(!place.TimeZone.empty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view query = fuzz::TextOf(data, size);
    const Atlas& atlas = Atlas::Instance();

    // Folding leaves no blank at either end, and no double blank. On
    // well-formed UTF-8 it is idempotent (malformed bytes are kept as they
    // are, and dropping a dot between two of them can make them well-formed).
    const std::string folded = FoldForMatching(query);
    if (fuzz::IsValidUtf8(query)) VELMORA_FUZZ_CHECK(FoldForMatching(folded) == folded);
    VELMORA_FUZZ_CHECK(folded.empty() || (folded.front() != ' ' && folded.back() != ' '));
    VELMORA_FUZZ_CHECK(folded.find("  ") == std::string::npos);

    const std::size_t limit = size == 0 ? 0 : data[0] % 12;
    const std::vector<Place> found = atlas.Search(query, limit);
    VELMORA_FUZZ_CHECK(found.size() <= limit);
    const std::string city = FoldedCity(query);
    for (const Place& place : found) CheckPlace(place, city);
    // Places whose name is the city text exactly come first.
    bool exactRun = true;
    for (const Place& place : found) {
        const bool exact = FoldForMatching(place.Name) == city;
        VELMORA_FUZZ_CHECK(exactRun || !exact);
        exactRun = exactRun && exact;
    }

    const std::optional<Place> best = atlas.Find(query);
    const std::vector<Place> first = atlas.Search(query, 1);
    VELMORA_FUZZ_CHECK(best.has_value() == !first.empty());
    if (best) {
        CheckPlace(*best, city);
        VELMORA_FUZZ_CHECK(best->Name == first.front().Name && best->Population == first.front().Population);
        if (!found.empty()) VELMORA_FUZZ_CHECK(best->Name == found.front().Name);
    }
    return 0;
}
