// Properties of the typed results checked against the position engine itself
// over whole years: each aspect holds at its instant, the events come in time
// order, each station turns the stated way, and the void-of-course Moon makes
// no aspect.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <tuple>
#include <vector>

#include "astro/angles.h"
#include "astro/calendar.h"
#include "reports/aspectarian_report.h"
#include "reports/void_of_course.h"
#include "support/sky.h"

namespace novastra {
namespace {

using testing_support::AspectarianOver;
using testing_support::PositionsAt;

constexpr int kMoonBody = 2;

// Degrees per day by a two-hour difference, as the station lists' own check does.
double Speed(int body, double jd) {
  return SignedDegrees(PositionsAt(jd + 1.0 / 24).Longitude[body] -
                       PositionsAt(jd - 1.0 / 24).Longitude[body]) *
         12;
}
// Two days either side: the slow outer planets stand still for days, and their
// minute-by-minute refinement lands within a day of the turn.
void ExpectTurn(int body, double jd, Direction direction) {
  const double before = Speed(body, jd - 2), after = Speed(body, jd + 2);
  EXPECT_TRUE(direction == Direction::Retrograde ? before > 0 && after < 0
                                                 : before < 0 && after > 0)
      << "body " << body << " on " << DateTextFromJulianDay(std::floor(jd + 0.5)) << ": " << before
      << " then " << after;
}

// Signed distance of the Moon-body separation from each aspect angle the
// aspectarian lists: crossing zero means an aspect.
std::array<double, 5> AspectGaps(const BodyPositions& p, int body) {
  double x = std::fabs(p.Longitude[kMoonBody] - p.Longitude[body]);
  if (x > 180) x = 360 - x;
  return {x - 0, x - 60, x - 90, x - 120, x - 180};
}

class TypedResults : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    report_ = new AspectarianReport(
        BuildAspectarian(AspectarianOver(JulianDayNumber(2008, 1, 1), 3 * 365 + 1)));
  }
  static void TearDownTestSuite() { delete report_; }
  static AspectarianReport* report_;  // 2008 to 2010
};
AspectarianReport* TypedResults::report_ = nullptr;

TEST_F(TypedResults, EachAspectHoldsWithinOneArcMinuteAtItsInstant) {
  constexpr double kAngle[] = {0, 0, 60, 90, 120, 180};
  int aspects = 0;
  for (const Event& e : report_->events) {
    if (e.kind != EventKind::Aspect && e.kind != EventKind::Lunation) continue;
    ++aspects;
    const BodyPositions p = PositionsAt(e.jd);
    const double separation = std::fabs(SignedDegrees(p.Longitude[e.body] - p.Longitude[e.other]));
    EXPECT_NEAR(separation, kAngle[e.aspect], 1.0 / 60)
        << "bodies " << e.body << "-" << e.other << " on " << DateTextFromJulianDay(e.dayJD);
    EXPECT_NEAR(e.separation, kAngle[e.aspect], 1.0 / 60);
  }
  EXPECT_GT(aspects, 3000);  // about 1,500 a year
}

TEST_F(TypedResults, EventsComeInTimeOrder) {
  const auto& ev = report_->events;
  ASSERT_GT(ev.size(), 1u);
  for (size_t k = 1; k < ev.size(); ++k) {
    const Event &a = ev[k - 1], &b = ev[k];
    // By day, hour and shown minute, exactly; by the instant to within the
    // minute (two instants showing the same minute may come in either order).
    EXPECT_LE(std::make_tuple(a.dayJD, a.hour, ShownMinuteKey(a.minutes)),
              std::make_tuple(b.dayJD, b.hour, ShownMinuteKey(b.minutes)));
    EXPECT_LE(a.jd, b.jd + 60.0 / 86400) << DateTextFromJulianDay(a.dayJD) << " " << a.hour;
    EXPECT_EQ(a.jd, a.dayJD - 0.5 + std::round((a.hour * 60 + a.minutes) * 60) / 86400);
  }
}

// Over 2009 and 1850: every Moon ingress has its period; each period starts at
// a Moon aspect's instant and, checked with the engine every hour, the Moon
// makes no aspect to the Sun or Mercury to Pluto until the ingress (5 minutes
// clear of both ends: the listed instants are interpolated within an hour);
// during the period the Moon is in the sign it leaves.
TEST(VoidOfCourse, HoldsOverWholeYears) {
  for (int year : {2009, 1850}) {
    SCOPED_TRACE(year);
    const double start = JulianDayNumber(year, 1, 1);
    const int days = JulianDayNumber(year + 1, 1, 1) - start;
    const AspectarianReport report = BuildAspectarian(AspectarianOver(start, days));
    int ingresses = 0;
    size_t next = 0;
    for (const Event& e : report.events) {
      if (e.kind != EventKind::Ingress || e.body != kMoonBody) continue;
      ++ingresses;
      ASSERT_LT(next, report.voids.size());
      const VoidOfCourse& v = report.voids[next++];
      EXPECT_EQ(v.endJD, e.jd);
      EXPECT_EQ(v.signEntered, e.sign);
      EXPECT_EQ(v.signLeft % 12 + 1, e.sign);
      EXPECT_EQ(v.startJD, v.lastAspect.jd);
      EXPECT_TRUE(IsMoonAspect(v.lastAspect));
      EXPECT_LE(v.startJD, v.endJD);
      EXPECT_LT(v.endJD - v.startJD, 3.0);
      // No listed Moon aspect inside the period.
      for (const Event& a : report.events)
        if (IsMoonAspect(a)) {
          EXPECT_FALSE(a.jd > v.startJD && a.jd < v.endJD) << a.jd;
        }
      const double from = v.startJD + 5.0 / 1440, to = v.endJD - 5.0 / 1440;
      if (to <= from) continue;
      std::vector<double> instants;
      for (double t = from; t < to; t += 1.0 / 24) instants.push_back(t);
      instants.push_back(to);
      BodyPositions prev = PositionsAt(instants[0]);
      EXPECT_EQ(SignOf(NormalizeDegrees(prev.Longitude[kMoonBody])), v.signLeft);
      for (size_t k = 1; k < instants.size(); ++k) {
        const BodyPositions cur = PositionsAt(instants[k]);
        for (int body : {1, 3, 4, 5, 6, 7, 8, 9, 10}) {
          const auto g0 = AspectGaps(prev, body), g1 = AspectGaps(cur, body);
          for (int a = 0; a < 5; ++a)
            EXPECT_FALSE((g0[a] < 0) != (g1[a] < 0) && std::fabs(g0[a] - g1[a]) < 10)
                << "aspect " << a << " of body " << body << " inside the period ending " << v.endJD;
        }
        prev = cur;
      }
      EXPECT_EQ(SignOf(NormalizeDegrees(prev.Longitude[kMoonBody])), v.signLeft);
    }
    EXPECT_EQ(next, report.voids.size());
    EXPECT_GT(ingresses, 150);  // about 13.4 a month
  }
}

// The choices that hide the Moon's aspects or ingresses do not change the periods.
TEST(VoidOfCourse, DoesNotDependOnTheListChoices) {
  AspectarianRequest plain = AspectarianOver(JulianDayNumber(2009, 3, 1), 31);
  AspectarianRequest hidden = plain;
  hidden.choices.moonChangeOnly = true;
  hidden.choices.moonSign = MoonChangeSign::NoDisplay;
  const auto a = BuildAspectarian(plain).voids, b = BuildAspectarian(hidden).voids;
  ASSERT_EQ(a.size(), b.size());
  ASSERT_GT(a.size(), 10u);
  for (size_t k = 0; k < a.size(); ++k) {
    EXPECT_EQ(a[k].startJD, b[k].startJD);
    EXPECT_EQ(a[k].endJD, b[k].endJD);
  }
  AspectarianRequest helio = plain;
  helio.sky.coords = helio.choices.coords = Coordinates::Heliocentric;
  EXPECT_TRUE(BuildAspectarian(helio).voids.empty());
}

// Every station of Mercury to Pluto from 1800 to 2100: the engine's daily
// longitude speed changes sign in the direction the station states. The days
// around each turn of the engine's daily speed are searched with the
// aspectarian, which must find the station there.
TEST(Stations, NoneMissedFrom1800To2100) {
  const double first = JulianDayNumber(1800, 1, 3), last = JulianDayNumber(2100, 12, 28);
  std::array<int, 12> prevSign{};
  BodyPositions p1 = PositionsAt(first - 1.5);
  auto daily = [](const BodyPositions& a, const BodyPositions& b, int body) {
    return SignedDegrees(b.Longitude[body] - a.Longitude[body]);
  };
  {
    const BodyPositions p0 = PositionsAt(first - 2.5);
    for (int b = 3; b <= 10; ++b) prevSign[b] = daily(p0, p1, b) > 0 ? 1 : -1;
  }
  int stations = 0;
  double searchedTo[12] = {};
  for (double jd = first - 0.5; jd <= last; jd += 1) {
    const BodyPositions p2 = PositionsAt(jd);
    for (int b = 3; b <= 10; ++b) {
      const int sign = daily(p1, p2, b) > 0 ? 1 : -1;
      if (sign == prevSign[b]) continue;
      prevSign[b] = sign;
      const double day = std::floor(jd + 0.5);
      if (day <= searchedTo[b]) continue;  // the same turn seen twice
      // The daily speed from the day before to this day's 0h has the other sign
      // than the day before's: the turn lies in those two days, and the
      // aspectarian must find the station there (one day spare after).
      AspectarianRequest r = AspectarianOver(day - 2, 4);
      r.findVoids = false;
      r.choices.moonSign = MoonChangeSign::NoDisplay;
      const AspectarianReport report = BuildAspectarian(r);
      searchedTo[b] = day + 3;
      const Event* found = nullptr;
      for (const Event& e : report.events)
        if (e.kind == EventKind::Station && e.body == b) found = &e;
      ASSERT_NE(found, nullptr) << "body " << b << " near " << DateTextFromJulianDay(day);
      ++stations;
      ExpectTurn(b, found->jd, found->direction);
    }
    p1 = p2;
  }
  // Mercury about 6 a year, Venus and Mars about 1, Jupiter to Pluto 2 each.
  EXPECT_GT(stations, 300 * 16);
}

}  // namespace
}  // namespace novastra
