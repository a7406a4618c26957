// The windows-1252 bytes of the files against the UTF-8 text of the windows.
#include "core/common/Encoding.h"

#include <gtest/gtest.h>

using namespace fendrel;

namespace {
// The code points of a UTF-8 text; a malformed sequence fails the test.
std::u32string codePoints(const std::string& utf8) {
    std::u32string out;
    for (size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        size_t len = b < 0x80 ? 1 : (b & 0xE0) == 0xC0 ? 2 : (b & 0xF0) == 0xE0 ? 3 : 4;
        char32_t cp = len == 1 ? b : len == 2 ? (b & 0x1F) : len == 3 ? (b & 0x0F) : (b & 0x07);
        EXPECT_LE(i + len, utf8.size()) << "truncated sequence";
        for (size_t k = 1; k < len && i + k < utf8.size(); ++k) {
            const auto c = static_cast<unsigned char>(utf8[i + k]);
            EXPECT_EQ(c & 0xC0, 0x80) << "bad continuation byte";
            cp = (cp << 6) | (c & 0x3F);
        }
        out.push_back(cp);
        i += len;
    }
    return out;
}

std::string byte(int b) { return std::string(1, static_cast<char>(b)); }
} // namespace

TEST(Encoding, BytesCharactersAndPaths) {
    std::string all;
    for (int b = 0; b < 256; ++b) {
        const std::string utf8 = cp1252ToUtf8(byte(b));
        EXPECT_EQ(codePoints(utf8).size(), 1u) << "byte " << b;
        EXPECT_EQ(utf8ToCp1252(utf8), byte(b)) << "byte " << b;
        // ASCII, the Latin-1 half and the five undefined bytes are their own code points.
        if ((b & 0xE0) != 0x80 || b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D) {
            EXPECT_EQ(codePoints(utf8), std::u32string(1, char32_t(b))) << "byte " << b;
        }
        all += byte(b);
    }
    EXPECT_EQ(utf8ToCp1252(cp1252ToUtf8(all)), all);
    EXPECT_EQ(cp1252ToUtf8("45\xB0"), "45\xC2\xB0"); // the degree sign
    // The windows row; characters without a byte become '?'; malformed text keeps the rest.
    EXPECT_EQ(cp1252ToUtf8("\x80"), "\xE2\x82\xAC");         // euro sign
    EXPECT_EQ(cp1252ToUtf8("\x9F"), "\xC5\xB8");             // Y with diaeresis
    EXPECT_EQ(cp1252ToUtf8("\x93quoted\x94"), "\xE2\x80\x9Cquoted\xE2\x80\x9D");
    EXPECT_EQ(cp1252ToUtf8("\x85"), "\xE2\x80\xA6");         // ellipsis
    EXPECT_EQ(cp1252ToUtf8("\x99"), "\xE2\x84\xA2");         // trade mark
    EXPECT_EQ(utf8ToCp1252("\xE2\x80\x93"), "\x96");          // en dash
    EXPECT_EQ(utf8ToCp1252("\xCE\xA9"), "?");                   // Greek capital omega
    EXPECT_EQ(utf8ToCp1252("\xE4\xB8\xAD"), "?");               // a CJK ideograph
    EXPECT_EQ(utf8ToCp1252("a\xF0\x9F\x8E\xAF" "b"), "a?b");    // a four-byte character
    // U+0080 has no byte: 0x80 is the euro sign.
    EXPECT_EQ(utf8ToCp1252("\xC2\x80"), "?");
    EXPECT_EQ(utf8ToCp1252("Caf\xC3\xA9 \xE2\x82\xAC" "5 \xCE\xA9"), "Caf\xE9 \x80" "5 ?");
    const std::string out = utf8ToCp1252("ab\xFF" "cd\xC3");
    EXPECT_EQ(out.substr(0, 2), "ab");
    EXPECT_NE(out.find("cd"), std::string::npos);
    EXPECT_EQ(out.find('\xFF'), std::string::npos);
    // Every path reads back as itself, in the files' code page when it can.
    const std::string cyrillic = "/home/\xD0\x98\xD0\xB2\xD0\xB0\xD0\xBD/data/";
    const std::string broken = "/srv/\xFC\xFF/"; // bytes that are no UTF-8
    const std::pair<std::string, std::string> cases[] = { // the path and its text
        {"/home/ann/", "/home/ann/"},
        {"/home/j\xC3\xBCrgen/Schie\xC3\x9F" "en/", "/home/j\xFCrgen/Schie\xDF" "en/"},
        {cyrillic, "\xEF\xBB\xBF" + cyrillic},
        {broken, "\xEF\xBB\xBF" + broken},
        {"/a \xE2\x82\xAC/", "/a \x80/"}, // the euro sign has a byte of its own
    };
    for (const auto& [path, text] : cases) {
        EXPECT_EQ(pathToFileText(path), text) << path;
        EXPECT_EQ(pathFromFileText(text), path) << path;
    }
    EXPECT_EQ(pathToHtmlText("C:\\Schie\xC3\x9F" "en\\\xD0\x98.htm"), "C:\\Schie\xDF" "en\\&#1048;.htm");
    EXPECT_EQ(pathToHtmlText("/x\xFC/"), "/x%FC/");
}

