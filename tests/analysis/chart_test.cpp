#include <gtest/gtest.h>

#include "analysis/chart.h"
#include "astro/position_text.h"

#include <cmath>
#include <vector>

using namespace velmora::analysis;

namespace {

// Longitudes with every body in the middle of the given sign index (body order).
std::array<double, 10> Longitudes(const std::array<int, 10>& signs) {
    std::array<double, 10> longitudes{};
    for (std::size_t i = 0; i < 10; ++i) longitudes[i] = signs[i] * 30 + 12.5;
    return longitudes;
}

}  // namespace

TEST(ArudhaLagna, RuleTableForEveryAscendant) {
    // Arudha Lagna house for the lord in houses 1..12, counted from the
    // ascendant's sign.
    constexpr int kArudhaHouse[12] = {10, 3, 5, 4, 9, 11, 10, 3, 5, 4, 9, 11};
    for (int ascendant = 1; ascendant <= 12; ++ascendant) {
        for (int house = 1; house <= 12; ++house) {
            const int lord = (ascendant + house - 2) % 12 + 1;
            const int expected = (ascendant + kArudhaHouse[house - 1] - 2) % 12 + 1;
            const int arudha = ArudhaLagnaSignOf(lord, ascendant);
            EXPECT_EQ(arudha, expected) << "ascendant " << ascendant << ", lord in house " << house;
            // Never the 1st or the 7th from the ascendant.
            const int fromAscendant = (arudha - ascendant + 12) % 12 + 1;
            EXPECT_NE(fromAscendant, 1);
            EXPECT_NE(fromAscendant, 7);
        }
    }
}

TEST(ArudhaLagna, CountingExamples) {
    EXPECT_EQ(ArudhaLagnaSignOf(3, 1), 5);   // Mars in Gemini for Aries: Leo
    EXPECT_EQ(ArudhaLagnaSignOf(1, 12), 2);  // Jupiter in Aries for Pisces: Taurus
    EXPECT_EQ(ArudhaLagnaSignOf(2, 2), 11);  // lord in its own sign: the 10th, Aquarius
    EXPECT_EQ(ArudhaLagnaSignOf(7, 1), 10);  // lord in the 7th: Capricorn, not Aries
    EXPECT_EQ(ArudhaLagnaSignOf(4, 1), 4);   // lord in the 4th: Cancer
    EXPECT_EQ(ArudhaLagnaSignOf(10, 1), 4);  // lord in the 10th: Cancer again
}

TEST(SignPlacement, LordsSignsAndArudha) {
    // Ascendant in Aries, Mars (its lord) in Gemini, the Sun with Mars.
    const std::array<int, 10> signs{2, 5, 6, 7, 2, 8, 9, 10, 4, 0};
    const ChartPlacement p = PlaceBodies(Longitudes(signs));
    EXPECT_EQ(p.AscendantLord, velmora::Mars);
    EXPECT_EQ(p.AscendantSign, 1);
    EXPECT_EQ(p.LordSign, 3);
    EXPECT_EQ(p.ArudhaLagnaSign, 5);
    for (std::size_t i = 0; i < 10; ++i) EXPECT_EQ(p.BodySign[i], signs[i] + 1);

    const BodiesInSign gemini = BodiesIn(p, 3);
    ASSERT_EQ(gemini.Count, 2);
    EXPECT_EQ(gemini.Bodies[0], velmora::Sun);  // body order
    EXPECT_EQ(gemini.Bodies[1], velmora::Mars);
    EXPECT_EQ(BodiesIn(p, 2).Count, 0);
}

TEST(SignPlacement, ScorpioAndAquariusLords) {
    EXPECT_EQ(PlaceBodies(Longitudes({0, 0, 0, 0, 0, 0, 0, 0, 0, 7})).AscendantLord, velmora::Mars);
    EXPECT_EQ(PlaceBodies(Longitudes({0, 0, 0, 0, 0, 0, 0, 0, 0, 10})).AscendantLord, velmora::Saturn);
    // Gemini ascendant, Mercury in Leo.
    const ChartPlacement gemini = PlaceBodies(Longitudes({4, 0, 4, 1, 1, 1, 1, 1, 7, 2}));
    EXPECT_EQ(gemini.AscendantLord, velmora::Mercury);
    EXPECT_EQ(gemini.LordSign, 5);
    EXPECT_EQ(gemini.ArudhaLagnaSign, ArudhaLagnaSignOf(5, 3));
}

TEST(SignPlacement, TheSignIsTheOneThePositionTextNames) {
    // At the edges of the signs and at a full turn the sign of a longitude is
    // the abbreviation its position text shows.
    using velmora::astro::ArcTextOf;
    using velmora::astro::PositionTextOf;
    using velmora::astro::SignIndexOfAbbreviation;
    std::vector<double> edges{0.0, 360.0, 359.99999999, 1e-12, 29.999999999, 30.0, 30 - 1.0 / 3600, 59.99999999999};
    for (int sign = 0; sign < 12; ++sign) {
        const double start = sign * 30.0;
        for (double x : {start, start + 29 + 59.0 / 60, start + 29 + 59.0 / 60 + 59.999 / 3600,
                         std::nextafter(start, 0.0), std::nextafter(start + 30, 0.0)}) {
            edges.push_back(x);
        }
    }
    for (double x = 0; x < 360; x += 0.37) edges.push_back(x);
    for (double x : edges) {
        if (x < 0) continue;
        std::array<double, 10> longitudes{};
        longitudes.fill(x);
        const ChartPlacement p = PlaceBodies(longitudes);
        const std::string position = PositionTextOf(ArcTextOf(x));
        EXPECT_EQ(p.BodySign[0], SignIndexOfAbbreviation(position.substr(3, 3)) + 1) << x << " " << position;
    }
    std::array<double, 10> fullTurn{};
    fullTurn.fill(360.0);
    EXPECT_EQ(PlaceBodies(fullTurn).BodySign[9], 1);
}
