#include "EngineTestSupport.h"
#include "core/engine/BallisticsEngine.h"
#include "core/engine/ExteriorSummary.h"
#include "core/engine/LastPath.h"
#include "core/engine/Recoil.h"
#include "core/common/TextFile.h"
#include "support/TestFolder.h"

#include <gtest/gtest.h>

#include <map>

namespace fs = std::filesystem;
using namespace fendrel;
using fendrel::test::settingsOf;

namespace {
std::string fileText(const fs::path& p) { return readFileBytes(p).value_or("(missing)"); }

struct EngineRun {
    test::TestFolder folder;
    fs::path output = folder / "YourData" / "run.csv";
    test::ScriptedHost host;
    BallisticsEngine engine;
    RunSettings shared;

    RunResult operator()(const RoundTexts& round, std::optional<RunSettings> dialog) {
        host.dialogSettings = dialog;
        return engine.calculate(folder.path(), round, shared, output, host);
    }
    std::string text() const { return fileText(output); }
};
} // namespace

// Two runs of one engine, as the window makes them.
TEST(RunGolden, YardsWithZero200ThenMetersWithWindAndHeightAtZero) {
    EngineRun run;
    run.folder.write("YourData/run.csv", std::string(5000, '~')); // a longer file is replaced
    ASSERT_TRUE(run(test::checkRound(), settingsOf("Y", 100, 1000, 200)).completed());
    EXPECT_EQ(run.text(), fileText(test::fixture("engine/yards_zero200.csv")));
    EXPECT_TRUE(run.host.prompts.empty());
    ASSERT_TRUE(run(test::longRangeRound(), settingsOf("M", 50, 600, 100, 1, -5, 10)).completed());
    EXPECT_EQ(run.text(), fileText(test::fixture("engine/meters_wind.csv")));
}

TEST(RunGolden, NoZeroingArmyMetroAndTheStyleQuestion) {
    EngineRun run;
    run.folder.write("parameters.ini", "1.5\r\n5\r\n.076474\r\n59\r\nDragG1.txt\r\nS\r\n");
    run.host.inputAnswers = {"1"};
    ASSERT_TRUE(run(test::leverRound(), settingsOf("Y", 25, 340, 0)).completed());
    EXPECT_EQ(run.text(), fileText(test::fixture("engine/no_zero_army.csv")));
    EXPECT_EQ(run.host.prompts, std::vector<std::string>{kStylePrompt});
}

TEST(RunSteps, StatusWindsWhatTheWindowKeepsAndTheStyleQuestion) {
    EngineRun run;
    ASSERT_TRUE(run(test::checkRound(), settingsOf("Y", 100, 500, 200, 0, 10, -3)).completed());
    EXPECT_EQ(run.host.statuses,
              (std::vector<std::string>{kStatusInterior, kStatusExterior, kStatusCompleted}));
    EXPECT_EQ(run.shared.downrangeWind, 15); // 10 mph is 14.67 ft/s
    EXPECT_EQ(run.shared.crossWind, -4);
    EXPECT_NE(run.text().find("\r\n59,10,-3,200,0\r\n"), std::string::npos);
    const TrajectoryRows& rows = run.engine.trajectoryRows();
    ASSERT_EQ(rows.count, 6u);
    EXPECT_TRUE(rows.range[1] == 0 && rows.height[1] == -1.5 && rows.velocity[1] == 2700);
    EXPECT_EQ(rows.range[6], 500);
    EXPECT_EQ(run.engine.caliberValue(), 0.308);
    EXPECT_EQ(run.engine.formFactor(), 0.515);
    // The style question is asked again on the first run; then the form factor is kept.
    EngineRun lever;
    lever.host.inputAnswers = {"9", "2"};
    ASSERT_TRUE(lever(test::leverRound(), settingsOf("Y", 100, 300, 100)).completed());
    EXPECT_EQ(lever.host.prompts.size(), 2u);
    EXPECT_EQ(lever.engine.formFactor(), 0.7); // semi-pointed at 2150 ft/s

    lever.host.prompts.clear();
    lever.host.inputAnswers = {" 2"};
    RoundTexts slow = test::leverRound();
    slow.muzzleVelocity = "1900";
    ASSERT_TRUE(lever(slow, settingsOf("Y", 100, 300, 100)).completed());
    EXPECT_EQ(lever.host.prompts.size(), 1u);
    EXPECT_EQ(lever.engine.formFactor(), 0.7);
    EXPECT_EQ(lever.engine.styleReply(), " 2");

    EngineRun fresh; // Cancel with no form factor known stops the run
    EXPECT_EQ(fresh(test::leverRound(), settingsOf("Y", 100, 300, 100)).stop,
              RunStop::StyleUnknown);
    EXPECT_EQ(fresh.text().find("Maximum"), std::string::npos);
}

TEST(RunStops, NothingIsWrittenPastTheInteriorLines) {
    EngineRun run;
    EXPECT_EQ(run(test::checkRound(), std::nullopt).stop, RunStop::Cancelled);
    EXPECT_EQ(run.text(), "308 TRAJECTORY CHECK\r\nRecoil for this round is 15.07 ft. lbs.\r\n");
    EXPECT_EQ(run.host.statuses.back(), kStatusStopped);
    fs::remove(run.output);
    run.host.specsShown = 0;
    RoundTexts noWeight = test::checkRound();
    noWeight.firearmWeight = "0";
    EXPECT_EQ(run(noWeight, settingsOf("Y", 100, 500, 200)).stop, RunStop::Interior);
    EXPECT_EQ(run.host.specsShown, 0);
    EXPECT_EQ(run.host.messages, std::vector<std::string>{kInteriorErrorText});
    EXPECT_EQ(run.host.titles, std::vector<std::string>{"Error!"});
    EXPECT_FALSE(fs::exists(run.output));
    run.output = run.folder / "no such folder" / "run.csv";
    const RunResult missing = run(test::checkRound(), settingsOf("Y", 100, 500, 200));
    EXPECT_EQ(missing.stop, RunStop::Interior);
    EXPECT_NE(missing.cause.find("No such file or directory"), std::string::npos);
    EXPECT_EQ(run.host.details.back(), missing.cause);
    // The program's own files are no output: the database stays as it was.
    run.output = run.folder / "rounds.dtb";
    const std::string rounds = run.folder.read("rounds.dtb");
    EXPECT_EQ(run(test::checkRound(), settingsOf("Y", 100, 500, 200)).stop, RunStop::Interior);
    EXPECT_EQ(run.folder.read("rounds.dtb"), rounds);
    EXPECT_EQ(run.host.messages.back(), kInteriorErrorText);
    // Refusals of what the run cannot use.
    const struct {
        const char *parameters, *bc, *fps, *expected; // parameters.ini: nullptr none, "" installed
    } cases[] = {
        {"1.5\r\n5\r\n.08\r\n59\r\nDragG1.txt\r\nN\r\n", ".4", "2700",
         "The atmosphere code \"N\" in parameters.ini has no atmosphere model: write I (ICAO "
         "standard atmosphere) or S (Army standard metro)."},
        {nullptr, ".4", "2700", "The settings file parameters.ini is missing or cannot be read."},
        {"1.5\r\n5\r\n", ".4", "2700", "parameters.ini is incomplete"},
        {"1.5\r\n5\r\n.076474\r\n59\r\nDragG2.txt\r\nI\r\n", ".4", "2700",
         "The drag table DragG2.txt is missing or cannot be read."},
        {"", "0", "2700", "The ballistic coefficient must be a number greater than zero."},
        {"", ".4", "6000",
         "The bullet's speed reaches the end of the drag table DragG1.txt (Mach 5): the "
         "trajectory cannot be computed."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        EngineRun run;
        if (!c.parameters)
            fs::remove(run.folder / "parameters.ini");
        else if (*c.parameters)
            run.folder.write("parameters.ini", c.parameters);
        RoundTexts round = test::checkRound();
        round.ballisticCoefficient = c.bc;
        round.muzzleVelocity = c.fps;
        EXPECT_EQ(run(round, settingsOf("Y", 100, 500, 200)).stop, RunStop::Refused);
        ASSERT_EQ(run.host.messages.size(), 1u);
        EXPECT_NE(run.host.messages[0].find(c.expected), std::string::npos);
        EXPECT_EQ(test::crlfLines(run.text()).size(), 2u);
        EXPECT_EQ(run.host.statuses.back(), kStatusStopped);
    }
}

// The steps replace the file whole but unflushed; the state the run ends on is synced once,
// and a failed sync is reported as a failed write.
TEST(RunSteps, OneFileSyncAndOneFolderSyncARun) {
    struct Count : WriteFaults {
        std::map<WriteStep, int> seen;
        WriteStep failing = WriteStep::CreateTemporary;
        bool fail = false;
        bool failAt(WriteStep step) override {
            ++seen[step];
            return fail && step == failing;
        }
    };
    for (const bool cancelled : {false, true}) {
        EngineRun run;
        Count count;
        run.engine.setWriteFaults(&count);
        std::optional<RunSettings> dialog;
        if (!cancelled)
            dialog = settingsOf("Y", 100, 500, 200);
        EXPECT_EQ(run(test::checkRound(), dialog).completed(), !cancelled);
        EXPECT_EQ(count.seen[WriteStep::Sync], 1);
        EXPECT_EQ(count.seen[WriteStep::SyncFolder], 1);
        EXPECT_EQ(count.seen[WriteStep::Rename], cancelled ? 1 : 4);
    }
    EngineRun run;
    Count count;
    count.fail = true;
    count.failing = WriteStep::Sync;
    run.engine.setWriteFaults(&count);
    EXPECT_EQ(run(test::checkRound(), settingsOf("Y", 100, 500, 200)).stop, RunStop::Refused);
    EXPECT_EQ(run.host.messages.back(),
              "The output file run.csv cannot be written: Input/output error.");
    EXPECT_EQ(run.host.statuses.back(), kStatusStopped);
}

TEST(RunCommand, TheLastFolderStartsTheSaveDialogAndIsRemembered) {
    test::TestFolder folder;
    ASSERT_EQ(ensureLastPath(folder.path()), "");
    EXPECT_EQ(folder.read("Lastpath.dat"), (folder / "YourData").string() + "/\r\n");
    fs::create_directories(folder / "out");
    SharedState state;
    state.programFolder = folder.path();
    test::ScriptedHost host;
    host.dialogSettings = settingsOf("Y", 100, 500, 200);
    host.savedFile = (folder / "out" / "load.csv").string();
    BallisticsEngine engine;
    ASSERT_TRUE(engine.runCommand(state, test::checkRound(), host).completed());
    EXPECT_EQ(host.startFolders.back(), (folder / "YourData/").string());
    EXPECT_EQ(state.outputFile, *host.savedFile);
    EXPECT_EQ(state.lastOutputFile, *host.savedFile);
    EXPECT_EQ(folder.read("Lastpath.dat"), (folder / "out").string() + "/\r\n");
    EXPECT_TRUE(fs::exists(folder / "out" / "load.csv"));

    host.savedFile.reset(); // Cancel in the save dialog
    host.statuses.clear();
    EXPECT_EQ(engine.runCommand(state, test::checkRound(), host).stop, RunStop::OutputFile);
    EXPECT_EQ(host.statuses, std::vector<std::string>{kStatusStopped});
    EXPECT_EQ(host.startFolders.back(), (folder / "out/").string());

    // A folder cut at its comma that does not exist stops the run before the dialog.
    fs::create_directories(folder / "a,b");
    folder.write("Lastpath.dat", (folder / "a,b").string() + "/\r\n");
    EXPECT_EQ(engine.runCommand(state, test::checkRound(), host).stop, RunStop::OutputFile);
    EXPECT_EQ(host.startFolders.size(), 2u);
    fs::remove(folder / "Lastpath.dat");
    EXPECT_EQ(engine.runCommand(state, test::checkRound(), host).stop, RunStop::OutputFile);
    // Lastpath.dat is written only when missing, quoted when a comma would cut it.
    folder.write("LASTPATH.DAT", "/somewhere/\r\n");
    EXPECT_EQ(ensureLastPath(folder.path()), "");
    EXPECT_EQ(folder.read("LASTPATH.DAT"), "/somewhere/\r\n");
    const fs::path comma = folder / "x,y";
    fs::create_directories(comma);
    ASSERT_EQ(ensureLastPath(comma), "");
    EXPECT_EQ(readLastFolder(comma), (comma / "YourData").string() + "/");

    // A folder written by earlier versions in the system's own bytes still names itself.
    const fs::path own = folder / "j\xC3\xBCrgen";
    fs::create_directories(own);
    folder.write("Lastpath.dat", own.string() + "/\r\n");
    EXPECT_EQ(readLastFolder(folder.path()), own.string() + "/");
    ASSERT_TRUE(writeLastFolder(folder.path(), own.string() + "/"));
    EXPECT_EQ(folder.read("Lastpath.dat"), (folder / "j\xFCrgen").string() + "/\r\n");
    EXPECT_EQ(readLastFolder(folder.path()), own.string() + "/");
}

