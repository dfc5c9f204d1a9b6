#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "analysis/chart.h"
#include "analysis/dasha.h"
#include "astro/engine.h"
#include "model/moment.h"

namespace velmora::core {

// The sky at a moment over a birth chart.

inline constexpr int kTransitBodyCount = 9;  // Sun .. Ketu

// The house of `sign` counted from `fromSign`, the sign itself being house 1
// (both 1..12): 1..12.
int HouseCountedFrom(int sign, int fromSign);

struct TransitBody {
    Body Which = Sun;
    double Longitude = 0;  // sidereal degrees
    int Sign = 0;
    bool Retrograde = false;
    int HouseFromAscendant = 0;    // from the natal ascendant's sign
    int HouseFromArudhaLagna = 0;  // from the natal Arudha Lagna's sign
};

struct TransitSky {
    bool Ok = true;
    std::string Error;
    ClockReading Moment;  // universal time
    BirthMoment EngineMoment;
    std::array<TransitBody, kTransitBodyCount> Bodies{};
    // The natal dashas running at the moment; nothing before birth or after
    // the last period.
    std::optional<analysis::RunningDasha> Dasha;
    std::string_view MahaLord;  // empty without a running dasha
    std::string_view AntarLord;
};

// What the sky is laid against: the natal place, chart and dashas.
struct NatalFrame {
    const BirthMoment& Moment;
    const analysis::ChartPlacement& Chart;
    const analysis::DashaTable& Dasha;
};

// The nine bodies at a moment in universal time, at the birth place, by the
// given engine, placed against the natal ascendant and Arudha Lagna, with the
// natal dashas running then.
TransitSky TransitsAt(const NatalFrame& natal, const ClockReading& universalTime, const astro::PositionEngine& engine);

}  // namespace velmora::core
