#pragma once

#include <array>
#include <string_view>
#include <vector>

#include "model/names.h"

namespace velmora::analysis {

// How a reading's heading is set apart: most headings are highlighted, the
// Moon's in the Arudha Lagna itself is plain.
enum class HeadingTone { Plain, Highlighted };

// One reading: a body in a house counted from the Arudha Lagna, its heading
// and the sentences that follow it (none, one or two).
struct Reading {
    Body Subject = Sun;
    int House = 0;  // 1 = the Arudha Lagna sign itself
    std::string_view Heading;
    HeadingTone Tone = HeadingTone::Highlighted;
    std::array<std::string_view, 2> Sentences{};
    int SentenceCount = 0;
    int Rule = -1;  // index of the rule that gave it (kReadingRules)

    bool operator==(const Reading&) const = default;
};

// The house of a body counted from the Arudha Lagna (both sign numbers or
// both sign indexes): 1, 2, 3, 6, 7, 8 or 11, or 0 for a house that no
// reading examines.
int HouseFromArudha(int bodySign, int arudhaSign);

// The readings for the bodies in the examined houses, in the order of the
// rule table. `bodySign` holds sign numbers 1..12, body order.
std::vector<Reading> ArudhaReadings(const std::array<int, kBodyCount>& bodySign, int arudhaLagnaSign);

}  // namespace velmora::analysis
