// Opening the report and chart windows over the current data file, from any window.
#pragma once

namespace fendrel {

struct AppContext;

// Shows the report window over the current data file path; an open report reloads it.
void openReport(AppContext& context);
// Shows the chart window over the current data file path; an open chart is replaced by it.
void openChart(AppContext& context);

} // namespace fendrel
