#include "astro/engine.h"
#include "astro/engine_steps.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "astro/angles.h"
#include "astro/apparent.h"
#include "astro/fast_trig.h"
#include "astro/moon.h"
#include "astro/osculating_node.h"
#include "astro/planets.h"
#include "astro/pluto.h"
#include "astro/zodiac.h"

namespace novastra {

namespace {

// The set-up of one instant but its sidereal time: the SVP and ayanamsa
// (ComputeSvp) and minus the mean obliquity of the ecliptic.
// Given:  T          Julian centuries from J2000.0
//         rowJD      the date's noon Julian Day (Pluto's correction reads it)
//         ayanamsa   the user's ayanamsa choice
// Returns:           RowJD, TimeT, Svp and Ayanamsa (degrees), Named, and
//                    ObliquityRad = -(mean obliquity of date), radians
// Source: IAU 1976 obliquity (Lieske et al. 1977; Meeus, Astronomical
//         Algorithms 2nd ed., eq. 22.2: 23 deg 26' 21.448" - 46.8150" T -
//         0.00059" T^2 + 0.001813" T^3), except that the T^2 coefficient
//         here is 0.0059", the program's constant since its first version.
// Accuracy: under 0.03" from eq. 22.2 over 1800-2100.
InstantSetup SetUp(double T, double rowJD, const AyanamsaOption& ayanamsa) {
  InstantSetup s;
  s.RowJD = rowJD;
  s.TimeT = T;
  const SvpAyanamsa z = ComputeSvp(T, ayanamsa);
  s.Svp = z.svp;
  s.Ayanamsa = z.ayanamsa;
  s.Named = ayanamsa.named;
  // Each power of T is formed first, then multiplied by its coefficient.
  const double T2 = T * T, T3 = T * T * T;
  const double obliquity = 23.43929111 - 0.013004167 * T - 0.00000164 * T2 + 0.000000504 * T3;
  s.ObliquityRad = -DegToRad(obliquity);
  return s;
}

// The sidereal time formula less the day fraction: at 0h and 12h (dayFraction
// 0 or 0.5) that is the Greenwich mean sidereal time of the instant, since
// half a day back and half a day on are a whole day apart.
// Given:  T             Julian centuries of UT from J2000.0
//         dayFraction   0 (midnight) or 0.5 (noon)
// Returns:              seconds, 0..86400
// Source: Aoki et al. (1982), as Meeus, Astronomical Algorithms 2nd ed.,
//         eq. 12.2: 24110.54841 s + 8640184.812866 s T + 0.093104 s T^2 -
//         6.2e-6 s T^3.
double SiderealSeconds(double T, double dayFraction) {
  const double T2 = T * T, T3 = T * T * T;
  double theta = 24110.54841 + 8640184.812866 * T + 0.093104 * T2 - 6.2e-06 * T3;
  theta = theta - dayFraction * 86400.0;
  while (theta < 0) theta += 86400.0;
  while (theta > 86400.0) theta -= 86400.0;
  return theta;
}

// Right ascension and declination (degrees) from the sines and cosines of a
// latitude and a longitude and of the obliquity (Meeus eq. 13.3 and 13.4, in
// rectangular form).
EquatorialDeg EquatorialOf(double sinB, double cosB, double sinL, double cosL, double sinE,
                           double cosE) {
  const double x = cosB * cosL;
  const double y = cosB * sinL * cosE - sinB * sinE;
  const double z = cosB * sinL * sinE + sinB * cosE;
  return RectToEquatorial(x, y, z);
}

}  // namespace

// The instant of a table row with its SVP, ayanamsa, obliquity and sidereal
// time (SetUp, SiderealSeconds).
// Given:  rowJD         the date's noon Julian Day
//         dayFraction   0 midnight, 0.5 noon
//         ayanamsa      the user's ayanamsa choice
// Returns:              the set-up; T = (rowJD - 2451545 + dayFraction -
//                       0.5) / 36525, Julian centuries (of UT)
InstantSetup PrepareInstant(double rowJD, double dayFraction, const AyanamsaOption& ayanamsa) {
  const double T = ((rowJD - 2451545.0) + dayFraction - 0.5) / 36525.0;
  InstantSetup s = SetUp(T, rowJD, ayanamsa);
  s.SiderealSeconds = SiderealSeconds(T, dayFraction);
  return s;
}

// PrepareInstant at any hour: the sidereal time is that of the instant itself
// (theta0 + f x 86400 seconds), equal to PrepareInstant's at 0h and 12h.
// Given:  rowJD, dayFraction, ayanamsa   as PrepareInstant, any 0 <= f < 1
// Returns:                               the set-up; SiderealSeconds 0..86400
// Source: Aoki et al. (1982), Meeus eq. 12.2 (SiderealSeconds).
InstantSetup PrepareInstantAnyHour(double rowJD, double dayFraction,
                                   const AyanamsaOption& ayanamsa) {
  InstantSetup s = PrepareInstant(rowJD, dayFraction, ayanamsa);
  if (dayFraction == 0.0 || dayFraction == 0.5) return s;
  // theta - f * 86400 is the sidereal time only when f * 86400 is a multiple
  // of 12 hours; otherwise theta + f * 86400 is.
  double theta = std::fmod(s.SiderealSeconds + 2.0 * dayFraction * 86400.0, 86400.0);
  if (theta < 0) theta += 86400.0;
  s.SiderealSeconds = theta;
  return s;
}

// The set-up of an instant given as T, for the event searches.
// Given:  T          Julian centuries from J2000.0
//         rowJD      the date that Pluto's correction reads
//         ayanamsa   the user's ayanamsa choice
// Returns:           the set-up; SiderealSeconds of T with day fraction 0
InstantSetup PrepareInstantAt(double T, double rowJD, const AyanamsaOption& ayanamsa) {
  InstantSetup s = SetUp(T, rowJD, ayanamsa);
  s.SiderealSeconds = SiderealSeconds(T, 0.0);
  return s;
}

// All eleven bodies at one instant: the design sky from the VSOP87 series,
// the Moon and Pluto, or the apparent sky (ComputeApparentPositions). A pure
// function of the instant, the tables and the choices.
// Given:  instant   the set-up (TimeT: Julian centuries from J2000.0, read
//                   as UT in the design sky)
//         tables    the loaded series
//         choices   sky, node, zodiac, plain
// Returns:          longitudes (chosen zodiac) and latitudes, heliocentric
//                   longitudes and latitudes, right ascensions and
//                   declinations, degrees; mean equinox of date (design)
// Source: Meeus, Astronomical Algorithms 2nd ed., ch. 32 (VSOP87), 47 (the
//         Moon), 37 (Pluto), 33 (geocentric step).
// Accuracy: design sky against PyEphem over 1800-2100, worst: Sun 38.5",
//           planets 41" to 77", Moon 104", Pluto 41.8" (1885-2099) (README,
//           Accuracy; the design sky has no nutation, aberration, delta T).
BodyPositions ComputePositions(const InstantSetup& instant, const SeriesTables& tables,
                               const EngineChoices& choices) {
  if (choices.sky == Sky::Apparent) return ComputeApparentPositions(instant, tables, choices);
  const TrigKernels* fast = choices.plain ? nullptr : &FastKernels();
  // The planets work in Julian millennia.
  const double t = instant.TimeT / 10.0;
  HelioSets helio;
  for (int i = 0; i < kSeriesBodyCount; ++i) helio[i] = ComputeHelio(tables.sets[i], t, fast);
  // The Moon reads the argument back in centuries: (T / 10) * 10.
  const MoonPosition moon = ComputeMoon(t * 10.0, choices.node, fast);
  return PositionsFromHelio(instant, tables, choices, helio, moon);
}

// Jupiter, Saturn, Uranus, Neptune and Pluto of the design sky from the
// heliocentric sets of one instant (it reads the Earth's, the four planets'
// and the Earth's of J2000.0): the geometric geocentric longitude and latitude
// of the planets (Meeus eq. 33.1), Pluto (ch. 37) and the right ascension and
// declination of the four planets from the instant's mean obliquity (eq. 13.3
// and 13.4, in rectangular form). Tropical, degrees, mean equinox of date.
SlowPositions SlowFromHelio(const InstantSetup& instant, const SeriesTables& tables,
                            const EngineChoices& choices, const HelioSets& sets) {
  const TrigKernels* fast = choices.plain ? nullptr : &FastKernels();
  SlowPositions s;
  const HelioPosition earth = sets[static_cast<int>(SeriesBody::Earth)];
  constexpr SeriesBody kSets[] = {SeriesBody::Jupiter, SeriesBody::Saturn, SeriesBody::Uranus,
                                  SeriesBody::Neptune};
  HelioPosition planets[4];
  for (int i = 0; i < 4; ++i) {
    planets[i] = sets[static_cast<int>(kSets[i])];
    s.helioLongitude[i] = planets[i].L;
    s.helioLatitude[i] = planets[i].B;
  }
  EclipticDeg geo[4];
  GeocentricFromHelio(planets, 4, earth, geo, fast);
  for (int i = 0; i < 4; ++i) {
    s.longitude[i] = geo[i].longitude;
    s.latitude[i] = geo[i].latitude;
  }
  // Pluto reads the argument in centuries, as (T / 10) * 10.
  const double t = instant.TimeT / 10.0 * 10.0;
  const SunJ2000 sun = SunJ2000FromEarth(sets[static_cast<int>(SeriesBody::EarthJ2000)]);
  const PlutoPosition pluto = ComputePluto(t, instant.RowJD, sun, tables.pluto, fast);
  s.longitude[4] = pluto.longitude;
  s.latitude[4] = pluto.latitude;
  s.rightAscension[4] = pluto.rightAscension;
  s.declination[4] = pluto.declination;
  s.helioLongitude[4] = PlutoLongitudeOfDate(pluto.l, instant.RowJD);
  s.helioLatitude[4] = pluto.b;
  const double plutoTurning[] = {pluto.l, pluto.rightAscensionJ2000, pluto.longitudeJ2000,
                                 pluto.longitude, pluto.rightAscension};
  std::copy(std::begin(plutoTurning), std::end(plutoTurning), s.turning[4]);
  s.earthTurning[0] = earth.L;
  s.earthTurning[1] = sun.earth.L;

  const double eps = -instant.ObliquityRad;
  const double cosE = std::cos(eps), sinE = std::sin(eps);
  double deg[8], sines[8], cosines[8];
  for (std::size_t i = 0; i < 4; ++i) {
    deg[2 * i] = s.latitude[i];
    deg[2 * i + 1] = s.longitude[i];
  }
  SinCosDegrees(deg, 8, sines, cosines, fast);
  for (std::size_t i = 0; i < 4; ++i) {
    const EquatorialDeg eq = EquatorialOf(sines[2 * i], cosines[2 * i], sines[2 * i + 1],
                                          cosines[2 * i + 1], sinE, cosE);
    s.rightAscension[i] = eq.rightAscension;
    s.declination[i] = eq.declination;
    const double turning[] = {s.helioLongitude[i], s.longitude[i], s.rightAscension[i],
                              s.longitude[i], s.longitude[i]};
    std::copy(std::begin(turning), std::end(turning), s.turning[i]);
  }
  return s;
}

// The design sky from the heliocentric positions of the series sets and the
// Moon already computed: the Sun as the Earth reversed, the geometric
// geocentric Mercury, Venus and Mars (no light-time or aberration), the slow
// bodies (SlowFromHelio, or `slow` when the caller has them), the node (mean,
// true or osculating), right ascension and declination from the tropical
// longitude and latitude with the instant's mean obliquity, then each
// longitude in the chosen zodiac. The vector kernels work lane by lane, so a
// body's bits do not depend on which others share its batch.
// Given:  instant   the set-up (TimeT, RowJD, ObliquityRad, Svp, Ayanamsa)
//         tables    the loaded series (Pluto's terms)
//         choices   node, zodiac, plain
//         sets      L, B, R of the nine series sets at the instant (only the
//                   Earth's, Mercury's, Venus's and Mars's are read with slow)
//         moon      ComputeMoon (or ComputeMoonByMultiples) at the instant
//         slow      Jupiter to Pluto at the instant, tropical, or null
// Returns:          as ComputePositions; degrees, mean equinox of date
// Source: Meeus, Astronomical Algorithms 2nd ed., eq. 33.1 (geocentric),
//         eq. 13.3 and 13.4 in rectangular form (equatorial).
BodyPositions PositionsFromHelio(const InstantSetup& instant, const SeriesTables& tables,
                                 const EngineChoices& choices, const HelioSets& sets,
                                 const MoonPosition& moon, const SlowPositions* slow) {
  const TrigKernels* fast = choices.plain ? nullptr : &FastKernels();
  BodyPositions p;
  const HelioPosition earth = sets[static_cast<int>(SeriesBody::Earth)];
  p.Longitude[kSun] = NormalizeDegrees(earth.L + 180.0);
  p.Latitude[kSun] = -earth.B;
  p.HelioLongitude[kSun] = earth.L;
  p.HelioLatitude[kSun] = earth.B;

  constexpr Body kPlanets[] = {kMercury, kVenus, kMars};
  constexpr SeriesBody kSets[] = {SeriesBody::Mercury, SeriesBody::Venus, SeriesBody::Mars};
  HelioPosition planets[3];
  for (int i = 0; i < 3; ++i) {
    planets[i] = sets[static_cast<int>(kSets[i])];
    p.HelioLongitude[kPlanets[i]] = planets[i].L;
    p.HelioLatitude[kPlanets[i]] = planets[i].B;
  }
  EclipticDeg geo[3];
  GeocentricFromHelio(planets, 3, earth, geo, fast);
  for (int i = 0; i < 3; ++i) {
    p.Longitude[kPlanets[i]] = geo[i].longitude;
    p.Latitude[kPlanets[i]] = geo[i].latitude;
  }

  const SlowPositions own = slow ? SlowPositions{} : SlowFromHelio(instant, tables, choices, sets);
  const SlowPositions& s = slow ? *slow : own;
  for (int i = 0; i < kSlowBodyCount; ++i) {
    const int b = kSlowBodies[i];
    p.Longitude[b] = s.longitude[i];
    p.Latitude[b] = s.latitude[i];
    p.RightAscension[b] = s.rightAscension[i];
    p.Declination[b] = s.declination[i];
    p.HelioLongitude[b] = s.helioLongitude[i];
    p.HelioLatitude[b] = s.helioLatitude[i];
  }

  // The Moon and the node read the argument back in centuries: (T / 10) * 10.
  const double t = instant.TimeT / 10.0 * 10.0;
  p.Longitude[kMoon] = moon.longitude;
  p.Latitude[kMoon] = moon.latitude;
  p.Longitude[kNorthNode] =
      choices.node == NodeMode::Osculating ? OsculatingNode(t, fast) : moon.node;
  p.Latitude[kNorthNode] = 0;

  // Equatorial coordinates of the fast bodies from their tropical positions,
  // with the mean obliquity of the date.
  constexpr Body kFast[] = {kSun, kMoon, kMercury, kVenus, kMars, kNorthNode};
  const double eps = -instant.ObliquityRad;
  const double cosE = std::cos(eps), sinE = std::sin(eps);
  double deg[12], sines[12], cosines[12];
  for (std::size_t i = 0; i < 6; ++i) {
    deg[2 * i] = p.Latitude[kFast[i]];
    deg[2 * i + 1] = p.Longitude[kFast[i]];
  }
  SinCosDegrees(deg, 12, sines, cosines, fast);
  for (std::size_t i = 0; i < 6; ++i) {
    const EquatorialDeg eq = EquatorialOf(sines[2 * i], cosines[2 * i], sines[2 * i + 1],
                                          cosines[2 * i + 1], sinE, cosE);
    p.RightAscension[kFast[i]] = eq.rightAscension;
    p.Declination[kFast[i]] = eq.declination;
  }

  for (int i = kSun; i <= kNorthNode; ++i)
    p.Longitude[i] = ShiftLongitude(p.Longitude[i], choices.zodiac, instant);
  return p;
}

// One body's longitude as PositionsFromHelio forms it, step for step (the
// geocentric step of a planet gives the same bits alone as in the batch of
// seven: the vector kernels work lane by lane), so that the stations'
// minute-by-minute search costs two series sets an instant, not nine and the
// Moon. The apparent sky and the Moon and node go through ComputePositions.
// Given:  instant, tables, choices   as ComputePositions
//         body                       kSun .. kNorthNode
// Returns:                           longitude, degrees [0, 360), chosen zodiac
// Source: as PositionsFromHelio.
// Accuracy: the same bits as ComputePositions' longitude (tests).
double ComputeLongitude(const InstantSetup& instant, const SeriesTables& tables,
                        const EngineChoices& choices, int body) {
  static constexpr SeriesBody kSetOf[] = {
      SeriesBody::Earth,  SeriesBody::Earth,   SeriesBody::Earth,   SeriesBody::Mercury,
      SeriesBody::Venus,  SeriesBody::Mars,    SeriesBody::Jupiter, SeriesBody::Saturn,
      SeriesBody::Uranus, SeriesBody::Neptune, SeriesBody::Earth};
  if (choices.sky == Sky::Apparent || body < kSun || body > kPluto || body == kMoon)
    return ComputePositions(instant, tables, choices).Longitude[body];
  const TrigKernels* fast = choices.plain ? nullptr : &FastKernels();
  const double t = instant.TimeT / 10.0;
  double longitude = 0;
  if (body == kSun) {
    const HelioPosition earth =
        ComputeHelio(tables.sets[static_cast<int>(SeriesBody::Earth)], t, fast);
    longitude = NormalizeDegrees(earth.L + 180.0);
  } else if (body == kPluto) {
    const SunJ2000 sun = SunJ2000FromEarth(
        ComputeHelio(tables.sets[static_cast<int>(SeriesBody::EarthJ2000)], t, fast));
    longitude = ComputePluto(t * 10.0, instant.RowJD, sun, tables.pluto, fast).longitude;
  } else {
    const HelioPosition earth =
        ComputeHelio(tables.sets[static_cast<int>(SeriesBody::Earth)], t, fast);
    const HelioPosition planet = ComputeHelio(tables.sets[static_cast<int>(kSetOf[body])], t, fast);
    EclipticDeg geo;
    GeocentricFromHelio(&planet, 1, earth, &geo, fast);
    longitude = geo.longitude;
  }
  return ShiftLongitude(longitude, choices.zodiac, instant);
}

}  // namespace novastra
