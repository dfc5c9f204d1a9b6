#pragma once

// Helpers shared by the fuzz harnesses.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "core/form_input.h"

namespace velmora::fuzz {

// A property every input must keep. A broken one prints what broke and
// aborts, which libFuzzer (and the replay tests) report as a finding.
#define VELMORA_FUZZ_CHECK(condition)                                                             \
    do {                                                                                          \
        if (!(condition)) {                                                                       \
            std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                         \
        }                                                                                         \
    } while (false)

inline std::string_view TextOf(const std::uint8_t* data, std::size_t size) {
    return size == 0 ? std::string_view() : std::string_view(reinterpret_cast<const char*>(data), size);
}

// The input cut at every newline into at most `count` fields; missing
// fields are empty, and the last one keeps any further newlines.
inline std::vector<std::string> SplitFields(std::string_view text, std::size_t count) {
    std::vector<std::string> fields;
    fields.reserve(count);
    while (fields.size() + 1 < count) {
        const std::size_t newline = text.find('\n');
        if (newline == std::string_view::npos) break;
        fields.emplace_back(text.substr(0, newline));
        text.remove_prefix(newline + 1);
    }
    fields.emplace_back(text);
    fields.resize(count);
    return fields;
}

// True when the text is well-formed UTF-8 (no overlong forms, surrogates
// or code points beyond U+10FFFF).
inline bool IsValidUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto b = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        char32_t c = 0;
        if (b < 0x80) {
            ++i;
            continue;
        } else if (b >= 0xC2 && b <= 0xDF) {
            length = 2, c = b & 0x1F;
        } else if (b >= 0xE0 && b <= 0xEF) {
            length = 3, c = b & 0x0F;
        } else if (b >= 0xF0 && b <= 0xF4) {
            length = 4, c = b & 0x07;
        } else {
            return false;
        }
        if (i + length > text.size()) return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            c = (c << 6) | (next & 0x3F);
        }
        if ((length == 3 && c < 0x800) || (length == 4 && (c < 0x10000 || c > 0x10FFFF))) return false;
        if (c >= 0xD800 && c <= 0xDFFF) return false;
        i += length;
    }
    return true;
}

// A small whole number from a field, for the list positions the window
// sets: decimal digits with an optional minus, clamped to ±100000, so that
// out-of-range rows reach the checks; 0 for anything else.
inline int SmallNumber(std::string_view text) {
    bool negative = false;
    if (!text.empty() && text.front() == '-') {
        negative = true;
        text.remove_prefix(1);
    }
    if (text.empty()) return 0;
    long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return 0;
        if (value < 100000) value = value * 10 + (c - '0');
    }
    if (value > 100000) value = 100000;
    return static_cast<int>(negative ? -value : value);
}

// The form fields, one per line of the input, in this order. The last two
// are read by the analysis harness only.
enum FormLine : std::size_t {
    kName,
    kMonthIndex,  // list position, a whole number
    kDay,
    kYear,
    kHour,
    kMinute,
    kZoneRow,  // list position, a whole number
    kLatitudeDegrees,
    kLatitudeMinutes,
    kLongitudeDegrees,
    kLongitudeMinutes,
    kFlags,        // letters: S south, W west, D daylight saving, X exact offset
    kExactOffset,  // minutes east of Greenwich, read when the flags hold X
    kCity,
    kState,
    kCountry,
    kPlaceZone,  // an atlas pick's zone id; empty: no pick
    kEngine,     // empty: the formulas; "P<ayanamsa digit><M|T>": the Swiss Ephemeris
    kFormLineCount
};

inline core::FormInput FormOf(const std::vector<std::string>& f) {
    core::FormInput form;
    form.Name = f[kName];
    form.MonthIndex = SmallNumber(f[kMonthIndex]);
    form.Day = f[kDay];
    form.Year = f[kYear];
    form.Hour = f[kHour];
    form.Minute = f[kMinute];
    form.ZoneRow = SmallNumber(f[kZoneRow]);
    form.LatitudeDegrees = f[kLatitudeDegrees];
    form.LatitudeMinutes = f[kLatitudeMinutes];
    form.LongitudeDegrees = f[kLongitudeDegrees];
    form.LongitudeMinutes = f[kLongitudeMinutes];
    const std::string_view flags = f[kFlags];
    form.South = flags.find('S') != std::string_view::npos;
    form.East = flags.find('W') == std::string_view::npos;
    form.DaylightSaving = flags.find('D') != std::string_view::npos;
    if (flags.find('X') != std::string_view::npos) form.ExactUtcOffsetMinutes = SmallNumber(f[kExactOffset]);
    form.City = f[kCity];
    form.State = f[kState];
    form.Country = f[kCountry];
    return form;
}

}  // namespace velmora::fuzz
