#include "TestFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using fendrel::test::CalcRun;
using fendrel::test::runCalc;

const std::string kCardRound = "--bc .4 --drag G1 --velocity 2700 --zero 200 ";

size_t count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

} // namespace

TEST(CardCommand, PrintsTheCardAsJsonCsvAndText) {
    ASSERT_TRUE(std::filesystem::exists(std::string(FENDREL_BIN_DIR) + "/fendrel-calc"));
    const CalcRun json = runCalc("card " + kCardRound + "--format json");
    ASSERT_EQ(json.status, 0);
    EXPECT_EQ(json.out.rfind("{\"muzzle_velocity_fps\": 2700, \"zero_angle_moa\": 5.84", 0), 0u);
    for (const char* key :
         {"\"stability_sg\": null", "\"density_ratio\": 1,", "\"speed_of_sound_fps\": 1116.4",
          "\"rows\": [\n  {\"range\": 0, \"height_in\": -1.49999", "\"elevation_moa\": null",
          "{\"range\": 1000, \"height_in\": -438.1",
          "\"windage_in\": 0, \"spin_drift_in\": 0, "
          "\"elevation_moa\": 41.8",
          "\"energy_ftlb\": null, \"time_s\": 1.855"})
        EXPECT_NE(json.out.find(key), std::string::npos) << key;
    EXPECT_EQ(count(json.out, "\"range\""), 11u);
    EXPECT_EQ(count(json.out, "\"elevation_clicks\": 167,"), 1u);

    const CalcRun metric = runCalc("card --bc .4 --drag G7 --velocity 820 --metric --weight 10 "
                                   "--diameter 7.8 --length 31 --twist 254 --format json "
                                   "--click-mil .1 --max 300");
    ASSERT_EQ(metric.status, 0);
    for (const char* key : {"muzzle_velocity_mps\": 820,", "\"speed_of_sound_mps\": 340.2",
                            "\"stability_sg\": 2.22", "\"height_cm\": -3.7999", "\"windage_cm\"",
                            "\"spin_drift_cm\"", "\"velocity_mps\"", "\"energy_j\": 3362"})
        EXPECT_NE(metric.out.find(key), std::string::npos) << key;
    EXPECT_EQ(metric.out.find("_in\""), std::string::npos);

    const CalcRun csv = runCalc("card " + kCardRound + "--format csv --step 250 --max 900");
    ASSERT_EQ(csv.status, 0);
    EXPECT_EQ(csv.out.substr(0, csv.out.find('\n')),
              "range,height_in,windage_in,spin_drift_in,elevation_moa,elevation_mil,windage_moa,"
              "windage_mil,elevation_clicks,windage_clicks,velocity_fps,mach,energy_ftlb,time_s");
    EXPECT_EQ(count(csv.out, "\n"), 6u); // 0, 250, 500, 750 and the maximum 900
    EXPECT_NE(csv.out.find("\n0,-1.49999"), std::string::npos);
    EXPECT_NE(csv.out.find("\n900,"), std::string::npos);

    const CalcRun text = runCalc("card " + kCardRound + "--wind-speed 10 --wind-from 90");
    ASSERT_EQ(text.status, 0);
    EXPECT_NE(text.out.find("zero 200 yd at 5.85 MOA"), std::string::npos);
    EXPECT_NE(text.out.find("     1000  -438.16  -130.96"), std::string::npos) << text.out;
    for (const CalcRun* run : {&json, &metric, &csv, &text}) {
        EXPECT_EQ(run->out.find("nan"), std::string::npos);
        EXPECT_EQ(run->out.find("inf"), std::string::npos);
    }
}

TEST(CardCommand, HitPrintsOneRowPerRangeInOrder) {
    const CalcRun hit = runCalc("hit " + kCardRound +
                                "--ranges 600,100 --target-diameter 10 --dispersion-moa .5 "
                                "--velocity-sd 10 --wind-sd 2 --range-sd 10 --format json");
    ASSERT_EQ(hit.status, 0);
    EXPECT_EQ(hit.out.rfind("{\"rows\": [\n  {\"range\": 600, \"probability\": 0.", 0), 0u);
    EXPECT_NE(hit.out.find("{\"range\": 100, \"probability\": 1, \"sigma_vertical_in\": 0.5"),
              std::string::npos);
    for (const char* key : {"sigma_horizontal_in", "mean_vertical_in", "mean_horizontal_in"})
        EXPECT_EQ(count(hit.out, key), 2u);
    EXPECT_EQ(runCalc("hit " + kCardRound +
                      "--ranges 600,100 --target-diameter 10 --dispersion-moa "
                      ".5 --velocity-sd 10 --wind-sd 2 --range-sd 10 --format json")
                  .out,
              hit.out);
    const CalcRun metric = runCalc("hit --bc .4 --drag G1 --velocity 820 --metric --ranges 500 "
                                   "--target-width 20 --target-height 30 --format json");
    ASSERT_EQ(metric.status, 0);
    EXPECT_NE(metric.out.find("\"range\": 500, \"probability\": 1, \"sigma_vertical_cm\": 0,"),
              std::string::npos);
}

// Exit 2 for a usage error, 1 for refused input, and no number that is not one.
TEST(CardCommand, RefusesWithExitCodes) {
    const std::pair<std::string, int> cases[] = {
        {"card --drag G1 --velocity 2700", 2},
        {"card " + kCardRound + "--colour red", 2},
        {"card " + kCardRound + "extra", 2},
        {"card --bc abc --drag G1 --velocity 2700", 2},
        {"card --bc nan --drag G1 --velocity 2700", 2},
        {"card --bc 1e --drag G1 --velocity 2700", 2},
        {"card " + kCardRound + "--format xml", 2},
        {"card " + kCardRound + "--click-moa .25 --click-mil .1", 2},
        {"card " + kCardRound + "--max", 2},
        {"card " + kCardRound + "--velocity 3000", 2},
        {"card --bc 0 --drag G1 --velocity 2700", 1},
        {"card --bc 1e999 --drag G1 --velocity 2700", 1},
        {"card --bc .4 --drag /nonexistent/drag.csv --velocity 2700", 1},
        {"card --bc .4 --drag /dev/zero --velocity 2700", 1},
        {"card " + kCardRound + "--humidity 101", 1},
        {"card " + kCardRound + "--max 9000 --step 1000", 1},
        {"hit " + kCardRound + "--ranges 100", 2},
        {"hit " + kCardRound + "--ranges 100 --target-diameter 5 --target-width 5", 2},
        {"hit " + kCardRound + "--ranges 100,x --target-diameter 5", 2},
        {"hit " + kCardRound + "--ranges 100 --target-diameter 5 --samples 1.5", 2},
        {"hit " + kCardRound + "--ranges 100 --target-diameter 5 --format csv", 2},
        {"hit " + kCardRound + "--ranges 0 --target-diameter 5", 1},
        {"hit " + kCardRound + "--ranges 100 --target-diameter 5 --samples 10", 1},
        {"hit " + kCardRound + "--ranges 100 --target-diameter 5 --wind-sd -2", 1}};
    for (const auto& [args, status] : cases) {
        const CalcRun run = runCalc(args);
        EXPECT_EQ(run.status, status) << args;
        EXPECT_EQ(run.out, "") << args;
    }
}

// What a hostile probe found: each refusal names the value at fault and its range, the
// program's own drag tables are no drag curves, columns never run together, and every command
// answers --help.
TEST(CardCommand, RefusalsNameTheInputAndItsRange) {
    const std::pair<std::string, std::string> cases[] = {
        {"card --bc 1e-9 --drag G1 --velocity 2700",
         "The ballistic coefficient must lie between 0.01 and 3."},
        {"card --bc 1e400 --drag G1 --velocity 2700",
         "The ballistic coefficient must lie between 0.01 and 3."},
        {"card " + kCardRound + "--click-moa 1e-300",
         "The click value must lie between 0.01 and 10 MOA."},
        {"card " + kCardRound + "--max 1999.5 --step 1",
         "The card would have more than 2000 rows: make the step larger."},
        {"hit " + kCardRound + "--ranges 100 --target-diameter 5 --range-sd 1e308",
         "The range estimate's SD must lie between 0 and 500 yd."},
        {"card --bc .4 --drag DragG7.txt --velocity 2700",
         "DragG7.txt is one of the program's own files, not a drag curve"}};
    for (const auto& [args, message] : cases) {
        const CalcRun run = runCalc(args, true);
        EXPECT_EQ(run.status, 1) << args;
        EXPECT_NE(run.out.find(message), std::string::npos) << run.out;
    }
    // 2000 rows are the most a card holds.
    const CalcRun most = runCalc("card " + kCardRound + "--max 1999 --step 1 --format csv");
    EXPECT_EQ(count(most.out, "\n"), 2001u);

    const CalcRun wide = runCalc("card " + kCardRound + "--max 4000 --step 4000");
    ASSERT_EQ(wide.status, 0);
    EXPECT_NE(wide.out.find("\n     4000 -39779.00 "), std::string::npos) << wide.out;

    for (const char* command : {"card", "hit", "history", "velocity", "group", "ballistics",
                                "report", "simulate", "wind", "stability", "true"}) {
        const CalcRun help = runCalc(std::string(command) + " --help", true);
        EXPECT_EQ(help.status, 0) << command;
        EXPECT_EQ(help.out.rfind(std::string("Usage: fendrel-calc ") + command, 0), 0u) << command;
    }
}
