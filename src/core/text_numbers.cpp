#include "core/text_numbers.h"

#include <cctype>
#include <charconv>
#include <cmath>

namespace velmora::core {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Length of the longest prefix of s that reads as a decimal number:
// an optional sign, digits, an optional fraction, an optional exponent.
std::size_t NumberPrefixLength(std::string_view s) {
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    std::size_t digits = 0;
    while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
    }
    if (digits == 0) return 0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
        if (j < s.size() && IsDigit(s[j])) {
            while (j < s.size() && IsDigit(s[j])) ++j;
            i = j;
        }
    }
    return i;
}

// For a number a double cannot hold (from_chars says out of range): whether
// it lies below the smallest double rather than beyond the largest. That
// follows from the decimal place of its first significant digit plus its
// exponent, not from the exponent's sign alone: "1000…000e-5" with 400
// zeros is huge, "0.000…0001e+5" tiny.
bool BelowTheRange(std::string_view number) {
    std::size_t i = 0;
    if (i < number.size() && (number[i] == '+' || number[i] == '-')) ++i;
    // Place of the first significant digit: 0 for units, 1 for tens, -1
    // for tenths. The digits number at most the text's length.
    long place = 0;
    bool significant = false;
    for (; i < number.size() && IsDigit(number[i]); ++i) {
        if (significant) {
            ++place;
        } else if (number[i] != '0') {
            significant = true;
        }
    }
    if (i < number.size() && number[i] == '.') {
        for (++i; i < number.size() && IsDigit(number[i]); ++i) {
            if (significant) continue;
            --place;
            if (number[i] != '0') significant = true;
        }
    }
    if (!significant) return true;  // all zeros: zero, not huge
    long exponent = 0;
    if (i < number.size() && (number[i] == 'e' || number[i] == 'E')) {
        ++i;
        const bool negative = i < number.size() && number[i] == '-';
        if (i < number.size() && (number[i] == '+' || number[i] == '-')) ++i;
        // Far beyond any place a text can reach; saturating keeps it exact in sign.
        constexpr long kCap = 1'000'000'000;
        for (; i < number.size() && IsDigit(number[i]); ++i) {
            if (exponent < kCap) exponent = exponent * 10 + (number[i] - '0');
        }
        if (negative) exponent = -exponent;
    }
    return place + exponent < 0;
}

double ReadPrefix(std::string_view s, std::size_t length) {
    if (!s.empty() && s.front() == '+') s.remove_prefix(1), --length;
    double value = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + length, value);
    (void)end;
    if (ec == std::errc::result_out_of_range) {
        // Beyond the range of a double: a tiny value is zero, a huge one is
        // far beyond every bound checked here.
        if (BelowTheRange(s.substr(0, length))) return 0.0;
        return s.front() == '-' ? -HUGE_VAL : HUGE_VAL;
    }
    return value;
}

}  // namespace

std::string Quoted(std::string_view text) {
    // A long value is cut, at the start of a character, and marked so.
    constexpr std::size_t kShown = 80;
    bool cut = false;
    if (text.size() > kShown) {
        std::size_t end = kShown - 1;
        while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
        text = text.substr(0, end);
        cut = true;
    }
    std::string quoted;
    quoted.reserve(text.size() + 2);
    quoted.push_back('"');
    quoted.append(text);
    if (cut) quoted.append("\u2026");  // …
    quoted.push_back('"');
    return quoted;
}

std::string_view TrimBlanks(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    std::size_t first = 0;
    std::size_t end = text.size();
    while (first < end && blank(text[first])) ++first;
    while (end > first && blank(text[end - 1])) --end;
    return text.substr(first, end - first);
}

std::optional<double> ParseNumber(std::string_view text) {
    const std::string_view t = TrimBlanks(text);
    // Plain whole numbers (what the lists and most boxes hold) read directly.
    if (!t.empty() && t.size() <= 9) {
        std::size_t i = t.front() == '-' || t.front() == '+' ? 1 : 0;
        long value = 0;
        bool digits = i < t.size();
        for (std::size_t j = i; j < t.size() && digits; ++j) {
            if (!IsDigit(t[j]))
                digits = false;
            else
                value = value * 10 + (t[j] - '0');
        }
        if (digits) return t.front() == '-' ? -static_cast<double>(value) : static_cast<double>(value);
    }
    const std::size_t length = NumberPrefixLength(t);
    if (length == 0 || length != t.size()) return std::nullopt;
    return ReadPrefix(t, length);
}

std::optional<std::int16_t> ParseInt16(std::string_view text) {
    const std::optional<double> value = ParseNumber(text);
    if (!value) return std::nullopt;
    const double rounded = std::nearbyint(*value);  // the default mode rounds halves to even
    if (!(rounded >= -32768 && rounded <= 32767)) return std::nullopt;
    return static_cast<std::int16_t>(rounded);
}

int EntryNumber(std::string_view text) { return EntryNumberOf(LeadingNumber(text)); }

int EntryNumberOf(double number) {
    const double value = std::nearbyint(number);
    return value >= -32768 && value <= 32767 ? static_cast<int>(value) : 0;
}

double LeadingNumber(std::string_view text) {
    std::size_t start = 0;
    while (start < text.size() && (text[start] == ' ' || text[start] == '\t')) ++start;
    const std::string_view rest = text.substr(start);
    // Whole numbers of a few digits (what the boxes and lists hold) read
    // directly: digits that neither a fraction nor an exponent follows.
    {
        std::size_t i = !rest.empty() && (rest.front() == '-' || rest.front() == '+') ? 1 : 0;
        const std::size_t first = i;
        long value = 0;
        while (i < rest.size() && i - first < 9 && IsDigit(rest[i])) value = value * 10 + (rest[i++] - '0');
        const bool more = i < rest.size() && (IsDigit(rest[i]) || rest[i] == '.' || rest[i] == 'e' || rest[i] == 'E');
        if (i > first && !more) return rest.front() == '-' ? -static_cast<double>(value) : static_cast<double>(value);
    }
    const std::size_t length = NumberPrefixLength(rest);
    return length == 0 ? 0.0 : ReadPrefix(rest, length);
}

}  // namespace velmora::core
