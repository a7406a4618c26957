// fendrel-calc never writes over the program's own files, never replaces a device, names the
// cause of a failed write without leaving an empty file, and refuses inputs it cannot use.
#include "support/TestFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>

namespace fs = std::filesystem;
using fendrel::test::TestFolder;

namespace {

struct Outcome {
    int status = -1;
    std::string errors;
};

Outcome calc(const std::string& args) {
    const fs::path calc = fs::path(FENDREL_BIN_DIR) / "fendrel-calc";
    EXPECT_TRUE(fs::exists(calc)) << "fendrel-calc is not built";
    const fs::path err = fs::temp_directory_path() / ("fendrel-cli-" + std::to_string(::getpid()));
    const int status = std::system((calc.string() + " " + args + " >/dev/null 2>'" +
                                    err.string() + "' </dev/null")
                                       .c_str());
    std::ifstream in(err);
    std::stringstream text;
    text << in.rdbuf();
    fs::remove(err);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, text.str()};
}

std::string shellArg(const fs::path& p) { return "'" + p.string() + "'"; }

const char* const kRound = "\"R\",\".308 Winchester\",\"150\",\".4\",\".226\",\"\",\"spitzer\",\"\","
                           "\"45\",\"2700\",\"CCI 200 \"Lot 7, box 2\"\",\"\",\"\",\"\",\"\",\"\","
                           "\"\",\"8\"\r\n";

} // namespace

TEST(CommandLineFiles, TheProgramsOwnFilesAreNeverOutputs) {
    TestFolder folder;
    folder.write("rounds.dtb", std::string(kRound) + kRound);
    const std::string common = " --program-folder " + shellArg(folder.path());
    fs::create_symlink(folder / "Firearms.dtb", folder / "YourData" / "innocent.csv");
    const std::string before = folder.read("Firearms.dtb");
    for (const std::string name : {"rounds.dtb", "FIREARMS.DTB", "parameters.ini", "Lastpath.dat",
                                   "editlist.txt", "DragG1.txt", "YourData/innocent.csv"}) {
        const Outcome o = calc("ballistics --round 0 --style-answer 3 --output " +
                               shellArg(folder / name) + common);
        EXPECT_EQ(o.status, 1) << name;
        EXPECT_NE(o.errors.find("own files"), std::string::npos) << o.errors;
        const Outcome s = calc("stability --caliber .308 --velocity 2700 --twist 10 --save " +
                               shellArg(folder / name) + common);
        EXPECT_EQ(s.status, 1) << name;
    }
    EXPECT_EQ(folder.read("Firearms.dtb"), before);
    EXPECT_EQ(folder.read("rounds.dtb"), std::string(kRound) + kRound);
    EXPECT_TRUE(fs::is_symlink(folder / "YourData" / "innocent.csv"));

    // The same round reads alike here and in the workbench: the quote in the primer field ends
    // it and shifts the fields after it, so the firearm weight is "" and the run stops.
    const Outcome shifted =
        calc("ballistics --round 0 --style-answer 3 --output " +
             shellArg(folder / "YourData" / "out.csv") + common);
    EXPECT_EQ(shifted.status, 1);
    EXPECT_NE(shifted.errors.find("firearm weight is 0"), std::string::npos) << shifted.errors;
}

TEST(CommandLineFiles, AFailedWriteNamesItsCauseAndLeavesNoFile) {
    TestFolder folder;
    folder.write("rounds.dtb", "\"R\",\".308 Winchester\",\"150\",\".4\",\".226\",\"\",\"spitzer\","
                               "\"\",\"45\",\"2700\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"8\"\r\n");
    const std::string common = " --round 0 --style-answer 3 --program-folder " +
                                shellArg(folder.path());
    const Outcome full = calc("ballistics --output /dev/full" + common);
    EXPECT_EQ(full.status, 1);
    EXPECT_NE(full.errors.find("not a plain file"), std::string::npos) << full.errors;
    EXPECT_TRUE(fs::is_character_file("/dev/full"));

    const fs::path missing = folder / "no such folder" / "out.csv";
    const Outcome gone = calc("ballistics --output " + shellArg(missing) + common);
    EXPECT_EQ(gone.status, 1);
    EXPECT_NE(gone.errors.find("No such file or directory"), std::string::npos) << gone.errors;
    EXPECT_FALSE(fs::exists(missing.parent_path()));

    const Outcome html = calc("report --html /dev/full " + shellArg(folder / "none.csv"));
    EXPECT_NE(html.status, 0);
}

TEST(CommandLineFiles, InputsAndOptionsItCannotUseAreRefusedQuickly) {
    TestFolder folder;
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(::mkfifo((folder / "pipe.grp").c_str(), 0600), 0);
    for (const std::string input : {std::string("/dev/zero"), (folder / "pipe.grp").string()}) {
        const Outcome o = calc("group " + shellArg(input) + " --program-folder " +
                               shellArg(folder.path()));
        EXPECT_EQ(o.status, 1) << input;
        EXPECT_NE(o.errors.find("not a plain file"), std::string::npos) << o.errors;
    }
    // A FIFO in place of the database, and an option given twice.
    fs::remove(folder / "rounds.dtb");
    ASSERT_EQ(::mkfifo((folder / "rounds.dtb").c_str(), 0600), 0);
    const Outcome fifo = calc("ballistics --round 0 --output " + shellArg(folder / "o.csv") +
                              " --program-folder " + shellArg(folder.path()));
    EXPECT_EQ(fifo.status, 1);
    EXPECT_NE(fifo.errors.find("rounds.dtb cannot be read"), std::string::npos) << fifo.errors;
    const Outcome twice = calc("stability --caliber .308 --caliber .30 --velocity 2700 --twist 10");
    EXPECT_EQ(twice.status, 2);
    EXPECT_NE(twice.errors.find("given twice"), std::string::npos);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
}
