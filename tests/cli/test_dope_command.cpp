#include "TestFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using fendrel::test::CalcRun;
using fendrel::test::runCalc;

const std::string kFieldRound = "--bc .4 --drag G1 --velocity 2700 ";

} // namespace

// A single BC written as one band changes nothing; the wind brackets add their own columns
// and keys, named by the unit of their speed.
TEST(FieldCommands, CardBandsAndWindBrackets) {
    for (const char* format : {"text", "csv", "json"}) {
        const std::string plain = runCalc("card " + kFieldRound + "--format " + format).out;
        EXPECT_EQ(runCalc("card --bc .4@2800 --drag G1 --velocity 2700 --format " +
                          std::string(format)).out, plain);
    }
    const CalcRun json =
        runCalc("card " + kFieldRound + "--wind-brackets 5,10 --max 100 --format json");
    ASSERT_EQ(json.status, 0);
    EXPECT_NE(json.out.find("\"time_s\": 0, \"bracket_windage\": [{\"mph\": 5, \"moa\": null, "
                            "\"mil\": null, \"clicks\": null}, {\"mph\": 10, "),
              std::string::npos);
    EXPECT_NE(json.out.find("\"bracket_windage\": [{\"mph\": 5, \"moa\": 0.41"), std::string::npos);
    const CalcRun csv = runCalc("card --bc .4 --drag G7 --velocity 820 --metric --format csv "
                                "--wind-brackets 2.5 --max 100");
    EXPECT_NE(csv.out.find(",time_s,bracket_2.5mps_moa,bracket_2.5mps_mil,bracket_2.5mps_clicks\n"
                           "0,-3.79"),
              std::string::npos);
    const CalcRun text = runCalc("card --bc 0.496@2800,0.485@1800,0.435@1600 --drag G1 "
                                 "--velocity 2700 --wind-brackets 5 --max 300");
    EXPECT_NE(text.out.find("BC by velocity: 0.496 from 2800 ft/s, 0.485 from 1800 ft/s"),
              std::string::npos);
    EXPECT_NE(text.out.find("    5 mph    5 mph\n"), std::string::npos) << text.out;
}

TEST(FieldCommands, PointBlankAndDangerSpace) {
    const CalcRun mpbr = runCalc("mpbr " + kFieldRound + "--format json");
    ASSERT_EQ(mpbr.status, 0);
    EXPECT_EQ(mpbr.out.rfind("{\"vital_in\": 6, \"zero_range\": 224.9", 0), 0u) << mpbr.out;
    for (const char* key : {"\"zero_angle_moa\": 6.49", "\"near_range\": 0,",
                            "\"peak_range\": 127.5", "\"peak_height_in\": 2.99", "\"mpbr\": 263.6"})
        EXPECT_NE(mpbr.out.find(key), std::string::npos) << key;
    EXPECT_NE(runCalc("mpbr " + kFieldRound).out.find("zone 6 in across: 264 yd\n"), std::string::npos);
    const CalcRun metric =
        runCalc("mpbr --bc .4 --drag G7 --velocity 820 --metric --vital 20 --format json");
    EXPECT_NE(metric.out.find("{\"vital_cm\": 20,"), std::string::npos);
    EXPECT_NE(metric.out.find("\"peak_height_cm\": 9.99"), std::string::npos);

    const CalcRun danger =
        runCalc("danger-space " + kFieldRound + "--range 400 --target-height 18 --format json");
    EXPECT_EQ(danger.out.rfind("{\"range\": 400, \"target_height_in\": 18, ", 0), 0u);
    EXPECT_NE(danger.out.find("\"from\": 322.7"), std::string::npos) << danger.out;
    EXPECT_NE(runCalc("danger-space " + kFieldRound + "--range 400 --target-height 18")
                  .out.find("18 in high: 323 to 450 yd, 128 yd long\n"),
              std::string::npos);
}

TEST(FieldCommands, DopeWritesOnePagePdf) {
    fendrel::test::TestFolder folder(false);
    const std::string out = (folder / "card").string();
    const CalcRun card = runCalc("dope " + kFieldRound + "--from 100 --to 1200 --every 100 --output " +
                                 out + " --load 'Match 175' --date 2026-05-17");
    ASSERT_EQ(card.status, 0) << card.errors;
    EXPECT_EQ(card.out, "DOPE card of 12 rows written to " + out + ".pdf\n");
    const std::string pdf = folder.read("card.pdf");
    EXPECT_EQ(pdf.rfind("%PDF-1.4\n", 0), 0u);
    EXPECT_NE(pdf.find("/MediaBox [0 0 252 144]"), std::string::npos);
    EXPECT_NE(pdf.find("(Match 175) Tj"), std::string::npos);
    EXPECT_NE(pdf.find("(1200) Tj"), std::string::npos);
    ASSERT_EQ(runCalc("dope " + kFieldRound + "--from 25 --to 1500 --every 25 --size page --columns 2 "
                      "--click-mil .1 --output " + out + ".pdf")
                  .status,
              0);
    EXPECT_NE(folder.read("card.pdf").find("/MediaBox [0 0 612 792]"), std::string::npos);

    const std::pair<std::string, int> refusals[] = {
        {"--from 100 --to 1300 --every 100", 1},
        {"--from 100 --to 1500 --every 40 --size half", 1},
        {"--from 100 --to 500 --every 0", 1},
        {"--from 100 --to 6000 --every 1000", 1},
        {"--from 500 --to 100 --every 100", 1},
        {"--from 100 --to 500 --every 100 --wind-brackets 5,-5", 1},
        {"--from 100 --to 500 --every 100 --size wallet", 2},
        {"--from 100 --to 500 --every 100 --columns 3", 2},
        {"--from 100 --to 500 --every 100 --format csv", 2},
        {"--from 100 --every 100", 2}};
    for (const auto& [options, status] : refusals) {
        const std::string args = "dope " + kFieldRound + options + " --output " + out + "-no.pdf";
        EXPECT_EQ(runCalc(args).status, status) << options;
        EXPECT_FALSE(std::filesystem::exists(out + "-no.pdf")) << options;
    }
    const std::pair<std::string, int> others[] = {
        {"mpbr " + kFieldRound + "--vital 0", 1},
        {"mpbr " + kFieldRound + "--vital six", 2},
        {"danger-space " + kFieldRound + "--range 400", 2},
        {"danger-space --bc .4 --drag G1 --velocity 900 --zero 50 --range 4000 "
         "--target-height 10", 1},
        {"card " + kFieldRound.substr(8) + "--bc .4@", 2},
        {"card " + kFieldRound.substr(8) + "--bc .4@2000,.5@2000", 1}};
    for (const auto& [args, status] : others) {
        const CalcRun run = runCalc(args, true);
        EXPECT_EQ(run.status, status) << args;
        EXPECT_EQ(run.out.find("nan"), std::string::npos);
    }
    for (const char* command : {"mpbr", "danger-space", "dope"})
        EXPECT_EQ(runCalc(std::string(command) + " --help").out.rfind(
                      std::string("Usage: fendrel-calc ") + command, 0),
                  0u);
}
