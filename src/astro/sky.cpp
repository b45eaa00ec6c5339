#include "astro/sky.h"

#include <erfa.h>
#include <erfam.h>

#include <initializer_list>

namespace novastra {

// Delta T = TT - UT. The year is taken as 2000 + (jd - 2451544.5) / 365.2425.
// Given:  jd   Julian Day, UT
// Returns:     seconds; observed values before 2005, an extrapolation after
// Source: Espenak & Meeus, "Five Millennium Canon of Solar Eclipses" (NASA
//         TP-2006-214141), the polynomials for 1600 to 2150; outside those
//         years the long-term parabola of Morrison & Stephenson (2004),
//         -20 + 32 u^2 with u in centuries from 1820.
// Accuracy: within 0.5 s of the canon's table at 1800, 1850, 1900, 1950,
//           1990, 2000; no jump over 1 s where one polynomial hands over.
double DeltaTSeconds(double jd) {
  const double y = 2000.0 + (jd - 2451544.5) / 365.2425;
  auto poly = [](double t, std::initializer_list<double> c) {
    double sum = 0, power = 1;
    for (double k : c) {
      sum += k * power;
      power *= t;
    }
    return sum;
  };
  if (y < 1600 || y >= 2150) {
    const double u = (y - 1820.0) / 100.0;
    return -20.0 + 32.0 * u * u;
  }
  if (y < 1700) return poly(y - 1600, {120, -0.9808, -0.01532, 1.0 / 7129});
  if (y < 1800) return poly(y - 1700, {8.83, 0.1603, -0.0059285, 0.00013336, -1.0 / 1174000});
  if (y < 1860)
    return poly(y - 1800, {13.72, -0.332447, 0.0068612, 0.0041116, -0.00037436, 0.0000121272,
                           -0.0000001699, 0.000000000875});
  if (y < 1900)
    return poly(y - 1860, {7.62, 0.5737, -0.251754, 0.01680668, -0.0004473624, 1.0 / 233174});
  if (y < 1920) return poly(y - 1900, {-2.79, 1.494119, -0.0598939, 0.0061966, -0.000197});
  if (y < 1941) return poly(y - 1920, {21.20, 0.84493, -0.076100, 0.0020936});
  if (y < 1961) return poly(y - 1950, {29.07, 0.407, -1.0 / 233, 1.0 / 2547});
  if (y < 1986) return poly(y - 1975, {45.45, 1.067, -1.0 / 260, -1.0 / 718});
  if (y < 2005)
    return poly(y - 2000, {63.86, 0.3345, -0.060374, 0.0017275, 0.000651814, 0.00002373599});
  if (y < 2050) return poly(y - 2000, {62.92, 0.32217, 0.005589});
  const double u = (y - 1820.0) / 100.0;
  return -20.0 + 32.0 * u * u - 0.5628 * (2150.0 - y);
}

// The nutation in longitude and obliquity, the mean obliquity and their sum,
// the true obliquity.
// Given:  jdTT   Julian Day, TT
// Returns:       dpsi, deps, mean and true obliquity, radians; the mean
//                obliquity is of the ecliptic and equator of date
// Source: IAU 1980 nutation (Wahr 1981; ERFA eraNut80); IAU 1980 mean
//         obliquity (Lieske et al. 1977; ERFA eraObl80).
// Accuracy: Meeus's Example 22.a to 0.001" (dpsi, deps) and 0.002" (true
//           obliquity); the IAU 2000A model differs by some hundredths of
//           an arcsecond.
NutationOfDate Nutation(double jdTT) {
  NutationOfDate n;
  eraNut80(ERFA_DJ00, jdTT - ERFA_DJ00, &n.dpsi, &n.deps);
  n.meanObliquity = eraObl80(ERFA_DJ00, jdTT - ERFA_DJ00);
  n.trueObliquity = n.meanObliquity + n.deps;
  return n;
}

// The notes on a run that reaches outside 1885-2099, where Pluto's theory
// holds.
// Given:  firstJD, lastJD   the run's first and last Julian Days, 0h UT
// Returns:                  none, or the "before 1885" and "after 2099"
//                           messages for each side reached past
// Source: the range of Meeus, Astronomical Algorithms 2nd ed., ch. 37.
std::vector<std::string> PlutoRangeMessages(double firstJD, double lastJD) {
  std::vector<std::string> out;
  if (firstJD < kPlutoValidFromJD || lastJD < kPlutoValidFromJD)
    out.emplace_back(kPlutoBeforeMessage);
  if (firstJD >= kPlutoValidToJD || lastJD >= kPlutoValidToJD) out.emplace_back(kPlutoAfterMessage);
  return out;
}

}  // namespace novastra
