// The range card window's commands that reach outside it: printing, PDF and CSV, the
// clipboard, the drag file, and the values taken from the last group and the load history.
#include "frmRangeCard.h"

#include "core/common/Encoding.h"
#include "core/common/ProgramFolder.h"
#include "core/common/SafeFile.h"
#include "core/common/SharedState.h"
#include "core/history/HistoryDatabase.h"
#include "core/rangecard/RangeCardColumns.h"
#include "core/rangecard/RangeCardSources.h"
#include "gui/ui/AppContext.h"
#include "gui/ui/Printing.h"
#include "gui/ui/Prompts.h"
#include "gui/ui/Text.h"

#include <QChart>
#include <QChartView>
#include <QClipboard>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QStatusBar>
#include <QTimer>
#include <algorithm>
#include <filesystem>

namespace fendrel {

namespace {

const QString kHistoryTitle = QStringLiteral("From history");
const QString kGroupTitle = QStringLiteral("From last group");

// The chosen name with the extension added when it has none.
QString withSuffix(const QString& path, const char* suffix) {
    return QFileInfo(path).suffix().isEmpty() ? path + QLatin1Char('.') + QLatin1String(suffix)
                                              : path;
}

} // namespace

bool frmRangeCard::refusedAsOwnFile(const QString& path) {
    const std::string own = ownProgramFile(m_context.state.programFolder, toPath(path));
    if (!own.empty())
        m_context.prompts.message(this,
                                  path + QStringLiteral(" could not be written: it is ") +
                                      QString::fromStdString(own) +
                                      QStringLiteral(", one of the program's own files; choose "
                                                     "another name"),
                                  windowTitle(), Icon::Exclamation, Buttons::Ok);
    return !own.empty();
}

bool frmRangeCard::cardIsCurrent() {
    if (tmrCalculate->isActive())
        calculate();
    return m_card.has_value();
}

QString frmRangeCard::yourDataFolder() const {
    std::error_code ec;
    const auto yourData = resolveName(m_context.state.programFolder, "yourdata");
    return std::filesystem::is_directory(yourData, ec) ? fromPath(yourData) : QString();
}

void frmRangeCard::paintPage(QPainter& painter, const QRectF& page) {
    const qreal unit = page.width() / 100;
    QFont title = painter.font();
    title.setBold(true);
    title.setPixelSize(std::max(1, static_cast<int>(unit * 2.2)));
    painter.setFont(title);
    QString heading = windowTitle();
    if (const auto round = m_context.roundOnScreen(); round && !round->description.empty())
        heading += QStringLiteral(": ") + fromBytes(round->description);
    const QFontMetricsF titleMetrics(title);
    painter.drawText(QPointF(page.left(), page.top() + titleMetrics.ascent()), heading);
    qreal y = page.top() + titleMetrics.lineSpacing() * 1.5;

    // The readable card in a fixed-pitch font as wide as the page.
    const QStringList lines = fromBytes(rangeCardText(*m_card, m_input)).split(QLatin1Char('\n'));
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

    // The two charts side by side below, each in its own proportions as in the window, and
    // what the chance of a hit assumes.
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
    if (!m_hit.empty()) {
        painter.setFont(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
        QFont text = painter.font();
        text.setPixelSize(std::max(1, static_cast<int>(unit * 1.4)));
        painter.setFont(text);
        painter.drawText(QRectF(page.left(), bottom + gap, page.width(), unit * 8),
                         Qt::TextWordWrap, fromBytes(hitSummary(m_hitInput)));
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
                                            QString::fromStdString(why),
                                  windowTitle(), Icon::Exclamation, Buttons::Ok);
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
    FileRequest request;
    request.title = QStringLiteral("Save the range card as PDF");
    request.filter = QStringLiteral("PDF file (*.pdf)|*.pdf|");
    request.startFolder = yourDataFolder();
    request.fileName = QStringLiteral("Range card.pdf");
    const std::optional<QString> chosen = m_context.prompts.saveFile(this, request);
    if (!chosen || chosen->isEmpty())
        return;
    PrintSetup setup;
    setup.outputFile = withSuffix(*chosen, "pdf");
    if (!refusedAsOwnFile(setup.outputFile))
        printTo(setup);
}

void frmRangeCard::saveAsCsv() {
    if (!cardIsCurrent())
        return;
    FileRequest request;
    request.title = QStringLiteral("Save the range card as CSV");
    request.filter = QStringLiteral("CSV file (*.csv)|*.csv|");
    request.startFolder = yourDataFolder();
    request.fileName = QStringLiteral("Range card.csv");
    const std::optional<QString> chosen = m_context.prompts.saveFile(this, request);
    if (!chosen || chosen->isEmpty())
        return;
    const QString path = withSuffix(*chosen, "csv");
    if (refusedAsOwnFile(path))
        return;
    if (const Status failure = replaceFile(toPath(path), rangeCardCsv(*m_card));
        !failure.ok()) {
        m_context.prompts.message(this,
                                  path + QStringLiteral(" could not be written: ") +
                                      QString::fromStdString(failure.refusal),
                                  windowTitle(), Icon::Exclamation, Buttons::Ok);
        return;
    }
    statusBar()->showMessage(QStringLiteral("The card is saved in ") + path, 10000);
}

void frmRangeCard::copyCard() {
    if (cardIsCurrent())
        QGuiApplication::clipboard()->setText(fromBytes(rangeCardText(*m_card, m_input)));
}

void frmRangeCard::chooseDragFile() {
    FileRequest request;
    request.title = QStringLiteral("Drag file");
    request.filter = QStringLiteral("Drag files (*.csv, *.txt)|*.csv;*.txt|All files (*)|*|");
    request.startFolder = fromPath(m_context.state.programFolder);
    if (const std::optional<QString> chosen = m_context.prompts.openFile(this, request))
        txtDragFile->setText(*chosen);
}

void frmRangeCard::fromLastGroup() {
    const std::optional<LastGroup>& group = m_context.state.lastGroup;
    if (!group) {
        m_context.prompts.message(
            this,
            QStringLiteral("No group has been measured yet. Measure one in the shot group window "
                           "(Tools > Range Measurements Calculator, then Do It!) and try again."),
            kGroupTitle, Icon::Information, Buttons::Ok);
        return;
    }
    const QString distance = m_context.prompts.input(
        this,
        QStringLiteral("The last group's mean radius is %1 in. At what distance was it shot, "
                       "in yards?")
            .arg(fromBytes(fieldNumber(group->meanRadius, 4))),
        kGroupTitle, QStringLiteral("100"));
    if (distance.isEmpty())
        return;
    takeFields();
    if (const std::string refusal = takeGroupDispersion(m_form, *group, toBytes(distance));
        !refusal.empty()) {
        m_context.prompts.message(this, fromBytes(refusal), kGroupTitle, Icon::Exclamation,
                                  Buttons::Ok);
        return;
    }
    showForm();
    changed();
}

void frmRangeCard::fromHistory() {
    const auto round = m_context.roundOnScreen();
    const auto tell = [this](const QString& text) {
        m_context.prompts.message(this, text, kHistoryTitle, Icon::Information, Buttons::Ok);
    };
    if (!round || round->description.empty()) {
        tell(QStringLiteral("The load history is kept by the round's description: show the "
                            "round in the main window first."));
        return;
    }
    const QString description = fromBytes(round->description);
    LoadHistory load;
    {
        const auto opening = HistoryDatabase::open(m_context.state.programFolder,
                                                   HistoryDatabase::WhenAbsent::Report);
        if (opening.absent) {
            tell(QStringLiteral("No load history has been kept yet."));
            return;
        }
        if (!opening.database) {
            tell(QString::fromStdString(opening.refusal));
            return;
        }
        const auto id = opening.database->findLoad(cp1252ToUtf8(round->description));
        const auto found =
            id.ok() && id.value ? opening.database->load(id.value) : Result<LoadHistory>{};
        if (!id.ok() || (id.value && !found.ok())) {
            tell(QString::fromStdString(id.ok() ? found.refusal : id.refusal));
            return;
        }
        load = found.value;
    }
    if (load.strings.empty() && load.groups.empty()) {
        tell(QStringLiteral("The load history holds nothing for \"%1\".").arg(description));
        return;
    }
    takeFields();
    bool took = false;
    const auto ask = [&](const QString& question, const std::string& offer, const char* answer,
                         auto take) {
        const QString chosen = m_context.prompts.input(
            this, question + QStringLiteral("\n\n") + QString::fromStdString(offer), kHistoryTitle,
            QString::fromLatin1(answer));
        if (chosen.isEmpty())
            return true;
        if (const std::string refusal = take(m_form, load, chosen.toStdString());
            !refusal.empty()) {
            m_context.prompts.message(this, QString::fromStdString(refusal), kHistoryTitle,
                                      Icon::Exclamation, Buttons::Ok);
            return false;
        }
        took = true;
        return true;
    };
    const bool stringTaken =
        load.strings.empty() ||
        ask(QStringLiteral("Take the velocity and its SD from which string of \"%1\"? "
                           "1 is the latest.")
                .arg(description),
            offerStrings(load, m_form.metric), "1", takeHistoryString);
    if (stringTaken && !load.groups.empty())
        ask(QStringLiteral("Pool the dispersion from which groups? Type all, or their numbers "
                           "separated by commas."),
            offerGroups(load), "all", takeHistoryGroups);
    if (took) {
        showForm();
        changed();
    }
}

} // namespace fendrel
