#include "astro/minor_bodies.h"

#include <erfa.h>
#include <erfam.h>

#include <cctype>
#include <cmath>
#include <numbers>

#include "astro/fast_trig.h"
#include "astro/frames.h"
#include "astro/lunar_apogee.h"
#include "astro/minor_orbit.h"

namespace novastra {

namespace {

constexpr double kRad = std::numbers::pi / 180.0;
constexpr double kKmPerAu = 149597870.7;
// General precession in longitude, 5029.0966" per Julian century (Lieske et
// al. 1977, the IAU 1976 precession the frames of date use), in degrees per day.
constexpr double kPrecessionPerDay = 5029.0966 / 3600.0 / 36525.0;
// The mean apogee's distance: Meeus's mean distance 385000.56 km (ch. 47) times
// 1 + e, e = 0.0549 the mean eccentricity of the lunar orbit.
constexpr double kMeanApogeeKm = 385000.56 * 1.0549;

// An angle reduced to one turn, and the longitude and latitude of a vector.
// Given:  a   degrees; v a vector, any unit and frame
// Returns:    degrees: [0, 360) (Normalize, Lon), -90..90 (Lat)
double Normalize(double a) { return a - 360.0 * std::floor(a / 360.0); }
double Lon(Vector3 v) { return Normalize(std::atan2(v.y, v.x) / kRad); }
double Lat(Vector3 v) { return std::atan2(v.z, std::hypot(v.x, v.y)) / kRad; }
// The rate of the longitude of a position and velocity: (x vy - y vx) /
// (x^2 + y^2).
// Given:  p   position, AU; v velocity, AU per day; one frame
// Returns:    degrees per day, in that frame
double LonRate(Vector3 p, Vector3 v) {
  return (p.x * v.y - p.y * v.x) / (p.x * p.x + p.y * p.y) / kRad;
}

// Everything of the instant the seven bodies share.
struct Frame {
  double t = 0;           // ephemeris time (TDB ~ TT), JD
  bool apparent = false;
  double dpsiDeg = 0;     // nutation in longitude (apparent sky)
  double obliquity = 0;   // mean (design) or true (apparent) obliquity of date, radians
  Matrix3 toEcliptic;     // J2000.0 ecliptic -> ecliptic of date
  Matrix3 toEquator;      // J2000.0 ecliptic -> equator of date
};

// Everything of the instant the seven bodies share: the ephemeris time, the
// nutation and obliquity, and the rotations from the J2000.0 ecliptic to the
// ecliptic and equator of date.
// Given:  jdUT   Julian Day, UT
//         sky    Design: the UT instant as ephemeris time, mean equator and
//                obliquity; Apparent: TT = UT + delta T, true equator and
//                obliquity
// Returns:       the frame
// Source: IAU 1976 precession (ERFA eraPmat76), IAU 1980 nutation and
//         obliquity (ERFA eraNumat, eraObl80); delta T of Espenak & Meeus 2006.
Frame MakeFrame(double jdUT, Sky sky) {
  Frame f;
  f.apparent = sky == Sky::Apparent;
  f.t = f.apparent ? jdUT + DeltaTSeconds(jdUT) / 86400.0 : jdUT;
  if (f.apparent) {
    const NutationOfDate n = Nutation(f.t);
    f.dpsiDeg = n.dpsi / kRad;
    f.obliquity = n.trueObliquity;
    // Precession, then the nutation already computed (one evaluation of the
    // IAU 1980 series instead of two).
    double nm[3][3];
    eraNumat(n.meanObliquity, n.dpsi, n.deps, nm);
    Matrix3 nutation;
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 3; ++j) nutation.m[i][j] = nm[i][j];
    f.toEquator = nutation * EclipticJ2000ToMeanEquatorOfDate(f.t);
  } else {
    f.obliquity = eraObl80(ERFA_DJ00, f.t - ERFA_DJ00);
    f.toEquator = EclipticJ2000ToMeanEquatorOfDate(f.t);
  }
  f.toEcliptic = EquatorToEcliptic(f.obliquity) * f.toEquator;
  return f;
}

// An asteroid's Chebyshev series in MINOR.DAT (file order: the Earth, then
// the five asteroids).
// Given:  tables, b   the loaded series and an asteroid
const ChebyshevTable& SeriesOf(const MinorTables& tables, MinorBody b) {
  return tables.series[static_cast<int>(b) + 1];  // file order: Earth, then the five
}

// The geocentric place of an asteroid: the Chebyshev series of the body and
// the Earth; in the apparent sky light-time (iterated twice) and annual
// aberration to first order in v/c, as the apparent planets.
// Given:  tables   MINOR.DAT series (heliocentric, J2000.0 ecliptic, AU)
//         body     one of the five asteroids
//         f        the instant's frame (MakeFrame)
// Returns:         longitude and latitude (ecliptic of date), right
//                  ascension and declination (equator of date), degrees;
//                  distance AU; longitude speed degrees per day (with the
//                  IAU 1976 general precession, 5029.0966" a century)
// Source: Meeus, Astronomical Algorithms 2nd ed., ch. 33 (light-time) and
//         ch. 23 (aberration); precession rate, Lieske et al. 1977.
// Accuracy: within 0.5" of PyEphem at the elements' epoch 2022 August 4-14
//           (Chiron 0.04", Ceres 0.47"); far from the epoch not measured
//           (README, Accuracy).
MinorPlace AsteroidPlace(const MinorTables& tables, MinorBody body, const Frame& f) {
  const ChebyshevTable& ast = SeriesOf(tables, body);
  const PositionVelocity earth = tables[MinorSeries::Earth].State(f.t);
  PositionVelocity p = ast.State(f.t);
  Vector3 geo = p.position - earth.position;
  if (f.apparent) {
    // Light-time, iterated twice (Meeus, ch. 33), then annual aberration to
    // first order in v/c, as the apparent planets.
    for (int k = 0; k < 2; ++k) {
      p = ast.State(f.t - Length(geo) / kLightAuPerDay);
      geo = p.position - earth.position;
    }
    geo = geo + (Length(geo) / kLightAuPerDay) * earth.velocity;
  }
  const Vector3 ecl = f.toEcliptic * geo;
  const Vector3 eclRate = f.toEcliptic * (p.velocity - earth.velocity);
  const Vector3 eq = f.toEquator * geo;
  MinorPlace out;
  out.longitude = Lon(ecl);
  out.latitude = Lat(ecl);
  out.distance = Length(geo);
  out.rightAscension = Lon(eq);
  out.declination = Lat(eq);
  out.longitudeSpeed = LonRate(ecl, eclRate) + kPrecessionPerDay;
  return out;
}

// Right ascension and declination of an ecliptic direction of date.
// Given:  p           longitude and latitude, degrees
//         obliquity   radians (mean or true of date)
// Returns:            p.rightAscension [0, 360) and p.declination, degrees
// Source: Meeus, Astronomical Algorithms 2nd ed., ch. 13 (eq. 13.3, 13.4).
void Equatorial(MinorPlace& p, double obliquity) {
  const double l = p.longitude * kRad, b = p.latitude * kRad, c = std::cos(obliquity),
               s = std::sin(obliquity);
  const Vector3 v{std::cos(b) * std::cos(l), std::cos(b) * std::sin(l), std::sin(b)};
  const Vector3 eq{v.x, c * v.y - s * v.z, s * v.y + c * v.z};
  p.rightAscension = Lon(eq);
  p.declination = Lat(eq);
}

// The place of the mean or the osculating Black Moon Lilith. The mean one is
// a longitude only (taken on the ecliptic), at the mean apogee distance
// 385000.56 km x 1.0549.
// Given:  body   Lilith or OscLilith
//         f      the instant's frame (MakeFrame)
// Returns:       longitude (with the nutation in the apparent sky), latitude,
//                right ascension, declination degrees; distance AU; speed
//                degrees per day
// Source: MeanLunarApogee and OsculatingLunarApogee (Meeus ch. 47); the mean
//         eccentricity 0.0549 of the lunar orbit.
MinorPlace LilithPlace(MinorBody body, const Frame& f) {
  const double T = (f.t - 2451545.0) / 36525.0;
  MinorPlace out;
  if (body == MinorBody::Lilith) {
    // Meeus gives a longitude only: the point is taken on the ecliptic.
    out.longitude = Normalize(MeanLunarApogee(T) + f.dpsiDeg);
    out.latitude = 0;
    out.distance = kMeanApogeeKm / kKmPerAu;
    out.longitudeSpeed = MeanLunarApogeeSpeed(T);
  } else {
    const TrigKernels* fast = &FastKernels();
    const Apogee a = OsculatingLunarApogee(T, fast);
    out.longitude = Normalize(a.longitude + f.dpsiDeg);
    out.latitude = a.latitude;
    out.distance = a.distanceKm / kKmPerAu;
    out.longitudeSpeed = a.longitudeSpeed;
  }
  Equatorial(out, f.obliquity);
  return out;
}

// The place of any of the seven bodies in a frame already made.
// Given:  tables, body, jdUT, f   as ComputeMinorPlace, with its frame
// Returns:                        the place, or nothing for an asteroid outside
//                                 1800-2100
std::optional<MinorPlace> PlaceIn(const MinorTables& tables, MinorBody body, double jdUT,
                                  const Frame& f) {
  if (!IsAsteroid(body)) return LilithPlace(body, f);
  if (!MinorBodiesCover(jdUT)) return std::nullopt;
  return AsteroidPlace(tables, body, f);
}

}  // namespace

// The printed name of a minor body.
// Given:  body   the body; Returns: e.g. "Osc. Lilith"
const char* MinorBodyName(MinorBody body) { return kMinorBodyNames[static_cast<int>(body)]; }

// The body a name of kMinorBodyNames stands for (exact, case-insensitive).
// Given:  name   e.g. "ceres"
// Returns:       the body, or nothing
std::optional<MinorBody> MinorBodyFromName(std::string_view name) {
  for (MinorBody b : kMinorBodies) {
    const std::string_view n = MinorBodyName(b);
    if (n.size() != name.size()) continue;
    bool same = true;
    for (size_t i = 0; i < n.size() && same; ++i)
      same = std::tolower(static_cast<unsigned char>(n[i])) ==
             std::tolower(static_cast<unsigned char>(name[i]));
    if (same) return b;
  }
  return std::nullopt;
}

// Whether the asteroids' places can be given at an instant.
// Given:  jdUT   Julian Day, UT
// Returns:       true for 1800 January 1 0h to 2101 January 1 0h
bool MinorBodiesCover(double jdUT) {
  return jdUT >= kMinorValidFromJD && jdUT <= kMinorValidToJD;
}

// The geocentric place of a minor body at an instant.
// Given:  tables   the loaded MINOR.DAT series
//         body     the body
//         jdUT     Julian Day, UT
//         sky      Design or Apparent
// Returns:         the place (degrees, AU, degrees per day; ecliptic and
//                  equator of date), or nothing for an asteroid outside
//                  1800-2100
// Accuracy: as AsteroidPlace; Lilith as MeanLunarApogee.
std::optional<MinorPlace> ComputeMinorPlace(const MinorTables& tables, MinorBody body,
                                            double jdUT, Sky sky) {
  if (IsAsteroid(body) && !MinorBodiesCover(jdUT)) return std::nullopt;
  return PlaceIn(tables, body, jdUT, MakeFrame(jdUT, sky));
}

// The places of the seven bodies (or of those in which) at one instant, the
// frame computed once; with helio, also the asteroids' heliocentric places.
// Given:  tables, jdUT, sky   as ComputeMinorPlace
//         which              the bodies wanted
//         helio              where to put the heliocentric places, or null
// Returns:                   one place per body (nothing where not wanted or
//                            not covered)
std::array<std::optional<MinorPlace>, kMinorBodyCount> ComputeMinorPlaces(
    const MinorTables& tables, double jdUT, Sky sky, const MinorBodySet& which,
    std::array<std::optional<MinorHelioPlace>, kMinorBodyCount>* helio) {
  const Frame f = MakeFrame(jdUT, sky);
  std::array<std::optional<MinorPlace>, kMinorBodyCount> out;
  for (MinorBody b : kMinorBodies) {
    const int i = static_cast<int>(b);
    if (!which[i]) continue;
    out[i] = PlaceIn(tables, b, jdUT, f);
    if (helio && IsAsteroid(b) && MinorBodiesCover(jdUT)) {
      const Vector3 v = f.toEcliptic * SeriesOf(tables, b).Position(f.t);
      (*helio)[i] = MinorHelioPlace{Lon(v), Lat(v), Length(v)};
    }
  }
  return out;
}

// The heliocentric place of an asteroid (geometric, no light-time).
// Given:  tables, body, jdUT, sky   as ComputeMinorPlace
// Returns:                         longitude, latitude degrees (ecliptic of
//                                  date), radius AU; nothing for Lilith or
//                                  outside 1800-2100
// Accuracy: Ceres's integrated place within 2e-7 AU of JPL Horizons on
//           2020 January 1 (README, Accuracy).
std::optional<MinorHelioPlace> ComputeMinorHelio(const MinorTables& tables, MinorBody body,
                                                 double jdUT, Sky sky) {
  if (!IsAsteroid(body) || !MinorBodiesCover(jdUT)) return std::nullopt;
  const Frame f = MakeFrame(jdUT, sky);
  const Vector3 v = f.toEcliptic * SeriesOf(tables, body).Position(f.t);
  return MinorHelioPlace{Lon(v), Lat(v), Length(v)};
}

}  // namespace novastra
