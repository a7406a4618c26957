// The ballistics report: what the report window shows of an output file, and the loading of
// an output file into it by position.
#pragma once

#include <array>
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace fendrel {

inline constexpr std::size_t kParameterColumns = 10;
inline constexpr std::size_t kResultColumns = 7;
inline constexpr std::size_t kFooterLines = 9;
// The results grid holds at most this many rows, heading row included.
inline constexpr std::size_t kMaxResultRows = 255;

// The section captions of the report window, also written into the exported page.
inline constexpr const char* kConditionParameters = "Condition Parameters";
inline constexpr const char* kExteriorBallisticsTable = "Exterior Ballistics Table";
inline constexpr const char* kTerminalBallistics = "Terminal Ballistics";

// Everything the report window shows, in UTF-8 (read from the output file's windows-1252):
// captions, cells and which parts are visible. A load writes into it step by step, so a load that stops part way leaves the
// earlier report's texts wherever it did not reach.
struct Report {
    std::string title;                  // Label1: line 1
    std::array<std::string, 3> headers; // lblHeader 0..2: lines 2, 3, 4
    // grdParameters: row 0 the headings, row 1 the values.
    std::array<std::array<std::string, kParameterColumns>, 2> parameters;
    // grdResults: row 0 the headings, column 0 the ranges; columns 5 and 6 from the
    // penetration table.
    std::vector<std::array<std::string, kResultColumns>> results;
    std::array<std::string, kFooterLines> footers; // lblFooter 0..8: the summary lines

    bool labelsVisible = false;     // title, headers, footers and the section captions
    bool parametersVisible = false; // grdParameters
    bool resultsVisible = false;    // grdResults
};

// The report window before anything is loaded: header labels reading "This is header area",
// twelve empty result rows, everything hidden.
Report emptyReport();

// How a load ended. `complete` is false when the file ran out or did not fit; `reason` then
// says why, for the command line (the window shows nothing).
struct ReportLoad {
    bool complete = false;
    std::string reason;
};

// Loads the bytes of an output file into `report`, in the order the window fills its controls:
// title and headers, the 20 parameter fields, the result rows (the row count comes from the
// first line containing "Maximum"), eight summary lines, the penetration columns and the last
// summary line. Lines and fields are read in turn from the same position. Reading stops at the
// first read past the end of the bytes; what was stored up to there stays, and a grid whose
// filling had started stays hidden. A row count below 1 or above 255 changes nothing.
ReportLoad loadReport(std::string_view bytes, Report& report);

// The same for a file. A missing, unreadable or oversized (64 MiB) file changes nothing.
ReportLoad loadReportFile(const std::filesystem::path& path, Report& report);

} // namespace fendrel
