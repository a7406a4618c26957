#include "Truing.h"

#include "DropScale.h"
#include "MetricUnits.h"
#include "RangeCard.h"
#include "core/common/Numbers.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>
#include <numeric>

namespace fendrel {

namespace {

using metric::kMilPerMoa;

// What the card says at a few distances, in any order, for one input.
struct CardAnswer {
    std::vector<double> correction; // up, MOA or mil
    std::vector<double> mach;
    std::vector<double> velocity; // the input's units
    double muzzleVelocity = 0;    // the input's units
};

Result<CardAnswer> askCard(const RangeCardInput& in, ClickUnit unit,
                           const std::vector<double>& ranges) {
    std::vector<std::size_t> order(ranges.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return ranges[a] < ranges[b]; });
    std::vector<double> ascending;
    for (std::size_t i : order)
        ascending.push_back(ranges[i]);
    RangeCard card;
    std::vector<RangeCardRow> rows;
    std::string refusal = card.prepare(in);
    if (refusal.empty())
        refusal = card.rows(ascending, rows);
    if (!refusal.empty())
        return Result<CardAnswer>::refused(refusal);
    CardAnswer a;
    a.correction.resize(ranges.size());
    a.mach.resize(ranges.size());
    a.velocity.resize(ranges.size());
    for (std::size_t k = 0; k < order.size(); ++k) {
        const RangeCardRow& r = rows[k];
        a.correction[order[k]] =
            (unit == ClickUnit::Moa ? r.elevationMoa : r.elevationMil).value_or(0);
        a.mach[order[k]] = r.mach;
        a.velocity[order[k]] = r.velocity;
    }
    a.muzzleVelocity = card.summary().muzzleVelocity;
    return Result<CardAnswer>::done(std::move(a));
}

// A weighted least-squares fit of one or two parameters to observations, by Gauss-Newton steps
// with the Jacobian from central differences, halved while they do not lower the weighted sum
// of squares. As many observations as parameters are matched exactly.
struct TruingProblem {
    std::vector<double> observed, weights;
    std::vector<double> start;
    std::vector<double> step;      // of the differences
    std::vector<double> tolerance; // a step below these in every parameter ends the fit
    // A change of a parameter by its `scale` that moves the observations by less than a
    // thousandth of their errors leaves it undetermined, refused with `undetermined`.
    std::vector<double> scale;
    std::string undetermined;
    std::function<Result<std::vector<double>>(const std::vector<double>&)> predict;
};

struct TruingSolution {
    std::vector<double> parameters;
    // Cov = s^2 (J'WJ)^-1 with s^2 the weighted sum of squares over n - k, or 1 for an exact
    // fit, where (J'WJ)^-1 = A^-1 diag(se^2) A^-T.
    std::vector<double> errors;
};

double truingSum(const TruingProblem& pr, const std::vector<double>& predicted) {
    double sum = 0;
    for (std::size_t i = 0; i < predicted.size(); ++i) {
        const double r = pr.observed[i] - predicted[i];
        sum += pr.weights[i] * r * r;
    }
    return sum;
}

Result<TruingSolution> solveTruing(const TruingProblem& pr) {
    using Answer = Result<TruingSolution>;
    const std::size_t n = pr.observed.size(), k = pr.start.size();
    std::vector<double> p = pr.start;
    Result<std::vector<double>> at = pr.predict(p);
    if (!at)
        return Answer::refused(at);
    double sum = truingSum(pr, at.value);
    std::string edge; // the card's refusal of the last step it did not take
    for (int iteration = 0; iteration < kTruingIterations; ++iteration) {
        std::vector<std::vector<double>> jac(k, std::vector<double>(n));
        for (std::size_t j = 0; j < k; ++j) {
            // Central differences; one-sided at the edge of what the card takes.
            std::vector<double> up = p, down = p;
            up[j] += pr.step[j];
            down[j] -= pr.step[j];
            Result<std::vector<double>> above = pr.predict(up), below = pr.predict(down);
            if (!above && !below)
                return Answer::refused(above);
            if (!above)
                above = at, up = p;
            if (!below)
                below = at, down = p;
            for (std::size_t i = 0; i < n; ++i)
                jac[j][i] = (above.value[i] - below.value[i]) / (up[j] - down[j]);
        }
        double a[2][2] = {}, g[2] = {};
        for (std::size_t i = 0; i < n; ++i) {
            const double r = pr.observed[i] - at.value[i];
            for (std::size_t j = 0; j < k; ++j) {
                g[j] += pr.weights[i] * jac[j][i] * r;
                for (std::size_t l = 0; l < k; ++l)
                    a[j][l] += pr.weights[i] * jac[j][i] * jac[l][i];
            }
        }
        for (std::size_t j = 0; j < k; ++j)
            if (!(a[j][j] * pr.scale[j] * pr.scale[j] >= 1e-6))
                return Answer::refused(pr.undetermined);
        double inv[2][2] = {};
        if (k == 1) {
            inv[0][0] = 1 / a[0][0];
        } else {
            const double det = a[0][0] * a[1][1] - a[0][1] * a[1][0];
            if (!(det > 1e-9 * a[0][0] * a[1][1]))
                return Answer::refused(pr.undetermined);
            inv[0][0] = a[1][1] / det, inv[1][1] = a[0][0] / det;
            inv[0][1] = -a[0][1] / det, inv[1][0] = -a[1][0] / det;
        }
        std::vector<double> d(k);
        bool small = true;
        double decrease = 0; // of the weighted sum, were the model linear
        for (std::size_t j = 0; j < k; ++j) {
            for (std::size_t l = 0; l < k; ++l)
                d[j] += inv[j][l] * g[l];
            small = small && std::abs(d[j]) <= pr.tolerance[j];
            decrease += g[j] * d[j];
        }
        auto settled = [&]() {
            const double s2 = n > k ? sum / static_cast<double>(n - k) : 1;
            TruingSolution s{p, std::vector<double>(k)};
            for (std::size_t j = 0; j < k; ++j)
                s.errors[j] = std::sqrt(s2 * inv[j][j]);
            if (!std::all_of(s.errors.begin(), s.errors.end(),
                             [](double e) { return std::isfinite(e); }))
                return Answer::refused(pr.undetermined);
            return Answer::done(std::move(s));
        };
        // Settled when the step is below the tolerances or would lower the sum by less than
        // 1e-10 (a move of 1e-5 standard errors).
        if (small || decrease <= 1e-10)
            return settled();
        bool stepped = false;
        for (double part = 1; part > 1e-6 && !stepped; part /= 2) {
            std::vector<double> q = p;
            for (std::size_t j = 0; j < k; ++j)
                q[j] += part * d[j];
            Result<std::vector<double>> trial = pr.predict(q);
            if (!trial) {
                edge = trial.refusal;
                continue;
            }
            const double trialSum = truingSum(pr, trial.value);
            if (trialSum < sum) {
                p = q;
                at = std::move(trial);
                sum = trialSum;
                stepped = true;
            }
        }
        // The flight's fixed steps make the sum a little rough on the finest scale: where no
        // step lowers it and the linear model promises less than 1e-4 (a hundredth of a
        // standard error), the fit is as good as the card can tell.
        if (!stepped && decrease <= 1e-4)
            return settled();
        if (!stepped)
            break;
    }
    if (!edge.empty() && edge.back() == '.')
        edge.pop_back();
    if (!edge.empty())
        return Answer::refused("The fit stops at the edge of what the card takes (" + edge +
                               "): the observations disagree with each other or with the card's "
                               "other values, or tell too little.");
    return Answer::refused("The fit does not settle in " + std::to_string(kTruingIterations) +
                           " steps: the observations disagree with each other or with the "
                           "card's other values.");
}

std::string distanceName(const RangeCardInput& in, double distance) {
    return generalNumber(distance) + (in.metric ? " m" : " yd");
}

std::string unitName(ClickUnit unit) {
    return unit == ClickUnit::Moa ? " MOA" : " mil";
}

std::string observationRefusal(const RangeCardInput& in, ClickUnit unit,
                               const std::vector<ObservedCorrection>& observed) {
    const bool moa = unit == ClickUnit::Moa;
    const double longest = in.metric ? 4572 : 5000;
    const double largest = moa ? 2700 : 785, smallestError = moa ? 0.001 : 0.0003,
                 largestError = moa ? 100 : 30;
    for (const ObservedCorrection& o : observed) {
        if (!(o.range > 0 && o.range <= longest))
            return "An observed range must lie above 0 and at most " + distanceName(in, longest) +
                   ".";
        if (!(std::abs(o.correction) <= largest))
            return "The correction observed at " + distanceName(in, o.range) +
                   " must lie between -" + generalNumber(largest) + " and " +
                   generalNumber(largest) + unitName(unit) + ".";
        if (o.error && !(*o.error >= smallestError && *o.error <= largestError))
            return "The error of the correction at " + distanceName(in, o.range) +
                   " must lie between " + generalNumber(smallestError) + " and " +
                   generalNumber(largestError) + unitName(unit) + ".";
    }
    return {};
}

std::vector<double> rangesOf(const std::vector<ObservedCorrection>& observed) {
    std::vector<double> ranges;
    for (const ObservedCorrection& o : observed)
        ranges.push_back(o.range);
    return ranges;
}

std::vector<double> observationWeights(ClickUnit unit,
                                       const std::vector<ObservedCorrection>& observed) {
    const double fallback = kDefaultCorrectionErrorMoa * (unit == ClickUnit::Moa ? 1 : kMilPerMoa);
    std::vector<double> weights;
    for (const ObservedCorrection& o : observed) {
        const double e = o.error.value_or(fallback);
        weights.push_back(1 / (e * e));
    }
    return weights;
}

std::vector<TruingResidual> truingResiduals(const std::vector<ObservedCorrection>& observed,
                                            const std::vector<double>& predicted) {
    std::vector<TruingResidual> out;
    for (std::size_t i = 0; i < observed.size(); ++i)
        out.push_back({observed[i].range, observed[i].correction, predicted[i],
                       observed[i].correction - predicted[i]});
    return out;
}

// The card's input with its velocity moved by `shift` (the input's units): the muzzle velocity
// moves by the same, whatever the powder temperature.
RangeCardInput shiftedVelocity(RangeCardInput in, double shift) {
    in.velocity += shift;
    return in;
}

// "" or the refusal of an observation where the bullet is slower than Mach 1.2 for the fit of
// the muzzle velocity.
std::string transonicRefusal(const RangeCardInput& in, const std::vector<ObservedCorrection>& o,
                             const CardAnswer& answer, const char* when) {
    for (std::size_t i = 0; i < o.size(); ++i)
        if (answer.mach[i] < DropScale::kFromMach)
            return "At " + distanceName(in, o[i].range) + " the bullet is slower than Mach 1.2 " +
                   when + " (Mach " + formatPattern(answer.mach[i], "0.000") +
                   "): the muzzle velocity is fitted from observations faster than that. Fit "
                   "the drop scale with the slower ones instead.";
    return {};
}

} // namespace

Result<std::vector<TruingResidual>> cardResiduals(const RangeCardInput& card, ClickUnit unit,
                                                  const std::vector<ObservedCorrection>& observed) {
    using Answer = Result<std::vector<TruingResidual>>;
    if (std::string refusal = observationRefusal(card, unit, observed); !refusal.empty())
        return Answer::refused(refusal);
    const std::vector<double> ranges = rangesOf(observed);
    const Result<CardAnswer> a = askCard(card, unit, ranges);
    if (!a)
        return Answer::refused(a);
    return Answer::done(truingResiduals(observed, a.value.correction));
}

Result<VelocityTruing> trueVelocity(const RangeCardInput& card, ClickUnit unit,
                                    const std::vector<ObservedCorrection>& observed) {
    using Answer = Result<VelocityTruing>;
    if (observed.empty())
        return Answer::refused("The muzzle velocity needs at least one observed correction.");
    if (std::string refusal = observationRefusal(card, unit, observed); !refusal.empty())
        return Answer::refused(refusal);
    const std::vector<double> ranges = rangesOf(observed);
    const Result<CardAnswer> given = askCard(card, unit, ranges);
    if (!given)
        return Answer::refused(given);
    if (std::string refusal =
            transonicRefusal(card, observed, given.value, "at the given velocity");
        !refusal.empty())
        return Answer::refused(refusal);

    TruingProblem pr;
    for (const ObservedCorrection& o : observed)
        pr.observed.push_back(o.correction);
    pr.weights = observationWeights(unit, observed);
    pr.start = {0};
    pr.step = {1};
    pr.tolerance = {1e-4};
    pr.scale = {100};
    pr.undetermined = "The observed corrections hardly change with the muzzle velocity (at the "
                      "zero range they tell nothing of it): observe farther away.";
    pr.predict = [&](const std::vector<double>& p) -> Result<std::vector<double>> {
        Result<CardAnswer> a = askCard(shiftedVelocity(card, p[0]), unit, ranges);
        if (!a)
            return Result<std::vector<double>>::refused(a);
        return Result<std::vector<double>>::done(std::move(a.value.correction));
    };
    const Result<TruingSolution> fit = solveTruing(pr);
    if (!fit)
        return Answer::refused(fit);
    const RangeCardInput fitted = shiftedVelocity(card, fit.value.parameters[0]);
    const Result<CardAnswer> after = askCard(fitted, unit, ranges);
    if (!after)
        return Answer::refused(after);
    if (std::string refusal =
            transonicRefusal(card, observed, after.value, "at the fitted velocity");
        !refusal.empty())
        return Answer::refused(refusal);
    VelocityTruing t;
    t.velocity = after.value.muzzleVelocity;
    t.standardError = fit.value.errors[0];
    t.change = t.velocity - given.value.muzzleVelocity;
    t.inputVelocity = fitted.velocity;
    t.residuals = truingResiduals(observed, after.value.correction);
    return Answer::done(std::move(t));
}

Result<DropScaleTruing> trueDropScale(const RangeCardInput& card, ClickUnit unit,
                                      const std::vector<ObservedCorrection>& observed) {
    using Answer = Result<DropScaleTruing>;
    if (observed.empty())
        return Answer::refused("The drop scale needs at least one observed correction.");
    if (std::string refusal = observationRefusal(card, unit, observed); !refusal.empty())
        return Answer::refused(refusal);
    RangeCardInput standard = card;
    standard.dropScale.clear();
    const std::vector<double> ranges = rangesOf(observed);
    const Result<CardAnswer> given = askCard(standard, unit, ranges);
    if (!given)
        return Answer::refused(given);

    // The observations past Mach 1.2, and the nearest and farthest of them by Mach number.
    std::vector<std::size_t> slow;
    for (std::size_t i = 0; i < observed.size(); ++i)
        if (given.value.mach[i] < DropScale::kFromMach)
            slow.push_back(i);
    if (slow.empty()) {
        const std::size_t far = static_cast<std::size_t>(
            std::min_element(given.value.mach.begin(), given.value.mach.end()) -
            given.value.mach.begin());
        return Answer::refused("No observation is where the bullet is slower than Mach 1.2 (at " +
                               distanceName(card, observed[far].range) + " it flies at Mach " +
                               formatPattern(given.value.mach[far], "0.000") +
                               "): the drop scale is fitted from those. Fit the muzzle velocity "
                               "with these instead.");
    }
    double fastest = 0, slowest = DropScale::kFromMach;
    for (std::size_t i : slow) {
        fastest = std::max(fastest, given.value.mach[i]);
        slowest = std::min(slowest, given.value.mach[i]);
    }
    std::vector<double> knotMach = {fastest};
    if (slow.size() > 1 && fastest - slowest >= 0.005)
        knotMach.push_back(slowest);

    TruingProblem pr;
    std::vector<double> slowRanges;
    for (std::size_t i : slow) {
        pr.observed.push_back(observed[i].correction);
        slowRanges.push_back(observed[i].range);
    }
    const std::vector<double> weights = observationWeights(unit, observed);
    for (std::size_t i : slow)
        pr.weights.push_back(weights[i]);
    pr.start.assign(knotMach.size(), 1);
    pr.step.assign(knotMach.size(), 0.01);
    pr.tolerance.assign(knotMach.size(), 1e-7);
    pr.scale.assign(knotMach.size(), 1);
    pr.undetermined = "The observed corrections hardly change with the drop scale (the bullet is "
                      "barely slower than Mach 1.2 there): observe farther away.";
    auto scaled = [&](const std::vector<double>& factors) {
        RangeCardInput in = standard;
        for (std::size_t j = 0; j < factors.size(); ++j)
            in.dropScale.push_back({knotMach[j], factors[j]});
        return in;
    };
    pr.predict = [&](const std::vector<double>& p) -> Result<std::vector<double>> {
        Result<CardAnswer> a = askCard(scaled(p), unit, slowRanges);
        if (!a)
            return Result<std::vector<double>>::refused(a);
        return Result<std::vector<double>>::done(std::move(a.value.correction));
    };
    const Result<TruingSolution> fit = solveTruing(pr);
    if (!fit)
        return Answer::refused(fit);
    const Result<CardAnswer> after = askCard(scaled(fit.value.parameters), unit, ranges);
    if (!after)
        return Answer::refused(after);
    DropScaleTruing t;
    for (std::size_t j = 0; j < knotMach.size(); ++j) {
        t.knots.push_back({knotMach[j], fit.value.parameters[j]});
        t.factorErrors.push_back(fit.value.errors[j]);
    }
    t.residuals = truingResiduals(observed, after.value.correction);
    return Answer::done(std::move(t));
}

Result<BallisticCoefficientTruing> trueBallisticCoefficient(const RangeCardInput& card,
                                                            const MeasuredVelocity& near,
                                                            const MeasuredVelocity& far) {
    using Answer = Result<BallisticCoefficientTruing>;
    const bool m = card.metric;
    const std::string speed = m ? " m/s" : " ft/s";
    const double fastest = m ? 1830 : 6000, longest = m ? 4572 : 5000;
    const double fallback = kDefaultVelocityErrorFps * (m ? metric::kMetresPerFoot : 1);
    const double smallestError = m ? 0.01 : 0.03, largestError = m ? 150 : 500;
    for (const MeasuredVelocity* v : {&near, &far}) {
        const char* which = v == &near ? "near" : "far";
        if (!(v->velocity > 0 && v->velocity <= fastest))
            return Answer::refused(std::string("The ") + which +
                                   " velocity must lie above 0 and at most " +
                                   generalNumber(fastest) + speed + ".");
        if (!(v->distance >= 0 && v->distance <= longest))
            return Answer::refused(std::string("The distance of the ") + which +
                                   " velocity must lie between 0 and " +
                                   distanceName(card, longest) + ".");
        if (v->error && !(*v->error >= smallestError && *v->error <= largestError))
            return Answer::refused(std::string("The error of the ") + which +
                                   " velocity must lie between " + generalNumber(smallestError) +
                                   " and " + generalNumber(largestError) + speed + ".");
    }
    if (card.bcBands.size() > 1)
        return Answer::refused("The BC from two velocities is one BC: give the card a single "
                               "BC, not velocity bands.");
    if (!(far.distance > near.distance))
        return Answer::refused("The far velocity must be measured farther from the muzzle than "
                               "the near one.");
    if (!(far.velocity < near.velocity))
        return Answer::refused("The far velocity, " + generalNumber(far.velocity) + speed +
                               ", must be below the near one, " + generalNumber(near.velocity) +
                               speed + ": the bullet slows down on its way.");

    // Two parameters, the input's velocity (moved by p[0]) and the BC, matched exactly to the
    // two velocities: the BC's error is the two velocities' propagated through the derivatives.
    TruingProblem pr;
    pr.observed = {near.velocity, far.velocity};
    for (const MeasuredVelocity* v : {&near, &far}) {
        const double e = v->error.value_or(fallback);
        pr.weights.push_back(1 / (e * e));
    }
    const double bc =
        card.bcBands.empty() ? card.ballisticCoefficient : card.bcBands.front().ballisticCoefficient;
    pr.start = {0, bc};
    pr.step = {1, bc * 1e-4};
    pr.tolerance = {1e-5, bc * 1e-9};
    pr.scale = {100, bc};
    pr.undetermined = "The two velocities do not tell the ballistic coefficient: measure them "
                      "farther apart.";
    const std::vector<double> distances = {near.distance, far.distance};
    pr.predict = [&](const std::vector<double>& p) -> Result<std::vector<double>> {
        RangeCardInput in = shiftedVelocity(card, p[0]);
        in.ballisticCoefficient = p[1];
        in.bcBands.clear();
        Result<CardAnswer> a = askCard(in, ClickUnit::Moa, distances);
        if (!a)
            return Result<std::vector<double>>::refused(a);
        return Result<std::vector<double>>::done(std::move(a.value.velocity));
    };
    const Result<TruingSolution> fit = solveTruing(pr);
    if (!fit)
        return Answer::refused(fit);
    BallisticCoefficientTruing t;
    t.ballisticCoefficient = fit.value.parameters[1];
    t.standardError = fit.value.errors[1];
    t.changePercent = (t.ballisticCoefficient / bc - 1) * 100;
    return Answer::done(t);
}

} // namespace fendrel
