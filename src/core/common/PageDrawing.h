// A page as plain drawing items, laid out once in the core and drawn the same way by the PDF
// writer (PdfWriter.h) and by a window's painter. Points (1/72 in) from the page's top left
// corner, y downward. Text is Helvetica (bold or not) in the characters of windows-1252, its
// widths those of FontMetrics.h, so that what fits here fits on paper.
#pragma once

#include <string>
#include <vector>

namespace fendrel {

enum class TextAlign { Left, Center, Right };

struct DrawnText {
    double x = 0;    // the anchor: the left end, the middle or the right end of the text
    double y = 0;    // the baseline
    double size = 8; // points
    bool bold = false;
    TextAlign align = TextAlign::Left;
    std::string text; // UTF-8
};

// A straight line, stroked in black.
struct DrawnLine {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    double width = 0.5; // points
};

// A rectangle filled in a grey (0 black, 1 white), drawn under the lines and the text.
struct DrawnBox {
    double x = 0, y = 0, width = 0, height = 0; // top left corner and size
    double grey = 0.9;
};

struct PageDrawing {
    double width = 0, height = 0; // the page, in points
    std::vector<DrawnBox> boxes;  // drawn first, in order
    std::vector<DrawnLine> lines; // then these
    std::vector<DrawnText> texts; // then these
};

} // namespace fendrel
