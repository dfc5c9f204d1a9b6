#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/chart.h"
#include "analysis/readings.h"
#include "analysis/sign_profiles.h"
#include "astro/engine.h"
#include "astro/position_text.h"
#include "model/inline_text.h"
#include "model/moment.h"

namespace velmora::core {

// The texts the result window and the tool show for one analysis, made from
// the typed result. Line breaks are plain newlines, except in the readings
// runs: those are the texts exactly as the readings box appends them, with
// CR LF (WithNewlines turns them into plain newlines for display).

inline constexpr std::string_view kLineBreak = "\n";
inline constexpr std::string_view kReadingsLineBreak = "\r\n";
inline constexpr std::string_view kArudhaMarker = "Arudha Lagna";
inline constexpr std::string_view kRetrogradeMark = " (R) ";

// Captions of the position rows, body order.
inline constexpr std::array<std::string_view, kBodyCount> kPositionCaptions{
    "Surya/Sun",    "Chandra/Moon", "Budha/Mercury",   "Shukra/Venus",    "Mangala/Mars",
    "Guru/Jupiter", "Shani/Saturn", "Rahu/North Node", "Ketu/South node", "Asc/Lagna"};

// The sign index shown in each cell of the four-by-four chart, -1 for the
// central panel: Pisces to Gemini across the top, Sagittarius to Virgo along
// the foot.
inline constexpr int kChartGrid[4][4] = {{11, 0, 1, 2}, {10, -1, -1, 3}, {9, -1, -1, 4}, {8, 7, 6, 5}};

// Text with every CR LF turned into a newline.
std::string WithNewlines(std::string_view text);

// The birth details, one text per line of the details panel.
struct BirthDetails {
    std::string Name;
    std::string DateOfBirth;  // e.g. January/5/1980
    std::string TimeOfBirth;  // e.g. 9:5
    std::string Latitude;     // e.g. 28° 36'
    std::string Longitude;
    std::string City;
    std::string State;
    std::string Country;
};

// Full month names, January first.
using MonthNameTable = std::array<std::string, 12>;

// The user's localized full month names, read once ("January" … in an
// English or the C locale).
const MonthNameTable& SystemMonthNames();
const MonthNameTable& EnglishMonthNames();

// "January/5/1980" and "9:5": the details panel's date and time of birth.
std::string FormatDateOfBirth(const ClockReading& clock, const MonthNameTable& months);
std::string FormatTimeOfBirth(const ClockReading& clock);
std::string FormatAngle(int degrees, int minutes);

// One piece of text appended to the readings box, with its style.
inline constexpr std::uint32_t kReadingBlack = 0x000000;
inline constexpr std::uint32_t kReadingRed = 0x800000;  // RGB (128, 0, 0)

struct TextRun {
    std::string_view Text;  // static text: the readings' own, with its line breaks
    bool Bold = false;
    std::uint32_t Color = kReadingBlack;  // 0xRRGGBB

    bool operator==(const TextRun&) const = default;
};

// The readings as runs appended one after another: each heading (bold) with
// one line break, then each sentence (plain black) with two line breaks; a
// heading without sentences gets two further line breaks. Each reading is
// one that ArudhaReadings gave (std::invalid_argument otherwise).
std::vector<TextRun> ReadingRuns(const std::vector<analysis::Reading>& readings);

// The profile fields of the result window, in the order they are written.
enum class ProfileField : int {
    ArudhaLagnaPresentInSign,
    VedicName,
    EnglishName,
    RulingPlanet,
    Symbol,
    Nature,
    Color,
    TypeOfSign,
    Gender,
    BestPeriodOfActivity,
    Barren,
    Caste,
    Position,
    ConstituentCharacter,
    LuckyDays,
    LuckyNumbers,
    BestDirection,
    LuckyColors,
    LuckyGemstone,
    PartOfTheBody,
    Physique,
    Looks,
    NatureText,
    CareerAndFinance,
    LoveAndDomesticLife,
    Health,
    CompatibleWith,
    NotCompatibleWith,
    YourArudhaLagnaIs,
};
inline constexpr int kProfileFieldCount = 29;

// Caption above each profile field, field order.
extern const std::array<std::string_view, kProfileFieldCount> kProfileCaptions;

// The 29 texts shown for a sign profile, field order: the short columns, the
// five character texts, the two compatibility columns and, last, the sign's
// English name under "Your Arudha Lagna is".
std::array<std::string_view, kProfileFieldCount> ProfileTexts(const analysis::SignProfileView& profile);

// The name under which a body is shown: a retrograde planet's name is
// followed by " (R) ". A static text.
std::string_view DisplayNameOf(Body body, bool retrograde);

// A sign's box: a line break and a name for each body in the sign (all ten
// names fit).
using SignBoxText = InlineText<112>;

// One body's line in a sign's box: the line break and its display name,
// the first Size bytes of Chars (a static text).
struct SignBoxLine {
    std::array<char, 16> Chars{};
    std::size_t Size = 0;
};
const SignBoxLine& SignBoxLineOf(Body body, bool retrograde);

// Everything shown for one analysis.
struct DisplayTexts {
    BirthDetails Details;
    std::array<astro::ArcText, kBodyCount> ArcTexts;        // 5° 7' 3" Tau
    std::array<astro::PositionText, kBodyCount> Positions;  // 05 Tau 07
    std::array<std::string_view, kBodyCount> BodyNames;     // display names, "Mars (R) " (static texts)
    std::array<SignBoxText, kSignCount> SignBoxes;          // sign index order: a line break before each name
    std::array<std::string_view, kSignCount> ArudhaMarkers{};
    std::vector<TextRun> Readings;
    bool ProfileShown = false;
    std::array<std::string_view, kProfileFieldCount> Profile{};
};

}  // namespace velmora::core
