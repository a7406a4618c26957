// The range card's settings and the load history travel in the backup package beside the
// databases; a history that fails its checks is not restored and the current one stays.
#include "../history/HistoryTestData.h"
#include "TestFolder.h"
#include "core/backup/BackupPackage.h"
#include "core/backup/RestorePackage.h"

#include <gtest/gtest.h>

using namespace fendrel;
namespace fs = std::filesystem;

TEST(BackupHistory, SettingsAndHistoryGoAndComeBackWhileTheHistoryIsOpen) {
    test::TestFolder before;
    before.write("rangecard.ini", "drag=G7\r\n");
    auto db = test::openHistory(before.path());
    ASSERT_TRUE(db->addString("Load A", test::velocityString("2024-05-10", {2700, 2710})));
    test::TestFolder outside(false);
    const BackupOrder order{before.path(), outside / "package", true, {}};
    ASSERT_TRUE(makePackage(order).ok()); // the history is open in `db` all along
    EXPECT_TRUE(fs::exists(outside / "package" / "history.sqlite"));

    test::TestFolder after;
    const RestorePlan plan = planRestore(order.packageFolder, after.path());
    EXPECT_EQ(plan.historyRefusal, "");
    ASSERT_TRUE(carryOutRestore(plan, after.path()).ok);
    EXPECT_EQ(after.read("rangecard.ini"), "drag=G7\r\n");
    EXPECT_EQ(test::dump(*test::openHistory(after.path())), test::dump(*db));

    // A damaged history in the package is refused; the current one is kept as it is.
    outside.write("package/history.sqlite", std::string(4096, 'x'));
    const RestorePlan damaged = planRestore(order.packageFolder, after.path());
    EXPECT_NE(damaged.historyRefusal, "");
    ASSERT_TRUE(carryOutRestore(damaged, after.path()).ok);
    EXPECT_EQ(test::dump(*test::openHistory(after.path())), test::dump(*db));
}

// A database that cannot be copied ends the backup, but the settings and the history are in the
// package by then; no hidden copy is left beside them; a folder in the history's place in a
// package is named, not passed over.
TEST(BackupHistory, AMissingDatabaseDoesNotLoseTheHistory) {
    test::TestFolder before;
    before.write("rangecard.ini", "drag=G1\r\n");
    ASSERT_TRUE(test::openHistory(before.path())->addString(
        "Load A", test::velocityString("2024-05-10", {2700})));
    fs::remove(before / "Firearms.dtb");
    test::TestFolder outside(false);
    fs::create_directories(outside / "package");
    outside.write("package/.history.sqlite.part", "left by a backup that was killed");
    BackupOrder order{before.path(), outside / "package", true, {}};
    const BackupResult result = makePackage(order);
    EXPECT_EQ(result.failure, BackupResult::Failure::Copy);
    EXPECT_EQ(test::entries(outside / "package"),
              (std::vector<std::string>{"history.sqlite", "rangecard.ini"}));

    fs::remove(outside / "package" / "history.sqlite");
    fs::create_directory(outside / "package" / "history.sqlite");
    EXPECT_NE(planRestore(order.packageFolder, before.path()).historyRefusal.find("not a file"),
              std::string::npos);
}
