// The main window's record logic without the window: the questions a save asks and what each
// answer keeps, records read back in UTF-8, the repair offered once, and databases that cannot
// be read.
#include "ScriptedHost.h"
#include "TestFolder.h"
#include "core/workbench/RoundRecordSession.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace fendrel;
namespace fs = std::filesystem;

namespace {

struct Desk {
    test::TestFolder folder;
    SharedState state;
    RoundRecordSession session{state};
    test::ScriptedSessionHost host;
    Desk() { state.programFolder = folder.path(); }

    std::vector<Record> records(const char* file, std::size_t fields) {
        return readAllRecords(folder / file, fields);
    }
};

RecordFields fields(const std::string& description, const std::string& weight,
                    const std::string& serial = "(optional)") {
    RecordFields f(18, "");
    f[0] = description;
    f[1] = ".308 Winchester";
    f[2] = weight;
    f[12] = "Maker";
    f[15] = serial;
    return f;
}

// A pick of the selection list that takes this row, or cancels.
RoundRecordSession::Pick row(std::optional<std::size_t> chosen) {
    return [chosen](const fs::path&, int) { return chosen; };
}

} // namespace

TEST(RoundRecordSession, SavingAsksWhatTheDatabaseRequiresAndKeepsWhatTheAnswersSay) {
    Desk d;
    fs::remove(d.folder / "rounds.dtb");
    fs::remove(d.folder / "Firearms.dtb");
    EXPECT_FALSE(d.session.saveRound(fields("(Type a description)", "168"), d.host));
    EXPECT_EQ(d.host.told, std::vector<std::string>{"You must specify a DESCRIPTION"});
    EXPECT_EQ(d.host.titles, std::vector<std::string>{"Error"});

    // The first save asks only about the firearm.
    d.host.answers = {true};
    EXPECT_EQ(d.session.saveRound(fields("Test load", "168"), d.host),
              "Your firearm information has been saved...retrieve it for later use by loading "
              "firearm info");
    EXPECT_EQ(d.host.askedTitles, std::vector<std::string>{"Question?"});
    EXPECT_EQ(d.records("Firearms.dtb", 6).size(), 1u);

    // The same description: replaced after a Yes, kept beside it after a No.
    d.host.answers = {false, false};
    EXPECT_EQ(d.session.saveRound(fields("Test load", "165"), d.host)->rfind("All round", 0), 0u);
    EXPECT_EQ(d.host.askedTitles[1], "Database Integrity Conflict");
    EXPECT_EQ(d.host.askedIcons[1], MessageIcon::Error);
    EXPECT_EQ(d.records("rounds.dtb", 18).size(), 2u);
    d.host.answers = {true, false};
    ASSERT_TRUE(d.session.saveRound(fields("Test load", "170"), d.host));
    const auto rounds = d.records("rounds.dtb", 18);
    ASSERT_EQ(rounds.size(), 1u);
    EXPECT_EQ(rounds[0][2], "170");

    // A serial number is asked about; "(optional)" never is.
    const std::size_t asked = d.host.asked.size();
    d.session.saveFirearm(fields("", "", "(optional)"), d.host);
    EXPECT_EQ(d.host.asked.size(), asked);
    d.session.saveFirearm(fields("", "", "SN-1"), d.host);
    RecordFields renamed = fields("", "", "SN-1");
    renamed[13] = "New model";
    d.host.answers = {true};
    d.session.saveFirearm(renamed, d.host);
    EXPECT_EQ(d.host.asked.size(), asked + 1);
    const auto firearms = d.records("Firearms.dtb", 6);
    ASSERT_EQ(firearms.size(), 3u);
    EXPECT_EQ(firearms[2][1], "New model");

    d.host.inputs = {"Renamed"};
    EXPECT_EQ(RoundRecordSession::askDescription("Test load", d.host), "Renamed");
    EXPECT_EQ(d.host.prefills.back(), "Test load");
}

TEST(RoundRecordSession, RecordsComeBackInUtf8AndTheRepairIsOfferedOnce) {
    Desk d;
    RecordFields typed = fields("Charge \"hot\" 5°", "168");
    typed[12] = "Müller";
    ASSERT_TRUE(d.session.saveRound(typed, d.host));
    const std::string bytes = d.folder.read("rounds.dtb");
    EXPECT_NE(bytes.find("5\xB0"), std::string::npos); // kept in windows-1252
    const std::size_t last = d.records("rounds.dtb", 18).size() - 1;
    fs::path listed;
    const auto loaded =
        d.session.loadRound(d.host, [&](const fs::path& file, int count) -> std::optional<std::size_t> {
            listed = file;
            EXPECT_EQ(count, 18);
            return last;
        });
    ASSERT_TRUE(loaded);
    EXPECT_EQ((*loaded)[0], "Charge \"hot\" 5°");
    EXPECT_EQ((*loaded)[12], "Müller");
    EXPECT_EQ(listed, d.folder / "rounds.dtb");
    EXPECT_EQ(d.state.currentDataFile, listed.string());
    EXPECT_FALSE(d.session.loadRound(d.host, row(std::nullopt)));

    d.folder.write("Firearms.dtb",
                   "\"Maker\",\"Model \"\"7\"\"\",\"1988\",\"SN9\",\"22\"\"\",\"7\"\r\n");
    d.host.answers = {true};
    const auto firearm = d.session.loadFirearm(d.host, row(0));
    ASSERT_TRUE(firearm);
    EXPECT_EQ(d.host.askedTitles.back(), "Repair the database?");
    EXPECT_EQ((*firearm)[1], "Model \"7\"");
    EXPECT_EQ((*firearm)[4], "22\"");
    const std::size_t asked = d.host.asked.size();
    d.folder.write("Firearms.dtb", "\"Maker\",\"Model \"\"8\"\"\",\"1988\",\"SN9\",\"22\",\"7\"\r\n");
    d.session.loadFirearm(d.host, row(0));
    EXPECT_EQ(d.host.asked.size(), asked);
}

TEST(RoundRecordSession, ADatabaseThatCannotBeReadIsNamedAndLeftAsItIs) {
    Desk d;
    fs::remove(d.folder / "rounds.dtb");
    ASSERT_EQ(::mkfifo((d.folder / "rounds.dtb").c_str(), 0600), 0);
    bool listed = false;
    EXPECT_FALSE(d.session.loadRound(d.host, [&](const fs::path&, int) {
        listed = true;
        return std::optional<std::size_t>(0);
    }));
    EXPECT_FALSE(listed);
    EXPECT_EQ(d.host.last().rfind("rounds.dtb cannot be read", 0), 0u) << d.host.last();
    d.host.answers = {false};
    EXPECT_FALSE(d.session.saveRound(fields("Test load", "168"), d.host));
    EXPECT_NE(d.host.last().find("could not be saved"), std::string::npos);
    EXPECT_NE(d.host.last().find("The database on disk is unchanged."), std::string::npos);
    EXPECT_TRUE(fs::is_fifo(d.folder / "rounds.dtb"));

    // The file to edit is the one picked from the edit list, which becomes the current file.
    d.folder.write("editlist.txt", "\"rounds.dtb\"\r\n\"Firearms.dtb\"\r\n");
    EXPECT_EQ(d.session.chooseFileToEdit(row(1)), d.folder / "Firearms.dtb");
    EXPECT_EQ(d.state.currentDataFile, (d.folder / "Firearms.dtb").string());
    EXPECT_FALSE(d.session.chooseFileToEdit(row(std::nullopt)));
    EXPECT_EQ(d.state.currentDataFile, (d.folder / "editlist.txt").string());
}
