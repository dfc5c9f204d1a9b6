#pragma once

#include <string>
#include <vector>

#include "analysis/chart.h"
#include "astro/engine.h"
#include "core/birth.h"
#include "model/moment.h"

namespace velmora::core {

// How far the birth time may be off before the chart changes: the birth run
// at every minute of local clock time around the entered one.

// The first and last minute a birth may be entered for.
inline constexpr ClockReading kFirstClockMinute{1901, 1, 1, 0, 0};
inline constexpr ClockReading kLastClockMinute{2050, 12, 31, 23, 59};

inline constexpr int kSensitivityWindowMinutes = 120;

// A run of whole minutes, both ends included, as offsets from the entered
// time and as local clock readings.
struct MinuteSpan {
    int FromOffset = 0;
    int ToOffset = 0;
    ClockReading From;
    ClockReading To;
    // Where the clocks went back, a clock reading comes twice: true when the
    // end is its second showing (the later offset).
    bool FromRepeated = false;
    bool ToRepeated = false;

    bool operator==(const MinuteSpan&) const = default;
};

// The chart of one minute of the scan.
struct ScanRun {
    int Offset = 0;  // clock minutes from the entered time
    ClockReading Local;
    int UtcOffsetSeconds = 0;  // the clock's offset at this minute
    bool Repeated = false;     // the second showing of a clock reading that came twice
    analysis::ChartPlacement Chart;
};

// Consecutive minutes with the same ascendant sign and Arudha Lagna sign.
struct SensitivitySegment : MinuteSpan {
    int AscendantSign = 0;
    int ArudhaLagnaSign = 0;
};

struct SensitivityScan {
    bool Ok = true;
    std::string Error;  // the engine's, when a minute could not be computed
    int WindowMinutes = kSensitivityWindowMinutes;
    ClockReading Entered;
    // Every minute of the window that lies inside the entry range, in time
    // order; the entered minute is always one of them.
    std::vector<ScanRun> Runs;
    std::vector<SensitivitySegment> Segments;  // time order, covering Runs
    // The minutes around the entered one with every sign (ten bodies and the
    // Arudha Lagna) as at the entered time.
    MinuteSpan SameChart;
    // The minutes around the entered one with the entered Arudha Lagna sign.
    MinuteSpan SameArudhaLagna;
    int ArudhaLagnaSign = 0;  // at the entered time
    // The first and last offsets the scan could reach: -WindowMinutes and
    // +WindowMinutes unless the entry range cut the window.
    int FirstOffset = 0;
    int LastOffset = 0;
    // Clock readings of the window that never existed at the birth place
    // (the clocks went forward), in time order; they have no runs.
    std::vector<MinuteSpan> Gaps;
};

// Runs the birth at every whole minute of local clock time from
// `windowMinutes` before to `windowMinutes` after the entered time, with the
// same coordinates; the date carries over midnight, and minutes outside
// 1901-01-01 00:00 .. 2050-12-31 23:59 are left out. Only the positions and
// the chart are worked out for each minute (no readings or texts).
//
// The clock: when the birth's atlas place governs it (FollowsPlaceClock),
// each minute is converted with the offset in force at that minute at that
// place, so a change of summer time inside the window is followed: clock
// readings that never existed have no run (they are listed in Gaps, and no
// segment spans one), and readings that came twice have two runs, in time
// order, the second marked Repeated (a segment holds runs of one showing
// only). Otherwise every minute takes the entered zone row, daylight-saving
// box or exact offset.
SensitivityScan ScanBirthTime(const Birth& birth, const astro::PositionEngine& engine,
                              int windowMinutes = kSensitivityWindowMinutes);

}  // namespace velmora::core
