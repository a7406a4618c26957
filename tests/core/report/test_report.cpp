// Loading output files into the report, and the exported page.
#include "core/report/Report.h"
#include "core/report/ReportPage.h"
#include "support/TestFolder.h"
#include "core/common/TextFile.h"

#include <gtest/gtest.h>

using namespace fendrel;
using fendrel::test::fixture;
using fendrel::test::TestFolder;

namespace {
std::string report21() { return *readFileBytes(fixture("report/report21.csv")); }

std::string joinLines(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& l : lines)
        out += l + "\r\n";
    return out;
}

// A small output file: `rows` trajectory rows after the heading, the penetration table to match.
std::string smallReport(int rows) {
    std::vector<std::string> l = {
        "TEST LOAD", "Recoil for this round is 9.50 ft. lbs.", "ARMY STANDARD METRO",
        "DRAG FUNCTION: DragG7.txt", "Muzzle Velocity, BC, Height, Angle, Density",
        "2800,.3,1.5,5,.0751265", "Temp,Wind,Cross,Zero,Height", "59,0,10,100,0",
        "Range(M),Height,Deflection(in.),Velocity(fps),Time of travel(sec.)"};
    for (int i = 0; i < rows; ++i)
        l.push_back(" " + std::to_string(i * 100) + ",-1.5,0.0,2800,0.000");
    l.insert(l.end(), {"Maximum range : 15680.00 M", "Retardation : 1", "Pressure : 2",
                       "BC : 0.300", "OGW: 500 lbs.", "SD: 0.250", "SD: 0.251", "FM : 1.50",
                       "W1 Penetration Index Table", "RANGE (M),VELOCITY,W1,FP"});
    for (int i = 0; i < rows; ++i)
        l.push_back(" " + std::to_string(i * 100) + ", 2800,4.000,2000.00" + std::to_string(i));
    l.push_back("Ballistic Efficiency Index = 1.00");
    return joinLines(l);
}

Report loaded(const std::string& bytes) {
    Report r = emptyReport();
    EXPECT_TRUE(loadReport(bytes, r).complete);
    return r;
}
} // namespace

TEST(ReportLoad, RowsEndAtTheFirstMaximumRefusalsChangeNothing) {
    // A second "Maximum" further down does not count; the last line may lack its line end.
    std::string bytes = smallReport(3);
    bytes.replace(bytes.find("Retardation"), 11, "Maximum retardation");
    bytes.resize(bytes.size() - 2);
    Report r = loaded(bytes);
    EXPECT_EQ(r.results.size(), 4u);
    EXPECT_EQ(r.results[3][0], "200");
    EXPECT_EQ(r.results[3][6], "2000.002");
    EXPECT_EQ(r.footers[8], "Ballistic Efficiency Index = 1.00");

    // Refused files change nothing: 255 rows fit the grid, 256 do not.
    EXPECT_EQ(loaded(smallReport(254)).results.size(), 255u);
    const Report before = loaded(smallReport(2));
    auto unchanged = [&](const std::string& bytes) {
        Report kept = before;
        const ReportLoad load = loadReport(bytes, kept);
        EXPECT_FALSE(load.complete);
        EXPECT_EQ(kept.title, before.title);
        EXPECT_EQ(kept.parameters, before.parameters);
        EXPECT_EQ(kept.results, before.results);
        EXPECT_EQ(kept.footers, before.footers);
        EXPECT_TRUE(kept.labelsVisible && kept.parametersVisible && kept.resultsVisible);
        return load.reason;
    };
    EXPECT_NE(unchanged(smallReport(255)).find("255"), std::string::npos);
    unchanged("");
    unchanged("ONE\r\nTWO\r\nTHREE\r\n");                        // fewer than 8 lines
    unchanged(joinLines({"1", "2", "3", "4", "5", "6", "7", "8", // "Maximum" on line 9
                         "Maximum range", "x"}));
    std::vector<std::string> long_(300, " 1,2,3,4,5"); // no "Maximum": 291 rows
    unchanged(joinLines(long_));

    r = before;
    TestFolder folder(false);
    EXPECT_FALSE(loadReportFile(folder / "missing.csv", r).complete);
    EXPECT_FALSE(loadReportFile(folder.path(), r).complete); // a folder is no file
    EXPECT_EQ(r.results, before.results);
}

TEST(ReportLoad, AFileThatEndsEarlyKeepsWhatWasStored) {
    const Report before = loaded(report21());
    const std::vector<std::string> lines = test::crlfLines(report21());

    // Cut inside the penetration table: the results grid has its new rows, but stays hidden;
    // the last summary line and the labels' visibility stay as they were.
    Report r = before;
    r.footers[8] = "earlier";
    r.results[6][5] = "earlier";
    r.results[7][5] = "earlier";
    std::vector<std::string> cut(lines.begin(), lines.begin() + 45);
    cut[0] = "ANOTHER LOAD";
    cut[12] = " 150,9.9,0.0,2000,0.200";
    EXPECT_FALSE(loadReport(joinLines(cut), r).complete);
    EXPECT_EQ(r.title, "ANOTHER LOAD");
    EXPECT_EQ(r.results[4][1], "9.9");
    EXPECT_EQ(r.results[6][5], before.results[6][5]); // line 45, the last one there
    EXPECT_EQ(r.results[7][5], "earlier");            // not reached
    EXPECT_EQ(r.footers[7], before.footers[7]);
    EXPECT_EQ(r.footers[8], "earlier");
    EXPECT_TRUE(r.parametersVisible && !r.resultsVisible);
    EXPECT_TRUE(r.labelsVisible); // shown by the earlier load, never hidden by a later one

    // Without any "Maximum" the rows run to the end of the file; the summary lines are missing.
    Report fresh = emptyReport();
    std::vector<std::string> head(lines.begin(), lines.begin() + 13);
    EXPECT_FALSE(loadReport(joinLines(head), fresh).complete);
    EXPECT_EQ(fresh.results.size(), 4u);
    EXPECT_EQ(fresh.results[3][0], "100");
    EXPECT_TRUE(fresh.parametersVisible && !fresh.resultsVisible && !fresh.labelsVisible);
    const std::string full = report21();
    const size_t lastLine = full.rfind("\r\n", full.size() - 3) + 2;
    for (size_t n = 0; n < full.size(); ++n) {
        Report r = emptyReport();
        const bool complete = loadReport(std::string_view(full).substr(0, n), r).complete;
        // Complete as soon as the last summary line has begun.
        EXPECT_EQ(complete, n > lastLine) << "cut at " << n;
        EXPECT_LE(r.results.size(), 21u);
    }
}

// The pinned page was checked line by line against the layout of the export: the missing blanks
// before CONTENT= and SIZE=5, the order of <FONT> and <TR> in the two tables, the linked W1 and
// FP headings, the summary lines split around the "Terminal Ballistics" caption. It holds every
// value the load read: title, headers, parameters, the 21 rows with their penetration columns.
TEST(ReportPage, MatchesThePinnedPageWithLinksIntoTheProgramFolder) {
    const Report r = loaded(report21());
    EXPECT_EQ(r.results.size(), 21u); // "Maximum" stands on line 30
    EXPECT_TRUE(r.labelsVisible && r.parametersVisible && r.resultsVisible);
    const std::string at = "/opt/fen-drel\\";
    EXPECT_EQ(reportPage(r, {at + "html_bak.gif", at + "ICAO-StdMetro.htm", at + "mach-drag.htm",
                             at + "w1_index.htm", at + "fp_energy.htm"}),
              *readFileBytes(fixture("report/report21.htm")));
    // The links point into the program folder, at the names as they exist.
    TestFolder folder(false);
    folder.write("HTML_BAK.GIF", "GIF89a");
    folder.write("W1_Index.HTM", "<HTML></HTML>");
    const std::string a = folder.path().string();
    for (const std::string& given : {a, a + "/"}) {
        const ReportPageLinks links = reportPageLinks(given);
        EXPECT_EQ(links.background, a + "\\HTML_BAK.GIF"); // the name as it exists
        EXPECT_EQ(links.penetration, a + "\\W1_Index.HTM");
        EXPECT_EQ(links.atmosphere, a + "\\ICAO-StdMetro.htm"); // missing: as written
        EXPECT_EQ(links.drag, a + "\\mach-drag.htm");
        EXPECT_EQ(links.energy, a + "\\fp_energy.htm");
    }
}

