#include "frmMeasure.h"

#include "core/groups/CoordinateEntry.h"
#include "core/groups/GroupFile.h"
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
const QString kRoundsRefusal =
    QStringLiteral("The number of rounds must be a whole number from 2 to 181.");

// The stated sizes of the window's special fonts were chosen for a smaller default font; ours
// grow with the layout.
constexpr double kFontScale = 1.25;


} // namespace

frmMeasure::frmMeasure(AppContext& context) : m_context(context) {
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
    m_entry = CoordinateEntry(rounds().value_or(5));
    m_printEnabled = m_displayed = false;
    double caliber = 0;
    if (const auto round = m_context.roundOnScreen())
        caliber = leadingNumber(round->caliber);
    if (!std::isfinite(caliber))
        caliber = 0;
    txtCal->setText(fromBytes(generalNumber(caliber)));
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
    return roundsText(toBytes(txtTtlRounds->text()));
}

void frmMeasure::refuse(const QString& text) {
    m_context.prompts.message(this, text, QStringLiteral("Error"), Icon::Error, Buttons::Ok);
}

void frmMeasure::setCounter(int round) {
    lblCounter->setText(QStringLiteral("Round ") + QString::number(round));
}

void frmMeasure::showEntry() {
    cmdAccept->setEnabled(m_entry.acceptOpen());
    cmdAccept->setToolTip(m_entry.acceptOpen() ? kEnterTip : kAllEnteredTip);
    cmdDoIt->setEnabled(m_entry.doItOpen());
}

QString frmMeasure::userDataFolder() const {
    return fromPath(resolveName(m_context.state.programFolder, "YourData"));
}

void frmMeasure::Update() {
    const auto n = rounds();
    if (!n)
        return;
    m_entry.resetTable(*n);
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
    if (txtX->text().isEmpty() || txtY->text().isEmpty()) {
        refuse(QStringLiteral("You must enter a value for both the X and Y coordinates"));
        return;
    }
    const auto n = rounds();
    if (!n) {
        refuse(kRoundsRefusal);
        return;
    }
    const auto x = numberText(toBytes(txtX->text()));
    const auto y = numberText(toBytes(txtY->text()));
    if (!x || !y) {
        refuse(QStringLiteral(
            "The X and Y coordinates must be numbers of inches (for example 1.25)."));
        return;
    }
    const int k = m_entry.currentRound();
    if (const std::string refusal = m_entry.accept(*n, *x, *y); !refusal.empty()) {
        refuse(fromBytes(refusal));
        return;
    }
    setCell(k, 1, fromBytes(formatPattern(*x, "###0.0##")));
    setCell(k, 2, fromBytes(formatPattern(*y, "##0.0##")));
    setCounter(k + 1);
    showEntry();
    if (k == *n)
        setCounter(*n);
    else
        txtX->setFocus();
}

void frmMeasure::gridSpread_Click(int round) {
    if (round < 1 || round > gridSpread->rowCount())
        return;
    m_entry.select(round);
    setCounter(round);
}

void frmMeasure::txtTtlRounds_Change() {
    // Until the box holds a number of rounds a group can have (while typing, say), nothing
    // changes; the commands that need the number refuse it.
    const auto n = rounds();
    if (!n)
        return;
    m_entry.roundsChanged(*n);
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
        m_entry.clear(*n);
    else
        m_entry.select(1);
    setCounter(1);
    m_displayed = false;
    m_printEnabled = false;
}

void frmMeasure::Timer1_Timer() {
    if (const auto n = rounds()) {
        m_entry.tick(*n);
        showEntry();
    }
    if (m_printEnabled)
        mnuFilePrint->setEnabled(true);
}

void frmMeasure::cmdDisplay_Click() {
    const auto n = rounds();
    if (!n) {
        refuse(kRoundsRefusal);
        return;
    }
    const TargetScale fit = targetScale(m_entry.table(), *n);
    if (fit.rescaled)
        m_context.prompts.message(
            this,
            QStringLiteral("Your coordinates will fall outside the target "
                           "graphic.  Fen-drel will re-scale your group to fit."),
            QStringLiteral("Re-Scaling"), Icon::Information, Buttons::Ok);
    const double radius = holeRadiusTwips(leadingNumber(toBytes(txtCal->text())));
    const auto& table = m_entry.table();
    const int last = std::min<int>(*n, static_cast<int>(table.size()) - 1);
    for (int r = 1; r <= last; ++r) {
        const Shot& s = table[static_cast<size_t>(r)];
        picTarget->drawHole(QPointF(fit.scale * s.x * TargetWidget::kTwipsPerInchX,
                                    fit.scale * s.y * TargetWidget::kTwipsPerInchY),
                            radius);
    }
    lblCaption->setText(
        QStringLiteral("Illustration of your target and group (note each square cell is ") +
        fromBytes(formatPattern(1 / fit.scale, "0.00")) + QStringLiteral(" inch in size)."));
    m_displayed = true;
}

void frmMeasure::cmdCLS_Click() {
    m_displayed = false;
    picTarget->clearDrawings();
}

void frmMeasure::cmdDoIt_Click() {
    GroupEntry entry;
    entry.caliberText = toBytes(txtCal->text());
    entry.roundsText = toBytes(txtTtlRounds->text());
    for (int r = 1; r <= gridSpread->rowCount(); ++r)
        entry.cells.emplace_back(toBytes(cell(r, 1)), toBytes(cell(r, 2)));
    GroupEvaluation e = evaluateGroup(entry);
    if (!e.refusal.empty()) {
        refuse(fromBytes(e.refusal));
        return;
    }
    // The measured coordinates are the grid's; the table follows them.
    std::vector<Shot> table(entry.cells.size() + 1);
    for (size_t r = 1; r <= entry.cells.size(); ++r)
        table[r] = {leadingNumber(entry.cells[r - 1].first),
                    leadingNumber(entry.cells[r - 1].second)};
    m_entry.setTable(std::move(table));

    const std::string reason = writeDistanceFiles(m_context.state.programFolder, e.measurement);
    if (!reason.empty())
        m_context.prompts.message(
            this,
            QStringLiteral("The distance files could not be written (%1). The results are not "
                           "affected.")
                .arg(fromBytes(reason)),
            QStringLiteral("Measures"), Icon::Exclamation, Buttons::Ok);

    m_results = e.results;
    LastGroup last;
    last.caliber = leadingNumber(entry.caliberText);
    for (const Shot& s : m_entry.table())
        if (&s != &m_entry.table().front())
            last.shots.emplace_back(s.x, s.y);
    last.meanRadius = e.measurement.meanRadius;
    last.meanSpread = e.measurement.meanSpread;
    last.extremeSpread = e.measurement.extremeSpread;
    last.medianSpread = e.measurement.medianSpread;
    m_context.state.lastGroup = std::move(last);
    mnuFileSave->setEnabled(true);
    const Answer answer = m_context.prompts.message(
        this, fromBytes(m_results) + QStringLiteral("\r\nWould you like to save this Group File?"),
        QStringLiteral("Calculations Complete"), Icon::Question, Buttons::YesNo);
    if (answer == Answer::Yes)
        mnuFileSave_Click();
}

void frmMeasure::cmdCancel_Click() {
    close();
}

} // namespace fendrel
