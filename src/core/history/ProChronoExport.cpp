// Competition Electronics ProChrono exports, speeds in ft/s. No file could be examined; the two
// layouts follow what is known of them:
//
//   Shot List,...             a shot list: one row a shot, <string>,<shot>,<speed>,...;
//   1,1,2650.5,...            shot 1 starts the next string
//
//   Shot 1,Shot 2,Shot 3      a table: each row of numbers is a string (rows of dates are not)
//   2650.5,2655,2648
#include "ChronographLayouts.h"

#include "core/common/Strings.h"

namespace fendrel::exportread {

namespace {

std::vector<std::string> proChronoFields(const std::string& line) {
    return splitFields(line, separatorOf(line));
}

bool isShotList(const std::vector<std::string>& f) {
    return asciiLower(f[0]) == "shot list";
}

bool isShotTable(const std::vector<std::string>& f) {
    return f.size() >= 2 && asciiLower(f[0]) == "shot 1" && asciiLower(f[1]) == "shot 2";
}

size_t firstFilled(const Lines& lines) {
    for (size_t i = 0; i < lines.size(); ++i)
        if (!trimmedView(lines[i].text).empty())
            return i;
    return lines.size();
}

Read readShotList(const Lines& lines, size_t header) {
    ChronographExport e;
    e.layout = ChronographLayout::ProChrono;
    for (size_t i = header + 1; i < lines.size(); ++i) {
        const auto f = proChronoFields(lines[i].text);
        if (f.size() < 3 || !allDigits(f[0]) || !allDigits(f[1]))
            continue;
        if (e.series.empty() || digitsNumber(f[1]) == 1) {
            if (e.series.size() == kMaximumSeries)
                return Read::refused(lineRefusal(lines[i].number, "more than " +
                                                                      std::to_string(
                                                                          kMaximumSeries) +
                                                                      " strings"));
            e.series.emplace_back();
            e.series.back().name = "String " + std::to_string(digitsNumber(f[0]));
        }
        const Speed speed = speedOf(f[2], false);
        std::string why = speed.refusal;
        if (why.empty())
            why = addSpeed(e.series.back(), speed.fps);
        if (!why.empty())
            return Read::refused(lineRefusal(lines[i].number, why));
    }
    return Read::done(std::move(e));
}

Read readShotTable(const Lines& lines, size_t header) {
    ChronographExport e;
    e.layout = ChronographLayout::ProChrono;
    for (size_t i = header + 1; i < lines.size(); ++i) {
        const auto f = proChronoFields(lines[i].text);
        if (!deviceNumber(f[0]))
            continue; // a blank row, a row of dates or of words
        if (e.series.size() == kMaximumSeries)
            return Read::refused(lineRefusal(lines[i].number,
                                             "more than " + std::to_string(kMaximumSeries) +
                                                 " strings"));
        ChronographSeries s;
        s.name = "String " + std::to_string(e.series.size() + 1);
        for (const std::string& field : f) {
            if (field.empty())
                continue;
            const Speed speed = speedOf(field, false);
            std::string why = speed.refusal;
            if (why.empty())
                why = addSpeed(s, speed.fps);
            if (!why.empty())
                return Read::refused(lineRefusal(lines[i].number, why));
        }
        e.series.push_back(std::move(s));
    }
    return Read::done(std::move(e));
}

} // namespace

bool isProChrono(const Lines& lines) {
    const size_t first = firstFilled(lines);
    if (first < lines.size() && isShotTable(proChronoFields(lines[first].text)))
        return true;
    for (const TextLine& l : lines)
        if (isShotList(proChronoFields(l.text)))
            return true;
    return false;
}

Read readProChrono(const Lines& lines) {
    const size_t first = firstFilled(lines);
    if (isShotTable(proChronoFields(lines[first].text)))
        return readShotTable(lines, first);
    for (size_t i = 0; i < lines.size(); ++i)
        if (isShotList(proChronoFields(lines[i].text)))
            return readShotList(lines, i);
    return Read::done({});
}

} // namespace fendrel::exportread
