// The event finder on synthetic hourly samples, one rule at a time, and the
// refinement of a station to the minute on made-up longitude curves.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include "astro/calendar.h"
#include "reports/events.h"
#include "reports/stations.h"
#include "text/aspectarian_text.h"
#include "text/glyphs.h"

namespace novastra {
namespace {

std::string G(int code) { return std::string(1, static_cast<char>(code)); }
const std::string kAt = "  15 Mar  05:30  ";  // most events below fall at this minute

// Every body still at its own degree within its segment and its own
// declination, so that no pair meets unless a test moves one.
HourSamples Still() {
  HourSamples s;
  for (int h = 0; h < kSamplesPerDay; ++h) {
    s.first[0][h] = s.second[0][h] = h;
    for (int b = 1; b <= 11; ++b)
      s.first[b][h] = 30 * (b - 1) + 2.5 * b + 0.3, s.second[b][h] = 2.0 * b + 0.5;
  }
  return s;
}
// Longitude lon0 + rate*h, kept in 0..360.
void Move(HourSamples& s, int body, double lon0, double rate) {
  for (int h = 0; h < kSamplesPerDay; ++h) s.first[body][h] = std::fmod(lon0 + rate * h + 720, 360);
}
// Mercury moving 0.01 an hour (backwards when sign is -1) until hour `turn`, then the other way.
void MercuryTurns(HourSamples& s, int turn, double sign = 1) {
  for (int h = 0; h < kSamplesPerDay; ++h)
    s.first[3][h] = 100 + sign * 0.01 * (h <= turn ? h : 2 * turn - h);
}
InitialDirections AllDirect() {
  InitialDirections d;
  d.flag.fill(1);
  return d;
}
const double kDayJD = JulianDayNumber(2009, 3, 15);
std::vector<std::string> Lines(const std::vector<Event>& events,
                               Coordinates coords = Coordinates::Geocentric) {
  std::vector<std::string> lines;
  for (const Event& e : events) lines.push_back(EventLine(e, coords));
  return lines;
}
std::vector<std::string> Events(const HourSamples& s, EventChoices c = {}) {
  InitialDirections d = AllDirect();
  return Lines(FindDayEvents(s, kDayJD, c, d), c.coords);
}
std::vector<Event> Stations(const std::vector<Event>& events) {
  std::vector<Event> out;
  for (const Event& e : events)
    if (e.kind == EventKind::Station) out.push_back(e);
  return out;
}
bool Has(const std::vector<std::string>& lines, const std::string& text) {
  return std::any_of(lines.begin(), lines.end(),
                     [&](const auto& l) { return l.find(text) != std::string::npos; });
}

// Events sort by hour and the minute shown, read back as two characters.
TEST(DayAssembly, ShownMinuteKey) {
  for (auto [m, key] :
       {std::pair{59.5, 60}, {59.49, 59}, {-0.4, 0}, {-0.5, 0}, {-12.0, -1}, {123.0, 12}, {7.0, 7}})
    EXPECT_EQ(ShownMinuteKey(m), key) << m;
}

TEST(Aspects, TypeBySeparationWithExclusiveBounds) {
  // Separation and aspect (0 none, 1 conjunction, 2 sextile, 3 square, 4 trine,
  // 5 opposition): orbs of less than one degree, 30 and 150 not aspects.
  for (auto [x, type] : {std::pair{0.0, 1}, {0.99, 1}, {1.0, 0}, {59.0, 0}, {59.5, 2}, {60.5, 2},
                         {61.0, 0}, {89.2, 3}, {119.5, 4}, {120.9, 4}, {179.1, 5}, {180.0, 5},
                         {30.0, 0}, {150.0, 0}, {181.0, 0}})
    EXPECT_EQ(AspectTypeOf(x), type) << x;
  // In a day: the Moon reaching Mars + 30, + 150 or + 60 at 05:30; only the sextile is listed.
  for (auto [sep, listed] : {std::pair{30.0, false}, {150.0, false}, {60.0, true}}) {
    HourSamples s = Still();
    Move(s, 5, 100.0, 0);
    Move(s, 2, 100.0 + sep - 2.75, 0.5);
    const auto lines = Events(s);
    EXPECT_EQ(Has(lines, kAt + G(233) + G(162) + G(227)), listed) << sep;
    for (int a : {161, 163, 164, 165}) EXPECT_FALSE(Has(lines, G(233) + G(a) + G(227))) << sep;
  }
}

// Moon (i = 2, usually the faster) against Mars (j = 5), meeting near the
// start of Gemini during hour 5, each case taking another row of the wrap table.
TEST(Aspects, SegmentWrapRows) {
  struct Case {
    int row;
    double moonAt5, moonRate, marsAt5, marsRate;
    const char* time;
  } cases[] = {
      {4, 59.8, 0.5, 60.05, 0.0, "05:30"},     // F crosses, S already past
      {1, 59.8, 0.5, 59.92, 0.1, "05:18"},     // both cross
      {3, 59.8, 0.5, 59.9, 0.05, "05:13"},     // F crosses, S before
      {8, 59.4, 0.5, 60.1, -0.5, "05:42"},     // S backs across
      {6, 60.25, -0.5, 60.05, -0.1, "05:30"},  // both back across
  };
  for (const Case& c : cases) {
    HourSamples s = Still();
    Move(s, 2, c.moonAt5 - 5 * c.moonRate, c.moonRate);
    Move(s, 5, c.marsAt5 - 5 * c.marsRate, c.marsRate);
    EXPECT_TRUE(
        Has(Events(s), "  15 Mar  " + std::string(c.time) + "  " + G(233) + G(161) + G(227)))
        << "row " << c.row;
  }
}

// The eclipse limits pinned on both sides: the Moon at 350 (as above), the
// node placed 0.0005 degree inside or outside each bound of the distance
// Moon - node (solar 18.5167, 161.4833, 198.5167, 341.4833; lunar 12.25,
// 167.75, 192.25, 347.75).
TEST(Lunations, EclipseLimitsOnBothSides) {
  struct Case {
    bool solar;
    double bound;
    int inside;
  } cases[] = {
      {true, 18.5167, -1}, {true, 161.4833, +1}, {true, 198.5167, -1}, {true, 341.4833, +1},
      {false, 12.25, -1},  {false, 167.75, +1},  {false, 192.25, -1},  {false, 347.75, +1},
  };
  for (const Case& c : cases) {
    for (const bool in : {true, false}) {
      const double distance = c.bound + (in ? c.inside : -c.inside) * 0.0005;
      HourSamples s = Still();
      Move(s, 1, c.solar ? 350 : 170, 0);
      Move(s, 2, 350 - 2.75, 0.5);
      Move(s, 11, 350 - distance, 0);
      InitialDirections d = AllDirect();
      Eclipse found = Eclipse::None;
      for (const Event& e : FindDayEvents(s, kDayJD, {}, d))
        if (e.kind == EventKind::Lunation) found = e.eclipse;
      EXPECT_EQ(found, in ? (c.solar ? Eclipse::Solar : Eclipse::Lunar) : Eclipse::None)
          << (c.solar ? "solar " : "lunar ") << distance;
    }
  }
}

TEST(Ingresses, MoonFiltersAndPlanetIngress) {
  const std::string intoTaurus = kAt + G(233) + "  " + G(193) + " - Moon ingress";
  const std::string intoCancer = kAt + G(233) + "  " + G(195) + " - Moon ingress";
  const std::string venusIngress = kAt + G(226) + "  " + G(196) + " - planet ingress";
  auto day = [](double moonAt5) {  // the Moon and Venus (into Leo) cross a boundary at 05:30
    HourSamples s = Still();
    Move(s, 2, moonAt5 - 2.5, 0.5);
    Move(s, 4, 119.5 - 5.0, 1.0);
    return s;
  };
  EXPECT_TRUE(Has(Events(day(29.75)), intoTaurus) && Has(Events(day(29.75)), venusIngress));
  // Option 12: only into Aries, Cancer, Libra and Capricorn.
  EXPECT_FALSE(Has(Events(day(29.75), {.option12 = 1}), intoTaurus));
  EXPECT_TRUE(Has(Events(day(89.75), {.option12 = 1}), intoCancer));
  const auto noMoon = Events(day(89.75), {.moonSign = MoonChangeSign::NoDisplay});
  EXPECT_TRUE(!Has(noMoon, "Moon ingress") && Has(noMoon, venusIngress));
  // Only the Moon's ingresses: everything else of the day is gone.
  EXPECT_EQ(Events(day(89.75), {.moonChangeOnly = true}), std::vector<std::string>{intoCancer});

  // Once per body and day, never for the node.
  HourSamples s = Still();
  Move(s, 11, 30.2, -0.05);   // the node backs out of Taurus
  Move(s, 7, 359.905, 0.01);  // Saturn across 0 Aries at 09:30
  const auto lines = Events(s);
  EXPECT_EQ(std::count(lines.begin(), lines.end(),
                       "  15 Mar  09:30  " + G(229) + "  " + G(192) + " - planet ingress"),
            1);
  EXPECT_FALSE(Has(lines, G(234) + "  "));
}

// The Moon at 0.5 deg an hour reaches 30 deg (Taurus) at 23:59:40, which rounds
// to 24:00: with carry it is listed as 00:00 of the next day, at the head of that
// day's list, after an event of 00:05 found there (after the last day, in a list
// of its own); without carry it stays as 23:60.
TEST(Ingresses, AnEventRoundingTo2400JoinsTheNextDaysList) {
  const std::string ingress = G(233) + "  " + G(193) + " - Moon ingress";
  for (auto [y, m, d, next] : {std::tuple{2009, 3, 15, "16 Mar"}, {2008, 12, 31, "01 Jan"}}) {
    const double dayJD = JulianDayNumber(y, m, d);
    const std::string carried = "  " + std::string(next) + "  00:00  " + ingress;
    HourSamples s = Still();
    Move(s, 2, 30 - 0.5 * (23 + 59 / 60.0 + 40 / 3600.0), 0.5);
    InitialDirections dirs = AllDirect();
    AspectarianReport report;
    report.startJD = dayJD;
    report.events = FindDayEvents(s, dayJD, {}, dirs);
    const auto found = std::find_if(report.events.begin(), report.events.end(),
                                    [](const Event& e) { return e.kind == EventKind::Ingress; });
    ASSERT_NE(found, report.events.end());
    EXPECT_EQ(EventLine(*found, Coordinates::Geocentric).substr(8, 7), "  23:60");
    EXPECT_EQ(ListedDay(*found, true), dayJD + 1);
    Event early;
    early.kind = EventKind::Aspect, early.body = 1, early.other = 3, early.aspect = 1;
    early.dayJD = dayJD + 1, early.hour = 0, early.minutes = 5;
    report.events.push_back(early);
    const HeaderInfo info{"Tropical ", "03/15/2009", "midnight", dayJD - 0.5};
    for (int days : {2, 1}) {
      report.dayCount = days;
      const auto lines = AspectarianLines(report, info, Coordinates::Geocentric, true);
      const auto at = std::find(lines.begin(), lines.end(), carried);
      ASSERT_NE(at, lines.end()) << y << " " << days;
      EXPECT_EQ(
          std::count_if(lines.begin(), lines.end(),
                        [](const std::string& l) { return l.find("Moon ingress") != l.npos; }),
          1);
      if (days == 2) {
        EXPECT_EQ(at[1].substr(0, 17), "          00:05  ");  // date shown once
      } else {
        EXPECT_EQ(at + 2, lines.end());  // a list of its own, then its blank line
      }
    }
  }
}

TEST(Stations, TurnAndCarryDirectionToTheNextDay) {
  HourSamples s = Still();
  MercuryTurns(s, 10);
  InitialDirections dirs = AllDirect();
  EventChoices c;
  std::vector<Event> day = FindDayEvents(s, kDayJD, c, dirs);
  EXPECT_TRUE(Has(Lines(day), "  15 Mar  10:00  " + G(225) + "  " + G(156) + " +/- up to 1 hour"));
  ASSERT_EQ(Stations(day).size(), 1u);
  EXPECT_EQ(std::tie(Stations(day)[0].body, Stations(day)[0].hour), std::make_tuple(3, 10));
  EXPECT_EQ(Stations(day)[0].direction, Direction::Retrograde);
  EXPECT_DOUBLE_EQ(Stations(day)[0].jd, kDayJD - 0.5 + 10.0 / 24);
  EXPECT_EQ(dirs.flag[3], 0);
  // Still retrograde the next day: nothing. Then it turns direct.
  Move(s, 3, 99.0, -0.01);
  EXPECT_TRUE(Stations(FindDayEvents(s, kDayJD, c, dirs)).empty());
  MercuryTurns(s, 3, -1);
  day = FindDayEvents(s, kDayJD, c, dirs);
  EXPECT_TRUE(Has(Lines(day), "  15 Mar  03:00  " + G(225) + "  " + G(171) + " +/- up to 1 hour"));
  EXPECT_EQ(dirs.flag[3], 1);
  // With only Moon ingresses listed the direction still flips, silently.
  c.moonChangeOnly = true;
  Move(s, 3, 99.0, -0.01);
  day = FindDayEvents(s, kDayJD, c, dirs);
  EXPECT_TRUE(day.empty());
  EXPECT_EQ(dirs.flag[3], 0);
}

TEST(Parallels, LimitUsesTheMotionInLongitude) {
  // The Moon's declination passes 11 at 05:30; the interpolated value moves by
  // the Moon's motion in longitude, so a fast Moon misses the 0.5 limit.
  // At 05:30 the Moon's value is 10.9 + rate / 2: rate 1.1 leaves 0.45 to Mars (listed), 1.3 leaves
  // 0.55 (not).
  const int p = kGlyphParallel, c = kGlyphContraparallel;
  for (auto [marsDecl, moonRate, glyph, listed] :
       {std::tuple{11.0, 0.5, p, true}, {-11.0, 0.5, c, true}, {11.0, 2.0, p, false},
        {11.0, 1.1, p, true}, {11.0, 1.3, p, false}, {-11.0, 1.1, c, true}, {-11.0, 1.3, c, false}}) {
    HourSamples s = Still();
    Move(s, 2, 200.0, moonRate);
    for (int h = 0; h < kSamplesPerDay; ++h)
      s.second[2][h] = 9.9 + 0.2 * h, s.second[5][h] = marsDecl;
    EXPECT_EQ(Has(Events(s), kAt + G(233) + G(glyph) + G(227)), listed)
        << marsDecl << " " << moonRate;
  }
}

TEST(Heliocentric, NoMoonNoLunationsNoStations) {
  HourSamples s = Still();
  Move(s, 1, 320, 0);
  Move(s, 2, 317.25, 0.5);  // would make a New Moon
  MercuryTurns(s, 10);
  Move(s, 4, 20 - 5.5 * 0.2, 0.2);  // Venus 60 from the Earth at 05:30
  InitialDirections dirs = AllDirect();
  const std::vector<Event> events =
      FindDayEvents(s, kDayJD, {.coords = Coordinates::Heliocentric}, dirs);
  const std::vector<std::string> day = Lines(events, Coordinates::Heliocentric);
  EXPECT_TRUE(Stations(events).empty());
  EXPECT_EQ(dirs.flag[3], 1);
  EXPECT_FALSE(Has(day, G(233)) || Has(day, "Moon") || Has(day, G(224)));
  EXPECT_TRUE(Has(day, kAt + G(236) + G(162) + G(226)));
}

// A station found at hour hh of 15 March 2009, and a longitude curve by minute offset from that
// hour.
Event Row(int hh, int glyph) {
  Event e;
  e.kind = EventKind::Station;
  e.body = 3;
  e.direction = glyph == kGlyphRetrograde ? Direction::Retrograde : Direction::Direct;
  e.dayJD = kDayJD;
  e.hour = hh;
  return e;
}
template <class F>
std::optional<Station> Refine(const Event& row, F byMinute) {
  const double timeT = (row.dayJD + 1 - 0.5 - 2451545) / 36525;  // 0h UT of the next day
  const double t0 = timeT - ((24.0 - row.hour) / 24) / 36525;
  return RefineStation(row, [&](double T) {
    return byMinute(static_cast<int>(std::lround((T - t0) * 36525 * 1440)));
  });
}

// The first minute (from 60 before the hour to 60 after) that moves the new
// way is the station; 60 after stays ":60"; the jump of almost 360 across
// 0 Aries is motion the old way; without a reversal there is no station.
TEST(StationRefinement, TheFirstMinuteMovingTheNewWay) {
  struct Case {
    int hh, glyph;
    double (*byMinute)(int);
    int hour, minutes;  // -1: none found
  } cases[] = {
      {10, kGlyphRetrograde, [](int m) { return 100 + 0.001 * (m < -59 ? m : -120 - m); }, 9, 1},
      {10, kGlyphDirect, [](int m) { return 100 - 0.001 * (m < 60 ? m : 118 - m); }, 10, 60},
      {5, kGlyphRetrograde, [](int m) { return 100 + 0.001 * m; }, -1, -1},
      {5, kGlyphDirect, [](int m) { return 100 - 0.001 * m; }, -1, -1},
      {5, kGlyphDirect, [](int m) { return m < 10 ? 359.99 : 0.005; }, 5, 10},
      {5, kGlyphRetrograde, [](int m) { return m < -30 ? 0.001 * (m + 60) : 359.99; }, 4, 30},
  };
  for (const Case& c : cases) {
    const auto r = Refine(Row(c.hh, c.glyph), c.byMinute);
    EXPECT_EQ(r ? std::make_tuple(r->hour, r->minutes, r->dayJD) : std::make_tuple(-1, -1, 0.0),
              std::make_tuple(c.hour, c.minutes, r ? kDayJD : 0.0))
        << c.hh << " " << c.glyph << " " << c.minutes;
  }
}

}  // namespace
}  // namespace novastra
