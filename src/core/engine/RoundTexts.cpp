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
    r.description = cp1252ToUtf8(f[0]);
    r.caliber = cp1252ToUtf8(f[1]);
    r.bulletWeight = cp1252ToUtf8(f[2]);
    r.ballisticCoefficient = cp1252ToUtf8(f[3]);
    r.sectionalDensity = cp1252ToUtf8(f[4]);
    r.bulletStyle = cp1252ToUtf8(f[6]);
    r.powderCharge = cp1252ToUtf8(f[8]);
    r.muzzleVelocity = cp1252ToUtf8(f[9]);
    r.firearmWeight = cp1252ToUtf8(f[17]);
    return r;
}

RoundTexts inCodePage(const RoundTexts& r) {
    RoundTexts out;
    out.description = utf8ToCp1252(r.description);
    out.caliber = utf8ToCp1252(r.caliber);
    out.bulletWeight = utf8ToCp1252(r.bulletWeight);
    out.ballisticCoefficient = utf8ToCp1252(r.ballisticCoefficient);
    out.sectionalDensity = utf8ToCp1252(r.sectionalDensity);
    out.bulletStyle = utf8ToCp1252(r.bulletStyle);
    out.powderCharge = utf8ToCp1252(r.powderCharge);
    out.muzzleVelocity = utf8ToCp1252(r.muzzleVelocity);
    out.firearmWeight = utf8ToCp1252(r.firearmWeight);
    return out;
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

} // namespace fendrel
