#include "frmSelect.h"

#include "gui/ui/Text.h"

#include "gui/ui/ControlBuilder.h"
#include "core/workbench/Databases.h"
#include "core/common/Encoding.h"
#include "gui/ui/Geometry.h"

#include <QListWidget>
#include <QPushButton>
#include <QResizeEvent>

namespace fendrel {

frmSelect::frmSelect(const std::filesystem::path& file, int fieldCount, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("frmSelect"));
    setWindowTitle(QStringLiteral("Please select from this list..."));
    setModal(true);
    setSizeGripEnabled(true);

    lstSelector = new QListWidget(this);
    lstSelector->setObjectName(QStringLiteral("lstSelector"));
    lstSelector->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lstSelector->setAccessibleName(QStringLiteral("Records"));
    lstSelector->setGeometry(twipsRect(0, 0, 8535, 2535));

    cmdOK = ControlBuilder(this).button("cmdOK", QStringLiteral("&OK"));
    cmdOK->setToolTip(QStringLiteral("Use the selected item"));
    cmdOK->setGeometry(twipsRect(2400, 2640, 1935, 495));
    cmdOK->setDefault(true);
    cmdCancel = ControlBuilder(this).button("cmdCancel", QStringLiteral("&Cancel"));
    cmdCancel->setToolTip(QStringLiteral("Close this box without applying any changes"));
    cmdCancel->setGeometry(twipsRect(4440, 2640, 1935, 495));
    setTabOrder(lstSelector, cmdOK);
    setTabOrder(cmdOK, cmdCancel);

    connect(cmdOK, &QPushButton::clicked, this, &frmSelect::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmSelect::cmdCancel_Click);
    connect(lstSelector, &QListWidget::itemDoubleClicked, this, &frmSelect::cmdOK_Click);

    // One line per record of the current data file, in file order.
    lstSelector->clear();
    for (const auto& line : selectionLines(file, static_cast<size_t>(fieldCount)))
        lstSelector->addItem(utf8Text(line));
    if (lstSelector->count() > 0)
        lstSelector->setCurrentRow(0, QItemSelectionModel::NoUpdate);

    resize(twips(8505), twips(3195));
}

std::optional<int> frmSelect::run(const std::filesystem::path& file, int fieldCount,
                                  QWidget* parent) {
    frmSelect dialog(file, fieldCount, parent);
    dialog.exec();
    return dialog.chosen();
}

void frmSelect::cmdOK_Click() {
    m_chosen.reset();
    // The last marked entry wins.
    for (int i = 0; i < lstSelector->count(); ++i)
        if (lstSelector->item(i)->isSelected())
            m_chosen = std::min(i, 32767);
    accept();
}

void frmSelect::cmdCancel_Click() {
    m_chosen.reset();
    QDialog::reject();
}

// Esc and the window frame's close both count as Cancel.
void frmSelect::reject() { cmdCancel_Click(); }

void frmSelect::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    // The layout is computed from the window's outer size in twips: the client area plus the
    // frame (120 twips across) and the title bar with its borders (405 twips down). Sizes the
    // platform refuses (negative ones) are skipped; the other steps still run.
    const int W = toTwips(event->size().width()) + 120;
    const int H = toTwips(event->size().height()) + 405;
    const int okW = toTwips(cmdOK->width());
    const int okH = toTwips(cmdOK->height());
    const int listH = H - (okH + 600);
    const int listW = W - 200;
    if (listW >= 0 && listH >= 0)
        lstSelector->resize(twips(listW), twips(listH));
    cmdOK->move(twips(W / 2 - (okW + 100)), twips(H - (okH + 500)));
    cmdCancel->move(twips(W / 2 + 100), twips(H - (okH + 500)));
}

} // namespace fendrel
