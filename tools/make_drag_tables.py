#!/usr/bin/env python3
"""Writes the drag tables installed beside the program (data/DragG1.txt, data/DragG7.txt) and
the range card's built-in tables (src/rangecard/StandardDragTables.h).

Source: the standard G1 and G7 drag-coefficient tables, one "mach,cd" record a line after a
header, Mach 0 to 5.

The trajectory integrator takes a drag value G per Mach number and multiplies it by
K = c * rho / BC, with c = -0.000208551 and rho the air density in lb/ft^3. The standard
retardation of a bullet of ballistic coefficient BC (lb/in^2) is rho * pi * Cd * V^2 /
(8 * 144 * BC) in ft/s^2. Since 0.000208551 = pi * 0.076474 / 1152, both agree when

    G = Cd / 0.076474        (about 13.0763 * Cd)

Each output line is one record "Mach,G" ended by CR LF. The Mach 0 record is kept: the loader
puts the origin (0, 0) in front of the file's records and accepts a first record at Mach 0.
The tables reach Mach 5, so fast rounds stay inside them.

The range card's solver takes the drag coefficient itself: the header holds the same records
as constexpr Mach-Cd pairs, unscaled.

Usage: tools/make_drag_tables.py [REFERENCE_FOLDER]   (default: ../shared/reference)
"""
import csv
import pathlib
import sys

DENSITY = 0.076474  # lb/ft^3, the density the drag constant c is built on

REPO = pathlib.Path(__file__).resolve().parent.parent
TABLES = {"G1_cd.csv": "DragG1.txt", "G7_cd.csv": "DragG7.txt"}
HEADER = REPO / "src" / "rangecard" / "StandardDragTables.h"


def read_records(source: pathlib.Path) -> list:
    with source.open(newline="") as f:
        rows = list(csv.reader(f))
    if not rows or [c.strip().lower() for c in rows[0]] != ["mach", "cd"]:
        raise SystemExit(f"{source}: expected the header 'mach,cd'")
    records = []
    last = None
    for n, row in enumerate(rows[1:], start=2):
        if not row:
            continue
        mach_text, cd_text = (c.strip() for c in row)
        mach, cd = float(mach_text), float(cd_text)
        if last is not None and mach <= last:
            raise SystemExit(f"{source}:{n}: Mach numbers must increase")
        last = mach
        records.append((mach_text, cd_text, cd))
    if last is None or last < 5:
        raise SystemExit(f"{source}: the table must reach Mach 5")
    return records


def convert(records: list, target: pathlib.Path) -> int:
    lines = [f"{mach_text},{cd / DENSITY:.6f}\r\n" for mach_text, _, cd in records]
    target.write_bytes("".join(lines).encode("ascii"))
    return len(lines)


def write_header(tables: dict) -> None:
    out = ["// The standard G1 and G7 drag-coefficient tables as Mach-Cd pairs. Written by",
           "// tools/make_drag_tables.py from the reference tables; do not edit.",
           "#pragma once", "", "#include <array>", "", "namespace fendrel {", "",
           "struct MachCd {", "    double mach;", "    double cd;", "};", ""]
    for name, records in tables.items():
        out.append(f"inline constexpr std::array<MachCd, {len(records)}> k{name}Table{{{{")
        out += [f"    {{{mach}, {cd}}}," for mach, cd, _ in records]
        out += ["}};", ""]
    out.append("} // namespace fendrel")
    HEADER.write_text("\n".join(out) + "\n")


def main() -> None:
    folder = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else REPO.parent / "shared" / "reference"
    tables = {}
    for source, target in TABLES.items():
        records = read_records(folder / source)
        count = convert(records, REPO / "data" / target)
        print(f"data/{target}: {count} records")
        tables[source.split("_")[0]] = records
    write_header(tables)
    print(f"{HEADER.relative_to(REPO)}: written")


if __name__ == "__main__":
    main()
