// The coefficients of the two standard atmospheres.
#include "Atmosphere.h"

namespace fendrel {

Atmosphere atmosphereFor(const std::string& code, double fieldDensity) {
    Atmosphere a;
    a.code = code;
    if (code == "S") {
        a.name = "ARMY STANDARD METRO";
        a.hasModel = true;
        a.density = 0.0751265;
        a.gravity = 32.1522;
        a.d1 = -3.158e-5;
        a.d2 = 0;
        a.t1 = -6.015e-6;
        a.t2 = 0;
        a.c = -0.0002048757;
        a.s = 49.19;
        return a;
    }
    a.gravity = 32.1741;
    if (code == "I") {
        a.name = "ICAO STANDARD ATMOSPHERE";
        a.hasModel = true;
        a.density = 0.076474;
        a.d1 = -2.926e-5;
        a.d2 = -1e-10;
        a.t1 = -6.858e-6;
        a.t2 = -2.776e-11;
        a.c = -0.000208551;
        a.s = 49.0223;
        return a;
    }
    a.name = "--NONE SELECTED--";
    a.density = code == "N" ? fieldDensity : 0.076474;
    return a;
}

} // namespace fendrel
