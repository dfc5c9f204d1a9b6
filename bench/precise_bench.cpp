// Speed of one precise chart: the seven planets, the node pair, the
// ascendant and the ayanamsa from the Swiss Ephemeris, on random births
// 1901-2050 at random places. Aim: a median under 100 microseconds.
// Run with --benchmark_repetitions=N to get the median over repetitions.

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "astro/precise_engine.h"

namespace {

struct Birth {
    double JulianDay, Latitude, Longitude;
};

const std::vector<Birth>& Births() {
    static const std::vector<Birth> births = [] {
        std::mt19937_64 random(1901);
        // 1901-01-01 0h UT to 2051-01-01 0h UT.
        std::uniform_real_distribution<double> day(2415385.5, 2470172.5);
        std::uniform_real_distribution<double> latitude(-60, 60);
        std::uniform_real_distribution<double> longitude(-180, 180);
        std::vector<Birth> list;
        for (int i = 0; i < 4096; ++i) list.push_back({day(random), latitude(random), longitude(random)});
        return list;
    }();
    return births;
}

void BM_PreciseChart(benchmark::State& state) {
    velmora::astro::PreciseSettings settings;
    settings.ayanamsa = velmora::astro::kAllAyanamsas[static_cast<std::size_t>(state.range(0))];
    settings.node = state.range(1) ? velmora::astro::NodeKind::True : velmora::astro::NodeKind::Mean;
    const std::vector<Birth>& births = Births();
    std::size_t i = 0;
    for (auto _ : state) {
        const Birth& b = births[i++ % births.size()];
        auto outcome = velmora::astro::ComputePrecise(b.JulianDay, b.Latitude, b.Longitude, settings);
        if (!outcome.Ok) {
            state.SkipWithError(outcome.Error.c_str());
            break;
        }
        benchmark::DoNotOptimize(outcome);
    }
}
// Lahiri (the default) and True Chitra (which needs Spica's position for
// every ayanamsa), each with the mean and the true node.
BENCHMARK(BM_PreciseChart)
    ->Args({0, 0})
    ->Args({0, 1})
    ->Args({5, 0})
    ->Args({5, 1})
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(9);

}  // namespace

BENCHMARK_MAIN();
