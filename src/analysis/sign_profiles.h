#pragma once

#include <array>
#include <optional>
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

// The profile of one sign: its row of the table and its five character
// texts (looks, nature, career and finance, love and domestic life, health).
struct SignProfileView {
    int SignNumber = 0;
    const SignProfile* Row = nullptr;
    std::array<std::string_view, 5> Character{};
};

// The profile of sign number 1..12; nothing for any other number.
std::optional<SignProfileView> ProfileOf(int signNumber);

}  // namespace velmora::analysis
