// The apparent sky against outside references: published worked examples, and
// tables of a modern ephemeris (PyEphem 4.1.4, written by
// tools/make_sky_reference.py into tests/astro/data/; each file's header names
// the quantity). Event instants are found here by root-finding on the engine's
// own positions. The design sky is measured against the same tables for the
// README's accuracy section.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "astro/engine.h"
#include "astro/sky.h"
#include "astro_test.h"

namespace novastra {
namespace {

using testing::AngleGap;
using testing::Tables;
using testing::kBodyIndex;
using testing::ReadTable;
using testing::Row;

EngineChoices Choices(Sky sky, NodeMode node = NodeMode::Osculating) {
  EngineChoices c;
  c.node = node;
  c.sky = sky;
  return c;
}

// Positions at a Julian Day in UT.
BodyPositions At(double jdUT, const EngineChoices& choices) {
  const double T = (jdUT - 2451545.0) / 36525.0;
  return ComputePositions(PrepareInstantAt(T, std::floor(jdUT + 0.5), {}), Tables(), choices);
}

// The UT instant whose TT is jdTT.
double UTFromTT(double jdTT) {
  double ut = jdTT;
  for (int i = 0; i < 4; ++i) ut = jdTT - DeltaTSeconds(ut) / 86400.0;
  return ut;
}

struct Stats {
  std::vector<double> gaps;  // absolute
  double Max() const { return gaps.empty() ? 0 : *std::max_element(gaps.begin(), gaps.end()); }
  double Median() const {
    std::vector<double> g = gaps;
    if (g.empty()) return 0;
    std::nth_element(g.begin(), g.begin() + g.size() / 2, g.end());
    return g[g.size() / 2];
  }
};

void Report(const char* what, const std::map<std::string, Stats>& stats, const char* unit) {
  for (const auto& [name, s] : stats)
    std::printf("%-8s %-10s n=%3zu  max %8.2f%s  median %7.2f%s\n", what, name.c_str(),
                s.gaps.size(), s.Max(), unit, s.Median(), unit);
}

bool PlutoValid(double jd) { return jd >= kPlutoValidFromJD && jd < kPlutoValidToJD; }

// Zero of f in [a, b] by bisection to 1e-7 day; NaN when f keeps its sign.
double Root(const std::function<double(double)>& f, double a, double b) {
  double fa = f(a);
  if ((fa < 0) == (f(b) < 0)) return NAN;
  while (b - a > 1e-7) {
    const double m = 0.5 * (a + b), fm = f(m);
    if ((fm < 0) == (fa < 0))
      a = m, fa = fm;
    else
      b = m;
  }
  return 0.5 * (a + b);
}

// Distances of the positions table, arcseconds, per body.
std::map<std::string, Stats> PositionGaps(Sky sky, bool plutoValidOnly) {
  std::map<std::string, Stats> stats;
  for (const Row& r : ReadTable("sky_positions.txt")) {
    if (r.name == "Pluto" && plutoValidOnly != PlutoValid(r.jd)) continue;
    const BodyPositions p = At(r.jd, Choices(sky));
    stats[r.name].gaps.push_back(std::abs(AngleGap(p.Longitude[kBodyIndex.at(r.name)], r.value)) *
                                 3600);
  }
  return stats;
}

// Positions: 3" Sun to Neptune, 15" Moon. Pluto in 1885-2099: 20", the two
// theories' own disagreement, a steady drift from -7" (1900) to +17" (2100)
// between Meeus' series (fitted to DE200) and the reference's Pluto; the
// precession to the date is not in it (the J2000.0 Earth series carried to
// the date meets the Earth series of date within 0.003"). The osculating node:
// 90", its plane follows the Moon's velocity and so magnifies the lunar
// series' errors.
TEST(ApparentSky, PositionsAgainstModernEphemeris) {
  const auto stats = PositionGaps(Sky::Apparent, true);
  const std::map<std::string, double> tolerance = {{"Moon", 15}, {"Pluto", 20}, {"Node", 90}};
  for (const auto& [name, s] : stats) {
    const double tol = tolerance.count(name) ? tolerance.at(name) : 3.0;
    EXPECT_LE(s.Max(), tol) << name;
  }
  Report("apparent", stats, "\"");
}

// Event instants in minutes from the reference: root-finding on the engine's
// longitudes within a window of `window` days around the reference instant.
using EventFunction = std::function<double(const BodyPositions&, const Row&)>;
Stats EventGaps(Sky sky, const std::vector<Row>& rows, double window, const EventFunction& f,
                const std::function<bool(const Row&)>& keep = nullptr) {
  Stats s;
  for (const Row& r : rows) {
    if (keep && !keep(r)) continue;
    const double t =
        Root([&](double jd) { return f(At(jd, Choices(sky)), r); }, r.jd - window, r.jd + window);
    s.gaps.push_back(std::isnan(t) ? 1e9 : std::abs(t - r.jd) * 1440);
  }
  return s;
}

double Lunation(const BodyPositions& p, const Row& r) {
  return AngleGap(p.Longitude[kMoon] - p.Longitude[kSun], std::stod(r.name));
}
double SunIngress(const BodyPositions& p, const Row& r) {
  return AngleGap(p.Longitude[kSun], std::stod(r.name));
}
double MoonIngress(const BodyPositions& p, const Row& r) {
  return AngleGap(p.Longitude[kMoon], std::stod(r.name));
}

// A station is the instant where the apparent geocentric longitude speed,
// the central difference over +-0.02 day (as in the reference), is zero.
Stats StationGaps(Sky sky, const std::string& body) {
  const int b = kBodyIndex.at(body);
  Stats s;
  for (const Row& r : ReadTable("sky_stations.txt")) {
    if (r.name != body || (body == "Pluto" && !PlutoValid(r.jd))) continue;
    auto speed = [&](double jd) {
      return AngleGap(At(jd + 0.02, Choices(sky)).Longitude[b],
                      At(jd - 0.02, Choices(sky)).Longitude[b]);
    };
    const double t = Root(speed, r.jd - 2, r.jd + 2);
    s.gaps.push_back(std::isnan(t) ? 1e9 : std::abs(t - r.jd) * 1440);
  }
  return s;
}

struct EventCase {
  const char* file;
  const char* kind;
  EventFunction f;
  double maxMinutes, medianMinutes;
};

// Lunations and Moon ingresses within 1 min, median under 0.5 min; Sun
// ingresses (equinoxes and solstices) within 1 min.
const EventCase kEvents[] = {
    {"sky_lunations.txt", "lunation", Lunation, 1.0, 0.5},
    {"sky_moon_ingresses.txt", "moon-ingr", MoonIngress, 1.0, 0.5},
    {"sky_seasons.txt", "sun-ingr", SunIngress, 1.0, 1.0},
};

std::map<std::string, Stats> AllEventGaps(Sky sky) {
  std::map<std::string, Stats> out;
  for (const EventCase& c : kEvents) out[c.kind] = EventGaps(sky, ReadTable(c.file), 0.1, c.f);
  for (const char* body :
       {"Mercury", "Venus", "Mars", "Jupiter", "Saturn", "Uranus", "Neptune", "Pluto"})
    out[std::string("st-") + body] = StationGaps(sky, body);
  return out;
}

// Stations: Mercury to Mars within 10 min, Jupiter to Pluto (Pluto in
// 1885-2099) within 60 min.
TEST(ApparentSky, EventInstantsAgainstModernEphemeris) {
  const auto stats = AllEventGaps(Sky::Apparent);
  for (const EventCase& c : kEvents) {
    EXPECT_LE(stats.at(c.kind).Max(), c.maxMinutes) << c.kind;
    EXPECT_LT(stats.at(c.kind).Median(), c.medianMinutes) << c.kind;
  }
  for (const char* body : {"Mercury", "Venus", "Mars"})
    EXPECT_LE(stats.at(std::string("st-") + body).Max(), 10.0) << body;
  for (const char* body : {"Jupiter", "Saturn", "Uranus", "Neptune", "Pluto"})
    EXPECT_LE(stats.at(std::string("st-") + body).Max(), 60.0) << body;
  Report("apparent", stats, "m");
}

// The design sky measured against the same tables: the reference is not met
// without the apparent-sky corrections (Sun ingresses run minutes early).
TEST(ApparentSky, DesignSkyDistancesForTheRecord) {
  const auto positions = PositionGaps(Sky::Design, true);
  Report("design", positions, "\"");
  Report("design", PositionGaps(Sky::Design, false), "\"");  // Pluto outside 1885-2099
  Report("apparent", PositionGaps(Sky::Apparent, false), "\"");
  const auto events = AllEventGaps(Sky::Design);
  Report("design", events, "m");
  EXPECT_GT(events.at("sun-ingr").Median(), 3.0);
  EXPECT_GT(positions.at("Sun").Median(), 15.0);
}

// Espenak & Meeus (2006), table of delta T: 1800 13.7 s, 1850 7.1, 1900 -2.7,
// 1950 29.1, 1990 56.9, 2000 63.8; the polynomials reproduce it within 0.5 s.
TEST(DeltaT, PublishedValuesAndContinuity) {
  const double table[][2] = {{2378496.5, 13.7}, {2396758.5, 7.1},  {2415020.5, -2.7},
                             {2433282.5, 29.1}, {2447892.5, 56.9}, {2451544.5, 63.8}};
  for (const auto& c : table) EXPECT_NEAR(DeltaTSeconds(c[0]), c[1], 0.5) << c[0];
  // No jump over 1 s where one polynomial hands over to the next.
  for (int year : {1700, 1800, 1860, 1900, 1920, 1941, 1961, 1986, 2005, 2050, 2150}) {
    const double jd = 2451544.5 + (year - 2000) * 365.2425;
    EXPECT_NEAR(DeltaTSeconds(jd - 1e-6), DeltaTSeconds(jd + 1e-6), 1.0) << year;
  }
}

// Meeus, Astronomical Algorithms, example 22.a, 1987 April 10 0h TD:
// dpsi = -3.788", deps = +9.443", true obliquity 23 26' 36.850".
TEST(Nutation, MeeusExample22a) {
  const NutationOfDate n = Nutation(2446895.5);
  constexpr double arcsec = 180.0 * 3600.0 / 3.14159265358979323846;
  EXPECT_NEAR(n.dpsi * arcsec, -3.788, 0.001);
  EXPECT_NEAR(n.deps * arcsec, 9.443, 0.001);
  EXPECT_NEAR(n.trueObliquity * arcsec, (23 * 60 + 26) * 60 + 36.850, 0.002);
}

// Worked examples of apparent positions at a TD instant (Meeus, ch. 25 and 47):
// the Sun of 1992 October 13.0 TD, 199 54' 21.818" from the full VSOP87 (the
// truncated series here: 1"); the Moon of 1992 April 12.0 TD, 133.167265 with
// the same lunar series (0.1").
TEST(ApparentSky, WorkedExamples) {
  const BodyPositions sun = At(UTFromTT(2448908.5), Choices(Sky::Apparent));
  EXPECT_NEAR(AngleGap(sun.Longitude[kSun], 199 + 54 / 60.0 + 21.818 / 3600) * 3600, 0, 1.0);
  const BodyPositions moon = At(UTFromTT(2448724.5), Choices(Sky::Apparent));
  EXPECT_NEAR(AngleGap(moon.Longitude[kMoon], 133.167265) * 3600, 0, 0.1);
}

// The nodes in both skies: the osculating node swings about the mean node by
// less than 2 degrees; the apparent sky adds delta T and nutation to the mean node.
TEST(OsculatingNode, BothSkiesAgainstTheMeanNode) {
  for (double jd = 2378497; jd < 2488434; jd += 2471.3) {
    for (Sky sky : {Sky::Design, Sky::Apparent}) {
      const double osc = At(jd, Choices(sky)).Longitude[kNorthNode];
      const double mean = At(jd, Choices(sky, NodeMode::Mean)).Longitude[kNorthNode];
      EXPECT_LT(std::abs(AngleGap(osc, mean)), 2.0) << jd;
      EXPECT_GE(osc, 0);
      EXPECT_LT(osc, 360);
    }
    const double design = At(jd, Choices(Sky::Design, NodeMode::Mean)).Longitude[kNorthNode];
    const double apparent = At(jd, Choices(Sky::Apparent, NodeMode::Mean)).Longitude[kNorthNode];
    EXPECT_LT(std::abs(AngleGap(apparent, design)) * 3600, 20.0) << jd;  // |dpsi| < 18", dT < 1 min
  }
}

// Runs reaching outside Pluto's 1885-2099 get one message per side.
TEST(PlutoRange, MessagesForRangesOutside1885To2099) {
  const std::string before = "Pluto's positions before 1885 are approximate";
  const std::string after = "Pluto's positions after 2099 are approximate";
  const struct {
    double first, last;
    std::vector<std::string> want;
  } cases[] = {
      {2451545, 2451910, {}},
      {2409542.5, 2488069.4, {}},      // 1885 Jan 1 0h .. 2099 Dec 31
      {2409542.4, 2409560, {before}},  // starts just before 1885
      {2409177.5, 2409560, {before}},  // 1884 Jan 1 0h
      {2378497, 2379000, {before}},    // 1800
      {2488000, 2488069.5, {after}},   // reaches 2100 Jan 1 0h
      {2400000, 2490000, {before, after}},
  };
  for (const auto& c : cases) EXPECT_EQ(PlutoRangeMessages(c.first, c.last), c.want) << c.first;
}

}  // namespace
}  // namespace novastra
