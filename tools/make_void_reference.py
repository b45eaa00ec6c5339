#!/usr/bin/python3
"""Writes tests/astro/data/sky_voids.txt: the Moon's void-of-course periods of
2009 and 2010 in the apparent sky, from PyEphem (see make_sky_reference.py for
the quantities and the time scale).

A period runs from the Moon's last major aspect (0, 60, 90, 120 or 180
degrees of longitude) to the Sun, Mercury, ..., Pluto before it leaves a sign,
to its ingress into the next sign. Aspects to the lunar node do not end a
void period in this reckoning, and none is searched.

Usage: /usr/bin/python3 tools/make_void_reference.py [OUTFILE]
"""
import os
import sys

import ephem

from make_sky_reference import lon, root, wrap180

START_JD, END_JD = 2454832.5, 2455562.5  # 2009 Jan 1 .. 2011 Jan 1, 0h UT
STEP = 1.0 / 24
PARTNERS = ["Sun", "Mercury", "Venus", "Mars", "Jupiter", "Saturn", "Uranus", "Neptune", "Pluto"]
ANGLES = [0, 60, 90, 120, 180, 240, 270, 300]  # the separations of the five aspects


def separation(name, jd):
    return (lon("Moon", jd) - lon(name, jd)) % 360.0


def crossings(f, targets, a, b):
    """The instants in [a, b) where f (an angle rising through the step) passes a target."""
    fa, fb = f(a), f(b)
    out = []
    for t in targets:
        da, db = wrap180(fa - t), wrap180(fb - t)
        if da < 0 <= db and db - da < 90:
            out.append(root(lambda x: wrap180(f(x) - t), a, b))
    return out


def main():
    path = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(__file__), "..", "tests", "astro", "data", "sky_voids.txt")
    aspects, ingresses = [], []
    jd = START_JD - 4
    while jd < END_JD:
        for name in PARTNERS:
            for t in crossings(lambda x: separation(name, x), ANGLES, jd, jd + STEP):
                aspects.append((t, name))
        for t in crossings(lambda x: lon("Moon", x), range(0, 360, 30), jd, jd + STEP):
            ingresses.append((t, int(round(lon("Moon", t + 1e-4) // 30)) + 1))
        jd += STEP
    aspects.sort()
    with open(path, "w") as out:
        out.write("# Source: PyEphem %s (python3-ephem, Debian), tools/make_void_reference.py\n"
                  % ephem.__version__)
        out.write("# Quantity: the Moon's void-of-course periods 2009-2010: from its last major "
                  "aspect (0 60 90 120 180) to the Sun .. Pluto, apparent longitudes of date, "
                  "to its next sign ingress\n")
        out.write("# Time: UT = TT - delta T of Espenak & Meeus (2006); JD to 1e-6 day\n")
        out.write("# Columns: start_jd_ut last_aspect_partner ingress_jd_ut sign_entered\n")
        for t, sign in ingresses:
            if t < START_JD:
                continue
            last = [a for a in aspects if a[0] < t]
            out.write("%.6f %s %.6f %d\n" % (last[-1][0], last[-1][1], t, sign))


if __name__ == "__main__":
    main()
