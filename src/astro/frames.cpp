#include "astro/frames.h"

#include <erfa.h>
#include <erfam.h>

#include <cmath>
#include <numbers>

namespace novastra {

namespace {

constexpr double kObliquityJ2000 = 84381.448 / 3600.0 * std::numbers::pi / 180.0;

// Rotation about the x axis taking (y, z) by +angle: an ecliptic to its
// equator when angle is the obliquity.
// Given:  angle   radians
// Returns:        the matrix R1(-angle)
// Source: Meeus, Astronomical Algorithms 2nd ed., ch. 13.
Matrix3 RotationX(double angle) {
  const double c = std::cos(angle), s = std::sin(angle);
  Matrix3 r;
  r.m[1][1] = c, r.m[1][2] = -s, r.m[2][1] = s, r.m[2][2] = c;
  return r;
}

// An ERFA r-matrix as a Matrix3 (same row order).
// Given:  a   3x3 matrix; Returns: the same matrix
Matrix3 FromErfa(const double a[3][3]) {
  Matrix3 r;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) r.m[i][j] = a[i][j];
  return r;
}

}  // namespace

// The transpose: for a rotation, its inverse.
// Returns: m[j][i]
Matrix3 Matrix3::Transposed() const {
  Matrix3 t;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) t.m[i][j] = m[j][i];
  return t;
}

// The product of two matrices: a after b applied to a vector.
// Given:  a, b   3x3 matrices; Returns: a b
Matrix3 operator*(const Matrix3& a, const Matrix3& b) {
  Matrix3 r;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      r.m[i][j] = a.m[i][0] * b.m[0][j] + a.m[i][1] * b.m[1][j] + a.m[i][2] * b.m[2][j];
  return r;
}

// J2000.0 ecliptic to the mean equator of J2000.0: rotation by 84381.448".
// Returns: the matrix
// Source: IAU 1976 mean obliquity of J2000.0 (Lieske et al. 1977).
Matrix3 EclipticJ2000ToEquator() { return RotationX(kObliquityJ2000); }

// An equator to its ecliptic: rotation about x by -obliquity.
// Given:  obliquityRad   radians
// Returns:               the matrix
Matrix3 EquatorToEcliptic(double obliquityRad) { return RotationX(-obliquityRad); }

// J2000.0 ecliptic to the mean equator and equinox of date.
// Given:  jd   Julian Day, TT
// Returns:     the matrix
// Source: ERFA eraPmat76 (IAU 1976 precession, Lieske et al. 1977).
Matrix3 EclipticJ2000ToMeanEquatorOfDate(double jd) {
  double p[3][3];
  eraPmat76(ERFA_DJ00, jd - ERFA_DJ00, p);
  return FromErfa(p) * EclipticJ2000ToEquator();
}

// J2000.0 ecliptic to the mean ecliptic and equinox of date: the precession
// to the mean equator of date, then the mean obliquity of date.
// Given:  jd   Julian Day, TT
// Returns:     the matrix
// Source: ERFA eraPmat76 and eraObl80 (IAU 1976 precession, IAU 1980
//         obliquity, Lieske et al. 1977).
Matrix3 EclipticJ2000ToMeanEclipticOfDate(double jd) {
  return EquatorToEcliptic(eraObl80(ERFA_DJ00, jd - ERFA_DJ00)) *
         EclipticJ2000ToMeanEquatorOfDate(jd);
}

// J2000.0 ecliptic to the true equator and equinox of date.
// Given:  jd   Julian Day, TT
// Returns:     the matrix
// Source: ERFA eraPnm80 (IAU 1976 precession, IAU 1980 nutation).
Matrix3 EclipticJ2000ToTrueEquatorOfDate(double jd) {
  double pn[3][3];
  eraPnm80(ERFA_DJ00, jd - ERFA_DJ00, pn);
  return FromErfa(pn) * EclipticJ2000ToEquator();
}

// A vector of the mean ecliptic and equinox of date to the J2000.0 ecliptic.
// Given:  v    vector, any unit
//         jd   Julian Day, TT
// Returns:     the vector, same unit, ecliptic and equinox J2000.0
// Source: the transpose of EclipticJ2000ToMeanEclipticOfDate.
Vector3 EclipticOfDateToJ2000(Vector3 v, double jd) {
  return EclipticJ2000ToMeanEclipticOfDate(jd).Transposed() * v;
}

}  // namespace novastra
