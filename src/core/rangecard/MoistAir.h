// The air of the day at the firing point: station pressure, temperature, humidity and
// altitude, their ICAO standard values where missing, and what the flight needs from them
// (the density ratio to the standard sea-level air and the speed of sound), also along the
// path as the bullet climbs or falls.
#pragma once

#include <cmath>
#include <optional>

namespace fendrel {

class MoistAir {
public:
    static constexpr double kStandardPressureInHg = 29.92;
    static constexpr double kStandardTemperatureF = 59;
    static constexpr double kRankineOffset = 459.67;
    // Along the path: the density falls with this scale height and the temperature by the
    // ICAO lapse rate.
    static constexpr double kScaleHeightFt = 34112;
    static constexpr double kLapseFPerFt = 0.00356616;
    // Speed of sound in dry air, ft/s per square root of a degree Rankine (1116.45 ft/s at
    // 59 degrees F).
    static constexpr double kSoundPerRootRankine = 49.0223;

    // Pressure in inHg as read at the station (not reduced to sea level), temperature in
    // degrees F, humidity in percent, altitude in feet. A missing pressure or temperature is the
    // ICAO standard value at the altitude.
    MoistAir(std::optional<double> pressureInHg, std::optional<double> temperatureF,
             double humidityPercent, double altitudeFt);

    double pressureInHg() const { return m_pressure; }
    double temperatureF() const { return m_temperature; }
    // Vapour pressure in inHg: the saturation pressure times the relative humidity.
    double vapourPressureInHg() const { return m_vapour; }
    // Density over the ICAO sea-level density: (P - 0.378 e) / T against 29.92 inHg at 59 F.
    double densityRatio() const { return m_densityRatio; }
    double speedOfSound() const { return speedOfSound(m_temperature); }

    static double standardTemperatureF(double altitudeFt);
    static double standardPressureInHg(double altitudeFt);
    // Saturation vapour pressure over water (Buck), inHg.
    static double saturationPressureInHg(double temperatureF);
    static double speedOfSound(double temperatureF) {
        return kSoundPerRootRankine * std::sqrt(temperatureF + kRankineOffset);
    }

private:
    double m_pressure;
    double m_temperature;
    double m_vapour;
    double m_densityRatio;
};

} // namespace fendrel
