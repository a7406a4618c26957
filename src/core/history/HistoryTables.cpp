// The texts of the Load History window and its CSV, the chart's scales and the entry fields.
#include "HistoryTables.h"

#include "ChronographCsv.h"
#include "VelocityStatistics.h"
#include "core/common/Numbers.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace fendrel {

namespace {

// The value laid out by a pattern, or empty when it is not a finite number.
std::string cell(double value, std::string_view pattern) {
    return std::isfinite(value) ? formatPattern(value, pattern) : std::string();
}

std::string plain(double value) {
    return std::isfinite(value) ? generalNumber(value) : std::string();
}

std::string optionalCell(const std::optional<double>& value, std::string_view pattern) {
    return value ? cell(*value, pattern) : std::string();
}

const char* const kFps = "0.0";
const char* const kInches = "0.000";
const char* const kMoa = "0.00";

// "2692.3 ± 3.8": a mean and the half width of its interval, which is symmetric.
std::string withPlusMinus(double value, const std::optional<ConfidenceInterval>& interval,
                          std::string_view pattern) {
    std::string out = cell(value, pattern);
    if (interval && !out.empty() && std::isfinite(interval->high - value))
        out += " \u00B1 " + formatPattern((interval->high - interval->low) / 2, pattern);
    return out;
}

// "3.1 (1.9–8.9)": a value and its interval.
std::string withInterval(const std::optional<double>& value,
                         const std::optional<ConfidenceInterval>& interval,
                         std::string_view pattern) {
    std::string out = optionalCell(value, pattern);
    if (interval && !out.empty() && std::isfinite(interval->low) && std::isfinite(interval->high))
        out += " (" + formatPattern(interval->low, pattern) + "\u2013" +
               formatPattern(interval->high, pattern) + ")";
    return out;
}

// The cells of a string after its load: date, charge, temperature, shots and statistics, note.
std::vector<std::string> stringCells(const VelocityString& s, bool withIntervals) {
    const VelocityStatistics v = velocityStatistics(s.shotsFps);
    const auto e = withIntervals ? estimateString(s.shotsFps, kDefaultConfidence)
                                 : Result<StringEstimate>::refused("");
    const std::optional<ConfidenceInterval> meanInterval =
        e ? e.value.meanIntervalFps : std::nullopt;
    const std::optional<ConfidenceInterval> sdInterval = e ? e.value.sdIntervalFps : std::nullopt;
    return {s.date,
            plain(s.round.powderChargeGr),
            s.temperatureF ? plain(*s.temperatureF) : std::string(),
            std::to_string(v.count),
            withPlusMinus(v.meanFps, meanInterval, kFps),
            withInterval(v.sdFps, sdInterval, kFps),
            cell(v.esFps, kFps),
            cell(v.minFps, kFps),
            cell(v.maxFps, kFps),
            s.note};
}

std::vector<std::string> groupCells(const HistoryGroup& g, bool withIntervals) {
    // The interval of the mean radius a spread like this one gives, from its shots.
    std::optional<ConfidenceInterval> inches, moa;
    if (const auto e = estimateGroup(g.shots, g.distanceYd, kDefaultConfidence);
        withIntervals && e) {
        const double k = std::sqrt(std::numbers::pi / 2);
        inches = {e.value.sigmaIntervalIn.low * k, e.value.sigmaIntervalIn.high * k};
        moa = {e.value.sigmaIntervalMoa.low * k, e.value.sigmaIntervalMoa.high * k};
    }
    return {g.date,
            plain(g.round.powderChargeGr),
            plain(g.distanceYd),
            std::to_string(g.shots.size()),
            withInterval(g.meanRadiusIn, inches, kInches),
            withInterval(meanRadiusMoa(g), moa, kMoa),
            cell(g.meanSpreadIn, kInches),
            cell(g.extremeSpreadIn, kInches),
            cell(g.medianSpreadIn, kInches),
            g.note};
}

std::string csvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n;") == std::string::npos &&
        (text.empty() || (text.front() != ' ' && text.back() != ' ')))
        return text;
    std::string out = "\"";
    for (char c : text) {
        if (c == '"')
            out.push_back('"');
        out.push_back(c);
    }
    return out + "\"";
}

std::string csvRow(const std::vector<std::string>& fields) {
    std::string row;
    for (size_t i = 0; i < fields.size(); ++i)
        row += (i ? "," : "") + csvField(fields[i]);
    return row + "\r\n";
}

std::string trimmedText(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return {};
    const size_t last = text.find_last_not_of(" \t\r\n");
    return std::string(text.substr(first, last - first + 1));
}

// A number of a field between bounds; the refusal names the field.
Result<double> fieldNumber(std::string_view text, double low, double high,
                                  const std::string& refusal) {
    const auto value = typedNumber(text);
    if (!value || *value < low || *value > high)
        return Result<double>::refused(refusal);
    return Result<double>::done(*value);
}

Status readCommon(const EntryFields& f, std::string& date, RoundSnapshot& round,
                         std::string& note) {
    const std::string typedDate = trimmedText(f.date);
    if (!isIsoDate(typedDate))
        return {"The date must be a calendar date written YYYY-MM-DD (for example 2024-05-10)."};
    const auto charge = fieldNumber(f.charge, 0, kMaximumRoundNumber,
                                    "The powder charge must be a number of grains (for example "
                                    "42.5).");
    if (!charge)
        return charge;
    date = typedDate;
    round.powderChargeGr = charge.value;
    note = f.note;
    return {};
}

} // namespace

TextTable loadsTable(std::span<const LoadSummary> loads) {
    TextTable t{{"Load", "Caliber", "Bullet (gr)", "BC", "Charge (gr)", "Strings", "Groups",
                 "Truings", "Latest"},
                {}};
    for (const LoadSummary& l : loads)
        t.rows.push_back({l.description, l.latest.caliber, plain(l.latest.bulletWeightGr),
                          plain(l.latest.ballisticCoefficient), plain(l.latest.powderChargeGr),
                          std::to_string(l.strings), std::to_string(l.groups),
                          std::to_string(l.truings), l.lastDate});
    return t;
}

TextTable stringsTable(std::span<const LoadHistory> loads) {
    TextTable t{{"Load", "Date", "Charge (gr)", "Air (\u00B0F)", "Shots", "Mean (ft/s)",
                 "SD (ft/s)", "ES (ft/s)", "Min (ft/s)", "Max (ft/s)", "Note"},
                {}};
    for (const LoadHistory& l : loads)
        for (const VelocityString& s : l.strings) {
            t.rows.push_back({l.description});
            const auto cells = stringCells(s, true);
            t.rows.back().insert(t.rows.back().end(), cells.begin(), cells.end());
        }
    return t;
}

TextTable importTable(std::span<const SeriesPreview> previews,
                      std::span<const ChronographSeries> series) {
    TextTable t{{"Series", "Date", "Shots", "Mean (ft/s)", "SD (ft/s)", "ES (ft/s)", "Also"}, {}};
    for (std::size_t i = 0; i < previews.size(); ++i) {
        const SeriesPreview& p = previews[i];
        const VelocityStatistics& v = p.statistics;
        std::string also;
        if (p.duplicateOf != 0)
            also = "Already in the load \"" + p.duplicateLoad + "\"";
        else if (p.withGroup && i < series.size() && series[i].distanceYd)
            also = "A group at " + formatPattern(*series[i].distanceYd, "0") + " yd as well";
        t.rows.push_back({p.name, p.date, std::to_string(v.count), cell(v.meanFps, kFps),
                          cell(v.sdFps, kFps), cell(v.esFps, kFps), also});
    }
    return t;
}

TextTable groupsTable(std::span<const LoadHistory> loads) {
    TextTable t{{"Load", "Date", "Charge (gr)", "Distance (yd)", "Shots", "Mean radius (in)",
                 "Mean radius (MOA)", "Mean spread (in)", "Extreme spread (in)",
                 "Median spread (in)", "Note"},
                {}};
    for (const LoadHistory& l : loads)
        for (const HistoryGroup& g : l.groups) {
            t.rows.push_back({l.description});
            const auto cells = groupCells(g, true);
            t.rows.back().insert(t.rows.back().end(), cells.begin(), cells.end());
        }
    return t;
}

TextTable comparisonTable(const LoadComparison& c) {
    TextTable t{{"Charge (gr)", "Strings", "Shots", "Velocity (ft/s)", "SD (ft/s)", "Groups",
                 "Mean radius (MOA)"},
                {}};
    for (const ChargePoint& p : c.points)
        t.rows.push_back({plain(p.chargeGr), std::to_string(p.strings), std::to_string(p.shots),
                          p.velocityFps ? withPlusMinus(*p.velocityFps, p.velocityIntervalFps, kFps)
                                        : std::string(),
                          withInterval(p.sdFps, p.sdIntervalFps, kFps), std::to_string(p.groups),
                          withInterval(p.groupMoa, p.groupIntervalMoa, kMoa)});
    return t;
}

std::string velocityLineText(const LoadComparison& c) {
    if (!c.line || !std::isfinite(c.line->slopeFpsPerGrain))
        return {};
    std::string out = formatPattern(c.line->slopeFpsPerGrain, "0.0") + " ft/s per grain";
    if (c.ladder)
        out += " (" + formatPattern(c.ladder->line.slopeInterval.low, "0.0") + "\u2013" +
               formatPattern(c.ladder->line.slopeInterval.high, "0.0") + ")";
    return out;
}

std::string historyCsv(std::span<const LoadHistory> loads) {
    std::string out = "\xEF\xBB\xBF" + csvRow({"Load", "Entry", "Date", "Caliber", "Bullet (gr)",
                                               "BC", "Charge (gr)", "Air (F)", "Shots",
                                               "Mean (ft/s)", "SD (ft/s)", "ES (ft/s)",
                                               "Min (ft/s)", "Max (ft/s)", "Distance (yd)",
                                               "Mean radius (in)", "Mean radius (MOA)",
                                               "Mean spread (in)", "Extreme spread (in)",
                                               "Median spread (in)", "Note", "Speeds (ft/s)"});
    auto head = [](const LoadHistory& l, const char* kind, const std::string& date,
                   const RoundSnapshot& r) {
        return std::vector<std::string>{l.description,
                                        kind,
                                        date,
                                        r.caliber,
                                        plain(r.bulletWeightGr),
                                        plain(r.ballisticCoefficient),
                                        plain(r.powderChargeGr)};
    };
    for (const LoadHistory& l : loads) {
        for (const VelocityString& s : l.strings) {
            const auto c = stringCells(s, false);
            auto row = head(l, "String", s.date, s.round);
            row.insert(row.end(), {c[2], c[3], c[4], c[5], c[6], c[7], c[8], "", "", "", "", "",
                                   "", s.note});
            std::string speeds;
            for (double v : s.shotsFps)
                speeds += (speeds.empty() ? "" : " ") + plain(v);
            row.push_back(speeds);
            out += csvRow(row);
        }
        for (const HistoryGroup& g : l.groups) {
            const auto c = groupCells(g, false);
            auto row = head(l, "Group", g.date, g.round);
            row.insert(row.end(), {"", c[3], "", "", "", "", "", c[2], c[4], c[5], c[6], c[7],
                                   c[8], g.note, ""});
            out += csvRow(row);
        }
    }
    return out;
}

AxisScale comparisonScale(double lo, double hi, int maxIntervals, bool nonNegative) {
    if (!std::isfinite(lo) || !std::isfinite(hi))
        return {0, 1, 0.2};
    if (lo > hi)
        std::swap(lo, hi);
    maxIntervals = std::max(1, maxIntervals);
    double margin = (hi - lo) * 0.08;
    if (!(margin > std::abs(hi) * 1e-9))
        margin = std::max(std::abs(hi) * 0.02, 0.05);
    lo -= margin;
    hi += margin;
    if (nonNegative && lo < 0 && hi > 0)
        lo = 0;
    double raw = (hi - lo) / maxIntervals;
    AxisScale scale;
    for (;;) {
        const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
        double step = 10 * magnitude;
        for (double m : {1.0, 2.0, 5.0})
            if (m * magnitude >= raw * (1 - 1e-12)) {
                step = m * magnitude;
                break;
            }
        scale.step = step;
        scale.minimum = std::floor(lo / step + 1e-9) * step;
        scale.maximum = std::ceil(hi / step - 1e-9) * step;
        if (scale.intervals() <= maxIntervals)
            return scale;
        raw = step * 1.0001;
    }
}

std::string scaleLabel(const AxisScale& scale, int tick) {
    double value = scale.tick(tick);
    if (std::abs(value) < scale.step * 1e-6)
        value = 0; // not "-0.0" from rounding
    const int decimals = std::clamp(static_cast<int>(-std::floor(std::log10(scale.step) + 1e-9)),
                                    0, 6);
    return cell(value, decimals ? "0." + std::string(static_cast<size_t>(decimals), '0') : "0");
}

EntryFields fieldsOf(const VelocityString& s) {
    EntryFields f;
    f.date = s.date;
    f.temperature = s.temperatureF ? plain(*s.temperatureF) : "";
    f.charge = plain(s.round.powderChargeGr);
    f.note = s.note;
    for (double v : s.shotsFps)
        f.shots += (f.shots.empty() ? "" : ", ") + roundTripNumber(v);
    return f;
}

EntryFields fieldsOf(const HistoryGroup& g) {
    EntryFields f;
    f.date = g.date;
    f.charge = plain(g.round.powderChargeGr);
    f.distance = plain(g.distanceYd);
    f.note = g.note;
    return f;
}

Status readStringFields(const EntryFields& f, VelocityString& s, bool withShots) {
    VelocityString read = s;
    if (Status common = readCommon(f, read.date, read.round, read.note); !common)
        return common;
    read.temperatureF.reset();
    if (!trimmedText(f.temperature).empty()) {
        const auto t = fieldNumber(f.temperature, kMinimumTemperatureF, kMaximumTemperatureF,
                                   "The air temperature must be a number of \u00B0F from -100 to "
                                   "200, or left empty.");
        if (!t)
            return t;
        read.temperatureF = t.value;
    }
    if (withShots) {
        auto shots = readTypedShots(f.shots);
        if (!shots)
            return shots;
        if (shots.value != read.shotsFps)
            read.shotDetails.clear(); // the times and notes belonged to the shots as they were
        read.shotsFps = std::move(shots.value);
    }
    s = std::move(read);
    return {};
}

Status readGroupFields(const EntryFields& f, HistoryGroup& g) {
    HistoryGroup read = g;
    if (Status common = readCommon(f, read.date, read.round, read.note); !common)
        return common;
    const auto distance = fieldNumber(f.distance, 0, kMaximumDistanceYd,
                                      "The distance must be a number of yards above 0 and up to "
                                      "10000.");
    if (!distance || !(distance.value > 0))
        return {"The distance must be a number of yards above 0 and up to 10000."};
    read.distanceYd = distance.value;
    g = std::move(read);
    return {};
}

std::optional<double> typedNumber(std::string_view text) {
    const std::string t = trimmedText(text);
    if (!isDecimalNumber(t))
        return std::nullopt;
    const double value = leadingNumber(t);
    if (!std::isfinite(value))
        return std::nullopt;
    return value;
}

RoundKey roundKeyOf(const RoundTexts& r) {
    RoundKey key;
    key.description = r.description;
    key.round.caliber = r.caliber;
    key.round.bulletWeightGr = leadingNumber(r.bulletWeight);
    key.round.ballisticCoefficient = leadingNumber(r.ballisticCoefficient);
    key.round.powderChargeGr = leadingNumber(r.powderCharge);
    return key;
}

} // namespace fendrel
