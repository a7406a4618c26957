// The chart's scale, layout, projection and hit testing.
#include "core/chart/ChartGeometry.h"

#include <gtest/gtest.h>

using namespace fendrel;

namespace {
ChartLayout layoutOf(double width, double height, int series) {
    ChartLayoutInput in;
    in.width = width, in.height = height, in.series = series;
    in.lineHeight = 16, in.margin = 11, in.valueLabelWidth = 40, in.categoryLabelHeight = 16;
    in.legendWidth = 200, in.legendHeight = 120;
    return layoutChart(in);
}
} // namespace

TEST(AxisScale, RoundStepsOverTheDataAndZeroAndThinnedLabels) {
    const AxisScale s = niceScale(-894, 21, 10, 1);
    EXPECT_TRUE(s.minimum == -900 && s.maximum == 100 && s.step == 100 && s.intervals() == 10);

    // Heights that all lie above the line of sight still show it.
    const AxisScale up = niceScale(40, 95, 5, 1);
    EXPECT_TRUE(up.minimum == 0 && up.maximum >= 95);
    // Only the line of sight: one whole step above it.
    EXPECT_TRUE(niceScale(0, 0, 10, 1).minimum == 0 && niceScale(0, 0, 10, 1).maximum == 1);
    // Within the intervals asked for.
    for (double hi : {1.0, 7.0, 99.0, 101.0, 999.0, 32767.0})
        for (int intervals : {2, 3, 5, 8, 13}) {
            const AxisScale s = niceScale(-hi * 0.7, hi, intervals, 1);
            EXPECT_LE(s.intervals(), intervals) << hi << " " << intervals;
            EXPECT_LE(s.minimum, -hi * 0.7);
            EXPECT_GE(s.maximum, hi);
        }
    // Labels that would collide are thinned: 101 labels 7 apart need 5.7 slots, rounded up.
    int cases[][3] = {{13, 60, 1}, {101, 7, 10}, {101, 20, 2}, {3, 1, 3}, {1, 1, 1}, {5, 0, 5}};
    for (const auto& c : cases)
        EXPECT_EQ(labelStep(c[0], c[1], 30, 10), c[2]) << c[0] << " " << c[1];
}

TEST(ChartLayout, PlotBoxDepthAndLegendKeepApart) {
    for (int series : {1, 2, 4, 20}) {
        const ChartLayout l = layoutOf(1250, 630, series);
        SCOPED_TRACE(series);
        EXPECT_GT(l.plot.width, 0);
        EXPECT_GT(l.plot.height, 0);
        EXPECT_GT(l.depthX, 0);
        EXPECT_LT(l.depthY, 0); // the depth recedes upwards
        // The back face stays inside the area, left of the legend.
        EXPECT_GE(l.plot.top + l.depthY, 0);
        EXPECT_LT(l.plot.right() + l.depthX, l.legend.left);
        EXPECT_LE(l.legend.right(), 1250);
        // Room for the value labels and title on the left, the range labels below.
        EXPECT_GE(l.plot.left, 11 + 16 + 40);
        EXPECT_LT(l.valueTitle.x, l.plot.left - 40);
        EXPECT_GT(l.categoryTitle.y, l.plot.bottom() + 16);
        EXPECT_LE(l.categoryTitle.y + 8, 630);
    }
    // More series take more depth, up to a limit.
    EXPECT_LT(layoutOf(1250, 630, 2).depthX, layoutOf(1250, 630, 4).depthX);
    EXPECT_EQ(layoutOf(1250, 630, 40).depthX, layoutOf(1250, 630, 80).depthX);
    // A tiny area gives an empty plot, not a negative one.
    const ChartLayout tiny = layoutOf(30, 20, 3);
    EXPECT_TRUE(tiny.plot.width >= 0 && tiny.plot.height >= 0);
}

TEST(ObliqueProjection, RowsValuesDepthsAndRibbonsLandInTheirPlaces) {
    const ChartLayout l = layoutOf(1000, 600, 3);
    const ObliqueProjection p(l, 10, 3, AxisScale{-900, 100, 100});
    const double slot = l.plot.width / 10;
    // Rows stand in the middle of their slots, the scale spans the front face.
    EXPECT_DOUBLE_EQ(p.at(1, -900, 0).x, l.plot.left + slot / 2);
    EXPECT_DOUBLE_EQ(p.at(1, -900, 0).y, l.plot.bottom());
    EXPECT_DOUBLE_EQ(p.at(10, 100, 0).x, l.plot.right() - slot / 2);
    EXPECT_DOUBLE_EQ(p.at(10, 100, 0).y, l.plot.top);
    EXPECT_NEAR(p.at(1, 0, 0).y, l.plot.bottom() - 0.9 * l.plot.height, 1e-9);
    // The back face is the front face moved by the depth.
    EXPECT_DOUBLE_EQ(p.at(10, 100, 1).x, l.plot.right() - slot / 2 + l.depthX);
    EXPECT_DOUBLE_EQ(p.at(10, 100, 1).y, l.plot.top + l.depthY);
    // Series 1 in front, each ribbon in its own slot.
    const ObliqueProjection four(layoutOf(1000, 600, 4), 5, 4, AxisScale{0, 10, 1});
    double previousBack = 0;
    for (int s = 1; s <= 4; ++s) {
        EXPECT_GT(four.ribbonFront(s), previousBack) << s;
        EXPECT_GT(four.ribbonBack(s), four.ribbonFront(s)) << s;
        EXPECT_LE(four.ribbonBack(s), 1.0) << s;
        previousBack = four.ribbonBack(s);
    }
    const PlanePoint frontPoint = four.pointAt(1, 3, 5);
    const PlanePoint backPoint = four.pointAt(4, 3, 5);
    EXPECT_GT(backPoint.x, frontPoint.x);
    EXPECT_LT(backPoint.y, frontPoint.y);
    // The visible side of a ribbon follows its slope: level, falling, or rising gently, it is
    // seen from above; rising more steeply than the depth recedes on screen, from below.
    const ObliqueProjection q(layoutOf(1000, 600, 2), 10, 2, AxisScale{-1000, 100, 100});
    EXPECT_LT(signedArea(q.segment(2, 3, 0, 0)), 0);
    EXPECT_LT(signedArea(q.segment(2, 3, 0, -900)), 0);
    EXPECT_LT(signedArea(q.segment(2, 3, 0, 20)), 0);
    EXPECT_GT(signedArea(q.segment(2, 3, -900, 0)), 0);
}

TEST(HitTesting, TheNearestPointWithinReachAndTheRibbonInFront) {
    const std::vector<std::vector<PlanePoint>> points{{{0, 0}, {10, 0}}, {{5, 5}, {20, 20}}};
    auto hit = nearestPoint(points, {9, 1}, 100);
    ASSERT_TRUE(hit);
    EXPECT_TRUE(hit->series == 1 && hit->row == 2);
    hit = nearestPoint(points, {19, 19}, 100);
    ASSERT_TRUE(hit);
    EXPECT_TRUE(hit->series == 2 && hit->row == 2);
    EXPECT_FALSE(nearestPoint(points, {50, 50}, 10));
    EXPECT_FALSE(nearestPoint({}, {0, 0}, 1e9));
    // Equally near: the series in front.
    const std::vector<std::vector<PlanePoint>> twins{{{0, 0}}, {{0, 0}}};
    EXPECT_EQ(nearestPoint(twins, {1, 1}, 10)->series, 1);
    // Ribbons in front cover those behind.
    const ObliqueProjection p(layoutOf(1000, 600, 2), 4, 2, AxisScale{0, 100, 10});
    const std::vector<std::vector<double>> values{{50, 50, 50, 50}, {50, 50, 50, 50}};
    const auto mid = [&](int series) {
        return p.at(2.5, 50, (p.ribbonFront(series) + p.ribbonBack(series)) / 2);
    };
    EXPECT_EQ(ribbonAt(p, values, mid(1)), 1);
    EXPECT_EQ(ribbonAt(p, values, mid(2)), 2);
    EXPECT_EQ(ribbonAt(p, values, p.at(2.5, 0, 0)), 0);
    // A lower ribbon behind shows on screen where the front one is: the front one wins.
    const ChartLayout l = layoutOf(1000, 600, 2);
    const double lowered = 50 - (-0.5 * l.depthY) / l.plot.height * 100;
    const std::vector<std::vector<double>> behind{{50, 50, 50, 50},
                                                  {lowered, lowered, lowered, lowered}};
    const PlanePoint shared = p.at(2.5, 50, 0.25);
    const PlanePoint sameOnSeries2 = p.at(2.5 - 0.5 * l.depthX / p.slotWidth(), lowered, 0.75);
    EXPECT_NEAR(shared.x, sameOnSeries2.x, 1e-9);
    EXPECT_NEAR(shared.y, sameOnSeries2.y, 1e-9);
    EXPECT_EQ(ribbonAt(p, behind, shared), 1);
    EXPECT_EQ(ribbonAt(p, {{}, behind[1]}, shared), 2);
}

