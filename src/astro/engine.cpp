#include "astro/engine.h"
#include "astro/engine_steps.h"

#include <cmath>

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

// Everything but the sidereal time, from T in centuries.
InstantSetup SetUp(double T, double rowJD, const AyanamsaOption& ayanamsa) {
  InstantSetup s;
  s.RowJD = rowJD;
  s.TimeT = T;
  const SvpAyanamsa z = ComputeSvp(T, ayanamsa);
  s.Svp = z.svp;
  s.Ayanamsa = z.ayanamsa;
  // Each power of T is formed first, then multiplied by its coefficient.
  const double T2 = T * T, T3 = T * T * T;
  const double obliquity = 23.43929111 - 0.013004167 * T - 0.00000164 * T2 + 0.000000504 * T3;
  s.ObliquityRad = -DegToRad(obliquity);
  return s;
}

// Greenwich mean sidereal time in seconds, less the day fraction, in 0..86400.
double SiderealSeconds(double T, double dayFraction) {
  const double T2 = T * T, T3 = T * T * T;
  double theta = 24110.54841 + 8640184.812866 * T + 0.093104 * T2 - 6.2e-06 * T3;
  theta = theta - dayFraction * 86400.0;
  while (theta < 0) theta += 86400.0;
  while (theta > 86400.0) theta -= 86400.0;
  return theta;
}

}  // namespace

InstantSetup PrepareInstant(double rowJD, double dayFraction, const AyanamsaOption& ayanamsa) {
  const double T = ((rowJD - 2451545.0) + dayFraction - 0.5) / 36525.0;
  InstantSetup s = SetUp(T, rowJD, ayanamsa);
  s.SiderealSeconds = SiderealSeconds(T, dayFraction);
  return s;
}

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

InstantSetup PrepareInstantAt(double T, double rowJD, const AyanamsaOption& ayanamsa) {
  InstantSetup s = SetUp(T, rowJD, ayanamsa);
  s.SiderealSeconds = SiderealSeconds(T, 0.0);
  return s;
}

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

BodyPositions PositionsFromHelio(const InstantSetup& instant, const SeriesTables& tables,
                                 const EngineChoices& choices, const HelioSets& sets,
                                 const MoonPosition& moon) {
  const TrigKernels* fast = choices.plain ? nullptr : &FastKernels();
  BodyPositions p;
  HelioPosition helio[11];
  double t = instant.TimeT / 10.0;

  const HelioPosition earth = sets[static_cast<int>(SeriesBody::Earth)];
  helio[kSun] = earth;
  p.Longitude[kSun] = NormalizeDegrees(earth.L + 180.0);
  p.Latitude[kSun] = -earth.B;

  // Heliocentric positions first; the geocentric step of the seven planets then
  // reads the Earth of the same instant.
  constexpr Body kPlanets[] = {kMercury, kVenus, kMars, kJupiter, kSaturn, kUranus, kNeptune};
  constexpr SeriesBody kSets[] = {SeriesBody::Mercury, SeriesBody::Venus,  SeriesBody::Mars,
                                  SeriesBody::Jupiter, SeriesBody::Saturn, SeriesBody::Uranus,
                                  SeriesBody::Neptune};
  HelioPosition planets[7];
  for (int i = 0; i < 7; ++i) {
    planets[i] = sets[static_cast<int>(kSets[i])];
    helio[kPlanets[i]] = planets[i];
  }
  const SunJ2000 sun = SunJ2000FromEarth(sets[static_cast<int>(SeriesBody::EarthJ2000)]);
  EclipticDeg geo[7];
  GeocentricFromHelio(planets, 7, earth, geo, fast);
  for (int i = 0; i < 7; ++i) {
    p.Longitude[kPlanets[i]] = geo[i].longitude;
    p.Latitude[kPlanets[i]] = geo[i].latitude;
  }

  // Pluto and the Moon read the argument back in centuries: (T / 10) * 10.
  t = t * 10.0;

  const PlutoPosition pluto = ComputePluto(t, instant.RowJD, sun, tables.pluto, fast);
  p.Longitude[kPluto] = pluto.longitude;
  p.Latitude[kPluto] = pluto.latitude;
  p.Declination[kPluto] = pluto.declination;
  p.RightAscension[kPluto] = pluto.rightAscension;

  for (int i = kSun; i <= kNeptune; ++i) {
    if (i == kMoon) continue;
    p.HelioLongitude[i] = helio[i].L;
    p.HelioLatitude[i] = helio[i].B;
  }
  p.HelioLongitude[kPluto] = PlutoLongitudeOfDate(pluto.l, instant.RowJD);
  p.HelioLatitude[kPluto] = pluto.b;

  p.Longitude[kMoon] = moon.longitude;
  p.Latitude[kMoon] = moon.latitude;
  p.Longitude[kNorthNode] =
      choices.node == NodeMode::Osculating ? OsculatingNode(t, fast) : moon.node;
  p.Latitude[kNorthNode] = 0;

  // Equatorial coordinates from the tropical positions, with the mean
  // obliquity of the date (Pluto has its own, computed above).
  const double eps = -instant.ObliquityRad;
  const double cosE = std::cos(eps), sinE = std::sin(eps);
  double deg[22], sines[22], cosines[22];
  for (int i = kSun; i <= kNorthNode; ++i) {
    deg[2 * (i - 1)] = p.Latitude[i];
    deg[2 * (i - 1) + 1] = p.Longitude[i];
  }
  SinCosDegrees(deg, 22, sines, cosines, fast);
  for (int i = kSun; i <= kNorthNode; ++i) {
    if (i == kPluto) continue;
    const int j = 2 * (i - 1);
    const double cosB = cosines[j], sinB = sines[j], cosL = cosines[j + 1], sinL = sines[j + 1];
    const double x = cosB * cosL;
    const double y = cosB * sinL * cosE - sinB * sinE;
    const double z = cosB * sinL * sinE + sinB * cosE;
    const EquatorialDeg eq = RectToEquatorial(x, y, z);
    p.RightAscension[i] = eq.rightAscension;
    p.Declination[i] = eq.declination;
  }

  for (int i = kSun; i <= kNorthNode; ++i)
    p.Longitude[i] = ShiftLongitude(p.Longitude[i], choices.zodiac, instant.Svp, instant.Ayanamsa);
  return p;
}

}  // namespace novastra
