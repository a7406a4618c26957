#include "HistoryTestData.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <map>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

using namespace fendrel;
using namespace fendrel::test;

namespace {

struct Committed {
    std::int64_t id;
    std::int64_t shots;
};

// The writer: adds strings to a few loads as fast as it can and reports each one committed.
[[noreturn]] void writeUntilKilled(const std::filesystem::path& folder, int report, int seed) {
    auto opened = HistoryDatabase::open(folder);
    if (!opened.database)
        _exit(3);
    for (int i = 0;; ++i) {
        std::vector<double> shots(1 + (seed + i) % 25);
        for (size_t k = 0; k < shots.size(); ++k)
            shots[k] = 2600 + static_cast<double>((seed * 31 + i * 7 + k) % 97);
        const auto added = opened.database->addString("Load " + std::to_string(i % 7),
                                                      velocityString("2024-05-10", shots));
        if (!added)
            _exit(4);
        const Committed c{added.value, static_cast<std::int64_t>(shots.size())};
        if (::write(report, &c, sizeof c) != sizeof c)
            _exit(5);
    }
}

} // namespace

TEST(HistoryCrash, AKilledWriterLosesAtMostTheChangeInProgress) {
    TestFolder folder(false);
    std::mt19937 random(1234);
    std::vector<Committed> committed;
    // Each writer is killed after a chosen number of its commits (the first ones while the file
    // is being created), a moment into the next change, however busy the machine is.
    constexpr int kKills = 30;
    for (int kills = 0; kills < kKills; ++kills) {
        int fds[2];
        ASSERT_EQ(::pipe(fds), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(fds[0]);
            writeUntilKilled(folder.path(), fds[1], kills);
        }
        ::close(fds[1]);
        const int waitFor = kills < 5 ? 0 : 1 + static_cast<int>(random() % 6);
        Committed c;
        for (int i = 0; i < waitFor && ::read(fds[0], &c, sizeof c) == sizeof c; ++i)
            committed.push_back(c);
        ::usleep(static_cast<useconds_t>(random() % 3000));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped by itself: " << status;
        while (::read(fds[0], &c, sizeof c) == sizeof c)
            committed.push_back(c);
        ::close(fds[0]);
    }
    EXPECT_GT(committed.size(), 20u);

    auto db = openHistory(folder.path());
    ASSERT_TRUE(db);
    const Status integrity = db->checkIntegrity();
    EXPECT_TRUE(integrity) << integrity.refusal;
    std::map<std::int64_t, std::int64_t> stored;
    for (const LoadSummary& s : db->loads().value)
        for (const VelocityString& v : db->load(s.id).value.strings)
            stored[v.id] = static_cast<std::int64_t>(v.shotsFps.size());
    for (const Committed& c : committed) {
        ASSERT_TRUE(stored.count(c.id)) << "string " << c.id << " was lost";
        EXPECT_EQ(stored[c.id], c.shots) << "string " << c.id;
    }
}
