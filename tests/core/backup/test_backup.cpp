#include "core/backup/BackupPackage.h"
#include "support/TestFolder.h"

#include <gtest/gtest.h>
#include <filesystem>

using namespace fendrel;
namespace fs = std::filesystem;

namespace {
using Names = std::vector<std::string>;

using test::entries;

std::string block(const std::string& folder) {
    return "The location of your RESTORE BACKUP PACKAGE is: \r\n" + folder +
           "\r\n[Copy and paste the above line into Fendrel when prompted, see step 3, below].\r\n"
           "1. Uninstall your current version of Fendrel.\r\n"
           "2. Install your upgraded version of Fendrel.\r\n"
           "3. Use FILE---RESTORE BACKUP PACKAGE\r\n"
           "4. You may then delete this filem and the RESTORE PACKAGE folder at this point.\r\n";
}

// A program folder holding the sample databases and user data files.
struct Sample : test::TestFolder {
    Sample() : TestFolder(false) {
        fs::copy(test::fixture("backup/sample"), path(), fs::copy_options::recursive);
    }
    BackupOrder order(const std::string& package) const {
        return {path(), path() / package, false, {}};
    }
};
} // namespace

TEST(Package, ListingCopyingTheListTheDefaultFolderAndWhatAPackageHolds) {
    test::TestFolder f(false);
    for (const char* name : {"b.csv", "A.CSV", "c.csv.Csv", "d.csv.bak", ".hidden.csv"})
        f.write(name, "x");
    fs::create_directory(f / "folder.csv");
    EXPECT_EQ(listFiles(f.path(), "*.csv"), (Names{"A.CSV", "b.csv", "c.csv.Csv"}));
    EXPECT_EQ(listFiles(f.path(), "?.CSV"), (Names{"A.CSV", "b.csv"}));
    std::string error;
    EXPECT_TRUE(listFiles(f / "nowhere", "*.csv", &error).empty());
    EXPECT_FALSE(error.empty());

    // A failed copy leaves the target and no temporary.
    test::TestFolder g(false);
    g.write("target.csv", "keep me");
    g.write("source.csv", "bytes");
    fs::create_directory(g / "dir.csv");
    EXPECT_EQ(copyReplacing(g / "missing.csv", g / "target.csv"), "The file does not exist");
    EXPECT_NE(copyReplacing(g / "source.csv", g / "dir.csv"), ""); // no file over a folder
    EXPECT_EQ(g.read("target.csv"), "keep me");
    EXPECT_EQ(entries(g.path()), (Names{"dir.csv", "source.csv", "target.csv"}));
    // Copying a file onto itself keeps it whole.
    EXPECT_EQ(copyReplacing(g / "source.csv", g / "source.csv"), "");
    EXPECT_EQ(g.read("source.csv"), "bytes");
    // The backup list: duplicates stay, adjacent selected entries go.
    BackupList list;
    list.addSelected({"a", "b", "c"}, {true, false, true});
    list.addSelected({"a", "b", "c"}, {true, false, false});
    EXPECT_EQ(list.names(), (Names{"a", "c", "a"}));
    list.addSelected({"d", "e"}, {true, true});
    list.removeSelected({false, true, true, true, false});
    EXPECT_EQ(list.names(), (Names{"a", "e"}));
    // The default package folder is in the home folder, named with the printed seconds.
    EXPECT_EQ(defaultPackageFolder("/home/ann", 45123.45), "/home/ann/FendrelFiles 45123.45");
    EXPECT_EQ(defaultPackageFolder("/home/ann", 45123.4567), "/home/ann/FendrelFiles 45123.46");
    EXPECT_EQ(defaultPackageFolder("/home/ann", 0.5), "/home/ann/FendrelFiles .5");
    EXPECT_EQ(packageFolderPath("~/pkg", "/home/ann"), fs::path("/home/ann/pkg"));
    EXPECT_EQ(packageFolderPath("pkg", "/home/ann"), fs::path("/home/ann/pkg"));
    EXPECT_EQ(packageFolderPath("", "/home/ann"), fs::path());

    // A package holds what was chosen; a failure stops it.
    Sample s;
    fs::create_directory(s / "pkg");
    s.write("pkg/FIREARMS.DTB", "old");
    BackupOrder order = s.order("pkg");
    order.databases = true;
    order.files = {"Group1.GRP", "Loads 2023.csv", "Group1.GRP"};
    std::vector<size_t> done;
    const BackupResult r = makePackage(order, [&](size_t d, size_t total) {
        EXPECT_EQ(total, 5u);
        done.push_back(d);
    });
    ASSERT_TRUE(r.ok()) << r.reason;
    EXPECT_EQ(done, (std::vector<size_t>{1, 2, 3, 4, 5}));
    // An existing package file is replaced whatever the case of its name.
    EXPECT_EQ(entries(s / "pkg"),
              (Names{"FIREARMS.DTB", "Group1.GRP", "Loads 2023.csv", "rounds.dtb"}));
    EXPECT_EQ(s.read("pkg/FIREARMS.DTB"), s.read("Firearms.dtb"));
    EXPECT_EQ(s.read("pkg/Group1.GRP"), s.read("YourData/Group1.GRP"));
    // Failures stop and keep what was copied.
    Sample t;
    BackupResult failed = makePackage(t.order("missing/pkg")); // one level deep only
    EXPECT_EQ(failed.failure, BackupResult::Failure::Folder);
    EXPECT_EQ(failed.path, (t / "missing/pkg").string());
    EXPECT_FALSE(fs::exists(t / "missing"));

    order = t.order("pkg");
    order.files = {"stability.txt", "gone.csv", "Report.HTM"};
    failed = makePackage(order);
    EXPECT_EQ(failed.failure, BackupResult::Failure::Copy);
    EXPECT_EQ(failed.path, (t / "YourData/gone.csv").string());
    EXPECT_EQ(failed.copied, 1u);
    EXPECT_EQ(entries(t / "pkg"), Names{"stability.txt"});
    // Nothing chosen still creates the folder.
    ASSERT_TRUE(makePackage(t.order("empty")).ok());
    EXPECT_TRUE(entries(t / "empty").empty());
    // Each backup appends seven lines in windows-1252 to the read-me on the desktop.
    test::TestFolder desk(false);
    desk.write("Fendrel_ReadMe.txt", "earlier\r\n");
    ASSERT_EQ(appendReadme(desk.path(), "/home/ann/FendrelFiles 45123.45"), "");
    ASSERT_EQ(appendReadme(desk.path(), "/media/usb/Caf\xc3\xa9"), "");
    EXPECT_EQ(entries(desk.path()), Names{"Fendrel_ReadMe.txt"});
    EXPECT_EQ(desk.read("Fendrel_ReadMe.txt"), "earlier\r\n" +
                                                   block("/home/ann/FendrelFiles 45123.45") +
                                                   block("/media/usb/Caf\xe9"));
}

