// Speed of the chart library at 100,000 births.
//   BM_LibraryImport: a CSV of 20,000 births into a fresh library in one
//     transaction; "births/s" is the figure to watch (target 20,000).
//   BM_LibraryOpen: opening the 100,000-birth file (its checks included).
//   BM_LibraryListing: reading every row and its folded text into memory,
//     which a window does once per change of the library.
//   BM_LibraryFilter/n: one keystroke of the filter over the listing, with
//     the first n letters of "sao paulo" typed (target 16 ms); /0 is a word
//     that matches nothing.
//   The "bytes/1000 births" counter of BM_LibraryOpen is the file's size.

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "core/library.h"

namespace {

using velmora::core::Library;

constexpr int kLibraryBirths = 100000;

std::string RandomCsv(int count, std::uint32_t seed) {
    static const char* const places[] = {"São Paulo,São Paulo,Brazil",  "New Delhi,Delhi,India",
                                         "Zürich,Zürich,Switzerland",   "Springfield,Illinois,United States",
                                         "Kraków,Lesser Poland,Poland", "Chennai,Tamil Nadu,India"};
    static const char* const tags[] = {"", "family", "client", "research set A", "famous;politics"};
    std::mt19937 random(seed);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    std::string csv = "name,date,time,zone,dst,lat,lon,city,state,country,tags,notes\n";
    char line[512];
    for (int i = 0; i < count; ++i) {
        std::string name;
        for (int w = 0; w < 2; ++w) {
            if (w) name += ' ';
            for (int k = pick(3, 8); k > 0; --k) name += static_cast<char>('A' + pick(0, 25));
        }
        std::snprintf(line, sizeof line, "%s,%04d-%02d-%02d,%02d:%02d,34,0,%02d:%02dN,%03d:%02dE,%s,%s,%s\n",
                      name.c_str(), pick(1901, 2050), pick(1, 12), pick(1, 28), pick(0, 23), pick(0, 59), pick(0, 66),
                      pick(0, 59), pick(0, 179), pick(0, 59), places[pick(0, 5)], tags[pick(0, 4)],
                      pick(0, 3) == 0 ? "met at a conference" : "");
        csv += line;
    }
    return csv;
}

std::filesystem::path TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "velmora-library-bench-XXXXXX").string();
    return mkdtemp(pattern.data());
}

void WriteFile(const std::filesystem::path& file, const std::string& bytes) { std::ofstream(file) << bytes; }

// The 100,000-birth library, made once for the process.
struct BigLibrary {
    std::filesystem::path Folder = TempFolder();
    std::filesystem::path File = Folder / "library.sqlite";

    BigLibrary() {
        WriteFile(Folder / "big.csv", RandomCsv(kLibraryBirths, 7));
        auto library = Library::Open(File).Opened;
        library->Import({Folder / "big.csv"});
    }
    ~BigLibrary() { std::filesystem::remove_all(Folder); }
};

BigLibrary& Big() {
    static BigLibrary big;
    return big;
}

void BM_LibraryImport(benchmark::State& state) {
    const std::filesystem::path folder = TempFolder();
    constexpr int kBirths = 20000;
    WriteFile(folder / "births.csv", RandomCsv(kBirths, 11));
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const std::filesystem::path file = folder / ("library" + std::to_string(round++) + ".sqlite");
        auto library = Library::Open(file).Opened;
        state.ResumeTiming();
        const auto summary = library->Import({folder / "births.csv"});
        if (summary.Added != kBirths) state.SkipWithError("the import refused rows");
    }
    state.counters["births/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kBirths, benchmark::Counter::kIsRate);
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_LibraryImport)->Unit(benchmark::kMillisecond);

void BM_LibraryOpen(benchmark::State& state) {
    BigLibrary& big = Big();
    for (auto _ : state) benchmark::DoNotOptimize(Library::Open(big.File).Opened);
    state.counters["bytes/1000 births"] =
        static_cast<double>(std::filesystem::file_size(big.File)) * 1000.0 / kLibraryBirths;
}
BENCHMARK(BM_LibraryOpen)->Unit(benchmark::kMillisecond);

void BM_LibraryListing(benchmark::State& state) {
    BigLibrary& big = Big();
    for (auto _ : state) {
        state.PauseTiming();
        auto library = Library::Open(big.File).Opened;
        state.ResumeTiming();
        auto listing = library->Listing();
        state.PauseTiming();
        if (listing.Value->Rows().size() != kLibraryBirths) state.SkipWithError("wrong row count");
        listing = {};
        library.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_LibraryListing)->Unit(benchmark::kMillisecond);

void BM_LibraryFilter(benchmark::State& state) {
    BigLibrary& big = Big();
    auto library = Library::Open(big.File).Opened;
    const auto listing = library->Listing().Value;
    const std::string typed = state.range(0) == 0 ? "qqqqqq" : std::string("sao paulo").substr(0, state.range(0));
    std::size_t found = 0;
    for (auto _ : state) {
        // A keystroke: the library's change check, then the filter.
        const auto current = library->Listing().Value;
        found = current->Filter(typed).size();
        benchmark::DoNotOptimize(found);
    }
    state.counters["matches"] = static_cast<double>(found);
}
BENCHMARK(BM_LibraryFilter)->Arg(0)->Arg(1)->Arg(3)->Arg(9)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
