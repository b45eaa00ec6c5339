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
static double SumOfPowers(const std::vector<std::vector<SeriesTerm>>& series, double tau,
                          SeriesSumFn sum) {
  double total = 0;
  double power = 1;
  for (std::size_t k = 0; k < series.size(); ++k) {
    const double s = sum(series[k].data(), series[k].size(), tau);
    if (k == 0) {
      total = s;
    } else {
      power *= tau;
      total += s * power;
    }
  }
  return total;
}

HelioPosition ComputeHelio(const SeriesSet& set, double tau, SeriesSumFn sum) {
  HelioPosition p;
  p.L = NormalizeDegrees(RadToDeg(SumOfPowers(set.L, tau, sum)));
  p.B = RadToDeg(SumOfPowers(set.B, tau, sum));
  p.R = SumOfPowers(set.R, tau, sum);
  return p;
}

EclipticDeg GeocentricFromHelio(const HelioPosition& planet, const HelioPosition& earth) {
  const double x = planet.R * CosDeg(planet.B) * CosDeg(planet.L) - earth.R * CosDeg(earth.B) * CosDeg(earth.L);
  const double y = planet.R * CosDeg(planet.B) * SinDeg(planet.L) - earth.R * CosDeg(earth.B) * SinDeg(earth.L);
  const double z = planet.R * SinDeg(planet.B) - earth.R * SinDeg(earth.B);
  return RectToEcliptic(x, y, z);
}

}  // namespace novastra
