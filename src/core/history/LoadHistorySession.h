// The load history window's logic: the history opened (and checked before the first change),
// the loads and the entries of those selected, the comparison by powder charge, the entries
// added, corrected and deleted, and the report, PDF and CSV of the loads. The window passes on
// what the user selects and does, and shows the tables, the chart and the messages this gives.
// Texts are UTF-8.
#pragma once

#include "ChronographExport.h"
#include "HistoryDatabase.h"
#include "HistoryTables.h"
#include "LoadComparison.h"
#include "SeriesImport.h"
#include "core/chart/ChartGeometry.h"
#include "core/common/Result.h"
#include "core/common/SessionHost.h"
#include "core/common/SharedState.h"
#include "core/engine/RoundTexts.h"

#include <array>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace fendrel {

// What the comparison chart draws: each value by powder charge on its own scale, the velocity
// line, and the line of text under the chart.
struct ComparisonPlot {
    struct Values {
        std::vector<std::pair<double, double>> points; // charge, value
        std::vector<std::array<double, 3>> bars;       // charge, the interval's ends
        AxisScale scale;
    };
    AxisScale charges;
    Values velocity, sd, group;
    // The velocity line from the lowest to the highest charge; empty without one.
    std::vector<std::pair<double, double>> line;
    std::string slope;   // "41.7 ft/s per grain (35.2–48.1)", or empty
    std::vector<std::pair<double, double>> offLine; // charges whose velocity is off the line
    // What the ladder shows: "No flat spot is shown by these shots.", or where one is.
    std::string ladder;
    std::string caption; // "<caliber> <weight> gr, 5 charges. Velocity line ...", or why not
};

class LoadHistorySession {
public:
    static constexpr const char* kTitle = "Load History";

    explicit LoadHistorySession(std::filesystem::path programFolder);
    ~LoadHistorySession();

    // Reads the list of loads again, keeping the loads selected. A history that cannot be used
    // is told the first time its reason is met.
    void refresh(SessionHost& host);
    // The status line: the count of loads, that there is no history yet, or why it cannot be
    // used.
    std::string status() const;
    // False when the history cannot be read or changed; no entry can then be added.
    bool usable() const { return m_refusal.empty(); }

    const std::vector<LoadSummary>& loads() const { return m_loads; }
    TextTable loadsTable() const;
    // The rows of the list of loads selected, ascending.
    std::vector<std::size_t> selectedLoads() const;
    void selectLoads(const std::vector<std::size_t>& rows, SessionHost& host);
    // The row of the load with this description, or nothing.
    std::optional<std::size_t> loadRow(const std::string& description) const;

    // The entries of the selected loads, as the window's tables show them.
    TextTable stringsTable() const;
    TextTable groupsTable() const;
    // The entry fields of a string or a group of those tables.
    EntryFields stringFields(std::size_t row) const;
    EntryFields groupFields(std::size_t row) const;

    // Compare: two strings of the strings table, else two groups of the groups table, else
    // two loads of the list (all the shots of their strings; their groups when each has just
    // one): whether the data tell them apart, in words with the numbers and the shots needed.
    // Told; a selection without such a pair is told what to select.
    void compare(const std::vector<std::size_t>& strings, const std::vector<std::size_t>& groups,
                 SessionHost& host) const;

    // The selected loads compared by powder charge, when they can be.
    const std::optional<LoadComparison>& comparison() const { return m_comparison; }
    TextTable comparisonTable() const;
    ComparisonPlot comparisonPlot() const;

    // The changes. The round on the main window is the load entries are added to; `fields` are
    // the entry fields as typed. Each tells what stops it and is true when the history changed;
    // the list is then read again and `changedLoad` names the load that changed.
    bool addString(const std::optional<RoundTexts>& round, const EntryFields& fields,
                   SessionHost& host);

    // Import of a chronograph or e-target export (any layout ChronographExport.h reads), or of
    // a LabRadar card's folder: first read, then stored. The plan holds what was read and the
    // list the user chooses from when the file holds more than one series (`choose`); with
    // one, it is stored as it is.
    struct ImportPlan {
        std::filesystem::path source;
        ChronographExport read;
        std::vector<SeriesPreview> previews;
        TextTable table;             // the previews as the import's list shows them
        std::vector<bool> ticked;    // what the list starts with: all but the duplicates
        std::vector<bool> duplicate; // already in the history: offered, never stored twice
        bool choose = false;
        std::string load;               // the load they go to unless the user picks another
        std::vector<std::string> loads; // to pick from: the round's load, then the history's
        SeriesImportOptions options;    // the date and temperature of the fields
        std::optional<RoundKey> round;  // the round on the main window, with the typed charge
    };
    // The file dialog of the import; nothing when cancelled.
    std::optional<std::filesystem::path> chooseImportFile(SessionHost& host) const;
    // Reads a file or a folder; nothing (told why) when it cannot be read or there is no load
    // to import into.
    std::optional<ImportPlan> readImport(const std::filesystem::path& source,
                                         const std::optional<RoundTexts>& round,
                                         const EntryFields& fields, SessionHost& host);
    // Stores the ticked series in the load named (created when new, with the round values of
    // the round on the main window; an existing load keeps its own) and tells what was left
    // out. True when the history changed.
    bool importSeries(const ImportPlan& plan, const std::vector<bool>& ticked,
                      const std::string& load, SessionHost& host);
    bool addLastGroup(const std::optional<RoundTexts>& round, EntryFields& fields,
                      const std::optional<LastGroup>& group, SessionHost& host);
    bool importGroupFile(const std::optional<RoundTexts>& round, EntryFields& fields,
                         SessionHost& host);
    // Replaces, or deletes, a string (`isString`) or a group of the tables, after a Yes.
    bool saveEntry(bool isString, std::size_t row, const EntryFields& fields, SessionHost& host);
    bool deleteEntry(bool isString, std::size_t row, SessionHost& host);
    const std::string& changedLoad() const { return m_changedLoad; }

    // The loads a report is made of: those selected, or all of them; empty (and told) when
    // there are none.
    std::vector<LoadHistory> chosenLoads(SessionHost& host);
    // The printed report of the chosen loads as a web page; "chart.png" stands for the picture
    // of the comparison chart when `withChart`.
    std::string reportHtml(const std::vector<LoadHistory>& loads, bool withChart,
                           int chartWidth) const;
    // File > Save as PDF: asks for the file; the file to print the report to, or nothing.
    std::optional<std::filesystem::path> choosePdf(SessionHost& host);
    // File > Save as CSV: asks for the file and writes the chosen loads.
    void saveCsv(SessionHost& host);

private:
    // The history, opened on first use; for a change, created when missing and checked once.
    // Null when there is none yet or it cannot be used (the reason in m_refusal).
    HistoryDatabase* history(bool forChange, SessionHost& host);
    void tellRefusal(SessionHost& host);
    // The load key of the round on the main window; nothing (told why) without one.
    std::optional<RoundKey> roundKey(const std::optional<RoundTexts>& round, SessionHost& host);
    // The distance a group was shot at, asked; nothing when cancelled or refused (told).
    std::optional<double> askDistance(EntryFields& fields, SessionHost& host);
    bool addString(VelocityString s, const RoundKey& key, SessionHost& host);
    bool addGroup(HistoryGroup g, const std::optional<RoundTexts>& round,
                  const EntryFields& fields, SessionHost& host);
    bool afterChange(const Status& done, const std::string& load, SessionHost& host);

    std::filesystem::path m_programFolder;
    std::unique_ptr<HistoryDatabase> m_history;
    bool m_checked = false; // the file passed its integrity check
    std::string m_refusal;  // why the history cannot be read or changed
    std::string m_told;     // the refusal last told
    std::vector<LoadSummary> m_loads;
    std::vector<std::int64_t> m_selectedIds;
    std::vector<LoadHistory> m_selected;
    std::vector<VelocityString> m_strings;  // the rows of the strings table
    std::vector<std::string> m_stringLoads; // their loads' descriptions
    std::vector<HistoryGroup> m_groups;
    std::vector<std::string> m_groupLoads;
    std::optional<LoadComparison> m_comparison;
    std::string m_compareNote; // why nothing is compared
    std::string m_changedLoad;
};

} // namespace fendrel
