#include "astro/osculating_node.h"

#include <cmath>
#include <numbers>

#include "astro/moon.h"

namespace novastra {

namespace {

struct Vec3 {
  double x, y, z;
};

// The unit vector of the Moon's geocentric direction.
// Given:  T      Julian centuries from J2000.0
//         fast   the vector kernels, or nullptr
// Returns:       unit vector, ecliptic and mean equinox of date
// Source: Meeus, Astronomical Algorithms 2nd ed., ch. 47 (ComputeMoon).
Vec3 MoonDirection(double T, const TrigKernels* fast) {
  const MoonPosition m = ComputeMoon(T, NodeMode::Mean, fast);
  constexpr double kRad = std::numbers::pi / 180.0;
  const double lon = m.longitude * kRad, lat = m.latitude * kRad;
  return {std::cos(lat) * std::cos(lon), std::cos(lat) * std::sin(lon), std::sin(lat)};
}

}  // namespace

// The Moon's osculating ascending node: the node of the plane through the
// Earth and the Moon's directions one hour before and after (their cross
// product is the orbit's normal; the ascending node lies along z x h).
// Given:  T      Julian centuries from J2000.0
//         fast   the vector kernels, or nullptr
// Returns:       degrees, [0, 360), ecliptic and mean equinox of date
// Source: the Moon of Meeus, Astronomical Algorithms 2nd ed., ch. 47; the
//         node of the orbit normal, no published source.
// Accuracy: 64.8" worst, 10.1" median against PyEphem over 1800-2100 in the
//           apparent sky (README, Accuracy); within 2 degrees of the mean node.
double OsculatingNode(double T, const TrigKernels* fast) {
  constexpr double kStep = 1.0 / 24.0 / 36525.0;  // one hour in centuries
  const Vec3 a = MoonDirection(T - kStep, fast);
  const Vec3 b = MoonDirection(T + kStep, fast);
  // Orbit normal h = a x b; the ascending node lies along z x h = (-hy, hx, 0).
  const double hx = a.y * b.z - a.z * b.y;
  const double hy = a.z * b.x - a.x * b.z;
  const double node = std::atan2(hx, -hy) * 180.0 / std::numbers::pi;
  return node < 0 ? node + 360.0 : node;
}

}  // namespace novastra
