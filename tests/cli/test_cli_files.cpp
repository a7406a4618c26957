// fendrel-calc as a user runs it: each command prints or writes what its window shows and refuses
// clearly what it cannot use; it never writes over the program's own files, never replaces a
// device, and names the cause of a failed write without leaving an empty file.
#include "core/common/TextFile.h"
#include "core/stabilizer/Stability.h"
#include "core/stabilizer/StabilityFiles.h"
#include "support/TestFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace fs = std::filesystem;
using namespace fendrel;
using fendrel::test::TestFolder;

namespace {
using test::CalcRun;
using test::runCalc;

// Runs `args`, refused with this exit status and `said` in what it wrote to standard error.
void expectRefusal(const std::string& args, int status, const std::string& said) {
    const CalcRun o = runCalc(args);
    EXPECT_EQ(o.status, status) << args;
    EXPECT_NE(o.errors.find(said), std::string::npos) << o.errors;
}

// A path as the shell reads it.
std::string shellArg(const fs::path& p) { return "'" + p.string() + "'"; }
std::string bytes(const fs::path& p) { return readFileBytes(p).value_or("(missing)"); }

// A round record: description, caliber, weight, BC, SD, style, charge, velocity, firearm weight.
std::string round(const std::vector<std::string>& f) {
    return quotedRecord(std::vector<std::string>{f[0], f[1], f[2], f[3], f[4], "", f[5], "", f[6],
                                                 f[7], "", "", "", "", "", "", "", f[8]});
}

const char* const kRound =
    "\"R\",\".308 Winchester\",\"150\",\".4\",\".226\",\"\",\"spitzer\",\"\","
    "\"45\",\"2700\",\"CCI 200 \"Lot 7, box 2\"\",\"\",\"\",\"\",\"\",\"\","
    "\"\",\"8\"\r\n";
} // namespace

TEST(Commands, BallisticsWritesTheBytesOfTheRunAndRefusesClearly) {
    TestFolder folder;
    // The second names no style ("Flat" with a capital F), so the style question is asked.
    folder.write("rounds.dtb", round({"Lever gun load", ".30-30 Winchester", "170", ".254", ".240",
                                      "Flat point", "33", "2150", "7"}) +
                                   round({"6.5mm long range", ".264 Winchester Magnum", "140",
                                          ".585", ".287", "PSP match", "41.5", "2750", "9.25"}));
    const fs::path out = folder / "cli.csv";
    const std::string common =
        " --program-folder " + shellArg(folder.path()) + " --output " + shellArg(out);
    ASSERT_EQ(runCalc("ballistics --round 1 --units M --interval 50 --max 600 --downrange-wind -5 "
                   "--cross-wind 10 --zero 100 --zero-height 1" + common).status, 0);
    EXPECT_EQ(bytes(out), bytes(test::fixture("engine/meters_wind.csv")));
    ASSERT_EQ(runCalc("ballistics --round 1" + common).status, 0); // defaults: meters, 50 to 500
    EXPECT_NE(bytes(out).find("Range(M)"), std::string::npos);
    EXPECT_NE(bytes(out).find("\r\n 500,"), std::string::npos);

    expectRefusal("ballistics --round 0" + common, 1, "--style-answer");
    EXPECT_EQ(runCalc("ballistics --round 0 --style-answer 2" + common).status, 0);
    expectRefusal("ballistics --round 2" + common, 1, "rounds.dtb has no record 2");
    expectRefusal("ballistics --round 1 --interval 501" + common, 1,
                  "fendrel-calc ballistics: The range interval must be less than maximum range\n");
    for (const char* bad : {"--round 1 --units X", "--round 1 --interval ten", "--round one"})
        EXPECT_EQ(runCalc(std::string("ballistics ") + bad + common).status, 2) << bad;
    EXPECT_EQ(runCalc("ballistics --round 1 --program-folder " + shellArg(folder.path())).status,
              2);
}

TEST(Commands, SimulateWindStabilityAndGroupPrintWhatTheirWindowsShow) {
    TestFolder folder;
    const std::string at = " --program-folder " + shellArg(folder.path());
    CalcRun o = runCalc("simulate --bc .421 --velocity 2800 --zero 200 --cross-wind 10 "
                     "--downrange-wind -5" + at);
    ASSERT_EQ(o.status, 0) << o.errors;
    EXPECT_EQ(o.out, bytes(test::fixture("simulator/bc421_2800_zero200_wind.txt")));
    o = runCalc("simulate --bc .421 --velocity 2800 --zero 500.5" + at);
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.errors, "fendrel-calc simulate: You must enter valid values for range of zero\n");
    o = runCalc("simulate --bc .421 --velocity 2800" + at);
    EXPECT_EQ(o.status, 2);
    EXPECT_EQ(o.errors, "fendrel-calc simulate: --zero is required\n");
    EXPECT_EQ(runCalc("simulate --bc .421 --velocity 2800 --zero 200 extra" + at).status, 2);
    o = runCalc("wind --bearing 135 --speed 10");
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.out, "5.015\n-4.985\n");
    EXPECT_EQ(runCalc("wind --bearing 1e400 --speed 10").status, 1);
    EXPECT_EQ(runCalc("wind --speed 10").status, 2);

    const StabilityResult r = computeStability({"0.308", "2800", "10"});
    const StabilityPage page{"0.308", "2800", "10", r.text, r.standardLength, r.modifiedLength};
    o = runCalc("stability --caliber 0.308 --velocity 2800 --twist 10 --save " +
             shellArg(folder / "stab.htm") + at);
    ASSERT_EQ(o.status, 0);
    EXPECT_EQ(o.out, r.text);
    EXPECT_EQ(folder.read("stab.htm"), stabilityHtmlPage(page, stabilityBackground(folder.path())));
    o = runCalc("stability --caliber 1.0001 --velocity 2800 --twist 10" + at);
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.errors.rfind("The caliber you entered is invalid.", 0), 0u);
    EXPECT_EQ(runCalc("stability --caliber 0.308 --velocity 2800" + at).status, 2);

    // group measures a file as the window does and leaves the distance dumps.
    folder.write("short.grp", "T\r\n0.308\r\n3\r\n1,1\r\n");
    folder.write("blank.grp", "T\r\n0.308\r\n2\r\n1,1\r\n,\r\n\r\n 0\r\n");
    for (const char* refused : {"short.grp", "blank.grp", "absent.grp"})
        EXPECT_EQ(runCalc("group " + shellArg(folder / refused) + at).status, 1) << refused;
    EXPECT_EQ(runCalc("group").status, 2);
    EXPECT_EQ(runCalc("group a.grp --colour red").status, 2);
    EXPECT_FALSE(fs::exists(folder / "ES_dist.dmp"));
    folder.write("triangle.grp", "Three-four-five\r\n0\r\n3\r\n0,0\r\n3,0\r\n0,4\r\n\r\n 0\r\n");
    o = runCalc("group " + shellArg(folder / "triangle.grp") + at);
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.out, "RESULTS OF PRECISION MEASUREMENTS FOR 0 CALIBER 3-SHOT GROUP.\r\n"
                     "_______________________________________\r\n"
                     "Mean Radius    = 2.306\r\nMean Spread    = 4.000\r\n"
                     "Extreme Spread = 5.000\r\nMedian Spread  = 4.000");
    EXPECT_EQ(folder.read("ES_dist.dmp"), "Round 1,0,3,4\r\nRound 2,3,0,5\r\nRound 3,4,5,0\r\n");
    EXPECT_EQ(folder.read("MR_dist.dmp").substr(0, 2), " 1");
}

// Writing the same page as the report window is checked with the window's tests.
TEST(Commands, ReportRefusesIncompleteReportsAndBadArguments) {
    TestFolder folder(false);
    folder.write("short.csv", "TITLE\r\nHEADER\r\n");
    const std::string page = "report --html " + shellArg(folder / "page.htm") + " ";
    expectRefusal(page + shellArg(folder / "short.csv"), 1, "is not a complete report");
    EXPECT_FALSE(fs::exists(folder / "page.htm"));
    expectRefusal(page + shellArg(folder / "missing.csv"), 1, "cannot be read");
    EXPECT_EQ(runCalc("report " + shellArg(folder / "short.csv")).status, 2); // no --html
    const CalcRun o = runCalc(page);
    EXPECT_EQ(o.status, 2);
    EXPECT_EQ(o.errors.find('\n'), o.errors.size() - 1); // one line
}

TEST(CommandLineFiles, TheProgramsOwnFilesAreNeverOutputs) {
    TestFolder folder;
    folder.write("rounds.dtb", std::string(kRound) + kRound);
    const std::string common = " --program-folder " + shellArg(folder.path());
    fs::create_symlink(folder / "Firearms.dtb", folder / "YourData" / "innocent.csv");
    const std::string before = folder.read("Firearms.dtb");
    for (const std::string name : {"rounds.dtb", "FIREARMS.DTB", "parameters.ini", "Lastpath.dat",
                                   "editlist.txt", "DragG1.txt", "YourData/innocent.csv"}) {
        expectRefusal("ballistics --round 0 --style-answer 3 --output " + shellArg(folder / name) +
                          common,
                      1, "own files");
        const CalcRun s = runCalc("stability --caliber .308 --velocity 2700 --twist 10 --save " +
                               shellArg(folder / name) + common);
        EXPECT_EQ(s.status, 1) << name;
    }
    EXPECT_EQ(folder.read("Firearms.dtb"), before);
    EXPECT_EQ(folder.read("rounds.dtb"), std::string(kRound) + kRound);
    EXPECT_TRUE(fs::is_symlink(folder / "YourData" / "innocent.csv"));

    // The same round reads alike here and in the workbench: the quote in the primer field ends
    // it and shifts the fields after it, so the firearm weight is "" and the run stops.
    expectRefusal("ballistics --round 0 --style-answer 3 --output " +
                      shellArg(folder / "YourData" / "out.csv") + common,
                  1, "firearm weight is 0");
}

TEST(CommandLineFiles, AFailedWriteNamesItsCauseAndLeavesNoFile) {
    TestFolder folder;
    folder.write("rounds.dtb",
                 round({"R", ".308", "150", ".4", ".226", "spitzer", "45", "2700", "8"}));
    const std::string common =
        " --round 0 --style-answer 3 --program-folder " + shellArg(folder.path());
    expectRefusal("ballistics --output /dev/full" + common, 1, "not a plain file");
    EXPECT_TRUE(fs::is_character_file("/dev/full"));

    const fs::path missing = folder / "no such folder" / "out.csv";
    expectRefusal("ballistics --output " + shellArg(missing) + common, 1,
                  "No such file or directory");
    EXPECT_FALSE(fs::exists(missing.parent_path()));

    const CalcRun html = runCalc("report --html /dev/full " + shellArg(folder / "none.csv"));
    EXPECT_NE(html.status, 0);
}

TEST(CommandLineFiles, InputsAndOptionsItCannotUseAreRefusedQuickly) {
    // A program that waited on a pipe or a device would hang here until ctest's timeout.
    TestFolder folder;
    ASSERT_EQ(::mkfifo((folder / "pipe.grp").c_str(), 0600), 0);
    const std::string at = " --program-folder " + shellArg(folder.path());
    for (const std::string& input : {std::string("/dev/zero"), (folder / "pipe.grp").string()})
        expectRefusal("group " + shellArg(input) + at, 1, "not a plain file");
    // A FIFO in place of the database, and an option given twice.
    fs::remove(folder / "rounds.dtb");
    ASSERT_EQ(::mkfifo((folder / "rounds.dtb").c_str(), 0600), 0);
    expectRefusal("ballistics --round 0 --output " + shellArg(folder / "o.csv") + at, 1,
                  "rounds.dtb cannot be read");
    expectRefusal("stability --caliber .308 --caliber .30 --velocity 2700 --twist 10", 2,
                  "given twice");
}
