// fendrel-calc report: an output file as the report window reads it, written as the HTML page
// that the window's File > "Save As html" writes.
#include "Commands.h"

#include "core/report/Report.h"
#include "core/report/ReportPage.h"

#include <cstdio>
#include <filesystem>

namespace fendrel::cli {
namespace {

constexpr const char* kName = "report";

int report(const std::vector<std::string>& args) {
    Options o;
    if (!parseOptions(kName, args, {"html", "program-folder"}, o))
        return 2;
    if (!o.has("html") || o.get("html").empty()) {
        std::fprintf(stderr, "fendrel-calc report: --html OUT is required\n");
        return 2;
    }
    if (o.positional.size() != 1) {
        std::fprintf(stderr, "fendrel-calc report: give exactly one output file to read\n");
        return 2;
    }
    const std::string input = o.positional.front();
    const std::string out = o.get("html");

    std::error_code ec;
    if (!std::filesystem::is_regular_file(input, ec)) {
        std::fprintf(stderr, "fendrel-calc report: %s cannot be read\n", input.c_str());
        return 1;
    }
    Report r = emptyReport();
    const ReportLoad load = loadReportFile(input, r);
    if (!load.complete) {
        std::fprintf(stderr, "fendrel-calc report: %s is not a complete report: %s\n",
                     input.c_str(), load.reason.c_str());
        return 1;
    }
    if (const std::string failure = writeReportPage(out, r, programFolder(o)); !failure.empty()) {
        std::fprintf(stderr, "fendrel-calc report: %s could not be written: %s\n", out.c_str(),
                     failure.c_str());
        return 1;
    }
    return 0;
}

Registrar registrar(kName, "report --html OUT INPUT [--program-folder DIR]", report);

} // namespace
} // namespace fendrel::cli
