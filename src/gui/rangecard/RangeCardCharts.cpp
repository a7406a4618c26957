#include "RangeCardCharts.h"

#include "core/chart/ChartGeometry.h"
#include "core/rangecard/RangeCardColumns.h"
#include "gui/ui/Text.h"

#include <QAreaSeries>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <optional>

namespace fendrel {

namespace {

struct Curve {
    QString name;
    QList<QPointF> points;
};

QCategoryAxis* axis(QChart* chart, Qt::Orientation orientation) {
    return static_cast<QCategoryAxis*>(chart->axes(orientation).constFirst());
}

// Ticks at the scale's round steps, labelled by the program's own number texts.
void setScale(QCategoryAxis* axis, const AxisScale& scale) {
    for (const QString& label : axis->categoriesLabels())
        axis->remove(label);
    const int decimals =
        scale.step >= 1 ? 0 : std::min(6, static_cast<int>(std::ceil(-std::log10(scale.step))));
    const std::string pattern = decimals ? "0." + std::string(decimals, '0') : "0";
    // The first category ends on the first tick, so that tick has its label too.
    axis->setStartValue(scale.minimum - scale.step);
    for (int i = 0; i <= scale.intervals(); ++i)
        axis->append(utf8Text(roundedText(scale.tick(i), pattern.c_str())), scale.tick(i));
    axis->setRange(scale.minimum, scale.maximum);
}

// Replaces the chart's series. Points that are not finite never reach the chart.
void showCurves(QChartView* view, const std::vector<Curve>& curves, const QString& xTitle,
                const std::optional<AxisScale>& yScale) {
    QChart* chart = view->chart();
    chart->removeAllSeries();
    QCategoryAxis* x = axis(chart, Qt::Horizontal);
    QCategoryAxis* y = axis(chart, Qt::Vertical);
    x->setTitleText(xTitle);
    double xMax = 0, yMin = 0, yMax = 0;
    for (const Curve& c : curves) {
        auto* series = new QLineSeries;
        series->setName(c.name);
        for (const QPointF& p : c.points) {
            if (!std::isfinite(p.x()) || !std::isfinite(p.y()))
                continue;
            series->append(p);
            xMax = std::max(xMax, p.x());
            yMin = std::min(yMin, p.y());
            yMax = std::max(yMax, p.y());
        }
        chart->addSeries(series);
        series->attachAxis(x);
        series->attachAxis(y);
    }
    setScale(x, niceScale(0, xMax, 5, 1));
    // As many ticks as the chart's height leaves room for, so that no label is cut short.
    const int intervals = std::clamp(view->height() / 45, 2, 6);
    setScale(y, yScale ? *yScale : niceScale(yMin, yMax, intervals, 0.01));
}

} // namespace

QChartView* makeChartView(QWidget* parent, const char* name, const QString& title,
                          const QString& yTitle, const QString& accessibleName) {
    auto* chart = new QChart;
    chart->setTitle(title);
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->setMargins(QMargins(4, 4, 4, 4));
    chart->setBackgroundRoundness(0);
    for (Qt::Alignment side : {Qt::AlignBottom, Qt::AlignLeft}) {
        auto* axis = new QCategoryAxis;
        axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
        chart->addAxis(axis, side);
    }
    axis(chart, Qt::Vertical)->setTitleText(yTitle);
    auto* view = new QChartView(chart, parent);
    view->setObjectName(QString::fromLatin1(name));
    view->setAccessibleName(accessibleName);
    view->setRenderHint(QPainter::Antialiasing);
    view->setFocusPolicy(Qt::NoFocus);
    view->setMinimumSize(240, 190);
    return view;
}

void showPaths(QChartView* view, const RangeCardResult* card,
               const std::optional<PointBlankRange>& zone) {
    Curve height{QStringLiteral("Height (+ up)"), {}};
    Curve windage{QStringLiteral("Windage (+ right)"), {}};
    if (card)
        for (const RangeCardRow& r : card->rows) {
            height.points.append(QPointF(r.range, r.height));
            windage.points.append(QPointF(r.range, r.windage));
        }
    const bool m = card && card->metric;
    axis(view->chart(), Qt::Vertical)
        ->setTitleText(m ? QStringLiteral("cm") : QStringLiteral("in"));
    std::vector<Curve> curves = {height, windage};
    if (zone && card) {
        // The vital zone: the path is held within these two lines from near to far.
        const double half = zone->vital / 2;
        Curve top{QStringLiteral("Vital zone"), {}}, bottom{QString(), {}};
        for (double x : {zone->nearRange, zone->maximum}) {
            top.points.append(QPointF(x, half));
            bottom.points.append(QPointF(x, -half));
        }
        curves.push_back(top);
        curves.push_back(bottom);
    }
    showCurves(view, curves, m ? QStringLiteral("Range (m)") : QStringLiteral("Range (yd)"),
               std::nullopt);
    if (zone && card) {
        const auto series = view->chart()->series();
        const QPen pen(QColor(0xc0, 0x1c, 0x28), 1.5, Qt::DashLine);
        for (int i = 2; i < series.size(); ++i)
            static_cast<QLineSeries*>(series[i])->setPen(pen);
        for (QLegendMarker* marker : view->chart()->legend()->markers(series.back()))
            marker->setVisible(false);
    }
}

void showResiduals(QChartView* view, const std::vector<TruingResidual>& before,
                   const std::vector<TruingResidual>& after, const QString& unit, bool metric) {
    // By range, so that each curve reads from near to far.
    const auto curve = [](const QString& name, std::vector<TruingResidual> residuals) {
        std::sort(residuals.begin(), residuals.end(),
                  [](const TruingResidual& a, const TruingResidual& b) { return a.range < b.range; });
        Curve c{name, {}};
        for (const TruingResidual& r : residuals)
            c.points.append(QPointF(r.range, r.residual));
        return c;
    };
    axis(view->chart(), Qt::Vertical)->setTitleText(unit);
    showCurves(view, {curve(QStringLiteral("Before"), before), curve(QStringLiteral("After"), after)},
               metric ? QStringLiteral("Range (m)") : QStringLiteral("Range (yd)"), std::nullopt);
    for (QAbstractSeries* series : view->chart()->series())
        static_cast<QLineSeries*>(series)->setPointsVisible(true);
}

void showHitCurve(QChartView* view, const std::vector<HitRow>& rows, bool metric) {
    Curve hit{QStringLiteral("Chance of a hit"), {}};
    for (const HitRow& r : rows)
        hit.points.append(QPointF(r.range, r.probability * 100));
    view->chart()->legend()->hide();
    AxisScale percent;
    percent.minimum = 0, percent.maximum = 100, percent.step = 25;
    showCurves(view, {hit}, metric ? QStringLiteral("Range (m)") : QStringLiteral("Range (yd)"),
               percent);
    // The band, when the shots behind the spreads were given: shaded between its edges.
    auto* low = new QLineSeries;
    auto* high = new QLineSeries;
    for (const HitRow& r : rows)
        if (r.probabilityLow && r.probabilityHigh && std::isfinite(*r.probabilityLow) &&
            std::isfinite(*r.probabilityHigh)) {
            low->append(r.range, *r.probabilityLow * 100);
            high->append(r.range, *r.probabilityHigh * 100);
        }
    if (low->count() == 0) {
        delete low;
        delete high;
        return;
    }
    QChart* chart = view->chart();
    auto* band = new QAreaSeries(high, low);
    band->setName(QStringLiteral("Band"));
    QColor fill = chart->series().constFirst()->property("color").value<QColor>();
    fill.setAlpha(60);
    band->setBrush(fill);
    band->setPen(Qt::NoPen);
    chart->addSeries(band);
    band->attachAxis(axis(chart, Qt::Horizontal));
    band->attachAxis(axis(chart, Qt::Vertical));
}

} // namespace fendrel
