// Reading output files for the chart and the series it keeps.
#include "core/chart/ChartData.h"
#include "support/TestFolder.h"

#include <gtest/gtest.h>

using namespace fendrel;

namespace {
// An output file laid out as the calculation run writes it: nine header lines, the rows, and
// the summary that opens with "Maximum".
std::string outputFile(const std::string& heading, const std::vector<std::string>& rows,
                       const std::string& title = "TEST LOAD", bool summary = true) {
    std::string text = title +
                       "\r\nRecoil for this round is 15.53 ft. lbs.\r\n"
                       "ICAO STANDARD ATMOSPHERE\r\nDRAG FUNCTION: DragG1.txt\r\n"
                       "Muzzle Velocity, BC, Height of sights, Angle of departure\r\n"
                       "2650,.462,1.5,5.957,.076474\r\nTemp,Winds,Zero\r\n59,0,0,200,0\r\n" +
                       heading + "\r\n";
    for (const auto& row : rows)
        text += row + ",0.0,2650,0.000\r\n";
    if (summary)
        text +=
            "Maximum range of projectile in a vaccuum (space) : 14045.00 Y\r\n"
            "Retardation of projectile in air : 1054.3439 fs/sec\r\n"
            "W1 Penetration Index Table\r\nRANGE (Y),VELOCITY,W1,FP\r\n 0, 2650,4.281,2624.317\r\n";
    return text;
}

const std::string kYards = "Range(Y),Height,Deflection(in.),Velocity(fps),Time of travel(sec.)";
const std::string kMeters = "Range(M),Height,Deflection(in.),Velocity(fps),Time of travel(sec.)";

TrajectoryTable table(const std::string& bytes) {
    TableRead read = readTrajectoryTable(bytes);
    EXPECT_TRUE(read.table) << read.refusal;
    return read.table.value_or(TrajectoryTable{});
}

std::string refusal(const std::string& bytes) {
    TableRead read = readTrajectoryTable(bytes);
    EXPECT_FALSE(read.table);
    return read.refusal;
}

TrajectoryTable fixture(const std::string& name) {
    TableRead read = loadTrajectoryTable(test::fixture("chart/" + name));
    EXPECT_TRUE(read.table) << read.refusal;
    return read.table.value_or(TrajectoryTable{});
}
} // namespace

TEST(TrajectoryTable, TitleUnitRowsAndRefusals) {
    const TrajectoryTable t = fixture("yards.csv");
    EXPECT_EQ(t.title, ".308 WINCHESTER: 168GR. MATCH");
    EXPECT_FALSE(t.meters);
    const std::vector<ChartPoint> expected{{0, -15},   {100, 21},   {200, -16},
                                           {300, -89}, {400, -257}, {500, -519}};
    EXPECT_EQ(t.rows, expected);
    EXPECT_TRUE(fixture("meters.csv").meters);
    // The unit comes from the range heading alone.
    EXPECT_FALSE(table(outputFile(kYards, {" 0,-1.5"}, "TEST (M) LOAD")).meters);
    EXPECT_TRUE(table(outputFile(kMeters, {" 0,-1.5"})).meters);
    // "(M)" anywhere in the heading counts; a bare M does not.
    EXPECT_TRUE(table(outputFile("Range (M) and more", {" 0,-1.5"})).meters);
    EXPECT_FALSE(table(outputFile("RANGE M", {" 0,-1.5"})).meters);

    std::string bytes = outputFile(kYards, {" 0,-1.5", " 100,2.0"});
    bytes += " 200,9.9,0.0,2000,0.300\r\nMaximum again\r\n";
    EXPECT_EQ(table(bytes).rows.size(), 2u);
    // The search is case-sensitive, and does not look at the header lines.
    const std::string lower =
        outputFile(kYards, {" 0,-1.5", "maximum,3.0", " 200,1.0"}, "MAXIMUM Maximum LOAD");
    EXPECT_EQ(table(lower).rows.size(), 3u);
    EXPECT_EQ(table(lower).rows[1], (ChartPoint{0, 30}));
    // Without a summary the rows run to the end, the last line counting without its line end.
    EXPECT_EQ(table(outputFile(kYards, {" 0,-1.5", " 100,2.0", " 200,0.0"}, "T", false)).rows,
              (std::vector<ChartPoint>{{0, -15}, {100, 20}, {200, 0}}));
    const std::string cut = outputFile(kYards, {" 0,-1.5"}, "T", false) + " 100,2.5";
    EXPECT_EQ(table(cut).rows.back(), (ChartPoint{100, 25}));
    // Heights are kept in tenths, halves to even; text that is no number is zero.
    EXPECT_EQ(table(outputFile(kYards, {" 0,-1.55", " 1,0.05", " 2,0.15", " 3,0.25", " 4,-0.0",
                                        " 150.5,1", " 151.5,1"}))
                  .rows,
              (std::vector<ChartPoint>{{0, -16}, {1, 0}, {2, 2}, {3, 2}, {4, 0}, {150, 10},
                                       {152, 10}}));
    EXPECT_EQ(table(outputFile(kYards, {"abc,xyz", " 100", ""})).rows,
              (std::vector<ChartPoint>{{0, 0}, {100, 0}, {0, 0}}));
    // Values beyond sixteen bits, files without rows and unreadable ones are refused.
    EXPECT_EQ(table(outputFile(kYards, {" 0,3276.7", " 1,-3276.8"})).rows,
              (std::vector<ChartPoint>{{0, 32767}, {1, -32768}}));
    EXPECT_EQ(refusal(outputFile(kYards, {" 0,-1.5", " 100,3276.8"})),
              "the height on line 11 (3276.8 inches) lies outside what the chart holds "
              "(-3276.8 to 3276.7 inches)");
    EXPECT_EQ(refusal(outputFile(kYards, {" 0,-3276.9"})),
              "the height on line 10 (-3276.9 inches) lies outside what the chart holds "
              "(-3276.8 to 3276.7 inches)");
    EXPECT_EQ(refusal(outputFile(kYards, {" 0,1", " 40000,1"})),
              "the range on line 11 (40000) lies outside what the chart holds (-32768 to 32767)");
    EXPECT_NE(refusal(outputFile(kYards, {" 0,1e400"})).find("height on line 10"),
              std::string::npos);
    // What a cancelled run leaves: the two interior ballistics lines.
    EXPECT_EQ(refusal("LOAD\r\nRecoil for this round is 15.53 ft. lbs.\r\n"),
              "it holds no trajectory rows");
    EXPECT_EQ(refusal(outputFile(kYards, {})), "it holds no trajectory rows");
    EXPECT_EQ(refusal(""), "it holds no trajectory rows");

    test::TestFolder folder(false);
    EXPECT_EQ(loadTrajectoryTable(folder / "missing.csv").refusal, "it could not be read");
    EXPECT_EQ(loadTrajectoryTable(folder.path()).refusal, "it is a folder");
    EXPECT_EQ(loadTrajectoryTable("").refusal, "no file was named");
}

TEST(ChartData, TheLineOfSightTheFirstFileAndFilesAddedToItsRows) {
    ChartData data;
    EXPECT_FALSE(data.add(fixture("yards.csv"), "y")); // adding needs a chart
    EXPECT_EQ(data.seriesCount(), 0);
    data.start(fixture("yards.csv"), "/data/yards.csv");
    EXPECT_EQ(data.seriesCount(), 2);
    EXPECT_EQ(data.rows(), 6);
    EXPECT_EQ(data.unitWord(), "yards");
    EXPECT_EQ(data.title(1) + "|" + data.path(1) + "|" + data.title(2) + "|" + data.path(2),
              "Line of Sight||.308 WINCHESTER: 168GR. MATCH|/data/yards.csv");
    for (int r = 1; r <= data.rows(); ++r)
        EXPECT_EQ(data.point(1, r), (ChartPoint{0, 0})) << "row " << r;
    EXPECT_EQ(data.point(2, 3), (ChartPoint{200, -16}));
    EXPECT_EQ(data.rowLabels(),
              (std::vector<std::string>{" 0", " 100", " 200", " 300", " 400", " 500"}));
    EXPECT_EQ(data.point(3, 1), (ChartPoint{})); // outside the chart: nothing, not a crash
    EXPECT_EQ(data.point(2, 7), (ChartPoint{}));
    EXPECT_EQ(data.pointText(2, 3), "Range =  200  yards Trajectory = -1.6 inches.");
    EXPECT_EQ(data.pointText(2, 1), "Range =  0  yards Trajectory = -1.5 inches.");
    EXPECT_EQ(data.pointText(1, 4), "Range =  300  yards Trajectory = 0 inches.");
    EXPECT_EQ(data.pointText(2, 6), "Range =  500  yards Trajectory = -51.9 inches.");
    // Added files are cut or zero-filled to the first file's rows, up to the limit.
    data.start(fixture("yards.csv"), "a");
    ASSERT_TRUE(data.add(fixture("short.csv"), "b"));
    ASSERT_TRUE(data.add(fixture("long.csv"), "c"));
    EXPECT_EQ(data.seriesCount(), 4);
    EXPECT_EQ(data.rows(), 6);
    EXPECT_EQ(data.point(3, 3), (ChartPoint{200, 0}));
    EXPECT_EQ(data.point(3, 2), (ChartPoint{100, 12}));
    for (int r = 4; r <= 6; ++r)
        EXPECT_EQ(data.point(3, r), (ChartPoint{0, 0})) << "row " << r;
    EXPECT_EQ(data.point(4, 6), (ChartPoint{500, -351}));
    EXPECT_EQ(data.point(4, 7), (ChartPoint{}));
    EXPECT_EQ(data.path(4), "c");
    EXPECT_EQ(data.rowLabels().back(), " 500"); // the labels stay those of the first file
    // A meters file added to a yards chart reads in yards.
    ASSERT_TRUE(data.add(fixture("meters.csv"), "m"));
    EXPECT_EQ(data.pointText(5, 2), "Range =  100  yards Trajectory = 2.4 inches.");
    while (!data.full())
        ASSERT_TRUE(data.add(fixture("short.csv"), "s"));
    EXPECT_EQ(data.seriesCount(), ChartData::kMaxSeries);
    EXPECT_FALSE(data.add(fixture("short.csv"), "s"));
    EXPECT_EQ(data.seriesCount(), ChartData::kMaxSeries);

    // A new start forgets the added files.
    data.start(fixture("meters.csv"), "d");
    EXPECT_EQ(data.seriesCount(), 2);
    EXPECT_EQ(data.rows(), 4);
    EXPECT_EQ(data.pointText(2, 2), "Range =  100  meters Trajectory = 2.4 inches.");
    data.clear();
    EXPECT_EQ(data.seriesCount(), 0);
    EXPECT_EQ(data.rows(), 0);
}

