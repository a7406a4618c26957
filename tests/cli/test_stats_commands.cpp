// The statistics commands as a user runs them: the JSON of each form has the names it promises,
// in order, with the core's numbers unrounded; refusals exit 1 with the reason, usage errors 2.
#include "TestFolder.h"
#include "core/common/Numbers.h"
#include "core/stats/Comparisons.h"

#include <gtest/gtest.h>

namespace {

using fendrel::roundTripNumber;
using fendrel::test::runCalc;

std::string sample(const char* name) {
    return "'" + fendrel::test::fixture(std::string("stats/samples/") + name).string() + "'";
}

// The names of a JSON text, in order, joined by blanks.
std::string keys(const std::string& json) {
    std::string out;
    for (size_t at = json.find("\": "); at != std::string::npos; at = json.find("\": ", at + 1)) {
        const size_t open = json.rfind('"', at - 1) + 1;
        out += (out.empty() ? "" : " ") + json.substr(open, at - open);
    }
    return out;
}

const std::string kHit = "hit --bc .462 --drag G1 --velocity 2650 --ranges 600 "
                         "--target-diameter 10 --dispersion-moa 0.5 --velocity-sd 10 ";

} // namespace

TEST(StatsCommands, JsonNamesAndNumbers) {
    fendrel::test::TestFolder folder(false);
    const std::string group =
        "group " + sample("t.grp") + " --program-folder '" + folder.path().string() + "'";
    // The text of group is the shot group window's, whatever the options.
    EXPECT_EQ(runCalc(group).out, runCalc(group + " --distance 300 --confidence 0.9").out);
    const std::string json = runCalc(group + " --distance 200 --confidence 0.9 --format json").out;
    EXPECT_EQ(keys(json), "count mean_radius_in sigma_in sigma_ci_in expected_mean_radius_in "
                          "sigma_moa sigma_ci_moa confidence");
    EXPECT_EQ(json.substr(json.size() - 22), "], \"confidence\": 0.9}\n");

    const std::string velocity =
        runCalc("compare velocity " + sample("a.csv") + " " + sample("b.csv") + " --format json")
            .out;
    EXPECT_EQ(keys(velocity), "mean_difference_fps mean_difference_ci_fps welch_t welch_df mean_p "
                              "sd_ratio sd_ratio_ci f f_df sd_p shots_needed_sd "
                              "shots_needed_sd_capped shots_needed_mean shots_needed_mean_capped "
                              "verdict");
    const auto s = fendrel::compareStrings(
        std::vector<double>{2650, 2660, 2640, 2655, 2645},
        std::vector<double>{2652.5, 2658.7, 2646.3, 2655.6, 2649.4}, 0.95, 0.8);
    EXPECT_NE(velocity.find("\"welch_df\": " + roundTripNumber(s.value.mean.df) +
                            ", \"mean_p\": " + roundTripNumber(s.value.mean.p) +
                            ", \"sd_ratio\": " + roundTripNumber(s.value.sd.ratio)),
              std::string::npos);
    EXPECT_NE(velocity.find("\"f_df\": [4, 4]"), std::string::npos);
    EXPECT_NE(velocity.find("\"shots_needed_mean\": 110, \"shots_needed_mean_capped\": false, "
                            "\"verdict\": \"" +
                            s.value.verdict + "\"}\n"),
              std::string::npos);
    const std::string groups = runCalc("compare group " + sample("t.grp") + " " + sample("w.grp") +
                                       " --distance 50 --format json")
                                   .out;
    EXPECT_EQ(keys(groups), "sd_ratio sd_ratio_ci f f_df sd_p shots_needed_sd "
                            "shots_needed_sd_capped verdict");
    EXPECT_NE(groups.find("\"f_df\": [6, 4], \"sd_p\": 0.29"), std::string::npos);

    // A ratio of 1 never shows: the test's power stays at its error rate, 0.05.
    const std::string never = runCalc("plan --groups --sd-ratio 1 --format json").out;
    EXPECT_EQ(never.substr(0, 38), "{\"shots_per_load\": 1000, \"power\": 0.05");
    EXPECT_EQ(keys(never), "shots_per_load power capped");
    EXPECT_NE(never.find("\"capped\": true}\n"), std::string::npos);
    const std::string ladder = runCalc("ladder " + sample("ladder.csv") + " --format json").out;
    EXPECT_NE(ladder.find("{\"charge\": 43, \"count\": 1, \"mean_fps\": 2690, \"mean_ci_fps\": "
                          "null, \"sd_fps\": null, \"sd_ci_fps\": null, \"off_line\": false}],\n "
                          "\"flat_spots\": [[42, 42.5]]}\n"),
              std::string::npos)
        << ladder;
    EXPECT_EQ(keys(ladder.substr(0, ladder.find("},"))),
              "slope_fps_per_gr slope_ci intercept_fps charges charge count mean_fps mean_ci_fps "
              "sd_fps sd_ci_fps off_line");
    EXPECT_EQ(keys(runCalc("sensitivity " + sample("temps.csv") + " --format json").out),
              "slope_fps_per_f slope_ci percent_per_15f intercept_fps");

    // The band lies around the chance at the measured spreads, which it leaves as they were.
    EXPECT_NE(runCalc(kHit + "--format json").out.find("\"probability\": 0.70255, \"sigma"),
              std::string::npos);
    EXPECT_NE(runCalc(kHit + "--velocity-sd-shots 10 --dispersion-shots 5 --format json")
                  .out.find("\"probability\": 0.70255, \"probability_low\": 0.28"),
              std::string::npos);
}

TEST(StatsCommands, TextForms) {
    const std::string velocity =
        runCalc("compare velocity " + sample("a.csv") + " " + sample("b.csv")).out;
    EXPECT_EQ(velocity.substr(0, 180),
              "Intervals at 95 % confidence.\n"
              "A: 5 shots, mean 2650.0 ft/s (2640.2 to 2659.8), SD 7.9 ft/s (4.7 to 22.7)\n"
              "B: 5 shots, mean 2652.5 ft/s (2646.4 to 2658.6), SD 4.9 ft/s (2.9 to 14.1)\n");
    EXPECT_NE(velocity.find("80 % of the time: 110 for the mean, 37 for the SD\nB is 2.5 ft/s "),
              std::string::npos);
    EXPECT_NE(runCalc("ladder " + sample("ladder.csv") + " --confidence 0.999")
                  .out.find("    43.0      1     2690.0                     -        -"
                            "                 -\nLine: velocity = 1167.6 + 35.16 x charge (ft/s, "
                            "gr)\nSlope: 35.2 ft/s per grain, 99.9 % interval 19.9 to 50.4\n"
                            "No charge is off the line.\nFlat spot shown: 42.0 to 42.5 gr.\n"),
              std::string::npos);
    EXPECT_EQ(runCalc(kHit + "--velocity-sd-shots 10 --dispersion-shots 5").out,
              "   Range      Hit      Low     High   SD up  SD right   Mean up  Mean right\n"
              "      yd        %        %        %      in        in        in          in\n"
              "     600     70.3     28.2     93.1    3.29      3.13     -0.03        0.03\n");
}

TEST(StatsCommands, RefusalsAndUsageErrors) {
    const std::string ab = sample("a.csv") + " " + sample("b.csv");
    const std::tuple<std::string, int, std::string> cases[] = {
        {"compare velocity " + sample("one.csv") + " " + sample("a.csv"), 1,
         "String A has one shot: a comparison needs at least two in each string."},
        {"compare velocity " + sample("a.csv") + " " + sample("flat.csv"), 1, "(SD 0)"},
        {"compare velocity " + sample("a.csv") + " none.csv", 1, "B: Cannot open"},
        {"compare group " + sample("t.grp") + " " + sample("hole.grp"), 1, "all in one hole"},
        {"compare velocity " + ab + " --confidence 0.3", 1, "The confidence level must lie"},
        {"compare velocity " + ab + " --power 1", 1, "The power must lie from 0.5 to 0.999"},
        {"compare velocity " + ab + " --confidence x", 2, "number"},
        {"compare velocity " + ab + " --distance 100", 2, "--distance is for compare group"},
        {"compare " + ab, 2, "say what to compare"},
        {"group " + sample("t.grp") + " --distance 0", 1, "distance"},
        {"plan --sd-ratio 0", 1, "The SD ratio must lie from 0.01 to 100."},
        {"plan --mean-difference 5 --groups --sd 3", 2, "give --sd-ratio"},
        {"ladder " + sample("one-charge.csv"), 1, "A ladder needs shots at two charges"},
        {"ladder " + sample("cold.csv"), 1, "Line 1: the charge -10 is out of range"},
        {"sensitivity " + sample("one-charge.csv"), 1, "two different temperatures"},
        {kHit + "--velocity-sd-shots 1 --dispersion-shots 5", 1, "from 2 to 1000"},
        {kHit + "--velocity-sd-shots 5", 2, "together"},
        {kHit + "--confidence 0.9", 2, "--confidence needs"}};
    for (const auto& [args, status, message] : cases) {
        const auto run = runCalc(args, true);
        EXPECT_EQ(run.status, status) << args;
        EXPECT_EQ(run.out.rfind("fendrel-calc ", 0), 0u) << args; // nothing on standard output
        EXPECT_NE(run.out.find(message), std::string::npos) << args << "\n" << run.out;
    }
    for (const char* command : {"compare", "plan", "ladder", "sensitivity"})
        EXPECT_EQ(runCalc(std::string(command) + " --help")
                      .out.rfind(std::string("Usage: fendrel-calc ") + command, 0),
                  0u);
}
