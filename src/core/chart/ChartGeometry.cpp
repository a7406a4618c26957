// Scales, layout, the oblique projection and hit testing of the trajectory chart.
#include "ChartGeometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace fendrel {

namespace {

// The depth recedes up and to the right at this angle.
constexpr double kDepthAngle = 30.0 * 3.14159265358979323846 / 180.0;
// Each ribbon fills this share of its slot of the depth.
constexpr double kRibbonShare = 0.76;

// 1, 2 or 5 times a power of ten, the smallest at least `raw`.
double roundStep(double raw) {
    if (!(raw > 0) || !std::isfinite(raw))
        return 1;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0, 10.0}) {
        if (m * magnitude >= raw * (1 - 1e-12))
            return m * magnitude;
    }
    return 10 * magnitude;
}

} // namespace

int AxisScale::intervals() const {
    if (!(step > 0))
        return 0;
    return static_cast<int>(std::lround((maximum - minimum) / step));
}

AxisScale niceScale(double lo, double hi, int maxIntervals, double minimumStep) {
    lo = std::min(lo, 0.0);
    hi = std::max(hi, 0.0);
    maxIntervals = std::max(1, maxIntervals);
    if (!(hi > lo))
        hi = lo + std::max(minimumStep, 1.0);
    double step = std::max(roundStep((hi - lo) / maxIntervals), minimumStep);
    AxisScale scale;
    // Stepping up once or twice more keeps the count within bounds after rounding the ends out.
    for (;;) {
        scale.step = step;
        scale.minimum = std::floor(lo / step + 1e-9) * step;
        scale.maximum = std::ceil(hi / step - 1e-9) * step;
        if (scale.intervals() <= maxIntervals)
            break;
        step = roundStep(step * 1.0001);
    }
    return scale;
}

int labelStep(int count, double slotWidth, double labelWidth, double spacing) {
    if (count <= 1)
        return 1;
    if (!(slotWidth > 0))
        return count;
    const double need = (labelWidth + spacing) / slotWidth;
    if (need <= 1)
        return 1;
    const double step = roundStep(need);
    return static_cast<int>(std::min<double>(step, count));
}

ChartLayout layoutChart(const ChartLayoutInput& in) {
    ChartLayout out;
    const double m = in.margin;
    const double tick = m / 2;

    const double left = m + in.lineHeight + m + in.valueLabelWidth + tick;
    double right = in.width - m;
    if (in.legendWidth > 0)
        right -= in.legendWidth + 2 * m;
    const double top = m + in.lineHeight / 2;
    const double bottom = in.height - m - in.lineHeight - m / 2 - in.categoryLabelHeight - tick;
    const double width = std::max(0.0, right - left);
    const double height = std::max(0.0, bottom - top);

    const double perSeries = std::max(1.6 * in.lineHeight, 0.04 * width);
    const double depth =
        std::min({0.22 * width, 0.35 * height, std::max(1, in.series) * perSeries});
    out.depthX = depth * std::cos(kDepthAngle);
    out.depthY = -depth * std::sin(kDepthAngle);

    out.plot = {left, top - out.depthY, std::max(0.0, width - out.depthX),
                std::max(0.0, height + out.depthY)};
    if (in.legendWidth > 0) {
        const double legendHeight = std::min(in.legendHeight, std::max(0.0, in.height - 2 * m));
        out.legend = {in.width - m - in.legendWidth, std::max(m, top + (height - legendHeight) / 2),
                      in.legendWidth, legendHeight};
    }
    out.valueTitle = {m + in.lineHeight / 2, out.plot.top + out.plot.height / 2};
    out.categoryTitle = {out.plot.left + out.plot.width / 2, in.height - m - in.lineHeight / 2};
    return out;
}

ObliqueProjection::ObliqueProjection(const ChartLayout& layout, int rows, int series,
                                     const AxisScale& scale)
    : m_layout(layout), m_rows(std::max(1, rows)), m_series(std::max(1, series)), m_scale(scale) {}

double ObliqueProjection::slotWidth() const {
    return m_layout.plot.width / m_rows;
}

PlanePoint ObliqueProjection::at(double row, double value, double depth) const {
    const PlaneBox& p = m_layout.plot;
    const double span = m_scale.maximum - m_scale.minimum;
    const double share = span > 0 ? (value - m_scale.minimum) / span : 0;
    return {p.left + (row - 0.5) * slotWidth() + depth * m_layout.depthX,
            p.bottom() - share * p.height + depth * m_layout.depthY};
}

double ObliqueProjection::ribbonFront(int series) const {
    const double slot = 1.0 / m_series;
    return (series - 1) * slot + slot * (1 - kRibbonShare) / 2;
}

double ObliqueProjection::ribbonBack(int series) const {
    const double slot = 1.0 / m_series;
    return series * slot - slot * (1 - kRibbonShare) / 2;
}

PlanePoint ObliqueProjection::pointAt(int series, int row, double value) const {
    return at(row, value, ribbonMiddle(series));
}

std::array<PlanePoint, 4> ObliqueProjection::segment(int series, int row, double value,
                                                     double nextValue) const {
    const double front = ribbonFront(series);
    const double back = ribbonBack(series);
    return {at(row, value, front), at(row + 1, nextValue, front), at(row + 1, nextValue, back),
            at(row, value, back)};
}

double signedArea(const std::array<PlanePoint, 4>& q) {
    double sum = 0;
    for (size_t i = 0; i < q.size(); ++i) {
        const PlanePoint& a = q[i];
        const PlanePoint& b = q[(i + 1) % q.size()];
        sum += a.x * b.y - b.x * a.y;
    }
    return sum;
}

bool insideQuad(const std::array<PlanePoint, 4>& q, PlanePoint p) {
    // Crossing count; a ribbon face is a simple quadrilateral or a flat one.
    bool inside = false;
    for (size_t i = 0, j = q.size() - 1; i < q.size(); j = i++) {
        const PlanePoint& a = q[i];
        const PlanePoint& b = q[j];
        if ((a.y > p.y) != (b.y > p.y)) {
            const double x = a.x + (p.y - a.y) * (b.x - a.x) / (b.y - a.y);
            if (p.x < x)
                inside = !inside;
        }
    }
    return inside;
}

std::optional<PointHit> nearestPoint(const std::vector<std::vector<PlanePoint>>& points,
                                     PlanePoint at, double maxDistance) {
    std::optional<PointHit> best;
    for (size_t s = 0; s < points.size(); ++s) {
        for (size_t r = 0; r < points[s].size(); ++r) {
            const double d = std::hypot(points[s][r].x - at.x, points[s][r].y - at.y);
            if (d > maxDistance)
                continue;
            if (!best || d < best->distance)
                best = PointHit{static_cast<int>(s) + 1, static_cast<int>(r) + 1, d};
        }
    }
    return best;
}

int ribbonAt(const ObliqueProjection& projection, const std::vector<std::vector<double>>& values,
             PlanePoint at) {
    for (size_t s = 0; s < values.size(); ++s) {
        const auto& v = values[s];
        const int series = static_cast<int>(s) + 1;
        for (size_t r = 0; r + 1 < v.size(); ++r) {
            if (insideQuad(projection.segment(series, static_cast<int>(r) + 1, v[r], v[r + 1]), at))
                return series;
        }
        if (v.size() == 1) {
            const PlanePoint a = projection.at(1, v[0], projection.ribbonFront(series));
            const PlanePoint b = projection.at(1, v[0], projection.ribbonBack(series));
            if (std::hypot(at.x - (a.x + b.x) / 2, at.y - (a.y + b.y) / 2) <=
                std::hypot(a.x - b.x, a.y - b.y) / 2)
                return series;
        }
    }
    return 0;
}

} // namespace fendrel
