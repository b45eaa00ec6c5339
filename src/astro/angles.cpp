#include "astro/angles.h"

#include <cmath>

namespace novastra {

double ArcSinAbsDeg(double x) {
  return (180.0 / kPi) * std::atan(std::sqrt(x * x / (1.0 - x * x)));
}

// Latitude or declination from z and the distance from the polar axis.
static double PolarAngle(double z, double rho) {
  if (rho == 0) {
    if (z > 0) return 90.0;
    if (z < 0) return -90.0;
    return 0.0;
  }
  return RadToDeg(std::atan(z / rho));
}

EclipticDeg RectToEcliptic(double x, double y, double z) {
  double lon = std::atan(y / x);
  if (x < 0) lon += kPi;
  EclipticDeg out;
  out.longitude = NormalizeDegrees(RadToDeg(lon));
  out.latitude = PolarAngle(z, std::sqrt(x * x + y * y));
  return out;
}

EquatorialDeg RectToEquatorial(double x, double y, double z) {
  const double rho = std::sqrt(x * x + y * y);
  EquatorialDeg out;
  out.declination = PolarAngle(z, rho);
  if (x == 0 && y == 0) {
    out.rightAscension = 0;
    return out;
  }
  // Half-angle form: lies in -90..90 and never divides by x.
  const double a = 2.0 * RadToDeg(std::atan(y / (std::fabs(x) + rho)));
  if (x < 0)
    out.rightAscension = 180.0 - a;
  else if (y >= 0)
    out.rightAscension = a;
  else
    out.rightAscension = a + 360.0;
  return out;
}

}  // namespace novastra
