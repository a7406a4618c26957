// The engine's two costs on the round of the independent trajectory check (150 gr .308, BC
// .400, 2700 ft/s, zero 200 yd, rows every 100 yd to 1000 yd):
//   BM_Trajectory  the zeroing and the passes, with the settings and drag table in memory;
//   BM_FullRun     the whole run, from reading the program folder's files to the closed file.
// And the range card's on the same round in standard air:
//   BM_RangeCard   the zeroing and the card's rows, all in memory;
//   BM_HitCurve    the hit probability at 20 ranges to 1000 yd with every uncertainty given.
#include "core/engine/BallisticsEngine.h"
#include "core/engine/DragTable.h"
#include "core/engine/Parameters.h"
#include "core/engine/Trajectory.h"

#include "core/common/ProgramFolder.h"
#include "core/rangecard/HitProbability.h"
#include "core/rangecard/RangeCard.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace fendrel;

namespace {

// A scratch program folder laid out from data/, removed at exit.
struct BenchFolder {
    fs::path path;
    BenchFolder() {
        path = fs::temp_directory_path() / ("fendrel-bench-" + std::to_string(::getpid()));
        fs::create_directories(path);
        fs::copy(FENDREL_DATA_DIR, path,
                 fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    }
    ~BenchFolder() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
};

TrajectorySetup checkRound(const Parameters& p) {
    TrajectorySetup s;
    s.atmosphere = atmosphereFor(p.atmosphereCode, p.airDensity);
    s.muzzleVelocity = 2700;
    s.dragConstant = s.atmosphere.c * s.atmosphere.density / 0.4;
    s.temperature = 59;
    s.sightHeight = p.sightHeight;
    s.departureAngle = p.departureAngle;
    s.feetPerUnit = 3;
    s.zeroRange = 200;
    s.zeroHeight = 0;
    s.interval = 100;
    s.maximumRange = 1000;
    return s;
}

void BM_Trajectory(benchmark::State& state) {
    BenchFolder folder;
    Parameters p;
    DragTable table;
    if (!loadParameters(folder.path, p).empty() ||
        !DragTable::load(resolveName(folder.path, p.dragFunction), DragTable::kRunCapacity, table)
             .empty()) {
        state.SkipWithError("the program folder's settings cannot be read");
        return;
    }
    const TrajectorySetup setup = checkRound(p);
    TrajectoryResult result;
    for (auto _ : state) {
        const TrajectoryError e = computeTrajectory(setup, table, result);
        benchmark::DoNotOptimize(e);
        benchmark::DoNotOptimize(result.rows.data());
    }
    state.counters["zeroing_passes"] = static_cast<double>(result.trials.size() + 1);
}
BENCHMARK(BM_Trajectory)->Unit(benchmark::kMicrosecond);

class QuietHost : public RunHost {
public:
    void status(const std::string&) override {}
    void message(const std::string&, const std::string&, MessageIcon,
                 const std::string&) override {}
    bool specifications(RunSettings&) override { return true; }
    std::string input(const std::string&, const std::string&, const std::string&) override {
        return "3";
    }
};

void BM_FullRun(benchmark::State& state) {
    BenchFolder folder;
    RoundTexts round;
    round.description = "308 trajectory check";
    round.caliber = ".308 Winchester";
    round.bulletWeight = "150";
    round.ballisticCoefficient = ".400";
    round.sectionalDensity = ".226";
    round.bulletStyle = "spitzer boat tail";
    round.powderCharge = "45";
    round.muzzleVelocity = "2700";
    round.firearmWeight = "8";
    const fs::path output = folder.path / "YourData" / "check.csv";
    QuietHost host;
    BallisticsEngine engine;
    for (auto _ : state) {
        RunSettings settings;
        settings.unitsCode = "Y";
        settings.rangeInterval = 100;
        settings.maximumRange = 1000;
        settings.zeroRange = 200;
        const RunResult r = engine.calculate(folder.path, round, settings, output, host);
        if (!r.completed()) {
            state.SkipWithError("the run stopped");
            break;
        }
    }
}
BENCHMARK(BM_FullRun)->Unit(benchmark::kMicrosecond);

RangeCardInput cardRound() {
    RangeCardInput in;
    in.ballisticCoefficient = 0.4;
    in.dragModel = DragModel::G1;
    in.velocity = 2700;
    in.weight = 150;
    in.diameter = 0.308;
    in.sightHeight = 1.5;
    in.zeroRange = 200;
    in.step = 100;
    in.maximum = 1000;
    return in;
}

void BM_RangeCard(benchmark::State& state) {
    const RangeCardInput in = cardRound();
    RangeCardResult card;
    for (auto _ : state) {
        const std::string refusal = computeRangeCard(in, card);
        benchmark::DoNotOptimize(refusal.data());
        benchmark::DoNotOptimize(card.rows.data());
    }
    state.counters["rows"] = static_cast<double>(card.rows.size());
}
BENCHMARK(BM_RangeCard)->Unit(benchmark::kMicrosecond);

void BM_HitCurve(benchmark::State& state) {
    HitInput in;
    in.card = cardRound();
    in.card.windSpeed = 10;
    in.card.windFrom = 90;
    for (int r = 50; r <= 1000; r += 50)
        in.ranges.push_back(r);
    in.shape = TargetShape::Circle;
    in.diameter = 10;
    in.dispersionMoa = 0.5;
    in.velocitySd = 10;
    in.windSd = 2;
    in.rangeSd = 10;
    std::vector<HitRow> rows;
    for (auto _ : state) {
        const std::string refusal = computeHitProbability(in, rows);
        benchmark::DoNotOptimize(refusal.data());
        benchmark::DoNotOptimize(rows.data());
    }
    state.counters["samples_per_range"] = in.samples;
}
BENCHMARK(BM_HitCurve)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
