// fendrel-calc stability: the stabilization calculator's results text, and optionally its
// saved page.
#include "core/stabilizer/Stability.h"
#include "Commands.h"
#include "core/common/Encoding.h"
#include "core/stabilizer/StabilityFiles.h"

#include <cstdio>

namespace fendrel::cli {
namespace {

int stability(const std::vector<std::string>& args) {
    Options o;
    if (!parseOptions("stability", args, {"caliber", "velocity", "twist", "save", "program-folder"},
                      o))
        return 2;
    if (!o.positional.empty()) {
        std::fprintf(stderr, "fendrel-calc stability: unexpected argument '%s'\n",
                     o.positional.front().c_str());
        return 2;
    }
    for (const char* needed : {"caliber", "velocity", "twist"}) {
        if (!o.has(needed)) {
            std::fprintf(stderr, "fendrel-calc stability: --%s is required\n", needed);
            return 2;
        }
    }

    // The arguments arrive as UTF-8; the program's texts are windows-1252, as typed in the
    // window.
    StabilityInput input;
    input.caliber = utf8ToCp1252(o.get("caliber"));
    input.muzzleVelocity = utf8ToCp1252(o.get("velocity"));
    input.twist = utf8ToCp1252(o.get("twist"));
    const StabilityResult r = computeStability(input);
    if (!r.computed) {
        std::fprintf(stderr, "%s\n", r.message.c_str());
        return 1;
    }

    if (o.has("save")) {
        StabilityPage page;
        page.caliber = input.caliber;
        page.muzzleVelocity = input.muzzleVelocity;
        page.twist = input.twist;
        page.results = r.text;
        page.standardLength = r.standardLength;
        page.modifiedLength = r.modifiedLength;
        const std::string file = o.get("save");
        const std::string failure = saveStabilityPage(file, page, programFolder(o));
        if (!failure.empty()) {
            std::fprintf(stderr, "fendrel-calc stability: %s could not be written: %s\n",
                         file.c_str(), failure.c_str());
            return 1;
        }
    }
    writeOut(r.text);
    return 0;
}

Registrar r("stability",
            "stability --caliber TEXT --velocity TEXT --twist TEXT [--save FILE] "
            "[--program-folder DIR]",
            stability);

} // namespace
} // namespace fendrel::cli
