// Reading the compiled help file: what comes out is what went in.
#include "help/ChmArchive.h"

#include "TestFolder.h"
#include "app/TextFile.h"

#include <QtTest>

namespace fs = std::filesystem;
using namespace fendrel;

namespace {
fs::path builtHelpFile() {
    return fs::path(FENDREL_BIN_DIR) / "HelpDocs" / "HELP-Fendrel.chm";
}
} // namespace

class tst_ChmArchive : public QObject {
    Q_OBJECT
private slots:
    void pagesAndPicturesComeOutAsWritten() {
        const fs::path sources = fs::path(FENDREL_DATA_DIR).parent_path() / "help";
        ChmArchive archive;
        QVERIFY(archive.open(builtHelpFile()));
        for (const char* name : {"welcome.htm", "help.css", "images/bearing.png"}) {
            const auto stored = archive.read(std::string("/") + name);
            QVERIFY2(stored && *stored == readFileBytes(sources / name), name);
        }
        QVERIFY(archive.read("/WELCOME.HTM").has_value()); // names inside ignore case
        QVERIFY(!archive.read("/no-such-page.htm").has_value());
        QVERIFY(!archive.read(std::string(2000, 'a')).has_value());

        for (const auto& f : archive.files()) // ordinary files only
            QVERIFY2(f.back() != '/' && f.rfind("/#", 0) != 0 && f.rfind("/$", 0) != 0, f.c_str());
        const HelpBook book = readHelpBook(archive.readAll());
        QCOMPARE(book.startPage, std::string("/welcome.htm"));
        QVERIFY(book.contents.size() > 20 && book.index.size() > 50);
    }

    void filesThatAreNotHelpFilesDoNotOpen() {
        test::TestFolder folder(false);
        ChmArchive archive;
        QVERIFY(archive.open(builtHelpFile()));
        QVERIFY(!archive.open(folder / "missing.chm")); // and the open one is closed
        QVERIFY(!archive.isOpen());
        QVERIFY(!archive.read("/welcome.htm").has_value());
        folder.write("empty.chm", "");
        QVERIFY(!archive.open(folder / "empty.chm"));
        folder.write("text.chm", std::string(5000, 'x'));
        QVERIFY(!archive.open(folder / "text.chm"));
        QVERIFY(!archive.open(folder.path()));
        QVERIFY(archive.files().empty());

        // A help file cut short may open; reading it must not break anything.
        const auto whole = readFileBytes(builtHelpFile());
        folder.write("cut.chm", whole->substr(0, whole->size() / 3));
        if (archive.open(folder / "cut.chm"))
            QVERIFY(archive.readAll().size() <= archive.files().size() + 1);
    }
};

QTEST_MAIN(tst_ChmArchive)
#include "tst_ChmArchive.moc"
