#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace velmora::analysis {

inline constexpr int kSignCount = 12;

// Plain names of the ten bodies, body order.
inline constexpr std::array<std::string_view, 10> kBodyNames{"Sun",     "Moon",   "Mercury", "Venus", "Mars",
                                                             "Jupiter", "Saturn", "Rahu",    "Ketu",  "Asc"};

// The lord of each sign, sign index 0 (Aries) .. 11 (Pisces).
inline constexpr std::array<std::string_view, kSignCount> kSignLords{
    "Mars", "Venus", "Mercury", "Moon", "Sun", "Mercury", "Venus", "Mars", "Jupiter", "Saturn", "Saturn", "Jupiter"};

// English sign names, sign index order.
inline constexpr std::array<std::string_view, kSignCount> kSignNames{
    "Aries", "Taurus", "Gemini", "Cancer", "Leo", "Virgo", "Libra", "Scorpio", "Sagittarius", "Capricorn", "Aquarius",
    "Pisces"};

// Object names of the twelve sign boxes of the chart, sign index order.
inline constexpr std::array<std::string_view, kSignCount> kSignBoxNames{
    "lblAries", "lblTaurus",      "lblGemini",     "lblCancer",   "lblLeo",      "lblVirgo",
    "lblLibra", "lblScorpio",     "lblSagattarius", "lblCapricorn", "lblAquarius", "lblPisces"};

inline constexpr std::string_view kArudhaMarker = "Arudha Lagna";
inline constexpr std::string_view kLineBreak = "\r\n";

// The signs of one analysis. Sign numbers run 1..12, sign indexes 0..11.
struct ChartState {
    std::string AscendantLord;             // plain name of the ascendant's lord
    std::int16_t LordSign = 0;             // sign number of the lord
    std::int16_t AscendantSign = 0;        // sign number of the ascendant
    std::array<std::int16_t, 11> BodySign{};  // sign index of body 0..9; slot 10 unused
};

// What the chart of the result window shows.
struct ChartCaptions {
    std::array<std::string, kSignCount> SignBoxes;      // sign index order
    std::array<std::string, kSignCount> ArudhaMarkers;  // sign index order
};

// The Arudha Lagna sign number from the lord's and the ascendant's sign
// numbers: count from the lord as many signs as the lord stands from the
// ascendant; the 1st and 7th from the ascendant give way to the 10th and 4th.
int ArudhaLagnaSignOf(int lordSign, int ascendantSign);

// Finds the ascendant lord, places the bodies in the sign boxes (each as a
// line break and its display name, in body order), records their signs,
// derives the Arudha Lagna and marks it. Returns the Arudha Lagna sign
// number. A position whose sign abbreviation is unknown places nothing and
// leaves that body's values as they were.
int PlaceBodiesAndFindArudha(const std::array<std::string, 10>& planetPositions,
                             const std::array<std::string, 10>& displayNames, ChartState& state,
                             ChartCaptions& captions);

}  // namespace velmora::analysis
