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

} // namespace fendrel
