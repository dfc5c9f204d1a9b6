#include "astro/position_text.h"

#include <array>
#include <charconv>
#include <cmath>
#include <stdexcept>

namespace velmora::astro {

namespace {

constexpr std::string_view kDegreeSign = "\xC2\xB0";  // U+00B0 in UTF-8

void AppendNumber(std::string& out, long long value) {
    char buffer[24];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    (void)ec;
    out.append(buffer, end);
}

std::string_view Trim(std::string_view s) {
    const auto first = s.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const auto last = s.find_last_not_of(' ');
    return s.substr(first, last - first + 1);
}

void AppendPadded(std::string& out, std::string_view part) {
    if (part.size() <= 1) out.push_back('0');
    out.append(part);
}

}  // namespace

std::string_view SignAbbreviation(int signIndex) {
    if (signIndex < 0 || signIndex > 11) return {};
    return kSignAbbreviations.substr(static_cast<std::size_t>(signIndex) * 3, 3);
}

int SignIndexOfAbbreviation(std::string_view abbreviation) {
    for (int k = 0; k < 12; ++k) {
        if (SignAbbreviation(k) == abbreviation) return k;
    }
    return -1;
}

// The magnitude of a longitude within one turn. A full turn (which the
// wrapping rules can leave as exactly 360) is the start of Aries again, never
// a thirteenth sign.
static double WithinOneTurn(double longitude) {
    double x = std::fabs(longitude);
    if (!std::isfinite(x)) return 0;  // never a number the engines give; no sign to read
    if (x >= 360) x -= 360 * std::floor(x / 360);
    return x;
}

int SignIndexOfLongitude(double longitude) {
    // Non-negative and below 360: the whole degrees by truncation, and their
    // thirtieth in whole numbers, are floor(x) / 30 rounded down.
    return static_cast<int>(WithinOneTurn(longitude)) / 30;
}

std::string ArcTextOf(double longitude) {
    const double x = WithinOneTurn(longitude);
    const double g = std::floor(x);
    const double f = x - g;
    const double n = std::floor(60 * f);
    const double s = std::floor(60 * (60 * f - n));
    const int k = static_cast<int>(g / 30);
    long long degrees = static_cast<long long>(g);
    degrees %= 30;  // whole degrees within the sign

    std::string text;
    text.reserve(20);
    AppendNumber(text, degrees);
    text.append(kDegreeSign);
    text.push_back(' ');
    AppendNumber(text, static_cast<long long>(n));
    text.append("' ");
    AppendNumber(text, static_cast<long long>(s));
    text.append("\" ");
    text.append(SignAbbreviation(k));
    return text;
}

namespace {

// 0..99 as text: both digits, and how many of them the shortest form needs
// (the first is dropped below 10).
struct NumberDigits {
    char Tens, Units;
    unsigned char Shortest;
};
constexpr std::array<NumberDigits, 100> kNumberDigits = [] {
    std::array<NumberDigits, 100> all{};
    for (int v = 0; v < 100; ++v)
        all[static_cast<std::size_t>(v)] = {static_cast<char>('0' + v / 10), static_cast<char>('0' + v % 10),
                                            static_cast<unsigned char>(v < 10 ? 1 : 2)};
    return all;
}();

const NumberDigits& DigitsOf(int value) {
    return kNumberDigits[static_cast<std::size_t>(value < 0 || value > 99 ? 0 : value)];
}

// Writes 0..99 in as many digits as it needs: both bytes go down, the
// position moves by the shortest form's length (the next byte written
// covers a units digit written ahead of its place).
char* PutNumber(char* at, const NumberDigits& digits) {
    const bool one = digits.Shortest == 1;
    at[0] = one ? digits.Units : digits.Tens;
    at[1] = digits.Units;
    return at + digits.Shortest;
}

}  // namespace

void FormatLongitude(double longitude, ArcText& arcText, PositionText& positionText) {
    // Every quantity here is non-negative and below 360, where truncating
    // to a whole number is the floor ArcTextOf takes, with no library call.
    const double x = WithinOneTurn(longitude);
    const double g = static_cast<double>(static_cast<int>(x));
    const double f = x - g;
    const int n = static_cast<int>(60 * f);
    const int sec = static_cast<int>(60 * (60 * f - n));
    const int k = static_cast<int>(g) / 30;
    int degrees = static_cast<int>(g);
    degrees %= 30;  // whole degrees within the sign
    // k is 0..11 here; were it not, there would be no sign to name (as in
    // ArcTextOf): blanks in the position text, nothing in the arc text.
    const bool named = k >= 0 && k < 12;
    const std::size_t signAt = named ? static_cast<std::size_t>(k) * 3 : 0;
    const char s0 = named ? kSignAbbreviations[signAt] : ' ';
    const char s1 = named ? kSignAbbreviations[signAt + 1] : ' ';
    const char s2 = named ? kSignAbbreviations[signAt + 2] : ' ';
    const NumberDigits& degreeDigits = DigitsOf(degrees);
    const NumberDigits& minuteDigits = DigitsOf(n);

    // Laid out in a buffer of the text's own room and taken whole.
    std::array<char, 24> arc{};
    char* at = PutNumber(arc.data(), degreeDigits);
    *at++ = kDegreeSign[0];
    *at++ = kDegreeSign[1];
    *at++ = ' ';
    at = PutNumber(at, minuteDigits);
    *at++ = '\'';
    *at++ = ' ';
    at = PutNumber(at, DigitsOf(sec));
    *at++ = '"';
    *at++ = ' ';
    at[0] = s0;
    at[1] = s1;
    at[2] = s2;
    if (named) at += 3;
    arcText.assign_prefix(arc, static_cast<std::size_t>(at - arc.data()));

    // The position text is the arc text cut down: two-digit degrees, the
    // sign, two-digit minutes.
    std::array<char, 16> position{degreeDigits.Tens, degreeDigits.Units, ' ', s0, s1, s2, ' ',
                                  minuteDigits.Tens, minuteDigits.Units};
    positionText.assign_prefix(position, 9);
}

std::string PositionTextOf(std::string_view arcText) {
    const std::string_view t = Trim(arcText);
    const auto degreeAt = t.find(kDegreeSign);
    if (degreeAt == std::string_view::npos) throw std::invalid_argument("arc text without a degree sign");
    const auto afterDegree = degreeAt + kDegreeSign.size();
    const auto apostropheAt = t.find('\'', afterDegree);
    if (apostropheAt == std::string_view::npos) throw std::invalid_argument("arc text without minutes");
    const std::string_view degrees = Trim(t.substr(0, degreeAt));
    const std::string_view minutes = Trim(t.substr(afterDegree, apostropheAt - afterDegree));
    const std::string_view abbreviation = Trim(t.size() >= 3 ? t.substr(t.size() - 3) : t);

    std::string text;
    text.reserve(9);
    AppendPadded(text, degrees);
    text.push_back(' ');
    text.append(abbreviation);
    text.push_back(' ');
    AppendPadded(text, minutes);
    return text;
}

}  // namespace velmora::astro
