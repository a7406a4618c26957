// The advance widths of the standard Helvetica and Helvetica-Bold, which every PDF reader has
// without an embedded font, so that a page laid out in the core fits its cells wherever it is
// drawn.
#pragma once

#include <string_view>

namespace fendrel {

// The width of the windows-1252 byte `c` in thousandths of the font size (a byte below 32 is
// as wide as a blank).
int helveticaWidth(unsigned char c, bool bold);

// The width in points of UTF-8 text at `size` points, as it is drawn: converted to
// windows-1252 (a character it has no byte for is drawn as '?').
double textWidth(std::string_view utf8, double size, bool bold);

} // namespace fendrel
