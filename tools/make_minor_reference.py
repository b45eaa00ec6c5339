#!/usr/bin/python3
"""Writes tests/astro/data/minor_twobody.txt: two-body places of the five
asteroids near their elements' epoch, from PyEphem (Debian's python3-ephem),
and tests/astro/data/minor_apparent.txt: their apparent geocentric ecliptic
longitudes and latitudes of date at 0h UT of the days around the epoch (as
tools/make_sky_reference.py gives the planets': PyEphem's apparent right
ascension and declination of date, the true obliquity, delta T of Espenak &
Meeus).

PyEphem's EllipticalBody propagates the same JPL elements (epoch JD 2459800.5,
J2000.0 ecliptic) as a Keplerian orbit about the Sun. Its heliocentric
longitude and latitude (of the equinox of date, precessed here back to
J2000.0 by PyEphem) and distance are those of the instant the light left the
body, so each row gives that instant: the TT
Julian Day PyEphem used (its UT date plus its own delta T) less the light-time
of its Earth distance.

Usage: /usr/bin/python3 tools/make_minor_reference.py [OUTFILE]
"""
import math
import os
import sys

import ephem

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_sky_reference import ephem_date, true_obliquity  # noqa: E402

JD_EPHEM = 2415020.0  # Julian Day of PyEphem's date zero
LIGHT_DAYS_PER_AU = 0.0057755183
EPOCH_JD = 2459800.5
# name, e, a, i, node, peri, M, as in data/reference/minor_elements.csv
ELEMENTS = [
    ("Chiron", .3762722029776858, 13.71132261517404, 6.920809570003827,
     209.2992578800276, 339.5321887533527, 188.8420480920784),
    ("Ceres", .07863575691875528, 2.766619044655007, 10.58679512153367,
     80.2664361119415, 73.53162522557164, 334.3271698971151),
    ("Pallas", .229986445975499, 2.769463340774141, 34.92714126736759,
     172.9179047880803, 310.8426241527283, 315.0911121671828),
    ("Juno", .256775023053242, 2.670422183695509, 12.992225866813,
     169.8459410858143, 247.8039388757044, 306.6224068399492),
    ("Vesta", .08840189374260063, 2.361987199696643, 7.140782834645754,
     103.800809741353, 151.2577798334132, 61.19229900418838),
]
OFFSETS = [-5.0, -2.0, -1.0, 0.0, 1.0, 2.0, 5.0]  # days from the epoch


def body(row):
    name, e, a, i, node, peri, M = row
    b = ephem.EllipticalBody()
    b.name = name
    b._e, b._a, b._inc, b._Om, b._om, b._M = e, a, i, node, peri, M
    b._epoch = ephem.Date('2000/1/1 12:00')
    # PyEphem reads the mean anomaly's epoch on its TT scale.
    b._epoch_M = ephem.Date(EPOCH_JD - JD_EPHEM)
    return b


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(__file__), '..', 'tests', 'astro', 'data', 'minor_twobody.txt')
    lines = ["# Two-body heliocentric positions, J2000.0 ecliptic, AU, from PyEphem %s" % ephem.__version__,
             "# EllipticalBody of the JPL elements at JD 2459800.5 (tools/make_minor_reference.py)",
             "# body, TT Julian Day of the position, x, y, z"]
    for row in ELEMENTS:
        b = body(row)
        for off in OFFSETS:
            tt = EPOCH_JD + off
            d = tt - JD_EPHEM
            for _ in range(3):  # the UT date whose TT is tt
                d = tt - JD_EPHEM - ephem.delta_t(ephem.Date(d)) / 86400.0
            b.compute(ephem.Date(d), epoch='2000')
            when = d + JD_EPHEM + ephem.delta_t(ephem.Date(d)) / 86400.0 \
                - b.earth_distance * LIGHT_DAYS_PER_AU
            # hlon and hlat come in the equinox of the date; back to J2000.0.
            ecl = ephem.Ecliptic(b.hlon, b.hlat, epoch=ephem.Date(d))
            ecl = ephem.Ecliptic(ecl, epoch=ephem.J2000)
            l, bb, r = float(ecl.lon), float(ecl.lat), b.sun_distance
            x = r * math.cos(bb) * math.cos(l)
            y = r * math.cos(bb) * math.sin(l)
            z = r * math.sin(bb)
            lines.append("%s,%.8f,%.9f,%.9f,%.9f" % (row[0], when, x, y, z))
    with open(out, 'w') as f:
        f.write("\n".join(lines) + "\n")

    apparent = os.path.join(os.path.dirname(out), 'minor_apparent.txt')
    lines = ["# Apparent geocentric ecliptic longitude and latitude of date (degrees) of the",
             "# two-body orbits of the JPL elements at JD 2459800.5, from PyEphem %s" % ephem.__version__,
             "# (tools/make_minor_reference.py); 0h UT, delta T of Espenak & Meeus.",
             "# body, UT Julian Day, longitude, latitude"]
    for row in ELEMENTS:
        b = body(row)
        for off in OFFSETS:
            jd_ut = EPOCH_JD + off
            b.compute(ephem.Date(ephem_date(jd_ut)))
            ra, dec = float(b.g_ra), float(b.g_dec)
            eps = true_obliquity(jd_ut)
            lon = math.atan2(math.sin(ra) * math.cos(eps) + math.tan(dec) * math.sin(eps), math.cos(ra))
            lat = math.asin(math.sin(dec) * math.cos(eps) - math.cos(dec) * math.sin(eps) * math.sin(ra))
            lines.append("%s,%.1f,%.7f,%.7f" % (row[0], jd_ut, math.degrees(lon) % 360.0, math.degrees(lat)))
    with open(apparent, 'w') as f:
        f.write("\n".join(lines) + "\n")


if __name__ == '__main__':
    main()
