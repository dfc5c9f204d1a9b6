#pragma once

#include <array>
#include <compare>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/chart.h"
#include "analysis/dasha.h"
#include "astro/engine.h"
#include "core/pipeline.h"
#include "model/birth_moment.h"

namespace velmora {

// A clock reading to the minute on the civil calendar, with no zone attached:
// local clock time for the birth-time scan, universal time for transits.
struct ClockMinute {
    int Year = 2000;
    int Month = 1;  // 1 = January
    int Day = 1;
    int Hour = 0;
    int Minute = 0;

    auto operator<=>(const ClockMinute&) const = default;
};

// The first and last minute a birth may be entered for.
inline constexpr ClockMinute kFirstClockMinute{1901, 1, 1, 0, 0};
inline constexpr ClockMinute kLastClockMinute{2050, 12, 31, 23, 59};

// "YYYY-MM-DDTHH:MM".
std::string ClockMinuteText(const ClockMinute& minute);
// "HH:MM".
std::string ClockTimeText(const ClockMinute& minute);
// Reads "YYYY-MM-DDTHH:MM" (a blank may stand for the T); nothing for any
// other text or a date the calendar does not have.
std::optional<ClockMinute> ParseClockMinute(std::string_view text);
// The reading `minutes` later (earlier when negative), the date carried.
ClockMinute AddMinutes(const ClockMinute& minute, int minutes);
// The clock reading of the entered birth (date and local time).
ClockMinute ClockMinuteOf(const BirthData& birth);

// --- Birth-time sensitivity -------------------------------------------------

inline constexpr int kSensitivityWindowMinutes = 120;

// A run of whole minutes, both ends included, as offsets from the entered
// time and as local clock readings.
struct MinuteSpan {
    int FromOffset = 0;
    int ToOffset = 0;
    ClockMinute From;
    ClockMinute To;

    bool operator==(const MinuteSpan&) const = default;
};

// The chart of one minute of the scan.
struct ScanRun {
    int Offset = 0;  // minutes from the entered time
    ClockMinute Local;
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
    ClockMinute Entered;
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
};

// Runs the entered birth at every whole minute of local clock time from
// `windowMinutes` before to `windowMinutes` after the entered time, with the
// same zone row, daylight-saving box, exact offset and coordinates; the date
// carries over midnight, and minutes outside 1901-01-01 00:00 .. 2050-12-31
// 23:59 are left out. Only the positions and the chart are worked out for
// each minute (no readings or texts). The engine is the one `options` names.
SensitivityScan ScanBirthTime(const BirthAnalysis& entered, const AnalysisOptions& options,
                              int windowMinutes = kSensitivityWindowMinutes);
// The same with the engine the entered analysis ran.
SensitivityScan ScanBirthTime(const BirthAnalysis& entered);

// --- Today's sky --------------------------------------------------------------

inline constexpr int kTransitBodyCount = 9;  // Sun .. Ketu

// The house of `sign` counted from `fromSign`, the sign itself being house 1
// (both 1..12): 1..12.
int HouseCountedFrom(int sign, int fromSign);

struct TransitBody {
    Body Which = Sun;
    double Longitude = 0;  // sidereal degrees
    int Sign = 0;
    bool Retrograde = false;
    int HouseFromAscendant = 0;    // from the natal ascendant's sign
    int HouseFromArudhaLagna = 0;  // from the natal Arudha Lagna's sign
};

struct TransitSky {
    bool Ok = true;
    std::string Error;
    ClockMinute Moment;  // universal time
    BirthMoment EngineMoment;
    std::array<TransitBody, kTransitBodyCount> Bodies{};
    // The natal dashas running at the moment; nothing before birth or after
    // the last period.
    std::optional<analysis::RunningDasha> Dasha;
    std::string_view MahaLord;  // empty without a running dasha
    std::string_view AntarLord;
};

// The moment of a universal clock reading at the birth place: offset zero,
// the birth's latitude and longitude.
BirthMoment TransitMomentOf(const BirthAnalysis& natal, const ClockMinute& universalTime);

// The nine bodies at a moment in universal time, by the natal analysis's
// engine, ayanamsa and node (or `engine` when given), placed against the
// natal ascendant and Arudha Lagna, with the natal dashas running then.
TransitSky TransitsAt(const BirthAnalysis& natal, const ClockMinute& universalTime,
                      const astro::PositionEngine* engine = nullptr);

// The universal moment of a clock reading in universal time.
analysis::UtMoment UtMomentOf(const ClockMinute& universalTime);

}  // namespace velmora
