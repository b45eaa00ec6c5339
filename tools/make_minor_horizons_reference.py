#!/usr/bin/python3
"""Writes tests/astro/data/minor_horizons.txt: barycentric positions of Ceres,
Pallas, Juno and Vesta over 2000-2100 from JPL Horizons' integrated
trajectories, the outside reference of the minor bodies far from their
elements' epoch.

The trajectories are the small-body SPK files Horizons wrote on 2021 Sep 25
(DE441 planets, the SB441-N16 perturbers, barycentric, 2000 Jan 1 to 2100
Jan 1 TDB), as published in the repository kjnapier/spacerocks, commit
f62c6abfb0adca342f082c563b5d989b295632b1, spacerocks/data/spice/asteroids/
2000001.bsp (Ceres, solution JPL#48), 2000002.bsp (Pallas, JPL#46),
2000003.bsp (Juno, JPL#121) and 2000004.bsp (Vesta, JPL#36). The files
themselves are not part of this program; the rows written are their values.

A row every two years from 2000 Jan 1.5, 2020 Jan 1.0 (where Horizons'
heliocentric Ceres is known: the Sun's barycentric place) and 2099 Dec 31.0,
turned from the ICRF equator to the J2000.0 ecliptic (84381.448", as JPL's
elements are given).

The SPK segments are of type 21 (extended modified difference arrays); they
are read here as the SPICE Toolkit's SPK Required Reading describes the type
and evaluated by the recurrence of its routine SPKE21 (Krogh's modified
divided differences).

Usage: /usr/bin/python3 tools/make_minor_horizons_reference.py SPK_DIR [OUTFILE]
"""
import math
import os
import struct
import sys

AU_KM = 149597870.7
OBLIQUITY = math.radians(84381.448 / 3600)
BODIES = [("Ceres", "2000001.bsp", "JPL#48"), ("Pallas", "2000002.bsp", "JPL#46"),
          ("Juno", "2000003.bsp", "JPL#121"), ("Vesta", "2000004.bsp", "JPL#36")]


class Spk:
    """The type 21 segments of an SPK file (DAF, little-endian IEEE)."""

    def __init__(self, path):
        with open(path, "rb") as f:
            self.data = f.read()
        if self.data[:8] != b"DAF/SPK " or self.data[88:96] != b"LTL-IEEE":
            raise ValueError(path + ": not a little-endian SPK file")
        nd, ni = struct.unpack("<ii", self.data[8:16])
        record = struct.unpack("<i", self.data[76:80])[0]
        size = nd + (ni + 1) // 2
        self.segments = []
        while record:
            at = (record - 1) * 1024
            following, _, count = struct.unpack("<ddd", self.data[at:at + 24])
            for k in range(int(count)):
                s = at + 24 + k * size * 8
                dc = struct.unpack("<%dd" % nd, self.data[s:s + 8 * nd])
                ic = struct.unpack("<%di" % ni, self.data[s + 8 * nd:s + 8 * nd + 4 * ni])
                if ic[3] != 21:
                    raise ValueError(path + ": segment of type %d" % ic[3])
                self.segments.append((dc, ic))
            record = int(following)

    def words(self, first, last):  # 1-based double-precision addresses, inclusive
        return struct.unpack("<%dd" % (last - first + 1), self.data[(first - 1) * 8:last * 8])

    def position(self, et):
        """Position (km, ICRF) at et (TDB seconds from J2000.0) and the centre."""
        for dc, ic in self.segments:
            if dc[0] <= et <= dc[1]:
                first, last = ic[4], ic[5]
                maxdim, n = (int(x) for x in self.words(last - 1, last))
                size = 4 * maxdim + 11
                ends = self.words(first + n * size, first + n * size + n - 1)
                i = next(k for k, e in enumerate(ends) if e >= et)
                return ic[1], difference_line(self.words(first + i * size, first + (i + 1) * size - 1),
                                              maxdim, et)
        raise ValueError("no segment holds %r" % et)


def difference_line(r, maxdim, et):
    """One record's position at et: SPKE21's recurrence."""
    g = r[1:1 + maxdim]
    refpos = r[maxdim + 1:maxdim + 7:2]
    refvel = r[maxdim + 2:maxdim + 7:2]
    dt = [r[maxdim + 7 + j * maxdim:maxdim + 7 + (j + 1) * maxdim] for j in range(3)]
    kqmax1 = int(r[4 * maxdim + 7])
    kq = [int(x) for x in r[4 * maxdim + 8:4 * maxdim + 11]]
    delta = et - r[0]
    fc = [0.0] * (maxdim + 2)
    wc = [0.0] * (maxdim + 2)
    w = [0.0] * (maxdim + 4)
    fc[1] = 1.0
    tp = delta
    for j in range(1, kqmax1 - 1):
        fc[j + 1] = tp / g[j - 1]
        wc[j] = delta / g[j - 1]
        tp = delta + g[j - 1]
    for j in range(1, kqmax1 + 1):
        w[j] = 1.0 / j
    ks, ks1, jx = kqmax1 - 1, kqmax1 - 2, 0
    while ks >= 2:
        jx += 1
        for j in range(1, jx + 1):
            w[j + ks] = fc[j + 1] * w[j + ks - 1] - wc[j] * w[j + ks]
        ks, ks1 = ks1, ks1 - 1
    return [refpos[i] + delta * (refvel[i] + delta * sum(dt[i][j - 1] * w[j + ks]
                                                         for j in range(kq[i], 0, -1)))
            for i in range(3)]


def to_ecliptic(v):
    c, s = math.cos(OBLIQUITY), math.sin(OBLIQUITY)
    return [v[0], c * v[1] + s * v[2], -s * v[1] + c * v[2]]


def main():
    folder = sys.argv[1]
    out = sys.argv[2] if len(sys.argv) > 2 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "tests", "astro", "data",
        "minor_horizons.txt")
    days = sorted({2451545.0 + round(730.5 * k) for k in range(50)} | {2458849.5, 2488068.5})
    lines = [
        "# JPL Horizons small-body SPK trajectories of 2021 Sep 25 (DE441, SB441-N16 perturbers),",
        "# as published in kjnapier/spacerocks at f62c6abfb0adca342f082c563b5d989b295632b1,",
        "# spacerocks/data/spice/asteroids/2000001-2000004.bsp (tools/make_minor_horizons_reference.py)",
        "# body, solution, TDB Julian Day, x, y, z: solar-system barycentric, J2000.0 ecliptic, AU",
    ]
    for name, file, solution in BODIES:
        spk = Spk(os.path.join(folder, file))
        for jd in days:
            centre, p = spk.position((jd - 2451545.0) * 86400.0)
            if centre != 0:
                raise ValueError(file + ": not barycentric")
            x, y, z = (c / AU_KM for c in to_ecliptic(p))
            lines.append("%s,%s,%.1f,%.12f,%.12f,%.12f" % (name, solution, jd, x, y, z))
    with open(out, "w", encoding="ascii") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
