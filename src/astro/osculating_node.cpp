#include "astro/osculating_node.h"

#include <cmath>
#include <numbers>

#include "astro/moon.h"

namespace novastra {

namespace {

struct Vec3 {
  double x, y, z;
};

// The unit vector of the Moon's geocentric direction in the ecliptic of date
// at T Julian centuries from J2000.0 (Meeus ch. 47 through ComputeMoon).
Vec3 MoonDirection(double T, const TrigKernels* fast) {
  const MoonPosition m = ComputeMoon(T, NodeMode::Mean, fast);
  constexpr double kRad = std::numbers::pi / 180.0;
  const double lon = m.longitude * kRad, lat = m.latitude * kRad;
  return {std::cos(lat) * std::cos(lon), std::cos(lat) * std::sin(lon), std::sin(lat)};
}

}  // namespace

// The Moon's osculating ascending node (degrees, 0..360, ecliptic and
// equinox of date) at T Julian centuries from J2000.0: the node of the plane
// through the Earth and the Moon's directions one hour before and after
// (their cross product is the orbit's normal), the Moon from Meeus ch. 47.
// The plane of two directions two hours apart stands for the instantaneous
// orbit; its accuracy against a full osculating-element theory is not known.
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
