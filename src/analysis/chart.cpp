#include "analysis/chart.h"

#include "astro/position_text.h"

namespace velmora::analysis {

namespace {

// The sign abbreviation stands at characters 4 to 6 of a position text.
int SignIndexOfPosition(std::string_view position) {
    if (position.size() < 6) return -1;
    return astro::SignIndexOfAbbreviation(position.substr(3, 3));
}

}  // namespace

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

int PlaceBodiesAndFindArudha(const std::array<std::string, 10>& planetPositions,
                             const std::array<std::string, 10>& displayNames, ChartState& state,
                             ChartCaptions& captions) {
    const int ascendantIndex = SignIndexOfPosition(planetPositions[9]);
    if (ascendantIndex >= 0) state.AscendantLord = std::string(kSignLords[static_cast<std::size_t>(ascendantIndex)]);

    for (std::size_t body = 0; body < 10; ++body) {
        const int k = SignIndexOfPosition(planetPositions[body]);
        if (k < 0) continue;
        std::string& box = captions.SignBoxes[static_cast<std::size_t>(k)];
        box.append(kLineBreak);
        box.append(displayNames[body]);
        state.BodySign[body] = static_cast<std::int16_t>(k);
        if (kBodyNames[body] == state.AscendantLord) state.LordSign = static_cast<std::int16_t>(k + 1);
        if (body == 9) state.AscendantSign = static_cast<std::int16_t>(k + 1);
    }

    const int arudha = ArudhaLagnaSignOf(state.LordSign, state.AscendantSign);
    if (arudha >= 1 && arudha <= 12) captions.ArudhaMarkers[static_cast<std::size_t>(arudha - 1)] = kArudhaMarker;
    return arudha;
}

}  // namespace velmora::analysis
