#include "TestFolder.h"
#include "core/common/Numbers.h"
#include "core/rangecard/RangeCardFixtures.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using fendrel::leadingNumber;
using fendrel::roundTripNumber;
using fendrel::test::CalcRun;
using fendrel::test::runCalc;

// The number after "key": in `json`, in the object that starts with "range": `range` when given.
double number(const std::string& json, const std::string& key, double range = NAN) {
    std::size_t at = 0;
    if (!std::isnan(range))
        at = json.find("{\"range\": " + roundTripNumber(range) + ",");
    at = at == std::string::npos ? at : json.find("\"" + key + "\": ", at);
    EXPECT_NE(at, std::string::npos) << key << " at " << range << " in " << json;
    return at == std::string::npos ? NAN : leadingNumber(json.substr(at + key.size() + 4));
}

std::string cardOptions(const fendrel::test::Fixture& f, const std::string& without = {}) {
    std::string out;
    for (const auto& [key, value] : f.keys)
        if (key.rfind("true-", 0) != 0 && key != "unit" && key != without)
            out += "--" + key + " " + value + " ";
    return out;
}

} // namespace

// What true fits, given back to the card, reproduces the observations: the card's corrections
// at the observed ranges are the observed ones less the residuals reported; the card with the
// fitted BC slows from the near velocity to the far one.
TEST(TrueCommand, AgreesWithTheCard) {
    const double noise[] = {0.08, -0.11, 0.03, 0.12, -0.06, -0.02};
    for (const char* name : {"truing_velocity_g1", "truing_drop_scale_g7"}) {
        SCOPED_TRACE(name);
        const fendrel::test::Fixture f = fendrel::test::readFixture(name);
        const bool velocity = std::string(name).find("velocity") != std::string::npos;
        std::string observed;
        for (std::size_t i = 0; i < f.rows.size(); ++i)
            observed += (i ? "," : "") + roundTripNumber(f.rows[i][0]) + ":" +
                        roundTripNumber(f.rows[i][1] + noise[i]);
        const CalcRun fit =
            runCalc(std::string("true ") + (velocity ? "velocity " : "drop-scale ") +
                    cardOptions(f) + "--observed " + observed + " --format json");
        ASSERT_EQ(fit.status, 0);
        std::string applied = "--velocity " + f.keys.at("velocity") + " ";
        if (velocity) {
            applied = "--velocity " + roundTripNumber(number(fit.out, "velocity_fps")) + " ";
            EXPECT_NEAR(number(fit.out, "velocity_fps"), 2755, 3);
            EXPECT_GT(number(fit.out, "velocity_se_fps"), 0.5);
        } else {
            const std::string first = fit.out.substr(0, fit.out.find("\"residuals\""));
            const std::string last = first.substr(first.rfind("{\"mach\""));
            applied += "--drop-scale " + roundTripNumber(number(first, "mach")) + ":" +
                       roundTripNumber(number(first, "factor")) + "," +
                       roundTripNumber(number(last, "mach")) + ":" +
                       roundTripNumber(number(last, "factor")) + " ";
        }
        const CalcRun card = runCalc("card " + cardOptions(f, "velocity") + applied +
                                     "--step 100 --max 1500 --format json");
        ASSERT_EQ(card.status, 0) << applied;
        for (std::size_t i = 0; i < f.rows.size(); ++i) {
            const double range = f.rows[i][0], dialled = f.rows[i][1] + noise[i];
            EXPECT_NEAR(dialled - number(card.out, "elevation_moa", range),
                        number(fit.out, "residual", range), 1e-9);
        }
    }
    const fendrel::test::Fixture b = fendrel::test::readFixture("truing_bc_g1");
    const std::string near = roundTripNumber(b.rows[0][1]), far = roundTripNumber(b.rows[1][1]);
    const CalcRun bc = runCalc("true bc " + cardOptions(b) + "--near " + near + "@0 --far " + far +
                               "@1000 --format json");
    ASSERT_EQ(bc.status, 0);
    const CalcRun card =
        runCalc("card --drag G1 --zero 100 --bc " + roundTripNumber(number(bc.out, "bc")) +
                " --velocity " + near + " --step 1000 --format json");
    EXPECT_NEAR(number(card.out, "velocity_fps", 1000), b.rows[1][1], 1e-3);
}

// Metric: ranges in m and velocities in m/s, with keys to say so; the default errors of the two
// velocities stay 5 ft/s. Text names the results and their errors.
TEST(TrueCommand, MetricAndText) {
    const std::string card = "--bc .5 --drag G1 --velocity 2800 ";
    const CalcRun imperial =
        runCalc("true bc " + card + "--near 2800@0 --far 1800@600 --format json");
    const CalcRun metric = runCalc("true bc --bc .5 --drag G1 --velocity 853.44 --metric --near "
                                   "853.44@0 --far 548.64@548.64 --format json");
    ASSERT_EQ(metric.status, 0);
    for (const char* key : {"bc", "bc_se"})
        EXPECT_NEAR(number(metric.out, key) / number(imperial.out, key), 1, 1e-4) << key;

    const CalcRun velocity =
        runCalc("true velocity --bc .462 --drag G1 --velocity 823 --metric --unit mil "
                "--observed 300:1.3,500:3.2:0.05 --format json");
    ASSERT_EQ(velocity.status, 0) << velocity.out;
    for (const char* key : {"{\"velocity_mps\": 8", "\"velocity_se_mps\": ",
                            "\"velocity_change_mps\": ", "{\"range\": 500, \"observed\": 3.2,"})
        EXPECT_NE(velocity.out.find(key), std::string::npos) << key;

    const CalcRun text = runCalc("true velocity " + card + "--observed 300:3.4,600:12.6");
    EXPECT_EQ(text.out.rfind("Muzzle velocity 2", 0), 0u) << text.out;
    EXPECT_NE(text.out.find(" ft/s from the card's 2800.0 ft/s)\nFor the card: --velocity 2"),
              std::string::npos);
    const CalcRun bcText = runCalc("true bc " + card + "--near 2800@0 --far 1800@600:10");
    EXPECT_EQ(bcText.out.rfind("BC 0.", 0), 0u) << bcText.out;
}

// Exit 2 for a usage error, 1 for refused input, with the reason.
TEST(TrueCommand, Refusals) {
    const std::string card = "--bc .462 --drag G1 --velocity 2700 ";
    const std::tuple<std::string, int, const char*> cases[] = {
        {"true", 2, "say what to fit"},
        {"true speed " + card, 2, "unknown fit 'speed'"},
        {"true velocity " + card, 2, "--observed RANGE:CORRECTION[:SE][,...] is required"},
        {"true velocity " + card + "--observed 300", 2, "not '300'"},
        {"true velocity " + card + "--observed 300:4 --unit rad", 2, "moa or mil"},
        {"true bc " + card + "--near 2700 --far 1500@800", 2, "VELOCITY@DISTANCE"},
        {"true bc " + card + "--near 2700@0 --far 2800@800", 1, "must be below the near one"},
        {"card " + card + "--drop-scale 1:1,0.9", 2, "MACH:FACTOR pairs"},
        {"card " + card + "--drop-scale 1:9", 1, "must lie between 0.25 and 4"}};
    for (const auto& [args, status, message] : cases) {
        const CalcRun run = runCalc(args, true);
        EXPECT_EQ(run.status, status) << args;
        EXPECT_NE(run.out.find(message), std::string::npos) << run.out;
    }
}
