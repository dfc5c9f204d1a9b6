// JSON is machine output: the same whatever month names the locale gives
// the window.

#include <gtest/gtest.h>

#include "core/analysis_json.h"
#include "core/pipeline.h"
#include "form_builders.h"

using namespace velmora;
using namespace velmora::core;

TEST(JsonLocale, TheDateOfBirthKeepsItsEnglishMonthWhateverTheWindowShows) {
    const MonthNameTable turkish{"Ocak",   "Şubat",   "Mart",  "Nisan", "Mayıs", "Haziran",
                                 "Temmuz", "Ağustos", "Eylül", "Ekim",  "Kasım", "Aralık"};
    AnalysisOptions local;
    local.MonthNames = &turkish;
    AnalysisOptions english;
    english.MonthNames = &EnglishMonthNames();
    const AnalysisOutcome there = RunAnalysis(velmora::testing::DelhiForm(), local);
    const AnalysisOutcome here = RunAnalysis(velmora::testing::DelhiForm(), english);
    ASSERT_FALSE(there.Rejected);
    EXPECT_EQ(there.Result.Display.Details.DateOfBirth, "Ocak/5/1980");  // the window's
    EXPECT_EQ(AnalysisJson(there.Result), AnalysisJson(here.Result));
    EXPECT_NE(AnalysisJson(there.Result).find("January/5/1980"), std::string::npos);
    std::string line;
    AppendAnalysisJson(line, there.Result, JsonLayout::Compact);
    EXPECT_NE(line.find("\"dateOfBirth\":\"January/5/1980\""), std::string::npos);
}
