#include "HistoryTestData.h"
#include "TestFolder.h"
#include "core/history/HistorySchema.h"
#include "core/history/HistoryTables.h"
#include "core/history/SqliteStatement.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace fendrel;
using namespace fendrel::test;

namespace {

std::vector<ChronographSeries> seriesOf(const char* fixture) {
    auto read = readChronographSource(test::fixture(std::string("history/") + fixture));
    EXPECT_TRUE(read) << read.refusal;
    return read.value.series;
}

SeriesImportOptions importOptions() {
    SeriesImportOptions o;
    o.round = round308(42);
    o.fallbackDate = "2025-04-01";
    o.caliberIn = 0.308;
    return o;
}

std::int64_t userVersion(const fs::path& file) {
    sqlite3* db = nullptr;
    sqlite3_open(file.c_str(), &db);
    std::int64_t v = -1;
    {
        SqliteStatement s(db, "PRAGMA user_version");
        if (s.step() == SQLITE_ROW)
            v = s.integer(0);
    }
    sqlite3_close(db);
    return v;
}

} // namespace

TEST(SeriesImport, AVersionOneHistoryIsReadAsItIsAndUpgradedInPlace) {
    TestFolder folder(false);
    const fs::path file = folder / HistoryDatabase::kFileName;
    {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
        std::string why;
        ASSERT_EQ(migrateHistory(db, historyMigrations().first(1), why), SQLITE_OK) << why;
        ASSERT_EQ(sqliteExec(db, "INSERT INTO loads (description) VALUES ('Old load');"
                                 "INSERT INTO velocity_strings (load_id, date, caliber, "
                                 "bullet_weight_gr, bc, charge_gr) VALUES (1, '2023-05-01', "
                                 "'.308', 168, .462, 42);"
                                 "INSERT INTO string_shots VALUES (1, 1, 2650), (1, 2, 2660);"),
                  SQLITE_OK);
        sqlite3_close(db);
    }
    const std::string bytes = folder.read(HistoryDatabase::kFileName);
    {
        auto readOnly = HistoryDatabase::openReadOnly(folder.path());
        ASSERT_TRUE(readOnly.database) << readOnly.refusal;
        const auto load = readOnly.database->load(1);
        ASSERT_TRUE(load) << load.refusal;
        EXPECT_EQ(load.value.strings.at(0).shotsFps, (std::vector<double>{2650, 2660}));
        EXPECT_FALSE(readOnly.database->importSeries("Old load", seriesOf("string.csv"),
                                                     importOptions()));
    }
    EXPECT_TRUE(folder.read(HistoryDatabase::kFileName) == bytes);
    EXPECT_EQ(userVersion(file), 1);

    auto db = openHistory(folder.path());
    EXPECT_EQ(userVersion(file), historySchemaVersion());
    const LoadHistory old = db->load(1).value;
    EXPECT_EQ(old.strings.at(0).shotsFps, (std::vector<double>{2650, 2660}));
    EXPECT_TRUE(old.strings[0].shotDetails.empty());
    EXPECT_TRUE(db->importSeries("Old load", seriesOf("garmin-ios-en.csv"), importOptions()));
    EXPECT_EQ(db->load(1).value.strings.size(), 2u);
    EXPECT_TRUE(db->checkIntegrity());
}

TEST(SeriesImport, StoresChosenSeriesOnceWithTheirDetailsAndGroups) {
    TestFolder folder(false);
    auto db = openHistory(folder.path());
    std::vector<ChronographSeries> chosen = seriesOf("shotmarker.csv");
    chosen.push_back(seriesOf("garmin-ios-en.csv").at(0));
    chosen.push_back(seriesOf("magnetospeed-log.csv").at(0)); // no date: the fallback
    const auto preview = db->previewSeries(chosen, importOptions());
    ASSERT_TRUE(preview) << preview.refusal;
    EXPECT_TRUE(preview.value[0].withGroup && !preview.value[2].withGroup);
    EXPECT_EQ(preview.value[3].date, "2025-04-01");
    EXPECT_EQ(preview.value[0].duplicateOf, 0);

    const auto done = db->importSeries("Load B", chosen, importOptions());
    ASSERT_TRUE(done) << done.refusal;
    const std::int64_t groupId = done.value.groupIds[0];
    EXPECT_NE(groupId, 0);
    EXPECT_NE(done.value.groupIds[1], 0);
    EXPECT_EQ(done.value.groupIds[2], 0);
    const LoadHistory h = db->load(db->findLoad("Load B").value).value;
    ASSERT_EQ(h.strings.size(), 4u);
    ASSERT_EQ(h.groups.size(), 2u);
    const VelocityString* shotMarker = nullptr;
    for (const VelocityString& s : h.strings)
        if (s.groupId == groupId)
            shotMarker = &s;
    ASSERT_TRUE(shotMarker);
    EXPECT_EQ(shotMarker->note, "Load B 42.0");
    EXPECT_EQ(shotMarker->shotDetails.at(2).note, "warning-angle");
    const HistoryGroup& group = h.groups[0].id == groupId ? h.groups[0] : h.groups[1];
    EXPECT_EQ(group.distanceYd, 600);
    EXPECT_EQ(group.shots[0].x, 0.3);
    EXPECT_EQ(group.shots[0].y, 0.4); // the target's y points up, the group's down
    const GroupMeasurement m = measureGroup(0.308, group.shots);
    EXPECT_DOUBLE_EQ(group.meanRadiusIn, m.meanRadius);
    EXPECT_DOUBLE_EQ(group.extremeSpreadIn, m.extremeSpread);
    for (const VelocityString& s : h.strings) {
        if (s.note.starts_with("6.5 CM")) {
            EXPECT_EQ(s.note, "6.5 CM 140 ELD-M, 41.5gr H4350 \u2014 Calm, 64F");
            EXPECT_EQ(s.shotDetails.at(0), (ShotDetail{"09:05:12", true, true, "first of the day"}));
            EXPECT_EQ(s.date, "2025-03-09");
        }
    }

    // A second import of the same series stores nothing, in any load, and says so.
    const std::string before = dump(*db);
    const auto again = db->importSeries("Load C", chosen, importOptions());
    ASSERT_TRUE(again) << again.refusal;
    EXPECT_EQ(again.value.stringIds, std::vector<std::int64_t>(4, 0));
    ASSERT_EQ(again.value.notices.size(), 4u);
    EXPECT_EQ(again.value.notices[3], "'Series 1' of 2025-04-01 is already in the load history "
                                      "(load 'Load B') and is not imported again.");
    EXPECT_EQ(dump(*db), before);
    EXPECT_EQ(db->previewSeries(chosen, importOptions()).value[1].duplicateLoad, "Load B");

    // Deleting the group keeps its string; editing the string's shots drops their details.
    ASSERT_TRUE(db->deleteGroup(groupId));
    for (const VelocityString& s : db->load(h.id).value.strings)
        EXPECT_NE(s.groupId, groupId);
    VelocityString edited = *shotMarker;
    EntryFields fields = fieldsOf(edited);
    ASSERT_TRUE(readStringFields(fields, edited, true));
    EXPECT_EQ(edited.shotDetails, shotMarker->shotDetails);
    fields.shots += ", 2700";
    ASSERT_TRUE(readStringFields(fields, edited, true));
    EXPECT_TRUE(edited.shotDetails.empty());
}

TEST(SeriesImport, IsOneStepAndRefusesWhatCannotBeStored) {
    TestFolder folder(false);
    auto db = openHistory(folder.path());
    {
        sqlite3* raw = nullptr;
        sqlite3_open((folder / HistoryDatabase::kFileName).c_str(), &raw);
        sqliteExec(raw, "CREATE TRIGGER no_groups BEFORE INSERT ON group_shots BEGIN "
                        "SELECT RAISE(ABORT, 'refused'); END;");
        sqlite3_close(raw);
    }
    EXPECT_FALSE(db->importSeries("Load B", seriesOf("shotmarker.csv"), importOptions()));
    EXPECT_TRUE(db->loads().value.empty());

    SeriesImportOptions undated = importOptions();
    undated.fallbackDate.clear();
    const auto refused = db->importSeries("Load B", seriesOf("prochrono-list.csv"), undated);
    EXPECT_EQ(refused.refusal, "'String 1': The date must be a calendar date written YYYY-MM-DD "
                               "(for example 2024-05-10).");
    EXPECT_TRUE(groupFromSeries(seriesOf("shotmarker.csv").at(1), importOptions()));
    ChronographSeries one = seriesOf("shotmarker.csv").at(1);
    one.shots.resize(1);
    const auto entries = entriesOf(one, importOptions());
    ASSERT_TRUE(entries);
    EXPECT_FALSE(entries.value.group);
    EXPECT_EQ(entries.value.groupNotice, "'Load C, 42.5' is kept without a group: It has 1 shot "
                                         "on the target; a group needs from 2 to 181.");
}
