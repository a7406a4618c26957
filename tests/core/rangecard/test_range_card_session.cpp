// The range card window's logic without the window: the card kept current, rangecard.ini
// written only when a field changed, the files the user chooses, and the last group and the
// load history offered through the host's questions.
#include "../history/HistoryTestData.h"
#include "ScriptedHost.h"
#include "TestFolder.h"
#include "core/history/HistoryDatabase.h"
#include "core/history/LoadComparison.h"
#include "core/rangecard/RangeCardSession.h"

#include <gtest/gtest.h>

using namespace fendrel;
using F = CardField;

namespace {
const RoundTexts kRound = {"308 Match 168", "", "168", ".462", "", "", "", "2650", ""};
} // namespace

// A session over the round on the main window, answered by a scripted host.
struct RangeCardSessionTest : ::testing::Test {
    test::TestFolder folder;
    RangeCardSession session{folder.path(), kRound};
    test::ScriptedSessionHost host;
};

TEST_F(RangeCardSessionTest, KeepsTheCardCurrentAndWritesTheSettingsOnlyAfterAChange) {
    session.recompute();
    ASSERT_TRUE(session.card());
    EXPECT_EQ(session.hitRows().size(), 20u);
    EXPECT_EQ(session.summary().rfind("Muzzle velocity 2650 ft/s", 0), 0u) << session.summary();

    // Typing the same text is no change; another text is, until the card is computed again.
    session.setText(F::Velocity, session.text(F::Velocity));
    EXPECT_TRUE(session.current());
    session.setText(F::Velocity, "fast");
    EXPECT_FALSE(session.current());
    session.recompute();
    EXPECT_FALSE(session.card());
    EXPECT_EQ(session.refusal(), "The muzzle velocity must be a number, not 'fast'.");
    EXPECT_TRUE(session.hitRows().empty() && session.csv().empty() && session.summary().empty());

    // A target of no size refuses the chance of a hit alone.
    session.setText(F::Velocity, "2650");
    session.setShape(TargetShape::Circle);
    session.setText(F::TargetDiameter, "0");
    session.recompute();
    EXPECT_TRUE(session.card());
    EXPECT_TRUE(session.hitRows().empty() && session.hitAssumptions().empty());
    EXPECT_FALSE(session.hitRefusal().empty());

    ASSERT_TRUE(session.saveSettings().ok());
    folder.write("rangecard.ini", "kept");
    ASSERT_TRUE(session.saveSettings().ok());
    EXPECT_EQ(folder.read("rangecard.ini"), "kept");
    session.setMetric(true);
    ASSERT_TRUE(session.saveSettings().ok());
    EXPECT_NE(folder.read("rangecard.ini"), "kept");
}

TEST_F(RangeCardSessionTest, SavesTheChosenFilesButNeverOverTheProgramsOwn) {
    EXPECT_FALSE(session.saveCsv(host)); // cancelled
    ASSERT_EQ(host.choices.size(), 1u);
    EXPECT_EQ(host.choices[0].fileName, "Range card.csv");

    host.files = {folder / "card", folder / "card"};
    const auto csv = session.saveCsv(host);
    ASSERT_TRUE(csv);
    EXPECT_EQ(*csv, folder / "card.csv");
    EXPECT_EQ(folder.read("card.csv"), session.csv());
    EXPECT_EQ(session.choosePdf(host), folder / "card.pdf");

    const std::string rounds = folder.read("rounds.dtb");
    host.files = {folder / "rounds.dtb", folder / "rounds.dtb", folder / "rangecard.ini"};
    EXPECT_FALSE(session.saveCsv(host));
    EXPECT_FALSE(session.choosePdf(host));
    EXPECT_FALSE(session.saveCsv(host));
    ASSERT_EQ(host.told.size(), 3u);
    for (const std::string& told : host.told)
        EXPECT_NE(told.find("program's own files"), std::string::npos) << told;
    EXPECT_EQ(folder.read("rounds.dtb"), rounds);

    // Nothing to save without a card.
    session.setText(F::BallisticCoefficient, "");
    host.files = {folder / "other"};
    EXPECT_FALSE(session.saveCsv(host));
    EXPECT_EQ(host.files.size(), 1u);
}

TEST_F(RangeCardSessionTest, TakesTheLastGroupAtTheDistanceTheUserGives) {
    session.recompute();
    session.takeLastGroup(std::nullopt, host);
    EXPECT_EQ(host.titles.back(), "From last group");
    EXPECT_NE(host.last().find("No group has been measured yet."), std::string::npos);

    LastGroup group;
    group.meanRadius = 0.8;
    const std::string before = session.text(F::Dispersion);
    session.takeLastGroup(group, host); // the distance cancelled
    EXPECT_EQ(session.text(F::Dispersion), before);
    EXPECT_TRUE(session.current());
    EXPECT_EQ(host.asked.back(),
              "The last group's mean radius is 0.8 in. At what distance was it shot, in yards?");

    host.inputs = {"far", "200"};
    group.shots = {{0, 0}, {1, 1}, {0, 1}};
    session.takeLastGroup(group, host);
    EXPECT_EQ(session.text(F::Dispersion), before);
    EXPECT_EQ(host.told.size(), 2u);
    session.takeLastGroup(group, host);
    EXPECT_EQ(session.text(F::Dispersion), fieldNumber(rayleighSigmaMoa(0.8, 200), 3));
    EXPECT_EQ(session.text(F::DispersionShots), "3"); // and so the band of the chance
    EXPECT_FALSE(session.current());
}

TEST_F(RangeCardSessionTest, TakesAStringAndPooledGroupsFromTheHistory) {
    session.takeFromHistory(kRound, host);
    EXPECT_EQ(host.last(), "No load history has been kept yet.");
    EXPECT_FALSE(std::filesystem::exists(folder / "history.sqlite"));

    const HistoryGroup g = test::paperGroup("2024-06-01", 42.5);
    {
        const auto history = test::openHistory(folder.path());
        auto s = test::velocityString("2024-06-01", {2690, 2700, 2710});
        s.temperatureF = 80;
        ASSERT_TRUE(history->addString(kRound.description, s).ok());
        s = test::velocityString("2024-01-15", {2650, 2660});
        s.temperatureF = 30;
        ASSERT_TRUE(history->addString(kRound.description, s).ok());
        ASSERT_TRUE(history->addGroup(kRound.description, g).ok());
    }
    RoundTexts other = kRound;
    other.description = "Another load";
    session.takeFromHistory(other, host);
    EXPECT_EQ(host.last(), "The load history holds nothing for \"Another load\".");

    // A refused answer stops before the groups are offered.
    host.inputs = {"7"};
    const size_t asked = host.asked.size();
    session.takeFromHistory(kRound, host);
    EXPECT_EQ(host.asked.size(), asked + 1);
    EXPECT_EQ(session.text(F::Velocity), "2650");

    // The string and the groups, with the shots behind them; then the sensitivity of the
    // load's strings at their two temperatures, after a Yes: (2700 - 2655) / 50 ft/s per F.
    host.inputs = {"1", "all"};
    host.answers = {true};
    session.takeFromHistory(kRound, host);
    EXPECT_EQ(session.text(F::Velocity), "2700");
    EXPECT_EQ(session.text(F::VelocitySdShots), "3");
    EXPECT_EQ(session.text(F::Dispersion), fieldNumber(groupSigmaMoa(g), 3));
    EXPECT_EQ(session.text(F::DispersionShots), "2");
    EXPECT_EQ(host.asked.back().rfind("Take the temperature sensitivity of \"" +
                                          kRound.description + "\"?\n\n0.9 ft/s per \u00B0F (",
                                      0),
              0u)
        << host.asked.back();
    EXPECT_EQ(session.text(F::Sensitivity), "0.9");
    EXPECT_FALSE(session.current());
}
