#include "core/place_import.h"

#include <sqlite3.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fstream>
#include <unordered_map>
#include <unordered_set>

#include "core/sqlite_db.h"
#include "core/text_numbers.h"

namespace velmora::core {

namespace {

// The fields of a GeoNames place record that are read.
enum GeoField : std::size_t {
    kId = 0,
    kName = 1,
    kAsciiName = 2,
    kAlternateNames = 3,
    kLatitude = 4,
    kLongitude = 5,
    kFeatureClass = 6,
    kCountryCode = 8,
    kAdmin1 = 10,
    kPopulation = 14,
    kTimeZone = 17,
    kFieldsNeeded = 18,
};

constexpr std::size_t kLinesPerReport = 4096;
// Longer "names" are descriptions or links, not names anyone types.
constexpr std::size_t kLongestName = 120;

void SplitInto(std::string_view line, char separator, std::vector<std::string_view>& fields) {
    fields.clear();
    for (;;) {
        const std::size_t at = line.find(separator);
        fields.push_back(line.substr(0, at));
        if (at == std::string_view::npos) return;
        line.remove_prefix(at + 1);
    }
}

template <class T>
bool Number(std::string_view text, T& value) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return out;
}

LibraryStatus StatusOfSql(const SqlError& error) { return LibraryStatusOf(error, "The places could not be imported"); }

// "CC.A1" to the state's name, from admin1CodesASCII.txt.
std::unordered_map<std::string, std::string> ReadAdmin1Names(const std::filesystem::path& file, bool& read) {
    std::unordered_map<std::string, std::string> names;
    std::ifstream in(file, std::ios::binary);
    read = static_cast<bool>(in);
    std::string line;
    std::vector<std::string_view> fields;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        SplitInto(line, '\t', fields);
        if (fields.size() >= 2 && !fields[0].empty() && !fields[1].empty())
            names.emplace(std::string(fields[0]), std::string(fields[1]));
    }
    return names;
}

// The smallest text above every text that starts with `prefix`.
std::string PrefixEnd(std::string prefix) {
    while (!prefix.empty() && static_cast<unsigned char>(prefix.back()) == 0xFF) prefix.pop_back();
    if (!prefix.empty()) prefix.back() = static_cast<char>(static_cast<unsigned char>(prefix.back()) + 1);
    return prefix;
}

// velmora_place_qualifies(state_folded, country_folded, country_code,
// state_code): the atlas's qualifier rule, for the query in the user data.
void QualifiesFunction(sqlite3_context* context, int, sqlite3_value** values) {
    const auto* qualifiers = static_cast<const std::vector<std::string>*>(sqlite3_user_data(context));
    auto text = [values](int i) {
        const auto* t = reinterpret_cast<const char*>(sqlite3_value_text(values[i]));
        return std::string(t ? t : "");
    };
    sqlite3_result_int(context, MatchesPlaceQualifiers(*qualifiers, text(0), text(1), text(2), text(3)) ? 1 : 0);
}

}  // namespace

PlaceImportSummary ImportGeoNames(Library& library, const std::filesystem::path& dump,
                                  const PlaceImportOptions& options) {
    PlaceImportSummary summary;
    const std::string file = dump.string();
    std::unordered_map<std::string, std::string> admin1;
    if (!options.Admin1Codes.empty()) {
        bool read = false;
        admin1 = ReadAdmin1Names(options.Admin1Codes, read);
        if (!read) {
            summary.Status = {LibraryFault::Refused, options.Admin1Codes.string() + " cannot be read."};
            return summary;
        }
    }
    std::ifstream in(dump, std::ios::binary);
    if (!in) {
        summary.Status = {LibraryFault::Refused, file + " cannot be read."};
        return summary;
    }
    ImportProgress progress;
    std::error_code ec;
    progress.BytesTotal = std::filesystem::file_size(dump, ec);

    SqlDatabase& db = library.Database();
    SqlTransaction transaction(db);
    if (transaction.BeginError()) {
        summary.Status = StatusOfSql(transaction.BeginError());
        return summary;
    }
    SqlError error;
    SqlStatement place = db.Prepare(
        "INSERT OR REPLACE INTO places (geonameid, name, state, state_code, country, country_code, latitude, "
        "longitude, population, time_zone, alternate_names, state_folded, country_folded) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
        error);
    SqlStatement forget = error ? SqlStatement() : db.Prepare("DELETE FROM place_names WHERE geonameid = ?", error);
    SqlStatement name =
        error ? SqlStatement()
              : db.Prepare("INSERT OR IGNORE INTO place_names (folded, geonameid, name) VALUES (?, ?, ?)", error);
    if (error) {
        summary.Status = StatusOfSql(error);
        return summary;
    }

    // Countries and states repeat: each is named and folded once.
    std::unordered_map<std::string, std::pair<std::string, std::string>> countries;  // code: name, folded
    std::unordered_map<std::string, std::string> foldedStates;
    auto fail = [&summary](const SqlError& why) {
        summary.Status = StatusOfSql(why);
        summary.Places = 0;
        return summary;
    };

    auto cancelled = [&summary] {
        summary.Status = {LibraryFault::Refused, "The import was cancelled; nothing was imported."};
        summary.Places = 0;
        return summary;
    };

    std::string line;
    std::vector<std::string_view> fields;
    std::vector<std::string_view> alternates;
    std::unordered_set<std::string> seen;
    long lineNumber = 0;
    while (std::getline(in, line)) {
        ++lineNumber;
        progress.BytesRead += line.size() + 1;
        if (lineNumber % kLinesPerReport == 0 && options.Progress) {
            progress.Added = summary.Places;
            if (!options.Progress(progress)) return cancelled();
        }
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line.front() == '#') continue;
        SplitInto(line, '\t', fields);
        std::int64_t id = 0;
        double latitude = 0, longitude = 0;
        std::int64_t population = 0;
        if (fields.size() < kFieldsNeeded || !Number(fields[kId], id) || !Number(fields[kLatitude], latitude) ||
            !Number(fields[kLongitude], longitude) || std::abs(latitude) > 90 || std::abs(longitude) > 180 ||
            fields[kName].empty()) {
            summary.Refused.push_back(
                {file, lineNumber,
                 "not a GeoNames place record (tab-separated id, name, ..., latitude, longitude, ..., time zone)"});
            continue;
        }
        if (fields[kFeatureClass] != "P") {
            ++summary.Skipped;
            continue;
        }
        if (fields[kPopulation].empty() || !Number(fields[kPopulation], population)) population = 0;
        const std::string countryCode(fields[kCountryCode]);
        auto country = countries.find(countryCode);
        if (country == countries.end()) {
            std::string countryName = options.CountryNames ? options.CountryNames->CountryNameOf(countryCode) : "";
            if (countryName.empty()) countryName = countryCode;
            std::string folded = FoldForMatching(countryName);
            country = countries.emplace(countryCode, std::pair{std::move(countryName), std::move(folded)}).first;
        }
        const std::string stateCode(fields[kAdmin1]);
        const auto stateName = admin1.find(std::string(countryCode).append(".").append(stateCode));
        const std::string& state = stateName == admin1.end() ? stateCode : stateName->second;
        auto foldedState = foldedStates.find(state);
        if (foldedState == foldedStates.end()) foldedState = foldedStates.emplace(state, FoldForMatching(state)).first;

        place.Bind(1, id);
        place.Bind(2, fields[kName]);
        place.Bind(3, state);
        place.Bind(4, Lower(stateCode));
        place.Bind(5, country->second.first);
        place.Bind(6, Lower(countryCode));
        place.Bind(7, latitude);
        place.Bind(8, longitude);
        place.Bind(9, population);
        place.Bind(10, fields[kTimeZone]);
        place.Bind(11, fields[kAlternateNames]);
        place.Bind(12, foldedState->second);
        place.Bind(13, country->second.second);
        if (SqlError failed = place.Run()) return fail(failed);
        forget.Bind(1, id);
        if (SqlError failed = forget.Run()) return fail(failed);

        // The place's own name first, so it is the one a search shows.
        seen.clear();
        auto addName = [&](std::string_view text) {
            if (text.empty() || text.size() > kLongestName || text.find("://") != std::string_view::npos)
                return SqlError{};
            std::string folded = FoldForMatching(text);
            if (folded.empty() || !seen.insert(folded).second) return SqlError{};
            name.Bind(1, folded);
            name.Bind(2, id);
            name.Bind(3, text);
            return name.Run();
        };
        if (SqlError failed = addName(fields[kName])) return fail(failed);
        if (SqlError failed = addName(fields[kAsciiName])) return fail(failed);
        SplitInto(fields[kAlternateNames], ',', alternates);
        for (const std::string_view alternate : alternates) {
            if (SqlError failed = addName(TrimBlanks(alternate))) return fail(failed);
        }
        ++summary.Places;
    }
    if (in.bad()) {
        summary.Status = {LibraryFault::Failed, file + " could not be read to its end; nothing was imported."};
        summary.Places = 0;
        return summary;
    }
    progress.Added = summary.Places;
    if (options.Progress && !options.Progress(progress)) return cancelled();
    if (SqlError failed = transaction.Commit()) return fail(failed);
    return summary;
}

std::string PlaceMatchLabel(const PlaceMatch& match) {
    if (match.AlternateName.empty()) return match.Place.Name;
    return match.Place.Name + " (" + match.AlternateName + ")";
}

LibraryResult<std::vector<PlaceMatch>> SearchImportedPlaces(Library& library, std::string_view query,
                                                            std::size_t limit) {
    LibraryResult<std::vector<PlaceMatch>> result;
    const std::optional<PlaceQueryParts> parts = ParsePlaceQuery(query);
    if (!parts || limit == 0) return result;
    SqlDatabase& db = library.Database();
    // The qualifier test runs inside the query, so the limit counts only
    // places that meet it.
    sqlite3_create_function(db.Handle(), "velmora_place_qualifies", 4, SQLITE_UTF8,
                            const_cast<std::vector<std::string>*>(&parts->Qualifiers), QualifiesFunction, nullptr,
                            nullptr);
    SqlError error;
    SqlStatement s = db.Prepare(
        "SELECT p.geonameid, p.name, p.state, p.country, p.time_zone, p.latitude, p.longitude, p.population, "
        "n.name FROM place_names n JOIN places p ON p.geonameid = n.geonameid "
        "WHERE n.folded >= ?1 AND n.folded < ?2 "
        "AND velmora_place_qualifies(p.state_folded, p.country_folded, p.country_code, p.state_code) "
        "ORDER BY n.folded = ?1 DESC, p.population DESC, p.name, p.geonameid, n.name = p.name DESC",
        error);
    if (error) {
        result.Status = StatusOfSql(error);
        return result;
    }
    s.Bind(1, parts->City);
    s.Bind(2, PrefixEnd(parts->City));
    std::unordered_set<std::int64_t> listed;
    while (result.Value.size() < limit && s.Step()) {
        const std::int64_t id = s.Int(0);
        if (!listed.insert(id).second) continue;
        PlaceMatch match;
        match.GeonameId = id;
        match.Place.Name = s.Text(1);
        match.Place.State = s.Text(2);
        match.Place.Country = s.Text(3);
        match.Place.TimeZone = s.Text(4);
        match.Place.Latitude = s.Real(5);
        match.Place.Longitude = s.Real(6);
        match.Place.Population = static_cast<long>(s.Int(7));
        if (s.Text(8) != s.Text(1)) match.AlternateName = s.Text(8);
        result.Value.push_back(std::move(match));
    }
    if (s.Error()) result.Status = StatusOfSql(s.Error());
    s = SqlStatement();
    sqlite3_create_function(db.Handle(), "velmora_place_qualifies", 4, SQLITE_UTF8, nullptr, nullptr, nullptr, nullptr);
    return result;
}

LibraryResult<std::uint64_t> ImportedPlaceCount(Library& library) {
    LibraryResult<std::uint64_t> result;
    SqlError error;
    const std::optional<std::int64_t> count = library.Database().QueryInt("SELECT count(*) FROM places", error);
    result.Status = StatusOfSql(error);
    if (count) result.Value = static_cast<std::uint64_t>(*count);
    return result;
}

std::vector<PlaceMatch> MergePlaceMatches(std::string_view query, const std::vector<Place>& atlas,
                                          const std::vector<PlaceMatch>& imported, std::size_t limit) {
    auto key = [](const Place& p) {
        return FoldForMatching(p.Name) + '\x1f' + FoldForMatching(p.State) + '\x1f' + FoldForMatching(p.Country);
    };
    std::unordered_set<std::string> importedKeys;
    for (const PlaceMatch& match : imported) importedKeys.insert(key(match.Place));
    std::vector<PlaceMatch> merged = imported;
    for (const Place& place : atlas) {
        if (!importedKeys.contains(key(place))) merged.push_back({place, {}, 0});
    }
    const std::optional<PlaceQueryParts> parts = ParsePlaceQuery(query);
    const std::string city = parts ? parts->City : std::string();
    auto exact = [&city](const PlaceMatch& m) {
        return FoldForMatching(m.AlternateName.empty() ? m.Place.Name : m.AlternateName) == city;
    };
    std::stable_sort(merged.begin(), merged.end(), [&exact](const PlaceMatch& a, const PlaceMatch& b) {
        const bool ea = exact(a), eb = exact(b);
        if (ea != eb) return ea;
        if (a.Place.Population != b.Place.Population) return a.Place.Population > b.Place.Population;
        return a.Place.Name < b.Place.Name;
    });
    if (merged.size() > limit) merged.resize(limit);
    return merged;
}

}  // namespace velmora::core
