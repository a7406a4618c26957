// The round and firearm databases and the editor's file handling.
#include "TestFolder.h"
#include "core/workbench/Databases.h"
#include "core/workbench/EditSession.h"
#include "core/engine/RoundTexts.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

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

TEST(Databases, RecordsAreWrittenQuotedAndQuotesOfEveryVersionRead) {
    TestFolder f(false);
    EXPECT_TRUE(readAllRecords(f / "Firearms.dtb", kFirearmFields).empty());
    EXPECT_TRUE(selectionLines(f / "Firearms.dtb", kFirearmFields).empty());
    EXPECT_FALSE(containsKey(f / "Firearms.dtb", kFirearms, "SN 1"));
    ASSERT_TRUE(saveRecord(f.path(), kFirearms, {"A", "B, C", "", "SN 1", "24", "9.5"}, true).ok());
    EXPECT_EQ(f.read("Firearms.dtb"), "\"A\",\"B, C\",\"\",\"SN 1\",\"24\",\"9.5\"\r\n");
    // Typed quotes are stored so that the field rules still hold.
    std::filesystem::remove(f / "Firearms.dtb");
    Record r = firearm("SN \"7\"");
    r[4] = "24\"";
    ASSERT_TRUE(saveRecord(f.path(), kFirearms, r, false).ok());
    EXPECT_EQ(f.read("Firearms.dtb"),
              "\"Maker\",\"M1\",\"1990\",\"SN \x7F" "7\x7F\",\"24\x7F\",\"9.5\"\r\n");
    EXPECT_EQ(recordAt(f / "Firearms.dtb", kFirearmFields, 0), r);
    EXPECT_TRUE(containsKey(f / "Firearms.dtb", kFirearms, "SN \"7\""));
    // The firearm key is the serial number, and the file is found whatever its case.
    TestFolder g(false);
    g.write("firearms.dtb", encodeDatabaseRecord(firearm("X1")));
    const Record m2 = {"Maker", "M2", "1990", "X1", "24", "9"};
    ASSERT_TRUE(saveRecord(g.path(), kFirearms, firearm("X2"), false).ok());
    ASSERT_TRUE(saveRecord(g.path(), kFirearms, m2, true).ok());
    EXPECT_FALSE(std::filesystem::exists(g / "Firearms.dtb"));
    EXPECT_EQ(g.read("firearms.dtb"),
              encodeDatabaseRecord(firearm("X2")) + encodeDatabaseRecord(m2));
    // A typed 24" stored unchanged ends its field at the quote; the rest of the field is skipped
    // and the records after it stay whole. A quote inside a field shifts the fields after it.
    const std::string a = "\"Maker\",\"M1\",\"1990\",\"A\",\"24\"\",\"9.5\"\r\n";
    const std::string b = encodeDatabaseRecord(firearm("B"));
    f.write("Firearms.dtb", a + b + a);
    auto old = readAllRecords(f / "Firearms.dtb", kFirearmFields);
    ASSERT_EQ(old.size(), 3u);
    EXPECT_EQ(old[0][4], "24");
    ASSERT_TRUE(saveRecord(f.path(), kFirearms, firearm("C"), false).ok());
    EXPECT_EQ(f.read("Firearms.dtb"), a + b + a + encodeDatabaseRecord(firearm("C")));

    const std::string line = "\"P\",\".308\",\"150\",\".4\",\".2\",\"BrandA\",\"Spitzer\",\"IMR\","
                             "\"45\",\"2700\",\"CCI 200 \"Lot 7, box 2\"\",\"Fed\",\"M\",\"X\","
                             "\"1990\",\"S\",\"24\",\"8\"\r\n";
    f.write("rounds.dtb", line + line);
    auto shifted = readAllRecords(f / "rounds.dtb", kRoundFields);
    ASSERT_EQ(shifted.size(), 2u);
    EXPECT_EQ(shifted[0][10], "CCI 200 ");
    EXPECT_EQ(shifted[0][11], "box 2\"\"");
    EXPECT_EQ(shifted[0][17], "24");
    // The command line reads the same record.
    RoundTexts texts;
    ASSERT_EQ(readRound(f.path(), 0, texts), "");
    EXPECT_EQ(texts.firearmWeight, "24");
    // Doubled quotes of earlier versions are found and repaired in place.
    const std::string plain = encodeDatabaseRecord(firearm("A"));
    const std::string oldForm = "\"Maker\",\"M \"\"X\"\"\",\"1990\",\"B\",\"24\"\"\",\"\"\r\n";
    const std::string rulesForm = "\"Maker\",\"M1\",\"1990\",\"C\",\"24\"\",\"9\"\r\n";
    f.write("Firearms.dtb", plain + oldForm + rulesForm + "\"cut short\",\"");
    EXPECT_EQ(doubledQuoteRecords(f.read("Firearms.dtb"), kFirearms), 1u);
    ASSERT_TRUE(repairDatabase(f.path(), kFirearms).ok());
    EXPECT_EQ(f.read("Firearms.dtb"),
              plain + "\"Maker\",\"M \x7FX\x7F\",\"1990\",\"B\",\"24\x7F\",\"\"\r\n" + rulesForm +
                  "\"cut short\",\"");
    EXPECT_EQ(readAllRecords(f / "Firearms.dtb", kFirearmFields)[1],
              (Record{"Maker", "M \"X\"", "1990", "B", "24\"", ""}));
}

TEST(Databases, ReplacingDropsEveryRecordOfTheKeyAndPutsTheNewLast) {
    TestFolder f(false);
    for (const char* d : {"A", "B", "A", "C"}) {
        Record r = round(d);
        r[2] = keys(f).size() == 2 ? "180" : "160";
        ASSERT_TRUE(saveRecord(f.path(), kRounds, r, false).ok());
    }
    EXPECT_EQ(keys(f), (std::vector<std::string>{"A", "B", "A", "C"}));
    // Loading picks by position, not by key.
    const auto third = recordAt(f / "rounds.dtb", kRoundFields, 2);
    EXPECT_TRUE(third && (*third)[2] == "180");
    EXPECT_FALSE(recordAt(f / "rounds.dtb", kRoundFields, 4));
    EXPECT_EQ(selectionLines(f / "rounds.dtb", kRoundFields).size(), 4u);

    ASSERT_TRUE(saveRecord(f.path(), kRounds, round("A", ".224 .223 Remington"), true).ok());
    EXPECT_EQ(keys(f), (std::vector<std::string>{"B", "C", "A"}));
    EXPECT_EQ(readAllRecords(f / "rounds.dtb", kRoundFields).back()[1], ".224 .223 Remington");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(f.path()), {}), 2)
        << "only the database and the lock are left";
    // Keys are case-sensitive and untrimmed.
    EXPECT_TRUE(containsKey(f / "rounds.dtb", kRounds, "A"));
    EXPECT_FALSE(containsKey(f / "rounds.dtb", kRounds, "a"));
    EXPECT_FALSE(containsKey(f / "rounds.dtb", kRounds, "A "));
    ASSERT_TRUE(saveRecord(f.path(), kRounds, round("a"), true).ok());
    EXPECT_EQ(keys(f), (std::vector<std::string>{"B", "C", "A", "a"}));
}

TEST(Databases, BrokenEndsAreKeptAndNonDatabasesFound) {
    const std::string whole = encodeDatabaseRecord(firearm("A"));
    const Record c = firearm("C");
    // The bytes, and what stands before the new record after a save.
    const std::pair<std::string, std::string> cases[] = {
        // cut short inside a quote: closed, completed with empty fields
        {whole + "\"B\",\"M\",\"19", whole + "\"B\",\"M\",\"19\",\"\",\"\",\"\"\r\n"},
        // cut short after a separator
        {whole + "\"B\",", whole + "\"B\",\"\",\"\",\"\",\"\",\"\"\r\n"},
        {whole + "\"B\"\r\n", whole + "\"B\"\r\n\"\",\"\",\"\",\"\",\"\"\r\n"},
        // hand-written, no quotes, no final line end
        {"Maker, M1 ,1990,A,24,9.5", "Maker, M1 ,1990,A,24,9.5\r\n"},
        // blank lines after the last record hold nothing
        {whole + "\r\n\r\n", whole},
    };
    for (const auto& [bytes, expected] : cases) {
        auto after = contentsAfterSave(bytes, kFirearms, c, false);
        ASSERT_TRUE(after) << bytes;
        EXPECT_EQ(*after, expected + encodeDatabaseRecord(c)) << bytes;
        EXPECT_EQ(parseDatabase(*after, kFirearmFields).records.back().fields, c);
    }
    // The check before a restore finds what is not a database.
    EXPECT_EQ(databaseDefect("", kFirearmFields), "");
    EXPECT_EQ(databaseDefect(whole + whole, kFirearmFields), "");
    EXPECT_NE(databaseDefect(whole + std::string("\0x", 2), kFirearmFields), "");
    EXPECT_NE(databaseDefect(whole + "\"a\",\"b\"\r\n", kFirearmFields), "");
    EXPECT_NE(databaseDefect(encodeDatabaseRecord(round("r")), kFirearmFields), "")
        << "18 fields a line are no firearms";
}

TEST(Databases, ASaveCopiesEveryUntouchedRecordByteForByte) {
    // Random files of good, damaged and foreign lines: after a save, the records it kept are the
    // same bytes in the same order, the dropped ones carry the key, and the new record reads last;
    // the old Mac line end (a bare CR) meets records dropped between it and an LF.
    std::mt19937 rng(2024);
    const std::vector<std::string> pieces = {
        encodeDatabaseRecord(firearm("K")), encodeDatabaseRecord(firearm("L")),
        "\"M\",\"x\"\r\n", "\"Maker\",\"a \"quoted\" b\",\"1\",\"K\",\"2\",\"3\"\r\n",
        "plain,fields ,here,K,1,2\n", "\r\n", "\"unclosed,\r\n", ",,,,,\r", "\xff\xfe\x01,\"",
        "\"A\",\"B\",\"C\",\"K\",\"E\",\"F\",\"extra\"\r\n", "a,b,c,d,e,f\r", "\nx,"};
    for (int round = 0; round < 3000; ++round) {
        std::string bytes;
        for (int n = rng() % 8; n > 0; --n)
            bytes += pieces[rng() % pieces.size()];
        if (rng() % 3 == 0)
            bytes.resize(rng() % (bytes.size() + 1));
        const bool replace = rng() % 2;
        const Record fresh = firearm(rng() % 2 ? "K" : "N");
        auto after = contentsAfterSave(bytes, kFirearms, fresh, replace);
        ASSERT_TRUE(after) << bytes;
        const ParsedDatabase before = parseDatabase(bytes, kFirearmFields);
        size_t at = 0;
        for (const RecordSpan& span : before.records) {
            if (replace && span.fields[3] == fresh[3])
                continue;
            const std::string kept = bytes.substr(span.begin, span.end - span.begin);
            // A record ending in a bare CR is kept apart from one starting with LF.
            if (at > 0 && (*after)[at - 1] == '\r' && kept[0] == '\n' && (*after)[at] == '\n')
                ++at;
            ASSERT_EQ(after->compare(at, kept.size(), kept), 0) << bytes;
            at += kept.size();
        }
        const ParsedDatabase saved = parseDatabase(*after, kFirearmFields);
        ASSERT_FALSE(saved.records.empty());
        EXPECT_EQ(saved.records.back().fields, fresh);
        EXPECT_EQ(saved.tail, after->size());
    }
}

namespace {
struct FailAt : WriteFaults {
    WriteStep step;
    explicit FailAt(WriteStep s) : step(s) {}
    bool failAt(WriteStep s) override { return s == step; }
};
} // namespace

TEST(Databases, SavesSurviveInterruptionsPlantedLinksAndASecondProgram) {
    for (WriteStep step : {WriteStep::CreateTemporary, WriteStep::Write, WriteStep::Sync,
                           WriteStep::Rename}) {
        TestFolder f(false);
        for (const char* d : {"A", "B", "A"})
            ASSERT_TRUE(saveRecord(f.path(), kRounds, round(d), false).ok());
        const std::string before = f.read("rounds.dtb");
        FailAt fault(step);
        Status r = saveRecord(f.path(), kRounds, round("A"), true, &fault);
        EXPECT_TRUE(!r.ok() && !r.refusal.empty());
        EXPECT_EQ(f.read("rounds.dtb"), before) << static_cast<int>(step);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(f.path()), {}), 2);
    }
    // A link planted at the old temporary name is not followed.
    TestFolder f(false);
    f.write("Firearms.dtb", encodeDatabaseRecord(firearm("A")));
    std::filesystem::create_symlink(f / "Firearms.dtb", f / "rounds.tmp");
    ASSERT_TRUE(saveRecord(f.path(), kRounds, round("R"), false).ok());
    EXPECT_EQ(f.read("Firearms.dtb"), encodeDatabaseRecord(firearm("A")));
    EXPECT_EQ(keys(f), std::vector<std::string>{"R"});
    // Two programs saving at once keep every record.
    TestFolder shared(false);
    constexpr int kEach = 40;
    pid_t children[2];
    for (int c = 0; c < 2; ++c) {
        children[c] = fork();
        ASSERT_GE(children[c], 0);
        if (children[c] == 0) {
            int failures = 0;
            for (int i = 0; i < kEach; ++i) {
                const std::string key = std::to_string(c) + "-" + std::to_string(i);
                failures += !saveRecord(shared.path(), kRounds, round(key), false).ok();
            }
            _exit(failures);
        }
    }
    for (pid_t child : children) {
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    std::vector<std::string> saved = keys(shared);
    std::sort(saved.begin(), saved.end());
    ASSERT_EQ(saved.size(), 2u * kEach);
    EXPECT_EQ(std::unique(saved.begin(), saved.end()), saved.end());
}

TEST(EditSession, CountBackupTextAndSavedBytes) {
    TestFolder f(false);
    std::string error;
    EXPECT_EQ(nextEditCount(f.path(), error), 1); // a missing count starts again
    EXPECT_EQ(f.read("editsessions.dat"), "1\r\n");
    f.write("editsessions.dat", "6\r\n");
    f.write("rounds.dtb", "\r\n\r\nfirst\r\n\r\nlast\r\n");
    EditorLoad load = prepareEdit(f.path(), f / "rounds.dtb");
    ASSERT_TRUE(load.ok) << load.error;
    EXPECT_EQ(f.read("editsessions.dat"), "7\r\n");
    EXPECT_EQ(load.backup, f / "rounds 7.bak");
    EXPECT_EQ(f.read("rounds 7.bak"), f.read("rounds.dtb"));
    // Empty lines before the first text go; those after it stay; no line end after the last.
    EXPECT_EQ(load.text, "first\n\nlast");

    load = prepareEdit(f.path(), f / "nothing.txt");
    EXPECT_TRUE(!load.ok && !load.error.empty());
    f.write("editsessions.dat", "32767\r\n"); // the limit stops
    EXPECT_TRUE(!nextEditCount(f.path(), error) && !error.empty());
    EXPECT_EQ(f.read("editsessions.dat"), "32767\r\n");
    // The backup is named by the part before the first full stop.
    EXPECT_EQ(backupPath("/p", "my.list.txt", 12), std::filesystem::path("/p/my 12.bak"));
    EXPECT_EQ(backupPath("/p", "README", 3), std::filesystem::path("/p/README 3.bak"));
    // Saving drops the blanks (not tabs) that open and close the text, and ends with CR LF.
    EXPECT_EQ(editorSaveBytes("   a\n b  \n\nc  "), "a\r\n b  \r\n\r\nc\r\n");
    EXPECT_EQ(editorSaveBytes("\tx\n"), "\tx\r\n\r\n");
    EXPECT_EQ(editorSaveBytes(""), "\r\n");
}

