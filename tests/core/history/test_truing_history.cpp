#include "HistoryTestData.h"
#include "TestFolder.h"
#include "core/common/TextFile.h"
#include "core/history/HistoryBackup.h"
#include "core/history/SqliteStatement.h"

#include <gtest/gtest.h>

#include <cmath>

namespace fs = std::filesystem;
using namespace fendrel;
using namespace fendrel::test;

namespace {

bool mentions(const std::string& text, const char* part) {
    return text.find(part) != std::string::npos;
}

TruingSession truing(TruingKind kind, const char* date) {
    TruingSession t;
    t.date = date;
    t.kind = kind;
    t.card = "units=imperial\r\nnote=\u00E9t\u00E9\r\n";
    t.round = round308(42.5);
    if (kind == TruingKind::BallisticCoefficient) {
        t.nearVelocity = MeasuredVelocity{2815.5, 5, std::nullopt};
        t.farVelocity = MeasuredVelocity{1226.25, 1000, 7.5};
        t.ballisticCoefficient = TruedBallisticCoefficient{0.4712345678901234, 0.0031};
        return t;
    }
    t.unit = ClickUnit::Mil;
    t.observations = {{300, 1.3, std::nullopt}, {700, 5.65, 0.05}, {1200, 13.1, 0.1}};
    if (kind == TruingKind::Velocity) {
        t.velocity = TruedVelocity{2711.123456789, 4.25, 2698.5};
        t.metric = true;
    } else {
        t.knots = {{1.05, 1.032}, {0.95, 1.071}};
        t.factorErrors = {0.01, 0.0125};
    }
    return t;
}

} // namespace

TEST(TruingHistory, KeepsEachKindExactlyAndKeepsItsLoadWhileItHasOne) {
    TestFolder folder(false);
    auto db = openHistory(folder.path());
    std::vector<TruingSession> kept = {truing(TruingKind::DropScale, "2024-07-01"),
                                       truing(TruingKind::Velocity, "2024-06-01"),
                                       truing(TruingKind::BallisticCoefficient, "2024-07-01")};
    ASSERT_TRUE(db->addString("Load A", velocityString("2024-06-15", {2650})));
    for (TruingSession& t : kept)
        t.id = db->addTruing("Load A", t).value;
    const std::int64_t load = db->findLoad("Load A").value;
    const std::vector<TruingSession> byDate = {kept[1], kept[0], kept[2]};
    EXPECT_EQ(db->load(load).value.truings, byDate);
    EXPECT_EQ(db->truings(load).value, byDate);
    EXPECT_EQ(db->loads().value.at(0).truings, 3);
    EXPECT_EQ(db->loads().value.at(0).lastDate, "2024-07-01");

    // A load with only truings stays in the list until the last one goes.
    ASSERT_TRUE(db->deleteString(db->load(load).value.strings.at(0).id));
    ASSERT_TRUE(db->deleteTruing(kept[0].id));
    EXPECT_TRUE(mentions(db->deleteTruing(kept[0].id).refusal, "no longer"));
    EXPECT_EQ(db->truings(load).value, (std::vector<TruingSession>{kept[1], kept[2]}));
    ASSERT_TRUE(db->deleteTruing(kept[1].id));
    ASSERT_TRUE(db->deleteTruing(kept[2].id));
    EXPECT_TRUE(db->loads().value.empty());

    // Deleting the load takes its truings, their observations and knots with it (the foreign
    // keys would refuse it otherwise).
    for (const TruingSession& t : kept)
        ASSERT_TRUE(db->addTruing("Load B", t));
    ASSERT_TRUE(db->deleteLoad(db->findLoad("Load B").value));
    EXPECT_TRUE(db->checkIntegrity());
}

TEST(TruingHistory, RefusesWhatDoesNotFitItsKindAndStoresNoPartOfIt) {
    TestFolder folder(false);
    auto db = openHistory(folder.path());
    ASSERT_TRUE(db->addString("Load A", velocityString("2024-05-10", {2650})));
    const std::string before = dump(*db);
    TruingSession bad;
    const std::tuple<TruingKind, std::function<void()>, const char*> cases[] = {
        {TruingKind::Velocity, [&] { bad.date = "10.05.2024"; }, "YYYY-MM-DD"},
        {TruingKind::Velocity, [&] { bad.knots.resize(1); }, "velocity found, and nothing"},
        {TruingKind::DropScale, [&] { bad.factorErrors.pop_back(); }, "each knot's factor"},
        {TruingKind::DropScale, [&] { bad.knots[1].mach = 1.05; }, "two knots at Mach"},
        {TruingKind::DropScale, [&] { bad.factorErrors[0] = NAN; }, "factor must lie"},
        {TruingKind::BallisticCoefficient, [&] { bad.observations.resize(1); }, "nothing"},
        {TruingKind::BallisticCoefficient, [&] { bad.farVelocity->distance = 0; }, "farther"},
        {TruingKind::BallisticCoefficient,
         [&] { bad.ballisticCoefficient->standardError = INFINITY; }, "from 0 to 10"},
        {TruingKind::Velocity, [&] { bad.observations[2].correction = 786; }, "3: the corr"},
        {TruingKind::Velocity, [&] { bad.observations.resize(201); }, "at most 200"},
        {TruingKind::Velocity, [&] { bad.card.assign(16385, 'x'); }, "at most 16384 bytes"},
        {TruingKind::Velocity, [&] { bad.card = "bc=\x01"; }, "control character"},
    };
    for (const auto& [kind, spoil, why] : cases) {
        bad = truing(kind, "2024-05-10");
        spoil();
        EXPECT_TRUE(mentions(db->addTruing("Load B", bad).refusal, why)) << why;
    }

    // A write that fails with the truing half stored leaves nothing of it, nor its new load.
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(db->file().c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqliteExec(other, "CREATE TRIGGER fail BEFORE INSERT ON truing_knots "
                                "BEGIN SELECT RAISE(ABORT, 'disk trouble'); END"),
              SQLITE_OK);
    sqlite3_close(other);
    EXPECT_TRUE(
        mentions(db->addTruing("Load B", truing(TruingKind::DropScale, "2024-05-10")).refusal,
                 "disk trouble"));
    EXPECT_EQ(dump(*db), before);
}

// tests/data/history/version2.sql is a history written by the program before it kept truings.
TEST(TruingHistory, AVersionTwoHistoryIsUpgradedInPlaceWithEveryEntry) {
    TestFolder folder(false), elsewhere(false);
    const fs::path file = folder / HistoryDatabase::kFileName;
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &raw), SQLITE_OK);
    ASSERT_EQ(sqliteExec(raw, readFileBytes(fixture("history/version2.sql"))->c_str()), SQLITE_OK);
    sqlite3_close(raw);
    fs::copy_file(file, elsewhere / "old.sqlite");
    const std::string expected =
        "Load A 1 1 2024-05-12 .308 Winchester 168 0.462 43 \n"
        " S1 2024-05-10 71.5 Calm, 71 \u00B0F .308 Winchester 168 0.462 42.5 2650.5 2661.25 2655 \n"
        " G1 2024-05-12 100 0.308 0.9 1.1 2.75 1.05 Wind 5 mph .308 Winchester 168 0.462 43 "
        "0.25 -0.5 1 2 -0.75 0.125 \n"
        "Load B \u00E9 1 0 2024-06-01 .308 Winchester 168 0.462 43.5 \n"
        " S2 2024-06-01 -  .308 Winchester 168 0.462 43.5 2702 \n";
    EXPECT_EQ(dump(*HistoryDatabase::openReadOnly(folder.path()).database), expected);

    auto db = openHistory(folder.path());
    EXPECT_EQ(dump(*db), expected);
    const LoadHistory a = db->load(1).value;
    EXPECT_EQ(a.strings[0].groupId, a.groups[0].id);
    EXPECT_EQ(a.strings[0].shotDetails.at(0), (ShotDetail{"09:15:02", true, true, "first"}));
    // The summaries of the upgraded file count truings, and strings and groups as before.
    ASSERT_TRUE(db->addTruing("Load A", truing(TruingKind::Velocity, "2024-08-01")));
    ASSERT_TRUE(db->deleteString(2));
    ASSERT_EQ(db->loads().value.size(), 1u);
    EXPECT_EQ(db->loads().value[0].lastDate, "2024-08-01");

    // Backups carry the truings; an old backup is restored and upgraded.
    const auto truings = db->load(1).value.truings;
    ASSERT_TRUE(backupHistory(folder.path(), elsewhere / "new.sqlite").value);
    ASSERT_TRUE(db->restoreFrom(elsewhere / "old.sqlite"));
    EXPECT_EQ(dump(*db), expected);
    ASSERT_TRUE(db->restoreFrom(elsewhere / "new.sqlite"));
    EXPECT_EQ(db->load(1).value.truings, truings);
}
