#!/usr/bin/python3
"""Writes the reference cases of the statistics tests into tests/data/stats/.

    /usr/bin/python3 tools/make_stats_reference.py   (Debian's python3-scipy)

Random velocity strings, groups, ladders and temperature series, and what an independent
implementation makes of them: SciPy's t, chi-squared and F functions (Cephes and CDFLIB, not
Boost), NumPy's arithmetic, and the power of the t test integrated numerically over the
chi-squared distribution of the variance (SciPy's own noncentral t is Boost's, so it is not
used). The tests only read the files; run this again only to change the cases.

Each file holds cases separated by blank lines; a case is lines of a name and its values.
"""

import math
import os

import numpy as np
from scipy import integrate, special, stats

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "data", "stats")
LEVELS = [0.5, 0.8, 0.9, 0.95, 0.99, 0.999]
POWERS = [0.5, 0.8, 0.9, 0.95, 0.99]
CAP = 1000
rng = np.random.default_rng(29)


def text(v):
    if isinstance(v, (bool, np.bool_)):
        return "1" if v else "0"
    if isinstance(v, (int, np.integer)):
        return str(int(v))
    return repr(float(v))


def line(name, *values):
    flat = []
    for v in values:
        flat.extend(v if isinstance(v, (list, tuple, np.ndarray)) else [v])
    return " ".join([name] + [text(v) for v in flat])


def write(name, header, cases):
    with open(os.path.join(OUT, name), "w") as f:
        f.write("# " + header + " (tools/make_stats_reference.py)\n")
        for case in cases:
            f.write("\n" + "\n".join(case) + "\n")


def level(i):
    # Every level of the list, then levels drawn from the whole accepted range.
    return LEVELS[i] if i < len(LEVELS) else float(np.round(rng.uniform(0.5, 0.999), 4))


def sizes(count):
    # 2 and 50 always, the rest drawn between.
    return [2, 50] + [int(n) for n in rng.integers(2, 51, count - 2)]


def string_intervals(shots, c):
    n = len(shots)
    a = 1 - c
    mean, sd = np.mean(shots), np.std(shots, ddof=1)
    half = stats.t.ppf(1 - a / 2, n - 1) * sd / math.sqrt(n)
    return mean, sd, (mean - half, mean + half), sd_interval(sd, n - 1, c)


def sd_interval(s, df, c):
    a = 1 - c
    return (s * math.sqrt(df / stats.chi2.ppf(1 - a / 2, df)),
            s * math.sqrt(df / stats.chi2.ppf(a / 2, df)))


def rayleigh(x, y):
    n = len(x)
    return math.sqrt((np.sum((x - np.mean(x)) ** 2) + np.sum((y - np.mean(y)) ** 2)) / (2 * (n - 1)))


def c4(k):
    return math.sqrt(2 / (k - 1)) * math.exp(special.gammaln(k / 2) - special.gammaln((k - 1) / 2))


def moa(inches, yd):
    return math.degrees(math.atan2(inches, 36 * yd)) * 60


def f_test(sa, sb, d1, d2, c):
    a = 1 - c
    f = (sb / sa) ** 2
    p = min(1.0, 2 * min(stats.f.cdf(f, d1, d2), stats.f.sf(f, d1, d2)))
    ci = (math.sqrt(f / stats.f.ppf(1 - a / 2, d1, d2)), math.sqrt(f / stats.f.ppf(a / 2, d1, d2)))
    return sb / sa, ci, f, p


def shots_for_ratio(r, groups, c, power):
    a = 1 - c
    n = np.arange(2, CAP + 1)
    df = 2 * (n - 1) if groups else n - 1
    got = (stats.f.sf(stats.f.ppf(1 - a / 2, df, df) / r ** 2, df, df) +
           stats.f.cdf(stats.f.ppf(a / 2, df, df) / r ** 2, df, df))
    reached = np.nonzero(got >= power)[0]
    i = reached[0] if len(reached) else len(n) - 1
    return int(n[i]), float(got[i]), len(reached) == 0


def t_power(n, effect, c):
    # P(|T| > t(1 - a/2)) for T = (Z + delta) / sqrt(V / df), V chi-squared: the normal
    # probabilities integrated over V.
    a = 1 - c
    df = 2 * n - 2
    crit = stats.t.ppf(1 - a / 2, df)
    delta = effect * math.sqrt(n / 2)

    def given(v):
        q = crit * math.sqrt(v / df)
        return (special.ndtr(delta - q) + special.ndtr(-q - delta)) * stats.chi2.pdf(v, df)

    lo, hi = stats.chi2.ppf(1e-16, df), stats.chi2.isf(1e-16, df)
    value, _ = integrate.quad(given, lo, hi, points=[df], epsabs=0, epsrel=1e-13, limit=500)
    return value


def shots_for_difference(d, s, c, power):
    effect = abs(d) / s
    if t_power(CAP, effect, c) < power:
        return CAP, t_power(CAP, effect, c), True
    lo, hi = 1, CAP  # power(lo) < power <= power(hi); the power rises with n
    if t_power(2, effect, c) >= power:
        return 2, t_power(2, effect, c), False
    lo = 2
    while hi - lo > 1:
        mid = (lo + hi) // 2
        if t_power(mid, effect, c) >= power:
            hi = mid
        else:
            lo = mid
    return hi, t_power(hi, effect, c), False


def velocity_string(n, mean, sd):
    return np.round(rng.normal(mean, sd, n), 1)


def make_strings():
    cases = []
    for i, n in enumerate(sizes(60)):
        c = level(i % 12)
        shots = velocity_string(n, rng.uniform(1500, 3500), rng.uniform(1, 30))
        mean, sd, mean_ci, sd_ci = string_intervals(shots, c)
        cases.append([line("confidence", c), line("shots", shots), line("mean", mean),
                      line("sd", sd), line("mean_ci", mean_ci), line("sd_ci", sd_ci)])
    write("strings.txt", "velocity strings: the intervals of the mean and the SD", cases)


def make_groups():
    cases = []
    for i, n in enumerate(sizes(60)):
        c = level(i % 12)
        spread = rng.uniform(0.1, 1.5)
        x, y = np.round(rng.normal(0, spread, n), 3), np.round(rng.normal(0, spread, n), 3)
        yd = float(rng.integers(25, 1001))
        s = rayleigh(x, y)
        sigma = s / c4(2 * n - 1)
        ci = sd_interval(s, 2 * (n - 1), c)
        cases.append([line("confidence", c), line("distance", yd), line("x", x), line("y", y),
                      line("sigma", sigma), line("sigma_ci", ci),
                      line("expected_mean_radius", sigma * math.sqrt(math.pi / 2)),
                      line("sigma_moa", moa(sigma, yd)),
                      line("sigma_ci_moa", moa(ci[0], yd), moa(ci[1], yd))])
    write("groups.txt", "groups: the Rayleigh sigma and its interval", cases)


def make_string_comparisons():
    cases = []
    for i in range(40):
        c, power = level(i % 12), POWERS[i % len(POWERS)]
        na, nb = ((2, 50), (50, 2))[i] if i < 2 else rng.integers(2, 51, 2)
        sd = rng.uniform(3, 25)
        a = velocity_string(na, 2700, sd)
        b = velocity_string(nb, 2700 + rng.normal(0, 10), sd * math.exp(rng.normal(0, 0.6)))
        sa, sb = np.std(a, ddof=1), np.std(b, ddof=1)
        va, vb = sa ** 2 / na, sb ** 2 / nb
        d = np.mean(b) - np.mean(a)
        se = math.sqrt(va + vb)
        df = (va + vb) ** 2 / (va ** 2 / (na - 1) + vb ** 2 / (nb - 1))
        t = d / se
        half = stats.t.ppf(1 - (1 - c) / 2, df) * se
        ratio, ratio_ci, f, p_sd = f_test(sa, sb, nb - 1, na - 1, c)
        pooled = math.sqrt(((na - 1) * sa ** 2 + (nb - 1) * sb ** 2) / (na + nb - 2))
        cases.append([line("confidence", c), line("power", power), line("a", a), line("b", b),
                      line("difference", d), line("difference_ci", d - half, d + half),
                      line("welch", t, df, min(1.0, 2 * stats.t.sf(abs(t), df))),
                      line("ratio", ratio, ratio_ci), line("f", f, nb - 1, na - 1, p_sd),
                      line("shots_sd", shots_for_ratio(ratio, False, c, power)),
                      line("shots_mean", shots_for_difference(d, pooled, c, power))])
    write("compare_strings.txt", "two velocity strings: Welch's t, the F test, shots needed",
          cases)


def make_group_comparisons():
    cases = []
    for i in range(40):
        c, power = level(i % 12), POWERS[i % len(POWERS)]
        na, nb = int(rng.integers(2, 51)), int(rng.integers(2, 51))
        spread = rng.uniform(0.2, 1.2)
        other = spread * math.exp(rng.normal(0, 0.5))
        xa, ya = np.round(rng.normal(0, spread, (2, na)), 3)
        xb, yb = np.round(rng.normal(0, other, (2, nb)), 3)
        ratio, ratio_ci, f, p = f_test(rayleigh(xa, ya), rayleigh(xb, yb), 2 * (nb - 1),
                                       2 * (na - 1), c)
        cases.append([line("confidence", c), line("power", power), line("xa", xa),
                      line("ya", ya), line("xb", xb), line("yb", yb),
                      line("ratio", ratio, ratio_ci), line("f", f, 2 * (nb - 1), 2 * (na - 1), p),
                      line("shots", shots_for_ratio(ratio, True, c, power))])
    write("compare_groups.txt", "two groups: the F test on the Rayleigh s, shots needed", cases)


def make_plans():
    cases = []
    for i in range(60):
        c, power = level(i % 12), POWERS[i % len(POWERS)]
        if i % 3 < 2:
            r = float(np.round(math.exp(rng.uniform(-1.2, 1.2)), 3))
            groups = i % 3 == 1
            cases.append([line("confidence", c), line("power", power),
                          line("sd_ratio", r, groups),
                          line("shots", shots_for_ratio(r, groups, c, power))])
        else:
            d, s = float(np.round(rng.uniform(0.5, 30), 2)), float(np.round(rng.uniform(2, 30), 2))
            cases.append([line("confidence", c), line("power", power),
                          line("mean_difference", d, s),
                          line("shots", shots_for_difference(d, s, c, power))])
    write("plan.txt", "shots a load needed to show an SD ratio or a difference of means", cases)


def fit(x, y, c):
    r = stats.linregress(x, y)
    half = stats.t.ppf(1 - (1 - c) / 2, len(x) - 2) * r.stderr
    return r.slope, (r.slope - half, r.slope + half), r.intercept


def make_ladders():
    cases = []
    for i in range(30):
        c = level(i % 12)
        charges = 41.0 + 0.3 * np.arange(int(rng.integers(2, 9)))
        flat = int(rng.integers(0, len(charges)))  # the step after this charge is flat
        rise, noise = rng.uniform(8, 30), rng.uniform(0.5, 12)
        x, y = [], []
        for k, charge in enumerate(charges):
            count = int(rng.integers(1, 11)) if rng.uniform() < 0.8 else 1
            centre = 2500 + sum(0.5 if j == flat else rise for j in range(k))
            x += [charge] * count
            y += list(np.round(rng.normal(centre, noise, count), 1))
        if len(x) < 3:
            x.append(charges[0])
            y.append(round(float(rng.normal(2500, noise)), 1))
        x, y = np.array(x), np.array(y)
        slope, slope_ci, intercept = fit(x, y, c)
        case = [line("confidence", c), line("charge", x), line("velocity", y),
                line("slope", slope, slope_ci), line("intercept", intercept)]
        per = []
        for charge in charges:
            v = y[x == charge]
            if len(v) == 1:
                case.append(line("at", charge, 1, v[0]))
                per.append((charge, 1, v[0], 0.0))
                continue
            mean, sd, mean_ci, sd_ci = string_intervals(v, c)
            on = intercept + slope * charge
            case.append(line("at", charge, len(v), mean, mean_ci, sd, sd_ci,
                             on < mean_ci[0] or on > mean_ci[1]))
            per.append((charge, len(v), mean, sd))
        spots = []
        for (c1, n1, m1, s1), (c2, n2, m2, s2) in zip(per, per[1:]):
            df = n1 + n2 - 2
            if df < 1:
                continue
            pooled = math.sqrt(((n1 - 1) * s1 ** 2 + (n2 - 1) * s2 ** 2) / df)
            step = (m2 - m1) / (c2 - c1)
            upper = step + stats.t.ppf(1 - (1 - c) / 2, df) * pooled * math.sqrt(1 / n1 + 1 / n2) / (c2 - c1)
            if upper < slope:
                spots += [c1, c2]
        case.append(line("flat_spots", spots))
        cases.append(case)
    write("ladder.txt", "powder charge ladders: the line, each charge, the flat spots", cases)


def make_sensitivities():
    cases = []
    for i in range(30):
        c = level(i % 12)
        temperatures = np.sort(rng.choice(np.arange(-20, 111, 5), int(rng.integers(2, 7)),
                                          replace=False)).astype(float)
        x, y = [], []
        for t in temperatures:
            count = int(rng.integers(1, 11))
            x += [t] * count
            y += list(np.round(rng.normal(2700 + rng.uniform(0.5, 2) * (t - 59), rng.uniform(2, 12), count), 1))
        if len(x) < 3:
            x.append(temperatures[-1])
            y.append(y[-1] + 3.0)
        x, y = np.array(x), np.array(y)
        slope, slope_ci, intercept = fit(x, y, c)
        scale = 100 * 15 / np.mean(y)
        cases.append([line("confidence", c), line("temperature", x), line("velocity", y),
                      line("slope", slope, slope_ci), line("intercept", intercept),
                      line("percent", scale * slope, scale * slope_ci[0], scale * slope_ci[1])])
    write("sensitivity.txt", "temperature sensitivity: the line and its slope in percent", cases)


if __name__ == "__main__":
    os.makedirs(OUT, exist_ok=True)
    make_strings()
    make_groups()
    make_string_comparisons()
    make_group_comparisons()
    make_plans()
    make_ladders()
    make_sensitivities()
