#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/atlas.h"
#include "core/library.h"

namespace velmora::core {

// Places read from GeoNames' own dumps (cities500.txt, cities1000.txt,
// allCountries.txt: one place a line, tab-separated fields geonameid, name,
// asciiname, alternatenames (comma-separated), latitude, longitude, feature
// class, feature code, country code, cc2, admin1 code, admin2, admin3,
// admin4, population, elevation, dem, timezone, modification date) into the
// library file, for the places the built-in atlas lacks.
//
// Only populated places (feature class "P") are kept: births happen in
// towns, not on mountains or rivers. A place imported again replaces the
// earlier copy of the same geonameid.

struct PlaceImportOptions {
    // admin1CodesASCII.txt ("CC.A1", name, ascii name, geonameid): the
    // states' names. Without it a place's state is its admin1 code.
    std::filesystem::path Admin1Codes;
    // Gives the countries their names ("IN": "India"); without it, or for a
    // code it does not know, the country is the two-letter code.
    const Atlas* CountryNames = nullptr;
    // Called from time to time; returning false cancels: nothing is imported.
    std::function<bool(const ImportProgress&)> Progress;
};

struct PlaceImportSummary {
    LibraryStatus Status;  // not Ok: nothing was imported
    std::uint64_t Places = 0;
    std::uint64_t Skipped = 0;           // lines of other feature classes
    std::vector<ImportRefusal> Refused;  // lines that are not a place record
};

// Streams the dump line by line in one transaction with prepared
// statements: memory stays the same whatever the file's size (the admin1
// names, a few thousand, are held while it runs).
PlaceImportSummary ImportGeoNames(Library& library, const std::filesystem::path& dump,
                                  const PlaceImportOptions& options = {});

// An imported place found by a search, in the atlas's shape.
struct PlaceMatch {
    core::Place Place;
    std::string AlternateName;   // the other name the query matched ("Bombay"); empty for the place's own name
    std::int64_t GeonameId = 0;  // 0 for a place of the built-in atlas

    bool operator==(const PlaceMatch&) const = default;
};

// "Mumbai (Bombay)", or the name alone.
std::string PlaceMatchLabel(const PlaceMatch& match);

// The imported places a query matches, the atlas's query forms and order:
// "City[, State][, Country]" folded as the atlas folds; the city text
// starts the place's name or one of its alternate names; the qualifiers
// start a word of the state or country or equal its code; places whose
// matched name equals the city text first, then the most populous, then by
// name. A place is listed once, by its own name when that matches.
LibraryResult<std::vector<PlaceMatch>> SearchImportedPlaces(Library& library, std::string_view query,
                                                            std::size_t limit);

LibraryResult<std::uint64_t> ImportedPlaceCount(Library& library);

// The atlas's and the imported places for one query together, at most
// `limit`, in the order above. An imported place replaces an atlas place of
// the same folded name, state and country. The completer, --place and
// --places call it with Atlas::Search(query, limit) and
// SearchImportedPlaces(library, query, limit).
std::vector<PlaceMatch> MergePlaceMatches(std::string_view query, const std::vector<Place>& atlas,
                                          const std::vector<PlaceMatch>& imported, std::size_t limit);

}  // namespace velmora::core
