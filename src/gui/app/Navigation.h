// How the windows reach each other. Windows only ask (a signal, a menu entry); the application
// answers here, in one place, so that no window includes another subsystem's windows.
#pragma once

namespace fendrel {

struct AppContext;
class frmRoundDevel;

// Shows the report window over the current data file path; an open report reloads it.
void openReport(AppContext& context);
// Shows the chart window over the current data file path; an open chart is shown as it is.
void openChart(AppContext& context);

// Connects the requests of the windows the registry creates: the report's Graph ballistics and
// the chart's View ballistics.
void connectWindows(AppContext& context);
// Connects the main window's menu entries to the windows of the other subsystems.
void connectMainWindow(frmRoundDevel* main, AppContext& context);

} // namespace fendrel
