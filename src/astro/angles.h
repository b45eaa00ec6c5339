#pragma once
// Angle helpers shared by all astronomical code. Everything works in degrees
// held as doubles; the one value of pi below is used everywhere an angle is
// converted or half a turn is added, so all parts of the engine agree.
#include <cmath>

namespace novastra {

// The program's value of pi (ten decimals), not the full-precision constant.
inline constexpr double kPi = 3.1415926535;

// Angle reduced to one turn: x - 360 floor(x / 360).
// Given:  x   degrees, finite
// Returns:    degrees, [0, 360) (360 itself for x < 0 within rounding of 0)
// Source: bookkeeping; no published source.
inline double NormalizeDegrees(double x) { return x - 360.0 * std::floor(x / 360.0); }
// The same reduction about 0: x - 360 floor((x + 180) / 360).
// Given:  x   degrees, finite
// Returns:    degrees, [-180, 180)
inline double SignedDegrees(double x) { return x - 360.0 * std::floor((x + 180.0) / 360.0); }
// Degrees to radians and back, with the program's pi (kPi).
// Given:  x   degrees (DegToRad) or radians (RadToDeg)
// Returns:    radians or degrees
// Accuracy: kPi falls 9.0e-11 short of pi, a relative 2.9e-11 (0.00004" at 360 deg).
inline double DegToRad(double x) { return (kPi * x) / 180.0; }
inline double RadToDeg(double x) { return (180.0 * x) / kPi; }
// Sine and cosine of an angle in degrees, with the program's pi.
// Given:  x   degrees, any size (no reduction before std::sin, std::cos)
// Returns:    -1..1
inline double SinDeg(double x) { return std::sin((kPi * x) / 180.0); }
inline double CosDeg(double x) { return std::cos((kPi * x) / 180.0); }
// Arcsine of |x| in degrees, by the arctangent form; the caller restores the sign.
double ArcSinAbsDeg(double x);

struct EclipticDeg {
  double longitude = 0;  // 0 <= longitude < 360
  double latitude = 0;
};
struct EquatorialDeg {
  double rightAscension = 0;  // 0 <= ra < 360
  double declination = 0;
};

// Spherical from rectangular ecliptic coordinates; x must not be 0.
EclipticDeg RectToEcliptic(double x, double y, double z);
// Spherical from rectangular equatorial coordinates, by the half-angle form.
EquatorialDeg RectToEquatorial(double x, double y, double z);

}  // namespace novastra
