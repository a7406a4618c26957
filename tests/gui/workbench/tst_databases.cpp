// The main window's saves and loads, the selection list and the text editor, driven through
// their controls with scripted dialogs.
#include "TestApp.h"
#include "core/workbench/Databases.h"
#include "gui/workbench/frmRoundDevel.h"
#include "gui/workbench/frmSelect.h"
#include "gui/workbench/frmViewLogs.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <sys/stat.h>

using namespace fendrel;
using fendrel::test::TestApp;

namespace {

// Runs `drive` on the selection list as soon as it shows modally.
void whenSelectShows(std::function<void(frmSelect*)> drive) {
    QTimer::singleShot(0, [drive] {
        auto* dialog = qobject_cast<frmSelect*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        drive(dialog);
    });
}

void choose(int row) {
    whenSelectShows([row](frmSelect* d) {
        d->lstSelector->item(row)->setSelected(true);
        d->cmdOK->click();
    });
}

} // namespace

class DatabaseWindows : public QObject {
    Q_OBJECT

    std::unique_ptr<TestApp> app;
    frmRoundDevel* w = nullptr;

    std::vector<Record> rounds() { return readAllRecords(app->folder / "rounds.dtb", kRoundFields); }
    std::vector<Record> firearms() {
        return readAllRecords(app->folder / "Firearms.dtb", kFirearmFields);
    }

private slots:
    void init() {
        app = std::make_unique<TestApp>();
        w = new frmRoundDevel(app->context);
        app->windows.adopt(w);
        w->Timer1->stop();
        w->TmrValidate->stop();
        w->cmbCal->setCurrentIndex(w->cmbCal->findText(QStringLiteral(".308 Winchester")));
        w->txtDescription->setText(QStringLiteral("Test load"));
    }
    void cleanup() { app.reset(); }

    void placeholderDescriptionIsRefused() {
        w->txtDescription->setText(QStringLiteral("(Type a description)"));
        w->cmdSave->click();
        QCOMPARE(app->prompts.messages(), QStringList{QStringLiteral("You must specify a DESCRIPTION")});
        QCOMPARE(app->prompts.last()->title, QStringLiteral("Error"));
        QVERIFY(rounds().empty());
    }

    void saveWritesTheRecordAndOffersTheFirearm() {
        app->prompts.answers = {Answer::Yes}; // save the firearm too
        w->cmdSave->click();
        QCOMPARE(rounds().size(), size_t(1));
        QCOMPARE(rounds()[0][0], std::string("Test load"));
        QCOMPARE(rounds()[0][17], std::string("9.5"));
        QCOMPARE(app->prompts.last()->kind, QStringLiteral("message"));
        QCOMPARE(app->prompts.asked[0].title, QStringLiteral("Question?"));
        QCOMPARE(app->prompts.asked[0].icon, Icon::Question);
        QCOMPARE(firearms().size(), size_t(1));
        QCOMPARE(w->statusText(), QStringLiteral("Your firearm information has been saved...retrieve "
                                                 "it for later use by loading firearm info"));
    }

    void duplicateDescriptionNoKeepsBothYesReplaces() {
        app->prompts.answers = {Answer::No};
        w->cmdSave->click();
        w->txtBWt->setText(QStringLiteral("165"));
        app->prompts.answers = {Answer::No, Answer::No};
        w->cmdSave->click();
        QCOMPARE(app->prompts.asked[1].text,
                 QStringLiteral("A load with this description already exists in your database. "
                                "Do you want to replace it with this information?"));
        QCOMPARE(app->prompts.asked[1].title, QStringLiteral("Database Integrity Conflict"));
        QCOMPARE(app->prompts.asked[1].icon, Icon::Error);
        QCOMPARE(rounds().size(), size_t(2));
        QCOMPARE(w->statusText(),
                 QStringLiteral("All round developement data on this page has been saved.  Retrieve "
                                "it for later use by loading round info and selecting this rounds "
                                "DESCRIPTION."));

        w->txtDescription->setText(QStringLiteral("Another"));
        app->prompts.answers = {Answer::No};
        w->cmdSave->click();
        w->txtDescription->setText(QStringLiteral("Test load"));
        w->txtBWt->setText(QStringLiteral("170"));
        app->prompts.answers = {Answer::Yes, Answer::No};
        w->cmdSave->click();
        auto all = rounds();
        QCOMPARE(all.size(), size_t(2));
        QCOMPARE(all[0][0], std::string("Another"));
        QCOMPARE(all[1][2], std::string("170"));
    }

    void saveAsCancelClearsTheDescriptionAndSavesNothing() {
        w->cmdSaveAs->click();
        QCOMPARE(app->prompts.asked[0].kind, QStringLiteral("input"));
        QCOMPARE(app->prompts.asked[0].text, QStringLiteral("Please type a new description for this round:"));
        QCOMPARE(app->prompts.asked[0].title, QStringLiteral("Save As..."));
        QCOMPARE(app->prompts.asked[0].prefilled, QStringLiteral("Test load"));
        QCOMPARE(w->txtDescription->text(), QString());
        QVERIFY(rounds().empty());

        app->prompts.inputs = {QStringLiteral("Renamed")};
        w->cmdSaveAs->click();
        QCOMPARE(rounds().at(0)[0], std::string("Renamed"));
    }

    void optionalSerialNumbersAreAlwaysAppended() {
        w->cmdSaveGun->click();
        w->cmdSaveGun->click();
        QCOMPARE(firearms().size(), size_t(2));
        QVERIFY(app->prompts.asked.isEmpty());

        w->txtGunSN->setText(QStringLiteral("SN-1"));
        w->cmdSaveGun->click();
        app->prompts.answers = {Answer::Yes};
        w->txtGunModel->setText(QStringLiteral("New model"));
        w->cmdSaveGun->click();
        QCOMPARE(app->prompts.asked[0].text,
                 QStringLiteral("A firearm with this Serial Number already exists in your database.  "
                                "Do you want to replace it with this information?"));
        QCOMPARE(firearms().size(), size_t(3));
        QCOMPARE(firearms()[2][1], std::string("New model"));
    }

    void loadingTheThirdRecordFillsTheWindow() {
        for (const char* weight : {"150", "165", "180"}) {
            w->txtBWt->setText(QString::fromLatin1(weight));
            app->prompts.answers = {Answer::No, Answer::No};
            w->cmdSave->click();
        }
        w->txtBWt->setText(QStringLiteral("1"));
        whenSelectShows([](frmSelect* d) {
            QCOMPARE(d->windowTitle(), QStringLiteral("Please select from this list..."));
            QCOMPARE(d->lstSelector->count(), 3);
            QVERIFY(d->lstSelector->item(0)->text().startsWith(QStringLiteral(" Test load .308")));
            d->lstSelector->item(2)->setSelected(true);
            d->cmdOK->click();
        });
        w->mnuFileLoadR->trigger();
        QCOMPARE(w->txtBWt->text(), QStringLiteral("180"));
        QCOMPARE(w->cmbCal->currentText(), QStringLiteral(".308 Winchester"));

        // Cancel leaves every field as it is.
        w->txtBWt->setText(QStringLiteral("2"));
        whenSelectShows([](frmSelect* d) { d->cmdCancel->click(); });
        w->mnuFileLoadR->trigger();
        QCOMPARE(w->txtBWt->text(), QStringLiteral("2"));
    }

    void unknownCaliberJoinsTheList() {
        Record r(kRoundFields, "x");
        r[1] = ".277 Wildcat Improved";
        QVERIFY(saveRecord(app->state.programFolder, kRounds, r, false).ok);
        const int before = w->cmbCal->count();
        choose(0);
        w->mnuFileLoadR->trigger();
        QCOMPARE(w->cmbCal->count(), before + 1);
        QCOMPARE(w->cmbCal->currentText(), QStringLiteral(".277 Wildcat Improved"));
        // It took its alphabetical place.
        const int at = w->cmbCal->currentIndex();
        QVERIFY(w->cmbCal->itemText(at - 1).toLower() <= w->cmbCal->itemText(at).toLower());
    }

    void loadingAFirearmLeavesTheRoundAlone() {
        QVERIFY(saveRecord(app->state.programFolder, kFirearms,
                           {"Maker", "Model 7", "1988", "SN9", "22", "7.25"}, false)
                    .ok);
        choose(0);
        w->mnuFileLoadF->trigger();
        QCOMPARE(w->cmbMake->currentText(), QStringLiteral("Maker"));
        QCOMPARE(w->txtGunWt->text(), QStringLiteral("7.25"));
        QCOMPARE(w->txtDescription->text(), QStringLiteral("Test load"));
    }

    void earlierDoubledQuotesAreRepairedOnceAskedAndUnreadableFilesNamed() {
        app->folder.write("Firearms.dtb",
                          "\"Maker\",\"Model \"\"7\"\"\",\"1988\",\"SN9\",\"22\"\"\",\"7\"\r\n");
        app->prompts.answers = {Answer::Yes};
        choose(0);
        w->mnuFileLoadF->trigger();
        QCOMPARE(app->prompts.asked.first().title, QStringLiteral("Repair the database?"));
        QCOMPARE(w->txtGunModel->text(), QStringLiteral("Model \"7\""));
        QCOMPARE(w->txtGunBBL->text(), QStringLiteral("22\""));
        // Asked once a session: the second load goes straight to the list.
        const auto asked = app->prompts.asked.size();
        choose(0);
        w->mnuFileLoadF->trigger();
        QCOMPARE(app->prompts.asked.size(), asked);

        std::filesystem::remove(app->folder / "rounds.dtb");
        QCOMPARE(::mkfifo((app->folder / "rounds.dtb").c_str(), 0600), 0);
        w->mnuFileLoadR->trigger();
        QVERIFY(app->prompts.last()->text.startsWith(QStringLiteral("rounds.dtb cannot be read")));
        app->prompts.answers = {Answer::No};
        w->cmdSave->click();
        QVERIFY(app->prompts.last()->text.contains(QStringLiteral("could not be saved")));
        QVERIFY(std::filesystem::is_fifo(app->folder / "rounds.dtb"));
    }

    void selectionListRules() {
        const auto list = app->folder / "editlist.txt";
        frmSelect d(list, 1);
        QVERIFY(d.lstSelector->count() >= 4);
        d.cmdOK->click();
        QCOMPARE(d.chosen(), std::nullopt); // nothing marked

        frmSelect d2(list, 1);
        d2.lstSelector->item(1)->setSelected(true);
        d2.lstSelector->item(3)->setSelected(true);
        d2.cmdOK->click();
        QCOMPARE(d2.chosen(), std::optional<int>(3)); // the last mark wins

        frmSelect d3(list, 1);
        d3.show();
        d3.resize(1, 1);
        d3.resize(800, 300);
        QCOMPARE(d3.lstSelector->width(), 800 + 10 - 17);
        d3.lstSelector->item(0)->setSelected(true);
        d3.close(); // by the frame: Cancel
        QCOMPARE(d3.chosen(), std::nullopt);
    }

    void editDatabasesMakesABackupAndSavesTrimmed() {
        app->folder.write("editsessions.dat", "6\r\n");
        app->folder.write("rounds.dtb", "\r\n\"a\"\r\n");
        choose(0); // rounds.dtb
        w->mnuToolsEditDTB->trigger();
        auto* editor = app->windows.find<frmViewLogs>();
        QVERIFY(editor);
        QCOMPARE(editor->windowTitle(), QStringLiteral("View and Edit"));
        QCOMPARE(app->folder.read("editsessions.dat"), std::string("7\r\n"));
        QVERIFY(std::filesystem::exists(app->folder / "rounds 7.bak"));
        QCOMPARE(editor->txt1->toPlainText(), QStringLiteral("\"a\""));

        editor->txt1->setPlainText(QStringLiteral("   \"b\"\n\"c\"  "));
        editor->cmdSave->click();
        QCOMPARE(app->folder.read("rounds.dtb"), std::string("\"b\"\r\n\"c\"\r\n"));
        QCOMPARE(app->prompts.last()->text,
                 QStringLiteral("File saved as ") + app->path("rounds.dtb"));
        QCOMPARE(app->prompts.last()->title, QStringLiteral("Notice"));

        // Another file chosen while the editor is open: asked first when there are changes.
        editor->txt1->clear();
        QTest::keyClicks(editor->txt1, QStringLiteral("changed"));
        app->prompts.answers = {Answer::No};
        choose(1);
        w->mnuToolsEditDTB->trigger();
        QCOMPARE(app->windows.find<frmViewLogs>(), editor);
        QCOMPARE(editor->txt1->toPlainText(), QStringLiteral("changed"));
        QCOMPARE(editor->loadedFile(), app->folder / "rounds.dtb");
        app->prompts.answers = {Answer::Yes};
        choose(1);
        w->mnuToolsEditDTB->trigger();
        QCOMPARE(editor->loadedFile(), app->folder / "Firearms.dtb");
    }

    void editorOpenUsesTheFilterAndRefusesSavingNothing() {
        app->state.currentDataFile.clear();
        auto* editor = app->windows.show<frmViewLogs>();
        editor->Form_Load(); // no path: asks for a file, cancelled
        const PromptRecord* open = app->prompts.last();
        QCOMPARE(open->kind, QStringLiteral("open"));
        QCOMPARE(open->file.filter,
                 QStringLiteral("text file (.txt)|*.txt| Comma-delimited files (.csv)|*.csv| "
                                "Initialization files (.ini)|*.ini| Database files (.dtb)|*.dtb|"));
        QCOMPARE(open->file.filterIndex, 2);
        QCOMPARE(open->file.startFolder, QString::fromStdString(app->folder.path().string()));
        editor->txt1->setPlainText(QStringLiteral("nothing loaded"));
        editor->cmdSave->click();
        QVERIFY(app->prompts.last()->text.startsWith(QStringLiteral("No file is loaded")));
    }

    void cancellingEditDatabasesOpensNoEditor() {
        whenSelectShows([](frmSelect* d) { d->cmdCancel->click(); });
        w->mnuToolsEditDTB->trigger();
        QVERIFY(!app->windows.find<frmViewLogs>());
    }
};

QTEST_MAIN(DatabaseWindows)
#include "tst_databases.moc"
