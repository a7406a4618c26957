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
    EXPECT_FALSE(session.choosePdf(host));
    EXPECT_EQ(host.files.size(), 1u);
    // The drag file dialog opens in the program folder; the file chosen is the card's.
    session.chooseDragFile(host);
    EXPECT_EQ(host.choices.back().startFolder, folder.path());
    EXPECT_EQ(session.form().dragFile, (folder / "other").string());
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
    other.description = "";
    session.takeFromHistory(other, host);
    EXPECT_NE(host.last().find("show the round in the main window first"), std::string::npos);
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

// Corrections the card gives at 2700 ft/s, typed over a card at 2650: the fit finds 2700 again,
// Use gives the card that velocity, and the summary says it is trued.
TEST_F(RangeCardSessionTest, TruesTheVelocityFromObservedCorrectionsAndUsesIt) {
    session.setText(F::Velocity, "2700");
    session.recompute();
    std::vector<RangeCardForm::Observation> rows;
    for (const RangeCardRow& r : session.card()->rows)
        if (r.range == 300 || r.range == 500 || r.range == 700)
            rows.push_back({generalNumber(r.range), roundTripNumber(*r.elevationMoa), ""});
    session.setText(F::Velocity, "2650");
    EXPECT_FALSE(session.fitTruing(RangeCardSession::TruingKind::Velocity, host));
    EXPECT_EQ(host.titles.back(), "Truing");
    EXPECT_NE(host.last().find("Type the observed corrections first"), std::string::npos);
    rows.push_back({"", "", ""}); // the blank row to type into
    session.setObservations(rows);

    ASSERT_TRUE(session.fitTruing(RangeCardSession::TruingKind::Velocity, host)) << host.last();
    const auto& t = *session.truing();
    EXPECT_EQ(t.before.size(), 3u);
    EXPECT_LT(t.before.back().residual, -0.5); // the slower card dials more
    for (const TruingResidual& r : t.after)
        EXPECT_NEAR(r.residual, 0, 0.001);
    EXPECT_NEAR(leadingNumber(t.fieldText), 2700, 0.5);
    EXPECT_EQ(t.result.rfind("Muzzle velocity 2700.0 ft/s \u00B1 0.0 (+50.0 from the card's)", 0),
              0u)
        << t.result;
    session.useTruing();
    EXPECT_EQ(session.text(F::Velocity), t.fieldText);
    session.recompute();
    EXPECT_NE(session.summary().find("    Trued: velocity"), std::string::npos);

    // Kept with the load of the round on the main window, after its date; offered back by
    // From history... to a card that has forgotten it.
    EXPECT_FALSE(session.saveTruing(std::nullopt, host));
    host.inputs = {"yesterday", "2024-06-02"};
    EXPECT_FALSE(session.saveTruing(kRound, host));
    ASSERT_TRUE(session.saveTruing(kRound, host)) << host.last();
    EXPECT_EQ(host.last(), "The truing is kept with the load \"308 Match 168\" of 2024-06-02.");
    {
        // A metric card takes it in m/s.
        RangeCardSession fresh(folder.path(), kRound);
        fresh.setMetric(true);
        host.answers = {true};
        fresh.takeFromHistory(kRound, host);
        EXPECT_EQ(host.asked.back().rfind("Use the latest truing of \"308 Match 168\", of "
                                          "2024-06-02: muzzle velocity 823.0 m/s \u00B1 0.0?",
                                          0),
                  0u)
            << host.asked.back();
        EXPECT_EQ(fresh.text(F::Velocity), fieldNumber(leadingNumber(t.fieldText) * 0.3048, 6));
        EXPECT_EQ(fresh.truedText(), "Trued: velocity");
    }
    session.setText(F::Velocity, "2650");
    session.recompute();
    EXPECT_EQ(session.summary().find("Trued"), std::string::npos);
    EXPECT_FALSE(session.truing()); // fitted to the card as it was

    // The observations follow the units and the click unit, and are remembered.
    session.setMetric(true);
    EXPECT_EQ(session.form().observations[0].range, "274.32");
    session.setClickUnit(ClickUnit::Mil);
    EXPECT_EQ(session.form().observations[0].correction,
              fieldNumber(leadingNumber(rows[0].correction) * 3.14159265358979 / 10.8));
    ASSERT_TRUE(session.saveSettings().ok());
    const RangeCardForm back = RangeCardForm::read(folder.path());
    EXPECT_EQ(back.observations.size(), 3u);
    EXPECT_EQ(back.observations[0].range, "274.32");

    // A bad observation, or a BC without its velocities, is told and fits nothing.
    session.setObservations({{"300", "lots", ""}});
    EXPECT_FALSE(session.fitTruing(RangeCardSession::TruingKind::DropScale, host));
    EXPECT_NE(host.last().find("must be a number of mil, not 'lots'"), std::string::npos);
    EXPECT_FALSE(session.fitTruing(RangeCardSession::TruingKind::BallisticCoefficient, host));
    EXPECT_EQ(host.last(), "Enter the near velocity and the distance it was measured at.");
}

TEST_F(RangeCardSessionTest, TruesTheBallisticCoefficientAndADropScale) {
    EXPECT_FALSE(session.saveTruing(kRound, host));
    EXPECT_EQ(host.last(), "Fit first: the truing kept is the last fit's.");
    session.setText(F::NearVelocity, "2650");
    session.setText(F::NearDistance, "0");
    session.setText(F::FarVelocity, "1800");
    session.setText(F::FarDistance, "800");
    ASSERT_TRUE(session.fitTruing(RangeCardSession::TruingKind::BallisticCoefficient, host))
        << host.last();
    EXPECT_EQ(session.truing()->result.rfind("BC 0.", 0), 0u) << session.truing()->result;
    session.useTruing();
    EXPECT_EQ(session.text(F::BallisticCoefficient), session.truing()->fieldText);
    const std::string trued = session.truing()->fieldText;
    host.inputs = {"2024-06-03"};
    ASSERT_TRUE(session.saveTruing(kRound, host)) << host.last();
    session.recompute();
    EXPECT_NE(session.summary().find("Trued: BC"), std::string::npos) << session.summary();

    // A correction past Mach 1.2 a little larger than the card's: a drop scale above 1.
    session.setText(F::BallisticCoefficient, ".462");
    session.recompute();
    const RangeCardRow& far = session.card()->rows.back(); // 1000 yd, subsonic
    ASSERT_LT(far.mach, 1.2);
    session.setObservations({{"1000", roundTripNumber(*far.elevationMoa + 0.2), ""}});
    ASSERT_TRUE(session.fitTruing(RangeCardSession::TruingKind::DropScale, host)) << host.last();
    ASSERT_EQ(session.truing()->knots.size(), 1u);
    EXPECT_GT(session.truing()->knots[0].factor, 1);
    session.useTruing();
    session.recompute();
    EXPECT_NE(session.summary().find("drop scale (Mach"), std::string::npos);
    EXPECT_NEAR(*session.card()->rows.back().elevationMoa, *far.elevationMoa + 0.2, 0.01);
    host.inputs = {"2024-06-01"};
    ASSERT_TRUE(session.saveTruing(kRound, host)) << host.last();
    session.clearDropScale();
    session.recompute();
    EXPECT_EQ(session.summary().find("drop scale"), std::string::npos);

    // The latest truing by date is the BC's.
    RangeCardSession fresh(folder.path(), kRound);
    host.answers = {true};
    fresh.takeFromHistory(kRound, host);
    EXPECT_NE(host.asked.back().find("of 2024-06-03: BC 0."), std::string::npos)
        << host.asked.back();
    EXPECT_EQ(fresh.text(F::BallisticCoefficient), trued);
}

// The field card: bands and brackets typed as lists (and converted with the units), the
// columns they and the danger space add, the point-blank zero, and the DOPE card as PDF.
TEST_F(RangeCardSessionTest, FieldCardColumnsPointBlankZeroAndDopeCard) {
    session.setText(F::BcBands, "0.47@2600, 0.45@1600");
    session.setText(F::WindBrackets, "5, 10");
    session.setText(F::DangerHeight, "18");
    session.recompute();
    ASSERT_TRUE(session.card()) << session.refusal();
    TextTable extra = session.extraColumns();
    EXPECT_EQ(extra.headers, (std::vector<std::string>{"5 mph\nMOA", "10 mph\nMOA", "Danger\nyd"}));
    ASSERT_EQ(extra.rows.size(), session.card()->rows.size());
    EXPECT_EQ(extra.rows[0], (std::vector<std::string>{"-", "-", "-"})); // the muzzle
    const double five = leadingNumber(extra.rows[5][0]), ten = leadingNumber(extra.rows[5][1]);
    EXPECT_NEAR(ten, 2 * five, 0.02);
    EXPECT_GT(leadingNumber(extra.rows[5][2]), 0);

    session.setMetric(true);
    EXPECT_EQ(session.text(F::BcBands), "0.47@792.48, 0.45@487.68");
    EXPECT_EQ(session.text(F::WindBrackets), "2.2352, 4.4704");
    session.setMetric(false);
    session.setText(F::BcBands, "0.47@fast");
    session.recompute();
    EXPECT_EQ(session.refusal().rfind("The BC bands are written BC@velocity", 0), 0u);
    session.setText(F::BcBands, "");

    // The zero of the maximum point-blank range for a 6 in zone, after the zone's diameter.
    host.inputs = {"big", "6"};
    session.pointBlank(host);
    EXPECT_EQ(host.last(), "The vital zone's diameter must be a number, not 'big'.");
    session.pointBlank(host);
    ASSERT_TRUE(session.pointBlankZone());
    EXPECT_EQ(session.text(F::Zero), fieldNumber(session.pointBlankZone()->zeroRange, 5));
    EXPECT_EQ(host.last().rfind("Maximum point-blank range ", 0), 0u) << host.last();
    const std::string zero = session.text(F::Zero);
    host.inputs = {"0"};
    session.pointBlank(host);
    EXPECT_EQ(host.last(), "The vital zone must be above 0 and at most 100 in.");
    EXPECT_EQ(session.text(F::Zero), zero);
    session.setText(F::Zero, "100");
    EXPECT_FALSE(session.pointBlankZone()); // a zero of the user's own

    // The DOPE card: laid out, refused past its size, and saved as PDF with its rows.
    RangeCardSession::DopeFields dope = session.dopeDefaults();
    EXPECT_EQ(dope.from + " " + dope.to + " " + dope.every, "100 1000 100");
    dope.date = "2024-05-18";
    const auto card = session.dopeCard(dope, kRound);
    ASSERT_TRUE(card) << card.refusal;
    EXPECT_EQ(card.value.ranges.size(), 10u);
    dope.every = "50";
    EXPECT_NE(session.dopeCard(dope, kRound).refusal.find("at most 12 rows"), std::string::npos);
    dope.every = "often";
    EXPECT_EQ(session.dopeCard(dope, kRound).refusal,
              "The DOPE card's step must be a number, not 'often'.");
    EXPECT_FALSE(session.saveDopePdf(dope, kRound, host));
    dope.every = "100";
    host.files = {folder / "card"};
    const auto pdf = session.saveDopePdf(dope, kRound, host);
    ASSERT_TRUE(pdf);
    const std::string bytes = folder.read("card.pdf");
    EXPECT_EQ(bytes.rfind("%PDF-", 0), 0u);
    for (const char* text : {"(308 Match 168)", "(2024-05-18)", "(1000)"})
        EXPECT_NE(bytes.find(text), std::string::npos) << text;
}
