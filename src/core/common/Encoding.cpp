// windows-1252 <-> UTF-8.
#include "Encoding.h"

#include <algorithm>

#include <cstdint>

namespace fendrel {

namespace {

// Unicode code points of the bytes 0x80 to 0x9F.
constexpr char32_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

char byteFor(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return static_cast<char>(cp);
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] == cp)
            return static_cast<char>(0x80 + i);
    return '?';
}

// The code point of the UTF-8 sequence at text[i] and its length; false for a malformed one.
bool decodeAt(std::string_view text, size_t i, char32_t& cp, size_t& len) {
    const size_t n = text.size();
    auto b = static_cast<unsigned char>(text[i]);
    if (b < 0x80) {
        cp = b;
        len = 1;
    } else if ((b & 0xE0) == 0xC0) {
        cp = b & 0x1F;
        len = 2;
    } else if ((b & 0xF0) == 0xE0) {
        cp = b & 0x0F;
        len = 3;
    } else if ((b & 0xF8) == 0xF0) {
        cp = b & 0x07;
        len = 4;
    } else {
        return false;
    }
    if (i + len > n)
        return false;
    for (size_t k = 1; k < len; ++k) {
        auto c = static_cast<unsigned char>(text[i + k]);
        if ((c & 0xC0) != 0x80)
            return false;
        cp = (cp << 6) | (c & 0x3F);
    }
    return true;
}

} // namespace

std::string cp1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (unsigned char b : bytes) {
        if (b < 0x80)
            out.push_back(static_cast<char>(b));
        else if (b < 0xA0)
            appendUtf8(out, kHigh[b - 0x80]);
        else
            appendUtf8(out, b);
    }
    return out;
}

std::string pathToFileText(std::string_view path) {
    std::string text = utf8ToCp1252(path);
    if (cp1252ToUtf8(text) == path)
        return text;
    return std::string(kUtf8PathMark) + std::string(path);
}

std::string pathFromFileText(std::string_view text) {
    if (text.substr(0, kUtf8PathMark.size()) == kUtf8PathMark)
        return std::string(text.substr(kUtf8PathMark.size()));
    return cp1252ToUtf8(text);
}

std::string pathToHtmlText(std::string_view path) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (size_t i = 0; i < path.size();) {
        char32_t cp = 0;
        size_t len = 1;
        if (!decodeAt(path, i, cp, len)) {
            const auto b = static_cast<unsigned char>(path[i]);
            out += {'%', kHex[b >> 4], kHex[b & 15]};
            ++i;
            continue;
        }
        const char byte = byteFor(cp);
        if (byte != '?' || cp == '?')
            out.push_back(byte);
        else
            out += "&#" + std::to_string(static_cast<unsigned long>(cp)) + ";";
        i += len;
    }
    return out;
}

std::string utf8ToCp1252(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        char32_t cp = 0;
        size_t len = 1;
        const bool ok = decodeAt(text, i, cp, len);
        out.push_back(ok ? byteFor(cp) : '?');
        i += ok ? len : 1;
    }
    return out;
}

std::string utf16Encoding(std::string_view bytes) {
    if (bytes.substr(0, 2) == "\xFF\xFE")
        return "UTF-16 (little endian)";
    if (bytes.substr(0, 2) == "\xFE\xFF")
        return "UTF-16 (big endian)";
    // Without a mark: the first characters are ASCII with a NUL byte beside each.
    const std::size_t pairs = std::min<std::size_t>(bytes.size() / 2, 8);
    if (pairs < 2)
        return {};
    bool little = true, big = true;
    for (std::size_t i = 0; i < pairs; ++i) {
        const char a = bytes[2 * i], b = bytes[2 * i + 1];
        little = little && a != 0 && b == 0;
        big = big && a == 0 && b != 0;
    }
    return little ? "UTF-16 (little endian)" : big ? "UTF-16 (big endian)" : std::string();
}

} // namespace fendrel
