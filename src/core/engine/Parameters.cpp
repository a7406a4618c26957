// Reading parameters.ini.
#include "Parameters.h"

#include "core/common/Numbers.h"
#include "core/common/ProgramFolder.h"
#include "core/common/TextFile.h"

#include <cmath>

namespace fendrel {

std::string loadParameters(const std::filesystem::path& programFolder, Parameters& out) {
    auto bytes = readFileBytes(resolveName(programFolder, "parameters.ini"));
    if (!bytes)
        return "The settings file parameters.ini is missing or cannot be read.";
    return parseParameters(std::move(*bytes), out);
}

std::string parseParameters(std::string bytes, Parameters& out) {
    FieldReader reader(std::move(bytes));
    std::vector<std::string> f;
    if (!reader.readRecord(6, f))
        return "The settings file parameters.ini is incomplete: it needs six fields (height of "
               "sights, angle of departure, air density, temperature, drag table, atmosphere).";
    Parameters p;
    p.sightHeight = leadingNumber(f[0]);
    p.departureAngle = leadingNumber(f[1]);
    p.airDensity = leadingNumber(f[2]);
    p.temperature = leadingNumber(f[3]);
    p.dragFunction = f[4];
    p.atmosphereCode = f[5];
    if (!std::isfinite(p.sightHeight) || !std::isfinite(p.departureAngle) ||
        !std::isfinite(p.airDensity) || !std::isfinite(p.temperature))
        return "The settings file parameters.ini holds a number too large to use.";
    out = std::move(p);
    return {};
}

} // namespace fendrel
