// Loading an output file into the report, by position, in the order the window fills it.
#include "Report.h"

#include "core/common/Encoding.h"
#include "core/common/TextFile.h"

namespace fendrel {

namespace {

// The first eight lines come before the results table.
constexpr int kLinesBeforeTable = 8;

// Line and field reads from one position that refuse to read past the end, as reading a file
// does.
class ReportReader {
public:
    explicit ReportReader(std::string_view bytes) : m_reader(std::string(bytes)) {}

    bool line(std::string& out) {
        if (m_reader.atEnd())
            return false;
        out = cp1252ToUtf8(m_reader.readLine());
        return true;
    }
    bool field(std::string& out) {
        if (m_reader.atEnd())
            return false;
        out = cp1252ToUtf8(m_reader.readField());
        return true;
    }

private:
    FieldReader m_reader;
};

ReportLoad endsEarly(std::string reason) {
    return {false, std::move(reason)};
}

// Pass 1: the number of result rows, heading included: the lines from line 9 up to the first
// line that contains "Maximum", or to the end of the file. Negative when the file has fewer
// than eight lines.
long resultRowCount(std::string_view bytes) {
    ReportReader reader(bytes);
    std::string line;
    long counted = 0;
    for (int i = 0; i < kLinesBeforeTable; ++i) {
        if (!reader.line(line))
            return -1;
        ++counted;
    }
    while (reader.line(line)) {
        ++counted;
        if (line.find("Maximum") != std::string::npos)
            break;
        // Past the largest table the grid can hold the count can only be refused; stop here
        // rather than count through a file of any length.
        if (counted - 9 > static_cast<long>(kMaxResultRows))
            break;
    }
    return counted - 9;
}

} // namespace

Report emptyReport() {
    Report report;
    report.headers.fill("This is header area");
    report.results.resize(12);
    return report;
}

ReportLoad loadReport(std::string_view bytes, Report& report) {
    const long count = resultRowCount(bytes);
    if (count < 0)
        return endsEarly("the file has fewer than 8 lines");
    if (count < 1)
        return endsEarly("no results table: the first line containing \"Maximum\" is line " +
                         std::to_string(count + 9));
    if (count > static_cast<long>(kMaxResultRows))
        return endsEarly("the results table has more than 255 rows (or no line contains "
                         "\"Maximum\")");
    const auto rows = static_cast<std::size_t>(count);

    ReportReader reader(bytes);
    const auto pastEnd = [](const char* where) {
        return endsEarly(std::string("the file ends in ") + where);
    };

    if (!reader.line(report.title))
        return pastEnd("the title");
    for (auto& header : report.headers)
        if (!reader.line(header))
            return pastEnd("the header lines");

    // Headings and values stand on two lines each: the first five columns, then the next five.
    report.parametersVisible = false;
    for (std::size_t half = 0; half < 2; ++half)
        for (std::size_t row = 0; row < 2; ++row)
            for (std::size_t c = 0; c < 5; ++c)
                if (!reader.field(report.parameters[row][half * 5 + c]))
                    return pastEnd("the condition parameters");
    report.parametersVisible = true;

    report.resultsVisible = false;
    report.results.resize(rows);
    for (auto& row : report.results)
        for (std::size_t c = 0; c < 5; ++c)
            if (!reader.field(row[c]))
                return pastEnd("the results table");

    for (std::size_t i = 0; i + 1 < kFooterLines; ++i)
        if (!reader.line(report.footers[i]))
            return pastEnd("the summary lines");

    std::string skipped;
    if (!reader.line(skipped))
        return pastEnd("the penetration table");
    for (auto& row : report.results) {
        std::string range, velocity;
        if (!reader.field(range) || !reader.field(velocity) || !reader.field(row[5]) ||
            !reader.field(row[6]))
            return pastEnd("the penetration table");
    }

    report.resultsVisible = true;
    if (!reader.line(report.footers[kFooterLines - 1]))
        return pastEnd("the last summary line");
    report.labelsVisible = true;
    return {true, {}};
}

ReportLoad loadReportFile(const std::filesystem::path& path, Report& report) {
    // Even 255 rows of long lines stay far below this; a larger file is not an output file,
    // and reading it whole could exhaust memory.
    constexpr std::uintmax_t kLargestReport = 64u << 20;
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (!ec && size > kLargestReport)
        return endsEarly("the file is too large for a report");
    const auto bytes = readFileBytes(path);
    if (!bytes)
        return endsEarly("the file cannot be read");
    return loadReport(*bytes, report);
}

} // namespace fendrel
