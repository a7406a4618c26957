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
    // An open chart is shown as it is: its data, added files included, live until it closes.
    if (frmViewChart* open = context.windows.find<frmViewChart>(); open && open->isVisible()) {
        WindowRegistry::bringForward(open);
        return;
    }
    frmViewChart* chart = context.windows.show<frmViewChart>();
    chart->showReportWindow = [&context] { openReport(context); };
}

} // namespace fendrel
