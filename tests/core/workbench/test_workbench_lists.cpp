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

// ---------------------------------------------------------------------------------------------
// Reference lists

class ReferenceLists : public ::testing::Test {
protected:
    test::TestFolder folder{false};
    List load(const std::string& bytes) {
        folder.write("calibers.ini", bytes);
        return loadReferenceList(folder / "calibers.ini");
    }
};

TEST_F(ReferenceLists, EntriesAreSortedAlphabeticallyWhateverTheFileOrder) {
    EXPECT_EQ(load("cherry\r\napple\r\nBanana\r\n"), (List{"apple", "Banana", "cherry"}));
    EXPECT_EQ(load("zulu\r\nAlpha\r\nmike\r\nbravo\r\n"), (List{"Alpha", "bravo", "mike", "zulu"}));
}

TEST_F(ReferenceLists, CommasSplitUnlessQuoted) {
    EXPECT_EQ(load("7mm Remington, Magnum\r\n"), (List{"7mm Remington", "Magnum"}));
    EXPECT_EQ(load("\"7mm Remington, Magnum\"\r\n"), (List{"7mm Remington, Magnum"}));
}

TEST_F(ReferenceLists, DuplicatesAndEmptyFieldsAreKept) {
    EXPECT_EQ(load("Mauser\r\nMauser\r\n"), (List{"Mauser", "Mauser"}));
    EXPECT_EQ(load("b,,a\r\n"), (List{"", "a", "b"}));
    EXPECT_EQ(load("\"\"\r\nx\r\n"), (List{"", "x"}));
}

TEST_F(ReferenceLists, BlanksAroundBareEntriesAreDropped) {
    EXPECT_EQ(load("   Sako   \r\n\"  Tikka \"\r\n"), (List{"  Tikka ", "Sako"}));
}

TEST_F(ReferenceLists, MissingOrEmptyFileGivesAnEmptyList) {
    EXPECT_TRUE(loadReferenceList(folder / "Makes.ini").empty());
    EXPECT_TRUE(load("").empty());
}

TEST_F(ReferenceLists, InsertGoesToTheAlphabeticalPlace) {
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

// ---------------------------------------------------------------------------------------------
// One tick of the validation timer

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

TEST(Validation, NoCaliberClearsTheStatusAndDisablesWhateverTheNumbers) {
    RecordNumbers n = sample();
    n.caliber = "";
    ValidationResult r = validateRecord(n);
    EXPECT_FALSE(r.valid);
    EXPECT_TRUE(r.changesStatus);
    EXPECT_EQ(r.status, "");

    n.ballisticCoefficient = "0";
    n.muzzleVelocity = "";
    r = validateRecord(n);
    EXPECT_FALSE(r.valid);
    EXPECT_TRUE(r.changesStatus);
    EXPECT_EQ(r.status, "");
}

TEST(Validation, ValidValuesEnableAndLeaveTheStatusAlone) {
    const ValidationResult r = validateRecord(sample());
    EXPECT_TRUE(r.valid);
    EXPECT_FALSE(r.changesStatus);
}

TEST(Validation, ABulletNumberThatIsNotPositiveGivesTheBulletMessage) {
    for (const char* bad : {"0", "-5", "", "abc", "-0", ".0", "0e5"}) {
        for (int field = 0; field < 3; ++field) {
            RecordNumbers n = sample();
            (field == 0 ? n.bulletWeight : field == 1 ? n.ballisticCoefficient : n.sectionalDensity) =
                bad;
            const ValidationResult r = validateRecord(n);
            EXPECT_FALSE(r.valid) << bad << " in field " << field;
            EXPECT_TRUE(r.changesStatus);
            EXPECT_EQ(r.status, kBulletMessage) << bad << " in field " << field;
        }
    }
}

TEST(Validation, ALoadNumberThatIsNotPositiveGivesTheLoadMessage) {
    for (const char* bad : {"0", "-5", "", "abc"}) {
        for (int field = 0; field < 3; ++field) {
            RecordNumbers n = sample();
            (field == 0 ? n.powderCharge : field == 1 ? n.muzzleVelocity : n.firearmWeight) = bad;
            const ValidationResult r = validateRecord(n);
            EXPECT_FALSE(r.valid) << bad << " in field " << field;
            EXPECT_TRUE(r.changesStatus);
            EXPECT_EQ(r.status, kLoadMessage) << bad << " in field " << field;
        }
    }
}

TEST(Validation, TheBulletCheckComesBeforeTheLoadCheck) {
    RecordNumbers n = sample();
    n.sectionalDensity = "0";
    n.muzzleVelocity = "";
    EXPECT_EQ(validateRecord(n).status, kBulletMessage);
}

TEST(Validation, NumbersAreReadByTheirLeadingValue) {
    RecordNumbers n = sample();
    n.bulletWeight = "160 gr";
    n.ballisticCoefficient = " .421";
    n.sectionalDensity = "5.52e-1";
    n.powderCharge = "6 0";
    n.muzzleVelocity = "2800fps";
    n.firearmWeight = "0.0001";
    EXPECT_TRUE(validateRecord(n).valid);
    n.bulletWeight = "gr 160";
    EXPECT_FALSE(validateRecord(n).valid);
}

TEST(SuggestedDescription, CaliberWeightAndMakeRunTogetherAsWritten) {
    EXPECT_EQ(suggestedDescription(".308 Winchester", "160", "BrandA"),
              ".308 Winchester: 160gr. BrandA");
    EXPECT_EQ(suggestedDescription("", "", ""), ": gr. ");
    EXPECT_EQ(suggestedDescription("7mm", " 150 ", ""), "7mm:  150 gr. ");
}

// ---------------------------------------------------------------------------------------------
// Help viewer and companion

TEST(HelpViewer, UndefinedFamilyIsReported) {
    EXPECT_EQ(helpViewerFor(0, "5.1").action, HelpAction::UndefinedSystem);
}

TEST(HelpViewer, FamilyOneUsesTheSystemFolderViewerForAnyVersion) {
    for (const char* version : {"4.0", "4.10", "5.1", ""}) {
        const HelpDecision d = helpViewerFor(1, version);
        EXPECT_EQ(d.action, HelpAction::StartViewer);
        EXPECT_EQ(d.command, "c:\\windows\\system\\hh.exe ");
    }
}

TEST(HelpViewer, FamilyTwoChoosesByVersionAboveFive) {
    const HelpDecision newer = helpViewerFor(2, "5.1");
    EXPECT_EQ(newer.action, HelpAction::StartViewer);
    EXPECT_EQ(newer.command, "c:\\windows\\hh.exe ");
    EXPECT_EQ(helpViewerFor(2, "6.0").command, "c:\\windows\\hh.exe ");
    EXPECT_EQ(helpViewerFor(2, "10.0").command, "c:\\windows\\hh.exe ");

    const HelpDecision older = helpViewerFor(2, "5.0");
    EXPECT_EQ(older.action, HelpAction::StartViewer);
    EXPECT_EQ(older.command, "c:\\winnt\\system32\\hh.exe ");
    EXPECT_EQ(helpViewerFor(2, "5").command, "c:\\winnt\\system32\\hh.exe ");
    EXPECT_EQ(helpViewerFor(2, "4.0").command, "c:\\winnt\\system32\\hh.exe ");
}

TEST(HelpViewer, OtherFamiliesDoNothing) {
    for (int family : {3, 4, -1}) {
        const HelpDecision d = helpViewerFor(family, "5.1");
        EXPECT_EQ(d.action, HelpAction::Nothing) << family;
        EXPECT_EQ(d.command, "") << family;
    }
}

TEST(Companion, TwoLinesJoinedByCrLf) {
    const std::string text = companionMissingMessage();
    const size_t crlf = text.find("\r\n");
    ASSERT_NE(crlf, std::string::npos);
    EXPECT_EQ(text.substr(0, crlf),
              "The Orrin extension was not found. Make sure it has been installed to the same "
              "folder as Fen-drel.");
    const std::string second = text.substr(crlf + 2);
    const std::string lead = "To download your free copy just visit ";
    ASSERT_EQ(second.substr(0, lead.size()), lead);
    EXPECT_GT(second.size(), lead.size()) << "the download address is missing";
    EXPECT_EQ(second.find_first_of("\r\n"), std::string::npos) << "more than two lines";
    EXPECT_EQ(std::string(kCompanionFileName), "orrin.exe");
}
