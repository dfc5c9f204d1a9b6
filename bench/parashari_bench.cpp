// Speed of the Parashari tables for one chart in formula mode, on random
// births 1901-2050 at random places (positions computed beforehand):
//   BM_ParashariChart: everything the tables add to one analysis: the
//     formula speeds (one more formula evaluation a minute later), the ten
//     nakshatras and padas, the sixteen vargas of the ten bodies, the
//     panchanga's limbs, the Yogini dasha and the running Vimshottari
//     pratyantar (the two upper levels were computed before and are not
//     counted). Aim: a median within 3 microseconds where one formula
//     evaluation takes 1.5.
//   BM_FormulaSpeeds .. BM_YoginiDashas: the parts one by one;
//     BM_VimshottariTwoLevels the table as before, BM_AllPratyantars the
//     729 pratyantars a whole listing lays on top of it.
//   BM_SunriseSunset: the day's sunrise and sunset from the Swiss Ephemeris,
//     which the aim leaves aside.
// Run with --benchmark_repetitions=N for the median over repetitions.

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "analysis/dasha.h"
#include "analysis/nakshatra.h"
#include "analysis/panchanga.h"
#include "analysis/vargas.h"
#include "analysis/yogini.h"
#include "astro/engine.h"
#include "astro/sunrise.h"
#include "astro/time_conversion.h"

namespace {

using namespace velmora;

struct Chart {
    BirthMoment Moment;
    astro::EnginePositions Positions;
    analysis::UtMoment Birth;
    std::chrono::year_month_day LocalDate;
};

const std::vector<Chart>& Charts() {
    static const std::vector<Chart> charts = [] {
        std::mt19937 random(1901);
        std::uniform_int_distribution<int> year(1901, 2050), month(1, 12), day(1, 28), hour(0, 23), minute(0, 59);
        std::uniform_int_distribution<int> zone(-11, 12), latitude(-60, 60), longitude(-180, 180);
        std::vector<Chart> list;
        for (int i = 0; i < 4096; ++i) {
            Chart c;
            const int zoneHours = zone(random);
            BirthMoment& m = c.Moment;
            m.Clock = {year(random), month(random), day(random), hour(random), minute(random)};
            m.UtcOffsetSeconds = zoneHours * 3600;
            m.UniversalTime = m.Clock.Hour + m.Clock.Minute / 60.0 - zoneHours;
            m.Latitude = latitude(random);
            m.Longitude = longitude(random);
            c.Positions = astro::ComputeFormulaPositions(m);
            c.Birth = astro::UtMomentOf(m);
            c.LocalDate = std::chrono::year{m.Clock.Year} / std::chrono::month{static_cast<unsigned>(m.Clock.Month)} /
                          std::chrono::day{static_cast<unsigned>(m.Clock.Day)};
            list.push_back(c);
        }
        return list;
    }();
    return charts;
}

// The two upper levels of the Vimshottari of every chart, as the analysis
// has always computed them.
const std::vector<analysis::DashaTable>& Vimshottari() {
    static const std::vector<analysis::DashaTable> tables = [] {
        std::vector<analysis::DashaTable> list;
        for (const Chart& c : Charts())
            list.push_back(analysis::VimshottariDashas(c.Positions.Longitudes[Moon], c.Birth));
        return list;
    }();
    return tables;
}

void BM_ParashariChart(benchmark::State& state) {
    Vimshottari();
    const std::vector<Chart>& charts = Charts();
    std::size_t i = 0;
    for (auto _ : state) {
        const Chart& c = charts[i++ % charts.size()];
        const auto& longitudes = c.Positions.Longitudes;
        benchmark::DoNotOptimize(astro::FormulaSpeeds(c.Moment, longitudes));
        benchmark::DoNotOptimize(analysis::NakshatraPadas(longitudes));
        benchmark::DoNotOptimize(analysis::VargaSigns(longitudes));
        benchmark::DoNotOptimize(analysis::PanchangaLimbs(longitudes[Sun], longitudes[Moon], c.LocalDate));
        benchmark::DoNotOptimize(analysis::YoginiDashas(longitudes[Moon], c.Birth));
        benchmark::DoNotOptimize(analysis::RunningDashaAt(Vimshottari()[i % charts.size()], c.Birth));
    }
}
BENCHMARK(BM_ParashariChart)->Repetitions(9)->ReportAggregatesOnly(true);

template <class Part>
void RunPart(benchmark::State& state, Part part) {
    const std::vector<Chart>& charts = Charts();
    std::size_t i = 0;
    for (auto _ : state) benchmark::DoNotOptimize(part(charts[i++ % charts.size()]));
}

void BM_FormulaSpeeds(benchmark::State& state) {
    RunPart(state, [](const Chart& c) { return astro::FormulaSpeeds(c.Moment, c.Positions.Longitudes); });
}
void BM_Nakshatras(benchmark::State& state) {
    RunPart(state, [](const Chart& c) { return analysis::NakshatraPadas(c.Positions.Longitudes); });
}
void BM_Vargas(benchmark::State& state) {
    RunPart(state, [](const Chart& c) { return analysis::VargaSigns(c.Positions.Longitudes); });
}
void BM_PanchangaLimbs(benchmark::State& state) {
    RunPart(state, [](const Chart& c) {
        return analysis::PanchangaLimbs(c.Positions.Longitudes[Sun], c.Positions.Longitudes[Moon], c.LocalDate);
    });
}
void BM_VimshottariTwoLevels(benchmark::State& state) {
    RunPart(state, [](const Chart& c) { return analysis::VimshottariDashas(c.Positions.Longitudes[Moon], c.Birth); });
}
void BM_AllPratyantars(benchmark::State& state) {
    const std::vector<analysis::DashaTable>& tables = Vimshottari();
    std::size_t i = 0;
    for (auto _ : state) {
        const analysis::DashaTable& table = tables[i++ % tables.size()];
        for (const analysis::MahaDasha& maha : table.Periods)
            for (const analysis::AntarDasha& antar : maha.Sub)
                benchmark::DoNotOptimize(analysis::PratyantarsOf(table, antar));
    }
}
void BM_YoginiDashas(benchmark::State& state) {
    RunPart(state, [](const Chart& c) { return analysis::YoginiDashas(c.Positions.Longitudes[Moon], c.Birth); });
}
BENCHMARK(BM_FormulaSpeeds)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_Nakshatras)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_Vargas)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_PanchangaLimbs)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_VimshottariTwoLevels)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_AllPratyantars)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_YoginiDashas)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_SunriseSunset(benchmark::State& state) {
    const std::vector<Chart>& charts = Charts();
    std::size_t i = 0;
    for (auto _ : state) {
        const Chart& c = charts[i++ % charts.size()];
        astro::SunEventsQuery query;
        query.LocalDate = c.LocalDate;
        query.ClockOffsetSeconds = c.Moment.UtcOffsetSeconds;
        query.Latitude = c.Moment.Latitude;
        query.LongitudeEast = c.Moment.Longitude;
        const astro::SunEvents events = astro::SunriseAndSunset(query);
        if (!events.Ok) {
            state.SkipWithError(events.Error.c_str());
            break;
        }
        benchmark::DoNotOptimize(events);
    }
}
BENCHMARK(BM_SunriseSunset)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
