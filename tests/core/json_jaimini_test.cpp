// Jaimini's tools in the analysis and its JSON: every value the JSON carries
// is the typed result's, in both layouts; the karaka scheme reaches the
// tools; an analysis without the toolkit carries none of the keys.

#include <gtest/gtest.h>

#include <rapidjson/document.h>

#include <random>
#include <stdexcept>

#include "core/analysis_json.h"
#include "core/form_builders.h"
#include "core/pipeline.h"
#include "core/text_formats.h"

using namespace velmora;
using namespace velmora::core;

namespace {

BirthAnalysis Analysed(const FormInput& form, int scheme = 8) {
    AnalysisOptions options;
    options.KarakaScheme = scheme;
    AnalysisOutcome outcome = RunAnalysis(form, options);
    EXPECT_FALSE(outcome.Rejected);
    return outcome.Result;
}

rapidjson::Document Parsed(const std::string& text) {
    rapidjson::Document d;
    d.Parse<rapidjson::kParseFullPrecisionFlag>(text.c_str());
    EXPECT_FALSE(d.HasParseError());
    return d;
}

std::string S(const rapidjson::Value& v) { return std::string(v.GetString(), v.GetStringLength()); }

std::vector<std::string> Names(const rapidjson::Value& array) {
    std::vector<std::string> names;
    for (const auto& v : array.GetArray()) names.push_back(S(v));
    return names;
}

std::vector<std::string> Names(const analysis::BodyList& list) {
    std::vector<std::string> names;
    for (int i = 0; i < list.Count; ++i) names.emplace_back(kBodyNames[list.Bodies[static_cast<std::size_t>(i)]]);
    return names;
}

std::vector<std::string> Sentences(const analysis::Derivation& d) {
    std::vector<std::string> sentences;
    for (std::size_t i = 0; i < d.size(); ++i) sentences.emplace_back(d[i]);
    return sentences;
}

// The JSON's Jaimini keys against the typed tools and derivations.
void ExpectJsonIsTheResult(const rapidjson::Document& o, const BirthAnalysis& a) {
    ASSERT_TRUE(a.Jaimini && a.Why);
    const analysis::JaiminiTools& t = *a.Jaimini;
    const rapidjson::Value& karakas = o["charaKarakas"];
    EXPECT_EQ(karakas["scheme"].GetInt(), t.Karakas.Scheme);
    ASSERT_EQ(karakas["karakas"].Size(), static_cast<unsigned>(t.Karakas.Count));
    for (int i = 0; i < t.Karakas.Count; ++i) {
        const rapidjson::Value& k = karakas["karakas"][static_cast<unsigned>(i)];
        const analysis::CharaKaraka& typed = t.Karakas.Ranked[static_cast<std::size_t>(i)];
        EXPECT_EQ(S(k["karaka"]), typed.Name);
        EXPECT_EQ(S(k["body"]), kBodyNames[typed.Graha]);
        EXPECT_EQ(k["degreeInSign"].GetDouble(), typed.DegreeInSign);  // unrounded
    }
    EXPECT_EQ(o["karakamsa"]["sign"].GetInt(), t.Karakamsa);
    EXPECT_EQ(S(o["karakamsa"]["signName"]), SignNameOf(t.Karakamsa));

    ASSERT_EQ(o["rashiDrishti"].Size(), 12u);
    for (unsigned s = 0; s < 12; ++s) {
        EXPECT_EQ(o["rashiDrishti"][s]["sign"].GetInt(), static_cast<int>(s + 1));
        for (unsigned k = 0; k < 3; ++k) EXPECT_EQ(o["rashiDrishti"][s]["aspects"][k].GetInt(), t.Aspects[s][k]);
    }

    ASSERT_EQ(o["argala"].Size(), 3u);
    for (unsigned r = 0; r < 3; ++r) {
        const rapidjson::Value& ref = o["argala"][r];
        EXPECT_EQ(S(ref["from"]), t.Argala[r].From);
        EXPECT_EQ(ref["sign"].GetInt(), t.Argala[r].Sign);
        ASSERT_EQ(ref["houses"].Size(), 4u);
        for (unsigned h = 0; h < 4; ++h) {
            const rapidjson::Value& house = ref["houses"][h];
            const analysis::ArgalaHouse& typed = t.Argala[r].Houses[h];
            EXPECT_EQ(house["house"].GetInt(), typed.House);
            EXPECT_EQ(Names(house["bodies"]), Names(typed.Bodies));
            EXPECT_EQ(house["obstructionHouse"].GetInt(), typed.ObstructionHouse);
            EXPECT_EQ(Names(house["obstructingBodies"]), Names(typed.Obstructing));
            EXPECT_EQ(S(house["state"]), analysis::ArgalaStateName(typed.State));
        }
    }

    ASSERT_EQ(o["grahaArudhas"].Size(), 9u);
    for (unsigned b = 0; b < 9; ++b) {
        const rapidjson::Value& set = o["grahaArudhas"][b];
        EXPECT_EQ(S(set["body"]), kBodyNames[b]);
        ASSERT_EQ(set["signs"].Size(), static_cast<unsigned>(t.GrahaArudhas[b].Count));
        for (unsigned i = 0; i < set["signs"].Size(); ++i) {
            EXPECT_EQ(set["signs"][i]["ownSign"].GetInt(), t.GrahaArudhas[b].Arudhas[i].OwnSign);
            EXPECT_EQ(set["signs"][i]["sign"].GetInt(), t.GrahaArudhas[b].Arudhas[i].Sign);
        }
    }

    const rapidjson::Value& chara = o["charaDasha"];
    EXPECT_EQ(S(chara["method"]), "kn-rao");
    EXPECT_EQ(S(chara["direction"]), t.CharaDasha.Forward ? "forward" : "backward");
    ASSERT_EQ(chara["periods"].Size(), 12u);
    std::vector<std::string> charaWhy = Sentences(a.Why->CharaDashaOrder);
    for (unsigned p = 0; p < 12; ++p) {
        const rapidjson::Value& period = chara["periods"][p];
        const analysis::CharaPeriod& typed = t.CharaDasha.Periods[p];
        EXPECT_EQ(period["sign"].GetInt(), typed.Sign);
        EXPECT_EQ(period["years"].GetInt(), typed.Years);
        EXPECT_EQ(S(period["start"]), DateText(typed.StartDate()));
        EXPECT_EQ(S(period["end"]), DateText(typed.EndDate()));
        ASSERT_EQ(period["sub"].Size(), 12u);
        for (unsigned k = 0; k < 12; ++k) {
            EXPECT_EQ(period["sub"][k]["sign"].GetInt(), typed.Sub[k].Sign);
            EXPECT_EQ(S(period["sub"][k]["start"]), DateText(typed.Sub[k].StartDate()));
        }
        for (const std::string& sentence : Sentences(a.Why->CharaDashaYears[p])) charaWhy.push_back(sentence);
    }

    const rapidjson::Value& explain = o["explain"];
    EXPECT_EQ(Names(explain["arudhaLagna"]), Sentences(a.Why->ArudhaLagna()));
    for (std::size_t h = 0; h < 12; ++h)
        EXPECT_EQ(Names(explain["arudhaPadas"][std::string(analysis::kPadaLabels[h]).c_str()]),
                  Sentences(a.Why->Padas[h]));
    EXPECT_EQ(Names(explain["charaKarakas"]), Sentences(a.Why->CharaKarakas));
    EXPECT_EQ(Names(explain["karakamsa"]), Sentences(a.Why->Karakamsa));
    EXPECT_EQ(Names(explain["charaDasha"]), charaWhy);
}

}  // namespace

TEST(JaiminiJson, EveryValueIsTheTypedResultInBothLayouts) {
    std::mt19937 random(20);
    for (int i = 0; i < 12; ++i) {
        FormInput form = velmora::testing::DelhiForm("RAVI KUMAR");
        form.Year = std::to_string(std::uniform_int_distribution<int>(1901, 2050)(random));
        form.Hour = std::to_string(std::uniform_int_distribution<int>(0, 23)(random));
        const BirthAnalysis a = Analysed(form, i % 2 ? 7 : 8);
        for (JsonLayout layout : {JsonLayout::Indented, JsonLayout::Compact}) {
            const rapidjson::Document o = Parsed(AnalysisJson(a, layout));
            ExpectJsonIsTheResult(o, a);
            // The Arudha Lagna's derivation ends with the sign the chart has.
            const std::string last = S(o["explain"]["arudhaLagna"][o["explain"]["arudhaLagna"].Size() - 1]);
            const std::string sign = std::string(SignNameOf(a.Chart.ArudhaLagnaSign)) + ".";
            EXPECT_EQ(last.substr(last.size() - std::min(last.size(), sign.size())), sign) << last;
        }
    }
}

TEST(JaiminiJson, TheSchemeReachesTheToolsAndOtherSchemesAreRefused) {
    const FormInput form = velmora::testing::DelhiForm("RAVI KUMAR");
    const BirthAnalysis eight = Analysed(form, 8);
    const BirthAnalysis seven = Analysed(form, 7);
    ASSERT_TRUE(eight.Jaimini && seven.Jaimini);
    EXPECT_EQ(eight.Jaimini->Karakas.Count, 8);
    EXPECT_EQ(seven.Jaimini->Karakas.Count, 7);
    // Without Rahu the seven keep the eight's order.
    std::vector<Body> withoutRahu;
    for (int i = 0; i < 8; ++i)
        if (eight.Jaimini->Karakas.Ranked[static_cast<std::size_t>(i)].Graha != Rahu)
            withoutRahu.push_back(eight.Jaimini->Karakas.Ranked[static_cast<std::size_t>(i)].Graha);
    for (std::size_t i = 0; i < 7; ++i) EXPECT_EQ(seven.Jaimini->Karakas.Ranked[i].Graha, withoutRahu[i]);

    AnalysisOptions options;
    options.KarakaScheme = 9;
    EXPECT_THROW(RunAnalysis(form, options), std::invalid_argument);
}

TEST(JaiminiJson, CopiesShareTheDerivationsAndNoToolkitMeansNoKeys) {
    const FormInput form = velmora::testing::DelhiForm("RAVI KUMAR");
    std::optional<BirthAnalysis> copy;
    std::string text;
    {
        const BirthAnalysis a = Analysed(form);
        text = std::string(a.Why->ArudhaLagna().Text);
        copy = a;
    }
    // The original is gone; the copy's texts still read.
    EXPECT_EQ(copy->Why->ArudhaLagna().Text, text);

    AnalysisOptions options;
    options.Toolkit = false;
    const BirthAnalysis bare = RunAnalysis(form, options).Result;
    EXPECT_FALSE(bare.Jaimini);
    EXPECT_FALSE(bare.Why);
    const rapidjson::Document o = Parsed(AnalysisJson(bare));
    for (const char* key :
         {"charaKarakas", "karakamsa", "rashiDrishti", "argala", "grahaArudhas", "charaDasha", "explain"})
        EXPECT_FALSE(o.HasMember(key)) << key;
    // The tools without their derivations: no explain.
    options.Toolkit = true;
    options.Derivations = false;
    const rapidjson::Document tools = Parsed(AnalysisJson(RunAnalysis(form, options).Result));
    EXPECT_TRUE(tools.HasMember("charaDasha"));
    EXPECT_FALSE(tools.HasMember("explain"));
}
