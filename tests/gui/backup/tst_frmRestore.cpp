// The restore window: choosing the package, the questions about doubtful databases and the
// messages of success and failure.
#include "gui/backup/frmRestore.h"
#include "gui/ui/Text.h"
#include "support/TestApp.h"

#include <QToolButton>

#include <filesystem>

using namespace fendrel;
namespace fs = std::filesystem;

namespace {
const std::string kGun = "\"Maker\",\"M1\",\"1990\",\"SN\",\"24\",\"8\"\r\n";

struct Bench {
    test::TestApp app;
    test::TestFolder package{false};
    test::TestFolder home{false};
    frmRestore* w = nullptr;

    Bench() {
        w = app.windows.show<frmRestore>();
        w->setHomeFolder(fromPath(home.path()));
    }
};

} // namespace

class TestFrmRestore : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void browseFillsTheFolderOfTheChosenFileAndAnEmptyOneFails() {
        Bench b;
        b.w->cmdRestore->click();
        QCOMPARE(b.app.prompts.last()->title, QStringLiteral("Error!"));
        QCOMPARE(b.app.prompts.last()->text,
                 QStringLiteral("Your RESTORE PACKAGE has failed.  Use Fendrel's "
                                "Help---Troubleshooting section to import files by hand."));
        QCOMPARE(b.app.prompts.last()->details,
                 QStringLiteral("No package folder was given.\nFiles restored before it: 0."));

        b.w->txtRestorePackage->setText(QStringLiteral("/typed"));
        b.w->cmdBrowse->click(); // cancelled before anything was chosen: the typing stays
        QCOMPARE(b.w->txtRestorePackage->text(), QStringLiteral("/typed"));
        QCOMPARE(b.app.prompts.last()->file.filter, QStringLiteral("All files (*.*)|*.*|"));
        QCOMPARE(b.app.prompts.last()->file.startFolder, fromPath(b.home.path()));

        b.app.prompts.files.push_back(fromPath(b.package / "rounds.dtb"));
        b.w->cmdBrowse->click();
        QCOMPARE(b.w->txtRestorePackage->text(), fromPath(b.package.path()));
        b.w->txtRestorePackage->setText(QStringLiteral("/typed again"));
        b.w->cmdBrowse->click(); // cancelled: the folder chosen last comes back
        QCOMPARE(b.w->txtRestorePackage->text(), fromPath(b.package.path()));
    }

    void doubtfulDatabasesAreAskedAboutAndClashesRefused() {
        Bench b;
        b.app.folder.write("Firearms.dtb", kGun);
        b.package.write("firearms.dtb", "not a database");
        b.package.write("x.grp", "1");
        b.w->txtRestorePackage->setText(fromPath(b.package.path()));
        b.app.prompts.answers.push_back(Answer::No);
        b.w->cmdRestore->click();
        QCOMPARE(b.app.prompts.asked.size(), 2);
        QCOMPARE(b.app.prompts.asked[0].title, QStringLiteral("Restore firearms.dtb?"));
        QCOMPARE(b.app.prompts.asked[0].buttons, Buttons::YesNo);
        QCOMPARE(b.app.prompts.last()->title, QStringLiteral("Restore successful!"));
        QCOMPARE(b.app.folder.read("Firearms.dtb"), kGun);
        QCOMPARE(b.app.folder.read("YourData/x.grp"), std::string("1"));

        b.package.write("X.GRP", "2");
        b.w->cmdRestore->click();
        QCOMPARE(b.app.prompts.last()->title, QStringLiteral("Error!"));
        QVERIFY(b.app.prompts.last()->details.contains(QStringLiteral("\nX.GRP\nx.grp")) ||
                b.app.prompts.last()->details.contains(QStringLiteral("\nx.grp\nX.GRP")));
    }

    void restoresAPastedPackage() {
        Bench b;
        b.package.write("firearms.dtb", kGun);
        b.package.write("a.htm", "1");
        b.package.write("G.GRP", "2");
        b.w->txtRestorePackage->setText(fromPath(b.package.path()) + QStringLiteral(" \r\n"));
        b.w->cmdRestore->click();
        QCOMPARE(b.app.prompts.last()->title, QStringLiteral("Restore successful!"));
        QCOMPARE(b.app.prompts.last()->text,
                 QStringLiteral("Your RESTORE PACKAGE has been successfully imported.  It is now "
                                "safe to delete the restore package folder and the "
                                "Fendrel_ReadMe.txt file on your desktop."));
        QCOMPARE(b.app.folder.read("Firearms.dtb"), kGun);
        QCOMPARE(b.app.folder.read("YourData/G.GRP"), std::string("2"));
        QCOMPARE(b.w->filRestore->count(), 2);
        QVERIFY(b.w->isVisible() && b.w->isEnabled());
    }
};

QTEST_MAIN(TestFrmRestore)
#include "tst_frmRestore.moc"
