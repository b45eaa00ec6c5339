// Properties of the typed results over several years, checked against the
// position engine itself: each aspect holds at its instant, the events come in
// time order, each station has the speed changing sign around it, and a long
// run split into pieces gives the same events.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <tuple>
#include <vector>

#include "astro/angles.h"
#include "astro/calendar.h"
#include "reports/aspectarian_report.h"
#include "reports/stations.h"
#include "support/sky.h"

namespace novastra {
namespace {

using testing_support::AspectarianOver;
using testing_support::PositionsAt;

class TypedResults : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    AspectarianRequest request =
        AspectarianOver(JulianDayNumber(2008, 1, 1), 3 * 365 + 1);  // 2008 to 2010
    report_ = new AspectarianReport(BuildAspectarian(request));
  }
  static void TearDownTestSuite() { delete report_; }

  static AspectarianReport* report_;
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
        << "bodies " << e.body << "-" << e.other << " on " << DateTextFromJulianDay(e.dayJD) << " "
        << e.hour << "h";
    EXPECT_NEAR(e.separation, kAngle[e.aspect], 1.0 / 60);
  }
  EXPECT_GT(aspects, 3000);  // about 1,500 a year
}

TEST_F(TypedResults, EventsComeInTimeOrder) {
  const auto& ev = report_->events;
  ASSERT_GT(ev.size(), 1u);
  for (size_t k = 1; k < ev.size(); ++k) {
    const Event& a = ev[k - 1];
    const Event& b = ev[k];
    // By day, hour and shown minute, exactly; by the instant to within the
    // minute (two instants showing the same minute may come in either order).
    EXPECT_LE(std::make_tuple(a.dayJD, a.hour, ShownMinuteKey(a.minutes)),
              std::make_tuple(b.dayJD, b.hour, ShownMinuteKey(b.minutes)));
    EXPECT_LE(a.jd, b.jd + 60.0 / 86400)
        << DateTextFromJulianDay(a.dayJD) << " " << a.hour << "h " << a.minutes << "m kind "
        << static_cast<int>(a.kind) << " then " << b.hour << "h " << b.minutes << "m kind "
        << static_cast<int>(b.kind);
    EXPECT_EQ(a.jd, a.dayJD - 0.5 + std::round((a.hour * 60 + a.minutes) * 60) / 86400);
  }
}

TEST_F(TypedResults, EveryStationHasTheSpeedChangingSignAroundIt) {
  const std::vector<Station> stations = BuildStations(AspectarianOver(0, 0).sky, report_->events);
  ASSERT_GE(stations.size(), 30u);        // Mercury alone turns about six times a year
  auto speed = [](int body, double jd) {  // degrees per day, by a two-hour difference
    return SignedDegrees(PositionsAt(jd + 1.0 / 24).Longitude[body] -
                         PositionsAt(jd - 1.0 / 24).Longitude[body]) *
           12;
  };
  // Two days either side: the slow outer planets stand still for days, and
  // their minute-by-minute refinement lands within a day of the turn.
  for (const Station& s : stations) {
    const double before = speed(s.body, s.jd - 2), after = speed(s.body, s.jd + 2);
    const bool retrograde = s.direction == Direction::Retrograde;
    EXPECT_TRUE(retrograde ? before > 0 && after < 0 : before < 0 && after > 0)
        << "body " << s.body << " on " << DateTextFromJulianDay(s.dayJD) << ": " << before
        << " then " << after;
    EXPECT_NEAR(s.longitude, PositionsAt(s.jd).Longitude[s.body], 1.0 / 60);
  }
}

TEST_F(TypedResults, ALongRunInPiecesGivesTheSameEvents) {
  const double start = JulianDayNumber(2009, 1, 1);
  const AspectarianReport whole = BuildAspectarian(AspectarianOver(start, 90));
  AspectarianRequest first = AspectarianOver(start, 40), second = AspectarianOver(start + 40, 50);
  const AspectarianReport a = BuildAspectarian(first);
  second.directions = a.directions;
  const AspectarianReport b = BuildAspectarian(second);
  std::vector<Event> joined = a.events;
  joined.insert(joined.end(), b.events.begin(), b.events.end());
  ASSERT_EQ(joined.size(), whole.events.size());
  for (size_t k = 0; k < joined.size(); ++k) {
    EXPECT_EQ(std::make_tuple(joined[k].kind, joined[k].body, joined[k].other, joined[k].jd),
              std::make_tuple(whole.events[k].kind, whole.events[k].body, whole.events[k].other,
                              whole.events[k].jd));
  }
  EXPECT_EQ(b.directions.flag, whole.directions.flag);
}

}  // namespace
}  // namespace novastra
