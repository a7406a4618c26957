// The geometry of the three-dimensional line chart: where the plot box, the legend and the axis
// titles go in the chart's area, the value scale, the oblique projection that puts every series
// on a ribbon of its own one behind the other, and finding what lies under the mouse.
// Coordinates are the screen's: x to the right, y downwards.
#pragma once

#include <array>
#include <optional>
#include <vector>

namespace fendrel {

struct PlanePoint {
    double x = 0;
    double y = 0;
};

struct PlaneBox {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
    double right() const { return left + width; }
    double bottom() const { return top + height; }
    bool contains(PlanePoint p) const {
        return p.x >= left && p.x <= right() && p.y >= top && p.y <= bottom();
    }
};

// A value scale of round steps: 1, 2 or 5 times a power of ten.
struct AxisScale {
    double minimum = 0;
    double maximum = 1;
    double step = 1;
    int intervals() const;
    double tick(int i) const { return minimum + i * step; }
};

// The scale that covers lo..hi (zero included, so the line of sight always shows) in at most
// `maxIntervals` steps of at least `minimumStep`. An empty range gets a scale around it.
AxisScale niceScale(double lo, double hi, int maxIntervals, double minimumStep);

// Label every how-many categories, so that labels `labelWidth` wide keep `spacing` apart on
// slots `slotWidth` wide. At least 1.
int labelStep(int count, double slotWidth, double labelWidth, double spacing);

// What the chart's area has to make room for, measured by whoever draws the text.
struct ChartLayoutInput {
    double width = 0;
    double height = 0;
    double margin = 8;
    double lineHeight = 14;          // one line of text
    double valueLabelWidth = 30;     // the widest value label
    double categoryLabelHeight = 14; // the row labels under the plot
    double legendWidth = 0;          // 0: no legend
    double legendHeight = 0;
    int series = 1;
};

struct ChartLayout {
    PlaneBox plot;            // the front face of the plot box
    double depthX = 0;        // the back face lies this far right ...
    double depthY = 0;        // ... and this far down (negative: up) of the front face
    PlaneBox legend;          // empty when there is no legend
    PlanePoint valueTitle;    // centre of the rotated value axis title
    PlanePoint categoryTitle; // centre of the category axis title
};

ChartLayout layoutChart(const ChartLayoutInput& in);

// The oblique projection of the plot: rows 1..R spread over the width, the scale over the
// height, series 1..S in depth with series 1 in front. Each series is a ribbon in its slot of
// the depth, with a gap to its neighbours.
class ObliqueProjection {
public:
    ObliqueProjection() = default;
    ObliqueProjection(const ChartLayout& layout, int rows, int series, const AxisScale& scale);

    int rows() const { return m_rows; }
    int series() const { return m_series; }
    const AxisScale& scale() const { return m_scale; }

    // The screen point of a row (1..R, fractions between) at a value on a depth (0 the front
    // face of the plot box, 1 its back face).
    PlanePoint at(double row, double value, double depth) const;
    // The front and back depths of a series' ribbon.
    double ribbonFront(int series) const;
    double ribbonBack(int series) const;
    double ribbonMiddle(int series) const { return (ribbonFront(series) + ribbonBack(series)) / 2; }
    // The data point of a series: on the middle of its ribbon.
    PlanePoint pointAt(int series, int row, double value) const;
    // The face of a ribbon from row r to r + 1, corners in order: front r, front r+1, back r+1,
    // back r.
    std::array<PlanePoint, 4> segment(int series, int row, double value, double nextValue) const;
    // The width of one row's slot.
    double slotWidth() const;

private:
    ChartLayout m_layout;
    int m_rows = 0;
    int m_series = 0;
    AxisScale m_scale;
};

// Twice the signed area of a polygon; its sign tells which side of a ribbon faces the viewer.
double signedArea(const std::array<PlanePoint, 4>& quad);
bool insideQuad(const std::array<PlanePoint, 4>& quad, PlanePoint p);

struct PointHit {
    int series = 0; // 1..S
    int row = 0;    // 1..R
    double distance = 0;
};

// The point nearest to `at` among points[series - 1][row - 1], no farther than maxDistance.
// On equal distances the series in front wins.
std::optional<PointHit> nearestPoint(const std::vector<std::vector<PlanePoint>>& points,
                                     PlanePoint at, double maxDistance);

// The series whose ribbon lies under `at`, 0 for none. values[series - 1][row - 1] are the
// plotted values; ribbons in front cover those behind them.
int ribbonAt(const ObliqueProjection& projection, const std::vector<std::vector<double>>& values,
             PlanePoint at);

} // namespace fendrel
