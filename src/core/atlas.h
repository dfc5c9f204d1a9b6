#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::core {

// One populated place of the atlas.
struct Place {
    std::string Name;      // English name, as stored in the atlas
    std::string State;     // first-level division: state, province, region
    std::string Country;   // English country name
    std::string TimeZone;  // IANA zone id, e.g. "Asia/Kolkata"
    double Latitude = 0;   // decimal degrees, north positive
    double Longitude = 0;  // decimal degrees, east positive
    long Population = 0;
};

// The places of libgeonames (about 24,000 towns of 15,000 people or more),
// read once, on the first call of Instance(), never at program start.
//
// A query is "City", "City, State", "City, Country" or
// "City, State, Country". Texts are compared after folding: lower case,
// accents and other marks dropped, "ß" as "ss", hyphens as spaces, dots and
// apostrophes left out, runs of spaces as one. A place's name must start
// with the city text; a qualifier matches a state or country when it starts
// one of its words ("illinois", "ill", "west bengal"), and also the
// two-letter country code or the state code ("US", "IL"), and a few common
// country names the atlas spells otherwise ("USA", "UK").
//
// Order: places whose name equals the city text first, then the rest; within
// each, the most populous first; then by name.
class Atlas {
public:
    // The shared atlas, loaded on first use; safe to call from any thread.
    static const Atlas& Instance();

    // True once Instance() has read the shared atlas. The input window
    // reads it on the first keystroke in the city box, not at start-up.
    static bool IsLoaded();

    // Reads the whole atlas now. The program uses Instance(); a separate
    // instance is for measuring the load.
    Atlas();
    Atlas(const Atlas&) = delete;
    Atlas& operator=(const Atlas&) = delete;
    ~Atlas();

    // Completions for the text typed so far, at most `limit` of them.
    std::vector<Place> Search(std::string_view query, std::size_t limit) const;

    // The best match for a query, or nothing when no place matches.
    std::optional<Place> Find(std::string_view query) const;

    // The English name the atlas gives a two-letter country code ("IN":
    // "India", letter case ignored); empty when no place of the atlas lies
    // in that country.
    std::string CountryNameOf(std::string_view countryCode) const;

    // Every place, in the library's order.
    const std::vector<Place>& Places() const;
    std::size_t Size() const;

private:
    struct Data;
    std::unique_ptr<const Data> data_;
};

// The folded form the atlas compares: see the class comment.
std::string FoldForMatching(std::string_view text);

// A query as the atlas reads it: the folded city text and up to two folded
// qualifiers (state and/or country). Nothing for an empty city text or more
// than two qualifiers.
struct PlaceQueryParts {
    std::string City;
    std::vector<std::string> Qualifiers;
};
std::optional<PlaceQueryParts> ParsePlaceQuery(std::string_view query);

// Whether a place meets the qualifiers as the atlas decides it, from its
// folded state and country and its lower-case country and state codes.
bool MatchesPlaceQualifiers(const std::vector<std::string>& qualifiers, std::string foldedState,
                            std::string foldedCountry, std::string countryCode, std::string stateCode);

}  // namespace velmora::core
