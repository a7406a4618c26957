// A one-page PDF of a PageDrawing: the page of its size, the standard Helvetica and
// Helvetica-Bold in WinAnsi encoding (the text converted from UTF-8 to windows-1252), one
// uncompressed content stream, and a cross-reference table of the objects' byte offsets. The
// bytes are 7-bit ASCII after the header's binary comment, and the same for the same drawing.
#pragma once

#include "PageDrawing.h"

#include <string>
#include <string_view>

namespace fendrel {

std::string pdfDocument(const PageDrawing& page, std::string_view title);

} // namespace fendrel
