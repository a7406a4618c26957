// After an upgrade of an installed program, the per-user copy gets the program's new pages and
// tables, and keeps every file the user made.
#include "TestFolder.h"
#include "core/common/ProgramFolder.h"

#include <gtest/gtest.h>

using namespace fendrel;
namespace fs = std::filesystem;

TEST(ProgramUpgrade, AnExistingCopyTakesTheNewProgramFilesAndKeepsTheUsers) {
    test::TestFolder installed(false), home(false);
    installed.write("splash.HTM", "version 6.0");
    installed.write("DragG1.txt", "0,0\r\n");
    fs::create_directory(installed / "HelpDocs");
    installed.write("HelpDocs/HELP-Fendrel.chm", "old help");
    installed.write("rounds.dtb", "\"shipped\"\r\n");
    const auto readOnly = [](const fs::path&) { return false; };
    const auto first = chooseProgramFolder(std::nullopt, installed.path(), home.path(), readOnly);
    ASSERT_TRUE(first.copiedNow) << first.error;
    const fs::path copy = home / "fendrel";
    home.write("fendrel/rounds.dtb", "\"my loads\"\r\n");
    home.write("fendrel/history.sqlite", "mine");
    fs::create_directories(copy / "YourData");
    home.write("fendrel/YourData/load.csv", "mine");

    installed.write("splash.HTM", "version 6.1");
    installed.write("HelpDocs/HELP-Fendrel.chm", "new help");
    installed.write("rounds.dtb", "\"shipped again\"\r\n");
    installed.write("parameters.ini", "1.5,5,.076474,59,\"DragG1.txt\",\"I\"\r\n");
    const auto again = chooseProgramFolder(std::nullopt, installed.path(), home.path(), readOnly);
    EXPECT_FALSE(again.copiedNow);
    EXPECT_EQ(again.refreshed, 2) << again.error;
    EXPECT_EQ(home.read("fendrel/splash.HTM"), "version 6.1");
    EXPECT_EQ(home.read("fendrel/HelpDocs/HELP-Fendrel.chm"), "new help");
    EXPECT_EQ(home.read("fendrel/rounds.dtb"), "\"my loads\"\r\n");
    EXPECT_EQ(home.read("fendrel/history.sqlite"), "mine");
    EXPECT_EQ(home.read("fendrel/YourData/load.csv"), "mine");
    EXPECT_FALSE(fs::exists(copy / "parameters.ini")) << "settings are the user's, even new ones";
}
