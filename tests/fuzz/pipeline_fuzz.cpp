// The whole analysis on arbitrary form texts (fields as in fuzz_support.h).
// It must never crash; a form that is accepted must give longitudes in
// [0, 360), signs within 1..12, and JSON that reads back as one object
// holding the same numbers and name, the same in both layouts and on a
// second run.

#include <rapidjson/document.h>

#include <cmath>
#include <string>

#include "core/analysis_json.h"
#include "core/pipeline.h"
#include "core/text_numbers.h"
#include "fuzz_support.h"

namespace {

using namespace velmora;
using namespace velmora::core;

bool IsSign(int sign) { return sign >= 1 && sign <= 12; }

void CheckLongitudes(const astro::EnginePositions& p) {
    for (double lon : p.Longitudes) VELMORA_FUZZ_CHECK(lon >= 0 && lon < 360);  // false for NaN
    VELMORA_FUZZ_CHECK(std::isfinite(p.UniversalTime) && std::isfinite(p.SiderealCorrection));
}

// An atlas pick's coordinate: the form's degrees when they read as a number
// within the bound, else 0. The atlas only holds finite coordinates.
double PickCoordinate(const std::string& degrees, double bound, bool negative) {
    const std::optional<double> value = ParseNumber(degrees);
    if (!value || !(*value >= 0 && *value <= bound)) return 0;
    return negative ? -*value : *value;
}

AnalysisOptions OptionsOf(std::string_view engine) {
    AnalysisOptions options;
    if (engine.empty() || engine.front() != 'P') return options;
    options.Settings.Mode = EphemerisMode::Precise;
    if (engine.size() > 1) {
        const unsigned index = static_cast<unsigned char>(engine[1]) % astro::kAllAyanamsas.size();
        options.Settings.Ayanamsa = astro::kAllAyanamsas[index];
    }
    if (engine.size() > 2 && engine[2] == 'T') options.Settings.Node = astro::NodeKind::True;
    options.CompareWithFormulas = engine.size() <= 3 || engine[3] != 'N';
    return options;
}

void CheckJson(const BirthAnalysis& a, const std::string& compact, const std::string& indented) {
    rapidjson::Document doc;
    doc.Parse<rapidjson::kParseFullPrecisionFlag>(compact.data(), compact.size());
    VELMORA_FUZZ_CHECK(!doc.HasParseError() && doc.IsObject());
    rapidjson::Document pretty;
    pretty.Parse<rapidjson::kParseFullPrecisionFlag>(indented.data(), indented.size());
    VELMORA_FUZZ_CHECK(!pretty.HasParseError() && pretty == doc);

    // (Members are looked up by name: rapidjson's member iterators compare
    // ambiguously under C++20.)
    VELMORA_FUZZ_CHECK(doc.HasMember("longitudes") && doc["longitudes"].IsArray());
    const rapidjson::Value& longitudes = doc["longitudes"];
    VELMORA_FUZZ_CHECK(longitudes.Size() == kBodyCount);
    for (rapidjson::SizeType i = 0; i < kBodyCount; ++i) {
        VELMORA_FUZZ_CHECK(longitudes[i].IsNumber());
        VELMORA_FUZZ_CHECK(longitudes[i].GetDouble() == a.Positions.Longitudes[i]);
    }
    VELMORA_FUZZ_CHECK(doc.HasMember("input") && doc["input"].IsObject());
    const rapidjson::Value& input = doc["input"];
    VELMORA_FUZZ_CHECK(input.HasMember("name") && input["name"].IsString());
    const rapidjson::Value& name = input["name"];
    VELMORA_FUZZ_CHECK(std::string_view(name.GetString(), name.GetStringLength()) == a.Birth.Name);
}

void CheckResult(const BirthAnalysis& a) {
    CheckLongitudes(a.Positions);
    if (a.FormulaComparison) CheckLongitudes(*a.FormulaComparison);
    for (int sign : a.Chart.BodySign) VELMORA_FUZZ_CHECK(IsSign(sign));
    VELMORA_FUZZ_CHECK(IsSign(a.Chart.AscendantSign) && IsSign(a.Chart.LordSign) && IsSign(a.Chart.ArudhaLagnaSign));
    for (int sign : a.Navamsa) VELMORA_FUZZ_CHECK(IsSign(sign));
    for (const analysis::Pada& pada : a.Padas) {
        VELMORA_FUZZ_CHECK(pada.House >= 1 && pada.House <= 12);
        VELMORA_FUZZ_CHECK(IsSign(pada.HouseSign) && IsSign(pada.LordSign) && IsSign(pada.PadaSign));
    }
    VELMORA_FUZZ_CHECK(a.Dasha.Nakshatra >= 1 && a.Dasha.Nakshatra <= 27);
    VELMORA_FUZZ_CHECK(a.Dasha.ElapsedFraction >= 0 && a.Dasha.ElapsedFraction < 1);
    VELMORA_FUZZ_CHECK(a.Dasha.Periods.size() == 9);
    VELMORA_FUZZ_CHECK(a.Profile.has_value());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::string> fields = fuzz::SplitFields(fuzz::TextOf(data, size), fuzz::kFormLineCount);
    FormInput form = fuzz::FormOf(fields);
    if (!fields[fuzz::kPlaceZone].empty()) {
        form.Place = PlacePick{form.City,
                               form.State,
                               form.Country,
                               fields[fuzz::kPlaceZone],
                               PickCoordinate(form.LatitudeDegrees, 90, form.South),
                               PickCoordinate(form.LongitudeDegrees, 180, !form.East)};
    }
    const AnalysisOptions options = OptionsOf(fields[fuzz::kEngine]);

    const AnalysisOutcome outcome = RunAnalysis(form, options);
    if (outcome.Rejected) {
        VELMORA_FUZZ_CHECK(!outcome.Rejected->Text.empty());
        return 0;
    }
    CheckResult(outcome.Result);
    const std::string compact = AnalysisJson(outcome.Result, JsonLayout::Compact);
    const std::string indented = AnalysisJson(outcome.Result, JsonLayout::Indented);
    CheckJson(outcome.Result, compact, indented);

    // Nothing is kept between analyses: the same form gives the same report.
    const AnalysisOutcome again = RunAnalysis(form, options);
    VELMORA_FUZZ_CHECK(!again.Rejected);
    VELMORA_FUZZ_CHECK(AnalysisJson(again.Result, JsonLayout::Compact) == compact);
    return 0;
}
