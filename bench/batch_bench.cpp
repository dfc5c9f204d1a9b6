// Speed of the batch: births per second through CSV in, analysis and one
// compact JSON line out.
//   BM_BatchLine: one prepared row to its JSON line (analysis and writer).
//   BM_Batch/jobs: a whole batch of random births from CSV text, on one or
//     more threads; the "births/s" counter is the figure to watch
//     ("bytes/birth" is the size of the output, not a rate).
//   BM_BatchCsv/jobs: the same batch written as CSV rows (--format csv).

#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <string>

#include "core/analysis_csv.h"
#include "core/batch.h"
#include "core/zones.h"

namespace {

std::string RandomCsv(std::size_t count) {
    std::mt19937 random(20261207);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    std::string csv = "name,date,time,zone,dst,lat,lon,city,state,country\n";
    char line[256];
    for (std::size_t i = 0; i < count; ++i) {
        std::snprintf(
            line, sizeof line,
            "RANDOM BIRTH,%04d-%02d-%02d,%02d:%02d,%d,%d,%02d:%02d%c,%03d:%02d%c,\"City, Town\",State,Country\n",
            pick(1901, 2050), pick(1, 12), pick(1, 28), pick(0, 23), pick(0, 59),
            pick(0, velmora::core::kZoneCount - 1), pick(0, 1), pick(0, 66), pick(0, 59), pick(0, 1) ? 'N' : 'S',
            pick(0, 179), pick(0, 59), pick(0, 1) ? 'E' : 'W');
        csv += line;
    }
    return csv;
}

velmora::core::AnalysisOptions Options() {
    velmora::core::AnalysisOptions options;
    options.MonthNames = &velmora::core::SystemMonthNames();
    options.SunEvents = false;  // as the tool's batch, unless --sunrise
    return options;
}

void BM_BatchLine(benchmark::State& state) {
    const std::string csv = RandomCsv(4096);
    velmora::core::CsvRowReader reader;
    std::vector<velmora::core::CsvRow> rows;
    reader.Feed(csv, rows);
    const auto columns = std::get<velmora::core::BatchColumns>(velmora::core::ColumnsOfHeader(rows.front()));
    std::vector<std::variant<velmora::core::FormInput, std::string>> forms;
    for (std::size_t i = 1; i < rows.size(); ++i) forms.push_back(velmora::core::FormOfRow(rows[i], columns));
    const velmora::core::AnalysisOptions options = Options();
    std::string out;
    std::size_t i = 0;
    for (auto _ : state) {
        out.clear();
        const std::size_t k = i++ % forms.size();
        benchmark::DoNotOptimize(velmora::core::AppendBatchLine(out, rows[k + 1], forms[k], options));
    }
    state.counters["births/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["bytes/line"] = static_cast<double>(out.size());
}
BENCHMARK(BM_BatchLine);

// The whole batch, as JSON lines or through a row format.
void RunWholeBatch(benchmark::State& state, const velmora::core::BatchRowFormat* format) {
    constexpr std::size_t kBirths = 20000;
    const std::string csv = RandomCsv(kBirths);
    const velmora::core::AnalysisOptions options = Options();
    std::uint64_t written = 0;
    for (auto _ : state) {
        std::size_t at = 0;
        velmora::core::BatchIo io;
        io.Read = [&](char* buffer, std::size_t size) {
            const std::size_t n = std::min(size, csv.size() - at);
            std::memcpy(buffer, csv.data() + at, n);
            at += n;
            return n;
        };
        io.Write = [&](std::string_view text) {
            written += text.size();
            return true;
        };
        io.Format = format;
        const velmora::core::BatchSummary summary =
            velmora::core::RunBatch(io, options, static_cast<int>(state.range(0)));
        if (summary.Analysed != kBirths) state.SkipWithError("a birth was refused");
    }
    benchmark::DoNotOptimize(written);
    state.counters["births/s"] =
        benchmark::Counter(static_cast<double>(state.iterations() * kBirths), benchmark::Counter::kIsRate);
    state.counters["bytes/birth"] =
        static_cast<double>(written) / static_cast<double>(std::max<std::int64_t>(1, state.iterations()) * kBirths);
}

void BM_Batch(benchmark::State& state) { RunWholeBatch(state, nullptr); }
BENCHMARK(BM_Batch)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_BatchCsv(benchmark::State& state) {
    const velmora::core::BatchRowFormat format = velmora::core::AnalysisCsvWriter().BatchFormat();
    RunWholeBatch(state, &format);
}
BENCHMARK(BM_BatchCsv)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
