#include "core/text_formats.h"

#include "core/text_numbers.h"

namespace velmora::core {

namespace {

// Fixed-width decimal digits of a magnitude, written from the right.
char* PutDigits(char* end, int value, int width) {
    unsigned magnitude = static_cast<unsigned>(value < 0 ? -value : value);
    for (int i = 0; i < width; ++i) {
        *--end = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    }
    return end;
}

// "09:05" at `at`.
void PutClock(char* at, int hour, int minute) {
    PutDigits(at + 2, hour, 2);
    at[2] = ':';
    PutDigits(at + 5, minute, 2);
}

void PutDate(char* at, int year, int month, int day) {
    PutDigits(at + 4, year, 4);
    at[4] = '-';
    PutDigits(at + 7, month, 2);
    at[7] = '-';
    PutDigits(at + 10, day, 2);
}

std::string AngleText(const AngleEntry& angle, int degreeDigits, char positive, char negative) {
    char text[8];
    const std::size_t size = static_cast<std::size_t>(degreeDigits) + 4;
    PutDigits(text + degreeDigits, angle.Degrees, degreeDigits);
    text[degreeDigits] = ':';
    PutDigits(text + degreeDigits + 3, angle.Minutes, 2);
    text[degreeDigits + 3] = angle.Negative ? negative : positive;
    return std::string(text, size);
}

// A run of 1..maxDigits ASCII digits at the start of text; its value, and
// the text after it.
std::optional<int> Digits(std::string_view& text, std::size_t minDigits, std::size_t maxDigits) {
    std::size_t n = 0;
    int value = 0;
    while (n < text.size() && n < maxDigits && text[n] >= '0' && text[n] <= '9') {
        value = value * 10 + (text[n] - '0');
        ++n;
    }
    if (n < minDigits || (n < text.size() && text[n] >= '0' && text[n] <= '9')) return std::nullopt;
    text.remove_prefix(n);
    return value;
}

bool Take(std::string_view& text, char c) {
    if (text.empty() || text.front() != c) return false;
    text.remove_prefix(1);
    return true;
}

std::optional<std::string> SetAngle(std::string_view text, std::size_t degreeDigits, char positive, char negative,
                                    std::string& degrees, std::string& minutes, bool& isNegative,
                                    std::string_view example) {
    std::string_view rest = text;
    const auto d = Digits(rest, 1, degreeDigits);
    const bool colon = d && Take(rest, ':');
    const auto m = colon ? Digits(rest, 1, 2) : std::nullopt;
    const char h = rest.size() == 1 ? static_cast<char>(rest.front() & ~0x20) : '\0';
    if (!m || (h != positive && h != negative)) return "must be like " + Quoted(example) + ", not " + Quoted(text);
    degrees = std::to_string(*d);
    minutes = std::to_string(*m);
    isNegative = h == negative;
    return std::nullopt;
}

}  // namespace

std::string DateText(int year, int month, int day) {
    char text[10];
    PutDate(text, year, month, day);
    return std::string(text, sizeof text);
}

std::string DateText(const ClockReading& reading) { return DateText(reading.Year, reading.Month, reading.Day); }

std::string DateText(const std::chrono::year_month_day& date) {
    return DateText(static_cast<int>(date.year()), static_cast<int>(unsigned(date.month())),
                    static_cast<int>(unsigned(date.day())));
}

std::string ClockTimeText(int hour, int minute) {
    char text[5];
    PutClock(text, hour, minute);
    return std::string(text, sizeof text);
}

std::string ClockTimeText(const ClockReading& reading) { return ClockTimeText(reading.Hour, reading.Minute); }

std::string ClockReadingText(const ClockReading& reading) {
    char text[16];
    PutDate(text, reading.Year, reading.Month, reading.Day);
    text[10] = 'T';
    PutClock(text + 11, reading.Hour, reading.Minute);
    return std::string(text, sizeof text);
}

std::string LatitudeText(const AngleEntry& latitude) { return AngleText(latitude, 2, 'N', 'S'); }
std::string LongitudeText(const AngleEntry& longitude) { return AngleText(longitude, 3, 'E', 'W'); }

std::string OffsetText(int utcOffsetMinutes) {
    const int magnitude = utcOffsetMinutes < 0 ? -utcOffsetMinutes : utcOffsetMinutes;
    char text[6];
    text[0] = utcOffsetMinutes < 0 ? '-' : '+';
    PutClock(text + 1, magnitude / 60 % 100, magnitude % 60);
    return std::string(text, sizeof text);
}

std::optional<ClockReading> ParseClockReading(std::string_view text) {
    // Exactly YYYY-MM-DDTHH:MM.
    if (text.size() != 16) return std::nullopt;
    if (text[4] != '-' || text[7] != '-' || (text[10] != 'T' && text[10] != ' ') || text[13] != ':')
        return std::nullopt;
    auto field = [&](std::size_t at, std::size_t count) {
        std::string_view part = text.substr(at, count);
        return Digits(part, count, count);
    };
    const auto year = field(0, 4), month = field(5, 2), day = field(8, 2), hour = field(11, 2), minute = field(14, 2);
    if (!year || !month || !day || !hour || !minute) return std::nullopt;
    if (*hour > 23 || *minute > 59) return std::nullopt;
    const std::chrono::year_month_day date{std::chrono::year{*year}, std::chrono::month{static_cast<unsigned>(*month)},
                                           std::chrono::day{static_cast<unsigned>(*day)}};
    if (!date.ok()) return std::nullopt;
    return ClockReading{*year, *month, *day, *hour, *minute};
}

std::optional<int> ParseUtcOffset(std::string_view text) {
    int sign = 1;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        sign = text.front() == '-' ? -1 : 1;
        text.remove_prefix(1);
    }
    // One or two digits of hours, a colon, two digits of minutes.
    const auto hours = Digits(text, 1, 2);
    const bool colon = hours && Take(text, ':');
    const auto minutes = colon ? Digits(text, 2, 2) : std::nullopt;
    if (!minutes || !text.empty() || *minutes > 59) return std::nullopt;
    const int total = sign * (*hours * 60 + *minutes);
    if (total < -18 * 60 || total > 18 * 60) return std::nullopt;
    return total;
}

std::optional<std::string> SetDateText(FormInput& form, std::string_view text) {
    std::string_view rest = text;
    const auto year = Digits(rest, 4, 4);
    const bool dash1 = year && Take(rest, '-');
    const auto month = dash1 ? Digits(rest, 1, 2) : std::nullopt;
    const bool dash2 = month && Take(rest, '-');
    const auto day = dash2 ? Digits(rest, 1, 2) : std::nullopt;
    if (!day || !rest.empty()) return "the date must be YYYY-MM-DD, not " + Quoted(text);
    form.Year = std::to_string(*year);
    // A month the list does not hold stays out of its range, for the checks.
    form.MonthIndex = *month - 1;
    form.Day = std::to_string(*day);
    return std::nullopt;
}

std::optional<std::string> SetTimeText(FormInput& form, std::string_view text) {
    std::string_view rest = text;
    const auto hour = Digits(rest, 1, 2);
    const bool colon = hour && Take(rest, ':');
    const auto minute = colon ? Digits(rest, 1, 2) : std::nullopt;
    std::optional<int> second = 0;
    if (minute && Take(rest, ':')) second = Digits(rest, 1, 2);
    if (!minute || !second || !rest.empty()) return "the time must be HH:MM, not " + Quoted(text);
    form.Hour = std::to_string(*hour);
    form.Minute = std::to_string(*minute);
    form.Second = std::to_string(*second);
    return std::nullopt;
}

std::optional<std::string> SetLatitudeText(FormInput& form, std::string_view text) {
    auto failed = SetAngle(text, 2, 'N', 'S', form.LatitudeDegrees, form.LatitudeMinutes, form.South, "28:36N");
    if (failed) return "the latitude " + *failed;
    return std::nullopt;
}

std::optional<std::string> SetLongitudeText(FormInput& form, std::string_view text) {
    bool west = false;
    auto failed = SetAngle(text, 3, 'E', 'W', form.LongitudeDegrees, form.LongitudeMinutes, west, "077:12E");
    if (failed) return "the longitude " + *failed;
    form.East = !west;
    return std::nullopt;
}

}  // namespace velmora::core

namespace velmora::core {

namespace {

// The civil date and the minute of the day of a moment on a clock that
// shows universal time plus the offset.
struct ClockMinute {
    std::chrono::year_month_day Date;
    int Hour = 0;
    int Minute = 0;
};

// A moment a millisecond short of a minute is taken as that minute: a
// birth's moment, carried through hours in floating point, may fall a hair
// before the minute it was entered at.
ClockMinute ClockMinuteOf(UtMoment moment, int clockOffsetSeconds) {
    using namespace std::chrono;
    const sys_time<minutes> minute = floor<minutes>(moment + seconds(clockOffsetSeconds) + milliseconds(1));
    const sys_days day = floor<days>(minute);
    const auto ofDay = static_cast<int>((minute - day).count());
    return {year_month_day(day), ofDay / 60, ofDay % 60};
}

void PutDateOf(char* at, const std::chrono::year_month_day& date) {
    PutDate(at, static_cast<int>(date.year()), static_cast<int>(unsigned(date.month())),
            static_cast<int>(unsigned(date.day())));
}

}  // namespace

std::array<char, kUtMomentTextSize> UtMomentChars(UtMoment moment) {
    const ClockMinute at = ClockMinuteOf(moment, 0);
    std::array<char, kUtMomentTextSize> text{};
    PutDateOf(text.data(), at.Date);
    text[10] = 'T';
    PutClock(text.data() + 11, at.Hour, at.Minute);
    text[16] = 'Z';
    return text;
}

std::string UtMomentText(UtMoment moment) {
    const std::array<char, kUtMomentTextSize> text = UtMomentChars(moment);
    return std::string(text.data(), text.size());
}

std::string LocalMomentText(UtMoment moment, int clockOffsetSeconds) {
    const ClockMinute at = ClockMinuteOf(moment, clockOffsetSeconds);
    char text[16];
    PutDateOf(text, at.Date);
    text[10] = ' ';
    PutClock(text + 11, at.Hour, at.Minute);
    return std::string(text, sizeof text);
}

}  // namespace velmora::core
