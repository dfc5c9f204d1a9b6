// The number readers, the keystroke filters and the form checks on arbitrary
// text. The input is read twice: as one text for the readers and filters,
// and cut into form fields (see fuzz_support.h) for the checks.

#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <string>

#include "core/input_filters.h"
#include "core/pipeline.h"
#include "core/text_numbers.h"
#include "core/validation.h"
#include "core/zones.h"
#include "fuzz_support.h"

namespace {

using namespace velmora;

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
    const std::optional<Notice> refusal = ValidateInput(form);
    if (refusal) {
        VELMORA_FUZZ_CHECK(!refusal->Text.empty());
        return;
    }
    // An accepted form reads into a record within the ranges the engines
    // are built for.
    ZoneOffset zone;
    const BirthData birth = BirthRecordOf(form, zone);
    VELMORA_FUZZ_CHECK(birth.Year >= kFirstYear && birth.Year <= kLastYear);
    VELMORA_FUZZ_CHECK(birth.Month >= 1 && birth.Month <= 12);
    VELMORA_FUZZ_CHECK(birth.Day >= 1 && birth.Day <= DaysIn(birth.Month, birth.Year));
    VELMORA_FUZZ_CHECK(birth.Hour >= 0 && birth.Hour <= 23);
    VELMORA_FUZZ_CHECK(birth.Minute >= 0 && birth.Minute <= 59);
    VELMORA_FUZZ_CHECK(birth.LatitudeDegrees >= 0 && birth.LatitudeDegrees <= 89);
    VELMORA_FUZZ_CHECK(birth.LatitudeMinutes >= 0 && birth.LatitudeMinutes <= 59);
    VELMORA_FUZZ_CHECK(birth.LongitudeDegrees >= 0 && birth.LongitudeDegrees <= 179);
    VELMORA_FUZZ_CHECK(birth.LongitudeMinutes >= 0 && birth.LongitudeMinutes <= 59);
    if (form.ExactUtcOffsetMinutes) {
        VELMORA_FUZZ_CHECK(*birth.ExactUtcOffsetMinutes >= -18 * 60 && *birth.ExactUtcOffsetMinutes <= 18 * 60);
    } else {
        VELMORA_FUZZ_CHECK(form.ZoneRow >= 0 && form.ZoneRow < kZoneCount);
        VELMORA_FUZZ_CHECK(zone.Hours >= -14 && zone.Hours <= 14);
    }
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
