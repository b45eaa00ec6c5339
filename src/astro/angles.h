#pragma once
// Angle helpers shared by all astronomical code. Everything works in degrees
// held as doubles; the one value of pi below is used everywhere an angle is
// converted or half a turn is added, so all parts of the engine agree.
#include <cmath>

namespace novastra {

// The program's value of pi (ten decimals), not the full-precision constant.
inline constexpr double kPi = 3.1415926535;

// x - 360 * floor(x / 360): 0 <= result < 360 for any finite x.
inline double NormalizeDegrees(double x) { return x - 360.0 * std::floor(x / 360.0); }
// The same reduction about 0: -180 <= result < 180.
inline double SignedDegrees(double x) { return x - 360.0 * std::floor((x + 180.0) / 360.0); }
// Degrees to radians and back, with the program's pi.
inline double DegToRad(double x) { return (kPi * x) / 180.0; }
inline double RadToDeg(double x) { return (180.0 * x) / kPi; }
// Sine and cosine of x degrees, x of any size.
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
