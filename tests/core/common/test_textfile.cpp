// Field and line reading, record writing, and replacing files safely.
#include "core/common/Numbers.h"
#include "core/common/TextFile.h"
#include "support/TestFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

using namespace fendrel;
namespace fs = std::filesystem;

namespace {

// Every field of the bytes, read until the end of the file.
std::vector<std::string> allFields(const std::string& bytes) {
    FieldReader reader(bytes);
    std::vector<std::string> fields;
    while (!reader.atEnd()) {
        fields.push_back(reader.readField());
        if (fields.size() > 1000)
            break; // a reader that stops advancing must not hang the test
    }
    return fields;
}

using Fields = std::vector<std::string>;

} // namespace

// ---------------------------------------------------------------------------------------------
// Fields

TEST(ReadField, QuotedAndBareFields) {
    EXPECT_EQ(allFields("\"30-06\",\"160\"\r\n"), (Fields{"30-06", "160"}));
    EXPECT_EQ(allFields("abc,def\r\n"), (Fields{"abc", "def"}));
    EXPECT_EQ(allFields("\"quoted\",bare,\"again\"\r\n"), (Fields{"quoted", "bare", "again"}));
}

TEST(ReadField, ALineEndSeparatesLikeAComma) {
    EXPECT_EQ(allFields("a\r\nb\r\nc\r\n"), (Fields{"a", "b", "c"}));
    EXPECT_EQ(allFields("\"a\"\r\n\"b\""), (Fields{"a", "b"}));
    EXPECT_EQ(allFields("a,b\r\nc,d\r\n"), (Fields{"a", "b", "c", "d"}));
}

TEST(ReadField, BlanksAroundFields) {
    // Leading blanks skipped; trailing blanks of a bare field dropped.
    EXPECT_EQ(allFields("   abc   ,  def\r\n"), (Fields{"abc", "def"}));
    // Blanks inside a bare field stay.
    EXPECT_EQ(allFields("IMR 4831 Lot 12345,x\r\n"), (Fields{"IMR 4831 Lot 12345", "x"}));
    // Inside quotes every blank is part of the field.
    EXPECT_EQ(allFields("  \" padded \"  ,x\r\n"), (Fields{" padded ", "x"}));
}

TEST(ReadField, QuotesProtectCommas) {
    EXPECT_EQ(allFields("\"7mm, Magnum\",next\r\n"), (Fields{"7mm, Magnum", "next"}));
    EXPECT_EQ(allFields("7mm, Magnum\r\n"), (Fields{"7mm", "Magnum"}));
    // Only an opening quote is special.
    EXPECT_EQ(allFields("ab\"c,d\r\n"), (Fields{"ab\"c", "d"}));
    EXPECT_EQ(allFields("x,y"), (Fields{"x", "y"}));
}

TEST(ReadField, TextAfterTheClosingQuoteIsSkippedUpToTheSeparator) {
    EXPECT_EQ(allFields("\"abc\"xyz,next\r\n"), (Fields{"abc", "next"}));
    EXPECT_EQ(allFields("\"abc\" tail\r\nnext\r\n"), (Fields{"abc", "next"}));
    EXPECT_EQ(allFields("\"a\"\"b\",c\r\n"), (Fields{"a", "c"}));
}

TEST(ReadField, AQuotedFieldRunsToTheNextQuoteEvenAcrossALineEnd) {
    EXPECT_EQ(allFields("\"one\r\ntwo\",three\r\n"), (Fields{"one\r\ntwo", "three"}));
}

TEST(ReadField, EmptyFields) {
    EXPECT_EQ(allFields("a,,b\r\n"), (Fields{"a", "", "b"}));
    EXPECT_EQ(allFields("\"\",\"x\"\r\n"), (Fields{"", "x"}));
    EXPECT_EQ(allFields("\"\",\"\",\"\"\r\n"), (Fields{"", "", ""}));
}

TEST(ReadField, AnUnterminatedQuoteRunsToTheEndOfTheFile) {
    FieldReader reader("\"abc, def");
    EXPECT_EQ(reader.readField(), "abc, def");
    EXPECT_TRUE(reader.atEnd());
    // Reading past the end never fails.
    EXPECT_EQ(reader.readField(), "");
    EXPECT_TRUE(reader.atEnd());
}

TEST(ReadField, BytesOfTheCodePagePassThrough) {
    EXPECT_EQ(allFields("\"45\xB0\",caf\xE9\r\n"), (Fields{"45\xB0", "caf\xE9"}));
}

TEST(ReadField, NumericFieldsReadByTheLeadingNumber) {
    FieldReader reader("  2800  ,\".421\",24 in\r\n");
    EXPECT_EQ(leadingNumber(reader.readField()), 2800);
    EXPECT_DOUBLE_EQ(leadingNumber(reader.readField()), 0.421);
    EXPECT_EQ(leadingNumber(reader.readField()), 24);
}

// ---------------------------------------------------------------------------------------------
// End of file and records

TEST(EndOfFile, EmptyFileIsAtTheEndAtOnce) {
    EXPECT_TRUE(FieldReader("").atEnd());
    EXPECT_TRUE(FieldReader().atEnd());
}

TEST(EndOfFile, TheLineEndAfterTheLastFieldIsConsumedWithIt) {
    FieldReader reader("\"a\",\"b\"\r\n");
    EXPECT_FALSE(reader.atEnd());
    reader.readField();
    EXPECT_FALSE(reader.atEnd());
    reader.readField();
    EXPECT_TRUE(reader.atEnd());

    FieldReader bare("last\r\n");
    bare.readField();
    EXPECT_TRUE(bare.atEnd());
}

TEST(Records, ReadByFieldCountNotByLine) {
    FieldReader reader("\"1\",\"2\",\"3\"\r\n\"4\",\"5\",\"6\"\r\n");
    std::vector<std::string> fields;
    ASSERT_TRUE(reader.readRecord(3, fields));
    EXPECT_EQ(fields, (Fields{"1", "2", "3"}));
    ASSERT_TRUE(reader.readRecord(3, fields));
    EXPECT_EQ(fields, (Fields{"4", "5", "6"}));
    EXPECT_TRUE(reader.atEnd());

    // The same six fields are one record of six.
    FieldReader six("\"1\",\"2\",\"3\"\r\n\"4\",\"5\",\"6\"\r\n");
    ASSERT_TRUE(six.readRecord(6, fields));
    EXPECT_EQ(fields, (Fields{"1", "2", "3", "4", "5", "6"}));
    EXPECT_TRUE(six.atEnd());
}

TEST(Records, ARecordCutShortByTheEndOfTheFileIsNoRecord) {
    FieldReader reader("\"a\",\"b\",\"c\"\r\n\"d\",\"e\"\r\n");
    std::vector<std::string> fields;
    ASSERT_TRUE(reader.readRecord(3, fields));
    EXPECT_FALSE(reader.readRecord(3, fields));
    EXPECT_TRUE(reader.atEnd());

    FieldReader empty("");
    EXPECT_FALSE(empty.readRecord(6, fields));
}

TEST(Records, EighteenFieldsSurviveWritingAndReading) {
    const std::vector<std::string> round = {
        "30-06: 160gr. BrandA", ".30-06 Springfield", "160", ".421", ".552", "BrandA",
        "Spitzer, boat tail", "IMR 4831 Lot 12345", "60", "2800", "CCI 250 Magnum rifle Lot 12345",
        "Federal Lot 12345", "(type or select)", "BBR", "2024", "(optional)", "", "9.5"};
    const std::string bytes = quotedRecord(round) + quotedRecord(round);
    FieldReader reader(bytes);
    std::vector<std::string> fields;
    ASSERT_TRUE(reader.readRecord(18, fields));
    EXPECT_EQ(fields, round);
    ASSERT_TRUE(reader.readRecord(18, fields));
    EXPECT_EQ(fields, round);
    EXPECT_TRUE(reader.atEnd());
}

// ---------------------------------------------------------------------------------------------
// Lines

TEST(ReadLine, TheRestOfTheLineUpToCrLf) {
    FieldReader reader("first line\r\n  \"second\", x  \r\n\r\nlast");
    EXPECT_EQ(reader.readLine(), "first line");
    EXPECT_EQ(reader.readLine(), "  \"second\", x  ");
    EXPECT_EQ(reader.readLine(), "");
    EXPECT_FALSE(reader.atEnd());
    EXPECT_EQ(reader.readLine(), "last");
    EXPECT_TRUE(reader.atEnd());
}

TEST(ReadLine, AfterAFieldReadsTheRestOfThatLine) {
    FieldReader reader("a,b,c\r\nnext\r\n");
    EXPECT_EQ(reader.readField(), "a");
    EXPECT_EQ(reader.readLine(), "b,c");
    EXPECT_EQ(reader.readLine(), "next");
    EXPECT_TRUE(reader.atEnd());
}

// ---------------------------------------------------------------------------------------------
// Writing

TEST(QuotedRecord, TextsQuotedNumbersBareCrLfAtTheEnd) {
    EXPECT_EQ(quotedRecord(std::vector<RecordValue>{std::string("a b"), 0.076474, 500.0, -0.5}),
              "\"a b\",.076474,500,-.5\r\n");
    EXPECT_EQ(quotedRecord(std::vector<std::string>{"x", "", "7mm, Magnum"}),
              "\"x\",\"\",\"7mm, Magnum\"\r\n");
    EXPECT_EQ(quotedRecord(std::vector<RecordValue>{0.0, 2.5, std::string("z")}), "0,2.5,\"z\"\r\n");
}

TEST(PlainLine, TextUnchangedThenCrLf) {
    EXPECT_EQ(plainLine("  \"as is\", 1 "), "  \"as is\", 1 \r\n");
    EXPECT_EQ(plainLine(""), "\r\n");
}

