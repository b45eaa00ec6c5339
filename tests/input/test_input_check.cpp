// The Input window's check of the start date and days fields, and the
// leading number read from option and settings texts.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>

#include "app/input_check.h"
#include "app/run_calendar.h"
#include "app/ui.h"
#include "astro/calendar.h"

namespace novastra {
namespace {

TEST(CheckRunInput, ShowsOneMessagePerFailingGroup) {
  struct {
    const char *month, *day, *year;
    int messages;
  } cases[] = {
      {"1", "1", "2009", 0},   {"4", "31", "2009", 0},  // day 31 in a 30-day month passes
      {"12", "31", "2100", 0},                          // upper bounds
      {"1", "1", "1800", 0},                            // lower bound of the year
      {"", "1", "2009", 2},                             // empty: zero and empty checks
      {"1", "", "2009", 2},    {"13", "1", "2009", 1},  // range
      {"1", "32", "2009", 1},  {"1", "1", "1799", 1},
      {"1", "1", "2101", 1},   {"0", "1", "2009", 1},  // zero only: 0 is not above 12
      {"0", "32", "2009", 2},                          // zero and range
      {"", "", "", 3},                                 // empty year is also below 1800
      {"-3", "1", "2009", 1},                          // a sign cannot reach a run
      {"1.5", "1", "2009", 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.month) + "/" + c.day + "/" + c.year);
    RunParameters p;
    p.StartMonth = c.month, p.StartDay = c.day, p.StartYear = c.year;
    HeadlessUi ui;
    EXPECT_EQ(CheckRunInput(p, ui), c.messages == 0);
    EXPECT_EQ(ui.CountMessages("Error in input data section. Please correct."), c.messages);
    ASSERT_EQ(ui.Messages().size(), static_cast<size_t>(c.messages));
    for (const auto& m : ui.Messages()) {
      EXPECT_EQ(m.title, "Warning!");
      EXPECT_EQ(m.icon, MessageIcon::Information);
    }
  }
}

TEST(LeadingNumber, ReadsTheLeadingDecimalNumber) {
  const std::pair<const char*, double> cases[] = {
      {"", 0},     {"abc", 0},       {"   60  text", 60}, {"7.75", 7.75}, {"-1", -1},
      {".5", 0.5}, {"12.5.3", 12.5}, {"1e5", 1},          {"3,5", 3},     {"  -", 0}};
  // Exact equality: the settings compare against 7.75.
  for (const auto& [text, value] : cases) EXPECT_EQ(LeadingNumber(text), value) << text;
  EXPECT_TRUE(std::isinf(LeadingNumber(std::string(400, '9'))));
  EXPECT_EQ(LeadingNumber("0." + std::string(400, '0') + "1"), 0);
}

TEST(SetDaysText, KeepsTheFieldWithinOneTo366) {
  struct {
    std::string typed, text;
    int days;
  } cases[] = {{"45", "45", 45},      {"400", "366", 366},
               {"", "1", 1},          {"0", "1", 1},
               {"366", "366", 366},   {"abc", "1", 1},
               {"99999", "366", 366}, {std::string(5000, '9'), "366", 366}};
  for (const auto& c : cases) {
    RunParameters p;
    SetDaysText(p, c.typed);
    EXPECT_EQ(p.DaysText, c.text) << c.typed.substr(0, 10);
    EXPECT_EQ(p.NumberOfDays, c.days) << c.typed.substr(0, 10);
  }
}

// The input check and the run read the start date fields alike: a field the
// check accepts is the date the run starts on. Found by fuzz/fuzz_date_fields:
// "+1999$" passed the check as 1999 but started the run in year 0 ("12/30/-1").
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
