#pragma once

#include <array>
#include <string_view>

#include "analysis/readings.h"

namespace velmora::analysis {

// The reading rules: a body (body order), the house counted from the Arudha
// Lagna (1 = the Arudha Lagna sign itself), the heading, its tone and the
// sentences that follow it. Kept in a header so that the front ends can lay
// out their texts when they are compiled.
struct ReadingRule {
    int Body;
    int House;
    std::string_view Heading;
    HeadingTone Tone;
    std::array<std::string_view, 2> Sentences;
};

namespace reading_texts {

inline constexpr std::string_view kHealthProblems =
    "You may suffer from health problems during the dasha of this planet.";
inline constexpr std::string_view kRichesAndLuck = "You will be blessed with riches and good luck.";
inline constexpr std::string_view kCourageous = "This will make you courageous and financially successful.";
inline constexpr std::string_view kTimid = "This will make you timid and restrained.";
inline constexpr std::string_view kRichAnySource =
    "This will make you rich but the money may or may not come from legal sources.";
inline constexpr std::string_view kRichLegal = "This will make you rich and the money will come from legal sources";
inline constexpr std::string_view kStomachOrFire =
    "You will have health ailments related to stomach or be affected by fire.";

}  // namespace reading_texts

// In the order the readings are given.
inline constexpr std::array<ReadingRule, 51> kReadingRules{{
    {1,
     1,
     "Moon (Benefic) present in your Arudha Lagna contributes towards your wellbeing",
     HeadingTone::Plain,
     {}},  // 1 Moon
    {2,
     1,
     "Mercury (Benefic) present in your Arudha Lagna contributes towards your wellbeing",
     HeadingTone::Highlighted,
     {}},  // 2 Mercury
    {5,
     1,
     "Jupiter (Benefic) present in your Arudha Lagna contributes towards your wellbeing",
     HeadingTone::Highlighted,
     {}},  // 3 Jupiter
    {3,
     1,
     "Venus (Benefic) present in your Arudha Lagna contributes towards your wellbeing",
     HeadingTone::Highlighted,
     {}},  // 4 Venus
    {7,
     2,
     "Rahu (Malefic) present in 2nd House From Arudha Lagna",
     HeadingTone::Highlighted,
     {reading_texts::kHealthProblems}},  // 5 Rahu
    {8,
     2,
     "Ketu (Malefic) present in 2nd House From Arudha Lagna",
     HeadingTone::Highlighted,
     {reading_texts::kHealthProblems}},  // 6 Ketu
    {0,
     2,
     "Sun (Malefic) present in 2nd House From Arudha Lagna",
     HeadingTone::Highlighted,
     {reading_texts::kHealthProblems}},  // 7 Sun
    {6,
     2,
     "Saturn (Malefic) present in 2nd House From Arudha Lagna",
     HeadingTone::Highlighted,
     {reading_texts::kHealthProblems, "your reputation my be hurt because of your lying nature."}},  // 8 Saturn
    {4,
     2,
     "Mars (Malefic) present in 2nd House From Arudha Lagna",
     HeadingTone::Highlighted,
     {reading_texts::kHealthProblems, "your reputation my be hurt because of a sexual scandal."}},  // 9 Mars
    {7,
     8,
     "Rahu (Malefic) present in 8th House From Arudha Lagna",
     HeadingTone::Highlighted,
     {reading_texts::kHealthProblems}},  // 10 Rahu
    {8,
     8,
     "Ketu (Malefic) present in 8th House From Arudha Lagna",
     HeadingTone::Highlighted,
     {reading_texts::kHealthProblems}},  // 11 Ketu
    {0,
     8,
     "Sun (Malefic) present in 8th House From Arudha Lagna",
     HeadingTone::Highlighted,
     {reading_texts::kHealthProblems}},  // 12 Sun
    {6,
     8,
     "Saturn (Malefic) present in 8th House From Arudha Lagna",
     HeadingTone::Highlighted,
     {reading_texts::kHealthProblems}},  // 13 Saturn
    {4,
     8,
     "Mars (Malefic) present in 8th House From Arudha Lagna",
     HeadingTone::Highlighted,
     {reading_texts::kHealthProblems}},  // 14 Mars
    {1,
     2,
     "Moon (Benefic) present in 2nd House From Arudha Lagna",
     HeadingTone::Highlighted,
     {reading_texts::kRichesAndLuck, "you may become rich."}},  // 15 Moon
    {2,
     2,
     "Mercury (Benefic) present in 2nd House From Arudha Lagna",
     HeadingTone::Highlighted,
     {reading_texts::kRichesAndLuck, "You will be a king and will be the leader of a country."}},  // 16 Mercury
    {5,
     2,
     "Jupiter (Benefic) present in 2nd House From Arudha Lagna",
     HeadingTone::Highlighted,
     {reading_texts::kRichesAndLuck, "you will attain power and prosperity."}},  // 17 Jupiter
    {3,
     2,
     "Venus (Benefic) present in 2nd House From Arudha Lagna",
     HeadingTone::Highlighted,
     {reading_texts::kRichesAndLuck, "you will be a poet or scholar with good oratory skills."}},  // 18 Venus
    {1,
     8,
     "Moon (Benefic) present in 8th House From Arudha Lagna",
     HeadingTone::Highlighted,
     {reading_texts::kRichesAndLuck}},  // 19 Moon
    {2,
     8,
     "Mercury (Benefic) present in 8th House From Arudha Lagna",
     HeadingTone::Highlighted,
     {reading_texts::kRichesAndLuck}},  // 20 Mercury
    {5,
     8,
     "Jupiter (Benefic) present in 8th House From Arudha Lagna",
     HeadingTone::Highlighted,
     {reading_texts::kRichesAndLuck}},  // 21 Jupiter
    {3,
     8,
     "Venus (Benefic) present in 8th House From Arudha Lagna",
     HeadingTone::Highlighted,
     {reading_texts::kRichesAndLuck}},  // 22 Venus
    {7,
     3,
     "Rahu (Malefic) present in 3rd House From Arudha Lagna",
     HeadingTone::Highlighted,
     {reading_texts::kCourageous}},  // 23 Rahu
    {8,
     3,
     "Ketu (Malefic) present in 3rd House From Arudha Lagna",
     HeadingTone::Highlighted,
     {reading_texts::kCourageous}},  // 24 Ketu
    {0,
     3,
     "Sun (Malefic) present in 3rd House From Arudha Lagna",
     HeadingTone::Highlighted,
     {reading_texts::kCourageous}},  // 25 Sun
    {6,
     3,
     "Saturn (Malefic) present in 3rd House From Arudha Lagna",
     HeadingTone::Highlighted,
     {reading_texts::kCourageous}},  // 26 Saturn
    {4,
     3,
     "Mars (Malefic) present in 3rd House From Arudha Lagna",
     HeadingTone::Highlighted,
     {reading_texts::kCourageous}},  // 27 Mars
    {7,
     6,
     "Rahu (Malefic) present in 6th House From Arudha Lagna",
     HeadingTone::Highlighted,
     {reading_texts::kCourageous}},  // 28 Rahu
    {8,
     6,
     "Ketu (Malefic) present in 6th House From Arudha Lagna",
     HeadingTone::Highlighted,
     {reading_texts::kCourageous}},  // 29 Ketu
    {0,
     6,
     "Sun (Malefic) present in 6th House From Arudha Lagna",
     HeadingTone::Highlighted,
     {reading_texts::kCourageous}},  // 30 Sun
    {6,
     6,
     "Saturn (Malefic) present in 6th House From Arudha Lagna",
     HeadingTone::Highlighted,
     {reading_texts::kCourageous}},  // 31 Saturn
    {4,
     6,
     "Mars (Malefic) present in 6th House From Arudha Lagna",
     HeadingTone::Highlighted,
     {reading_texts::kCourageous}},  // 32 Mars
    {1,
     3,
     "Moon (Benefic) present in 3rd House From Arudha Lagna",
     HeadingTone::Highlighted,
     {reading_texts::kTimid}},  // 33 Moon
    {2,
     3,
     "Mercury (Benefic) present in 3rd House From Arudha Lagna",
     HeadingTone::Highlighted,
     {reading_texts::kTimid}},  // 34 Mercury
    {5,
     3,
     "Jupiter (Benefic) present in 3rd House From Arudha Lagna",
     HeadingTone::Highlighted,
     {reading_texts::kTimid}},  // 35 Jupiter
    {3,
     3,
     "Venus (Benefic) present in 3rd House From Arudha Lagna",
     HeadingTone::Highlighted,
     {reading_texts::kTimid}},  // 36 Venus
    {1,
     6,
     "Moon (Benefic) present in 6th House From Arudha Lagna",
     HeadingTone::Highlighted,
     {reading_texts::kTimid}},  // 37 Moon
    {2,
     6,
     "Mercury (Benefic) present in 6th House From Arudha Lagna",
     HeadingTone::Highlighted,
     {reading_texts::kTimid}},  // 38 Mercury
    {5,
     6,
     "Jupiter (Benefic) present in 6th House From Arudha Lagna",
     HeadingTone::Highlighted,
     {reading_texts::kTimid}},  // 39 Jupiter
    {3,
     6,
     "Venus (Benefic) present in 6th House From Arudha Lagna",
     HeadingTone::Highlighted,
     {reading_texts::kTimid}},  // 40 Venus
    {7,
     11,
     "Rahu (Malefic) present in 11th House From Arudha Lagna",
     HeadingTone::Highlighted,
     {reading_texts::kRichAnySource}},  // 41 Rahu
    {8,
     11,
     "Ketu (Malefic) present in 11th House From Arudha Lagna",
     HeadingTone::Highlighted,
     {reading_texts::kRichAnySource}},  // 42 Ketu
    {0,
     11,
     "Sun (Malefic) present in 11th House From Arudha Lagna",
     HeadingTone::Highlighted,
     {reading_texts::kRichAnySource}},  // 43 Sun
    {6,
     11,
     "Saturn (Malefic) present in 11th House From Arudha Lagna",
     HeadingTone::Highlighted,
     {reading_texts::kRichAnySource}},  // 44 Saturn
    {4,
     11,
     "Mars (Malefic) present in 11th House From Arudha Lagna",
     HeadingTone::Highlighted,
     {reading_texts::kRichAnySource}},  // 45 Mars
    {1,
     11,
     "Moon (Benefic) present in 11th House From Arudha Lagna",
     HeadingTone::Highlighted,
     {reading_texts::kRichLegal}},  // 46 Moon
    {2,
     11,
     "Mercury (Benefic) present in 11th House From Arudha Lagna",
     HeadingTone::Highlighted,
     {reading_texts::kRichLegal}},  // 47 Mercury
    {5,
     11,
     "Jupiter (Benefic) present in 11th House From Arudha Lagna",
     HeadingTone::Highlighted,
     {reading_texts::kRichLegal}},  // 48 Jupiter
    {3,
     11,
     "Venus (Benefic) present in 11th House From Arudha Lagna",
     HeadingTone::Highlighted,
     {reading_texts::kRichLegal}},  // 49 Venus
    {7,
     7,
     "Rahu (Malefic) present in 7th House From Arudha Lagna",
     HeadingTone::Highlighted,
     {reading_texts::kStomachOrFire}},  // 50 Rahu
    {8,
     7,
     "Ketu (Malefic) present in 7th House From Arudha Lagna",
     HeadingTone::Highlighted,
     {reading_texts::kStomachOrFire}},  // 51 Ketu
}};

}  // namespace velmora::analysis
