#include "HistoryChart.h"

#include "gui/ui/Text.h"

#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPen>
#include <QScatterSeries>

namespace fendrel {

namespace {

// An axis whose labels stand at the ticks of the scale, written by the program's number texts.
QCategoryAxis* historyAxis(const AxisScale& scale, const QString& title, const QColor& color) {
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

QList<QPointF> pointsOf(const std::vector<std::pair<double, double>>& values) {
    QList<QPointF> points;
    for (const auto& [x, y] : values)
        points.append(QPointF(x, y));
    return points;
}

const QColor kVelocityColor(0x1f, 0x5f, 0xbf);
const QColor kSdColor(0xd9, 0x6c, 0x00);
const QColor kGroupColor(0x2e, 0x8b, 0x3e);
const QColor kOffLineColor(0xc0, 0x1c, 0x28);

} // namespace

void showComparisonChart(QChartView* view, const ComparisonPlot& plot) {
    QChart* chart = view->chart();
    chart->removeAllSeries();
    for (QAbstractAxis* axis : chart->axes()) {
        chart->removeAxis(axis);
        delete axis;
    }
    if (plot.velocity.points.empty() && plot.sd.points.empty() && plot.group.points.empty())
        return;
    auto* chargeAxis = historyAxis(plot.charges, QStringLiteral("Powder charge (gr)"), Qt::black);
    chart->addAxis(chargeAxis, Qt::AlignBottom);
    const auto add = [&](QXYSeries* series, const QString& name, const QColor& color,
                         const QList<QPointF>& points, QAbstractAxis* axis) {
        series->setName(name);
        series->append(points);
        series->setColor(color);
        chart->addSeries(series);
        series->attachAxis(chargeAxis);
        series->attachAxis(axis);
    };
    // An interval as a vertical bar in its series' colour, out of the legend.
    // The bars of the SD and the mean radius stand a little to either side of the velocity's,
    // so that bars at one charge do not hide each other.
    const double dodge = (plot.charges.maximum - plot.charges.minimum) * 0.012;
    const auto bars = [&](const ComparisonPlot::Values& v, const QColor& color,
                          QAbstractAxis* axis, double offset) {
        for (const auto& [charge, low, high] : v.bars) {
            auto* bar = new QLineSeries;
            bar->append(charge + offset, low);
            bar->append(charge + offset, high);
            chart->addSeries(bar);
            bar->attachAxis(chargeAxis);
            bar->attachAxis(axis);
            bar->setPen(QPen(color, 1.2));
            for (QLegendMarker* marker : chart->legend()->markers(bar))
                marker->setVisible(false);
        }
    };
    const auto valueAxis = [&](const ComparisonPlot::Values& v, const QString& title,
                               const QColor& color, Qt::Alignment side) {
        auto* axis = historyAxis(v.scale, title, color);
        axis->setLabelsColor(color);
        chart->addAxis(axis, side);
        return axis;
    };
    if (!plot.velocity.points.empty()) {
        auto* axis = valueAxis(plot.velocity, QStringLiteral("Velocity (ft/s)"), kVelocityColor,
                               Qt::AlignLeft);
        auto* points = new QScatterSeries;
        points->setMarkerSize(10);
        points->setBorderColor(kVelocityColor);
        add(points, QStringLiteral("Velocity"), kVelocityColor, pointsOf(plot.velocity.points),
            axis);
        bars(plot.velocity, kVelocityColor, axis, 0);
        if (!plot.line.empty()) {
            auto* fit = new QLineSeries;
            add(fit, QStringLiteral("Velocity line"), kVelocityColor, pointsOf(plot.line), axis);
            fit->setPen(QPen(kVelocityColor, 1.5, Qt::DashLine));
        }
        if (!plot.offLine.empty()) {
            auto* off = new QScatterSeries;
            off->setMarkerSize(16);
            off->setBrush(Qt::NoBrush);
            add(off, QStringLiteral("Off the line"), kOffLineColor, pointsOf(plot.offLine), axis);
            off->setBrush(Qt::NoBrush);
            off->setPen(QPen(kOffLineColor, 2));
            for (QLegendMarker* marker : chart->legend()->markers(off))
                marker->setPen(QPen(kOffLineColor, 2));
        }
    }
    const auto line = [&](const ComparisonPlot::Values& v, const QString& title,
                          const QString& name, const QColor& color, double offset) {
        if (v.points.empty())
            return;
        auto* axis = valueAxis(v, title, color, Qt::AlignRight);
        bars(v, color, axis, offset);
        auto* series = new QLineSeries;
        series->setPointsVisible(true);
        series->setMarkerSize(5);
        add(series, name, color, pointsOf(v.points), axis);
    };
    line(plot.sd, QStringLiteral("SD (ft/s)"), QStringLiteral("SD"), kSdColor, dodge);
    line(plot.group, QStringLiteral("Mean radius (MOA)"), QStringLiteral("Mean radius"),
         kGroupColor, -dodge);
    chart->legend()->setAlignment(Qt::AlignBottom);
}

} // namespace fendrel
