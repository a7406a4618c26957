// The shot group window's logic without the window: Accept's refusals, Do It keeping the last
// group for the other windows, and group files written in their code page and read back.
#include "ScriptedHost.h"
#include "TestFolder.h"
#include "core/groups/GroupSession.h"

#include <gtest/gtest.h>

using namespace fendrel;
namespace fs = std::filesystem;

namespace {

struct Measuring {
    test::TestFolder folder;
    SharedState state;
    GroupSession session{state};
    test::ScriptedSessionHost host;
    Measuring() { state.programFolder = folder.path(); }
};

} // namespace

TEST(GroupSession, AcceptRefusesWhatIsNotACoordinateAndFillsTheGridInTurn) {
    Measuring m;
    EXPECT_FALSE(m.session.accept("5", "", "1", m.host));
    EXPECT_FALSE(m.session.accept("1", "1", "1", m.host));
    EXPECT_FALSE(m.session.accept("5", "1,5", "1", m.host));
    ASSERT_EQ(m.host.told.size(), 3u);
    EXPECT_EQ(m.host.told[0], "You must enter a value for both the X and Y coordinates");
    EXPECT_EQ(m.host.told[1], "The number of rounds must be a whole number from 2 to 181.");
    EXPECT_EQ(m.host.titles[2], "Error");

    const auto first = m.session.accept("2", "2.12345", " -1", m.host);
    ASSERT_TRUE(first);
    EXPECT_EQ(std::to_string(first->round) + " " + first->x + " " + first->y, "1 2.123 -1.0");
    EXPECT_EQ(m.session.entry().table()[1].x, 2.12345);
    EXPECT_EQ(m.session.accept("2", "0", "0", m.host)->round, 2);
    EXPECT_TRUE(m.session.entry().allEntered());
    EXPECT_EQ(m.host.told.size(), 3u);
}

TEST(GroupSession, DoItKeepsTheLastGroupAndTheSavedFileReopensInItsCodePage) {
    Measuring m;
    const GroupCells cells = {{"1", "1"}, {"1", "2.125"}};
    EXPECT_FALSE(m.session.doIt("0.308", "3", cells, m.host)); // a round is missing
    EXPECT_FALSE(m.state.lastGroup);

    EXPECT_EQ(m.session.doIt("0.308", "2", cells, m.host), std::optional(false)); // not saved
    ASSERT_TRUE(m.state.lastGroup);
    EXPECT_EQ(m.state.lastGroup->shots,
              (std::vector<std::pair<double, double>>{{1, 1}, {1, 2.125}}));
    EXPECT_EQ(m.state.lastGroup->extremeSpread, 1.433); // centre to centre plus the caliber
    EXPECT_EQ(m.host.asked.back(),
              m.session.results() + "\r\nWould you like to save this Group File?");
    EXPECT_EQ(m.session.results().rfind(
                  "RESULTS OF PRECISION MEASUREMENTS FOR 0.308 CALIBER 2-SHOT GROUP.\r\n", 0),
              0u);
    EXPECT_EQ(m.folder.read("ES_dist.dmp"), "Round 1,0.308,1.433\r\nRound 2,1.433,0.308\r\n");
    // The target draws the grid's holes, within 6 inches at full scale.
    const auto drawing = m.session.display("2", "0.308", m.host);
    ASSERT_TRUE(drawing);
    ASSERT_EQ(drawing->holes.size(), 2u);
    EXPECT_EQ(drawing->holes[1].first, drawing->holes[0].first);
    EXPECT_LT(drawing->holes[0].second, drawing->holes[1].second);
    EXPECT_EQ(drawing->caption.substr(drawing->caption.size() - 27),
              "cell is 1.00 inch in size).");

    // The title is written in windows-1252 and comes back as it was typed.
    m.host.files = {m.folder / "YourData/first"};
    m.session.save("Bücherei, 75°F", "0.308", "2", true, m.host);
    ASSERT_EQ(m.host.choices.size(), 1u);
    EXPECT_EQ(m.host.choices[0].filter, "Group File Format(.grp)|*.grp|");
    EXPECT_EQ(m.host.choices[0].startFolder, m.folder / "YourData");
    EXPECT_EQ(m.session.groupFile(), m.folder / "YourData/first.grp");
    EXPECT_EQ(m.folder.read("YourData/first.grp").substr(0, 31),
              "B\xFC" "cherei, 75\xB0" "F\r\n0.308\r\n2\r\n1,1\r\n");

    Measuring again;
    again.state.programFolder = m.folder.path();
    again.host.files = {m.folder / "YourData/first.grp"};
    const auto opened = again.session.open(again.host);
    ASSERT_TRUE(opened && opened->complete && opened->displayed);
    EXPECT_EQ(opened->title, "Bücherei, 75°F");
    EXPECT_EQ(opened->cells, cells);
    EXPECT_EQ(opened->table[2].y, 2.125);
    EXPECT_EQ(again.state.currentDataFile, (m.folder / "YourData/first.grp").string());
    const auto printed = again.session.printedResults(again.host);
    EXPECT_EQ(printed.value_or("").rfind("RESULTS OF PRECISION MEASUREMENTS", 0), 0u);
}

TEST(GroupSession, NoFileToPrintNoSaveOverTheProgramsOwnAndWhatABadFileHeld) {
    Measuring m;
    EXPECT_FALSE(m.session.printedResults(m.host));
    EXPECT_EQ(m.host.last().rfind("There is no group file to print.", 0), 0u);
    EXPECT_FALSE(m.session.printEnabled());
    m.session.save("", "0.308", "5", false, m.host); // cancelled
    EXPECT_TRUE(m.session.printEnabled());
    EXPECT_TRUE(m.session.groupFile().empty());

    m.session.save("", "0.308", "x", false, m.host);
    EXPECT_EQ(m.host.last(), "The number of rounds must be a whole number from 2 to 181.");
    m.host.files = {m.folder / "rounds.dtb"};
    const std::string rounds = m.folder.read("rounds.dtb");
    m.session.save("", "0.308", "5", false, m.host);
    EXPECT_EQ(m.folder.read("rounds.dtb"), rounds);
    EXPECT_NE(m.host.last().find("one of the program's own files"), std::string::npos);

    // A file cut short gives what was read before the cut.
    m.folder.write("YourData/bad.grp", "Cut short\r\n0.224\r\n3\r\n9,9\r\n");
    m.host.files = {m.folder / "YourData/missing.grp", m.folder / "YourData/bad.grp"};
    EXPECT_FALSE(m.session.open(m.host));
    const auto bad = m.session.open(m.host);
    ASSERT_TRUE(bad);
    EXPECT_EQ(bad->title, "Cut short");
    EXPECT_TRUE(bad->rounds == 3 && bad->cells.size() == 1 && !bad->complete);
}
