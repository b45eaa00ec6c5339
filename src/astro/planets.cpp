#include "astro/planets.h"

#include <cmath>
#include <vector>

namespace novastra {

// One series of a VSOP87 coordinate: the sum of A cos(B + C tau) over n
// terms, in the terms' order, with the library cosine.
// Given:  terms, n   the series (A radians or AU, B radians, C radians per
//                    Julian millennium)
//         tau        Julian millennia from J2000.0
// Returns:           radians or AU, as the terms are
// Source: VSOP87 (Bretagnon & Francou 1988) as Meeus, Astronomical
//         Algorithms 2nd ed., ch. 32 and App. III gives it.
double PlainSeriesSum(const SeriesTerm* terms, std::size_t n, double tau) {
  double sum = 0;
  for (std::size_t i = 0; i < n; ++i) sum += terms[i].A * std::cos(terms[i].C * tau + terms[i].B);
  return sum;
}

// One VSOP87 coordinate, S0 + S1 tau + S2 tau^2 + ..., each power by one
// more multiplication by tau.
// Given:  series   S0, S1, ... of the coordinate
//         tau      Julian millennia from J2000.0
// Returns:         radians (L, B) or AU (R), unreduced
// Source: Meeus, Astronomical Algorithms 2nd ed., ch. 32.
double PlainPowerSeriesSum(const std::vector<std::vector<SeriesTerm>>& series, double tau) {
  double total = 0;
  double power = 1;
  for (std::size_t k = 0; k < series.size(); ++k) {
    const double s = PlainSeriesSum(series[k].data(), series[k].size(), tau);
    if (k == 0) {
      total = s;
    } else {
      power *= tau;
      total += s * power;
    }
  }
  return total;
}

// A body's heliocentric ecliptic longitude, latitude and radius vector from
// its truncated VSOP87 series.
// Given:  set    the body's L, B, R series
//         tau    Julian millennia from J2000.0 (UT in the design sky, TT in
//                the apparent sky)
//         fast   the vector kernels (used when the set has its lanes), or
//                nullptr: term by term
// Returns:       L degrees [0, 360), B degrees, R AU; mean ecliptic and
//                equinox of date (the Earth of EARTH_X.DAT: of J2000.0)
// Source: VSOP87D (Bretagnon & Francou 1988) truncated as Meeus,
//         Astronomical Algorithms 2nd ed., ch. 32 and App. III; the J2000.0
//         Earth terms of ch. 26.
// Accuracy: the supplied tables within 0.0005 degree and 1.3e-5 of the
//           distance of an independent VSOP87 ephemeris over 1800-2100
//           (series check); Meeus's Venus and Earth examples (tests).
HelioPosition ComputeHelio(const SeriesSet& set, double tau, const TrigKernels* fast) {
  // Sets built by hand have no vector layout and take the plain path.
  const bool vector = fast != nullptr && !set.laneL.A.empty();
  auto sum = [&](const std::vector<std::vector<SeriesTerm>>& series, const SeriesLanes& lanes) {
    return vector ? fast->powerSeries(lanes, tau) : PlainPowerSeriesSum(series, tau);
  };
  HelioPosition p;
  p.L = NormalizeDegrees(RadToDeg(sum(set.L, set.laneL)));
  p.B = RadToDeg(sum(set.B, set.laneB));
  p.R = sum(set.R, set.laneR);
  return p;
}

namespace {

struct Trig {
  double cosB, sinB, cosL, sinL;
};

// Geometric geocentric longitude and latitude of a planet: the difference of
// the two heliocentric rectangular positions, without light-time or
// aberration.
// Given:  R, p    the planet's radius vector (AU) and the sines and cosines
//                 of its B and L
//         R0, e   the same of the Earth
// Returns:        longitude degrees [0, 360), latitude degrees, the frame of
//                 the heliocentric positions
// Source: Meeus, Astronomical Algorithms 2nd ed., ch. 33, eq. 33.1.
EclipticDeg Geocentric(double R, const Trig& p, double R0, const Trig& e) {
  const double x = R * p.cosB * p.cosL - R0 * e.cosB * e.cosL;
  const double y = R * p.cosB * p.sinL - R0 * e.cosB * e.sinL;
  const double z = R * p.sinB - R0 * e.sinB;
  return RectToEcliptic(x, y, z);
}

}  // namespace

// The geometric geocentric longitude and latitude of one planet, the sines
// and cosines from the library.
// Given:  planet, earth   heliocentric L, B (degrees), R (AU), one frame
// Returns:                longitude degrees [0, 360), latitude degrees
// Source: Meeus, Astronomical Algorithms 2nd ed., ch. 33, eq. 33.1.
EclipticDeg GeocentricFromHelio(const HelioPosition& planet, const HelioPosition& earth) {
  EclipticDeg out;
  GeocentricFromHelio(&planet, 1, earth, &out, nullptr);
  return out;
}

// The geometric geocentric longitudes and latitudes of n planets at once,
// every sine and cosine in one batch.
// Given:  planets, n   heliocentric positions, n at most 7
//         earth        the Earth's heliocentric position, the same frame
//         fast         the vector kernels, or nullptr for the library
// Returns:             out[i]: longitude degrees [0, 360), latitude degrees
// Source: Meeus, Astronomical Algorithms 2nd ed., ch. 33, eq. 33.1.
void GeocentricFromHelio(const HelioPosition* planets, int n, const HelioPosition& earth,
                         EclipticDeg* out, const TrigKernels* fast) {
  // Latitudes and longitudes of the Earth and the planets, one batch.
  double deg[16], sines[16], cosines[16];
  int k = 0;
  deg[k++] = earth.B;
  deg[k++] = earth.L;
  for (int i = 0; i < n; ++i) {
    deg[k++] = planets[i].B;
    deg[k++] = planets[i].L;
  }
  SinCosDegrees(deg, k, sines, cosines, fast);
  const Trig e{cosines[0], sines[0], cosines[1], sines[1]};
  for (int i = 0; i < n; ++i) {
    const int j = 2 + 2 * i;
    const Trig p{cosines[j], sines[j], cosines[j + 1], sines[j + 1]};
    out[i] = Geocentric(planets[i].R, p, earth.R, e);
  }
}

}  // namespace novastra
