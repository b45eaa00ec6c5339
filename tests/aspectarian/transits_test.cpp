// Transits to a chart against the position engine: over a year every
// crossing of an aspect angle between a transiting body and a natal point,
// found here by scanning every 30 minutes and bisecting to a tenth of a
// second, is listed once within a minute; retrograde loops give three passes.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "reports/chart_report.h"
#include "support/sky.h"

namespace novastra {
namespace {

using testing_support::PositionsAt;
using testing_support::SuppliedTables;

double Wrap180(double x) { return x - 360 * std::round(x / 360); }

NatalChart NewYork1990() {
  ChartRequest r;
  r.tables = &SuppliedTables();
  r.choices = EngineChoices{Zodiac::Tropical, NodeMode::True};
  r.choices.sky = Sky::Apparent;
  r.jdUT = 2448077.0 + 4.0 / 24;  // 4 Jul 1990 16:00 UT (noon EDT)
  r.latitude = 40.7167;
  r.longitude = -74.0;
  const auto chart = BuildChart(r);
  EXPECT_TRUE(chart);
  return *chart;
}

struct Crossing {
  int body, natal, aspect;
  double jd;
};

TEST(Transits, EveryCrossingOfTheEngineListedOnceWithinAMinute) {
  const NatalChart chart = NewYork1990();
  const double start = 2461406.5;  // 2027 Jan 1 0h UT
  const int days = 365;
  TransitRequest request;
  request.sky.tables = &SuppliedTables();
  request.sky.choices = chart.request.choices;
  request.chart = &chart;
  request.startJD = start + 0.5;
  request.dayCount = days;
  const TransitReport report = BuildTransits(request);

  const EngineChoices sky = chart.request.choices;
  constexpr double kStep = 30.0 / 1440;
  std::vector<Crossing> crossings;
  BodyPositions prev = PositionsAt(start, sky);
  for (double t = start + kStep; t <= start + days + 1e-9; t += kStep) {
    const BodyPositions cur = PositionsAt(t, sky);
    for (int b = 1; b <= 11; ++b)
      for (int k = 0; k < kChartPoints; ++k)
        for (int type = kConjunction; type <= kOpposition; ++type)
          for (const double sign : {1.0, -1.0}) {
            const double angle = sign * AspectAngle(type);
            if (sign < 0 && (angle == 0 || angle == -180)) continue;
            auto gap = [&](const BodyPositions& p) {
              return Wrap180(Wrap180(p.Longitude[b] - chart.PointLongitude(k)) - angle);
            };
            const double g0 = gap(prev), g1 = gap(cur);
            if ((g0 < 0) == (g1 < 0) || std::fabs(g1 - g0) > 90) continue;
            double a = t - kStep, z = t;
            while (z - a > 0.1 / 86400) {
              const double m = (a + z) / 2;
              ((gap(PositionsAt(m, sky)) < 0) == (g0 < 0) ? a : z) = m;
            }
            crossings.push_back({b, k, type, (a + z) / 2});
          }
    prev = cur;
  }
  EXPECT_GT(crossings.size(), 1500u);  // the Moon alone: about 14 points x 8 angles x 13 months
  EXPECT_EQ(report.transits.size(), crossings.size());
  std::vector<bool> used(report.transits.size());
  for (const Crossing& c : crossings) {
    int matches = 0;
    for (size_t k = 0; k < report.transits.size(); ++k) {
      const Transit& t = report.transits[k];
      if (t.body != c.body || t.natal != c.natal || t.aspect != c.aspect) continue;
      if (std::fabs(t.jd - c.jd) > 1.0 / 1440) continue;
      ++matches;
      used[k] = true;
    }
    EXPECT_EQ(matches, 1) << "body " << c.body << " to point " << c.natal << " aspect " << c.aspect
                          << " at JD " << c.jd;
  }
  for (size_t k = 0; k < used.size(); ++k) EXPECT_TRUE(used[k]) << "not in the sky: " << k;
  // In time order, and at least one retrograde loop's three passes over a point.
  for (size_t k = 1; k < report.transits.size(); ++k)
    EXPECT_LE(report.transits[k - 1].jd, report.transits[k].jd);
  bool triple = false;
  for (int b = 3; b <= 10 && !triple; ++b)
    for (int k = 0; k < kChartPoints && !triple; ++k)
      for (int type = 1; type <= 5 && !triple; ++type) {
        int n = 0, retro = 0;
        for (const Transit& t : report.transits)
          if (t.body == b && t.natal == k && t.aspect == type) n += 1, retro += t.retrograde;
        triple = n == 3 && retro == 1;
      }
  EXPECT_TRUE(triple);
}

TEST(Transits, ChartPointsAndTheirSpeeds) {
  const NatalChart chart = NewYork1990();
  // Saturn, Uranus, Neptune and Pluto were retrograde on 4 July 1990 (their
  // oppositions to the Sun fell in June and July); the Moon moves 11 to 15
  // degrees a day.
  for (int b : {7, 8, 9, 10}) EXPECT_TRUE(chart.bodies[b].retrograde()) << b;
  for (int b : {1, 3, 4, 5, 6}) EXPECT_FALSE(chart.bodies[b].retrograde()) << b;
  EXPECT_GT(chart.bodies[2].speed, 11);
  EXPECT_LT(chart.bodies[2].speed, 15.5);
  EXPECT_EQ(chart.PointLongitude(11), chart.houses.ascendant);
  EXPECT_EQ(chart.PointLongitude(12), chart.houses.mc);
  EXPECT_EQ(chart.PointLongitude(0), chart.bodies[1].longitude);
  // The Sun of the chart is the engine's apparent Sun at the instant.
  EXPECT_NEAR(chart.bodies[1].longitude,
              PositionsAt(chart.request.jdUT, chart.request.choices).Longitude[1], 1e-12);
}

}  // namespace
}  // namespace novastra
