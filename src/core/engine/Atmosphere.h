// The two standard atmospheres of the trajectory computation: air density, gravity, and the
// change of density and speed of sound with height along the flight.
#pragma once

#include <cmath>
#include <string>

namespace fendrel {

struct Atmosphere {
    std::string code;      // as read from parameters.ini
    std::string name;      // the output file's first line for it
    bool hasModel = false; // "I" and "S": the coefficients below are defined
    double density = 0;    // lb/ft^3
    double gravity = 0;    // ft/s^2
    // density ratio exp(d1 y + d2 y^2); temperature (T0 + 459.67) exp(t1 y + t2 y^2) - 459.67;
    // drag constant c rho / BC; speed of sound s sqrt(T + 459.67). y in feet.
    double d1 = 0, d2 = 0, t1 = 0, t2 = 0, c = 0, s = 0;
};

// The atmosphere for a code: "I" ICAO standard atmosphere, "S" Army standard metro, "N" none
// selected (density from parameters.ini, coefficients undefined); any other code is read like
// "N" but keeps the ICAO density. `fieldDensity` is field 3 of parameters.ini.
Atmosphere atmosphereFor(const std::string& code, double fieldDensity);

// The air at one height: density ratio and speed of sound.
struct AirAt {
    double densityRatio;
    double speedOfSound;
};

// `absoluteT0` is the muzzle temperature T0 + 459.67 (degrees Rankine).
inline AirAt airAt(const Atmosphere& a, double absoluteT0, double y) {
    const double sigma = std::exp(a.d1 * y + a.d2 * (y * y));
    const double temperature = absoluteT0 * std::exp(a.t1 * y + a.t2 * (y * y)) - 459.67;
    return {sigma, a.s * std::sqrt(temperature + 459.67)};
}

} // namespace fendrel
