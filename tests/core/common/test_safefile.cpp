// Reading inputs whole and replacing the files a user keeps: never half written, never through a
// planted link, never over a device, the mode kept, and always the old or the new file after a
// crash.
#include "core/common/SafeFile.h"
#include "core/common/TextFile.h"
#include "support/TestFolder.h"

#include <gtest/gtest.h>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <random>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace fendrel;
namespace fs = std::filesystem;

class SafeFile : public ::testing::Test {
protected:
    test::TestFolder folder{false};

    std::vector<std::string> entries() const { return test::entries(folder.path()); }
};

namespace {
size_t openDescriptors() {
    return static_cast<size_t>(std::distance(fs::directory_iterator("/proc/self/fd"), {}));
}

struct FailAt : WriteFaults {
    WriteStep step;
    explicit FailAt(WriteStep s) : step(s) {}
    bool failAt(WriteStep s) override { return s == step; }
};
} // namespace

TEST_F(SafeFile, ReplacesWholeOrLeavesTheOldFileAndNothingElse) {
    const fs::path target = folder / "rounds.dtb";
    const std::string bytes("\"new\",\"x\"\r\n\0\xB0", 14);
    for (const std::string& b : {std::string("\"old\"\r\n"), bytes, std::string()}) {
        EXPECT_TRUE(replaceFile(target, b).ok());
        EXPECT_EQ(readFileBytes(target), b);
    }
    EXPECT_EQ(entries(), (std::vector<std::string>{"rounds.dtb"}));
    EXPECT_EQ(readFileBytes(folder / "missing.dat"), std::nullopt);

    EXPECT_EQ(appendByReplacing(folder / "log.txt", "a\r\n").refusal, "");
    EXPECT_EQ(appendByReplacing(folder / "log.txt", "b\r\n").refusal, "");
    EXPECT_EQ(folder.read("log.txt"), "a\r\nb\r\n");
    // Failures leave the old file, no temporary and no open descriptor.
    folder.write("Firearms.dtb", "\"keep\"\r\n");
    const size_t before = openDescriptors();
    for (WriteStep step : {WriteStep::CreateTemporary, WriteStep::Write, WriteStep::Sync,
                           WriteStep::Rename}) {
        FailAt fault(step);
        EXPECT_FALSE(replaceFile(folder / "Firearms.dtb", "\"lost\"\r\n", &fault).ok());
        EXPECT_EQ(folder.read("Firearms.dtb"), "\"keep\"\r\n");
        EXPECT_EQ(entries(), (std::vector<std::string>{"Firearms.dtb", "log.txt", "rounds.dtb"}));
    }
    EXPECT_EQ(openDescriptors(), before);

    // A missing folder, and a name taken by a folder, give a reason and change nothing.
    const Status missing = replaceFile(folder / "nowhere" / "x.dtb", "x");
    EXPECT_EQ(missing.code, ENOENT);
    fs::create_directory(folder / "taken");
    EXPECT_FALSE(replaceFile(folder / "taken", "bytes").ok());
    EXPECT_TRUE(fs::is_directory(folder / "taken"));
    EXPECT_EQ(entries(),
              (std::vector<std::string>{"Firearms.dtb", "log.txt", "rounds.dtb", "taken"}));
}

TEST_F(SafeFile, ModeLinksAndDevices) {
    folder.write("rounds.dtb", "old");
    ::chmod((folder / "rounds.dtb").c_str(), 0600);
    ASSERT_TRUE(replaceFile(folder / "rounds.dtb", "new").ok());
    EXPECT_EQ(fs::status(folder / "rounds.dtb").permissions(), fs::perms(0600));

    // A database kept elsewhere through a link: the link stays, its target changes.
    fs::create_directory(folder / "elsewhere");
    folder.write("elsewhere/real.dtb", "old");
    fs::create_symlink("elsewhere/real.dtb", folder / "linked.dtb");
    ASSERT_TRUE(replaceFile(folder / "linked.dtb", "through").ok());
    EXPECT_TRUE(fs::is_symlink(folder / "linked.dtb"));
    EXPECT_EQ(folder.read("elsewhere/real.dtb"), "through");

    // A dangling link names the file to create.
    fs::create_symlink("elsewhere/new.dtb", folder / "dangling.dtb");
    ASSERT_TRUE(replaceFile(folder / "dangling.dtb", "made").ok());
    EXPECT_EQ(folder.read("elsewhere/new.dtb"), "made");

    // A device or a pipe is never replaced by a plain file.
    EXPECT_FALSE(replaceFile("/dev/null", "x").ok());
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
    ASSERT_EQ(::mkfifo((folder / "pipe.dtb").c_str(), 0600), 0);
    EXPECT_FALSE(replaceFile(folder / "pipe.dtb", "x").ok());
    EXPECT_TRUE(fs::is_fifo(folder / "pipe.dtb"));
}

// A run's output file, replaced at every step: each stage whole, a hard link elsewhere never
// written through, the mode kept, and no temporary file left.
TEST_F(SafeFile, StagesReplaceWholeAndLeaveNoTemporary) {
    folder.write("run.csv", "users old run");
    ::chmod((folder / "run.csv").c_str(), 0640);
    ::link((folder / "run.csv").c_str(), (folder / "kept.csv").c_str());
    {
        StagedFile file(folder / "run.csv");
        for (const std::string stage : {"one\r\n", "one\r\ntwo\r\n", "x\r\n", "x\r\ny\r\nz\r\n"}) {
            ASSERT_TRUE(file.replace(stage).ok());
            EXPECT_EQ(folder.read("run.csv"), stage);
        }
        EXPECT_TRUE(file.finish().ok());
    }
    EXPECT_EQ(folder.read("kept.csv"), "users old run");
    EXPECT_EQ(entries(), (std::vector<std::string>{"kept.csv", "run.csv"}));
    EXPECT_EQ(fs::status(folder / "run.csv").permissions(), fs::perms(0640));
    { // a run that stops half-way leaves its last stage and no spare copy
        StagedFile file(folder / "new.csv");
        ASSERT_TRUE(file.replace("a").ok());
        ASSERT_TRUE(file.replace("ab").ok());
    }
    EXPECT_EQ(folder.read("new.csv"), "ab");
    EXPECT_EQ(entries(), (std::vector<std::string>{"kept.csv", "new.csv", "run.csv"}));
    StagedFile device("/dev/null");
    EXPECT_FALSE(device.replace("x").ok());
}

TEST_F(SafeFile, OddOrBigInputsAreRefusedAndTheLockMakesWritersWait) {
    ASSERT_EQ(::mkfifo((folder / "rounds.dtb").c_str(), 0600), 0);
    Status error;
    // Refused without waiting for a writer (a wait would hang the test).
    EXPECT_FALSE(readInputFile(folder / "rounds.dtb", kDefaultInputLimit, &error));
    EXPECT_FALSE(error.refusal.empty());
    EXPECT_FALSE(readInputFile("/dev/zero", kDefaultInputLimit, &error));
    EXPECT_FALSE(readInputFile(folder.path(), kDefaultInputLimit, &error));
    folder.write("big.csv", std::string(100, 'x'));
    EXPECT_FALSE(readInputFile(folder / "big.csv", 99, &error));
    EXPECT_EQ(readInputFile(folder / "big.csv", 100)->size(), 100u);
    // The data lock keeps a second writer waiting.
    auto first = DataLock::acquire(folder.path(), std::chrono::milliseconds(0));
    ASSERT_TRUE(first);
    EXPECT_FALSE(DataLock::acquire(folder.path(), std::chrono::milliseconds(50), &error));
    EXPECT_NE(error.refusal.find("another copy"), std::string::npos);
    first.reset();
    EXPECT_TRUE(DataLock::acquire(folder.path(), std::chrono::milliseconds(0)));
}

TEST_F(SafeFile, AWriterKilledAtAnyMomentLeavesTheOldOrTheNewFile) {
    // Two large versions alternate; whenever the writer dies, the file is one of them whole.
    const std::string a(300000, 'a'), b(200000, 'b');
    const fs::path target = folder / "rounds.dtb";
    ASSERT_TRUE(replaceFile(target, a).ok());
    std::mt19937 rng(7);
    for (int trial = 0; trial < 25; ++trial) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int i = 0;; ++i)
                (void)replaceFile(target, i % 2 ? a : b);
        }
        ::usleep(static_cast<useconds_t>(rng() % 20000));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        const auto now = readFileBytes(target);
        ASSERT_TRUE(now);
        ASSERT_TRUE(*now == a || *now == b) << "trial " << trial << ": " << now->size() << " bytes";
    }
}

