// Turning chronograph and e-target series into history entries.
#include "SeriesImport.h"

#include "GroupImport.h"
#include "core/groups/GroupStatistics.h"

#include <stdexcept>

namespace fendrel {

namespace {

// At most `limit` bytes of UTF-8 text, cut before a character, never inside one.
std::string cutUtf8(std::string text, size_t limit) {
    if (text.size() <= limit)
        return text;
    size_t end = limit;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    text.resize(end);
    return text;
}

} // namespace

VelocityString stringFromSeries(const ChronographSeries& series, const SeriesImportOptions& o) {
    VelocityString v;
    v.date = series.date.empty() ? o.fallbackDate : series.date;
    v.temperatureF = o.temperatureF;
    v.round = o.round;
    std::string note = series.name;
    if (!series.sessionNote.empty())
        note += (note.empty() ? "" : " \u2014 ") + series.sessionNote;
    v.note = cutUtf8(std::move(note), kMaximumTextBytes);
    bool details = false;
    for (const ChronographShot& s : series.shots) {
        v.shotsFps.push_back(s.fps);
        v.shotDetails.push_back(
            {s.time, s.cleanBore, s.coldBore, cutUtf8(s.note, kMaximumTextBytes)});
        details = details || v.shotDetails.back() != ShotDetail{};
    }
    if (!details)
        v.shotDetails.clear();
    return v;
}

Result<HistoryGroup> groupFromSeries(const ChronographSeries& series,
                                     const SeriesImportOptions& o) {
    using R = Result<HistoryGroup>;
    if (!series.hasPositions() || !series.distanceYd)
        return R::refused("The series has no positions on a target.");
    const size_t n = series.shots.size();
    if (n < static_cast<size_t>(kMinimumRounds) || n > static_cast<size_t>(kMaximumRounds))
        return R::refused("It has " + std::to_string(n) + (n == 1 ? " shot" : " shots") +
                          " on the target; a group needs from 2 to 181.");
    std::vector<Shot> shots;
    for (const ChronographShot& s : series.shots)
        shots.push_back({s.position->xIn, -s.position->yIn});
    GroupMeasurement m;
    try {
        m = measureGroup(o.caliberIn, shots);
    } catch (const std::exception& e) {
        return R::refused(e.what());
    }
    R g = groupFromMeasurement(o.caliberIn, shots, m, *series.distanceYd);
    if (g) {
        g.value.date = series.date.empty() ? o.fallbackDate : series.date;
        g.value.note = cutUtf8(series.name, kMaximumTextBytes);
        g.value.round = o.round;
    }
    return g;
}

SeriesPreview previewOf(const ChronographSeries& series, const SeriesImportOptions& o) {
    SeriesPreview p;
    p.name = series.name;
    p.date = series.date.empty() ? o.fallbackDate : series.date;
    p.statistics = velocityStatistics(series.speedsFps());
    p.withGroup = bool(groupFromSeries(series, o));
    return p;
}

Result<SeriesEntries> entriesOf(const ChronographSeries& series, const SeriesImportOptions& o) {
    using R = Result<SeriesEntries>;
    SeriesEntries e;
    e.string = stringFromSeries(series, o);
    if (const std::string why = checkString(e.string); !why.empty())
        return R::refused("'" + series.name + "': " + why);
    if (series.hasPositions()) {
        auto group = groupFromSeries(series, o);
        std::string why = group ? checkGroup(group.value) : group.refusal;
        if (why.empty())
            e.group = std::move(group.value);
        else
            e.groupNotice = "'" + series.name + "' is kept without a group: " + why;
    }
    return R::done(std::move(e));
}

} // namespace fendrel
