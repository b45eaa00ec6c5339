#include "astro/planets.h"

#include <cmath>
#include <vector>

namespace novastra {

double PlainSeriesSum(const SeriesTerm* terms, std::size_t n, double tau) {
  double sum = 0;
  for (std::size_t i = 0; i < n; ++i) sum += terms[i].A * std::cos(terms[i].C * tau + terms[i].B);
  return sum;
}

// S0 + S1*tau + S2*tau^2 + ...: a plain sum of powers, each power by one more
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

EclipticDeg Geocentric(double R, const Trig& p, double R0, const Trig& e) {
  const double x = R * p.cosB * p.cosL - R0 * e.cosB * e.cosL;
  const double y = R * p.cosB * p.sinL - R0 * e.cosB * e.sinL;
  const double z = R * p.sinB - R0 * e.sinB;
  return RectToEcliptic(x, y, z);
}

}  // namespace

EclipticDeg GeocentricFromHelio(const HelioPosition& planet, const HelioPosition& earth) {
  EclipticDeg out;
  GeocentricFromHelio(&planet, 1, earth, &out, nullptr);
  return out;
}

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
