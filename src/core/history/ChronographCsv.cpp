// Reading chronograph exports.
#include "ChronographCsv.h"

#include "ChronographLayouts.h"
#include "HistoryEntry.h"
#include "ImportFile.h"
#include "core/common/Encoding.h"
#include "core/common/Strings.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <string>

namespace fendrel {

namespace {

using Shots = Result<std::vector<double>>;

constexpr double kMetresPerFoot = 0.3048;

// A decimal number and nothing else: optional sign, digits, at most one decimal mark (the
// point, or also the comma when `decimalComma`). No exponent: chronographs write none.
std::optional<double> strictNumber(std::string_view text, bool decimalComma) {
    std::string plain;
    size_t i = 0, digits = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        plain.push_back(text[i++]);
    if (!plain.empty() && plain[0] == '+')
        plain.clear();
    bool mark = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            plain.push_back(c);
            ++digits;
        } else if ((c == '.' || (decimalComma && c == ',')) && !mark) {
            plain.push_back('.');
            mark = true;
        } else {
            return std::nullopt;
        }
    }
    if (digits == 0)
        return std::nullopt;
    double value = 0;
    const auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (error == std::errc::result_out_of_range)
        return text.front() == '-' ? -HUGE_VAL : HUGE_VAL; // refused below as too fast
    if (error != std::errc() || end != plain.data() + plain.size())
        return std::nullopt;
    return value;
}

// Checks one speed and converts it to ft/s; the reason it is refused otherwise.
std::string takeSpeed(std::string_view text, bool decimalComma, bool metric,
                      std::vector<double>& shots) {
    const auto value = strictNumber(text, decimalComma);
    if (!value)
        return text.empty() ? "no speed" : exportread::shownField(text) + " is not a number";
    if (!(*value > 0))
        return "the speed " + exportread::shownField(text) + " is not a positive number";
    const double fps = metric ? *value / kMetresPerFoot : *value;
    if (!(fps <= kMaximumSpeedFps))
        return "the speed " + exportread::shownField(text) + " is above 20000 ft/s";
    if (shots.size() == kMaximumShots)
        return "more than " + std::to_string(kMaximumShots) + " shots";
    shots.push_back(fps);
    return {};
}

struct Line {
    int number;
    std::string_view text;
};

std::string upper(std::string_view t) {
    std::string u(t);
    for (char& c : u)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return u;
}

struct Header {
    char separator = ',';
    size_t column = 0;
    size_t columns = 0;
    bool metric = false;
};

std::optional<Header> speedHeader(std::string_view line) {
    Header h;
    h.separator = line.find(';') != std::string_view::npos ? ';' : ',';
    const auto fields = exportread::splitFields(line, h.separator);
    h.columns = fields.size();
    for (size_t j = 0; j < fields.size(); ++j) {
        const std::string name = upper(fields[j]);
        const bool fps = name.find("FPS") != std::string::npos;
        if (fps || name.find("M/S") != std::string::npos) {
            h.column = j;
            h.metric = !fps;
            return h;
        }
    }
    return std::nullopt;
}

Shots refuse(int line, const std::string& why) {
    return Shots::refused("Line " + std::to_string(line) + ": " + why + ".");
}

} // namespace

Shots exportread::readPlainExport(std::string_view bytes, std::string* title) {
    if (const std::string encoding = utf16Encoding(bytes); !encoding.empty())
        return Shots::refused("The file is in " + encoding + "; save it as UTF-8 or plain text.");
    bytes = withoutUtf8Mark(bytes);
    std::vector<Line> lines; // the lines that are not blank
    int number = 0;
    for (size_t start = 0; start <= bytes.size();) {
        size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos)
            end = bytes.size();
        std::string_view text = bytes.substr(start, end - start);
        if (!text.empty() && text.back() == '\r')
            text.remove_suffix(1);
        ++number;
        if (!isUtf8(text))
            return refuse(number, "the text is not UTF-8");
        if (!trimmedView(text).empty())
            lines.push_back({number, text});
        start = end + 1;
    }
    if (lines.empty())
        return Shots::refused("The file holds no shots.");

    std::vector<double> shots;
    size_t first = 0;
    // A header on the second line makes the first one the title, even when the title also
    // names FPS or M/S ("FPS test, 10 May").
    std::optional<Header> header;
    if (lines.size() > 1 && (header = speedHeader(lines[1].text))) {
        first = 2;
        if (title) {
            std::string_view t = lines[0].text;
            while (!t.empty() && (t.back() == header->separator || t.back() == ' '))
                t.remove_suffix(1);
            *title = unquoted(t);
        }
    }
    else if ((header = speedHeader(lines[0].text)))
        first = 1;

    if (!header) {
        // A plain column of speeds.
        for (const Line& l : lines) {
            if (const std::string why = takeSpeed(trimmedView(l.text), false, false, shots);
                !why.empty()) {
                // A first line that is a number is a speed refused for its value.
                if (&l == &lines.front() && !strictNumber(trimmedView(l.text), false))
                    return refuse(l.number,
                                  "not a chronograph export (no column named FPS or M/S in the "
                                  "header) nor a column of speeds");
                return refuse(l.number, why);
            }
        }
        return Shots::done(std::move(shots));
    }

    const char end[] = {'-', header->separator, 0};
    for (size_t i = first; i < lines.size(); ++i) {
        const Line& l = lines[i];
        if (l.text.starts_with("-,") || l.text.starts_with(end))
            break; // the summary rows follow
        const auto fields = exportread::splitFields(l.text, header->separator);
        if (header->columns == 1 && fields.size() > 1)
            return refuse(l.number, "more fields than the header names");
        if (header->column >= fields.size())
            return refuse(l.number, "no value in the speed column (column " +
                                        std::to_string(header->column + 1) + ")");
        if (const std::string why =
                takeSpeed(fields[header->column], header->separator == ';', header->metric, shots);
            !why.empty())
            return refuse(l.number, why);
    }
    if (shots.empty())
        return refuse(lines[first - 1].number, "the header is followed by no shots");
    return Shots::done(std::move(shots));
}

Shots readChronographCsv(std::string_view bytes) {
    return exportread::readPlainExport(bytes, nullptr);
}

Shots readChronographFile(const std::filesystem::path& file) {
    const auto bytes = readImportFile(file);
    if (!bytes)
        return Shots::refused(bytes.refusal);
    return readChronographCsv(bytes.value);
}

Shots readTypedShots(std::string_view text) {
    std::vector<double> shots;
    size_t i = 0;
    while (i < text.size()) {
        const size_t start = text.find_first_not_of(" \t\r\n,;", i);
        if (start == std::string_view::npos)
            break;
        size_t end = text.find_first_of(" \t\r\n,;", start);
        if (end == std::string_view::npos)
            end = text.size();
        if (const std::string why = takeSpeed(text.substr(start, end - start), false, false, shots);
            !why.empty())
            return Shots::refused("Shot " + std::to_string(shots.size() + 1) + ": " + why + ".");
        i = end;
    }
    if (shots.empty())
        return Shots::refused("Type at least one speed.");
    return Shots::done(std::move(shots));
}

} // namespace fendrel
