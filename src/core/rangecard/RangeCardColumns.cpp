#include "RangeCardColumns.h"

#include "DropScale.h"
#include "core/common/Numbers.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>
#include <vector>

namespace fendrel {

namespace {

const RangeCardColumn kColumns[] = {
    {"range", nullptr, [](const RangeCardRow& r) { return std::optional(r.range); }, "0", "Range",
     "yd", "m"},
    {"height_in", "height_cm", [](const RangeCardRow& r) { return std::optional(r.height); },
     "0.00", "Height", "in", "cm"},
    {"windage_in", "windage_cm", [](const RangeCardRow& r) { return std::optional(r.windage); },
     "0.00", "Windage", "in", "cm"},
    {"spin_drift_in", "spin_drift_cm",
     [](const RangeCardRow& r) { return std::optional(r.spinDrift); }, "0.00", "Spin", "in", "cm"},
    {"elevation_moa", nullptr, [](const RangeCardRow& r) { return r.elevationMoa; }, "0.00", "Elev",
     "MOA", "MOA"},
    {"elevation_mil", nullptr, [](const RangeCardRow& r) { return r.elevationMil; }, "0.00", "Elev",
     "mil", "mil"},
    {"windage_moa", nullptr, [](const RangeCardRow& r) { return r.windageMoa; }, "0.00", "Wind",
     "MOA", "MOA"},
    {"windage_mil", nullptr, [](const RangeCardRow& r) { return r.windageMil; }, "0.00", "Wind",
     "mil", "mil"},
    {"elevation_clicks", nullptr, [](const RangeCardRow& r) { return r.elevationClicks; }, "0",
     "Elev", "clicks", "clicks"},
    {"windage_clicks", nullptr, [](const RangeCardRow& r) { return r.windageClicks; }, "0", "Wind",
     "clicks", "clicks"},
    {"velocity_fps", "velocity_mps",
     [](const RangeCardRow& r) { return std::optional(r.velocity); }, "0", "Velocity", "ft/s",
     "m/s"},
    {"mach", nullptr, [](const RangeCardRow& r) { return std::optional(r.mach); }, "0.000", "Mach",
     "", ""},
    {"energy_ftlb", "energy_j", [](const RangeCardRow& r) { return r.energy; }, "0", "Energy",
     "ft-lb", "J"},
    {"time_s", nullptr, [](const RangeCardRow& r) { return std::optional(r.time); }, "0.000",
     "Time", "s", "s"},
};

std::string padLeft(const std::string& text, std::size_t width) {
    return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

} // namespace

std::span<const RangeCardColumn> rangeCardColumns() {
    return kColumns;
}

std::string roundedText(double value, const char* pattern) {
    if (!std::isfinite(value))
        return "-";
    std::string t = formatPattern(value, pattern);
    if (t[0] == '-' && t.find_first_not_of("0.", 1) == std::string::npos)
        t.erase(0, 1);
    return t;
}

std::string jsonNumber(std::optional<double> value) {
    if (!value || !std::isfinite(*value))
        return "null";
    return roundTripNumber(*value + 0.0);
}

std::string bracketKey(double speed, bool metric) {
    return "bracket_" + generalNumber(speed) + (metric ? "mps" : "mph");
}

std::string rangeCardCsv(const RangeCardResult& card) {
    std::string out;
    for (const RangeCardColumn& c : kColumns)
        out += (&c == kColumns ? "" : ",") + c.keyFor(card.metric);
    for (const double speed : card.windBrackets)
        for (const char* unit : {"_moa", "_mil", "_clicks"})
            out += "," + bracketKey(speed, card.metric) + unit;
    out += "\n";
    for (const RangeCardRow& r : card.rows) {
        for (const RangeCardColumn& c : kColumns) {
            if (&c != kColumns)
                out += ",";
            if (const std::optional<double> v = c.value(r))
                out += jsonNumber(v);
        }
        for (const BracketWindage& w : r.brackets)
            for (const std::optional<double>& v : {w.moa, w.mil, w.clicks})
                out += v ? "," + jsonNumber(v) : ",";
        out += "\n";
    }
    return out;
}

std::string rangeCardSummary(const RangeCardResult& card) {
    const std::string speed = card.metric ? " m/s" : " ft/s";
    return "Muzzle velocity " + roundedText(card.muzzleVelocity, "0") + speed + "    Sg " +
           (card.stability ? roundedText(*card.stability, "0.00")
                           : std::string("- (needs length and twist)")) +
           "    Zero angle " + roundedText(card.zeroAngleMoa, "0.00") +
           " MOA    Air density ratio " + roundedText(card.densityRatio, "0.0000") +
           "    Speed of sound " + roundedText(card.speedOfSound, "0") + speed;
}

std::string hitSummary(const HitInput& hit) {
    const bool m = hit.card.metric;
    const std::string size = m ? " cm" : " in";
    const std::string target =
        hit.shape == TargetShape::Circle
            ? "a circle " + generalNumber(hit.diameter) + size + " across"
            : "a rectangle " + generalNumber(hit.width) + " x " + generalNumber(hit.height) + size;
    return "Chance of a hit on " + target +
           " centred on the point of aim; standard deviations: " + "velocity " +
           generalNumber(hit.velocitySd) + (m ? " m/s" : " ft/s") + ", wind " +
           generalNumber(hit.windSd) + (m ? " m/s" : " mph") + ", range estimate " +
           generalNumber(hit.rangeSd) + (m ? " m" : " yd") + ", dispersion " +
           generalNumber(hit.dispersionMoa) + " MOA.";
}

std::string rangeCardText(const RangeCardResult& card, const RangeCardInput& in) {
    const bool m = card.metric;
    std::string out = "Range card\n";
    out += "Muzzle velocity " + formatPattern(card.muzzleVelocity, "0") + (m ? " m/s" : " ft/s") +
           ", zero " + generalNumber(in.zeroRange) + (m ? " m" : " yd") + " at " +
           formatPattern(card.zeroAngleMoa, "0.00") + " MOA above the line of sight\n";
    out += "Air density ratio " + formatPattern(card.densityRatio, "0.0000") + ", speed of sound " +
           formatPattern(card.speedOfSound, "0") + (m ? " m/s" : " ft/s");
    if (card.stability)
        out += ", stability Sg " + formatPattern(*card.stability, "0.00");
    out += "\nClicks of " + generalNumber(in.click) +
           (in.clickUnit == ClickUnit::Moa ? " MOA" : " mil") + "\n";
    if (in.bcBands.size() > 1)
        out += "BC by velocity: " + bcBandsText(in.bcBands, m) + "\n";
    if (!in.dropScale.empty())
        out += "Drag scaled past Mach 1.2: " + DropScale(in.dropScale).text() + "\n";
    const bool moa = in.clickUnit == ClickUnit::Moa;
    if (!card.windBrackets.empty())
        out += "Wind brackets: the windage to dial for a full-value crosswind from the right, "
               "wind drift alone (from the left: the same to the other side)\n";
    out += "\n";
    // Columns nine characters wide, wider where a cell needs it: a blank always stands between
    // two of them. The wind brackets follow the card's own columns, in the click's unit and in
    // clicks.
    struct TextColumn {
        std::string heading, unit;
        std::vector<std::string> cells;
    };
    std::vector<TextColumn> columns;
    for (const RangeCardColumn& c : kColumns) {
        TextColumn t{c.heading, c.unitFor(m), {}};
        for (const RangeCardRow& r : card.rows) {
            const std::optional<double> v = c.value(r);
            t.cells.push_back(v ? roundedText(*v, c.pattern) : "-");
        }
        columns.push_back(std::move(t));
    }
    for (std::size_t b = 0; b < card.windBrackets.size(); ++b) {
        const std::string heading =
            generalNumber(card.windBrackets[b]) + (m ? " m/s" : " mph");
        TextColumn angle{heading, moa ? "MOA" : "mil", {}}, clicks{heading, "clicks", {}};
        for (const RangeCardRow& r : card.rows) {
            const BracketWindage& w = r.brackets[b];
            angle.cells.push_back(w.moa ? roundedText(moa ? *w.moa : *w.mil, "0.00") : "-");
            clicks.cells.push_back(w.clicks ? roundedText(*w.clicks, "0") : "-");
        }
        columns.push_back(std::move(angle));
        columns.push_back(std::move(clicks));
    }
    std::vector<std::size_t> width;
    for (const TextColumn& c : columns) {
        std::size_t w = std::max<std::size_t>({9, c.heading.size() + 1, c.unit.size() + 1});
        for (const std::string& cell : c.cells)
            w = std::max(w, cell.size() + 1);
        width.push_back(w);
    }
    for (std::size_t c = 0; c < columns.size(); ++c)
        out += padLeft(columns[c].heading, width[c]);
    out += "\n";
    for (std::size_t c = 0; c < columns.size(); ++c)
        out += padLeft(columns[c].unit, width[c]);
    out += "\n";
    for (std::size_t i = 0; i < card.rows.size(); ++i) {
        for (std::size_t c = 0; c < columns.size(); ++c)
            out += padLeft(columns[c].cells[i], width[c]);
        out += "\n";
    }
    return out;
}

std::string bcBandsText(const std::vector<BcBand>& bands, bool metric) {
    std::string out;
    for (const BcBand& b : bands)
        out += (out.empty() ? "" : ", ") + generalNumber(b.ballisticCoefficient) + " from " +
               generalNumber(b.velocity) + (metric ? " m/s" : " ft/s");
    return out;
}

} // namespace fendrel
