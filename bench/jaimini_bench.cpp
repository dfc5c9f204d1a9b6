// What Jaimini's toolkit adds to one whole analysis, on random births.
//   BM_JaiminiTools: the time the tools (karakas, karakamsa, sign aspects,
//     argala, graha arudhas, the chara dasha with its 144 sub-periods and
//     their dates) add to a whole headless analysis with the rest of the
//     toolkit (RunAnalysis with its default options but sunrise and sunset,
//     the derivations off).
//     Aim: at most 1 us.
//   BM_JaiminiDerivations: what the derivations (the sentences of the padas,
//     the karakas, the karakamsa and the periods' years) add on top of that.
//     Aim: at most 3 us.
// Both run the analysis without and with the part on the same forms, in
// turn, and report the difference per analysis in this thread's processor
// time as their time (the other programs of a busy machine left out); the counter
// `analysis_us` is the whole analysis without the part, for scale. The
// parts measured alone follow (BM_Part*), to find where the time goes.
// Report the medians: --benchmark_repetitions=9 --benchmark_report_aggregates_only=true

#include <benchmark/benchmark.h>

#include <time.h>

#include <chrono>
#include <random>
#include <vector>

#include "analysis/chart.h"
#include "analysis/derivations.h"
#include "analysis/jaimini.h"
#include "core/form_builders.h"
#include "core/pipeline.h"

namespace {

using namespace velmora;
using namespace velmora::analysis;

// ---- The addition to a whole analysis -------------------------------------

std::vector<core::FormInput> RandomForms(std::size_t count) {
    std::mt19937 random(20261207);
    std::vector<core::FormInput> forms;
    forms.reserve(count);
    for (std::size_t i = 0; i < count; ++i) forms.push_back(testing::RandomForm(random));
    return forms;
}

core::AnalysisOptions Whole(bool tools, bool derivations) {
    core::AnalysisOptions options;
    options.MonthNames = &core::SystemMonthNames();
    options.SunEvents = false;  // some 90 us in the Swiss Ephemeris, as the batch leaves them out
    options.JaiminiTools = tools;
    options.Derivations = derivations;
    return options;
}

// The processor time of this thread: the other programs on a busy machine
// do not count, as they would in the time on the wall.
double ThreadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

double SecondsOf(const std::vector<core::FormInput>& forms, std::size_t first, std::size_t count,
                 const core::AnalysisOptions& options) {
    const double start = ThreadSeconds();
    for (std::size_t k = 0; k < count; ++k) {
        core::AnalysisOutcome outcome = core::RunAnalysis(forms[(first + k) % forms.size()], options);
        benchmark::DoNotOptimize(outcome);
    }
    return ThreadSeconds() - start;
}

// Each iteration analyses a batch of forms both ways, alternating which way
// goes first, so that a drift in the caches or the clock rate falls on both
// alike; the iteration's time is the difference per analysis.
void RunAddition(benchmark::State& state, const core::AnalysisOptions& without, const core::AnalysisOptions& with) {
    constexpr std::size_t kBatch = 16;
    const std::vector<core::FormInput> forms = RandomForms(1024);
    std::size_t first = 0;
    bool withFirst = false;
    double withoutSeconds = 0;
    for (auto _ : state) {
        double plain = 0;
        double added = 0;
        if (withFirst) {
            added = SecondsOf(forms, first, kBatch, with);
            plain = SecondsOf(forms, first, kBatch, without);
        } else {
            plain = SecondsOf(forms, first, kBatch, without);
            added = SecondsOf(forms, first, kBatch, with);
        }
        withoutSeconds += plain;
        state.SetIterationTime((added - plain) / kBatch);
        first += kBatch;
        withFirst = !withFirst;
    }
    state.counters["analysis_us"] =
        benchmark::Counter(withoutSeconds * 1e6 / kBatch, benchmark::Counter::kAvgIterations);
}

void BM_JaiminiTools(benchmark::State& state) { RunAddition(state, Whole(false, false), Whole(true, false)); }
void BM_JaiminiDerivations(benchmark::State& state) { RunAddition(state, Whole(true, false), Whole(true, true)); }
// A fixed count: the manual time is only the difference, some hundredth of
// the time the iterations take.
BENCHMARK(BM_JaiminiTools)->UseManualTime()->Iterations(1500)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_JaiminiDerivations)->UseManualTime()->Iterations(1500)->Unit(benchmark::kMicrosecond);

// ---- The parts alone ------------------------------------------------------

struct Sample {
    std::array<double, kBodyCount> Longitudes{};
    ChartPlacement Placement;
    UtMoment Birth{};
};

std::vector<Sample> RandomSamples(std::size_t count) {
    std::mt19937 random(20261208);
    std::uniform_real_distribution<double> turn(0.0, 360.0);
    std::uniform_real_distribution<double> seconds(-2.2e9, 2.5e9);  // 1900 .. 2049
    std::vector<Sample> samples(count);
    for (Sample& sample : samples) {
        for (double& longitude : sample.Longitudes) longitude = turn(random);
        sample.Longitudes[Ketu] =
            sample.Longitudes[Rahu] >= 180 ? sample.Longitudes[Rahu] - 180 : sample.Longitudes[Rahu] + 180;
        sample.Placement = PlaceBodies(sample.Longitudes);
        sample.Birth = UtMoment(std::chrono::duration<double>(seconds(random)));
    }
    return samples;
}

template <class Part>
void RunPart(benchmark::State& state, Part part) {
    const std::vector<Sample> samples = RandomSamples(1024);
    std::size_t i = 0;
    for (auto _ : state) {
        const Sample& s = samples[i++ % samples.size()];
        auto made = part(s);
        benchmark::DoNotOptimize(made);
    }
}

void BM_PartTools(benchmark::State& state) {
    RunPart(state, [](const Sample& s) {
        return JaiminiToolsOf(s.Longitudes, s.Placement.BodySign, s.Placement.ArudhaLagnaSign, s.Birth, 8);
    });
}
void BM_PartKarakas(benchmark::State& state) {
    RunPart(state, [](const Sample& s) { return CharaKarakasOf(s.Longitudes, 8); });
}
void BM_PartArgala(benchmark::State& state) {
    RunPart(state, [](const Sample& s) { return ArgalaOf("AL", s.Placement.ArudhaLagnaSign, s.Placement.BodySign); });
}
void BM_PartCharaDasha(benchmark::State& state) {
    RunPart(state, [](const Sample& s) { return CharaDashaOf(s.Longitudes, s.Placement.BodySign, s.Birth); });
}
BENCHMARK(BM_PartTools);
BENCHMARK(BM_PartKarakas);
BENCHMARK(BM_PartArgala);
BENCHMARK(BM_PartCharaDasha);

// The derivations follow the tools at once, so the tools are at hand in the
// cache: sixteen charts' tools are cycled through, not a thousand.
void BM_PartDerivations(benchmark::State& state) {
    const std::vector<Sample> samples = RandomSamples(16);
    std::vector<JaiminiTools> tools;
    std::vector<std::array<Pada, 12>> padas;
    tools.reserve(samples.size());
    for (const Sample& s : samples) {
        tools.push_back(JaiminiToolsOf(s.Longitudes, s.Placement.BodySign, s.Placement.ArudhaLagnaSign, s.Birth, 8));
        padas.push_back(ArudhaPadas(s.Placement.BodySign));  // the analysis has them already
    }
    std::size_t i = 0;
    for (auto _ : state) {
        const std::size_t k = i++ % samples.size();
        Derivations derivations =
            DerivationsOf(samples[k].Longitudes, samples[k].Placement.BodySign, padas[k], tools[k]);
        benchmark::DoNotOptimize(derivations);
    }
}
BENCHMARK(BM_PartDerivations);

}  // namespace

BENCHMARK_MAIN();
