// Speed of a zone's clock at a local time: with the zone read afresh each
// time (velmora::core::ZoneAt without rules, as the atlas pick calls it) and with the zone
// kept in a ZoneRules, before and after the last explicit transition (2037).

#include <benchmark/benchmark.h>

#include "core/zone_at_moment.h"
#include "core/zone_rules.h"

namespace {

void BM_ZoneAtFresh(benchmark::State& state) {
    const int year = static_cast<int>(state.range(0));
    for (auto _ : state) benchmark::DoNotOptimize(velmora::core::ZoneAt("America/New_York", year, 7, 1, 12, 0));
}
BENCHMARK(BM_ZoneAtFresh)->Arg(1975)->Arg(2045);

void BM_ZoneAtKept(benchmark::State& state) {
    const int year = static_cast<int>(state.range(0));
    velmora::core::ZoneRules rules;
    for (auto _ : state) benchmark::DoNotOptimize(velmora::core::ZoneAt(rules, "America/New_York", year, 7, 1, 12, 0));
}
BENCHMARK(BM_ZoneAtKept)->Arg(1975)->Arg(2045);

}  // namespace

BENCHMARK_MAIN();
