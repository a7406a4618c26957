// The window "Report Viewer": one ballistics output file as a formatted report, saved as an
// HTML page, printed and copied piece by piece to the clipboard.
#pragma once

#include "core/report/Report.h"

#include <QMainWindow>
#include <string>
#include <array>
#include <functional>

class QAction;
class QLabel;
class QMenu;
class QTimer;

namespace fendrel {

struct AppContext;
class ReportGridWidget;

class frmReport : public QMainWindow {
    Q_OBJECT
public:
    explicit frmReport(AppContext& context);

    QWidget* shpBak;
    QLabel* Label1;
    std::array<QLabel*, 3> lblHeader;
    QLabel* Label2;
    ReportGridWidget* grdParameters;
    QLabel* Label3;
    ReportGridWidget* grdResults;
    std::array<QLabel*, 9> lblFooter;
    QLabel* Label4;
    QLabel* Picture1; // images of the grids while printing
    QLabel* Picture2;
    QTimer* Timer1;

    QMenu* mnuFile;
    QAction* mnuFileOpen;
    QAction* mnuSaveAs;
    QAction* mnuFilePrint;
    QAction* mnuFileSep1;
    QAction* mnuFileExit;
    QMenu* mnuEdit;
    QAction* mnuEditCopy;
    QAction* mnuEditACopy;
    QMenu* mnuView; // never in the menu bar: the context menu of grdResults
    QAction* mnuViewGraph;

    // What the window shows, as the program's bytes.
    const Report& report() const { return m_report; }
    bool loaded() const { return m_loaded; }
    // The pieces copied so far (Copy starts it, Append Copy adds to it).
    QString copyAccumulator() const { return m_accumulator; }

public slots:
    void LoadReport();
    void OpenFile();
    void Timer1_Timer();
    void mnuFileOpen_Click();
    void mnuSaveAs_Click();
    void mnuFilePrint_Click();
    void mnuFileExit_Click();
    void mnuEditCopy_Click();
    void mnuEditACopy_Click();
    void mnuViewGraph_Click();
    void Form_Resize();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;


signals:
    // View > "Graph ballistics": the application shows the chart of the last output file.
    void graphRequested(const std::string& file);

private:
    // The sheet's controls and menus (frmReportLayout.cpp).
    void buildControls();
    QSize clientSize() const;
    // The results grid centred on the sheet, at its designed height.
    void placeResultsGrid();
    QLabel* addLabel(const char* name, int left, int top, int width, int height);
    void buildMenus();
    void showReport();
    QString focusedRange(bool& found) const;
    QSize outerSizeTwips() const;

    AppContext& m_context;
    Report m_report;
    bool m_loaded = false;
    bool m_starting = false;
    int m_sheetWidth = 8655; // shpBak, in twips
    int m_sheetHeight = 8175;
    QString m_copyText;
    QString m_accumulator;
};

} // namespace fendrel
