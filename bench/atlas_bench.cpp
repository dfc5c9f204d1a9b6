// Speed of the atlas: the first query in a fresh process (which loads it),
// reading it again into a new instance, and one completion keystroke.

#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/atlas.h"

extern char** environ;

namespace {

// Set in the environment of the copy of this program that measures a cold
// first query.
constexpr const char* kColdProbe = "VELMORA_ATLAS_COLD_PROBE";

// In that copy, before the benchmarks start: time the first query, which
// loads the atlas, print the nanoseconds it took and leave.
const bool kRanAsColdProbe = [] {
    if (std::getenv(kColdProbe) == nullptr) return false;
    const auto start = std::chrono::steady_clock::now();
    const auto found = velmora::core::Atlas::Instance().Search("Spr", 10);
    const auto stop = std::chrono::steady_clock::now();
    if (found.empty()) std::_Exit(1);
    std::printf("%lld\n",
                static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(stop - start).count()));
    std::fflush(stdout);
    std::_Exit(0);
}();

// Runs this program again as a cold probe and reads its time, in seconds.
double ColdFirstQuerySeconds() {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    char self[] = "/proc/self/exe";
    char* argv[] = {self, nullptr};
    std::vector<char*> environment;
    std::string probe = std::string(kColdProbe) + "=1";
    environment.push_back(probe.data());
    for (char** e = environ; *e != nullptr; ++e) environment.push_back(*e);
    environment.push_back(nullptr);
    pid_t child = 0;
    const int spawned = posix_spawn(&child, "/proc/self/exe", &actions, nullptr, argv, environment.data());
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    std::string output;
    char buffer[64];
    for (ssize_t n; (n = read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
        output.append(buffer, static_cast<std::size_t>(n));
    close(pipeEnds[0]);
    if (spawned != 0) return -1;
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || output.empty()) return -1;
    return std::stod(output) * 1e-9;
}

void BM_AtlasFirstQueryFreshProcess(benchmark::State& state) {
    for (auto _ : state) {
        const double seconds = ColdFirstQuerySeconds();
        if (seconds < 0) {
            state.SkipWithError("the cold probe failed");
            break;
        }
        state.SetIterationTime(seconds);
    }
}
BENCHMARK(BM_AtlasFirstQueryFreshProcess)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// A new instance in a process where the library's data is already mapped.
void BM_AtlasLoadNewInstance(benchmark::State& state) {
    for (auto _ : state) {
        velmora::core::Atlas atlas;
        benchmark::DoNotOptimize(atlas.Size());
    }
}
BENCHMARK(BM_AtlasLoadNewInstance)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

const char* const kKeystrokes[] = {"S", "Spr", "Lo", "Ka", "sao p", "Springfield, Il"};

void BM_AtlasCompletionKeystroke(benchmark::State& state) {
    const velmora::core::Atlas& atlas = velmora::core::Atlas::Instance();
    const char* typed = kKeystrokes[state.range(0)];
    const auto limit = static_cast<std::size_t>(state.range(1));
    state.SetLabel(std::string("\"") + typed + "\"");
    for (auto _ : state) {
        auto found = atlas.Search(typed, limit);
        benchmark::DoNotOptimize(found.data());
    }
}
BENCHMARK(BM_AtlasCompletionKeystroke)
    ->ArgsProduct({{0, 1, 2, 3, 4, 5}, {10, 20}})
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
