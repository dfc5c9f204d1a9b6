#pragma once

#include <array>
#include <chrono>
#include <optional>
#include <string>
#include <string_view>

#include "core/birth.h"
#include "core/form_input.h"
#include "model/moment.h"

namespace velmora::core {

// The texts of dates, clock times, angles and clock offsets as the birth
// file, the tool, the batch and the JSON write and read them: each written
// and read here once.

// "1980-01-05"; years beyond four digits keep their low digits, which the
// checks never let through.
std::string DateText(int year, int month, int day);
std::string DateText(const ClockReading& reading);
std::string DateText(const std::chrono::year_month_day& date);
// "09:05".
std::string ClockTimeText(int hour, int minute);
std::string ClockTimeText(const ClockReading& reading);
// "1980-01-05T09:05".
std::string ClockReadingText(const ClockReading& reading);
// "28:36N" and "077:12E".
std::string LatitudeText(const AngleEntry& latitude);
std::string LongitudeText(const AngleEntry& longitude);
// "+05:45", "-03:30": minutes east of Greenwich.
std::string OffsetText(int utcOffsetMinutes);

// Reads "YYYY-MM-DDTHH:MM" (a blank may stand for the T); nothing for any
// other text or a date the calendar does not have.
std::optional<ClockReading> ParseClockReading(std::string_view text);

// "+05:45" / "-03:30" / "05:45" read as minutes east of Greenwich; nothing
// when the text is not such an offset or lies beyond ±18 hours.
std::optional<int> ParseUtcOffset(std::string_view text);

// The birth's texts as the file, the tool and batch rows write them, put
// into a form the way the lists and boxes would hold them. Each returns why
// the text was not understood, nothing when it was. The values themselves
// (the year's range, minutes above 59, ...) are left to the form's checks.
std::optional<std::string> SetDateText(FormInput& form, std::string_view text);       // YYYY-MM-DD
std::optional<std::string> SetTimeText(FormInput& form, std::string_view text);       // HH:MM or HH:MM:SS
std::optional<std::string> SetLatitudeText(FormInput& form, std::string_view text);   // DD:MM{N|S}
std::optional<std::string> SetLongitudeText(FormInput& form, std::string_view text);  // DDD:MM{E|W}

}  // namespace velmora::core

namespace velmora::core {

// "1980-01-05T03:35Z": a universal-time moment to the minute, seconds
// dropped; the fixed-size form for writers that copy it at once.
inline constexpr std::size_t kUtMomentTextSize = 17;
std::array<char, kUtMomentTextSize> UtMomentChars(UtMoment moment);
std::string UtMomentText(UtMoment moment);

// "1980-01-05 09:05": the date and clock time of a moment on a clock that
// shows universal time plus `clockOffsetSeconds`, seconds dropped.
std::string LocalMomentText(UtMoment moment, int clockOffsetSeconds);

}  // namespace velmora::core
