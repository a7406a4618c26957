// The data of the trajectory chart: the trajectory tables of one or more ballistics output files,
// read by position, with the flat line of sight in front of them. Heights are kept in tenths of
// an inch, as whole numbers, the way the chart plots them.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fendrel {

// One row of a series: the range in whole range units and the height in tenths of an inch.
struct ChartPoint {
    std::int16_t range = 0;
    std::int16_t height = 0;
    bool operator==(const ChartPoint&) const = default;
};

// The trajectory table of one output file as the chart reads it.
struct TrajectoryTable {
    std::string title;            // line 1 (the round's description), UTF-8
    bool meters = false;          // the range heading on line 9 holds "(M)"
    std::vector<ChartPoint> rows; // trajectory rows 1..n at indexes 0..n-1
};

// A table, or why the file cannot be charted: a clause that follows "cannot be charted: "
// ("it holds no trajectory rows"), windows-1252 bytes.
struct TableRead {
    std::optional<TrajectoryTable> table;
    std::string refusal;
};

// The rows of an output file run from line 10 to the line before the first line that contains
// "Maximum"; a file without such a line has rows to its end. Of each row the first two fields
// are used: the range, rounded to a whole number, and the height in inches, times ten, rounded
// halves to even. A value beyond 16 bits refuses the whole file.
TableRead readTrajectoryTable(std::string_view bytes);
TableRead loadTrajectoryTable(const std::filesystem::path& path);

class ChartData {
public:
    // The chart holds the line of sight and at most 254 files.
    static constexpr int kMaxSeries = 255;
    static constexpr int kLineOfSight = 1;
    static constexpr int kFirstFile = 2;

    // A new chart over one file: series 1 the line of sight, series 2 the file. Its rows fix
    // the chart's row count and its range heading the unit word.
    void start(const TrajectoryTable& table, const std::string& path);
    // The file as the next series: its first rows up to the chart's row count, zero beyond
    // its own rows. False (nothing added) when the chart is empty or full.
    bool add(const TrajectoryTable& table, const std::string& path);
    void clear();

    // Series count including the line of sight; 0 before any file.
    int seriesCount() const { return static_cast<int>(m_series.size()); }
    // Rows per series (R).
    int rows() const { return m_rows; }
    bool full() const { return seriesCount() >= kMaxSeries; }

    // Series 1..seriesCount, rows 1..rows(); outside them a zero point.
    ChartPoint point(int series, int row) const;
    // "Line of Sight" for series 1, else line 1 of the series' file.
    std::string title(int series) const;
    // The file of a series; empty for the line of sight.
    std::string path(int series) const;
    // "meters" or "yards", from the file that started the chart.
    const std::string& unitWord() const { return m_unitWord; }

    // The category labels: the ranges of the file that started the chart, each with the
    // leading blank of a printed number (" 100").
    std::vector<std::string> rowLabels() const;

    // The status line for a selected point:
    // "Range =  100  yards Trajectory = -1.6 inches." A point of the line of sight reads the
    // range of the file that started the chart.
    std::string pointText(int series, int row) const;

private:
    struct Series {
        std::string title;
        std::string path;
        std::vector<ChartPoint> points; // rows 1..R at indexes 0..R-1
    };
    std::vector<Series> m_series; // series 1..n at indexes 0..n-1
    int m_rows = 0;
    std::string m_unitWord;
};

} // namespace fendrel
