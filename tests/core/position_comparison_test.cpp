#include <gtest/gtest.h>

#include <optional>

#include "core/position_comparison.h"

using namespace velmora;
using namespace velmora::core;

TEST(PositionComparison, DifferenceIsFormulaMinusPreciseTheShortWayRound) {
    struct {
        astro::EnginePositions Positions;
        std::optional<astro::EnginePositions> FormulaComparison;
    } a;
    a.Positions.Longitudes.fill(45.0);
    a.FormulaComparison.emplace();
    a.FormulaComparison->Longitudes.fill(45.0);
    // Sun: the formulas 0.42° behind, same sign.
    a.Positions.Longitudes[Sun] = 42.5;
    a.FormulaComparison->Longitudes[Sun] = 42.08;
    // Moon: across the start of the zodiac, Pisces against Aries.
    a.Positions.Longitudes[Moon] = 359.9;
    a.FormulaComparison->Longitudes[Moon] = 0.1;
    // Mars: the other way across it.
    a.Positions.Longitudes[Mars] = 0.3;
    a.FormulaComparison->Longitudes[Mars] = 359.5;
    // Ascendant: across a sign boundary inside the zodiac.
    a.Positions.Longitudes[Ascendant] = 30.05;
    a.FormulaComparison->Longitudes[Ascendant] = 29.95;

    const auto rows = std::optional(ComparePositions(a.Positions, *a.FormulaComparison));
    EXPECT_EQ((*rows)[Sun].FormulaPosition, "12 Tau 04");
    EXPECT_NEAR((*rows)[Sun].Difference, -0.42, 1e-9);
    EXPECT_FALSE((*rows)[Sun].SignDiffers);

    EXPECT_EQ((*rows)[Moon].FormulaPosition, "00 Ari 06");
    EXPECT_NEAR((*rows)[Moon].Difference, 0.2, 1e-9);
    EXPECT_TRUE((*rows)[Moon].SignDiffers);

    EXPECT_NEAR((*rows)[Mars].Difference, -0.8, 1e-9);
    EXPECT_TRUE((*rows)[Mars].SignDiffers);

    EXPECT_NEAR((*rows)[Ascendant].Difference, -0.1, 1e-9);
    EXPECT_TRUE((*rows)[Ascendant].SignDiffers);

    EXPECT_DOUBLE_EQ((*rows)[Jupiter].Difference, 0.0);
    EXPECT_FALSE((*rows)[Jupiter].SignDiffers);
}

TEST(PositionComparison, DifferenceTexts) {
    EXPECT_EQ(DifferenceText(0.42), "+0.42\xC2\xB0");
    EXPECT_EQ(DifferenceText(-0.42),
              "\xE2\x88\x92"
              "0.42\xC2\xB0");  // a true minus sign
    EXPECT_EQ(DifferenceText(-12.345),
              "\xE2\x88\x92"
              "12.35\xC2\xB0");
    EXPECT_EQ(DifferenceText(0.004), "0.00\xC2\xB0");
    EXPECT_EQ(DifferenceText(-0.004), "0.00\xC2\xB0");  // no sign on what rounds to nothing
    EXPECT_EQ(DifferenceText(180.0), "+180.00\xC2\xB0");
}
