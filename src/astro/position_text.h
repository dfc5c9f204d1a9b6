#pragma once

#include <string>
#include <string_view>

#include "model/inline_text.h"

namespace velmora::astro {

// "AriTauGemCanLeoVirLibScoSagCapAquPis", cut into three-letter pieces.
inline constexpr std::string_view kSignAbbreviations = "AriTauGemCanLeoVirLibScoSagCapAquPis";

// The abbreviation of sign index 0..11.
std::string_view SignAbbreviation(int signIndex);

// Sign index 0..11 of a three-letter abbreviation, or -1 when it names none
// (compared exactly, case-sensitively).
int SignIndexOfAbbreviation(std::string_view abbreviation);

// The sign index 0..11 of a longitude, exactly the sign its arc text names.
int SignIndexOfLongitude(double longitude);

// The arc text of a longitude: whole degrees within the sign, "° ", minutes,
// "' ", seconds, a double quote and a blank, then the sign abbreviation,
// e.g. 5° 7' 3" Tau. Every part is truncated, never rounded up.
std::string ArcTextOf(double longitude);

// Both texts of a longitude at once: the arc text, and the position text
// that PositionTextOf would cut from it.
using ArcText = InlineText<24>;
using PositionText = InlineText<16>;
void FormatLongitude(double longitude, ArcText& arcText, PositionText& positionText);

// The nine-character position text cut from an arc text: two-digit degrees,
// blank, abbreviation, blank, two-digit minutes, e.g. "05 Tau 07". Throws
// std::invalid_argument when the text has no degree sign or apostrophe.
std::string PositionTextOf(std::string_view arcText);

}  // namespace velmora::astro
