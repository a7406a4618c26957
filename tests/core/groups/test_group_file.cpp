#include "core/groups/GroupFile.h"

#include <gtest/gtest.h>

using namespace fendrel;

namespace {
const std::string kResults = "RESULTS OF PRECISION MEASUREMENTS FOR 0.308 CALIBER 3-SHOT GROUP.\r\n"
                             "_______________________________________\r\nMean Radius    = 1.000\r\n"
                             "Mean Spread    = 2.000\r\nExtreme Spread = 3.000\r\n"
                             "Median Spread  = 4.000";

GroupFileData threeRounds() {
    GroupFileData d;
    d.title = "ex: 10-May-2003, 75F, light breeze, sunny", d.caliber = "0.308", d.rounds = "3";
    d.shots = {{1, 1.5}, {0.25, 2}, {3.125, -0.5}};
    d.results = kResults, d.displayed = true;
    return d;
}
} // namespace

TEST(GroupFile, AMeasuredGroupIsThirteenLinesPrintsItsResultsAndReadsBack) {
    const std::string bytes = groupFileBytes(threeRounds());
    EXPECT_EQ(bytes, "ex: 10-May-2003, 75F, light breeze, sunny\r\n0.308\r\n3\r\n1,1.5\r\n"
                     "0.25,2\r\n3.125,-0.5\r\n" + kResults + "\r\n 1\r\n");
    // Printing takes the six lines before the last.
    EXPECT_EQ(printedResults(bytes), kResults + "\r\n");
    // Before Do It the results are one empty line, and printing shows calibre to that line.
    auto d = threeRounds();
    d.results.clear();
    d.displayed = false;
    const std::string before = groupFileBytes(d);
    EXPECT_EQ(before.substr(before.size() - 8), "\r\n\r\n 0\r\n");
    EXPECT_EQ(printedResults(before), "0.308\r\n3\r\n1,1.5\r\n0.25,2\r\n3.125,-0.5\r\n\r\n");
    EXPECT_EQ(printedResults("a\r\nb\r\nc\r\n"), "a\r\nb\r\n");

    // Read back: what was written, and what a malformed file holds.
    const auto read = readGroupFile(groupFileBytes(threeRounds()));
    ASSERT_TRUE(read.complete);
    EXPECT_EQ(read.title + "|" + read.caliber, "ex: 10-May-2003, 75F, light breeze, sunny|0.308");
    EXPECT_EQ(read.rounds, 3);
    EXPECT_EQ(read.cells, (std::vector<std::pair<std::string, std::string>>{
                              {"1", "1.5"}, {"0.25", "2"}, {"3.125", "-0.5"}}));
    EXPECT_EQ(read.lastLine, " 1");
    EXPECT_TRUE(read.displayed());

    // A quoted calibre loses its quotes; the title line is kept whole.
    const auto quoted =
        readGroupFile("\"A\", b\r\n\" .308\" inch\r\n2\r\n1,2\r\n3,4\r\n\r\n 0\r\n");
    EXPECT_EQ(quoted.title, "\"A\", b");
    EXPECT_EQ(quoted.caliber, " .308");
    EXPECT_TRUE(quoted.complete && !quoted.displayed());
    // Malformed files keep what was read.
    auto r = readGroupFile("Title only");
    EXPECT_TRUE(r.hasTitle && !r.hasCaliber && !r.complete);
    r = readGroupFile("T\r\n0.308\r\nmany\r\n1,1\r\n");
    EXPECT_TRUE(r.hasCaliber && r.rounds == 0 && !r.complete);
    r = readGroupFile("T\r\n0.308\r\n3\r\n1,1\r\n2,2\r\n");
    EXPECT_TRUE(r.rounds == 3 && r.cells.size() == 2 && !r.complete);

    EXPECT_FALSE(readGroupFile("").hasTitle);
}
