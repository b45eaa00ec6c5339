// Refining a station to the minute, with made-up longitude curves.
#include <gtest/gtest.h>

#include <cmath>

#include "aspectarian/events.h"
#include "aspectarian/stations.h"
#include "astro/calendar.h"

namespace novastra {
namespace {

// A station found at hour hh of 15 March 2009.
StationRow Row(int hh, int glyph) {
  const double rowJD = JulianDayNumber(2009, 3, 15);
  const std::string hour = (hh < 10 ? "0" : "") + std::to_string(hh);
  return {"  03/15/2009" + hour + ":00  \xE1", (rowJD + 1 - 0.5 - 2451545) / 36525, 0, 3, glyph, rowJD, hh};
}

// Longitude as a function of the minute offset from the row's hour.
template <class F>
std::function<double(double)> ByMinute(const StationRow& row, F f) {
  const double t0 = row.timeT - ((24.0 - row.hour) / 24) / 36525;
  return [t0, f](double T) { return f(static_cast<int>(std::lround((T - t0) * 36525 * 1440))); };
}

TEST(StationRefinement, TimeAndDateOfTheReversal) {
  struct Case {
    int hh, glyph, turnMinute;  // the first minute that moves the new way
    int hour, minutes;
    const char* date;
  };
  const Case cases[] = {
      {0, kGlyphRetrograde, -20, 23, 40, "14 Mar 2009"},  // previous day
      {10, kGlyphRetrograde, -59, 9, 1, "15 Mar 2009"},
      {10, kGlyphDirect, 0, 10, 0, "15 Mar 2009"},
      {10, kGlyphDirect, 60, 10, 60, "15 Mar 2009"},      // ":60" stays
      {23, kGlyphRetrograde, 25, 23, 25, "15 Mar 2009"},
  };
  for (const Case& c : cases) {
    const StationRow row = Row(c.hh, c.glyph);
    const double dir = c.glyph == kGlyphRetrograde ? 1 : -1;  // before the turn
    auto lon = ByMinute(row, [&](int m) {
      return 100 + dir * 0.001 * (m < c.turnMinute ? m : 2 * (c.turnMinute - 1) - m);
    });
    const auto r = RefineStation(row, lon);
    ASSERT_TRUE(r) << c.hh << " " << c.turnMinute;
    EXPECT_EQ(r->hour, c.hour);
    EXPECT_EQ(r->minutes, c.minutes);
    EXPECT_EQ(FormatDdMmmYyyy(DateTextFromJulianDay(r->dayJD)), c.date);
  }
}

TEST(StationRefinement, NoReversalGivesNoLine) {
  const StationRow row = Row(5, kGlyphRetrograde);
  EXPECT_FALSE(RefineStation(row, ByMinute(row, [](int m) { return 100 + 0.001 * m; })));
  const StationRow direct = Row(5, kGlyphDirect);
  EXPECT_FALSE(RefineStation(direct, ByMinute(direct, [](int m) { return 100 - 0.001 * m; })));
}

TEST(StationRefinement, ZeroAriesWrap) {
  // Turning direct at the end of Pisces: the step forward across 0 Aries is a
  // drop of almost 360, which counts as forward motion.
  const StationRow direct = Row(5, kGlyphDirect);
  const auto r = RefineStation(direct, ByMinute(direct, [](int m) { return m < 10 ? 359.99 : 0.005; }));
  ASSERT_TRUE(r);
  EXPECT_EQ(r->minutes, 10);
  // Turning retrograde just after 0 Aries: the step back to 359.99 counts.
  const StationRow retro = Row(5, kGlyphRetrograde);
  const auto r2 = RefineStation(retro, ByMinute(retro, [](int m) { return m < -30 ? 0.001 * (m + 60) : 359.99; }));
  ASSERT_TRUE(r2);
  EXPECT_EQ(r2->hour, 4);
  EXPECT_EQ(r2->minutes, 30);
}

TEST(StationRefinement, LineText) {
  RefinedStation r;
  r.hour = 23;
  r.minutes = 40;
  r.dayJD = JulianDayNumber(2009, 3, 14);
  r.longitude = 67.625;  // 07 Gemini 37.5
  EXPECT_EQ(StationLine(3, r), "  Mercury - 14 Mar 2009 at 23:40, 07\xC2" "37.5\r\n");
  EXPECT_EQ(StationLine(10, r).substr(0, 12), "  Pluto   - ");
}

}  // namespace
}  // namespace novastra
