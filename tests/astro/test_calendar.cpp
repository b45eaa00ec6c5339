#include <gtest/gtest.h>

#include <string>

#include "app/run_calendar.h"
#include "astro/calendar.h"

namespace novastra {
namespace {

TEST(Calendar, JulianDayNumberOfKnownDates) {
  const double cases[][4] = {
      {2000, 1, 1, 2451545},   {1800, 1, 1, 2378497},   {2100, 12, 31, 2488434},  // accepted years
      {2009, 1, 1, 2454833},   {1957, 10, 4, 2436116},   // Sputnik 1 (Meeus, example 7.a)
      {1582, 10, 4, 2299160},  {1582, 10, 15, 2299171},  // Julian branch; no correction at 2299171
      {1582, 10, 16, 2299162}, {2000, 4, 31, 2451666},   // 31 April rolls into 1 May
      {1900, 2, 29, 2415080},  {1900, 3, 1, 2415080},    // no 29 February 1900
      {2000, 2, 29, 2451604},  {2000, 3, 1, 2451605},
  };
  for (const auto& c : cases)
    EXPECT_EQ(JulianDayNumber(c[0], c[1], c[2]), c[3]) << c[1] << "/" << c[2] << "/" << c[0];
}

TEST(Calendar, DateTextFromJulianDay) {
  struct Case {
    double jd;
    const char* text;
  } cases[] = {
      {2451545, "01/01/2000"},   {2451544.5, "01/01/2000"}, {2451544.4, "12/31/1999"},
      {2451545.5, "01/02/2000"}, {2378497, "01/01/1800"},   {2488434, "12/31/2100"},
      {2415080, "03/01/1900"},   {2299161, "10/15/1582"},
  };
  for (const Case& c : cases) EXPECT_EQ(DateTextFromJulianDay(c.jd), c.text) << std::fixed << c.jd;
  for (double jd = 2378497; jd <= 2488434; jd += 1) {
    const CivilDate d = ParseDateText(DateTextFromJulianDay(jd));
    ASSERT_EQ(JulianDayNumber(d.year, d.month, d.day), jd);
  }
}

TEST(Calendar, ParseDateText) {
  const auto d = TryParseDateText(" 4 / 31 / 2000 ");
  ASSERT_TRUE(d);
  EXPECT_EQ(d->year * 10000 + d->month * 100 + d->day, 20000431);
  for (const char* bad : {"1/5", "1/5/2000/3", "a/5/2000", "1//2000", "-1/5/2000", ""})
    EXPECT_FALSE(TryParseDateText(bad)) << bad;
}

TEST(Calendar, EnglishFormats) {
  // Day-month, day-month-year, weekday name and number (1 = Sunday), mmddyy, mmddyyyy.
  const char* cases[][2] = {
      {"01/01/2000", "01 Jan|01 Jan 2000|Saturday|7|010100|01012000"},
      {"2/29/2000", "29 Feb|29 Feb 2000|Tuesday|3|022900|02292000"},
      {"01/04/2009", "04 Jan|04 Jan 2009|Sunday|1|010409|01042009"},
      {"4/31/2000", "01 May|01 May 2000|Monday|2|050100|05012000"},
  };
  for (const auto& [t, want] : cases)
    EXPECT_EQ(FormatDdMmm(t) + "|" + FormatDdMmmYyyy(t) + "|" + FormatWeekdayName(t) + "|" +
                  std::to_string(WeekdayNumber(t)) + "|" + FormatMmddyy(t) + "|" +
                  FormatMmddyyyy(t),
              want);
}

TEST(Calendar, PrepareRunStart) {
  struct Case {
    const char *m, *d, *y;
    bool fullMonth;
    InstantChoice instant;
    const char *startText, *label;
    double startJD, displayJD;
    const char* firstRow;
  } cases[] = {
      // January 2009 at midnight: day forced to 1, "Julian Day = 2454832.5".
      {"1", "17", "2009", true, InstantChoice::Midnight, "1/1/2009", "midnight", 2454833, 2454832.5,
       "01/01/2009"},
      {"4", "31", "2000", false, InstantChoice::Noon, "4/31/2000", "noon", 2451666, 2451666,
       "05/01/2000"},
      {"02", "029", "1900", false, InstantChoice::Midnight, "02/029/1900", "midnight", 2415080,
       2415079.5, "03/01/1900"},
  };
  for (const Case& c : cases) {
    RunParameters p;
    p.StartMonth = c.m, p.StartDay = c.d, p.StartYear = c.y, p.FullMonth = c.fullMonth,
    p.Instant = c.instant;
    CalendarState cal;
    PrepareRunStart(p, cal);
    EXPECT_EQ(p.StartDay, c.fullMonth ? "1" : c.d);
    EXPECT_EQ(cal.StartDateText, c.startText);
    EXPECT_EQ(cal.InstantLabel, c.label) << c.startText;
    EXPECT_EQ(cal.StartJD, c.startJD) << c.startText;
    EXPECT_EQ(cal.DisplayJD, c.displayJD) << c.startText;
    EXPECT_EQ(DateTextFromJulianDay(cal.StartJD), c.firstRow) << c.startText;
    cal.NoonFlag = c.instant == InstantChoice::Noon;
    SetDayFraction(cal);
    EXPECT_EQ(cal.DayFraction, cal.NoonFlag ? 0.5 : 0.0);
  }
  // Pasted text that is not a number is detected, and still causes no crash:
  // the leading digits are used, as the input check reads them.
  RunParameters p;
  p.StartMonth = "1", p.StartDay = "5", p.StartYear = "2000", p.FullMonth = false;
  EXPECT_TRUE(StartDateTextsAreNumbers(p));
  p.StartYear = "20x0";
  EXPECT_FALSE(StartDateTextsAreNumbers(p));
  CalendarState cal;
  PrepareRunStart(p, cal);
  EXPECT_EQ(cal.StartJD, JulianDayNumber(20, 1, 5));
}

}  // namespace
}  // namespace novastra
