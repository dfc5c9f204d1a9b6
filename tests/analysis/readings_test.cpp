#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "analysis/reading_rules.h"
#include "analysis/readings.h"
#include "core/display.h"

using namespace velmora::analysis;
using velmora::core::kReadingBlack;
using velmora::core::kReadingRed;
using velmora::core::TextRun;

namespace {

constexpr const char* kHealth = "You may suffer from health problems during the dasha of this planet.\r\n\r\n";

// Body signs from sign indexes of the first nine bodies (the ascendant in Aries).
std::array<int, 10> Signs(std::initializer_list<int> first9) {
    std::array<int, 10> s{};
    s.fill(1);
    std::size_t i = 0;
    for (int v : first9) s[i++] = v + 1;
    return s;
}

// The readings as the window shows them.
std::vector<velmora::core::TextRun> Runs(const std::array<int, 10>& signs, int arudhaLagnaSign) {
    return velmora::core::ReadingRuns(ArudhaReadings(signs, arudhaLagnaSign));
}

std::string Joined(const std::vector<velmora::core::TextRun>& runs) {
    std::string all;
    for (const velmora::core::TextRun& r : runs) all += r.Text;
    return all;
}

}  // namespace

TEST(Readings, HousesCountedFromTheArudhaLagna) {
    EXPECT_EQ(HouseFromArudha(3, 3), 1);
    EXPECT_EQ(HouseFromArudha(4, 3), 2);
    EXPECT_EQ(HouseFromArudha(0, 11), 2);  // Pisces to Aries wraps
    EXPECT_EQ(HouseFromArudha(10, 0), 11);
    EXPECT_EQ(HouseFromArudha(0, 2), 11);
    for (int unexamined : {3, 4, 8, 9, 11}) EXPECT_EQ(HouseFromArudha(unexamined, 0), 0) << unexamined;
}

TEST(Readings, MoonInTheArudhaLagnaWithNodesInTheSecondAndEighth) {
    // Arudha Lagna in Aries; Moon in Aries, Rahu in Taurus, Ketu in Scorpio;
    // the others in unexamined houses (4th, 5th, 9th, 10th, 12th).
    const auto runs = Runs(Signs({3, 0, 4, 8, 9, 11, 3, 1, 7}), 1);
    ASSERT_EQ(runs.size(), 5u);
    EXPECT_EQ(runs[0], (velmora::core::TextRun{
                           "Moon (Benefic) present in your Arudha Lagna contributes towards your wellbeing\r\n\r\n\r\n",
                           true, velmora::core::kReadingBlack}));
    EXPECT_EQ(runs[1], (velmora::core::TextRun{"Rahu (Malefic) present in 2nd House From Arudha Lagna\r\n", true,
                                               velmora::core::kReadingRed}));
    EXPECT_EQ(runs[2], (velmora::core::TextRun{kHealth, false, velmora::core::kReadingBlack}));
    EXPECT_EQ(runs[3], (velmora::core::TextRun{"Ketu (Malefic) present in 8th House From Arudha Lagna\r\n", true,
                                               velmora::core::kReadingRed}));
    EXPECT_EQ(runs[4], (velmora::core::TextRun{kHealth, false, velmora::core::kReadingBlack}));
}

TEST(Readings, TwoSentencesAndTableOrder) {
    // Saturn in the 2nd from a Gemini Arudha Lagna; everything else unexamined.
    auto runs = Runs(Signs({5, 5, 5, 5, 5, 5, 3, 5, 11}), 3);
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0].Text, "Saturn (Malefic) present in 2nd House From Arudha Lagna\r\n");
    EXPECT_EQ(runs[1].Text, kHealth);
    EXPECT_EQ(runs[2].Text, "your reputation my be hurt because of your lying nature.\r\n\r\n");
    EXPECT_FALSE(runs[2].Bold);

    // Mars and Saturn together in the 3rd: Saturn's rule (26) comes first.
    runs = Runs(Signs({3, 3, 3, 3, 2, 3, 2, 3, 9}), 1);
    ASSERT_EQ(runs.size(), 4u);
    EXPECT_EQ(runs[0].Text, "Saturn (Malefic) present in 3rd House From Arudha Lagna\r\n");
    EXPECT_EQ(runs[2].Text, "Mars (Malefic) present in 3rd House From Arudha Lagna\r\n");

    // Pisces Arudha Lagna with Mars in Aries: the 2nd house, rule 9.
    runs = Runs(Signs({2, 2, 2, 2, 0, 2, 2, 2, 8}), 12);
    ASSERT_FALSE(runs.empty());
    EXPECT_EQ(runs[0].Text, "Mars (Malefic) present in 2nd House From Arudha Lagna\r\n");
    EXPECT_EQ(runs.back().Text, "your reputation my be hurt because of a sexual scandal.\r\n\r\n");
}

TEST(Readings, NothingWhenNoBodyIsInAnExaminedHouse) {
    EXPECT_TRUE(Runs(Signs({3, 4, 8, 9, 11, 3, 4, 8, 9}), 1).empty());
}

TEST(Readings, EveryRuleOnceAcrossAllPlacements) {
    // Put each body alone in each examined house and count the readings: 51
    // in all, benefics in the 1st house black-or-red as tabled, malefics in
    // the 1st and Sun/Mars/Saturn and the benefics in the 7th silent.
    int readings = 0;
    for (int body = 0; body < 9; ++body) {
        for (int house : {1, 2, 3, 6, 7, 8, 11}) {
            std::array<int, 10> signs{};
            for (int other = 0; other < 10; ++other) signs[static_cast<std::size_t>(other)] = 4;  // the 4th
            signs[static_cast<std::size_t>(body)] = house;
            const auto runs = Runs(signs, 1);
            const auto typed = ArudhaReadings(signs, 1);
            if (!typed.empty()) {
                EXPECT_EQ(typed[0].Subject, body);
                EXPECT_EQ(typed[0].House, house);
            }
            if (runs.empty()) continue;
            ++readings;
            EXPECT_TRUE(runs[0].Bold);
            EXPECT_EQ(runs[0].Color,
                      (body == 1 && house == 1) ? velmora::core::kReadingBlack : velmora::core::kReadingRed);
            for (std::size_t i = 1; i < runs.size(); ++i) {
                EXPECT_FALSE(runs[i].Bold);
                EXPECT_EQ(runs[i].Color, velmora::core::kReadingBlack);
            }
        }
    }
    EXPECT_EQ(readings, 51);
    // The sentence of the benefics in the 11th has no full stop.
    const auto eleventh = Runs(Signs({3, 10, 3, 3, 3, 3, 3, 3, 9}), 1);
    EXPECT_EQ(Joined(eleventh),
              "Moon (Benefic) present in 11th House From Arudha Lagna\r\n"
              "This will make you rich and the money will come from legal sources\r\n\r\n");
}

// Over random charts, the readings are exactly the rules whose body stands
// in the rule's house counted from the Arudha Lagna, once each, in the
// order of the rule table (the rules read one by one against the chart).
TEST(Readings, RandomChartsGiveTheFulfilledRulesInTableOrder) {
    std::mt19937 random(51);
    std::uniform_int_distribution<int> sign(1, 12);
    std::size_t total = 0;
    for (int chart = 0; chart < 3000; ++chart) {
        std::array<int, 10> signs{};
        for (int& s : signs) s = sign(random);
        const int arudha = sign(random);
        std::vector<int> expected;
        for (std::size_t k = 0; k < kReadingRules.size(); ++k) {
            const ReadingRule& rule = kReadingRules[k];
            if (HouseFromArudha(signs[static_cast<std::size_t>(rule.Body)], arudha) == rule.House)
                expected.push_back(static_cast<int>(k));
        }
        std::vector<int> given;
        for (const Reading& r : ArudhaReadings(signs, arudha)) {
            given.push_back(r.Rule);
            EXPECT_EQ(static_cast<int>(r.Subject), kReadingRules[static_cast<std::size_t>(r.Rule)].Body);
        }
        ASSERT_EQ(given, expected) << "chart " << chart;
        total += given.size();
    }
    EXPECT_GT(total, 3000u);  // charts with readings, not a run of empty ones
}
