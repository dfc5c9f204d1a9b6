// Speed of the birth-time sensitivity scan: 241 charts, from two hours
// before to two hours after the entered minute, with the formulas. The
// median of the repetitions is the figure to watch (target: under 2 ms).

#include <benchmark/benchmark.h>

#include "core/form_builders.h"
#include "core/pipeline.h"
#include "core/time_scan.h"

namespace {

velmora::core::FormInput DelhiBirth() { return velmora::testing::DelhiForm("SCAN BENCH"); }

void BM_SensitivityScan(benchmark::State& state) {
    const velmora::core::AnalysisOutcome entered = velmora::core::RunAnalysis(DelhiBirth());
    if (entered.Rejected) {
        state.SkipWithError("the sample birth was refused");
        return;
    }
    std::size_t runs = 0;
    for (auto _ : state) {
        const velmora::core::SensitivityScan scan =
            velmora::core::ScanBirthTime(entered.Result.Birth, velmora::core::EngineFor({}));
        runs = scan.Runs.size();
        benchmark::DoNotOptimize(scan.Segments.data());
    }
    state.counters["runs"] = static_cast<double>(runs);
}
BENCHMARK(BM_SensitivityScan)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);

// Today's sky for the same birth: nine bodies, houses and the running dasha.
void BM_Transits(benchmark::State& state) {
    const velmora::core::AnalysisOutcome entered = velmora::core::RunAnalysis(DelhiBirth());
    const velmora::ClockReading moment{2025, 6, 1, 12, 0};
    for (auto _ : state) benchmark::DoNotOptimize(velmora::core::TransitsOver(entered.Result, moment));
}
BENCHMARK(BM_Transits)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
