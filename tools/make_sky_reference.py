#!/usr/bin/python3
"""Writes the apparent-sky reference tables under tests/astro/data/.

The positions and event instants come from PyEphem (Debian's python3-ephem), a
modern ephemeris: VSOP87 for the planets, Chapront's 1995 theory for the outer
planets, ELP 2000 for the Moon, IAU 1980 nutation, annual aberration and
light-time. Only this tool uses it; the program never does.

Every quantity is the apparent geocentric ecliptic longitude of the true
equinox and ecliptic of date. PyEphem gives apparent geocentric right ascension
and declination of date; they are turned into longitude with the true obliquity
(IAU 1980 mean obliquity plus the largest nutation terms in obliquity).

Time scale: PyEphem evaluates at TT = UT + its own delta T. The tables are in UT
with the delta T of Espenak & Meeus (2006), the model the program uses, so that
the comparison measures the positions and not the two delta T extrapolations
(they differ by up to 23 s near 2100). Each instant is therefore computed at
the PyEphem date whose TT equals UT + delta T (Espenak & Meeus).

Usage: /usr/bin/python3 tools/make_sky_reference.py [OUTDIR]
"""
import math
import os
import random
import sys

import ephem

JD_EPHEM = 2415020.0  # Julian Day of PyEphem's date zero (1899 Dec 31 12h)
RNG = random.Random(1800)  # fixed seed: the same tables on every run
START_JD, END_JD = 2378496.5, 2488069.5  # 1800 Jan 1 .. 2100 Jan 1


def delta_t_em(jd):
    """Delta T in seconds, Espenak & Meeus (2006) polynomials."""
    y = 2000.0 + (jd - 2451544.5) / 365.2425
    if y < 1800:
        t = y - 1700
        return 8.83 + 0.1603 * t - 0.0059285 * t**2 + 0.00013336 * t**3 - t**4 / 1174000
    if y < 1860:
        t = y - 1800
        return (13.72 - 0.332447 * t + 0.0068612 * t**2 + 0.0041116 * t**3 - 0.00037436 * t**4
                + 0.0000121272 * t**5 - 0.0000001699 * t**6 + 0.000000000875 * t**7)
    if y < 1900:
        t = y - 1860
        return (7.62 + 0.5737 * t - 0.251754 * t**2 + 0.01680668 * t**3
                - 0.0004473624 * t**4 + t**5 / 233174)
    if y < 1920:
        t = y - 1900
        return -2.79 + 1.494119 * t - 0.0598939 * t**2 + 0.0061966 * t**3 - 0.000197 * t**4
    if y < 1941:
        t = y - 1920
        return 21.20 + 0.84493 * t - 0.076100 * t**2 + 0.0020936 * t**3
    if y < 1961:
        t = y - 1950
        return 29.07 + 0.407 * t - t**2 / 233 + t**3 / 2547
    if y < 1986:
        t = y - 1975
        return 45.45 + 1.067 * t - t**2 / 260 - t**3 / 718
    if y < 2005:
        t = y - 2000
        return (63.86 + 0.3345 * t - 0.060374 * t**2 + 0.0017275 * t**3 + 0.000651814 * t**4
                + 0.00002373599 * t**5)
    if y < 2050:
        t = y - 2000
        return 62.92 + 0.32217 * t + 0.005589 * t**2
    u = (y - 1820) / 100
    return -20 + 32 * u * u - 0.5628 * (2150 - y)


def ephem_date(jd_ut):
    """The PyEphem date whose TT is jd_ut + delta T (Espenak & Meeus)."""
    tt = jd_ut + delta_t_em(jd_ut) / 86400.0
    d = jd_ut - JD_EPHEM
    for _ in range(3):
        d = tt - JD_EPHEM - ephem.delta_t(ephem.Date(d)) / 86400.0
    return d


def true_obliquity(jd):
    """IAU 1980 mean obliquity plus the four largest nutation terms (radians)."""
    T = (jd - 2451545.0) / 36525.0
    eps0 = 84381.448 - 46.8150 * T - 0.00059 * T**2 + 0.001813 * T**3
    om = math.radians(125.04452 - 1934.136261 * T)
    ls = math.radians(280.4665 + 36000.7698 * T)
    lm = math.radians(218.3165 + 481267.8813 * T)
    deps = 9.20 * math.cos(om) + 0.57 * math.cos(2 * ls) + 0.10 * math.cos(2 * lm) - 0.09 * math.cos(2 * om)
    return math.radians((eps0 + deps) / 3600.0)


BODIES = [("Sun", ephem.Sun), ("Moon", ephem.Moon), ("Mercury", ephem.Mercury),
          ("Venus", ephem.Venus), ("Mars", ephem.Mars), ("Jupiter", ephem.Jupiter),
          ("Saturn", ephem.Saturn), ("Uranus", ephem.Uranus), ("Neptune", ephem.Neptune),
          ("Pluto", ephem.Pluto)]
MAKERS = dict(BODIES)


def apparent(name, jd_ut):
    """Apparent geocentric ecliptic longitude and latitude of date, degrees."""
    body = MAKERS[name]()
    body.compute(ephem.Date(ephem_date(jd_ut)))
    ra, dec = float(body.g_ra), float(body.g_dec)
    eps = true_obliquity(jd_ut)
    lon = math.atan2(math.sin(ra) * math.cos(eps) + math.tan(dec) * math.sin(eps), math.cos(ra))
    lat = math.asin(math.sin(dec) * math.cos(eps) - math.cos(dec) * math.sin(eps) * math.sin(ra))
    return math.degrees(lon) % 360.0, math.degrees(lat)


def lon(name, jd_ut):
    return apparent(name, jd_ut)[0]


def wrap180(a):
    return (a + 180.0) % 360.0 - 180.0


def osculating_node(jd_ut, h=1.0 / 24.0):
    """Longitude of the ascending node of the plane through the Moon's apparent
    directions at jd_ut - h and jd_ut + h (the direction of r x v)."""
    def unit(jd):
        lo, la = apparent("Moon", jd)
        lo, la = math.radians(lo), math.radians(la)
        return (math.cos(la) * math.cos(lo), math.cos(la) * math.sin(lo), math.sin(la))
    a, b = unit(jd_ut - h), unit(jd_ut + h)
    hx = a[1] * b[2] - a[2] * b[1]
    hy = a[2] * b[0] - a[0] * b[2]
    return math.degrees(math.atan2(hx, -hy)) % 360.0


def root(f, a, b, tol=1e-7):
    """A zero of f in [a, b] where f changes sign, by bisection."""
    fa = f(a)
    for _ in range(80):
        m = 0.5 * (a + b)
        fm = f(m)
        if (fm < 0) == (fa < 0):
            a, fa = m, fm
        else:
            b = m
        if b - a < tol:
            break
    return 0.5 * (a + b)


def random_dates(n):
    return sorted(RNG.uniform(START_JD, END_JD - 400) for _ in range(n))


def header(out, quantity, columns):
    out.write("# Source: PyEphem %s (python3-ephem, Debian), tools/make_sky_reference.py\n"
              % ephem.__version__)
    out.write("# Quantity: %s\n" % quantity)
    out.write("# Time: UT = TT - delta T of Espenak & Meeus (2006); JD to 1e-6 day\n")
    out.write("# Columns: %s\n" % columns)


def positions(out, n):
    header(out, "apparent geocentric ecliptic longitude, true equinox and ecliptic of date "
           "(degrees); Node: osculating ascending node of the Moon's apparent orbit",
           "jd_ut body longitude")
    for jd in random_dates(n):
        jd = round(jd * 24) / 24  # on the hour
        for name, _ in BODIES:
            out.write("%.6f %s %.7f\n" % (jd, name, lon(name, jd)))
        out.write("%.6f Node %.7f\n" % (jd, osculating_node(jd)))


def lunations(out, n):
    header(out, "new and full moon: apparent longitude of the Moon minus that of the Sun "
           "is 0 or 180 degrees", "jd_ut phase(0=new,180=full)")
    for jd in random_dates(n):
        for phase, finder in ((0, ephem.next_new_moon), (180, ephem.next_full_moon)):
            guess = float(finder(ephem.Date(jd - JD_EPHEM))) + JD_EPHEM
            f = lambda t: wrap180(lon("Moon", t) - lon("Sun", t) - phase)
            out.write("%.6f %d\n" % (root(f, guess - 0.1, guess + 0.1), phase))


def seasons(out, n):
    header(out, "equinoxes and solstices: apparent longitude of the Sun is 0, 90, 180, 270",
           "jd_ut sun_longitude")
    for jd in random_dates(n):
        target = (math.floor(lon("Sun", jd) / 90.0) + 1) * 90.0 % 360.0
        f = lambda t: wrap180(lon("Sun", t) - target)
        out.write("%.6f %d\n" % (root(f, jd, jd + 95), int(target)))


def moon_ingresses(out, n):
    header(out, "Moon sign ingresses: apparent longitude of the Moon reaches a multiple of "
           "30 degrees", "jd_ut sign_longitude")
    for jd in random_dates(n):
        target = (math.floor(lon("Moon", jd) / 30.0) + 1) * 30.0 % 360.0
        f = lambda t: wrap180(lon("Moon", t) - target)
        out.write("%.6f %d\n" % (root(f, jd, jd + 3.0), int(target)))


def speed(name, jd, h=0.02):
    return wrap180(lon(name, jd + h) - lon(name, jd - h)) / (2 * h)


def stations(out, n):
    header(out, "stations: the apparent geocentric longitude speed (central difference over "
           "+-0.02 day) is zero; R = turns retrograde, D = turns direct",
           "jd_ut body direction")
    steps = {"Mercury": 1.0, "Venus": 2.0, "Mars": 2.0}
    for name in ("Mercury", "Venus", "Mars", "Jupiter", "Saturn", "Uranus", "Neptune", "Pluto"):
        step = steps.get(name, 4.0)
        for jd in random_dates(n):
            v0 = speed(name, jd)
            t = jd
            while True:
                v1 = speed(name, t + step)
                if (v1 < 0) != (v0 < 0):
                    break
                t, v0 = t + step, v1
            s = root(lambda x: speed(name, x), t, t + step, tol=1e-6)
            out.write("%.6f %s %s\n" % (s, name, "R" if v0 > 0 else "D"))


def main():
    outdir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "tests", "astro", "data")
    os.makedirs(outdir, exist_ok=True)
    for name, fn, n in (("sky_positions.txt", positions, 40), ("sky_lunations.txt", lunations, 100),
                        ("sky_seasons.txt", seasons, 160), ("sky_moon_ingresses.txt", moon_ingresses, 200),
                        ("sky_stations.txt", stations, 30)):
        with open(os.path.join(outdir, name), "w") as out:
            fn(out, n)
        print("wrote", name)


if __name__ == "__main__":
    main()
