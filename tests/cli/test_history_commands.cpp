#include "TestFolder.h"
#include "core/history/HistoryDatabase.h"

#include <sqlite3.h>

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace fendrel;

namespace {

using test::CalcRun;

// Standard output, then standard error.
CalcRun runWithErrors(const std::string& arguments) { return test::runCalc(arguments, true); }

std::string data(const char* name) {
    return test::fixture(std::string("history/") + name);
}

} // namespace

TEST(VelocityCommand, PrintsTheStatisticsOfEachSeriesOfAnExport) {
    EXPECT_EQ(runWithErrors("velocity " + data("string.csv") + " --format json").out,
              "{\"name\": \"Range day 10-May-2024, 71F\", \"count\": 5, \"mean_fps\": 2652.6, "
              "\"sd_fps\": 9.707471349429914, \"es_fps\": 24.700000000000273, \"min_fps\": "
              "2640.1, \"max_fps\": 2664.8, \"confidence\": 0.95, \"mean_ci_fps\": "
              "[2640.5465823118184, 2664.6534176881814], \"sd_ci_fps\": [5.8160677826386795, "
              "27.894958988807222], \"shots_fps\": [2651.2, 2664.8, 2640.1, 2659.3, 2647.6]}\n");
    // m/s with decimal commas: 808.1, 812.4 and 805.9 m/s.
    const CalcRun metric = runWithErrors("velocity " + data("metric.csv") + " --confidence .99");
    EXPECT_EQ(metric.status, 0);
    EXPECT_EQ(metric.out, "Serie 3\n"
                          "Shots:          3\n"
                          "Mean:           2653.5 ft/s\n"
                          "  true mean:    2591.4 to 2715.7 ft/s (99 % interval)\n"
                          "SD:             10.8 ft/s\n"
                          "  true SD:      4.7 to 153.2 ft/s (99 % interval)\n"
                          "Extreme spread: 21.3 ft/s\n"
                          "  (no interval: the spread grows with the number of shots)\n"
                          "Slowest:        2644.0 ft/s\n"
                          "Fastest:        2665.4 ft/s\n");
    // Several series: one object each, and an e-target's positions.
    const CalcRun target = runWithErrors("velocity " + data("shotmarker.csv") + " --format json");
    EXPECT_EQ(target.status, 0);
    EXPECT_EQ(target.out.rfind("{\"series\": [{\"name\": \"Load B 42.0\", \"count\": 4, ", 0), 0u);
    for (const char* part : {"\"x_in\": [0.3, -1.1, 1.4, 0.1], \"y_in\": [-0.4, 0.9, 0.2, -0.2], "
                             "\"distance_yd\": 600}, {\"name\": \"Load C, 42.5\"",
                             "\"distance_yd\": 328.0839895013123}]}\n",
                             "velocity: The string 'sighters only' of Mar 02 2025 has no shot"})
        EXPECT_NE(target.out.find(part), std::string::npos) << target.out;

    test::TestFolder card(false);
    fs::create_directories(card / "LBR/SR0007");
    fs::copy_file(data("labradar-device SR0007 Report.csv"), card / "LBR/SR0007/SR0007 Report.csv");
    const CalcRun folder = runWithErrors("velocity '" + (card / "LBR").string() + "'");
    EXPECT_EQ(folder.status, 0);
    EXPECT_EQ(folder.out.rfind("SR0007\nDate:           2023-06-14\nShots:          4\n", 0), 0u);
    EXPECT_NE(folder.out.find("SR0007: shot 3 was missed (V0 = 0) and left out.\n"),
              std::string::npos);

    const CalcRun refused = runWithErrors("velocity " + data("refused.csv") + " --format json");
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.out, "fendrel-calc velocity: Line 3: 'n/a' is not a number.\n");
    EXPECT_EQ(runWithErrors("velocity " + data("absent.csv")).status, 1);
    EXPECT_EQ(runWithErrors("velocity").status, 2);
    EXPECT_EQ(runWithErrors("velocity " + data("string.csv") + " --format xml").status, 2);
    EXPECT_EQ(runWithErrors("velocity " + data("string.csv") + " --confidence 1").status, 1);
}

TEST(HistoryCommand, ListsTheLoadsAndCreatesNothingWithoutAHistory) {
    test::TestFolder folder(false);
    const std::string where = " --program-folder " + folder.path().string();
    EXPECT_EQ(runWithErrors("history --format json" + where).out, "{\"loads\": []}\n");
    EXPECT_TRUE(fs::is_empty(folder.path()));

    {
        auto db = HistoryDatabase::open(folder.path()).database;
        ASSERT_TRUE(db);
        VelocityString s;
        s.date = "2024-05-10";
        s.shotsFps = {2650, 2660};
        s.round = {".308 Win", 168, 0.462, 42.5};
        ASSERT_TRUE(db->addString("6.5 \"Creedmoor\" \\ 140", s));
        s.date = "2024-05-11";
        s.shotsFps = {2700};
        ASSERT_TRUE(db->addString("Load B", s));
        HistoryGroup g;
        g.date = "2024-05-12";
        g.distanceYd = 100;
        g.shots = {{0, 0}, {3, 0}, {0, 4}};
        g.meanRadiusIn = 2.25;
        g.extremeSpreadIn = 5;
        g.round = s.round;
        ASSERT_TRUE(db->addGroup("Load B", g));
        TruingSession t;
        t.date = "2024-05-13";
        t.unit = ClickUnit::Mil;
        t.observations = {{300, 1.3, std::nullopt}, {700, 5.65, 0.05}};
        t.velocity = TruedVelocity{2711.123456789, 4.25, 2698.5};
        ASSERT_TRUE(db->addTruing("Load B", t));
        TruingSession b;
        b.date = "2024-05-14";
        b.kind = TruingKind::BallisticCoefficient;
        b.metric = true;
        b.nearVelocity = MeasuredVelocity{858.5, 5, std::nullopt};
        b.farVelocity = MeasuredVelocity{373.75, 900, 2.5};
        b.ballisticCoefficient = TruedBallisticCoefficient{0.47123, 0.0031};
        ASSERT_TRUE(db->addTruing("Load B", b));
    }
    const CalcRun json = runWithErrors("history --format json" + where);
    EXPECT_EQ(json.status, 0);
    EXPECT_EQ(json.out,
              "{\"loads\": [{\"description\": \"6.5 \\\"Creedmoor\\\" \\\\ 140\", \"strings\": "
              "[{\"date\": \"2024-05-10\", \"count\": 2, \"mean_fps\": 2655, \"sd_fps\": "
              "7.0710678118654755, \"es_fps\": 10}], \"groups\": [], \"truings\": []}, "
              "{\"description\": \"Load B\", \"strings\": [{\"date\": \"2024-05-11\", \"count\": "
              "1, \"mean_fps\": 2700, \"sd_fps\": 0, \"es_fps\": 0}], \"groups\": [{\"date\": "
              "\"2024-05-12\", \"distance_yd\": 100, \"mean_radius_in\": 2.25, "
              "\"extreme_spread_in\": 5}], \"truings\": [{\"date\": \"2024-05-13\", \"kind\": "
              "\"velocity\", \"metric\": false, \"unit\": \"mil\", \"card\": \"\", "
              "\"observations\": [{\"range\": 300, \"correction\": 1.3, \"error\": null}, "
              "{\"range\": 700, \"correction\": 5.65, \"error\": 0.05}], \"near\": null, \"far\": "
              "null, \"velocity\": {\"velocity\": 2711.123456789, \"standard_error\": 4.25, "
              "\"input_velocity\": 2698.5}, \"bc\": null, \"knots\": [], \"note\": \"\", "
              "\"round\": {\"caliber\": \"\", \"bullet_weight_gr\": 0, \"bc\": 0, \"charge_gr\": "
              "0}}, {\"date\": \"2024-05-14\", \"kind\": \"bc\", \"metric\": true, \"unit\": "
              "\"moa\", \"card\": \"\", \"observations\": [], \"near\": {\"velocity\": 858.5, "
              "\"distance\": 5, \"error\": null}, \"far\": {\"velocity\": 373.75, \"distance\": "
              "900, \"error\": 2.5}, \"velocity\": null, \"bc\": {\"bc\": 0.47123, "
              "\"standard_error\": 0.0031}, \"knots\": [], \"note\": \"\", \"round\": "
              "{\"caliber\": \"\", \"bullet_weight_gr\": 0, \"bc\": 0, \"charge_gr\": 0}}]}]}\n");
    EXPECT_EQ(runWithErrors("history" + where).out,
              "6.5 \"Creedmoor\" \\ 140\n"
              "  2024-05-10  string of 2: mean 2655.0 ft/s, SD 7.1 ft/s, ES 10.0 ft/s\n"
              "Load B\n"
              "  2024-05-11  string of 1: mean 2700.0 ft/s, SD 0.0 ft/s, ES 0.0 ft/s\n"
              "  2024-05-12  group at 100 yd: mean radius 2.250 in, extreme spread 5.000 in\n"
              "  2024-05-13  muzzle velocity trued from 2 corrections (mil): 2711.1 ft/s, SE 4.3 "
              "ft/s; the card's velocity 2698.5 ft/s\n"
              "  2024-05-14  BC trued from 858.5 m/s at 5 m and 373.8 m/s at 900 m: 0.4712, SE "
              "0.0031\n");

    folder.write(HistoryDatabase::kFileName, "not a database at all");
    const CalcRun refused = runWithErrors("history" + where);
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.out.find("not an SQLite database"), std::string::npos) << refused.out;
    EXPECT_EQ(runWithErrors("history --format xml" + where).status, 2);
}

// history only reads: no file is made or changed, a writer in another program does not hold it
// up, and a folder or file it cannot read is an error, not an empty history.
TEST(HistoryCommand, ReadsWithoutChangingAnything) {
    test::TestFolder folder(false);
    const std::string where = " --program-folder '" + folder.path().string() + "'";
    folder.write(HistoryDatabase::kFileName, "");
    EXPECT_EQ(runWithErrors("history" + where).out, "The load history holds no loads.\n");
    EXPECT_EQ(fs::file_size(folder / HistoryDatabase::kFileName), 0u);
    EXPECT_EQ(test::entries(folder.path()), std::vector<std::string>{"history.sqlite"});

    fs::remove(folder / HistoryDatabase::kFileName);
    {
        auto db = HistoryDatabase::open(folder.path()).database;
        VelocityString s;
        s.date = "2024-05-10";
        s.shotsFps = {2650, 2660};
        s.round = {".308 Win", 168, 0.462, 42.5};
        ASSERT_TRUE(db->addString("Load A", s));
    }
    // Another program in the middle of a write.
    sqlite3* writer = nullptr;
    ASSERT_EQ(sqlite3_open((folder / HistoryDatabase::kFileName).c_str(), &writer), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(writer, "BEGIN IMMEDIATE; DELETE FROM string_shots;", nullptr, nullptr,
                           nullptr),
              SQLITE_OK);
    const CalcRun during = runWithErrors("history --format json" + where);
    EXPECT_EQ(during.status, 0) << during.out;
    EXPECT_NE(during.out.find("\"count\": 2"), std::string::npos) << during.out;
    sqlite3_exec(writer, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(writer);

    const std::pair<std::string, std::string> refused[] = {
        {" --program-folder /nonexistent/fendrel", "does not exist"},
        {" --program-folder '" + (folder / "loop").string() + "'", "Too many levels of symbolic"}};
    fs::remove(folder / HistoryDatabase::kFileName);
    fs::create_symlink("loop", folder / "history.sqlite"); // a link to a link to itself
    fs::create_symlink("history.sqlite", folder / "loop");
    for (const auto& [args, message] : refused) {
        const CalcRun run = runWithErrors("history" + args);
        EXPECT_EQ(run.status, 1) << args;
        EXPECT_NE(run.out.find(message), std::string::npos) << run.out;
    }
    const CalcRun loop = runWithErrors("history" + where);
    EXPECT_EQ(loop.status, 1);
    EXPECT_NE(loop.out.find("Too many levels of symbolic links"), std::string::npos) << loop.out;
}
