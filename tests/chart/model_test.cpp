// The chart's geometry against the position engine: line points, wraps at the
// dial's edge, retrograde stretches against the engine's stations, fixed-point
// crossings, month ticks, and what an unusable request gives.
#include <algorithm>
#include <tuple>

#include "chart/chart_model.h"
#include "chart_support.h"
#include "reports/stations.h"

namespace novastra::chart::test {
namespace {

ChartModel Build(int dial, std::vector<double> points = {}, const EphemerisSeries& s = Year2009()) {
  ChartOptions o;
  o.dial = dial;
  o.fixedPoints = std::move(points);
  return BuildChart(s, o);
}

std::vector<const Segment*> SegmentsOf(const ChartModel& m, int body) {
  std::vector<const Segment*> out;
  for (const Segment& s : m.segments)
    if (s.body == body) out.push_back(&s);
  return out;
}

class DialTest : public ::testing::TestWithParam<int> {};

// Every point of every line sits where the engine puts the body at the point's
// instant: x from the date, y within half a pixel of the engine's longitude
// modulo the dial (a point on the edge may be drawn at 0 or at the dial).
TEST_P(DialTest, PointsMapToTheEngineLongitudeWithinHalfAPixel) {
  const int dial = GetParam();
  const ChartModel m = Build(dial);
  ASSERT_FALSE(m.segments.empty());
  const double pxPerDeg = m.PixelsPerDegree();
  size_t checked = 0;
  for (const Segment& s : m.segments)
    for (size_t k = 0; k < s.points.size(); k += 7) {  // every 7th point keeps the test quick
      const double engine = Reduce(EngineLongitude(s.body, s.jd[k]), dial);
      double dy = std::abs(s.points[k].y - m.YAt(engine));
      dy = std::min(dy, std::abs(dy - m.plot.height));  // 0 and the dial are one place
      // Linear between days: the Moon bends by up to 0.2 degree between samples.
      const double tolerance = s.body == kMoon ? 0.25 * pxPerDeg + 0.5 : 0.5;
      ASSERT_LE(dy, tolerance) << "body " << s.body << " at JD " << s.jd[k] << " dial " << dial;
      ASSERT_NEAR(s.points[k].x, m.plot.left + (s.jd[k] - m.jd0) / (m.jd1 - m.jd0) * m.plot.width,
                  1e-6);
      ++checked;
    }
  EXPECT_GT(checked, 500u);
}

// No stretch of line jumps across the chart: within a segment every step
// keeps the direction of its segment and is no larger than the Moon's
// fastest daily motion (about 15.4 degrees), and every point lies on the dial.
TEST_P(DialTest, LinesAreCutAtTheEdgeAndNeverCrossTheChart) {
  const int dial = GetParam();
  const ChartModel m = Build(dial);
  for (const Segment& s : m.segments) {
    ASSERT_GE(s.points.size(), 2u);
    for (size_t k = 0; k < s.points.size(); ++k) {
      ASSERT_GE(s.reduced[k], 0.0);
      ASSERT_LE(s.reduced[k], dial);
      ASSERT_GE(s.points[k].y, m.plot.top - 1e-9);
      ASSERT_LE(s.points[k].y, m.plot.bottom() + 1e-9);
      if (k == 0) continue;
      const double step = s.reduced[k] - s.reduced[k - 1];
      const double days = s.jd[k] - s.jd[k - 1];
      ASSERT_LE(std::abs(step), 15.5 * days + 1e-9) << "body " << s.body << " JD " << s.jd[k];
      if (s.retrograde) {
        ASSERT_LE(step, 1e-9) << "body " << s.body << " JD " << s.jd[k];
      } else {
        ASSERT_GE(step, -1e-9) << "body " << s.body << " JD " << s.jd[k];
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Dials, DialTest, ::testing::Values(360, 90, 45, 30));

// The Sun's line in 2009 wraps once on the full circle, at the March equinox
// (20 Mar 2009 11:44 UT, USNO; the geometric longitude here lags the apparent
// one by some 20", so within 1 hour), and at each of its twelve ingresses on
// the 30-degree dial, where the engine has it on a sign boundary (0.01 degree).
TEST(ChartWrap, TheSunWrapsAtTheEquinoxAndAtEachIngress) {
  const ChartModel full = Build(360);
  const auto sun = SegmentsOf(full, kSun);
  ASSERT_EQ(sun.size(), 2u);
  const double equinox = 2454910.5 + (11 + 44 / 60.0) / 24;
  EXPECT_NEAR(sun[0]->jd.back(), equinox, 1.0 / 24);
  EXPECT_NEAR(sun[0]->reduced.back(), 360.0, 1e-9);
  EXPECT_EQ(sun[1]->jd.front(), sun[0]->jd.back());
  EXPECT_NEAR(sun[1]->reduced.front(), 0.0, 1e-9);

  const ChartModel signs = Build(30);
  const auto pieces = SegmentsOf(signs, kSun);
  ASSERT_EQ(pieces.size(), 13u);
  for (size_t k = 0; k + 1 < pieces.size(); ++k) {
    const double lon = EngineLongitude(kSun, pieces[k]->jd.back());
    EXPECT_NEAR(Gap(lon, 30 * std::round(lon / 30)), 0.0, 0.01) << "ingress " << k;
  }
  // Glyph ends: where the line starts and where it stops.
  const auto it = std::find_if(signs.ends.begin(), signs.ends.end(),
                               [](const BodyEnds& e) { return e.body == kSun; });
  ASSERT_NE(it, signs.ends.end());
  EXPECT_DOUBLE_EQ(it->first.x, signs.plot.left);
  EXPECT_DOUBLE_EQ(it->last.x, signs.plot.right());
}

// The stations of Mercury to Pluto in 2009 as the station list finds them (an
// aspectarian of the year, refined to the minute): (body, instant).
std::vector<std::pair<int, double>> Stations2009() {
  const auto year = testing_support::AspectarianOver(JulianDayNumber(2009, 1, 1), 365);
  std::vector<std::pair<int, double>> out;
  for (const Station& s : BuildStations(year.sky, BuildAspectarian(year).events))
    out.push_back({s.body, s.jd});
  return out;
}

// Each retrograde stretch begins and ends within a day of one of the engine's
// stations (the lines are sampled daily), each station is such an end, and
// Mercury has its four retrograde periods of 2009 (the last runs into 2010).
TEST(ChartRetrograde, StretchesLieBetweenTheEnginesStations) {
  const auto stations = Stations2009();
  ASSERT_GE(stations.size(), 10u);
  const ChartModel m = Build(360);
  auto nearStation = [&](int body, double jd) {
    return std::any_of(stations.begin(), stations.end(), [&](const auto& s) {
      return s.first == body && std::abs(s.second - jd) <= 1.0;
    });
  };
  std::vector<std::pair<int, double>> ends;  // (body, jd) of every turn on the chart
  int mercuryStretches = 0;
  for (int body = kMercury; body <= kPluto; ++body) {
    // Retrograde stretches, joined across wraps.
    const auto segs = SegmentsOf(m, body);
    for (size_t k = 0; k < segs.size(); ++k) {
      if (k > 0 && segs[k]->retrograde != segs[k - 1]->retrograde)
        ends.push_back({body, segs[k]->jd.front()});
      if (!segs[k]->retrograde || (k > 0 && segs[k - 1]->retrograde)) continue;
      mercuryStretches += body == kMercury;
      const double start = segs[k]->jd.front();
      size_t last = k;
      while (last + 1 < segs.size() && segs[last + 1]->retrograde) ++last;
      const double stop = segs[last]->jd.back();
      if (start > m.jd0) {
        EXPECT_TRUE(nearStation(body, start)) << "body " << body << " turns at JD " << start;
      }
      if (stop < m.jd1) {
        EXPECT_TRUE(nearStation(body, stop)) << "body " << body << " turns at JD " << stop;
      }
      for (size_t j = k; j <= last; ++j)
        for (size_t p = 1; p < segs[j]->jd.size(); ++p)
          EXPECT_LT(
              Gap(EngineLongitude(body, segs[j]->jd[p]), EngineLongitude(body, segs[j]->jd[p - 1])),
              1e-9);
    }
  }
  EXPECT_EQ(mercuryStretches, 4);
  for (const auto& [body, jd] : stations)
    EXPECT_TRUE(std::any_of(
        ends.begin(), ends.end(),
        [&](const auto& e) { return e.first == body && std::abs(e.second - jd) <= 1.0; }))
        << "station of body " << body << " at JD " << jd << " has no turn on the chart";
}

// Crossings of fixed points are where the engine has the body on the point
// (modulo the dial): within 0.01 degree for the planets; the Moon, drawn
// straight between days, within 0.25 degree. The Sun meets 120 degrees once,
// at its Leo ingress (22 Jul 2009 16:34 UT, PyEphem apparent place; within
// 30 minutes), and 15.5 degrees
// on the 45-degree dial eight times in the year.
TEST(ChartCrossings, AreWhereTheBodyIsOnTheFixedPoint) {
  for (int dial : {360, 45}) {
    const ChartModel m = Build(dial, {15.5, 120, 0});
    ASSERT_FALSE(m.crossings.empty());
    for (const Crossing& c : m.crossings) {
      const double engine = EngineLongitude(c.body, c.jd);
      const double off =
          std::fmod(std::abs(Gap(engine, c.degrees)) + dial / 2.0, double(dial)) - dial / 2.0;
      EXPECT_NEAR(off, 0.0, c.body == kMoon ? 0.25 : 0.01)
          << "body " << c.body << " point " << c.degrees;
      const double dy = std::abs(c.at.y - m.YAt(Reduce(c.degrees, dial)));
      EXPECT_NEAR(std::min(dy, std::abs(dy - m.plot.height)), 0.0,
                  1e-6);  // 0 and the dial are one place
    }
    auto sunAt = [&](double point) {
      std::vector<double> jds;
      for (const Crossing& c : m.crossings)
        if (c.body == kSun && c.degrees == point) jds.push_back(c.jd);
      return jds;
    };
    if (dial == 360) {
      const auto leo = sunAt(120);
      ASSERT_EQ(leo.size(), 1u);
      EXPECT_NEAR(leo[0], 2455034.5 + (16 + 34 / 60.0) / 24, 0.5 / 24);
      EXPECT_EQ(sunAt(0).size(), 1u);  // the equinox, counted once across the wrap
    } else {
      EXPECT_EQ(sunAt(15.5).size(), 8u);
      EXPECT_EQ(sunAt(0).size(), 8u);
    }
  }
}

// A year from 1 January: twelve month ticks, the first a labelled year, no day
// lines; a fifty-year chart keeps the years and thins their labels; a month
// and a quarter get day lines at 0h UT, every one or every second one
// numbered at the default width (18 pixels a number). Dates: 1 Jan 2009 0h UT
// is JD 2454832.5 (Meeus, Astronomical Algorithms, ch. 7).
TEST(ChartTicks, MonthsYearsAndDays) {
  const ChartModel year = Build(360);
  ASSERT_EQ(year.ticks.size(), 12u);
  EXPECT_TRUE(year.ticks[0].yearStart && year.ticks[0].labelYear && year.ticks[0].labelMonth);
  EXPECT_EQ(year.ticks[6].month, 7);
  EXPECT_NEAR(year.ticks[6].x, year.XAt(2455013.5), 1e-9);  // 1 Jul 2009 0h UT
  EXPECT_EQ(year.marks.size() * 100 + year.signs.size(), 3712u);  // every 10 degrees; 12 signs
  EXPECT_TRUE(year.days.empty());
  const ChartModel decades = Build(45, {}, Series(1950, 1, 1, 1999, 12, 31, {kSaturn}));
  int years = 0, labelled = 0;
  for (const TimeTick& t : decades.ticks) years += t.yearStart, labelled += t.labelYear;
  EXPECT_EQ(years, 50);
  EXPECT_TRUE(labelled > 4 && labelled < 50) << labelled;
  EXPECT_FALSE(decades.ticks[1].labelMonth);
  for (auto [lastMonth, lastDay, count, every] : {std::tuple{1, 31, 31u, 1}, {3, 31, 90u, 2}}) {
    const ChartModel m = Build(360, {}, Series(2009, 1, 1, 2009, lastMonth, lastDay, {kSun}));
    ASSERT_EQ(m.days.size(), count);
    EXPECT_EQ(m.days[14].day * 100 + m.days.back().day, 1500 + lastDay);
    EXPECT_NEAR(m.days[14].x, m.XAt(2454832.5 + 14), 1e-9);
    for (const DayTick& d : m.days) EXPECT_EQ(d.label, d.day % every == 0) << d.day;
    const double gap = m.days[1].x - m.days[0].x;
    EXPECT_TRUE(every * gap >= 18 && (every == 1 || gap < 18)) << gap;
  }
}

// Unusable requests give an empty chart rather than a wrong one.
TEST(ChartModelInput, UnknownDialOrTooShortARangeGivesNothing) {
  EXPECT_TRUE(Build(100).segments.empty());
  EXPECT_TRUE(Build(0).segments.empty());
  EXPECT_TRUE(Build(360, {}, Series(2009, 1, 1, 2009, 1, 1)).segments.empty());
  EXPECT_TRUE(Build(360, {}, EphemerisSeries{}).segments.empty());
  EXPECT_EQ(Series(2009, 1, 2, 2009, 1, 1).jd.size(), 0u);
  EXPECT_EQ(NearestDay(Year2009(), 0), 0);
  EXPECT_EQ(NearestDay(Year2009(), 1e9), 364);
  EXPECT_EQ(NearestDay(Year2009(), 2454832.5 + 10.4), 10);
  EXPECT_EQ(DayText(2454836.5), "05 Jan 2009");
}

}  // namespace
}  // namespace novastra::chart::test
