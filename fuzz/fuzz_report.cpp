// Loading arbitrary bytes as a ballistics output file into the report, and a second load over
// the first as the window does on Refresh; the page export of whatever was loaded.
#include "FuzzSupport.h"

#include "core/report/Report.h"
#include "core/report/ReportPage.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace {

void checkShape(const fendrel::Report& report) {
    FUZZ_CHECK(report.results.size() <= fendrel::kMaxResultRows);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    fendrel::Report report = fendrel::emptyReport();
    const auto first = fendrel::loadReport(bytes, report);
    checkShape(report);
    if (!first.complete)
        FUZZ_CHECK(!first.reason.empty());

    // The window loads a file; it must give what the bytes give.
    fendrel::Report fromFile = fendrel::emptyReport();
    const auto viaFile =
        fendrel::loadReportFile(fuzz::writeScratch("report.csv", bytes), fromFile);
    FUZZ_CHECK(viaFile.complete == first.complete && viaFile.reason == first.reason);
    FUZZ_CHECK(fromFile.results == report.results && fromFile.footers == report.footers);

    // Loading the same bytes again over the filled report gives the same report.
    fendrel::Report reloaded = report;
    const auto second = fendrel::loadReport(bytes, reloaded);
    checkShape(reloaded);
    FUZZ_CHECK(second.complete == first.complete);
    if (first.complete) {
        FUZZ_CHECK(reloaded.title == report.title);
        FUZZ_CHECK(reloaded.headers == report.headers);
        FUZZ_CHECK(reloaded.parameters == report.parameters);
        FUZZ_CHECK(reloaded.results == report.results);
        FUZZ_CHECK(reloaded.footers == report.footers);
    }

    const fendrel::ReportPageLinks links{"C:\\F\\html_bak.gif", "C:\\F\\ICAO-StdMetro.htm",
                                         "C:\\F\\mach-drag.htm", "C:\\F\\w1_index.htm",
                                         "C:\\F\\fp_energy.htm"};
    const std::string page = fendrel::reportPage(report, links);
    FUZZ_CHECK(!page.empty());
    return 0;
}
