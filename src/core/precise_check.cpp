#include "core/precise_check.h"

#include "astro/position_text.h"
#include "core/engine_settings.h"

namespace velmora::core {

PreciseCheck CheckAgainstPrecise(const BirthMoment& moment, const astro::EnginePositions& formulaPositions) {
    PreciseCheck check;
    EngineSettings precise;
    precise.Mode = EphemerisMode::Precise;
    const astro::EngineOutcome computed = EngineFor(precise).Compute(moment);
    if (!computed.Ok) {
        check.Error = computed.Error;
        return check;
    }
    check.Ran = true;
    for (std::size_t body = 0; body < kBodyCount; ++body) {
        const int formulaSign = astro::SignIndexOfLongitude(formulaPositions.Longitudes[body]) + 1;
        const double longitude = computed.Positions.Longitudes[body];
        const int preciseSign = astro::SignIndexOfLongitude(longitude) + 1;
        if (formulaSign != preciseSign)
            check.Differing.push_back({static_cast<Body>(body), formulaSign, preciseSign, longitude});
    }
    return check;
}

std::string PrecisePlacementText(const PrecisePlacement& placement) {
    return "the precise ephemeris places " + std::string(kBodyNames[placement.Which]) + " in " +
           std::string(SignNameOf(placement.PreciseSign));
}

}  // namespace velmora::core
