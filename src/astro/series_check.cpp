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
//    below the orbit's inclination, each with a small margin.
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

std::optional<std::string> CheckPosition(const HelioPosition& p, const OrbitBounds& o, double jd) {
  const bool ok = std::isfinite(p.L) && std::isfinite(p.B) && std::isfinite(p.R) && p.R >= o.rMin &&
                  p.R <= o.rMax && std::fabs(p.B) <= o.latMax;
  if (ok) return std::nullopt;
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
    for (double jd : kSeriesInstants) {
      const double tau = (jd - 2451545.0) / 365250.0;
      if (auto bad = CheckPosition(ComputeHelio(set, tau, nullptr), kOrbits[b], jd))
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
  for (double jd : kPlutoInstants) {
    const double T = (jd - 2451545.0) / 36525.0;
    const SunJ2000 sun = ComputeSunJ2000(earthJ2000, T / 10.0, nullptr);
    const PlutoPosition p = ComputePluto(T, jd, sun, tables.pluto, nullptr);
    HelioPosition h{p.l, p.b, p.r};
    bool ok = !CheckPosition(h, kPlutoOrbit, jd);
    for (double x : {p.longitude, p.latitude, p.rightAscension, p.declination})
      ok = ok && std::isfinite(x);
    if (!ok)
      return SeriesCheckFailure{kPlutoFile, "position out of range on JD " + Number(jd) +
                                                " (latitude " + Number(p.b) + " degrees, radius " +
                                                Number(p.r) + " AU)"};
  }
  return std::nullopt;
}

}  // namespace novastra
