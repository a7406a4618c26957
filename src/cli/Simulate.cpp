// fendrel-calc simulate: the range simulator's result table for a bullet, a zero and the
// effective winds. fendrel-calc wind: the effective winds that Apply wind gives for a bearing
// and a speed. The option values are read as the simulator's fields read what is typed in them.
#include "Commands.h"

#include "core/common/Encoding.h"
#include "core/common/Numbers.h"
#include "core/common/SharedState.h"
#include "core/simulator/RangeSimulator.h"
#include "core/simulator/WindDial.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace fendrel::cli {
namespace {

int fail(const char* command, int code, const std::string& text) {
    std::fprintf(stderr, "fendrel-calc %s: %s\n", command, text.c_str());
    return code;
}

// Unexpected arguments and missing options are usage errors.
bool usable(const char* command, const Options& o, std::initializer_list<const char*> required,
            int& code) {
    if (!o.positional.empty()) {
        code = fail(command, 2, "unexpected argument '" + o.positional.front() + "'");
        return false;
    }
    for (const char* name : required) {
        if (!o.has(name)) {
            code = fail(command, 2, std::string("--") + name + " is required");
            return false;
        }
    }
    return true;
}

int simulate(const std::vector<std::string>& args) {
    constexpr const char* kName = "simulate";
    Options o;
    if (!parseOptions(kName, args,
                      {"bc", "velocity", "zero", "downrange-wind", "cross-wind", "program-folder"},
                      o))
        return 2;
    int code = 0;
    if (!usable(kName, o, {"bc", "velocity", "zero"}, code))
        return code;

    SimulatorTexts texts;
    texts.ballisticCoefficient = o.get("bc");
    texts.muzzleVelocity = o.get("velocity");
    texts.zeroRange = o.get("zero");
    texts.downrangeWind = o.get("downrange-wind", "0");
    texts.crossWind = o.get("cross-wind", "0");
    if (const Status checked = checkSimulatorInputs(texts); !checked)
        return fail(kName, 1, checked.refusal);
    RangeSimulator simulator;
    RunSettings settings;
    if (const Status done = simulator.calculate(programFolder(o), texts, settings); !done)
        return fail(kName, 1, done.refusal);

    std::string out;
    for (int i = 1; i <= RangeSimulator::kRows; ++i) {
        const SimulatorRow& r = simulator.row(i);
        out += std::to_string(r.range) + "," + roundTripNumber(r.drop) + "," +
               roundTripNumber(r.drift) + "," + std::to_string(r.velocity) + "," +
               roundTripNumber(r.time) + "\n";
    }
    writeOut(out);
    return 0;
}

int wind(const std::vector<std::string>& args) {
    constexpr const char* kName = "wind";
    Options o;
    if (!parseOptions(kName, args, {"bearing", "speed"}, o))
        return 2;
    int code = 0;
    if (!usable(kName, o, {"bearing", "speed"}, code))
        return code;
    const double bearing = leadingNumber(utf8ToCp1252(o.get("bearing")));
    const double speed = leadingNumber(utf8ToCp1252(o.get("speed")));
    const EffectiveWind w = effectiveWind(bearing, speed);
    if (!std::isfinite(w.cross) || !std::isfinite(w.downrange))
        return fail(kName, 1, "The wind direction and velocity are too large to compute with.");
    // Text1, the cross wind, then Text2, the downrange wind.
    writeOut(generalNumber(w.cross) + "\n" + generalNumber(w.downrange) + "\n");
    return 0;
}

Registrar
    simulateCommand("simulate",
                    "simulate --bc B --velocity V --zero Z [--downrange-wind W] [--cross-wind C] "
                    "[--program-folder DIR]",
                    simulate);
Registrar windCommand("wind", "wind --bearing B --speed S", wind);

} // namespace
} // namespace fendrel::cli
