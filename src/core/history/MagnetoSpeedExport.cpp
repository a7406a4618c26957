// MagnetoSpeed exports. No file of either could be examined; the layouts follow what is known
// of them.
//
// LOG.CSV, the device's log of many series:
//   Series,1,Shots:,5          opens series 1
//   1,1,2650,ft/s              <series>,<shot>,<speed>,<unit>
//   Min,2641 ... ES,22         the device's statistics: not shots
//   ----                       closes the series
//
// The XFR app's export, one series: a "Synced on:" row with the date, a "Notes" row that names
// the series, and shot rows <shot>,<speed>,<unit>.
#include "ChronographLayouts.h"

#include "core/common/Strings.h"

namespace fendrel::exportread {

namespace {

bool opensSeries(const std::vector<std::string>& f) {
    return f.size() >= 3 && asciiLower(f[0]) == "series" && asciiLower(f[2]).starts_with("shots");
}

bool isSyncedOn(const std::vector<std::string>& f) {
    return asciiLower(f[0]).starts_with("synced on");
}

// A shot row's speed in its unit (ft/s when the row names none); the refusal otherwise.
Speed magnetoSpeed(const std::vector<std::string>& f, size_t speed) {
    bool metric = false;
    if (speed + 1 < f.size() && !f[speed + 1].empty()) {
        const auto unit = metricSpeedUnit(f[speed + 1]);
        if (!unit)
            return {0, "the speed unit " + shownField(f[speed + 1]) + " is not ft/s or m/s"};
        metric = *unit;
    }
    return speedOf(speed < f.size() ? f[speed] : std::string(), metric);
}

bool anyLine(const Lines& lines, bool (*test)(const std::vector<std::string>&)) {
    for (const TextLine& l : lines)
        if (test(splitFields(l.text, ',')))
            return true;
    return false;
}

} // namespace

bool isMagnetoSpeedLog(const Lines& lines) {
    return anyLine(lines, opensSeries);
}

bool isMagnetoSpeedXfr(const Lines& lines) {
    return anyLine(lines, isSyncedOn);
}

Read readMagnetoSpeedLog(const Lines& lines) {
    ChronographExport e;
    e.layout = ChronographLayout::MagnetoSpeed;
    bool open = false;
    auto close = [&] {
        if (open && e.series.back().shots.empty()) {
            e.notices.push_back(e.series.back().name + " holds no shots and is left out.");
            e.series.pop_back();
        }
        open = false;
    };
    for (const TextLine& l : lines) {
        const auto f = splitFields(l.text, ',');
        if (opensSeries(f)) {
            close();
            if (e.series.size() == kMaximumSeries)
                return Read::refused(lineRefusal(l.number, "more than " +
                                                               std::to_string(kMaximumSeries) +
                                                               " series"));
            e.series.emplace_back();
            e.series.back().name = "Series " + f[1];
            open = true;
        } else if (f[0].starts_with("----")) {
            close();
        } else if (open && allDigits(f[0])) {
            const Speed speed = magnetoSpeed(f, 2);
            if (!speed.refusal.empty())
                return Read::refused(lineRefusal(l.number, speed.refusal));
            if (const std::string why = addSpeed(e.series.back(), speed.fps); !why.empty())
                return Read::refused(lineRefusal(l.number, why));
        }
    }
    close();
    return Read::done(std::move(e));
}

Read readMagnetoSpeedXfr(const Lines& lines) {
    ChronographExport e;
    e.layout = ChronographLayout::MagnetoSpeedXfr;
    ChronographSeries s;
    for (const TextLine& l : lines) {
        const auto f = splitFields(l.text, ',');
        const std::string label = asciiLower(f[0]);
        if (isSyncedOn(f)) {
            s.date = dateOf(l.text);
        } else if (label == "notes" || label == "notes:") {
            s.name = afterFirstField(l.text, ',');
        } else if (allDigits(f[0]) && f.size() >= 2) {
            const Speed speed = magnetoSpeed(f, 1);
            if (!speed.refusal.empty())
                return Read::refused(lineRefusal(l.number, speed.refusal));
            if (const std::string why = addSpeed(s, speed.fps); !why.empty())
                return Read::refused(lineRefusal(l.number, why));
        }
    }
    if (!s.shots.empty())
        e.series.push_back(std::move(s));
    return Read::done(std::move(e));
}

} // namespace fendrel::exportread
