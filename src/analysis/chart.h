#pragma once

#include <array>

#include "model/names.h"

namespace velmora::analysis {

using velmora::kSignCount;

// Where the bodies stand and what the Arudha rule derives from it. Sign
// numbers run 1..12 (Aries .. Pisces).
struct ChartPlacement {
    std::array<int, kBodyCount> BodySign{};  // sign number of each body, body order
    int AscendantSign = 0;
    Body AscendantLord = Sun;  // the lord of the ascendant's sign
    int LordSign = 0;          // the sign the lord stands in
    int ArudhaLagnaSign = 0;

    bool operator==(const ChartPlacement&) const = default;
};

// The Arudha Lagna sign number from the lord's and the ascendant's sign
// numbers: count from the lord as many signs as the lord stands from the
// ascendant; the 1st and 7th from the ascendant give way to the 10th and 4th.
int ArudhaLagnaSignOf(int lordSign, int ascendantSign);

// Places the ten bodies by their sidereal longitudes (body order), finds the
// ascendant's lord and derives the Arudha Lagna. A body's sign is the sign
// its position text names (a full 360 degrees is Aries).
ChartPlacement PlaceBodies(const std::array<double, kBodyCount>& longitudes);

// The bodies standing in sign number 1..12, in body order.
struct BodiesInSign {
    std::array<Body, kBodyCount> Bodies{};
    int Count = 0;
};
BodiesInSign BodiesIn(const ChartPlacement& placement, int signNumber);

}  // namespace velmora::analysis
