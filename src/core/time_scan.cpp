#include "core/time_scan.h"

#include <algorithm>
#include <chrono>

#include "astro/time_conversion.h"
#include "core/place_clock.h"
#include "core/zone_rules.h"

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
    return {runs[first].Offset, runs[last].Offset,    runs[first].Local,
            runs[last].Local,   runs[first].Repeated, runs[last].Repeated};
}

date::local_seconds LocalSecondsOf(const ClockReading& clock) {
    return date::local_seconds{std::chrono::duration_cast<std::chrono::seconds>(ToMinutes(clock).time_since_epoch())};
}

// One clock reading of the scan with the offset it was shown with.
struct ScanMinute {
    int Offset = 0;
    ClockReading Local;
    int UtcOffsetSeconds = 0;
    bool Repeated = false;
    BirthMoment Moment;
    long long UniversalSeconds = 0;  // for the time order
};

// The clock readings of the window: each with the entered clock rule, or
// with the birth place's offset at that minute (none for a reading that
// never existed, two for one that came twice), in time order.
class ScanClock {
public:
    explicit ScanClock(const Birth& birth) : birth_(birth) {
        if (FollowsPlaceClock(birth)) zone_ = rules_.Find(birth.Place->TimeZone);
    }

    // False when the reading never existed at the place.
    bool Add(int offset, const ClockReading& local, std::vector<ScanMinute>& out) {
        if (!zone_) {
            out.push_back(Minute(offset, local, MomentAt(birth_, local), false));
            return true;
        }
        const date::local_info info = zone_->Info(LocalSecondsOf(local));
        if (info.result == date::local_info::nonexistent) return false;
        out.push_back(Minute(offset, local, At(local, info.first), false));
        if (info.result == date::local_info::ambiguous)
            out.push_back(Minute(offset, local, At(local, info.second), true));
        return true;
    }

private:
    BirthMoment At(const ClockReading& local, const date::sys_info& clock) const {
        return MomentWithOffset(birth_, local, static_cast<int>(clock.offset.count()));
    }
    static ScanMinute Minute(int offset, const ClockReading& local, const BirthMoment& moment, bool repeated) {
        const long long localSeconds = LocalSecondsOf(local).time_since_epoch().count();
        return {offset, local, moment.UtcOffsetSeconds, repeated, moment, localSeconds - moment.UtcOffsetSeconds};
    }

    const Birth& birth_;
    ZoneRules rules_;  // one for the whole scan: each zone file read once
    ZoneHistory* zone_ = nullptr;
};

}  // namespace

SensitivityScan ScanBirthTime(const Birth& birth, const astro::PositionEngine& engine, int windowMinutes) {
    SensitivityScan scan;
    scan.WindowMinutes = windowMinutes;
    scan.Entered = birth.Clock;

    const MinuteCount centre = ToMinutes(scan.Entered);
    const MinuteCount earliest = ToMinutes(kFirstClockMinute);
    const MinuteCount latest = ToMinutes(kLastClockMinute);
    std::vector<ScanMinute> minutesOfWindow;
    minutesOfWindow.reserve(2 * static_cast<std::size_t>(windowMinutes) + 1);
    ScanClock clock(birth);
    for (int offset = -windowMinutes; offset <= windowMinutes; ++offset) {
        const MinuteCount at = centre + minutes{offset};
        if (at < earliest || at > latest) continue;
        const ClockReading local = astro::AddMinutes(scan.Entered, offset);
        if (clock.Add(offset, local, minutesOfWindow)) continue;
        if (!scan.Gaps.empty() && scan.Gaps.back().ToOffset == offset - 1) {
            scan.Gaps.back().ToOffset = offset;
            scan.Gaps.back().To = local;
        } else {
            scan.Gaps.push_back(MinuteSpan{offset, offset, local, local});
        }
    }
    // The second showings of a repeated hour come after the first ones.
    std::stable_sort(minutesOfWindow.begin(), minutesOfWindow.end(),
                     [](const ScanMinute& a, const ScanMinute& b) { return a.UniversalSeconds < b.UniversalSeconds; });

    scan.Runs.reserve(minutesOfWindow.size());
    std::size_t centreIndex = 0;
    bool enteredSeen = false;
    for (const ScanMinute& minute : minutesOfWindow) {
        ScanRun run;
        run.Offset = minute.Offset;
        run.Local = minute.Local;
        run.UtcOffsetSeconds = minute.UtcOffsetSeconds;
        run.Repeated = minute.Repeated;
        const astro::EngineOutcome computed = engine.Compute(minute.Moment);
        if (!computed.Ok) {
            scan.Ok = false;
            scan.Error = computed.Error;
            scan.Runs.clear();
            return scan;
        }
        run.Chart = analysis::PlaceBodies(computed.Positions.Longitudes);
        // The entered reading is its first showing, as the form reads it.
        if (minute.Offset == 0 && !minute.Repeated) {
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

    for (std::size_t i = 0; i < scan.Runs.size(); ++i) {
        const ScanRun& run = scan.Runs[i];
        const int ascendant = run.Chart.AscendantSign;
        const int arudha = run.Chart.ArudhaLagnaSign;
        // A new segment where the signs change, after a gap of readings that
        // never existed, and where the second showing of a repeated hour
        // begins or ends.
        const bool breaks =
            i > 0 && (run.Offset != scan.Runs[i - 1].Offset + 1 || run.Repeated != scan.Runs[i - 1].Repeated);
        if (scan.Segments.empty() || breaks || scan.Segments.back().AscendantSign != ascendant ||
            scan.Segments.back().ArudhaLagnaSign != arudha) {
            SensitivitySegment segment;
            segment.FromOffset = run.Offset;
            segment.From = run.Local;
            segment.FromRepeated = run.Repeated;
            segment.AscendantSign = ascendant;
            segment.ArudhaLagnaSign = arudha;
            scan.Segments.push_back(segment);
        }
        scan.Segments.back().ToOffset = run.Offset;
        scan.Segments.back().To = run.Local;
        scan.Segments.back().ToRepeated = run.Repeated;
    }

    scan.ArudhaLagnaSign = scan.Runs[centreIndex].Chart.ArudhaLagnaSign;
    scan.SameChart = SpanAround(scan.Runs, centreIndex, SameSigns);
    scan.SameArudhaLagna = SpanAround(
        scan.Runs, centreIndex, [](const auto& a, const auto& b) { return a.ArudhaLagnaSign == b.ArudhaLagnaSign; });
    return scan;
}

}  // namespace velmora::core
