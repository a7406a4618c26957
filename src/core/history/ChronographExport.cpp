// Recognising a chronograph export by its content, and reading a LabRadar card's folders.
#include "ChronographExport.h"

#include "ChronographLayouts.h"
#include "HistoryEntry.h"
#include "ImportFile.h"
#include "core/common/Strings.h"

#include <algorithm>

namespace fs = std::filesystem;

namespace fendrel {

std::string layoutName(ChronographLayout layout) {
    switch (layout) {
    case ChronographLayout::GarminXero: return "Garmin Xero (ShotView)";
    case ChronographLayout::LabRadar: return "LabRadar";
    case ChronographLayout::MagnetoSpeed: return "MagnetoSpeed";
    case ChronographLayout::MagnetoSpeedXfr: return "MagnetoSpeed XFR";
    case ChronographLayout::ShotMarker: return "ShotMarker";
    case ChronographLayout::ProChrono: return "ProChrono";
    case ChronographLayout::Generic: break;
    }
    return "chronograph export";
}

std::vector<double> ChronographSeries::speedsFps() const {
    std::vector<double> out;
    out.reserve(shots.size());
    for (const ChronographShot& s : shots)
        out.push_back(s.fps);
    return out;
}

bool ChronographSeries::hasPositions() const {
    return !shots.empty() && std::all_of(shots.begin(), shots.end(),
                                         [](const ChronographShot& s) { return s.position; });
}

namespace exportread {

size_t nextFilled(const Lines& lines, size_t index) {
    for (size_t i = index + 1; i < lines.size(); ++i)
        if (!trimmedView(lines[i].text).empty())
            return i;
    return lines.size();
}

bool allDigits(std::string_view text) {
    return !text.empty() && text.size() <= 9 &&
           text.find_first_not_of("0123456789") == std::string_view::npos;
}

int digitsNumber(std::string_view digits) {
    int v = 0;
    for (char c : digits)
        v = v * 10 + (c - '0');
    return v;
}

std::string addShot(ChronographSeries& series, ChronographShot shot) {
    if (series.shots.size() == kMaximumShots)
        return "more than " + std::to_string(kMaximumShots) + " shots in one series";
    series.shots.push_back(std::move(shot));
    return {};
}

std::string addSpeed(ChronographSeries& series, double fps) {
    ChronographShot shot;
    shot.fps = fps;
    return addShot(series, std::move(shot));
}

std::string unquoted(std::string_view text) {
    const std::string_view t = trimmedView(text);
    if (t.size() < 2 || t.front() != '"' || t.back() != '"')
        return std::string(t);
    std::string out;
    for (size_t i = 1; i + 1 < t.size(); ++i) {
        out.push_back(t[i]);
        if (t[i] == '"' && t[i + 1] == '"' && i + 2 < t.size())
            ++i;
    }
    return out;
}

std::string afterFirstField(std::string_view line, char separator) {
    bool quoted = false;
    size_t i = 0;
    for (; i < line.size(); ++i) {
        if (line[i] == '"')
            quoted = !quoted;
        else if (line[i] == separator && !quoted)
            break;
    }
    if (i >= line.size())
        return {};
    std::string_view rest = line.substr(i + 1);
    while (!rest.empty() && (rest.back() == separator || rest.back() == ' ' || rest.back() == '\t'))
        rest.remove_suffix(1);
    return unquoted(rest);
}

namespace {

// The plain export, on the text without its marks and NULs.
Read readPlain(const Lines& lines) {
    std::string text;
    for (const TextLine& l : lines)
        text.append(l.text).push_back('\n');
    text.pop_back();
    std::string title;
    auto shots = readPlainExport(text, &title);
    if (!shots)
        return Read::refused(shots.refusal);
    ChronographExport e;
    e.series.emplace_back();
    e.series.back().name = title;
    for (double fps : shots.value)
        addSpeed(e.series.back(), fps);
    return Read::done(std::move(e));
}

// The report of a LabRadar series folder: "SRnnnn Report.csv" in any case, else the one file
// whose name ends in " report.csv".
fs::path reportIn(const fs::path& folder) {
    const std::string wanted = asciiLower(folder.filename().string() + " report.csv");
    std::error_code ec;
    fs::path other;
    int others = 0;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = asciiLower(it->path().filename().string());
        if (!it->is_regular_file(ec))
            continue;
        if (name == wanted)
            return it->path();
        if (name.ends_with(" report.csv"))
            other = it->path(), ++others;
    }
    return others == 1 ? other : fs::path();
}

Read readLabRadarFolder(const fs::path& folder) {
    std::vector<fs::path> reports;
    if (fs::path own = reportIn(folder); !own.empty()) {
        reports.push_back(own);
    } else {
        std::error_code ec;
        std::vector<fs::path> folders;
        for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
            if (it->is_directory(ec))
                folders.push_back(it->path());
        if (ec)
            return Read::refused("Cannot read the folder '" + folder.string() + "': " +
                                 ec.message() + ".");
        std::sort(folders.begin(), folders.end());
        for (const fs::path& f : folders)
            if (fs::path report = reportIn(f); !report.empty())
                reports.push_back(report);
    }
    ChronographExport all;
    all.layout = ChronographLayout::LabRadar;
    for (const fs::path& report : reports) {
        const std::string shown = report.parent_path().filename().string() + "/" +
                                  report.filename().string();
        auto bytes = readImportFile(report);
        Read one = bytes ? readChronographExport(bytes.value) : Read::refused(bytes.refusal);
        if (one && one.value.layout != ChronographLayout::LabRadar)
            one = Read::refused("It is not a LabRadar series report.");
        if (!one) {
            all.notices.push_back(shown + " is left out: " + one.refusal);
            continue;
        }
        if (all.series.size() + one.value.series.size() > kMaximumSeries)
            return Read::refused("The folder holds more than " + std::to_string(kMaximumSeries) +
                                 " series.");
        for (ChronographSeries& s : one.value.series) {
            if (s.name.empty() && isUtf8(report.parent_path().filename().string()))
                s.name = report.parent_path().filename().string();
            all.series.push_back(std::move(s));
        }
        all.notices.insert(all.notices.end(), one.value.notices.begin(), one.value.notices.end());
    }
    if (all.series.empty())
        return Read::refused("The folder '" + folder.string() +
                             "' holds no LabRadar series (SRnnnn folders with their report)" +
                             (all.notices.empty() ? "." : ": " + all.notices.front()));
    return Read::done(std::move(all));
}

} // namespace
} // namespace exportread

Result<ChronographExport> readChronographExport(std::string_view bytes) {
    using namespace exportread;
    const auto lines = textLines(bytes);
    if (!lines)
        return Read::refused(lines.refusal);
    static const struct {
        bool (*is)(const Lines&);
        Read (*read)(const Lines&);
    } kLayouts[] = {
        {isShotMarker, readShotMarker},           {isLabRadar, readLabRadar},
        {isMagnetoSpeedXfr, readMagnetoSpeedXfr}, {isMagnetoSpeedLog, readMagnetoSpeedLog},
        {isProChrono, readProChrono},             {isGarminXero, readGarminXero},
    };
    for (const auto& layout : kLayouts) {
        if (!layout.is(lines.value))
            continue;
        Read read = layout.read(lines.value);
        if (read && read.value.series.empty())
            return Read::refused("The file holds no shots.");
        if (read && read.value.series.size() > kMaximumSeries)
            return Read::refused("The file holds more than " + std::to_string(kMaximumSeries) +
                                 " series.");
        return read;
    }
    return readPlain(lines.value);
}

Result<ChronographExport> readChronographSource(const fs::path& path) {
    using exportread::Read;
    std::error_code ec;
    if (fs::is_directory(path, ec))
        return exportread::readLabRadarFolder(path);
    const auto bytes = readImportFile(path);
    if (!bytes)
        return Read::refused(bytes.refusal);
    Read read = readChronographExport(bytes.value);
    const std::string stem = path.stem().string();
    for (ChronographSeries& s : read.value.series)
        if (s.name.empty() && isUtf8(stem))
            s.name = stem;
    return read;
}

} // namespace fendrel
