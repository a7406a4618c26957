// The load history's comparison chart drawn from the session's plot: velocity, SD and mean
// radius by powder charge, each on its own scale, and the velocity line.
#pragma once

#include "core/history/LoadHistorySession.h"

class QChartView;

namespace fendrel {

void showComparisonChart(QChartView* view, const ComparisonPlot& plot);

} // namespace fendrel
