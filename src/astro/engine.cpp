#include "astro/engine.h"

#include "astro/ascendant.h"
#include "astro/ephemeris.h"
#include "astro/moon.h"
#include "astro/retrograde.h"

namespace velmora::astro {

EnginePositions ComputeFormulaPositions(const BirthMoment& moment) {
    EnginePositions p;
    p.UniversalTime = moment.UniversalTime;
    const AscendantResult ascendant = ComputeAscendant(moment);
    p.SiderealCorrection = ascendant.SiderealCorrection;
    p.Longitudes[Ascendant] = ascendant.Longitude;
    p.Longitudes[Moon] = ComputeMoon(moment);
    ComputePlanetPositions(moment, p.SiderealCorrection, p.Longitudes);
    const std::array<bool, 5> flags = RetrogradeFlagsOn(LocalCalendarTime(moment));
    for (std::size_t k = 0; k < flags.size(); ++k) p.Retrograde[kRetrogradeBodies[k]] = flags[k];
    return p;
}

EngineOutcome FormulaEngine::Compute(const BirthMoment& moment) const {
    EngineOutcome outcome;
    outcome.Positions = ComputeFormulaPositions(moment);
    return outcome;
}

}  // namespace velmora::astro
