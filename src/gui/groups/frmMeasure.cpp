#include "frmMeasure.h"

#include "TargetWidget.h"
#include "gui/ui/AppContext.h"
#include "core/common/Encoding.h"
#include "core/common/Numbers.h"
#include "core/common/ProgramFolder.h"
#include "core/common/SharedState.h"
#include "core/common/TextFile.h"
#include "gui/ui/WindowRegistry.h"
#include "gui/ui/Menus.h"
#include "gui/ui/Text.h"
#include "gui/ui/Geometry.h"
#include "gui/ui/Printing.h"
#include "gui/ui/Prompts.h"
#include "gui/ui/UpDown.h"

#include <QComboBox>
#include <QEvent>
#include <QFileInfo>
#include <QFocusEvent>
#include <QFontDatabase>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QTableWidget>
#include <QTextEdit>
#include <QTimer>
#include <algorithm>
#include <cmath>

namespace fendrel {

namespace {

const QString kEnterTip = QStringLiteral(
    "Enter the X and Y coordinates for the center of each shot and then click 'Accept'.");
const QString kAllEnteredTip = QStringLiteral(
    "All coordinates have been entered. Click the 'Do It' button or increase the total number of "
    "rounds in this group.");



} // namespace

frmMeasure::frmMeasure(AppContext& context)
    : m_context(context), m_session(context.state), m_host(context.prompts, this) {
    setObjectName(QStringLiteral("frmMeasure"));
    setWindowTitle(QStringLiteral("Measures"));
    setAttribute(Qt::WA_DeleteOnClose);
    buildControls();
    cmdAccept->setToolTip(kEnterTip);

    txtX->installEventFilter(this);
    txtY->installEventFilter(this);
    connect(txtX, &QLineEdit::returnPressed, this, &frmMeasure::cmdAccept_Click);
    connect(txtY, &QLineEdit::returnPressed, this, &frmMeasure::cmdAccept_Click);
    connect(cmdAccept, &QPushButton::clicked, this, &frmMeasure::cmdAccept_Click);
    connect(cmdClear, &QPushButton::clicked, this, &frmMeasure::cmdClear_Click);
    connect(cmdDoIt, &QPushButton::clicked, this, &frmMeasure::cmdDoIt_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmMeasure::cmdCancel_Click);
    connect(cmdDisplay, &QPushButton::clicked, this, &frmMeasure::cmdDisplay_Click);
    connect(cmdCLS, &QPushButton::clicked, this, &frmMeasure::cmdCLS_Click);
    connect(gridSpread, &QTableWidget::cellClicked, this,
            [this](int row, int) { gridSpread_Click(row + 1); });

    // Opening: the first round, the calibre of the main window, and the grid for five rounds.
    m_session.entry() = CoordinateEntry(rounds().value_or(5));
    m_displayed = false;
    double caliber = 0;
    if (const auto round = m_context.roundOnScreen())
        caliber = leadingNumber(round->caliber);
    if (!std::isfinite(caliber))
        caliber = 0;
    txtCal->setText(utf8Text(generalNumber(caliber)));
    txtCal->setCursorPosition(0);
    showEntry();
    mnuFileSave->setEnabled(false);
    mnuFilePrint->setEnabled(false);
    Update();
    connect(txtTtlRounds, &QLineEdit::textChanged, this, &frmMeasure::txtTtlRounds_Change);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(250);
    connect(Timer1, &QTimer::timeout, this, &frmMeasure::Timer1_Timer);
    Timer1->start();

    adjustSize();
    setFixedSize(sizeHint());
}

QString frmMeasure::cell(int row, int column) const {
    if (row == 0) {
        const QTableWidgetItem* header = gridSpread->horizontalHeaderItem(column);
        return header ? header->text() : QString();
    }
    const QTableWidgetItem* item = gridSpread->item(row - 1, column);
    return item ? item->text() : QString();
}

void frmMeasure::setCell(int row, int column, const QString& text) {
    QTableWidgetItem* item = gridSpread->item(row - 1, column);
    if (!item) {
        item = new QTableWidgetItem;
        if (column == 0) {
            // The round numbers are the grid's fixed column.
            item->setFlags(Qt::ItemIsEnabled);
            item->setBackground(palette().button());
            item->setTextAlignment(Qt::AlignCenter);
        } else {
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        }
        gridSpread->setItem(row - 1, column, item);
    }
    item->setText(text);
}

std::optional<int> frmMeasure::rounds() const {
    return GroupSession::rounds(fromQt(txtTtlRounds->text()));
}

void frmMeasure::setCounter(int round) {
    lblCounter->setText(QStringLiteral("Round ") + QString::number(round));
}

void frmMeasure::showEntry() {
    const CoordinateEntry& entry = m_session.entry();
    cmdAccept->setEnabled(entry.acceptOpen());
    cmdAccept->setToolTip(entry.acceptOpen() ? kEnterTip : kAllEnteredTip);
    cmdDoIt->setEnabled(entry.doItOpen());
}

void frmMeasure::Update() {
    const auto n = rounds();
    if (!n)
        return;
    m_session.entry().resetTable(*n);
    gridSpread->setRowCount(*n);
    for (int r = 1; r <= *n; ++r) {
        setCell(r, 0, QString::number(r));
        for (int c = 1; c <= 2; ++c)
            if (!gridSpread->item(r - 1, c))
                setCell(r, c, QString());
    }
}

bool frmMeasure::eventFilter(QObject* watched, QEvent* event) {
    // A coordinate field empties when it gets the focus, ready for the next value.
    // Coming back from another window (a message box, say) keeps what was typed.
    if (event->type() == QEvent::FocusIn && (watched == txtX || watched == txtY)) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            static_cast<QLineEdit*>(watched)->clear();
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmMeasure::cmdAccept_Click() {
    const auto accepted = m_session.accept(fromQt(txtTtlRounds->text()), fromQt(txtX->text()),
                                           fromQt(txtY->text()), m_host);
    if (!accepted)
        return;
    const int k = accepted->round;
    setCell(k, 1, utf8Text(accepted->x));
    setCell(k, 2, utf8Text(accepted->y));
    setCounter(k + 1);
    showEntry();
    if (k == *rounds())
        setCounter(k);
    else
        txtX->setFocus();
}

void frmMeasure::gridSpread_Click(int round) {
    if (round < 1 || round > gridSpread->rowCount())
        return;
    m_session.entry().select(round);
    setCounter(round);
}

void frmMeasure::txtTtlRounds_Change() {
    // Until the box holds a number of rounds a group can have (while typing, say), nothing
    // changes; the commands that need the number refuse it.
    const auto n = rounds();
    if (!n)
        return;
    m_session.entry().roundsChanged(*n);
    showEntry();
    Update();
}

void frmMeasure::cmdClear_Click() {
    Update();
    for (int r = 1; r <= gridSpread->rowCount(); ++r) {
        setCell(r, 1, QString());
        setCell(r, 2, QString());
    }
    if (const auto n = rounds())
        m_session.entry().clear(*n);
    else
        m_session.entry().select(1);
    setCounter(1);
    m_displayed = false;
    m_session.clear();
}

void frmMeasure::Timer1_Timer() {
    if (const auto n = rounds()) {
        m_session.entry().tick(*n);
        showEntry();
    }
    if (m_session.printEnabled())
        mnuFilePrint->setEnabled(true);
}

void frmMeasure::cmdDisplay_Click() {
    const auto drawing =
        m_session.display(fromQt(txtTtlRounds->text()), fromQt(txtCal->text()), m_host);
    if (!drawing)
        return;
    for (const auto& [x, y] : drawing->holes)
        picTarget->drawHole(QPointF(x, y), drawing->radius);
    lblCaption->setText(utf8Text(drawing->caption));
    m_displayed = true;
}

void frmMeasure::cmdCLS_Click() {
    m_displayed = false;
    picTarget->clearDrawings();
}

void frmMeasure::cmdDoIt_Click() {
    GroupCells cells;
    for (int r = 1; r <= gridSpread->rowCount(); ++r)
        cells.emplace_back(fromQt(cell(r, 1)), fromQt(cell(r, 2)));
    const auto save = m_session.doIt(fromQt(txtCal->text()), fromQt(txtTtlRounds->text()), cells,
                                     m_host);
    if (!save)
        return; // refused
    mnuFileSave->setEnabled(true);
    if (*save)
        mnuFileSave_Click();
}

void frmMeasure::cmdCancel_Click() {
    close();
}

void frmMeasure::mnuFileSave_Click() {
    m_session.save(fromQt(txtTitle->text()), fromQt(txtCal->text()), fromQt(txtTtlRounds->text()),
                   m_displayed, m_host);
    if (m_session.printEnabled())
        mnuFilePrint->setEnabled(true);
}

void frmMeasure::mnuFileGroup_Click() {
    const auto opened = m_session.open(m_host);
    if (!opened)
        return;
    // What was read before a malformed part stays in the window.
    if (opened->title)
        txtTitle->setText(utf8Text(*opened->title));
    if (opened->caliber)
        txtCal->setText(utf8Text(*opened->caliber));
    if (opened->rounds == 0)
        return;
    txtTtlRounds->setText(QString::number(opened->rounds));
    m_session.entry().select(opened->rounds + 1);
    for (std::size_t i = 0; i < opened->cells.size(); ++i) {
        setCell(static_cast<int>(i) + 1, 1, utf8Text(opened->cells[i].first));
        setCell(static_cast<int>(i) + 1, 2, utf8Text(opened->cells[i].second));
    }
    if (!opened->complete)
        return;
    m_session.entry().setTable(opened->table);
    if (opened->displayed)
        cmdDisplay_Click();
    mnuFileSave->setEnabled(true);
    mnuFilePrint->setEnabled(true);
}

void frmMeasure::showPrintView(const std::string& results) {
    QString text = utf8Text(results);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    rtbDump->setPlainText(text);
    rtbDump->show();
    rtbDump->raise();

    // A copy of the target as it stands, drawn group included, at print resolution.
    const qreal ratio = 4;
    QPixmap copy(picTarget->size() * ratio);
    copy.setDevicePixelRatio(ratio);
    picTarget->render(&copy);
    Picture1->setGeometry(picTarget->geometry());
    Picture1->setPixmap(copy);
    Picture1->show();
    Picture1->raise();
}

void frmMeasure::hidePrintView() {
    rtbDump->hide();
    // The copy stays in its place beneath the target, so that later drawings show.
    Picture1->lower();
}

void frmMeasure::printPage(QPrinter& printer) {
    QPainter painter(&printer);
    QWidget* client = centralWidget();
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    const double scale =
        std::min(page.width() / double(client->width()), page.height() / double(client->height()));
    painter.scale(scale, scale);
    client->render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
}

void frmMeasure::mnuFilePrint_Click() {
    const auto results = m_session.printedResults(m_host);
    if (!results)
        return;
    const bool copyWasShown = !Picture1->isHidden();
    showPrintView(*results);
    const auto setup = m_context.prompts.print(this, PrintSetup{});
    if (!setup) {
        // A cancelled print leaves the window as it was.
        rtbDump->hide();
        if (copyWasShown)
            Picture1->lower();
        else
            Picture1->hide();
        return;
    }
    printCopies(*setup, [this](QPrinter& printer) { printPage(printer); });
    hidePrintView();
}

} // namespace fendrel
