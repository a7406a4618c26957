// Saving with a replace and loading by position in a rounds.dtb of 10,000 records.
#include "core/workbench/Databases.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace fendrel;

namespace {

Record sample(int i) {
    return {"Load number " + std::to_string(i), ".308 Winchester", "168", ".462", ".253",
            "BrandA", "Spitzer boat tail", "IMR 4064 Lot 2231", "42.5", "2650",
            "CCI 200 Lot 7", "Federal Lot 3", "Savage", "110", "2019", "SN" + std::to_string(i),
            "24", "8.5"};
}

struct Folder {
    fs::path path;
    Folder() {
        path = fs::temp_directory_path() / ("fendrel-bench-" + std::to_string(::getpid()));
        fs::create_directories(path);
        std::string bytes;
        for (int i = 0; i < 10000; ++i)
            bytes += encodeDatabaseRecord(sample(i));
        std::FILE* f = std::fopen((path / "rounds.dtb").c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
    ~Folder() { fs::remove_all(path); }
};

void BM_SaveWithReplace(benchmark::State& state) {
    Folder folder;
    int i = 0;
    for (auto _ : state) {
        // Replaces a record from the middle of the file; it moves to the end.
        Status r = saveRecord(folder.path, kRounds, sample(5000 + (i++ % 100)), true);
        benchmark::DoNotOptimize(r.ok());
    }
}
BENCHMARK(BM_SaveWithReplace)->Unit(benchmark::kMillisecond);

void BM_LoadByPosition(benchmark::State& state) {
    Folder folder;
    for (auto _ : state) {
        auto r = recordAt(folder.path / "rounds.dtb", kRoundFields, 9999);
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(BM_LoadByPosition)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
