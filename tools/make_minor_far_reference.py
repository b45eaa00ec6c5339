#!/usr/bin/python3
"""Writes tests/astro/data/minor_far.txt: heliocentric positions of Ceres and
Vesta in 1950-1957 and of Chiron over 2000-2040 from JPL Horizons, the
outside reference of the minor bodies where minor_horizons.txt has none.

Ceres, Vesta and the Sun: Horizons vector tables (solar-system barycentre,
ICRF, km) of 2015, as published in the repository mockingbirdnest/Principia,
commit 72d49751b12f510fe8f9c19149cb39303e97e474, astronomy/
sol_initial_state_jd_2433282_500000000.proto.txt (1950 Jan 1.0 TDB),
..._2433374_257884090 (1950 Apr 2.76), ..._2436116_311504629 (1957 Oct 4.81)
and ..._2436145_604166667 (1957 Nov 3.10); the query is that repository's
astronomy/query.f. The heliocentric place is the body's less the Sun's.

Chiron: Horizons heliocentric vectors (ICRF, AU) at 0h TDB of 2000, 2010,
2020, 2030 and 2040 Jan 1, as quoted in the repository heirloomlogic/
AstronomyKit, commit 5c9465e413a96bcdedd010d6468677c7caef64d0 (values of
2026 Jan 6), Sources/AstronomyKit/Chiron.swift.

Only the numbers are taken from those files; they are turned from the ICRF
equator to the J2000.0 ecliptic (84381.448", as JPL's elements are given).

Usage: /usr/bin/python3 tools/make_minor_far_reference.py PRINCIPIA_FILE... CHIRON_SWIFT [OUTFILE]
"""
import math
import os
import re
import sys

AU_KM = 149597870.7
OBLIQUITY = math.radians(84381.448 / 3600)


def to_ecliptic(v):
    c, s = math.cos(OBLIQUITY), math.sin(OBLIQUITY)
    return [v[0], c * v[1] + s * v[2], -s * v[1] + c * v[2]]


def principia_states(path):
    """The TDB Julian Day and the barycentric positions (km) by body name."""
    with open(path, encoding="utf-8") as f:
        text = f.read()
    jd = float(re.search(r'epoch\s*:\s*"JD([0-9.]+)"', text).group(1))
    bodies = {}
    for m in re.finditer(r'name\s*:\s*"(\w+)"\s*x\s*:\s*"([^"]+) km"\s*y\s*:\s*"([^"]+) km"'
                         r'\s*z\s*:\s*"([^"]+) km"', text):
        bodies[m.group(1)] = [float(m.group(k)) for k in (2, 3, 4)]
    return jd, bodies


def chiron_states(path):
    """(TDB Julian Day, heliocentric position in AU) of each quoted epoch."""
    with open(path, encoding="utf-8") as f:
        text = f.read()
    rows = []
    for m in re.finditer(r"TDB \(JD ([0-9.]+)\)\s*let \w+ = AstroTime[^\n]*\n\s*let \w+ = StateVector\("
                         r"\s*position: Vector3D\(\s*x: ([-0-9.e]+),\s*y: ([-0-9.e]+),"
                         r"\s*z: ([-0-9.e]+),", text):
        rows.append((float(m.group(1)), [float(m.group(k)) for k in (2, 3, 4)]))
    return rows


def main():
    args = sys.argv[1:]
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "astro", "data",
                       "minor_far.txt")
    if args and args[-1].endswith(".txt") and not args[-1].endswith(".proto.txt"):
        out = args.pop()
    swift = [a for a in args if a.endswith(".swift")]
    principia = [a for a in args if a.endswith(".proto.txt")]
    if len(swift) != 1 or not principia:
        sys.exit(__doc__)
    lines = [
        "# JPL Horizons positions far from the elements' epoch (tools/make_minor_far_reference.py):",
        "# Ceres, Vesta: vector tables of 2015 less Horizons' Sun, in mockingbirdnest/Principia at",
        "#   72d49751b12f510fe8f9c19149cb39303e97e474, astronomy/sol_initial_state_jd_*.proto.txt;",
        "# Chiron: heliocentric vectors of 2026 Jan 6, in heirloomlogic/AstronomyKit at",
        "#   5c9465e413a96bcdedd010d6468677c7caef64d0, Sources/AstronomyKit/Chiron.swift",
        "# body, source, TDB Julian Day, x, y, z: heliocentric, J2000.0 ecliptic, AU",
    ]
    for path in sorted(principia):
        jd, bodies = principia_states(path)
        sun = bodies["Sun"]
        for name in ("Ceres", "Vesta"):
            helio = [(b - s) / AU_KM for b, s in zip(bodies[name], sun)]
            x, y, z = to_ecliptic(helio)
            lines.append("%s,Horizons 2015,%.9f,%.12f,%.12f,%.12f" % (name, jd, x, y, z))
    states = chiron_states(swift[0])
    if len(states) != 5:
        raise ValueError(swift[0] + ": expected five Chiron states, found %d" % len(states))
    for jd, p in states:
        x, y, z = to_ecliptic(p)
        lines.append("Chiron,Horizons 2026,%.1f,%.12f,%.12f,%.12f" % (jd, x, y, z))
    with open(out, "w", encoding="ascii") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
