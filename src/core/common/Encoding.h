// Conversion between the windows-1252 bytes of the program's files and UTF-8 text on screen.
#pragma once

#include <string>
#include <string_view>

namespace fendrel {

// Every byte maps to one character; the five bytes that windows-1252 leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the control characters of the same number.
std::string cp1252ToUtf8(std::string_view bytes);

// Characters without a windows-1252 byte become '?'. Malformed UTF-8 sequences too.
std::string utf8ToCp1252(std::string_view text);

// Paths are the system's bytes and are never converted through windows-1252; only when a path is
// written into one of the program's text files does it take the file's code page. A path that
// windows-1252 can spell is written in it; any other is written as its own bytes after the
// UTF-8 byte order mark, which no path of the old form can begin with. Either way it reads back
// as the same path.
inline constexpr std::string_view kUtf8PathMark = "\xEF\xBB\xBF";
std::string pathToFileText(std::string_view path);
std::string pathFromFileText(std::string_view text);

// A path in a windows-1252 web page: what the code page cannot spell as numeric character
// references, bytes that are no UTF-8 at all as %XX escapes.
std::string pathToHtmlText(std::string_view path);

// Text files the user brings (drag curves, chronograph exports): "UTF-16 (little endian)" or
// "UTF-16 (big endian)" when the bytes are UTF-16 (a byte order mark, or text with a NUL byte
// beside every letter), otherwise empty. Such files are refused by name, never read as garbage.
std::string utf16Encoding(std::string_view bytes);

// The bytes without a UTF-8 byte order mark at their start.
inline std::string_view withoutUtf8Mark(std::string_view bytes) {
    return bytes.substr(0, 3) == kUtf8PathMark ? bytes.substr(3) : bytes;
}

} // namespace fendrel
