// LabRadar series reports (LBR/SRnnnn/SRnnnn Report.csv), one series a file:
//
//   sep=;
//   Device ID;LBR-0000000;;           metadata rows, padded with NULs and blanks
//   Series No;0011;;
//   Units velocity;fps;;              or m/s
//   Stats - Average;2628.47;fps;      the device's own statistics: never read
//   Shot ID;V0;V10;...;Proj. Weight;Date;Time
//   0001;2582;2571;...;142.00;04-27-2022;17:59:58;
//
// A spreadsheet's re-save has commas, no sep= line, shot numbers without their zeros, and may
// add columns and notes in rows without a shot number; the phone app writes LF, no NULs,
// "Series No;#014;;", speeds with decimals and ISO dates. A shot the radar missed has V0 = 0.
#include "ChronographLayouts.h"

#include "HistoryEntry.h"
#include "core/common/Strings.h"

namespace fendrel::exportread {

namespace {

constexpr double kGrainsPerGram = 1 / 0.06479891;

bool isLabRadarHeader(const std::vector<std::string>& f) {
    return f.size() >= 2 && asciiLower(f[0]) == "shot id" && asciiLower(f[1]) == "v0";
}

size_t labRadarHeader(const Lines& lines) {
    for (size_t i = 0; i < lines.size(); ++i)
        if (isLabRadarHeader(splitFields(lines[i].text, separatorOf(lines[i].text))))
            return i;
    return lines.size();
}

// "0011", "11", "#014" -> "SR0011", "SR0011", "SR0014"; any other text as it is.
std::string seriesName(std::string_view number) {
    std::string_view digits = trimmedView(number);
    if (digits.starts_with('#'))
        digits.remove_prefix(1);
    if (!allDigits(digits))
        return std::string(trimmedView(number));
    std::string n = std::to_string(digitsNumber(digits));
    return "SR" + std::string(n.size() < 4 ? 4 - n.size() : 0, '0') + n;
}

std::string shotList(const std::vector<int>& shots) {
    std::string out;
    for (size_t i = 0; i < shots.size(); ++i)
        out += (i == 0 ? "" : i + 1 == shots.size() ? " and " : ", ") + std::to_string(shots[i]);
    return out;
}

} // namespace

bool isLabRadar(const Lines& lines) {
    return labRadarHeader(lines) < lines.size();
}

Read readLabRadar(const Lines& lines) {
    const size_t h = labRadarHeader(lines);
    const char separator = separatorOf(lines[h].text);
    ChronographSeries s;
    bool metric = false, grams = false;
    for (size_t i = 0; i < h; ++i) {
        const auto f = splitFields(lines[i].text, separator);
        if (f.size() < 2)
            continue;
        const std::string key = asciiLower(f[0]);
        if (key == "series no") {
            s.name = seriesName(f[1]);
        } else if (key == "units velocity") {
            const auto unit = metricSpeedUnit(f[1]);
            if (!unit)
                return Read::refused(lineRefusal(lines[i].number,
                                                 "the speed unit " + shownField(f[1]) +
                                                     " is not fps or m/s"));
            metric = *unit;
        } else if (key == "units weight") {
            grams = asciiLower(f[1]).starts_with("gram") || asciiLower(f[1]) == "g";
        }
    }
    const auto header = splitFields(lines[h].text, separator);
    size_t date = header.size(), time = header.size(), weight = header.size();
    for (size_t j = 0; j < header.size(); ++j) {
        const std::string name = asciiLower(header[j]);
        date = name == "date" ? j : date;
        time = name == "time" ? j : time;
        weight = name == "proj. weight" ? j : weight;
    }
    auto at = [](const std::vector<std::string>& f, size_t j) {
        return j < f.size() ? f[j] : std::string();
    };
    for (size_t i = h + 1; i < lines.size(); ++i) {
        const TextLine& l = lines[i];
        const auto f = splitFields(l.text, separator);
        if (!allDigits(f[0]))
            continue; // blank rows, and the notes a spreadsheet's user wrote
        const auto v0 = deviceNumber(at(f, 1));
        if (v0 && *v0 == 0) {
            s.missedShots.push_back(digitsNumber(f[0]));
            continue;
        }
        const Speed speed = speedOf(at(f, 1), metric);
        if (!speed.refusal.empty())
            return Read::refused(lineRefusal(l.number, speed.refusal));
        ChronographShot shot;
        shot.fps = speed.fps;
        shot.time = clockTimeOf(at(f, time));
        if (s.date.empty())
            s.date = dateOf(at(f, date), DayMonth::MonthFirst);
        if (const auto gr = deviceNumber(at(f, weight)); gr && !s.projectileWeightGr) {
            const double grains = grams ? *gr * kGrainsPerGram : *gr;
            if (grains > 0 && grains <= kMaximumRoundNumber)
                s.projectileWeightGr = grains;
        }
        if (const std::string why = addShot(s, std::move(shot)); !why.empty())
            return Read::refused(lineRefusal(l.number, why));
    }
    ChronographExport e;
    e.layout = ChronographLayout::LabRadar;
    if (!s.missedShots.empty()) {
        const bool one = s.missedShots.size() == 1;
        e.notices.push_back((s.name.empty() ? std::string() : s.name + ": ") +
                            (one ? "shot " : "shots ") + shotList(s.missedShots) +
                            (one ? " was" : " were") + " missed (V0 = 0) and left out.");
    }
    if (s.shots.empty())
        return Read::refused(s.missedShots.empty()
                                 ? lineRefusal(lines[h].number, "the header is followed by no shots")
                                 : "The file holds no shots: every shot was missed (V0 = 0).");
    e.series.push_back(std::move(s));
    return Read::done(std::move(e));
}

} // namespace fendrel::exportread
