#include "astro/frames.h"

#include <erfa.h>
#include <erfam.h>

#include <cmath>
#include <numbers>

namespace novastra {

namespace {

constexpr double kObliquityJ2000 = 84381.448 / 3600.0 * std::numbers::pi / 180.0;

// Takes (y, z) by +angle: an ecliptic to its equator at obliquity `angle`.
Matrix3 RotationX(double angle) {
  const double c = std::cos(angle), s = std::sin(angle);
  Matrix3 r;
  r.m[1][1] = c, r.m[1][2] = -s, r.m[2][1] = s, r.m[2][2] = c;
  return r;
}

Matrix3 FromErfa(const double a[3][3]) {
  Matrix3 r;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) r.m[i][j] = a[i][j];
  return r;
}

}  // namespace

Matrix3 Matrix3::Transposed() const {
  Matrix3 t;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) t.m[i][j] = m[j][i];
  return t;
}

Matrix3 operator*(const Matrix3& a, const Matrix3& b) {
  Matrix3 r;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      r.m[i][j] = a.m[i][0] * b.m[0][j] + a.m[i][1] * b.m[1][j] + a.m[i][2] * b.m[2][j];
  return r;
}

Matrix3 EclipticJ2000ToEquator() { return RotationX(kObliquityJ2000); }

Matrix3 EquatorToEcliptic(double obliquityRad) { return RotationX(-obliquityRad); }

Matrix3 EclipticJ2000ToMeanEquatorOfDate(double jd) {
  double p[3][3];
  eraPmat76(ERFA_DJ00, jd - ERFA_DJ00, p);
  return FromErfa(p) * EclipticJ2000ToEquator();
}

Matrix3 EclipticJ2000ToMeanEclipticOfDate(double jd) {
  return EquatorToEcliptic(eraObl80(ERFA_DJ00, jd - ERFA_DJ00)) *
         EclipticJ2000ToMeanEquatorOfDate(jd);
}

Matrix3 EclipticJ2000ToTrueEquatorOfDate(double jd) {
  double pn[3][3];
  eraPnm80(ERFA_DJ00, jd - ERFA_DJ00, pn);
  return FromErfa(pn) * EclipticJ2000ToEquator();
}

Vector3 EclipticOfDateToJ2000(Vector3 v, double jd) {
  return EclipticJ2000ToMeanEclipticOfDate(jd).Transposed() * v;
}

}  // namespace novastra
