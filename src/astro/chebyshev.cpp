#include "astro/chebyshev.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace novastra {

// Length and dot product of vectors.
// Given:  a, b   vectors, one unit and frame
// Returns:       |a| or a . b
double Length(Vector3 a) { return std::sqrt(a.x * a.x + a.y * a.y + a.z * a.z); }
double Dot(Vector3 a, Vector3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
// The cross product a x b (right-handed).
// Given:  a, b   vectors, one frame
Vector3 Cross(Vector3 a, Vector3 b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

namespace {

constexpr int kMaxCoefficients = 32;

// The interval holding jd and the argument on it.
// Given:  t    the table
//         jd   Julian Day, TDB; clamped to the table's span
// Returns:     the interval 0..intervals-1, and x in -1..1 (-1 at the
//              interval's start)
// Source: bookkeeping; no published source.
int Locate(const ChebyshevTable& t, double jd, double& x) {
  double u = (jd - t.firstJD) / t.intervalDays;
  int i = static_cast<int>(std::floor(std::clamp(u, 0.0, static_cast<double>(t.intervals))));
  if (i >= t.intervals) i = t.intervals - 1;
  x = std::clamp(2.0 * (u - i) - 1.0, -1.0, 1.0);
  return i;
}

}  // namespace

// Position at jd: sum_k c_k T_k(x) for x, y and z, the T_k by the
// three-term recurrence T_k = 2x T_{k-1} - T_{k-2}.
// Given:  jd   Julian Day, TDB; clamped to the table's span
// Returns:     the fitted position, the unit and frame of the fit (AU)
// Source: Press et al., Numerical Recipes 3rd ed., sec. 5.8.
// Accuracy: the fit's; the evaluation adds rounding only.
Vector3 ChebyshevTable::Position(double jd) const {
  double x;
  const double* row = Interval(Locate(*this, jd, x));
  const int n = coefficients;
  double T[kMaxCoefficients];
  T[0] = 1;
  if (n > 1) T[1] = x;
  for (int k = 2; k < n; ++k) T[k] = 2 * x * T[k - 1] - T[k - 2];
  double s[3] = {0, 0, 0};
  for (int j = 0; j < 3; ++j)
    for (int k = n - 1; k >= 0; --k) s[j] += row[j * n + k] * T[k];
  return {s[0], s[1], s[2]};
}

// Position and velocity at jd (StateIn on the interval holding it).
// Given:  jd   Julian Day, TDB; clamped to the table's span
// Returns:     position (AU) and velocity (AU per day), the fit's frame
PositionVelocity ChebyshevTable::State(double jd) const {
  double x;
  const int i = Locate(*this, jd, x);
  return StateIn(i, x);
}

// Position and velocity on interval i at argument x: the sums of c_k T_k(x)
// and of c_k T_k'(x), with T_k' = 2x T_{k-1}' + 2 T_{k-1} - T_{k-2}', the
// velocity scaled by dx/djd = 2 / intervalDays.
// Given:  i   interval, 0..intervals-1
//         x   -1..1 (the interval's start at -1, its end at +1)
// Returns:    position (AU) and velocity (AU per day), the fit's frame
// Source: Press et al., Numerical Recipes 3rd ed., sec. 5.8; the derivative
//         recurrence by differentiating the three-term one.
PositionVelocity ChebyshevTable::StateIn(int i, double x) const {
  const double* row = Interval(i);
  const int n = coefficients;
  // T_k and their derivatives dT_k/dx = 2x dT_{k-1} + 2 T_{k-1} - dT_{k-2}.
  double T[kMaxCoefficients], D[kMaxCoefficients];
  T[0] = 1, D[0] = 0;
  if (n > 1) T[1] = x, D[1] = 1;
  for (int k = 2; k < n; ++k) {
    T[k] = 2 * x * T[k - 1] - T[k - 2];
    D[k] = 2 * x * D[k - 1] + 2 * T[k - 1] - D[k - 2];
  }
  double p[3] = {0, 0, 0}, v[3] = {0, 0, 0};
  for (int j = 0; j < 3; ++j)
    for (int k = n - 1; k >= 0; --k) {
      p[j] += row[j * n + k] * T[k];
      v[j] += row[j * n + k] * D[k];
    }
  const double scale = 2.0 / intervalDays;
  return {{p[0], p[1], p[2]}, {v[0] * scale, v[1] * scale, v[2] * scale}};
}

// The instants at which FitChebyshev samples f: on each interval the
// Chebyshev nodes of the first kind, mid + (len / 2) cos(pi (j + 1/2) / n).
// Given:  firstJD        start of the first interval, Julian Day (TDB)
//         intervalDays   length of each interval, days
//         intervals      number of intervals
//         coefficients   n, nodes per interval
// Returns:               Julian Days in increasing order, n per interval
// Source: Press et al., Numerical Recipes 3rd ed., sec. 5.8.
std::vector<double> ChebyshevNodes(double firstJD, double intervalDays, int intervals,
                                   int coefficients) {
  std::vector<double> out;
  out.reserve(static_cast<size_t>(intervals) * coefficients);
  const int n = coefficients;
  for (int i = 0; i < intervals; ++i) {
    const double mid = firstJD + (i + 0.5) * intervalDays;
    // Node j at cos(pi (j + 1/2) / n); from j = n - 1 down, so the instants increase.
    for (int j = n - 1; j >= 0; --j)
      out.push_back(mid + 0.5 * intervalDays * std::cos(std::numbers::pi * (j + 0.5) / n));
  }
  return out;
}

// The Chebyshev coefficients of each interval from values at its nodes:
// c_k = (2 / n) sum_j f(x_j) cos(pi k (j + 1/2) / n), c_0 halved, so that
// the series passes through f at the n nodes.
// Given:  values         f at ChebyshevNodes (same order), AU
//         firstJD, intervalDays, intervals, coefficients   as ChebyshevNodes
//                        (coefficients held to at most 32)
// Returns:               the table (its c_0 already halved)
// Source: Press et al., Numerical Recipes 3rd ed., sec. 5.8.
ChebyshevTable FitChebyshevFromNodes(const std::vector<Vector3>& values, double firstJD,
                                     double intervalDays, int intervals, int coefficients) {
  ChebyshevTable t;
  t.firstJD = firstJD;
  t.intervalDays = intervalDays;
  t.intervals = intervals;
  t.coefficients = std::min(coefficients, kMaxCoefficients);
  const int n = t.coefficients;
  t.c.assign(static_cast<size_t>(intervals) * 3 * n, 0.0);
  for (int i = 0; i < intervals; ++i) {
    double* row = t.c.data() + static_cast<size_t>(i) * 3 * n;
    for (int jj = 0; jj < n; ++jj) {
      const int j = n - 1 - jj;  // node index of the jj-th value of the interval
      const Vector3 f = values[static_cast<size_t>(i) * n + jj];
      for (int k = 0; k < n; ++k) {
        const double w = (k == 0 ? 1.0 : 2.0) / n * std::cos(std::numbers::pi * k * (j + 0.5) / n);
        row[k] += w * f.x;
        row[n + k] += w * f.y;
        row[2 * n + k] += w * f.z;
      }
    }
  }
  return t;
}

// Fits f on equal intervals: on each, the polynomial of degree
// coefficients - 1 through f at the Chebyshev nodes of the first kind.
// Given:  f              Julian Day (TDB) -> position, AU
//         firstJD, intervalDays, intervals, coefficients   as ChebyshevNodes
// Returns:               the table
// Source: Press et al., Numerical Recipes 3rd ed., sec. 5.8.
ChebyshevTable FitChebyshev(const std::function<Vector3(double)>& f, double firstJD,
                            double intervalDays, int intervals, int coefficients) {
  const std::vector<double> nodes = ChebyshevNodes(firstJD, intervalDays, intervals, coefficients);
  std::vector<Vector3> values;
  values.reserve(nodes.size());
  for (double jd : nodes) values.push_back(f(jd));
  return FitChebyshevFromNodes(values, firstJD, intervalDays, intervals, coefficients);
}

}  // namespace novastra
