#include "Navigation.h"

#include "AppContext.h"
#include "SharedState.h"
#include "WindowRegistry.h"
#include "chart/frmViewChart.h"
#include "report/frmReport.h"

namespace fendrel {

void openReport(AppContext& context) {
    frmReport::chartOpener = [](AppContext& c) { openChart(c); };
    frmReport* open = context.windows.find<frmReport>();
    if (open && open->loaded() && !context.state.currentDataFile.empty()) {
        WindowRegistry::bringForward(open);
        open->LoadReport();
        return;
    }
    context.windows.show<frmReport>();
}

void openChart(AppContext& context) {
    frmViewChart* open = context.windows.find<frmViewChart>();
    const bool reload = open && open->isVisible() && !context.state.currentDataFile.empty();
    frmViewChart* chart = context.windows.show<frmViewChart>();
    chart->showReportWindow = [&context] { openReport(context); };
    if (reload && chart->LoadArray(true))
        chart->DrawChart();
}

} // namespace fendrel
