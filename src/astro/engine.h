#pragma once

#include <array>
#include <string>

#include "astro/precise_engine.h"
#include "model/moment.h"
#include "model/names.h"

namespace velmora::astro {

// What an engine computes for one moment: every number the chart is built
// from. Longitudes are sidereal, in degrees, body order.
struct EnginePositions {
    double UniversalTime = 0;       // hours, as the moment gives it
    double SiderealCorrection = 0;  // degrees, negative; its magnitude is the ayanamsa
    std::array<double, kBodyCount> Longitudes{};
    std::array<bool, kBodyCount> Retrograde{};  // only Mercury .. Saturn are ever marked
    // Daily motion in sidereal longitude, degrees per day, negative while
    // moving backward; the ascendant's entry is its rate.
    std::array<double, kBodyCount> Speeds{};
};

// An engine's answer: the positions, or why it could not give them.
struct EngineOutcome {
    bool Ok = true;
    std::string Error;
    EnginePositions Positions;
};

// A source of positions. The analysis does not know which one ran.
class PositionEngine {
public:
    virtual ~PositionEngine() = default;
    // The positions; Speeds may be left at zero where they cost more.
    virtual EngineOutcome Compute(const BirthMoment& moment) const = 0;
    // The positions with every body's daily motion.
    virtual EngineOutcome ComputeWithSpeeds(const BirthMoment& moment) const { return Compute(moment); }
};

// The program's own formulas: the ascendant and its sidereal correction, the
// Moon, the Sun, planets and nodes, and the retrograde marks from the
// built-in station tables for the date as entered. Speeds are left at zero:
// they cost a second evaluation.
EnginePositions ComputeFormulaPositions(const BirthMoment& moment);
// The same with the speeds: forward differences of the same formulas over
// one minute (see FormulaSpeeds).
EnginePositions ComputeFormulaPositionsWithSpeeds(const BirthMoment& moment);

// The daily motions of the formula positions `longitudes` of `moment`: each
// longitude is computed again one minute later and the difference, taken the
// short way round, scaled to a day. One minute because the planets' formulas
// read the time to the minute; over that step the error of a forward
// difference is far below the formulas' own (the Moon's motion changes by at
// most about 0.0005 degrees a day in a minute).
std::array<double, kBodyCount> FormulaSpeeds(const BirthMoment& moment,
                                             const std::array<double, kBodyCount>& longitudes);

class FormulaEngine final : public PositionEngine {
public:
    EngineOutcome Compute(const BirthMoment& moment) const override;
    EngineOutcome ComputeWithSpeeds(const BirthMoment& moment) const override;
};

// The Swiss Ephemeris: apparent sidereal positions with the chosen ayanamsa
// and node, the ascendant from the houses routine, the retrograde marks from
// the sign of each planet's daily motion, the speeds from the library.
class PreciseEngine final : public PositionEngine {
public:
    explicit PreciseEngine(PreciseSettings settings) : settings_(std::move(settings)) {}
    EngineOutcome Compute(const BirthMoment& moment) const override;

private:
    PreciseSettings settings_;
};

}  // namespace velmora::astro
