// The Load History window: the chronograph strings and groups kept for each load, entered,
// corrected and deleted here, and several loads of one bullet compared by powder charge. Its
// logic is LoadHistorySession's; the window passes on what the user selects and does.
#pragma once

#include "core/history/LoadHistorySession.h"
#include "gui/ui/PromptsHost.h"

#include <QMainWindow>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

class QAction;
class QChart;
class QChartView;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;
class QTextDocument;

namespace fendrel {

struct AppContext;

class frmLoadHistory : public QMainWindow {
    Q_OBJECT
public:
    explicit frmLoadHistory(AppContext& context);
    ~frmLoadHistory() override;

    QLabel* lblLoads;
    QTableWidget* lstLoads; // the loads; several may be selected
    QLabel* lblStatus;      // no history yet, or why it cannot be used
    QLabel* lblStrings;
    QTableWidget* grdStrings; // the strings of the selected loads
    QLabel* lblGroups;
    QTableWidget* grdGroups; // their groups

    QGroupBox* fraEntry;
    QLabel* lblDate;
    QLineEdit* txtDate;
    QLabel* lblTemperature;
    QLineEdit* txtTemperature;
    QLabel* lblCharge;
    QLineEdit* txtCharge;
    QLabel* lblDistance;
    QLineEdit* txtDistance;
    QLabel* lblNote;
    QLineEdit* txtNote;
    QLabel* lblShots;
    QPlainTextEdit* txtShots;
    QPushButton* cmdAddString;
    QPushButton* cmdImportCsv;
    QPushButton* cmdAddGroup;
    QPushButton* cmdImportGroup;
    QPushButton* cmdSaveEntry;
    QPushButton* cmdDelete;
    QPushButton* cmdCompare;

    QChartView* chtCompare; // velocity, SD and group size by powder charge
    QLabel* lblCompare;
    QTableWidget* grdCompare; // the chart's values, one row per charge
    QLabel* lblSlope;         // the velocity line's ft/s per grain, or why nothing is compared

    QMenu* mnuFile;
    QAction* mnuFilePrint;
    QAction* mnuFilePdf;
    QAction* mnuFileCsv;
    QAction* mnuFileImport;
    QAction* mnuFileImportFolder;
    QAction* mnuFileClose;

    // The comparison of the selected loads, when they can be compared.
    const std::optional<LoadComparison>& comparison() const { return m_session.comparison(); }

public slots:
    // Reads the list of loads again, keeping the selection.
    void refresh();

    void cmdAddString_Click();
    void cmdImportCsv_Click();
    void cmdAddGroup_Click();
    void cmdImportGroup_Click();
    void cmdSaveEntry_Click();
    void cmdDelete_Click();
    void cmdCompare_Click();
    void mnuFilePrint_Click();
    void mnuFilePdf_Click();
    void mnuFileCsv_Click();
    void mnuFileImportFolder_Click();
    // Imports a chronograph or e-target export, or a LabRadar card's folder: with several
    // series, after the user ticked those to import and named the load.
    void importFrom(const std::filesystem::path& source);

protected:
    // A file or folder dropped on the window is imported.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // The controls, their layout and the tab order (frmLoadHistoryLayout.cpp).
    void buildControls();
    void buildMenu();
    void fillTable(QTableWidget* table, const TextTable& text);
    // The one selected row of a table, or -1.
    static int selectedRow(const QTableWidget* table);

    // The session's loads, entries and comparison into the controls.
    void showLoads();
    void showEntries();
    void entrySelected(bool isString);
    void enableEntryCommands();
    // The entry fields as typed, and back.
    EntryFields fields() const;
    // After a command: when it changed the history, the lists again with the load that changed
    // selected and in view; the status and the commands' state in any case.
    void afterCommand(bool changed);
    void printDocument(QTextDocument& document, const std::vector<LoadHistory>& loads);

    AppContext& m_context;
    LoadHistorySession m_session;
    PromptsHost m_host;
};

} // namespace fendrel
