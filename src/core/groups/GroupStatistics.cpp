// Shot group statistics: spreads, radii, the median by the exchange sort, the dumps and the
// results text.
#include "GroupStatistics.h"
#include "core/common/SafeFile.h"

#include "LongSorts.h"
#include "core/common/Numbers.h"
#include "core/common/ProgramFolder.h"
#include "core/common/Strings.h"
#include "core/common/TextFile.h"

#include <cmath>
#include <stdexcept>

namespace fendrel {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

const char* const kTooFarApart =
    "The shots of this group lie too far apart to measure (a spread beyond 214748 inches).";

} // namespace

std::optional<double> numberText(std::string_view text) {
    text = trimmedView(text);
    size_t i = 0;
    const size_t n = text.size();
    if (i < n && (text[i] == '+' || text[i] == '-'))
        ++i;
    size_t digits = 0;
    while (i < n && isDigit(text[i]))
        ++i, ++digits;
    if (i < n && text[i] == '.') {
        ++i;
        while (i < n && isDigit(text[i]))
            ++i, ++digits;
    }
    if (digits == 0)
        return std::nullopt;
    if (i < n && (text[i] == 'e' || text[i] == 'E' || text[i] == 'd' || text[i] == 'D')) {
        ++i;
        if (i < n && (text[i] == '+' || text[i] == '-'))
            ++i;
        size_t expDigits = 0;
        while (i < n && isDigit(text[i]))
            ++i, ++expDigits;
        if (expDigits == 0)
            return std::nullopt;
    }
    if (i != n)
        return std::nullopt;
    const double value = leadingNumber(text);
    if (!std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<int> roundsText(std::string_view text) {
    const auto value = numberText(text);
    if (!value || *value != std::floor(*value) || *value < kMinimumRounds ||
        *value > kMaximumRounds)
        return std::nullopt;
    return static_cast<int>(*value);
}

GroupMeasurement measureGroup(double caliber, const std::vector<Shot>& shots) {
    const int n = static_cast<int>(shots.size());
    if (n < kMinimumRounds || n > kMaximumRounds)
        throw std::invalid_argument("A group needs from 2 to 181 rounds.");
    GroupMeasurement m;

    // Centre-to-centre distance plus one calibre is the outside-to-outside spread of a pair.
    m.spreads.assign(n, std::vector<double>(n, 0.0));
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) {
            const double dx = std::fabs(shots[i].x - shots[j].x);
            const double dy = std::fabs(shots[i].y - shots[j].y);
            m.spreads[j][i] = caliber + std::sqrt(dx * dx + dy * dy);
        }

    // The spread list in 0.0001-inch units, with one trailing 0 slot. A spread that does not
    // fit 32 bits (or is not finite) ends the measurement before anything else is built.
    m.spreadList.assign(static_cast<size_t>(n) * n + 1, 0);
    size_t k = 0;
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) {
            try {
                m.spreadList[k++] = toInt32(m.spreads[j][i] * 10000);
            } catch (const OverflowError&) {
                throw std::invalid_argument(kTooFarApart);
            }
        }

    // Extreme spread, with every spread of the matrix dumped row by row.
    for (int i = 0; i < n; ++i) {
        std::string line = "Round " + std::to_string(i + 1);
        for (int j = 0; j < n; ++j) {
            line += ',';
            line += generalNumber(m.spreads[i][j]);
            if (m.spreads[i][j] > m.extremeSpread)
                m.extremeSpread = m.spreads[i][j];
        }
        m.extremeSpreadDump += plainLine(line);
    }

    // Group centre and the distance of each round from it (no calibre here).
    double sumX = 0, sumY = 0;
    for (const auto& s : shots) {
        sumX += s.x;
        sumY += s.y;
    }
    m.centreX = sumX / n;
    m.centreY = sumY / n;
    double radiusSum = 0;
    m.radii.resize(n);
    for (int i = 0; i < n; ++i) {
        const double ex = m.centreX - shots[i].x;
        const double ey = m.centreY - shots[i].y;
        m.radii[i] = std::sqrt(ex * ex + ey * ey);
        m.meanRadiusDump += plainLine(printedNumber(m.radii[i]));
        radiusSum += m.radii[i];
    }
    m.meanRadius = radiusSum / n;
    m.meanRadiusDump += plainLine("Mean radius of this group = " + generalNumber(m.meanRadius));

    // Mean spread over every ordered pair: each pair counts twice, which leaves the mean of
    // the distinct pairs.
    double spreadSum = 0;
    int count = 0;
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            if (j != i) {
                spreadSum += m.spreads[j][i];
                ++count;
            }
    m.meanSpread = spreadSum / count;

    // Sorted descending, the pairs (each twice) come first and the diagonal and the trailing 0
    // last; the slot (N*N - N)/2 then holds the lower median of the distinct pairs.
    sortLongs(m.spreadList, {}, true);
    m.medianIndex = (n * n - n) / 2;
    m.medianSpread = m.spreadList[static_cast<size_t>(m.medianIndex)] / 10000.0;

    if (!std::isfinite(m.meanRadius) || !std::isfinite(m.meanSpread) ||
        !std::isfinite(m.extremeSpread))
        throw std::invalid_argument(kTooFarApart);
    return m;
}

std::string resultsText(std::string_view caliberText, std::string_view roundsField,
                        const GroupMeasurement& m) {
    std::string out = "RESULTS OF PRECISION MEASUREMENTS FOR ";
    out += caliberText;
    out += " CALIBER ";
    out += roundsField;
    out += "-SHOT GROUP.\r\n";
    out += std::string(39, '_') + "\r\n";
    out += "Mean Radius    = " + formatPattern(m.meanRadius, "#0.000") + "\r\n";
    out += "Mean Spread    = " + formatPattern(m.meanSpread, "#0.000") + "\r\n";
    out += "Extreme Spread = " + formatPattern(m.extremeSpread, "#0.000") + "\r\n";
    out += "Median Spread  = " + formatPattern(m.medianSpread, "#0.000");
    return out;
}

GroupEvaluation evaluateGroup(const GroupEntry& entry) {
    GroupEvaluation e;
    const auto rounds = roundsText(entry.roundsText);
    if (!rounds) {
        e.refusal = "The number of rounds must be a whole number from 2 to 181.";
        return e;
    }
    // The caliber is the number its text starts with: ".308 Win" is 0.308, no number is 0.
    const double caliber = leadingNumber(entry.caliberText);
    std::vector<Shot> shots;
    for (int i = 0; i < *rounds; ++i) {
        const std::string round = std::to_string(i + 1);
        const auto& cell = i < static_cast<int>(entry.cells.size())
                               ? entry.cells[static_cast<size_t>(i)]
                               : std::pair<std::string, std::string>{};
        if (trimmedView(cell.first).empty() || trimmedView(cell.second).empty()) {
            e.refusal = "Round " + round +
                        " has no coordinates yet: enter its X and Y before measuring the group.";
            return e;
        }
        const auto x = numberText(cell.first);
        const auto y = numberText(cell.second);
        if (!x || !y) {
            e.refusal = std::string("The ") + (x ? "Y" : "X") + " coordinate of round " + round +
                        " is not a number: \"" + (x ? cell.second : cell.first) + "\".";
            return e;
        }
        shots.push_back({*x, *y});
    }
    try {
        e.measurement = measureGroup(caliber, shots);
    } catch (const std::invalid_argument& failure) {
        e.refusal = failure.what();
        return e;
    }
    e.results = resultsText(entry.caliberText, entry.roundsText, e.measurement);
    return e;
}

std::string writeDistanceFiles(const std::filesystem::path& programFolder,
                               const GroupMeasurement& m) {
    for (const auto& [name, bytes] :
         {std::pair<const char*, const std::string&>{"ES_dist.dmp", m.extremeSpreadDump},
          std::pair<const char*, const std::string&>{"MR_dist.dmp", m.meanRadiusDump}}) {
        const std::string reason = replaceFile(resolveName(programFolder, name), bytes).refusal;
        if (!reason.empty())
            return std::string(name) + ": " + reason;
    }
    return {};
}

} // namespace fendrel
