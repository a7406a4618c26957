// The main window: its fields, menus, validation, focus behaviour and the splash window.
#include "support/TestApp.h"
#include "gui/workbench/frmRoundDevel.h"
#include "gui/workbench/frmSplash.h"
#include "gui/app/StartUp.h"
#include "gui/ui/Geometry.h"
#include "gui/ui/UpDown.h"

#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QStandardPaths>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <memory>

using namespace fendrel;
using fendrel::test::TestApp;

namespace {

const QString kBulletMessage = QStringLiteral(
    "Enter valid values for bullet weight, ballistic coefficient, and sectional density.");
const QString kLoadMessage = QStringLiteral(
    "Enter valid values for powder charge, muzzle velocity, and weight of firearm");

const char* const kCalibers = "cherry\r\n\"7mm Remington, Magnum\"\r\napple,Banana\r\n";
const char* const kMakers = "Sako\r\nbrowning\r\n  Remington  \r\n";

QString currentYear() { return QString::number(QDate::currentDate().year()); }

// The name of the control that has the focus: the focus widget itself or the named control it
// belongs to (an editable combo box's line edit).
QString focusedControl(const QStringList& names) {
    for (QWidget* w = QApplication::focusWidget(); w; w = w->parentWidget())
        if (names.contains(w->objectName()))
            return w->objectName();
    return QApplication::focusWidget() ? QApplication::focusWidget()->objectName()
                                       : QStringLiteral("(none)");
}

} // namespace

class tst_frmRoundDevel : public QObject {
    Q_OBJECT

    std::unique_ptr<TestApp> app;
    frmRoundDevel* w = nullptr;

    // A main window over a program folder with our own lists.
    void open(bool withLists = true) {
        app = std::make_unique<TestApp>();
        if (withLists) {
            app->folder.write("calibers.ini", kCalibers);
            app->folder.write("Makes.ini", kMakers);
        }
        w = new frmRoundDevel(app->context);
        app->windows.adopt(w);
    }
    void openShown() {
        open();
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w));
    }
    void pickCaliber(const QString& caliber) {
        const int i = w->cmbCal->findText(caliber);
        QVERIFY(i >= 0);
        w->cmbCal->setCurrentIndex(i);
    }
    QLineEdit* edit(const QString& name) { return w->findChild<QLineEdit*>(name); }
    void checkEnabled(bool on) {
        QCOMPARE(w->cmdSave->isEnabled(), on);
        QCOMPARE(w->cmdSaveAs->isEnabled(), on);
        QCOMPARE(w->mnuToolsStats->isEnabled(), on);
        QVERIFY(w->cmdSaveGun->isEnabled());
    }
    // Moves the focus on with the Tab key from the control that has it.
    void tabAway() {
        QWidget* from = QApplication::focusWidget();
        QVERIFY(from);
        QTest::keyClick(from, Qt::Key_Tab);
        QTRY_VERIFY(QApplication::focusWidget() != from);
    }

private slots:
    void initTestCase() {
        QLocale::setDefault(QLocale::c());
        QStandardPaths::setTestModeEnabled(true);
    }
    void cleanup() {
        app.reset();
        w = nullptr;
    }

    // -- Start-up state ------------------------------------------------------------------------

    void startsWithSaveEnabledAndCalculateDisabled() {
        open();
        QCOMPARE(w->windowTitle(), QStringLiteral("Round Development"));
        QVERIFY(w->cmdSave->isEnabled());
        QVERIFY(w->cmdSaveAs->isEnabled());
        QVERIFY(!w->mnuToolsStats->isEnabled());
        QCOMPARE(w->statusText(), QString());
        QCOMPARE(w->TmrValidate->interval(), 750);
        QVERIFY(w->TmrValidate->isActive());
        QCOMPARE(w->Timer1->interval(), 10);
        QVERIFY(w->Timer1->isActive());
        w->Timer1_Timer();
        QVERIFY(!w->Timer1->isActive());
    }

    void startUpLeavesTheSplashInFrontOfTheMainWindow() {
        app = std::make_unique<TestApp>();
        w = startUp(app->context);
        QPointer<frmSplash> splash = app->windows.find<frmSplash>();
        QVERIFY(splash);
        QVERIFY(w->isVisible());
        QCOMPARE(app->windows.find<frmRoundDevel>(), w);
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(splash.data()));
        QVERIFY(!w->Timer1->isActive());
        QCOMPARE(w->Timer1->interval(), 0);
        // A key closes the splash and the main window stays.
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget()
                                                    : static_cast<QWidget*>(splash),
                        Qt::Key_Space);
        QTRY_VERIFY(splash.isNull());
        QVERIFY(w->isVisible());
    }

    void fieldsLabelsAndTips_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("labelTip");
        QTest::addColumn<QString>("fieldTip");
        QTest::addColumn<QString>("text");
        auto row = [](const char* field, const char* label, const char* caption,
                            const char* tip, const QString& text, const char* fieldTip = "") {
            QTest::newRow(field) << QString::fromLatin1(field) << QString::fromLatin1(label)
                                 << QString::fromLatin1(caption) << QString::fromLatin1(tip)
                                 << QString::fromLatin1(fieldTip) << text;
        };
        row("cmbCal", "Label1", "Caliber", "Select the caliber of your firearm", QString(),
            "Select the caliber");
        row("txtBWt", "Label3", "Weight in grains", "Enter bullet weight (MANDATORY)", "160");
        row("txtBC", "Label4", "Ballistic coefficient", "Enter ballistic coefficient (MANDATORY)",
            ".421");
        row("txtSD", "Label5", "Sectional Density", "Enter sectional density (MANDATORY)", ".552");
        row("txtBMake", "Label15", "Make", "Manufacturer of your bullet", "BrandA");
        row("txtBStyle", "Label16", "Bullet Style", "Enter bullet style description", "Spitzer");
        row("txtLPwdr", "Label20", "Powder used", "Powder type used", "IMR 4831 Lot 12345");
        row("txtLWt", "Label7", "Powder charge in grains",
            "Weight of powder charge used (MANDATORY)", "60");
        row("txtfps", "Label8", "Muzzle velocity in fps", "Muzzle velocity (MANDATORY)", "2800");
        row("txtLPrmr", "Label18", "Primer used", "Primer manufacturer and type",
            "CCI 250 Magnum rifle Lot 12345");
        row("txtLBrass", "Label19", "Brass used", "Manufacturer of cases", "Federal Lot 12345");
        row("txtDescription", "Label17", "Round Description",
            "Enter a meaningful description of this round or use our suggested description",
            "(Type a description)",
            "Enter a meaningful description for this information (MANDATORY)");
        row("cmbMake", "Label10", "Make",
            "Select or type the manufacturer of the firearm used for the above round",
            "(type or select)");
        row("txtGunModel", "Label11", "Model", "Firearm model", "BBR");
        row("txtGunYr", "Label12", "Year of mfg.", "Enter the year when this firearm was built",
            currentYear());
        row("txtGunSN", "Label13", "Serial number",
            "Enter this firearms serial number (for your records)", "(optional)");
        row("txtGunBBL", "Label14", "Barrel length in inches", "Enter length of barrel (MANDATORY)",
            "24");
        row("txtGunWt", "Label21", "Weight of firearm in lbs.",
            "Complete loaded weight of firearm (MANDATORY)", "9.5");
    }
    void fieldsLabelsAndTips() {
        QFETCH(QString, field);
        QFETCH(QString, label);
        QFETCH(QString, caption);
        QFETCH(QString, labelTip);
        QFETCH(QString, fieldTip);
        QFETCH(QString, text);
        open();
        QWidget* control = w->findChild<QWidget*>(field);
        QLabel* lbl = w->findChild<QLabel*>(label);
        QVERIFY(control);
        QVERIFY(lbl);
        QCOMPARE(lbl->text(), caption);
        QCOMPARE(lbl->toolTip(), labelTip);
        QCOMPARE(lbl->buddy(), control);
        QCOMPARE(control->toolTip(), fieldTip);
        // Screen readers announce the field by its caption: as its name, or for a combo box
        // (whose name is its text) through the label relation.
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(control);
        QVERIFY(a);
        if (qobject_cast<QLineEdit*>(control) && control != w->txtBMake)
            QCOMPARE(a->text(QAccessible::Name), caption);
        QStringList labelledBy;
        for (const auto& rel : a->relations(QAccessible::Label))
            labelledBy << rel.first->text(QAccessible::Name);
        QCOMPARE(labelledBy, QStringList{caption});
        // The caption stands on the field's line, to its left.
        QCOMPARE(lbl->y(), control->y());
        QVERIFY(lbl->geometry().right() < control->x());
        if (auto* e = qobject_cast<QLineEdit*>(control))
            QCOMPARE(e->text(), text);
        else
            QCOMPARE(qobject_cast<QComboBox*>(control)->currentText(), text);
    }

    void groupHeadingsAndButtons() {
        open();
        const struct {
            const char* name;
            const char* caption;
            const char* tip;
        } headings[] = {{"Label2", "Bullet Information", "Enter projectile information"},
                        {"Label6", "Load Information", "Enter charge information"},
                        {"Label9", "Firearm Information", "Enter firearm information below"}};
        for (const auto& h : headings) {
            QLabel* l = w->findChild<QLabel*>(QString::fromLatin1(h.name));
            QVERIFY2(l, h.name);
            QCOMPARE(l->text(), QString::fromLatin1(h.caption));
            QCOMPARE(l->toolTip(), QString::fromLatin1(h.tip));
            QVERIFY2(l->font().bold(), h.name);
        }
        QCOMPARE(w->cmdSaveGun->text(), QStringLiteral("Save this info"));
        QCOMPARE(w->cmdSave->text(), QStringLiteral("&Save"));
        QCOMPARE(w->cmdSaveAs->text(), QStringLiteral("Save &As..."));
        QCOMPARE(w->cmdCancel->text(), QStringLiteral("&Exit"));
    }

    void menuTreeInOrder() {
        open();
        struct Entry {
            const char* name;
            const char* caption; // "-" for a separator line
        };
        const struct {
            const char* name;
            const char* title;
            QList<Entry> entries;
        } menus[] = {
            {"mnuFile",
             "&File",
             {{"mnuFileLoadR", "Load round info"},
              {"mnuFileLoadF", "Load firearm info"},
              {"mnuFileUpgrade", "Prepare for upgrade"},
              {"mnuFileRestore", "Restore backup package"},
              {"mnuFileSep1", "-"},
              {"mnuFileClose", "Close"}}},
            {"mnuTools",
             "&Tools",
             {{"mnuInteractive", "Interactive Range Simulator"},
              {"mnuToolsStabCalc", "Bullet Stabilization Calculator"},
              {"mnuRangeMeas", "Range Measurements Calculator"},
              {"mnuOrrin", "Orrin Calculator"},
              {"mnuSep1", "-"},
              {"mnuToolsStats", "Calculate ballistics"},
              {"mnuViewB", "View ballistics"},
              {"mnuGraphB", "Graph ballistics"},
              {"mnuSep2", "-"},
              {"mnuToolsEditDTB", "Edit Databases"}}},
            {"mnuRange",
             "&Range",
             {{"mnuRangeCard", "Range Card..."}, {"mnuLoadHistory", "Load History..."}}},
            {"mnuHelp", "&Help", {{"mnuHelpHowto", "How-to..."}}},
        };
        const QList<QAction*> bar = w->menuBar()->actions();
        QCOMPARE(bar.size(), 4);
        for (int m = 0; m < 4; ++m) {
            QMenu* menu = bar[m]->menu();
            QVERIFY(menu);
            QCOMPARE(menu->objectName(), QString::fromLatin1(menus[m].name));
            QCOMPARE(menu->title(), QString::fromLatin1(menus[m].title));
            const QList<QAction*> actions = menu->actions();
            QCOMPARE(actions.size(), menus[m].entries.size());
            for (int i = 0; i < actions.size(); ++i) {
                const Entry& e = menus[m].entries[i];
                QCOMPARE(actions[i]->objectName(), QString::fromLatin1(e.name));
                if (QByteArray(e.caption) == "-")
                    QVERIFY2(actions[i]->isSeparator(), e.name);
                else
                    QCOMPARE(actions[i]->text(), QString::fromLatin1(e.caption));
            }
        }
    }

    void tabOrder() {
        openShown();
        const QStringList order = {"cmbCal",      "txtBWt",    "txtBC",          "txtSD",
                                   "txtBMake",    "txtBStyle", "txtLPwdr",       "txtLWt",
                                   "txtfps",      "txtLPrmr",  "txtLBrass",      "cmbMake",
                                   "txtGunModel", "txtGunYr",  "txtGunSN",       "txtGunBBL",
                                   "txtGunWt",    "cmdSaveGun", "txtDescription", "cmdSave",
                                   "cmdSaveAs",   "cmdCancel"};
        w->cmbCal->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(focusedControl(order), QStringLiteral("cmbCal"));
        QStringList reached = {focusedControl(order)};
        for (int i = 1; i < order.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCoreApplication::processEvents();
            reached << focusedControl(order);
        }
        QCOMPARE(reached, order);
    }

    // -- Lists -------------------------------------------------------------------------------

    void listsAreSortedAndSplitAtUnquotedCommas() {
        open();
        QStringList calibers, makers;
        for (int i = 0; i < w->cmbCal->count(); ++i)
            calibers << w->cmbCal->itemText(i);
        for (int i = 0; i < w->cmbMake->count(); ++i)
            makers << w->cmbMake->itemText(i);
        QCOMPARE(calibers, (QStringList{"7mm Remington, Magnum", "apple", "Banana", "cherry"}));
        QCOMPARE(makers, (QStringList{"browning", "Remington", "Sako"}));
        // Nothing picked at start; the caliber list cannot be typed into, the maker list can.
        QCOMPARE(w->cmbCal->currentIndex(), -1);
        QCOMPARE(w->cmbCal->currentText(), QString());
        QVERIFY(!w->cmbCal->isEditable());
        QVERIFY(w->cmbMake->isEditable());
        QCOMPARE(w->cmbMake->currentText(), QStringLiteral("(type or select)"));
    }

    void missingOrEmptyListFilesGiveEmptyListsAndTheWindowStillOpens() {
        app = std::make_unique<TestApp>(false);
        app->folder.write("Makes.ini", "");
        w = new frmRoundDevel(app->context);
        app->windows.adopt(w);
        QCOMPARE(w->cmbCal->count(), 0);
        QCOMPARE(w->cmbMake->count(), 0);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        w->TmrValidate_Timer();
        checkEnabled(false);
    }

    // -- Validation timer --------------------------------------------------------------------

    // The rules are the core's (validateRecord); here, that the timer applies them.
    void theTimerEnablesWhatTheRecordAllows() {
        open();
        w->setStatusText(QStringLiteral("an earlier message"));
        w->TmrValidate_Timer();
        QCOMPARE(w->statusText(), QString()); // no caliber: cleared, disabled
        checkEnabled(false);
        pickCaliber(QStringLiteral("cherry"));
        w->TmrValidate_Timer();
        checkEnabled(true);
        w->txtGunBBL->setText(QStringLiteral("-3")); // the barrel length is not tested
        w->txtBC->setText(QStringLiteral("0"));
        w->TmrValidate_Timer();
        QCOMPARE(w->statusText(), kBulletMessage);
        checkEnabled(false);
        w->txtBC->setText(QStringLiteral(".421"));
        w->txtfps->clear();
        w->TmrValidate_Timer();
        QCOMPARE(w->statusText(), kLoadMessage);
        w->txtfps->setText(QStringLiteral("2800"));
        w->TmrValidate_Timer();
        checkEnabled(true);
        QCOMPARE(w->statusText(), kLoadMessage); // the last message stays
    }

    // -- Focus behaviour ---------------------------------------------------------------------

    void tabbingFromTheCaliberRebuildsTheDescription() {
        openShown();
        pickCaliber(QStringLiteral("apple"));
        w->cmbCal->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(w->cmbCal->hasFocus());
        tabAway();
        QVERIFY(w->txtBWt->hasFocus());
        QCOMPARE(w->txtDescription->text(), QStringLiteral("apple: 160gr. BrandA"));
    }

    void leavingWeightOrBulletMakeRebuildsTheDescription() {
        openShown();
        pickCaliber(QStringLiteral("cherry"));

        w->txtBWt->setFocus();
        QTRY_VERIFY(w->txtBWt->hasFocus());
        w->txtBWt->setText(QStringLiteral("150"));
        tabAway();
        QCOMPARE(w->txtDescription->text(), QStringLiteral("cherry: 150gr. BrandA"));

        // A typed description is overwritten at the next rebuild.
        w->txtDescription->setText(QStringLiteral("my own words"));
        w->txtBMake->setFocus();
        QTRY_VERIFY(w->txtBMake->hasFocus());
        w->txtBMake->setText(QStringLiteral("BrandB"));
        w->txtBStyle->setFocus();
        QTRY_VERIFY(w->txtBStyle->hasFocus());
        QCOMPARE(w->txtDescription->text(), QStringLiteral("cherry: 150gr. BrandB"));
    }

    void leavingOtherFieldsKeepsTheDescription() {
        openShown();
        pickCaliber(QStringLiteral("cherry"));
        // Start away from the caliber, which has the focus when the window opens.
        w->txtBC->setFocus();
        QTRY_VERIFY(w->txtBC->hasFocus());
        w->txtDescription->setText(QStringLiteral("my own words"));
        for (QWidget* f : {static_cast<QWidget*>(w->txtSD), static_cast<QWidget*>(w->txtLWt),
                           static_cast<QWidget*>(w->cmbMake),
                           static_cast<QWidget*>(w->txtDescription)}) {
            f->setFocus();
            QTRY_VERIFY(f->hasFocus());
        }
        w->txtGunSN->setFocus();
        QTRY_VERIFY(w->txtGunSN->hasFocus());
        QCOMPARE(w->txtDescription->text(), QStringLiteral("my own words"));
    }

    void menusAndDialogsOverAFieldKeepTheDescriptionAndTheCaret() {
        openShown();
        pickCaliber(QStringLiteral("cherry"));
        auto* fileMenu = w->menuBar()->actions().first()->menu();
        QVERIFY(fileMenu);
        for (QWidget* field : {static_cast<QWidget*>(w->cmbCal), static_cast<QWidget*>(w->txtBWt),
                               static_cast<QWidget*>(w->txtBMake)}) {
            w->activateWindow();
            QTRY_VERIFY(w->isActiveWindow());
            field->setFocus(Qt::TabFocusReason);
            QTRY_VERIFY2(field->hasFocus(), qPrintable(field->objectName()));
            w->txtDescription->setText(QStringLiteral("my own words"));
            if (auto* e = qobject_cast<QLineEdit*>(field)) {
                QTRY_VERIFY(e->hasSelectedText());
                QTest::qWait(20); // the selection made on entering is done
                e->deselect();
                e->setCursorPosition(1);
            }
            // A menu opened and closed over the field.
            fileMenu->popup(field->mapToGlobal(QPoint(0, 0)));
            QTRY_VERIFY(fileMenu->isVisible());
            fileMenu->close();
            QTRY_VERIFY(field->hasFocus());
            // A dialog: File > Load round info, then Cancel.
            app->folder.write("rounds.dtb", "");
            QTimer::singleShot(50, [] {
                if (QWidget* d = QApplication::activeModalWidget())
                    d->close();
            });
            w->mnuFileLoadR->trigger();
            QTRY_VERIFY(QApplication::activeModalWidget() == nullptr);
            QTest::qWait(20);
            QCOMPARE(w->txtDescription->text(), QStringLiteral("my own words"));
            if (auto* e = qobject_cast<QLineEdit*>(field))
                QVERIFY2(!e->hasSelectedText(), "coming back must not select the text");
        }
        // A real move out of the field still rebuilds it.
        w->activateWindow();
        QTRY_VERIFY(w->isActiveWindow());
        w->txtBMake->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(w->txtBMake->hasFocus());
        tabAway();
        QCOMPARE(w->txtDescription->text(), QStringLiteral("cherry: 160gr. BrandA"));
    }

    void aLongStatusNeitherWidensTheWindowNorIsCutForScreenReaders() {
        openShown();
        const QSize before = w->size();
        const QString message = QStringLiteral(
            "All round developement data on this page has been saved.  Retrieve it for later use "
            "by loading round info and selecting this rounds DESCRIPTION.");
        w->setStatusText(message);
        QTest::qWait(20);
        QCOMPARE(w->size(), before);
        QCOMPARE(w->statusText(), message);
        auto* label = w->findChild<QLabel*>(QStringLiteral("StatusBar1Text"));
        QCOMPARE(QAccessible::queryAccessibleInterface(label)->text(QAccessible::Name), message);
        // The two makes are told apart by screen readers; on screen both are captioned "Make".
        QCOMPARE(QAccessible::queryAccessibleInterface(w->txtBMake)->text(QAccessible::Name),
                 QStringLiteral("Bullet make"));
        QCOMPARE(QAccessible::queryAccessibleInterface(w->cmbMake->lineEdit())
                     ->text(QAccessible::Name),
                 QStringLiteral("Firearm make"));
    }

    void enteringATextBoxSelectsFromTheCaretToTheEnd_data() {
        QTest::addColumn<QString>("field");
        for (const char* f : {"txtBC", "txtBMake", "txtGunYr", "txtLPrmr", "txtSD"})
            QTest::newRow(f) << QString::fromLatin1(f);
    }
    void enteringATextBoxSelectsFromTheCaretToTheEnd() {
        QFETCH(QString, field);
        openShown();
        QLineEdit* e = edit(field);
        QVERIFY(e);
        e->setText(QStringLiteral("abcdef 123"));
        e->setCursorPosition(0);
        e->setFocus(Qt::MouseFocusReason);
        QTRY_COMPARE(e->selectedText(), QStringLiteral("abcdef 123"));
        QCOMPARE(e->selectionStart(), 0);
    }

    void theSelectionStartsWhereTheCaretStands() {
        openShown();
        w->txtLPwdr->setCursorPosition(4);
        w->txtLPwdr->setFocus(Qt::MouseFocusReason);
        QTRY_COMPARE(w->txtLPwdr->selectedText(), QStringLiteral("4831 Lot 12345"));
        QCOMPARE(w->txtLPwdr->selectionStart(), 4);
    }

    void theDescriptionIsNotSelectedOnFocus() {
        openShown();
        w->txtDescription->setCursorPosition(0);
        w->txtDescription->setFocus(Qt::MouseFocusReason);
        QTRY_VERIFY(w->txtDescription->hasFocus());
        QTest::qWait(20);
        QVERIFY(!w->txtDescription->hasSelectedText());
    }

    // -- Year and its arrows -----------------------------------------------------------------

    void theYearStartsNowAndItsArrowsStepWithin1700And2500() {
        openShown();
        const int year = QDate::currentDate().year();
        QCOMPARE(w->txtGunYr->text(), currentYear());
        QTest::mouseClick(w->UpDown1->upButton(), Qt::LeftButton);
        QCOMPARE(w->txtGunYr->text(), QString::number(year + 1));
        w->txtGunYr->setFocus();
        QTRY_VERIFY(w->txtGunYr->hasFocus());
        QTest::keyClick(w->txtGunYr, Qt::Key_Down);
        QCOMPARE(w->txtGunYr->text(), QString::number(year));
        w->txtGunYr->setText(QStringLiteral("2500"));
        w->UpDown1->setValue(2500);
        QTest::mouseClick(w->UpDown1->upButton(), Qt::LeftButton);
        QCOMPARE(w->txtGunYr->text(), QStringLiteral("2500"));
        w->txtGunYr->setText(QStringLiteral("1700"));
        w->UpDown1->setValue(1700);
        QTest::mouseClick(w->UpDown1->downButton(), Qt::LeftButton);
        QCOMPARE(w->txtGunYr->text(), QStringLiteral("1700"));
    }

    // -- Outside programs --------------------------------------------------------------------

    void orrinMissingShowsTheTwoLineMessage() {
        open();
        QVERIFY(!QFile::exists(app->path("orrin.exe")));
        w->mnuOrrin->trigger();
        QCOMPARE(app->prompts.asked.size(), 1);
        const PromptRecord& p = app->prompts.asked.front();
        QCOMPARE(p.title, QStringLiteral("Cannot find Orrin extension"));
        QCOMPARE(p.icon, Icon::Error);
        const QStringList lines = p.text.split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0], QStringLiteral("The Orrin extension was not found. Make sure it has "
                                          "been installed to the same folder as Fen-drel."));
        QVERIFY(lines[1].startsWith(QStringLiteral("To download your free copy just visit ")));
    }

    // -- Windows -----------------------------------------------------------------------------

    void eachWindowExistsOnce() {
        app = std::make_unique<TestApp>();
        auto* first = app->windows.show<frmRoundDevel>();
        auto* again = app->windows.show<frmRoundDevel>();
        QCOMPARE(again, first);
        auto* splash = app->windows.show<frmSplash>();
        QCOMPARE(app->windows.show<frmSplash>(), splash);
        int mains = 0, splashes = 0;
        for (QWidget* top : QApplication::topLevelWidgets()) {
            mains += qobject_cast<frmRoundDevel*>(top) ? 1 : 0;
            splashes += qobject_cast<frmSplash*>(top) ? 1 : 0;
        }
        QCOMPARE(mains, 1);
        QCOMPARE(splashes, 1);
    }

    void splashShowsVersionAndNotice() {
        app = std::make_unique<TestApp>();
        auto* splash = app->windows.show<frmSplash>();
        QCOMPARE(splash->lblVersion->text(), QStringLiteral("Version 6.0"));
        QCOMPARE(splash->lblPlatform->text(), QStringLiteral("Windows NT, 2000, and XP"));
        QCOMPARE(splash->lblWarning->text(),
                 QStringLiteral("Notice: This software is provided without support."));
        for (QLabel* l : {splash->lblVersion, splash->lblPlatform, splash->lblWarning})
            QCOMPARE(l->font().family(), QStringLiteral("Arial"));
    }

    void theSplashClosesOnAClickOrAKey() {
        app = std::make_unique<TestApp>();
        QPointer<frmSplash> splash = app->windows.show<frmSplash>();
        QVERIFY(QTest::qWaitForWindowExposed(splash));
        QTest::mouseClick(splash->lblWarning, Qt::LeftButton, {}, QPoint(2, 2));
        QTRY_VERIFY(splash.isNull());
        QVERIFY(app->windows.find<frmSplash>() == nullptr); // the next request makes a new one
        splash = app->windows.show<frmSplash>();
        QVERIFY(QTest::qWaitForWindowActive(splash));
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget()
                                                    : static_cast<QWidget*>(splash),
                        Qt::Key_A);
        QTRY_VERIFY(splash.isNull());
    }

    // Last: Esc ends the program and closes every window.
    void escapeAnywhereEndsTheProgram() {
        openShown();
        QPointer<frmSplash> splash = app->windows.show<frmSplash>();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        w->txtBC->setFocus();
        QTRY_VERIFY(w->txtBC->hasFocus());
        QTest::keyClick(w->txtBC, Qt::Key_Escape);
        QTRY_VERIFY(!w->isVisible());
        QVERIFY(splash.isNull() || !splash->isVisible());
    }
};

QTEST_MAIN(tst_frmRoundDevel)
#include "tst_frmRoundDevel.moc"
