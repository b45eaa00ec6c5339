// The Moon's geocentric ecliptic longitude and latitude and its ascending
// node, from the truncated ELP-2000/82 lunar theory of Chapront-Touzé and
// Chapront as Meeus gives it: Astronomical Algorithms 2nd ed., ch. 47 — the
// fundamental arguments (eq. 47.1 to 47.6), the 60 terms of Table 47.A
// (longitude; distance is not used) and the 60 of Table 47.B (latitude), the
// additive terms of Venus, Jupiter and the flattening of the Earth (A1, A2,
// A3), the mean node (eq. 47.7) and the five largest terms of the true node.
// The terms were transcribed from data/reference/moon_*_terms.csv. Meeus
// gives the accuracy of the truncated series as about 10" in longitude and
// 4" in latitude. Longitudes are of the mean equinox of date, without
// nutation; the mean longitude holds the constant light-time.
//
// The periodic terms, A1 to A3, E and M are those of the 2nd edition; the
// polynomials of L', D, M', F and the mean node are other values: L' =
// 218.3164591 + 481267.88134236 T - 0.0013268 T^2 and node = 125.0445550 -
// 1934.1361849 T + 0.0020762 T^2 + T^3 / 467410 here, where eq. 47.1 has
// L' = 218.3164477 + 481267.88123421 T - 0.0015786 T^2 and eq. 47.7 has
// 125.0445479 - 1934.1362891 T + 0.0020754 T^2 + T^3 / 467441. L' parts
// from eq. 47.1 by 1.3" at 2100 and 2.9" at 1800; in Example 47.a (1992
// April 12) L' is 134.290186 here, 134.290182 in the book, and the longitude
// 133.162660 against 133.162655.
#include "astro/moon.h"

#include <array>
#include <cmath>

#include "astro/angles.h"

namespace novastra {

namespace {

// Multipliers of D, M, M', F and the coefficient (1e-6 degree) of one periodic term.
struct MoonTerm {
  double d, m, mp, f, coefficient;
};

// Meeus's Table 47.A (longitude column) without its one row whose longitude
// coefficient is zero (D=2, M=0, M'=-1, F=-2), and Table 47.B (latitude), in
// the book's order.
constexpr MoonTerm kLongitudeTerms[59] = {
    {0, 0, 1, 0, 6288774}, {2, 0, -1, 0, 1274027}, {2, 0, 0, 0, 658314},  {0, 0, 2, 0, 213618},
    {0, 1, 0, 0, -185116}, {0, 0, 0, 2, -114332},  {2, 0, -2, 0, 58793},  {2, -1, -1, 0, 57066},
    {2, 0, 1, 0, 53322},   {2, -1, 0, 0, 45758},   {0, 1, -1, 0, -40923}, {1, 0, 0, 0, -34720},
    {0, 1, 1, 0, -30383},  {2, 0, 0, -2, 15327},   {0, 0, 1, 2, -12528},  {0, 0, 1, -2, 10980},
    {4, 0, -1, 0, 10675},  {0, 0, 3, 0, 10034},    {4, 0, -2, 0, 8548},   {2, 1, -1, 0, -7888},
    {2, 1, 0, 0, -6766},   {1, 0, -1, 0, -5163},   {1, 1, 0, 0, 4987},    {2, -1, 1, 0, 4036},
    {2, 0, 2, 0, 3994},    {4, 0, 0, 0, 3861},     {2, 0, -3, 0, 3665},   {0, 1, -2, 0, -2689},
    {2, 0, -1, 2, -2602},  {2, -1, -2, 0, 2390},   {1, 0, 1, 0, -2348},   {2, -2, 0, 0, 2236},
    {0, 1, 2, 0, -2120},   {0, 2, 0, 0, -2069},    {2, -2, -1, 0, 2048},  {2, 0, 1, -2, -1773},
    {2, 0, 0, 2, -1595},   {4, -1, -1, 0, 1215},   {0, 0, 2, 2, -1110},   {3, 0, -1, 0, -892},
    {2, 1, 1, 0, -810},    {4, -1, -2, 0, 759},    {0, 2, -1, 0, -713},   {2, 2, -1, 0, -700},
    {2, 1, -2, 0, 691},    {2, -1, 0, -2, 596},    {4, 0, 1, 0, 549},     {0, 0, 4, 0, 537},
    {4, -1, 0, 0, 520},    {1, 0, -2, 0, -487},    {2, 1, 0, -2, -399},   {0, 0, 2, -2, -381},
    {1, 1, 1, 0, 351},     {3, 0, -2, 0, -340},    {4, 0, -3, 0, 330},    {2, -1, 2, 0, 327},
    {0, 2, 1, 0, -323},    {1, 1, -1, 0, 299},     {2, 0, 3, 0, 294},
};
constexpr MoonTerm kLatitudeTerms[60] = {
    {0, 0, 0, 1, 5128122}, {0, 0, 1, 1, 280602},  {0, 0, 1, -1, 277693}, {2, 0, 0, -1, 173237},
    {2, 0, -1, 1, 55413},  {2, 0, -1, -1, 46271}, {2, 0, 0, 1, 32573},   {0, 0, 2, 1, 17198},
    {2, 0, 1, -1, 9266},   {0, 0, 2, -1, 8822},   {2, -1, 0, -1, 8216},  {2, 0, -2, -1, 4324},
    {2, 0, 1, 1, 4200},    {2, 1, 0, -1, -3359},  {2, -1, -1, 1, 2463},  {2, -1, 0, 1, 2211},
    {2, -1, -1, -1, 2065}, {0, 1, -1, -1, -1870}, {4, 0, -1, -1, 1828},  {0, 1, 0, 1, -1794},
    {0, 0, 0, 3, -1749},   {0, 1, -1, 1, -1565},  {1, 0, 0, 1, -1491},   {0, 1, 1, 1, -1475},
    {0, 1, 1, -1, -1410},  {0, 1, 0, -1, -1344},  {1, 0, 0, -1, -1335},  {0, 0, 3, 1, 1107},
    {4, 0, 0, -1, 1021},   {4, 0, -1, 1, 833},    {0, 0, 1, -3, 777},    {4, 0, -2, 1, 671},
    {2, 0, 0, -3, 607},    {2, 0, 2, -1, 596},    {2, -1, 1, -1, 491},   {2, 0, -2, 1, -451},
    {0, 0, 3, -1, 439},    {2, 0, 2, 1, 422},     {2, 0, -3, -1, 421},   {2, 1, -1, 1, -366},
    {2, 1, 0, 1, -351},    {4, 0, 0, 1, 331},     {2, -1, 1, 1, 315},    {2, -2, 0, -1, 302},
    {0, 0, 1, 3, -283},    {2, 1, 1, -1, -229},   {1, 1, 0, -1, 223},    {1, 1, 0, 1, 223},
    {0, 1, -2, -1, -220},  {2, 1, -1, -1, -220},  {1, 0, 1, 1, -185},    {2, -1, -2, -1, 181},
    {0, 1, 2, 1, -177},    {4, 0, -2, -1, 176},   {4, -1, -1, -1, 166},  {1, 0, 1, -1, -164},
    {4, 0, 1, -1, 132},    {1, 0, -1, -1, -119},  {4, -1, 0, -1, 115},   {2, -2, 0, 1, 107},
};

constexpr int kLonRows = 59, kLatRows = 60;
constexpr int kLonAdditive = 3, kLatAdditive = 6, kNodeTerms = 5;
constexpr int kLatStart = kLonRows + kLonAdditive;
constexpr int kNodeStart = kLatStart + kLatRows + kLatAdditive;
constexpr int kArgCount = kNodeStart + kNodeTerms;  // 133 sines

// The factor of a term for the decreasing eccentricity of the Earth's orbit.
// Given:  m       the term's multiplier of the Sun's mean anomaly M
//         E, E2   E of eq. 47.6 and its square
// Returns:        E for |m| = 1, E^2 for |m| = 2, 1 otherwise
// Source: Meeus, Astronomical Algorithms 2nd ed., ch. 47 (after eq. 47.6).
inline double EccentricityFactor(double m, double E, double E2) {
  const double a = std::fabs(m);
  return a == 1 ? E : (a == 2 ? E2 : 1.0);
}

// The periodic sums of Tables 47.A and 47.B with the additive terms, the
// Moon's longitude and latitude, and the true node.
// Given:  o      fundamental arguments, E and mean node set (SetFundamentals)
//         s      the sines of every argument in summation order (kArgCount)
//         E2     E squared
//         mode   the node wanted in o.node (True, or else the mean node)
// Returns:       in o: sumL, sumB (1e-6 degree), longitude (degrees, [0, 360),
//                mean equinox of date), latitude (degrees), trueNode, node
// Source: Meeus, Astronomical Algorithms 2nd ed., ch. 47, Tables 47.A, 47.B,
//         the additive terms after them, and the five terms of the true
//         node: the book's -1.4979, -0.1500, -0.1226, +0.1176, -0.0801
//         degrees are held here as whole arcseconds 5392, 541, 442, 423,
//         291 (the last 2.6" from the book's).
// Accuracy: about 10" in longitude and 4" in latitude (Meeus).
void SumTerms(MoonPosition& o, const double* s, double E2, NodeMode mode) {
  const double Lp = o.Lp;
  // Each row as coefficient x E^|m| x sine (a factor of 1 when m = 0).
  double sumL = 0;
  for (int i = 0; i < kLonRows; ++i) {
    const MoonTerm& t = kLongitudeTerms[i];
    sumL += t.coefficient * EccentricityFactor(t.m, o.E, E2) * s[i];
  }
  sumL += 3958.0 * s[kLonRows];
  sumL += 1962.0 * s[kLonRows + 1];
  sumL += 318.0 * s[kLonRows + 2];

  double sumB = 0;
  for (int i = 0; i < kLatRows; ++i) {
    const MoonTerm& t = kLatitudeTerms[i];
    sumB += t.coefficient * EccentricityFactor(t.m, o.E, E2) * s[kLatStart + i];
  }
  const double* add = s + kLatStart + kLatRows;
  sumB += -2235.0 * add[0];
  sumB += 382.0 * add[1];
  sumB += 175.0 * add[2];
  sumB += 175.0 * add[3];
  sumB += 127.0 * add[4];
  sumB += -115.0 * add[5];

  o.sumL = sumL;
  o.sumB = sumB;
  o.longitude = NormalizeDegrees(Lp + sumL / 1000000.0);
  o.latitude = sumB / 1000000.0;

  // True-node correction: whole arcseconds / 3600 held in single precision,
  // products and sums in double.
  const double c1 = static_cast<float>(5392.0 / 3600.0);
  const double c2 = static_cast<float>(541.0 / 3600.0);
  const double c3 = static_cast<float>(442.0 / 3600.0);
  const double c4 = static_cast<float>(423.0 / 3600.0);
  const double c5 = static_cast<float>(291.0 / 3600.0);
  const double* n = s + kNodeStart;
  const double correction = c1 * n[0] - c2 * n[1] - c3 * n[2] + c4 * n[3] - c5 * n[4];
  o.trueNode = NormalizeDegrees(o.meanNode + correction);
  o.node = mode == NodeMode::True ? o.trueNode : o.meanNode;
}

// A1, A2, A3 (degrees) and E^2 of one instant.
struct MoonExtras {
  double A1, A2, A3, E2;
};
// The fundamental arguments of the Moon's theory.
// Given:  T   Julian centuries from J2000.0 (TT in the apparent sky, UT
//             in the design sky)
// Returns:    in o: Lp, D, M, Mp, F and the mean ascending node, degrees
//             reduced to [0, 360), mean equinox of date, and E; and A1, A2,
//             A3 (degrees, [0, 360)) and E^2
// Source: Meeus, Astronomical Algorithms 2nd ed., ch. 47, eq. 47.1 to 47.7,
//         with the other polynomials of L', D, M', F and the node described
//         at the top of this file; M, E, A1 to A3 as the 2nd edition.
MoonExtras SetFundamentals(double T, MoonPosition& o) {
  const double T2 = T * T, T3 = T * T * T, T4 = T * T * T * T;
  o.Lp = NormalizeDegrees(218.3164591 + 481267.88134236 * T - 0.0013268 * T2 + T3 / 538841.0 -
                          T4 / 65194000.0);
  o.D = NormalizeDegrees(297.8502042 + 445267.1115168 * T - 0.0016300 * T2 + T3 / 545868.0 -
                         T4 / 113065000.0);
  o.M = NormalizeDegrees(357.5291092 + 35999.0502909 * T - 0.0001536 * T2 + T3 / 24490000.0);
  o.Mp = NormalizeDegrees(134.9634114 + 477198.8676313 * T + 0.0089970 * T2 + T3 / 69699.0 -
                          T4 / 14712000.0);
  o.F = NormalizeDegrees(93.2720993 + 483202.0175273 * T - 0.0034029 * T2 - T3 / 3526000.0 +
                         T4 / 863310000.0);
  const double A1 = NormalizeDegrees(119.75 + 131.849 * T);
  const double A2 = NormalizeDegrees(53.09 + 479264.29 * T);
  const double A3 = NormalizeDegrees(313.45 + 481266.484 * T);
  o.meanNode = NormalizeDegrees(125.0445550 - 1934.1361849 * T + 0.0020762 * T2 + T3 / 467410.0 -
                                T4 / 60616000.0);
  o.E = 1.0 - 0.002516 * T - 0.0000074 * T2;
  const double E2 = o.E * o.E;
  return {A1, A2, A3, E2};
}

}  // namespace

// The Moon's geocentric longitude and latitude and the node, one sine per
// term.
// Given:  T      Julian centuries from J2000.0 (TT or UT, as the caller's sky)
//         mode   True for the true node, else the mean node
//         fast   nullptr: each sine from the library; else the same radians
//                through the vector kernels (equal up to rounding)
// Returns:       longitude degrees [0, 360), latitude degrees, nodes degrees
//                [0, 360); mean equinox and ecliptic of date, no nutation
// Source: Meeus, Astronomical Algorithms 2nd ed., ch. 47, Tables 47.A, 47.B
//         (truncated ELP-2000/82).
// Accuracy: about 10" in longitude and 4" in latitude (Meeus); Example 47.a
//           within 6e-6 degree; in the apparent sky 12.5" worst against
//           PyEphem over 1800-2100 (README, Accuracy).
MoonPosition ComputeMoon(double T, NodeMode mode, const TrigKernels* fast) {
  MoonPosition o;
  const MoonExtras x = SetFundamentals(T, o);
  const double A1 = x.A1, A2 = x.A2, A3 = x.A3, E2 = x.E2;
  const double Lp = o.Lp, D = o.D, M = o.M, Mp = o.Mp, F = o.F;

  // Every sine argument in degrees, in summation order.
  double arg[kArgCount];
  int k = 0;
  for (const MoonTerm& t : kLongitudeTerms) arg[k++] = t.d * D + t.m * M + t.mp * Mp + t.f * F;
  arg[k++] = A1;
  arg[k++] = Lp - F;
  arg[k++] = A2;
  for (const MoonTerm& t : kLatitudeTerms) arg[k++] = t.d * D + t.m * M + t.mp * Mp + t.f * F;
  arg[k++] = Lp;
  arg[k++] = A3;
  arg[k++] = A1 - F;
  arg[k++] = A1 + F;
  arg[k++] = Lp - Mp;
  arg[k++] = Lp + Mp;
  arg[k++] = 2.0 * (F - D);
  arg[k++] = M;
  arg[k++] = 2.0 * D;
  arg[k++] = 2.0 * F;
  arg[k++] = 2.0 * (Mp - F);

  double s[kArgCount];
  if (fast != nullptr) {
    // The same radians that SinDeg forms, through the vector sine.
    for (int i = 0; i < kArgCount; ++i) s[i] = (kPi * arg[i]) / 180.0;
    fast->sinBatch(s, s, kArgCount);
  } else {
    for (int i = 0; i < kArgCount; ++i) s[i] = SinDeg(arg[i]);
  }

  SumTerms(o, s, E2, mode);
  return o;
}

namespace {

struct Complex {
  double re, im;  // cos, sin
};
// The product of two unit complex numbers: e^(i(a+b)) from e^(ia) and
// e^(ib), the angle-addition formulas of sine and cosine.
// Given:  a, b   (cos, sin) pairs
// Returns:       the (cos, sin) pair of the sum of the angles
inline Complex Mul(Complex a, Complex b) {
  return {a.re * b.re - a.im * b.im, a.re * b.im + a.im * b.re};
}
// sin(a + b) from e^(ia) and e^(ib), without forming the cosine.
// Given:  a, b   (cos, sin) pairs; Returns: -1..1
inline double SinOfProduct(Complex a, Complex b) { return a.re * b.im + a.im * b.re; }
// e^(-ia) from e^(ia): the cosine kept, the sine negated.
// Given:  a   (cos, sin) pair
inline Complex Conj(Complex a) { return {a.re, -a.im}; }

// e^(i k x) for k = -N..N, by repeated products from e^(i x).
// Given:  unit     (cos x, sin x)
// Returns:         powers[N + k] = (cos k x, sin k x)
// Source: de Moivre's formula; no published source.
// Accuracy: the k-th multiple's rounding grows about linearly with k; the
//           tables need k up to 4.
template <int N>
void Powers(Complex unit, Complex (&powers)[2 * N + 1]) {
  powers[N] = {1, 0};
  for (int k = 1; k <= N; ++k) {
    powers[N + k] = k == 1 ? unit : Mul(powers[N + k - 1], unit);
    powers[N - k] = Conj(powers[N + k]);
  }
}

// The multipliers of a table row as indices.
struct RowIndex {
  signed char d, m, mp, f;
};
// The multipliers of each row of a table as small integers, at compile time.
// Given:  terms   the rows of Table 47.A or 47.B
// Returns:        d, m, m', f of each row, in order
template <std::size_t N>
constexpr std::array<RowIndex, N> RowIndices(const MoonTerm (&terms)[N]) {
  std::array<RowIndex, N> out{};
  for (std::size_t i = 0; i < N; ++i)
    out[i] = {static_cast<signed char>(terms[i].d), static_cast<signed char>(terms[i].m),
              static_cast<signed char>(terms[i].mp), static_cast<signed char>(terms[i].f)};
  return out;
}
constexpr auto kLongitudeIndex = RowIndices(kLongitudeTerms);
constexpr auto kLatitudeIndex = RowIndices(kLatitudeTerms);

// sin(d D + m M + m' M' + f F) of one table row.
// Given:  t             the row's multipliers
//         d, m, mp, f   powers of e^(iD), e^(iM), e^(iM'), e^(iF), each
//                       pointer at its multiple 0
// Returns:              the sine, -1..1
inline double RowSine(const RowIndex& t, const Complex* d, const Complex* m, const Complex* mp,
                      const Complex* f) {
  return SinOfProduct(Mul(Mul(d[t.d], m[t.m]), mp[t.mp]), f[t.f]);
}

}  // namespace

// The Moon of ComputeMoon from eight sines and cosines: each term's sine is
// built from the multiples of the fundamental arguments by the angle-addition
// formulas.
// Given:  T      Julian centuries from J2000.0
//         mode   True for the true node, else the mean node
// Returns:       the quantities of ComputeMoon, same units and frame
// Source: Meeus, Astronomical Algorithms 2nd ed., ch. 47; the angle-addition
//         formulas; no published source for the arrangement.
// Accuracy: within 1e-12 degree of ComputeMoon over 1750-2150 (tests).
MoonPosition ComputeMoonByMultiples(double T, NodeMode mode) {
  MoonPosition o;
  const MoonExtras x = SetFundamentals(T, o);
  // Sines and cosines of the eight angles, from the same radians SinDeg forms.
  const double deg[8] = {o.D, o.M, o.Mp, o.F, o.Lp, x.A1, x.A2, x.A3};
  double rad[8], sines[8], cosines[8];
  for (int i = 0; i < 8; ++i) rad[i] = (kPi * deg[i]) / 180.0;
  const TrigKernels& kernels = FastKernels();
  kernels.sinBatch(rad, sines, 8);
  kernels.cosBatch(rad, cosines, 8);
  Complex u[8];
  for (int i = 0; i < 8; ++i) u[i] = {cosines[i], sines[i]};
  // Multiples used by the tables: D 0..4 (index 4 + d: -4..4 made for
  // symmetry), M -2..2, M' -4..4, F -3..3.
  Complex D[9], M[5], Mp[9], F[7];
  Powers<4>(u[0], D);
  Powers<2>(u[1], M);
  Powers<4>(u[2], Mp);
  Powers<3>(u[3], F);
  const Complex *d = D + 4, *m = M + 2, *mp = Mp + 4, *f = F + 3;
  const Complex Lp = u[4], A1 = u[5], A2 = u[6], A3 = u[7];

  double s[kArgCount];
  int k = 0;
  for (const RowIndex& t : kLongitudeIndex) s[k++] = RowSine(t, d, m, mp, f);
  s[k++] = A1.im;
  s[k++] = SinOfProduct(Lp, f[-1]);
  s[k++] = A2.im;
  for (const RowIndex& t : kLatitudeIndex) s[k++] = RowSine(t, d, m, mp, f);
  s[k++] = Lp.im;
  s[k++] = A3.im;
  s[k++] = SinOfProduct(A1, f[-1]);
  s[k++] = SinOfProduct(A1, f[1]);
  s[k++] = SinOfProduct(Lp, mp[-1]);
  s[k++] = SinOfProduct(Lp, mp[1]);
  s[k++] = SinOfProduct(f[2], d[-2]);
  s[k++] = m[1].im;
  s[k++] = d[2].im;
  s[k++] = f[2].im;
  s[k++] = SinOfProduct(mp[2], f[-2]);

  SumTerms(o, s, x.E2, mode);
  return o;
}

// The Moon's geocentric distance from the fundamental arguments of a
// computed position.
// Given:  moon   a ComputeMoon result (D, M, Mp, F, E)
// Returns:       km, centre of the Earth to centre of the Moon
// Source: Meeus, Astronomical Algorithms 2nd ed., ch. 47: 385000.56 km plus
//         the distance column of Table 47.A (1e-3 km).
// Accuracy: the truncated table; 368409.68 km in Example 47.a (1992 April
//           12, 0h TD), where Meeus gives 368409.7 km.
double MoonDistanceKm(const MoonPosition& moon) {
  // Multipliers of D, M, M', F and the coefficient (1e-3 km) of each row of
  // Table 47.A whose distance coefficient is not zero, in the book's order.
  static constexpr MoonTerm kDistanceTerms[46] = {
      {0, 0, 1, 0, -20905355}, {2, 0, -1, 0, -3699111}, {2, 0, 0, 0, -2955968},
      {0, 0, 2, 0, -569925},   {0, 1, 0, 0, 48888},     {0, 0, 0, 2, -3149},
      {2, 0, -2, 0, 246158},   {2, -1, -1, 0, -152138}, {2, 0, 1, 0, -170733},
      {2, -1, 0, 0, -204586},  {0, 1, -1, 0, -129620},  {1, 0, 0, 0, 108743},
      {0, 1, 1, 0, 104755},    {2, 0, 0, -2, 10321},    {0, 0, 1, -2, 79661},
      {4, 0, -1, 0, -34782},   {0, 0, 3, 0, -23210},    {4, 0, -2, 0, -21636},
      {2, 1, -1, 0, 24208},    {2, 1, 0, 0, 30824},     {1, 0, -1, 0, -8379},
      {1, 1, 0, 0, -16675},    {2, -1, 1, 0, -12831},   {2, 0, 2, 0, -10445},
      {4, 0, 0, 0, -11650},    {2, 0, -3, 0, 14403},    {0, 1, -2, 0, -7003},
      {2, -1, -2, 0, 10056},   {1, 0, 1, 0, 6322},      {2, -2, 0, 0, -9884},
      {0, 1, 2, 0, 5751},      {2, -2, -1, 0, -4950},   {2, 0, 1, -2, 4130},
      {4, -1, -1, 0, -3958},   {3, 0, -1, 0, 3258},     {2, 1, 1, 0, 2616},
      {4, -1, -2, 0, -1897},   {0, 2, -1, 0, -2117},    {2, 2, -1, 0, 2354},
      {4, 0, 1, 0, -1423},     {0, 0, 4, 0, -1117},     {4, -1, 0, 0, -1571},
      {1, 0, -2, 0, -1739},    {0, 0, 2, -2, -4421},    {0, 2, 1, 0, 1165},
      {2, 0, -1, -2, 8752},
  };
  constexpr double kRad = 3.14159265358979323846 / 180.0;
  const double E2 = moon.E * moon.E;
  double sum = 0;
  for (const MoonTerm& t : kDistanceTerms) {
    const double arg = (t.d * moon.D + t.m * moon.M + t.mp * moon.Mp + t.f * moon.F) * kRad;
    sum += t.coefficient * EccentricityFactor(t.m, moon.E, E2) * std::cos(arg);
  }
  return 385000.56 + sum / 1000.0;
}

}  // namespace novastra
