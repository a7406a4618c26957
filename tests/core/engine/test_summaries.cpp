#include "core/engine/ExteriorSummary.h"
#include "core/engine/Recoil.h"
#include "core/engine/TerminalBallistics.h"
#include "core/common/Numbers.h"
#include "support/TestFolder.h"

#include <gtest/gtest.h>
#include <cmath>

using namespace fendrel;

TEST(Summaries, RecoilStyleFormFactorAndExteriorLines) {
    EXPECT_EQ(classifyStyle("Spitzer"), StyleClass::None); // the search is case-sensitive
    EXPECT_EQ(classifyStyle("Hornady RN"), StyleClass::RoundNose);
    EXPECT_EQ(classifyStyle("flat base spitzer"), StyleClass::SemiPointed); // flat comes first
    EXPECT_EQ(classifyStyle("polymer ballistic tip"), StyleClass::Pointed);
    EXPECT_EQ(styleFromAnswer("2"), StyleClass::SemiPointed);
    EXPECT_EQ(styleFromAnswer(" 2"), StyleClass::None);
    EXPECT_EQ(formFactorFor(StyleClass::SemiPointed, 2100), 0.7);
    EXPECT_EQ(formFactorFor(StyleClass::SemiPointed, 1999), 0.75);
    EXPECT_EQ(formFactorFor(StyleClass::Pointed, 2000), 0.515);
    EXPECT_EQ(formFactorFor(StyleClass::Pointed, 1999), 0.6);
    EXPECT_EQ(caliberValue(".308 Winchester"), 0.308);
    EXPECT_EQ(caliberValue("7mm Remington Magnum"), 7);

    EXPECT_EQ(exteriorLines(exteriorSummary(2700, 2700, 0.308, 150, 0.515, true), "M"),
              "Maximum range of projectile in a vaccuum (space) : 13326.12 M\r\n" // 14580 x .914
              "Retardation of projectile in air : 1217.1339 fs/sec\r\n"
              "Pressure (or resistance) on the meplat : 37.8462 lbs.\r\n"
              "Calculated Effective Ballistic coefficient : 0.439\r\n");
    const ExteriorSummary none = exteriorSummary(2700, 2700, 0, 0, 0, false);
    EXPECT_TRUE(none.retardation == 0 && none.meplatPressure == 0 && none.effectiveBC == 0);
    // Recoil: the worked example and its lines.
    const auto e = recoilEnergy(2700, 150, 45, 8); // 150 gr, 45 gr powder, 8 lb firearm
    ASSERT_TRUE(e);
    EXPECT_EQ(interiorLines("308 load: 150gr. \xE7" "a", *e),
              "308 LOAD: 150GR. \xC7" "A\r\nRecoil for this round is 15.07 ft. lbs.\r\n");
    EXPECT_DOUBLE_EQ(*recoilEnergy(2700, 150, 0, 8), std::pow(405000.0 / 56000, 2) * 4 / 32.16);
    EXPECT_FALSE(recoilEnergy(2700, 150, 45, 0));
    EXPECT_EQ(upperCase1252("\xE9 \xDF \xFF \x9A \xF7"), "\xC9 \xDF \x9F \x8A \xF7");
}

namespace {
TrajectoryRows sixRows() {
    TrajectoryRows rows;
    const double heights[] = {-1.5, 2.1, 0, -8.9, -26.1, -53.2};
    const std::int16_t velocities[] = {2700, 2475, 2261, 2058, 1865, 1686};
    for (int i = 0; i < 6; ++i) {
        rows.range[i + 1] = static_cast<std::int16_t>(100 * i);
        rows.height[i + 1] = heights[i];
        rows.velocity[i + 1] = velocities[i];
    }
    rows.count = 6;
    return rows;
}

std::vector<std::string> terminal(double maximum, std::optional<double> constant = 1.5,
                                  double caliber = 0.308) {
    TerminalInputs in{caliber, 150, 2700, 0.552, constant, static_cast<std::int16_t>(maximum),
                      100,     "Y"};
    return test::crlfLines(terminalLines(in, sixRows()));
}
} // namespace

// The terminal lines of a whole run are pinned by the engine's golden output files.
TEST(TerminalFigures, StopsAtTheLastRowAndSkipsWhatCannotBeFormed) {
    EXPECT_EQ(terminal(560), terminal(500)); // 5.6 rounds to 6: seven rows asked, six exist
    const auto out = terminal(500, std::nullopt, 0);
    EXPECT_EQ(out[2], "Calculated effective sectional density: 0.000");
    EXPECT_EQ(out[6].substr(0, 15), " 0, 2700,0.000,");

    test::TestFolder folder;
    EXPECT_EQ(readExpansionConstant(folder.path()), 1.5);
    folder.write("expansion_constant.ini", "  2.25 , 7\r\n");
    EXPECT_EQ(readExpansionConstant(folder.path()), 2.25);
    std::filesystem::remove(folder / "expansion_constant.ini");
    EXPECT_FALSE(readExpansionConstant(folder.path()));
}
