// The days a run covers, from which its notes are found: Pluto's series hold
// from 1885 Jan 1 to 2099 Dec 31 (Meeus, Astronomical Algorithms, ch. 37).
#include <gtest/gtest.h>

#include "app/run_notes.h"
#include "astro/calendar.h"
#include "astro/sky.h"

namespace novastra {
namespace {

TEST(RunNotes, DaysOfTheRunDecideThePlutoNotes) {
  const std::string before = kPlutoBeforeMessage, after = kPlutoAfterMessage;
  struct {
    int year, month, day, days;
    bool fullMonth;
    std::vector<std::string> want;
  } cases[] = {
      {2009, 1, 1, 30, false, {}},
      {1885, 1, 1, 1, false, {}},          // the first day that holds
      {1884, 12, 31, 1, false, {before}},  // the day before it
      {1884, 12, 31, 2, false, {before}},
      {1884, 12, 31, 366, false, {before}},
      {1800, 1, 1, 366, false, {before}},
      {2099, 12, 31, 1, false, {}},       // the last day that holds
      {2099, 12, 2, 30, false, {}},       // ends on it
      {2099, 12, 3, 30, false, {after}},  // one day past it
      {2100, 1, 1, 1, false, {after}},
      {2099, 12, 1, 1, true, {}},  // December 2099: 31 days
      {2100, 1, 1, 1, true, {after}},
      {1884, 12, 1, 1, true, {before}},
      {1885, 1, 1, 1, true, {}},
      // More than the window's 366 days cannot be asked for; taken as 366.
      {2098, 1, 1, 3000, false, {}},
  };
  for (const auto& c : cases) {
    RunParameters p;
    p.FullMonth = c.fullMonth;
    p.NumberOfDays = static_cast<int16_t>(c.days);
    CalendarState cal;
    cal.StartJD = JulianDayNumber(c.year, c.month, c.day);
    EXPECT_EQ(RunNotes(p, cal), c.want)
        << c.year << "-" << c.month << "-" << c.day << " +" << c.days;
  }
}

TEST(RunNotes, FirstAndLastDaysAtZeroHoursUniversalTime) {
  RunParameters p;
  p.FullMonth = true;
  CalendarState cal;
  cal.StartJD = JulianDayNumber(2009, 2, 1);  // February 2009: 28 days
  RunDays d = RunDaysOf(p, cal);
  EXPECT_EQ(d.firstJD, 2454863.5);  // 2009 Feb 1, 0h UT
  EXPECT_EQ(d.lastJD, 2454890.5);   // 2009 Feb 28
  p.FullMonth = false, p.NumberOfDays = 10;
  d = RunDaysOf(p, cal);
  EXPECT_EQ(d.lastJD - d.firstJD, 9);
}

}  // namespace
}  // namespace novastra
