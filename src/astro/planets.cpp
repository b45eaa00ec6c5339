#include "astro/planets.h"

#include <cmath>
#include <vector>

namespace novastra {

// One series of a VSOP87 coordinate, sum of A cos(B + C tau) over n terms,
// in the terms' order (Bretagnon & Francou 1988; Meeus ch. 32 and App. III).
// tau in Julian millennia from J2000.0; radians or AU as the terms are.
double PlainSeriesSum(const SeriesTerm* terms, std::size_t n, double tau) {
  double sum = 0;
  for (std::size_t i = 0; i < n; ++i) sum += terms[i].A * std::cos(terms[i].C * tau + terms[i].B);
  return sum;
}

// One VSOP87 coordinate, S0 + S1 tau + S2 tau^2 + ... (Meeus ch. 32), from
// its series S0, S1, ... at tau Julian millennia; each power by one more
// multiplication by tau.
static double SumOfPowers(const std::vector<std::vector<SeriesTerm>>& series, double tau) {
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

// A body's heliocentric ecliptic longitude L (0..360 degrees), latitude B
// (degrees) and radius vector R (AU) from its truncated VSOP87 series (Meeus,
// Astronomical Algorithms 2nd ed., ch. 32 and App. III; VSOP87D of
// Bretagnon & Francou 1988, mean ecliptic and equinox of date; the Earth of
// EARTH_X.DAT in the J2000.0 ecliptic, Meeus ch. 26) at tau Julian millennia
// from J2000.0. fast sums through the vector kernels when the set has its
// lanes. The series check finds the supplied tables within 0.0005 degree and
// 1.3e-5 of the distance of an independent VSOP87 ephemeris over 1800-2100.
HelioPosition ComputeHelio(const SeriesSet& set, double tau, const TrigKernels* fast) {
  // Sets built by hand have no vector layout and take the plain path.
  const bool vector = fast != nullptr && !set.laneL.A.empty();
  auto sum = [&](const std::vector<std::vector<SeriesTerm>>& series, const SeriesLanes& lanes) {
    return vector ? fast->powerSeries(lanes, tau) : SumOfPowers(series, tau);
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

// Geometric geocentric longitude and latitude (degrees) of a planet, from its
// heliocentric radius R and the sines and cosines of its B and L, and the
// Earth's (R0, e): the difference of the two rectangular positions (Meeus
// eq. 33.1), without light-time or aberration.
EclipticDeg Geocentric(double R, const Trig& p, double R0, const Trig& e) {
  const double x = R * p.cosB * p.cosL - R0 * e.cosB * e.cosL;
  const double y = R * p.cosB * p.sinL - R0 * e.cosB * e.sinL;
  const double z = R * p.sinB - R0 * e.sinB;
  return RectToEcliptic(x, y, z);
}

}  // namespace

// The geometric geocentric longitude and latitude (degrees) of one planet
// from its heliocentric position and the Earth's (Meeus eq. 33.1), the
// sines and cosines from the library.
EclipticDeg GeocentricFromHelio(const HelioPosition& planet, const HelioPosition& earth) {
  EclipticDeg out;
  GeocentricFromHelio(&planet, 1, earth, &out, nullptr);
  return out;
}

// The geometric geocentric longitude and latitude (degrees) of n planets (at
// most 7) into out, from their heliocentric positions and the Earth's (Meeus
// eq. 33.1); every sine and cosine in one batch, through fast when given.
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
