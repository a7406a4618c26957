// A three-dimensional line chart: each series a ribbon over the categories, the series one
// behind the other in depth, with walls, gridlines, axis labels and titles and a legend. The
// user selects a point with a click near it, or by holding Ctrl while dragging across the chart
// (the point nearest the cursor follows the mouse); a click on a ribbon or a legend entry
// selects that series.
#pragma once

#include "core/chart/ChartGeometry.h"

#include <QColor>
#include <QImage>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <vector>

class QFontMetricsF;
class QPainter;

namespace fendrel {

class TrajectoryChartWidget : public QWidget {
    Q_OBJECT
public:
    explicit TrajectoryChartWidget(QWidget* parent = nullptr);

    // The columns (series, front to back) with their labels and values, and the row labels.
    // values[s] holds the value of every row of series s + 1. Clears the selection.
    void setChart(const QStringList& seriesTitles, const std::vector<std::vector<int>>& values,
                  const QStringList& rowLabels);
    void clearChart();
    void setAxisTitles(const QString& category, const QString& value);
    void setLegendVisible(bool visible);

    int seriesCount() const { return static_cast<int>(m_titles.size()); }
    int rowCount() const { return static_cast<int>(m_rowLabels.size()); }
    // Series 1..seriesCount, rows 1..rowCount.
    QString seriesTitle(int series) const { return m_titles.value(series - 1); }
    QString rowLabel(int row) const { return m_rowLabels.value(row - 1); }
    int value(int series, int row) const;
    QString categoryTitle() const { return m_categoryTitle; }
    QString valueTitle() const { return m_valueTitle; }
    bool legendVisible() const { return m_legendVisible; }
    QColor seriesColor(int series) const;

    int selectedSeries() const { return m_selectedSeries; }
    int selectedRow() const { return m_selectedRow; }
    // Sets the highlight without telling anyone (0 clears).
    void setSelection(int series, int row);

    // Where a data point and a legend entry lie in the widget (for the mouse).
    QPointF pointPosition(int series, int row) const;
    QRectF legendEntry(int series) const;

    // The chart drawn at `scale` times its size on screen, for printing.
    QImage picture(qreal scale) const;

signals:
    void pointSelected(int series, int row);
    void seriesSelected(int series);
    // The right mouse button was pressed at `globalPos` (after selecting what lies under it).
    void contextMenuRequested(const QPoint& globalPos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    struct Frame {
        ChartLayout layout;
        ObliqueProjection projection;
        std::vector<std::vector<PlanePoint>> points;
        int labelStep = 1;
        double lineHeight = 0;
        double legendLine = 0;
    };
    Frame frame(const QFontMetricsF& metrics, QSizeF size) const;
    void paintChart(QPainter& painter, QSizeF size) const;
    void paintWalls(QPainter& painter, const Frame& f) const;
    void paintAxes(QPainter& painter, const Frame& f, const QFontMetricsF& metrics) const;
    void paintRibbon(QPainter& painter, const Frame& f, int series) const;
    void paintSelection(QPainter& painter, const Frame& f) const;
    void paintLegend(QPainter& painter, const Frame& f, const QFontMetricsF& metrics) const;

    // What lies under a widget point: a point (series and row), or a series only.
    struct Target {
        int series = 0;
        int row = 0;
    };
    Target targetAt(QPointF at) const;
    int legendEntryAt(const Frame& f, QPointF at) const;
    QRectF entryRect(const Frame& f, int series) const;
    void selectNearest(QPointF at);
    void choosePoint(int series, int row);
    void chooseSeries(int series);
    double pickDistance() const;

    QStringList m_titles;
    std::vector<std::vector<int>> m_values;
    QStringList m_rowLabels;
    QString m_categoryTitle;
    QString m_valueTitle;
    bool m_legendVisible = true;
    int m_selectedSeries = 0;
    int m_selectedRow = 0;
};

} // namespace fendrel
