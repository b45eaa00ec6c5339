#include "astro/eclipses.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <map>
#include <mutex>
#include <optional>
#include <tuple>
#include <numbers>

#include "astro/apparent.h"
#include "astro/saros_starts.h"
#include "astro/sky.h"

namespace novastra {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kRad = kPi / 180.0;
constexpr double kArcsec = kRad / 3600.0;

// Lengths in equatorial Earth radii. The Earth: a = 6378.137 km, f = 1/298.257;
// the Sun's semidiameter at 1 AU, 959.63"; the Moon's radius, k = 0.2725076 for
// the penumbra and 0.2722810 for the umbra, the smaller one standing for the
// valleys of the Moon's limb (Espenak & Meeus, Five Millennium Canon of Solar
// Eclipses, NASA TP-2006-214141, sec. 1.3).
constexpr double kEarthRadiusKm = 6378.137;
constexpr double kAuKm = 149597870.7;
constexpr double kEarthE2 = 0.00669438;  // eccentricity squared of the meridian
constexpr double kMoonRadiusPenumbral = 0.2725076;
constexpr double kMoonRadiusUmbral = 0.2722810;
const double kSunRadius = kAuKm / kEarthRadiusKm * std::sin(959.63 * kArcsec);

// Mean New Moon of lunation 0 (2000 January 6) and the mean synodic month
// (Meeus, Astronomical Algorithms, 2nd ed., ch. 49).
constexpr double kNewMoon2000 = 2451550.09766;
constexpr double kSynodicMonth = 29.530588861;
constexpr int kSarosMonths = 223, kInexMonths = 358;

// Seven samples two hours apart, centred on the instant looked at: enough for
// every contact of a lunar eclipse (the longest penumbral phase lasts some six
// hours) and for the shadow's whole passage over the Earth.
constexpr int kNodes = 7;
constexpr double kStep = 2.0 / 24.0;
constexpr double kHalfWindow = kStep * (kNodes - 1) / 2;

struct Vec3 {
  double x = 0, y = 0, z = 0;
};
// Difference, multiple, dot product and length of vectors.
// Given:  a, b   vectors, Earth radii (or unit vectors); k a factor
// Returns:       a vector of the same unit and frame, or a number
Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vec3 operator*(double k, Vec3 a) { return {k * a.x, k * a.y, k * a.z}; }
double Dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
double Length(Vec3 a) { return std::sqrt(Dot(a, a)); }

// Unit vectors east and north on the sky at the direction v (right ascension
// and declination of the true equator).
struct SkyAxes {
  Vec3 east, north;
  double declination = 0;
};
// Unit vectors east and north on the sky at a direction, and its declination.
// Given:  unit   unit vector, true equator and equinox of date
// Returns:       east and north unit vectors (same frame), declination radians
// Source: the derivatives of the unit vector in right ascension and
//         declination; no published source.
SkyAxes AxesAt(Vec3 unit) {
  const double d = std::asin(std::clamp(unit.z, -1.0, 1.0));
  const double a = std::atan2(unit.y, unit.x);
  return {{-std::sin(a), std::cos(a), 0},
          {-std::sin(d) * std::cos(a), -std::sin(d) * std::sin(a), std::cos(d)},
          d};
}

// Geocentric apparent Sun and Moon, rectangular on the true equator and equinox
// of date, in Earth radii.
struct SunMoon {
  Vec3 sun, moon;
};
struct Spherical {
  double lonDeg, latDeg, r;
};
// Rectangular equatorial coordinates from ecliptic longitude, latitude and
// distance: the ecliptic vector turned about x by the obliquity.
// Given:  p           longitude, latitude degrees (true equinox of date),
//                     distance (Earth radii)
//         obliquity   true obliquity of date, radians
// Returns:            Earth radii, true equator and equinox of date
// Source: Meeus, Astronomical Algorithms 2nd ed., ch. 13 (eq. 13.3, 13.4 in
//         rectangular form).
Vec3 Equatorial(const Spherical& p, double obliquity) {
  const double l = p.lonDeg * kRad, b = p.latDeg * kRad, r = p.r;
  const Vec3 e{r * std::cos(b) * std::cos(l), r * std::cos(b) * std::sin(l), r * std::sin(b)};
  const double c = std::cos(obliquity), s = std::sin(obliquity);
  return {e.x, c * e.y - s * e.z, s * e.y + c * e.z};
}
// The geocentric apparent Sun and Moon as rectangular vectors.
// Given:  jdTT     Julian Day, TT
//         tables   the loaded series
// Returns:         Sun and Moon in equatorial Earth radii (6378.137 km), true
//                  equator and equinox of date
// Source: ComputeApparentSunMoon (VSOP87 and Meeus ch. 47, with aberration
//         and nutation).
SunMoon SunMoonAt(double jdTT, const SeriesTables& tables) {
  const ApparentSunMoon a = ComputeApparentSunMoon(jdTT, tables);
  return {Equatorial({a.sunLongitude, a.sunLatitude, a.sunDistanceAu * kAuKm / kEarthRadiusKm},
                     a.trueObliquityRad),
          Equatorial({a.moonLongitude, a.moonLatitude, a.moonDistanceKm / kEarthRadiusKm},
                     a.trueObliquityRad)};
}

// N quantities sampled at kNodes instants kStep apart centred on t0 (TT), read
// back at any instant of the window by Lagrange interpolation.
template <int N>
struct Samples {
  double t0 = 0;
  std::array<std::array<double, N>, kNodes> at{};

  std::array<double, N> operator()(double t) const {
    const double u = (t - t0) / kStep + (kNodes - 1) / 2.0;
    std::array<double, N> out{};
    for (int i = 0; i < kNodes; ++i) {
      double w = 1;
      for (int j = 0; j < kNodes; ++j)
        if (j != i) w *= (u - j) / (i - j);
      for (int k = 0; k < N; ++k) out[k] += w * at[i][k];
    }
    return out;
  }
};

// N quantities sampled at kNodes instants kStep apart centred on t0, for
// Lagrange interpolation (Samples).
// Given:  t0           Julian Day, TT, the window's centre
//         quantities   instant (Julian Day, TT) -> N numbers
// Returns:             the samples
// Source: bookkeeping; the interpolation is Lagrange's (Meeus, Astronomical
//         Algorithms 2nd ed., ch. 3).
template <int N, class F>
Samples<N> Sample(double t0, F&& quantities) {
  Samples<N> s;
  s.t0 = t0;
  for (int i = 0; i < kNodes; ++i) s.at[i] = quantities(t0 + (i - (kNodes - 1) / 2.0) * kStep);
  return s;
}

// The minimum of a function with one minimum on [lo, hi], by golden-section
// search, to 1e-7 day (about 0.01 s).
// Given:  lo, hi   the bracket, Julian Days (or any abscissa)
//         f        the function
// Returns:         the abscissa of the minimum
// Source: golden-section search (Kiefer 1953); Press et al., Numerical
//         Recipes 3rd ed., ch. 10.
template <class F>
double Minimum(double lo, double hi, F&& f) {
  const double g = (std::sqrt(5.0) - 1) / 2;
  double a = hi - g * (hi - lo), b = lo + g * (hi - lo);
  double fa = f(a), fb = f(b);
  while (hi - lo > 1e-7) {  // about 0.01 s
    if (fa < fb) {
      hi = b, b = a, fb = fa, a = hi - g * (hi - lo), fa = f(a);
    } else {
      lo = a, a = b, fa = fb, b = lo + g * (hi - lo), fb = f(b);
    }
  }
  return (lo + hi) / 2;
}

// The instant in [lo, hi] where f changes sign, by bisection to 1e-7 day.
// Given:  lo, hi   the bracket, Julian Days; f(lo) and f(hi) of opposite signs
//         f        the function
// Returns:         the crossing, Julian Day
// Source: bisection; no published source.
template <class F>
double Crossing(double lo, double hi, F&& f) {
  const bool loPositive = f(lo) > 0;
  while (hi - lo > 1e-7) {
    const double mid = (lo + hi) / 2;
    ((f(mid) > 0) == loPositive ? lo : hi) = mid;
  }
  return (lo + hi) / 2;
}

// An angle reduced about 0.
// Given:  a   degrees; Returns: degrees, [-180, 180)
double Wrap180(double a) { return a - 360.0 * std::floor((a + 180.0) / 360.0); }

// The true New Moon (phase 0) or Full Moon (phase 180) near jdTT, by Newton's
// steps on the difference of apparent longitudes; also the Moon's latitude there.
struct Syzygy {
  double jdTT = 0, moonLatitude = 0;
};
// The true New Moon (phase 0) or Full Moon (phase 180) near an instant, by
// Newton's steps on the difference of apparent longitudes (at most eight,
// to 1e-4 degree), and the Moon's latitude there.
// Given:  jdTT       Julian Day, TT, the first guess (the mean syzygy)
//         phaseDeg   0 or 180
//         tables     the loaded series
// Returns:           Julian Day, TT; the Moon's latitude, degrees
// Source: Newton's method with the mean daily motion 12.19 degrees; the
//         positions from ComputeApparentSunMoon.
Syzygy FindSyzygy(double jdTT, double phaseDeg, const SeriesTables& tables) {
  ApparentSunMoon a{};
  for (int i = 0; i < 8; ++i) {
    a = ComputeApparentSunMoon(jdTT, tables);
    const double gap = Wrap180(a.moonLongitude - a.sunLongitude - phaseDeg);
    jdTT -= gap / 12.19;  // mean daily motion of the Moon from the Sun, degrees
    if (std::fabs(gap) < 1e-4) break;
  }
  return {jdTT, a.moonLatitude};
}

// Beyond this latitude of the Moon at the syzygy no eclipse of either kind can
// happen (the limits are near 1.58 degrees); the margin keeps every candidate.
constexpr double kLatitudeLimitDeg = 2.0;

// Universal Time of a TT instant, delta T taken at the UT instant (one
// iteration).
// Given:  jdTT     Julian Day, TT
// Returns:         Julian Day, UT; deltaT set to TT - UT, seconds
// Source: delta T of Espenak & Meeus 2006 (DeltaTSeconds).
double UniversalTime(double jdTT, double& deltaT) {
  deltaT = DeltaTSeconds(jdTT - DeltaTSeconds(jdTT) / 86400.0);
  return jdTT - deltaT / 86400.0;
}

// ---- Solar eclipses: Besselian elements (Explanatory Supplement to the
// Astronomical Almanac, 1961, ch. 9; Meeus, Elements of Solar Eclipses
// 1951-2200, 1989), computed directly from the apparent Sun and Moon.

enum { kX, kY, kD, kL1, kL2, kTanF1, kTanF2, kBesselCount };
using Bessel = std::array<double, kBesselCount>;

// The Besselian elements of one instant: x, y of the shadow axis on the
// fundamental plane, the declination d of the axis, the radii l1, l2 of the
// penumbra and umbra on the plane and the tangents of their half-angles.
// Given:  s   the apparent Sun and Moon (SunMoonAt)
// Returns:    x, y, l1, l2 in equatorial Earth radii, d radians, tan f1, tan f2
// Source: Explanatory Supplement to the Astronomical Ephemeris (1961), ch. 9;
//         the Moon's radii k of Espenak & Meeus 2006, sec. 1.3.
// Accuracy: against Espenak's catalogue 1801-2100 gamma within 0.005,
//           magnitudes within 0.01 (tests).
Bessel BesselAt(const SunMoon& s) {
  const Vec3 G = s.sun - s.moon;
  const double distance = Length(G);
  const Vec3 axis = (1.0 / distance) * G;
  const SkyAxes ax = AxesAt(axis);
  const double z = Dot(s.moon, axis);
  const double sinF1 = (kSunRadius + kMoonRadiusPenumbral) / distance;
  const double sinF2 = (kSunRadius - kMoonRadiusUmbral) / distance;
  const double cosF1 = std::sqrt(1 - sinF1 * sinF1), cosF2 = std::sqrt(1 - sinF2 * sinF2);
  Bessel b{};
  b[kX] = Dot(s.moon, ax.east);
  b[kY] = Dot(s.moon, ax.north);
  b[kD] = ax.declination;
  b[kTanF1] = sinF1 / cosF1;
  b[kTanF2] = sinF2 / cosF2;
  b[kL1] = z * b[kTanF1] + kMoonRadiusPenumbral / cosF1;
  b[kL2] = z * b[kTanF2] - kMoonRadiusUmbral / cosF2;
  return b;
}

// The distance of a point of the fundamental plane from the Earth's outline
// there, an ellipse of semi-axes 1 (x) and rho1 (y); 0 inside.
// Given:  x, y   equatorial Earth radii
//         rho1   the outline's semi-axis in y (Rho1)
// Returns:       equatorial Earth radii, >= 0
// Source: golden-section search along the ellipse; no published source.
double DistanceFromOutline(double x, double y, double rho1) {
  if (x * x + (y / rho1) * (y / rho1) <= 1) return 0;
  const double centre = std::atan2(y / rho1, x);
  auto gap = [&](double th) { return std::hypot(x - std::cos(th), y - rho1 * std::sin(th)); };
  return gap(Minimum(centre - 0.1, centre + 0.1, gap));
}

// The semi-axis in y of the Earth's outline on the fundamental plane.
// Given:  d   declination of the shadow axis, radians
// Returns:    sqrt(1 - e^2 cos^2 d), equatorial Earth radii
// Source: Explanatory Supplement to the Astronomical Ephemeris (1961), ch. 9.
double Rho1(double d) { return std::sqrt(1 - kEarthE2 * std::cos(d) * std::cos(d)); }

// Whether the New (k whole) or Full Moon (k + 0.5) of a lunation can be
// eclipsed at all: the Moon's mean argument of latitude F must lie within
// some 21 degrees of a node, |sin F| <= 0.36. The true limits are some 18.5
// degrees (solar) and 17 degrees (penumbral), so no eclipse is passed over.
// Given:  k   lunations from the New Moon of 2000 January 6
// Returns:    false when no eclipse can happen
// Source: Meeus, Astronomical Algorithms 2nd ed., ch. 54, with F of ch. 49
//         (eq. 49.6).
bool NearNode(double k) {
  const double t = k / 1236.85;
  const double f = 160.7108 + 390.67050284 * k - 0.0016118 * t * t - 0.00000227 * t * t * t +
                   0.000000011 * t * t * t * t;
  return std::fabs(std::sin(f * kRad)) <= 0.36;
}

// The solar eclipse of a lunation, if any: greatest eclipse as the least
// distance of the shadow axis from the Earth's centre, its type (partial,
// annular, total, hybrid), magnitude, obscuration, gamma and Saros series.
// Given:  lunation   New Moons from that of 2000 January 6
//         tables     the loaded series
// Returns:           the eclipse (instants Julian Days, TT and UT), or nothing
// Source: Besselian elements, Explanatory Supplement to the Astronomical
//         Ephemeris (1961), ch. 9 (sec. 9B for L1, L2 on the axis); Meeus,
//         Elements of Solar Eclipses 1951-2200 (1989).
// Accuracy: every eclipse of Espenak's catalogue 1801-2100 found and none
//           invented, greatest eclipse within 1 min, magnitude within 0.01,
//           gamma within 0.005 (tests).
std::optional<SolarEclipse> SolarAt(int lunation, const SeriesTables& tables) {
  if (!NearNode(lunation)) return std::nullopt;
  const Syzygy syzygy = FindSyzygy(kNewMoon2000 + lunation * kSynodicMonth, 0, tables);
  if (std::fabs(syzygy.moonLatitude) > kLatitudeLimitDeg) return std::nullopt;

  const auto bessel = Sample<kBesselCount>(
      syzygy.jdTT, [&](double t) { return BesselAt(SunMoonAt(t, tables)); });
  const double lo = syzygy.jdTT - kHalfWindow, hi = syzygy.jdTT + kHalfWindow;
  auto axisGap2 = [&](double t) {
    const Bessel b = bessel(t);
    return b[kX] * b[kX] + b[kY] * b[kY];
  };
  const double tg = Minimum(lo, hi, axisGap2);
  const Bessel b = bessel(tg);
  const double x = b[kX], y = b[kY], l1 = b[kL1], l2 = b[kL2];
  const double rho1 = Rho1(b[kD]);
  const double outside = DistanceFromOutline(x, y, rho1);
  if (outside >= l1) return std::nullopt;  // the penumbra misses the Earth

  SolarEclipse e;
  e.greatestTT = tg;
  e.greatestUT = UniversalTime(tg, e.deltaT);
  e.gamma = std::copysign(std::sqrt(x * x + y * y), y);
  e.lunation = lunation;
  e.saros.series = SolarSarosSeries(lunation);
  e.central = outside == 0;
  double ratio = 0;  // Moon/Sun diameters at the point of greatest eclipse
  if (e.central) {
    // On the axis, at height zeta above the fundamental plane: the shadow's radii
    // there, L1 and L2 (Explanatory Supplement 1961, sec. 9B).
    const double y1 = y / rho1;
    const double zeta = std::sqrt(std::max(0.0, 1 - x * x - y1 * y1));
    const double L1 = l1 - zeta * b[kTanF1], L2 = l2 - zeta * b[kTanF2];
    ratio = (L1 - L2) / (L1 + L2);
    e.magnitude = ratio;
    if (L2 > 0) {
      e.type = SolarEclipseType::Annular;
    } else {
      // Total on the axis at greatest eclipse; hybrid when the path's ends, where
      // the axis meets the Earth's limb (zeta = 0), see the antumbra (l2 > 0).
      e.type = SolarEclipseType::Total;
      auto inside = [&](double t) {
        const Bessel c = bessel(t);
        const double r = Rho1(c[kD]);
        return c[kX] * c[kX] + (c[kY] / r) * (c[kY] / r) - 1;
      };
      for (double edge : {lo, hi}) {
        if (inside(edge) <= 0) continue;
        if (bessel(Crossing(std::min(edge, tg), std::max(edge, tg), inside))[kL2] > 0)
          e.type = SolarEclipseType::Hybrid;
      }
    }
  } else {
    // The point of greatest eclipse is on the limb (zeta = 0), `outside` from
    // the axis; the umbra or antumbra reaches the Earth there when it is within
    // |l2| of the axis.
    ratio = (l1 - l2) / (l1 + l2);
    e.magnitude = (l1 - outside) / (l1 + l2);
    e.type = outside < std::fabs(l2)
                 ? (l2 < 0 ? SolarEclipseType::Total : SolarEclipseType::Annular)
                 : SolarEclipseType::Partial;
  }
  e.obscuration = SolarObscuration(e.magnitude, ratio);
  return e;
}

// ---- Lunar eclipses: the Moon against the Earth's shadow seen from the
// Earth's centre (Explanatory Supplement to the Astronomical Almanac, 1992,
// sec. 8.3; Meeus, Astronomical Algorithms, ch. 54).

enum { kEast, kNorth, kUmbra, kPenumbra, kMoonSemi, kMoonDistance, kShadowCount };
using Shadow = std::array<double, kShadowCount>;

// The Moon against the Earth's shadow seen from the Earth's centre: the
// Moon's place east and north of the shadow axis, the shadow's angular radii
// (enlarged for the atmosphere), the Moon's semidiameter and distance.
// Given:  s             the apparent Sun and Moon (SunMoonAt)
//         enlargement   Danjon (1/85 of the Earth's radius) or Chauvenet (1/50)
// Returns:              east, north (sines of the angle), radii and
//                       semidiameter radians, distance Earth radii
// Source: Explanatory Supplement to the Astronomical Almanac (1992), sec.
//         8.3; the Earth's radius at latitude 45 degrees (0.998340), as
//         Espenak & Meeus 2006.
Shadow ShadowAt(const SunMoon& s, ShadowEnlargement enlargement) {
  const double sunDistance = Length(s.sun), moonDistance = Length(s.moon);
  const Vec3 axis = (-1.0 / sunDistance) * s.sun;
  const SkyAxes ax = AxesAt(axis);
  const Vec3 moon = (1.0 / moonDistance) * s.moon;
  // Parallaxes and semidiameters; the Earth's radius at latitude 45 degrees.
  const double moonParallax = 0.998340 * std::asin(1 / moonDistance);
  const double sunParallax = std::asin(1 / sunDistance);
  const double sunSemi = std::asin(kSunRadius / sunDistance);
  Shadow v{};
  v[kEast] = Dot(moon, ax.east);
  v[kNorth] = Dot(moon, ax.north);
  if (enlargement == ShadowEnlargement::Danjon) {
    v[kUmbra] = 1.01 * moonParallax - sunSemi + sunParallax;
    v[kPenumbra] = 1.01 * moonParallax + sunSemi + sunParallax;
  } else {
    v[kUmbra] = 1.02 * (moonParallax - sunSemi + sunParallax);
    v[kPenumbra] = 1.02 * (moonParallax + sunSemi + sunParallax);
  }
  v[kMoonSemi] = std::asin(kMoonRadiusPenumbral / moonDistance);
  v[kMoonDistance] = moonDistance;
  return v;
}

// The angle between the Moon's centre and the shadow axis.
// Given:  v   a ShadowAt result
// Returns:    radians, 0..pi/2
double AxisAngle(const Shadow& v) {
  return std::asin(std::min(1.0, std::hypot(v[kEast], v[kNorth])));
}

// The lunar eclipse of a lunation, if any: greatest eclipse as the least
// angle between the Moon and the shadow axis, its type, umbral and penumbral
// magnitudes, gamma, contacts P1, U1..U4, P4 and Saros series.
// Given:  lunation      Full Moon after the New Moon of that number
//         tables        the loaded series
//         enlargement   Danjon or Chauvenet
// Returns:              the eclipse (instants Julian Days: greatest TT and UT,
//                       contacts UT), or nothing
// Source: Explanatory Supplement to the Astronomical Almanac (1992), sec.
//         8.3; Meeus, Astronomical Algorithms 2nd ed., ch. 54.
// Accuracy: every eclipse of Espenak's catalogue 1801-2100 found and none
//           invented, greatest eclipse within 1 min, magnitudes within 0.01,
//           gamma within 0.005, umbral contacts within 2 min (3 for phases
//           under 15 min) (tests).
std::optional<LunarEclipse> LunarAt(int lunation, const SeriesTables& tables,
                                    ShadowEnlargement enlargement) {
  if (!NearNode(lunation + 0.5)) return std::nullopt;
  const Syzygy syzygy =
      FindSyzygy(kNewMoon2000 + (lunation + 0.5) * kSynodicMonth, 180, tables);
  if (std::fabs(syzygy.moonLatitude) > kLatitudeLimitDeg) return std::nullopt;

  auto sample = [&](double centre) {
    return Sample<kShadowCount>(
        centre, [&](double t) { return ShadowAt(SunMoonAt(t, tables), enlargement); });
  };
  auto greatest = [](const Samples<kShadowCount>& s) {
    return Minimum(s.t0 - kHalfWindow, s.t0 + kHalfWindow,
                   [&](double t) { return AxisAngle(s(t)); });
  };
  Samples<kShadowCount> shadow = sample(syzygy.jdTT);
  double tg = greatest(shadow);
  Shadow g = shadow(tg);
  if (AxisAngle(g) >= g[kPenumbra] + g[kMoonSemi]) return std::nullopt;
  // Centred again on greatest eclipse, so that every contact is inside the window.
  shadow = sample(tg);
  tg = greatest(shadow);
  g = shadow(tg);

  const double theta = AxisAngle(g);
  LunarEclipse e;
  e.greatestTT = tg;
  e.greatestUT = UniversalTime(tg, e.deltaT);
  e.gamma = std::copysign(std::sin(theta) * g[kMoonDistance], g[kNorth]);
  e.umbralMagnitude = (g[kUmbra] + g[kMoonSemi] - theta) / (2 * g[kMoonSemi]);
  e.penumbralMagnitude = (g[kPenumbra] + g[kMoonSemi] - theta) / (2 * g[kMoonSemi]);
  if (e.penumbralMagnitude <= 0) return std::nullopt;
  e.type = e.umbralMagnitude >= 1   ? LunarEclipseType::Total
           : e.umbralMagnitude > 0 ? LunarEclipseType::Partial
                                   : LunarEclipseType::Penumbral;
  e.lunation = lunation;
  e.saros.series = LunarSarosSeries(lunation);

  // A contact is an instant where the Moon's centre is at a given distance from
  // the axis: the penumbra's or umbra's radius plus (external) or minus
  // (internal) the Moon's semidiameter.
  const double lo = shadow.t0 - kHalfWindow, hi = shadow.t0 + kHalfWindow;
  auto contacts = [&](int radius, double sign, std::optional<double>& before,
                      std::optional<double>& after) {
    auto gap = [&](double t) {
      const Shadow v = shadow(t);
      return AxisAngle(v) - (v[radius] + sign * v[kMoonSemi]);
    };
    if (gap(tg) >= 0) return;
    double unused = 0;
    if (gap(lo) > 0) before = UniversalTime(Crossing(lo, tg, gap), unused);
    if (gap(hi) > 0) after = UniversalTime(Crossing(tg, hi, gap), unused);
  };
  contacts(kPenumbra, +1, e.contacts.P1, e.contacts.P4);
  contacts(kUmbra, +1, e.contacts.U1, e.contacts.U4);
  contacts(kUmbra, -1, e.contacts.U2, e.contacts.U3);
  return e;
}

// Saros series from the lunation number: with n - n0 = 223 a + 358 b, the
// series is that of lunation n0 plus b. b is fixed modulo 223 by n - n0; of
// its values the one near (n - n0) / 358 is taken, since about one series
// begins and one ends every inex, so the series under way at a time spread
// over far fewer than 223 numbers around that drift.
// Given:  lunation               the eclipse's lunation
//         refLunation, refSeries a lunation and its known series
// Returns:                       the series number
// Source: van den Bergh, Periodicity and Variation of Solar (and Lunar)
//         Eclipses (1955): the saros-inex scheme.
// Accuracy: every series of Espenak's catalogues 1801-2100 (tests).
int SarosSeries(int lunation, int refLunation, int refSeries) {
  // 358 = 135 (mod 223) and 135 * 38 = 1 (mod 223).
  constexpr long long kInverse = 38;
  static_assert((kInexMonths % kSarosMonths) * kInverse % kSarosMonths == 1);
  const long long dn = static_cast<long long>(lunation) - refLunation;
  long long b = ((dn % kSarosMonths) * kInverse) % kSarosMonths;
  if (b < 0) b += kSarosMonths;
  const double drift = static_cast<double>(dn) / kInexMonths;
  b += kSarosMonths * std::llround((drift - static_cast<double>(b)) / kSarosMonths);
  return refSeries + static_cast<int>(b);
}

// The known start of a series (saros_starts.h) for the supplied series files
// and the two kinds of eclipse tabled there (0 solar, 2 lunar with
// Chauvenet's enlargement); nothing otherwise.
// Given:  kind, series   as NumberMembers; supplied: the tables are the files'
// Returns:               the series' first lunation, or nothing
// Source: bookkeeping; no published source.
std::optional<int> KnownStart(int kind, int series, bool supplied) {
  if (!supplied) return std::nullopt;
  auto find = [&](const auto& starts) -> std::optional<int> {
    for (const SarosStart& s : starts)
      if (s.series == series) return s.firstLunation;
    return std::nullopt;
  };
  if (kind == 0) return find(kSolarSarosStarts);
  if (kind == 1 + static_cast<int>(ShadowEnlargement::Chauvenet)) return find(kLunarSarosStarts);
  return std::nullopt;
}

// Each eclipse's member number: the count of eclipses of its series before it,
// found by stepping back one saros at a time. A series' first eclipse is a fact
// of the sky: with the supplied series files it is read from saros_starts.h;
// otherwise it is found once per process for each kind of eclipse and set of
// tables (some 40 eclipse computations a series) and shared by every thread
// behind a lock: a year's list then costs its own lunations only.
// Given:  list     eclipses with their series; kind: 0 solar, 1 + enlargement
//         tables   the series the eclipses were found with
//         exists   lunation -> whether that lunation has an eclipse
// Returns:         saros.member set, 1 for a series' first eclipse
// Source: bookkeeping; no published source.
template <class Eclipse, class Exists>
void NumberMembers(std::vector<Eclipse>& list, int kind, const SeriesTables& tables,
                   Exists&& exists) {
  using Key = std::tuple<const SeriesTables*, int, int>;  // tables, kind, series
  static std::mutex lock;
  static std::map<Key, int> firstLunation;  // -> lunation of the series' first eclipse
  static std::map<const SeriesTables*, bool> supplied;  // -> the supplied files' tables
  bool known = false;
  if (!list.empty()) {
    const std::lock_guard<std::mutex> hold(lock);
    auto [at, added] = supplied.try_emplace(&tables, false);
    if (added) at->second = SeriesFingerprint(tables) == kSuppliedSeriesFingerprint;
    known = at->second;
  }
  for (Eclipse& e : list) {
    const Key key{&tables, kind, e.saros.series};
    std::optional<int> first = KnownStart(kind, e.saros.series, known);
    if (!first) {
      const std::lock_guard<std::mutex> hold(lock);
      if (auto found = firstLunation.find(key); found != firstLunation.end()) first = found->second;
    }
    if (!first) {
      int n = e.lunation;
      while (exists(n - kSarosMonths)) n -= kSarosMonths;
      first = n;
      const std::lock_guard<std::mutex> hold(lock);
      firstLunation.emplace(key, n);
    }
    e.saros.member = (e.lunation - *first) / kSarosMonths + 1;
  }
}

// The lunations whose syzygies can fall in a span, one more each side.
// Given:  fromUT, toUT   Julian Days, UT
//         offset         0 (New Moons) or 0.5 (Full Moons)
// Returns:               first and last lunation numbers
// Source: the mean New Moon of 2000 January 6 and the mean synodic month of
//         Meeus, Astronomical Algorithms 2nd ed., ch. 49.
std::pair<int, int> LunationRange(double fromUT, double toUT, double offset) {
  return {static_cast<int>(std::floor((fromUT - kNewMoon2000) / kSynodicMonth - offset)) - 1,
          static_cast<int>(std::ceil((toUT - kNewMoon2000) / kSynodicMonth - offset)) + 1};
}

}  // namespace

// A fingerprint of the series tables: 64-bit FNV-1a over the bytes of every
// coefficient, in the order of the sets, coordinates, series and terms, then
// Pluto's table.
// Given:  tables   the loaded series
// Returns:         the fingerprint
// Source: Fowler, Noll and Vo, the FNV-1a hash (IETF draft
//         draft-eastlake-fnv, 64-bit offset basis and prime).
std::uint64_t SeriesFingerprint(const SeriesTables& tables) {
  std::uint64_t h = 14695981039346656037ull;
  auto add = [&](double v) {
    unsigned char bytes[sizeof v];
    std::memcpy(bytes, &v, sizeof v);
    for (const unsigned char b : bytes) h = (h ^ b) * 1099511628211ull;
  };
  for (const SeriesSet& set : tables.sets)
    for (const auto* coordinate : {&set.L, &set.B, &set.R}) {
      add(static_cast<double>(coordinate->size()));
      for (const auto& series : *coordinate) {
        add(static_cast<double>(series.size()));
        for (const SeriesTerm& t : series) add(t.A), add(t.B), add(t.C);
      }
    }
  for (const PlutoTerm& t : tables.pluto)
    for (const double v : {t.j, t.s, t.p, t.lonSin, t.lonCos, t.latSin, t.latCos, t.radSin, t.radCos})
      add(v);
  return h;
}

// The Saros series of the solar eclipse of a lunation, from 2017 August 21:
// lunation 218, Saros 145.
// Given:  lunation   New Moons from that of 2000 January 6
// Returns:           the series number
// Source: Espenak & Meeus, Five Millennium Canon of Solar Eclipses (2006)
//         for the reference eclipse; SarosSeries for the rest.
int SolarSarosSeries(int lunation) {
  // 2017 August 21: lunation 218, Saros 145 (Espenak & Meeus, Five Millennium
  // Canon of Solar Eclipses).
  return SarosSeries(lunation, 218, 145);
}

// The Saros series of the lunar eclipse of a lunation, from 2025 March 14:
// the Full Moon of lunation 311, Saros 123.
// Given:  lunation   the Full Moon after that New Moon
// Returns:           the series number
// Source: Espenak, NASA Catalog of Lunar Eclipses 2001-2100, for the
//         reference eclipse; SarosSeries for the rest.
int LunarSarosSeries(int lunation) {
  // 2025 March 14: the Full Moon of lunation 311, Saros 123 (Espenak, NASA
  // Catalog of Lunar Eclipses 2001-2100).
  return SarosSeries(lunation, 311, 123);
}

// The fraction of the Sun's disk covered by the Moon's: the lens common to
// two circles of radii 1 and k whose limbs overlap by the magnitude.
// Given:  magnitude       fraction of the Sun's diameter covered
//         diameterRatio   k, the Moon's diameter over the Sun's
// Returns:                0..1
// Source: the area of intersection of two circles; no published source.
double SolarObscuration(double magnitude, double diameterRatio) {
  if (magnitude <= 0) return 0;
  const double k = diameterRatio;
  const double c = 1 + k - 2 * magnitude;  // distance of the centres, Sun radii
  if (c <= k - 1) return 1;                // the Moon covers the Sun
  if (c <= 1 - k) return k * k;            // the Moon wholly on the Sun
  // The lens common to two circles of radii 1 and k, c apart.
  const double a1 = std::acos(std::clamp((c * c + 1 - k * k) / (2 * c), -1.0, 1.0));
  const double a2 = std::acos(std::clamp((c * c + k * k - 1) / (2 * c * k), -1.0, 1.0));
  const double kite = 0.5 * std::sqrt(std::max(0.0, (-c + 1 + k) * (c + 1 - k) * (c - 1 + k) *
                                                        (c + 1 + k)));
  return (a1 + k * k * a2 - kite) / kPi;
}

// The solar eclipse of one lunation without its member number (SolarAt).
// Given:  lunation, tables   as SolarAt; Returns: the eclipse or nothing
std::optional<SolarEclipse> SolarEclipseOfLunation(int lunation, const SeriesTables& tables) {
  return SolarAt(lunation, tables);
}

// The lunar eclipse of one lunation without its member number (LunarAt).
// Given:  lunation, tables, enlargement   as LunarAt
// Returns:                                the eclipse or nothing
std::optional<LunarEclipse> LunarEclipseOfLunation(int lunation, const SeriesTables& tables,
                                                   ShadowEnlargement enlargement) {
  return LunarAt(lunation, tables, enlargement);
}

// Every solar eclipse whose greatest eclipse falls in [fromUT, toUT), in time
// order, with Saros series and member numbers.
// Given:  fromUT, toUT   Julian Days, UT
//         tables         the loaded series
// Returns:               the eclipses
// Accuracy: as SolarAt.
std::vector<SolarEclipse> FindSolarEclipses(double fromUT, double toUT,
                                            const SeriesTables& tables) {
  std::vector<SolarEclipse> out;
  const auto [first, last] = LunationRange(fromUT, toUT, 0);
  for (int n = first; n <= last; ++n) {
    const auto e = SolarAt(n, tables);
    if (e && e->greatestUT >= fromUT && e->greatestUT < toUT) out.push_back(*e);
  }
  NumberMembers(out, 0, tables, [&](int n) { return SolarAt(n, tables).has_value(); });
  return out;
}

// Every lunar eclipse whose greatest eclipse falls in [fromUT, toUT), in time
// order, with Saros series and member numbers.
// Given:  fromUT, toUT   Julian Days, UT
//         tables         the loaded series
//         enlargement    Danjon or Chauvenet
// Returns:               the eclipses
// Accuracy: as LunarAt.
std::vector<LunarEclipse> FindLunarEclipses(double fromUT, double toUT, const SeriesTables& tables,
                                            ShadowEnlargement enlargement) {
  std::vector<LunarEclipse> out;
  const auto [first, last] = LunationRange(fromUT, toUT, 0.5);
  for (int n = first; n <= last; ++n) {
    const auto e = LunarAt(n, tables, enlargement);
    if (e && e->greatestUT >= fromUT && e->greatestUT < toUT) out.push_back(*e);
  }
  NumberMembers(out, 1 + static_cast<int>(enlargement), tables,
                [&](int n) { return LunarAt(n, tables, enlargement).has_value(); });
  return out;
}

}  // namespace novastra
