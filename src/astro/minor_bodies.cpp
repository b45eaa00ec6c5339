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

double Normalize(double a) { return a - 360.0 * std::floor(a / 360.0); }
double Lon(Vector3 v) { return Normalize(std::atan2(v.y, v.x) / kRad); }
double Lat(Vector3 v) { return std::atan2(v.z, std::hypot(v.x, v.y)) / kRad; }
// d(longitude)/dt in degrees per day of a position and velocity.
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

const ChebyshevTable& SeriesOf(const MinorTables& tables, MinorBody b) {
  return tables.series[static_cast<int>(b) + 1];  // file order: Earth, then the five
}

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
void Equatorial(MinorPlace& p, double obliquity) {
  const double l = p.longitude * kRad, b = p.latitude * kRad, c = std::cos(obliquity),
               s = std::sin(obliquity);
  const Vector3 v{std::cos(b) * std::cos(l), std::cos(b) * std::sin(l), std::sin(b)};
  const Vector3 eq{v.x, c * v.y - s * v.z, s * v.y + c * v.z};
  p.rightAscension = Lon(eq);
  p.declination = Lat(eq);
}

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

std::optional<MinorPlace> PlaceIn(const MinorTables& tables, MinorBody body, double jdUT,
                                  const Frame& f) {
  if (!IsAsteroid(body)) return LilithPlace(body, f);
  if (!MinorBodiesCover(jdUT)) return std::nullopt;
  return AsteroidPlace(tables, body, f);
}

}  // namespace

const char* MinorBodyName(MinorBody body) { return kMinorBodyNames[static_cast<int>(body)]; }

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

bool MinorBodiesCover(double jdUT) {
  return jdUT >= kMinorValidFromJD && jdUT <= kMinorValidToJD;
}

std::optional<MinorPlace> ComputeMinorPlace(const MinorTables& tables, MinorBody body,
                                            double jdUT, Sky sky) {
  if (IsAsteroid(body) && !MinorBodiesCover(jdUT)) return std::nullopt;
  return PlaceIn(tables, body, jdUT, MakeFrame(jdUT, sky));
}

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

std::optional<MinorHelioPlace> ComputeMinorHelio(const MinorTables& tables, MinorBody body,
                                                 double jdUT, Sky sky) {
  if (!IsAsteroid(body) || !MinorBodiesCover(jdUT)) return std::nullopt;
  const Frame f = MakeFrame(jdUT, sky);
  const Vector3 v = f.toEcliptic * SeriesOf(tables, body).Position(f.t);
  return MinorHelioPlace{Lon(v), Lat(v), Length(v)};
}

}  // namespace novastra
