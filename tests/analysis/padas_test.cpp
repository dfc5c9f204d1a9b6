#include <gtest/gtest.h>

#include "analysis/padas.h"

using namespace velmora::analysis;

namespace {

// Sun, Moon, Mercury, Venus, Mars, Jupiter, Saturn, Rahu, Ketu, Asc.
// Aries rising, chosen so that the padas meet every case of the rule.
constexpr std::array<int, 10> kAriesChart{6, 1, 6, 8, 1, 12, 11, 3, 9, 1};

int FromHouse(int sign, int houseSign) { return (sign - houseSign + 12) % 12 + 1; }

}  // namespace

TEST(Padas, EveryHouseOfOneChart) {
    const auto padas = ArudhaPadas(kAriesChart);
    // {house sign, lord body, lord sign, pada sign}, worked out by counting:
    struct Expected {
        int HouseSign, Lord, LordSign, PadaSign;
    };
    const Expected expected[12] = {
        {1, 4, 1, 10},    // Mars in Aries itself: the 10th from Aries
        {2, 3, 8, 11},    // Venus 7th in Scorpio, 7 more is Taurus itself: the 10th, Aquarius
        {3, 2, 6, 6},     // Mercury 4th in Virgo, 4 more is Sagittarius, the 7th: the 4th, Virgo
        {4, 1, 1, 7},     // Moon 10th in Aries, 10 more is Capricorn, the 7th: the 4th, Libra
        {5, 0, 6, 7},     // Sun 2nd in Virgo: 2 more, Libra
        {6, 2, 6, 3},     // Mercury in Virgo itself: the 10th, Gemini
        {7, 3, 8, 9},     // Venus 2nd in Scorpio: Sagittarius
        {8, 4, 1, 6},     // Mars (not Ketu) 6th in Aries: 6 more, Virgo
        {9, 5, 12, 12},   // Jupiter 4th in Pisces, 4 more is Gemini, the 7th: the 4th, Pisces
        {10, 6, 11, 12},  // Saturn 2nd in Aquarius: Pisces
        {11, 6, 11, 8},   // Saturn (not Rahu) in Aquarius itself: the 10th, Scorpio
        {12, 5, 12, 9},   // Jupiter in Pisces itself: the 10th, Sagittarius
    };
    for (int h = 0; h < 12; ++h) {
        SCOPED_TRACE(h + 1);
        EXPECT_EQ(padas[h].House, h + 1);
        EXPECT_EQ(padas[h].HouseSign, expected[h].HouseSign);
        EXPECT_EQ(padas[h].Lord, expected[h].Lord);
        EXPECT_EQ(padas[h].LordSign, expected[h].LordSign);
        EXPECT_EQ(padas[h].PadaSign, expected[h].PadaSign);
    }
    EXPECT_EQ(padas[0].Label, "AL");
    EXPECT_EQ(padas[1].Label, "A2");
    EXPECT_EQ(padas[6].Label, "A7");
    EXPECT_EQ(padas[10].Label, "A11");
    EXPECT_EQ(padas[11].Label, "UL");
    EXPECT_EQ(padas[7].LordName, "Mars");
    EXPECT_EQ(padas[10].LordName, "Saturn");
}

TEST(Padas, HousesCountFromTheAscendantAcrossPisces) {
    // Aquarius rising; Saturn in Leo (7th from Aquarius), Jupiter in Pisces,
    // Mars in Cancer, the rest in Aries.
    const std::array<int, 10> signs{1, 1, 1, 1, 4, 12, 5, 1, 7, 11};
    const auto padas = ArudhaPadas(signs);
    EXPECT_EQ(padas[0].HouseSign, 11);
    EXPECT_EQ(padas[0].PadaSign, 8);  // Saturn 7th, 7 more is Aquarius: the 10th, Scorpio
    EXPECT_EQ(padas[1].HouseSign, 12);
    EXPECT_EQ(padas[1].PadaSign, 9);  // Jupiter in Pisces itself: Sagittarius
    EXPECT_EQ(padas[2].HouseSign, 1);
    EXPECT_EQ(padas[2].PadaSign, 4);  // Mars 4th in Cancer, 4 more is Libra, the 7th: Cancer
    EXPECT_EQ(padas[11].HouseSign, 10);
    EXPECT_EQ(padas[11].Label, "UL");
    EXPECT_EQ(padas[11].PadaSign, 12);  // Saturn 8th from Capricorn in Leo, 8 more: Pisces
}

TEST(Padas, NoPadaInItsHouseOrTheSeventh) {
    // Every ascendant with the bodies spread over the signs in three ways.
    for (int asc = 1; asc <= 12; ++asc) {
        for (int shift = 0; shift < 3; ++shift) {
            std::array<int, 10> signs{};
            for (int b = 0; b < 9; ++b) signs[b] = (b * (shift + 5) + asc) % 12 + 1;
            signs[9] = asc;
            for (const Pada& pada : ArudhaPadas(signs)) {
                SCOPED_TRACE(testing::Message() << "asc " << asc << " house " << pada.House);
                EXPECT_EQ(pada.LordSign, signs[pada.Lord]);
                EXPECT_NE(FromHouse(pada.PadaSign, pada.HouseSign), 1);
                EXPECT_NE(FromHouse(pada.PadaSign, pada.HouseSign), 7);
                // The lord stands as far from the house as the pada from the
                // lord, up to the two exceptions.
                const int lordFromHouse = FromHouse(pada.LordSign, pada.HouseSign);
                const int padaFromLord = FromHouse(pada.PadaSign, pada.LordSign);
                if (lordFromHouse == 1 || lordFromHouse == 7) {
                    EXPECT_EQ(FromHouse(pada.PadaSign, pada.HouseSign), 10);
                } else if (lordFromHouse == 4 || lordFromHouse == 10) {
                    EXPECT_EQ(FromHouse(pada.PadaSign, pada.HouseSign), 4);
                } else {
                    EXPECT_EQ(padaFromLord, lordFromHouse);
                }
            }
        }
    }
}

TEST(Padas, SignLords) {
    EXPECT_EQ(SignLordBody(1), 4);   // Aries: Mars
    EXPECT_EQ(SignLordBody(8), 4);   // Scorpio: Mars
    EXPECT_EQ(SignLordBody(11), 6);  // Aquarius: Saturn
    EXPECT_EQ(SignLordBody(4), 1);   // Cancer: Moon
    EXPECT_EQ(SignLordBody(5), 0);   // Leo: Sun
    EXPECT_EQ(SignLordBody(12), 5);  // Pisces: Jupiter
}
