#include "astro/osculating_node.h"

#include <cmath>
#include <numbers>

#include "astro/moon.h"

namespace novastra {

namespace {

struct Vec3 {
  double x, y, z;
};

Vec3 MoonDirection(double T, const TrigKernels* fast) {
  const MoonPosition m = ComputeMoon(T, NodeMode::Mean, fast);
  constexpr double kRad = std::numbers::pi / 180.0;
  const double lon = m.longitude * kRad, lat = m.latitude * kRad;
  return {std::cos(lat) * std::cos(lon), std::cos(lat) * std::sin(lon), std::sin(lat)};
}

}  // namespace

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
