// The statistics commands as a user runs them: every form prints the core's numbers unrounded
// in JSON under the names the commands promise, and every refusal exits 1 with the reason,
// every usage error 2.
#include "TestFolder.h"
#include "core/common/Numbers.h"
#include "core/stats/Comparisons.h"

#include <gtest/gtest.h>

namespace {

using fendrel::roundTripNumber;
using fendrel::test::CalcRun;
using fendrel::test::runCalc;
using fendrel::test::TestFolder;

std::string chronograph(const std::string& speeds) {
    std::string out = "Shot,Speed (FPS)\n";
    for (size_t start = 0, n = 1; start < speeds.size(); ++n) {
        const size_t end = std::min(speeds.find(' ', start), speeds.size());
        out += std::to_string(n) + "," + speeds.substr(start, end - start) + "\n";
        start = end + 1;
    }
    return out;
}

std::string range(const fendrel::ConfidenceInterval& i) {
    return "[" + roundTripNumber(i.low) + ", " + roundTripNumber(i.high) + "]";
}

struct Files : TestFolder {
    Files() : TestFolder(false) {
        write("a.csv", chronograph("2650 2660 2640 2655 2645"));
        write("b.csv", chronograph("2652.5 2658.7 2646.3 2655.6 2649.4"));
        write("one.csv", chronograph("2650"));
        write("flat.csv", chronograph("2650 2650 2650"));
        write("t.grp", "Three-four-five\r\n0\r\n3\r\n0,0\r\n3,0\r\n0,4\r\n\r\n 0\r\n");
        write("w.grp", "Wide\r\n0\r\n4\r\n0,0\r\n6,0\r\n0,8\r\n5,5\r\n\r\n 0\r\n");
        write("hole.grp", "Hole\r\n0\r\n2\r\n1,1\r\n1,1\r\n\r\n 0\r\n");
        write("ladder.csv", "charge,velocity\n41,2601\n41,2611\n41,2606\n41.5,2630\n41.5,2625\n"
                            "41.5,2635\n42,2650\n42,2652\n42,2648\n42.5,2652\n42.5,2651\n"
                            "42.5,2653\n43,2690\n");
        write("one-charge.csv", "42,2650\n42,2660\n");
        write("cold.csv", "-10,2600\n20,2650\n59,2700\n");
        write("temps.csv", "temperature_f,velocity\n20,2640\n20,2650\n59,2690\n59,2700\n"
                           "95,2730\n95,2725\n");
    }
    std::string operator()(const char* name) const { return "'" + (*this / name).string() + "'"; }
};

} // namespace

TEST(StatsCommands, GroupAndCompareGiveTheCoreNumbersUnrounded) {
    Files f;
    const std::string at = " --program-folder " + f("");
    // The text form is the shot group window's, whatever the options.
    EXPECT_EQ(runCalc("group " + f("t.grp") + at).out,
              runCalc("group " + f("t.grp") + at + " --distance 300 --format text").out);
    const auto g =
        fendrel::estimateGroup(std::vector<fendrel::Shot>{{0, 0}, {3, 0}, {0, 4}}, 200, 0.9);
    EXPECT_EQ(
        runCalc("group " + f("t.grp") + at + " --distance 200 --confidence 0.9 --format json").out,
        "{\"count\": 3, \"mean_radius_in\": " + roundTripNumber(2.306122921805057) +
            ", \"sigma_in\": " + roundTripNumber(g.value.sigmaIn) +
            ", \"sigma_ci_in\": " + range(g.value.sigmaIntervalIn) +
            ", \"expected_mean_radius_in\": " + roundTripNumber(g.value.expectedMeanRadiusIn) +
            ", \"sigma_moa\": " + roundTripNumber(g.value.sigmaMoa) +
            ", \"sigma_ci_moa\": " + range(g.value.sigmaIntervalMoa) + ", \"confidence\": 0.9}\n");

    const auto c = fendrel::compareStrings(
        std::vector<double>{2650, 2660, 2640, 2655, 2645},
        std::vector<double>{2652.5, 2658.7, 2646.3, 2655.6, 2649.4}, 0.95, 0.8);
    const fendrel::StringComparison& s = c.value;
    EXPECT_EQ(runCalc("compare velocity " + f("a.csv") + " " + f("b.csv") + " --format json").out,
              "{\"mean_difference_fps\": 2.5, \"mean_difference_ci_fps\": " +
                  range(s.mean.differenceIntervalFps) + ", \"welch_t\": " +
                  roundTripNumber(s.mean.t) + ", \"welch_df\": " + roundTripNumber(s.mean.df) +
                  ", \"mean_p\": " + roundTripNumber(s.mean.p) + ", \"sd_ratio\": " +
                  roundTripNumber(s.sd.ratio) + ", \"sd_ratio_ci\": " + range(s.sd.ratioInterval) +
                  ", \"f\": " + roundTripNumber(s.sd.f) +
                  ", \"f_df\": [4, 4], \"sd_p\": " + roundTripNumber(s.sd.p) +
                  ", \"shots_needed_sd\": 37, "
                  "\"shots_needed_sd_capped\": false, \"shots_needed_mean\": 110, "
                  "\"shots_needed_mean_capped\": false, \"verdict\": \"" +
                  s.verdict + "\"}\n");
    const CalcRun text = runCalc("compare velocity " + f("a.csv") + " " + f("b.csv"));
    EXPECT_EQ(text.out.substr(0, 180),
              "Intervals at 95 % confidence.\n"
              "A: 5 shots, mean 2650.0 ft/s (2640.2 to 2659.8), SD 7.9 ft/s (4.7 to 22.7)\n"
              "B: 5 shots, mean 2652.5 ft/s (2646.4 to 2658.6), SD 4.9 ft/s (2.9 to 14.1)\n");
    EXPECT_NE(text.out.find("80 % of the time: 110 for the mean, 37 for the SD\nB is 2.5 ft/s "
                            "faster than A, but 5 and 5 shots cannot tell them apart (p = 0.57)"),
              std::string::npos);

    const CalcRun groups =
        runCalc("compare group " + f("t.grp") + " " + f("w.grp") + " --distance 50 --format json");
    EXPECT_EQ(groups.out.substr(0, 14), "{\"sd_ratio\": 1");
    EXPECT_NE(groups.out.find("\"f_df\": [6, 4], \"sd_p\": 0.29"), std::string::npos);
    EXPECT_NE(groups.out.find("\"shots_needed_sd\": 14, \"shots_needed_sd_capped\": false, "
                              "\"verdict\": \"B's dispersion (sigma) is 76 % larger"),
              std::string::npos);
    EXPECT_NE(
        runCalc("compare group " + f("t.grp") + " " + f("w.grp"))
            .out.find(
                "A: 3 shots, sigma 2.172 in (1.223 to 5.866), 2.07 MOA (1.17 to 5.60) at 100 yd\n"),
        std::string::npos);
}

TEST(StatsCommands, PlanLadderSensitivityAndTheHitBand) {
    Files f;
    EXPECT_EQ(runCalc("plan --sd-ratio 0.62").out,
              "37 shots a load would show an SD ratio of 0.62 80 % of the time at 95 % "
              "confidence (power 0.808 at 37 shots).\n");
    const auto need = fendrel::shotsForMeanDifference(10, 12, 0.9, 0.95);
    EXPECT_EQ(runCalc("plan --mean-difference 10 --sd 12 --confidence 0.9 --power 0.95 "
                      "--format json")
                  .out,
              "{\"shots_per_load\": " + std::to_string(need.value.shots) +
                  ", \"power\": " + roundTripNumber(need.value.power) + ", \"capped\": false}\n");
    EXPECT_EQ(runCalc("plan --groups --sd-ratio 1").out.substr(0, 89),
              "Even 1000 shots a load would show a ratio of group sigmas of 1 less than 80 % of "
              "the time");

    const CalcRun ladder = runCalc("ladder " + f("ladder.csv") + " --format json");
    EXPECT_EQ(ladder.status, 0);
    for (const char* part :
         {"{\"slope_fps_per_gr\": 35.15555555555", "\"intercept_fps\": 1167.644444444",
          "{\"charge\": 42, \"count\": 3, \"mean_fps\": 2650, \"mean_ci_fps\": [2645.03172457",
          "\"sd_fps\": 2, \"sd_ci_fps\": [1.04131653", "\"off_line\": true}",
          "{\"charge\": 43, \"count\": 1, \"mean_fps\": 2690, \"mean_ci_fps\": null, \"sd_fps\": "
          "null, \"sd_ci_fps\": null, \"off_line\": false}],\n \"flat_spots\": [[42, 42.5]]}\n"})
        EXPECT_NE(ladder.out.find(part), std::string::npos) << part;
    const CalcRun ladderText = runCalc("ladder " + f("ladder.csv") + " --confidence 0.999");
    EXPECT_NE(ladderText.out.find("    43.0      1     2690.0                     -        -"
                                  "                 -\nLine: velocity = 1167.6 + 35.16 x charge"),
              std::string::npos)
        << ladderText.out;
    EXPECT_NE(
        ladderText.out.find("No charge is off the line.\nFlat spot shown: 42.0 to 42.5 gr.\n"),
        std::string::npos);

    EXPECT_EQ(runCalc("sensitivity " + f("temps.csv") + " --format json").out.substr(0, 40),
              "{\"slope_fps_per_f\": 1.1025230987917556, ");
    EXPECT_EQ(runCalc("sensitivity " + f("temps.csv")).out,
              "Shots: 6 at 3 temperatures, mean 2689.2 ft/s\n"
              "Sensitivity: 1.10 ft/s per F, 95 % interval 0.85 to 1.35\n"
              "In percent: 0.61 % per 15 F, 95 % interval 0.48 to 0.75\n"
              "Line: velocity = 2625.2 + 1.10 x temperature (ft/s, F)\n");

    const std::string hit = "hit --bc .462 --drag G1 --velocity 2650 --ranges 600 "
                            "--target-diameter 10 --dispersion-moa 0.5 --velocity-sd 10 ";
    // The band lies around the chance at the measured spreads.
    const std::string band =
        runCalc(hit + "--velocity-sd-shots 10 --dispersion-shots 5 --format json").out;
    auto value = [](const std::string& json, const std::string& key) {
        const size_t at = json.find("\"" + key + "\": ");
        return at == std::string::npos ? -1
                                       : fendrel::leadingNumber(json.substr(at + key.size() + 4));
    };
    EXPECT_EQ(value(band, "probability"), value(runCalc(hit + "--format json").out, "probability"));
    EXPECT_GT(value(band, "probability"), value(band, "probability_low") + 0.1) << band;
    EXPECT_GT(value(band, "probability_high"), value(band, "probability") + 0.1) << band;
    EXPECT_EQ(
        runCalc(hit + "--velocity-sd-shots 10 --dispersion-shots 5")
            .out.rfind(
                "   Range      Hit      Low     High   SD up  SD right   Mean up  Mean right\n"
                "      yd        %        %        %      in        in        in          in\n"
                "     600     70.3     28.2     93.1    3.29      3.13",
                0),
        0u);
}

TEST(StatsCommands, RefusalsAndUsageErrors) {
    Files f;
    const std::string hit = "hit --bc .462 --drag G1 --velocity 2650 --ranges 600 "
                            "--target-diameter 10 ";
    const std::tuple<std::string, int, std::string> cases[] = {
        {"compare velocity " + f("one.csv") + " " + f("a.csv"), 1,
         "String A has one shot: a comparison needs at least two in each string."},
        {"compare velocity " + f("a.csv") + " " + f("flat.csv"), 1, "(SD 0)"},
        {"compare velocity " + f("a.csv") + " " + f("none.csv"), 1, "B: Cannot open"},
        {"compare group " + f("t.grp") + " " + f("hole.grp"), 1, "are all in one hole"},
        {"compare group " + f("t.grp") + " " + f("w.grp") + " --distance 0", 1, "distance"},
        {"compare velocity " + f("a.csv") + " " + f("b.csv") + " --confidence 0.3", 1,
         "The confidence level must lie from 0.5 to 0.999"},
        {"compare velocity " + f("a.csv") + " " + f("b.csv") + " --power 1", 1, "power"},
        {"compare velocity " + f("a.csv") + " " + f("b.csv") + " --confidence x", 2, "number"},
        {"compare velocity " + f("a.csv") + " " + f("b.csv") + " --distance 100", 2, "group"},
        {"compare " + f("a.csv") + " " + f("b.csv"), 2, "say what to compare"},
        {"compare velocity " + f("a.csv"), 2, "two files"},
        {"compare group " + f("t.grp") + " " + f("w.grp") + " --format xml", 2, "--format"},
        {"group " + f("t.grp") + " --confidence 1", 1, "confidence level"},
        {"group " + f("t.grp") + " --distance far", 2, "number"},
        {"plan --sd-ratio 0", 1, "The SD ratio must lie from 0.01 to 100."},
        {"plan --mean-difference 5 --sd 0", 1, "The SD must lie above 0"},
        {"plan --sd-ratio 0.5 --mean-difference 5 --sd 3", 2, "give --sd-ratio"},
        {"plan --mean-difference 5", 2, "give --sd-ratio"},
        {"plan --mean-difference 5 --sd 3 --groups", 2, "give --sd-ratio"},
        {"plan --sd-ratio 0.5 --groups --groups", 2, "twice"},
        {"ladder " + f("one-charge.csv"), 1, "A ladder needs shots at two charges at least"},
        {"ladder " + f("cold.csv"), 1,
         "Line 1: the charge -10 is out of range (above 0 up to 1000 gr)."},
        {"ladder " + f("none.csv"), 1, "Cannot read"},
        {"ladder", 2, "give exactly one file"},
        {"sensitivity " + f("one-charge.csv"), 1, "two different temperatures"},
        {"sensitivity " + f("temps.csv") + " --confidence 0.9999", 1, "confidence level"},
        {hit + "--velocity-sd-shots 1 --dispersion-shots 5", 1, "from 2 to 1000"},
        {hit + "--velocity-sd-shots 5", 2, "together"},
        {hit + "--confidence 0.9", 2, "--confidence needs"},
        {hit + "--velocity-sd-shots 5 --dispersion-shots x", 2, "whole number"}};
    for (const auto& [args, status, message] : cases) {
        const CalcRun run = runCalc(args, true);
        EXPECT_EQ(run.status, status) << args;
        EXPECT_NE(run.out.find(message), std::string::npos) << args << "\n" << run.out;
        EXPECT_EQ(run.out.find('{'), std::string::npos) << args; // nothing on standard output
    }
    for (const char* command : {"compare", "plan", "ladder", "sensitivity"}) {
        const CalcRun help = runCalc(std::string(command) + " --help");
        EXPECT_EQ(help.out.rfind(std::string("Usage: fendrel-calc ") + command, 0), 0u);
    }
}
