#pragma once

#include <optional>
#include <string>
#include <vector>

#include "astro/engine.h"
#include "model/moment.h"
#include "model/names.h"

namespace velmora::core {

// The formula positions laid beside the precise ephemeris (Swiss Ephemeris,
// Lahiri, mean node) at the same moment: the bodies the precise ephemeris
// puts in another sign. The formula positions themselves stay as they are;
// Rahu, for one, trails the mean node by about 0.92 degrees by design of the
// formulas, which gives another node sign for some two weeks around every
// node ingress.
struct PrecisePlacement {
    Body Which = Sun;
    int FormulaSign = 0;          // 1..12
    int PreciseSign = 0;          // 1..12
    double PreciseLongitude = 0;  // sidereal degrees
};

struct PreciseCheck {
    // False when the precise ephemeris could not be run (its data files are
    // missing, or the moment lies outside them): Error says why.
    bool Ran = false;
    std::string Error;
    std::vector<PrecisePlacement> Differing;  // body order
};

// The check of formula positions worked out for `moment`.
PreciseCheck CheckAgainstPrecise(const BirthMoment& moment, const astro::EnginePositions& formulaPositions);

// "the precise ephemeris places Rahu in Taurus".
std::string PrecisePlacementText(const PrecisePlacement& placement);

}  // namespace velmora::core
