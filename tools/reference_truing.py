#!/usr/bin/env python3
"""Writes the truing tests' observations with the independent solver of reference_trajectory.py.

Each case is a card as the shooter gives it (the "key=value" inputs of fendrel-calc card) and
what the bullets really did with a known truth the card does not know: another muzzle velocity,
another BC, or drag that parts from the table below Mach 1.2. The truing fits must recover the
truth from these observations alone.

- truing_velocity_*: the muzzle velocity off by up to 60 ft/s; the corrections (MOA or mil, up)
  that centre the group at each range and the heights of the truth. "true-velocity" is the muzzle
  velocity after the powder temperature correction.
- truing_bc_*: the BC off by 8 %; the velocities at a near and a far distance.
- truing_drop_scale_*: the drag coefficient multiplied below Mach 1.2, smoothly (not as the
  card's drop scale is made) or piecewise linearly at knots placed where the card places them
  (the Mach numbers of the observations with the card's drag); corrections and heights.

Usage: tools/reference_truing.py [REFERENCE_FOLDER]   (default: ../shared/reference)
"""
import math
import pathlib
import sys

from reference_trajectory import OUT, REPO, Air, fly, muzzle_velocity, read_table, zero


def smooth_rise(amount, width):
    """1 above Mach 1.2, rising smoothly by `amount` over `width` below it."""
    def scale(m):
        x = min(max((1.2 - m) / width, 0.0), 1.0)
        return 1.0 + amount * x * x * (3 - 2 * x)
    return scale


def knotted(knots):
    """The card's own form: 1 at Mach 1.2, linear to each knot, constant below the last."""
    def scale(m):
        upper_m, upper_f = 1.2, 1.0
        if m >= 1.2:
            return 1.0
        for km, kf in knots:
            if m >= km:
                return kf + (m - km) * (upper_f - kf) / (upper_m - km)
            upper_m, upper_f = km, kf
        return upper_f
    return scale


def mach_at(c, table, ranges):
    """The Mach number at each range with the table's drag, as the card finds its knots."""
    air = Air(c.get("pressure"), c.get("temperature"), c.get("humidity", 0), c.get("altitude", 0))
    rows = fly(c, table, zero(c, table), ranges)
    look = math.radians(c.get("look-angle", 0))
    out = []
    for r, h, _, v, _ in rows:
        dh = r * 3 * math.sin(look) + h / 12 * math.cos(look)
        out.append(v / air.at(dh)[1])
    return out


def corrections(c, table, ranges, unit, scale=None, velocity=None):
    """(range, correction up, height in) with the truth's drag and velocity."""
    truth = dict(c)
    if velocity is not None:
        truth["velocity"] += velocity - muzzle_velocity(c)
    rows = fly(truth, table, zero(truth, table, scale), ranges, scale=scale)
    per_radian = 10800 / math.pi if unit == "moa" else 1000
    return [(r, math.atan(-h / (36 * r)) * per_radian, h) for r, h, _, _, _ in rows]


def write(name, c, truth, header, rows):
    lines = [f"{k}={v}" for k, v in c.items()] + [f"{k}={v}" for k, v in truth.items()]
    lines.append(header)
    lines += [",".join(f"{x:.6f}" if isinstance(x, float) else str(x) for x in row) for row in rows]
    (OUT / f"{name}.txt").write_text("\n".join(lines) + "\n")
    print(f"{name}: written")


def main():
    folder = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else REPO.parent / "shared" / "reference"
    tables = {"G1": read_table(folder / "G1_cd.csv"), "G7": read_table(folder / "G7_cd.csv")}

    # The muzzle velocity: 55 ft/s faster than given in standard air; 60 ft/s slower in thin,
    # cold air, uphill with a crosswind and cold powder, read in mil.
    velocity_cases = [
        ("truing_velocity_g1", {"bc": 0.462, "drag": "G1", "velocity": 2700, "zero": 100},
         55, "moa", [300, 400, 500, 600, 700, 800]),
        ("truing_velocity_g7_mil",
         {"bc": 0.243, "drag": "G7", "velocity": 2800, "zero": 200, "sight-height": 2,
          "pressure": 25.5, "temperature": 40, "humidity": 30, "altitude": 5000,
          "look-angle": 15, "wind-speed": 10, "wind-from": 90, "powder-temperature": 20,
          "temperature-sensitivity": 1.2},
         -60, "mil", [400, 500, 600, 700, 800]),
    ]
    for name, c, change, unit, ranges in velocity_cases:
        v = muzzle_velocity(c) + change
        rows = corrections(c, tables[c["drag"]], ranges, unit, velocity=v)
        write(name, c, {"true-velocity": f"{v:.6f}", "unit": unit},
              "range,correction,height_in", rows)

    # The BC: 8 % lower than given, a chronograph at 5 yd and Doppler at 1000 yd; 8 % higher in
    # hot humid air, downhill in a quartering wind, from 50 to 700 yd. The muzzle velocity is
    # off too: the near velocity sets it.
    bc_cases = [
        ("truing_bc_g1", {"bc": 0.5, "drag": "G1", "velocity": 2800, "zero": 100},
         0.46, 2825, [5, 1000]),
        ("truing_bc_g7",
         {"bc": 0.3, "drag": "G7", "velocity": 2650, "zero": 100, "pressure": 29.2,
          "temperature": 95, "humidity": 80, "wind-speed": 10, "wind-from": 45, "look-angle": -10},
         0.324, 2630, [50, 700]),
    ]
    for name, c, bc, v, distances in bc_cases:
        truth = dict(c, bc=bc, velocity=v)
        table = tables[c["drag"]]
        rows = fly(truth, table, zero(truth, table), distances)
        write(name, c, {"true-bc": bc}, "distance,velocity_fps",
              [(r, vel) for r, _, _, vel, _ in rows])

    # The drag below Mach 1.2: 15 % more, smoothly, over 0.3 Mach; and the card's own form with
    # knots at the Mach numbers of the 1200 and 1500 yd observations.
    g7 = {"bc": 0.3, "drag": "G7", "velocity": 2700, "zero": 100}
    ranges = [1000, 1100, 1200, 1300, 1400, 1500]
    write("truing_drop_scale_g7", g7, {"true-drop-scale": "smooth 15 % over 0.3 Mach",
                                       "unit": "moa"},
          "range,correction,height_in",
          corrections(g7, tables["G7"], ranges, "moa", smooth_rise(0.15, 0.3)))
    g1 = {"bc": 0.45, "drag": "G1", "velocity": 2650, "zero": 100, "altitude": 3000}
    ranges = [1200, 1500]
    knots = list(zip(mach_at(g1, tables["G1"], ranges), [1.06, 0.97]))
    write("truing_drop_scale_g1", g1,
          {"true-drop-scale": ",".join(f"{m:.6f}:{f}" for m, f in knots), "unit": "moa"},
          "range,correction,height_in", corrections(g1, tables["G1"], ranges, "moa", knotted(knots)))


if __name__ == "__main__":
    main()
