#pragma once
// Rotations between the J2000.0 ecliptic of the minor bodies' orbits and the
// frames of date the program gives places in (IAU 1976 precession, IAU 1980
// obliquity and nutation, through ERFA, as the apparent sky uses for Pluto).
#include "astro/chebyshev.h"

namespace novastra {

struct Matrix3 {
  double m[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
  // The matrix applied to a vector: the vector in the rotated frame.
  Vector3 operator*(Vector3 v) const {
    return {m[0][0] * v.x + m[0][1] * v.y + m[0][2] * v.z,
            m[1][0] * v.x + m[1][1] * v.y + m[1][2] * v.z,
            m[2][0] * v.x + m[2][1] * v.y + m[2][2] * v.z};
  }
  Matrix3 Transposed() const;
};

// J2000.0 ecliptic to the J2000.0 mean equator (rotation by 84381.448").
Matrix3 EclipticJ2000ToEquator();
// J2000.0 ecliptic to the mean equator of date (precession) and to the mean
// ecliptic and equinox of date; jd is read as TT.
Matrix3 EclipticJ2000ToMeanEquatorOfDate(double jd);
Matrix3 EclipticJ2000ToMeanEclipticOfDate(double jd);
// J2000.0 ecliptic to the true equator of date (precession and nutation).
Matrix3 EclipticJ2000ToTrueEquatorOfDate(double jd);
// Rotation about x by -angle: an equator to its ecliptic at obliquity `angle`.
Matrix3 EquatorToEcliptic(double obliquityRad);

// A heliocentric vector of the mean ecliptic of date to the J2000.0 ecliptic.
Vector3 EclipticOfDateToJ2000(Vector3 v, double jd);

Matrix3 operator*(const Matrix3& a, const Matrix3& b);

}  // namespace novastra
