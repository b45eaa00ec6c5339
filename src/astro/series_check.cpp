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

// Reference instants (Julian Days): January 1 of every 25th year, 1800 to 2100.
constexpr int kInstantCount = 13;
constexpr double kSeriesInstants[kInstantCount] = {
    2378496.5, 2387627.5, 2396758.5, 2405889.5, 2415020.5, 2424151.5, 2433282.5,
    2442413.5, 2451544.5, 2460676.5, 2469807.5, 2478938.5, 2488069.5};
// Pluto's theory holds for 1885-2099 only: 1900 to 2075, then 2099 December 31.
constexpr int kPlutoInstantCount = 9;
constexpr double kPlutoInstants[kPlutoInstantCount] = {2415020.5, 2424151.5, 2433282.5,
                                                       2442413.5, 2451544.5, 2460676.5,
                                                       2469807.5, 2478938.5, 2488068.5};

// Heliocentric longitude and latitude (degrees) and radius (AU) at the
// instants above, taken as TT, from PyEphem 4.1.4 (libastro: VSOP87 for the
// planets); mean equinox and ecliptic of date, except the Earth of
// EARTH_X.DAT and Pluto, which are referred to J2000.0. The supplied tables
// agree within 0.0005 degree and 1.3e-5 of the distance, Pluto within
// 0.007 degree and 3e-5 of the distance.
struct ReferencePosition {
  double L, B, R;
};
constexpr ReferencePosition kReference[kSeriesBodyCount][kInstantCount] = {
    // Mercury
    {{127.31650, 6.92256, 0.329946},
     {20.40231, -3.06556, 0.331198},
     {305.18894, -6.86625, 0.426988},
     {253.46652, -3.15007, 0.466622},
     {201.37956, 3.05659, 0.420737},
     {123.11576, 6.78785, 0.325082},
     {16.47929, -3.64764, 0.336544},
     {303.55746, -6.78421, 0.431733},
     {252.41008, -2.87003, 0.466259},
     {203.01314, 3.04088, 0.420305},
     {124.53297, 6.78815, 0.324683},
     {17.93619, -3.65156, 0.337006},
     {305.20348, -6.79137, 0.432128}},
    // Venus
    {{146.15711, 3.21365, 0.718606},
     {14.69149, -2.95130, 0.725344},
     {245.49096, 0.58041, 0.725475},
     {113.90356, 2.10705, 0.718586},
     {343.13354, -3.39015, 0.727435},
     {213.79543, 2.28168, 0.722697},
     {81.77849, 0.32829, 0.720099},
     {311.71727, -2.79039, 0.728246},
     {181.79364, 3.27741, 0.720160},
     {51.46367, -1.45986, 0.722507},
     {281.93942, -1.42596, 0.727560},
     {151.20364, 3.26166, 0.718723},
     {19.73174, -2.87580, 0.725212}},
    // Earth (of date)
    {{100.43715, -0.00001, 0.983220},
     {100.36508, -0.00013, 0.983192},
     {100.29589, 0.00001, 0.983232},
     {100.22377, -0.00002, 0.983258},
     {100.15425, -0.00006, 0.983266},
     {100.08674, 0.00013, 0.983235},
     {100.01118, 0.00000, 0.983244},
     {99.93511, 0.00021, 0.983296},
     {99.86812, -0.00024, 0.983332},
     {100.81856, 0.00015, 0.983353},
     {100.74918, -0.00012, 0.983349},
     {100.67997, 0.00001, 0.983330},
     {100.60828, -0.00007, 0.983358}},
    // Earth (J2000.0)
    {{103.22986, 0.02487, 0.983220},
     {102.80883, 0.02168, 0.983192},
     {102.39065, 0.01874, 0.983232},
     {101.96950, 0.01561, 0.983258},
     {101.55091, 0.01247, 0.983266},
     {101.13430, 0.00955, 0.983235},
     {100.70958, 0.00629, 0.983244},
     {100.28434, 0.00336, 0.983296},
     {99.86812, -0.00024, 0.983332},
     {100.46929, -0.00299, 0.983353},
     {100.05061, -0.00642, 0.983349},
     {99.63206, -0.00945, 0.983330},
     {99.21100, -0.01270, 0.983358}},
    // Mars
    {{222.54826, 0.17638, 1.559675},
     {339.27096, -1.72713, 1.382252},
     {93.01457, 1.30008, 1.583744},
     {183.15331, 1.31878, 1.644097},
     {286.44636, -1.56341, 1.421394},
     {49.41379, 0.01402, 1.474179},
     {146.35585, 1.83539, 1.663836},
     {239.18325, -0.31572, 1.526409},
     {359.13435, -1.42611, 1.390951},
     {109.23183, 1.59334, 1.612606},
     {198.77130, 0.95741, 1.623547},
     {306.36240, -1.79609, 1.398255},
     {67.57382, 0.54853, 1.509423}},
    // Jupiter
    {{87.53658, -0.24698, 5.132373},
     {126.38680, 0.61098, 5.298145},
     {163.03119, 1.18064, 5.419660},
     {198.75569, 1.29283, 5.454880},
     {234.53616, 0.92440, 5.384904},
     {271.86609, 0.17856, 5.245726},
     {311.47449, -0.68309, 5.074472},
     {353.51177, -1.25066, 4.966962},
     {36.24906, -1.17502, 4.965316},
     {78.35682, -0.49590, 5.082569},
     {117.84069, 0.37680, 5.241359},
     {155.16684, 1.05015, 5.390906},
     {190.99329, 1.29881, 5.451421}},
    // Saturn
    {{125.85752, 0.59909, 9.104587},
     {65.65781, -1.80931, 9.068450},
     {7.78734, -2.41352, 9.444096},
     {315.63053, -0.97526, 9.893980},
     {266.51393, 1.10353, 10.066869},
     {217.19521, 2.41270, 9.819758},
     {163.78683, 1.92259, 9.353251},
     {105.22117, -0.35705, 9.028205},
     {45.70420, -2.30349, 9.183953},
     {349.78440, -2.05853, 9.630437},
     {299.21119, -0.22278, 9.984816},
     {250.50935, 1.71908, 10.017935},
     {199.99032, 2.47459, 9.666133}},
    // Uranus
    {{174.13173, 0.75849, 18.299160},
     {285.82435, -0.41717, 19.576126},
     {25.09827, -0.57580, 19.902693},
     {132.80642, 0.66530, 18.441339},
     {248.65683, 0.06622, 18.992809},
     {350.71256, -0.76635, 20.097174},
     {93.05868, 0.25507, 18.945444},
     {209.04473, 0.54509, 18.461321},
     {316.41327, -0.68479, 19.923998},
     {55.74704, -0.24389, 19.553295},
     {167.83085, 0.77129, 18.283957},
     {280.85738, -0.34471, 19.442450},
     {20.54159, -0.62480, 19.970716}},
    // Neptune
    {{225.12702, 1.78011, 30.320936},
     {279.33594, 0.90732, 30.207264},
     {334.18165, -0.72727, 29.975540},
     {29.82728, -1.75142, 29.816772},
     {85.69570, -1.25822, 29.871052},
     {140.96777, 0.30881, 30.096184},
     {195.42301, 1.59757, 30.295263},
     {249.51894, 1.56476, 30.302874},
     {303.92610, 0.24210, 30.120541},
     {359.13381, -1.29453, 29.894243},
     {54.98302, -1.72259, 29.816723},
     {110.68040, -0.65872, 29.962967},
     {165.57574, 0.95113, 30.207712}},
};
// Pluto, J2000.0, at kPlutoInstants.
constexpr ReferencePosition kPlutoReference[kPlutoInstantCount] = {
    {77.15178, -9.57803, 46.960449},   {103.52715, -2.08850, 42.457378},
    {137.53512, 8.03027, 36.325409},   {187.66007, 16.74925, 30.819937},
    {250.54197, 11.16227, 30.223608},  {301.27487, -3.35690, 35.171864},
    {337.99636, -12.84905, 41.434883}, {7.05662, -16.71203, 46.314270},
    {32.10923, -16.80049, 48.933594},
};
// Allowed gaps: 8 to 25 times the largest found for the supplied tables.
constexpr double kAngleTolerance = 0.01;       // degrees
constexpr double kPlutoAngleTolerance = 0.05;  // degrees
constexpr double kRadiusTolerance = 1e-4;      // relative

constexpr double kMaxAmplitude = 1e5;  // radians or AU
constexpr double kMaxPhase = 100;      // radians
constexpr double kMaxFrequency = 1e6;  // radians per Julian millennium
constexpr double kMaxPlutoMultiplier = 10;
constexpr double kMaxPlutoCoefficient = 1e8;  // 1e-6 degree or 1e-7 AU

// A number for the messages, six significant digits.
// Given:  x   any; Returns: printf "%.6g"
std::string Number(double x) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.6g", x);
  return buf;
}

// The first term of a coordinate's series that is not finite or lies outside
// the bounds (amplitude 1e5, phase 100 radians, frequency 1e6 radians a
// millennium), as a message.
// Given:  coord    the series S0, S1, ... of one coordinate
//         letter   L, B or R, for the message
// Returns:         nothing, or e.g. "term 3 of L1 out of range (...)"
// Source: bounds set well above Meeus, Astronomical Algorithms 2nd ed.,
//         App. III.
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

// The message of a position outside its orbit.
// Given:  jd         Julian Day
//         latitude   degrees; radius AU
std::string OutOfRange(double jd, double latitude, double radius) {
  return "position out of range on JD " + Number(jd) + " (latitude " + Number(latitude) +
         " degrees, radius " + Number(radius) + " AU)";
}

// Whether a heliocentric position lies inside the body's orbit, then within
// the tolerance of the reference ephemeris.
// Given:  p                the position: L, B degrees, R AU
//         o                the orbit's radius and latitude bounds
//         jd               the instant, Julian Day
//         ref              the reference position (PyEphem 4.1.4)
//         angleTolerance   degrees (the radius: 1e-4 of it)
// Returns:                 nothing, or the message
std::optional<std::string> CheckPosition(const HelioPosition& p, const OrbitBounds& o, double jd,
                                         const ReferencePosition& ref, double angleTolerance) {
  const bool inOrbit = std::isfinite(p.L) && std::isfinite(p.B) && std::isfinite(p.R) &&
                       p.R >= o.rMin && p.R <= o.rMax && std::fabs(p.B) <= o.latMax;
  if (!inOrbit) return OutOfRange(jd, p.B, p.R);
  const double dL = std::remainder(p.L - ref.L, 360.0);
  if (std::fabs(dL) <= angleTolerance && std::fabs(p.B - ref.B) <= angleTolerance &&
      std::fabs(p.R - ref.R) <= kRadiusTolerance * ref.R)
    return std::nullopt;
  return "position on JD " + Number(jd) + " differs from the reference (longitude " + Number(p.L) +
         " for " + Number(ref.L) + ", latitude " + Number(p.B) + " for " + Number(ref.B) +
         " degrees, radius " + Number(p.R) + " for " + Number(ref.R) + " AU)";
}

}  // namespace

// The reference ephemeris's heliocentric Earth at one of the check's
// instants.
// Given:  i   0 .. kEarthReferenceCount - 1
// Returns:    Julian Day (TT), L and B degrees, R AU; ecliptic and equinox
//             J2000.0
// Source: PyEphem 4.1.4 (libastro, VSOP87).
EarthReference EarthJ2000Reference(int i) {
  const ReferencePosition& r = kReference[static_cast<int>(SeriesBody::EarthJ2000)][i];
  return {kSeriesInstants[i], r.L, r.B, r.R};
}

// The plausibility check of the tables just read: every coefficient within
// bounds, and every body's position at the reference instants (1800-2100,
// Pluto 1900-2099) inside its orbit and near the reference ephemeris.
// Given:  tables   the series and Pluto's terms as read
// Returns:         nothing, or the first failure (file and detail)
// Source: PyEphem 4.1.4 positions; the orbits' bounds from Meeus,
//         Astronomical Algorithms 2nd ed., ch. 31, widened by a few percent.
// Accuracy: the supplied tables lie within 0.0005 degree and 1.3e-5 of the
//           distance of the reference (Pluto 0.007 degree, 3e-5); the
//           tolerances are 8 to 25 times those.
std::optional<SeriesCheckFailure> CheckSeriesTables(const SeriesTables& tables) {
  for (int b = 0; b < kSeriesBodyCount; ++b) {
    const SeriesSet& set = tables.sets[b];
    const char* file = kSeriesLayouts[b].file;
    for (auto [coord, letter] :
         {std::pair{&set.L, 'L'}, std::pair{&set.B, 'B'}, std::pair{&set.R, 'R'}})
      if (auto bad = CheckTerms(*coord, letter)) return SeriesCheckFailure{file, *bad};
    for (int i = 0; i < kInstantCount; ++i) {
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
  for (int i = 0; i < kPlutoInstantCount; ++i) {
    const double jd = kPlutoInstants[i];
    const double T = (jd - 2451545.0) / 36525.0;
    const SunJ2000 sun = ComputeSunJ2000(earthJ2000, T / 10.0, nullptr);
    const PlutoPosition p = ComputePluto(T, jd, sun, tables.pluto, nullptr);
    HelioPosition h{p.l, p.b, p.r};
    if (auto bad = CheckPosition(h, kPlutoOrbit, jd, kPlutoReference[i], kPlutoAngleTolerance))
      return SeriesCheckFailure{kPlutoFile, *bad};
    for (double x : {p.longitude, p.latitude, p.rightAscension, p.declination})
      if (!std::isfinite(x)) return SeriesCheckFailure{kPlutoFile, OutOfRange(jd, p.b, p.r)};
  }
  return std::nullopt;
}

}  // namespace novastra
