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

std::optional<SignProfileView> ProfileOf(int signNumber) {
    if (signNumber < 1 || signNumber > 12) return std::nullopt;
    const auto row = static_cast<std::size_t>(signNumber - 1);
    SignProfileView view;
    view.SignNumber = signNumber;
    view.Row = &kProfiles[row];
    view.Character = {kCharacterTexts[Looks][row], kCharacterTexts[Nature][row], kCharacterTexts[CareerAndFinance][row],
                      kCharacterTexts[LoveAndDomesticLife][row], kCharacterTexts[Health][row]};
    return view;
}

}  // namespace velmora::analysis
