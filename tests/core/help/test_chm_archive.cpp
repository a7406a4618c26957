// Reading the compiled help file: what comes out is what went in.
#include "core/help/ChmArchive.h"
#include "TestFolder.h"
#include "core/common/TextFile.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace fendrel;

namespace {
fs::path builtHelpFile() { return fs::path(FENDREL_BIN_DIR) / "HelpDocs" / "HELP-Fendrel.chm"; }
} // namespace

TEST(ChmArchive, WhatComesOutIsWhatWentIn) {
    const fs::path sources = fs::path(FENDREL_DATA_DIR).parent_path() / "help";
    ChmArchive archive;
    ASSERT_TRUE(archive.open(builtHelpFile()));
    for (const char* name : {"welcome.htm", "help.css", "images/bearing.png"}) {
        const auto stored = archive.read(std::string("/") + name);
        EXPECT_TRUE(stored && *stored == readFileBytes(sources / name)) << name;
    }
    EXPECT_TRUE(archive.read("/WELCOME.HTM").has_value()); // names inside ignore case
    EXPECT_FALSE(archive.read("/no-such-page.htm").has_value());
    EXPECT_FALSE(archive.read(std::string(2000, 'a')).has_value());
    for (const auto& f : archive.files()) // ordinary files only
        EXPECT_TRUE(f.back() != '/' && f.rfind("/#", 0) != 0 && f.rfind("/$", 0) != 0) << f;
    const HelpBook book = readHelpBook(archive.readAll());
    EXPECT_EQ(book.startPage, "/welcome.htm");
    EXPECT_TRUE(book.contents.size() > 20 && book.index.size() > 50);

    // Files that are not help files do not open.
    test::TestFolder folder(false);
    EXPECT_FALSE(archive.open(folder / "missing.chm")); // and the open one is closed
    EXPECT_FALSE(archive.isOpen());
    EXPECT_FALSE(archive.read("/welcome.htm").has_value());
    folder.write("empty.chm", "");
    EXPECT_FALSE(archive.open(folder / "empty.chm"));
    folder.write("text.chm", std::string(5000, 'x'));
    EXPECT_FALSE(archive.open(folder / "text.chm"));
    EXPECT_FALSE(archive.open(folder.path()));
    EXPECT_TRUE(archive.files().empty());
    // A help file cut short may open; reading it must not break anything.
    const auto whole = readFileBytes(builtHelpFile());
    folder.write("cut.chm", whole->substr(0, whole->size() / 3));
    EXPECT_TRUE(!archive.open(folder / "cut.chm") ||
                archive.readAll().size() <= archive.files().size() + 1);
}
