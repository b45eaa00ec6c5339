#include "astro/houses.h"

#include <erfa.h>

#include <cmath>
#include <numbers>

namespace novastra {

namespace {

// Full-precision degree trigonometry (the series' kPi, ten decimals, is the
// program's own constant and stays with them).
constexpr double kRad = std::numbers::pi / 180.0;
// Sine, cosine and tangent of degrees, and atan2 in degrees, with the
// full-precision pi.
// Given:  d   degrees; y, x any
// Returns:    -1..1 (tangent unbounded); Atan2 degrees, -180..180
double Sin(double d) { return std::sin(d * kRad); }
double Cos(double d) { return std::cos(d * kRad); }
double Tan(double d) { return std::tan(d * kRad); }
double Atan2(double y, double x) { return std::atan2(y, x) / kRad; }
// An angle reduced to one turn by fmod.
// Given:  d   degrees, finite
// Returns:    degrees, [0, 360)
double Norm(double d) {
  const double r = std::fmod(d, 360.0);
  return r < 0 ? r + 360.0 : r;
}

struct SystemNames {
  HouseSystem system;
  const char* word;
  const char* name;
};
constexpr SystemNames kSystems[kHouseSystems] = {
    {HouseSystem::Placidus, "placidus", "Placidus"},
    {HouseSystem::Koch, "koch", "Koch"},
    {HouseSystem::Regiomontanus, "regiomontanus", "Regiomontanus"},
    {HouseSystem::Campanus, "campanus", "Campanus"},
    {HouseSystem::Porphyry, "porphyry", "Porphyry"},
    {HouseSystem::Equal, "equal", "Equal"},
    {HouseSystem::WholeSign, "whole-sign", "Whole Sign"},
};

// The ecliptic longitude of the point of the ecliptic at right ascension ra:
// tan(lon) = tan(ra) / cos(eps), in ra's half of the circle.
// Given:  ra    right ascension, degrees
//         eps   obliquity, degrees
// Returns:      longitude, degrees [0, 360), the equinox of ra
// Source: Meeus, Astronomical Algorithms 2nd ed., ch. 13, eq. 13.1 with
//         declination and latitude 0.
double LongitudeOfRightAscension(double ra, double eps) { return Norm(Atan2(Sin(ra), Cos(ra) * Cos(eps))); }

// Placidus: the cusp whose right ascension is ramc + the given fraction of the
// semi-arc of its own degree, by fixed-point iteration (to 1e-10 degree, at
// most 100 steps) from the degree on the meridian of that right ascension.
// Given:  s          RAMC, obliquity and latitude, degrees
//         fraction   1/3 or 2/3 of the diurnal semi-arc (houses 11, 12) or,
//                    below, of the nocturnal one (houses 2, 3)
// Returns:           longitude degrees [0, 360), or nothing where the semi-arc
//                    is undefined (the degree never rises or sets) or the
//                    iteration does not settle
// Source: the semi-arc definition of Placidus houses (R. Hand, Essays on
//         Astrology, 1982); the semi-arc cos H = -tan(lat) tan(dec), Meeus,
//         Astronomical Algorithms 2nd ed., ch. 15.
// Accuracy: a worked example's cusps within 2' (the tables' 1') (tests).
std::optional<double> PlacidusCusp(const HouseSky& s, double fraction, bool below) {
  const double tanPhi = Tan(s.latitude);
  double ra = s.ramc + (below ? 180.0 - 180.0 * fraction : 180.0 * fraction);
  for (int k = 0; k < 100; ++k) {
    const double lon = LongitudeOfRightAscension(ra, s.obliquity);
    const double sinDec = Sin(s.obliquity) * Sin(lon);
    const double tanDec = sinDec / std::sqrt(1.0 - sinDec * sinDec);
    const double x = -tanPhi * tanDec;  // cos of the diurnal semi-arc
    if (std::fabs(x) > 1.0) return std::nullopt;
    const double diurnal = std::acos(x) / kRad;
    const double next = below ? s.ramc + 180.0 - fraction * (180.0 - diurnal)
                              : s.ramc + fraction * diurnal;
    const double step = std::remainder(next - ra, 360.0);
    ra += step;
    if (std::fabs(step) < 1e-10) return LongitudeOfRightAscension(ra, s.obliquity);
  }
  return std::nullopt;
}

// The cusp on the great circle through the north and south points of the
// horizon that cuts the equator h degrees east of the meridian: the Ascendant
// of that circle's pole (Regiomontanus; Campanus after turning its
// prime-vertical angle into h).
// Given:  s   RAMC, obliquity and latitude, degrees
//         h   degrees east of the meridian on the equator
// Returns:    longitude, degrees [0, 360)
// Source: R. Hand, Essays on Astrology (1982); AscendantOf.
double CircleCusp(const HouseSky& s, double h) {
  const double pole = Atan2(Tan(s.latitude) * Sin(h), 1.0);
  return AscendantOf(s.ramc + h - 90.0, pole, s.obliquity);
}

// Houses 5 to 9: the cusps opposite 11, 12, 1, 2 and 3.
// Given:  c   cusps 1, 2, 3, 11, 12 set; Returns: cusps 5 to 9 set, [0, 360)
void Opposites(HouseCusps& c) {
  for (int k : {10, 11, 0, 1, 2}) c.cusps[(k + 6) % 12] = Norm(c.cusps[k] + 180.0);
}

// The cusps of a quadrant system: 1 and 10 from the Ascendant and Midheaven,
// 4 opposite the Midheaven, and 2, 3, 11, 12 by the system's own rule
// (Placidus, Koch, Regiomontanus, Campanus, Porphyry).
// Given:  system   the house system
//         s        RAMC, obliquity and latitude, degrees
//         c        ascendant and mc set
// Returns:         true with cusps 1 to 4 and 10 to 12 set (degrees), or
//                  false with the reason in *why (when why is not null)
// Source: Koch: W. Koch and E. Schaeck, Hausertabellen des Geburtsortes
//         (1962); the others as PlacidusCusp and CircleCusp; Porphyry
//         trisects the quadrants in longitude.
bool QuadrantCusps(HouseSystem system, const HouseSky& s, HouseCusps& c, std::string* why) {
  const double asc = c.ascendant, mc = c.mc;
  c.cusps[0] = asc;
  c.cusps[3] = Norm(mc + 180.0);
  switch (system) {
    case HouseSystem::Placidus: {
      const auto c11 = PlacidusCusp(s, 1.0 / 3, false), c12 = PlacidusCusp(s, 2.0 / 3, false);
      const auto c2 = PlacidusCusp(s, 2.0 / 3, true), c3 = PlacidusCusp(s, 1.0 / 3, true);
      if (!c11 || !c12 || !c2 || !c3) {
        if (why) *why = "Placidus cusps are undefined at this latitude";
        return false;
      }
      c.cusps[10] = *c11, c.cusps[11] = *c12, c.cusps[1] = *c2, c.cusps[2] = *c3;
      break;
    }
    case HouseSystem::Koch: {
      // The Midheaven's degree: its declination and diurnal semi-arc D; it
      // rose D ago.
      const double sinDec = Sin(s.obliquity) * Sin(mc);
      const double x = -Tan(s.latitude) * sinDec / std::sqrt(1.0 - sinDec * sinDec);
      if (std::fabs(x) > 1.0) {
        if (why) *why = "Koch cusps are undefined at this latitude";
        return false;
      }
      // The IC's degree, of the opposite declination, rises D from now too.
      const double d = std::acos(x) / kRad;
      c.cusps[10] = AscendantOf(s.ramc - 2 * d / 3, s.latitude, s.obliquity);
      c.cusps[11] = AscendantOf(s.ramc - d / 3, s.latitude, s.obliquity);
      c.cusps[1] = AscendantOf(s.ramc + d / 3, s.latitude, s.obliquity);
      c.cusps[2] = AscendantOf(s.ramc + 2 * d / 3, s.latitude, s.obliquity);
      break;
    }
    case HouseSystem::Regiomontanus:
      c.cusps[10] = CircleCusp(s, 30), c.cusps[11] = CircleCusp(s, 60);
      c.cusps[1] = CircleCusp(s, 120), c.cusps[2] = CircleCusp(s, 150);
      break;
    case HouseSystem::Campanus: {
      // A house circle through the prime vertical `p` degrees from the zenith
      // cuts the equator at h with tan h = tan p cos(latitude).
      auto at = [&](double p) { return CircleCusp(s, Atan2(Sin(p) * Cos(s.latitude), Cos(p))); };
      c.cusps[10] = at(30), c.cusps[11] = at(60), c.cusps[1] = at(120), c.cusps[2] = at(150);
      break;
    }
    case HouseSystem::Porphyry: {
      const double upper = Norm(asc - mc), lower = Norm(c.cusps[3] - asc);
      c.cusps[10] = Norm(mc + upper / 3), c.cusps[11] = Norm(mc + 2 * upper / 3);
      c.cusps[1] = Norm(asc + lower / 3), c.cusps[2] = Norm(asc + 2 * lower / 3);
      break;
    }
    default: break;
  }
  c.cusps[9] = mc;
  return true;
}

}  // namespace

// The command-line word of a house system.
// Given:  system   the house system; Returns: e.g. "whole-sign"
const char* HouseSystemWord(HouseSystem system) {
  return kSystems[static_cast<int>(system)].word;
}
// The printed name of a house system.
// Given:  system   the house system; Returns: e.g. "Whole Sign"
const char* HouseSystemName(HouseSystem system) {
  return kSystems[static_cast<int>(system)].name;
}
// The house system a command-line word names.
// Given:  word   e.g. "placidus" (exact, lower case)
// Returns:       the system, or nothing
std::optional<HouseSystem> HouseSystemFromWord(std::string_view word) {
  for (const SystemNames& s : kSystems)
    if (word == s.word) return s.system;
  return std::nullopt;
}

// The ecliptic longitude rising on the horizon of a place: tan(asc) =
// -cos(ramc) / (sin(ramc) cos(eps) + tan(pole) sin(eps)), in the quadrant
// that puts it in the east.
// Given:  ramcDeg   right ascension of the meridian, degrees
//         poleDeg   latitude of the place (or the pole of a house circle)
//         epsDeg    obliquity, degrees
// Returns:          longitude, degrees [0, 360), the equinox of ramcDeg
// Source: Meeus, Astronomical Algorithms 2nd ed., ch. 14, eq. 14.2.
double AscendantOf(double ramcDeg, double poleDeg, double epsDeg) {
  // tan(asc) = -cos(ramc) / (sin(ramc) cos(eps) + tan(pole) sin(eps)), the
  // quadrant that puts the Ascendant in the east.
  return Norm(
      Atan2(Cos(ramcDeg), -(Sin(ramcDeg) * Cos(epsDeg) + Tan(poleDeg) * Sin(epsDeg))));
}

// The sky of a place at an instant for its houses: the RAMC from the
// Greenwich sidereal time and the longitude, and the obliquity.
// Given:  jdUT    Julian Day, UT (taken as UT1)
//         place   latitude and longitude east, degrees
//         sky     Apparent: apparent sidereal time, true obliquity; Design:
//                 mean sidereal time, mean obliquity
// Returns:        RAMC degrees [0, 360), obliquity and latitude degrees
// Source: ERFA eraGst94 (IAU 1982 sidereal time, IAU 1994 equation of the
//         equinoxes) and eraGmst82; obliquity IAU 1980 (Nutation).
// Accuracy: UT1 - UT under a second (0.004 degree of RAMC).
HouseSky HouseSkyAt(double jdUT, GeoPlace place, Sky sky) {
  const double jdTT = jdUT + DeltaTSeconds(jdUT) / 86400.0;
  const NutationOfDate nut = Nutation(jdTT);
  const bool apparent = sky == Sky::Apparent;
  const double gst = apparent ? eraGst94(2400000.5, jdUT - 2400000.5)
                              : eraGmst82(2400000.5, jdUT - 2400000.5);
  HouseSky s;
  s.ramc = Norm(gst / kRad + place.longitudeEast);
  s.obliquity = (apparent ? nut.trueObliquity : nut.meanObliquity) / kRad;
  s.latitude = place.latitude;
  return s;
}

// The ecliptic longitude on the meridian.
// Given:  ramcDeg   right ascension of the meridian, degrees
//         epsDeg    obliquity, degrees
// Returns:          longitude, degrees [0, 360)
// Source: Meeus, Astronomical Algorithms 2nd ed., ch. 13, eq. 13.1 with
//         declination and latitude 0.
double MidheavenOf(double ramcDeg, double epsDeg) {
  return LongitudeOfRightAscension(ramcDeg, epsDeg);
}

// The Ascendant, Midheaven, Vertex and twelve cusps of a house system.
// Given:  system   the house system
//         sky      RAMC, obliquity and latitude, degrees (HouseSkyAt)
//         why      where to put the reason when there are none (or null)
// Returns:         longitudes, degrees [0, 360), the equinox of the sky's
//                  RAMC; nothing at the poles (within 0.01 degree) and for
//                  Placidus and Koch inside the polar circles
// Source: see houses.h; the Vertex as the Ascendant of the co-latitude at
//         the opposite meridian, the western crossing of the prime vertical.
// Accuracy: published examples within their last digit or 2'; every system
//           on its own geometric definition to rounding (tests).
std::optional<HouseCusps> ComputeHouses(HouseSystem system, const HouseSky& sky,
                                        std::string* why) {
  if (!std::isfinite(sky.latitude) || std::fabs(sky.latitude) >= 89.99) {
    if (why) *why = "no houses at the poles (latitude within 0.01 degree of 90)";
    return std::nullopt;
  }
  const bool polar = std::fabs(sky.latitude) >= 90.0 - sky.obliquity;
  if (polar && (system == HouseSystem::Placidus || system == HouseSystem::Koch)) {
    if (why)
      *why = std::string(HouseSystemName(system)) +
             " houses are undefined inside the polar circles (some degrees of the ecliptic "
             "never rise or set there); Porphyry, Regiomontanus, Campanus, Equal and Whole "
             "Sign are defined";
    return std::nullopt;
  }
  HouseCusps c;
  c.mc = MidheavenOf(sky.ramc, sky.obliquity);
  c.ascendant = AscendantOf(sky.ramc, sky.latitude, sky.obliquity);
  // The Vertex: where the ecliptic crosses the western half of the prime
  // vertical. It rises on the prime vertical as on the horizon of a place
  // whose zenith is the north point of this horizon (the south point in the
  // south): latitude +-(90 - |latitude|), meridian opposite. Of the two
  // crossings the western one has its hour angle between 0 and 180 degrees.
  c.vertex = AscendantOf(sky.ramc + 180.0,
                         sky.latitude >= 0 ? 90.0 - sky.latitude : -90.0 - sky.latitude,
                         sky.obliquity);
  const double vertexRa = Atan2(Sin(c.vertex) * Cos(sky.obliquity), Cos(c.vertex));
  if (Norm(sky.ramc - vertexRa) > 180.0) c.vertex = Norm(c.vertex + 180.0);
  switch (system) {
    case HouseSystem::Equal:
      for (int k = 0; k < 12; ++k) c.cusps[k] = Norm(c.ascendant + 30.0 * k);
      return c;
    case HouseSystem::WholeSign:
      for (int k = 0; k < 12; ++k) c.cusps[k] = Norm(30.0 * std::floor(c.ascendant / 30.0) + 30.0 * k);
      return c;
    default:
      if (!QuadrantCusps(system, sky, c, why)) return std::nullopt;
      Opposites(c);
      return c;
  }
}

}  // namespace novastra
