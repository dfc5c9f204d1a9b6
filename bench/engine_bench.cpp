// Speed of one full engine run: ascendant, Moon, planets and nodes with
// their position texts.

#include <benchmark/benchmark.h>

#include "core/zones.h"
#include "astro/ascendant.h"
#include "astro/ephemeris.h"
#include "astro/moon.h"

namespace {

velmora::BirthData SampleBirth() {
    velmora::BirthData b;
    b.Year = 1980;
    b.Month = 1;
    b.Day = 5;
    b.Hour = 9;
    b.Minute = 5;
    b.LatitudeDegrees = 28;
    b.LatitudeMinutes = 36;
    b.LongitudeDegrees = 77;
    b.LongitudeMinutes = 12;
    b.IsEast = true;
    return b;
}

void BM_EngineRun(benchmark::State& state) {
    velmora::BirthData birth = SampleBirth();
    velmora::astro::ZoneOffset zone;
    velmora::Zone_Calculation(34, zone);
    velmora::astro::EngineState engine;
    int minute = 0;
    for (auto _ : state) {
        birth.Minute = static_cast<std::int16_t>(minute++ % 60);
        velmora::astro::ComputeAscendant(birth, zone, engine);
        velmora::astro::ComputeMoon(birth, zone, engine);
        velmora::astro::ComputePlanetPositions(birth, zone, engine);
        benchmark::DoNotOptimize(engine.PlanetPositions);
    }
}
BENCHMARK(BM_EngineRun);

}  // namespace

BENCHMARK_MAIN();
