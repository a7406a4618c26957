#include "HitProbability.h"

#include "MetricUnits.h"
#include "RangeCard.h"

#include "core/common/Numbers.h"
#include "core/stats/Estimates.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace fendrel {

namespace {

constexpr double kMoa = std::numbers::pi / 10800; // radians

// Standard normal numbers from a seed, the same on every platform: xoshiro256** seeded by
// splitmix64, and Marsaglia's polar method.
class NormalStream {
public:
    explicit NormalStream(std::uint64_t seed) {
        for (std::uint64_t& s : m_s) {
            seed += 0x9e3779b97f4a7c15ULL;
            std::uint64_t z = seed;
            z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
            z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
            s = z ^ (z >> 31);
        }
    }

    double operator()() {
        if (m_hasSpare) {
            m_hasSpare = false;
            return m_spare;
        }
        double u, v, q;
        do {
            u = 2 * uniform() - 1;
            v = 2 * uniform() - 1;
            q = u * u + v * v;
        } while (q >= 1 || q == 0);
        const double f = std::sqrt(-2 * std::log(q) / q);
        m_spare = v * f;
        m_hasSpare = true;
        return u * f;
    }

private:
    static std::uint64_t rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
    double uniform() {
        const std::uint64_t result = rotl(m_s[1] * 5, 7) * 9;
        const std::uint64_t t = m_s[1] << 17;
        m_s[2] ^= m_s[0];
        m_s[3] ^= m_s[1];
        m_s[1] ^= m_s[2];
        m_s[0] ^= m_s[3];
        m_s[2] ^= t;
        m_s[3] = rotl(m_s[3], 45);
        return static_cast<double>(result >> 11) * 0x1.0p-53;
    }

    std::uint64_t m_s[4];
    double m_spare = 0;
    bool m_hasSpare = false;
};

// The velocity and wind nodes, in standard deviations, and the Lagrange weights at z.
constexpr double kNodes[5] = {-4, -2, 0, 2, 4};
constexpr double kDenominators[5] = {384, -96, 64, -96, 384};

void lagrangeWeights(double z, double w[5]) {
    double d[5];
    for (int i = 0; i < 5; ++i)
        d[i] = z - kNodes[i];
    double before = 1;
    for (int i = 0; i < 5; ++i) {
        w[i] = before / kDenominators[i];
        before *= d[i];
    }
    double after = 1;
    for (int i = 4; i >= 0; --i) {
        w[i] *= after;
        after *= d[i];
    }
}

// One range's model of the impacts, and the tally of its shots.
struct RangeModel {
    double range = 0;
    // The impacts (in) at the target on the grid of velocities and winds, by i * 5 + j.
    double height[25] = {}, windage[25] = {};
    // The card's mean shot at 25 estimates evenly spaced from `low`; cubic between them.
    double low = 0, spacing = 1, high = 0;
    double dialHeight[25] = {}, dialWindage[25] = {};
    double dispersion = 0; // in per standard normal
    double hits = 0, sumX = 0, sumY = 0, sumXX = 0, sumYY = 0;

    void dialed(double e, double& h, double& w) const {
        const double u = (e - low) / spacing;
        const int i = std::clamp(static_cast<int>(u) - 1, 0, 21);
        const double t = u - i;
        const double c[4] = {-(t - 1) * (t - 2) * (t - 3) / 6, t * (t - 2) * (t - 3) / 2,
                             -t * (t - 1) * (t - 3) / 2, t * (t - 1) * (t - 2) / 6};
        h = w = 0;
        for (int k = 0; k < 4; ++k) {
            h += c[k] * dialHeight[i + k];
            w += c[k] * dialWindage[i + k];
        }
    }
};


std::string hitCurve(const HitInput& given, std::vector<HitRow>& rows);

} // namespace

double rayleighSigmaMoa(double meanRadius, double distance) {
    const double sigma = meanRadius / std::sqrt(std::numbers::pi / 2);
    return std::atan(sigma / (36 * distance)) / kMoa;
}

std::string computeHitProbability(const HitInput& given, std::vector<HitRow>& rows) {
    const int shots[2] = {given.velocitySdShots, given.dispersionShots};
    const bool band = shots[0] != 0 || shots[1] != 0;
    if (band) {
        for (int i = 0; i < 2; ++i)
            if (!(shots[i] >= 2 && shots[i] <= 1000))
                return std::string("The shots behind the ") +
                       (i ? "dispersion" : "velocity SD") +
                       " must be a whole number from 2 to 1000.";
        if (Status level = checkConfidence(given.confidence); !level)
            return level.refusal;
    }
    std::vector<HitRow> out;
    if (std::string refusal = hitCurve(given, out); !refusal.empty())
        return refusal;
    if (band) {
        // The same shots drawn again with both spreads at one end of their intervals.
        const ConfidenceInterval velocity = sdFactors(shots[0] - 1, given.confidence);
        const ConfidenceInterval dispersion = sdFactors(2.0 * (shots[1] - 1), given.confidence);
        HitInput edge = given;
        std::vector<HitRow> low, high;
        edge.velocitySd = given.velocitySd * velocity.high;
        edge.dispersionMoa = given.dispersionMoa * dispersion.high;
        if (std::string refusal = hitCurve(edge, low); !refusal.empty())
            return "The band takes the spreads at the upper ends of their " +
                   percentText(given.confidence) + " intervals (velocity SD " +
                   formatPattern(edge.velocitySd, "0.0") +
                   (given.card.metric ? " m/s" : " ft/s") + " from " + std::to_string(shots[0]) +
                   " shots, dispersion " + formatPattern(edge.dispersionMoa, "0.00") +
                   " MOA from " + std::to_string(shots[1]) + " shots). " + refusal;
        edge.velocitySd = given.velocitySd * velocity.low;
        edge.dispersionMoa = given.dispersionMoa * dispersion.low;
        if (std::string refusal = hitCurve(edge, high); !refusal.empty())
            return refusal;
        for (std::size_t i = 0; i < out.size(); ++i) {
            out[i].probabilityLow = low[i].probability;
            out[i].probabilityHigh = high[i].probability;
        }
    }
    rows = std::move(out);
    return {};
}

namespace {

std::string hitCurve(const HitInput& given, std::vector<HitRow>& rows) {
    using namespace metric;
    HitInput in = given;
    if (given.card.metric) {
        for (double& r : in.ranges)
            r /= kMetresPerYard;
        in.width /= kCmPerInch;
        in.height /= kCmPerInch;
        in.diameter /= kCmPerInch;
        in.velocitySd /= kMetresPerFoot;
        in.windSd /= kMpsPerMph;
        in.rangeSd /= kMetresPerYard;
    }
    const bool inMetric = given.card.metric;
    if (in.ranges.empty() || in.ranges.size() > 1000)
        return "Give from 1 to 1000 ranges.";
    for (double r : given.ranges)
        if (!(r > 0 && r <= (inMetric ? 4572 : 5000)))
            return inMetric ? "Every range must lie above 0 and up to 4572 m."
                     : "Every range must lie above 0 and up to 5000 yd.";
    const bool circle = in.shape == TargetShape::Circle;
    for (double size : circle ? std::vector<double>{given.diameter}
                              : std::vector<double>{given.width, given.height})
        if (!(size > 0 && size <= (inMetric ? 2540 : 1000)))
            return inMetric ? "The target's size must lie above 0 and up to 2540 cm."
                     : "The target's size must lie above 0 and up to 1000 in.";
    const struct {
        const char* what;
        double value, high, metricHigh;
        const char *unit, *metricUnit;
    } spreads[] = {{"dispersion", given.dispersionMoa, 100, 100, "MOA", "MOA"},
                   {"wind SD", given.windSd, 50, 22, "mph", "m/s"},
                   {"range estimate's SD", given.rangeSd, 500, 457, "yd", "m"}};
    for (const auto& sp : spreads)
        if (!(sp.value >= 0 && sp.value <= (inMetric ? sp.metricHigh : sp.high)))
            return std::string("The ") + sp.what + " must lie between 0 and " +
                   generalNumber(inMetric ? sp.metricHigh : sp.high) + " " +
                   (inMetric ? sp.metricUnit : sp.unit) + ".";
    if (in.samples < 10000 || in.samples > 1000000)
        return "The samples must lie between 10000 and 1000000 shots a range.";

    RangeCard card;
    if (std::string refusal = card.prepare(in.card); !refusal.empty())
        return refusal;
    const double velocity = card.muzzleVelocity(), wind = card.windSpeed();
    if (!(in.velocitySd >= 0 && in.velocitySd * 6 < velocity))
        return "The velocity SD must lie from 0 to below a sixth of the muzzle velocity (" +
               formatPattern(velocity / 6 * (inMetric ? kMetresPerFoot : 1), "0.0") +
               (inMetric ? " m/s)." : " ft/s).");
    const int nv = in.velocitySd > 0 ? 5 : 1, nw = in.windSd > 0 ? 5 : 1;

    std::vector<RangeModel> models(in.ranges.size());
    std::vector<FlightPoint> points;
    for (std::size_t index = 0; index < in.ranges.size(); ++index) {
        RangeModel& m = models[index];
        m.range = in.ranges[index];
        for (int i = 0; i < nv; ++i)
            for (int j = 0; j < nw; ++j) {
                const double v = velocity + (nv > 1 ? kNodes[i] * in.velocitySd : 0);
                const double w = wind + (nw > 1 ? kNodes[j] * in.windSd : 0);
                if (std::string refusal = card.shots({m.range}, v, w, points); !refusal.empty())
                    return nv > 1 && i != 2
                               ? "With a velocity SD of " + generalNumber(given.velocitySd) +
                                     (inMetric ? " m/s" : " ft/s") + ", the hit chance at " +
                                     card.distanceText(m.range) + " needs shots " +
                                     generalNumber(std::abs(kNodes[i])) + " SD " +
                                     (kNodes[i] < 0 ? "slower" : "faster") + ". " + refusal
                               : refusal;
                m.height[i * nw + j] = points[0].height;
                m.windage[i * nw + j] = points[0].windage;
            }
        if (in.rangeSd > 0) {
            m.low = std::max(m.range - 6 * in.rangeSd, 1.0);
            m.high = m.range + 6 * in.rangeSd;
            m.spacing = (m.high - m.low) / 24;
            std::vector<double> nodes(25);
            for (int k = 0; k < 25; ++k)
                nodes[k] = m.low + k * m.spacing;
            if (std::string refusal = card.shots(nodes, velocity, wind, points); !refusal.empty())
                return "With a range estimate's SD of " + generalNumber(given.rangeSd) +
                       (inMetric ? " m" : " yd") + ", a target at " +
                       card.distanceText(m.range) + " may be taken for one as far as " +
                       card.distanceText(m.high) + " (6 SD). " + refusal;
            for (int k = 0; k < 25; ++k) {
                m.dialHeight[k] = points[k].height;
                m.dialWindage[k] = points[k].windage;
            }
        }
        // Dispersion angles are a few MOA at most: R tan(a) = R a to a part in 10^7.
        m.dispersion = 36 * m.range * in.dispersionMoa * kMoa;
    }

    // Every range sees the same shots, so the curve over range is smooth.
    const double halfWidth = in.width / 2, halfHeight = in.height / 2;
    const double radius2 = in.diameter * in.diameter / 4;
    const int cells = nv * nw;
    const int mean = nv / 2 * nw + nw / 2;
    NormalStream normal(in.seed);
    double wv[5] = {1, 0, 0, 0, 0}, ww[5] = {1, 0, 0, 0, 0}, weight[25];
    for (int n = 0; n < in.samples; ++n) {
        const double zv = normal(), zw = normal(), ze = normal(), zx = normal(), zy = normal();
        if (nv > 1)
            lagrangeWeights(zv, wv);
        if (nw > 1)
            lagrangeWeights(zw, ww);
        for (int i = 0; i < nv; ++i)
            for (int j = 0; j < nw; ++j)
                weight[i * nw + j] = wv[i] * ww[j];
        for (RangeModel& m : models) {
            double y = 0, x = 0;
            for (int k = 0; k < cells; ++k) {
                y += weight[k] * m.height[k];
                x += weight[k] * m.windage[k];
            }
            if (in.rangeSd > 0) {
                const double e = std::clamp(m.range + ze * in.rangeSd, m.low, m.high);
                double h = 0, w = 0;
                m.dialed(e, h, w);
                y -= h * m.range / e;
                x -= w * m.range / e;
            } else {
                y -= m.height[mean];
                x -= m.windage[mean];
            }
            y += m.dispersion * zy;
            x += m.dispersion * zx;
            m.hits += circle ? x * x + y * y <= radius2
                             : std::abs(x) <= halfWidth && std::abs(y) <= halfHeight;
            m.sumX += x;
            m.sumY += y;
            m.sumXX += x * x;
            m.sumYY += y * y;
        }
    }

    std::vector<HitRow> out;
    const double count = in.samples;
    const double unit = given.card.metric ? kCmPerInch : 1;
    auto sd = [count](double sum, double squares) {
        return std::sqrt(std::max(squares / count - (sum / count) * (sum / count), 0.0));
    };
    for (std::size_t index = 0; index < models.size(); ++index) {
        const RangeModel& m = models[index];
        HitRow row;
        row.range = given.ranges[index];
        row.probability = m.hits / count;
        row.meanVertical = m.sumY / count * unit;
        row.meanHorizontal = m.sumX / count * unit;
        row.sigmaVertical = sd(m.sumY, m.sumYY) * unit;
        row.sigmaHorizontal = sd(m.sumX, m.sumXX) * unit;
        if (!std::isfinite(row.meanVertical + row.meanHorizontal + row.sigmaVertical +
                           row.sigmaHorizontal))
            return "The hit probability cannot be computed for these values.";
        out.push_back(row);
    }
    rows = std::move(out);
    return {};
}

} // namespace

} // namespace fendrel
