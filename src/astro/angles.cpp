#include "astro/angles.h"

#include <cmath>

namespace novastra {

// Arcsine of |x| by the arctangent form atan(sqrt(x^2 / (1 - x^2))).
// Given:  x   sine, -1..1 (x = +-1 gives 90: atan of +infinity)
// Returns:    degrees, 0..90; the caller restores the sign
// Source: the identity asin x = atan(x / sqrt(1 - x^2)); no published source.
double ArcSinAbsDeg(double x) {
  return (180.0 / kPi) * std::atan(std::sqrt(x * x / (1.0 - x * x)));
}

// Latitude or declination of a rectangular vector: atan(z / rho).
// Given:  z     height above the reference plane, any unit
//         rho   distance from the polar axis, >= 0, the unit of z
// Returns:      degrees, -90..90; +-90 on the axis, 0 at the origin
// Source: bookkeeping; no published source.
static double PolarAngle(double z, double rho) {
  if (rho == 0) {
    if (z > 0) return 90.0;
    if (z < 0) return -90.0;
    return 0.0;
  }
  return RadToDeg(std::atan(z / rho));
}

// Ecliptic longitude and latitude from rectangular ecliptic coordinates:
// atan(y / x), plus half a turn for x < 0.
// Given:  x, y, z   rectangular ecliptic coordinates, any one unit; x != 0
// Returns:          longitude degrees [0, 360), latitude degrees -90..90,
//                   in the frame of x, y, z
// Source: Meeus, Astronomical Algorithms 2nd ed., ch. 33 (tan lambda = y / x).
EclipticDeg RectToEcliptic(double x, double y, double z) {
  double lon = std::atan(y / x);
  if (x < 0) lon += kPi;
  EclipticDeg out;
  out.longitude = NormalizeDegrees(RadToDeg(lon));
  out.latitude = PolarAngle(z, std::sqrt(x * x + y * y));
  return out;
}

// Right ascension and declination from rectangular equatorial coordinates;
// the right ascension by the half-angle form 2 atan(y / (|x| + rho)), which
// never divides by x.
// Given:  x, y, z   rectangular equatorial coordinates, any one unit
// Returns:          right ascension degrees [0, 360) (0 on the polar axis),
//                   declination degrees -90..90, in the frame of x, y, z
// Source: the tangent half-angle identity; no published source.
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
