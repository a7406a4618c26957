// Finding the program folder and its files whatever the case of their names.
#include "core/common/ProgramFolder.h"
#include "support/TestFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

using namespace fendrel;
namespace fs = std::filesystem;

namespace {


} // namespace

// ---------------------------------------------------------------------------------------------
// Names without regard to case

class ResolveName : public ::testing::Test {
protected:
    test::TestFolder folder{false};
    void SetUp() override {
        folder.write("Firearms.dtb", "");
        folder.write("rounds.dtb", "");
        fs::create_directory(folder / "YourData");
        fs::create_directory(folder / "helpdocs");
        folder.write("helpdocs/X.CHM", "");
    }
};

TEST_F(ResolveName, FindsTheEntryThatExistsWhateverItsCase) {
    EXPECT_EQ(resolveName(folder.path(), "firearms.dtb"), folder / "Firearms.dtb");
    EXPECT_EQ(resolveName(folder.path(), "FIREARMS.DTB"), folder / "Firearms.dtb");
    EXPECT_EQ(resolveName(folder.path(), "Firearms.dtb"), folder / "Firearms.dtb");
    EXPECT_EQ(resolveName(folder.path(), "Rounds.DTB"), folder / "rounds.dtb");
    EXPECT_EQ(resolveName(folder.path(), "yourdata"), folder / "YourData");
}

TEST_F(ResolveName, EachComponentOfAPathIsResolvedWithEitherSeparator) {
    const fs::path want = folder / "helpdocs" / "X.CHM";
    EXPECT_EQ(resolveName(folder.path(), "HelpDocs\\x.chm"), want);
    EXPECT_EQ(resolveName(folder.path(), "HelpDocs/x.chm"), want);
    EXPECT_EQ(resolveName(folder.path(), "HELPDOCS\\X.chm"), want);
}

TEST_F(ResolveName, MissingNamesAreKeptAsWritten) {
    EXPECT_EQ(resolveName(folder.path(), "firearms.tmp"), folder / "firearms.tmp");
    EXPECT_EQ(resolveName(folder.path(), "yourdata\\New Loads.txt"),
              folder / "YourData" / "New Loads.txt");
    EXPECT_EQ(resolveName(folder.path(), "Nope\\File.TXT"), folder / "Nope" / "File.TXT");
}

// ---------------------------------------------------------------------------------------------
// Where the program folder is

class ChooseProgramFolder : public ::testing::Test {
protected:
    test::TestFolder root{false};
    fs::path exe = root / "bin";
    fs::path dataHome = root / "share";

    void SetUp() override {
        fs::create_directories(exe / "YourData");
        root.write("bin/calibers.ini", ".308 Winchester\r\n");
        root.write("bin/rounds.dtb", "\"r\"\r\n");
        root.write("bin/YourData/group.grp", "g");
        root.write("bin/fendrel", "\x7F" "ELF");
        fs::permissions(exe / "fendrel", fs::perms::owner_all | fs::perms::group_read |
                                             fs::perms::group_exec | fs::perms::others_read |
                                             fs::perms::others_exec);
    }
    void TearDown() override { ::chmod(exe.c_str(), 0755); }

    void makeExeFolderReadOnly() { ::chmod(exe.c_str(), 0555); }
    // Whether a folder is writable by its mode bits, as it is for an ordinary user (the
    // superuser may write anywhere, so the process's own permission would not tell).
    static bool userWritable(const fs::path& folder) {
        return (fs::status(folder).permissions() & fs::perms::owner_write) != fs::perms::none;
    }
};

TEST_F(ChooseProgramFolder, TheEnvironmentVariableComesFirst) {
    const fs::path home = root / "elsewhere";
    const ProgramFolderChoice c = chooseProgramFolder(home.string(), exe, dataHome);
    EXPECT_EQ(c.folder, home);
    EXPECT_FALSE(c.copiedNow);
    EXPECT_TRUE(c.error.empty());
    EXPECT_FALSE(fs::exists(dataHome));
}

TEST_F(ChooseProgramFolder, AWritableExecutableFolderServesItself) {
    const ProgramFolderChoice c = chooseProgramFolder(std::nullopt, exe, dataHome);
    EXPECT_EQ(c.folder, exe);
    EXPECT_FALSE(c.copiedNow);
    EXPECT_TRUE(c.error.empty());
    EXPECT_FALSE(fs::exists(dataHome));
}

TEST_F(ChooseProgramFolder, AReadOnlyFolderIsCopiedOnceWithoutTheExecutables) {
    makeExeFolderReadOnly();

    const ProgramFolderChoice first =
        chooseProgramFolder(std::nullopt, exe, dataHome, userWritable);
    EXPECT_EQ(first.folder, dataHome / "fendrel");
    EXPECT_TRUE(first.copiedNow);
    EXPECT_TRUE(first.error.empty()) << first.error;
    EXPECT_TRUE(fs::exists(dataHome / "fendrel" / "calibers.ini"));
    EXPECT_TRUE(fs::exists(dataHome / "fendrel" / "rounds.dtb"));
    EXPECT_TRUE(fs::exists(dataHome / "fendrel" / "YourData" / "group.grp"));
    EXPECT_FALSE(fs::exists(dataHome / "fendrel" / "fendrel"));

    // The user's copy now holds their records; a later start must not overwrite them.
    root.write("share/fendrel/rounds.dtb", "\"mine\"\r\n");
    const ProgramFolderChoice second =
        chooseProgramFolder(std::nullopt, exe, dataHome, userWritable);
    EXPECT_EQ(second.folder, dataHome / "fendrel");
    EXPECT_FALSE(second.copiedNow);
    EXPECT_EQ(root.read("share/fendrel/rounds.dtb"), "\"mine\"\r\n");
}

TEST_F(ChooseProgramFolder, AFailedCopyGivesAReason) {
    makeExeFolderReadOnly();
    root.write("share", "a file where the data folder should be");
    const ProgramFolderChoice c = chooseProgramFolder(std::nullopt, exe, dataHome, userWritable);
    EXPECT_FALSE(c.copiedNow);
    EXPECT_FALSE(c.error.empty());
}
