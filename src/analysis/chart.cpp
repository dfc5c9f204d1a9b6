#include "analysis/chart.h"

#include "astro/position_text.h"

namespace velmora::analysis {

int ArudhaLagnaSignOf(int lordSign, int ascendantSign) {
    int d = 2 * (lordSign - ascendantSign);
    if (d < 0) d += 12;
    if (d > 12) d -= 12;
    if (d == 0 || d == 12) d = 9;
    int a = ascendantSign + d;
    while (a > 12) a -= 12;
    if (a - ascendantSign == 6 || a - ascendantSign == -6) {
        a += 9;
        while (a > 12) a -= 12;
    }
    return a;
}

ChartPlacement PlaceBodies(const std::array<double, kBodyCount>& longitudes) {
    ChartPlacement p;
    for (std::size_t body = 0; body < longitudes.size(); ++body) {
        p.BodySign[body] = astro::SignIndexOfLongitude(longitudes[body]) + 1;
    }
    p.AscendantSign = p.BodySign[Ascendant];
    p.AscendantLord = kSignLords[static_cast<std::size_t>(p.AscendantSign - 1)];
    p.LordSign = p.BodySign[p.AscendantLord];
    p.ArudhaLagnaSign = ArudhaLagnaSignOf(p.LordSign, p.AscendantSign);
    return p;
}

BodiesInSign BodiesIn(const ChartPlacement& placement, int signNumber) {
    BodiesInSign in;
    for (int body = 0; body < kBodyCount; ++body) {
        if (placement.BodySign[static_cast<std::size_t>(body)] == signNumber) {
            in.Bodies[static_cast<std::size_t>(in.Count++)] = static_cast<Body>(body);
        }
    }
    return in;
}

}  // namespace velmora::analysis
