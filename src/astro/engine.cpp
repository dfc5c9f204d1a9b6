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

// The formula longitudes of a moment, each within [0, 360): the formulas can
// leave a full turn (Ketu opposite a node at exactly 180 degrees), which is
// Aries again.
std::array<double, kBodyCount> FormulaLongitudes(const BirthMoment& moment, double& siderealCorrection) {
    std::array<double, kBodyCount> longitudes{};
    const AscendantResult ascendant = ComputeAscendant(moment);
    siderealCorrection = ascendant.SiderealCorrection;
    longitudes[Ascendant] = ascendant.Longitude;
    longitudes[Moon] = ComputeMoon(moment);
    ComputePlanetPositions(moment, siderealCorrection, longitudes);
    for (double& longitude : longitudes) {
        if (longitude >= 360) longitude -= 360;
        if (longitude < 0) longitude += 360;
    }
    return longitudes;
}

}  // namespace

std::array<double, kBodyCount> FormulaSpeeds(const BirthMoment& moment,
                                             const std::array<double, kBodyCount>& longitudes) {
    ClearUpperVectorHalves();
    constexpr double kStepMinutes = 1;
    constexpr double kStepDays = kStepMinutes / 1440;
    // The planets read the universal clock through the offset, the Moon and
    // the ascendant through the universal time: move both by the step.
    BirthMoment later = moment;
    later.UniversalTime += kStepMinutes / 60;
    later.UtcOffsetSeconds -= static_cast<int>(kStepMinutes * 60);
    double correction = 0;
    const std::array<double, kBodyCount> next = FormulaLongitudes(later, correction);
    std::array<double, kBodyCount> speeds{};
    for (std::size_t body = 0; body < speeds.size(); ++body) {
        double change = next[body] - longitudes[body];
        if (change > 180) change -= 360;
        if (change < -180) change += 360;
        speeds[body] = change / kStepDays;
    }
    return speeds;
}

EnginePositions ComputeFormulaPositions(const BirthMoment& moment) {
    ClearUpperVectorHalves();
    EnginePositions p;
    p.UniversalTime = moment.UniversalTime;
    p.Longitudes = FormulaLongitudes(moment, p.SiderealCorrection);
    const std::array<bool, 5> flags = RetrogradeFlagsOn(moment.Clock);
    for (std::size_t k = 0; k < flags.size(); ++k) p.Retrograde[kRetrogradeBodies[k]] = flags[k];
    return p;
}

EnginePositions ComputeFormulaPositionsWithSpeeds(const BirthMoment& moment) {
    EnginePositions p = ComputeFormulaPositions(moment);
    p.Speeds = FormulaSpeeds(moment, p.Longitudes);
    return p;
}

EngineOutcome FormulaEngine::Compute(const BirthMoment& moment) const {
    EngineOutcome outcome;
    outcome.Positions = ComputeFormulaPositions(moment);
    return outcome;
}

EngineOutcome FormulaEngine::ComputeWithSpeeds(const BirthMoment& moment) const {
    EngineOutcome outcome;
    outcome.Positions = ComputeFormulaPositionsWithSpeeds(moment);
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
    p.Speeds = precise.Result.Speeds;
    for (std::size_t k = 0; k < kRetrogradeBodies.size(); ++k)
        p.Retrograde[kRetrogradeBodies[k]] = precise.Result.Retrograde[k];
    return outcome;
}

}  // namespace velmora::astro
