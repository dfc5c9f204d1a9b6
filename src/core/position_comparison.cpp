#include "core/position_comparison.h"

#include <cmath>
#include <cstdio>

#include "astro/position_text.h"

namespace velmora::core {

namespace {

// a - b folded into (-180, 180].
double SignedArc(double a, double b) {
    double d = std::fmod(a - b, 360.0);
    if (d <= -180) d += 360;
    if (d > 180) d -= 360;
    return d;
}

}  // namespace

std::array<PositionComparison, kBodyCount> ComparePositions(const astro::EnginePositions& precisePositions,
                                                            const astro::EnginePositions& formulaPositions) {
    std::array<PositionComparison, kBodyCount> rows{};
    for (std::size_t body = 0; body < rows.size(); ++body) {
        const double precise = precisePositions.Longitudes[body];
        const double formula = formulaPositions.Longitudes[body];
        PositionComparison& row = rows[body];
        row.FormulaPosition = astro::PositionTextOf(astro::ArcTextOf(formula));
        row.Difference = SignedArc(formula, precise);
        row.SignDiffers = astro::SignIndexOfLongitude(formula) != astro::SignIndexOfLongitude(precise);
    }
    return rows;
}

std::string DifferenceText(double degrees) {
    const long hundredths = std::lround(degrees * 100);
    const long magnitude = hundredths < 0 ? -hundredths : hundredths;
    char digits[32];
    std::snprintf(digits, sizeof digits, "%ld.%02ld\xC2\xB0", magnitude / 100, magnitude % 100);
    if (hundredths == 0) return digits;
    return std::string(hundredths < 0 ? "\xE2\x88\x92" : "+") + digits;
}

}  // namespace velmora::core
