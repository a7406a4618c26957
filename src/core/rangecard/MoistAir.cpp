#include "MoistAir.h"

#include "MetricUnits.h"

namespace fendrel {


MoistAir::MoistAir(std::optional<double> pressureInHg, std::optional<double> temperatureF,
                   double humidityPercent, double altitudeFt)
    : m_pressure(pressureInHg ? *pressureInHg : standardPressureInHg(altitudeFt)),
      m_temperature(temperatureF ? *temperatureF : standardTemperatureF(altitudeFt)),
      m_vapour(humidityPercent / 100 * saturationPressureInHg(m_temperature)),
      m_densityRatio((m_pressure - 0.3780 * m_vapour) / kStandardPressureInHg *
                     (kStandardTemperatureF + kRankineOffset) / (m_temperature + kRankineOffset)) {}

double MoistAir::standardTemperatureF(double altitudeFt) {
    return kStandardTemperatureF - kLapseFPerFt * altitudeFt;
}

double MoistAir::standardPressureInHg(double altitudeFt) {
    return kStandardPressureInHg * std::pow(1 - 6.8755856e-6 * altitudeFt, 5.2558797);
}

double MoistAir::saturationPressureInHg(double temperatureF) {
    const double c = (temperatureF - 32) / 1.8;
    return 6.1121 * std::exp((18.678 - c / 234.5) * (c / (257.14 + c))) / metric::kHpaPerInHg;
}

} // namespace fendrel
