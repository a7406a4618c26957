// Every window, walked as a screen reader would: each control that takes the keyboard focus
// must have an accessible name, and each window must be reachable by its title.
#include "TestApp.h"
#include "gui/backup/frmRestore.h"
#include "gui/backup/frmUpgrade.h"
#include "gui/chart/frmViewChart.h"
#include "gui/engine/frmDialog.h"
#include "gui/groups/frmMeasure.h"
#include "gui/help/frmHelp.h"
#include "gui/rangecard/frmDopeCard.h"
#include "gui/rangecard/frmRangeCard.h"
#include "gui/history/frmImportSeries.h"
#include "gui/history/frmLoadHistory.h"
#include "gui/report/frmReport.h"
#include "gui/simulator/frmInteractive.h"
#include "gui/stabilizer/frmStabilizer.h"
#include "gui/workbench/frmRoundDevel.h"
#include "gui/workbench/frmSelect.h"
#include "gui/workbench/frmSplash.h"
#include "gui/workbench/frmViewLogs.h"

#include <QAccessible>
#include <QAbstractButton>
#include <QGroupBox>
#include <QMap>
#include <QSet>

using namespace fendrel;
using fendrel::test::TestApp;

namespace {

// Stops a window's timers so that its start-up steps (which ask for files) do not run.
void quiet(QWidget* w) {
    for (QTimer* t : w->findChildren<QTimer*>())
        t->stop();
}

QStringList unnamedControls(QWidget* window) {
    QStringList missing;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!(w->focusPolicy() & Qt::TabFocus) || !w->isVisibleTo(window))
            continue;
        // The inner parts of composite controls (a combo box's line edit, a scroll area's
        // viewport) are named through their owner.
        if (w->focusProxy() || qobject_cast<QMenu*>(w))
            continue;
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w);
        const QString name = iface ? iface->text(QAccessible::Name).trimmed() : QString();
        if (name.isEmpty())
            missing << w->objectName() + QStringLiteral(" (") + w->metaObject()->className() + ')';
    }
    return missing;
}

// On Linux a list box's accessible name is the item chosen; screen readers name the list by
// the label whose buddy it is, so every list box needs one.
QStringList listsWithoutCaption(QWidget* window) {
    QSet<QWidget*> captioned;
    for (QLabel* l : window->findChildren<QLabel*>())
        if (l->buddy() && l->isVisibleTo(window))
            captioned.insert(l->buddy());
    QStringList missing;
    for (QComboBox* box : window->findChildren<QComboBox*>())
        if (box->isVisibleTo(window) && !captioned.contains(box))
            missing << box->objectName();
    return missing;
}

QStringList menusWithoutMnemonic(QWidget* window) {
    QStringList missing;
    for (QMenuBar* bar : window->findChildren<QMenuBar*>())
        for (QAction* a : bar->actions())
            if (!a->text().contains(QLatin1Char('&')))
                missing << a->text();
    return missing;
}

// The letter after the '&' of a caption, lower case, or 0.
QChar mnemonic(const QString& text) {
    for (int i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != QLatin1Char('&'))
            continue;
        if (text[i + 1] != QLatin1Char('&'))
            return text[i + 1].toLower();
        ++i;
    }
    return {};
}

// Alt and a letter must do one thing: open one menu, or reach one control.
QStringList mnemonicClashes(QWidget* window) {
    QMap<QChar, QStringList> owners;
    for (QMenuBar* bar : window->findChildren<QMenuBar*>())
        for (QAction* a : bar->actions())
            if (const QChar c = mnemonic(a->text()); !c.isNull())
                owners[c] << QStringLiteral("menu ") + a->text();
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(window))
            continue;
        QString text;
        if (auto* b = qobject_cast<QAbstractButton*>(w))
            text = b->text();
        else if (auto* l = qobject_cast<QLabel*>(w); l && l->buddy())
            text = l->text();
        else if (auto* g = qobject_cast<QGroupBox*>(w))
            text = g->title();
        if (const QChar c = mnemonic(text); !c.isNull())
            owners[c] << w->objectName();
    }
    QStringList clashes;
    for (auto it = owners.cbegin(); it != owners.cend(); ++it)
        if (it.value().size() > 1)
            clashes << QString(it.key()) + QStringLiteral(": ") + it.value().join(QLatin1Char('/'));
    return clashes;
}

} // namespace

class Accessibility : public QObject {
    Q_OBJECT

    std::unique_ptr<TestApp> app;

    void check(QWidget* w) {
        quiet(w);
        w->show();
        QApplication::processEvents();
        QVERIFY2(!w->windowTitle().isEmpty() || w->objectName() == QLatin1String("frmSplash"),
                 qPrintable(w->objectName()));
        for (const auto& [what, found] : {std::pair{"", unnamedControls(w)},
                                          {" lists", listsWithoutCaption(w)},
                                          {" menus", menusWithoutMnemonic(w)},
                                          {" clashes", mnemonicClashes(w)}})
            QVERIFY2(found.isEmpty(), qPrintable(w->objectName() + what + ": " + found.join(", ")));
        // The first showing fits a 1280 x 800 screen.
        const QSize size = w->frameGeometry().size();
        QVERIFY2(size.width() <= 1280 && size.height() <= 800,
                 qPrintable(w->objectName() + QStringLiteral(" opens %1 x %2")
                                                  .arg(size.width())
                                                  .arg(size.height())));
    }

private slots:
    void initTestCase() { QAccessible::setActive(true); }
    void init() {
        app = std::make_unique<TestApp>();
        app->state.currentDataFile = "[NONE]";
    }
    void cleanup() { app.reset(); }

    void mainWindow() { check(app->windows.get<frmRoundDevel>()); }
    void splash() { check(app->windows.get<frmSplash>()); }
    void selectionList() {
        frmSelect d(app->folder / "editlist.txt", 1);
        check(&d);
    }
    void editor() { check(app->windows.get<frmViewLogs>()); }
    void specifications() {
        frmDialog d(app->context, app->state.run);
        check(&d);
    }
    void report() { check(app->windows.get<frmReport>()); }
    void chart() { check(app->windows.get<frmViewChart>()); }
    void stabilizer() { check(app->windows.get<frmStabilizer>()); }
    void groups() { check(app->windows.get<frmMeasure>()); }
    void backup() { check(app->windows.get<frmUpgrade>()); }
    void restore() { check(app->windows.get<frmRestore>()); }
    void help() { check(app->windows.get<frmHelp>()); }
    void simulator() { check(app->windows.get<frmInteractive>()); }
    void rangeCard() { check(app->windows.get<frmRangeCard>()); }
    void dopeCard() {
        auto* card = app->windows.get<frmRangeCard>();
        frmDopeCard d(card->session(), app->context, card);
        check(&d);
    }
    void loadHistory() { check(app->windows.get<frmLoadHistory>()); }
    void importSeries() {
        LoadHistorySession session(app->folder.path());
        PromptsHost host(app->prompts, nullptr);
        RoundTexts round;
        round.description = "308 Ladder";
        EntryFields fields;
        fields.date = "2024-05-10";
        fields.charge = "42.5";
        const auto plan =
            session.readImport(test::fixture("history/shotmarker.csv"), round, fields, host);
        QVERIFY(plan);
        frmImportSeries d(*plan);
        check(&d);
    }
};

QTEST_MAIN(Accessibility)
#include "tst_accessibility.moc"
