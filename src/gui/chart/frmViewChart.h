// The chart window "Trajectory Viewer": the trajectory tables of ballistics output files as a
// three-dimensional line chart over range, a flat line of sight in front. Files can be opened in
// place of the plotted ones or added as further series; a selected point shows its range and
// height in the status bar, and a selected series opens its report.
#pragma once

#include "core/chart/ChartData.h"

#include <QMainWindow>
#include <string>
#include <functional>

class QAction;
class QLabel;
class QMenu;
class QStatusBar;
class QTimer;

namespace fendrel {

struct AppContext;
class TrajectoryChartWidget;

class frmViewChart : public QMainWindow {
    Q_OBJECT
public:
    explicit frmViewChart(AppContext& context);

    TrajectoryChartWidget* MSChart1;
    QStatusBar* StatusBar1;
    QLabel* Picture1; // the chart's picture, shown over it while printing
    QTimer* Timer1;

    QMenu* mnuFile;
    QAction* mnuFileOpen;
    QAction* mnuFileAdd;
    QAction* mnuFilePrint;
    QAction* mnuFileSep;
    QAction* mnuFileExit;
    QMenu* mnuView; // never in the menu bar: the chart's context menu
    QAction* mnuVTable;

    const ChartData& data() const { return m_data; }
    int seriesCount() const { return m_data.seriesCount(); }
    int selectedSeries() const { return m_selectedSeries; }
    bool loaded() const { return m_loaded; }
    QString statusText() const;

    // Loads the file named by the current data file path: as a new chart when `newChart`, else
    // as the next series. A file that cannot be charted is refused with a message and changes
    // nothing.
    bool LoadArray(bool newChart);
    // Rebuilds the chart control from the chart data and maximizes the window.
    void DrawChart();
    // The open-file dialog; the choice becomes the current data file path ("" on cancel).
    bool OpenFile();

public slots:
    // The start-up load (or the question for a file) and the View ballistics entry.
    void Timer1_Timer();
    void mnuFileOpen_Click();
    void mnuFileAdd_Click();
    void mnuFilePrint_Click();
    void mnuFileExit_Click();
    void mnuVTable_Click();
    void MSChart1_PointSelected(int series, int row);
    void MSChart1_SeriesSelected(int series);
    void MSChart1_ContextMenu(const QPoint& globalPos);

protected:
    void resizeEvent(QResizeEvent* event) override;


signals:
    // View ballistics: the application shows the report of the selected series' file.
    void reportRequested(const std::string& file);

private:
    void buildMenus();
    void setStatusText(const QString& text);
    void Form_Resize();

    AppContext& m_context;
    ChartData m_data;
    QLabel* m_status = nullptr;
    int m_selectedSeries = 0;
    bool m_loaded = false;
    bool m_adding = false;
    bool m_inTimer = false;
};

} // namespace fendrel
