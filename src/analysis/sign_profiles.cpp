#include "analysis/sign_profiles.h"

#include "analysis/character_texts.h"

namespace velmora::analysis {

namespace {

// Columns: Vedic name, English name, abbreviation, ruling planet, symbol,
// element, colour; type of sign, gender, best period of activity,
// fruitfulness, caste, position, constituent character; lucky days, lucky
// numbers, best direction, lucky colours, lucky gemstone, part of the body,
// physique; compatible with, not compatible with.
constexpr SignProfileTable kProfiles{{
    {"Mesha", "Aries", "Ari", "Mars", "The Ram", "Fire", "Red, Brown, Copper", "Movable", "Male", "Night", "Barren", "Kshatriya", "Dwara", "Mineral (Dhatu)", "Monday, Tuesday", "9, 1", "East", "Red, Brown, Copper", "Coral", "Head", "Short", "Leo, Sagittarius, Gemini, Aquarius, Libra", "Scorpio, Pisces, Cancer"},
    {"Vrishabha", "Taurus", "Tau", "Venus", "The Bull", "Earth", "White", "Fixed", "Female", "Night", "Semi-Fruitful", "Vaisya", "Bahya", "Vegetable (Moola)", "Thursday, Friday", "2, 8", "South", "Pink, Green", "Diamond", "Face", "Short", "Cancer, Virgo, Scorpio, Capricorn, Pisces", "Gemini, Aquarius, Libra"},
    {"Mithuna", "Gemini", "Gem", "Mercury", "The Twins", "Air", "Green", "Mixed", "Female", "Night", "Barren", "Sudra", "Garbha", "Animal (Jeeva)", "Monday, Wednesday", "3, 7", "West", "Yellow, Purple, Blue", "Emerald", "Shoulders", "Even", "Aries, Leo, Libra, Sagittarius, Aquarius", "Taurus, Virgo, Capricorn"},
    {"Kataka", "Cancer", "Can", "Moon", "The Crab", "Water", "Pink", "Movable", "Female", "Night", "Fruitful", "Brahmana", "Dwara", "Mineral (Dhatu)", "Monday, Thursday", "2, 7, 9", "North", "White, Red, Yellow", "Pearl", "Chest", "Even", "Virgo, Scorpio, Capricorn, Pisces, Taurus", "Aries, Leo, Sagittarius"},
    {"Simha", "Leo", "Leo", "Sun", "The Lion", "Fire", "White", "Fixed", "Male", "Day", "Barren", "Kshatriya", "Bahya", "Vegetable (Moola)", "Sunday, Monday", "1, 4, 5, 9", "East", "Orange, Red, Green", "Ruby", "Heart & Stomach", "Tall", "Libra, Sagittarius, Aquarius, Aries, Gemini", "Scorpio, Pisces, Cancer"},
    {"Kanya", "Virgo", "Vir", "Mercury", "The Virgin", "Earth", "Multicolored", "Mixed", "Female", "Day", "Barren", "Vaisya", "Garbha", "Animal (Jeeva)", "Wednesday, Friday", "2, 3, 5, 6", "South", "Green", "Emerald", "Abdomen", "Tall", "Scorpio, Capricorn, Pisces, Cancer", "Gemini, Aquarius, Libra"},
    {"Thula", "Libra", "Lib", "Venus", "The Balance", "Air", "Black", "Movable", "Male", "Day", "Semi-Fruitful", "Sudra", "Dwara", "Mineral (Dhatu)", "Friday, Wednesday, Thursday", "1, 2, 4", "West", "White, Green, Yellow", "Diamond", "Lower Abdomen & Groin", "Tall", "Sagittarius, Aquarius, Aries, Gemini, Leo", "Taurus, Virgo, Capricorn"},
    {"Vrischika", "Scorpio", "Sco", "Mars", "The Scorpion", "Water", "Reddish Brown", "Fixed", "Female", "Day", "Fruitful", "Brahmana", "Bahya", "Vegetable (Moola)", "Monday, Tuesday, Thursday", "3, 7, 9", "North", "Brown, Red, Yellow, White", "Coral", "External Genitalia", "Tall", "Capricorn, Pisces, Taurus, Cancer, Virgo", "Aries, Leo, Sagittarius"},
    {"Dhanus", "Sagittarius", "Sag", "Jupiter", "The Archer", "Fire", "Yellowish brown", "Mixed", "Male", "Night", "Semi-Fruitful", "Kshatriya", "Garbha", "Animal (Jeeva)", "Sunday, Thursday", "3, 5, 6, 8", "East", "Yellow, Gray, Brown", "Yellow Sapphire", "Thighs", "Even", "Aquarius, Aries, Gemini, Leo, Libra", "Scorpio, Pisces, Cancer"},
    {"Makara", "Capricorn", "Cap", "Saturn", "The Crocodile", "Earth", "Multicolored", "Movable", "Female", "Night", "Barren", "Vaisya", "Dwara", "Mineral (Dhatu)", "Saturday, Wednesday", "6, 8, 9", "South", "Black, Blue", "Blue Sapphire", "Knees", "Even", "Pisces, Taurus, Cancer, Virgo, Scorpio", "Gemini, Aquarius, Libra"},
    {"Kumbha", "Aquarius", "Aqu", "Saturn", "The Water Carrier", "Air", "Deep Brown", "Fixed", "Male", "Day", "Semi-Fruitful", "Sudra", "Bahya", "Vegetable (Moola)", "Thursday, Friday, Saturday", "2, 3, 7, 9", "West", "Blue, Black", "Blue Sapphire", "Calves", "Short", "Aquarius, Libra, Gemini", "Taurus, Virgo, Capricorn"},
    {"Meena", "Pisces", "Pis", "Jupiter", "The Double Fish", "Water", "Blue", "Mixed", "Female", "Day", "Fruitful", "Brahmana", "Garbha", "Animal (Jeeva)", "Thursday, Monday, Tuesday", "1, 3, 4", "North", "Pink, Cream", "Yellow Sapphire", "Feet", "Short", "Taurus, Cancer, Virgo, Scorpio, Capricorn", "Aries, Leo, Sagittarius"},
}};

}  // namespace

const SignProfileTable& LoadSignProfiles() { return kProfiles; }

const std::array<std::string_view, kProfileControlCount> kProfileControlNames{
    "lblArudhaLagnaPresentInSign", "lblVedicName",         "lblEnglishName",
    "lblRullingPlanet",            "lblSymbol",            "lblNature",
    "lblColor",                    "lblTypeOfSign",        "lblGender",
    "lblBestPeriodOfActivity",     "lblBarren",            "lblCaste",
    "lblPosition",                 "lblConstituentCharacter", "lblLuckyDays",
    "lblLuckyNumbers",             "lblBestDirection",     "lblLuckyColors",
    "lblLuckyGemstone",            "lblPartOfTheBody",     "lblPhysique",
    "txtLooks",                    "txtNature",            "txtCareerAndFinance",
    "txtLoveAndDomesticLife",      "txtHealth",            "lblCompatibleWith",
    "lblNotCompatibleWith",        "lblYourArudhaLagnais"};

const std::array<std::string_view, kProfileControlCount> kProfileCaptions{
    "Arudha Lagna Present In Sign", "Vedic Name",        "English Name",
    "Ruling Planet",                "Symbol",            "Nature",
    "Color",                        "Type Of Sign",      "Gender",
    "Best Period Of Activity",      "Barren",            "Caste",
    "Position",                     "Constituent Character", "Lucky Days",
    "Lucky Numbers",                "Best Direction",    "Lucky Colors",
    "Lucky Gemstone",               "Part Of The Body",  "Physique",
    "Looks",                        "Nature",            "Career And Finance",
    "Love And Domestic Life",       "Health",            "Compatible With",
    "Not Compatible With",          "Your Arudha Lagna is"};

ProfileDisplay ProfileRowDisplay(const SignProfileTable& table, int signNumber) {
    ProfileDisplay display;
    if (signNumber < 1 || signNumber > 12) return display;
    const auto row = static_cast<std::size_t>(signNumber - 1);
    const SignProfile& p = table[row];
    const std::array<std::string_view, kProfileControlCount> texts{
        p.EnglishName,  p.VedicName,     p.EnglishName,  p.RulingPlanet,  p.Symbol,      p.Element,
        p.Colour,       p.SignType,      p.Gender,       p.BestPeriod,    p.Fruitfulness, p.Caste,
        p.Position,     p.ConstituentCharacter,          p.LuckyDays,     p.LuckyNumbers, p.BestDirection,
        p.LuckyColours, p.LuckyGemstone, p.BodyPart,     p.Physique,
        kCharacterTexts[Looks][row],               kCharacterTexts[Nature][row],
        kCharacterTexts[CareerAndFinance][row],    kCharacterTexts[LoveAndDomesticLife][row],
        kCharacterTexts[Health][row],
        p.CompatibleWith, p.NotCompatibleWith,
        // The label under "Your Arudha Lagna is" completes the sentence.
        p.EnglishName};
    for (std::size_t i = 0; i < texts.size(); ++i) display.Texts[i] = std::string(texts[i]);
    display.Ok = true;
    return display;
}

}  // namespace velmora::analysis
