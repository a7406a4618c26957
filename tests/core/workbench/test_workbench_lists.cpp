// The reference lists, the record checks of the validation timer, the help viewer choice and
// the companion message.
#include "support/TestFolder.h"
#include "core/workbench/Companion.h"
#include "core/workbench/HelpLaunch.h"
#include "core/workbench/ReferenceList.h"
#include "core/workbench/RoundRecord.h"

#include <gtest/gtest.h>

using namespace fendrel;
using List = std::vector<std::string>;

TEST(ReferenceLists, SortedFieldsOfTheFileAndInsertionInPlace) {
    test::TestFolder folder{false};
    const std::pair<std::string, List> cases[] = {
        // Sorted alphabetically whatever the case and the order in the file.
        {"cherry\r\napple\r\nBanana\r\n", {"apple", "Banana", "cherry"}},
        {"zulu\r\nAlpha\r\nmike\r\nbravo\r\n", {"Alpha", "bravo", "mike", "zulu"}},
        // The entries are the fields of the file; duplicates and empty ones are kept.
        {"7mm Rem, Magnum\r\n\"7mm, Magnum\"\r\n", {"7mm Rem", "7mm, Magnum", "Magnum"}},
        {"Mauser\r\nMauser\r\n", {"Mauser", "Mauser"}},
        {"b,,a\r\n", {"", "a", "b"}},
        {"   Sako   \r\n\"  Tikka \"\r\n", {"  Tikka ", "Sako"}},
        {"", {}},
    };
    for (const auto& [bytes, list] : cases) {
        folder.write("calibers.ini", bytes);
        EXPECT_EQ(loadReferenceList(folder / "calibers.ini"), list) << bytes;
    }
    EXPECT_TRUE(loadReferenceList(folder / "Makes.ini").empty());

    List list;
    EXPECT_EQ(insertSorted(list, "Remington"), 0u);
    EXPECT_EQ(insertSorted(list, "browning"), 0u);
    EXPECT_EQ(insertSorted(list, "Winchester"), 2u);
    EXPECT_EQ(insertSorted(list, "ruger"), 2u);
    EXPECT_EQ(list, (List{"browning", "Remington", "ruger", "Winchester"}));
    EXPECT_TRUE(listOrderLess("apple", "Banana"));
    EXPECT_FALSE(listOrderLess("Banana", "apple"));
    EXPECT_TRUE(listOrderLess("abc", "abcd"));
}

// One tick of the validation timer.

namespace {
const char* const kBulletMessage =
    "Enter valid values for bullet weight, ballistic coefficient, and sectional density.";
const char* const kLoadMessage =
    "Enter valid values for powder charge, muzzle velocity, and weight of firearm";

// The sample values the main window starts with, with a caliber picked.
RecordNumbers sample() {
    return RecordNumbers{".308 Winchester", "160", ".421", ".552", "60", "2800", "9.5"};
}
} // namespace

TEST(Validation, TheStatusAndMessagesOfOneTick) {
    RecordNumbers n = sample();
    const ValidationResult valid = validateRecord(n);
    EXPECT_TRUE(valid.valid && !valid.changesStatus);
    n.caliber = "";
    for (int pass = 0; pass < 2; ++pass) { // whatever the numbers
        const ValidationResult r = validateRecord(n);
        EXPECT_TRUE(!r.valid && r.changesStatus);
        EXPECT_EQ(r.status, "");
        n.ballisticCoefficient = "0";
        n.muzzleVelocity = "";
    }
    n = {".308", "160 gr", " .421", "5.52e-1", "6 0", "2800fps", "0.0001"};
    EXPECT_TRUE(validateRecord(n).valid);
    n.bulletWeight = "gr 160";
    EXPECT_FALSE(validateRecord(n).valid);
    // A number that is not positive gives the message of its group, the bullet's first.
    using Field = std::string RecordNumbers::*;
    const Field bullet[] = {&RecordNumbers::bulletWeight, &RecordNumbers::ballisticCoefficient,
                            &RecordNumbers::sectionalDensity};
    const Field load[] = {&RecordNumbers::powderCharge, &RecordNumbers::muzzleVelocity,
                          &RecordNumbers::firearmWeight};
    for (const char* bad : {"0", "-5", "", "abc", "-0", ".0", "0e5"}) {
        for (int i = 0; i < 3; ++i) {
            for (const auto& [field, message] : {std::pair{bullet[i], kBulletMessage},
                                                 std::pair{load[i], kLoadMessage}}) {
                RecordNumbers n = sample();
                n.*field = bad;
                const ValidationResult r = validateRecord(n);
                EXPECT_FALSE(r.valid) << bad << " in field " << i;
                EXPECT_TRUE(r.changesStatus);
                EXPECT_EQ(r.status, message) << bad << " in field " << i;
            }
        }
    }
    n = sample();
    n.sectionalDensity = "0";
    n.muzzleVelocity = "";
    EXPECT_EQ(validateRecord(n).status, kBulletMessage);
}

// The help viewer and the companion.

TEST(Workbench, HelpViewerCompanionMessageAndSuggestedDescription) {
    const std::string system = "c:\\windows\\system\\hh.exe ", newer = "c:\\windows\\hh.exe ",
                      older = "c:\\winnt\\system32\\hh.exe ";
    const struct {
        int family;
        const char* version;
        HelpAction action;
        std::string command;
    } cases[] = {
        {0, "5.1", HelpAction::UndefinedSystem, ""},
        // Family one: the system folder's viewer whatever the version.
        {1, "4.10", HelpAction::StartViewer, system}, {1, "", HelpAction::StartViewer, system},
        // Family two: by the version, above 5 or not.
        {2, "5.1", HelpAction::StartViewer, newer}, {2, "6.0", HelpAction::StartViewer, newer},
        {2, "10.0", HelpAction::StartViewer, newer}, {2, "5.0", HelpAction::StartViewer, older},
        {2, "5", HelpAction::StartViewer, older}, {2, "4.0", HelpAction::StartViewer, older},
        {3, "5.1", HelpAction::Nothing, ""}, {4, "5.1", HelpAction::Nothing, ""},
        {-1, "5.1", HelpAction::Nothing, ""}, {kLinuxFamily, "", HelpAction::OwnViewer, ""},
    };
    for (const auto& c : cases) {
        const HelpDecision d = helpViewerFor(c.family, c.version);
        EXPECT_EQ(d.action, c.action) << c.family << " " << c.version;
        EXPECT_EQ(d.command, c.command) << c.family << " " << c.version;
    }
    // The companion message is two lines joined by CR LF.
    const std::string text = companionMissingMessage();
    const std::string lead =
        "The Orrin extension was not found. Make sure it has been installed to the same folder "
        "as Fen-drel.\r\nTo download your free copy just visit ";
    EXPECT_EQ(text.substr(0, lead.size()), lead);
    EXPECT_GT(text.size(), lead.size()) << "the download address is missing";
    EXPECT_EQ(text.find_first_of("\r\n", lead.size()), std::string::npos) << "more than two lines";
    // The suggested description runs caliber, weight and make together as written.
    EXPECT_EQ(suggestedDescription(".308 Winchester", "160", "BrandA"),
              ".308 Winchester: 160gr. BrandA");
    EXPECT_EQ(suggestedDescription("", "", ""), ": gr. ");
    EXPECT_EQ(suggestedDescription("7mm", " 150 ", ""), "7mm:  150 gr. ");
}

