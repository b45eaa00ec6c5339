#!/usr/bin/python3
"""Writes tests/astro/data/minor_stations.txt: the stations of Chiron and Ceres
in 2022 and 2023 from PyEphem (Debian's python3-ephem), the two-body orbits of
the JPL elements at JD 2459800.5 that tools/make_minor_reference.py uses.

A station is the instant the apparent geocentric ecliptic longitude of date
(PyEphem's apparent right ascension and declination, the true obliquity,
delta T of Espenak & Meeus, as tools/make_sky_reference.py gives the planets')
stops: the zero of its speed by central differences over +-0.02 day, found by
bisection to a tenth of a second from a daily scan.

Usage: /usr/bin/python3 tools/make_minor_station_reference.py [OUTFILE]
"""
import math
import os
import sys

import ephem

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_minor_reference import ELEMENTS, body  # noqa: E402
from make_sky_reference import ephem_date, root, true_obliquity, wrap180  # noqa: E402

FROM_JD = 2459580.5  # 2022 January 1, 0h UT
TO_JD = 2460310.5    # 2024 January 1, 0h UT


def longitude(b, jd_ut):
    b.compute(ephem.Date(ephem_date(jd_ut)))
    ra, dec = float(b.g_ra), float(b.g_dec)
    eps = true_obliquity(jd_ut)
    lon = math.atan2(math.sin(ra) * math.cos(eps) + math.tan(dec) * math.sin(eps), math.cos(ra))
    return math.degrees(lon) % 360.0


def speed(b, jd, h=0.02):
    return wrap180(longitude(b, jd + h) - longitude(b, jd - h)) / (2 * h)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(__file__), '..', 'tests', 'astro', 'data', 'minor_stations.txt')
    lines = ["# Stations of the two-body orbits of the JPL elements at JD 2459800.5, from",
             "# PyEphem %s (tools/make_minor_station_reference.py): the apparent geocentric" % ephem.__version__,
             "# longitude speed (central difference over +-0.02 day) is zero; delta T of",
             "# Espenak & Meeus. R = turns retrograde, D = turns direct.",
             "# body, UT Julian Day, direction"]
    for row in ELEMENTS:
        if row[0] not in ("Chiron", "Ceres"):
            continue
        b = body(row)
        jd = FROM_JD
        v0 = speed(b, jd)
        while jd < TO_JD:
            v1 = speed(b, jd + 1)
            if (v1 < 0) != (v0 < 0):
                s = root(lambda x: speed(b, x), jd, jd + 1, tol=0.1 / 86400)
                lines.append("%s,%.6f,%s" % (row[0], s, "R" if v0 > 0 else "D"))
            jd, v0 = jd + 1, v1
    with open(out, 'w') as f:
        f.write("\n".join(lines) + "\n")


if __name__ == '__main__':
    main()
