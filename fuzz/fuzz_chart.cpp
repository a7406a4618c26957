// Charting arbitrary bytes as a ballistics output file: a table or a refusal, never both, and a
// chart over it that answers for every series and row.
#include "FuzzSupport.h"

#include "core/chart/ChartData.h"

#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const fendrel::TableRead read = fendrel::readTrajectoryTable(bytes);
    FUZZ_CHECK(read.table.has_value() == read.refusal.empty());

    // The window reads a file; it must give what the bytes give.
    const auto loaded = fendrel::loadTrajectoryTable(fuzz::writeScratch("chart.csv", bytes));
    FUZZ_CHECK(loaded.refusal == read.refusal);
    FUZZ_CHECK(loaded.table.has_value() == read.table.has_value());
    if (loaded.table) {
        FUZZ_CHECK(loaded.table->rows == read.table->rows);
        FUZZ_CHECK(loaded.table->title == read.table->title);
    }
    if (!read.table)
        return 0;
    const auto& table = *read.table;
    FUZZ_CHECK(!table.rows.empty());
    FUZZ_CHECK(table.rows.size() <= 32767);

    fendrel::ChartData chart;
    chart.start(table, "first.csv");
    FUZZ_CHECK(chart.seriesCount() == 2);
    FUZZ_CHECK(chart.rows() == static_cast<int>(table.rows.size()));
    FUZZ_CHECK(chart.unitWord() == (table.meters ? "meters" : "yards"));
    FUZZ_CHECK(chart.title(fendrel::ChartData::kFirstFile) == table.title);
    FUZZ_CHECK(chart.rowLabels().size() == table.rows.size());

    // The same file again, then a shorter one cut from it: rows beyond its own read as zero.
    fendrel::TrajectoryTable shorter = table;
    shorter.rows.resize(table.rows.size() / 2);
    FUZZ_CHECK(chart.add(table, "second.csv"));
    FUZZ_CHECK(chart.add(shorter, "third.csv"));
    FUZZ_CHECK(chart.seriesCount() == 4);

    const int rows = chart.rows();
    // Rows 0 and R+1 lie outside the chart; a few rows inside are enough, the table can be long.
    for (int row : {0, 1, rows / 2, rows, rows + 1}) {
        for (int series = 0; series <= chart.seriesCount() + 1; ++series) {
            const auto point = chart.point(series, row);
            const bool inChart = series >= 1 && series <= chart.seriesCount();
            if (row >= 1 && row <= rows && inChart) {
                const auto& own = table.rows[static_cast<std::size_t>(row - 1)];
                if (series == fendrel::ChartData::kLineOfSight)
                    FUZZ_CHECK(point == fendrel::ChartPoint{});
                if (series == 2 || series == 3)
                    FUZZ_CHECK(point == own);
                if (series == 4) {
                    const bool inShorter = static_cast<std::size_t>(row) <= shorter.rows.size();
                    FUZZ_CHECK(point == (inShorter ? own : fendrel::ChartPoint{}));
                }
                FUZZ_CHECK(!chart.pointText(series, row).empty());
            } else {
                FUZZ_CHECK(point == fendrel::ChartPoint{});
            }
        }
    }
    chart.clear();
    FUZZ_CHECK(chart.seriesCount() == 0);
    FUZZ_CHECK(!chart.add(table, "after-clear.csv"));
    return 0;
}
