#!/usr/bin/python3
"""An independent point-mass trajectory solver that writes the range card's test fixtures.

It shares no code with the program: plain Python 3, its own SI air model, its own drag-table
reading, time-stepped RK4 with a small step in east-north-up coordinates, a bisection zero and
straight-line crossing of the row planes. The program's solver must agree with it to the
tolerances its tests state.

Physics, as the range card describes it:
- Air: station pressure, temperature, humidity; missing pressure or temperature take the ICAO
  standard value at the altitude. Moist density from the partial pressures of dry air and water
  vapour (Tetens saturation pressure), as a ratio to 1.225 kg/m^3. Along the path the density
  ratio falls by exp(-dh / 34112 ft) and the temperature by 6.5 K per km; the speed of sound is
  sqrt(gamma R T).
- Drag: rho * pi * Cd(M) * V^2 / (8 * 144 * BC) against the velocity relative to the air.
- Wind: speed and the direction it blows from, clockwise from the target.
- Coriolis: -2 Omega x v with Omega in east-north-up coordinates.
- Rows: where the bullet crosses the plane perpendicular to the line of sight at R along it.
- Stability (Miller) and spin drift (Litz) added to the windage.

A BC given as velocity bands ("0.496@2800,0.485@1800,0.435@1600", fastest first) takes the BC
of the band whose velocity is the highest at or below the speed relative to the air (the
slowest band's below it).

Writes tests/data/rangecard/*.txt: "key=value" inputs, then "range,height_in,windage_in,
velocity_fps,time_s" rows; hit_cases.txt with linearised-Gaussian hit probabilities built
from this solver's sensitivities; the windage of wind brackets (wind drift alone);
point_blank_cases.txt and danger_space_cases.txt, one case a line, from level flights in calm
air integrated in time by SciPy's DOP853 with dense output and their crossings found by
Brent's method.

Usage: /usr/bin/python3 tools/reference_trajectory.py [REFERENCE_FOLDER]
       (Debian's python3-scipy; default folder: ../shared/reference)
"""
import bisect
import csv
import math
import pathlib
import random
import sys

from scipy import integrate, optimize

REPO = pathlib.Path(__file__).resolve().parent.parent
OUT = REPO / "tests" / "data" / "rangecard"

G = 32.174                      # ft/s^2
FT = 0.3048                     # m per ft
RHO0_LB_FT3 = 0.0764742         # ICAO sea-level density, lb/ft^3
RHO0_SI = 1.225                 # kg/m^3
R_DRY, R_VAPOUR = 287.05287, 461.495
OMEGA = 7.292115e-5             # rad/s
DT = 0.0005                     # s


def read_table(path):
    with open(path, newline="") as f:
        rows = list(csv.reader(f))[1:]
    mach = [float(r[0]) for r in rows if r]
    cd = [float(r[1]) for r in rows if r]
    return mach, cd


def cd_at(table, m):
    mach, cd = table
    i = bisect.bisect_right(mach, m) - 1
    i = max(0, min(i, len(mach) - 2))
    return cd[i] + (cd[i + 1] - cd[i]) * (m - mach[i]) / (mach[i + 1] - mach[i])


class Air:
    def __init__(self, pressure_inhg=None, temperature_f=None, humidity=0.0, altitude_ft=0.0):
        h = altitude_ft * FT
        t_std = 288.15 - 0.0065 * h
        p = pressure_inhg * 3386.389 if pressure_inhg is not None else 101325.0 * (t_std / 288.15) ** 5.25588
        t = (temperature_f - 32.0) / 1.8 + 273.15 if temperature_f is not None else t_std
        tc = t - 273.15
        e = humidity / 100.0 * 610.78 * math.exp(17.27 * tc / (tc + 237.3))
        self.kelvin = t
        self.pascal = p
        self.ratio = ((p - e) / (R_DRY * t) + e / (R_VAPOUR * t)) / RHO0_SI

    def at(self, dh_ft):
        """Density ratio and speed of sound (ft/s) dh feet above the firing point."""
        t = self.kelvin - 0.0065 * dh_ft * FT
        return self.ratio * math.exp(-dh_ft / 34112.0), math.sqrt(1.4 * R_DRY * t) / FT


def add(a, b, k=1.0):
    return [x + k * y for x, y in zip(a, b)]


def dot(a, b):
    return sum(x * y for x, y in zip(a, b))


def cross(a, b):
    return [a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]]


def bc_bands(c):
    """The BC as (bc, lowest velocity) bands, fastest first; one BC is one band."""
    if isinstance(c["bc"], str):
        return [(float(b.split("@")[0]), float(b.split("@")[1])) for b in c["bc"].split(",")]
    return [(c["bc"], 0.0)]


def drag_factor(bands, speed):
    """rho0 pi / (1152 BC) of the band the speed (ft/s relative to the air) falls in."""
    for bc, low in bands[:-1]:
        if speed >= low:
            return RHO0_LB_FT3 * math.pi / (1152 * bc)
    return RHO0_LB_FT3 * math.pi / (1152 * bands[-1][0])


def miller(c):
    if not all(k in c for k in ("weight", "diameter", "length", "twist")):
        return None
    d = c["diameter"]
    t, l = abs(c["twist"]) / d, c["length"] / d
    air = Air(c.get("pressure"), c.get("temperature"), c.get("humidity", 0), c.get("altitude", 0))
    sg = 30 * c["weight"] / (t * t * d ** 3 * l * (1 + l * l))
    temp_f = (air.kelvin - 273.15) * 1.8 + 32
    return sg * (muzzle_velocity(c) / 2800) ** (1 / 3) * (temp_f + 460) / 519 * 29.92 / (air.pascal / 3386.389)


def muzzle_velocity(c):
    air = Air(c.get("pressure"), c.get("temperature"), c.get("humidity", 0), c.get("altitude", 0))
    t_air = (air.kelvin - 273.15) * 1.8 + 32
    powder = c.get("powder-temperature", t_air)
    return c["velocity"] + c.get("temperature-sensitivity", 0) * (powder - c.get("velocity-temperature", 59))


def fly(c, table, alpha, ranges_yd, level=False, velocity=None, wind_mph=None, scale=None):
    """Rows (range, height in, windage in without spin drift, speed, time) at the given ranges.

    scale(mach), when given, multiplies the drag coefficient: a bullet whose drag differs from
    the table's."""
    air = Air(c.get("pressure"), c.get("temperature"), c.get("humidity", 0), c.get("altitude", 0))
    theta = 0.0 if level else math.radians(c.get("look-angle", 0))
    az = math.radians(c.get("azimuth", 0))
    up = [0.0, 0.0, 1.0]
    down = [math.sin(az), math.cos(az), 0.0]
    right = [math.cos(az), -math.sin(az), 0.0]
    los = add([math.cos(theta) * x for x in down], up, math.sin(theta))
    normal = add([-math.sin(theta) * x for x in down], up, math.cos(theta))
    h = c.get("sight-height", 1.5) / 12
    sight = add([-h * math.sin(alpha) * x for x in los], normal, h * math.cos(alpha))
    bore = add([math.cos(alpha) * x for x in los], normal, math.sin(alpha))
    v0 = velocity if velocity is not None else muzzle_velocity(c)
    w = 0.0 if level else (wind_mph if wind_mph is not None else c.get("wind-speed", 0)) * 5280 / 3600
    phi = math.radians(c.get("wind-from", 0))
    wind = add([-w * math.cos(phi) * x for x in down], right, -w * math.sin(phi))
    lat = c.get("latitude")
    omega = [0.0, 0.0, 0.0] if level or lat is None else \
        [0.0, OMEGA * math.cos(math.radians(lat)), OMEGA * math.sin(math.radians(lat))]
    bands = bc_bands(c)

    def accel(p, v):
        ratio, sound = air.at(p[2])
        rel = add(v, wind, -1)
        speed = math.sqrt(dot(rel, rel))
        m = speed / sound
        k = drag_factor(bands, speed)
        drag = ratio * k * cd_at(table, m) * (scale(m) if scale else 1.0) * speed
        cor = cross(omega, v)
        return [-drag * rel[i] - 2 * cor[i] - (G if i == 2 else 0) for i in range(3)]

    p, v, t = [0.0, 0.0, 0.0], [v0 * x for x in bore], 0.0
    rows = []
    targets = sorted(ranges_yd)
    if targets and targets[0] == 0:
        rows.append((0, dot(add(p, sight, -1), normal) * 12, 0.0, v0, 0.0))
        targets = targets[1:]
    prev = None
    while targets:
        s = dot(add(p, sight, -1), los)
        if prev is not None and s >= targets[0] * 3:
            ps, pp, pv, pt = prev
            f = (targets[0] * 3 - ps) / (s - ps)
            q = add(pp, add(p, pp, -1), f)
            u = add(pv, add(v, pv, -1), f)
            rows.append((targets[0], dot(add(q, sight, -1), normal) * 12, dot(q, right) * 12,
                         math.sqrt(dot(u, u)), pt + f * DT))
            targets = targets[1:]
            continue
        if t > 20:
            raise SystemExit("the bullet does not reach the range")
        prev = (s, p, v, t)
        k1v, k1a = v, accel(p, v)
        k2v = add(v, k1a, DT / 2); k2a = accel(add(p, k1v, DT / 2), k2v)
        k3v = add(v, k2a, DT / 2); k3a = accel(add(p, k2v, DT / 2), k3v)
        k4v = add(v, k3a, DT); k4a = accel(add(p, k3v, DT), k4v)
        p = [p[i] + DT / 6 * (k1v[i] + 2 * k2v[i] + 2 * k3v[i] + k4v[i]) for i in range(3)]
        v = [v[i] + DT / 6 * (k1a[i] + 2 * k2a[i] + 2 * k3a[i] + k4a[i]) for i in range(3)]
        t += DT
    return rows


def zero(c, table, scale=None):
    lo, hi = -0.01, 0.1
    for _ in range(50):
        mid = (lo + hi) / 2
        if fly(c, table, mid, [c.get("zero", 100)], level=True, scale=scale)[0][1] > 0:
            hi = mid
        else:
            lo = mid
    return (lo + hi) / 2


def spin(c, sg, t):
    return 0.0 if sg is None else math.copysign(1.25 * (sg + 1.2) * t ** 1.83, c["twist"])


CASES = {
    # The independent trajectory check: standard air, zero 200 yd.
    "check_g1": {"bc": 0.4, "drag": "G1", "velocity": 2700, "weight": 150, "diameter": 0.308,
                 "zero": 200},
    "g7_mountain_crosswind": {"bc": 0.243, "drag": "G7", "velocity": 2800, "weight": 175,
                              "diameter": 0.308, "length": 1.24, "twist": 10, "zero": 100,
                              "pressure": 25.5, "temperature": 40, "humidity": 30,
                              "altitude": 5000, "wind-speed": 10, "wind-from": 90},
    "g1_humid_uphill_left_twist": {"bc": 0.5, "drag": "G1", "velocity": 3000, "weight": 162,
                                   "diameter": 0.284, "length": 1.3, "twist": -9, "zero": 200,
                                   "sight-height": 2, "pressure": 29.5, "temperature": 95,
                                   "humidity": 90, "wind-speed": 15, "wind-from": 300,
                                   "look-angle": 20},
    "g7_downhill_coriolis_powder": {"bc": 0.3, "drag": "G7", "velocity": 2650, "weight": 140,
                                    "diameter": 0.264, "length": 1.35, "twist": 8, "zero": 100,
                                    "temperature": 50, "altitude": 2000, "wind-speed": 5,
                                    "wind-from": 30, "look-angle": -30, "latitude": 45,
                                    "azimuth": 90, "powder-temperature": 20,
                                    "temperature-sensitivity": 1.5},
    # A BC by velocity bands, as bullet makers print them: every band is crossed by 1000 yd.
    "g1_bands_crosswind": {"bc": "0.496@2800,0.485@1800,0.435@1600", "drag": "G1",
                           "velocity": 2900, "weight": 168, "diameter": 0.308, "zero": 100,
                           "wind-speed": 10, "wind-from": 90},
    "g7_bands_uphill": {"bc": "0.243@2500,0.236@2000,0.225@1500", "drag": "G7",
                        "velocity": 2750, "zero": 200, "pressure": 26, "temperature": 70,
                        "altitude": 3000, "look-angle": 10},
}

# Wind brackets: a card with its own wind, spin drift and Coriolis, and the windage to dial
# for full-value crosswinds from the right, wind drift alone.
BRACKETS = ("brackets_g7_uphill", [5, 10],
            {"bc": 0.3, "drag": "G7", "velocity": 2650, "weight": 140, "diameter": 0.264,
             "length": 1.35, "twist": 8, "zero": 100, "temperature": 50, "wind-speed": 8,
             "wind-from": 45, "look-angle": 15, "latitude": 45, "azimuth": 90})

POINT_BLANK = [
    ({"bc": 0.4, "drag": "G1", "velocity": 2700}, 6),
    ({"bc": 0.243, "drag": "G7", "velocity": 2800, "sight-height": 3.5, "pressure": 25.5,
      "temperature": 40, "altitude": 5000}, 6),
    ({"bc": "0.496@2800,0.485@1800,0.435@1600", "drag": "G1", "velocity": 2900}, 10),
    ({"bc": 0.25, "drag": "G1", "velocity": 2000, "temperature": 90, "humidity": 80}, 4),
]

DANGER_SPACE = [
    ({"bc": 0.4, "drag": "G1", "velocity": 2700}, 400, 18),
    ({"bc": 0.243, "drag": "G7", "velocity": 2800, "sight-height": 2.5}, 600, 10),
    ({"bc": 0.4, "drag": "G1", "velocity": 2700}, 100, 20),
    ({"bc": "0.496@2800,0.485@1800,0.435@1600", "drag": "G1", "velocity": 2900}, 300, 12),
]


def card(c, table):
    alpha = zero(c, table)
    sg = miller(c)
    rows = fly(c, table, alpha, list(range(0, 1001, 100)))
    return alpha, sg, [(r, hgt, wnd + spin(c, sg, t), vel, t) for r, hgt, wnd, vel, t in rows]


def write_case(name, c, table):
    alpha, sg, rows = card(c, table)
    lines = [f"{k}={v}" for k, v in c.items()]
    lines.append(f"expect-zero-angle-moa={math.degrees(alpha) * 60:.6f}")
    if sg is not None:
        lines.append(f"expect-sg={sg:.6f}")
    lines.append("range,height_in,windage_in,velocity_fps,time_s")
    lines += [f"{r},{h:.4f},{w:.4f},{v:.3f},{t:.6f}" for r, h, w, v, t in rows]
    (OUT / f"{name}.txt").write_text("\n".join(lines) + "\n")


def write_brackets(tables):
    name, speeds, c = BRACKETS
    table = tables[c["drag"]]
    alpha = zero(c, table)
    ranges = list(range(0, 1001, 100))
    columns = []
    for s in speeds:
        calm = {k: v for k, v in c.items() if k not in ("latitude", "azimuth")}
        calm.update({"wind-speed": s, "wind-from": 90})
        rows = fly(calm, table, alpha, ranges)
        columns.append([math.degrees(math.atan(-w / (36 * r))) * 60 if r else 0.0
                        for r, _, w, _, _ in rows])
    lines = [f"{k}={v}" for k, v in c.items()]
    lines.append("brackets=" + ",".join(str(s) for s in speeds))
    lines.append("range," + ",".join(f"moa_{s}" for s in speeds))
    lines += [f"{r}," + ",".join(f"{col[i]:.5f}" for col in columns) for i, r in enumerate(ranges)]
    (OUT / f"{name}.txt").write_text("\n".join(lines) + "\n")


class LevelFlight:
    """Level fire in calm air, integrated in time with dense output: range (yd) along the line
    of sight and height (in) above it."""

    def __init__(self, c, table, alpha, t_end=4.0):
        air = Air(c.get("pressure"), c.get("temperature"), c.get("humidity", 0), c.get("altitude", 0))
        bands = bc_bands(c)
        self.h = c.get("sight-height", 1.5) / 12
        self.alpha = alpha
        v0 = muzzle_velocity(c)

        def rhs(t, y):
            ratio, sound = air.at(y[1])
            speed = math.hypot(y[2], y[3])
            k = ratio * drag_factor(bands, speed) * cd_at(table, speed / sound) * speed
            return [y[2], y[3], -k * y[2], -k * y[3] - G]

        start = [0.0, 0.0, v0 * math.cos(alpha), v0 * math.sin(alpha)]
        self.sol = integrate.solve_ivp(rhs, (0, t_end), start, method="DOP853", rtol=1e-11,
                                       atol=1e-11, dense_output=True).sol
        self.t_end = t_end

    def range_yd(self, t):
        return (self.sol(t)[0] + self.h * math.sin(self.alpha)) / 3

    def height_in(self, t):
        return (self.sol(t)[1] - self.h * math.cos(self.alpha)) * 12

    def peak_time(self):
        return optimize.brentq(lambda t: self.sol(t)[3], 0, self.t_end, xtol=1e-13)

    def time_at(self, yards):
        return optimize.brentq(lambda t: self.range_yd(t) - yards, 0, self.t_end, xtol=1e-13)

    def crossing(self, level, t0, t1):
        return optimize.brentq(lambda t: self.height_in(t) - level, t0, t1, xtol=1e-13)


def point_blank(c, table, vital):
    half = vital / 2

    def excess(alpha):
        f = LevelFlight(c, table, alpha)
        return f.height_in(f.peak_time()) - half

    alpha = optimize.brentq(excess, 1e-4, 0.05, xtol=1e-14)
    f = LevelFlight(c, table, alpha)
    tp = f.peak_time()
    near = 0.0 if c.get("sight-height", 1.5) <= half else f.range_yd(f.crossing(-half, 0, tp))
    return {"expect-zero-angle-moa": math.degrees(alpha) * 60, "expect-near": near,
            "expect-peak-range": f.range_yd(tp), "expect-peak-in": f.height_in(tp),
            "expect-zero": f.range_yd(f.crossing(0, tp, f.t_end)),
            "expect-mpbr": f.range_yd(f.crossing(-half, tp, f.t_end))}


def danger_space(c, table, yards, height):
    half = height / 2

    def at_range(alpha):
        f = LevelFlight(c, table, alpha)
        return f.height_in(f.time_at(yards))

    alpha = optimize.brentq(at_range, 0, 0.05, xtol=1e-14)
    f = LevelFlight(c, table, alpha)
    tr = f.time_at(yards)
    outside = lambda t: abs(f.height_in(t)) - half

    def crossings(t0, t1, n=4000):
        ts = [t0 + (t1 - t0) * i / n for i in range(n + 1)]
        return [optimize.brentq(outside, a, b, xtol=1e-13)
                for a, b in zip(ts, ts[1:]) if outside(a) * outside(b) < 0]

    before = crossings(0, tr)
    return {"expect-zero-angle-moa": math.degrees(alpha) * 60,
            "expect-from": f.range_yd(before[-1]) if before else 0.0,
            "expect-to": f.range_yd(crossings(tr, f.t_end)[0])}


def write_level_cases(tables):
    lines = []
    for c, vital in POINT_BLANK:
        e = point_blank(c, tables[c["drag"]], vital)
        fields = {**c, "vital": vital, **{k: f"{v:.4f}" for k, v in e.items()}}
        lines.append(" ".join(f"{k}={v}" for k, v in fields.items()))
    (OUT / "point_blank_cases.txt").write_text("\n".join(lines) + "\n")
    lines = []
    for c, yards, height in DANGER_SPACE:
        e = danger_space(c, tables[c["drag"]], yards, height)
        fields = {**c, "range": yards, "target-height": height,
                  **{k: f"{v:.4f}" for k, v in e.items()}}
        lines.append(" ".join(f"{k}={v}" for k, v in fields.items()))
    (OUT / "danger_space_cases.txt").write_text("\n".join(lines) + "\n")


def normal_cdf(x):
    return 0.5 * math.erfc(-x / math.sqrt(2))


def gaussian_probability(cov, target):
    """The chance a centred 2-D Gaussian (cov in in^2) falls in the target, by quadrature."""
    (sxx, sxy), (_, syy) = cov
    if "diameter" in target:
        r, n, total = target["diameter"] / 2, 400, 0.0
        det = sxx * syy - sxy * sxy
        for i in range(n):
            rho = r * (i + 0.5) / n
            for j in range(n):
                a = 2 * math.pi * (j + 0.5) / n
                x, y = rho * math.cos(a), rho * math.sin(a)
                q = (syy * x * x - 2 * sxy * x * y + sxx * y * y) / det
                total += math.exp(-q / 2) * rho
        return total * (r / n) * (2 * math.pi / n) / (2 * math.pi * math.sqrt(det))
    half_w, half_h, n, total = target["width"] / 2, target["height"] / 2, 2000, 0.0
    sx, cond_sd, slope = math.sqrt(sxx), math.sqrt(syy - sxy * sxy / sxx), sxy / sxx
    for i in range(n):
        x = -half_w + 2 * half_w * (i + 0.5) / n
        py = normal_cdf((half_h - slope * x) / cond_sd) - normal_cdf((-half_h - slope * x) / cond_sd)
        total += math.exp(-x * x / (2 * sxx)) / (sx * math.sqrt(2 * math.pi)) * py
    return total * 2 * half_w / n


def hit_case(c, table, r, sd):
    """Linearised-Gaussian hit chance: impacts linear in velocity, wind and range errors."""
    alpha, sg = zero(c, table), miller(c)
    v0, w0 = muzzle_velocity(c), c.get("wind-speed", 0)

    def impact(dv=0.0, dw=0.0):
        vel = v0 + dv
        s = None if sg is None else sg * (vel / v0) ** (1 / 3)
        row = fly(c, table, alpha, [r], velocity=vel, wind_mph=w0 + dw)[0]
        return row[1], row[2] + spin(c, s, row[4])

    def card_at(e):
        row = fly(c, table, alpha, [e])[0]
        return row[1], row[2] + spin(c, sg, row[4])

    dv, dw, de = 5.0, 0.5, 2.0
    plus, minus = impact(dv=dv), impact(dv=-dv)
    j_v = [(a - b) / (2 * dv) for a, b in zip(plus, minus)]
    plus, minus = impact(dw=dw), impact(dw=-dw)
    j_w = [(a - b) / (2 * dw) for a, b in zip(plus, minus)]
    # The shooter dials for E: the impact at R moves by -card(E) * R / E.
    plus, minus = card_at(r + de), card_at(r - de)
    j_e = [-((a * r / (r + de)) - (b * r / (r - de))) / (2 * de) for a, b in zip(plus, minus)]
    disp = r * 36 * math.tan(math.radians(sd["dispersion-moa"] / 60))
    jac = [(j_v, sd["velocity-sd"]), (j_w, sd["wind-sd"]), (j_e, sd["range-sd"])]
    cyy = sum((j[0] * s) ** 2 for j, s in jac) + disp ** 2
    cxx = sum((j[1] * s) ** 2 for j, s in jac) + disp ** 2
    cxy = sum(j[0] * j[1] * s * s for j, s in jac)
    return gaussian_probability([[cxx, cxy], [cxy, cyy]], sd)


def write_hit_cases(tables):
    rnd = random.Random(19)
    lines = []
    for _ in range(6):
        model = rnd.choice(["G1", "G7"])
        c = {"bc": round(rnd.uniform(0.25, 0.6) * (0.55 if model == "G7" else 1), 3),
             "drag": model, "velocity": round(rnd.uniform(2400, 3100)),
             "zero": rnd.choice([100, 200]), "wind-speed": round(rnd.uniform(0, 12), 1),
             "wind-from": round(rnd.uniform(0, 360))}
        r = rnd.choice([300, 400, 500, 600, 700])
        sd = {"dispersion-moa": round(rnd.uniform(0.3, 1.2), 2),
              "velocity-sd": round(rnd.uniform(5, 20), 1), "wind-sd": round(rnd.uniform(0.5, 2.5), 1),
              "range-sd": round(rnd.uniform(3, 12), 1)}
        if rnd.random() < 0.5:
            sd["diameter"] = round(rnd.uniform(6, 16))
        else:
            sd["width"], sd["height"] = round(rnd.uniform(6, 20)), round(rnd.uniform(6, 20))
        p = hit_case(c, tables[model], r, sd)
        fields = {**c, "range": r, **sd, "expect-probability": f"{p:.4f}"}
        lines.append(" ".join(f"{k}={v}" for k, v in fields.items()))
    (OUT / "hit_cases.txt").write_text("\n".join(lines) + "\n")


def main():
    folder = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else REPO.parent / "shared" / "reference"
    tables = {"G1": read_table(folder / "G1_cd.csv"), "G7": read_table(folder / "G7_cd.csv")}
    OUT.mkdir(parents=True, exist_ok=True)
    for name, c in CASES.items():
        write_case(name, c, tables[c["drag"]])
        print(f"{name}: written")
    write_hit_cases(tables)
    print("hit_cases: written")
    write_brackets(tables)
    print(f"{BRACKETS[0]}: written")
    write_level_cases(tables)
    print("point_blank_cases, danger_space_cases: written")


if __name__ == "__main__":
    main()
