#include <gtest/gtest.h>

#include "analysis/chart.h"
#include "astro/position_text.h"

using namespace velmora::analysis;

namespace {

// Position texts with every body in the given sign index (body order).
std::array<std::string, 10> Positions(const std::array<int, 10>& signs) {
    std::array<std::string, 10> positions;
    for (std::size_t i = 0; i < 10; ++i)
        positions[i] = "12 " + std::string(velmora::astro::SignAbbreviation(signs[i])) + " 34";
    return positions;
}

std::array<std::string, 10> PlainNames() {
    std::array<std::string, 10> names;
    for (std::size_t i = 0; i < 10; ++i) names[i] = std::string(kBodyNames[i]);
    return names;
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
    EXPECT_EQ(ArudhaLagnaSignOf(3, 1), 5);    // Mars in Gemini for Aries: Leo
    EXPECT_EQ(ArudhaLagnaSignOf(1, 12), 2);   // Jupiter in Aries for Pisces: Taurus
    EXPECT_EQ(ArudhaLagnaSignOf(2, 2), 11);   // lord in its own sign: the 10th, Aquarius
    EXPECT_EQ(ArudhaLagnaSignOf(7, 1), 10);   // lord in the 7th: Capricorn, not Aries
    EXPECT_EQ(ArudhaLagnaSignOf(4, 1), 4);    // lord in the 4th: Cancer
    EXPECT_EQ(ArudhaLagnaSignOf(10, 1), 4);   // lord in the 10th: Cancer again
}

TEST(SignPlacement, LordsBoxesAndMarker) {
    // Ascendant in Aries, Mars (its lord) in Gemini, the Sun with Mars.
    std::array<int, 10> signs{2, 5, 6, 7, 2, 8, 9, 10, 4, 0};
    ChartState state;
    ChartCaptions captions;
    const int arudha = PlaceBodiesAndFindArudha(Positions(signs), PlainNames(), state, captions);
    EXPECT_EQ(state.AscendantLord, "Mars");
    EXPECT_EQ(state.AscendantSign, 1);
    EXPECT_EQ(state.LordSign, 3);
    EXPECT_EQ(arudha, 5);
    for (std::size_t i = 0; i < 10; ++i) EXPECT_EQ(state.BodySign[i], signs[i]);
    EXPECT_EQ(captions.SignBoxes[2], "\r\nSun\r\nMars");
    EXPECT_EQ(captions.SignBoxes[0], "\r\nAsc");
    EXPECT_EQ(captions.SignBoxes[1], "");
    int markers = 0;
    for (std::size_t k = 0; k < 12; ++k) {
        if (!captions.ArudhaMarkers[k].empty()) {
            ++markers;
            EXPECT_EQ(k, 4u);
            EXPECT_EQ(captions.ArudhaMarkers[k], "Arudha Lagna");
        }
    }
    EXPECT_EQ(markers, 1);
}

TEST(SignPlacement, ScorpioAndAquariusLordsAndARetrogradeLord) {
    ChartState state;
    ChartCaptions captions;
    PlaceBodiesAndFindArudha(Positions({0, 0, 0, 0, 0, 0, 0, 0, 0, 7}), PlainNames(), state, captions);
    EXPECT_EQ(state.AscendantLord, "Mars");
    PlaceBodiesAndFindArudha(Positions({0, 0, 0, 0, 0, 0, 0, 0, 0, 10}), PlainNames(), state, captions);
    EXPECT_EQ(state.AscendantLord, "Saturn");

    // Gemini ascendant, Mercury retrograde in Leo with the Sun: the box
    // shows the mark and the lord is found by its plain name.
    std::array<std::string, 10> names = PlainNames();
    names[2] = "Mercury (R) ";
    ChartState gemini;
    ChartCaptions box;
    const int arudha =
        PlaceBodiesAndFindArudha(Positions({4, 0, 4, 1, 1, 1, 1, 1, 7, 2}), names, gemini, box);
    EXPECT_EQ(gemini.AscendantLord, "Mercury");
    EXPECT_EQ(gemini.LordSign, 5);
    EXPECT_EQ(box.SignBoxes[4], "\r\nSun\r\nMercury (R) ");
    EXPECT_EQ(arudha, ArudhaLagnaSignOf(5, 3));
}

TEST(SignPlacement, UnplaceablePositionKeepsPreviousValues) {
    ChartState state;
    ChartCaptions first;
    PlaceBodiesAndFindArudha(Positions({1, 1, 1, 1, 1, 1, 1, 1, 7, 3}), PlainNames(), state, first);
    ASSERT_EQ(state.AscendantSign, 4);
    ASSERT_EQ(state.AscendantLord, "Moon");

    std::array<std::string, 10> broken = Positions({5, 5, 5, 5, 5, 5, 5, 5, 11, 5});
    broken[9] = "12 Xyz 34";
    broken[0] = "garbage";
    ChartCaptions second;
    PlaceBodiesAndFindArudha(broken, PlainNames(), state, second);
    EXPECT_EQ(state.AscendantSign, 4);
    EXPECT_EQ(state.AscendantLord, "Moon");
    EXPECT_EQ(state.BodySign[0], 1);  // the Sun was not placed this time
    EXPECT_EQ(state.BodySign[1], 5);
    EXPECT_EQ(second.SignBoxes[5], "\r\nMoon\r\nMercury\r\nVenus\r\nMars\r\nJupiter\r\nSaturn\r\nRahu");
    for (const std::string& box : second.SignBoxes) EXPECT_EQ(box.find("Sun"), std::string::npos);
}
