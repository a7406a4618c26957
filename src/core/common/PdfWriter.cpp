#include "PdfWriter.h"

#include "Encoding.h"
#include "FontMetrics.h"
#include "Numbers.h"

#include <cmath>
#include <vector>

namespace fendrel {

namespace {

// A coordinate or size to a thousandth of a point, without trailing zeros.
std::string pdfNumber(double value) {
    const double rounded = std::round(value * 1000) / 1000;
    std::string t = formatPattern(rounded == 0 ? 0.0 : rounded, "0.###");
    if (t.back() == '.')
        t.pop_back();
    return t;
}

// A PDF string of windows-1252 bytes: the delimiters escaped, everything outside printable
// ASCII as an octal escape.
std::string pdfString(std::string_view bytes) {
    std::string out = "(";
    for (const char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '(' || c == ')' || c == '\\') {
            out += '\\';
            out += ch;
        } else if (c < 32 || c > 126) {
            out += '\\';
            out += static_cast<char>('0' + (c >> 6));
            out += static_cast<char>('0' + ((c >> 3) & 7));
            out += static_cast<char>('0' + (c & 7));
        } else {
            out += ch;
        }
    }
    return out + ")";
}

std::string contentStream(const PageDrawing& page) {
    std::string s;
    const auto y = [&](double top) { return pdfNumber(page.height - top); };
    for (const DrawnBox& b : page.boxes)
        s += pdfNumber(b.grey) + " g " + pdfNumber(b.x) + " " + y(b.y + b.height) + " " +
             pdfNumber(b.width) + " " + pdfNumber(b.height) + " re f\n";
    s += "0 g 0 G\n";
    for (const DrawnLine& l : page.lines)
        s += pdfNumber(l.width) + " w " + pdfNumber(l.x1) + " " + y(l.y1) + " m " +
             pdfNumber(l.x2) + " " + y(l.y2) + " l S\n";
    for (const DrawnText& t : page.texts) {
        const double width = textWidth(t.text, t.size, t.bold);
        const double x = t.align == TextAlign::Left     ? t.x
                         : t.align == TextAlign::Center ? t.x - width / 2
                                                        : t.x - width;
        s += std::string("BT /") + (t.bold ? "F2 " : "F1 ") + pdfNumber(t.size) + " Tf " +
             pdfNumber(x) + " " + y(t.y) + " Td " + pdfString(utf8ToCp1252(t.text)) +
             " Tj ET\n";
    }
    return s;
}

} // namespace

std::string pdfDocument(const PageDrawing& page, std::string_view title) {
    const std::string content = contentStream(page);
    const std::string font = " /Subtype /Type1 /Encoding /WinAnsiEncoding /BaseFont /Helvetica";
    const std::vector<std::string> objects = {
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + pdfNumber(page.width) + " " +
            pdfNumber(page.height) +
            "] /Resources << /Font << /F1 4 0 R /F2 5 0 R >> >> /Contents 6 0 R >>",
        "<< /Type /Font" + font + " >>",
        "<< /Type /Font" + font + "-Bold >>",
        "<< /Length " + std::to_string(content.size()) + " >>\nstream\n" + content +
            "\nendstream",
        "<< /Title " + pdfString(utf8ToCp1252(title)) + " /Producer (Fen-drel) >>"};
    // The binary comment tells transfer programs the file is not text.
    std::string out = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
    std::vector<std::size_t> offsets;
    for (std::size_t i = 0; i < objects.size(); ++i) {
        offsets.push_back(out.size());
        out += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const std::size_t xref = out.size();
    out += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (const std::size_t offset : offsets) {
        const std::string digits = std::to_string(offset);
        out += std::string(10 - digits.size(), '0') + digits + " 00000 n \n";
    }
    out += "trailer\n<< /Size " + std::to_string(objects.size() + 1) +
           " /Root 1 0 R /Info 7 0 R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
    return out;
}

} // namespace fendrel
