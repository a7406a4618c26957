// The load history window's logic without the window: entries added to the round on the main
// window, corrected and deleted after a Yes, loads compared and saved, and histories it must
// leave as they are.
#include "HistoryTestData.h"
#include "ScriptedHost.h"
#include "TestFolder.h"
#include "core/history/LoadHistorySession.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace fendrel;
namespace fs = std::filesystem;

namespace {

const RoundTexts kLadder = {"308 Ladder", ".308 Winchester", "168", ".462", "", "", "42.5", "", ""};

// The entry fields as typed: the date, the charge and the shots.
EntryFields typed(const std::string& shots) { return {"2024-05-10", "", "42.5", "", "", shots}; }

} // namespace

TEST(LoadHistorySession, AddsCorrectsAndDeletesEntriesOfTheRoundOnScreen) {
    test::TestFolder folder(false);
    LoadHistorySession session(folder.path());
    test::ScriptedSessionHost host;
    session.refresh(host);
    EXPECT_EQ(session.status(),
              "No load history yet: it begins with the first string or group you add.");
    EXPECT_FALSE(fs::exists(folder / "history.sqlite"));

    EXPECT_FALSE(session.addString(std::nullopt, typed("2700"), host));
    RoundTexts unnamed = kLadder;
    unnamed.description.clear();
    EXPECT_FALSE(session.addString(unnamed, typed("2700"), host));
    EXPECT_NE(host.last().find("Give the round on the main window a description."),
              std::string::npos);
    EXPECT_FALSE(session.addString(kLadder, typed("2700, fast"), host));
    EXPECT_EQ(host.told.size(), 3u);
    EXPECT_TRUE(session.loads().empty());

    ASSERT_TRUE(session.addString(kLadder, typed("2700.5, 2710\n2695.5"), host));
    EXPECT_EQ(session.changedLoad(), "308 Ladder");
    EXPECT_EQ(session.status().rfind("1 load. ", 0), 0u);
    EXPECT_EQ(session.selectedLoads(), std::vector<std::size_t>{0});
    ASSERT_EQ(session.stringsTable().rows.size(), 1u);
    EXPECT_EQ(session.stringFields(0).charge, "42.5");

    // The group: its distance asked, prefilled from the field; Cancel adds nothing.
    EntryFields group = typed("");
    EXPECT_FALSE(session.addLastGroup(kLadder, group, std::nullopt, host));
    EXPECT_EQ(host.last().rfind("No group has been measured yet", 0), 0u);
    const LastGroup last{0.308, {{1, 1}, {1, 2}, {2, 1}}, 0.471, 1.25, 1.722, 1.3};
    EXPECT_FALSE(session.addLastGroup(kLadder, group, last, host));
    host.inputs = {"200"};
    ASSERT_TRUE(session.addLastGroup(kLadder, group, last, host));
    ASSERT_EQ(session.groupsTable().rows.size(), 1u);
    EXPECT_EQ(session.groupFields(0).distance, "200");

    // Corrections and deletions wait for a Yes.
    EntryFields corrected = session.stringFields(0);
    corrected.note = "new primer";
    EXPECT_FALSE(session.saveEntry(true, 0, corrected, host));
    EXPECT_EQ(session.stringFields(0).note, "");
    host.answers = {true};
    ASSERT_TRUE(session.saveEntry(true, 0, corrected, host));
    EXPECT_EQ(session.stringFields(0).note, "new primer");
    EXPECT_EQ(session.stringFields(0).shots, "2700.5, 2710, 2695.5");

    host.answers = {false, true, true};
    EXPECT_FALSE(session.deleteEntry(false, 0, host));
    ASSERT_TRUE(session.deleteEntry(false, 0, host));
    EXPECT_NE(host.asked.back().find("at 200 yd"), std::string::npos) << host.asked.back();
    ASSERT_TRUE(session.deleteEntry(true, 0, host));
    EXPECT_TRUE(session.loads().empty()); // the load left with its last entry
}

TEST(LoadHistorySession, ComparesLoadsOfOneBulletAndSavesThemButNotOverTheProgramsFiles) {
    test::TestFolder folder(false);
    {
        auto db = HistoryDatabase::open(folder.path()).database;
        ASSERT_TRUE(db);
        db->addString("Ladder 42", test::velocityString("2024-05-01", {2600, 2610}, 42));
        db->addString("Ladder 43", test::velocityString("2024-05-01", {2650, 2660}, 43));
        auto other = test::velocityString("2024-05-01", {3100}, 25);
        other.round.caliber = ".223 Remington";
        db->addString("Varmint", other);
    }
    LoadHistorySession session(folder.path());
    test::ScriptedSessionHost host;
    session.refresh(host);
    ASSERT_EQ(session.loads().size(), 3u);
    session.selectLoads({0, 1}, host);
    ASSERT_TRUE(session.comparison());
    const ComparisonPlot plot = session.comparisonPlot();
    EXPECT_EQ(plot.slope, "50.0 ft/s per grain (19.6\u2013" "80.4)");
    EXPECT_EQ(plot.velocity.bars.size(), 2u);
    EXPECT_TRUE(plot.velocity.points.size() == 2 && plot.line.size() == 2);
    EXPECT_TRUE(plot.group.points.empty());
    // Compare: two strings, else two loads; a lone load is told what to select.
    session.compare({0, 1}, {}, host);
    EXPECT_EQ(host.titles.back(), "Compare");
    EXPECT_NE(host.last().find("A: \"Ladder 42\" of 2024-05-01, 2 shots: mean 2605.0 ft/s"),
              std::string::npos)
        << host.last();
    EXPECT_NE(host.last().find("B is 50.0 ft/s faster than A, and 2 and 2 shots show the "
                               "difference (p = 0.019). A and B have the same SD."),
              std::string::npos)
        << host.last();
    session.compare({}, {}, host);
    EXPECT_EQ(host.last().find("Velocity, all the shots of each load's strings:"), 68u);
    EXPECT_NE(host.last().find("To compare groups, select two"), std::string::npos);
    session.selectLoads({2}, host);
    session.compare({0}, {}, host);
    EXPECT_EQ(host.last().rfind("Select two strings, two groups, or two loads", 0), 0u);

    session.selectLoads({1, 2}, host);
    host.told.clear();
    EXPECT_FALSE(session.comparison());
    EXPECT_NE(session.comparisonPlot().caption.find("share one caliber and bullet"),
              std::string::npos);
    EXPECT_TRUE(session.comparisonPlot().line.empty());

    // Selected loads, or every load when none is selected.
    session.selectLoads({0, 1}, host);
    host.files = {folder / "ladder"};
    session.saveCsv(host);
    const std::string csv = folder.read("ladder.csv");
    EXPECT_NE(csv.find("Ladder 43,String,2024-05-01,.308 Winchester,168,0.462,43,,2,2655.0"),
              std::string::npos);
    EXPECT_EQ(csv.find("Varmint"), std::string::npos);
    session.selectLoads({}, host);
    EXPECT_EQ(session.chosenLoads(host).size(), 3u);
    EXPECT_NE(session.reportHtml(session.chosenLoads(host), false, 600).find("Varmint"),
              std::string::npos);

    folder.write("rounds.dtb", "\"kept\"\r\n");
    host.files = {folder / "Rounds.DTB", folder / "history.sqlite"}; // case is ignored
    session.saveCsv(host);
    EXPECT_FALSE(session.choosePdf(host));
    ASSERT_EQ(host.told.size(), 2u);
    for (const std::string& told : host.told)
        EXPECT_NE(told.find("program's own files"), std::string::npos) << told;
    EXPECT_EQ(folder.read("rounds.dtb"), "\"kept\"\r\n");
    EXPECT_FALSE(fs::exists(folder / "Rounds.DTB"));
}

TEST(LoadHistorySession, ADamagedHistoryIsReadButRefusedForAChangeAndNeverWritten) {
    test::TestFolder folder(false);
    {
        auto db = HistoryDatabase::open(folder.path()).database;
        for (int i = 0; i < 40; ++i)
            db->addString("Ladder " + std::to_string(i),
                          test::velocityString("2024-05-01", std::vector(50, 2600.5), 42));
    }
    // Garbage in the first leaf of the shots, which adding a string does not reach: only the
    // check before the first change finds it.
    sqlite3* db = nullptr;
    sqlite3_open((folder / "history.sqlite").c_str(), &db);
    sqlite3_stmt* page = nullptr;
    sqlite3_prepare_v2(db, "SELECT pageno FROM dbstat WHERE name = 'string_shots' AND "
                           "pagetype = 'leaf' ORDER BY path LIMIT 1", -1, &page, nullptr);
    ASSERT_EQ(sqlite3_step(page), SQLITE_ROW);
    const size_t at = (sqlite3_column_int(page, 0) - 1) * size_t{4096};
    sqlite3_finalize(page);
    sqlite3_close(db);
    std::string bytes = folder.read("history.sqlite");
    bytes.replace(at, 4096, std::string(4096, '\x5A'));
    folder.write("history.sqlite", bytes);
    {
        LoadHistorySession session(folder.path());
        test::ScriptedSessionHost host;
        session.refresh(host);
        EXPECT_EQ(session.loads().size(), 40u);
        EXPECT_TRUE(session.usable());
        EXPECT_FALSE(session.addString(kLadder, typed("2700"), host));
        ASSERT_EQ(host.told.size(), 1u);
        EXPECT_NE(host.last().find("damaged"), std::string::npos) << host.last();
        EXPECT_FALSE(session.usable());
        EXPECT_FALSE(session.addString(kLadder, typed("2700"), host));
        EXPECT_EQ(host.told.size(), 1u); // told once
    }
    EXPECT_EQ(folder.read("history.sqlite"), bytes);
}

TEST(LoadHistorySession, ImportsTheTickedSeriesOfAnExportIntoTheLoadChosenAndNoneTwice) {
    test::TestFolder folder(false);
    LoadHistorySession session(folder.path());
    test::ScriptedSessionHost host;
    session.refresh(host);
    const fs::path log = test::fixture("history/magnetospeed-log.csv");
    auto plan = session.readImport(log, kLadder, typed(""), host);
    ASSERT_TRUE(plan) << host.last();
    ASSERT_TRUE(plan->choose);
    const std::size_t count = plan->previews.size();
    ASSERT_GE(count, 2u);
    EXPECT_EQ(plan->load, "308 Ladder");
    EXPECT_EQ(plan->loads, std::vector<std::string>{"308 Ladder"});
    EXPECT_EQ(plan->table.rows[0][0], "Series 1");
    EXPECT_EQ(plan->table.rows[0][3], "2807.3");
    EXPECT_EQ(plan->ticked, std::vector<bool>(count, true));

    // Nothing ticked, or no load named: nothing is stored.
    EXPECT_FALSE(session.importSeries(*plan, std::vector<bool>(count, false), "308 Ladder", host));
    EXPECT_FALSE(session.importSeries(*plan, plan->ticked, "  ", host));
    EXPECT_FALSE(fs::exists(folder / "history.sqlite"));

    std::vector<bool> first(count, false);
    first[0] = true;
    ASSERT_TRUE(session.importSeries(*plan, first, "Ladder by charge", host));
    EXPECT_EQ(session.changedLoad(), "Ladder by charge");
    ASSERT_EQ(session.stringsTable().rows.size(), 1u);
    EXPECT_EQ(session.stringFields(0).charge, "42.5"); // a new load: the round's values
    EXPECT_EQ(session.stringFields(0).date, "2024-05-10");

    // Read again, the series stored is offered as a duplicate and never stored twice.
    plan = session.readImport(log, kLadder, typed(""), host);
    ASSERT_TRUE(plan);
    EXPECT_TRUE(plan->duplicate[0]);
    EXPECT_FALSE(plan->ticked[0]);
    EXPECT_EQ(plan->table.rows[0].back(), "Already in the load \"Ladder by charge\"");
    EXPECT_EQ(plan->loads, (std::vector<std::string>{"308 Ladder", "Ladder by charge"}));
    host.told.clear();
    ASSERT_TRUE(session.importSeries(*plan, std::vector<bool>(count, true), "308 Ladder", host));
    ASSERT_EQ(host.told.size(), 1u);
    EXPECT_NE(host.last().find("is already in the load history"), std::string::npos)
        << host.last();
    EXPECT_EQ(session.loads().size(), 2u);
    EXPECT_EQ(session.loadsTable().rows[0][5], std::to_string(count - 1)); // "308 Ladder"

    // An existing load keeps its own round values, whatever the round on screen.
    RoundTexts other = kLadder;
    other.description = "Something else";
    other.powderCharge = "40";
    EntryFields fields = typed("");
    fields.charge = "40";
    fields.date = "2024-06-01";
    auto again = session.readImport(test::fixture("history/garmin-ios-en.csv"), other, fields,
                                    host);
    ASSERT_TRUE(again);
    EXPECT_FALSE(again->choose);
    ASSERT_TRUE(session.importSeries(*again, again->ticked, "Ladder by charge", host));
    EXPECT_EQ(session.stringFields(0).charge, "42.5");
}

TEST(LoadHistorySession, AnETargetStringBecomesAStringAndItsGroupInOneStep) {
    test::TestFolder folder(false);
    LoadHistorySession session(folder.path());
    test::ScriptedSessionHost host;
    auto plan = session.readImport(test::fixture("history/shotmarker.csv"), kLadder,
                                   typed(""), host);
    ASSERT_TRUE(plan);
    ASSERT_EQ(plan->previews.size(), 2u); // the string of sighters only is left out
    EXPECT_EQ(plan->read.notices.size(), 1u);
    EXPECT_EQ(plan->table.rows[0][0], "Load B 42.0");
    EXPECT_EQ(plan->table.rows[0].back(), "A group at 600 yd as well");
    ASSERT_TRUE(session.importSeries(*plan, {true, false}, plan->load, host));
    EXPECT_NE(host.last().find("1 string and 1 group"), std::string::npos) << host.last();
    ASSERT_EQ(session.groupsTable().rows.size(), 1u);
    const EntryFields group = session.groupFields(0);
    EXPECT_EQ(group.distance, "600");
    EXPECT_EQ(session.groupsTable().rows[0][4], session.stringsTable().rows[0][4]); // shots
}

TEST(LoadHistorySession, AnExportThatCannotBeReadIsNamedAndStoresNothing) {
    test::TestFolder folder(false);
    LoadHistorySession session(folder.path());
    test::ScriptedSessionHost host;
    folder.write("bad.csv", "Shot,Speed (FPS)\n1,2721.5\n2,fast\n");
    EXPECT_FALSE(session.readImport(folder / "bad.csv", kLadder, typed(""), host));
    EXPECT_EQ(host.last().rfind("bad.csv was not imported.\nLine 3:", 0), 0u) << host.last();
    EntryFields undated = typed("");
    undated.date = "soon";
    EXPECT_FALSE(session.readImport(test::fixture("history/string.csv"), kLadder, undated, host));
    EXPECT_NE(host.last().find("YYYY-MM-DD"), std::string::npos);
    EXPECT_FALSE(session.readImport(test::fixture("history/string.csv"), std::nullopt,
                                    typed(""), host));
    EXPECT_EQ(host.told.size(), 3u);
    EXPECT_FALSE(fs::exists(folder / "history.sqlite"));
}

// A saved group file, at the distance asked, and two groups compared by their angle.
TEST(LoadHistorySession, ImportsGroupFilesAndComparesGroupsByTheirAngle) {
    test::TestFolder folder(false);
    LoadHistorySession session(folder.path());
    test::ScriptedSessionHost host;
    const fs::path grp = test::fixture("backup/sample/YourData/Group1.GRP");
    EntryFields fields = typed("");
    EXPECT_FALSE(session.importGroupFile(kLadder, fields, host)); // no file chosen
    host.files = {grp, grp, folder / "absent.grp", grp};
    host.inputs = {"", "far", "100", "200"};
    EXPECT_FALSE(session.importGroupFile(kLadder, fields, host)); // the distance cancelled
    EXPECT_FALSE(session.importGroupFile(kLadder, fields, host));
    EXPECT_EQ(host.last(), "The distance must be a number of yards above 0 and up to 10000.");
    EXPECT_FALSE(session.importGroupFile(kLadder, fields, host));
    EXPECT_EQ(host.last().rfind("absent.grp was not imported.\n", 0), 0u) << host.last();
    ASSERT_TRUE(session.importGroupFile(kLadder, fields, host)) << host.last();
    EXPECT_EQ(fields.distance, "200");
    ASSERT_EQ(session.groupsTable().rows.size(), 1u);
    EXPECT_EQ(session.groupFields(0).note, "ex: 10-May-2003, 75F, light breeze, sunny");

    // The same shots at twice the distance (A, the earlier): half the angle, which three shots
    // cannot show.
    HistoryGroup twice = test::paperGroup("2024-05-02", 42.5);
    twice.distanceYd = 400;
    twice.shots = {{1, 1.5}, {.25, 2}, {3.125, -.5}};
    test::openHistory(folder.path())->addGroup(kLadder.description, twice);
    session.refresh(host);
    session.compare({}, {0, 1}, host);
    EXPECT_NE(host.last().find("at 200 yd, 3 shots: dispersion (sigma) "), std::string::npos)
        << host.last();
    EXPECT_NE(host.last().find("B's dispersion (sigma) is 100 % larger, but 3 and 3 shots cannot "
                               "tell them apart (p = 0.21)"),
              std::string::npos)
        << host.last();
}

// A ladder whose velocity stalls between two charges: the flat spot and the charges off the
// line are said under the chart.
TEST(LoadHistorySession, SaysWhereTheLadderShowsAFlatSpot) {
    test::TestFolder folder(false);
    {
        auto db = test::openHistory(folder.path());
        const double means[] = {2600, 2650, 2652, 2750};
        for (int i = 0; i < 4; ++i) {
            const double m = means[i];
            db->addString("Ladder " + std::to_string(41 + i),
                          test::velocityString("2024-05-01", {m - 2, m - 1, m, m + 1, m + 2},
                                               41 + i));
        }
    }
    LoadHistorySession session(folder.path());
    test::ScriptedSessionHost host;
    session.refresh(host);
    session.selectLoads({0, 1, 2, 3}, host);
    const ComparisonPlot plot = session.comparisonPlot();
    EXPECT_NE(plot.ladder.find("A flat spot is shown between 42 and 43 gr (95 %)."),
              std::string::npos)
        << plot.ladder;
    EXPECT_NE(plot.ladder.find("Off the line: 41, 42, 43, 44 gr."), std::string::npos)
        << plot.ladder;
    EXPECT_EQ(plot.offLine.size(), 4u);
}
