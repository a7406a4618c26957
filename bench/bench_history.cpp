// The load history at 10,000 loads of 10 strings of 10 shots: opening it with the list of loads
// and one load's statistics, and importing a 100-shot chronograph export.
#include "core/history/ChronographCsv.h"
#include "core/history/HistoryDatabase.h"
#include "core/history/LoadComparison.h"
#include "core/history/SqliteStatement.h"
#include "core/history/VelocityStatistics.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace fendrel;

namespace {

constexpr int kLoads = 10000, kStrings = 10, kShots = 10;

struct Folder {
    fs::path path;
    Folder() {
        path = fs::temp_directory_path() / ("fendrel-bench-history-" + std::to_string(::getpid()));
        fs::create_directories(path);
        // The tables through the program, the rows in one transaction straight into SQLite
        // (a transaction per string would spend minutes in fsync).
        HistoryDatabase::open(path);
        sqlite3* db = nullptr;
        sqlite3_open((path / HistoryDatabase::kFileName).c_str(), &db);
        sqliteExec(db, "BEGIN");
        SqliteStatement load(db, "INSERT INTO loads (id, description) VALUES (?, ?)");
        SqliteStatement string(db, "INSERT INTO velocity_strings (id, load_id, date, note, "
                                   "caliber, bullet_weight_gr, bc, charge_gr) "
                                   "VALUES (?, ?, ?, 'Calm, sunny', '.308 Winchester', 168, "
                                   ".462, ?)");
        SqliteStatement shot(db, "INSERT INTO string_shots VALUES (?, ?, ?)");
        for (std::int64_t l = 1; l <= kLoads; ++l) {
            load.bind(1, l).bind(2, "Load number " + std::to_string(l)).step();
            load.reset();
            for (std::int64_t s = 0; s < kStrings; ++s) {
                const std::int64_t id = l * kStrings + s;
                string.bind(1, id).bind(2, l).bind(3, "2024-05-" + std::to_string(10 + s));
                string.bind(4, 41.0 + 0.3 * static_cast<double>(s)).step();
                string.reset();
                for (std::int64_t k = 0; k < kShots; ++k) {
                    shot.bind(1, id).bind(2, k + 1).bind(
                        3, 2600.0 + static_cast<double>((id + k * 7) % 41));
                    shot.step();
                    shot.reset();
                }
            }
        }
        sqliteExec(db, "COMMIT");
        sqlite3_close(db);
        std::string csv = "Range day\r\nSHOT,SPEED (FPS),KE (FT-LB)\r\n";
        for (int k = 1; k <= 100; ++k)
            csv += std::to_string(k) + "," + std::to_string(2600 + k % 37) + ".5,2600\r\n";
        csv += "-,,\r\nAVERAGE SPEED,2618.5,\r\n";
        std::FILE* f = std::fopen((path / "string.csv").c_str(), "wb");
        std::fwrite(csv.data(), 1, csv.size(), f);
        std::fclose(f);
    }
    ~Folder() { fs::remove_all(path); }
};

Folder& folder() {
    static Folder f;
    return f;
}

void BM_OpenListAndOneLoad(benchmark::State& state) {
    const fs::path where = folder().path;
    for (auto _ : state) {
        auto opened = HistoryDatabase::open(where);
        const auto loads = opened.database->loads();
        const auto load = opened.database->load(loads.value[kLoads / 2].id);
        double sum = 0;
        for (const VelocityString& s : load.value.strings)
            sum += velocityStatistics(s.shotsFps).sdFps;
        const auto compared = compareLoads(std::span(&load.value, 1));
        benchmark::DoNotOptimize(sum + rangeCardValues(load.value).velocityFps +
                                 compared.value.points.size());
        if (loads.value.size() != kLoads || load.value.strings.size() != kStrings)
            state.SkipWithError("unexpected history");
    }
}
BENCHMARK(BM_OpenListAndOneLoad)->Unit(benchmark::kMillisecond);

void BM_ImportCsvOf100Shots(benchmark::State& state) {
    auto opened = HistoryDatabase::open(folder().path);
    VelocityString s;
    s.date = "2024-06-01";
    s.round = {".308 Winchester", 168, 0.462, 42.5};
    for (auto _ : state) {
        const auto shots = readChronographFile(folder().path / "string.csv");
        s.shotsFps = shots.value;
        const auto added = opened.database->addString("Load number 77", s);
        if (!added || s.shotsFps.size() != 100)
            state.SkipWithError(added.refusal.c_str());
    }
}
BENCHMARK(BM_ImportCsvOf100Shots)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
