#include "Navigation.h"

#include "core/common/SharedState.h"
#include "gui/backup/frmRestore.h"
#include "gui/backup/frmUpgrade.h"
#include "gui/chart/frmViewChart.h"
#include "gui/groups/frmMeasure.h"
#include "gui/history/frmLoadHistory.h"
#include "gui/rangecard/frmRangeCard.h"
#include "gui/report/frmReport.h"
#include "gui/simulator/frmInteractive.h"
#include "gui/stabilizer/frmStabilizer.h"
#include "gui/ui/AppContext.h"
#include "gui/ui/WindowRegistry.h"
#include "gui/workbench/frmRoundDevel.h"

#include <QAction>

namespace fendrel {

void openReport(AppContext& context) {
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
    context.windows.show<frmViewChart>();
}

// A window asks for the report or the chart of a file: it becomes the current data file, which
// both windows load.
void connectWindows(AppContext& context) {
    context.windows.whenCreated<frmReport>([&context](frmReport* report) {
        QObject::connect(report, &frmReport::graphRequested, report,
                         [&context](const std::string& file) {
                             context.state.currentDataFile = file;
                             openChart(context);
                         });
    });
    context.windows.whenCreated<frmViewChart>([&context](frmViewChart* chart) {
        QObject::connect(chart, &frmViewChart::reportRequested, chart,
                         [&context](const std::string& file) {
                             context.state.currentDataFile = file;
                             openReport(context);
                         });
    });
}

void connectMainWindow(frmRoundDevel* main, AppContext& context) {
    auto& windows = context.windows;
    const auto opens = [main](QAction* entry, auto show) {
        QObject::connect(entry, &QAction::triggered, main, show);
    };
    opens(main->mnuInteractive, [&windows] { windows.show<frmInteractive>(); });
    opens(main->mnuToolsStabCalc, [&windows] { windows.show<frmStabilizer>(); });
    opens(main->mnuRangeMeas, [&windows] { windows.show<frmMeasure>(); });
    opens(main->mnuFileUpgrade, [&windows] { windows.show<frmUpgrade>(); });
    opens(main->mnuFileRestore, [&windows] { windows.show<frmRestore>(); });
    opens(main->mnuRangeCard, [&windows] { windows.show<frmRangeCard>(); });
    opens(main->mnuLoadHistory, [&windows] { windows.show<frmLoadHistory>(); });
    QObject::connect(main, &frmRoundDevel::viewBallisticsRequested, main,
                     [&context](const std::string& file) {
                         context.state.currentDataFile = file;
                         openReport(context);
                     });
    QObject::connect(main, &frmRoundDevel::graphBallisticsRequested, main,
                     [&context](const std::string& file) {
                         context.state.currentDataFile = file;
                         openChart(context);
                     });
}

} // namespace fendrel
