// Round texts from a rounds.dtb record.
#include "RoundTexts.h"

#include "core/common/Encoding.h"

#include "core/common/ProgramFolder.h"
#include "core/workbench/Databases.h"

namespace fendrel {

RoundTexts roundFromRecord(const std::vector<std::string>& f) {
    RoundTexts r;
    if (f.size() < kRoundFieldCount)
        return r;
    r.description = f[0];
    r.caliber = f[1];
    r.bulletWeight = f[2];
    r.ballisticCoefficient = f[3];
    r.sectionalDensity = f[4];
    r.bulletStyle = f[6];
    r.powderCharge = f[8];
    r.muzzleVelocity = f[9];
    r.firearmWeight = f[17];
    return r;
}

std::string readRound(const std::filesystem::path& programFolder, std::size_t index,
                      RoundTexts& out) {
    DatabaseReader reader(resolveName(programFolder, kRounds.fileName), kRoundFields);
    if (!reader.exists())
        return "rounds.dtb is missing";
    if (!reader.error().ok())
        return "rounds.dtb cannot be read: " + reader.error().refusal;
    Record fields;
    for (std::size_t n = 0;; ++n) {
        if (!reader.next(fields))
            return "rounds.dtb has no record " + std::to_string(index) + " (it holds " +
                   std::to_string(n) + (n == 1 ? " record" : " records") + ", counted from 0)";
        if (n == index)
            break;
    }
    out = roundFromRecord(fields);
    return {};
}

std::string roundDescription(const RoundTexts& round) { return cp1252ToUtf8(round.description); }

} // namespace fendrel
