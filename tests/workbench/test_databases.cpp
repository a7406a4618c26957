// The round and firearm databases and the editor's file handling.
#include "TestFolder.h"
#include "app/TextFile.h"
#include "workbench/Databases.h"
#include "workbench/EditSession.h"

#include <gtest/gtest.h>
#include <random>

using namespace fendrel;
using fendrel::test::TestFolder;

namespace {

Record round(const std::string& description, const std::string& caliber = ".308 Winchester") {
    return {description, caliber, "160", ".421", ".552", "BrandA", "Spitzer",
            "IMR 4831 Lot 12345", "60", "2800", "CCI 250", "Federal", "(type or select)", "BBR",
            "2026", "(optional)", "24", "9.5"};
}

Record firearm(const std::string& serial) { return {"Maker", "M1", "1990", serial, "24", "9.5"}; }

std::vector<std::string> keys(const TestFolder& f) {
    std::vector<std::string> out;
    for (const auto& r : readAllRecords(f / "rounds.dtb", kRoundFields))
        out.push_back(r[0]);
    return out;
}

} // namespace

TEST(Databases, RecordIsWrittenQuotedWithCrLf) {
    TestFolder f(false);
    ASSERT_TRUE(saveRecord(f.path(), kFirearms, {"A", "B, C", "", "SN 1", "24", "9.5"}, false).ok);
    EXPECT_EQ(f.read("Firearms.dtb"), "\"A\",\"B, C\",\"\",\"SN 1\",\"24\",\"9.5\"\r\n");
}

TEST(Databases, CommaAndQuoteSurviveARoundTrip) {
    TestFolder f(false);
    Record r = round("7mm, \"hot\" load");
    r[6] = "Spitzer \"boat tail\"";
    ASSERT_TRUE(saveRecord(f.path(), kRounds, r, false).ok);
    auto back = recordAt(f / "rounds.dtb", kRoundFields, 0);
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, r);
    // The stored form still reads by the plain field rules up to the first quote.
    EXPECT_EQ(f.read("rounds.dtb").substr(0, 23), "\"7mm, \"\"hot\"\" load\",\".3");
}

TEST(Databases, NoKeepsDuplicatesYesDropsAllAndPutsNewLast) {
    TestFolder f(false);
    for (const char* d : {"A", "B", "A", "C"})
        ASSERT_TRUE(saveRecord(f.path(), kRounds, round(d), false).ok);
    EXPECT_EQ(keys(f), (std::vector<std::string>{"A", "B", "A", "C"}));

    Record newer = round("A", ".224 .223 Remington");
    ASSERT_TRUE(saveRecord(f.path(), kRounds, newer, true).ok);
    EXPECT_EQ(keys(f), (std::vector<std::string>{"B", "C", "A"}));
    EXPECT_EQ(readAllRecords(f / "rounds.dtb", kRoundFields).back()[1], ".224 .223 Remington");
    EXPECT_FALSE(std::filesystem::exists(f / "rounds.tmp"));
}

TEST(Databases, KeysAreCaseSensitiveAndUntrimmed) {
    TestFolder f(false);
    ASSERT_TRUE(saveRecord(f.path(), kRounds, round("Load"), false).ok);
    EXPECT_TRUE(containsKey(f / "rounds.dtb", kRounds, "Load"));
    EXPECT_FALSE(containsKey(f / "rounds.dtb", kRounds, "load"));
    EXPECT_FALSE(containsKey(f / "rounds.dtb", kRounds, "Load "));
    ASSERT_TRUE(saveRecord(f.path(), kRounds, round("load"), true).ok);
    EXPECT_EQ(keys(f), (std::vector<std::string>{"Load", "load"}));
}

TEST(Databases, FirearmKeyIsTheSerialNumber) {
    TestFolder f(false);
    ASSERT_TRUE(saveRecord(f.path(), kFirearms, firearm("X1"), false).ok);
    ASSERT_TRUE(saveRecord(f.path(), kFirearms, firearm("X2"), false).ok);
    Record changed = firearm("X1");
    changed[1] = "M2";
    ASSERT_TRUE(saveRecord(f.path(), kFirearms, changed, true).ok);
    auto all = readAllRecords(f / "Firearms.dtb", kFirearmFields);
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0][3], "X2");
    EXPECT_EQ(all[1][1], "M2");
}

TEST(Databases, FirearmsFileIsFoundWhateverItsCase) {
    TestFolder f(false);
    f.write("firearms.dtb", "\"A\",\"B\",\"1\",\"S\",\"2\",\"3\"\r\n");
    ASSERT_TRUE(saveRecord(f.path(), kFirearms, firearm("T"), true).ok);
    EXPECT_FALSE(std::filesystem::exists(f / "Firearms.dtb"));
    EXPECT_EQ(readAllRecords(f / "firearms.dtb", kFirearmFields).size(), 2u);
}

TEST(Databases, LoadingPicksByPositionNotKey) {
    TestFolder f(false);
    Record a = round("Same"), b = round("Other"), c = round("Same");
    c[2] = "180";
    for (const auto& r : {a, b, c})
        ASSERT_TRUE(saveRecord(f.path(), kRounds, r, false).ok);
    auto third = recordAt(f / "rounds.dtb", kRoundFields, 2);
    ASSERT_TRUE(third);
    EXPECT_EQ((*third)[2], "180");
    EXPECT_FALSE(recordAt(f / "rounds.dtb", kRoundFields, 3));
}

TEST(Databases, MissingFileHasNoRecordsAndIsCreatedOnSave) {
    TestFolder f(false);
    EXPECT_TRUE(readAllRecords(f / "rounds.dtb", kRoundFields).empty());
    EXPECT_FALSE(containsKey(f / "rounds.dtb", kRounds, "x"));
    ASSERT_TRUE(saveRecord(f.path(), kRounds, round("x"), true).ok);
    EXPECT_EQ(keys(f), std::vector<std::string>{"x"});
}

TEST(Databases, TruncatedLastRecordIsSkippedAndDoesNotSwallowTheNextSave) {
    TestFolder f(false);
    const std::string whole = encodeDatabaseRecord(firearm("A"));
    f.write("Firearms.dtb", whole + "\"B\",\"M\",\"19");
    EXPECT_EQ(readAllRecords(f / "Firearms.dtb", kFirearmFields).size(), 1u);
    ASSERT_TRUE(saveRecord(f.path(), kFirearms, firearm("C"), false).ok);
    EXPECT_EQ(f.read("Firearms.dtb"), whole + encodeDatabaseRecord(firearm("C")));
}

TEST(Databases, HandWrittenRecordsWithoutFinalLineEndStillTakeAnAppend) {
    TestFolder f(false);
    f.write("Firearms.dtb", "Maker, M1 ,1990,A,24,9.5");
    ASSERT_TRUE(saveRecord(f.path(), kFirearms, firearm("C"), false).ok);
    auto all = readAllRecords(f / "Firearms.dtb", kFirearmFields);
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0], firearm("A"));
    EXPECT_EQ(all[1], firearm("C"));
}

TEST(Databases, SelectionLinesStartWithABlank) {
    TestFolder f(false);
    ASSERT_TRUE(saveRecord(f.path(), kFirearms, firearm("S 1"), false).ok);
    auto lines = selectionLines(f / "Firearms.dtb", kFirearmFields);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], " Maker M1 1990 S 1 24 9.5");
    EXPECT_TRUE(selectionLines(f / "missing.dtb", 6).empty());
}

namespace {
struct FailAt : RewriteFaults {
    RewriteStep step;
    explicit FailAt(RewriteStep s) : step(s) {}
    bool failAt(RewriteStep s) override { return s == step; }
};
} // namespace

TEST(Databases, AnInterruptedRewriteLeavesTheOldDatabaseWhole) {
    for (RewriteStep step : {RewriteStep::CreateTemporary, RewriteStep::WriteTemporary,
                             RewriteStep::FlushTemporary, RewriteStep::Replace}) {
        for (bool replace : {false, true}) {
            TestFolder f(false);
            for (const char* d : {"A", "B", "A"})
                ASSERT_TRUE(saveRecord(f.path(), kRounds, round(d), false).ok);
            const std::string before = f.read("rounds.dtb");
            FailAt fault(step);
            SaveResult r = saveRecord(f.path(), kRounds, round("A"), replace, &fault);
            EXPECT_FALSE(r.ok);
            EXPECT_FALSE(r.error.empty());
            EXPECT_EQ(f.read("rounds.dtb"), before) << static_cast<int>(step);
            EXPECT_FALSE(std::filesystem::exists(f / "rounds.tmp"));
        }
    }
}

TEST(Databases, ReadersSurviveRandomAndTruncatedBytes) {
    std::mt19937 rng(12345);
    const std::string alphabet = "\"\",,\r\n \tab1.";
    TestFolder f(false);
    const std::string good = encodeDatabaseRecord(round("x, \"y\"")) + encodeDatabaseRecord(round("z"));
    size_t records = 0;
    for (int i = 0; i < 100000; ++i) {
        std::string bytes;
        if (i % 2) {
            bytes = good.substr(0, rng() % (good.size() + 1));
        } else {
            size_t n = rng() % 64;
            for (size_t k = 0; k < n; ++k)
                bytes.push_back(i % 4 == 0 ? static_cast<char>(rng() & 0xFF)
                                           : alphabet[rng() % alphabet.size()]);
        }
        FieldReader reader(bytes);
        size_t guard = 0;
        while (!reader.atEnd() && guard++ <= bytes.size())
            reader.readField();
        ASSERT_TRUE(reader.atEnd()) << "a field read made no progress";
        FieldReader lines(bytes);
        guard = 0;
        while (!lines.atEnd() && guard++ <= bytes.size())
            lines.readLine();
        ASSERT_TRUE(lines.atEnd());
        if (i % 50 == 0) {
            f.write("rounds.dtb", bytes);
            records += readAllRecords(f / "rounds.dtb", kRoundFields).size();
            records += selectionLines(f / "rounds.dtb", kFirearmFields).size();
        }
    }
    EXPECT_GT(records, 0u);
}

TEST(EditSession, CountBackupAndText) {
    TestFolder f(false);
    f.write("editsessions.dat", "6\r\n");
    f.write("rounds.dtb", "\r\n\r\nfirst\r\n\r\nlast\r\n");
    EditorLoad load = prepareEdit(f.path(), f / "rounds.dtb");
    ASSERT_TRUE(load.ok) << load.error;
    EXPECT_EQ(f.read("editsessions.dat"), "7\r\n");
    EXPECT_EQ(load.backup, f / "rounds 7.bak");
    EXPECT_EQ(f.read("rounds 7.bak"), f.read("rounds.dtb"));
    // Empty lines before the first text go; those after it stay; no line end after the last.
    EXPECT_EQ(load.text, "first\n\nlast");
}

TEST(EditSession, MissingCountStartsAgainAndTheLimitStops) {
    TestFolder f(false);
    std::string error;
    EXPECT_EQ(nextEditCount(f.path(), error), 1);
    EXPECT_EQ(f.read("editsessions.dat"), "1\r\n");
    f.write("editsessions.dat", "32767\r\n");
    EXPECT_FALSE(nextEditCount(f.path(), error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(f.read("editsessions.dat"), "32767\r\n");
}

TEST(EditSession, BackupNameUsesThePartBeforeTheFirstFullStop) {
    EXPECT_EQ(backupPath("/p", "my.list.txt", 12), std::filesystem::path("/p/my 12.bak"));
    EXPECT_EQ(backupPath("/p", "README", 3), std::filesystem::path("/p/README 3.bak"));
}

TEST(EditSession, SaveTrimsBlanksAndEndsWithCrLf) {
    EXPECT_EQ(editorSaveBytes("   a\n b  \n\nc  "), "a\r\n b  \r\n\r\nc\r\n");
    EXPECT_EQ(editorSaveBytes("\tx\n"), "\tx\r\n\r\n");
    EXPECT_EQ(editorSaveBytes(""), "\r\n");
}

TEST(EditSession, MissingFileDoesNotLoad) {
    TestFolder f(false);
    EditorLoad load = prepareEdit(f.path(), f / "nothing.txt");
    EXPECT_FALSE(load.ok);
    EXPECT_FALSE(load.error.empty());
}
