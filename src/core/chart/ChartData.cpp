// Reading the trajectory tables of output files for the chart, and the series it plots.
#include "ChartData.h"

#include "core/common/Encoding.h"

#include "core/common/Numbers.h"
#include "core/common/Strings.h"
#include "core/common/TextFile.h"

#include <algorithm>
#include <limits>

namespace fendrel {

namespace {

// The header lines before the first trajectory row; line 9 is the range heading.
constexpr int kHeaderLines = 9;
constexpr int kMaxChartRows = std::numeric_limits<std::int16_t>::max();

TableRead refuse(std::string why) {
    TableRead r;
    r.refusal = std::move(why);
    return r;
}

} // namespace

TableRead readTrajectoryTable(std::string_view bytes) {
    FieldReader reader{std::string(bytes)};
    TrajectoryTable table;

    for (int line = 1; line <= kHeaderLines && !reader.atEnd(); ++line) {
        const std::string text = reader.readLine();
        if (line == 1)
            table.title = cp1252ToUtf8(text);
        else if (line == kHeaderLines)
            table.meters = text.find("(M)") != std::string::npos;
    }

    int line = kHeaderLines;
    while (!reader.atEnd()) {
        const std::string text = reader.readLine();
        ++line;
        if (text.find("Maximum") != std::string::npos)
            break;
        if (static_cast<int>(table.rows.size()) >= kMaxChartRows)
            return refuse("it holds more than " + std::to_string(kMaxChartRows) + " trajectory rows");

        FieldReader fields(text);
        const std::string rangeField = fields.readField();
        const std::string heightField = fields.readField();
        ChartPoint point;
        try {
            point.range = toInt16(leadingNumber(rangeField));
        } catch (const OverflowError&) {
            return refuse("the range on line " + std::to_string(line) + " (" + trimmed(rangeField) +
                          ") lies outside what the chart holds (-32768 to 32767)");
        }
        try {
            point.height = toInt16(leadingNumber(heightField) * 10);
        } catch (const OverflowError&) {
            return refuse("the height on line " + std::to_string(line) + " (" +
                          trimmed(heightField) +
                          " inches) lies outside what the chart holds (-3276.8 to 3276.7 inches)");
        }
        table.rows.push_back(point);
    }

    if (table.rows.empty())
        return refuse("it holds no trajectory rows");
    TableRead r;
    r.table = std::move(table);
    return r;
}

TableRead loadTrajectoryTable(const std::filesystem::path& path) {
    if (path.empty())
        return refuse("no file was named");
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec))
        return refuse("it is a folder");
    const auto bytes = readFileBytes(path);
    if (!bytes)
        return refuse("it could not be read");
    return readTrajectoryTable(*bytes);
}

void ChartData::start(const TrajectoryTable& table, const std::string& path) {
    m_rows = static_cast<int>(table.rows.size());
    m_unitWord = table.meters ? "meters" : "yards";
    m_series.clear();
    m_series.push_back({"", "", std::vector<ChartPoint>(static_cast<size_t>(m_rows))});
    m_series.push_back({table.title, path, table.rows});
}

bool ChartData::add(const TrajectoryTable& table, const std::string& path) {
    if (m_series.empty() || full())
        return false;
    Series series{table.title, path, table.rows};
    series.points.resize(static_cast<size_t>(m_rows)); // cut, or zero-filled
    m_series.push_back(std::move(series));
    return true;
}

void ChartData::clear() {
    m_series.clear();
    m_rows = 0;
    m_unitWord.clear();
}

ChartPoint ChartData::point(int series, int row) const {
    if (series < 1 || series > seriesCount() || row < 1 || row > m_rows)
        return {};
    return m_series[static_cast<size_t>(series - 1)].points[static_cast<size_t>(row - 1)];
}

std::string ChartData::title(int series) const {
    if (series == kLineOfSight)
        return "Line of Sight";
    if (series < 1 || series > seriesCount())
        return {};
    return m_series[static_cast<size_t>(series - 1)].title;
}

std::string ChartData::path(int series) const {
    if (series < 1 || series > seriesCount())
        return {};
    return m_series[static_cast<size_t>(series - 1)].path;
}

std::vector<std::string> ChartData::rowLabels() const {
    std::vector<std::string> labels;
    for (int r = 1; r <= m_rows; ++r)
        labels.push_back(printedNumber(point(kFirstFile, r).range));
    return labels;
}

std::string ChartData::pointText(int series, int row) const {
    const ChartPoint p = point(series, row);
    // The line of sight holds no ranges of its own: it lies under the first file's.
    const std::int16_t range = series == kLineOfSight ? point(kFirstFile, row).range : p.range;
    return "Range = " + printedNumber(range) + "  " + m_unitWord +
           " Trajectory = " + generalNumber(p.height / 10.0) + " inches.";
}

} // namespace fendrel
