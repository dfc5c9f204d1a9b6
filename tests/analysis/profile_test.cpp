#include <gtest/gtest.h>

#include <set>

#include "analysis/character_texts.h"
#include "analysis/sign_profiles.h"
#include "core/driver.h"

using namespace velmora;
using namespace velmora::analysis;

TEST(SignProfiles, AriesRowInControlOrder) {
    const ProfileDisplay d = ProfileRowDisplay(LoadSignProfiles(), 1);
    ASSERT_TRUE(d.Ok);
    const std::array<std::string, 21> shortColumns{
        "Aries",  "Mesha",  "Aries",   "Mars",   "The Ram",   "Fire", "Red, Brown, Copper",
        "Movable", "Male",  "Night",   "Barren", "Kshatriya", "Dwara", "Mineral (Dhatu)",
        "Monday, Tuesday", "9, 1", "East", "Red, Brown, Copper", "Coral", "Head", "Short"};
    for (std::size_t i = 0; i < shortColumns.size(); ++i) EXPECT_EQ(d.Texts[i], shortColumns[i]) << i;
    EXPECT_EQ(d.Texts[22], std::string(kCharacterTexts[Nature][0]));
    EXPECT_TRUE(d.Texts[22].starts_with("You are very independent and dynamic."));
    EXPECT_EQ(d.Texts[26], "Leo, Sagittarius, Gemini, Aquarius, Libra");
    EXPECT_EQ(d.Texts[27], "Scorpio, Pisces, Cancer");
    EXPECT_EQ(d.Texts[28], "Aries");
}

TEST(SignProfiles, PiscesRowAndTheControls) {
    const ProfileDisplay d = ProfileRowDisplay(LoadSignProfiles(), 12);
    ASSERT_TRUE(d.Ok);
    EXPECT_EQ(d.Texts[1], "Meena");
    EXPECT_EQ(d.Texts[3], "Jupiter");
    EXPECT_EQ(d.Texts[4], "The Double Fish");
    EXPECT_EQ(d.Texts[5], "Water");
    EXPECT_EQ(d.Texts[6], "Blue");
    EXPECT_EQ(d.Texts[10], "Fruitful");
    EXPECT_EQ(d.Texts[27], "Aries, Leo, Sagittarius");
    EXPECT_EQ(d.Texts[25], std::string(kCharacterTexts[Health][11]));

    EXPECT_EQ(kProfileControlNames.front(), "lblArudhaLagnaPresentInSign");
    EXPECT_EQ(kProfileControlNames[21], "txtLooks");
    EXPECT_EQ(kProfileControlNames.back(), "lblYourArudhaLagnais");
    EXPECT_EQ(kProfileCaptions[5], "Nature");
    EXPECT_EQ(kProfileCaptions[10], "Barren");
    EXPECT_EQ(std::set<std::string_view>(kProfileControlNames.begin(), kProfileControlNames.end()).size(), 29u);
}

TEST(SignProfiles, TableFacts) {
    const SignProfileTable& t = LoadSignProfiles();
    for (int sign = 1; sign <= 12; ++sign) {
        const ProfileDisplay d = ProfileRowDisplay(t, sign);
        EXPECT_EQ(d.Texts[0], d.Texts[2]);  // both show the English name
        EXPECT_EQ(t[static_cast<std::size_t>(sign - 1)].Abbreviation, t[static_cast<std::size_t>(sign - 1)].EnglishName.substr(0, 3));
    }
    EXPECT_EQ(t[10].CompatibleWith, "Aquarius, Libra, Gemini");
    EXPECT_EQ(t[4].Abbreviation, "Leo");
    EXPECT_EQ(t[1].Gender, "Female");
    EXPECT_EQ(t[2].Gender, "Female");
    EXPECT_EQ(t[3].Gender, "Female");
    EXPECT_EQ(t[7].RulingPlanet, "Mars");
    EXPECT_EQ(t[5].Colour, "Multicolored");
    for (int outside : {0, 13, -1}) {
        const ProfileDisplay d = ProfileRowDisplay(t, outside);
        EXPECT_FALSE(d.Ok);
        for (const std::string& text : d.Texts) EXPECT_TRUE(text.empty());
    }
}

TEST(BirthDetails, Formats) {
    BirthData b;
    b.Month = 1;
    b.Day = 5;
    b.Year = 1980;
    b.Hour = 9;
    b.Minute = 5;
    EXPECT_EQ(FormatDateOfBirth(b, SystemMonthName), "January/5/1980");
    EXPECT_EQ(FormatTimeOfBirth(b), "9:5");
    b.Hour = 17;
    b.Minute = 30;
    EXPECT_EQ(FormatTimeOfBirth(b), "17:30");
    EXPECT_EQ(FormatAngle(28, 36), "28\xC2\xB0 36'");
    EXPECT_EQ(FormatAngle(0, 0), "0\xC2\xB0 0'");
    EXPECT_EQ(SystemMonthName(12), "December");
    EXPECT_EQ(SystemMonthName(13), "");
}

TEST(Driver, FullAnalysisRecordForATypicalBirth) {
    FormInput f;
    f.Name = "ASHA";
    f.Day = "5";
    f.Year = "1980";
    f.Hour = "9";
    f.Minute = "5";
    f.ZoneRow = 34;
    f.LatitudeDegrees = "28";
    f.LatitudeMinutes = "36";
    f.South = true;
    f.LongitudeDegrees = "77";
    f.LongitudeMinutes = "12";
    f.City = "New Delhi";
    f.State = "Delhi";
    f.Country = "India";
    AnalysisState state;
    const AnalysisOutcome outcome = RunAnalysis(f, state, SystemMonthName);
    ASSERT_FALSE(outcome.Rejected);
    const AnalysisResult& r = outcome.Result;
    EXPECT_EQ(r.Details.Name, "ASHA");
    EXPECT_EQ(r.Details.DateOfBirth, "January/5/1980");
    EXPECT_EQ(r.Details.TimeOfBirth, "9:5");
    EXPECT_EQ(r.Details.Latitude, "28\xC2\xB0 36'");  // no hemisphere shown
    EXPECT_EQ(r.Details.Longitude, "77\xC2\xB0 12'");
    EXPECT_EQ(r.Details.City, "New Delhi");

    // Every body appears in exactly one box, under its display name.
    int lines = 0;
    for (const std::string& box : r.Chart.SignBoxes) {
        for (std::size_t at = box.find("\r\n"); at != std::string::npos; at = box.find("\r\n", at + 2)) ++lines;
    }
    EXPECT_EQ(lines, 10);
    ASSERT_GE(r.ArudhaLagnaSign, 1);
    ASSERT_LE(r.ArudhaLagnaSign, 12);
    EXPECT_EQ(r.Chart.ArudhaMarkers[static_cast<std::size_t>(r.ArudhaLagnaSign - 1)], "Arudha Lagna");
    EXPECT_EQ(r.ArudhaLagnaSign, ArudhaLagnaSignOf(state.Chart.LordSign, state.Chart.AscendantSign));
    EXPECT_TRUE(r.Profile.Ok);
    EXPECT_EQ(r.Profile.Texts[28], kSignNames[static_cast<std::size_t>(r.ArudhaLagnaSign - 1)]);
    EXPECT_EQ(r.Readings, ArudhaReadings(state.Chart.BodySign, r.ArudhaLagnaSign));
}
