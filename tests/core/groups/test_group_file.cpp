#include "TestFolder.h"
#include "core/common/TextFile.h"
#include "core/groups/GroupFile.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <memory>
#include <sys/wait.h>

using namespace fendrel;

namespace {

const std::string kResults = "RESULTS OF PRECISION MEASUREMENTS FOR 0.308 CALIBER 3-SHOT GROUP.\r\n"
                             "_______________________________________\r\n"
                             "Mean Radius    = 1.000\r\n"
                             "Mean Spread    = 2.000\r\n"
                             "Extreme Spread = 3.000\r\n"
                             "Median Spread  = 4.000";

GroupFileData threeRounds() {
    GroupFileData d;
    d.title = "ex: 10-May-2003, 75F, light breeze, sunny";
    d.caliber = "0.308";
    d.rounds = "3";
    d.shots = {{1, 1.5}, {0.25, 2}, {3.125, -0.5}};
    d.results = kResults;
    d.displayed = true;
    return d;
}

} // namespace

TEST(GroupFile, MeasuredGroupIsThirteenLines) {
    const std::string bytes = groupFileBytes(threeRounds());
    EXPECT_EQ(bytes, "ex: 10-May-2003, 75F, light breeze, sunny\r\n"
                     "0.308\r\n"
                     "3\r\n"
                     "1,1.5\r\n"
                     "0.25,2\r\n"
                     "3.125,-0.5\r\n" +
                         kResults + "\r\n 1\r\n");
}

TEST(GroupFile, PrintingTakesTheSixLinesBeforeTheLast) {
    EXPECT_EQ(printedResults(groupFileBytes(threeRounds())), kResults + "\r\n");
    // Before Do It the results are one empty line, and printing shows calibre to that line.
    auto d = threeRounds();
    d.results.clear();
    d.displayed = false;
    const std::string bytes = groupFileBytes(d);
    EXPECT_EQ(bytes.substr(bytes.size() - 8), "\r\n\r\n 0\r\n");
    EXPECT_EQ(printedResults(bytes), "0.308\r\n3\r\n1,1.5\r\n0.25,2\r\n3.125,-0.5\r\n\r\n");
    EXPECT_EQ(printedResults("a\r\nb\r\nc\r\n"), "a\r\nb\r\n");
}

TEST(GroupFile, ReadsBackWhatWasWritten) {
    const auto read = readGroupFile(groupFileBytes(threeRounds()));
    ASSERT_TRUE(read.complete);
    EXPECT_EQ(read.title, "ex: 10-May-2003, 75F, light breeze, sunny");
    EXPECT_EQ(read.caliber, "0.308");
    EXPECT_EQ(read.rounds, 3);
    ASSERT_EQ(read.cells.size(), 3u);
    EXPECT_EQ(read.cells[0], (std::pair<std::string, std::string>{"1", "1.5"}));
    EXPECT_EQ(read.cells[2], (std::pair<std::string, std::string>{"3.125", "-0.5"}));
    EXPECT_EQ(read.lastLine, " 1");
    EXPECT_TRUE(read.displayed());

    // A quoted calibre loses its quotes; the title line is kept whole.
    const auto quoted =
        readGroupFile("\"A\", b\r\n\" .308\" inch\r\n2\r\n1,2\r\n3,4\r\n\r\n 0\r\n");
    EXPECT_EQ(quoted.title, "\"A\", b");
    EXPECT_EQ(quoted.caliber, " .308");
    EXPECT_TRUE(quoted.complete);
    EXPECT_FALSE(quoted.displayed());
}

TEST(GroupFile, MalformedFilesKeepWhatWasRead) {
    auto r = readGroupFile("Title only");
    EXPECT_TRUE(r.hasTitle);
    EXPECT_FALSE(r.hasCaliber);
    EXPECT_FALSE(r.complete);

    r = readGroupFile("T\r\n0.308\r\nmany\r\n1,1\r\n");
    EXPECT_TRUE(r.hasCaliber);
    EXPECT_EQ(r.rounds, 0);
    EXPECT_FALSE(r.complete);

    r = readGroupFile("T\r\n0.308\r\n3\r\n1,1\r\n2,2\r\n");
    EXPECT_EQ(r.rounds, 3);
    EXPECT_EQ(r.cells.size(), 2u);
    EXPECT_FALSE(r.complete);

    EXPECT_FALSE(readGroupFile("").hasTitle);
}

// The command-line front: the same measurement from a group file.
namespace {

struct CalcRun {
    int status;
    std::string out;
};

CalcRun runCalc(const std::string& arguments) {
    const std::string command =
        std::string(FENDREL_BIN_DIR) + "/fendrel-calc " + arguments + " 2>/dev/null";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::string out;
    std::array<char, 512> buf;
    size_t got;
    while ((got = fread(buf.data(), 1, buf.size(), pipe.get())) > 0)
        out.append(buf.data(), got);
    const int status = pclose(pipe.release());
    return {WEXITSTATUS(status), out};
}

} // namespace

TEST(GroupCommand, MeasuresAFileAndLeavesTheDumps) {
    test::TestFolder folder(false);
    folder.write("triangle.grp", "Three-four-five\r\n0\r\n3\r\n0,0\r\n3,0\r\n0,4\r\n\r\n 0\r\n");
    const CalcRun run = runCalc("group " + (folder / "triangle.grp").string() +
                                " --program-folder " + folder.path().string());
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "RESULTS OF PRECISION MEASUREMENTS FOR 0 CALIBER 3-SHOT GROUP.\r\n"
                       "_______________________________________\r\n"
                       "Mean Radius    = 2.306\r\n"
                       "Mean Spread    = 4.000\r\n"
                       "Extreme Spread = 5.000\r\n"
                       "Median Spread  = 4.000");
    EXPECT_EQ(folder.read("ES_dist.dmp"), "Round 1,0,3,4\r\nRound 2,3,0,5\r\nRound 3,4,5,0\r\n");
    EXPECT_EQ(folder.read("MR_dist.dmp").substr(0, 2), " 1");
}

TEST(GroupCommand, RefusesAndReportsUsage) {
    test::TestFolder folder(false);
    folder.write("short.grp", "T\r\n0.308\r\n3\r\n1,1\r\n");
    folder.write("blank.grp", "T\r\n0.308\r\n2\r\n1,1\r\n,\r\n\r\n 0\r\n");
    const std::string where = " --program-folder " + folder.path().string();
    EXPECT_EQ(runCalc("group " + (folder / "short.grp").string() + where).status, 1);
    EXPECT_EQ(runCalc("group " + (folder / "blank.grp").string() + where).status, 1);
    EXPECT_EQ(runCalc("group " + (folder / "absent.grp").string() + where).status, 1);
    EXPECT_EQ(runCalc("group").status, 2);
    EXPECT_EQ(runCalc("group a.grp --colour red").status, 2);
    EXPECT_FALSE(std::filesystem::exists(folder / "ES_dist.dmp"));
}
