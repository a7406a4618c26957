#include "frmRangeCard.h"

#include "RangeCardCharts.h"
#include "core/common/SharedState.h"
#include "core/rangecard/RangeCardColumns.h"
#include "gui/ui/AppContext.h"
#include "gui/ui/Prompts.h"
#include "gui/ui/Text.h"

#include <QAction>
#include <QChartView>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTimer>

namespace fendrel {

namespace {

// The pause in typing after which the card follows.
constexpr int kCalculateDelayMs = 300;
// The ranges of the hit probability chart, from the zero to the maximum.
constexpr int kHitRanges = 20;

using F = CardField;

} // namespace

frmRangeCard::frmRangeCard(AppContext& context) : m_context(context) {
    setObjectName(QStringLiteral("frmRangeCard"));
    setWindowTitle(QStringLiteral("Range Card"));
    setAttribute(Qt::WA_DeleteOnClose);
    buildControls();

    tmrCalculate = new QTimer(this);
    tmrCalculate->setObjectName(QStringLiteral("tmrCalculate"));
    tmrCalculate->setSingleShot(true);
    tmrCalculate->setInterval(kCalculateDelayMs);
    connect(tmrCalculate, &QTimer::timeout, this, &frmRangeCard::calculate);

    m_form = RangeCardForm::read(m_context.state.programFolder);
    if (const auto round = m_context.roundOnScreen())
        m_form.takeRound(*round);
    showForm();

    for (QLineEdit* e : m_fields)
        connect(e, &QLineEdit::textChanged, this, &frmRangeCard::changed);
    connect(txtDragFile, &QLineEdit::textChanged, this, &frmRangeCard::changed);
    connect(cmbDrag, &QComboBox::currentIndexChanged, this, &frmRangeCard::changed);
    connect(optRectangle, &QRadioButton::toggled, this, &frmRangeCard::changed);
    connect(cmbUnits, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (m_showing)
            return;
        takeFields();
        m_form.setMetric(index == 1);
        showForm();
        changed();
    });
    connect(cmbClickUnit, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (m_showing)
            return;
        takeFields();
        m_form.setClickUnit(index == 1 ? ClickUnit::Mil : ClickUnit::Moa);
        showForm();
        changed();
    });
    connect(cmdDragFile, &QPushButton::clicked, this, &frmRangeCard::chooseDragFile);
    connect(cmdFromHistory, &QPushButton::clicked, this, &frmRangeCard::fromHistory);
    connect(cmdFromLastGroup, &QPushButton::clicked, this, &frmRangeCard::fromLastGroup);
    connect(mnuFilePrint, &QAction::triggered, this, &frmRangeCard::print);
    connect(mnuFilePdf, &QAction::triggered, this, &frmRangeCard::saveAsPdf);
    connect(mnuFileCsv, &QAction::triggered, this, &frmRangeCard::saveAsCsv);
    connect(mnuFileCopy, &QAction::triggered, this, &frmRangeCard::copyCard);
    connect(mnuFileClose, &QAction::triggered, this, &QWidget::close);

    calculate();
    field(F::BallisticCoefficient)->setFocus();
    resize(1272, 756); // with a title bar, within a 1280 x 800 screen
}

frmRangeCard::~frmRangeCard() {
    // A window deleted without being closed still keeps what was typed.
    if (m_dirty) {
        takeFields();
        m_form.write(m_context.state.programFolder);
    }
}

void frmRangeCard::showForm() {
    m_showing = true;
    for (const CardFieldInfo& info : cardFields()) {
        field(info.field)->setText(fromBytes(m_form[info.field]));
        field(info.field)->setCursorPosition(0);
    }
    cmbDrag->setCurrentIndex(static_cast<int>(m_form.dragModel));
    txtDragFile->setText(fromPath(m_form.dragFile));
    cmbClickUnit->setCurrentIndex(m_form.clickUnit == ClickUnit::Mil ? 1 : 0);
    cmbUnits->setCurrentIndex(m_form.metric ? 1 : 0);
    (m_form.shape == TargetShape::Circle ? optCircle : optRectangle)->setChecked(true);
    showUnits();
    m_showing = false;
}

void frmRangeCard::showUnits() {
    for (const CardFieldInfo& info : cardFields()) {
        const QString unitText =
            fromBytes(cardFieldUnit(info.field, m_form.metric, m_form.clickUnit));
        unit(info.field)->setText(unitText);
        QString name = caption(info.field)->text().remove(QLatin1Char('&'));
        // The target's sizes share their captions with the bullet's fields on screen, where
        // the panel tells them apart; a screen reader hears the difference in the name.
        if (info.field == F::TargetWidth || info.field == F::TargetHeight ||
            info.field == F::TargetDiameter)
            name = QStringLiteral("Target ") + name.toLower();
        field(info.field)
            ->setAccessibleName(unitText.isEmpty()
                                    ? name
                                    : name + QStringLiteral(" (") + unitText + QLatin1Char(')'));
    }
    const bool file = m_form.dragModel == DragModel::File;
    txtDragFile->setEnabled(file);
    cmdDragFile->setEnabled(file);
    const bool circle = m_form.shape == TargetShape::Circle;
    for (F f : {F::TargetWidth, F::TargetHeight})
        field(f)->setEnabled(!circle);
    field(F::TargetDiameter)->setEnabled(circle);
}

void frmRangeCard::takeFields() {
    for (const CardFieldInfo& info : cardFields())
        m_form[info.field] = toBytes(field(info.field)->text());
    m_form.dragModel = static_cast<DragModel>(std::max(0, cmbDrag->currentIndex()));
    m_form.dragFile = toPath(txtDragFile->text());
    m_form.shape = optCircle->isChecked() ? TargetShape::Circle : TargetShape::Rectangle;
}

void frmRangeCard::changed() {
    if (m_showing)
        return;
    m_dirty = true;
    takeFields();
    showUnits();
    tmrCalculate->start();
}

void frmRangeCard::calculate() {
    tmrCalculate->stop();
    takeFields();
    const auto& folder = m_context.state.programFolder;
    RangeCardInput input;
    RangeCardResult result;
    std::string refusal = m_form.cardInput(folder, input);
    if (refusal.empty())
        refusal = computeRangeCard(input, result);
    if (!refusal.empty()) {
        m_card.reset();
        m_hit.clear();
        refuse(fromBytes(refusal));
        showCard();
        showHit();
        return;
    }
    m_input = input;
    m_card = std::move(result);
    lblMessage->clear();
    showCard();

    HitInput hit;
    std::vector<HitRow> rows;
    std::string hitRefusal = m_form.hitInput(input, kHitRanges, hit);
    if (hitRefusal.empty())
        hitRefusal = computeHitProbability(hit, rows);
    m_hitInput = hit;
    m_hit = hitRefusal.empty() ? std::move(rows) : std::vector<HitRow>();
    lblHitMessage->setText(fromBytes(hitRefusal));
    lblHitMessage->setVisible(!hitRefusal.empty());
    showHit();
}

void frmRangeCard::refuse(const QString& text) {
    lblMessage->setText(text);
    lblHitMessage->clear();
    lblHitMessage->hide();
}

void frmRangeCard::showCard() {
    const auto columns = rangeCardColumns();
    const bool metric = m_card ? m_card->metric : m_form.metric;
    grdCard->setColumnCount(static_cast<int>(columns.size()));
    QStringList headings;
    for (const RangeCardColumn& c : columns)
        headings << QString::fromLatin1(c.heading) + QLatin1Char('\n') +
                        QString::fromLatin1(c.unitFor(metric));
    grdCard->setHorizontalHeaderLabels(headings);
    const int rows = m_card ? static_cast<int>(m_card->rows.size()) : 0;
    grdCard->setRowCount(rows);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < static_cast<int>(columns.size()); ++c) {
            const std::optional<double> v = columns[c].value(m_card->rows[r]);
            auto* item = new QTableWidgetItem(v ? fromBytes(roundedText(*v, columns[c].pattern))
                                                : QStringLiteral("-"));
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            grdCard->setItem(r, c, item);
        }
    }
    lblSummary->setText(m_card ? fromBytes(rangeCardSummary(*m_card)) : QString());
    for (QAction* a : {mnuFilePrint, mnuFilePdf, mnuFileCsv, mnuFileCopy})
        a->setEnabled(m_card.has_value());
    showPaths(chtPath, m_card ? &*m_card : nullptr);
}

void frmRangeCard::showHit() {
    showHitCurve(chtHit, m_hit, m_form.metric);
    // Screen readers read the curve as text, and the table holds its points.
    QStringList points;
    grdHit->setHorizontalHeaderLabels(
        {m_form.metric ? QStringLiteral("Range m") : QStringLiteral("Range yd"),
         QStringLiteral("Hit %")});
    grdHit->setRowCount(static_cast<int>(m_hit.size()));
    for (int i = 0; i < static_cast<int>(m_hit.size()); ++i) {
        const HitRow& r = m_hit[static_cast<std::size_t>(i)];
        const QString range = fromBytes(roundedText(r.range, "0"));
        const QString chance = fromBytes(roundedText(r.probability * 100, "0"));
        points << range + (m_form.metric ? QStringLiteral(" m ") : QStringLiteral(" yd ")) +
                      chance + QStringLiteral(" %");
        for (const auto& [column, text] : {std::pair{0, range}, std::pair{1, chance}}) {
            auto* item = new QTableWidgetItem(text);
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            grdHit->setItem(i, column, item);
        }
    }
    chtHit->setAccessibleDescription(points.join(QStringLiteral(", ")));
}

void frmRangeCard::closeEvent(QCloseEvent* event) {
    saveSettings();
    QMainWindow::closeEvent(event);
}

void frmRangeCard::saveSettings() {
    if (!m_dirty)
        return;
    m_dirty = false;
    takeFields();
    const Status failure = m_form.write(m_context.state.programFolder);
    if (!failure.ok())
        m_context.prompts.message(
            this,
            QStringLiteral("The range card's settings could not be kept in %1: %2")
                .arg(QString::fromLatin1(RangeCardForm::kFileName),
                     QString::fromStdString(failure.refusal)),
            windowTitle(), Icon::Exclamation, Buttons::Ok);
}

} // namespace fendrel
