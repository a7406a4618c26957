// Field and line reading and record writing of the program's comma-separated files.
#include "core/common/Numbers.h"
#include "core/common/TextFile.h"

#include <gtest/gtest.h>

using namespace fendrel;
using Fields = std::vector<std::string>;

namespace {
// Every field of the bytes, read until the end of the file.
Fields allFields(const std::string& bytes) {
    FieldReader reader(bytes);
    Fields fields;
    while (!reader.atEnd() && fields.size() <= 1000) // a reader that stops must not hang
        fields.push_back(reader.readField());
    return fields;
}
} // namespace

TEST(FieldReader, FieldsEndsOfFileAndRecords) {
    const std::pair<std::string, Fields> cases[] = {
        {"\"30-06\",\"160\"\r\n", {"30-06", "160"}},
        {"\"quoted\",bare,\"again\"\r\n", {"quoted", "bare", "again"}},
        // A line end separates like a comma; the last may lack it.
        {"a\r\nb\r\nc\r\n", {"a", "b", "c"}}, {"\"a\"\r\n\"b\"", {"a", "b"}},
        {"a,b\r\nc,d\r\n", {"a", "b", "c", "d"}}, {"x,y", {"x", "y"}},
        // Leading blanks are skipped, trailing blanks of a bare field dropped, inner ones kept;
        // inside quotes every blank is part of the field.
        {"   abc   ,  def\r\n", {"abc", "def"}}, {"  \" padded \"  ,x\r\n", {" padded ", "x"}},
        {"IMR 4831 Lot 12345,x\r\n", {"IMR 4831 Lot 12345", "x"}},
        // Quotes protect commas; only an opening quote is special.
        {"\"7mm, Magnum\",next\r\n", {"7mm, Magnum", "next"}},
        {"7mm, Magnum\r\n", {"7mm", "Magnum"}}, {"ab\"c,d\r\n", {"ab\"c", "d"}},
        // Text after the closing quote is skipped up to the separator.
        {"\"abc\"xyz,next\r\n", {"abc", "next"}}, {"\"abc\" tail\r\nnext\r\n", {"abc", "next"}},
        {"\"a\"\"b\",c\r\n", {"a", "c"}},
        // A quoted field runs to the next quote even across a line end.
        {"\"one\r\ntwo\",three\r\n", {"one\r\ntwo", "three"}},
        {"a,,b\r\n", {"a", "", "b"}}, {"\"\",\"\",\"\"\r\n", {"", "", ""}}, {"", {}},
        {"\"45\xB0\",caf\xE9\r\n", {"45\xB0", "caf\xE9"}}, // bytes of the code page pass through
    };
    for (const auto& [bytes, fields] : cases)
        EXPECT_EQ(allFields(bytes), fields) << bytes;

    FieldReader numbers("  2800  ,\".421\",24 in\r\n");
    EXPECT_EQ(leadingNumber(numbers.readField()), 2800);
    EXPECT_DOUBLE_EQ(leadingNumber(numbers.readField()), 0.421);
    EXPECT_EQ(leadingNumber(numbers.readField()), 24);
    // An unterminated quote runs to the end of the file; reading past the end never fails.
    FieldReader open("\"abc, def");
    EXPECT_EQ(open.readField(), "abc, def");
    EXPECT_TRUE(open.atEnd());
    EXPECT_EQ(open.readField(), "");
    EXPECT_TRUE(open.atEnd());
    EXPECT_TRUE(FieldReader().atEnd());

    // The line end after the last field is consumed with it.
    FieldReader reader("\"a\",\"b\"\r\n");
    reader.readField();
    EXPECT_FALSE(reader.atEnd());
    reader.readField();
    EXPECT_TRUE(reader.atEnd());
    FieldReader bare("last\r\n");
    bare.readField();
    EXPECT_TRUE(bare.atEnd());

    // Records are read by field count, not by line, and never cut short.
    const std::string two = "\"1\",\"2\",\"3\"\r\n\"4\",\"5\",\"6\"\r\n";
    Fields fields;
    FieldReader threes(two);
    ASSERT_TRUE(threes.readRecord(3, fields));
    EXPECT_EQ(fields, (Fields{"1", "2", "3"}));
    ASSERT_TRUE(threes.readRecord(3, fields));
    EXPECT_EQ(fields, (Fields{"4", "5", "6"}));
    EXPECT_TRUE(threes.atEnd());
    FieldReader six(two);
    ASSERT_TRUE(six.readRecord(6, fields));
    EXPECT_EQ(fields, (Fields{"1", "2", "3", "4", "5", "6"}));
    EXPECT_TRUE(six.atEnd());

    // A record cut short by the end of the file is no record.
    FieldReader cut("\"a\",\"b\",\"c\"\r\n\"d\",\"e\"\r\n");
    ASSERT_TRUE(cut.readRecord(3, fields));
    EXPECT_FALSE(cut.readRecord(3, fields));
    EXPECT_TRUE(cut.atEnd());
    EXPECT_FALSE(FieldReader("").readRecord(6, fields));
}

TEST(FieldReader, RecordsWrittenAndReadBackAndLines) {
    const Fields round = {
        "30-06: 160gr. BrandA", ".30-06 Springfield", "160", ".421", ".552", "BrandA",
        "Spitzer, boat tail", "IMR 4831 Lot 12345", "60", "2800", "CCI 250 Magnum rifle Lot 12345",
        "Federal Lot 12345", "(type or select)", "BBR", "2024", "(optional)", "", "9.5"};
    FieldReader reader(quotedRecord(round) + quotedRecord(round));
    Fields fields;
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(reader.readRecord(18, fields));
        EXPECT_EQ(fields, round);
    }
    EXPECT_TRUE(reader.atEnd());
    EXPECT_EQ(quotedRecord(std::vector<RecordValue>{std::string("a b"), 0.076474, 500.0, -0.5}),
              "\"a b\",.076474,500,-.5\r\n");
    EXPECT_EQ(quotedRecord(Fields{"x", "", "7mm, Magnum"}), "\"x\",\"\",\"7mm, Magnum\"\r\n");
    EXPECT_EQ(quotedRecord(std::vector<RecordValue>{0.0, 2.5, std::string("z")}), "0,2.5,\"z\"\r\n");
    EXPECT_EQ(plainLine("  \"as is\", 1 "), "  \"as is\", 1 \r\n");
    EXPECT_EQ(plainLine(""), "\r\n");
    // A line is read up to its CR LF; after a field, the rest of that line.
    FieldReader lines("first line\r\n  \"second\", x  \r\n\r\nlast");
    EXPECT_EQ(lines.readLine(), "first line");
    EXPECT_EQ(lines.readLine(), "  \"second\", x  ");
    EXPECT_EQ(lines.readLine(), "");
    EXPECT_FALSE(lines.atEnd());
    EXPECT_EQ(lines.readLine(), "last");
    EXPECT_TRUE(lines.atEnd());
    FieldReader after("a,b,c\r\nnext\r\n");
    EXPECT_EQ(after.readField(), "a");
    EXPECT_EQ(after.readLine(), "b,c");
    EXPECT_EQ(after.readLine(), "next");
    EXPECT_TRUE(after.atEnd());
}

