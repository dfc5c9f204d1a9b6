#include "analysis/readings.h"

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>

#include "analysis/reading_rules.h"

namespace velmora::analysis {

int HouseFromArudha(int bodySign, int arudhaSign) {
    switch (bodySign - arudhaSign) {
        case 0:
            return 1;
        case 1:
        case -11:
            return 2;
        case 2:
        case -10:
            return 3;
        case 5:
        case -7:
            return 6;
        case 6:
        case -6:
            return 7;
        case 7:
        case -5:
            return 8;
        case 10:
        case -2:
            return 11;
        default:
            return 0;  // the 4th, 5th, 9th, 10th and 12th are never examined
    }
}

namespace {

// The reading each rule gives, made once at compile time: an analysis copies
// the few whose body stands in the rule's house.
constexpr Reading ReadingOfRule(int k, ReadingRule rule) {
    Reading r;
    r.Rule = k;
    r.Subject = static_cast<Body>(rule.Body);
    r.House = rule.House;
    r.Heading = rule.Heading;
    r.Tone = rule.Tone;
    for (std::string_view sentence : rule.Sentences) {
        if (!sentence.empty()) r.Sentences[static_cast<std::size_t>(r.SentenceCount++)] = sentence;
    }
    return r;
}

constexpr std::array<Reading, kReadingRules.size()> kRuleReadings = [] {
    std::array<Reading, kReadingRules.size()> all{};
    for (std::size_t k = 0; k < kReadingRules.size(); ++k)
        all[k] = ReadingOfRule(static_cast<int>(k), kReadingRules[k]);
    return all;
}();

// For each body and house (0 for a house no rule examines), the rules that
// body in that house fulfils, one bit per rule in the table's order: an
// analysis gathers its readings by joining the ten bodies' sets.
static_assert(kReadingRules.size() <= 64, "one bit per rule");
constexpr std::array<std::array<std::uint64_t, 13>, kBodyCount> kRulesOfBodyInHouse = [] {
    std::array<std::array<std::uint64_t, 13>, kBodyCount> rules{};
    for (std::size_t k = 0; k < kReadingRules.size(); ++k) {
        const ReadingRule& rule = kReadingRules[k];
        rules[static_cast<std::size_t>(rule.Body)][static_cast<std::size_t>(rule.House)] |= std::uint64_t{1} << k;
    }
    return rules;
}();

}  // namespace

std::vector<Reading> ArudhaReadings(const std::array<int, kBodyCount>& bodySign, int arudhaLagnaSign) {
    // Each body's house once; then the rules in their order.
    std::array<int, kBodyCount> house{};
    for (std::size_t body = 0; body < kBodyCount; ++body)
        house[body] = HouseFromArudha(bodySign[body], arudhaLagnaSign);
    std::uint64_t fulfilled = 0;
    for (std::size_t body = 0; body < kBodyCount; ++body)
        fulfilled |= kRulesOfBodyInHouse[body][static_cast<std::size_t>(house[body])];
    std::vector<Reading> readings;
    readings.reserve(static_cast<std::size_t>(std::popcount(fulfilled)));
    for (; fulfilled != 0; fulfilled &= fulfilled - 1)
        readings.push_back(kRuleReadings[static_cast<std::size_t>(std::countr_zero(fulfilled))]);
    return readings;
}

}  // namespace velmora::analysis
