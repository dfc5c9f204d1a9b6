#include "core/time_scan.h"

#include <chrono>

#include "astro/time_conversion.h"

namespace velmora::core {

namespace {

using std::chrono::minutes;
using MinuteCount = std::chrono::sys_time<minutes>;

MinuteCount ToMinutes(const ClockReading& m) { return std::chrono::time_point_cast<minutes>(astro::UtMomentOf(m)); }

bool SameSigns(const analysis::ChartPlacement& a, const analysis::ChartPlacement& b) {
    return a.BodySign == b.BodySign && a.ArudhaLagnaSign == b.ArudhaLagnaSign;
}

// The run of scan entries around `centre` for which `same` holds against it.
template <class Same>
MinuteSpan SpanAround(const std::vector<ScanRun>& runs, std::size_t centre, Same same) {
    std::size_t first = centre;
    std::size_t last = centre;
    while (first > 0 && same(runs[first - 1].Chart, runs[centre].Chart)) --first;
    while (last + 1 < runs.size() && same(runs[last + 1].Chart, runs[centre].Chart)) ++last;
    return {runs[first].Offset, runs[last].Offset, runs[first].Local, runs[last].Local};
}

}  // namespace

SensitivityScan ScanBirthTime(const Birth& birth, const astro::PositionEngine& engine, int windowMinutes) {
    SensitivityScan scan;
    scan.WindowMinutes = windowMinutes;
    scan.Entered = birth.Clock;

    const MinuteCount centre = ToMinutes(scan.Entered);
    const MinuteCount earliest = ToMinutes(kFirstClockMinute);
    const MinuteCount latest = ToMinutes(kLastClockMinute);
    scan.Runs.reserve(2 * static_cast<std::size_t>(windowMinutes) + 1);
    std::size_t centreIndex = 0;
    bool enteredSeen = false;
    for (int offset = -windowMinutes; offset <= windowMinutes; ++offset) {
        const MinuteCount at = centre + minutes{offset};
        if (at < earliest || at > latest) continue;
        const ClockReading local = astro::AddMinutes(scan.Entered, offset);
        ScanRun run;
        run.Offset = offset;
        run.Local = local;
        const astro::EngineOutcome computed = engine.Compute(MomentAt(birth, local));
        if (!computed.Ok) {
            scan.Ok = false;
            scan.Error = computed.Error;
            scan.Runs.clear();
            return scan;
        }
        run.Chart = analysis::PlaceBodies(computed.Positions.Longitudes);
        if (offset == 0) {
            centreIndex = scan.Runs.size();
            enteredSeen = true;
        }
        scan.Runs.push_back(run);
    }
    if (!enteredSeen) {  // an entered time outside the range: nothing to compare with
        scan.Ok = false;
        scan.Error = "The entered time lies outside 1901-01-01 00:00 .. 2050-12-31 23:59.";
        return scan;
    }
    scan.FirstOffset = scan.Runs.front().Offset;
    scan.LastOffset = scan.Runs.back().Offset;

    for (const ScanRun& run : scan.Runs) {
        const int ascendant = run.Chart.AscendantSign;
        const int arudha = run.Chart.ArudhaLagnaSign;
        if (scan.Segments.empty() || scan.Segments.back().AscendantSign != ascendant ||
            scan.Segments.back().ArudhaLagnaSign != arudha) {
            SensitivitySegment segment;
            segment.FromOffset = run.Offset;
            segment.From = run.Local;
            segment.AscendantSign = ascendant;
            segment.ArudhaLagnaSign = arudha;
            scan.Segments.push_back(segment);
        }
        scan.Segments.back().ToOffset = run.Offset;
        scan.Segments.back().To = run.Local;
    }

    scan.ArudhaLagnaSign = scan.Runs[centreIndex].Chart.ArudhaLagnaSign;
    scan.SameChart = SpanAround(scan.Runs, centreIndex, SameSigns);
    scan.SameArudhaLagna = SpanAround(
        scan.Runs, centreIndex, [](const auto& a, const auto& b) { return a.ArudhaLagnaSign == b.ArudhaLagnaSign; });
    return scan;
}

}  // namespace velmora::core
