#include "core/text_numbers.h"

#include <cctype>
#include <charconv>
#include <cmath>

namespace velmora {

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

double ReadPrefix(std::string_view s, std::size_t length) {
    if (!s.empty() && s.front() == '+') s.remove_prefix(1), --length;
    double value = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + length, value);
    (void)end;
    if (ec == std::errc::result_out_of_range) {
        // An exponent beyond the range of a double: a tiny one ("1e-400")
        // is zero, a huge one is far beyond every bound checked here.
        const std::string_view number = s.substr(0, length);
        const auto e = number.find_first_of("eE");
        const bool tiny = e != std::string_view::npos && e + 1 < number.size() && number[e + 1] == '-';
        if (tiny) return 0.0;
        return s.front() == '-' ? -HUGE_VAL : HUGE_VAL;
    }
    return value;
}

}  // namespace

std::string_view TrimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

std::optional<double> ParseNumber(std::string_view text) {
    const std::string_view t = TrimBlanks(text);
    // Plain whole numbers (what the lists and most boxes hold) read directly.
    if (!t.empty() && t.size() <= 9) {
        std::size_t i = t.front() == '-' || t.front() == '+' ? 1 : 0;
        long value = 0;
        bool digits = i < t.size();
        for (std::size_t j = i; j < t.size() && digits; ++j) {
            if (!IsDigit(t[j])) digits = false;
            else value = value * 10 + (t[j] - '0');
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

double LeadingNumber(std::string_view text) {
    std::size_t start = 0;
    while (start < text.size() && (text[start] == ' ' || text[start] == '\t')) ++start;
    const std::string_view rest = text.substr(start);
    const std::size_t length = NumberPrefixLength(rest);
    return length == 0 ? 0.0 : ReadPrefix(rest, length);
}

}  // namespace velmora
