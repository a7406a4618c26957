#include "core/backup/BackupPackage.h"
#include "core/backup/RestorePackage.h"
#include "support/TestFolder.h"

#include <gtest/gtest.h>
#include <filesystem>

using namespace fendrel;
namespace fs = std::filesystem;

namespace {
using Names = std::vector<std::string>;

using test::entries;

const std::string kGun = "\"Maker\",\"M1\",\"1990\",\"SN\",\"24\",\"8\"\r\n";

// A program folder as an installation leaves it: empty databases and an empty YourData.
struct FreshInstall : test::TestFolder {
    FreshInstall() : TestFolder(false) {
        write("Firearms.dtb", "");
        write("rounds.dtb", "");
        fs::create_directory(path() / "YourData");
    }
};
} // namespace

TEST(Restore, WhatIsCopiedWhereAndWhenItStops) {
    FreshInstall install;
    install.write("YourData/Loads.CSV", "old");
    test::TestFolder package(false);
    for (const char* name :
         {"FIREARMS.DTB", "b.grp", "z.txt", "two.HTML", "one.htm", "loads.csv", "skip.doc"})
        package.write(name, name);
    package.write("FIREARMS.DTB", kGun);
    EXPECT_EQ(packageDataFiles(package.path()),
              (Names{"loads.csv", "one.htm", "two.HTML", "z.txt", "b.grp"}));
    ASSERT_TRUE(restorePackage(package.path(), install.path()).ok);
    EXPECT_EQ(entries(install.path()), (Names{"Firearms.dtb", "YourData", "rounds.dtb"}));
    EXPECT_EQ(install.read("Firearms.dtb"), kGun);
    EXPECT_EQ(entries(install / "YourData"),
              (Names{"Loads.CSV", "b.grp", "one.htm", "two.HTML", "z.txt"}));
    EXPECT_EQ(install.read("YourData/Loads.CSV"), "loads.csv");
    // A failure stops the restore and keeps what was copied.
    FreshInstall fresh;
    fs::create_directory(fresh / "YourData" / "b.csv"); // a folder where b.csv would go
    test::TestFolder broken(false);
    for (const char* name : {"firearms.dtb", "a.csv", "b.csv", "c.csv"})
        broken.write(name, name);
    broken.write("firearms.dtb", kGun);
    const RestoreResult r = restorePackage(broken.path(), fresh.path());
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.path, (broken / "b.csv").string());
    EXPECT_EQ(r.copied, 2u);
    EXPECT_EQ(fresh.read("Firearms.dtb"), kGun);
    EXPECT_EQ(entries(fresh / "YourData"), (Names{"a.csv", "b.csv"}));
    // Group files only leave the databases alone; unusable packages fail.
    FreshInstall plain;
    plain.write("Firearms.dtb", "guns\r\n");
    test::TestFolder groups(false);
    groups.write("Group1.grp", "g1");
    groups.write("Group2.GRP", "g2");
    const RestoreResult done = restorePackage(groups.path(), plain.path());
    ASSERT_TRUE(done.ok) << done.reason;
    EXPECT_EQ(plain.read("Firearms.dtb"), "guns\r\n");
    EXPECT_EQ(plain.read("rounds.dtb"), "");
    EXPECT_EQ(entries(plain / "YourData"), (Names{"Group1.grp", "Group2.GRP"}));

    EXPECT_EQ(restorePackage("", plain.path()).reason, "No package folder was given");
    EXPECT_EQ(restorePackage(plain / "nowhere", plain.path()).reason,
              "The folder does not exist");
    EXPECT_EQ(restorePackage(plain / "rounds.dtb", plain.path()).reason, "It is not a folder");
    // A chosen file gives its folder, without a separator at the end.
    EXPECT_EQ(folderOfChosenFile("/home/ann/Files 5/rounds.dtb"), "/home/ann/Files 5");
    EXPECT_EQ(folderOfChosenFile("/rounds.dtb"), "/");
}

TEST(Restore, ThePackageIsCheckedBeforeAnythingIsCopied) {
    FreshInstall install;
    install.write("rounds.dtb", "\"kept\",\".308\",\"1\",\"2\",\"3\",\"4\",\"5\",\"6\",\"7\","
                                "\"8\",\"9\",\"10\",\"11\",\"12\",\"13\",\"14\",\"15\",\"16\"\r\n");
    const std::string current = install.read("rounds.dtb");
    test::TestFolder package(false);
    package.write("Loads.csv", "1");
    package.write("loads.CSV", "2");
    RestorePlan plan = planRestore(package.path(), install.path());
    EXPECT_EQ(plan.clashes, (Names{"Loads.csv", "loads.CSV"}));
    EXPECT_FALSE(restorePackage(package.path(), install.path()).ok);
    EXPECT_TRUE(entries(install / "YourData").empty());

    // A binary firearms file and an empty rounds.dtb are doubted; the rest goes on without them.
    fs::remove(package / "loads.CSV");
    package.write("firearms.dtb", std::string("\0\x01binary", 8));
    package.write("rounds.dtb", "");
    plan = planRestore(package.path(), install.path());
    ASSERT_EQ(plan.doubts.size(), 2u);
    EXPECT_NE(plan.doubts[0].reason.find("NUL"), std::string::npos);
    EXPECT_NE(plan.doubts[1].reason.find("holds 1 record"), std::string::npos);
    ASSERT_TRUE(carryOutRestore(plan, install.path(), {"firearms.dtb", "rounds.dtb"}).ok);
    EXPECT_EQ(install.read("rounds.dtb"), current);
    EXPECT_EQ(install.read("Firearms.dtb"), "");
    EXPECT_EQ(install.read("YourData/Loads.csv"), "1");
    // Confirmed, the empty database replaces the current one.
    ASSERT_TRUE(carryOutRestore(plan, install.path(), {"firearms.dtb"}).ok);
    EXPECT_EQ(install.read("rounds.dtb"), "");
}

TEST(Restore, RoundTripIsByteIdentical) {
    test::TestFolder before(false);
    fs::copy(test::fixture("backup/sample"), before.path(), fs::copy_options::recursive);
    test::TestFolder outside(false);
    const BackupOrder order{before.path(), outside / "FendrelFiles 45123.45", true,
                            packageDataFiles(before / "YourData")};
    ASSERT_EQ(order.files.size(), 5u); // notes.doc is no data file
    ASSERT_TRUE(makePackage(order).ok());

    FreshInstall after;
    const RestoreResult r = restorePackage(order.packageFolder, after.path());
    ASSERT_TRUE(r.ok) << r.path << ": " << r.reason;
    EXPECT_EQ(entries(after.path()), (Names{"Firearms.dtb", "YourData", "rounds.dtb"}));
    EXPECT_EQ(after.read("Firearms.dtb"), before.read("Firearms.dtb"));
    EXPECT_EQ(after.read("rounds.dtb"), before.read("rounds.dtb"));
    EXPECT_EQ(entries(after / "YourData"), (Names{"Group1.GRP", "Loads 2023.csv", "Report.HTM",
                                                  "coyote.html", "stability.txt"}));
    for (const std::string& name : order.files)
        EXPECT_EQ(after.read("YourData/" + name), before.read("YourData/" + name)) << name;
}
