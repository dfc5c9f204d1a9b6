#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace velmora::analysis {

inline constexpr std::uint32_t kReadingBlack = 0x000000;
inline constexpr std::uint32_t kReadingRed = 0x800000;  // RGB (128, 0, 0)

// One piece of text appended to the readings box, with its style.
struct TextRun {
    std::string Text;
    bool Bold = false;
    std::uint32_t Color = kReadingBlack;  // 0xRRGGBB

    bool operator==(const TextRun&) const = default;
};

// The house of a body counted from the Arudha Lagna (both sign indexes):
// 1, 2, 3, 6, 7, 8 or 11, or 0 for a house that no reading examines.
int HouseFromArudha(int bodySignIndex, int arudhaSignIndex);

// The readings for the bodies in the examined houses, in the order of the
// rule table, as runs appended one after another: each heading (bold) with
// one line break, then each sentence (plain black) with two line breaks; a
// heading without sentences gets two further line breaks.
std::vector<TextRun> ArudhaReadings(const std::array<std::int16_t, 11>& bodySign, int arudhaLagnaSign);

}  // namespace velmora::analysis
