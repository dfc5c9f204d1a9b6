#pragma once

#include <array>
#include <string_view>

namespace velmora::analysis {

// One Arudha pada: the image of a house, found from where the house's lord
// stands. Sign numbers run 1..12 (Aries .. Pisces).
struct Pada {
    int House = 0;      // 1..12, counted from the ascendant's sign
    int HouseSign = 0;  // sign number of the house
    int Lord = 0;       // body index (kBodyNames) of the house's lord
    std::string_view LordName;
    int LordSign = 0;        // sign number the lord stands in
    int PadaSign = 0;        // sign number of the pada
    std::string_view Label;  // "AL", "A2" .. "A11", "UL"
};

// Labels of the twelve padas, house order: the Arudha Lagna, A2 .. A11, the
// upapada.
inline constexpr std::array<std::string_view, 12> kPadaLabels{"AL", "A2", "A3", "A4",  "A5",  "A6",
                                                              "A7", "A8", "A9", "A10", "A11", "UL"};

// The body index of a sign's lord (Mars for Scorpio, Saturn for Aquarius).
// signNumber runs 1..12.
int SignLordBody(int signNumber);

// The twelve padas from the sign numbers (1..12) of the ten bodies in body
// order, the ascendant last. Each house uses the Arudha Lagna's counting rule
// with the house's sign in place of the ascendant's, so the entry of house 1
// is the Arudha Lagna itself. A sign number outside 1..12 is taken modulo 12.
std::array<Pada, 12> ArudhaPadas(const std::array<int, 10>& bodySigns);

}  // namespace velmora::analysis
