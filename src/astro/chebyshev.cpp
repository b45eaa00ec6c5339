#include "astro/chebyshev.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace novastra {

double Length(Vector3 a) { return std::sqrt(a.x * a.x + a.y * a.y + a.z * a.z); }
double Dot(Vector3 a, Vector3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vector3 Cross(Vector3 a, Vector3 b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

namespace {

constexpr int kMaxCoefficients = 32;

// The interval holding jd and the argument in -1..1 on it.
int Locate(const ChebyshevTable& t, double jd, double& x) {
  double u = (jd - t.firstJD) / t.intervalDays;
  int i = static_cast<int>(std::floor(std::clamp(u, 0.0, static_cast<double>(t.intervals))));
  if (i >= t.intervals) i = t.intervals - 1;
  x = std::clamp(2.0 * (u - i) - 1.0, -1.0, 1.0);
  return i;
}

}  // namespace

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

PositionVelocity ChebyshevTable::State(double jd) const {
  double x;
  const int i = Locate(*this, jd, x);
  return StateIn(i, x);
}

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

ChebyshevTable FitChebyshev(const std::function<Vector3(double)>& f, double firstJD,
                            double intervalDays, int intervals, int coefficients) {
  const std::vector<double> nodes = ChebyshevNodes(firstJD, intervalDays, intervals, coefficients);
  std::vector<Vector3> values;
  values.reserve(nodes.size());
  for (double jd : nodes) values.push_back(f(jd));
  return FitChebyshevFromNodes(values, firstJD, intervalDays, intervals, coefficients);
}

}  // namespace novastra
