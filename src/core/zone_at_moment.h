#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velmora::core {

class ZoneRules;

enum class LocalTimeStatus {
    Ok,
    Repeated,     // the clock time came twice (clocks went back); the first is used
    Skipped,      // the clock time never existed (clocks went forward): refused
    UnknownZone,  // the zone id is not in the system time-zone database
    InvalidDate,  // no such day, or an hour or minute out of range
};

// A zone's clock at one local date and time, from the system time-zone
// database (/usr/share/zoneinfo).
struct ZoneAtMoment {
    LocalTimeStatus Status = LocalTimeStatus::UnknownZone;
    int UtcOffsetMinutes = 0;  // east of Greenwich positive; local mean time rounded to the minute
    // The same to the second: local mean times run to the second
    // (Casablanca until 1913: -0:30:20), and universal time follows this one.
    int UtcOffsetSeconds = 0;
    bool SummerTime = false;   // daylight saving (or war time) in force
    std::string Abbreviation;  // "EDT", "IST"; some zones have only "+0545"
    // Repeated: which of the two is used. Skipped, UnknownZone, InvalidDate:
    // why the time is refused. Ok: empty.
    std::string Note;
};

// The offset in force in `timeZoneId` at the given local clock time. A
// repeated time takes the first occurrence; a skipped or invalid one leaves
// the offset at 0 and says why in Note.
//
// Every moment is covered: the database's explicit transitions as far as
// they go (2037 in Debian's files), each zone's POSIX rule after them.
ZoneAtMoment ZoneAt(std::string_view timeZoneId, int year, int month, int day, int hour, int minute);
// The same, the zone read once into `rules` and kept there for later calls.
ZoneAtMoment ZoneAt(core::ZoneRules& rules, std::string_view timeZoneId, int year, int month, int day, int hour,
                    int minute);

// A row of the zone list (ZoneTable()) and the state of the daylight-saving
// box that together give a total offset exactly. The box means "the clock is
// one hour ahead of the row's time": row offset + 60 minutes.
struct ZoneChoice {
    int Row = 0;
    bool DaylightSaving = false;
};

// The zone-list row for a total offset (east positive, minutes).
//
// Summer time is shown as it is on the form: the row of the standard time
// with the box ticked (New York in July: Eastern Standard Time + box;
// London in 1944: British Summer Time + box; Kolkata in 1943: Indian Time +
// box). Only when no row has the standard offset is a row with the whole
// offset taken, box unticked. Without summer time the box stays unticked
// (London in 1970, a year-round UTC+1: British Summer Time, no box).
//
// Rows named for the zone's part of the world are tried first, in that
// order (Indian rows for Asia/Kolkata, British rows and GMT for
// Europe/London, Eastern rows for America/New_York); then any row the same
// way, lowest position first. Nothing when no row can give the offset
// (Asia/Kathmandu +05:45, Asia/Kabul +04:30, Pacific/Chatham +12:45): the
// exact offset is used then.
std::optional<ZoneChoice> ZoneChoiceFor(int utcOffsetMinutes, bool summerTime, std::string_view timeZoneId);

// The row alone; whether to tick the box follows from ZoneChoiceFor.
std::optional<int> ZoneRowFor(int utcOffsetMinutes, bool summerTime, std::string_view timeZoneId);

// One line for the form: "Asia/Kolkata · UTC+05:30 on 27 September 1975
// (no summer time)" or "… (summer time)". UTF-8.
std::string ZoneNote(std::string_view timeZoneId, int utcOffsetMinutes, bool summerTime, int year, int month, int day);

}  // namespace velmora::core
