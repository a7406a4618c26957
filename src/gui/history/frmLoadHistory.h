// The Load History window: the chronograph strings and groups kept for each load, entered,
// corrected and deleted here, and several loads of one bullet compared by powder charge.
#pragma once

#include "core/history/HistoryDatabase.h"
#include "core/history/HistoryTables.h"
#include "core/history/LoadComparison.h"

#include <QMainWindow>
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

    QChartView* chtCompare; // velocity, SD and group size by powder charge
    QLabel* lblCompare;
    QTableWidget* grdCompare; // the chart's values, one row per charge
    QLabel* lblSlope;         // the velocity line's ft/s per grain, or why nothing is compared

    QMenu* mnuFile;
    QAction* mnuFilePrint;
    QAction* mnuFilePdf;
    QAction* mnuFileCsv;
    QAction* mnuFileClose;

    // The comparison of the selected loads, when they can be compared.
    const std::optional<LoadComparison>& comparison() const { return m_comparison; }

public slots:
    // Reads the list of loads again, keeping the selection.
    void refresh();

    void cmdAddString_Click();
    void cmdImportCsv_Click();
    void cmdAddGroup_Click();
    void cmdImportGroup_Click();
    void cmdSaveEntry_Click();
    void cmdDelete_Click();
    void mnuFilePrint_Click();
    void mnuFilePdf_Click();
    void mnuFileCsv_Click();

private:
    // The controls, their layout and the tab order (frmLoadHistoryLayout.cpp).
    void buildControls();
    void buildMenu();
    void fillTable(QTableWidget* table, const TextTable& text);
    // The one selected row of a table, or -1.
    static int selectedRow(const QTableWidget* table);

    // The history of the program folder, opened on first use, and created and checked for a
    // change. Null when there is none yet, or when it cannot be used or changed: the reason is
    // then in m_refusal.
    HistoryDatabase* history(bool forChange);
    void showStatus();
    void loadsSelected();
    void entrySelected(bool isString);
    void enableEntryCommands();

    // Adding, changing and deleting entries (frmLoadHistoryEntries.cpp).
    // The round on the main window as the load to add to; nullopt (after saying why) when there
    // is none.
    std::optional<RoundKey> roundOnScreen();
    EntryFields fields() const;
    std::optional<double> askDistance();
    void addString(VelocityString s, const RoundKey& key);
    void addGroup(HistoryGroup g);
    void afterChange(const Status& done, const std::string& description);
    void refuse(const QString& text);
    QString userDataFolder() const;

    // The chart, printing and the CSV (frmLoadHistoryOutput.cpp).
    void showComparison();
    // True (and the user told) when `path` is one of the program's own files.
    bool refusedAsOwnFile(const QString& path, const QString& kind);
    std::vector<LoadHistory> chosenLoads();
    void printDocument(QTextDocument& document, const std::vector<LoadHistory>& loads);

    AppContext& m_context;
    std::unique_ptr<HistoryDatabase> m_history;
    bool m_checked = false;   // the file passed its integrity check
    std::string m_refusal;    // why the history cannot be read or changed
    std::string m_told;       // the refusal last shown in a message
    std::vector<LoadSummary> m_loads;       // rows of lstLoads
    std::vector<LoadHistory> m_selected;    // the selected loads
    std::vector<VelocityString> m_strings;  // rows of grdStrings
    std::vector<std::string> m_stringLoads; // their loads' descriptions
    std::vector<HistoryGroup> m_groups;     // rows of grdGroups
    std::vector<std::string> m_groupLoads;
    std::optional<LoadComparison> m_comparison;
    QString m_compareNote; // why nothing is compared
};

} // namespace fendrel
