#include "RangeCardInput.h"

#include "MetricUnits.h"

namespace fendrel {

RangeCardInput RangeCardInput::metricDefaults() {
    RangeCardInput in;
    in.metric = true;
    in.sightHeight = 3.8;
    in.velocityTemperature = 15;
    return in;
}

RangeCardInput RangeCardInput::imperial() const {
    using namespace metric;
    if (!metric)
        return *this;
    RangeCardInput in = *this;
    in.metric = false;
    auto scale = [](std::optional<double>& v, double by) {
        if (v)
            *v *= by;
    };
    in.velocity /= kMetresPerFoot;
    scale(in.weight, 1 / kGramsPerGrain);
    scale(in.diameter, 1 / kMmPerInch);
    scale(in.length, 1 / kMmPerInch);
    scale(in.twist, 1 / kMmPerInch);
    in.sightHeight /= kCmPerInch;
    in.zeroRange /= kMetresPerYard;
    scale(in.pressure, 1 / kHpaPerInHg);
    if (in.temperature)
        in.temperature = fahrenheitFromCelsius(*in.temperature);
    in.altitude /= kMetresPerFoot;
    in.windSpeed /= kMpsPerMph;
    for (double& bracket : in.windBrackets)
        bracket /= kMpsPerMph;
    for (BcBand& band : in.bcBands)
        band.velocity /= kMetresPerFoot;
    if (in.powderTemperature)
        in.powderTemperature = fahrenheitFromCelsius(*in.powderTemperature);
    in.velocityTemperature = fahrenheitFromCelsius(in.velocityTemperature);
    in.temperatureSensitivity = fpsPerFFromMpsPerC(in.temperatureSensitivity);
    in.step /= kMetresPerYard;
    in.maximum /= kMetresPerYard;
    return in;
}

} // namespace fendrel
