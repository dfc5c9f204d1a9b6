// The compact JSON comes from the program's own writer; it must be byte for
// byte what rapidjson's Writer makes of the same document.

#include <gtest/gtest.h>

#include <rapidjson/document.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <random>

#include "core/form_builders.h"
#include "core/analysis_json.h"
#include "core/pipeline.h"
#include "core/zones.h"

using namespace velmora;
using namespace velmora::core;

namespace {

std::string RapidjsonCompact(const std::string& indented) {
    rapidjson::Document d;
    d.Parse<rapidjson::kParseFullPrecisionFlag>(indented.c_str());  // doubles read back exactly
    EXPECT_FALSE(d.HasParseError());
    rapidjson::StringBuffer buffer;
    rapidjson::Writer<rapidjson::StringBuffer> w(buffer);
    d.Accept(w);
    return std::string(buffer.GetString(), buffer.GetSize());
}

}  // namespace

TEST(CompactJson, EqualsRapidjsonsWriterOnRandomBirthsAndAwkwardTexts) {
    std::mt19937 random(7);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    // Quotes, backslashes, every escaped control character, a control
    // character in an eight-byte run, UTF-8 and DEL.
    const std::string awkward[] = {"New \"Delhi\"",
                                   "C:\\place\\",
                                   "tab\there\nline\r\b\f",
                                   "abcdefg\x01hijklmnop",
                                   "S\xC3\xA3o Paulo \xE2\x80\x94 long enough to take the fast path",
                                   "\x7F\x1F"};
    for (int i = 0; i < 200; ++i) {
        FormInput f = velmora::testing::RandomForm(random, 89);
        f.City = awkward[static_cast<std::size_t>(i) % std::size(awkward)];
        f.State = awkward[static_cast<std::size_t>(i + 1) % std::size(awkward)];
        if (i % 7 == 0) f.ExactUtcOffsetMinutes = pick(-18 * 60, 18 * 60);
        AnalysisOptions options;
        options.MonthNames = &EnglishMonthNames();
        if (i % 5 == 0) options.Settings.Mode = EphemerisMode::Precise;
        const AnalysisOutcome outcome = RunAnalysis(f, options);
        ASSERT_FALSE(outcome.Rejected) << outcome.Rejected->Text;
        const std::string compact = AnalysisJson(outcome.Result, JsonLayout::Compact);
        const std::string expected = RapidjsonCompact(AnalysisJson(outcome.Result, JsonLayout::Indented));
        if (compact != expected) {
            std::size_t at = 0;
            while (at < compact.size() && at < expected.size() && compact[at] == expected[at]) ++at;
            const std::size_t from = at < 60 ? 0 : at - 60;
            FAIL() << "birth " << i << " differs at byte " << at << ":\n  ours:     " << compact.substr(from, 120)
                   << "\n  rapidjson: " << expected.substr(from, 120);
        }
    }
}

TEST(CompactJson, AppendsAfterWhatTheStringHolds) {
    FormInput f;
    f.Name = "ASHA";
    f.LatitudeDegrees = f.LatitudeMinutes = f.LongitudeDegrees = f.LongitudeMinutes = "1";
    const AnalysisOutcome outcome = RunAnalysis(f);
    ASSERT_FALSE(outcome.Rejected);
    std::string out = "before\n";
    AppendAnalysisJson(out, outcome.Result, JsonLayout::Compact);
    AppendAnalysisJson(out, outcome.Result, JsonLayout::Compact);
    const std::string one = AnalysisJson(outcome.Result, JsonLayout::Compact);
    EXPECT_EQ(out, "before\n" + one + one);
}
