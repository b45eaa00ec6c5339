#pragma once
// Angle helpers shared by all astronomical code. Everything works in degrees
// held as doubles; the one value of pi below is used everywhere an angle is
// converted or half a turn is added, so results match the published tables of
// the program's earlier releases digit for digit.

namespace novastra {

// The program's value of pi (ten decimals), not the full-precision constant.
inline constexpr double kPi = 3.1415926535;

// x - 360 * floor(x / 360): 0 <= result < 360 for any finite x.
double NormalizeDegrees(double x);
double DegToRad(double x);  // (pi * x) / 180
double RadToDeg(double x);  // (180 * x) / pi
double SinDeg(double x);    // sine of x degrees, x of any size
double CosDeg(double x);
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
