#include "HistoryTestData.h"
#include "TestFolder.h"
#include "core/common/TextFile.h"
#include "core/history/HistoryBackup.h"
#include "core/history/HistorySchema.h"
#include "core/history/SqliteStatement.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sys/stat.h>

namespace fs = std::filesystem;
using namespace fendrel;
using namespace fendrel::test;

namespace {

bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// A file made with SQLite directly, outside the history's own code.
void makeDatabase(const fs::path& file, const char* sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
    EXPECT_EQ(sqliteExec(db, sql), SQLITE_OK) << sqlite3_errmsg(db);
    sqlite3_close(db);
}

std::vector<std::string> names(const fs::path& folder) {
    std::vector<std::string> out;
    for (const auto& e : fs::directory_iterator(folder))
        out.push_back(e.path().filename().string());
    std::sort(out.begin(), out.end());
    return out;
}

} // namespace

TEST(HistoryDatabase, KeepsEntriesPerExactDescriptionWithTheirRoundValues) {
    TestFolder folder(false);
    auto db = openHistory(folder.path());
    VelocityString first = velocityString("2024-05-10", {2650, 2661.5, 2655});
    first.temperatureF = 71.5;
    first.note = "Calm, 71 \u00B0F";
    const auto a = db->addString("Load A", first);
    ASSERT_TRUE(a) << a.refusal;
    ASSERT_TRUE(db->addGroup("Load A", paperGroup("2024-05-12", 43)));
    ASSERT_TRUE(db->addString("load a", velocityString("2024-06-01", {2700})));
    // Another round saved under the same description shares the history; its values stay its
    // own.
    VelocityString other = velocityString("2024-05-11", {2500});
    other.round = {"30-06 Springfield", 150, 0.4, 50};
    ASSERT_TRUE(db->addString("Load A", other));

    const auto loads = db->loads().value;
    ASSERT_EQ(loads.size(), 2u);
    EXPECT_EQ(loads[0].description, "Load A"); // byte order: upper case first
    EXPECT_EQ(loads[0].strings, 2);
    EXPECT_EQ(loads[0].groups, 1);
    EXPECT_EQ(loads[0].lastDate, "2024-05-12");
    EXPECT_EQ(loads[0].latest, round308(43));
    EXPECT_EQ(db->findLoad("LOAD A").value, 0);
    EXPECT_EQ(db->findLoad("load a").value, loads[1].id);

    const LoadHistory h = db->load(loads[0].id).value;
    ASSERT_EQ(h.strings.size(), 2u);
    EXPECT_EQ(h.strings[0].id, a.value);
    EXPECT_EQ(h.strings[0].shotsFps, first.shotsFps);
    EXPECT_EQ(h.strings[0].temperatureF, 71.5);
    EXPECT_EQ(h.strings[0].note, first.note);
    EXPECT_EQ(h.strings[0].round, round308(42.5));
    EXPECT_EQ(h.strings[1].round, other.round);
    EXPECT_FALSE(h.strings[1].temperatureF);
    ASSERT_EQ(h.groups.size(), 1u);
    EXPECT_EQ(h.groups[0].shots.size(), 2u);
    EXPECT_EQ(h.groups[0].shots[1].y, 2);
    EXPECT_EQ(h.groups[0].meanRadiusIn, 0.5);
    EXPECT_TRUE(db->checkIntegrity());
}

TEST(HistoryDatabase, EditsDeletesAndRefusesBadEntriesWithoutAChange) {
    TestFolder folder(false);
    auto db = openHistory(folder.path());
    VelocityString s = velocityString("2024-05-10", {2650, 2660});
    s.id = db->addString("Load A", s).value;
    HistoryGroup g = paperGroup("2024-05-10", 42.5);
    g.id = db->addGroup("Load A", g).value;
    const std::string before = dump(*db);

    VelocityString bad = s;
    const std::pair<std::function<void()>, const char*> badStrings[] = {
        {[&] { bad.date = "2023-02-29"; }, "YYYY-MM-DD"},
        {[&] { bad.shotsFps[1] = std::nan(""); }, "Shot 2:"},
        {[&] { bad.shotsFps.clear(); }, "at least one shot"},
        {[&] { bad.temperatureF = INFINITY; }, "air temperature"},
        {[&] { bad.note = "\xFF"; }, "UTF-8"},
        {[&] { bad.round.powderChargeGr = -1; }, "powder charge"},
    };
    for (const auto& [spoil, why] : badStrings) {
        bad = s;
        spoil();
        EXPECT_TRUE(has(db->addString("Load A", bad).refusal, why)) << why;
        EXPECT_TRUE(has(db->updateString(bad).refusal, why)) << why;
    }
    EXPECT_TRUE(has(db->addString(" ", s).refusal, "needs a round description"));
    HistoryGroup far = g;
    far.distanceYd = 0;
    EXPECT_TRUE(has(db->addGroup("Load A", far).refusal, "distance"));
    far = g;
    far.shots.resize(1);
    EXPECT_TRUE(has(db->updateGroup(far).refusal, "from 2 to 181"));
    EXPECT_EQ(dump(*db), before);

    s.date = "2024-02-29";
    s.shotsFps = {2700, 2710, 2720};
    ASSERT_TRUE(db->updateString(s));
    g.distanceYd = 200;
    g.shots.push_back({3, 3});
    ASSERT_TRUE(db->updateGroup(g));
    const LoadHistory h = db->load(db->findLoad("Load A").value).value;
    EXPECT_EQ(h.strings[0].date, "2024-02-29");
    EXPECT_EQ(h.strings[0].shotsFps, s.shotsFps);
    EXPECT_EQ(h.groups[0].shots.size(), 3u);
    EXPECT_EQ(h.groups[0].distanceYd, 200);

    VelocityString gone = s;
    gone.id = 999;
    EXPECT_TRUE(has(db->updateString(gone).refusal, "no longer"));
    EXPECT_TRUE(has(db->deleteGroup(999).refusal, "no longer"));
    ASSERT_TRUE(db->deleteGroup(g.id));
    EXPECT_EQ(db->loads().value.size(), 1u); // the string keeps the load
    ASSERT_TRUE(db->deleteString(s.id));
    EXPECT_TRUE(db->loads().value.empty());
    ASSERT_TRUE(db->addString("Load B", s));
    ASSERT_TRUE(db->deleteLoad(db->findLoad("Load B").value));
    EXPECT_EQ(dump(*db), "");
    EXPECT_TRUE(db->checkIntegrity());
}

TEST(HistoryDatabase, RefusesFilesItDoesNotOwnAndLeavesThemAsTheyAre) {
    TestFolder folder(false);
    const fs::path file = folder / HistoryDatabase::kFileName;
    auto absent = HistoryDatabase::open(folder.path(), HistoryDatabase::WhenAbsent::Report);
    EXPECT_TRUE(absent.absent);
    EXPECT_TRUE(names(folder.path()).empty());

    const std::string newer = "PRAGMA journal_mode = WAL; CREATE TABLE later (x);"
                              "PRAGMA user_version = 99; PRAGMA application_id = " +
                              std::to_string(kHistoryApplicationId);
    const struct {
        std::string sql; // empty: the bytes below are the file
        std::string bytes;
        std::string refusal;
    } cases[] = {
        {newer, "",
         "newer version of Fen-drel (schema 99; this version reads up to " +
             std::to_string(historySchemaVersion()) + ")"},
        {"CREATE TABLE people (name)", "", "database of another program"},
        {"PRAGMA user_version = 1", "", "database of another program"},
        {"", "Load,FPS\r\n1,2650\r\n", "not an SQLite database"},
        {"", std::string("SQLite format 3\0", 16) + std::string(84, '\0') + std::string(4000, 'x'),
         "not an SQLite database"},
    };
    for (const auto& c : cases) {
        fs::remove_all(folder.path());
        fs::create_directories(folder.path());
        if (c.sql.empty())
            folder.write(HistoryDatabase::kFileName, c.bytes);
        else
            makeDatabase(file, c.sql.c_str());
        const std::string bytes = folder.read(HistoryDatabase::kFileName);
        const auto listing = names(folder.path());
        const auto opened = HistoryDatabase::open(folder.path());
        EXPECT_FALSE(opened.database);
        EXPECT_TRUE(has(opened.refusal, c.refusal)) << opened.refusal;
        EXPECT_TRUE(folder.read(HistoryDatabase::kFileName) == bytes) << c.refusal;
        EXPECT_EQ(names(folder.path()), listing);
        EXPECT_FALSE(HistoryDatabase::checkFile(file));
    }
    fs::remove(file);
    ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
    EXPECT_TRUE(has(HistoryDatabase::open(folder.path()).refusal, "not a regular file"));

    // An empty file is a new history.
    fs::remove(file);
    folder.write(HistoryDatabase::kFileName, "");
    EXPECT_TRUE(openHistory(folder.path()));
    EXPECT_TRUE(HistoryDatabase::checkFile(file));

    // A history that passes SQLite's own checks but lacks part of its schema is refused by name,
    // for reading as for writing.
    const std::pair<const char*, const char*> damaged[] = {
        {"ALTER TABLE velocity_strings DROP COLUMN note",
         "is damaged: the column note of the table velocity_strings is missing"},
        {"DROP TABLE group_shots", "is damaged: the table group_shots is missing"},
        {"DROP TRIGGER paper_groups_added", "is damaged: the trigger paper_groups_added is"}};
    for (const auto& [damage, refusal] : damaged) {
        fs::remove_all(folder.path());
        fs::create_directories(folder.path());
        ASSERT_TRUE(openHistory(folder.path()));
        makeDatabase(file, damage);
        const std::string bytes = folder.read(HistoryDatabase::kFileName);
        EXPECT_TRUE(has(HistoryDatabase::open(folder.path()).refusal, refusal)) << refusal;
        EXPECT_TRUE(has(HistoryDatabase::openReadOnly(folder.path()).refusal, refusal));
        EXPECT_TRUE(has(HistoryDatabase::checkFile(file).refusal, refusal));
        EXPECT_TRUE(folder.read(HistoryDatabase::kFileName) == bytes);
    }
}

TEST(HistoryDatabase, MigrationsRunInOrderOnce) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(":memory:", &db), SQLITE_OK);
    const std::vector<HistoryMigration> one = {{1, "CREATE TABLE a (x);"}};
    const std::vector<HistoryMigration> two = {one[0], {2, "ALTER TABLE a ADD COLUMN y;"}};
    std::string why;
    EXPECT_EQ(migrateHistory(db, one, why), SQLITE_OK);
    EXPECT_EQ(migrateHistory(db, two, why), SQLITE_OK);
    EXPECT_EQ(migrateHistory(db, two, why), SQLITE_OK) << why; // nothing left to run
    EXPECT_EQ(sqliteExec(db, "INSERT INTO a (x, y) VALUES (1, 2)"), SQLITE_OK);
    {
        SqliteStatement version(db, "PRAGMA user_version");
        ASSERT_EQ(version.step(), SQLITE_ROW);
        EXPECT_EQ(version.integer(0), 2);
    }
    EXPECT_NE(migrateHistory(db, one, why), SQLITE_OK);
    EXPECT_TRUE(has(why, "newer version"));
    EXPECT_EQ(sqlite3_close(db), SQLITE_OK);
    EXPECT_EQ(historySchemaVersion(), 3);
}

TEST(HistoryBackup, BackupWipeRestoreGivesTheSameHistory) {
    TestFolder folder(false), elsewhere(false);
    EXPECT_FALSE(backupHistory(folder.path(), elsewhere / "none.sqlite").value);
    auto db = openHistory(folder.path());
    for (int i = 0; i < 20; ++i) {
        const std::string load = "Load " + std::to_string(i % 3);
        ASSERT_TRUE(db->addString(load, velocityString("2024-05-10", {2650.0 + i, 2651.25})));
        ASSERT_TRUE(db->addGroup(load, paperGroup("2024-05-11", 42 + i % 2, 0.1 * i)));
    }
    const std::string before = dump(*db);
    // The copy is taken while the history is open.
    const fs::path copy = elsewhere / "history-copy.sqlite";
    const auto made = backupHistory(folder.path(), copy);
    ASSERT_TRUE(made && made.value) << made.refusal;
    EXPECT_TRUE(checkHistoryBackup(copy));
    EXPECT_EQ(names(elsewhere.path()), std::vector<std::string>{"history-copy.sqlite"});
    db.reset();
    for (const char* suffix : {"", "-wal", "-shm"})
        fs::remove(folder / (std::string(HistoryDatabase::kFileName) + suffix));
    const auto restored = restoreHistory(copy, folder.path());
    ASSERT_TRUE(restored) << restored.refusal;
    db = openHistory(folder.path());
    EXPECT_EQ(dump(*db), before);

    // Damaged or newer copies are refused and the current history stays.
    std::string bytes = elsewhere.read("history-copy.sqlite");
    for (size_t i = 4096; i < 12288 && i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(i * 7);
    elsewhere.write("damaged.sqlite", bytes);
    fs::copy_file(copy, elsewhere / "newer.sqlite");
    makeDatabase(elsewhere / "newer.sqlite",
                 ("PRAGMA user_version = " + std::to_string(historySchemaVersion() + 1)).c_str());
    for (const char* name : {"damaged.sqlite", "newer.sqlite", "absent.sqlite"}) {
        const auto refused = restoreHistory(elsewhere / name, folder.path());
        EXPECT_FALSE(refused) << name;
        EXPECT_TRUE(has(refused.refusal, name)) << refused.refusal;
    }
    EXPECT_TRUE(has(checkHistoryBackup(elsewhere / "damaged.sqlite").refusal, "damaged"));
    EXPECT_EQ(dump(*db), before);
    EXPECT_TRUE(db->checkIntegrity());
}
