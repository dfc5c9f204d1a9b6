// The number readers, the keystroke filters and the form checks on arbitrary
// text. The input is read twice: as one text for the readers and filters,
// and cut into form fields (see fuzz_support.h) for the checks.

#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <string>

#include "core/input_filters.h"
#include "core/form_reading.h"
#include "core/pipeline.h"
#include "core/text_numbers.h"
#include "core/validation.h"
#include "core/zones.h"
#include "fuzz_support.h"

namespace {

using namespace velmora;
using namespace velmora::core;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

void CheckReaders(std::string_view text) {
    const std::string_view trimmed = TrimBlanks(text);
    if (!trimmed.empty()) {
        VELMORA_FUZZ_CHECK(!IsBlank(trimmed.front()) && !IsBlank(trimmed.back()));
        VELMORA_FUZZ_CHECK(trimmed.data() >= text.data() &&
                           trimmed.data() + trimmed.size() <= text.data() + text.size());
    } else {
        VELMORA_FUZZ_CHECK(text.find_first_not_of(" \t") == std::string_view::npos);
    }

    const std::optional<double> number = ParseNumber(text);
    const double leading = LeadingNumber(text);
    VELMORA_FUZZ_CHECK(!std::isnan(leading));
    if (number) {
        VELMORA_FUZZ_CHECK(!std::isnan(*number));
        // A text that is wholly a number starts with that number.
        VELMORA_FUZZ_CHECK(leading == *number);
        // The C library reads the same digits to the same value, apart from
        // values below the normal range, which the reader takes as zero.
        const std::string copy(trimmed);
        char* end = nullptr;
        errno = 0;
        const double c = std::strtod(copy.c_str(), &end);
        VELMORA_FUZZ_CHECK(end == copy.c_str() + copy.size());
        if (std::isinf(c)) {
            VELMORA_FUZZ_CHECK(std::isinf(*number) && std::signbit(c) == std::signbit(*number));
        } else if (std::fabs(c) >= DBL_MIN) {
            VELMORA_FUZZ_CHECK(c == *number);
        } else {
            VELMORA_FUZZ_CHECK(std::fabs(*number) < DBL_MIN);
        }
    } else {
        VELMORA_FUZZ_CHECK(!ParseInt16(text));
    }

    if (const std::optional<std::int16_t> whole = ParseInt16(text)) {
        VELMORA_FUZZ_CHECK(number && std::nearbyint(*number) == *whole);
    } else if (number) {
        const double rounded = std::nearbyint(*number);
        VELMORA_FUZZ_CHECK(!(rounded >= -32768 && rounded <= 32767));
    }
}

void CheckFilters(std::string_view text) {
    if (const std::optional<std::string> digits = FilterDigitText(text)) {
        VELMORA_FUZZ_CHECK(*digits == text);
        for (char c : *digits) VELMORA_FUZZ_CHECK(c >= '0' && c <= '9');
    }
    if (const std::optional<std::string> name = FilterNameText(text)) {
        VELMORA_FUZZ_CHECK(name->size() == text.size());
        for (char c : *name) VELMORA_FUZZ_CHECK((c >= 'A' && c <= 'Z') || c == ' ');
    }
    for (char c : text) {
        const char32_t code = static_cast<unsigned char>(c);
        if (const auto key = FilterNameKey(code)) VELMORA_FUZZ_CHECK(!(*key >= U'a' && *key <= U'z'));
        if (const auto key = FilterDigitKey(code)) VELMORA_FUZZ_CHECK(*key == code);
    }
}

int DaysIn(int month, int year) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYearOfList(year) ? 29 : kDays[month - 1];
}

void CheckForm(const FormInput& form) {
    const FormReading reading = ReadForm(form);
    if (const Notice* refusal = RefusalOf(reading)) {
        VELMORA_FUZZ_CHECK(!refusal->Text.empty());
        // The reading refuses exactly what the checks refuse (a form
        // without an atlas place has no clock to refuse).
        VELMORA_FUZZ_CHECK(form.Place || ValidateInput(form) == *refusal);
        return;
    }
    VELMORA_FUZZ_CHECK(!ValidateInput(form));
    // An accepted form reads into a birth within the ranges the engines
    // are built for.
    const Birth& birth = *BirthOf(reading);
    const ClockReading& clock = birth.Clock;
    VELMORA_FUZZ_CHECK(clock.Year >= kFirstYear && clock.Year <= kLastYear);
    VELMORA_FUZZ_CHECK(clock.Month >= 1 && clock.Month <= 12);
    VELMORA_FUZZ_CHECK(clock.Day >= 1 && clock.Day <= DaysIn(clock.Month, clock.Year));
    VELMORA_FUZZ_CHECK(clock.Hour >= 0 && clock.Hour <= 23);
    VELMORA_FUZZ_CHECK(clock.Minute >= 0 && clock.Minute <= 59);
    VELMORA_FUZZ_CHECK(birth.Latitude.Degrees >= 0 && birth.Latitude.Degrees <= 89);
    VELMORA_FUZZ_CHECK(birth.Latitude.Minutes >= 0 && birth.Latitude.Minutes <= 59);
    VELMORA_FUZZ_CHECK(birth.Longitude.Degrees >= 0 && birth.Longitude.Degrees <= 179);
    VELMORA_FUZZ_CHECK(birth.Longitude.Minutes >= 0 && birth.Longitude.Minutes <= 59);
    VELMORA_FUZZ_CHECK(std::fabs(birth.Moment.Latitude) < 90 && std::fabs(birth.Moment.Longitude) < 180);
    VELMORA_FUZZ_CHECK(birth.Moment.UtcOffsetSeconds >= -18 * 3600 && birth.Moment.UtcOffsetSeconds <= 18 * 3600);
    if (!form.ExactUtcOffsetMinutes) VELMORA_FUZZ_CHECK(form.ZoneRow >= 0 && form.ZoneRow < kZoneCount);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = fuzz::TextOf(data, size);
    CheckReaders(text);
    CheckFilters(text);
    const std::vector<std::string> fields = fuzz::SplitFields(text, fuzz::kFormLineCount);
    for (const std::string& field : fields) CheckReaders(field);
    CheckForm(fuzz::FormOf(fields));
    return 0;
}
