// Drawing the chart: the oblique frame, walls and axes, one ribbon per series, the selection and
// the legend, the same on screen, in pictures and on paper.
#include "TrajectoryChartWidget.h"

#include "gui/ui/Text.h"
#include "core/common/Numbers.h"
#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <limits>

namespace fendrel {

namespace {

QPointF toQt(PlanePoint p) {
    return QPointF(p.x, p.y);
}

QPolygonF polygon(std::initializer_list<PlanePoint> points) {
    QPolygonF out;
    for (const PlanePoint& p : points)
        out << toQt(p);
    return out;
}

QPolygonF polygon(const std::array<PlanePoint, 4>& quad) {
    return polygon({quad[0], quad[1], quad[2], quad[3]});
}

QString numberLabel(double value) {
    return utf8Text(generalNumber(value));
}

const QColor kBackWall(246, 246, 246);
const QColor kSideWall(234, 234, 234);
const QColor kFloor(222, 222, 222);
const QColor kGrid(196, 196, 196);
const QColor kAxis(90, 90, 90);
const QColor kText(30, 30, 30);

} // namespace

TrajectoryChartWidget::Frame TrajectoryChartWidget::frame(const QFontMetricsF& metrics,
                                                          QSizeF size) const {
    Frame f;
    f.lineHeight = metrics.height();
    f.legendLine = f.lineHeight * 1.5;

    double lo = 0, hi = 0;
    for (const auto& series : m_values)
        for (int v : series) {
            lo = std::min<double>(lo, v);
            hi = std::max<double>(hi, v);
        }
    auto intervalsFor = [&](double height) {
        return std::max(2, static_cast<int>(height / (2.2 * f.lineHeight)));
    };
    auto widestLabel = [&](const AxisScale& s) {
        double w = 0;
        for (int i = 0; i <= s.intervals(); ++i)
            w = std::max(w, metrics.horizontalAdvance(numberLabel(s.tick(i))));
        return w;
    };

    ChartLayoutInput in;
    in.width = size.width();
    in.height = size.height();
    in.margin = std::round(f.lineHeight * 0.7);
    in.lineHeight = f.lineHeight;
    in.categoryLabelHeight = f.lineHeight;
    in.series = std::max(1, seriesCount());
    in.valueLabelWidth = widestLabel(niceScale(lo, hi, intervalsFor(size.height() * 0.7), 1));
    if (m_legendVisible && seriesCount() > 0) {
        double text = 0;
        for (const QString& title : m_titles)
            text = std::max(text, metrics.horizontalAdvance(title));
        text = std::min(text, size.width() * 0.3);
        const double padding = f.lineHeight * 0.6;
        in.legendWidth = 2 * padding + 1.6 * f.lineHeight + 0.5 * f.lineHeight + text;
        in.legendHeight = 2 * padding + seriesCount() * f.legendLine;
    }
    f.layout = layoutChart(in);

    const AxisScale scale = niceScale(lo, hi, intervalsFor(f.layout.plot.height), 1);
    f.projection = ObliqueProjection(f.layout, rowCount(), seriesCount(), scale);

    double labelWidth = 0;
    for (const QString& label : m_rowLabels)
        labelWidth = std::max(labelWidth, metrics.horizontalAdvance(label.trimmed()));
    f.labelStep = labelStep(rowCount(), f.projection.slotWidth(), labelWidth, f.lineHeight);

    f.points.resize(m_values.size());
    for (size_t s = 0; s < m_values.size(); ++s)
        for (size_t r = 0; r < m_values[s].size(); ++r)
            f.points[s].push_back(f.projection.pointAt(static_cast<int>(s) + 1,
                                                       static_cast<int>(r) + 1, m_values[s][r]));
    return f;
}

void TrajectoryChartWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintChart(painter, size());
}

QImage TrajectoryChartWidget::picture(qreal scale) const {
    QImage image((QSizeF(size()) * scale).toSize(), QImage::Format_ARGB32_Premultiplied);
    const int dotsPerMeter = static_cast<int>(std::lround(logicalDpiX() / 0.0254));
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(font());
    paintChart(painter, size());
    return image;
}

void TrajectoryChartWidget::paintChart(QPainter& painter, QSizeF size) const {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(QRectF(QPointF(0, 0), size), Qt::white);
    const QFontMetricsF metrics(painter.font(), painter.device());
    const Frame f = frame(metrics, size);

    paintWalls(painter, f);
    paintAxes(painter, f, metrics);
    for (int s = seriesCount(); s >= 1; --s)
        paintRibbon(painter, f, s);
    paintSelection(painter, f);
    if (m_legendVisible && seriesCount() > 0)
        paintLegend(painter, f, metrics);
    painter.restore();
}

void TrajectoryChartWidget::paintWalls(QPainter& painter, const Frame& f) const {
    const ObliqueProjection& p = f.projection;
    const AxisScale& scale = p.scale();
    const double first = 0.5;           // left edge of the plot, in rows
    const double last = p.rows() + 0.5; // right edge
    const double lo = scale.minimum, hi = scale.maximum;

    painter.setPen(QPen(kGrid, 1));
    painter.setBrush(kBackWall);
    painter.drawPolygon(
        polygon({p.at(first, lo, 1), p.at(last, lo, 1), p.at(last, hi, 1), p.at(first, hi, 1)}));
    painter.setBrush(kSideWall);
    painter.drawPolygon(
        polygon({p.at(first, lo, 0), p.at(first, lo, 1), p.at(first, hi, 1), p.at(first, hi, 0)}));
    painter.setBrush(kFloor);
    painter.drawPolygon(
        polygon({p.at(first, lo, 0), p.at(last, lo, 0), p.at(last, lo, 1), p.at(first, lo, 1)}));

    // Value gridlines run along the side wall and across the back wall.
    for (int i = 1; i < scale.intervals(); ++i) {
        const double v = scale.tick(i);
        painter.setPen(QPen(v == 0 ? kAxis.lighter(160) : kGrid, v == 0 ? 1.2 : 0.8));
        painter.drawPolyline(polygon({p.at(first, v, 0), p.at(first, v, 1), p.at(last, v, 1)}));
    }
    // Range gridlines on the back wall and the floor, at the labelled rows.
    painter.setPen(QPen(kGrid, 0.8, Qt::DotLine));
    for (int r = 1; r <= rowCount(); r += f.labelStep)
        painter.drawPolyline(polygon({p.at(r, lo, 0), p.at(r, lo, 1), p.at(r, hi, 1)}));
}

void TrajectoryChartWidget::paintAxes(QPainter& painter, const Frame& f,
                                      const QFontMetricsF& metrics) const {
    const ObliqueProjection& p = f.projection;
    const AxisScale& scale = p.scale();
    const PlaneBox& plot = f.layout.plot;
    const double tick = std::round(f.lineHeight * 0.35);

    painter.setPen(QPen(kAxis, 1.2));
    painter.drawLine(QPointF(plot.left, plot.top), QPointF(plot.left, plot.bottom()));
    painter.drawLine(QPointF(plot.left, plot.bottom()), QPointF(plot.right(), plot.bottom()));

    painter.setPen(kText);
    for (int i = 0; i <= scale.intervals(); ++i) {
        const double y = p.at(0.5, scale.tick(i), 0).y;
        painter.setPen(QPen(kAxis, 1));
        painter.drawLine(QPointF(plot.left - tick, y), QPointF(plot.left, y));
        painter.setPen(kText);
        const QRectF box(0, y - f.lineHeight / 2, plot.left - tick - 3, f.lineHeight);
        painter.drawText(box, Qt::AlignRight | Qt::AlignVCenter, numberLabel(scale.tick(i)));
    }

    for (int r = 1; r <= rowCount(); r += f.labelStep) {
        const double x = p.at(r, scale.minimum, 0).x;
        painter.setPen(QPen(kAxis, 1));
        painter.drawLine(QPointF(x, plot.bottom()), QPointF(x, plot.bottom() + tick));
        painter.setPen(kText);
        const QString label = m_rowLabels.value(r - 1).trimmed();
        const double w = metrics.horizontalAdvance(label) + 2;
        painter.drawText(QRectF(x - w / 2, plot.bottom() + tick, w, f.lineHeight), Qt::AlignCenter,
                         label);
    }

    QFont bold = painter.font();
    bold.setBold(true);
    painter.save();
    painter.setFont(bold);
    const QFontMetricsF boldMetrics(bold, painter.device());
    const double categoryWidth = boldMetrics.horizontalAdvance(m_categoryTitle) + 4;
    painter.drawText(QRectF(f.layout.categoryTitle.x - categoryWidth / 2,
                            f.layout.categoryTitle.y - f.lineHeight / 2, categoryWidth,
                            f.lineHeight),
                     Qt::AlignCenter, m_categoryTitle);
    const double valueWidth = boldMetrics.horizontalAdvance(m_valueTitle) + 4;
    painter.translate(f.layout.valueTitle.x, f.layout.valueTitle.y);
    painter.rotate(-90);
    painter.drawText(QRectF(-valueWidth / 2, -f.lineHeight / 2, valueWidth, f.lineHeight),
                     Qt::AlignCenter, m_valueTitle);
    painter.restore();
}

void TrajectoryChartWidget::paintRibbon(QPainter& painter, const Frame& f, int series) const {
    const ObliqueProjection& p = f.projection;
    const auto& values = m_values[static_cast<size_t>(series - 1)];
    const QColor base = seriesColor(series);
    QColor top = base.lighter(125);
    QColor under = base.darker(135);
    const QColor edge = base.darker(160);
    if (series == 1) {
        // The line of sight lies in front of everything: let the trajectories show through.
        top.setAlpha(150);
        under.setAlpha(150);
    }

    if (values.size() == 1) {
        painter.setPen(QPen(edge, 3, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(toQt(p.at(1, values[0], p.ribbonFront(series))),
                         toQt(p.at(1, values[0], p.ribbonBack(series))));
        return;
    }
    // Narrow segments get no outline of their own, so that a long table stays a smooth ribbon.
    const bool outlined = p.slotWidth() >= 1.2 * f.lineHeight;
    for (size_t r = 0; r + 1 < values.size(); ++r) {
        const auto quad = p.segment(series, static_cast<int>(r) + 1, values[r], values[r + 1]);
        // Seen from above when the face turns one way on screen, from below the other.
        const QColor& face = signedArea(quad) <= 0 ? top : under;
        painter.setPen(outlined ? QPen(edge, 0.6) : QPen(face, 0.8));
        painter.setBrush(face);
        painter.drawPolygon(polygon(quad));
    }
    QPolygonF front;
    QPolygonF back;
    for (size_t r = 0; r < values.size(); ++r) {
        front << toQt(p.at(static_cast<double>(r) + 1, values[r], p.ribbonFront(series)));
        back << toQt(p.at(static_cast<double>(r) + 1, values[r], p.ribbonBack(series)));
    }
    painter.setPen(QPen(edge, 0.8));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolyline(back);
    painter.drawLine(front.first(), back.first());
    painter.drawLine(front.last(), back.last());
    const bool selected = series == m_selectedSeries;
    painter.setPen(QPen(selected ? QColor(0, 0, 0) : edge, selected ? 2.6 : 1.4, Qt::SolidLine,
                        Qt::RoundCap, Qt::RoundJoin));
    painter.drawPolyline(front);
}

void TrajectoryChartWidget::paintSelection(QPainter& painter, const Frame& f) const {
    if (m_selectedSeries < 1 || m_selectedRow < 1 || m_selectedSeries > seriesCount() ||
        m_selectedRow > rowCount())
        return;
    const PlanePoint at =
        f.points[static_cast<size_t>(m_selectedSeries - 1)][static_cast<size_t>(m_selectedRow - 1)];
    const double radius = std::max(4.0, f.lineHeight * 0.4);
    const PlanePoint floor = f.projection.at(m_selectedRow, f.projection.scale().minimum,
                                             f.projection.ribbonMiddle(m_selectedSeries));
    painter.setPen(QPen(QColor(0, 0, 0), 1, Qt::DashLine));
    painter.drawLine(toQt(at), toQt(floor));
    painter.setPen(QPen(QColor(0, 0, 0), 2));
    painter.setBrush(QColor(255, 230, 0));
    painter.drawEllipse(toQt(at), radius, radius);
    painter.setBrush(seriesColor(m_selectedSeries));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(toQt(at), radius * 0.4, radius * 0.4);
}

void TrajectoryChartWidget::paintLegend(QPainter& painter, const Frame& f,
                                        const QFontMetricsF& metrics) const {
    const PlaneBox& box = f.layout.legend;
    painter.setPen(QPen(kGrid, 1));
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(box.left, box.top, box.width, box.height));
    const double padding = f.lineHeight * 0.6;
    const double swatch = 1.6 * f.lineHeight;
    const double textLeft = padding + swatch + 0.5 * f.lineHeight;
    const double textWidth = box.width - textLeft - padding;
    for (int s = 1; s <= seriesCount(); ++s) {
        const QRectF entry = entryRect(f, s);
        if (entry.bottom() > box.bottom() + 0.5)
            break; // a legend taller than the chart shows what fits
        if (s == m_selectedSeries) {
            painter.setPen(QPen(QColor(0, 0, 0), 1, Qt::DotLine));
            painter.setBrush(QColor(255, 246, 200));
            painter.drawRect(entry.adjusted(-2, 0, 2, 0));
        }
        const double mid = entry.center().y();
        painter.setPen(QPen(seriesColor(s).darker(160), 1));
        painter.setBrush(seriesColor(s));
        painter.drawRect(
            QRectF(box.left + padding, mid - f.lineHeight * 0.35, swatch, f.lineHeight * 0.7));
        painter.setPen(kText);
        const QString text = metrics.elidedText(m_titles.value(s - 1), Qt::ElideRight, textWidth);
        painter.drawText(
            QRectF(box.left + textLeft, mid - f.lineHeight / 2, textWidth + 2, f.lineHeight),
            Qt::AlignLeft | Qt::AlignVCenter, text);
    }
}

QRectF TrajectoryChartWidget::legendEntry(int series) const {
    if (!m_legendVisible || series < 1 || series > seriesCount())
        return {};
    return entryRect(frame(QFontMetricsF(font(), this), size()), series);
}

QRectF TrajectoryChartWidget::entryRect(const Frame& f, int series) const {
    const PlaneBox& box = f.layout.legend;
    const double padding = f.lineHeight * 0.6;
    return QRectF(box.left + padding / 2, box.top + padding + (series - 1) * f.legendLine,
                  box.width - padding, f.legendLine);
}

int TrajectoryChartWidget::legendEntryAt(const Frame& f, QPointF at) const {
    if (!m_legendVisible || !f.layout.legend.contains({at.x(), at.y()}))
        return 0;
    for (int s = 1; s <= seriesCount(); ++s)
        if (entryRect(f, s).contains(at))
            return s;
    return 0;
}

} // namespace fendrel
