#include "astro/apparent.h"

#include <erfa.h>
#include <erfam.h>

#include <cmath>
#include <numbers>

#include "astro/moon.h"
#include "astro/osculating_node.h"
#include "astro/planets.h"
#include "astro/pluto.h"
#include "astro/sky.h"
#include "astro/zodiac.h"

namespace novastra {

namespace {

constexpr double kRad = std::numbers::pi / 180.0;
constexpr double kLightDaysPerAu = 0.0057755183;  // light-time for 1 AU, days
constexpr double kDaysPerMillennium = 365250.0;
// Mean obliquity of J2000.0, 84381.448" (IAU 1980): the equator of Pluto's frame.
constexpr double kObliquityJ2000 = 84381.448 / 3600.0 * kRad;

// A rectangular position or velocity (AU, AU per day).
struct Vec3 {
  double x = 0, y = 0, z = 0;
};
// Sum, difference and multiple of vectors, and the length of one.
// Given:  a, b   vectors (AU or AU per day); k a factor
// Returns:       a vector in the same frame and unit, or the length
Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vec3 operator*(double k, Vec3 a) { return {k * a.x, k * a.y, k * a.z}; }
double Length(Vec3 a) { return std::sqrt(a.x * a.x + a.y * a.y + a.z * a.z); }

// Rotation about the x axis taking (y, z) by +angle: ecliptic to equator
// when angle is the obliquity, equator to ecliptic when it is minus that.
// Given:  v       vector, any unit
//         angle   radians
// Returns:        the rotated vector, the unit of v
// Source: the rotation matrix R1(-angle); Meeus, Astronomical Algorithms 2nd ed., ch. 13.
Vec3 RotateX(Vec3 v, double angle) {
  const double c = std::cos(angle), s = std::sin(angle);
  return {v.x, c * v.y - s * v.z, s * v.y + c * v.z};
}

// Longitude (or right ascension) of a vector: atan2(y, x).
// Given:  v   vector, any unit and frame
// Returns:    degrees, [0, 360), in the frame of v
double LongitudeDeg(Vec3 v) {
  const double a = std::atan2(v.y, v.x) / kRad;
  return a < 0 ? a + 360.0 : a;
}
// Latitude (or declination) of a vector: atan2(z, hypot(x, y)).
// Given:  v   vector, any unit and frame
// Returns:    degrees, -90..90
double LatitudeDeg(Vec3 v) { return std::atan2(v.z, std::hypot(v.x, v.y)) / kRad; }

// An angle reduced to one turn, with the full-precision pi of this file.
// Given:  a   degrees, finite
// Returns:    degrees, [0, 360)
double NormalizeDeg(double a) { return a - 360.0 * std::floor(a / 360.0); }

// One coordinate of a series set, the sum over powers of tau of the series
// of that power (the same sums as ComputeHelio, in full precision, no reduction).
// Given:  series   the terms A cos(B + C tau) of each power of tau
//         lanes    the same terms laid out for the vector kernels
//         tau      Julian millennia of TT from J2000.0
//         fast     the vector kernels, or nullptr for the plain sums
// Returns:         radians (L, B) or AU (R), unreduced
// Source: VSOP87 (Bretagnon & Francou 1988) as Meeus, Astronomical
//         Algorithms 2nd ed., ch. 32 gives it.
double SeriesValue(const std::vector<std::vector<SeriesTerm>>& series, const SeriesLanes& lanes,
                   double tau, const TrigKernels* fast) {
  if (fast != nullptr && !lanes.A.empty()) return fast->powerSeries(lanes, tau);
  return PlainPowerSeriesSum(series, tau);
}

// Heliocentric rectangular ecliptic position of a series set's body.
// Given:  set    the L, B, R series of one body
//         tau    Julian millennia of TT from J2000.0
//         fast   the vector kernels, or nullptr
// Returns:       AU; ecliptic and mean equinox of date (the Earth of J2000.0
//                set: of J2000.0)
// Source: VSOP87 as Meeus, Astronomical Algorithms 2nd ed., ch. 32 gives it.
Vec3 Helio(const SeriesSet& set, double tau, const TrigKernels* fast) {
  const double L = SeriesValue(set.L, set.laneL, tau, fast);
  const double B = SeriesValue(set.B, set.laneB, tau, fast);
  const double R = SeriesValue(set.R, set.laneR, tau, fast);
  return {R * std::cos(B) * std::cos(L), R * std::cos(B) * std::sin(L), R * std::sin(B)};
}

// Heliocentric velocity of a series set's body by a central difference of
// Helio over one day.
// Given:  set    the L, B, R series of one body
//         tau    Julian millennia of TT from J2000.0
//         fast   the vector kernels, or nullptr
// Returns:       AU per day, the frame of Helio
// Source: central difference; no published source.
// Accuracy: the error of the difference, v (2 pi / year)^2 (0.5 day)^2 / 6,
//           is about 1.2e-5 of v, or 0.0003" of the aberration.
Vec3 Velocity(const SeriesSet& set, double tau, const TrigKernels* fast) {
  constexpr double h = 0.5 / kDaysPerMillennium;
  return Helio(set, tau + h, fast) - Helio(set, tau - h, fast);
}

// Geocentric apparent direction of a body: the body where its light left it
// (one light-time iteration), then annual aberration to first order in v/c.
// Given:  bodyAt          heliocentric position (AU) as a function of tau
//         tau             Julian millennia of TT from J2000.0
//         earth           the Earth's heliocentric position, AU
//         earthVelocity   the Earth's heliocentric velocity, AU per day
// Returns:                the direction as a vector of length near the
//                         distance, AU, in the frame of bodyAt and earth
// Source: Meeus, Astronomical Algorithms 2nd ed., ch. 33 (light-time) and
//         ch. 23 (annual aberration).
// Accuracy: one iteration of the light-time leaves well under 0.01".
template <class Position>
Vec3 Apparent(Position&& bodyAt, double tau, Vec3 earth, Vec3 earthVelocity) {
  const double distance = Length(bodyAt(tau) - earth);
  const Vec3 geo = bodyAt(tau - distance * kLightDaysPerAu / kDaysPerMillennium) - earth;
  return geo + (Length(geo) * kLightDaysPerAu) * earthVelocity;
}

}  // namespace

// The apparent sky of one instant. TT from UT by delta T; the Sun and planets
// with light-time and annual aberration; the nutation in longitude; Pluto
// from its J2000.0 series carried to the true equator of date by precession
// and nutation; the Moon with nutation; right ascension and declination with
// the true obliquity; each longitude then in the chosen zodiac.
// Given:  instant   instant.TimeT: Julian centuries of UT from J2000.0
//         tables    the loaded series (the Earth of date and of J2000.0)
//         choices   zodiac, node and plain (no vector kernels)
// Returns:          geocentric longitudes (in the chosen zodiac) and latitudes,
//                   heliocentric longitudes and latitudes, right ascensions
//                   and declinations; degrees, true equinox and equator of date
// Source: delta T, Espenak & Meeus 2006 polynomials; VSOP87 as Meeus,
//         Astronomical Algorithms 2nd ed., ch. 32; aberration and light-time,
//         ch. 23 and 33; the Moon, ch. 47; Pluto, ch. 37; nutation, IAU 1980
//         (ERFA eraNut80); precession and nutation matrix, ERFA eraPnm80
//         (IAU 1976 precession, Lieske et al. 1977, IAU 1980 nutation).
// Accuracy: against PyEphem 4.1.4 over 1800-2100 (README, Accuracy): Sun
//           0.65", planets 1.0" to 2.3", Moon 12.5", Pluto 17.4" (1885-2099).
BodyPositions ComputeApparentPositions(const InstantSetup& instant, const SeriesTables& tables,
                                       const EngineChoices& choices) {
  const TrigKernels* fast = choices.plain ? nullptr : &FastKernels();
  BodyPositions p;

  const double jdUT = 2451545.0 + instant.TimeT * 36525.0;
  const double jdTT = jdUT + DeltaTSeconds(jdUT) / 86400.0;
  const double T = (jdTT - 2451545.0) / 36525.0;
  const double tau = T / 10.0;
  const NutationOfDate nut = Nutation(jdTT);
  const double dpsiDeg = nut.dpsi / kRad;

  // Sun and planets in the ecliptic and mean equinox of date of the series.
  const SeriesSet& earthSet = tables[SeriesBody::Earth];
  const Vec3 earth = Helio(earthSet, tau, fast);
  const Vec3 earthVelocity = Velocity(earthSet, tau, fast);
  Vec3 geo[11];
  geo[kSun] = Apparent([](double) { return Vec3{}; }, tau, earth, earthVelocity);
  p.HelioLongitude[kSun] = NormalizeDeg(LongitudeDeg(earth) + dpsiDeg);
  p.HelioLatitude[kSun] = LatitudeDeg(earth);

  constexpr Body kPlanets[] = {kMercury, kVenus, kMars, kJupiter, kSaturn, kUranus, kNeptune};
  constexpr SeriesBody kSets[] = {SeriesBody::Mercury, SeriesBody::Venus,  SeriesBody::Mars,
                                  SeriesBody::Jupiter, SeriesBody::Saturn, SeriesBody::Uranus,
                                  SeriesBody::Neptune};
  for (int i = 0; i < 7; ++i) {
    const SeriesSet& set = tables[kSets[i]];
    auto at = [&](double t) { return Helio(set, t, fast); };
    geo[kPlanets[i]] = Apparent(at, tau, earth, earthVelocity);
    const Vec3 helio = at(tau);
    p.HelioLongitude[kPlanets[i]] = NormalizeDeg(LongitudeDeg(helio) + dpsiDeg);
    p.HelioLatitude[kPlanets[i]] = LatitudeDeg(helio);
  }
  for (int i = kSun; i <= kNeptune; ++i) {
    if (i == kMoon) continue;
    p.Longitude[i] = NormalizeDeg(LongitudeDeg(geo[i]) + dpsiDeg);
    p.Latitude[i] = LatitudeDeg(geo[i]);
  }

  // Pluto: its J2000.0 ecliptic series seen from the Earth of the J2000.0
  // series, to the mean equator of J2000.0, then precession and nutation to
  // the true equator of date (IAU 1976/1980 through ERFA).
  {
    const SeriesSet& earth0Set = tables[SeriesBody::EarthJ2000];
    const Vec3 earth0 = Helio(earth0Set, tau, fast);
    const Vec3 earth0Velocity = Velocity(earth0Set, tau, fast);
    const SunJ2000 noSun;
    auto at = [&](double t) {
      const PlutoPosition pl = ComputePluto(t * 10.0, instant.RowJD, noSun, tables.pluto, fast);
      const double l = pl.l * kRad, b = pl.b * kRad;
      return Vec3{pl.r * std::cos(b) * std::cos(l), pl.r * std::cos(b) * std::sin(l),
                  pl.r * std::sin(b)};
    };
    double pn[3][3];
    eraPnm80(ERFA_DJ00, jdTT - ERFA_DJ00, pn);
    auto toTrueEquator = [&](Vec3 ecliptic2000) {
      const Vec3 v = RotateX(ecliptic2000, kObliquityJ2000);
      return Vec3{pn[0][0] * v.x + pn[0][1] * v.y + pn[0][2] * v.z,
                  pn[1][0] * v.x + pn[1][1] * v.y + pn[1][2] * v.z,
                  pn[2][0] * v.x + pn[2][1] * v.y + pn[2][2] * v.z};
    };
    const Vec3 eq = toTrueEquator(Apparent(at, tau, earth0, earth0Velocity));
    const Vec3 ecl = RotateX(eq, -nut.trueObliquity);
    p.Longitude[kPluto] = LongitudeDeg(ecl);
    p.Latitude[kPluto] = LatitudeDeg(ecl);
    p.RightAscension[kPluto] = LongitudeDeg(eq);
    p.Declination[kPluto] = LatitudeDeg(eq);
    const Vec3 helio = RotateX(toTrueEquator(at(tau)), -nut.trueObliquity);
    p.HelioLongitude[kPluto] = LongitudeDeg(helio);
    p.HelioLatitude[kPluto] = LatitudeDeg(helio);
  }

  // The Moon's theory already holds the constant light-time of its mean
  // longitude (Meeus, ch. 47); annual aberration does not apply to it.
  const MoonPosition moon =
      ComputeMoon(T, choices.node == NodeMode::True ? NodeMode::True : NodeMode::Mean, fast);
  p.Longitude[kMoon] = NormalizeDeg(moon.longitude + dpsiDeg);
  p.Latitude[kMoon] = moon.latitude;
  const double node = choices.node == NodeMode::Osculating ? OsculatingNode(T, fast) : moon.node;
  p.Longitude[kNorthNode] = NormalizeDeg(node + dpsiDeg);
  p.Latitude[kNorthNode] = 0;

  // Right ascension and declination with the true obliquity.
  for (int i = kSun; i <= kNorthNode; ++i) {
    if (i == kPluto) continue;
    const double lon = p.Longitude[i] * kRad, lat = p.Latitude[i] * kRad;
    const Vec3 eq =
        RotateX({std::cos(lat) * std::cos(lon), std::cos(lat) * std::sin(lon), std::sin(lat)},
                nut.trueObliquity);
    p.RightAscension[i] = LongitudeDeg(eq);
    p.Declination[i] = LatitudeDeg(eq);
  }

  for (int i = kSun; i <= kNorthNode; ++i)
    p.Longitude[i] = ShiftLongitude(p.Longitude[i], choices.zodiac, instant);
  return p;
}

// The apparent Sun and Moon alone, by the steps of ComputeApparentPositions.
// Given:  jdTT     Julian Day, TT
//         tables   the loaded series (the Earth of date)
//         plain    true: the plain sums, not the vector kernels
// Returns:         longitudes and latitudes of the true equinox and ecliptic
//                  of date (degrees, tropical), the Sun's distance (AU), the
//                  Moon's (km), the true obliquity of date (radians)
// Source: as ComputeApparentPositions.
// Accuracy: as there: Sun 0.65", Moon 12.5" over 1800-2100.
ApparentSunMoon ComputeApparentSunMoon(double jdTT, const SeriesTables& tables, bool plain) {
  const TrigKernels* fast = plain ? nullptr : &FastKernels();
  const double T = (jdTT - 2451545.0) / 36525.0;
  const double tau = T / 10.0;
  const NutationOfDate nut = Nutation(jdTT);
  const double dpsiDeg = nut.dpsi / kRad;

  const SeriesSet& earthSet = tables[SeriesBody::Earth];
  const Vec3 earth = Helio(earthSet, tau, fast);
  const Vec3 sun = Apparent([](double) { return Vec3{}; }, tau, earth, Velocity(earthSet, tau, fast));
  const MoonPosition moon = ComputeMoon(T, NodeMode::Mean, fast);

  ApparentSunMoon a;
  a.sunLongitude = NormalizeDeg(LongitudeDeg(sun) + dpsiDeg);
  a.sunLatitude = LatitudeDeg(sun);
  a.sunDistanceAu = Length(sun);
  a.moonLongitude = NormalizeDeg(moon.longitude + dpsiDeg);
  a.moonLatitude = moon.latitude;
  a.moonDistanceKm = MoonDistanceKm(moon);
  a.trueObliquityRad = nut.trueObliquity;
  return a;
}

}  // namespace novastra
