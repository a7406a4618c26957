// The Load History window's controls: the loads and their entries on the left, the entry fields
// and their commands on the right, the comparison under them; the File menu; the tab order.
#include "frmLoadHistory.h"

#include "gui/ui/ControlBuilder.h"
#include "gui/ui/Menus.h"
#include "gui/ui/Text.h"

#include <QChart>
#include <QChartView>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

namespace fendrel {

namespace {

QTableWidget* table(ControlBuilder& make, const char* name, const QString& accessibleName,
                    QAbstractItemView::SelectionMode mode) {
    auto* t = make.make<QTableWidget>(name);
    t->setAccessibleName(accessibleName);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->setSelectionMode(mode);
    t->setTabKeyNavigation(false);
    t->setWordWrap(false);
    t->verticalHeader()->hide();
    t->verticalHeader()->setDefaultSectionSize(t->fontMetrics().height() + 6);
    t->horizontalHeader()->setHighlightSections(false);
    // The last column (a note, the latest date) takes the width left, so it is never cut off.
    t->horizontalHeader()->setStretchLastSection(true);
    return t;
}

// A caption over its control, the caption naming the control for screen readers and Alt+key.
QWidget* captioned(QLabel* caption, QWidget* control) {
    auto* box = new QWidget;
    auto* column = new QVBoxLayout(box);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    caption->setBuddy(control);
    column->addWidget(caption);
    column->addWidget(control, 1);
    return box;
}

} // namespace

void frmLoadHistory::buildControls() {
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("clientArea"));
    setCentralWidget(central);
    ControlBuilder make(central);

    lblLoads = make.label("lblLoads", QStringLiteral("&Loads (select several to compare):"));
    lstLoads = table(make, "lstLoads", QStringLiteral("Loads"), QAbstractItemView::ExtendedSelection);
    lblStatus = make.label("lblStatus", QString());
    lblStatus->setWordWrap(true);
    lblStrings = make.label("lblStrings", QStringLiteral("&Strings of the selected loads:"));
    grdStrings = table(make, "grdStrings", QStringLiteral("Strings of the selected loads"),
                       QAbstractItemView::ExtendedSelection);
    lblGroups = make.label("lblGroups", QStringLiteral("&Groups of the selected loads:"));
    grdGroups = table(make, "grdGroups", QStringLiteral("Groups of the selected loads"),
                      QAbstractItemView::ExtendedSelection);

    fraEntry = make.frame("fraEntry", QStringLiteral("Entry"));
    ControlBuilder entry(fraEntry);
    auto* form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    const auto field = [&](QLabel*& label, const char* labelName, const QString& caption,
                           QLineEdit*& box, const char* name, const QString& placeholder) {
        label = entry.label(labelName, caption);
        box = entry.textBox(name);
        box->setPlaceholderText(placeholder);
        label->setBuddy(box);
        form->addRow(label, box);
    };
    field(lblDate, "lblDate", QStringLiteral("&Date:"), txtDate, "txtDate",
          QStringLiteral("YYYY-MM-DD"));
    field(lblTemperature, "lblTemperature", QStringLiteral("Air te&mperature (\u00B0F):"),
          txtTemperature, "txtTemperature", QStringLiteral("not measured"));
    field(lblCharge, "lblCharge", QStringLiteral("Powder &charge (gr):"), txtCharge, "txtCharge",
          QString());
    field(lblDistance, "lblDistance", QStringLiteral("Distance (&yd):"), txtDistance,
          "txtDistance", QString());
    field(lblNote, "lblNote", QStringLiteral("&Note:"), txtNote, "txtNote", QString());
    lblShots = entry.label("lblShots", QStringLiteral("Sh&ots (ft/s):"));
    txtShots = entry.make<QPlainTextEdit>("txtShots");
    txtShots->setTabChangesFocus(true);
    txtShots->setAccessibleName(QStringLiteral("Shots (ft/s)"));
    txtShots->setPlaceholderText(QStringLiteral("2712.4, 2706.9, 2718.0 ..."));
    txtShots->setMinimumHeight(txtShots->fontMetrics().height() * 4);
    lblShots->setBuddy(txtShots);
    form->addRow(lblShots, txtShots);

    cmdAddString = entry.button("cmdAddString", QStringLiteral("&Add String"));
    cmdAddString->setToolTip(
        QStringLiteral("Adds the shots typed above as a string of the round on the main window."));
    cmdImportCsv = entry.button("cmdImportCsv", QStringLiteral("&Import Chronograph..."));
    cmdImportCsv->setToolTip(QStringLiteral(
        "Adds the strings of a chronograph or e-target export (Garmin Xero, LabRadar, "
        "MagnetoSpeed, ShotMarker, ProChrono or a plain CSV); the date, air temperature and "
        "charge above serve the series that carry none. A file can also be dropped on the "
        "window."));
    cmdAddGroup = entry.button("cmdAddGroup", QStringLiteral("Add Last Grou&p..."));
    cmdAddGroup->setToolTip(QStringLiteral(
        "Adds the group last measured in the shot group window, at the distance you give."));
    cmdImportGroup = entry.button("cmdImportGroup", QStringLiteral("Import Gro&up File..."));
    cmdSaveEntry = entry.button("cmdSaveEntry", QStringLiteral("Sa&ve Changes..."));
    cmdSaveEntry->setToolTip(
        QStringLiteral("Replaces the selected string or group with the values above."));
    cmdDelete = entry.button("cmdDelete", QStringLiteral("Dele&te..."));
    cmdCompare = entry.button("cmdCompare", QStringLiteral("Compar&e..."));
    cmdCompare->setToolTip(QStringLiteral(
        "Whether two strings, two groups or two loads selected (Ctrl+click the second) really "
        "differ, and how many shots would tell."));
    auto* commands = new QGridLayout;
    commands->addWidget(cmdAddString, 0, 0);
    commands->addWidget(cmdImportCsv, 0, 1);
    commands->addWidget(cmdAddGroup, 1, 0);
    commands->addWidget(cmdImportGroup, 1, 1);
    commands->addWidget(cmdSaveEntry, 2, 0);
    commands->addWidget(cmdDelete, 2, 1);
    commands->addWidget(cmdCompare, 3, 0);
    auto* entryColumn = new QVBoxLayout(fraEntry);
    entryColumn->addLayout(form);
    entryColumn->addLayout(commands);
    entryColumn->addStretch(1);

    chtCompare = make.make<QChartView>("chtCompare");
    chtCompare->setAccessibleName(QStringLiteral("Comparison chart"));
    chtCompare->setAccessibleDescription(
        QStringLiteral("Velocity, SD and mean radius by powder charge; the same values stand in "
                       "the comparison table."));
    chtCompare->setRenderHint(QPainter::Antialiasing);
    chtCompare->setFocusPolicy(Qt::NoFocus);
    chtCompare->setMinimumHeight(300);
    chtCompare->chart()->setMargins(QMargins(4, 4, 4, 4));
    lblCompare = make.label("lblCompare", QStringLiteral("Compa&rison by powder charge:"));
    grdCompare = table(make, "grdCompare", QStringLiteral("Comparison by powder charge"),
                       QAbstractItemView::SingleSelection);
    lblSlope = make.label("lblSlope", QString());
    lblSlope->setWordWrap(true);

    // Upper half: the loads and entries beside the entry fields; lower half: the comparison.
    auto* lists = new QVBoxLayout;
    lists->addWidget(captioned(lblLoads, lstLoads), 2);
    lists->addWidget(lblStatus);
    lists->addWidget(captioned(lblStrings, grdStrings), 2);
    lists->addWidget(captioned(lblGroups, grdGroups), 2);
    auto* upper = new QWidget;
    auto* upperRow = new QHBoxLayout(upper);
    upperRow->setContentsMargins(0, 0, 0, 0);
    upperRow->addLayout(lists, 1);
    upperRow->addWidget(fraEntry);
    fraEntry->setFixedWidth(fraEntry->fontMetrics().averageCharWidth() * 46);

    auto* lower = new QWidget;
    auto* lowerRow = new QHBoxLayout(lower);
    lowerRow->setContentsMargins(0, 0, 0, 0);
    lowerRow->addWidget(chtCompare, 1);
    auto* values = new QVBoxLayout;
    values->addWidget(captioned(lblCompare, grdCompare), 1);
    values->addWidget(lblSlope);
    lowerRow->addLayout(values, 1);

    auto* splitter = make.make<QSplitter>("splHistory");
    splitter->setOrientation(Qt::Vertical);
    splitter->setChildrenCollapsible(false);
    splitter->addWidget(upper);
    splitter->addWidget(lower);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
    auto* page = new QVBoxLayout(central);
    page->addWidget(splitter);

    // Delete in either list of entries deletes the selected entry, after asking.
    for (QTableWidget* entries : {grdStrings, grdGroups}) {
        auto* shortcut = new QShortcut(QKeySequence::Delete, entries);
        shortcut->setContext(Qt::WidgetShortcut);
        connect(shortcut, &QShortcut::activated, this, &frmLoadHistory::cmdDelete_Click);
    }

    buildMenu();
    const QList<QWidget*> order = {lstLoads,     grdStrings,     grdGroups,    txtDate,
                                   txtTemperature, txtCharge,    txtDistance,  txtNote,
                                   txtShots,     cmdAddString,   cmdImportCsv, cmdAddGroup,
                                   cmdImportGroup, cmdSaveEntry, cmdDelete,    cmdCompare,
                                   grdCompare};
    for (int i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order[i], order[i + 1]);
    resize(1180, 756); // with a title bar, within a 1280 x 800 screen
}

void frmLoadHistory::buildMenu() {
    mnuFile = addMenu(menuBar(), "mnuFile", QStringLiteral("&File"));
    mnuFilePrint = addEntry(mnuFile, "mnuFilePrint", QStringLiteral("&Print..."));
    mnuFilePrint->setShortcut(QKeySequence::Print);
    mnuFilePdf = addEntry(mnuFile, "mnuFilePdf", QStringLiteral("Save as P&DF..."));
    mnuFileCsv = addEntry(mnuFile, "mnuFileCsv", QStringLiteral("Save as &CSV..."));
    addSeparator(mnuFile, "mnuFileSepImport");
    mnuFileImport = addEntry(mnuFile, "mnuFileImport", QStringLiteral("&Import chronograph file..."));
    mnuFileImportFolder =
        addEntry(mnuFile, "mnuFileImportFolder", QStringLiteral("Import LabRadar &folder..."));
    addSeparator(mnuFile, "mnuFileSep");
    mnuFileClose = addEntry(mnuFile, "mnuFileClose", QStringLiteral("&Close"));
    connect(mnuFilePrint, &QAction::triggered, this, &frmLoadHistory::mnuFilePrint_Click);
    connect(mnuFilePdf, &QAction::triggered, this, &frmLoadHistory::mnuFilePdf_Click);
    connect(mnuFileCsv, &QAction::triggered, this, &frmLoadHistory::mnuFileCsv_Click);
    connect(mnuFileImport, &QAction::triggered, this, &frmLoadHistory::cmdImportCsv_Click);
    connect(mnuFileImportFolder, &QAction::triggered, this,
            &frmLoadHistory::mnuFileImportFolder_Click);
    connect(mnuFileClose, &QAction::triggered, this, &QWidget::close);
}

void frmLoadHistory::fillTable(QTableWidget* t, const TextTable& text) {
    t->clear();
    t->setColumnCount(static_cast<int>(text.headers.size()));
    t->setRowCount(static_cast<int>(text.rows.size()));
    QStringList headers;
    for (const std::string& h : text.headers)
        headers << utf8Text(h);
    // Units under their names keep the columns narrow.
    QStringList shown = headers;
    for (QString& h : shown)
        h.replace(QStringLiteral(" ("), QStringLiteral("\n("));
    t->setHorizontalHeaderLabels(shown);
    for (int r = 0; r < t->rowCount(); ++r) {
        const auto& row = text.rows[static_cast<size_t>(r)];
        for (int c = 0; c < t->columnCount() && c < static_cast<int>(row.size()); ++c) {
            auto* item = new QTableWidgetItem(utf8Text(row[static_cast<size_t>(c)]));
            // Texts (load, date, caliber, note) read from the left, numbers from the right.
            const bool number = !item->text().isEmpty() &&
                                (item->text()[0].isDigit() || item->text()[0] == QLatin1Char('-'));
            const bool isText = headers[c] == QLatin1String("Load") ||
                                headers[c] == QLatin1String("Date") ||
                                headers[c] == QLatin1String("Caliber") ||
                                headers[c] == QLatin1String("Latest") ||
                                headers[c] == QLatin1String("Note");
            item->setTextAlignment(Qt::AlignVCenter |
                                   (number && !isText ? Qt::AlignRight : Qt::AlignLeft));
            t->setItem(r, c, item);
        }
    }
    t->resizeColumnsToContents();
}

} // namespace fendrel
