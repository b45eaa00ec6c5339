// The input check and the run read the start date fields alike: a field the
// check accepts is the date the run starts on. Found by fuzz/fuzz_date_fields:
// "+1999$" passed the check as 1999 but started the run in year 0
// ("12/30/-1").
#include <gtest/gtest.h>

#include "app/input_check.h"
#include "app/run_calendar.h"
#include "app/ui.h"
#include "astro/calendar.h"

namespace novastra {
namespace {

TEST(FieldAgreement, CheckedFieldsGiveTheDateTheCheckSaw) {
  struct Case {
    const char *month, *day, *year, *date;
  } cases[] = {
      {"1", "8", "+1999$", "01/08/1999"},
      {"+1", "+8", "+1999", "01/08/1999"},
      {" 12", "31 ", "2009", "12/31/2009"},
      {"6", "15", "2010", "06/15/2010"},
  };
  for (const Case& c : cases) {
    RunParameters p;
    p.StartMonth = c.month;
    p.StartDay = c.day;
    p.StartYear = c.year;
    p.FullMonth = false;
    SetDaysText(p, "31");
    HeadlessUi ui;
    ASSERT_TRUE(CheckRunInput(p, ui)) << c.year;
    CalendarState cal;
    PrepareRunStart(p, cal);
    EXPECT_EQ(DateTextFromJulianDay(cal.StartJD), c.date)
        << c.month << "/" << c.day << "/" << c.year;
  }
}

}  // namespace
}  // namespace novastra
