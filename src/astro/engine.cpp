#include "astro/engine.h"

#include "astro/ascendant.h"
#include "astro/ephemeris.h"
#include "astro/moon.h"
#include "astro/retrograde.h"
#include "astro/time_conversion.h"

namespace velmora::astro {

namespace {

// Some C libraries copy memory with 512-bit registers and leave their upper
// halves dirty; on those processors every later SSE or AVX instruction then
// pays for merging with that state, and the trigonometry of the formulas
// runs several times slower. Clearing the upper halves first costs one
// instruction (only where the processor has them).
void ClearUpperVectorHalves() {
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
    static const bool hasAvx = __builtin_cpu_supports("avx");
    if (hasAvx) __asm__ __volatile__("vzeroupper" ::: "memory");
#endif
}

}  // namespace

EnginePositions ComputeFormulaPositions(const BirthMoment& moment) {
    ClearUpperVectorHalves();
    EnginePositions p;
    p.UniversalTime = moment.UniversalTime;
    const AscendantResult ascendant = ComputeAscendant(moment);
    p.SiderealCorrection = ascendant.SiderealCorrection;
    p.Longitudes[Ascendant] = ascendant.Longitude;
    p.Longitudes[Moon] = ComputeMoon(moment);
    ComputePlanetPositions(moment, p.SiderealCorrection, p.Longitudes);
    // Every longitude within [0, 360): the formulas can leave a full turn
    // (Ketu opposite a node at exactly 180 degrees), which is Aries again.
    for (double& longitude : p.Longitudes) {
        if (longitude >= 360) longitude -= 360;
        if (longitude < 0) longitude += 360;
    }
    const std::array<bool, 5> flags = RetrogradeFlagsOn(moment.Clock);
    for (std::size_t k = 0; k < flags.size(); ++k) p.Retrograde[kRetrogradeBodies[k]] = flags[k];
    return p;
}

EngineOutcome FormulaEngine::Compute(const BirthMoment& moment) const {
    EngineOutcome outcome;
    outcome.Positions = ComputeFormulaPositions(moment);
    return outcome;
}

EngineOutcome PreciseEngine::Compute(const BirthMoment& moment) const {
    EngineOutcome outcome;
    const PreciseOutcome precise = ComputePrecise(JulianDayUtOf(moment), moment.Latitude, moment.Longitude, settings_);
    if (!precise.Ok) {
        outcome.Ok = false;
        outcome.Error = precise.Error;
        return outcome;
    }
    EnginePositions& p = outcome.Positions;
    p.UniversalTime = moment.UniversalTime;
    p.SiderealCorrection = -precise.Result.AyanamsaDegrees;
    p.Longitudes = precise.Result.Longitudes;
    for (std::size_t k = 0; k < kRetrogradeBodies.size(); ++k)
        p.Retrograde[kRetrogradeBodies[k]] = precise.Result.Retrograde[k];
    return outcome;
}

}  // namespace velmora::astro
