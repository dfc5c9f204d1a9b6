#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/character_texts.h"

using namespace velmora::analysis;

namespace {

constexpr int kSignCount = 12;
constexpr int kAries = 0, kTaurus = 1, kGemini = 2, kLeo = 4, kVirgo = 5, kScorpio = 7;

struct Expected {
    std::string_view opening;
    std::size_t length;
};

// Opening sentence and full length of every text, kept apart from the texts
// themselves so that an edit to a text has to be matched here on purpose.
constexpr std::array<std::array<Expected, kSignCount>, kCharacterColumnCount> kExpected{{
    {{
        {"You may be slim and of medium complexion.", 185},                       // Aries
        {"You are attractive and beautiful.", 191},                               // Taurus
        {"You are tall slim and good looking.", 127},                             // Gemini
        {"You have a medium stature and may be a bit stout.", 136},               // Cancer
        {"You are tall  and have broad squarely built shoulders.", 137},          // Leo
        {"You are tall and slim with sharp features.", 131},                      // Virgo
        {"You are tall and thin.", 150},                                          // Libra
        {"You have broad body shape.", 103},                                      // Scorpio
        {"You may be medium to tall and well built.", 167},                       // Sagittarius
        {"You have beautiful eyes.", 107},                                        // Capricorn
        {"You have a fair complexion.", 221},                                     // Aquarius
        {"You have the perfect body with the right nose, eyes and mouth.", 154},  // Pisces
    }},
    {{
        {"You are very independent and dynamic.", 883},                                  // Aries
        {"You have a powerful and commanding personality.", 685},                        // Taurus
        {"You have an analytical mind.", 652},                                           // Gemini
        {"You are a patient person and very emotional.", 619},                           // Cancer
        {"You are a leader and can never take orders.", 716},                            // Leo
        {"You are practical and polished.", 855},                                        // Virgo
        {"Justice means everything to you.", 769},                                       // Libra
        {"Mysterious is the first word that comes to mind about this moon sign.", 811},  // Scorpio
        {"You are very optimistic and spontaneous by nature.", 515},                     // Sagittarius
        {"You want to achieve a lot in life.", 726},                                     // Capricorn
        {"You are a thinker, philosopher and an idealist.", 626},                        // Aquarius
        {"You are very creative and soft by nature.", 699},                              // Pisces
    }},
    {{
        {"You are ambitious by nature.", 175},                                          // Aries
        {"You love spending on luxurious things.", 282},                                // Taurus
        {"You will do very well in jobs that need interaction with people.", 227},      // Gemini
        {"You have an artistic bent of mind.", 186},                                    // Cancer
        {"You can do well in professions that need you to be in the limelight.", 215},  // Leo
        {"You are skilled in music and dance.", 126},                                   // Virgo
        {"You could make a career of the artistic kind.", 157},                         // Libra
        {"You may come in possession of sudden legacies and gifts.", 257},              // Scorpio
        {"You always yearn to learn more in life.", 240},                               // Sagittarius
        {"Material wealth means a lot to you.", 166},                                   // Capricorn
        {"You will do very well in public related jobs and businesses.", 195},          // Aquarius
        {"You are artistically inclined.", 231},                                        // Pisces
    }},
    {{
        {"You are a romantic to the core by nature.", 210},                                 // Aries
        {"You may not express your emotions but you are still a romantic at heart.", 140},  // Taurus
        {"You are blessed with a long life.", 216},                                         // Gemini
        {"Parents will mean a lot to you.", 220},                                           // Cancer
        {"You love living life king size.", 321},                                           // Leo
        {"You are not romantic at all.", 150},                                              // Virgo
        {"Being peaceful and loving by nature, you have good love life.", 184},             // Libra
        {"Your possessive nature may create problems in life.", 276},                       // Scorpio
        {"You may have some problem dealing with other people.", 297},                      // Sagittarius
        {"Domestic life will have its share of problems mainly because of inability of household members to get along "
         "with each other.",
         324},                                                                  // Capricorn
        {"You are influenced more by your friends than your relatives.", 177},  // Aquarius
        {"Your children will be very fortunate to be born to you.", 293},       // Pisces
    }},
    {{
        {"You may be prone to blood circulation problems, head related illnesses and BP issues.", 121},  // Aries
        {"You may not enjoy good health all the time.", 84},                                             // Taurus
        {"You may have some problems of the sexual nature.", 108},                                       // Gemini
        {"You may have stress and mental illnesses because of your highly emotional and sensitive nature.",
         166},                                                                         // Cancer
        {"Heart problems may occur.", 124},                                            // Leo
        {"Your intestine and liver may give you some problems.", 81},                  // Virgo
        {"Kidney and liver are your weak parts.", 93},                                 // Libra
        {"You may have problems from piles and colic.", 110},                          // Scorpio
        {"Your body gives out too much heat, which may create a few problems.", 155},  // Sagittarius
        {"You may be prone to gout and blood related problems.", 93},                  // Capricorn
        {"Your legs and eyes may be weak.", 155},                                      // Aquarius
        {"Common cold will be your constant companion.", 131},                         // Pisces
    }},
}};

struct Range {
    std::size_t shortest;
    std::size_t longest;
};

constexpr std::array<Range, kCharacterColumnCount> kColumnRanges{
    {{103, 221}, {515, 883}, {126, 282}, {140, 324}, {81, 166}}};

std::string_view Text(int column, int row) { return kCharacterTexts[column][row]; }

std::string Where(int column, int row) { return "column " + std::to_string(column) + ", row " + std::to_string(row); }

std::size_t Count(std::string_view text, std::string_view part) {
    std::size_t n = 0;
    for (auto pos = text.find(part); pos != std::string_view::npos; pos = text.find(part, pos + 1)) ++n;
    return n;
}

// The sentences of a text: pieces ending in '.', '?' or '!' followed by
// blanks or the end, with surrounding blanks removed.
std::vector<std::string> Sentences(std::string_view text) {
    std::vector<std::string> out;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const bool stop = (c == '.' || c == '?' || c == '!') && (i + 1 == text.size() || text[i + 1] == ' ');
        if (!stop) continue;
        std::string_view piece = text.substr(start, i + 1 - start);
        while (!piece.empty() && piece.front() == ' ') piece.remove_prefix(1);
        out.emplace_back(piece);
        start = i + 1;
    }
    return out;
}

TEST(CharacterTexts, EveryTextOpensWithItsSentenceAndHasItsLength) {
    for (int c = 0; c < kCharacterColumnCount; ++c) {
        for (int r = 0; r < kSignCount; ++r) {
            SCOPED_TRACE(Where(c, r));
            const Expected& e = kExpected[c][r];
            const std::string_view t = Text(c, r);
            EXPECT_EQ(t.substr(0, e.opening.size()), e.opening);
            EXPECT_EQ(t.size(), e.length);
            // The opening is a whole sentence: the text goes on after a blank.
            if (t.size() > e.opening.size()) {
                EXPECT_EQ(t[e.opening.size()], ' ');
            }
        }
    }
}

TEST(CharacterTexts, TextsGivenInFullAreExact) {
    EXPECT_EQ(Text(Looks, kGemini),
              "You are tall slim and good looking. You may have curly hair and an elevated nose. "
              "Generally Geminians have attractive features.");
    EXPECT_EQ(Text(LoveAndDomesticLife, kVirgo),
              "You are not romantic at all. All your relationships are planned and analyzed.    "
              "But you provide well for your partners. You make responsible parents.");
    EXPECT_EQ(Text(Health, kTaurus),
              "You may not enjoy good health all the time. Throat and heart ailments may be common.");
    EXPECT_EQ(Text(Health, kVirgo),
              "Your intestine and liver may give you some problems. Else you enjoy sound health.");
    EXPECT_EQ(Text(Health, kVirgo).size(), 81u);
}

TEST(CharacterTexts, LengthsStayInsideTheirColumnRanges) {
    for (int c = 0; c < kCharacterColumnCount; ++c) {
        std::size_t shortest = SIZE_MAX, longest = 0;
        for (int r = 0; r < kSignCount; ++r) {
            SCOPED_TRACE(Where(c, r));
            const std::size_t n = Text(c, r).size();
            EXPECT_GE(n, kColumnRanges[c].shortest);
            EXPECT_LE(n, kColumnRanges[c].longest);
            shortest = std::min(shortest, n);
            longest = std::max(longest, n);
        }
        // Each range is tight: some text sits on either end of it.
        EXPECT_EQ(shortest, kColumnRanges[c].shortest) << "column " << c;
        EXPECT_EQ(longest, kColumnRanges[c].longest) << "column " << c;
    }
}

TEST(CharacterTexts, AriesNatureIsTheOnlyLongestAndVirgoHealthTheOnlyShortest) {
    const std::size_t longest = Text(Nature, kAries).size();
    const std::size_t shortest = Text(Health, kVirgo).size();
    EXPECT_EQ(longest, 883u);
    EXPECT_EQ(shortest, 81u);
    for (int c = 0; c < kCharacterColumnCount; ++c) {
        for (int r = 0; r < kSignCount; ++r) {
            if (c == Nature && r == kAries) continue;
            if (c == Health && r == kVirgo) continue;
            SCOPED_TRACE(Where(c, r));
            EXPECT_LT(Text(c, r).size(), longest);
            EXPECT_GT(Text(c, r).size(), shortest);
        }
    }
}

TEST(CharacterTexts, DoubledBlanksOnlyWhereListed) {
    struct Doubled {
        int column;
        int row;
        std::string_view around;
    };
    const std::array<Doubled, 3> listed{{
        {Looks, kLeo, "tall  and"},
        {LoveAndDomesticLife, kVirgo, "analyzed.    But"},
        {LoveAndDomesticLife, kScorpio, "life.  You"},
    }};
    for (const Doubled& d : listed) {
        SCOPED_TRACE(Where(d.column, d.row));
        const std::string_view t = Text(d.column, d.row);
        ASSERT_EQ(Count(t, d.around), 1u);
        // Outside the listed spot the text has no run of blanks.
        std::string rest(t);
        rest.replace(rest.find(d.around), d.around.size(), "#");
        EXPECT_EQ(rest.find("  "), std::string::npos);
    }
    // Scorpio's doubled blank sits right after the opening sentence.
    EXPECT_EQ(Text(LoveAndDomesticLife, kScorpio).find("life.  You"),
              kExpected[LoveAndDomesticLife][kScorpio].opening.size() - 5);

    for (int c = 0; c < kCharacterColumnCount; ++c) {
        for (int r = 0; r < kSignCount; ++r) {
            const bool isListed = std::any_of(listed.begin(), listed.end(),
                                              [&](const Doubled& d) { return d.column == c && d.row == r; });
            if (isListed) continue;
            SCOPED_TRACE(Where(c, r));
            EXPECT_EQ(Text(c, r).find("  "), std::string_view::npos);
        }
    }
}

TEST(CharacterTexts, EveryTextIsOnePlainAsciiParagraphEndingInAFullStop) {
    for (int c = 0; c < kCharacterColumnCount; ++c) {
        for (int r = 0; r < kSignCount; ++r) {
            SCOPED_TRACE(Where(c, r));
            const std::string_view t = Text(c, r);
            ASSERT_FALSE(t.empty());
            for (const char ch : t) {
                const auto u = static_cast<unsigned char>(ch);
                EXPECT_TRUE(u >= 0x20 && u <= 0x7e) << "byte " << static_cast<int>(u);
            }
            EXPECT_EQ(t.find_first_of("\r\n\t"), std::string_view::npos);
            EXPECT_NE(t.front(), ' ');
            EXPECT_EQ(t.back(), '.');
        }
    }
}

TEST(CharacterTexts, TextsSpeakToTheReaderAndRepeatNoSentence) {
    std::set<std::string> seen;
    for (int c = 0; c < kCharacterColumnCount; ++c) {
        for (int r = 0; r < kSignCount; ++r) {
            SCOPED_TRACE(Where(c, r));
            const std::string_view t = Text(c, r);
            EXPECT_TRUE(t.find("you") != std::string_view::npos || t.find("You") != std::string_view::npos);
            for (const std::string& s : Sentences(t)) {
                EXPECT_TRUE(seen.insert(s).second) << "repeated sentence: " << s;
            }
        }
    }
    // No two texts are the same.
    std::set<std::string_view> texts;
    for (const auto& column : kCharacterTexts) texts.insert(column.begin(), column.end());
    EXPECT_EQ(texts.size(), static_cast<std::size_t>(kCharacterColumnCount * kSignCount));
}

TEST(CharacterTexts, ScorpioNatureSpeaksOfThisMoonSign) {
    const std::string_view t = Text(Nature, kScorpio);
    EXPECT_EQ(t.rfind("Mysterious is the first word that comes to mind about this moon sign.", 0), 0u);
    EXPECT_NE(t.find("this moon sign"), std::string_view::npos);
}

}  // namespace
