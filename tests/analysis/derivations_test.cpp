#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <random>
#include <string>

#include "analysis/chart.h"
#include "analysis/sign_charts.h"
#include "analysis/derivations.h"

using namespace velmora;
using namespace velmora::analysis;

namespace {

using Chart = velmora::testing::SignChart;
using velmora::testing::ChartOf;

Derivations DerivationsOfChart(const Chart& chart, int scheme = 8) {
    const int asc = chart.Signs[Ascendant];
    const int al = ArudhaLagnaSignOf(chart.Signs[kSignLords[static_cast<std::size_t>(asc - 1)]], asc);
    const JaiminiTools tools = JaiminiToolsOf(chart.Longitudes, chart.Signs, al, UtMoment{}, scheme);
    return DerivationsOf(chart.Longitudes, chart.Signs, tools);
}

// The years' derivation of the period of a sign: every sign has one.
const Derivation& YearsOf(const Derivations& d, const Chart& chart, int sign) {
    const int asc = chart.Signs[Ascendant];
    const bool forward = asc == 1 || asc == 5 || asc == 6 || asc == 7 || asc == 11 || asc == 12;
    const int k = forward ? (sign - asc + 12) % 12 : (asc - sign + 12) % 12;
    return d.CharaDashaYears[static_cast<std::size_t>(k)];
}

std::string Joined(const Derivation& d) {
    std::string text;
    for (std::size_t i = 0; i < d.size(); ++i) {
        if (i > 0) text += ' ';
        text += d[i];
    }
    return text;
}

std::string Name(int sign) { return std::string(SignNameOf(((sign - 1) % 12 + 12) % 12 + 1)); }

std::string Ordinal(int n) {
    const char* suffix = n == 1 ? "st" : n == 2 ? "nd" : n == 3 ? "rd" : "th";
    return std::to_string(n) + suffix;
}

constexpr double Dm(int d, int m) { return d + m / 60.0; }

// K.N. Rao's education chart, with the Sun put in Virgo and the Moon in Aries.
Chart EducationChart() {
    return ChartOf({6, 1, 6, 6, 2, 7, 8, 6, 12, 3}, {Dm(20, 41), Dm(11, 34), Dm(22, 21), Dm(11, 48), Dm(9, 13),
                                                     Dm(12, 42), Dm(27, 23), Dm(29, 17), Dm(29, 17), Dm(29, 13)});
}

}  // namespace

TEST(Derivations, ArudhaLagnaWordForWord) {
    // Virgo rising, Mercury in Leo.
    const Chart chart = ChartOf({1, 1, 5, 1, 1, 1, 1, 1, 7, 6});
    const Derivations d = DerivationsOfChart(chart);
    EXPECT_EQ(d.ArudhaLagna().Text,
              "The ascendant is in Virgo; its lord Mercury stands in Leo, the 12th sign from Virgo. Counting 12 signs "
              "from Leo reaches Cancer. Cancer is neither the 1st nor the 7th from Virgo, so the Arudha Lagna is "
              "Cancer.");
    ASSERT_EQ(d.ArudhaLagna().size(), 3u);
    EXPECT_EQ(d.ArudhaLagna()[1], "Counting 12 signs from Leo reaches Cancer.");
    EXPECT_EQ(Joined(d.ArudhaLagna()), d.ArudhaLagna().Text);
    EXPECT_EQ(d.Padas[0].Text, d.ArudhaLagna().Text);
}

TEST(Derivations, ArudhaLagnaExceptions) {
    // Mars in Aries itself: the count stays on Aries.
    Derivations d = DerivationsOfChart(ChartOf({2, 2, 2, 2, 1, 2, 2, 2, 8, 1}));
    EXPECT_EQ(d.ArudhaLagna().Text,
              "The ascendant is in Aries; its lord Mars stands in Aries, the 1st sign from Aries. Counting 1 sign from "
              "Aries reaches Aries. Aries is the 1st from Aries, so the Arudha Lagna is the 10th sign from Aries "
              "instead: Capricorn.");
    // Mars in Cancer, the 4th: four more reach Libra, the 7th.
    d = DerivationsOfChart(ChartOf({2, 2, 2, 2, 4, 2, 2, 2, 8, 1}));
    EXPECT_EQ(d.ArudhaLagna()[2],
              "Libra is the 7th from Aries, so the Arudha Lagna is the 10th sign from Libra instead: Cancer, the 4th "
              "from Aries.");
    // Mars in Libra, the 7th: seven more return to Aries.
    d = DerivationsOfChart(ChartOf({2, 2, 2, 2, 7, 2, 2, 2, 8, 1}));
    EXPECT_EQ(d.ArudhaLagna()[1], "Counting 7 signs from Libra reaches Aries.");
    EXPECT_EQ(d.ArudhaLagna()[2],
              "Aries is the 1st from Aries, so the Arudha Lagna is the 10th sign from Aries instead: Capricorn.");
}

TEST(Derivations, PadasNameTheirHouses) {
    // Aries rising; Venus (lord of the 2nd, Taurus) in Scorpio, the Sun
    // (lord of the 5th, Leo) in Virgo, Jupiter (lord of the 12th, Pisces) in
    // Pisces.
    const Derivations d = DerivationsOfChart(ChartOf({6, 1, 6, 8, 1, 12, 11, 3, 9, 1}));
    EXPECT_EQ(d.Padas[1].Text,
              "The 2nd house is Taurus; its lord Venus stands in Scorpio, the 7th sign from Taurus. Counting 7 signs "
              "from Scorpio reaches Taurus. Taurus is the 1st from Taurus, so A2 is the 10th sign from Taurus "
              "instead: Aquarius.");
    EXPECT_EQ(d.Padas[11][2],
              "Pisces is the 1st from Pisces, so the upapada (UL) is the 10th sign from Pisces instead: Sagittarius.");
    EXPECT_EQ(d.Padas[4][0], "The 5th house is Leo; its lord Sun stands in Virgo, the 2nd sign from Leo.");
    EXPECT_EQ(d.Padas[4][2], "Libra is neither the 1st nor the 7th from Leo, so A5 is Libra.");
}

TEST(Derivations, PadasOfRandomChartsFollowTheirCount) {
    std::mt19937 random(5);
    std::uniform_int_distribution<int> sign(1, 12);
    for (int n = 0; n < 300; ++n) {
        std::array<int, 10> signs{};
        for (int& s : signs) s = sign(random);
        const std::array<Pada, 12> padas = ArudhaPadas(signs);
        const Derivations all = DerivationsOfChart(ChartOf(signs));
        for (const Pada& pada : padas) {
            SCOPED_TRACE(::testing::Message() << "chart " << n << " house " << pada.House);
            const Derivation& d = all.Padas[static_cast<std::size_t>(pada.House - 1)];
            ASSERT_EQ(d.size(), 3u);
            EXPECT_EQ(Joined(d), d.Text);
            const int counted = (pada.LordSign - pada.HouseSign + 12) % 12 + 1;
            const int reached = (pada.LordSign + counted - 2) % 12 + 1;
            EXPECT_NE(d[0].find(Name(pada.LordSign) + ", the " + Ordinal(counted) + " sign from " +
                                Name(pada.HouseSign) + "."),
                      std::string_view::npos);
            EXPECT_EQ(d[1], "Counting " + std::to_string(counted) + (counted == 1 ? " sign" : " signs") + " from " +
                                Name(pada.LordSign) + " reaches " + Name(reached) + ".");
            const int fromHouse = (reached - pada.HouseSign + 12) % 12 + 1;
            const std::string third(d[2]);
            EXPECT_EQ(third.rfind(Name(reached) + (fromHouse == 1   ? " is the 1st"
                                                   : fromHouse == 7 ? " is the 7th"
                                                                    : " is neither"),
                                  0),
                      0u);
            // The sentence ends on the pada the padas give.
            const std::string ending = fromHouse == 7
                                           ? Name(pada.PadaSign) + ", the 4th from " + Name(pada.HouseSign) + "."
                                           : Name(pada.PadaSign) + ".";
            ASSERT_GE(third.size(), ending.size());
            EXPECT_EQ(third.substr(third.size() - ending.size()), ending);
        }
    }
}

TEST(Derivations, KarakasOfTheEducationChart) {
    const Derivations d = DerivationsOfChart(EducationChart());
    EXPECT_EQ(d.CharaKarakas.Text,
              "The 8-karaka scheme ranks Sun, Moon, Mercury, Venus, Mars, Jupiter, Saturn and Rahu by degree in sign, "
              "highest first. Rahu moves backward, so it ranks by 30° less its degree in sign: 30° − 29.28° = 0.72°. "
              "In order: Saturn 27.38°, Mercury 22.35°, Sun 20.68°, Jupiter 12.70°, Venus 11.80°, Moon 11.57°, Mars "
              "9.22°, Rahu 0.72°. So the AK (Atmakaraka) is Saturn, the AmK (Amatyakaraka) Mercury, the BK "
              "(Bhratrikaraka) Sun, the MK (Matrikaraka) Jupiter, the PiK (Pitrikaraka) Venus, the PK (Putrakaraka) "
              "Moon, the GK (Gnatikaraka) Mars and the DK (Darakaraka) Rahu.");
    EXPECT_EQ(d.Karakamsa.Text,
              "The AK (Atmakaraka) is Saturn, at 27.38° Scorpio. Each sign has nine navamsas of 3°20', and those of "
              "Scorpio begin from Cancer; 27.38° lies in the 9th, Pisces. So the karakamsa is Pisces.");
    // Seven karakas: no Rahu, no PiK.
    const Derivations seven = DerivationsOfChart(EducationChart(), 7);
    ASSERT_EQ(seven.CharaKarakas.size(), 3u);
    EXPECT_EQ(
        seven.CharaKarakas[0],
        "The 7-karaka scheme ranks Sun, Moon, Mercury, Venus, Mars, Jupiter and Saturn by degree in sign, highest "
        "first.");
    EXPECT_EQ(seven.CharaKarakas.Text.find("PiK"), std::string::npos);
    EXPECT_EQ(seven.CharaKarakas[2],
              "So the AK (Atmakaraka) is Saturn, the AmK (Amatyakaraka) Mercury, the BK (Bhratrikaraka) Sun, the MK "
              "(Matrikaraka) Jupiter, the PK (Putrakaraka) Venus, the GK (Gnatikaraka) Moon and the DK (Darakaraka) "
              "Mars.");
}

TEST(Derivations, KarakaTiesAndNearTies) {
    // Mars and Jupiter at exactly 12.5°, Rahu at 17.5° also ranking 12.5°.
    //                        Sun Moon Mer Ven Mars  Jup Sat Rahu Ketu Asc
    Chart chart = ChartOf({3, 4, 5, 6, 7, 8, 9, 10, 4, 1}, {20, 1, 2, 25, 12.5, 12.5, 3, 17.5, 17.5, 1});
    Derivations d = DerivationsOfChart(chart);
    EXPECT_EQ(d.CharaKarakas[3], "Mars, Jupiter and Rahu all rank by exactly 12.50°; the tie goes by body order.");
    chart.Longitudes[Rahu] = 9 * 30 + 2.5;
    d = DerivationsOfChart(chart);
    EXPECT_EQ(d.CharaKarakas[3],
              "Mars and Jupiter both rank by exactly 12.50°; the tie goes to Mars, the earlier in "
              "body order.");
    // Apart by less than the second decimal shows: more decimals tell them apart.
    chart.Longitudes[Jupiter] = 7 * 30 + 12.5004;
    d = DerivationsOfChart(chart);
    ASSERT_EQ(d.CharaKarakas.size(), 4u);
    EXPECT_NE(d.CharaKarakas[2].find("Jupiter 12.5004°, Mars 12.5000°"), std::string_view::npos);
}

TEST(Derivations, CharaYearsOfTheEducationChart) {
    const Derivations d = DerivationsOfChart(EducationChart());
    EXPECT_EQ(d.CharaDashaYears[0].Text,
              "The lord of Gemini is Mercury, in Virgo. Counting forward from Gemini, Virgo is the 4th sign, so Gemini "
              "has 4 − 1 = 3 years.");
    EXPECT_EQ(d.CharaDashaYears[2].Text,
              "The lord of Aries is Mars, in Taurus. Counting forward from Aries, Taurus is the 2nd sign, so Aries has "
              "2 − 1 = 1 year.");
    EXPECT_EQ(d.CharaDashaYears[4].Text,
              "Aquarius has two lords, Saturn in Scorpio and Rahu in Virgo. Neither stands in Aquarius; Saturn has 0 "
              "other bodies in its sign and Rahu 3, so the count goes to the stronger, Rahu. Counting backward from "
              "Aquarius, Virgo is the 6th sign, so Aquarius has 6 − 1 = 5 years.");
    EXPECT_EQ(d.CharaDashaOrder[0],
              "The chara dasha starts at birth from the ascendant's sign, Gemini, and runs backward, as it does from "
              "Taurus, Gemini, Cancer, Scorpio, Sagittarius or Capricorn.");
    // Virgo, the 10th period: Mercury in Virgo itself.
    EXPECT_EQ(d.CharaDashaYears[9].Text, "The lord of Virgo is Mercury, in Virgo itself, so Virgo has 12 years.");
}

TEST(Derivations, CharaTwoLordDecisions) {
    //                   Sun Moon Mer Ven Mars Jup Sat Rahu Ketu Asc
    Chart chart = ChartOf({1, 1, 1, 1, 8, 1, 11, 11, 8, 8});
    Derivations d = DerivationsOfChart(chart);
    EXPECT_EQ(d.CharaDashaYears[0].Text,
              "Scorpio has two lords, Mars in Scorpio and Ketu in Scorpio. Both stand in Scorpio, so Scorpio has 12 "
              "years.");
    chart.Signs[Saturn] = 9;
    d = DerivationsOfChart(chart);
    EXPECT_EQ(YearsOf(d, chart, 11).Text,
              "Aquarius has two lords, Saturn in Sagittarius and Rahu in Aquarius. Rahu stands in Aquarius itself, so "
              "the count goes to the other lord, Saturn. Counting backward from Aquarius, Sagittarius is the 3rd sign, "
              "so Aquarius has 3 − 1 = 2 years.");

    // Neither lord of Scorpio in it, one body with each: Mars at 10° Leo with
    // the Sun, Ketu at 20° Pisces with the Moon.
    std::array<int, 10> signs{5, 12, 7, 7, 5, 7, 7, 6, 12, 1};
    std::array<double, 10> degrees{1, 1, 1, 1, 10, 1, 1, 20, 20, 1};
    chart = ChartOf(signs, degrees);
    d = DerivationsOfChart(chart);
    const Derivation* text = &YearsOf(d, chart, 8);
    EXPECT_EQ((*text)[1],
              "Neither stands in Scorpio and each has 1 other body in its sign; Ketu at 20.00° stands higher in its "
              "sign than Mars at 10.00°, so the count goes to Ketu.");
    EXPECT_EQ((*text)[2], "Counting forward from Scorpio, Pisces is the 5th sign, so Scorpio has 5 − 1 = 4 years.");
    degrees[Ketu] = 10;
    chart = ChartOf(signs, degrees);
    d = DerivationsOfChart(chart);
    text = &YearsOf(d, chart, 8);
    EXPECT_EQ((*text)[0], "Scorpio has two lords, Mars in Leo and Ketu in Pisces.");
    EXPECT_EQ((*text)[1],
              "Neither stands in Scorpio, each has 1 other body in its sign and both stand at 10.00° in their signs, "
              "so the count goes to Mars.");
}

TEST(Derivations, RandomChartsEndOnTheToolsYears) {
    std::mt19937 random(3);
    std::uniform_real_distribution<double> turn(0.0, 360.0);
    for (int n = 0; n < 300; ++n) {
        Chart chart;
        for (std::size_t b = 0; b < 10; ++b) {
            chart.Longitudes[b] = n % 2 == 0 ? std::floor(turn(random)) : turn(random);
            chart.Signs[b] = static_cast<int>(chart.Longitudes[b] / 30) + 1;
        }
        const int asc = chart.Signs[Ascendant];
        const JaiminiTools tools = JaiminiToolsOf(chart.Longitudes, chart.Signs,
                                                  ArudhaLagnaSignOf(chart.Signs[kSignLords[asc - 1]], asc), UtMoment{});
        const Derivations d = DerivationsOf(chart.Longitudes, chart.Signs, tools);
        for (std::size_t k = 0; k < 12; ++k) {
            const CharaPeriod& period = tools.CharaDasha.Periods[k];
            const Derivation& why = d.CharaDashaYears[k];
            ASSERT_GE(why.size(), 1u);
            EXPECT_EQ(Joined(why), why.Text);
            const std::string last(why[why.size() - 1]);
            const std::string ending = " has " + (period.Years == 12 ? std::string("12 years.")
                                                                     : std::to_string(period.Years + 1) +
                                                                           " − 1 = " + std::to_string(period.Years) +
                                                                           (period.Years == 1 ? " year." : " years."));
            ASSERT_GE(last.size(), ending.size()) << last;
            EXPECT_EQ(last.substr(last.size() - ending.size()), ending) << last;
            EXPECT_NE(why[0].find(Name(period.Sign)), std::string_view::npos);
        }
        const std::string karakas(d.CharaKarakas[d.CharaKarakas.size() - 1]);
        EXPECT_EQ(
            karakas.rfind(
                "So the AK (Atmakaraka) is " + std::string(kBodyNames[tools.Karakas.Atmakaraka().Graha]) + ",", 0),
            0u);
        EXPECT_EQ(d.Karakamsa[2], "So the karakamsa is " + Name(tools.Karakamsa) + ".");
    }
}

TEST(Derivations, LongestTextsWholeAndMovable) {
    // Every candidate at the same degree but Rahu a hair off: one tie of
    // seven, Rahu's degree needing many decimals.
    //                         Sun Moon Mer Ven Mars Jup Sat Rahu Ketu Asc
    Chart chart = ChartOf({1, 2, 3, 4, 5, 6, 7, 8, 2, 9}, {15, 15, 15, 15, 15, 15, 15, 15, 15, 15});
    chart.Longitudes[Rahu] += 1e-9;
    Derivations d = DerivationsOfChart(chart);
    // Decimals enough to tell Saturn from Rahu, and the tied bodies alike.
    EXPECT_EQ(d.CharaKarakas[1],
              "Rahu moves backward, so it ranks by 30° less its degree in sign: 30° − 15.000000001° = 14.999999999°.");
    EXPECT_EQ(d.CharaKarakas[3],
              "Sun, Moon, Mercury, Venus, Mars, Jupiter and Saturn all rank by exactly 15.000000000°; the tie goes by "
              "body order.");
    EXPECT_NE(d.CharaKarakas[2].find("Sun 15.000000000°, Moon 15.000000000°"), std::string_view::npos);
    EXPECT_NE(d.CharaKarakas[2].find("Saturn 15.000000000°, Rahu 14.999999999°."), std::string_view::npos);
    EXPECT_EQ(d.CharaKarakas.Text.back(), '.');
    // Just short of 30° never reads 30.
    chart.Longitudes[Sun] = 29.9991;
    EXPECT_NE(DerivationsOfChart(chart).CharaKarakas[2].find("Sun 29.999°"), std::string_view::npos);
    // The texts stay where they are when the derivations move.
    const std::string text(d.CharaKarakas.Text);
    const Derivations moved = std::move(d);
    EXPECT_EQ(moved.CharaKarakas.Text, text);
    EXPECT_EQ(moved.CharaDashaYears[11].Text.back(), '.');
}

TEST(Derivations, DegreesReadAsTheStandardFormatterRoundsThem) {
    // The Sun alone above 0° in Aries, so its degree is the AK's, shown
    // with two decimals; binary halves (0.125 rounds to even), neighbours
    // of x.xx5 either way, and random degrees.
    std::vector<double> degrees = {0.125, 0.375, 0.625, 0.875, 1.005, 2.675, 17.665, 29.985, 0.005, 0.004999, 9.995};
    for (int cents = 1; cents < 2999; cents += 7) {
        const double half = cents / 100.0 + 0.005;
        degrees.insert(degrees.end(), {half, std::nextafter(half, 0.0), std::nextafter(half, 30.0)});
    }
    std::mt19937 random(41);
    std::uniform_real_distribution<double> any(1e-6, 29.99);
    for (int n = 0; n < 2000; ++n) degrees.push_back(any(random));
    for (const double degree : degrees) {
        //                          Sun Moon Mer Ven Mars Jup Sat Rahu Ketu Asc
        const Chart chart = ChartOf({1, 2, 3, 4, 5, 6, 7, 8, 2, 9}, {degree, 0, 0, 0, 0, 0, 0, 0, 0, 0});
        char text[32];
        const auto written = std::to_chars(text, text + sizeof text, degree, std::chars_format::fixed, 2);
        const std::string expected = "The AK (Atmakaraka) is Sun, at " + std::string(text, written.ptr) + "° Aries.";
        EXPECT_EQ(DerivationsOfChart(chart, 7).Karakamsa[0], expected) << std::hexfloat << degree;
    }
}
