#!/usr/bin/python3
"""Checks the ephemeris golden files under tests/ephemeris/data/ against PyEphem
(see make_sky_reference.py for the quantities and the time scale) and prints the
largest difference per file and body, in arcminutes.

The goldens hold the default (--sky design) geometric sky; PyEphem's is apparent (nutation
in longitude up to 17", aberration 20.5", light-time up to about 1.5' for
Mercury), so differences up to about 2' are the two skies, not faults.

Usage: /usr/bin/python3 tools/check_ephemeris_goldens.py
"""
import os
import re

from make_sky_reference import lon, wrap180

DATA = os.path.join(os.path.dirname(__file__), "..", "tests", "ephemeris", "data")
NAMES = ["Sun", "Moon", "Mercury", "Venus", "Mars", "Jupiter", "Saturn", "Uranus", "Neptune",
         "Pluto"]


def positions(name, jd):
    """Rows "Body Longitude ..." of a positions golden: tropical ones only."""
    worst = {}
    for line in open(os.path.join(DATA, name), encoding="latin-1"):
        words = line.split()
        if words and words[0] in NAMES:
            d = abs(wrap180(float(words[1]) - lon(words[0], jd))) * 60
            worst[words[0]] = max(worst.get(words[0], 0), d)
    return worst


def january_2009():
    """The longitude table at 0h UT: degrees and minutes within the sign."""
    worst = {}
    for line in open(os.path.join(DATA, "jan2009_longitude.txt"), encoding="latin-1"):
        m = re.match(r"\s+(\d\d) Jan\s+\d+\s+\d+\s+[\d.]+\s+(.*)$", line)
        if not m:
            continue
        jd = 2454832.5 + int(m.group(1)) - 1
        # dd<sign>mm.t, the point replaced by the retrograde mark when retrograde
        cells = re.findall(r"(\d\d).(\d\d).(\d)", m.group(2))
        for body, (deg, minutes, tenths) in zip(NAMES, cells):
            value = int(deg) + (int(minutes) + int(tenths) / 10) / 60
            d = abs(((value - lon(body, jd)) + 15) % 30 - 15) * 60
            worst[body] = max(worst.get(body, 0), d)
    return worst


def sidereal_offsets(name, jd):
    """A sidereal golden: PyEphem's tropical longitude minus the golden's is the
    ayanamsa, the same for every body; returns its mean and spread (arcminutes)."""
    offsets = []
    for line in open(os.path.join(DATA, name), encoding="latin-1"):
        words = line.split()
        if words and words[0] in NAMES:
            offsets.append(wrap180(lon(words[0], jd) - float(words[1])) * 60)
    return sum(offsets) / len(offsets), max(offsets) - min(offsets)


if __name__ == "__main__":
    mean, spread = sidereal_offsets("positions_2000_03_01_sidereal_mean.txt", 2451604.5)
    print("positions_2000_03_01_sidereal_mean.txt: ayanamsa %.2f' (%.4f deg), spread %.2f'"
          % (mean, mean / 60, spread))
    for title, worst in [("positions_2000_01_01_noon.txt", positions("positions_2000_01_01_noon.txt", 2451545.0)),
                         ("jan2009_longitude.txt", january_2009())]:
        print(title + ": " + ", ".join("%s %.2f'" % (b, worst[b]) for b in NAMES if b in worst))
