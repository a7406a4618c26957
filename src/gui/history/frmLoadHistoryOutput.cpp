// What the Load History window draws and writes: the comparison chart, the printed and PDF
// report of the chosen loads, and their CSV.
#include "frmLoadHistory.h"
#include "core/common/SafeFile.h"

#include "core/common/ProgramFolder.h"
#include "core/common/SharedState.h"
#include "core/common/Numbers.h"
#include "core/common/TextFile.h"
#include "gui/ui/AppContext.h"
#include "gui/ui/Printing.h"
#include "gui/ui/Prompts.h"
#include "gui/ui/Text.h"

#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QDateTime>
#include <QFileInfo>
#include <QLabel>
#include <QLineSeries>
#include <QPainter>
#include <QPen>
#include <QPixmap>
#include <QPrinter>
#include <QScatterSeries>
#include <QTableWidget>
#include <QTextDocument>
#include <QUrl>
#include <algorithm>
#include <cmath>

namespace fendrel {

namespace {

// An axis whose labels stand at the ticks of the scale, written by the program's number texts.
QCategoryAxis* scaleAxis(const AxisScale& scale, const QString& title, const QColor& color) {
    auto* axis = new QCategoryAxis;
    axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    axis->setTitleText(title);
    axis->setTitleBrush(color);
    axis->setStartValue(scale.minimum);
    for (int i = 0; i <= scale.intervals(); ++i)
        axis->append(utf8Text(scaleLabel(scale, i)), scale.tick(i));
    axis->setRange(scale.minimum, scale.maximum);
    return axis;
}

// The points of one value by charge, with the range of the values.
struct Values {
    QList<QPointF> points;
    double low = 0;
    double high = 0;
    void add(double charge, const std::optional<double>& value) {
        if (!value || !std::isfinite(*value) || !std::isfinite(charge))
            return;
        low = points.isEmpty() ? *value : std::min(low, *value);
        high = points.isEmpty() ? *value : std::max(high, *value);
        points.append(QPointF(charge, *value));
    }
};

QString htmlTable(const TextTable& t) {
    QString html = QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\"><tr>");
    for (const std::string& h : t.headers)
        html += QStringLiteral("<th>%1</th>").arg(utf8Text(h).toHtmlEscaped());
    html += QStringLiteral("</tr>");
    for (const auto& row : t.rows) {
        html += QStringLiteral("<tr>");
        for (const std::string& c : row)
            html += QStringLiteral("<td>%1</td>").arg(utf8Text(c).toHtmlEscaped());
        html += QStringLiteral("</tr>");
    }
    return html + QStringLiteral("</table>");
}

const QColor kVelocityColor(0x1f, 0x5f, 0xbf);
const QColor kSdColor(0xd9, 0x6c, 0x00);
const QColor kGroupColor(0x2e, 0x8b, 0x3e);

} // namespace

void frmLoadHistory::showComparison() {
    m_comparison.reset();
    QChart* chart = chtCompare->chart();
    chart->removeAllSeries();
    for (QAbstractAxis* axis : chart->axes()) {
        chart->removeAxis(axis);
        delete axis;
    }
    if (m_selected.empty()) {
        lblSlope->setText(QStringLiteral("Select loads of one caliber and bullet to compare their "
                                         "velocity, SD and group size by powder charge."));
        fillTable(grdCompare, comparisonTable(LoadComparison{}));
        return;
    }
    auto compared = compareLoads(m_selected);
    fillTable(grdCompare, comparisonTable(compared.value));
    if (!compared) {
        lblSlope->setText(utf8Text(compared.refusal));
        return;
    }
    m_comparison = std::move(compared.value);
    const LoadComparison& c = *m_comparison;

    Values velocity, sd, group;
    double lowCharge = c.points.front().chargeGr, highCharge = c.points.back().chargeGr;
    for (const ChargePoint& p : c.points) {
        velocity.add(p.chargeGr, p.velocityFps);
        sd.add(p.chargeGr, p.sdFps);
        group.add(p.chargeGr, p.groupMoa);
    }
    const std::string slope = velocityLineText(c);
    QList<QPointF> line;
    if (!slope.empty()) {
        for (double x : {lowCharge, highCharge})
            line.append(QPointF(x, c.line->interceptFps + c.line->slopeFpsPerGrain * x));
        if (std::isfinite(line[0].y()) && std::isfinite(line[1].y())) {
            velocity.low = std::min({velocity.low, line[0].y(), line[1].y()});
            velocity.high = std::max({velocity.high, line[0].y(), line[1].y()});
        } else {
            line.clear();
        }
    }
    lblSlope->setText(
        QStringLiteral("%1 %2 gr, %3 %4. ")
            .arg(utf8Text(c.caliber), utf8Text(generalNumber(c.bulletWeightGr)),
                 utf8Text(std::to_string(c.points.size())),
                 c.points.size() == 1 ? QStringLiteral("charge") : QStringLiteral("charges")) +
        (line.isEmpty() ? QStringLiteral("A velocity line needs velocities at two charges.")
                        : QStringLiteral("Velocity line (least squares): %1.").arg(utf8Text(slope))));

    auto* chargeAxis = scaleAxis(comparisonScale(lowCharge, highCharge, 8),
                                 QStringLiteral("Powder charge (gr)"), Qt::black);
    chart->addAxis(chargeAxis, Qt::AlignBottom);
    const auto plot = [&](QXYSeries* series, const QString& name, const QColor& color,
                          const QList<QPointF>& points, QAbstractAxis* axis) {
        series->setName(name);
        series->append(points);
        series->setColor(color);
        chart->addSeries(series);
        series->attachAxis(chargeAxis);
        series->attachAxis(axis);
    };
    const auto valueAxis = [&](const Values& v, const QString& title, const QColor& color,
                               Qt::Alignment side) {
        auto* axis = scaleAxis(comparisonScale(v.low, v.high, 6), title, color);
        axis->setLabelsColor(color);
        chart->addAxis(axis, side);
        return axis;
    };
    if (!velocity.points.isEmpty()) {
        auto* axis = valueAxis(velocity, QStringLiteral("Velocity (ft/s)"), kVelocityColor,
                               Qt::AlignLeft);
        auto* points = new QScatterSeries;
        points->setMarkerSize(10);
        points->setBorderColor(kVelocityColor);
        plot(points, QStringLiteral("Velocity"), kVelocityColor, velocity.points, axis);
        if (!line.isEmpty()) {
            auto* fit = new QLineSeries;
            plot(fit, QStringLiteral("Velocity line: %1").arg(utf8Text(slope)), kVelocityColor, line,
                 axis);
            QPen pen(kVelocityColor, 1.5, Qt::DashLine);
            fit->setPen(pen);
        }
    }
    if (!sd.points.isEmpty()) {
        auto* axis = valueAxis(sd, QStringLiteral("SD (ft/s)"), kSdColor, Qt::AlignRight);
        auto* series = new QLineSeries;
        series->setPointsVisible(true);
        series->setMarkerSize(5);
        plot(series, QStringLiteral("SD"), kSdColor, sd.points, axis);
    }
    if (!group.points.isEmpty()) {
        auto* axis = valueAxis(group, QStringLiteral("Mean radius (MOA)"), kGroupColor,
                               Qt::AlignRight);
        auto* series = new QLineSeries;
        series->setPointsVisible(true);
        series->setMarkerSize(5);
        plot(series, QStringLiteral("Mean radius"), kGroupColor, group.points, axis);
    }
    chart->legend()->setAlignment(Qt::AlignBottom);
}

std::vector<LoadHistory> frmLoadHistory::chosenLoads() {
    if (!m_selected.empty())
        return m_selected;
    std::vector<LoadHistory> all;
    if (HistoryDatabase* db = m_history.get())
        for (const LoadSummary& summary : m_loads) {
            auto load = db->load(summary.id);
            if (!load) {
                refuse(utf8Text(load.refusal));
                return {};
            }
            all.push_back(std::move(load.value));
        }
    if (all.empty())
        refuse(QStringLiteral("The load history holds no loads yet."));
    return all;
}

void frmLoadHistory::printDocument(QTextDocument& document,
                                   const std::vector<LoadHistory>& loads) {
    std::vector<LoadSummary> summaries;
    for (const LoadHistory& load : loads)
        for (const LoadSummary& s : m_loads)
            if (s.id == load.id)
                summaries.push_back(s);
    QString html = QStringLiteral("<h2>Load History</h2>") + htmlTable(loadsTable(summaries)) +
                   QStringLiteral("<h3>Strings</h3>") + htmlTable(stringsTable(loads)) +
                   QStringLiteral("<h3>Groups</h3>") + htmlTable(groupsTable(loads));
    if (m_comparison && !m_selected.empty()) {
        html += QStringLiteral("<h3>Comparison by powder charge</h3>") +
                htmlTable(comparisonTable(*m_comparison)) +
                QStringLiteral("<p>%1</p>").arg(lblSlope->text().toHtmlEscaped());
        const qreal ratio = 2;
        QPixmap picture(chtCompare->size() * ratio);
        picture.setDevicePixelRatio(ratio);
        picture.fill(Qt::white);
        chtCompare->QWidget::render(&picture);
        document.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("chart.png")),
                             picture.toImage());
        html += QStringLiteral("<p><img src=\"chart.png\" width=\"%1\"></p>")
                    .arg(utf8Text(std::to_string(std::min(chtCompare->width(), 900))));
    }
    QFont font = this->font();
    font.setPointSizeF(8);
    document.setDefaultFont(font);
    document.setHtml(html);
}

void frmLoadHistory::mnuFilePrint_Click() {
    const auto loads = chosenLoads();
    if (loads.empty())
        return;
    PrintSetup initial;
    initial.landscape = true;
    const auto setup = m_context.prompts.print(this, initial);
    if (!setup)
        return;
    QTextDocument document;
    printDocument(document, loads);
    printCopies(*setup, [&](QPrinter& printer) { document.print(&printer); });
}

void frmLoadHistory::mnuFilePdf_Click() {
    const auto loads = chosenLoads();
    if (loads.empty())
        return;
    FileRequest request;
    request.title = QStringLiteral("Save as PDF");
    request.filter = QStringLiteral("PDF file (.pdf)|*.pdf|");
    request.startFolder = userDataFolder();
    request.fileName = QStringLiteral("Load history.pdf");
    auto chosen = m_context.prompts.saveFile(this, request);
    if (!chosen || chosen->isEmpty())
        return;
    if (QFileInfo(*chosen).suffix().isEmpty())
        *chosen += QStringLiteral(".pdf");
    if (refusedAsOwnFile(*chosen, QStringLiteral("PDF")))
        return;
    QTextDocument document;
    printDocument(document, loads);
    PrintSetup setup;
    setup.landscape = true;
    setup.outputFile = *chosen;
    if (const std::string why =
            printCopies(setup, [&](QPrinter& printer) { document.print(&printer); });
        !why.empty())
        refuse(QStringLiteral("The PDF file %1 could not be saved: %2")
                   .arg(*chosen, QString::fromStdString(why)));
}

bool frmLoadHistory::refusedAsOwnFile(const QString& path, const QString& kind) {
    const std::string own = ownProgramFile(m_context.state.programFolder, toPath(path));
    if (!own.empty())
        refuse(QStringLiteral("The %1 file %2 could not be saved: it is %3, one of the program's "
                              "own files; choose another name")
                   .arg(kind, path, QString::fromStdString(own)));
    return !own.empty();
}

void frmLoadHistory::mnuFileCsv_Click() {
    const auto loads = chosenLoads();
    if (loads.empty())
        return;
    FileRequest request;
    request.title = QStringLiteral("Save as CSV");
    request.filter = QStringLiteral("CSV file (.csv)|*.csv|");
    request.startFolder = userDataFolder();
    request.fileName = QStringLiteral("Load history.csv");
    auto chosen = m_context.prompts.saveFile(this, request);
    if (!chosen || chosen->isEmpty())
        return;
    if (QFileInfo(*chosen).suffix().isEmpty())
        *chosen += QStringLiteral(".csv");
    if (refusedAsOwnFile(*chosen, QStringLiteral("CSV")))
        return;
    if (const std::string why = replaceFile(toPath(*chosen), historyCsv(loads)).refusal; !why.empty())
        refuse(QStringLiteral("The CSV file %1 could not be saved: %2")
                   .arg(*chosen, QString::fromStdString(why)));
}

} // namespace fendrel
