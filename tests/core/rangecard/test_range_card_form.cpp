// The range card window's fields: read into inputs, converted between units, remembered in
// rangecard.ini, and filled from the last group and the load history.
#include "../history/HistoryTestData.h"
#include "TestFolder.h"
#include "core/history/LoadComparison.h"
#include "core/rangecard/RangeCardForm.h"
#include "core/rangecard/RangeCardSources.h"

#include <gtest/gtest.h>

using namespace fendrel;
using F = CardField;

namespace {

RangeCardForm filled() {
    RangeCardForm form;
    form[F::BallisticCoefficient] = "0.462";
    form[F::Velocity] = "2700";
    return form;
}

std::string refusal(const RangeCardForm& form) {
    RangeCardInput in;
    return form.cardInput("/nowhere", in);
}

} // namespace

TEST(RangeCardForm, ReadsTheFieldsIntoACardAndRefusesWhatIsNotANumber) {
    RangeCardForm form = filled();
    form[F::Twist] = " -10 ";
    form[F::Pressure] = "";
    form.setClickUnit(ClickUnit::Mil);
    RangeCardInput in;
    ASSERT_EQ(form.cardInput("/nowhere", in), "");
    EXPECT_EQ(in.ballisticCoefficient, 0.462);
    EXPECT_EQ(in.twist, -10);
    EXPECT_FALSE(in.pressure || in.weight || in.latitude);
    EXPECT_TRUE(in.zeroRange == 100 && in.windFrom == 90); // as the form starts
    EXPECT_TRUE(in.clickUnit == ClickUnit::Mil && in.click == 0.1);
    form[F::Click] = "";
    ASSERT_EQ(form.cardInput("/nowhere", in), "");
    EXPECT_EQ(in.click, 0.1);

    form[F::Velocity] = "";
    EXPECT_EQ(refusal(form), "Enter the muzzle velocity.");
    form[F::Velocity] = "2,700";
    EXPECT_EQ(refusal(form), "The muzzle velocity must be a number, not '2,700'.");
    form[F::Velocity] = "1e999";
    EXPECT_EQ(refusal(form), "The muzzle velocity is too large.");
    form = filled();
    form.dragModel = DragModel::File;
    EXPECT_NE(refusal(form).find("drag file"), std::string::npos);
    form.dragFile = "drag.csv";
    ASSERT_EQ(form.cardInput("/prog", in), "");
    EXPECT_EQ(in.dragFile, std::filesystem::path("/prog/drag.csv"));
}

TEST(RangeCardForm, ConvertsUnitsBothWaysAndTakesTheRound) {
    RangeCardForm form = filled();
    form[F::Temperature] = "41";
    form[F::Length] = "1.2";
    form[F::Latitude] = "45.123456";
    form[F::Pressure] = "about 30";
    // The typed fields, then those the form started with (the card's and the hit chances'),
    // then an angle and a text that is no number, both kept as typed.
    const auto texts = [&form] {
        std::string out;
        for (F f : {F::Velocity, F::Temperature, F::Length, F::BallisticCoefficient, F::Zero,
                    F::SightHeight, F::VelocityTemperature, F::VelocitySd, F::WindSd,
                    F::TargetWidth, F::Latitude, F::Pressure})
            out += form[f] + "|";
        return out;
    };
    form.setMetric(true);
    EXPECT_EQ(texts(), "822.96|5|30.48|0.462|91.44|3.81|15|3.048|0.89408|25.4|45.123456|about 30|");
    form.setMetric(false);
    EXPECT_EQ(texts(), "2700|41|1.2|0.462|100|1.5|59|10|2|10|45.123456|about 30|");

    form.setMetric(true);
    form.takeRound({"", ".308 Winchester", "", ".475", "", "", "", "2650", ""});
    EXPECT_EQ(form[F::BallisticCoefficient], "0.475");
    EXPECT_EQ(form[F::Velocity], "807.72");
    EXPECT_EQ(form[F::Weight], "");
    EXPECT_EQ(form[F::Diameter], "7.8232");
}

TEST(RangeCardForm, GivesTheHitRangesFromTheZeroToTheMaximum) {
    RangeCardForm form = filled();
    form.shape = TargetShape::Circle;
    form[F::TargetWidth] = "not used";
    form[F::WindSd] = "";
    RangeCardInput card;
    ASSERT_EQ(form.cardInput("/nowhere", card), "");
    HitInput hit;
    ASSERT_EQ(form.hitInput(card, 20, hit), "");
    ASSERT_EQ(hit.ranges.size(), 20u);
    EXPECT_TRUE(hit.ranges.front() == 100 && hit.ranges.back() == 1000);
    EXPECT_TRUE(hit.diameter == 10 && hit.windSd == 0 && hit.velocitySd == 10);

    form.shape = TargetShape::Rectangle;
    EXPECT_EQ(form.hitInput(card, 20, hit), "The target width must be a number, not 'not used'.");
    card.maximum = 100;
    form[F::TargetWidth] = "10";
    EXPECT_NE(form.hitInput(card, 20, hit).find("larger than the zero"), std::string::npos);
}

TEST(RangeCardForm, RemembersItsFieldsAndSurvivesADamagedFile) {
    test::TestFolder folder(false);
    RangeCardForm form = filled();
    form.setMetric(true);
    form.dragModel = DragModel::G7;
    form.clickUnit = ClickUnit::Mil;
    form.shape = TargetShape::Circle;
    form[F::Twist] = "-254\r\nunits=imperial";
    ASSERT_TRUE(form.write(folder.path()).ok());
    const RangeCardForm back = RangeCardForm::read(folder.path());
    EXPECT_TRUE(back.metric && back.dragModel == DragModel::G7 &&
                back.clickUnit == ClickUnit::Mil && back.shape == TargetShape::Circle);
    EXPECT_EQ(back[F::Twist], "-254  units=imperial");
    for (const CardFieldInfo& f : cardFields()) {
        if (f.field != F::Twist) {
            EXPECT_EQ(back[f.field], form[f.field]) << f.key;
        }
    }

    folder.write("rangecard.ini",
                 std::string("\0\xff\r\n", 4) +
                     "units=furlongs\ndrag=G9\nzero=300\nnonsense\nstep=" + std::string(5000, '9'));
    const RangeCardForm damaged = RangeCardForm::read(folder.path());
    EXPECT_FALSE(damaged.metric);
    EXPECT_EQ(damaged.dragModel, DragModel::G1);
    EXPECT_EQ(damaged[F::Zero], "300");
    EXPECT_EQ(damaged[F::Step], "100");
}

TEST(RangeCardSources, TakesTheDispersionFromAGroupAndTheHistory) {
    RangeCardForm form;
    LastGroup group;
    group.meanRadius = 0.6;
    ASSERT_EQ(takeGroupDispersion(form, group, " 200 "), "");
    EXPECT_EQ(form[F::Dispersion], fieldNumber(rayleighSigmaMoa(0.6, 200), 3));
    EXPECT_NE(takeGroupDispersion(form, group, "0"), "");
    EXPECT_NE(takeGroupDispersion(form, group, "far"), "");

    LoadHistory load;
    for (const char* date : {"2024-05-01", "2024-06-01"}) {
        const double first = 2700.0 + 30 * load.strings.size();
        load.strings.push_back(test::velocityString(date, {first, 2710, 2720}));
        load.strings.back().temperatureF = 50;
        load.groups.push_back(test::paperGroup(date, 42.5));
        load.groups.back().distanceYd = 100 * load.groups.size();
    }
    form.metric = false;
    ASSERT_EQ(takeHistoryString(form, load, "1"), "");
    EXPECT_EQ(form[F::Velocity], "2720");
    EXPECT_EQ(form[F::VelocitySd], "10");
    EXPECT_EQ(form[F::VelocityTemperature], "50");
    ASSERT_EQ(takeHistoryString(form, load, "2"), "");
    EXPECT_EQ(form[F::Velocity], "2710");
    EXPECT_NE(takeHistoryString(form, load, "3"), "");
    EXPECT_EQ(offerStrings(load, false).substr(0, 14), "1: 2024-06-01,");

    ASSERT_EQ(takeHistoryGroups(form, load, "All"), "");
    EXPECT_EQ(form[F::Dispersion], fieldNumber(pooledDispersionMoa(load.groups), 3));
    ASSERT_EQ(takeHistoryGroups(form, load, "2, 2"), "");
    EXPECT_EQ(form[F::Dispersion], fieldNumber(groupSigmaMoa(load.groups[0]), 3));
    EXPECT_NE(takeHistoryGroups(form, load, "1,x"), "");
}
