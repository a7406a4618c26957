// The backup window: the data folder's files by kind, the backup list, the location question,
// the read-me and the progress bar. Listing, copying and the read-me's lines are the core's.
#include "core/common/TextFile.h"
#include "gui/backup/frmUpgrade.h"
#include "gui/ui/Text.h"
#include "support/TestApp.h"

#include <QCheckBox>
#include <QProgressBar>
#include <QToolButton>
#include <filesystem>

using namespace fendrel;
namespace fs = std::filesystem;

namespace {

const QString kSuccess = QStringLiteral(
    "Your files have been copied successfully.\r\nUse FILE---RESTORE BACKUP PACKAGE after "
    "completing your upgrade");

// A program folder with user data files, a scratch Desktop and a scratch home folder.
struct Bench {
    test::TestApp app;
    test::TestFolder desktop{false};
    test::TestFolder home{false};
    frmUpgrade* w = nullptr;

    explicit Bench(const QStringList& dataFiles = {}) {
        for (const QString& name : dataFiles)
            app.folder.write("YourData/" + name.toStdString(), "x");
        w = app.windows.show<frmUpgrade>();
        w->setDesktopLookup([this] { return fromPath(desktop.path()); });
        w->setHomeFolder(fromPath(home.path()));
    }
    void add(int list, std::initializer_list<int> rows) const {
        w->filStep2[size_t(list)]->clearSelection();
        for (int r : rows)
            w->filStep2[size_t(list)]->item(r)->setSelected(true);
        w->cmdAdd2[size_t(list)]->click();
    }
    // Runs the backup with the given answer to the location question.
    void backUp(const fs::path& folder) {
        app.prompts.inputs.push_back(fromPath(folder));
        w->cmdBackup->click();
    }
    QStringList readme(const fs::path& folder) const {
        return QString::fromStdString(readFileBytes(folder / "FENDREL_README.TXT").value_or(""))
            .split(QStringLiteral("\r\n"));
    }
};

} // namespace

class TestFrmUpgrade : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void listsShowTheDataFolderByKindAndFeedTheBackupList() {
        Bench b({"b.csv", "A.CSV", "Report.HTM", "coyote.html", "G.GRP", "s.txt", "notes.doc"});
        QCOMPARE(test::items(b.w->filStep2[0]), (QStringList{"A.CSV", "b.csv"}));
        QCOMPARE(test::items(b.w->filStep2[1]), (QStringList{"coyote.html", "Report.HTM"}));
        QCOMPARE(test::items(b.w->filStep2[2]), QStringList{"G.GRP"});
        QCOMPARE(test::items(b.w->filStep2[3]), QStringList{"s.txt"});

        b.add(0, {0, 1});
        b.add(0, {0});
        b.add(2, {0});
        QCOMPARE(test::items(b.w->lstBak), (QStringList{"A.CSV", "b.csv", "A.CSV", "G.GRP"}));
        b.w->lstBak->item(1)->setSelected(true);
        b.w->lstBak->item(2)->setSelected(true);
        b.w->cmdRemove->click();
        QCOMPARE(test::items(b.w->lstBak), (QStringList{"A.CSV", "G.GRP"}));
    }

    void nothingChosenStillMakesFolderReadmeAndReportsSuccess() {
        Bench b;
        b.w->cmdBackup->click(); // the location question cancelled: nothing happens
        QCOMPARE(b.app.prompts.asked.size(), 1);
        QVERIFY(fs::is_empty(b.home.path()) && fs::is_empty(b.desktop.path()));

        b.backUp(b.home / "pkg");
        const PromptRecord& asked = b.app.prompts.asked[1];
        QCOMPARE(asked.title, QStringLiteral("Preparing to backup..."));
        QVERIFY2(asked.prefilled.startsWith(fromPath(b.home / "FendrelFiles ")),
                 qPrintable(asked.prefilled));
        QVERIFY(fs::is_directory(b.home / "pkg"));
        QCOMPARE(b.readme(b.desktop.path())[1], fromPath(b.home / "pkg"));
        QCOMPARE(b.app.prompts.last()->title, QStringLiteral("Backup successfull"));
        QCOMPARE(b.app.prompts.last()->text, kSuccess);
        QVERIFY(b.w->isVisible());
    }

    void withoutDesktopTheUserBrowsesOrTheReadmeGoesHome() {
        Bench b;
        test::TestFolder chosen(false);
        b.w->setDesktopLookup([] { return QString(); });
        b.app.prompts.answers.push_back(Answer::Yes);
        b.app.prompts.folders.push_back(fromPath(chosen.path()));
        b.backUp(b.home / "pkg");
        QCOMPARE(b.app.prompts.asked[1].title, QStringLiteral("Find Desktop?"));
        QCOMPARE(b.app.prompts.asked[1].buttons, Buttons::YesNo);
        QCOMPARE(b.app.prompts.asked[2].title,
                 QStringLiteral("Please locate your Desktop folder."));
        QCOMPARE(b.readme(chosen.path())[1], fromPath(b.home / "pkg"));
        QCOMPARE(b.app.prompts.last()->text, kSuccess);

        b.backUp(b.home / "pkg2"); // declined
        QCOMPARE(b.readme(b.home.path())[1], fromPath(b.home / "pkg2"));
        QCOMPARE(b.app.prompts.last()->text,
                 kSuccess + QStringLiteral("\r\n\r\nWithout a Desktop folder the read-me went to "
                                           "your home folder: ") +
                     fromPath(b.home / "FENDREL_README.TXT"));
    }

    void failuresNameTheFileAndLeaveNoReadme() {
        Bench b({"a.csv", "b.csv"});
        b.add(0, {0, 1});
        fs::remove(b.app.folder / "YourData" / "b.csv");
        b.backUp(b.home / "pkg");
        QCOMPARE(b.app.prompts.last()->title, QStringLiteral("Backup failed"));
        QVERIFY(b.app.prompts.last()->text.contains(fromPath(b.app.folder / "YourData" / "b.csv")));
        QVERIFY(fs::is_empty(b.desktop.path()));
        QVERIFY(b.w->isEnabled());

        b.desktop.write("file", "x"); // a read-me cannot go below a plain file
        b.w->setDesktopLookup([&b] { return fromPath(b.desktop / "file"); });
        b.w->lstBak->selectAll();
        b.w->cmdRemove->click();
        b.backUp(b.home / "pkg2");
        QCOMPARE(b.app.prompts.last()->title, QStringLiteral("Backup failed"));
        QVERIFY(b.app.prompts.last()->text.contains(fromPath(b.home / "pkg2")));
    }

    void manyFilesShowProgress() {
        QStringList names;
        for (int i = 0; i < 12; ++i)
            names << QStringLiteral("load%1.csv").arg(i);
        Bench b(names);
        b.w->filStep2[0]->selectAll();
        b.w->cmdAdd2[0]->click();
        b.backUp(b.home / "pkg");
        QCOMPARE(b.w->prgCopy->maximum(), 12);
        QCOMPARE(b.w->prgCopy->value(), 12);
        QVERIFY(b.w->prgCopy->isHidden());
    }
};

QTEST_MAIN(TestFrmUpgrade)
#include "tst_frmUpgrade.moc"
