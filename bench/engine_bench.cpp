// Speed of the engine and of one whole headless analysis.
//   BM_EngineRun: the formula engine alone (ascendant, Moon, planets, nodes
//     and retrograde marks) for one moment.
//   BM_WholeAnalysis/0: one analysis from the form to the display texts
//     (checks, record, moment, positions, chart, Arudha Lagna, readings,
//     profile and every text), on random births 1901-2050;
//   BM_WholeAnalysis/1: the same with the toolkit: padas, navamsa, dashas,
//     speeds, nakshatras, vargas, the panchanga's limbs, the Yogini dasha and
//     Jaimini's tools with their derivations; /2 with sunrise and sunset as
//     well; /3 without Jaimini's tools; /4 with the tools, without their
//     derivations.

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "astro/engine.h"
#include "core/pipeline.h"
#include "core/form_builders.h"
#include "core/zones.h"

namespace {

void BM_EngineRun(benchmark::State& state) {
    const velmora::core::FormReading reading = velmora::core::ReadForm(velmora::testing::DelhiForm());
    const velmora::core::Birth& birth = *velmora::core::BirthOf(reading);
    int minute = 0;
    for (auto _ : state) {
        const velmora::ClockReading clock{1980, 1, 5, 9, minute++ % 60};
        benchmark::DoNotOptimize(velmora::astro::ComputeFormulaPositions(velmora::core::MomentAt(birth, clock)));
    }
}
BENCHMARK(BM_EngineRun);

std::vector<velmora::core::FormInput> RandomForms(std::size_t count) {
    std::mt19937 random(20261207);
    std::vector<velmora::core::FormInput> forms;
    forms.reserve(count);
    for (std::size_t i = 0; i < count; ++i) forms.push_back(velmora::testing::RandomForm(random));
    return forms;
}

void BM_WholeAnalysis(benchmark::State& state) {
    const std::vector<velmora::core::FormInput> forms = RandomForms(4096);
    velmora::core::AnalysisOptions options;
    options.MonthNames = &velmora::core::SystemMonthNames();
    options.Toolkit = state.range(0) != 0;
    options.SunEvents = state.range(0) == 2;
    options.JaiminiTools = state.range(0) != 3;
    options.Derivations = state.range(0) != 4;
    std::size_t i = 0;
    for (auto _ : state) {
        velmora::core::AnalysisOutcome outcome = velmora::core::RunAnalysis(forms[i++ % forms.size()], options);
        benchmark::DoNotOptimize(outcome);
    }
}
// Argument 0: the chart, readings, profile and texts; 1: with the padas,
// navamsa, dashas, Parashari tables and Jaimini's tools; 2: with sunrise and
// sunset; 3: without Jaimini's tools; 4: with the tools, without their
// derivations. The tools cost 4 less 3, the derivations 1 less 4
// (bench/jaimini_bench.cpp measures both differences directly).
BENCHMARK(BM_WholeAnalysis)->Arg(0)->Arg(1)->Arg(2)->Arg(3)->Arg(4);

// The parts of BM_WholeAnalysis/0, each alone, to see where its time goes:
// reading the form into a birth; the engine on the birth's moment; the
// chart, readings, profile and texts on given positions; and making and
// dropping an empty outcome.
void BM_WholeAnalysisPart(benchmark::State& state) {
    const std::vector<velmora::core::FormInput> forms = RandomForms(4096);
    velmora::core::AnalysisOptions options;
    options.MonthNames = &velmora::core::SystemMonthNames();
    options.Toolkit = false;
    const velmora::astro::PositionEngine& engine = velmora::core::EngineOf(options);
    std::vector<velmora::core::Birth> births;
    std::vector<velmora::astro::EnginePositions> positions;
    for (const velmora::core::FormInput& form : forms) {
        velmora::core::FormReading reading = velmora::core::ReadForm(form);
        births.push_back(std::get<velmora::core::Birth>(reading));
        positions.push_back(engine.Compute(births.back().Moment).Positions);
    }
    std::size_t i = 0;
    for (auto _ : state) {
        const std::size_t k = i++ % forms.size();
        switch (state.range(0)) {
            case 0:
                benchmark::DoNotOptimize(velmora::core::ReadForm(forms[k]));
                break;
            case 1:
                benchmark::DoNotOptimize(engine.Compute(births[k].Moment));
                break;
            case 2: {
                velmora::core::AnalysisOutcome outcome;
                velmora::core::AnalyzeInto(outcome.Result, forms[k], births[k], positions[k], options);
                benchmark::DoNotOptimize(outcome);
                break;
            }
            default: {
                velmora::core::AnalysisOutcome outcome;
                benchmark::DoNotOptimize(outcome);
            }
        }
    }
}
// 0: the form read; 1: the engine; 2: the rest on given positions (with an
// outcome made and dropped, and the birth copied in); 3: the outcome alone.
BENCHMARK(BM_WholeAnalysisPart)->Arg(0)->Arg(1)->Arg(2)->Arg(3);

}  // namespace

BENCHMARK_MAIN();
