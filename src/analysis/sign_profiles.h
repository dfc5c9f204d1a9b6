#pragma once

#include <array>
#include <string>
#include <string_view>

namespace velmora::analysis {

// The short descriptive columns of one sign.
struct SignProfile {
    std::string_view VedicName;
    std::string_view EnglishName;
    std::string_view Abbreviation;
    std::string_view RulingPlanet;
    std::string_view Symbol;
    std::string_view Element;
    std::string_view Colour;
    std::string_view SignType;
    std::string_view Gender;
    std::string_view BestPeriod;
    std::string_view Fruitfulness;
    std::string_view Caste;
    std::string_view Position;
    std::string_view ConstituentCharacter;
    std::string_view LuckyDays;
    std::string_view LuckyNumbers;
    std::string_view BestDirection;
    std::string_view LuckyColours;
    std::string_view LuckyGemstone;
    std::string_view BodyPart;
    std::string_view Physique;
    std::string_view CompatibleWith;
    std::string_view NotCompatibleWith;
};

// Twelve rows, Aries (row 0) to Pisces (row 11).
using SignProfileTable = std::array<SignProfile, 12>;

// The fixed profile table (constant data, built once).
const SignProfileTable& LoadSignProfiles();

inline constexpr int kProfileControlCount = 29;

// Object names of the profile controls of the result window, in the order
// they are written.
extern const std::array<std::string_view, kProfileControlCount> kProfileControlNames;

// Caption above each profile control, same order.
extern const std::array<std::string_view, kProfileControlCount> kProfileCaptions;

// The 29 texts shown for the sign with this sign number (1..12), control
// order: the short columns, the five character texts, the two compatibility
// columns and, last, the sign's English name under "Your Arudha Lagna is".
// A sign number outside 1..12 gives nothing (all texts empty, `ok` false).
struct ProfileDisplay {
    bool Ok = false;
    std::array<std::string, kProfileControlCount> Texts;
};
ProfileDisplay ProfileRowDisplay(const SignProfileTable& table, int signNumber);

}  // namespace velmora::analysis
