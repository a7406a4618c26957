#include "RangeCardSources.h"

#include "HitProbability.h"
#include "MetricUnits.h"
#include "core/common/Numbers.h"
#include "core/common/Strings.h"
#include "core/history/LoadComparison.h"
#include "core/history/VelocityStatistics.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace fendrel {

namespace {

// The entry numbered `n` in an offer (1 = the latest) of a list ordered oldest first.
template <typename T> const T& offered(const std::vector<T>& list, std::size_t n) {
    return list[list.size() - n];
}

// A whole number from 1 to `count`, or nothing.
std::optional<std::size_t> entryNumber(const std::string& text, std::size_t count) {
    if (text.empty() || text.size() > 9 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    const auto n = static_cast<std::size_t>(leadingNumber(text));
    if (n < 1 || n > count)
        return std::nullopt;
    return n;
}

std::string chooseByNumber(std::size_t count, const char* what) {
    return std::string("Choose ") + what + " by its number, from 1 to " + std::to_string(count) +
           ".";
}

} // namespace

std::string takeGroupDispersion(RangeCardForm& form, const LastGroup& group,
                                const std::string& distanceText) {
    const std::string text = trimmed(distanceText);
    const double distance = isDecimalNumber(text) ? leadingNumber(text) : 0;
    if (!(distance > 0) || !std::isfinite(distance))
        return "The distance must be a number of yards above 0.";
    if (!(group.meanRadius > 0) || !std::isfinite(group.meanRadius))
        return "The last group has no mean radius to take the dispersion from.";
    form[CardField::Dispersion] = fieldNumber(rayleighSigmaMoa(group.meanRadius, distance), 3);
    form[CardField::DispersionShots] =
        group.shots.size() >= 2 ? std::to_string(group.shots.size()) : std::string();
    return {};
}

std::string offerStrings(const LoadHistory& load, bool metric) {
    const double speed = metric ? metric::kMetresPerFoot : 1;
    const std::string unit = metric ? " m/s" : " ft/s";
    std::string out;
    for (std::size_t n = 1; n <= std::min(load.strings.size(), kOfferedEntries); ++n) {
        const VelocityString& s = offered(load.strings, n);
        const VelocityStatistics st = velocityStatistics(s.shotsFps);
        out += std::to_string(n) + ": " + s.date + ", " + std::to_string(st.count) +
               (st.count == 1 ? " shot" : " shots") + ", mean " + fieldNumber(st.meanFps * speed) +
               unit + ", SD " + fieldNumber(st.sdFps * speed, 3) + unit;
        if (s.temperatureF) {
            const double t = metric ? (*s.temperatureF - 32) / 1.8 : *s.temperatureF;
            out += ", " + fieldNumber(t, 3) + (metric ? " \u00B0C" : " \u00B0F");
        }
        if (!s.note.empty())
            out += " (" + s.note + ")";
        out += "\n";
    }
    return out;
}

std::string offerGroups(const LoadHistory& load) {
    std::string out;
    for (std::size_t n = 1; n <= std::min(load.groups.size(), kOfferedEntries); ++n) {
        const HistoryGroup& g = offered(load.groups, n);
        out += std::to_string(n) + ": " + g.date + ", " + fieldNumber(g.distanceYd) +
               " yd, mean radius " + fieldNumber(g.meanRadiusIn, 3) + " in, sigma " +
               fieldNumber(groupSigmaMoa(g), 3) + " MOA";
        if (!g.note.empty())
            out += " (" + g.note + ")";
        out += "\n";
    }
    return out;
}

std::string takeHistoryString(RangeCardForm& form, const LoadHistory& load,
                              const std::string& choice) {
    if (load.strings.empty())
        return "The load history holds no velocity string for this load.";
    const auto n = entryNumber(trimmed(choice), load.strings.size());
    if (!n)
        return chooseByNumber(load.strings.size(), "a string");
    const VelocityString& s = offered(load.strings, *n);
    const VelocityStatistics st = velocityStatistics(s.shotsFps);
    if (st.count == 0)
        return "That string holds no shots.";
    const double speed = form.metric ? metric::kMetresPerFoot : 1;
    form[CardField::Velocity] = fieldNumber(st.meanFps * speed);
    form[CardField::VelocitySd] = fieldNumber(st.sdFps * speed, 3);
    form[CardField::VelocitySdShots] = st.count >= 2 ? std::to_string(st.count) : std::string();
    if (s.temperatureF)
        form[CardField::VelocityTemperature] =
            fieldNumber(form.metric ? (*s.temperatureF - 32) / 1.8 : *s.temperatureF, 3);
    return {};
}

std::string takeHistoryGroups(RangeCardForm& form, const LoadHistory& load,
                              const std::string& choice) {
    if (load.groups.empty())
        return "The load history holds no group for this load.";
    std::string text = trimmed(choice);
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; });
    std::vector<HistoryGroup> chosen;
    if (text == "all") {
        chosen = load.groups;
    } else {
        std::vector<bool> taken(load.groups.size() + 1, false);
        std::size_t start = 0;
        while (start < text.size()) {
            const std::size_t end = std::min(text.find_first_of(", ", start), text.size());
            if (end > start) {
                const auto n = entryNumber(text.substr(start, end - start), load.groups.size());
                if (!n)
                    return chooseByNumber(load.groups.size(), "the groups") +
                           " Separate them by commas, or type all.";
                if (!taken[*n])
                    chosen.push_back(offered(load.groups, *n));
                taken[*n] = true;
            }
            start = end + 1;
        }
        if (chosen.empty())
            return chooseByNumber(load.groups.size(), "the groups");
    }
    form[CardField::Dispersion] = fieldNumber(pooledDispersionMoa(chosen), 3);
    // 2 (M - 1) degrees of freedom: those the groups hold together.
    std::size_t freedom = 0;
    for (const HistoryGroup& g : chosen)
        freedom += g.shots.empty() ? 0 : g.shots.size() - 1;
    form[CardField::DispersionShots] = freedom > 0 ? std::to_string(freedom + 1) : std::string();
    return {};
}

namespace {

// ft/s per °F in the form's units.
double sensitivityIn(double fpsPerF, bool metric) {
    return metric ? fpsPerF * metric::kMetresPerFoot * 1.8 : fpsPerF;
}

} // namespace

std::string offerSensitivity(const TemperatureSensitivity& t, bool metric, double confidence) {
    const std::string unit = metric ? " m/s per \u00B0C" : " ft/s per \u00B0F";
    const LineFit& line = t.line;
    return fieldNumber(sensitivityIn(line.slope, metric), 3) + unit + " (" +
           fieldNumber(sensitivityIn(line.slopeInterval.low, metric), 3) + " to " +
           fieldNumber(sensitivityIn(line.slopeInterval.high, metric), 3) + " at " +
           percentText(confidence) + "; " + formatPattern(t.percentPer15F, "0.0") +
           " % per 15 \u00B0F), from " + std::to_string(line.points) + " shots.";
}

void takeSensitivity(RangeCardForm& form, const TemperatureSensitivity& t) {
    form[CardField::Sensitivity] = fieldNumber(sensitivityIn(t.line.slope, form.metric), 3);
}

} // namespace fendrel
