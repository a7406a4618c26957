// Finding the program folder and its files whatever the case of their names.
#include "core/common/ProgramFolder.h"
#include "support/TestFolder.h"

#include <gtest/gtest.h>
#include <filesystem>
#include <sys/stat.h>

using namespace fendrel;
namespace fs = std::filesystem;

TEST(ResolveName, EachComponentWhateverItsCase) {
    test::TestFolder folder{false};
    folder.write("Firearms.dtb", "");
    folder.write("rounds.dtb", "");
    fs::create_directories(folder / "YourData");
    fs::create_directories(folder / "helpdocs");
    folder.write("helpdocs/X.CHM", "");
    const std::pair<const char*, fs::path> cases[] = {
        {"firearms.dtb", "Firearms.dtb"}, {"FIREARMS.DTB", "Firearms.dtb"},
        {"Rounds.DTB", "rounds.dtb"}, {"yourdata", "YourData"},
        {"HelpDocs\\x.chm", "helpdocs/X.CHM"}, {"HELPDOCS/X.chm", "helpdocs/X.CHM"},
        {"firearms.tmp", "firearms.tmp"}, {"yourdata\\New Loads.txt", "YourData/New Loads.txt"},
        {"Nope\\File.TXT", "Nope/File.TXT"},
    };
    for (const auto& [name, found] : cases)
        EXPECT_EQ(resolveName(folder.path(), name), folder.path() / found) << name;
}

TEST(ChooseProgramFolder, TheVariableTheExecutablesFolderOrACopyMadeOnce) {
    test::TestFolder root{false};
    const fs::path exe = root / "bin", dataHome = root / "share";
    fs::create_directories(exe / "YourData");
    root.write("bin/calibers.ini", ".308 Winchester\r\n");
    root.write("bin/rounds.dtb", "\"r\"\r\n");
    root.write("bin/YourData/group.grp", "g");
    root.write("bin/fendrel", "\x7F" "ELF");
    fs::permissions(exe / "fendrel", fs::perms::owner_all);
    const fs::path home = root / "elsewhere";
    const std::pair<std::optional<std::string>, fs::path> cases[] = {{home.string(), home},
                                                                     {std::nullopt, exe}};
    for (const auto& [variable, chosen] : cases) {
        const ProgramFolderChoice c = chooseProgramFolder(variable, exe, dataHome);
        EXPECT_EQ(c.folder, chosen);
        EXPECT_TRUE(!c.copiedNow && c.error.empty()) << c.error;
    }
    EXPECT_FALSE(fs::exists(dataHome));

    // A read-only folder is copied once, without the executables. Whether a folder is writable
    // is told by its mode bits, as for an ordinary user: the superuser may write anywhere.
    ::chmod(exe.c_str(), 0555);
    auto userWritable = [](const fs::path& folder) {
        return (fs::status(folder).permissions() & fs::perms::owner_write) != fs::perms::none;
    };
    const auto first = chooseProgramFolder(std::nullopt, exe, dataHome, userWritable);
    EXPECT_EQ(first.folder, dataHome / "fendrel");
    EXPECT_TRUE(first.copiedNow);
    EXPECT_TRUE(first.error.empty()) << first.error;
    EXPECT_EQ(test::entries(dataHome / "fendrel"),
              (std::vector<std::string>{"YourData", "calibers.ini", "rounds.dtb"}));
    EXPECT_TRUE(fs::exists(dataHome / "fendrel" / "YourData" / "group.grp"));
    // The user's copy now holds their records; a later start must not overwrite them.
    root.write("share/fendrel/rounds.dtb", "\"mine\"\r\n");
    const auto second = chooseProgramFolder(std::nullopt, exe, dataHome, userWritable);
    EXPECT_EQ(second.folder, dataHome / "fendrel");
    EXPECT_FALSE(second.copiedNow);
    EXPECT_EQ(root.read("share/fendrel/rounds.dtb"), "\"mine\"\r\n");
    // A failed copy gives a reason.
    root.write("blocked", "a file where the data folder should be");
    const ProgramFolderChoice failed =
        chooseProgramFolder(std::nullopt, exe, root / "blocked", userWritable);
    EXPECT_TRUE(!failed.copiedNow && !failed.error.empty());
    ::chmod(exe.c_str(), 0755); // for the folder's removal
}
