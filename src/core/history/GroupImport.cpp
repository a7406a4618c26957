// Turning a measured group or a group file into a history entry.
#include "GroupImport.h"

#include "ImportFile.h"
#include "core/common/Encoding.h"
#include "core/common/Numbers.h"
#include "core/groups/GroupFile.h"

#include <cmath>

namespace fendrel {

namespace {

using Group = Result<HistoryGroup>;

bool distanceInRange(double yd) {
    return std::isfinite(yd) && yd > 0 && yd <= kMaximumDistanceYd;
}

const char* const kDistance = "The distance must be a number of yards above 0 and up to 10000.";

} // namespace

Group groupFromMeasurement(double caliberIn, const std::vector<Shot>& shots,
                           const GroupMeasurement& m, double distanceYd) {
    if (!distanceInRange(distanceYd))
        return Group::refused(kDistance);
    if (!(caliberIn >= 0) || !std::isfinite(caliberIn))
        return Group::refused("A group with a negative caliber cannot be kept in the history.");
    if (shots.size() < static_cast<size_t>(kMinimumRounds) || m.radii.size() != shots.size())
        return Group::refused("Compute the group (Do It!) before adding it to the history.");
    HistoryGroup g;
    g.distanceYd = distanceYd;
    g.caliberIn = caliberIn;
    g.shots = shots;
    g.meanRadiusIn = m.meanRadius;
    g.meanSpreadIn = m.meanSpread;
    g.extremeSpreadIn = m.extremeSpread;
    g.medianSpreadIn = m.medianSpread;
    return Group::done(std::move(g));
}

Group groupFromFileBytes(const std::string& bytes, double distanceYd) {
    const GroupFileRead read = readGroupFile(bytes);
    if (!read.complete)
        return Group::refused("This is not a group file of 2 to 181 rounds with an X and Y for "
                              "each.");
    const GroupEvaluation e =
        evaluateGroup({read.caliber, std::to_string(read.rounds), read.cells});
    if (!e.refusal.empty())
        return Group::refused(e.refusal);
    std::vector<Shot> shots;
    for (const auto& [x, y] : read.cells)
        shots.push_back({*numberText(x), *numberText(y)});
    Group g = groupFromMeasurement(leadingNumber(read.caliber), shots, e.measurement, distanceYd);
    if (g) {
        g.value.note = cp1252ToUtf8(read.title);
        if (g.value.note.size() > kMaximumTextBytes)
            g.value.note.clear();
    }
    return g;
}

Group groupFromFile(const std::filesystem::path& file, double distanceYd) {
    const auto bytes = readImportFile(file);
    if (!bytes)
        return Group::refused(bytes.refusal);
    return groupFromFileBytes(bytes.value, distanceYd);
}

} // namespace fendrel
