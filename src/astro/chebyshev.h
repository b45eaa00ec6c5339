#pragma once
// Piecewise Chebyshev series of a position: equal intervals, each holding the
// same number of coefficients for x, y and z. Evaluation is a short
// polynomial sum; the velocity comes from the same coefficients.
#include <functional>
#include <vector>

namespace novastra {

struct Vector3 {
  double x = 0, y = 0, z = 0;
};
// Sum, difference and multiple of vectors.
// Given:  a, b   vectors (AU or AU per day); k a factor
// Returns:       a vector of the same unit and frame
inline Vector3 operator+(Vector3 a, Vector3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vector3 operator-(Vector3 a, Vector3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vector3 operator*(double k, Vector3 a) { return {k * a.x, k * a.y, k * a.z}; }
double Length(Vector3 a);
double Dot(Vector3 a, Vector3 b);
Vector3 Cross(Vector3 a, Vector3 b);

struct PositionVelocity {
  Vector3 position;  // AU
  Vector3 velocity;  // AU per day
};

struct ChebyshevTable {
  double firstJD = 0;       // start of the first interval (TDB)
  double intervalDays = 0;  // length of every interval
  int intervals = 0;
  int coefficients = 0;  // per coordinate and interval
  // interval-major, then x, y, z, then the coefficients of T0, T1, ...
  std::vector<double> c;

  // The end of the last interval, and whether jd (TDB) lies in the span.
  double lastJD() const { return firstJD + intervalDays * intervals; }
  bool Covers(double jd) const { return jd >= firstJD && jd <= lastJD(); }
  // The three coefficient rows of one interval.
  const double* Interval(int i) const { return c.data() + static_cast<size_t>(i) * 3 * coefficients; }
  // Position, and velocity, at jd; jd must lie in Covers (it is clamped).
  Vector3 Position(double jd) const;
  PositionVelocity State(double jd) const;
  // The same on interval i at x in -1..1 (its start at -1, its end at +1).
  PositionVelocity StateIn(int i, double x) const;
};

// Fits f (JD -> position) on intervals starting at firstJD: on each, the
// polynomial of degree coefficients - 1 through f at the Chebyshev nodes of
// the first kind (Press et al., Numerical Recipes, 3rd ed., sec. 5.8).
ChebyshevTable FitChebyshev(const std::function<Vector3(double)>& f, double firstJD,
                            double intervalDays, int intervals, int coefficients);

// The instants at which FitChebyshev samples f, in increasing order.
std::vector<double> ChebyshevNodes(double firstJD, double intervalDays, int intervals,
                                   int coefficients);
// FitChebyshev from values already taken at ChebyshevNodes (same order).
ChebyshevTable FitChebyshevFromNodes(const std::vector<Vector3>& values, double firstJD,
                                     double intervalDays, int intervals, int coefficients);

}  // namespace novastra
