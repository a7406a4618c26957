#include "frmImportSeries.h"

#include "gui/ui/ControlBuilder.h"
#include "gui/ui/Text.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace fendrel {

frmImportSeries::frmImportSeries(const LoadHistorySession::ImportPlan& plan, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("frmImportSeries"));
    setWindowTitle(QStringLiteral("Import Series"));
    ControlBuilder make(this);

    const std::size_t count = plan.previews.size();
    lblSource = make.label("lblSource",
                           utf8Text(plan.source.filename().string() + ": " +
                                    layoutName(plan.read.layout) + ", " + std::to_string(count) +
                                    (count == 1 ? " series." : " series. Tick those to import.")));
    lblSource->setWordWrap(true);
    lblSeries = make.label("lblSeries", QStringLiteral("&Series in the file:"));
    grdSeries = make.make<QTableWidget>("grdSeries");
    grdSeries->setAccessibleName(QStringLiteral("Series in the file"));
    grdSeries->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdSeries->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdSeries->setSelectionMode(QAbstractItemView::SingleSelection);
    grdSeries->setTabKeyNavigation(false);
    grdSeries->setWordWrap(false);
    grdSeries->verticalHeader()->hide();
    grdSeries->horizontalHeader()->setStretchLastSection(true);
    lblSeries->setBuddy(grdSeries);

    const TextTable& table = plan.table;
    grdSeries->setColumnCount(static_cast<int>(table.headers.size()));
    grdSeries->setRowCount(static_cast<int>(table.rows.size()));
    QStringList headers;
    for (const std::string& h : table.headers)
        headers << utf8Text(h);
    grdSeries->setHorizontalHeaderLabels(headers);
    for (int r = 0; r < grdSeries->rowCount(); ++r) {
        const auto& row = table.rows[static_cast<std::size_t>(r)];
        for (int c = 0; c < grdSeries->columnCount() && c < static_cast<int>(row.size()); ++c) {
            auto* item = new QTableWidgetItem(utf8Text(row[static_cast<std::size_t>(c)]));
            // The name ticks the series; the numbers read from the right.
            const bool number = c >= 2 && c + 1 < grdSeries->columnCount();
            item->setTextAlignment(Qt::AlignVCenter | (number ? Qt::AlignRight : Qt::AlignLeft));
            if (c == 0) {
                const bool duplicate = plan.duplicate[static_cast<std::size_t>(r)];
                item->setFlags(duplicate ? Qt::ItemIsSelectable
                                         : Qt::ItemIsSelectable | Qt::ItemIsEnabled |
                                               Qt::ItemIsUserCheckable);
                item->setCheckState(plan.ticked[static_cast<std::size_t>(r)] ? Qt::Checked
                                                                              : Qt::Unchecked);
            }
            grdSeries->setItem(r, c, item);
        }
    }
    grdSeries->resizeColumnsToContents();
    if (grdSeries->rowCount() > 0)
        grdSeries->setCurrentCell(0, 0);

    QString notices;
    for (const std::string& n : plan.read.notices)
        notices += (notices.isEmpty() ? QString() : QStringLiteral("\n")) + utf8Text(n);
    lblNotices = make.label("lblNotices", notices);
    lblNotices->setWordWrap(true);
    lblNotices->setVisible(!notices.isEmpty());

    lblLoad = make.label("lblLoad", QStringLiteral("Import into &load:"));
    cmbLoad = make.make<QComboBox>("cmbLoad");
    cmbLoad->setEditable(true);
    cmbLoad->setInsertPolicy(QComboBox::NoInsert);
    for (const std::string& l : plan.loads)
        cmbLoad->addItem(utf8Text(l));
    cmbLoad->setCurrentText(utf8Text(plan.load));
    cmbLoad->setAccessibleName(QStringLiteral("Import into load"));
    cmbLoad->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    lblLoad->setBuddy(cmbLoad);

    cmdAll = make.button("cmdAll", QStringLiteral("Tick &all"));
    cmdNone = make.button("cmdNone", QStringLiteral("Tick &none"));
    cmdImport = make.button("cmdImport", QStringLiteral("&Import"));
    cmdCancel = make.button("cmdCancel", QStringLiteral("Cancel"));
    cmdImport->setDefault(true);

    auto* loadRow = new QHBoxLayout;
    loadRow->addWidget(lblLoad);
    loadRow->addWidget(cmbLoad, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdAll);
    buttons->addWidget(cmdNone);
    buttons->addStretch(1);
    buttons->addWidget(cmdImport);
    buttons->addWidget(cmdCancel);
    auto* column = new QVBoxLayout(this);
    column->addWidget(lblSource);
    column->addWidget(lblSeries);
    column->addWidget(grdSeries, 1);
    column->addWidget(lblNotices);
    column->addLayout(loadRow);
    column->addLayout(buttons);

    connect(cmdAll, &QPushButton::clicked, this, [this] { tickAll(true); });
    connect(cmdNone, &QPushButton::clicked, this, [this] { tickAll(false); });
    connect(cmdImport, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    setTabOrder(grdSeries, cmbLoad);
    setTabOrder(cmbLoad, cmdAll);
    setTabOrder(cmdAll, cmdNone);
    setTabOrder(cmdNone, cmdImport);
    setTabOrder(cmdImport, cmdCancel);
    grdSeries->setFocus();

    // Wide enough for the list's columns, within a 1280 x 800 screen.
    int width = 40;
    for (int c = 0; c < grdSeries->columnCount(); ++c)
        width += grdSeries->columnWidth(c);
    resize(std::clamp(width, 560, 1100), 420);
}

void frmImportSeries::tickAll(bool on) {
    for (int r = 0; r < grdSeries->rowCount(); ++r)
        if (QTableWidgetItem* item = grdSeries->item(r, 0);
            item && (item->flags() & Qt::ItemIsUserCheckable))
            item->setCheckState(on ? Qt::Checked : Qt::Unchecked);
}

std::vector<bool> frmImportSeries::ticked() const {
    std::vector<bool> out;
    for (int r = 0; r < grdSeries->rowCount(); ++r) {
        const QTableWidgetItem* item = grdSeries->item(r, 0);
        out.push_back(item && item->checkState() == Qt::Checked);
    }
    return out;
}

std::string frmImportSeries::load() const { return fromQt(cmbLoad->currentText()); }

} // namespace fendrel
