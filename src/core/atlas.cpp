#include "core/atlas.h"

#include <geonames.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <unordered_map>

namespace velmora::core {

namespace {

bool IsAsciiSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }

// Appends one folded ASCII character; a separator becomes a single space.
void AppendAscii(char c, std::string& out) {
    if (c >= 'A' && c <= 'Z') {
        out.push_back(static_cast<char>(c - 'A' + 'a'));
    } else if (IsAsciiSpace(c) || c == '-' || c == '_' || c == '/') {
        if (!out.empty() && out.back() != ' ') out.push_back(' ');
    } else if (c == '.' || c == '\'' || c == '`') {
        // "St. John's" and "St Johns" are the same place.
    } else {
        out.push_back(c);
    }
}

// Letters that are not a base letter plus marks, so that decomposing them
// leaves them as they are.
const char* SpelledOut(gunichar c) {
    switch (c) {
        case 0x00DF:
        case 0x1E9E:
            return "ss";  // ß ẞ
        case 0x00C6:
        case 0x00E6:
            return "ae";  // Æ æ
        case 0x0152:
        case 0x0153:
            return "oe";  // Œ œ
        case 0x00D8:
        case 0x00F8:
            return "o";  // Ø ø
        case 0x0141:
        case 0x0142:
            return "l";  // Ł ł
        case 0x0110:
        case 0x0111:
        case 0x00D0:
        case 0x00F0:
            return "d";  // Đ đ Ð ð
        case 0x00DE:
        case 0x00FE:
            return "th";  // Þ þ
        case 0x0126:
        case 0x0127:
            return "h";  // Ħ ħ
        case 0x0131:
            return "i";  // ı
        case 0x2018:
        case 0x2019:
        case 0x02BB:
        case 0x02BC:
            return "";  // quotes, ʻokina
        case 0x2010:
        case 0x2011:
        case 0x2013:
        case 0x2014:
            return " ";  // dashes
        default:
            return nullptr;
    }
}

void AppendFoldedUnicode(std::string_view text, std::string& out) {
    gchar* decomposed = g_utf8_normalize(text.data(), static_cast<gssize>(text.size()), G_NORMALIZE_NFKD);
    if (decomposed == nullptr) {  // not UTF-8: fold what is ASCII, keep the rest
        for (char c : text) AppendAscii(c, out);
        return;
    }
    for (const gchar* p = decomposed; *p != '\0'; p = g_utf8_next_char(p)) {
        const gunichar c = g_utf8_get_char(p);
        if (c < 0x80) {
            AppendAscii(static_cast<char>(c), out);
            continue;
        }
        if (g_unichar_ismark(c)) continue;
        if (const char* spelled = SpelledOut(c)) {
            for (const char* s = spelled; *s != '\0'; ++s) AppendAscii(*s, out);
            continue;
        }
        if (g_unichar_isspace(c)) {
            AppendAscii(' ', out);
            continue;
        }
        gchar buffer[6];
        const gint length = g_unichar_to_utf8(g_unichar_tolower(c), buffer);
        out.append(buffer, static_cast<std::size_t>(length));
    }
    g_free(decomposed);
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsAsciiSpace(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsAsciiSpace(s.back())) s.remove_suffix(1);
    return s;
}

// Folded forms of one place, made once at load.
struct FoldedPlace {
    std::string Name;
    std::string State;
    std::string Country;
    std::string CountryCode;  // "us"
    std::string StateCode;    // "il" for Illinois; numbers in many countries
};

// True when `key` starts `field` or one of its words.
bool StartsAWord(std::string_view field, std::string_view key) {
    for (std::size_t at = 0; at <= field.size();) {
        if (field.substr(at).starts_with(key)) return true;
        const std::size_t space = field.find(' ', at);
        if (space == std::string_view::npos) break;
        at = space + 1;
    }
    return false;
}

// Country names people type that the atlas spells otherwise, as country codes.
std::string_view CountryAlias(std::string_view folded) {
    static const std::unordered_map<std::string_view, std::string_view> aliases{
        {"usa", "us"},     {"america", "us"}, {"uk", "gb"},     {"britain", "gb"}, {"great britain", "gb"},
        {"holland", "nl"}, {"burma", "mm"},   {"persia", "ir"}, {"ceylon", "lk"},
    };
    const auto found = aliases.find(folded);
    return found == aliases.end() ? std::string_view{} : found->second;
}

bool MatchesState(const FoldedPlace& p, std::string_view q) { return StartsAWord(p.State, q) || p.StateCode == q; }

bool MatchesCountry(const FoldedPlace& p, std::string_view q) {
    if (StartsAWord(p.Country, q) || p.CountryCode == q) return true;
    const std::string_view alias = CountryAlias(q);
    return !alias.empty() && alias == p.CountryCode;
}

struct ParsedQuery {
    std::string City;
    std::vector<std::string> Qualifiers;  // state and/or country, folded
};

std::optional<ParsedQuery> Parse(std::string_view query) {
    ParsedQuery parsed;
    std::vector<std::string> parts;
    for (;;) {
        const std::size_t comma = query.find(',');
        parts.push_back(FoldForMatching(query.substr(0, comma)));
        if (comma == std::string_view::npos) break;
        query.remove_prefix(comma + 1);
    }
    parsed.City = parts.front();
    if (parsed.City.empty()) return std::nullopt;
    for (std::size_t i = 1; i < parts.size(); ++i) {
        if (!parts[i].empty()) parsed.Qualifiers.push_back(parts[i]);  // "Springfield, " while typing
    }
    if (parsed.Qualifiers.size() > 2) return std::nullopt;
    return parsed;
}

bool MatchesQualifiers(const FoldedPlace& p, const std::vector<std::string>& qualifiers) {
    if (qualifiers.empty()) return true;
    if (qualifiers.size() == 1) return MatchesState(p, qualifiers[0]) || MatchesCountry(p, qualifiers[0]);
    return MatchesState(p, qualifiers[0]) && MatchesCountry(p, qualifiers[1]);
}

}  // namespace

std::string FoldForMatching(std::string_view text) {
    text = Trim(text);
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        if (static_cast<unsigned char>(text[i]) < 0x80) {
            AppendAscii(text[i], out);
            ++i;
            continue;
        }
        // Hand the run up to the next ASCII character to glib.
        std::size_t end = i;
        while (end < text.size() && static_cast<unsigned char>(text[end]) >= 0x80) ++end;
        AppendFoldedUnicode(text.substr(i, end - i), out);
        i = end;
    }
    while (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

struct Atlas::Data {
    std::vector<Place> Places;
    std::vector<FoldedPlace> Folded;    // parallel to Places
    std::vector<std::uint32_t> ByName;  // indices sorted by folded name
};

namespace {

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

std::string Lower(const char* s) { return Lower(std::string_view(s ? s : "")); }

// One city record's fields; the texts point into the record.
struct CityRecord {
    std::string_view Text[7];  // id, name, state code, state, country code, country, zone
    std::uint32_t Population = 0;
    double Latitude = 0;
    double Longitude = 0;
};

// Reads a (sssssssudd) record straight from its serialized bytes, which is
// several times faster than g_variant_get() for the whole atlas. The layout
// is GVariant's documented serialization: the seven strings one after the
// other, each ending in a NUL; the end of each string as a framing offset at
// the very end of the record, the first string's last; the offsets 1, 2, 4
// or 8 bytes wide as the record's size needs; the population at the next
// multiple of 4, the two coordinates at the next multiple of 8 after it.
// Anything that does not fit returns false, and the record is read by
// g_variant_get() instead.
bool ReadRecord(GVariant* city, CityRecord& record) {
    if (G_BYTE_ORDER != G_LITTLE_ENDIAN) return false;
    const auto* bytes = static_cast<const unsigned char*>(g_variant_get_data(city));
    const gsize size = g_variant_get_size(city);
    if (bytes == nullptr) return false;
    const gsize width = size > 0xFFFFFFFFu ? 8 : size > 0xFFFF ? 4 : size > 0xFF ? 2 : 1;
    if (size < 7 * width) return false;
    const gsize offsetsStart = size - 7 * width;
    gsize start = 0;
    for (gsize k = 0; k < 7; ++k) {
        std::uint64_t end = 0;
        std::memcpy(&end, bytes + size - (k + 1) * width, width);
        if (end < start + 1 || end > offsetsStart || bytes[end - 1] != '\0') return false;
        record.Text[k] = std::string_view(reinterpret_cast<const char*>(bytes) + start, end - start - 1);
        start = end;
    }
    gsize at = (start + 3) & ~gsize{3};
    if (at + 4 > offsetsStart) return false;
    std::memcpy(&record.Population, bytes + at, 4);
    at = (at + 4 + 7) & ~gsize{7};
    if (at + 16 != offsetsStart) return false;
    std::memcpy(&record.Latitude, bytes + at, 8);
    std::memcpy(&record.Longitude, bytes + at + 8, 8);
    return true;
}

bool ReadRecordSlowly(GVariant* city, CityRecord& record) {
    const gchar* text[7];
    guint32 population;
    gdouble latitude, longitude;
    g_variant_get(city, "(&s&s&s&s&s&s&sudd)", &text[0], &text[1], &text[2], &text[3], &text[4], &text[5], &text[6],
                  &population, &latitude, &longitude);
    for (int k = 0; k < 7; ++k) record.Text[k] = text[k];
    record.Population = population;
    record.Latitude = latitude;
    record.Longitude = longitude;
    return true;
}

}  // namespace

Atlas::Atlas() {
    auto data = std::make_unique<Data>();
    const gint count = geonames_get_n_cities();
    data->Places.reserve(static_cast<std::size_t>(std::max(count, 0)));
    data->Folded.reserve(data->Places.capacity());

    // States and countries repeat; fold each text once.
    std::unordered_map<std::string, std::string> foldedTexts;
    auto foldCached = [&foldedTexts](const std::string& text) -> const std::string& {
        auto found = foldedTexts.find(text);
        if (found == foldedTexts.end()) found = foldedTexts.emplace(text, FoldForMatching(text)).first;
        return found->second;
    };

    // A city is a GVariant record (id, name, state code, state, country code,
    // country, zone, population, latitude, longitude). The record gives the
    // English names; the library's accessors translate them into the
    // language of the user's locale, which would make matching depend on it.
    // Should the record ever change shape, the accessors are used instead.
    const GVariantType* recordType = G_VARIANT_TYPE("(sssssssudd)");
    for (gint i = 0; i < count; ++i) {
        GeonamesCity* city = geonames_get_city(i);
        if (city == nullptr) continue;
        Place place;
        FoldedPlace folded;
        CityRecord record;
        if (g_variant_is_of_type(city, recordType) && (ReadRecord(city, record) || ReadRecordSlowly(city, record))) {
            place = Place{std::string(record.Text[1]),
                          std::string(record.Text[3]),
                          std::string(record.Text[5]),
                          std::string(record.Text[6]),
                          record.Latitude,
                          record.Longitude,
                          static_cast<long>(record.Population)};
            folded.CountryCode = Lower(record.Text[4]);
            folded.StateCode = Lower(record.Text[2]);
        } else {
            place = Place{geonames_city_get_name(city),
                          geonames_city_get_state(city),
                          geonames_city_get_country(city),
                          geonames_city_get_timezone(city),
                          geonames_city_get_latitude(city),
                          geonames_city_get_longitude(city),
                          static_cast<long>(geonames_city_get_population(city))};
            folded.CountryCode = Lower(geonames_city_get_country_code(city));
        }
        geonames_city_free(city);
        folded.Name = FoldForMatching(place.Name);
        folded.State = foldCached(place.State);
        folded.Country = foldCached(place.Country);
        data->Places.push_back(std::move(place));
        data->Folded.push_back(std::move(folded));
    }

    data->ByName.resize(data->Places.size());
    for (std::uint32_t i = 0; i < data->ByName.size(); ++i) data->ByName[i] = i;
    std::sort(data->ByName.begin(), data->ByName.end(),
              [&folded = data->Folded](std::uint32_t a, std::uint32_t b) { return folded[a].Name < folded[b].Name; });
    data_ = std::move(data);
}

Atlas::~Atlas() = default;

namespace {
std::atomic<bool> sharedAtlasLoaded{false};
}  // namespace

const Atlas& Atlas::Instance() {
    static const Atlas atlas;  // loaded once, on first use, by whichever thread comes first
    sharedAtlasLoaded.store(true, std::memory_order_release);
    return atlas;
}

bool Atlas::IsLoaded() { return sharedAtlasLoaded.load(std::memory_order_acquire); }

const std::vector<Place>& Atlas::Places() const { return data_->Places; }

std::size_t Atlas::Size() const { return data_->Places.size(); }

std::vector<Place> Atlas::Search(std::string_view query, std::size_t limit) const {
    std::vector<Place> result;
    if (limit == 0) return result;
    const std::optional<ParsedQuery> parsed = Parse(query);
    if (!parsed) return result;

    const std::string& city = parsed->City;
    const auto& folded = data_->Folded;
    const auto& places = data_->Places;

    // Names starting with the city text form one run of the sorted index.
    struct Candidate {
        std::uint32_t Index;
        bool Exact;
    };
    std::vector<Candidate> candidates;
    auto it = std::lower_bound(data_->ByName.begin(), data_->ByName.end(), city,
                               [&folded](std::uint32_t i, const std::string& key) { return folded[i].Name < key; });
    for (; it != data_->ByName.end() && folded[*it].Name.starts_with(city); ++it) {
        if (MatchesQualifiers(folded[*it], parsed->Qualifiers)) {
            candidates.push_back({*it, folded[*it].Name.size() == city.size()});
        }
    }

    const auto better = [&places](const Candidate& a, const Candidate& b) {
        if (a.Exact != b.Exact) return a.Exact;
        const Place& pa = places[a.Index];
        const Place& pb = places[b.Index];
        if (pa.Population != pb.Population) return pa.Population > pb.Population;
        if (pa.Name != pb.Name) return pa.Name < pb.Name;
        return a.Index < b.Index;
    };
    const std::size_t kept = std::min(limit, candidates.size());
    std::partial_sort(candidates.begin(), candidates.begin() + static_cast<std::ptrdiff_t>(kept), candidates.end(),
                      better);
    result.reserve(kept);
    for (std::size_t i = 0; i < kept; ++i) result.push_back(places[candidates[i].Index]);
    return result;
}

std::string Atlas::CountryNameOf(std::string_view countryCode) const {
    const std::string code = Lower(countryCode);
    for (std::size_t i = 0; i < data_->Folded.size(); ++i) {
        if (data_->Folded[i].CountryCode == code) return data_->Places[i].Country;
    }
    return {};
}

std::optional<PlaceQueryParts> ParsePlaceQuery(std::string_view query) {
    std::optional<ParsedQuery> parsed = Parse(query);
    if (!parsed) return std::nullopt;
    return PlaceQueryParts{std::move(parsed->City), std::move(parsed->Qualifiers)};
}

bool MatchesPlaceQualifiers(const std::vector<std::string>& qualifiers, std::string foldedState,
                            std::string foldedCountry, std::string countryCode, std::string stateCode) {
    const FoldedPlace place{
        {}, std::move(foldedState), std::move(foldedCountry), std::move(countryCode), std::move(stateCode)};
    return MatchesQualifiers(place, qualifiers);
}

std::optional<Place> Atlas::Find(std::string_view query) const {
    std::vector<Place> best = Search(query, 1);
    if (best.empty()) return std::nullopt;
    return std::move(best.front());
}

}  // namespace velmora::core
