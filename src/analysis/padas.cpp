#include "analysis/padas.h"

#include "analysis/chart.h"

namespace velmora::analysis {

namespace {

constexpr int kAscendantBody = 9;

int WrapSign(int sign) { return ((sign - 1) % kSignCount + kSignCount) % kSignCount + 1; }

}  // namespace

int SignLordBody(int signNumber) { return kSignLords[static_cast<std::size_t>(WrapSign(signNumber) - 1)]; }

std::array<Pada, 12> ArudhaPadas(const std::array<int, 10>& bodySigns) {
    const int ascendantSign = WrapSign(bodySigns[kAscendantBody]);
    std::array<Pada, 12> padas;
    for (int house = 1; house <= kSignCount; ++house) {
        Pada& pada = padas[static_cast<std::size_t>(house - 1)];
        pada.House = house;
        pada.HouseSign = WrapSign(ascendantSign + house - 1);
        pada.Lord = SignLordBody(pada.HouseSign);
        pada.LordName = kBodyNames[static_cast<std::size_t>(pada.Lord)];
        pada.LordSign = WrapSign(bodySigns[static_cast<std::size_t>(pada.Lord)]);
        pada.PadaSign = ArudhaLagnaSignOf(pada.LordSign, pada.HouseSign);
        pada.Label = kPadaLabels[static_cast<std::size_t>(house - 1)];
    }
    return padas;
}

}  // namespace velmora::analysis
