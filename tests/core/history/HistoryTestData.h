// Entries for the history tests.
#pragma once

#include "core/common/Numbers.h"
#include "core/history/HistoryDatabase.h"

#include <gtest/gtest.h>

namespace fendrel::test {

inline RoundSnapshot round308(double charge) {
    return {".308 Winchester", 168, 0.462, charge};
}

inline VelocityString velocityString(const char* date, std::vector<double> shots,
                                     double charge = 42.5) {
    VelocityString s;
    s.date = date;
    s.shotsFps = std::move(shots);
    s.round = round308(charge);
    return s;
}

inline HistoryGroup paperGroup(const char* date, double charge, double meanRadius = 0.5) {
    HistoryGroup g;
    g.date = date;
    g.distanceYd = 100;
    g.caliberIn = 0.308;
    g.shots = {{1, 1}, {1, 2}};
    g.meanRadiusIn = meanRadius;
    g.meanSpreadIn = g.extremeSpreadIn = g.medianSpreadIn = 1.308;
    g.round = round308(charge);
    return g;
}

inline std::unique_ptr<HistoryDatabase> openHistory(const std::filesystem::path& folder) {
    auto opened = HistoryDatabase::open(folder);
    EXPECT_TRUE(opened.database) << opened.refusal;
    return std::move(opened.database);
}

// Everything the history holds, as text, for comparing two histories.
inline std::string dump(const HistoryDatabase& db) {
    std::string out;
    auto n = [](double v) { return roundTripNumber(v) + " "; };
    auto snap = [&](const RoundSnapshot& r) {
        return r.caliber + " " + n(r.bulletWeightGr) + n(r.ballisticCoefficient) +
               n(r.powderChargeGr);
    };
    const auto loads = db.loads();
    EXPECT_TRUE(loads) << loads.refusal;
    for (const LoadSummary& s : loads.value) {
        const LoadHistory l = db.load(s.id).value;
        out += l.description + " " + std::to_string(s.strings) + " " + std::to_string(s.groups) +
               " " + s.lastDate + " " + snap(s.latest) + "\n";
        for (const VelocityString& v : l.strings) {
            out += " S" + std::to_string(v.id) + " " + v.date + " " +
                   (v.temperatureF ? n(*v.temperatureF) : "- ") + v.note + " " + snap(v.round);
            for (double f : v.shotsFps)
                out += n(f);
            out += "\n";
        }
        for (const HistoryGroup& g : l.groups) {
            out += " G" + std::to_string(g.id) + " " + g.date + " " + n(g.distanceYd) +
                   n(g.caliberIn) + n(g.meanRadiusIn) + n(g.meanSpreadIn) + n(g.extremeSpreadIn) +
                   n(g.medianSpreadIn) + g.note + " " + snap(g.round);
            for (const Shot& p : g.shots)
                out += n(p.x) + n(p.y);
            out += "\n";
        }
    }
    return out;
}

} // namespace fendrel::test
