// Plausibility check of the series tables. The files are plain text that any
// editor can damage; a value that is a valid number but absurd (1e308, a
// coefficient with extra digits) would otherwise flow into every position as
// NaN or nonsense. Two checks catch it at start-up:
//  - every coefficient is finite and no larger than anything in the published
//    tables allows (Meeus, Astronomical Algorithms, App. III: amplitudes up to
//    the mean motions of L1, about 2.6e4 rad; phases 0..2pi; frequencies up to
//    about 2.4e5 rad per millennium; Pluto's terms up to about 7e7 units);
//  - every body's heliocentric L, B, R at four reference instants spanning
//    1800-2100 (Pluto: 1900-2099, its theory's range) lies inside the body's
//    known orbit: radius between perihelion and aphelion distance and latitude
//    below the orbit's inclination, each with a small margin;
//  - and agrees there with an independent ephemeris. Longitude is an angle,
//    so a longitude term made absurd (an L0 constant of 9869.351812 for
//    6.20347712) still gives a longitude between 0 and 360 degrees, only the
//    wrong one: the comparison catches it.
#include "astro/series_check.h"

#include <cmath>
#include <cstdio>

#include "astro/planets.h"
#include "astro/pluto.h"

namespace novastra {

namespace {

// Bounds per body, indexed by SeriesBody. Radius in AU, latitude in degrees:
// the orbital elements of the planets (Meeus, Astronomical Algorithms, ch. 31)
// widened by a few percent; the Earth's latitude in the fixed J2000.0 frame
// grows by about 0.013 degree a century from the ecliptic's precession.
struct OrbitBounds {
  double rMin, rMax, latMax;
};
constexpr OrbitBounds kOrbits[kSeriesBodyCount] = {
    {0.29, 0.48, 7.2},   // Mercury
    {0.70, 0.74, 3.6},   // Venus
    {0.97, 1.03, 0.01},  // Earth (ecliptic of date)
    {0.97, 1.03, 0.1},   // Earth (J2000.0)
    {1.35, 1.70, 2.0},   // Mars
    {4.90, 5.50, 1.4},   // Jupiter
    {8.90, 10.20, 2.7},  // Saturn
    {18.0, 20.4, 0.9},   // Uranus
    {29.6, 30.6, 1.9},   // Neptune
};
// Pluto: perihelion 29.7 AU, aphelion 49.3 AU, inclination 17.1 degrees.
constexpr OrbitBounds kPlutoOrbit{29.0, 50.0, 17.6};

// Reference instants (Julian Days): 1800, 1900, 2000 and 2100 January 1.
constexpr double kSeriesInstants[] = {2378496.5, 2415020.5, 2451544.5, 2488069.5};
// Pluto's theory holds for 1885-2099 only.
constexpr double kPlutoInstants[] = {2415020.5, 2451544.5, 2488068.5};

// Heliocentric longitude and latitude (degrees) and radius (AU) at the four
// instants above, taken as TT, from PyEphem 4.1.4 (libastro: VSOP87 for the
// planets); mean equinox and ecliptic of date, except the Earth of
// EARTH_X.DAT and Pluto, which are referred to J2000.0. The supplied tables
// agree within 0.0004 degree and 1.2e-4 AU (Saturn), Pluto within 0.007
// degree and 1.4e-3 AU.
struct ReferencePosition {
  double L, B, R;
};
constexpr ReferencePosition kReference[kSeriesBodyCount][4] = {
    {{127.31650, 6.92256, 0.329946}, {201.37956, 3.05659, 0.420737},
     {252.41008, -2.87003, 0.466259}, {305.20348, -6.79137, 0.432128}},  // Mercury
    {{146.15711, 3.21365, 0.718606}, {343.13354, -3.39015, 0.727435},
     {181.79364, 3.27741, 0.720160}, {19.73174, -2.87580, 0.725212}},  // Venus
    {{100.43715, -0.00001, 0.983220}, {100.15425, -0.00006, 0.983266},
     {99.86812, -0.00024, 0.983332}, {100.60828, -0.00007, 0.983358}},  // Earth (of date)
    {{103.22986, 0.02487, 0.983220}, {101.55091, 0.01247, 0.983266},
     {99.86812, -0.00024, 0.983332}, {99.21100, -0.01270, 0.983358}},  // Earth (J2000.0)
    {{222.54826, 0.17638, 1.559675}, {286.44636, -1.56341, 1.421394},
     {359.13435, -1.42611, 1.390951}, {67.57382, 0.54853, 1.509423}},  // Mars
    {{87.53658, -0.24698, 5.132373}, {234.53616, 0.92440, 5.384904},
     {36.24906, -1.17502, 4.965316}, {190.99329, 1.29881, 5.451421}},  // Jupiter
    {{125.85752, 0.59909, 9.104587}, {266.51393, 1.10353, 10.066869},
     {45.70420, -2.30349, 9.183953}, {199.99032, 2.47459, 9.666133}},  // Saturn
    {{174.13173, 0.75849, 18.299160}, {248.65683, 0.06622, 18.992809},
     {316.41327, -0.68479, 19.923998}, {20.54159, -0.62480, 19.970716}},  // Uranus
    {{225.12702, 1.78011, 30.320936}, {85.69570, -1.25822, 29.871052},
     {303.92610, 0.24210, 30.120541}, {165.57574, 0.95113, 30.207712}},  // Neptune
};
// Pluto, J2000.0, at kPlutoInstants.
constexpr ReferencePosition kPlutoReference[3] = {
    {77.15178, -9.57803, 46.960449},
    {250.54197, 11.16227, 30.223608},
    {32.10923, -16.80049, 48.933594},
};
// Allowed gaps: about 25 times the largest found for the supplied tables.
constexpr double kAngleTolerance = 0.01;        // degrees
constexpr double kPlutoAngleTolerance = 0.05;   // degrees
constexpr double kRadiusTolerance = 1e-4;       // relative

constexpr double kMaxAmplitude = 1e5;  // radians or AU
constexpr double kMaxPhase = 100;      // radians
constexpr double kMaxFrequency = 1e6;  // radians per Julian millennium
constexpr double kMaxPlutoMultiplier = 10;
constexpr double kMaxPlutoCoefficient = 1e8;  // 1e-6 degree or 1e-7 AU

std::string Number(double x) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.6g", x);
  return buf;
}

std::optional<std::string> CheckTerms(const std::vector<std::vector<SeriesTerm>>& coord,
                                      char letter) {
  for (size_t k = 0; k < coord.size(); ++k) {
    for (size_t i = 0; i < coord[k].size(); ++i) {
      const SeriesTerm& t = coord[k][i];
      const bool ok = std::isfinite(t.A) && std::isfinite(t.B) && std::isfinite(t.C) &&
                      std::fabs(t.A) <= kMaxAmplitude && std::fabs(t.B) <= kMaxPhase &&
                      std::fabs(t.C) <= kMaxFrequency;
      if (!ok)
        return std::string("term ") + std::to_string(i + 1) + " of " + letter + std::to_string(k) +
               " out of range (" + Number(t.A) + ", " + Number(t.B) + ", " + Number(t.C) + ")";
    }
  }
  return std::nullopt;
}

std::optional<std::string> CheckPosition(const HelioPosition& p, const OrbitBounds& o, double jd,
                                         const ReferencePosition& ref, double angleTolerance) {
  bool ok = std::isfinite(p.L) && std::isfinite(p.B) && std::isfinite(p.R) && p.R >= o.rMin &&
            p.R <= o.rMax && std::fabs(p.B) <= o.latMax;
  if (ok) {
    const double dL = std::remainder(p.L - ref.L, 360.0);
    ok = std::fabs(dL) <= angleTolerance && std::fabs(p.B - ref.B) <= angleTolerance &&
         std::fabs(p.R - ref.R) <= kRadiusTolerance * ref.R;
    if (!ok)
      return "position on JD " + Number(jd) + " differs from the reference (longitude " +
             Number(p.L) + " for " + Number(ref.L) + ", latitude " + Number(p.B) + " for " +
             Number(ref.B) + " degrees, radius " + Number(p.R) + " for " + Number(ref.R) +
             " AU)";
    return std::nullopt;
  }
  return "position out of range on JD " + Number(jd) + " (latitude " + Number(p.B) +
         " degrees, radius " + Number(p.R) + " AU)";
}

}  // namespace

std::optional<SeriesCheckFailure> CheckSeriesTables(const SeriesTables& tables) {
  for (int b = 0; b < kSeriesBodyCount; ++b) {
    const SeriesSet& set = tables.sets[b];
    const char* file = kSeriesLayouts[b].file;
    for (auto [coord, letter] :
         {std::pair{&set.L, 'L'}, std::pair{&set.B, 'B'}, std::pair{&set.R, 'R'}})
      if (auto bad = CheckTerms(*coord, letter)) return SeriesCheckFailure{file, *bad};
    for (int i = 0; i < 4; ++i) {
      const double jd = kSeriesInstants[i];
      const double tau = (jd - 2451545.0) / 365250.0;
      if (auto bad = CheckPosition(ComputeHelio(set, tau, nullptr), kOrbits[b], jd,
                                   kReference[b][i], kAngleTolerance))
        return SeriesCheckFailure{file, *bad};
    }
  }

  for (size_t i = 0; i < tables.pluto.size(); ++i) {
    const PlutoTerm& r = tables.pluto[i];
    bool ok = true;
    for (double m : {r.j, r.s, r.p})
      ok = ok && std::isfinite(m) && std::fabs(m) <= kMaxPlutoMultiplier && m == std::trunc(m);
    for (double c : {r.lonSin, r.lonCos, r.latSin, r.latCos, r.radSin, r.radCos})
      ok = ok && std::isfinite(c) && std::fabs(c) <= kMaxPlutoCoefficient;
    if (!ok)
      return SeriesCheckFailure{kPlutoFile, "row " + std::to_string(i + 1) + " out of range"};
  }
  const SeriesSet& earthJ2000 = tables[SeriesBody::EarthJ2000];
  for (int i = 0; i < 3; ++i) {
    const double jd = kPlutoInstants[i];
    const double T = (jd - 2451545.0) / 36525.0;
    const SunJ2000 sun = ComputeSunJ2000(earthJ2000, T / 10.0, nullptr);
    const PlutoPosition p = ComputePluto(T, jd, sun, tables.pluto, nullptr);
    HelioPosition h{p.l, p.b, p.r};
    auto bad = CheckPosition(h, kPlutoOrbit, jd, kPlutoReference[i], kPlutoAngleTolerance);
    bool finite = true;
    for (double x : {p.longitude, p.latitude, p.rightAscension, p.declination})
      finite = finite && std::isfinite(x);
    if (bad || !finite)
      return SeriesCheckFailure{
          kPlutoFile, bad ? *bad
                          : "position out of range on JD " + Number(jd) + " (latitude " +
                                Number(p.b) + " degrees, radius " + Number(p.r) + " AU)"};
  }
  return std::nullopt;
}

}  // namespace novastra
