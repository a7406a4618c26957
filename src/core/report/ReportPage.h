// The report as an HTML page: the page's bytes, and writing it to a file.
#pragma once

#include "Report.h"

#include <filesystem>
#include <string>

namespace fendrel {

// The files in the program folder that an exported page refers to.
struct ReportPageLinks {
    std::string background;  // html_bak.gif
    std::string atmosphere;  // ICAO-StdMetro.htm, on the atmosphere header line
    std::string drag;        // mach-drag.htm, on the drag function header line
    std::string penetration; // w1_index.htm, on the W1 column heading
    std::string energy;      // fp_energy.htm, on the energy column heading
};

// The addresses written into a page exported from `programFolder`: the folder without a
// trailing separator, a backslash and the file's name as it exists there (any case), as
// windows-1252 bytes. Browsers read the backslash of a file address as a slash.
ReportPageLinks reportPageLinks(const std::filesystem::path& programFolder);

// The page for the report's texts, written as they stand (no HTML escaping), lines ended by
// CR LF.
std::string reportPage(const Report& report, const ReportPageLinks& links);

// Writes the page for the report, replacing any file of that name. Returns an empty string on
// success, otherwise the reason.
std::string writeReportPage(const std::filesystem::path& file, const Report& report,
                            const std::filesystem::path& programFolder);

} // namespace fendrel
