// ShotMarker e-target archives, many strings a file:
//
//   ShotMarker Archived Data (generated ...)
//   Jan 14 2025,<name>,<target>,600y,198-12X          opens a string: date, name, ..., distance
//   ,time,id,tags,score,x (mm),y (mm),x (inch),y (inch),...,v (m/s),v (fps),...
//   ,6:50:07 pm,S1,sighter,10,-30,-30,-1.19,-1.2,...  one row a shot
//   ,,,,avg:,...   ,,,,SD:,...                         the target's statistics: not shots
//
// Only shots for record count: sighters and hidden shots are left out (a warning tag alone
// keeps a shot). The speed is the m/s column (the fps column is it rounded); the position is
// the inch columns, x to the right and y up.
#include "ChronographLayouts.h"

#include "HistoryEntry.h"
#include "core/common/Strings.h"

#include <cmath>
#include <utility>

namespace fendrel::exportread {

namespace {

// The distance of a string line ("600y", "300m") in yards, or nullopt.
std::optional<double> targetDistanceYd(std::string_view text) {
    std::string t = asciiLower(trimmedView(text));
    double factor = 0;
    for (const char* suffix : {"yds", "yd", "y", "m"}) {
        if (t.size() > std::string_view(suffix).size() && t.ends_with(suffix)) {
            t.resize(t.size() - std::string_view(suffix).size());
            factor = suffix[0] == 'm' ? kYardsPerMetre : 1;
            break;
        }
    }
    const auto value = deviceNumber(t);
    if (factor == 0 || !value)
        return std::nullopt;
    const double yd = *value * factor;
    if (!(yd > 0 && yd <= kMaximumDistanceYd))
        return std::nullopt;
    return yd;
}

// The name on a string line: the text between its date and its last three fields (target,
// distance, score), commas included.
std::string stringName(std::string_view line, size_t fields) {
    std::vector<size_t> commas;
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '"')
            quoted = !quoted;
        else if (line[i] == ',' && !quoted)
            commas.push_back(i);
    }
    if (commas.size() + 1 != fields)
        return {}; // quotes inside a field: the caller takes the second field
    const size_t from = commas[0] + 1, to = commas[fields - 4];
    return unquoted(line.substr(from, to - from));
}

struct ShotMarkerColumns {
    size_t time, id, tags, mps, fps, x, y;
};

size_t columnNamed(const std::vector<std::string>& header, std::string_view name) {
    for (size_t j = 0; j < header.size(); ++j)
        if (asciiLower(header[j]) == name)
            return j;
    return header.size();
}

// A coordinate of the target in inches, or the reason it is refused.
std::string targetCoordinate(std::string_view field, double& value) {
    const auto v = deviceNumber(field);
    if (!v)
        return "the position " + shownField(field) + " is not a number";
    if (!(std::fabs(*v) <= kMaximumCoordinateIn))
        return "the position " + shownField(field) + " is beyond 1000000 inches";
    value = *v;
    return {};
}

} // namespace

bool isShotMarker(const Lines& lines) {
    for (const TextLine& l : lines)
        if (!trimmedView(l.text).empty())
            return trimmedView(l.text).starts_with("ShotMarker Archived Data");
    return false;
}

Read readShotMarker(const Lines& lines) {
    ChronographExport e;
    e.layout = ChronographLayout::ShotMarker;
    std::optional<ChronographSeries> string;
    std::optional<ShotMarkerColumns> columns;
    std::string opened; // the string's date as the file writes it, for the notice
    auto close = [&] {
        if (string && string->shots.empty())
            e.notices.push_back("The string '" + string->name + "' of " + opened +
                                " has no shot for record (only sighters or hidden shots) and "
                                "is left out.");
        else if (string)
            e.series.push_back(std::move(*string));
        string.reset();
        columns.reset();
    };
    bool marker = true; // the first line, "ShotMarker Archived Data (...)"
    for (const TextLine& l : lines) {
        if (trimmedView(l.text).empty() || std::exchange(marker, false))
            continue;
        const auto f = splitFields(l.text, ',');
        auto at = [&](size_t j) { return j < f.size() ? f[j] : std::string(); };
        if (f.size() > 1 && f[0].empty() && asciiLower(f[1]) == "time") {
            if (!string)
                return Read::refused(lineRefusal(l.number, "a table of shots without its "
                                                           "string line (date, name, target, "
                                                           "distance, score)"));
            ShotMarkerColumns c{};
            const char* const names[] = {"time",    "id",       "tags",    "v (m/s)",
                                         "v (fps)", "x (inch)", "y (inch)"};
            size_t* const slots[] = {&c.time, &c.id, &c.tags, &c.mps, &c.fps, &c.x, &c.y};
            for (size_t k = 0; k < 7; ++k)
                *slots[k] = columnNamed(f, names[k]);
            for (size_t k : {size_t{2}, size_t{3}, size_t{5}, size_t{6}})
                if (*slots[k] == f.size())
                    return Read::refused(lineRefusal(l.number, std::string("the column '") +
                                                                   names[k] + "' is missing"));
            columns = c;
        } else if (f.size() >= 5 && !f[0].empty()) {
            close();
            if (e.series.size() == kMaximumSeries)
                return Read::refused(lineRefusal(l.number, "more than " +
                                                               std::to_string(kMaximumSeries) +
                                                               " strings"));
            const size_t n = f.size();
            const auto distance = targetDistanceYd(f[n - 2]);
            if (!distance)
                return Read::refused(lineRefusal(
                    l.number, "the distance " + shownField(f[n - 2]) +
                                  " is not a number of yards (600y) or metres (300m) up to "
                                  "10000 yards"));
            string.emplace();
            string->name = stringName(l.text, n);
            if (string->name.empty())
                string->name = f[1];
            string->date = dateOf(f[0]);
            string->distanceYd = *distance;
            opened = f[0];
        } else if (columns && f[0].empty() && !at(columns->id).empty()) {
            const std::string tags = asciiLower(at(columns->tags));
            if (tags.find("sighter") != std::string::npos ||
                tags.find("hidden") != std::string::npos)
                continue;
            const bool metric = !at(columns->mps).empty() || at(columns->fps).empty();
            const Speed speed = speedOf(at(metric ? columns->mps : columns->fps), metric);
            if (!speed.refusal.empty())
                return Read::refused(lineRefusal(l.number, speed.refusal));
            ChronographShot shot;
            shot.fps = speed.fps;
            shot.time = clockTimeOf(at(columns->time));
            shot.note = at(columns->tags);
            TargetPosition p;
            std::string why = targetCoordinate(at(columns->x), p.xIn);
            if (why.empty())
                why = targetCoordinate(at(columns->y), p.yIn);
            if (why.empty()) {
                shot.position = p;
                why = addShot(*string, std::move(shot));
            }
            if (!why.empty())
                return Read::refused(lineRefusal(l.number, why));
        }
    }
    close();
    return Read::done(std::move(e));
}

} // namespace fendrel::exportread
