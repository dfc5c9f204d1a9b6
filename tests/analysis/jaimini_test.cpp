#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <stdexcept>

#include "analysis/chart.h"
#include "analysis/sign_charts.h"
#include "analysis/jaimini.h"
#include "analysis/navamsa.h"

using namespace velmora;
using namespace velmora::analysis;
using namespace std::chrono;

namespace {

constexpr double kSecondsPerYear = 365.25 * 86400;

UtMoment At(year_month_day date, double hours = 0) { return UtMoment(sys_days(date)) + duration<double>(hours * 3600); }

using Chart = velmora::testing::SignChart;
using velmora::testing::ChartOf;

// Random charts; with whole degrees, ties of every kind come up often.
Chart RandomChart(std::mt19937& random, bool wholeDegrees) {
    std::uniform_real_distribution<double> turn(0.0, 360.0);
    Chart chart;
    for (std::size_t b = 0; b < 10; ++b) {
        double longitude = turn(random);
        if (wholeDegrees) longitude = std::floor(longitude);
        chart.Longitudes[b] = longitude;
    }
    chart.Longitudes[Ketu] = std::fmod(chart.Longitudes[Rahu] + 180.0, 360.0);
    for (std::size_t b = 0; b < 10; ++b) chart.Signs[b] = static_cast<int>(chart.Longitudes[b] / 30) + 1;
    return chart;
}

int ArudhaLagnaOf(const Chart& chart) {
    const int asc = chart.Signs[Ascendant];
    return ArudhaLagnaSignOf(chart.Signs[kSignLords[static_cast<std::size_t>(asc - 1)]], asc);
}

// Distance in signs from `from` to `to`, 0..11, in zodiac order.
int Ahead(int from, int to) { return ((to - from) % 12 + 12) % 12; }
int Sign(int n) { return ((n - 1) % 12 + 12) % 12 + 1; }

std::vector<Body> BodiesOf(const BodyList& list) { return {list.Bodies.begin(), list.Bodies.begin() + list.Count}; }

}  // namespace

// ---- Chara karakas --------------------------------------------------------

TEST(CharaKarakas, RankByDegreeWithRahuReversed) {
    //                Sun   Moon  Merc  Ven   Mars  Jup   Sat   Rahu  Ketu  Asc
    const Chart chart = ChartOf({1, 2, 3, 4, 5, 6, 7, 8, 2, 9}, {5.5, 21, 3, 17.25, 29.9, 12, 8, 2, 2, 1});
    const CharaKarakas k = CharaKarakasOf(chart.Longitudes, 8);
    ASSERT_EQ(k.Count, 8);
    // Rahu at 2° ranks by 28°, behind Mars only.
    const Body order[8] = {Mars, Rahu, Moon, Venus, Jupiter, Saturn, Sun, Mercury};
    for (std::size_t i = 0; i < 8; ++i) EXPECT_EQ(k.Ranked[i].Graha, order[i]) << i;
    EXPECT_DOUBLE_EQ(k.Ranked[1].DegreeInSign, 28.0);
    EXPECT_NEAR(k.Ranked[0].DegreeInSign, 29.9, 1e-12);
    EXPECT_EQ(k.Atmakaraka().Graha, Mars);
    EXPECT_EQ(k.Ranked[0].Name, "AK");
    EXPECT_EQ(k.Ranked[0].Title, "Atmakaraka");
    EXPECT_EQ(k.Ranked[4].Name, "PiK");
    EXPECT_EQ(k.Ranked[7].Name, "DK");
    EXPECT_EQ(k.Ranked[7].Title, "Darakaraka");
}

TEST(CharaKarakas, SevenSchemeLeavesRahuOut) {
    const Chart chart = ChartOf({1, 2, 3, 4, 5, 6, 7, 8, 2, 9}, {5.5, 21, 3, 17.25, 29.9, 12, 8, 2, 2, 1});
    const CharaKarakas k = CharaKarakasOf(chart.Longitudes, 7);
    ASSERT_EQ(k.Count, 7);
    EXPECT_EQ(k.Scheme, 7);
    const Body order[7] = {Mars, Moon, Venus, Jupiter, Saturn, Sun, Mercury};
    const std::string_view names[7] = {"AK", "AmK", "BK", "MK", "PK", "GK", "DK"};
    for (std::size_t i = 0; i < 7; ++i) {
        EXPECT_EQ(k.Ranked[i].Graha, order[i]) << i;
        EXPECT_EQ(k.Ranked[i].Name, names[i]) << i;
    }
    EXPECT_THROW(CharaKarakasOf(chart.Longitudes, 9), std::invalid_argument);
    EXPECT_THROW(CharaKarakasOf(chart.Longitudes, 0), std::invalid_argument);
}

TEST(CharaKarakas, ExactTiesGoByBodyOrder) {
    // Jupiter and Mars at exactly 12.5°, Rahu at 17.5° ranking 12.5° too,
    // Venus and the Sun at 20°.
    const Chart chart = ChartOf({3, 4, 5, 6, 7, 8, 9, 10, 4, 1}, {20, 1, 2, 20, 12.5, 12.5, 3, 17.5, 17.5, 1});
    const CharaKarakas k = CharaKarakasOf(chart.Longitudes, 8);
    const Body order[8] = {Sun, Venus, Mars, Jupiter, Rahu, Saturn, Mercury, Moon};
    for (std::size_t i = 0; i < 8; ++i) EXPECT_EQ(k.Ranked[i].Graha, order[i]) << i;
    // Rahu at 0° ranks by a full 30° and is the AK.
    Chart edge = chart;
    edge.Longitudes[Rahu] = 270.0;
    EXPECT_EQ(CharaKarakasOf(edge.Longitudes, 8).Atmakaraka().Graha, Rahu);
    EXPECT_DOUBLE_EQ(CharaKarakasOf(edge.Longitudes, 8).Atmakaraka().DegreeInSign, 30.0);
}

TEST(CharaKarakas, RandomChartsAgainstASortedRanking) {
    std::mt19937 random(7);
    for (int n = 0; n < 400; ++n) {
        const Chart chart = RandomChart(random, n % 2 == 0);
        for (int scheme : {7, 8}) {
            struct Candidate {
                int Body;
                double Degree;
            };
            std::vector<Candidate> expected;
            for (int b = 0; b < scheme; ++b) {
                const int body = b == 7 ? Rahu : b;
                const double d = std::fmod(chart.Longitudes[static_cast<std::size_t>(body)], 30.0);
                expected.push_back({body, body == Rahu ? 30 - d : d});
            }
            std::stable_sort(expected.begin(), expected.end(),
                             [](const Candidate& a, const Candidate& b) { return a.Degree > b.Degree; });
            const CharaKarakas k = CharaKarakasOf(chart.Longitudes, scheme);
            for (std::size_t i = 0; i < expected.size(); ++i) {
                EXPECT_EQ(k.Ranked[i].Graha, expected[i].Body) << n << " rank " << i;
                EXPECT_NEAR(k.Ranked[i].DegreeInSign, expected[i].Degree, 1e-9);
            }
            const JaiminiTools tools =
                JaiminiToolsOf(chart.Longitudes, chart.Signs, ArudhaLagnaOf(chart), UtMoment{}, scheme);
            EXPECT_EQ(tools.Karakamsa, NavamsaSign(chart.Longitudes[static_cast<std::size_t>(expected[0].Body)]));
        }
    }
}

// ---- Rashi drishti --------------------------------------------------------

TEST(RashiDrishti, EverySignByHouseDistance) {
    // Movable signs aspect the 5th, 8th and 11th from them, fixed the 3rd,
    // 6th and 9th, dual the 4th, 7th and 10th.
    EXPECT_EQ(SignsAspectedBy(1), (std::array<int, 3>{5, 8, 11}));
    EXPECT_EQ(SignsAspectedBy(2), (std::array<int, 3>{4, 7, 10}));
    EXPECT_EQ(SignsAspectedBy(3), (std::array<int, 3>{6, 9, 12}));
    EXPECT_EQ(SignsAspectedBy(11), (std::array<int, 3>{1, 4, 7}));
    for (int sign = 1; sign <= 12; ++sign) {
        const int first = (sign - 1) % 3 == 0 ? 5 : (sign - 1) % 3 == 1 ? 3 : 4;
        std::array<int, 3> expected{Sign(sign + first - 1), Sign(sign + first + 2), Sign(sign + first + 5)};
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(SignsAspectedBy(sign), expected) << sign;
        for (int other = 1; other <= 12; ++other) {
            const bool aspects = std::find(expected.begin(), expected.end(), other) != expected.end();
            EXPECT_EQ(SignAspects(sign, other), aspects);
            EXPECT_EQ(SignAspects(other, sign), aspects) << "sign aspects are mutual";
        }
    }
}

// ---- Argala ---------------------------------------------------------------

TEST(Argala, KetuCountsBackward) {
    // Reference Aries. Ketu in Pisces, the 12th, counts as in the 2nd; the
    // Sun in Taurus is in the 2nd plainly.
    std::array<int, 10> signs{2, 7, 7, 7, 7, 7, 7, 6, 12, 1};
    ArgalaReference a = ArgalaOf("Asc", 1, signs);
    EXPECT_EQ(a.From, "Asc");
    EXPECT_EQ(a.Sign, 1);
    EXPECT_EQ(a.Houses[0].House, 2);
    EXPECT_EQ(a.Houses[0].ObstructionHouse, 12);
    EXPECT_EQ(BodiesOf(a.Houses[0].Bodies), (std::vector<Body>{Sun, Ketu}));
    EXPECT_TRUE(BodiesOf(a.Houses[0].Obstructing).empty());
    EXPECT_EQ(a.Houses[0].State, ArgalaState::Unobstructed);
    // Ketu in Taurus, the 2nd, obstructs from the 12th; Rahu in Pisces does
    // so plainly.
    signs = {2, 7, 7, 7, 7, 7, 7, 12, 2, 1};
    a = ArgalaOf("Asc", 1, signs);
    EXPECT_EQ(BodiesOf(a.Houses[0].Bodies), (std::vector<Body>{Sun}));
    EXPECT_EQ(BodiesOf(a.Houses[0].Obstructing), (std::vector<Body>{Rahu, Ketu}));
    EXPECT_EQ(a.Houses[0].State, ArgalaState::Obstructed);
    // Ketu's other houses: the 10th is the 4th, the 3rd the 11th, the 9th
    // the 5th.
    EXPECT_EQ(ArgalaHouseOf(Ketu, 10, 1), 4);
    EXPECT_EQ(ArgalaHouseOf(Ketu, 3, 1), 11);
    EXPECT_EQ(ArgalaHouseOf(Ketu, 9, 1), 5);
    EXPECT_EQ(ArgalaHouseOf(Rahu, 9, 1), 9);
    EXPECT_EQ(ArgalaHouseOf(Ketu, 1, 1), 1);
}

TEST(Argala, EachStateAndTheReferences) {
    // Reference Leo: 2nd Virgo, 4th Scorpio, 11th Gemini, 5th Sagittarius;
    // 12th Cancer, 10th Taurus, 3rd Libra, 9th Aries.
    //   2nd: Sun, Moon in Virgo, Mercury in Cancer: prevails (2 > 1)
    //   4th: Venus in Scorpio, Mars and Jupiter in Taurus: obstructed (1 < 2)
    //   11th: nobody in Gemini: none (though Saturn obstructs in Libra)
    //   5th: Rahu in Sagittarius, Ketu in Gemini (backward the 3rd, so it
    //   obstructs the 11th, not the 5th): Rahu alone, unobstructed
    const std::array<int, 10> signs{6, 6, 4, 8, 2, 2, 7, 9, 3, 5};
    const ArgalaReference a = ArgalaOf("AL", 5, signs);
    EXPECT_EQ(a.Houses[0].State, ArgalaState::Prevails);
    EXPECT_EQ(a.Houses[1].House, 4);
    EXPECT_EQ(a.Houses[1].State, ArgalaState::Obstructed);
    EXPECT_EQ(BodiesOf(a.Houses[1].Obstructing), (std::vector<Body>{Mars, Jupiter}));
    EXPECT_EQ(a.Houses[2].House, 11);
    EXPECT_EQ(a.Houses[2].State, ArgalaState::None);
    EXPECT_EQ(BodiesOf(a.Houses[2].Obstructing), (std::vector<Body>{Saturn, Ketu}));
    EXPECT_EQ(a.Houses[3].House, 5);
    EXPECT_EQ(a.Houses[3].ObstructionHouse, 9);
    EXPECT_EQ(BodiesOf(a.Houses[3].Bodies), (std::vector<Body>{Rahu}));
    EXPECT_EQ(a.Houses[3].State, ArgalaState::Unobstructed);
    // Equal numbers obstruct.
    const ArgalaReference b = ArgalaOf("AK", 1, {2, 12, 7, 7, 7, 7, 7, 7, 1, 1});
    EXPECT_EQ(b.Houses[0].State, ArgalaState::Obstructed);
    EXPECT_EQ(ArgalaStateName(ArgalaState::Prevails), "prevails");
    EXPECT_EQ(ArgalaStateName(ArgalaState::None), "none");

    // The three references of a whole chart: the ascendant's sign, the
    // Arudha Lagna's and the AK's. The ascendant itself is not a body.
    Chart chart = ChartOf(signs);
    chart.Longitudes[Venus] += 15;  // Venus, at 25° Scorpio, is the AK
    const JaiminiTools tools = JaiminiToolsOf(chart.Longitudes, chart.Signs, 5, UtMoment{});
    EXPECT_EQ(tools.Argala[0].From, "Asc");
    EXPECT_EQ(tools.Argala[0].Sign, 5);
    EXPECT_EQ(tools.Argala[1].From, "AL");
    EXPECT_EQ(tools.Argala[1].Sign, 5);
    EXPECT_EQ(tools.Argala[2].From, "AK");
    EXPECT_EQ(tools.Argala[2].Sign, 8);
}

TEST(Argala, RandomChartsAgainstTheHouseCount) {
    std::mt19937 random(11);
    for (int n = 0; n < 300; ++n) {
        const Chart chart = RandomChart(random, false);
        const int reference = n % 12 + 1;
        const ArgalaReference a = ArgalaOf("Asc", reference, chart.Signs);
        for (const ArgalaHouse& house : a.Houses) {
            int in = 0, against = 0;
            for (int b = 0; b < 9; ++b) {
                int h = Ahead(reference, chart.Signs[static_cast<std::size_t>(b)]) + 1;
                if (b == Ketu) h = h == 1 ? 1 : 14 - h;  // mirrored about the 1st and 7th
                in += h == house.House;
                against += h == house.ObstructionHouse;
            }
            EXPECT_EQ(house.Bodies.Count, in);
            EXPECT_EQ(house.Obstructing.Count, against);
            const ArgalaState expected = in == 0        ? ArgalaState::None
                                         : against == 0 ? ArgalaState::Unobstructed
                                         : in > against ? ArgalaState::Prevails
                                                        : ArgalaState::Obstructed;
            EXPECT_EQ(house.State, expected);
            for (int i = 1; i < house.Bodies.Count; ++i) EXPECT_LT(house.Bodies.Bodies[i - 1], house.Bodies.Bodies[i]);
        }
    }
}

// ---- Graha arudhas --------------------------------------------------------

TEST(GrahaArudhas, CountingAndTheException) {
    // Mars in Gemini: Aries is the 11th from Gemini, the 11th from Aries is
    // Aquarius. Scorpio the 6th, the 6th from Scorpio is Aries.
    EXPECT_EQ(GrahaArudhaOf(3, 1).Sign, 11);
    EXPECT_FALSE(GrahaArudhaOf(3, 1).Moved);
    EXPECT_EQ(GrahaArudhaOf(3, 8).Sign, 1);
    // In its own sign: the count gives the sign itself, so the 10th from it.
    EXPECT_EQ(GrahaArudhaOf(5, 5).Sign, 2);
    EXPECT_TRUE(GrahaArudhaOf(5, 5).Moved);
    // In the 7th from its own sign: the count returns to the body's sign.
    EXPECT_EQ(GrahaArudhaOf(11, 5).Sign, 8);
    // The 4th from the owned sign: the count gives the 7th from the body,
    // so the 10th from that, the 4th from the body.
    const GrahaArudha seventh = GrahaArudhaOf(1, 4);
    EXPECT_TRUE(seventh.Moved);
    EXPECT_EQ(seventh.Sign, 4);

    const Chart chart = ChartOf({5, 4, 1, 12, 3, 9, 10, 11, 5, 1});
    const JaiminiTools tools = JaiminiToolsOf(chart.Longitudes, chart.Signs, 1, UtMoment{});
    const GrahaArudhaSet& mars = tools.GrahaArudhas[Mars];
    EXPECT_EQ(mars.Graha, Mars);
    ASSERT_EQ(mars.Count, 2);
    EXPECT_EQ(mars.Arudhas[0].OwnSign, 1);
    EXPECT_EQ(mars.Arudhas[0].Sign, 11);
    EXPECT_EQ(mars.Arudhas[1].OwnSign, 8);
    EXPECT_EQ(mars.Arudhas[1].Sign, 1);
    const GrahaArudhaSet& rahu = tools.GrahaArudhas[Rahu];
    ASSERT_EQ(rahu.Count, 1);
    EXPECT_EQ(rahu.Arudhas[0].OwnSign, 11);
    EXPECT_EQ(rahu.Arudhas[0].Sign, 8);  // in Aquarius itself: the 10th, Scorpio
    EXPECT_EQ(tools.GrahaArudhas[Ketu].Arudhas[0].OwnSign, 8);
    EXPECT_EQ(tools.GrahaArudhas[Sun].Count, 1);
    EXPECT_EQ(tools.GrahaArudhas[Jupiter].Arudhas[1].OwnSign, 12);
}

TEST(GrahaArudhas, NeverOnTheBodyOrItsSeventh) {
    for (int body = 1; body <= 12; ++body) {
        for (int own = 1; own <= 12; ++own) {
            const GrahaArudha a = GrahaArudhaOf(body, own);
            int expected = Sign(own + Ahead(body, own));
            if (expected == body || expected == Sign(body + 6)) expected = Sign(expected + 9);
            EXPECT_EQ(a.Sign, expected) << body << " " << own;
            EXPECT_NE(a.Sign, body);
            EXPECT_NE(a.Sign, Sign(body + 6));
        }
    }
}

// ---- Chara dasha ----------------------------------------------------------

TEST(CharaDasha, YearsOfOneLordSigns) {
    // Virgo: counted backward; Mercury in Gemini is the 4th backward: 3
    // years. Taurus: counted forward; Venus in Pisces the 11th: 10 years.
    // Leo: the Sun in Leo itself gives 12.
    Chart chart = ChartOf({5, 1, 3, 12, 4, 6, 7, 8, 2, 6});
    CharaYears y = CharaYearsOf(6, chart.Longitudes, chart.Signs);
    EXPECT_FALSE(y.CountForward);
    EXPECT_EQ(y.Lord, Mercury);
    EXPECT_EQ(y.Count, 4);
    EXPECT_EQ(y.Years, 3);
    y = CharaYearsOf(2, chart.Longitudes, chart.Signs);
    EXPECT_TRUE(y.CountForward);
    EXPECT_EQ(y.Count, 11);
    EXPECT_EQ(y.Years, 10);
    y = CharaYearsOf(5, chart.Longitudes, chart.Signs);
    EXPECT_EQ(y.Count, 1);
    EXPECT_EQ(y.Years, 12);
    // A lord in the very next sign gives 1 year.
    y = CharaYearsOf(4, chart.Longitudes, chart.Signs);  // Moon in Aries, 4th backward from Cancer
    EXPECT_EQ(y.Years, 3);
    chart.Signs[Moon] = 3;
    EXPECT_EQ(CharaYearsOf(4, chart.Longitudes, chart.Signs).Years, 1);
}

TEST(CharaDasha, ScorpioAndAquariusTwoLords) {
    //                   Sun Moon Mer Ven Mars Jup Sat Rahu Ketu Asc
    Chart chart = ChartOf({1, 1, 1, 1, 8, 1, 11, 11, 8, 1});
    CharaYears y = CharaYearsOf(8, chart.Longitudes, chart.Signs);
    EXPECT_EQ(y.Choice, CharaLordChoice::BothLordsIn);
    EXPECT_EQ(y.Years, 12);
    EXPECT_EQ(CharaYearsOf(11, chart.Longitudes, chart.Signs).Years, 12);

    // Exactly one in Aquarius: Rahu there, count backward to Saturn in
    // Sagittarius, the 3rd: 2 years.
    chart.Signs[Saturn] = 9;
    y = CharaYearsOf(11, chart.Longitudes, chart.Signs);
    EXPECT_EQ(y.Choice, CharaLordChoice::OtherLord);
    EXPECT_EQ(y.Lord, Saturn);
    EXPECT_EQ(y.OtherLord, Rahu);
    EXPECT_FALSE(y.CountForward);
    EXPECT_EQ(y.Count, 3);
    EXPECT_EQ(y.Years, 2);
    // And the other way: Saturn there, Rahu in Pisces, the 12th backward.
    chart.Signs[Saturn] = 11;
    chart.Signs[Rahu] = 12;
    y = CharaYearsOf(11, chart.Longitudes, chart.Signs);
    EXPECT_EQ(y.Lord, Rahu);
    EXPECT_EQ(y.Years, 11);

    // Neither in Scorpio: Mars in Aries with five others beats Ketu alone in
    // Cancer; counted forward to Aries, the 6th: 5 years.
    chart.Signs[Mars] = 1;
    chart.Signs[Ketu] = 4;
    y = CharaYearsOf(8, chart.Longitudes, chart.Signs);
    EXPECT_EQ(y.Choice, CharaLordChoice::MoreBodies);
    EXPECT_EQ(y.Lord, Mars);
    EXPECT_EQ(y.LordCompanions, 5);  // Sun, Moon, Mercury, Venus, Jupiter
    EXPECT_EQ(y.OtherCompanions, 0);
    EXPECT_EQ(y.Years, 5);
}

TEST(CharaDasha, EqualCountsThenDegreeThenTheFirstLord) {
    // Neither lord in Scorpio, one other body with each: Mars in Leo with
    // the Sun, Ketu in Pisces with the Moon. The rest in Libra.
    //                        Sun Moon Mer Ven Mars Jup Sat Rahu Ketu Asc
    std::array<int, 10> signs{5, 12, 7, 7, 5, 7, 7, 6, 12, 1};
    std::array<double, 10> degrees{1, 1, 1, 1, 10, 1, 1, 20, 20, 1};
    Chart chart = ChartOf(signs, degrees);
    CharaYears y = CharaYearsOf(8, chart.Longitudes, chart.Signs);
    EXPECT_EQ(y.Choice, CharaLordChoice::HigherDegree);
    EXPECT_EQ(y.Lord, Ketu);  // 20° against Mars's 10°; Ketu's degree is not reversed here
    EXPECT_EQ(y.Count, 5);    // Scorpio forward to Pisces
    EXPECT_EQ(y.Years, 4);
    degrees[Ketu] = 10;
    chart = ChartOf(signs, degrees);
    y = CharaYearsOf(8, chart.Longitudes, chart.Signs);
    EXPECT_EQ(y.Choice, CharaLordChoice::EqualDefault);
    EXPECT_EQ(y.Lord, Mars);
    EXPECT_EQ(y.Years, 9);  // Scorpio forward to Leo, the 10th

    // Aquarius: Saturn in Taurus alone, Rahu in Gemini alone, both 15°.
    signs = {1, 1, 1, 1, 1, 1, 2, 3, 9, 1};
    degrees = {1, 1, 1, 1, 1, 1, 15, 15, 15, 1};
    chart = ChartOf(signs, degrees);
    y = CharaYearsOf(11, chart.Longitudes, chart.Signs);
    EXPECT_EQ(y.Choice, CharaLordChoice::EqualDefault);
    EXPECT_EQ(y.Lord, Saturn);
    EXPECT_EQ(y.Years, 9);  // Aquarius backward to Taurus, the 10th
    chart.Longitudes[Rahu] += 0.5;
    y = CharaYearsOf(11, chart.Longitudes, chart.Signs);
    EXPECT_EQ(y.Choice, CharaLordChoice::HigherDegree);
    EXPECT_EQ(y.Lord, Rahu);
    EXPECT_EQ(y.Years, 8);
}

TEST(CharaDasha, PeriodsSubPeriodsAndDates) {
    // Taurus rising: backward, Taurus, Aries, Pisces ... Gemini. Taurus's
    // Venus in Taurus gives 12 years; Aries's Mars in Cancer the 4th forward:
    // 3 years.
    const Chart chart = ChartOf({5, 4, 3, 2, 4, 9, 10, 6, 12, 2});
    const UtMoment birth = At(1990y / March / 10, 6.5);
    const CharaDashaTable table = CharaDashaOf(chart.Longitudes, chart.Signs, birth);
    EXPECT_FALSE(table.Forward);
    const int order[12] = {2, 1, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3};
    for (std::size_t k = 0; k < 12; ++k) EXPECT_EQ(table.Periods[k].Sign, order[k]) << k;
    EXPECT_EQ(table.Periods[0].Years, 12);
    EXPECT_EQ(table.Periods[0].SignName(), "Taurus");
    EXPECT_EQ(table.Periods[1].Years, 3);
    EXPECT_EQ(table.Periods[0].Start, birth);
    EXPECT_EQ(table.Periods[0].StartDate(), 1990y / March / 10);
    // Twelve years of 365.25 days from 06:30 on 10 March 1990: 4383 days,
    // to 10 March 2002 06:30.
    EXPECT_EQ(table.Periods[0].EndDate(), 2002y / March / 10);
    EXPECT_NEAR((table.Periods[0].End - At(2002y / March / 10, 6.5)).count(), 0, 1e-3);

    // Taurus's sub-periods run backward from Aries and end with Taurus;
    // Aries's run forward from Taurus and end with Aries.
    EXPECT_FALSE(table.Periods[0].SubForward);
    EXPECT_EQ(table.Periods[0].Sub[0].Sign, 1);
    EXPECT_EQ(table.Periods[0].Sub[1].Sign, 12);
    EXPECT_EQ(table.Periods[0].Sub[11].Sign, 2);
    // A year each: to 10 March 1991 12:30, then, past 29 February 1992, to
    // 9 March 1992 18:30 and 10 March 1993 00:30.
    EXPECT_EQ(table.Periods[0].Sub[0].EndDate(), 1991y / March / 10);
    EXPECT_EQ(table.Periods[0].Sub[1].EndDate(), 1992y / March / 9);
    EXPECT_EQ(table.Periods[0].Sub[2].EndDate(), 1993y / March / 10);
    EXPECT_TRUE(table.Periods[1].SubForward);
    EXPECT_EQ(table.Periods[1].Sub[0].Sign, 2);
    EXPECT_EQ(table.Periods[1].Sub[0].SignName(), "Taurus");
    EXPECT_EQ(table.Periods[1].Sub[11].Sign, 1);

    double total = 0;
    for (const CharaPeriod& period : table.Periods) {
        SCOPED_TRACE(period.SignName());
        EXPECT_EQ(period.Years, CharaYearsOf(period.Sign, chart.Longitudes, chart.Signs).Years);
        EXPECT_NEAR((period.End - period.Start).count() / kSecondsPerYear, period.Years, 1e-9);
        total += period.Years;
        EXPECT_EQ(period.Sub.front().Start, period.Start);
        EXPECT_EQ(period.Sub.back().End, period.End);
        for (std::size_t j = 0; j < 12; ++j) {
            const CharaSpan& sub = period.Sub[j];
            EXPECT_NEAR((sub.End - sub.Start).count(), (period.End - period.Start).count() / 12, 1e-3);
            if (j > 0) {
                EXPECT_EQ(sub.Start, period.Sub[j - 1].End);
            }
            // Each part begins on the day the one before it ends.
            EXPECT_EQ(sub.StartDate(), j > 0 ? period.Sub[j - 1].EndDate() : period.StartDate());
            EXPECT_EQ(sub.Sign, Sign(period.Sign + (period.SubForward ? 1 : -1) * static_cast<int>(j + 1)));
        }
    }
    for (std::size_t k = 1; k < 12; ++k) EXPECT_EQ(table.Periods[k].Start, table.Periods[k - 1].End);
    EXPECT_NEAR((table.Periods[11].End - birth).count() / kSecondsPerYear, total, 1e-6);
}

TEST(CharaDasha, RunningPeriodAtAMoment) {
    const Chart chart = ChartOf({5, 4, 3, 2, 4, 9, 10, 6, 12, 2});
    const UtMoment birth = At(1990y / March / 10, 6.5);
    const CharaDashaTable table = CharaDashaOf(chart.Longitudes, chart.Signs, birth);
    EXPECT_FALSE(RunningCharaAt(table, birth - duration<double>(1)).has_value());
    auto running = RunningCharaAt(table, birth);
    ASSERT_TRUE(running.has_value());
    EXPECT_EQ(running->Period, 0u);
    EXPECT_EQ(running->Sub, 0u);
    running = RunningCharaAt(table, table.Periods[0].Sub[5].End);  // a boundary starts the next one
    ASSERT_TRUE(running.has_value());
    EXPECT_EQ(running->Sub, 6u);
    running = RunningCharaAt(table, table.Periods[4].Sub[11].Start + duration<double>(1));
    ASSERT_TRUE(running.has_value());
    EXPECT_EQ(running->Period, 4u);
    EXPECT_EQ(running->Sub, 11u);
    EXPECT_FALSE(RunningCharaAt(table, table.Periods[11].End).has_value());
}

TEST(CharaDasha, RandomChartsAgainstTheRule) {
    std::mt19937 random(23);
    for (int n = 0; n < 300; ++n) {
        const Chart chart = RandomChart(random, n % 2 == 0);
        const auto& s = chart.Signs;
        for (int sign = 1; sign <= 12; ++sign) {
            const CharaYears y = CharaYearsOf(sign, chart.Longitudes, s);
            // The lord counted to, by the rule read afresh.
            int lord = kSignLords[static_cast<std::size_t>(sign - 1)];
            bool twelve = s[static_cast<std::size_t>(lord)] == sign;
            if (sign == 8 || sign == 11) {
                const int a = sign == 8 ? Mars : Saturn, b = sign == 8 ? Ketu : Rahu;
                const bool aIn = s[a] == sign, bIn = s[b] == sign;
                auto others = [&](int body) {
                    return static_cast<int>(std::count(s.begin(), s.begin() + 9, s[body])) - 1;
                };
                const double da = std::fmod(chart.Longitudes[a], 30.0), db = std::fmod(chart.Longitudes[b], 30.0);
                twelve = aIn && bIn;
                if (aIn != bIn) {
                    lord = aIn ? b : a;
                } else if (others(a) != others(b)) {
                    lord = others(a) > others(b) ? a : b;
                } else {
                    lord = db > da ? b : a;
                }
            }
            const bool forward = sign == 1 || sign == 2 || sign == 3 || sign == 7 || sign == 8 || sign == 9;
            const int count = (forward ? Ahead(sign, s[static_cast<std::size_t>(lord)])
                                       : Ahead(s[static_cast<std::size_t>(lord)], sign)) +
                              1;
            EXPECT_EQ(y.Years, twelve ? 12 : count - 1) << n << " " << sign;
            EXPECT_GE(y.Years, 1);
            EXPECT_LE(y.Years, 12);
            if (!twelve) {
                EXPECT_EQ(y.Lord, lord);
            }
        }
        const CharaDashaTable table = CharaDashaOf(chart.Longitudes, s, UtMoment{});
        const int asc = s[Ascendant];
        const bool forward = asc == 1 || asc == 5 || asc == 6 || asc == 7 || asc == 11 || asc == 12;
        EXPECT_EQ(table.Forward, forward);
        for (int k = 0; k < 12; ++k) {
            EXPECT_EQ(table.Periods[static_cast<std::size_t>(k)].Sign, Sign(asc + (forward ? k : -k)));
        }
    }
}

// K.N. Rao's education chart ("Predicting education by Jaimini", second
// illustration): Gemini rising at 29°13', Mars 9°13', Venus 11°48', Sun
// 20°41', Mercury 22°21', Saturn 27°23', Moon 11°34', Jupiter 12°42', Rahu
// 29°17'. The signs below follow from the periods he gives (exalted Mercury
// and debilitated Venus in Virgo, Rahu with them, Mars in Taurus, Jupiter in
// Libra, Saturn in Scorpio, Ketu opposite Rahu); the Sun's and the Moon's
// signs and the birth date are not given, so every sign is tried for both and
// the birth is put in mid-1958.
TEST(CharaDasha, KNRaosEducationChart) {
    constexpr auto dm = [](int d, int m) { return d + m / 60.0; };
    const std::array<double, 10> degrees{dm(20, 41), dm(11, 34), dm(22, 21), dm(11, 48), dm(9, 13),
                                         dm(12, 42), dm(27, 23), dm(29, 17), dm(29, 17), dm(29, 13)};
    const UtMoment birth = At(1958y / July / 1);
    for (int sun = 1; sun <= 12; ++sun) {
        for (int moon = 1; moon <= 12; ++moon) {
            SCOPED_TRACE(::testing::Message() << "Sun " << sun << ", Moon " << moon);
            const Chart chart = ChartOf({sun, moon, 6, 6, 2, 7, 8, 6, 12, 3}, degrees);
            const JaiminiTools tools = JaiminiToolsOf(chart.Longitudes, chart.Signs, ArudhaLagnaOf(chart), birth);
            const CharaDashaTable& dasha = tools.CharaDasha;
            EXPECT_FALSE(dasha.Forward);
            // Gemini 1958-61, Taurus -65, Aries -66, Pisces -71, Aquarius
            // -76 (Rahu, with more planets, the stronger), Capricorn -78,
            // Sagittarius ten years to 1988.
            const int signs[7] = {3, 2, 1, 12, 11, 10, 9};
            const int years[7] = {3, 4, 1, 5, 5, 2, 10};
            const int ends[7] = {1961, 1965, 1966, 1971, 1976, 1978, 1988};
            for (std::size_t k = 0; k < 7; ++k) {
                EXPECT_EQ(dasha.Periods[k].Sign, signs[k]);
                EXPECT_EQ(dasha.Periods[k].Years, years[k]);
                EXPECT_EQ(static_cast<int>(dasha.Periods[k].EndDate().year()), ends[k]);
            }
            EXPECT_EQ(static_cast<int>(dasha.Periods[0].StartDate().year()), 1958);
            EXPECT_EQ(dasha.Periods[4].Rule.Lord, Rahu);
            EXPECT_EQ(dasha.Periods[6].Sub[0].Sign, 8);  // Scorpio the first sub-period
            // The AmK (Mercury, in Virgo) aspects the 5th from Scorpio.
            EXPECT_EQ(tools.Karakas.Atmakaraka().Graha, Saturn);
            EXPECT_EQ(tools.Karakas.Ranked[1].Graha, Mercury);
            EXPECT_TRUE(SignAspects(6, NthSignFrom(8, 5)));
        }
    }
}

// ---- All together ---------------------------------------------------------

// The whole toolkit takes its own quicker roads (signs wrapped once, the
// arudhas from a table, every part filled where it stands): each part must
// still be what the part's own function gives, signs past 12 or below 1
// included.
TEST(JaiminiTools, EachPartAsItsOwnFunctionGivesIt) {
    std::mt19937 random(31);
    for (int n = 0; n < 300; ++n) {
        Chart chart = RandomChart(random, n % 2 == 0);
        const int arudhaLagna = ArudhaLagnaOf(chart) + (n % 3 == 0 ? 24 : 0);
        if (n % 3 == 0) {
            for (int& sign : chart.Signs) sign += 12 * (n % 5 - 2);  // the same signs, other turns
        }
        const int scheme = n % 4 == 0 ? 7 : 8;
        const UtMoment birth = At(1901y / January / 1) + duration<double>(n * 1.6e7);
        SCOPED_TRACE(n);
        const JaiminiTools tools = JaiminiToolsOf(chart.Longitudes, chart.Signs, arudhaLagna, birth, scheme);

        const CharaKarakas karakas = CharaKarakasOf(chart.Longitudes, scheme);
        ASSERT_EQ(tools.Karakas.Count, karakas.Count);
        EXPECT_EQ(tools.Karakas.Scheme, scheme);
        for (std::size_t i = 0; i < static_cast<std::size_t>(karakas.Count); ++i) {
            EXPECT_EQ(tools.Karakas.Ranked[i].Graha, karakas.Ranked[i].Graha);
            EXPECT_EQ(tools.Karakas.Ranked[i].DegreeInSign, karakas.Ranked[i].DegreeInSign);
            EXPECT_EQ(tools.Karakas.Ranked[i].Name, karakas.Ranked[i].Name);
            EXPECT_EQ(tools.Karakas.Ranked[i].Title, karakas.Ranked[i].Title);
        }
        for (int sign = 1; sign <= 12; ++sign)
            EXPECT_EQ(tools.Aspects[static_cast<std::size_t>(sign - 1)], SignsAspectedBy(sign));

        const Body ak = karakas.Atmakaraka().Graha;
        const int references[3] = {chart.Signs[Ascendant], arudhaLagna, chart.Signs[static_cast<std::size_t>(ak)]};
        for (std::size_t r = 0; r < 3; ++r) {
            const ArgalaReference alone = ArgalaOf(tools.Argala[r].From, references[r], chart.Signs);
            EXPECT_EQ(tools.Argala[r].Sign, alone.Sign);
            EXPECT_EQ(tools.Argala[r].Sign, Sign(references[r]));
            for (std::size_t h = 0; h < 4; ++h) {
                EXPECT_EQ(tools.Argala[r].Houses[h].House, alone.Houses[h].House);
                EXPECT_EQ(tools.Argala[r].Houses[h].Bodies, alone.Houses[h].Bodies);
                EXPECT_EQ(tools.Argala[r].Houses[h].Obstructing, alone.Houses[h].Obstructing);
                EXPECT_EQ(tools.Argala[r].Houses[h].State, alone.Houses[h].State);
            }
        }
        EXPECT_EQ(tools.Argala[0].From, "Asc");
        EXPECT_EQ(tools.Argala[1].From, "AL");
        EXPECT_EQ(tools.Argala[2].From, "AK");

        for (int body = 0; body < 9; ++body) {
            const GrahaArudhaSet& set = tools.GrahaArudhas[static_cast<std::size_t>(body)];
            const OwnedSigns owned = OwnedSignsOf(static_cast<Body>(body));
            EXPECT_EQ(set.Graha, body);
            ASSERT_EQ(set.Count, owned.Count);
            for (std::size_t i = 0; i < static_cast<std::size_t>(owned.Count); ++i) {
                const GrahaArudha alone = GrahaArudhaOf(chart.Signs[static_cast<std::size_t>(body)], owned.Signs[i]);
                EXPECT_EQ(set.Arudhas[i].OwnSign, alone.OwnSign);
                EXPECT_EQ(set.Arudhas[i].Sign, alone.Sign);
                EXPECT_EQ(set.Arudhas[i].Moved, alone.Moved);
            }
        }

        const CharaDashaTable dasha = CharaDashaOf(chart.Longitudes, chart.Signs, birth);
        EXPECT_EQ(tools.CharaDasha.Forward, dasha.Forward);
        for (std::size_t k = 0; k < 12; ++k) {
            const CharaPeriod& mine = tools.CharaDasha.Periods[k];
            const CharaPeriod& alone = dasha.Periods[k];
            EXPECT_EQ(mine.Sign, alone.Sign);
            EXPECT_EQ(mine.Years, alone.Years);
            EXPECT_EQ(mine.Rule.Lord, alone.Rule.Lord);
            EXPECT_EQ(mine.Rule.Choice, alone.Rule.Choice);
            EXPECT_EQ(mine.Rule.Count, alone.Rule.Count);
            EXPECT_EQ(mine.Rule.LordCompanions, alone.Rule.LordCompanions);
            EXPECT_EQ(mine.Start, alone.Start);
            EXPECT_EQ(mine.End, alone.End);
            EXPECT_EQ(mine.SubForward, alone.SubForward);
            for (std::size_t j = 0; j < 12; ++j) {
                EXPECT_EQ(mine.Sub[j].Sign, alone.Sub[j].Sign);
                EXPECT_EQ(mine.Sub[j].Start, alone.Sub[j].Start);
                EXPECT_EQ(mine.Sub[j].End, alone.Sub[j].End);
            }
            const CharaYears rule = CharaYearsOf(alone.Sign, chart.Longitudes, chart.Signs);
            EXPECT_EQ(mine.Rule.Lord, rule.Lord);
            EXPECT_EQ(mine.Rule.OtherLord, rule.OtherLord);
            EXPECT_EQ(mine.Rule.LordSign, rule.LordSign);
            EXPECT_EQ(mine.Rule.OtherLordSign, rule.OtherLordSign);
            EXPECT_EQ(mine.Rule.Years, rule.Years);
        }
    }
}
