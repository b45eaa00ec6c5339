#include <gtest/gtest.h>

#include <string>

#include "astro/calendar.h"

using namespace novastra;

TEST(Calendar, JulianDayNumberOfKnownDates) {
  struct Case {
    double y, m, d, jdn;
  } cases[] = {
      {2000, 1, 1, 2451545},   // J2000.0
      {1800, 1, 1, 2378497},   // first year the Input window accepts
      {2100, 12, 31, 2488434}, // last day it accepts
      {2009, 1, 1, 2454833},   // January 2009 run
      {1957, 10, 4, 2436116},  // Sputnik 1 (Meeus, example 7.a)
      {1582, 10, 4, 2299160},  // Julian-calendar branch
      {1582, 10, 15, 2299171}, // day number exactly 2299171: no Gregorian correction
      {1582, 10, 16, 2299162}, // the first one past it is corrected
      {2000, 4, 31, 2451666},  // 31 April rolls into 1 May
      {2000, 5, 1, 2451666},
      {1900, 2, 29, 2415080},  // no 29 February 1900: it is 1 March
      {1900, 3, 1, 2415080},
      {2000, 2, 29, 2451604},  // 29 February 2000 exists
      {2000, 3, 1, 2451605},
  };
  for (const Case& c : cases)
    EXPECT_EQ(JulianDayNumber(c.y, c.m, c.d), c.jdn) << c.m << "/" << c.d << "/" << c.y;
}

TEST(Calendar, DateTextFromJulianDay) {
  struct Case {
    double jd;
    const char* text;
  } cases[] = {
      {2451545, "01/01/2000"},   {2451544.5, "01/01/2000"}, {2451544.4, "12/31/1999"},
      {2451545.49, "01/01/2000"}, {2451545.5, "01/02/2000"}, {2451549, "01/05/2000"},
      {2378497, "01/01/1800"},   {2488434, "12/31/2100"},   {2451666, "05/01/2000"},
      {2451604, "02/29/2000"},   {2415080, "03/01/1900"},   {2299161, "10/15/1582"},
      {2454832.5, "01/01/2009"},
  };
  for (const Case& c : cases) EXPECT_EQ(DateTextFromJulianDay(c.jd), c.text) << std::fixed << c.jd;
}

TEST(Calendar, RoundTripOverTheAcceptedYears) {
  for (double jd = JulianDayNumber(1800, 1, 1); jd <= JulianDayNumber(2100, 12, 31); jd += 1) {
    CivilDate d = ParseDateText(DateTextFromJulianDay(jd));
    ASSERT_EQ(JulianDayNumber(d.year, d.month, d.day), jd);
  }
}

TEST(Calendar, ParseDateText) {
  struct Case {
    const char* text;
    bool ok;
    int y, m, d;
  } cases[] = {
      {"1/5/2000", true, 2000, 1, 5},     {"01/05/2000", true, 2000, 1, 5},
      {"12/31/1999", true, 1999, 12, 31}, {" 4 / 31 / 2000 ", true, 2000, 4, 31},
      {"1/5", false, 0, 0, 0},            {"1/5/2000/3", false, 0, 0, 0},
      {"a/5/2000", false, 0, 0, 0},       {"1//2000", false, 0, 0, 0},
      {"-1/5/2000", false, 0, 0, 0},      {"", false, 0, 0, 0},
  };
  for (const Case& c : cases) {
    auto d = TryParseDateText(c.text);
    ASSERT_EQ(d.has_value(), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(d->year, c.y) << c.text;
      EXPECT_EQ(d->month, c.m) << c.text;
      EXPECT_EQ(d->day, c.d) << c.text;
    }
  }
}

TEST(Calendar, EnglishFormats) {
  struct Case {
    const char* text;
    const char* ddmmm;
    const char* ddmmmyyyy;
    const char* weekday;
    int w;
    const char* mmddyy;
    const char* mmddyyyy;
  } cases[] = {
      {"01/05/2009", "05 Jan", "05 Jan 2009", "Monday", 2, "010509", "01052009"},
      {"1/5/2000", "05 Jan", "05 Jan 2000", "Wednesday", 4, "010500", "01052000"},
      {"01/01/2000", "01 Jan", "01 Jan 2000", "Saturday", 7, "010100", "01012000"},
      {"02/29/2000", "29 Feb", "29 Feb 2000", "Tuesday", 3, "022900", "02292000"},
      {"10/04/1957", "04 Oct", "04 Oct 1957", "Friday", 6, "100457", "10041957"},
      {"12/31/2100", "31 Dec", "31 Dec 2100", "Friday", 6, "123100", "12312100"},
      {"01/04/2009", "04 Jan", "04 Jan 2009", "Sunday", 1, "010409", "01042009"},
      {"4/31/2000", "01 May", "01 May 2000", "Monday", 2, "050100", "05012000"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FormatDdMmm(c.text), c.ddmmm) << c.text;
    EXPECT_EQ(FormatDdMmmYyyy(c.text), c.ddmmmyyyy) << c.text;
    EXPECT_EQ(FormatWeekdayName(c.text), c.weekday) << c.text;
    EXPECT_EQ(WeekdayNumber(c.text), c.w) << c.text;
    EXPECT_EQ(FormatMmddyy(c.text), c.mmddyy) << c.text;
    EXPECT_EQ(FormatMmddyyyy(c.text), c.mmddyyyy) << c.text;
  }
}

TEST(Calendar, PrepareRunStart) {
  struct Case {
    const char* m;
    const char* d;
    const char* y;
    bool fullMonth;
    InstantChoice instant;
    const char* dayAfter;
    const char* startText;
    const char* label;
    double startJD, displayJD;
    const char* firstRow;
  } cases[] = {
      {"1", "17", "2009", true, InstantChoice::Midnight, "1", "1/1/2009", "midnight", 2454833, 2454832.5,
       "01/01/2009"},
      {"1", "5", "2000", false, InstantChoice::Noon, "5", "1/5/2000", "noon", 2451549, 2451549, "01/05/2000"},
      {"4", "31", "2000", false, InstantChoice::Noon, "31", "4/31/2000", "noon", 2451666, 2451666,
       "05/01/2000"},
      {"02", "29", "1900", false, InstantChoice::Midnight, "29", "02/29/1900", "midnight", 2415080,
       2415079.5, "03/01/1900"},
      {"12", "031", "2100", false, InstantChoice::Noon, "031", "12/031/2100", "noon", 2488434, 2488434,
       "12/31/2100"},
  };
  for (const Case& c : cases) {
    RunParameters p;
    p.StartMonth = c.m;
    p.StartDay = c.d;
    p.StartYear = c.y;
    p.FullMonth = c.fullMonth;
    p.Instant = c.instant;
    CalendarState cal;
    PrepareRunStart(p, cal);
    EXPECT_EQ(p.StartDay, c.dayAfter) << c.startText;
    EXPECT_EQ(cal.StartDateText, c.startText);
    EXPECT_EQ(cal.InstantLabel, c.label) << c.startText;
    EXPECT_EQ(cal.StartJD, c.startJD) << c.startText;
    EXPECT_EQ(cal.DisplayJD, c.displayJD) << c.startText;
    EXPECT_EQ(DateTextFromJulianDay(cal.StartJD), c.firstRow) << c.startText;
  }
}

TEST(Calendar, StartDateTextsThatAreNotNumbers) {
  RunParameters p;
  p.StartMonth = "1";
  p.StartDay = "5";
  p.StartYear = "2000";
  EXPECT_TRUE(StartDateTextsAreNumbers(p));
  p.StartYear = "20x0";
  EXPECT_FALSE(StartDateTextsAreNumbers(p));
  // Still no crash: the leading digits are used, as the input check reads them.
  p.FullMonth = false;
  CalendarState cal;
  PrepareRunStart(p, cal);
  EXPECT_EQ(cal.StartDateText, "1/5/20x0");
  EXPECT_EQ(cal.StartJD, JulianDayNumber(20, 1, 5));
}

TEST(Calendar, SetDayFraction) {
  CalendarState cal;
  cal.NoonFlag = 1;
  SetDayFraction(cal);
  EXPECT_EQ(cal.DayFraction, 0.5);
  cal.NoonFlag = 0;
  SetDayFraction(cal);
  EXPECT_EQ(cal.DayFraction, 0.0);
}
