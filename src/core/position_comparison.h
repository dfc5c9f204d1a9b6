#pragma once

#include <array>
#include <optional>
#include <string>

#include "astro/engine.h"
#include "model/names.h"

namespace velmora::core {

// One body of a precise run beside what the formulas give for it.
struct PositionComparison {
    std::string FormulaPosition;  // the formulas' position text, "12 Tau 03"
    double Difference = 0;        // formula minus precise, degrees, in (-180, 180]
    bool SignDiffers = false;     // the two longitudes fall in different signs
};

// Every body of a precise run beside the formulas' run for the same moment,
// in body order.
std::array<PositionComparison, kBodyCount> ComparePositions(const astro::EnginePositions& precise,
                                                            const astro::EnginePositions& formulas);

// A difference in degrees to two decimals with its sign: "+0.42°",
// "−1.05°" (a true minus sign), "0.00°" when it rounds to nothing. UTF-8.
std::string DifferenceText(double degrees);

}  // namespace velmora::core
