#pragma once

#include <array>
#include <string_view>

namespace velmora::analysis {

// The five character texts of each sign, addressed to the reader as "You".
enum CharacterColumn : int { Looks, Nature, CareerAndFinance, LoveAndDomesticLife, Health };

inline constexpr int kCharacterColumnCount = 5;

// kCharacterTexts[column][row], row 0 = Aries .. 11 = Pisces. Each text is one
// paragraph of plain ASCII sentences without line breaks, shown unchanged
// (doubled blanks included).
extern const std::array<std::array<std::string_view, 12>, kCharacterColumnCount> kCharacterTexts;

}  // namespace velmora::analysis
