// The range card window's wiring: each control's change passed on to the session, the session's
// card, chances and messages shown, the commands run through it, and the printed page.
#include "frmRangeCard.h"

#include "RangeCardCharts.h"
#include "frmDopeCard.h"
#include "core/common/SharedState.h"
#include "core/rangecard/RangeCardColumns.h"
#include "gui/ui/AppContext.h"
#include "gui/ui/Printing.h"
#include "gui/ui/Prompts.h"
#include "gui/ui/Text.h"

#include <QAction>
#include <QChart>
#include <QChartView>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QTimer>
#include <algorithm>

namespace fendrel {

namespace {

// The pause in typing after which the card follows.
constexpr int kCalculateDelayMs = 300;

using F = CardField;

bool isTargetSize(CardField f) {
    return f == F::TargetWidth || f == F::TargetHeight || f == F::TargetDiameter;
}

} // namespace

frmRangeCard::frmRangeCard(AppContext& context)
    : m_context(context), m_session(context.state.programFolder, context.roundOnScreen()),
      m_host(context.prompts, this) {
    setObjectName(QStringLiteral("frmRangeCard"));
    setWindowTitle(QString::fromLatin1(RangeCardSession::kTitle));
    setAttribute(Qt::WA_DeleteOnClose);
    buildControls();

    tmrCalculate = new QTimer(this);
    tmrCalculate->setObjectName(QStringLiteral("tmrCalculate"));
    tmrCalculate->setSingleShot(true);
    tmrCalculate->setInterval(kCalculateDelayMs);
    connect(tmrCalculate, &QTimer::timeout, this, &frmRangeCard::calculate);
    showForm();

    for (const CardFieldInfo& info : cardFields()) {
        const CardField f = info.field;
        connect(field(f), &QLineEdit::textChanged, this, [this, f](const QString& text) {
            if (m_showing)
                return;
            m_session.setText(f, fromQt(text));
            changed();
        });
    }
    connect(txtDragFile, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (m_showing)
            return;
        m_session.setDragFile(toPath(text));
        changed();
    });
    connect(cmbDrag, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (m_showing)
            return;
        m_session.setDragModel(static_cast<DragModel>(std::max(0, index)));
        changed();
    });
    connect(optRectangle, &QRadioButton::toggled, this, [this](bool rectangle) {
        if (m_showing)
            return;
        m_session.setShape(rectangle ? TargetShape::Rectangle : TargetShape::Circle);
        changed();
    });
    connect(cmbUnits, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (m_showing)
            return;
        m_session.setMetric(index == 1);
        showForm();
        changed();
    });
    connect(cmbClickUnit, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (m_showing)
            return;
        m_session.setClickUnit(index == 1 ? ClickUnit::Mil : ClickUnit::Moa);
        showForm();
        changed();
    });
    connect(cmdDragFile, &QPushButton::clicked, this, &frmRangeCard::chooseDragFile);
    connect(cmdFromHistory, &QPushButton::clicked, this, &frmRangeCard::fromHistory);
    connect(cmdPointBlank, &QPushButton::clicked, this, &frmRangeCard::pointBlank);
    connect(mnuFileDope, &QAction::triggered, this, &frmRangeCard::printDopeCard);
    connect(cmdFromLastGroup, &QPushButton::clicked, this, &frmRangeCard::fromLastGroup);
    connect(mnuFilePrint, &QAction::triggered, this, &frmRangeCard::print);
    connect(mnuFilePdf, &QAction::triggered, this, &frmRangeCard::saveAsPdf);
    connect(mnuFileCsv, &QAction::triggered, this, &frmRangeCard::saveAsCsv);
    connect(mnuFileCopy, &QAction::triggered, this, &frmRangeCard::copyCard);
    connect(mnuFileClose, &QAction::triggered, this, &QWidget::close);
    connect(grdObservations, &QTableWidget::itemChanged, this, [this] {
        if (!m_showing)
            observationsEdited();
    });
    using K = RangeCardSession::TruingKind;
    connect(cmdFitVelocity, &QPushButton::clicked, this, [this] { fitTruing(K::Velocity); });
    connect(cmdFitDropScale, &QPushButton::clicked, this, [this] { fitTruing(K::DropScale); });
    connect(cmdFitBc, &QPushButton::clicked, this,
            [this] { fitTruing(K::BallisticCoefficient); });
    connect(cmdUseTruing, &QPushButton::clicked, this, &frmRangeCard::useTruing);
    connect(cmdSaveTruing, &QPushButton::clicked, this, &frmRangeCard::saveTruing);
    connect(cmdNoDropScale, &QPushButton::clicked, this, [this] {
        m_session.clearDropScale();
        changed();
        showTruing();
    });

    calculate();
    field(F::BallisticCoefficient)->setFocus();
    resize(1272, 756); // with a title bar, within a 1280 x 800 screen
}

// A window deleted without being closed still keeps what was typed.
frmRangeCard::~frmRangeCard() { (void)m_session.saveSettings(); }

void frmRangeCard::showForm() {
    m_showing = true;
    for (const CardFieldInfo& info : cardFields()) {
        field(info.field)->setText(utf8Text(m_session.text(info.field)));
        field(info.field)->setCursorPosition(0);
    }
    const RangeCardForm& form = m_session.form();
    cmbDrag->setCurrentIndex(static_cast<int>(form.dragModel));
    txtDragFile->setText(fromPath(form.dragFile));
    cmbClickUnit->setCurrentIndex(form.clickUnit == ClickUnit::Mil ? 1 : 0);
    cmbUnits->setCurrentIndex(form.metric ? 1 : 0);
    (form.shape == TargetShape::Circle ? optCircle : optRectangle)->setChecked(true);
    // The observations, and a blank row to type the next one into.
    grdObservations->setRowCount(static_cast<int>(form.observations.size()) + 1);
    for (int r = 0; r < grdObservations->rowCount(); ++r) {
        const auto* o = r < static_cast<int>(form.observations.size())
                            ? &form.observations[static_cast<std::size_t>(r)]
                            : nullptr;
        const std::string texts[] = {o ? o->range : "", o ? o->correction : "",
                                     o ? o->error : ""};
        for (int c = 0; c < 3; ++c)
            grdObservations->setItem(r, c, new QTableWidgetItem(utf8Text(texts[c])));
    }
    showUnits();
    m_showing = false;
}

void frmRangeCard::showUnits() {
    for (const CardFieldInfo& info : cardFields()) {
        const QString unitText = utf8Text(m_session.unit(info.field));
        unit(info.field)->setText(unitText);
        QString name = caption(info.field)->text().remove(QLatin1Char('&'));
        // The target's sizes share their captions with the bullet's fields on screen, where
        // the panel tells them apart; a screen reader hears the difference in the name.
        if (isTargetSize(info.field))
            name = QStringLiteral("Target ") + name.toLower();
        // Fields captioned by a word or a sign beside another field ("at", "from", "±"): a
        // screen reader hears what they are.
        if (name == QLatin1String("at") || name == QLatin1String("from") ||
            name == QStringLiteral("\u00B1")) {
            name = utf8Text(info.name);
            name[0] = name[0].toUpper();
        }
        field(info.field)
            ->setAccessibleName(unitText.isEmpty()
                                    ? name
                                    : name + QStringLiteral(" (") + unitText + QLatin1Char(')'));
    }
    for (F f : {F::VelocitySdShots, F::DispersionShots})
        unit(f)->setText(QStringLiteral("shots"));
    unit(F::WindBrackets)->setText(m_session.form().metric ? QStringLiteral("m/s")
                                                           : QStringLiteral("mph"));
    const RangeCardForm& form = m_session.form();
    const QString distance = form.metric ? QStringLiteral("m") : QStringLiteral("yd");
    const QString angle = form.clickUnit == ClickUnit::Mil ? QStringLiteral("mil")
                                                           : QStringLiteral("MOA");
    grdObservations->setHorizontalHeaderLabels({QStringLiteral("Range (%1)").arg(distance),
                                                QStringLiteral("Correction (%1)").arg(angle),
                                                QStringLiteral("Error (%1)").arg(angle)});
    const bool file = form.dragModel == DragModel::File;
    txtDragFile->setEnabled(file);
    cmdDragFile->setEnabled(file);
    const bool circle = form.shape == TargetShape::Circle;
    for (F f : {F::TargetWidth, F::TargetHeight})
        field(f)->setEnabled(!circle);
    field(F::TargetDiameter)->setEnabled(circle);
}

void frmRangeCard::changed() {
    showUnits();
    tmrCalculate->start();
}

void frmRangeCard::calculate() {
    tmrCalculate->stop();
    m_session.recompute();
    lblMessage->setText(utf8Text(m_session.refusal()));
    lblHitMessage->setText(utf8Text(m_session.hitRefusal()));
    lblHitMessage->setVisible(!m_session.hitRefusal().empty());
    showCard();
    showHit();
    showTruing();
}

bool frmRangeCard::cardIsCurrent() {
    if (tmrCalculate->isActive() || !m_session.current())
        calculate();
    return m_session.card().has_value();
}

void frmRangeCard::showCard() {
    const auto columns = rangeCardColumns();
    const auto& card = m_session.card();
    const bool metric = card ? card->metric : m_session.form().metric;
    // The wind brackets' and the danger space's columns follow the card's own.
    const TextTable extra = m_session.extraColumns();
    const int own = static_cast<int>(columns.size());
    grdCard->setColumnCount(own + static_cast<int>(extra.headers.size()));
    QStringList headings;
    for (const RangeCardColumn& c : columns)
        headings << QString::fromLatin1(c.heading) + QLatin1Char('\n') +
                        QString::fromLatin1(c.unitFor(metric));
    for (const std::string& h : extra.headers)
        headings << utf8Text(h);
    grdCard->setHorizontalHeaderLabels(headings);
    // Past its own columns the card scrolls sideways rather than squeezing them.
    grdCard->horizontalHeader()->setSectionResizeMode(
        extra.headers.empty() ? QHeaderView::Stretch : QHeaderView::ResizeToContents);
    const int rows = card ? static_cast<int>(card->rows.size()) : 0;
    grdCard->setRowCount(rows);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < grdCard->columnCount(); ++c) {
            QString text;
            if (c < own) {
                const std::optional<double> v = columns[c].value(card->rows[r]);
                text = v ? utf8Text(roundedText(*v, columns[c].pattern)) : QStringLiteral("-");
            } else {
                text = utf8Text(extra.rows[static_cast<std::size_t>(r)]
                                          [static_cast<std::size_t>(c - own)]);
            }
            auto* item = new QTableWidgetItem(text);
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            grdCard->setItem(r, c, item);
        }
    }
    lblSummary->setText(utf8Text(m_session.summary()));
    for (QAction* a : {mnuFilePrint, mnuFilePdf, mnuFileCsv, mnuFileCopy})
        a->setEnabled(card.has_value());
    showPaths(chtPath, card ? &*card : nullptr, m_session.pointBlankZone());
}

void frmRangeCard::showHit() {
    const std::vector<HitRow>& hit = m_session.hitRows();
    const bool metric = m_session.form().metric;
    showHitCurve(chtHit, hit, metric);
    // Screen readers read the curve as text, and the table holds its points.
    QStringList points;
    grdHit->setHorizontalHeaderLabels(
        {metric ? QStringLiteral("Range m") : QStringLiteral("Range yd"), QStringLiteral("Hit %")});
    grdHit->setRowCount(static_cast<int>(hit.size()));
    for (int i = 0; i < static_cast<int>(hit.size()); ++i) {
        const HitRow& r = hit[static_cast<std::size_t>(i)];
        const QString range = utf8Text(roundedText(r.range, "0"));
        QString chance = utf8Text(roundedText(r.probability * 100, "0"));
        // The band: the chance with both spreads at the ends of their intervals.
        if (r.probabilityLow && r.probabilityHigh)
            chance += QStringLiteral(" (%1\u2013%2)")
                          .arg(utf8Text(roundedText(*r.probabilityLow * 100, "0")),
                               utf8Text(roundedText(*r.probabilityHigh * 100, "0")));
        points << range + (metric ? QStringLiteral(" m ") : QStringLiteral(" yd ")) + chance +
                      QStringLiteral(" %");
        for (const auto& [column, text] : {std::pair{0, range}, std::pair{1, chance}}) {
            auto* item = new QTableWidgetItem(text);
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            grdHit->setItem(i, column, item);
        }
    }
    chtHit->setAccessibleDescription(points.join(QStringLiteral(", ")));
}

void frmRangeCard::chooseDragFile() {
    m_session.chooseDragFile(m_host);
    showForm();
    changed();
}

void frmRangeCard::fromLastGroup() {
    m_session.takeLastGroup(m_context.state.lastGroup, m_host);
    showForm();
    changed();
}

void frmRangeCard::pointBlank() {
    m_session.pointBlank(m_host);
    showForm();
    calculate();
}

void frmRangeCard::printDopeCard() {
    frmDopeCard dialog(m_session, m_context, this);
    dialog.exec();
}

void frmRangeCard::observationsEdited() {
    std::vector<RangeCardForm::Observation> rows;
    for (int r = 0; r < grdObservations->rowCount(); ++r) {
        const auto text = [&](int c) {
            const QTableWidgetItem* item = grdObservations->item(r, c);
            return item ? fromQt(item->text()) : std::string();
        };
        rows.push_back({text(0), text(1), text(2)});
    }
    m_session.setObservations(std::move(rows));
    // Always a blank row at the end to type the next observation into.
    const int last = grdObservations->rowCount() - 1;
    bool blank = true;
    for (int c = 0; c < 3; ++c)
        if (const QTableWidgetItem* item = grdObservations->item(last, c);
            item && !item->text().trimmed().isEmpty())
            blank = false;
    if (!blank) {
        m_showing = true;
        grdObservations->insertRow(last + 1);
        for (int c = 0; c < 3; ++c)
            grdObservations->setItem(last + 1, c, new QTableWidgetItem);
        m_showing = false;
    }
    showTruing();
}

void frmRangeCard::fitTruing(RangeCardSession::TruingKind kind) {
    if (tmrCalculate->isActive())
        calculate();
    m_session.fitTruing(kind, m_host);
    showTruing();
}

void frmRangeCard::useTruing() {
    m_session.useTruing();
    showForm();
    calculate();
    (void)m_session.saveSettings();
}

void frmRangeCard::saveTruing() {
    m_session.saveTruing(m_context.roundOnScreen(), m_host);
}

void frmRangeCard::showTruing() {
    const auto& truing = m_session.truing();
    lblTruing->setText(truing ? utf8Text(truing->result)
                              : QStringLiteral("Type the corrections you dialled at known ranges, "
                                               "or two measured velocities, and fit."));
    const bool mil = m_session.form().clickUnit == ClickUnit::Mil;
    showResiduals(chtResiduals, truing ? truing->before : std::vector<TruingResidual>{},
                  truing ? truing->after : std::vector<TruingResidual>{},
                  mil ? QStringLiteral("mil") : QStringLiteral("MOA"), m_session.form().metric);
    cmdUseTruing->setEnabled(truing.has_value());
    cmdSaveTruing->setEnabled(truing.has_value());
    cmdNoDropScale->setEnabled(!m_session.form().dropScale.empty());
}

void frmRangeCard::fromHistory() {
    m_session.takeFromHistory(m_context.roundOnScreen(), m_host);
    showForm();
    changed();
}

void frmRangeCard::saveAsCsv() {
    if (!cardIsCurrent())
        return;
    if (const auto saved = m_session.saveCsv(m_host))
        statusBar()->showMessage(QStringLiteral("The card is saved in ") + fromPath(*saved),
                                 10000);
}

void frmRangeCard::copyCard() {
    if (cardIsCurrent())
        QGuiApplication::clipboard()->setText(utf8Text(m_session.cardText()));
}

void frmRangeCard::print() {
    if (!cardIsCurrent())
        return;
    if (const std::optional<PrintSetup> setup = m_context.prompts.print(this, PrintSetup{}))
        printTo(*setup);
}

void frmRangeCard::saveAsPdf() {
    if (!cardIsCurrent())
        return;
    if (const auto file = m_session.choosePdf(m_host)) {
        PrintSetup setup;
        setup.outputFile = fromPath(*file);
        printTo(setup);
    }
}

void frmRangeCard::printTo(const PrintSetup& setup) {
    bool failed = false;
    const std::string why = printCopies(setup, [&](QPrinter& printer) {
        QPainter painter;
        if (failed || !painter.begin(&printer)) {
            failed = true;
            return;
        }
        paintPage(painter, printer.pageLayout().paintRectPixels(printer.resolution()));
        painter.end();
    });
    if (failed || !why.empty())
        m_context.prompts.message(this,
                                  setup.outputFile.isEmpty()
                                      ? QStringLiteral("The printer could not be started.")
                                      : setup.outputFile + QStringLiteral(" could not be written: ") +
                                            utf8Text(why),
                                  windowTitle(), Icon::Exclamation, Buttons::Ok);
}

// The page: the title with the round, the readable card in a fixed-pitch font as wide as the
// page, the two charts below it and what the chance of a hit assumes.
void frmRangeCard::paintPage(QPainter& painter, const QRectF& page) {
    const qreal unit = page.width() / 100;
    QFont title = painter.font();
    title.setBold(true);
    title.setPixelSize(std::max(1, static_cast<int>(unit * 2.2)));
    painter.setFont(title);
    QString heading = windowTitle();
    if (const auto round = m_context.roundOnScreen(); round && !round->description.empty())
        heading += QStringLiteral(": ") + utf8Text(round->description);
    const QFontMetricsF titleMetrics(title);
    painter.drawText(QPointF(page.left(), page.top() + titleMetrics.ascent()), heading);
    qreal y = page.top() + titleMetrics.lineSpacing() * 1.5;

    const QStringList lines = utf8Text(m_session.cardText()).split(QLatin1Char('\n'));
    qsizetype widest = 1;
    for (const QString& line : lines)
        widest = std::max(widest, line.size());
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPixelSize(100);
    const qreal scale = page.width() / QFontMetricsF(fixed).horizontalAdvance(QString(widest, 'M'));
    fixed.setPixelSize(std::max(1, static_cast<int>(100 * scale)));
    painter.setFont(fixed);
    const QFontMetricsF m(fixed);
    for (const QString& line : lines) {
        painter.drawText(QPointF(page.left(), y + m.ascent()), line);
        y += m.lineSpacing();
    }

    // Each chart in its own proportions as in the window.
    const qreal gap = unit * 2;
    const qreal width = (page.width() - gap) / 2;
    y += gap;
    qreal bottom = y;
    qreal left = page.left();
    for (QChartView* view : {chtPath, chtHit}) {
        const QRectF chart = view->chart()->sceneBoundingRect();
        const qreal aspect = chart.height() / std::max<qreal>(1, chart.width());
        const qreal height = std::min(width * aspect, page.bottom() - y - unit * 4);
        if (height < unit * 10)
            return;
        const QRectF target(left, y, height / aspect, height);
        view->scene()->render(&painter, target, chart);
        bottom = std::max(bottom, target.bottom());
        left += width + gap;
    }
    if (const std::string assumptions = m_session.hitAssumptions(); !assumptions.empty()) {
        painter.setFont(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
        QFont text = painter.font();
        text.setPixelSize(std::max(1, static_cast<int>(unit * 1.4)));
        painter.setFont(text);
        painter.drawText(QRectF(page.left(), bottom + gap, page.width(), unit * 8),
                         Qt::TextWordWrap, utf8Text(assumptions));
    }
}

void frmRangeCard::closeEvent(QCloseEvent* event) {
    if (const Status kept = m_session.saveSettings(); !kept)
        m_context.prompts.message(
            this,
            QStringLiteral("The range card's settings could not be kept in %1: %2")
                .arg(QString::fromLatin1(RangeCardForm::kFileName), utf8Text(kept.refusal)),
            windowTitle(), Icon::Exclamation, Buttons::Ok);
    QMainWindow::closeEvent(event);
}

} // namespace fendrel
