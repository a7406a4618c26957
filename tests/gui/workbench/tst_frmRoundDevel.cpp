// The main window: its fields, menus, validation, focus behaviour and the splash window.
#include "support/TestApp.h"
#include "core/workbench/Companion.h"
#include "gui/workbench/frmRoundDevel.h"
#include "gui/workbench/frmSelect.h"
#include "gui/workbench/frmSplash.h"
#include "gui/app/StartUp.h"
#include "gui/ui/UpDown.h"

#include <QAccessible>
#include <QDate>
#include <QPointer>
#include <QToolButton>

using namespace fendrel;
using fendrel::test::TestApp;

namespace {

QString currentYear() { return QString::number(QDate::currentDate().year()); }

} // namespace

class tst_frmRoundDevel : public QObject {
    Q_OBJECT

    std::unique_ptr<TestApp> app;
    frmRoundDevel* w = nullptr;

    // A main window over a program folder with our own lists.
    void open(bool shown = false) {
        app = std::make_unique<TestApp>();
        app->folder.write("calibers.ini",
                          "cherry\r\n\"7mm Remington, Magnum\"\r\napple,Banana\r\n");
        app->folder.write("Makes.ini", "Sako\r\nbrowning\r\n  Remington  \r\n");
        w = app->windows.get<frmRoundDevel>();
        if (shown)
            test::activate(w);
    }
    void pickCaliber(const QString& caliber) {
        w->cmbCal->setCurrentIndex(w->cmbCal->findText(caliber));
        QVERIFY(w->cmbCal->currentIndex() >= 0);
    }
    void focus(QWidget* field, Qt::FocusReason reason = Qt::OtherFocusReason) {
        field->setFocus(reason);
        QTRY_VERIFY2(field->hasFocus(), qPrintable(field->objectName()));
    }
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
    void cleanup() { app.reset(); }

    void opensWithItsListsHeadingsAndButtons() {
        open(true);
        QCOMPARE(w->windowTitle(), QStringLiteral("Round Development"));
        QVERIFY(w->cmdSave->isEnabled() && w->cmdSaveAs->isEnabled());
        QVERIFY(!w->mnuToolsStats->isEnabled());
        QCOMPARE(w->statusText(), QString());
        // The lists as the core reads them; nothing picked, only the maker list typed into.
        QCOMPARE(test::items(w->cmbCal),
                 (QStringList{"7mm Remington, Magnum", "apple", "Banana", "cherry"}));
        QCOMPARE(test::items(w->cmbMake), (QStringList{"browning", "Remington", "Sako"}));
        QCOMPARE(w->cmbCal->currentIndex(), -1);
        QVERIFY(!w->cmbCal->isEditable() && w->cmbMake->isEditable());

        const char* headings[][3] = {
            {"Label2", "Bullet Information", "Enter projectile information"},
            {"Label6", "Load Information", "Enter charge information"},
            {"Label9", "Firearm Information", "Enter firearm information below"}};
        for (const auto& h : headings) {
            auto* l = test::child<QLabel>(w, h[0]);
            QCOMPARE(l->text(), QString::fromLatin1(h[1]));
            QCOMPARE(l->toolTip(), QString::fromLatin1(h[2]));
            QVERIFY2(l->font().bold(), h[0]);
        }
        QCOMPARE(w->cmdSaveGun->text(), QStringLiteral("Save this info"));
        QCOMPARE(w->cmdSave->text(), QStringLiteral("&Save"));
        QCOMPARE(w->cmdSaveAs->text(), QStringLiteral("Save &As..."));
        QCOMPARE(w->cmdCancel->text(), QStringLiteral("&Exit"));

        // A long status neither widens the window nor is cut for screen readers.
        const QSize before = w->size();
        const QString message = QStringLiteral(
            "All round developement data on this page has been saved.  Retrieve it for later use "
            "by loading round info and selecting this rounds DESCRIPTION.");
        w->setStatusText(message);
        QTest::qWait(20);
        QCOMPARE(w->size(), before);
        auto* status = test::child<QLabel>(w, "StatusBar1Text");
        QCOMPARE(QAccessible::queryAccessibleInterface(status)->text(QAccessible::Name), message);
        // The two makes are told apart by screen readers; on screen both are captioned "Make".
        QCOMPARE(QAccessible::queryAccessibleInterface(w->txtBMake)->text(QAccessible::Name),
                 QStringLiteral("Bullet make"));
        QCOMPARE(QAccessible::queryAccessibleInterface(w->cmbMake->lineEdit())
                     ->text(QAccessible::Name),
                 QStringLiteral("Firearm make"));

        w->mnuOrrin->trigger(); // the Orrin extension is missing
        const PromptRecord& p = *app->prompts.last();
        QCOMPARE(p.title, QStringLiteral("Cannot find Orrin extension"));
        QCOMPARE(p.icon, Icon::Error);
        QCOMPARE(p.text, QString::fromStdString(companionMissingMessage()));
    }

    void fieldsCaptionsTipsAndTexts() {
        open();
        const struct {
            const char *field, *label, *caption, *labelTip;
            QString text;
            const char* fieldTip = "";
        } rows[] = {
            {"cmbCal", "Label1", "Caliber", "Select the caliber of your firearm", {},
             "Select the caliber"},
            {"txtBWt", "Label3", "Weight in grains", "Enter bullet weight (MANDATORY)", "160"},
            {"txtBC", "Label4", "Ballistic coefficient",
             "Enter ballistic coefficient (MANDATORY)", ".421"},
            {"txtSD", "Label5", "Sectional Density", "Enter sectional density (MANDATORY)",
             ".552"},
            {"txtBMake", "Label15", "Make", "Manufacturer of your bullet", "BrandA"},
            {"txtBStyle", "Label16", "Bullet Style", "Enter bullet style description", "Spitzer"},
            {"txtLPwdr", "Label20", "Powder used", "Powder type used", "IMR 4831 Lot 12345"},
            {"txtLWt", "Label7", "Powder charge in grains",
             "Weight of powder charge used (MANDATORY)", "60"},
            {"txtfps", "Label8", "Muzzle velocity in fps", "Muzzle velocity (MANDATORY)", "2800"},
            {"txtLPrmr", "Label18", "Primer used", "Primer manufacturer and type",
             "CCI 250 Magnum rifle Lot 12345"},
            {"txtLBrass", "Label19", "Brass used", "Manufacturer of cases", "Federal Lot 12345"},
            {"txtDescription", "Label17", "Round Description",
             "Enter a meaningful description of this round or use our suggested description",
             "(Type a description)",
             "Enter a meaningful description for this information (MANDATORY)"},
            {"cmbMake", "Label10", "Make",
             "Select or type the manufacturer of the firearm used for the above round",
             "(type or select)"},
            {"txtGunModel", "Label11", "Model", "Firearm model", "BBR"},
            {"txtGunYr", "Label12", "Year of mfg.", "Enter the year when this firearm was built",
             currentYear()},
            {"txtGunSN", "Label13", "Serial number",
             "Enter this firearms serial number (for your records)", "(optional)"},
            {"txtGunBBL", "Label14", "Barrel length in inches",
             "Enter length of barrel (MANDATORY)", "24"},
            {"txtGunWt", "Label21", "Weight of firearm in lbs.",
             "Complete loaded weight of firearm (MANDATORY)", "9.5"},
        };
        for (const auto& r : rows) {
            auto* control = test::child<QWidget>(w, r.field);
            auto* label = test::child<QLabel>(w, r.label);
            const QString caption = QString::fromLatin1(r.caption);
            QCOMPARE(label->text(), caption);
            QCOMPARE(label->toolTip(), QString::fromLatin1(r.labelTip));
            QCOMPARE(label->buddy(), control);
            QCOMPARE(control->toolTip(), QString::fromLatin1(r.fieldTip));
            // Screen readers announce the field by its caption: as its name, or for a combo box
            // (whose name is its text) through the label relation.
            QAccessibleInterface* a = QAccessible::queryAccessibleInterface(control);
            auto* edit = qobject_cast<QLineEdit*>(control);
            if (edit && control != w->txtBMake)
                QCOMPARE(a->text(QAccessible::Name), caption);
            QStringList labelledBy;
            for (const auto& rel : a->relations(QAccessible::Label))
                labelledBy << rel.first->text(QAccessible::Name);
            QCOMPARE(labelledBy, QStringList{caption});
            QCOMPARE(edit ? edit->text() : qobject_cast<QComboBox*>(control)->currentText(),
                     r.text);
        }
    }

    void menuTreeInOrder() {
        open();
        // Each menu: its name, title, then its entries as name and caption ("-": a separator).
        const QList<QStringList> menus = {
            {"mnuFile", "&File", "mnuFileLoadR", "Load round info", "mnuFileLoadF",
             "Load firearm info", "mnuFileUpgrade", "Prepare for upgrade", "mnuFileRestore",
             "Restore backup package", "mnuFileSep1", "-", "mnuFileClose", "Close"},
            {"mnuTools", "&Tools", "mnuInteractive", "Interactive Range Simulator",
             "mnuToolsStabCalc", "Bullet Stabilization Calculator", "mnuRangeMeas",
             "Range Measurements Calculator", "mnuOrrin", "Orrin Calculator", "mnuSep1", "-",
             "mnuToolsStats", "Calculate ballistics", "mnuViewB", "View ballistics", "mnuGraphB",
             "Graph ballistics", "mnuSep2", "-", "mnuToolsEditDTB", "Edit Databases"},
            {"mnuRange", "&Range", "mnuRangeCard", "Range Card...", "mnuLoadHistory",
             "Load History..."},
            {"mnuHelp", "&Help", "mnuHelpHowto", "How-to..."}};
        QList<QStringList> shown;
        for (QAction* bar : w->menuBar()->actions()) {
            QStringList menu = {bar->menu()->objectName(), bar->menu()->title()};
            for (QAction* a : bar->menu()->actions())
                menu << a->objectName() << (a->isSeparator() ? QStringLiteral("-") : a->text());
            shown << menu;
        }
        QCOMPARE(shown, menus);
    }

    // Tab walks the fields as they stand; entering a text box selects from the caret to the end
    // (but not in the description); the year's arrows and keys step within 1700 to 2500.
    void theKeyboardWalksSelectsAndSteps() {
        open(true);
        const QStringList order = {"cmbCal",      "txtBWt",    "txtBC",          "txtSD",
                                   "txtBMake",    "txtBStyle", "txtLPwdr",       "txtLWt",
                                   "txtfps",      "txtLPrmr",  "txtLBrass",      "cmbMake",
                                   "txtGunModel", "txtGunYr",  "txtGunSN",       "txtGunBBL",
                                   "txtGunWt",    "cmdSaveGun", "txtDescription", "cmdSave",
                                   "cmdSaveAs",   "cmdCancel"};
        QCOMPARE(test::focusChain(w, w->cmbCal), order);

        w->txtBC->setText(QStringLiteral("abcdef 123"));
        w->txtBC->setCursorPosition(0);
        focus(w->txtBC, Qt::MouseFocusReason);
        QTRY_COMPARE(w->txtBC->selectedText(), QStringLiteral("abcdef 123"));
        w->txtLPwdr->setCursorPosition(4);
        focus(w->txtLPwdr, Qt::MouseFocusReason);
        QTRY_COMPARE(w->txtLPwdr->selectedText(), QStringLiteral("4831 Lot 12345"));
        QCOMPARE(w->txtLPwdr->selectionStart(), 4);
        w->txtDescription->setCursorPosition(0);
        focus(w->txtDescription, Qt::MouseFocusReason);
        QTest::qWait(20);
        QVERIFY(!w->txtDescription->hasSelectedText());

        QTest::mouseClick(w->UpDown1->upButton(), Qt::LeftButton);
        QCOMPARE(w->txtGunYr->text(), QString::number(QDate::currentDate().year() + 1));
        focus(w->txtGunYr);
        QTest::keyClick(w->txtGunYr, Qt::Key_Down);
        QCOMPARE(w->txtGunYr->text(), currentYear());
        w->txtGunYr->setText(QStringLiteral("2500"));
        QTest::mouseClick(w->UpDown1->upButton(), Qt::LeftButton);
        QCOMPARE(w->txtGunYr->text(), QStringLiteral("2500"));
    }

    void missingListFilesGiveEmptyListsAndTheWindowStillOpens() {
        app = std::make_unique<TestApp>(false);
        app->folder.write("Makes.ini", "");
        w = app->windows.get<frmRoundDevel>();
        QCOMPARE(w->cmbCal->count() + w->cmbMake->count(), 0);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
    }

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
        w->txtfps->clear();
        w->TmrValidate_Timer();
        const QString load = QStringLiteral(
            "Enter valid values for powder charge, muzzle velocity, and weight of firearm");
        QCOMPARE(w->statusText(), load);
        checkEnabled(false);
        w->txtfps->setText(QStringLiteral("2800"));
        w->TmrValidate_Timer();
        checkEnabled(true);
        QCOMPARE(w->statusText(), load); // the last message stays
    }

    // Only leaving the caliber, the weight or the bullet make rebuilds the description; a menu
    // or a dialog over one of them neither rebuilds it nor selects the field's text.
    void leavingTheDescriptionsSourcesRebuildsItAndMenusDoNot() {
        open(true);
        pickCaliber(QStringLiteral("apple"));
        focus(w->cmbCal, Qt::TabFocusReason);
        tabAway();
        QVERIFY(w->txtBWt->hasFocus());
        QCOMPARE(w->txtDescription->text(), QStringLiteral("apple: 160gr. BrandA"));
        pickCaliber(QStringLiteral("cherry"));
        w->txtBWt->setText(QStringLiteral("150"));
        tabAway();
        QCOMPARE(w->txtDescription->text(), QStringLiteral("cherry: 150gr. BrandA"));
        // A typed description is overwritten at the next rebuild.
        w->txtDescription->setText(QStringLiteral("my own words"));
        focus(w->txtBMake);
        w->txtBMake->setText(QStringLiteral("BrandB"));
        focus(w->txtBStyle);
        QCOMPARE(w->txtDescription->text(), QStringLiteral("cherry: 150gr. BrandB"));
        // Other fields leave it alone.
        w->txtDescription->setText(QStringLiteral("my own words"));
        for (QWidget* f : std::initializer_list<QWidget*>{w->txtSD, w->txtLWt, w->cmbMake,
                                                          w->txtDescription, w->txtGunSN})
            focus(f);
        QCOMPARE(w->txtDescription->text(), QStringLiteral("my own words"));

        for (QWidget* field : std::initializer_list<QWidget*>{w->cmbCal, w->txtBWt, w->txtBMake}) {
            test::activate(w);
            focus(field, Qt::TabFocusReason);
            w->txtDescription->setText(QStringLiteral("my own words"));
            auto* e = qobject_cast<QLineEdit*>(field);
            if (e) {
                QTRY_VERIFY(e->hasSelectedText());
                QTest::qWait(20); // the selection made on entering is done
                e->deselect();
                e->setCursorPosition(1);
            }
            // A menu opened and closed over the field.
            w->mnuFile->popup(field->mapToGlobal(QPoint(0, 0)));
            QTRY_VERIFY(w->mnuFile->isVisible());
            w->mnuFile->close();
            QTRY_VERIFY(field->hasFocus());
            // A dialog: File > Load round info, then Cancel.
            app->folder.write("rounds.dtb", "");
            test::whenShown<frmSelect>([](frmSelect* d) { d->cmdCancel->click(); });
            w->mnuFileLoadR->trigger();
            QTest::qWait(20);
            QCOMPARE(w->txtDescription->text(), QStringLiteral("my own words"));
            if (e)
                QVERIFY2(!e->hasSelectedText(), "coming back must not select the text");
        }
        // A real move out of the field still rebuilds it.
        test::activate(w);
        focus(w->txtBMake, Qt::TabFocusReason);
        tabAway();
        QCOMPARE(w->txtDescription->text(), QStringLiteral("cherry: 150gr. BrandB"));
    }

    // Last, as Esc ends the program.
    void startUpLeavesTheSplashInFrontAKeyOrAClickClosesItAndEscapeEndsTheProgram() {
        app = std::make_unique<TestApp>();
        w = startUp(app->context);
        QPointer<frmSplash> splash = app->windows.find<frmSplash>();
        QVERIFY(splash && w->isVisible());
        QCOMPARE(app->windows.find<frmRoundDevel>(), w);
        // The start-up timer fires once and asks for the splash to be activated.
        QTRY_VERIFY(!w->Timer1->isActive());
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(splash.data()));
        QCOMPARE(splash->lblVersion->text(), QStringLiteral("Version 6.0"));
        QCOMPARE(splash->lblPlatform->text(), QStringLiteral("Windows NT, 2000, and XP"));
        QCOMPARE(splash->lblWarning->text(),
                 QStringLiteral("Notice: This software is provided without support."));
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget()
                                                    : static_cast<QWidget*>(splash),
                        Qt::Key_Space);
        QTRY_VERIFY(splash.isNull());
        QVERIFY(w->isVisible());

        // Each window exists once, the splash closes on a click, Esc ends the program.
        QCOMPARE(app->windows.show<frmRoundDevel>(), w);
        splash = app->windows.show<frmSplash>();
        QCOMPARE(app->windows.show<frmSplash>(), splash.data());
        QVERIFY(QTest::qWaitForWindowExposed(splash));
        QTest::mouseClick(splash->lblWarning, Qt::LeftButton, {}, QPoint(2, 2));
        QTRY_VERIFY(splash.isNull());
        QVERIFY(!app->windows.find<frmSplash>()); // the next request makes a new one

        splash = app->windows.show<frmSplash>();
        test::activate(w);
        focus(w->txtBC);
        QTest::keyClick(w->txtBC, Qt::Key_Escape);
        QTRY_VERIFY(!w->isVisible());
        QVERIFY(splash.isNull() || !splash->isVisible());
    }
};

QTEST_MAIN(tst_frmRoundDevel)
#include "tst_frmRoundDevel.moc"
