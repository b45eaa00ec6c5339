// The minor bodies: the orbit integration (conservation, reversibility,
// agreement with a two-body propagation near the epoch and with JPL), the
// supplied MINOR.DAT against the integration, Lilith against Meeus, the
// places' consistency, and the load check refusing damaged files.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <numbers>
#include <random>
#include <sstream>
#include <string>

#include "astro/frames.h"
#include "astro/lunar_apogee.h"
#include "astro/minor_bodies.h"
#include "astro/minor_data.h"
#include "astro/minor_orbit.h"
#include "astro/vsop87a.h"
#include "astro_test.h"

namespace fs = std::filesystem;

namespace novastra {
namespace {

constexpr double kEpoch = 2459800.5;

std::string ReadAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// The supplied MINOR.DAT, loaded once.
constexpr auto& Supplied = testing_support::SuppliedMinorTables;

// The complete VSOP87A planets, as the generator reads them.
const std::array<Vsop87aBody, 8>& Vsop87aPlanets() {
  static const std::array<Vsop87aBody, 8> planets = [] {
    std::array<Vsop87aBody, 8> b;
    if (auto bad = LoadVsop87aPerturbers(fs::path(NOVASTRA_REFERENCE_DIR) / "vsop87a", b))
      ADD_FAILURE() << *bad;
    return b;
  }();
  return planets;
}

// The perturbers as the generator fits them, over the epoch +- 30 years.
const Perturbers& NearPerturbers() {
  static const Perturbers p([](int i, double jd) { return Vsop87aPosition(Vsop87aPlanets()[i], jd); },
                            kEpoch - 11000, kEpoch + 11000);
  return p;
}

// Ceres, Pallas, Juno, Vesta and the further perturbers, as the generator
// integrates them.
OrbitSystem MainBelt() { return MainBeltSystem(&NearPerturbers()); }
std::vector<PositionVelocity> MainBeltStart() { return MainBeltStartStates(); }

// The elements (and masses) in the code against the copied reference files,
// cell by cell: a mistyped digit in either fails.
TEST(MinorOrbit, ElementsMatchTheCopiedReferenceFiles) {
  std::vector<MassiveBody> bodies;
  for (const OrbitalElements& el : SuppliedElements()) bodies.push_back({el, 0});
  const size_t supplied = bodies.size();
  for (const MassiveBody& b : MainBeltPerturbers()) bodies.push_back(b);
  std::istringstream five(ReadAll(fs::path(NOVASTRA_REFERENCE_DIR) / "minor_elements.csv"));
  std::istringstream twelve(ReadAll(fs::path(NOVASTRA_REFERENCE_DIR) / "minor_perturbers.csv"));
  std::string line;
  std::getline(five, line);  // headers
  std::getline(twelve, line);
  for (size_t b = 0; b < bodies.size(); ++b) {
    const OrbitalElements& el = bodies[b].elements;
    const bool perturber = b >= supplied;
    ASSERT_TRUE(std::getline(perturber ? twelve : five, line)) << el.name;
    std::vector<std::string> f;
    std::stringstream ss(line);
    for (std::string cell; std::getline(ss, cell, ',');) f.push_back(cell);
    ASSERT_EQ(f.size(), perturber ? 12u : 11u) << el.name;
    EXPECT_NE(f[0].find(el.name), std::string::npos);
    EXPECT_EQ(std::stod(f[2]) + 2400000.5, el.epochJD);
    const double want[] = {el.e, el.a, el.i, el.node, el.peri, el.meanAnomaly};
    const int column[] = {3, 4, 6, 7, 8, 9};
    for (int k = 0; k < 6; ++k) EXPECT_EQ(std::stod(f[column[k]]), want[k]) << el.name << k;
    if (perturber) {
      EXPECT_EQ(gm::FromKm3PerS2(std::stod(f[11])), bodies[b].gm) << el.name;
    }
  }
  EXPECT_FALSE(std::getline(twelve, line));
}

// The masses in AU^3/day^2 against JPL's gm_Horizons.pck 4.0 (km^3/s^2) for
// the four whose constants are written out: 1e-15 relative.
TEST(MinorOrbit, MassesAgreeWithJplInTheirUnits) {
  const struct {
    double au, km;
  } cases[] = {{gm::kCeres, 6.2628888644409933e+01},
               {gm::kPallas, 1.3665878145967422e+01},
               {gm::kJuno, 1.9205707002025889e+00},
               {gm::kVesta, 1.7288232879171513e+01},
               {gm::kSun, 1.3271244004127942e+11}};
  for (const auto& c : cases) EXPECT_NEAR(gm::FromKm3PerS2(c.km) / c.au, 1.0, 1e-15) << c.km;
}

// Sun alone, no relativity: energy and angular momentum of every orbit hold
// over 300 years, and the state returns to the Kepler orbit's.
TEST(MinorOrbit, TwoBodyIntegrationConservesEnergyAndMomentum) {
  OrbitSystem s;
  s.masses = {0, 0, 0, 0, 0};
  s.force = {false, false, false};
  std::vector<PositionVelocity> y0;
  for (const auto& el : SuppliedElements()) y0.push_back(StateFromElements(el));
  const auto out = IntegrateOrbits(s, y0, kEpoch, {kEpoch - 36525, kEpoch - 81432});
  ASSERT_EQ(out.size(), 2u);
  for (size_t b = 0; b < y0.size(); ++b) {
    auto energy = [](const PositionVelocity& p) {
      return 0.5 * Dot(p.velocity, p.velocity) - gm::kSun / Length(p.position);
    };
    const PositionVelocity& end = out[1][b];
    EXPECT_NEAR(energy(end) / energy(y0[b]), 1.0, 1e-11) << b;
    EXPECT_LT(Length(Cross(end.position, end.velocity) - Cross(y0[b].position, y0[b].velocity)) /
                  Length(Cross(y0[b].position, y0[b].velocity)),
              1e-11);
    // Kepler's equation solved directly: within 1e-8 AU after 223 years.
    EXPECT_LT(Length(end.position - KeplerState(SuppliedElements()[b], kEpoch - 81432).position),
              1e-8);
  }
}

// With the planets and the massive asteroids: 29 years back and forward again.
TEST(MinorOrbit, IntegrationIsReversible) {
  const OrbitSystem s = MainBelt();
  const auto y0 = MainBeltStart();
  const double far = kEpoch - 29 * 365.25;
  const auto there = IntegrateOrbits(s, y0, kEpoch, {far});
  const auto back = IntegrateOrbits(s, there[0], far, {kEpoch});
  ASSERT_EQ(y0.size(), 16u);
  for (size_t b = 0; b < y0.size(); ++b)
    EXPECT_LT(Length(back[0][b].position - y0[b].position), 1e-9) << b;
  for (size_t b = 0; b < 4; ++b)  // the perturbations did act
    EXPECT_GT(Length(there[0][b].position - KeplerState(SuppliedElements()[b + 1], far).position),
              1e-3);
}

// PyEphem's EllipticalBody with the same elements (tests/astro/data/
// minor_twobody.txt, tools/make_minor_reference.py) for up to 5 days from the
// epoch. Tolerance: 2e-6 of the distance (0.4"), the precision of PyEphem's
// round trip through the equinox of date, plus what the perturbations add in
// those days (2e-8 AU per day squared).
TEST(MinorOrbit, AgreesWithPyEphemTwoBodyNearTheEpoch) {
  std::istringstream in(ReadAll(fs::path(NOVASTRA_TESTDATA_DIR) / "minor_twobody.txt"));
  int rows = 0;
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::stringstream ss(line);
    std::string name, cell;
    std::getline(ss, name, ',');
    double v[4];
    for (double& x : v) std::getline(ss, cell, ','), x = std::stod(cell);
    const Vector3 ref{v[1], v[2], v[3]};
    const auto body = MinorBodyFromName(name);
    ASSERT_TRUE(body.has_value()) << name;
    const int k = static_cast<int>(*body);
    const double days = v[0] - kEpoch;
    const double tol = 2e-6 * Length(ref) + 2e-8 * days * days;
    EXPECT_LT(Length(KeplerState(SuppliedElements()[k], v[0]).position - ref), 2e-6 * Length(ref));
    EXPECT_LT(Length(Supplied().series[k + 1].Position(v[0]) - ref), tol) << name << " " << days;
    ++rows;
  }
  EXPECT_EQ(rows, 35);
}

// JPL Horizons, Ceres solution JPL#48 with DE441 and the SB441-N16 perturbers
// (the solution of the supplied elements), as printed in Horizons outputs of
// 2021 and 2022: ICRF heliocentric position at 2020 Jan 1.0 TDB, and the mean
// anomaly of the osculating elements of 2021 May 12.0 TDB. Tolerance 2e-7 AU
// and 0.0005 degree (the forces left out: the other asteroids).
TEST(MinorOrbit, CeresAgreesWithJplHorizons) {
  const Vector3 icrf{1.007608869613381, -2.390064275223502, -1.332124522752402};
  const Vector3 ours = EclipticJ2000ToEquator() * Supplied()[MinorSeries::Ceres].Position(2458849.5);
  EXPECT_LT(Length(ours - icrf), 2e-7);
  const PositionVelocity s = Supplied()[MinorSeries::Ceres].State(2459346.5);
  const OrbitalElements el = ElementsFromState(s, 2459346.5);
  EXPECT_NEAR(el.meanAnomaly, 236.8311126437671, 5e-4);
  EXPECT_NEAR(el.e, 7.835625869929473E-02, 2e-6);
  EXPECT_NEAR(el.node, 80.26809558859739, 1e-4);
}

// MINOR.DAT at random instants of 1993-2051 against a fresh integration.
TEST(MinorData, SuppliedFileMatchesTheIntegration) {
  std::mt19937 rng(1801);
  std::uniform_real_distribution<double> any(kEpoch - 10600, kEpoch + 10600);
  std::vector<double> before, after;
  for (int i = 0; i < 30; ++i) {
    const double t = any(rng);
    (t < kEpoch ? before : after).push_back(t);
  }
  std::sort(before.rbegin(), before.rend());
  std::sort(after.begin(), after.end());
  const OrbitSystem s = MainBelt();
  for (const auto* times : {&before, &after}) {
    const auto states = IntegrateOrbits(s, MainBeltStart(), kEpoch, *times);
    for (size_t i = 0; i < times->size(); ++i)
      for (int b = 0; b < 4; ++b)
        EXPECT_LT(Length(Supplied().series[b + 2].Position((*times)[i]) - states[i][b].position),
                  1e-9)
            << b << " " << (*times)[i];
  }
}

// Meeus, Astronomical Algorithms 2nd ed., Example 47.a (1992 April 12, 0h TD,
// T = -0.077221081451): L' = 134.290182, M' = 5.150833 degrees, so the mean
// perigee L' - M' is 129.139349 and the mean apogee 309.139349. Tolerance 1":
// the constants of eq. 47.7 and of L' - M' differ by 0.70".
TEST(Lilith, MeanApogeeMatchesMeeusExample) {
  EXPECT_NEAR(MeanLunarApogee(-0.077221081451), 309.139349, 1.0 / 3600);
  // Its speed: a turn in 8.85 years.
  EXPECT_NEAR(360.0 / MeanLunarApogeeSpeed(0) / 365.25, 8.85, 0.01);
}

// The apogee of exact Kepler orbits in the ecliptic: longitude node + peri + 180.
TEST(Lilith, OsculatingApogeeOfAKeplerOrbit) {
  struct Case {
    double e, node, peri, meanAnomaly;
  } cases[] = {{0.055, 125.0, 318.0, 10.0}, {0.3, 10.0, 20.0, 200.0}, {0.01, 300.0, 100.0, 90.0}};
  for (const Case& c : cases) {
    OrbitalElements el{"test", kEpoch, c.e, 2.0, 0.0, c.node, c.peri, c.meanAnomaly};
    const PositionVelocity s = StateFromElements(el);
    const Apogee a = OsculatingApogee(s.position, s.velocity, gm::kSun);
    EXPECT_NEAR(testing::AngleGap(a.longitude, c.node + c.peri + 180.0), 0, 1e-9);
    EXPECT_NEAR(a.latitude, 0, 1e-9);
    EXPECT_NEAR(a.distanceKm, 2.0 * (1 + c.e), 1e-12);
  }
}

// The osculating apogee swings about the mean one (by up to some 30 degrees).
TEST(Lilith, OsculatingFollowsTheMean) {
  double sum = 0;
  for (int d = 0; d < 3232; d += 2) {
    const double jd = 2451545.0 + d;
    const auto mean = ComputeMinorPlace(Supplied(), MinorBody::Lilith, jd, Sky::Design);
    const auto osc = ComputeMinorPlace(Supplied(), MinorBody::OscLilith, jd, Sky::Design);
    const double gap = testing::AngleGap(osc->longitude, mean->longitude);
    EXPECT_LT(std::fabs(gap), 40.0) << jd;
    sum += gap;
  }
  EXPECT_LT(std::fabs(sum / 1616), 1.0);
}

// Places: the apparent sky differs from the design sky by aberration, nutation
// and light-time only; the speed is the longitude's rate; retrograde at
// opposition; nothing outside 1800-2100.
TEST(MinorPlaces, SkiesSpeedsAndRange) {
  const MinorTables& t = Supplied();
  for (MinorBody b : kMinorBodies) {
    for (double jd : {2378497.0, 2415020.5, 2459800.5, 2488433.0}) {
      const auto d = ComputeMinorPlace(t, b, jd, Sky::Design);
      const auto a = ComputeMinorPlace(t, b, jd, Sky::Apparent);
      ASSERT_TRUE(d && a) << MinorBodyName(b) << jd;
      // 20" aberration + 18" nutation + light-time motion + the delta T step.
      const double limit = b == MinorBody::OscLilith ? 1.0 : 0.05;
      EXPECT_LT(std::fabs(testing::AngleGap(a->longitude, d->longitude)), limit) << MinorBodyName(b);
      const auto ahead = ComputeMinorPlace(t, b, jd + 0.01, Sky::Design);
      const auto behind = ComputeMinorPlace(t, b, jd - 0.01, Sky::Design);
      const double rate = testing::AngleGap(ahead->longitude, behind->longitude) / 0.02;
      EXPECT_NEAR(d->longitudeSpeed, rate, b == MinorBody::OscLilith ? 0.2 : 1e-5)
          << MinorBodyName(b) << jd;
    }
    EXPECT_EQ(MinorBodyFromName(MinorBodyName(b)), b);
  }
  EXPECT_FALSE(ComputeMinorPlace(t, MinorBody::Ceres, 2378495.5, Sky::Design));
  EXPECT_FALSE(ComputeMinorPlace(t, MinorBody::Chiron, 2488435.5, Sky::Apparent));
  EXPECT_TRUE(ComputeMinorPlace(t, MinorBody::Lilith, 2300000.5, Sky::Design));
  EXPECT_FALSE(ComputeMinorHelio(t, MinorBody::Lilith, 2451545.0, Sky::Design));
  // Ceres at opposition, 2023 March 21: retrograde, its heliocentric
  // longitude near the geocentric one and opposite the Sun's (0 degrees).
  const auto ceres = ComputeMinorPlace(t, MinorBody::Ceres, 2460024.5, Sky::Design);
  const auto helio = ComputeMinorHelio(t, MinorBody::Ceres, 2460024.5, Sky::Design);
  EXPECT_LT(std::fabs(testing::AngleGap(ceres->longitude, 180.0)), 5.0);
  EXPECT_LT(ceres->longitudeSpeed, 0);
  EXPECT_LT(std::fabs(testing::AngleGap(ceres->longitude, helio->longitude)), 10.0);
  EXPECT_NEAR(helio->radius, 2.6, 0.3);
}

// Damaged files are refused with a message naming MINOR.DAT.
TEST(MinorData, LoadCheckRefusesDamagedFiles) {
  const std::string good = ReadAll(fs::path(NOVASTRA_DATA_DIR) / kMinorFile);
  MinorTables t;
  ASSERT_FALSE(LoadMinorTablesFromText(good, t));
  // The n-th line (1-based) of the text with its first value replaced.
  auto withFirstValue = [&](int n, const std::string& value) {
    size_t at = 0;
    for (int i = 1; i < n; ++i) at = good.find('\n', at) + 1;
    const size_t comma = good.find(',', at);
    return good.substr(0, at) + value + good.substr(comma);
  };
  const size_t cut = good.size() / 2;
  struct Case {
    const char* what;
    std::string text;
    const char* message;
  } cases[] = {
      {"empty", "", "input past end of file"},
      {"cut short", good.substr(0, good.find('\n', cut) + 1), "input past end of file"},
      {"header", "Mars" + good.substr(5), "type mismatch"},
      {"not a number", withFirstValue(2, "nan"), "type mismatch"},
      {"huge", withFirstValue(2, "1e308"), "value out of range"},
      // Earth's x, T0 coefficient of interval 1, moved by 1e-6 AU.
      {"a small change", withFirstValue(2, "9.75113747884e-01"), "do not join"},
      {"an extra line", good + "1,2,3\r\n", "follows the last series"},
  };
  for (const Case& c : cases) {
    MinorTables before = Supplied();
    const auto err = LoadMinorTablesFromText(c.text, before);
    ASSERT_TRUE(err) << c.what;
    EXPECT_EQ(err->Message().rfind("MINOR.DAT: ", 0), 0u) << err->Message();
    EXPECT_NE(err->Message().find(c.message), std::string::npos) << c.what << ": " << err->Message();
    EXPECT_EQ(before.series[2].c, Supplied().series[2].c);  // left as it was
  }
  const auto missing = LoadMinorTables(fs::temp_directory_path() / "no-such-folder", t);
  ASSERT_TRUE(missing);
  EXPECT_EQ(missing->Message(), "MINOR.DAT: file not found");
}

}  // namespace
}  // namespace novastra
