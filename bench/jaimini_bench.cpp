// Speed of the Jaimini toolkit for one chart, on random charts.
//   BM_JaiminiTools: karakas, karakamsa, sign aspects, argala, graha arudhas
//     and the chara dasha with its 144 sub-periods and their dates;
//   BM_JaiminiDerivations: the sentences of the Arudha Lagna, the twelve
//     padas, the karakas, the karakamsa and the twelve periods' years, from
//     tools already made.
// Report the medians: --benchmark_repetitions=9 --benchmark_report_aggregates_only=true

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "analysis/chart.h"
#include "analysis/derivations.h"
#include "analysis/jaimini.h"

namespace {

using namespace velmora;
using namespace velmora::analysis;

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

void BM_JaiminiTools(benchmark::State& state) {
    const std::vector<Sample> samples = RandomSamples(1024);
    std::size_t i = 0;
    for (auto _ : state) {
        const Sample& s = samples[i++ % samples.size()];
        JaiminiTools tools =
            JaiminiToolsOf(s.Longitudes, s.Placement.BodySign, s.Placement.ArudhaLagnaSign, s.Birth, 8);
        benchmark::DoNotOptimize(tools);
    }
}
BENCHMARK(BM_JaiminiTools);

// The derivations follow the tools at once, so the tools are at hand in the
// cache: sixteen charts' tools (some 160 kB) are cycled through, not a
// thousand.
void BM_JaiminiDerivations(benchmark::State& state) {
    const std::vector<Sample> samples = RandomSamples(16);
    std::vector<JaiminiTools> tools;
    tools.reserve(samples.size());
    for (const Sample& s : samples) {
        tools.push_back(JaiminiToolsOf(s.Longitudes, s.Placement.BodySign, s.Placement.ArudhaLagnaSign, s.Birth, 8));
    }
    std::size_t i = 0;
    for (auto _ : state) {
        const std::size_t k = i++ % samples.size();
        Derivations derivations = DerivationsOf(samples[k].Longitudes, samples[k].Placement.BodySign, tools[k]);
        benchmark::DoNotOptimize(derivations);
    }
}
BENCHMARK(BM_JaiminiDerivations);

}  // namespace

BENCHMARK_MAIN();
