#include "core/time_scan.h"

#include <chrono>
#include <cstdio>

#include "astro/position_text.h"

namespace velmora {

namespace {

using std::chrono::days;
using std::chrono::minutes;
using std::chrono::sys_days;
using std::chrono::year_month_day;

using MinuteCount = std::chrono::sys_time<minutes>;

MinuteCount ToMinutes(const ClockMinute& m) {
    const year_month_day date{std::chrono::year{m.Year}, std::chrono::month{static_cast<unsigned>(m.Month)},
                              std::chrono::day{static_cast<unsigned>(m.Day)}};
    return MinuteCount{sys_days{date}.time_since_epoch() + minutes{m.Hour * 60 + m.Minute}};
}

ClockMinute FromMinutes(MinuteCount at) {
    const sys_days day = std::chrono::floor<days>(at);
    const year_month_day date{day};
    const auto timeOfDay = (at - day).count();
    return {static_cast<int>(date.year()), static_cast<int>(static_cast<unsigned>(date.month())),
            static_cast<int>(static_cast<unsigned>(date.day())), static_cast<int>(timeOfDay / 60),
            static_cast<int>(timeOfDay % 60)};
}

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

std::string ClockMinuteText(const ClockMinute& m) {
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02dT%02d:%02d", m.Year, m.Month, m.Day, m.Hour, m.Minute);
    return buffer;
}

std::string ClockTimeText(const ClockMinute& m) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02d:%02d", m.Hour, m.Minute);
    return buffer;
}

std::optional<ClockMinute> ParseClockMinute(std::string_view text) {
    // Exactly YYYY-MM-DDTHH:MM.
    if (text.size() != 16) return std::nullopt;
    auto digits = [&](std::size_t at, std::size_t count) -> std::optional<int> {
        int value = 0;
        for (std::size_t i = at; i < at + count; ++i) {
            if (text[i] < '0' || text[i] > '9') return std::nullopt;
            value = value * 10 + (text[i] - '0');
        }
        return value;
    };
    if (text[4] != '-' || text[7] != '-' || (text[10] != 'T' && text[10] != ' ') || text[13] != ':')
        return std::nullopt;
    const auto year = digits(0, 4), month = digits(5, 2), day = digits(8, 2), hour = digits(11, 2),
               minute = digits(14, 2);
    if (!year || !month || !day || !hour || !minute) return std::nullopt;
    if (*hour > 23 || *minute > 59) return std::nullopt;
    const year_month_day date{std::chrono::year{*year}, std::chrono::month{static_cast<unsigned>(*month)},
                              std::chrono::day{static_cast<unsigned>(*day)}};
    if (!date.ok()) return std::nullopt;
    return ClockMinute{*year, *month, *day, *hour, *minute};
}

ClockMinute AddMinutes(const ClockMinute& minute, int count) { return FromMinutes(ToMinutes(minute) + minutes{count}); }

ClockMinute ClockMinuteOf(const BirthData& birth) {
    return {birth.Year, birth.Month, birth.Day, birth.Hour, birth.Minute};
}

SensitivityScan ScanBirthTime(const BirthAnalysis& entered, const AnalysisOptions& options, int windowMinutes) {
    SensitivityScan scan;
    scan.WindowMinutes = windowMinutes;
    scan.Entered = ClockMinuteOf(entered.Birth);

    const bool formulas = !options.Engine && options.Settings.Mode == EphemerisMode::Formulas;
    const astro::PositionEngine* engine =
        formulas ? nullptr : (options.Engine ? options.Engine : &EngineFor(options.Settings));

    const MinuteCount centre = ToMinutes(scan.Entered);
    const MinuteCount earliest = ToMinutes(kFirstClockMinute);
    const MinuteCount latest = ToMinutes(kLastClockMinute);
    BirthData birth = entered.Birth;
    scan.Runs.reserve(static_cast<std::size_t>(2 * windowMinutes + 1));
    std::size_t centreIndex = 0;
    bool enteredSeen = false;
    for (int offset = -windowMinutes; offset <= windowMinutes; ++offset) {
        const MinuteCount at = centre + minutes{offset};
        if (at < earliest || at > latest) continue;
        const ClockMinute local = FromMinutes(at);
        birth.Year = static_cast<std::int16_t>(local.Year);
        birth.Month = static_cast<std::int16_t>(local.Month);
        birth.Day = static_cast<std::int16_t>(local.Day);
        birth.Hour = static_cast<std::int16_t>(local.Hour);
        birth.Minute = static_cast<std::int16_t>(local.Minute);
        const BirthMoment moment = MomentOf(birth, entered.Zone);
        ScanRun run;
        run.Offset = offset;
        run.Local = local;
        if (formulas) {
            run.Chart = analysis::PlaceBodies(astro::ComputeFormulaPositions(moment).Longitudes);
        } else {
            const astro::EngineOutcome computed = engine->Compute(moment);
            if (!computed.Ok) {
                scan.Ok = false;
                scan.Error = computed.Error;
                scan.Runs.clear();
                return scan;
            }
            run.Chart = analysis::PlaceBodies(computed.Positions.Longitudes);
        }
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

SensitivityScan ScanBirthTime(const BirthAnalysis& entered) {
    AnalysisOptions options;
    options.Settings = entered.Settings;
    return ScanBirthTime(entered, options);
}

int HouseCountedFrom(int sign, int fromSign) { return ((sign - fromSign) % 12 + 12) % 12 + 1; }

BirthMoment TransitMomentOf(const BirthAnalysis& natal, const ClockMinute& universalTime) {
    BirthMoment m;
    m.Year = universalTime.Year;
    m.Month = universalTime.Month;
    m.Day = universalTime.Day;
    m.Hour = universalTime.Hour;
    m.Minute = universalTime.Minute;
    m.OffsetMinutes = 0;
    m.UniversalTime = universalTime.Hour + universalTime.Minute / 60.0;
    m.Latitude = natal.Moment.Latitude;
    m.LongitudeWest = natal.Moment.LongitudeWest;
    return m;
}

analysis::UtMoment UtMomentOf(const ClockMinute& universalTime) {
    return analysis::UtMoment(std::chrono::duration<double>(ToMinutes(universalTime).time_since_epoch()));
}

TransitSky TransitsAt(const BirthAnalysis& natal, const ClockMinute& universalTime,
                      const astro::PositionEngine* engine) {
    TransitSky sky;
    sky.Moment = universalTime;
    sky.EngineMoment = TransitMomentOf(natal, universalTime);

    astro::EnginePositions positions;
    if (!engine && natal.Settings.Mode == EphemerisMode::Formulas) {
        positions = astro::ComputeFormulaPositions(sky.EngineMoment);
    } else {
        const astro::PositionEngine& chosen = engine ? *engine : EngineFor(natal.Settings);
        const astro::EngineOutcome computed = chosen.Compute(sky.EngineMoment);
        if (!computed.Ok) {
            sky.Ok = false;
            sky.Error = computed.Error;
            return sky;
        }
        positions = computed.Positions;
    }

    for (std::size_t body = 0; body < sky.Bodies.size(); ++body) {
        TransitBody& t = sky.Bodies[body];
        t.Which = static_cast<Body>(body);
        t.Longitude = positions.Longitudes[body];
        t.Sign = astro::SignIndexOfLongitude(t.Longitude) + 1;
        t.Retrograde = positions.Retrograde[body];
        t.HouseFromAscendant = HouseCountedFrom(t.Sign, natal.Chart.AscendantSign);
        t.HouseFromArudhaLagna = HouseCountedFrom(t.Sign, natal.Chart.ArudhaLagnaSign);
    }

    sky.Dasha = analysis::RunningDashaAt(natal.Dasha, UtMomentOf(universalTime));
    if (sky.Dasha) {
        const analysis::MahaDasha& maha = natal.Dasha.Periods[sky.Dasha->Maha];
        sky.MahaLord = maha.LordName;
        sky.AntarLord = maha.Sub[sky.Dasha->Antar].LordName;
    }
    return sky;
}

}  // namespace velmora
