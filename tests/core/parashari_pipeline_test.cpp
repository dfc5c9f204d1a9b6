// The Parashari tables as the analysis carries them and as the JSON writes
// them: the typed results of the engines for the analysis's own positions.

#include <gtest/gtest.h>
#include <rapidjson/document.h>

#include <random>
#include <regex>

#include "astro/time_conversion.h"
#include "core/analysis_json.h"
#include "core/form_builders.h"
#include "core/parashari_texts.h"
#include "core/pipeline.h"
#include "core/text_formats.h"

namespace {

using velmora::UtMoment;
using velmora::core::AnalysisOptions;
using velmora::core::BirthAnalysis;
namespace analysis = velmora::analysis;

BirthAnalysis Analysed(const AnalysisOptions& options = {},
                       velmora::core::FormInput form = velmora::testing::DelhiForm()) {
    const velmora::core::AnalysisOutcome outcome = velmora::core::RunAnalysis(form, options);
    EXPECT_FALSE(outcome.Rejected);
    return outcome.Result;
}

rapidjson::Document Parsed(const BirthAnalysis& a) {
    rapidjson::Document document;
    document.Parse(velmora::core::AnalysisJson(a, velmora::core::JsonLayout::Compact).c_str());
    EXPECT_FALSE(document.HasParseError());
    return document;
}

std::string Str(const rapidjson::Value& v) { return std::string(v.GetString(), v.GetStringLength()); }

const std::regex kMomentPattern(R"(\d{4}-\d{2}-\d{2}T\d{2}:\d{2}Z)");

TEST(ParashariPipeline, TablesAreTheEnginesResultsForTheChartsOwnPositions) {
    const BirthAnalysis a = Analysed();
    const auto& longitudes = a.Positions.Longitudes;
    const auto nakshatras = analysis::NakshatraPadas(longitudes);
    for (std::size_t body = 0; body < velmora::kBodyCount; ++body) {
        EXPECT_EQ(a.Nakshatras[body].Nakshatra, nakshatras[body].Nakshatra) << body;
        EXPECT_EQ(a.Nakshatras[body].Pada, nakshatras[body].Pada) << body;
    }
    EXPECT_EQ(a.Vargas, analysis::VargaSigns(longitudes));
    // The navamsa the toolkit always had is the D9 row.
    for (std::size_t body = 0; body < velmora::kBodyCount; ++body)
        EXPECT_EQ(a.Vargas[static_cast<std::size_t>(analysis::Varga::D9)][body], a.Navamsa[body]);

    const UtMoment birth = velmora::astro::UtMomentOf(a.Birth.Moment);
    const analysis::YoginiTable yogini = analysis::YoginiDashas(longitudes[velmora::Moon], birth);
    EXPECT_EQ(a.Yogini.First, yogini.First);
    EXPECT_DOUBLE_EQ(a.Yogini.BalanceYears, yogini.BalanceYears);
    EXPECT_EQ(a.Yogini.Periods.back().End, yogini.Periods.back().End);

    // 5 January 1980 was a Saturday; 09:05 in Delhi is after sunrise.
    EXPECT_EQ(a.Panchanga.Vara.Number, 7);
    const analysis::Panchanga limbs =
        analysis::PanchangaLimbs(longitudes[velmora::Sun], longitudes[velmora::Moon], std::chrono::year{1980} / 1 / 5);
    EXPECT_EQ(a.Panchanga.Tithi.Number, limbs.Tithi.Number);
    EXPECT_EQ(a.Panchanga.Karana.Number, limbs.Karana.Number);
    EXPECT_EQ(a.Panchanga.Yoga.Number, limbs.Yoga.Number);
    ASSERT_TRUE(a.Panchanga.Sunrise && a.Panchanga.Sunset) << a.Panchanga.SunEventsError;
    EXPECT_LT(*a.Panchanga.Sunrise, birth);
    EXPECT_EQ(a.Panchanga.SunriseText.substr(0, 3), "07:");

    // At birth every system runs its first period.
    ASSERT_TRUE(a.AtBirth.Vimshottari && a.AtBirth.Yogini);
    EXPECT_EQ(a.AtBirth.Vimshottari->Maha, 0u);
    EXPECT_EQ(a.AtBirth.Vimshottari->Antar, 0u);
    EXPECT_EQ(a.AtBirth.Yogini->Maha, 0u);
    EXPECT_FALSE(a.AtMoment);  // no moment asked for
}

TEST(ParashariPipeline, SpeedsComeWithTheToolkitAndLeaveTheChartAlone) {
    AnalysisOptions bare;
    bare.Toolkit = false;
    const BirthAnalysis without = Analysed(bare);
    const BirthAnalysis with = Analysed();
    EXPECT_EQ(with.Positions.Longitudes, without.Positions.Longitudes);
    EXPECT_EQ(with.Positions.Retrograde, without.Positions.Retrograde);
    EXPECT_EQ(with.Chart.BodySign, without.Chart.BodySign);
    // The Moon runs 12-15 degrees a day; retrograde Jupiter backward.
    EXPECT_GT(with.Positions.Speeds[velmora::Moon], 11);
    EXPECT_LT(with.Positions.Speeds[velmora::Moon], 16);
    EXPECT_LT(with.Positions.Speeds[velmora::Jupiter], 0);
    EXPECT_EQ(without.Positions.Speeds[velmora::Moon], 0);
}

TEST(ParashariPipeline, TheDashaYearStretchesBothSystems) {
    const BirthAnalysis julian = Analysed();
    EXPECT_EQ(julian.Dasha.Year, analysis::DashaYear::Julian);
    EXPECT_DOUBLE_EQ(julian.Dasha.YearDays, 365.25);
    for (analysis::DashaYear year : analysis::kAllDashaYears) {
        AnalysisOptions options;
        options.DashaYear = year;
        const BirthAnalysis a = Analysed(options);
        const double days = analysis::DaysPerYear(year);
        EXPECT_DOUBLE_EQ(a.Dasha.YearDays, days);
        EXPECT_DOUBLE_EQ(a.Yogini.YearDays, days);
        // Every period's length scales with the year; the birth stays put.
        const auto length = [](const BirthAnalysis& b, std::size_t m) {
            return (b.Dasha.Periods[m].End - b.Dasha.Periods[m].Start).count();
        };
        EXPECT_NEAR(length(a, 3) / length(julian, 3), days / 365.25, 1e-9);
        EXPECT_EQ(a.Dasha.Periods[0].Start, julian.Dasha.Periods[0].Start);
        const auto yoginiLength = [](const BirthAnalysis& b) {
            return (b.Yogini.Periods[2].End - b.Yogini.Periods[2].Start).count();
        };
        EXPECT_NEAR(yoginiLength(a) / yoginiLength(julian), days / 365.25, 1e-9);
        EXPECT_NE(velmora::core::DashaYearText(year).find(std::string(analysis::DashaYearKey(year))),
                  std::string::npos);
    }
}

TEST(ParashariPipeline, SunEventsOnlyWhenAskedAndTheRunningMomentsChosen) {
    AnalysisOptions options;
    options.SunEvents = false;
    options.TransitsAt = velmora::ClockReading{2025, 6, 1, 6, 30};
    BirthAnalysis a = Analysed(options);
    EXPECT_FALSE(a.SunEventsLookedUp);
    EXPECT_FALSE(a.Panchanga.Sunrise);
    EXPECT_TRUE(a.Panchanga.SunriseText.empty());
    EXPECT_EQ(a.Panchanga.Vara.Number, 7);  // the civil weekday without sunrise
    ASSERT_TRUE(a.AtMoment);
    EXPECT_EQ(a.AtMoment->Moment, velmora::astro::UtMomentOf(velmora::ClockReading{2025, 6, 1, 6, 30}));
    const auto running = analysis::RunningDashaAt(a.Dasha, a.AtMoment->Moment);
    ASSERT_TRUE(running && a.AtMoment->Vimshottari);
    EXPECT_EQ(a.AtMoment->Vimshottari->Maha, running->Maha);
    EXPECT_EQ(a.AtMoment->Vimshottari->Antar, running->Antar);
    EXPECT_EQ(a.AtMoment->Vimshottari->Pratyantar, running->Pratyantar);
    EXPECT_FALSE(a.AtMoment->Yogini);  // eight Yogini periods end before 2025 for this birth

    // An explicit moment wins over the transits'.
    options.DashasAt = velmora::astro::UtMomentOf(velmora::ClockReading{1990, 3, 1, 0, 0});
    a = Analysed(options);
    ASSERT_TRUE(a.AtMoment && a.AtMoment->Yogini);
    EXPECT_EQ(a.AtMoment->Moment, *options.DashasAt);
    const rapidjson::Document json = Parsed(a);
    EXPECT_TRUE(json["panchanga"]["sunrise"].IsNull());
    EXPECT_TRUE(json["panchanga"]["sunset"].IsNull());
}

TEST(ParashariPipeline, JsonCarriesTheTypedTables) {
    const BirthAnalysis a = Analysed();
    const rapidjson::Document json = Parsed(a);

    const auto& bodies = json["bodies"];
    for (rapidjson::SizeType i = 0; i < bodies.Size(); ++i) {
        EXPECT_DOUBLE_EQ(bodies[i]["speed"].GetDouble(), a.Positions.Speeds[i]);
        EXPECT_EQ(bodies[i]["nakshatra"].GetInt(), a.Nakshatras[i].Nakshatra);
        EXPECT_EQ(Str(bodies[i]["nakshatraName"]), a.Nakshatras[i].Name);
        EXPECT_EQ(bodies[i]["nakshatraPada"].GetInt(), a.Nakshatras[i].Pada);
    }

    // The vargas in their order, ten signs each.
    const auto& vargas = json["vargas"];
    std::size_t v = 0;
    for (auto it = vargas.MemberBegin(); it != vargas.MemberEnd(); ++it, ++v) {
        ASSERT_LT(v, analysis::kAllVargas.size());
        EXPECT_EQ(Str(it->name), analysis::VargaKey(analysis::kAllVargas[v]));
        ASSERT_EQ(it->value.Size(), 10u);
        for (rapidjson::SizeType body = 0; body < 10; ++body) EXPECT_EQ(it->value[body].GetInt(), a.Vargas[v][body]);
    }
    EXPECT_EQ(v, 16u);

    const auto& p = json["panchanga"];
    EXPECT_EQ(p["vara"]["number"].GetInt(), a.Panchanga.Vara.Number);
    EXPECT_EQ(Str(p["vara"]["name"]), "Shanivara");
    EXPECT_EQ(p["tithi"]["number"].GetInt(), a.Panchanga.Tithi.Number);
    EXPECT_EQ(Str(p["tithi"]["paksha"]), a.Panchanga.Tithi.Paksha);
    EXPECT_EQ(p["nakshatra"]["pada"].GetInt(), a.Nakshatras[velmora::Moon].Pada);
    EXPECT_EQ(p["yoga"]["number"].GetInt(), a.Panchanga.Yoga.Number);
    EXPECT_EQ(Str(p["karana"]["name"]), a.Panchanga.Karana.Name);
    EXPECT_EQ(Str(p["sunrise"]), a.Panchanga.SunriseText);
    EXPECT_EQ(Str(p["sunset"]), a.Panchanga.SunsetText);

    // The Vimshottari with its year, moments and pratyantars.
    const auto& dasha = json["dasha"];
    EXPECT_DOUBLE_EQ(dasha["yearDays"].GetDouble(), 365.25);
    ASSERT_EQ(dasha["periods"].Size(), a.Dasha.Periods.size());
    for (rapidjson::SizeType m = 0; m < dasha["periods"].Size(); ++m) {
        const auto& maha = dasha["periods"][m];
        const analysis::MahaDasha& typed = a.Dasha.Periods[m];
        EXPECT_EQ(Str(maha["startMoment"]), velmora::core::UtMomentText(typed.Start));
        EXPECT_EQ(Str(maha["endMoment"]), velmora::core::UtMomentText(typed.End));
        EXPECT_TRUE(std::regex_match(Str(maha["endMoment"]), kMomentPattern));
        EXPECT_EQ(Str(maha["startMoment"]).substr(0, 10), Str(maha["start"]));
        for (rapidjson::SizeType k = 0; k < maha["sub"].Size(); ++k) {
            const auto& antar = maha["sub"][k];
            const analysis::PratyantarList third = analysis::PratyantarsOf(a.Dasha, typed.Sub[k]);
            EXPECT_EQ(Str(antar["startMoment"]), velmora::core::UtMomentText(typed.Sub[k].Start));
            ASSERT_EQ(antar["sub"].Size(), third.size());
            for (rapidjson::SizeType i = 0; i < third.size(); ++i) {
                const auto& leaf = antar["sub"][i];
                EXPECT_EQ(Str(leaf["lord"]), analysis::kDashaLords[static_cast<std::size_t>(third[i].Lord)].Name);
                EXPECT_EQ(Str(leaf["endMoment"]), velmora::core::UtMomentText(third[i].End));
                EXPECT_EQ(Str(leaf["start"]), velmora::core::DateText(analysis::UtDateOf(third[i].Start)));
            }
        }
    }
    // The first pratyantar starts at the birth, cut there.
    EXPECT_EQ(Str(dasha["periods"][0]["sub"][0]["sub"][0]["startMoment"]), "1980-01-05T03:35Z");

    const auto& yogini = json["yoginiDasha"];
    EXPECT_EQ(Str(yogini["system"]), "yogini");
    EXPECT_DOUBLE_EQ(yogini["balanceYears"].GetDouble(), a.Yogini.BalanceYears);
    ASSERT_EQ(yogini["periods"].Size(), 8u);
    for (rapidjson::SizeType m = 0; m < 8; ++m) {
        const auto& maha = yogini["periods"][m];
        EXPECT_EQ(Str(maha["yogini"]), a.Yogini.Periods[m].YoginiName);
        EXPECT_EQ(Str(maha["lord"]), a.Yogini.Periods[m].LordName);
        EXPECT_EQ(maha["years"].GetInt(), a.Yogini.Periods[m].Years);
        EXPECT_EQ(maha["sub"].Size(), a.Yogini.Periods[m].Sub.size());
        EXPECT_EQ(Str(maha["end"]), velmora::core::DateText(analysis::UtDateOf(a.Yogini.Periods[m].End)));
    }
}

TEST(ParashariPipeline, TablesLeftOutLeaveEverythingElseAsItWas) {
    // Every front end that shows them gets them unless it says otherwise.
    EXPECT_TRUE(AnalysisOptions{}.ParashariTables);
    AnalysisOptions whole;
    whole.DashasAt = velmora::astro::UtMomentOf(velmora::ClockReading{1990, 3, 1, 0, 0});
    AnalysisOptions without = whole;
    without.ParashariTables = false;
    // What the JSON holds beside the tables, with the speeds taken out.
    auto rest = [](const BirthAnalysis& a) {
        rapidjson::Document json = Parsed(a);
        for (const char* key : {"vargas", "panchanga", "yoginiDasha"}) EXPECT_TRUE(json.RemoveMember(key)) << key;
        for (auto& body : json["bodies"].GetArray()) EXPECT_TRUE(body.RemoveMember("speed"));
        return json;
    };
    std::mt19937 random(5);
    for (int n = 0; n < 40; ++n) {
        const velmora::core::FormInput form =
            n == 0 ? velmora::testing::DelhiForm() : velmora::testing::RandomForm(random);
        const BirthAnalysis a = Analysed(whole, form);
        const BirthAnalysis b = Analysed(without, form);
        EXPECT_EQ(rest(a), rest(b)) << n;
        EXPECT_EQ(b.Positions.Longitudes, a.Positions.Longitudes);
        EXPECT_EQ(b.Positions.Retrograde, a.Positions.Retrograde);
        for (std::size_t body = 0; body < velmora::kBodyCount; ++body) {
            EXPECT_EQ(b.Nakshatras[body].Nakshatra, a.Nakshatras[body].Nakshatra);
            EXPECT_EQ(b.Nakshatras[body].Pada, a.Nakshatras[body].Pada);
        }
        EXPECT_TRUE(a.Why && b.Why);
        // Nothing of the tables is made, not even in part.
        EXPECT_EQ(b.Positions.Speeds, (std::array<double, velmora::kBodyCount>{}));
        EXPECT_EQ(b.Vargas, analysis::VargaTable{});
        EXPECT_EQ(b.Yogini.Nakshatra, 0);
        EXPECT_TRUE(b.Yogini.Periods[0].YoginiName.empty());
        EXPECT_EQ(b.Panchanga.Vara.Number, 0);
        EXPECT_FALSE(b.SunEventsLookedUp);
        EXPECT_FALSE(b.AtBirth.Vimshottari || b.AtBirth.Yogini);
        EXPECT_FALSE(b.AtMoment);
        ASSERT_TRUE(a.AtMoment);
        EXPECT_NE(a.Positions.Speeds[velmora::Moon], 0);
        EXPECT_NE(a.Vargas, analysis::VargaTable{});
    }
}

TEST(ParashariPipeline, MomentTextsDropTheSecondsAndCarryTheDate) {
    using namespace std::chrono;
    const UtMoment moment = UtMoment(sys_days(year{1999} / December / 31)) + hours(23) + minutes(59) + seconds(59);
    EXPECT_EQ(velmora::core::UtMomentText(moment), "1999-12-31T23:59Z");
    EXPECT_EQ(velmora::core::LocalMomentText(moment, 60), "2000-01-01 00:00");
    EXPECT_EQ(velmora::core::LocalMomentText(UtMoment(sys_days(year{2000} / January / 1)), -1), "1999-12-31 23:59");
    // Before 1970 the minute is still the one the moment lies in.
    EXPECT_EQ(velmora::core::UtMomentText(UtMoment(sys_days(year{1901} / March / 1)) - duration<double>(0.5)),
              "1901-02-28T23:59Z");
    // Rounding noise short of a minute is that minute.
    EXPECT_EQ(velmora::core::UtMomentText(UtMoment(sys_days(year{1980} / January / 5)) + minutes(215) -
                                          duration<double>(1e-6)),
              "1980-01-05T03:35Z");
    EXPECT_EQ(velmora::core::ArcSecondsText(359.99999), "359\u00B059'59\"");
    EXPECT_EQ(velmora::core::SpeedText(-0.03104), "-0.0310");
}

}  // namespace
