#include "astro/lunar_apogee.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <numbers>

#include "astro/moon.h"

namespace novastra {

namespace {

constexpr double kRad = std::numbers::pi / 180.0;

// Multipliers of D, M, M', F and the distance coefficient (1e-3 km) of the
// rows of Meeus's Table 47.A with a distance term.
struct DistanceTerm {
  double d, m, mp, f, coefficient;
};
constexpr DistanceTerm kDistanceTerms[] = {
    {0, 0, 1, 0, -20905355},
    {2, 0, -1, 0, -3699111},
    {2, 0, 0, 0, -2955968},
    {0, 0, 2, 0, -569925},
    {0, 1, 0, 0, 48888},
    {0, 0, 0, 2, -3149},
    {2, 0, -2, 0, 246158},
    {2, -1, -1, 0, -152138},
    {2, 0, 1, 0, -170733},
    {2, -1, 0, 0, -204586},
    {0, 1, -1, 0, -129620},
    {1, 0, 0, 0, 108743},
    {0, 1, 1, 0, 104755},
    {2, 0, 0, -2, 10321},
    {0, 0, 1, -2, 79661},
    {4, 0, -1, 0, -34782},
    {0, 0, 3, 0, -23210},
    {4, 0, -2, 0, -21636},
    {2, 1, -1, 0, 24208},
    {2, 1, 0, 0, 30824},
    {1, 0, -1, 0, -8379},
    {1, 1, 0, 0, -16675},
    {2, -1, 1, 0, -12831},
    {2, 0, 2, 0, -10445},
    {4, 0, 0, 0, -11650},
    {2, 0, -3, 0, 14403},
    {0, 1, -2, 0, -7003},
    {2, -1, -2, 0, 10056},
    {1, 0, 1, 0, 6322},
    {2, -2, 0, 0, -9884},
    {0, 1, 2, 0, 5751},
    {2, -2, -1, 0, -4950},
    {2, 0, 1, -2, 4130},
    {4, -1, -1, 0, -3958},
    {3, 0, -1, 0, 3258},
    {2, 1, 1, 0, 2616},
    {4, -1, -2, 0, -1897},
    {0, 2, -1, 0, -2117},
    {2, 2, -1, 0, 2354},
    {4, 0, 1, 0, -1423},
    {0, 0, 4, 0, -1117},
    {4, -1, 0, 0, -1571},
    {1, 0, -2, 0, -1739},
    {0, 0, 2, -2, -4421},
    {0, 2, 1, 0, 1165},
    {2, 0, -1, -2, 8752}
};

}  // namespace

// Longitude of the Moon's mean apogee (the mean Black Moon Lilith): the mean
// perigee plus 180 degrees.
// Given:  T   Julian centuries from J2000.0 (TT or UT, as the caller's sky)
// Returns:    degrees, [0, 360), mean equinox of date
// Source: the mean perigee 83.3532465 + 4069.0137287 T - 0.0103200 T^2 -
//         T^3 / 80053 + T^4 / 18999000 of Meeus, Astronomical Algorithms
//         2nd ed., ch. 47 (with eq. 47.7).
// Accuracy: within 1" of L' - M' + 180 of Example 47.a (the two differ by
//           0.70") (tests).
double MeanLunarApogee(double T) {
  const double T2 = T * T, T3 = T2 * T, T4 = T3 * T;
  const double perigee =
      83.3532465 + 4069.0137287 * T - 0.0103200 * T2 - T3 / 80053.0 + T4 / 18999000.0;
  const double a = std::fmod(perigee + 180.0, 360.0);
  return a < 0 ? a + 360.0 : a;
}

// The rate of MeanLunarApogee: the derivative of the same polynomial.
// Given:  T   Julian centuries from J2000.0
// Returns:    degrees per day (a turn in 8.85 years)
// Source: as MeanLunarApogee.
double MeanLunarApogeeSpeed(double T) {
  const double T2 = T * T, T3 = T2 * T;
  return (4069.0137287 - 2 * 0.0103200 * T - 3 * T2 / 80053.0 + 4 * T3 / 18999000.0) / 36525.0;
}

// The Moon's geocentric distance at an instant.
// Given:  T      Julian centuries from J2000.0
//         fast   the vector kernels, or nullptr
// Returns:       km, centre to centre
// Source: Meeus, Astronomical Algorithms 2nd ed., ch. 47, Table 47.A.
double MoonDistanceKm(double T, const TrigKernels* fast) {
  return MoonDistanceKm(ComputeMoon(T, NodeMode::Mean, fast), fast);
}

// The Moon's geocentric distance from the fundamental arguments of a computed
// Moon: 385000.56 km plus the distance column of Table 47.A, the cosines in
// batches through the vector kernels.
// Given:  m      a ComputeMoon result (D, M, Mp, F, E)
//         fast   the vector kernels, or nullptr for the library's
// Returns:       km, centre to centre
// Source: Meeus, Astronomical Algorithms 2nd ed., ch. 47, Table 47.A.
// Accuracy: the truncated table; 368409.685 km in Example 47.a, where Meeus
//           gives 368409.7 km.
double MoonDistanceKm(const MoonPosition& m, const TrigKernels* fast) {
  // The cosines in batches through the vector kernels.
  constexpr size_t kTerms = std::size(kDistanceTerms);
  double sum = 0;
  for (size_t start = 0; start < kTerms; start += kMaxSinCosDegrees) {
    const size_t n = std::min(kMaxSinCosDegrees, kTerms - start);
    double deg[kMaxSinCosDegrees], sines[kMaxSinCosDegrees], cosines[kMaxSinCosDegrees];
    for (size_t i = 0; i < n; ++i) {
      const DistanceTerm& t = kDistanceTerms[start + i];
      deg[i] = t.d * m.D + t.m * m.M + t.mp * m.Mp + t.f * m.F;
    }
    SinCosDegrees(deg, n, sines, cosines, fast);
    for (size_t i = 0; i < n; ++i) {
      const DistanceTerm& t = kDistanceTerms[start + i];
      const double e = std::fabs(t.m) == 1 ? m.E : std::fabs(t.m) == 2 ? m.E * m.E : 1.0;
      sum += t.coefficient * e * cosines[i];
    }
  }
  return 385000.56 + sum / 1000.0;
}

// The apogee of the osculating two-body orbit of a position and velocity:
// the eccentricity vector e = ((v^2 - mu/r) r - (r.v) v) / mu points to the
// perigee, the apogee lies opposite, at a (1 + e).
// Given:  r              position, km (any frame; the result is in it)
//         v              velocity, km per day
//         mu             GM, km^3 per day^2
//         acceleration   km per day^2, for the rate (zero: no rate)
// Returns:               longitude degrees [0, 360), latitude degrees,
//                        distance km, longitude rate degrees per day
// Source: Vallado, Fundamentals of Astrodynamics and Applications, 4th ed.,
//         alg. 9; the rate by differentiating e.
// Accuracy: exact Kepler orbits to 1e-9 degree (tests).
Apogee OsculatingApogee(Vector3 r, Vector3 v, double mu, Vector3 acceleration) {
  // Eccentricity vector e = ((v^2 - mu/r) r - (r.v) v) / mu points to the
  // perigee; the apogee lies opposite (Vallado, Fundamentals of
  // Astrodynamics and Applications, 4th ed., alg. 9).
  const double rr = Length(r), vv = Dot(v, v);
  const Vector3 e = (1 / mu) * ((vv - mu / rr) * r - Dot(r, v) * v);
  const double ecc = Length(e);
  const double a = 1 / (2 / rr - vv / mu);
  Apogee out;
  double lon = std::atan2(-e.y, -e.x) / kRad;
  out.longitude = lon < 0 ? lon + 360.0 : lon;
  out.latitude = std::atan2(-e.z, std::hypot(e.x, e.y)) / kRad;
  out.distanceKm = a * (1 + ecc);
  // de/dt from the acceleration, then the rate of the longitude of -e.
  const Vector3 acc = acceleration;
  const Vector3 de = (1 / mu) * ((2 * Dot(v, acc) + mu * Dot(r, v) / (rr * rr * rr)) * r +
                                 (vv - mu / rr) * v - (vv + Dot(r, acc)) * v - Dot(r, v) * acc);
  out.longitudeSpeed = (e.x * de.y - e.y * de.x) / (e.x * e.x + e.y * e.y) / kRad;
  return out;
}

// The osculating apogee of the Moon of the program's lunar theory:
// position from its longitude, latitude and distance, velocity and
// acceleration from central differences over 0.01 day.
// Given:  T      Julian centuries from J2000.0
//         fast   the vector kernels, or nullptr
// Returns:       as OsculatingApogee; ecliptic and mean equinox of date
// Source: Meeus, Astronomical Algorithms 2nd ed., ch. 47 (the Moon);
//         OsculatingApogee; GM of the Earth and Moon from DE440.
// Accuracy: not measured against an outside reference; it swings about the
//           mean apogee by up to some 30 degrees (tests).
Apogee OsculatingLunarApogee(double T, const TrigKernels* fast) {
  constexpr double kStepDays = 0.005;
  constexpr double kStep = kStepDays / 36525.0;
  auto at = [&](double t) {
    const MoonPosition m = ComputeMoon(t, NodeMode::Mean, fast);
    const double d = MoonDistanceKm(m, fast);
    const double lon = m.longitude * kRad, lat = m.latitude * kRad;
    return Vector3{d * std::cos(lat) * std::cos(lon), d * std::cos(lat) * std::sin(lon),
                   d * std::sin(lat)};
  };
  const Vector3 r = at(T), ahead = at(T + kStep), behind = at(T - kStep);
  const Vector3 v = (1 / (2 * kStepDays)) * (ahead - behind);
  const Vector3 acc = (1 / (kStepDays * kStepDays)) * (ahead - 2 * r + behind);
  const double mu = kEarthMoonGMKm3PerS2 * 86400.0 * 86400.0;
  return OsculatingApogee(r, v, mu, acc);
}

}  // namespace novastra
