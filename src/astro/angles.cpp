#include "astro/angles.h"

#include <cmath>

namespace novastra {

// arcsin |x| in degrees for x in -1..1, by the arctangent form
// atan(sqrt(x^2 / (1 - x^2))) (x = +-1 gives 90).
double ArcSinAbsDeg(double x) {
  return (180.0 / kPi) * std::atan(std::sqrt(x * x / (1.0 - x * x)));
}

// Latitude or declination (degrees, -90..90) from z and the distance rho >= 0
// from the polar axis: atan(z / rho), +-90 on the axis, 0 at the origin.
static double PolarAngle(double z, double rho) {
  if (rho == 0) {
    if (z > 0) return 90.0;
    if (z < 0) return -90.0;
    return 0.0;
  }
  return RadToDeg(std::atan(z / rho));
}

// Ecliptic longitude (0..360) and latitude (degrees) from rectangular
// ecliptic coordinates: atan(y / x) plus half a turn for x < 0; x must not be 0.
EclipticDeg RectToEcliptic(double x, double y, double z) {
  double lon = std::atan(y / x);
  if (x < 0) lon += kPi;
  EclipticDeg out;
  out.longitude = NormalizeDegrees(RadToDeg(lon));
  out.latitude = PolarAngle(z, std::sqrt(x * x + y * y));
  return out;
}

// Right ascension (0..360) and declination (degrees) from rectangular
// equatorial coordinates; the right ascension by the half-angle form
// 2 atan(y / (|x| + rho)), which never divides by x (0 on the polar axis).
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
