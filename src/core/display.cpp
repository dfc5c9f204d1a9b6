#include "core/display.h"

#include <clocale>
#include <ctime>
#include <locale>
#include <sstream>

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

void AppendInt(std::string& out, int value) { out += std::to_string(value); }

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
    std::string text;
    AppendInt(text, clock.Hour);
    text += ':';
    AppendInt(text, clock.Minute);
    return text;
}

std::string FormatAngle(int degrees, int minutes) {
    std::string text;
    AppendInt(text, degrees);
    text += "\xC2\xB0 ";
    AppendInt(text, minutes);
    text += '\'';
    return text;
}

std::vector<TextRun> ReadingRuns(const std::vector<analysis::Reading>& readings) {
    std::vector<TextRun> runs;
    runs.reserve(readings.size() * 2);
    for (const analysis::Reading& r : readings) {
        // A heading without sentences carries its three line breaks itself.
        std::string heading(r.Heading);
        heading += kReadingsLineBreak;
        if (r.SentenceCount == 0) {
            heading += kReadingsLineBreak;
            heading += kReadingsLineBreak;
        }
        runs.push_back(
            {std::move(heading), true, r.Tone == analysis::HeadingTone::Plain ? kReadingBlack : kReadingRed});
        for (int i = 0; i < r.SentenceCount; ++i) {
            std::string sentence(r.Sentences[static_cast<std::size_t>(i)]);
            sentence += kReadingsLineBreak;
            sentence += kReadingsLineBreak;
            runs.push_back({std::move(sentence), false, kReadingBlack});
        }
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

std::string DisplayNameOf(Body body, bool retrograde) {
    std::string name(kBodyNames[static_cast<std::size_t>(body)]);
    if (retrograde) name += kRetrogradeMark;
    return name;
}

}  // namespace velmora::core
