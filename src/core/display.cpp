#include "core/display.h"

#include <array>
#include <charconv>
#include <system_error>
#include <clocale>
#include <ctime>
#include <locale>
#include <sstream>
#include <stdexcept>

#include "analysis/reading_rules.h"

namespace velmora::core {

namespace {

std::locale UserLocale() {
    try {
        return std::locale("");
    } catch (const std::runtime_error&) {
        return std::locale::classic();
    }
}

MonthNameTable ReadMonthNames(const std::locale& locale) {
    MonthNameTable names;
    for (int month = 0; month < 12; ++month) {
        std::tm tm{};
        tm.tm_mon = month;
        tm.tm_mday = 1;
        tm.tm_year = 100;
        std::ostringstream out;
        out.imbue(locale);
        const char pattern[] = "%B";
        std::use_facet<std::time_put<char>>(locale).put(out, out, ' ', &tm, pattern, pattern + 2);
        names[static_cast<std::size_t>(month)] = out.str();
    }
    return names;
}

void AppendInt(std::string& out, int value) {
    char digits[12];
    const auto [end, ec] = std::to_chars(digits, digits + sizeof digits, value);
    (void)ec;
    out.append(digits, end);
}

// A short text put together in place and made a string once (the texts
// here fit the string's own room: no allocation, one copy).
class ShortText {
public:
    void Put(char c) {
        if (size_ < chars_.size()) chars_[size_++] = c;
    }
    void Put(std::string_view text) {
        for (char c : text) Put(c);
    }
    void PutInt(int value) {
        const auto [end, ec] = std::to_chars(chars_.data() + size_, chars_.data() + chars_.size(), value);
        if (ec == std::errc()) size_ = static_cast<std::size_t>(end - chars_.data());
    }
    std::string Str() const { return std::string(chars_.data(), size_); }

private:
    std::array<char, 32> chars_{};  // room for any two whole numbers and their marks
    std::size_t size_ = 0;
};

}  // namespace

std::string WithNewlines(std::string_view text) {
    std::string shown;
    shown.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        shown.push_back(text[i]);
    }
    return shown;
}

const MonthNameTable& SystemMonthNames() {
    static const MonthNameTable names = ReadMonthNames(UserLocale());
    return names;
}

const MonthNameTable& EnglishMonthNames() {
    static const MonthNameTable names{"January", "February", "March",     "April",   "May",      "June",
                                      "July",    "August",   "September", "October", "November", "December"};
    return names;
}

std::string FormatDateOfBirth(const ClockReading& clock, const MonthNameTable& months) {
    std::string text;
    if (clock.Month >= 1 && clock.Month <= 12) text = months[static_cast<std::size_t>(clock.Month - 1)];
    text += '/';
    AppendInt(text, clock.Day);
    text += '/';
    AppendInt(text, clock.Year);
    return text;
}

std::string FormatTimeOfBirth(const ClockReading& clock) {
    ShortText text;
    text.PutInt(clock.Hour);
    text.Put(':');
    text.PutInt(clock.Minute);
    return text.Str();
}

std::string FormatAngle(int degrees, int minutes) {
    ShortText text;
    text.PutInt(degrees);
    text.Put("\xC2\xB0 ");
    text.PutInt(minutes);
    text.Put('\'');
    return text.Str();
}

namespace {

// Every heading and sentence of the reading rules followed by the line
// breaks the readings box gives it, laid out once when the program is
// compiled: a heading ends in one line break, or three when no sentence
// follows it; a sentence ends in two. The runs of an analysis are views of
// this text, so making them copies nothing.
constexpr std::size_t kRulesCount = analysis::kReadingRules.size();

constexpr std::size_t SuffixedLength(const analysis::ReadingRule& rule) {
    std::size_t length = rule.Heading.size() + kReadingsLineBreak.size();
    std::size_t sentences = 0;
    for (const std::string_view& sentence : rule.Sentences) {
        if (sentence.empty()) continue;
        ++sentences;
        length += sentence.size() + 2 * kReadingsLineBreak.size();
    }
    if (sentences == 0) length += 2 * kReadingsLineBreak.size();
    return length;
}

constexpr std::size_t kSuffixedSize = [] {
    std::size_t total = 0;
    for (const analysis::ReadingRule& rule : analysis::kReadingRules) total += SuffixedLength(rule);
    return total;
}();

struct SuffixedRuleTexts {
    std::array<char, kSuffixedSize> Chars{};
    // For each rule: where its heading, first and second sentence start, and
    // how long each is with its line breaks.
    std::array<std::array<std::size_t, 3>, kRulesCount> Start{};
    std::array<std::array<std::size_t, 3>, kRulesCount> Length{};
};

constexpr SuffixedRuleTexts kSuffixed = [] {
    SuffixedRuleTexts t;
    std::size_t at = 0;
    const auto put = [&](const std::string_view& text, int breaks) {
        const std::size_t start = at;
        for (char c : text) t.Chars[at++] = c;
        for (int k = 0; k < breaks; ++k)
            for (char c : kReadingsLineBreak) t.Chars[at++] = c;
        return std::array<std::size_t, 2>{start, at - start};
    };
    for (std::size_t r = 0; r < kRulesCount; ++r) {
        const analysis::ReadingRule& rule = analysis::kReadingRules[r];
        const bool sentences = !rule.Sentences[0].empty() || !rule.Sentences[1].empty();
        const auto heading = put(rule.Heading, sentences ? 1 : 3);
        t.Start[r][0] = heading[0];
        t.Length[r][0] = heading[1];
        std::size_t slot = 1;
        for (const std::string_view& sentence : rule.Sentences) {
            if (sentence.empty()) continue;
            const auto placed = put(sentence, 2);
            t.Start[r][slot] = placed[0];
            t.Length[r][slot] = placed[1];
            ++slot;
        }
    }
    return t;
}();

std::string_view SuffixedText(std::size_t rule, std::size_t part) {
    return {kSuffixed.Chars.data() + kSuffixed.Start[rule][part], kSuffixed.Length[rule][part]};
}

}  // namespace

std::vector<TextRun> ReadingRuns(const std::vector<analysis::Reading>& readings) {
    std::vector<TextRun> runs;
    runs.reserve(readings.size() * 3);
    for (const analysis::Reading& r : readings) {
        const std::uint32_t color = r.Tone == analysis::HeadingTone::Plain ? kReadingBlack : kReadingRed;
        if (r.Rule < 0 || static_cast<std::size_t>(r.Rule) >= kRulesCount) {
            // A reading made by hand rather than by the rules has no laid-out text.
            throw std::invalid_argument("a reading that no rule gave");
        }
        const auto rule = static_cast<std::size_t>(r.Rule);
        runs.push_back({SuffixedText(rule, 0), true, color});
        for (int i = 0; i < r.SentenceCount; ++i)
            runs.push_back({SuffixedText(rule, static_cast<std::size_t>(i) + 1), false, kReadingBlack});
    }
    return runs;
}

const std::array<std::string_view, kProfileFieldCount> kProfileCaptions{"Arudha Lagna Present In Sign",
                                                                        "Vedic Name",
                                                                        "English Name",
                                                                        "Ruling Planet",
                                                                        "Symbol",
                                                                        "Nature",
                                                                        "Color",
                                                                        "Type Of Sign",
                                                                        "Gender",
                                                                        "Best Period Of Activity",
                                                                        "Barren",
                                                                        "Caste",
                                                                        "Position",
                                                                        "Constituent Character",
                                                                        "Lucky Days",
                                                                        "Lucky Numbers",
                                                                        "Best Direction",
                                                                        "Lucky Colors",
                                                                        "Lucky Gemstone",
                                                                        "Part Of The Body",
                                                                        "Physique",
                                                                        "Looks",
                                                                        "Nature",
                                                                        "Career And Finance",
                                                                        "Love And Domestic Life",
                                                                        "Health",
                                                                        "Compatible With",
                                                                        "Not Compatible With",
                                                                        "Your Arudha Lagna is"};

std::array<std::string_view, kProfileFieldCount> ProfileTexts(const analysis::SignProfileView& profile) {
    const analysis::SignProfile& p = *profile.Row;
    return {p.EnglishName, p.VedicName, p.EnglishName, p.RulingPlanet, p.Symbol, p.Element, p.Colour, p.SignType,
            p.Gender, p.BestPeriod, p.Fruitfulness, p.Caste, p.Position, p.ConstituentCharacter, p.LuckyDays,
            p.LuckyNumbers, p.BestDirection, p.LuckyColours, p.LuckyGemstone, p.BodyPart, p.Physique,
            profile.Character[0], profile.Character[1], profile.Character[2], profile.Character[3],
            profile.Character[4], p.CompatibleWith, p.NotCompatibleWith,
            // The label under "Your Arudha Lagna is" completes the sentence.
            p.EnglishName};
}

namespace {

// Each body's line in a sign's box, a line break and its display name
// (plain, and followed by the retrograde mark), put together once at
// compile time in room of a fixed size.
constexpr std::array<std::array<SignBoxLine, 2>, kBodyCount> kBoxLines = [] {
    std::array<std::array<SignBoxLine, 2>, kBodyCount> lines{};
    for (std::size_t body = 0; body < kBodyCount; ++body) {
        for (std::size_t marked = 0; marked < 2; ++marked) {
            SignBoxLine& line = lines[body][marked];
            for (char c : kLineBreak) line.Chars[line.Size++] = c;
            for (char c : kBodyNames[body]) line.Chars[line.Size++] = c;
            if (marked == 1)
                for (char c : kRetrogradeMark) line.Chars[line.Size++] = c;
        }
    }
    return lines;
}();

}  // namespace

const SignBoxLine& SignBoxLineOf(Body body, bool retrograde) {
    return kBoxLines[static_cast<std::size_t>(body)][retrograde ? 1 : 0];
}

std::string_view DisplayNameOf(Body body, bool retrograde) {
    const SignBoxLine& line = SignBoxLineOf(body, retrograde);
    return std::string_view(line.Chars.data(), line.Size).substr(kLineBreak.size());
}

}  // namespace velmora::core
