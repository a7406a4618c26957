#include "TrajectoryChartWidget.h"

#include "core/common/Numbers.h"

#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <limits>

namespace fendrel {


TrajectoryChartWidget::TrajectoryChartWidget(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(120, 90);
}

void TrajectoryChartWidget::setChart(const QStringList& seriesTitles,
                                     const std::vector<std::vector<int>>& values,
                                     const QStringList& rowLabels) {
    m_titles = seriesTitles;
    m_values = values;
    m_values.resize(static_cast<size_t>(m_titles.size()));
    for (auto& series : m_values)
        series.resize(static_cast<size_t>(rowLabels.size()));
    m_rowLabels = rowLabels;
    m_selectedSeries = 0;
    m_selectedRow = 0;
    update();
}

void TrajectoryChartWidget::clearChart() {
    setChart({}, {}, {});
}

void TrajectoryChartWidget::setAxisTitles(const QString& category, const QString& value) {
    m_categoryTitle = category;
    m_valueTitle = value;
    update();
}

void TrajectoryChartWidget::setLegendVisible(bool visible) {
    m_legendVisible = visible;
    update();
}

int TrajectoryChartWidget::value(int series, int row) const {
    if (series < 1 || series > seriesCount() || row < 1 || row > rowCount())
        return 0;
    return m_values[static_cast<size_t>(series - 1)][static_cast<size_t>(row - 1)];
}

QColor TrajectoryChartWidget::seriesColor(int series) const {
    // The line of sight is a neutral reference; the files get colours that stay apart.
    static const QColor palette[] = {
        QColor(31, 119, 180), QColor(214, 39, 40),   QColor(44, 160, 44),
        QColor(255, 127, 14), QColor(148, 103, 189), QColor(23, 170, 190),
        QColor(140, 86, 75),  QColor(227, 119, 194), QColor(160, 160, 30)};
    if (series <= 1)
        return QColor(120, 120, 120);
    return palette[(series - 2) % (sizeof(palette) / sizeof(palette[0]))];
}

void TrajectoryChartWidget::setSelection(int series, int row) {
    m_selectedSeries = (series >= 1 && series <= seriesCount()) ? series : 0;
    m_selectedRow = (m_selectedSeries && row >= 1 && row <= rowCount()) ? row : 0;
    update();
}

QPointF TrajectoryChartWidget::pointPosition(int series, int row) const {
    if (series < 1 || series > seriesCount() || row < 1 || row > rowCount())
        return {};
    const Frame f = frame(QFontMetricsF(font(), this), size());
    const PlanePoint p = f.points[static_cast<size_t>(series - 1)][static_cast<size_t>(row - 1)];
    return QPointF(p.x, p.y);
}

double TrajectoryChartWidget::pickDistance() const {
    return std::max(6.0, QFontMetricsF(font(), this).height() * 0.6);
}

TrajectoryChartWidget::Target TrajectoryChartWidget::targetAt(QPointF at) const {
    if (seriesCount() == 0)
        return {};
    const Frame f = frame(QFontMetricsF(font(), this), size());
    const PlanePoint where{at.x(), at.y()};
    if (auto hit = nearestPoint(f.points, where, pickDistance()))
        return {hit->series, hit->row};
    std::vector<std::vector<double>> values;
    for (const auto& series : m_values)
        values.emplace_back(series.begin(), series.end());
    if (int s = ribbonAt(f.projection, values, where))
        return {s, 0};
    return {legendEntryAt(f, at), 0};
}

void TrajectoryChartWidget::choosePoint(int series, int row) {
    m_selectedSeries = series;
    m_selectedRow = row;
    update();
    emit seriesSelected(series);
    emit pointSelected(series, row);
}

void TrajectoryChartWidget::chooseSeries(int series) {
    if (series != m_selectedSeries)
        m_selectedRow = 0;
    m_selectedSeries = series;
    update();
    emit seriesSelected(series);
}

void TrajectoryChartWidget::selectNearest(QPointF at) {
    if (seriesCount() == 0 || rowCount() == 0)
        return;
    const Frame f = frame(QFontMetricsF(font(), this), size());
    const auto hit =
        nearestPoint(f.points, {at.x(), at.y()}, std::numeric_limits<double>::infinity());
    if (hit && (hit->series != m_selectedSeries || hit->row != m_selectedRow))
        choosePoint(hit->series, hit->row);
}

void TrajectoryChartWidget::mousePressEvent(QMouseEvent* event) {
    const QPointF at = event->position();
    if (event->button() == Qt::LeftButton) {
        if (event->modifiers() & Qt::ControlModifier) {
            selectNearest(at);
        } else {
            const Target t = targetAt(at);
            if (t.row)
                choosePoint(t.series, t.row);
            else if (t.series)
                chooseSeries(t.series);
        }
        event->accept();
        return;
    }
    if (event->button() == Qt::RightButton) {
        const Target t = targetAt(at);
        if (t.series)
            chooseSeries(t.series);
        emit contextMenuRequested(event->globalPosition().toPoint());
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

void TrajectoryChartWidget::mouseMoveEvent(QMouseEvent* event) {
    if ((event->buttons() & Qt::LeftButton) && (event->modifiers() & Qt::ControlModifier))
        selectNearest(event->position());
    QWidget::mouseMoveEvent(event);
}

} // namespace fendrel
