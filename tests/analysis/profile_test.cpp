#include <gtest/gtest.h>

#include <set>

#include "analysis/character_texts.h"
#include "analysis/sign_profiles.h"
#include "core/display.h"
#include "core/analysis_json.h"

using namespace velmora;
using namespace velmora::core;
using namespace velmora::analysis;

namespace {

// The 29 texts the result window shows for a sign, as owned strings.
struct ProfileDisplay {
    bool Ok = false;
    std::array<std::string, kProfileFieldCount> Texts;
};

ProfileDisplay ProfileRowDisplay(const SignProfileTable&, int sign) {
    ProfileDisplay d;
    const std::optional<SignProfileView> view = ProfileOf(sign);
    if (!view) return d;
    d.Ok = true;
    const auto texts = ProfileTexts(*view);
    for (std::size_t i = 0; i < texts.size(); ++i) d.Texts[i] = std::string(texts[i]);
    return d;
}

}  // namespace

TEST(SignProfiles, AriesRowInControlOrder) {
    const ProfileDisplay d = ProfileRowDisplay(LoadSignProfiles(), 1);
    ASSERT_TRUE(d.Ok);
    const std::array<std::string, 21> shortColumns{"Aries",
                                                   "Mesha",
                                                   "Aries",
                                                   "Mars",
                                                   "The Ram",
                                                   "Fire",
                                                   "Red, Brown, Copper",
                                                   "Movable",
                                                   "Male",
                                                   "Night",
                                                   "Barren",
                                                   "Kshatriya",
                                                   "Dwara",
                                                   "Mineral (Dhatu)",
                                                   "Monday, Tuesday",
                                                   "9, 1",
                                                   "East",
                                                   "Red, Brown, Copper",
                                                   "Coral",
                                                   "Head",
                                                   "Short"};
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

    EXPECT_EQ(kProfileJsonKeys.front(), "arudhaLagnaPresentInSign");
    EXPECT_EQ(kProfileJsonKeys[3], "rulingPlanet");
    EXPECT_EQ(kProfileJsonKeys[21], "looksText");
    EXPECT_EQ(kProfileJsonKeys.back(), "yourArudhaLagnaIs");
    EXPECT_EQ(kProfileCaptions[5], "Nature");
    EXPECT_EQ(kProfileCaptions[10], "Barren");
    EXPECT_EQ(std::set<std::string_view>(kProfileJsonKeys.begin(), kProfileJsonKeys.end()).size(), 29u);
}

TEST(SignProfiles, TableFacts) {
    const SignProfileTable& t = LoadSignProfiles();
    for (int sign = 1; sign <= 12; ++sign) {
        const ProfileDisplay d = ProfileRowDisplay(t, sign);
        EXPECT_EQ(d.Texts[0], d.Texts[2]);  // both show the English name
        EXPECT_EQ(t[static_cast<std::size_t>(sign - 1)].Abbreviation,
                  t[static_cast<std::size_t>(sign - 1)].EnglishName.substr(0, 3));
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
