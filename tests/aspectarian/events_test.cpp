// The event finder on synthetic hourly samples, one rule at a time.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include "aspectarian/events.h"

namespace novastra {
namespace {

const std::string kDate = "03/15/2009";  // "15 Mar"

std::string G(int code) { return std::string(1, static_cast<char>(code)); }

// Every body still, each at its own degree within its segment and its own
// declination, so that no pair meets unless a test moves one.
HourSamples Still() {
  HourSamples s;
  for (int h = 0; h < kSamplesPerDay; ++h) {
    s.first[0][h] = s.second[0][h] = h;
    for (int b = 1; b <= 11; ++b) {
      s.first[b][h] = 30 * (b - 1) + 2.5 * b + 0.3;
      s.second[b][h] = 2.0 * b + 0.5;
    }
  }
  return s;
}

// Longitude lon0 + rate*h (kept in 0..360); declination likewise, unwrapped.
void Move(HourSamples& s, int body, double lon0, double rate) {
  for (int h = 0; h < kSamplesPerDay; ++h) s.first[body][h] = std::fmod(lon0 + rate * h + 720, 360);
}
void MoveDecl(HourSamples& s, int body, double dec0, double rate) {
  for (int h = 0; h < kSamplesPerDay; ++h) s.second[body][h] = dec0 + rate * h;
}
// Mercury rising 0.01 an hour until hour `turn`, then falling.
void MercuryTurns(HourSamples& s, int turn, double sign = 1) {
  for (int h = 0; h < kSamplesPerDay; ++h) s.first[3][h] = 100 + sign * 0.01 * (h <= turn ? h : 2 * turn - h);
}

InitialDirections AllDirect() {
  InitialDirections d;
  d.flag.fill(1);
  return d;
}

std::vector<std::string> Events(const HourSamples& s, EventChoices c = {}) {
  InitialDirections d = AllDirect();
  return FindDayEvents(s, kDate, c, d).lines;
}

bool Has(const std::vector<std::string>& lines, const std::string& text) {
  return std::any_of(lines.begin(), lines.end(), [&](const auto& l) { return l.find(text) != std::string::npos; });
}

// ---- sorting and assembling a day ----

TEST(DayAssembly, ExchangeSortByHourThenMinute) {
  std::vector<std::string> lines = {
      "  15 Mar  10:00  A", "  15 Mar  09:59  B", "  15 Mar  10:00  C", "  15 Mar  09:59  D",
      "  15 Mar  00:05  E"};
  SortDayEvents(lines);
  // Ties keep the order the exchange sort leaves them in, not the input order.
  // Worked by hand: i = 0 takes B then E forward, i = 1 takes D, i = 2 takes B.
  const std::vector<std::string> want = {"  15 Mar  00:05  E", "  15 Mar  09:59  D",
                                         "  15 Mar  09:59  B", "  15 Mar  10:00  A",
                                         "  15 Mar  10:00  C"};
  EXPECT_EQ(lines, want);
}

TEST(DayAssembly, DateOnceAndBlankLineAfterEveryDay) {
  std::vector<std::string> out;
  AppendDay(out, {"  15 Mar  01:00  x", "  15 Mar  02:00  y"});
  AppendDay(out, {});
  const std::vector<std::string> want = {"  15 Mar  01:00  x", "          02:00  y", "", ""};
  EXPECT_EQ(out, want);
}

TEST(DayAssembly, TwoColumnsPadByKindOfLine) {
  std::vector<std::string> lines = {"", "  t", "  jd", "", "  Day      h  m", "  -------------"};
  const std::string ingress = "  15 Mar  01:00  " + G(233) + "  " + G(193) + " - Moon ingress";
  const std::string lunation = "          02:00  " + G(224) + G(161) + G(233) + " - (New Moon, x)";
  const std::string aspect = "          03:00  " + G(225) + G(163) + G(227);
  const std::string x = "          09:00  x";
  for (const auto& l : {ingress, std::string(), lunation, aspect, x, x, x, x, std::string()}) lines.push_back(l);
  // 9 rows: 4 on the left, 4 on the right, the closing blank line left out.
  const auto out = TwoColumnLines(lines);
  const std::vector<std::string> want = {
      "", "  t", "  jd", "",
      "  Day      h  m" + std::string(49, ' ') + "  Day      h  m",
      "  -------------" + std::string(49, ' ') + "  -------------",
      ingress + std::string(62 - ingress.size(), ' ') + x,
      std::string(64, ' ') + x,
      lunation + std::string(60 - lunation.size(), ' ') + x,
      aspect + std::string(61 - aspect.size(), ' ') + x};
  EXPECT_EQ(out, want);
}

// ---- aspects ----

TEST(Aspects, TypeBySeparationWithExclusiveBounds) {
  struct Case { double x; int type; };
  for (auto [x, type] : {Case{0.0, 1}, {0.99, 1}, {1.0, 0}, {59.0, 0}, {59.5, 2}, {60.5, 2},
                         {61.0, 0}, {89.2, 3}, {119.5, 4}, {120.9, 4}, {179.1, 5}, {180.0, 5},
                         {30.0, 0}, {150.0, 0}, {181.0, 0}})
    EXPECT_EQ(AspectTypeOf(x), type) << x;
}

// Moon (i = 2, usually the faster) against Mars (j = 5), meeting near the
// start of Gemini during hour 5, each case taking another row of the wrap table.
TEST(Aspects, SegmentWrapRows) {
  struct Case {
    const char* row;
    double moonAt5, moonRate, marsAt5, marsRate;
    const char* time;
  };
  const Case cases[] = {
      {"4: F crosses, S already past", 59.8, 0.5, 60.05, 0.0, "05:30"},
      {"1: both cross", 59.8, 0.5, 59.92, 0.1, "05:18"},
      {"3: F crosses, S before", 59.8, 0.5, 59.9, 0.05, "05:13"},
      {"8: S backs across", 59.4, 0.5, 60.1, -0.5, "05:42"},
      {"6: both back across", 60.25, -0.5, 60.05, -0.1, "05:30"},
  };
  for (const Case& c : cases) {
    HourSamples s = Still();
    Move(s, 2, c.moonAt5 - 5 * c.moonRate, c.moonRate);
    Move(s, 5, c.marsAt5 - 5 * c.marsRate, c.marsRate);
    const auto lines = Events(s);
    EXPECT_TRUE(Has(lines, "  15 Mar  " + std::string(c.time) + "  " + G(233) + G(161) + G(227)))
        << "row " << c.row;
  }
}

TEST(Aspects, ThirtyAndHundredFiftyGiveNothing) {
  for (double sep : {30.0, 150.0}) {
    HourSamples s = Still();
    Move(s, 5, 100.0, 0);
    Move(s, 2, 100.0 + sep - 2.75, 0.5);  // meets the separation at 05:30
    for (const auto& l : Events(s))
      for (int a = 161; a <= 165; ++a)
        EXPECT_EQ(l.find(G(233) + G(a) + G(227)), std::string::npos) << sep << ": " << l;
  }
  HourSamples s = Still();
  Move(s, 5, 100.0, 0);
  Move(s, 2, 160.0 - 2.75, 0.5);
  EXPECT_TRUE(Has(Events(s), "05:30  " + G(233) + G(162) + G(227)));  // 60 is a sextile
}

// ---- lunations and eclipses ----

// Sun still at sunLon, the Moon reaching moonLon at 05:30, the node still at node.
std::vector<std::string> Lunation(double sunLon, double moonLon, double node) {
  HourSamples s = Still();
  Move(s, 1, sunLon, 0);
  Move(s, 2, moonLon - 2.75, 0.5);
  Move(s, 11, node, 0);
  return Events(s);
}

TEST(Lunations, PositionTextAndEclipseLimits) {
  const std::string newMoon = "  15 Mar  05:30  " + G(224) + G(161) + G(233) + " - (New Moon, 20" + G(203) + "00.0)";
  struct Case { double node; bool eclipse; };
  // The Moon at 350: 15 from the node on either side, and 345 apart.
  for (auto [node, eclipse] : {Case{335, true}, {5, true}, {330, false}, {10, false}, {170, true}}) {
    const auto lines = Lunation(350, 350, node);
    const std::string with = newMoon + " - solar eclipse";
    EXPECT_EQ(Has(lines, with), eclipse) << node;
    EXPECT_TRUE(Has(lines, newMoon)) << node;
  }
  const std::string fullMoon = "  15 Mar  05:30  " + G(224) + G(165) + G(233) + " - (Full Moon, 20" + G(203) + "00.0)";
  for (auto [node, eclipse] : {Case{338, true}, {337, false}, {2, true}, {3, false}, {182, true}, {183, false}}) {
    const auto lines = Lunation(170, 350, node);
    EXPECT_EQ(Has(lines, fullMoon + " - lunar eclipse"), eclipse) << node;
    EXPECT_TRUE(Has(lines, fullMoon)) << node;
  }
  const auto quarter = Lunation(260, 350, 0);
  EXPECT_TRUE(Has(quarter, G(224) + G(163) + G(233) + " - (Quarter Moon, 20" + G(203) + "00.0)"));
  EXPECT_FALSE(Has(quarter, "eclipse"));
  const auto trine = Lunation(230, 350, 350);
  EXPECT_TRUE(Has(trine, G(224) + G(164) + G(233)));
  EXPECT_FALSE(Has(trine, "Moon,"));
}

// ---- ingresses and the Moon choices ----

TEST(Ingresses, MoonFiltersAndPlanetIngress) {
  const std::string intoTaurus = "  15 Mar  05:30  " + G(233) + "  " + G(193) + " - Moon ingress";
  const std::string intoCancer = "  15 Mar  05:30  " + G(233) + "  " + G(195) + " - Moon ingress";
  const std::string venusIngress = "  15 Mar  05:30  " + G(226) + "  " + G(196) + " - planet ingress";
  auto day = [](double moonAt5) {
    HourSamples s = Still();
    Move(s, 2, moonAt5 - 2.5, 0.5);   // reaches the boundary at 05:30
    Move(s, 4, 119.5 - 5.0, 1.0);    // Venus into Leo at 05:30
    return s;
  };
  EXPECT_TRUE(Has(Events(day(29.75)), intoTaurus));
  EXPECT_TRUE(Has(Events(day(29.75)), venusIngress));

  EXPECT_FALSE(Has(Events(day(29.75), {.option12 = 1}), intoTaurus));
  EXPECT_TRUE(Has(Events(day(89.75), {.option12 = 1}), intoCancer));

  const auto noMoon = Events(day(89.75), {.moonSign = MoonChangeSign::NoDisplay});
  EXPECT_FALSE(Has(noMoon, "Moon ingress"));
  EXPECT_TRUE(Has(noMoon, venusIngress));

  // Only the Moon's ingresses: everything else of the day is gone.
  EXPECT_EQ(Events(day(89.75), {.moonChangeOnly = true}), std::vector<std::string>{intoCancer});
}

TEST(Ingresses, OncePerBodyPerDayAndNeverTheNode) {
  HourSamples s = Still();
  Move(s, 11, 30.2, -0.05);  // the node backs out of Taurus
  Move(s, 7, 359.905, 0.01);  // Saturn across 0 Aries at 09:30
  int saturn = 0;
  for (const auto& l : Events(s)) {
    EXPECT_EQ(l.find(G(234) + "  "), std::string::npos) << l;
    saturn += l == "  15 Mar  09:30  " + G(229) + "  " + G(192) + " - planet ingress";
  }
  EXPECT_EQ(saturn, 1);
}

// ---- stations ----

TEST(Stations, TurnAndCarryDirectionToTheNextDay) {
  HourSamples s = Still();
  MercuryTurns(s, 10);
  InitialDirections dirs = AllDirect();
  EventChoices c;
  DayEvents day = FindDayEvents(s, kDate, c, dirs);
  EXPECT_TRUE(Has(day.lines, "  15 Mar  10:00  " + G(225) + "  " + G(156) + " +/- up to 1 hour"));
  ASSERT_EQ(day.stations.size(), 1u);
  EXPECT_EQ(std::tie(day.stations[0].body, day.stations[0].hour, day.stations[0].glyph), std::make_tuple(3, 10, 156));
  EXPECT_EQ(dirs.flag[3], 0);

  // Still retrograde the next day: nothing. Then it turns direct.
  Move(s, 3, 99.0, -0.01);
  EXPECT_TRUE(FindDayEvents(s, kDate, c, dirs).stations.empty());
  MercuryTurns(s, 3, -1);
  day = FindDayEvents(s, kDate, c, dirs);
  EXPECT_TRUE(Has(day.lines, "  15 Mar  03:00  " + G(225) + "  " + G(171) + " +/- up to 1 hour"));
  EXPECT_EQ(dirs.flag[3], 1);

  // With only Moon ingresses listed the direction still flips, silently.
  c.moonChangeOnly = true;
  dirs = AllDirect();
  Move(s, 3, 99.0, -0.01);
  day = FindDayEvents(s, kDate, c, dirs);
  EXPECT_TRUE(day.lines.empty());
  EXPECT_TRUE(day.stations.empty());
  EXPECT_EQ(dirs.flag[3], 0);
}

// ---- parallels ----

TEST(Parallels, LimitUsesTheMotionInLongitude) {
  struct Case { double marsDecl, moonRate; const char* glyph; bool listed; };
  // The Moon's declination passes 11 at 05:30; the interpolated value moves by
  // the Moon's motion in longitude, so a fast Moon misses the 0.5 limit.
  for (auto [marsDecl, moonRate, glyph, listed] :
       {Case{11.0, 0.5, "\xA6", true}, {-11.0, 0.5, "\xB1", true}, {11.0, 2.0, "\xA6", false}}) {
    HourSamples s = Still();
    Move(s, 2, 200.0, moonRate);
    MoveDecl(s, 2, 10.9 - 5 * 0.2, 0.2);
    MoveDecl(s, 5, marsDecl, 0);
    const auto lines = Events(s);
    EXPECT_EQ(Has(lines, "  15 Mar  05:30  " + G(233) + glyph + G(227)), listed) << marsDecl << " " << moonRate;
  }
}

// ---- heliocentric ----

TEST(Heliocentric, NoMoonNoLunationsNoStations) {
  HourSamples s = Still();
  Move(s, 1, 320, 0);
  Move(s, 2, 317.25, 0.5);  // would make a New Moon
  MercuryTurns(s, 10);
  Move(s, 4, 20 - 5.5 * 0.2, 0.2);  // Venus 60 from the Earth at 05:30
  InitialDirections dirs = AllDirect();
  const DayEvents day = FindDayEvents(s, kDate, {.coords = Coordinates::Heliocentric}, dirs);
  EXPECT_TRUE(day.stations.empty());
  EXPECT_EQ(dirs.flag[3], 1);
  EXPECT_FALSE(Has(day.lines, G(233)) || Has(day.lines, "Moon") || Has(day.lines, G(224)));
  EXPECT_TRUE(Has(day.lines, "05:30  " + G(236) + G(162) + G(226)));
}

}  // namespace
}  // namespace novastra
