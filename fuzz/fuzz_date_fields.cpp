// The Input window's date and day fields: any texts are checked without
// harm; a start date the check accepts gives a date text that reads back.
#include <cstdint>
#include <string>
#include <vector>

#include "app/input_check.h"
#include "app/run_calendar.h"
#include "app/ui.h"
#include "astro/calendar.h"
#include "fuzz_support.h"

using namespace novastra;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Fields separated by NUL bytes: month, day, year, days.
  std::vector<std::string> f(1);
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == 0)
      f.emplace_back();
    else
      f.back().push_back(static_cast<char>(data[i]));
  }
  f.resize(4);
  RunParameters p;
  p.StartMonth = f[0];
  p.StartDay = f[1];
  p.StartYear = f[2];
  SetDaysText(p, f[3]);
  NOVASTRA_FUZZ_CHECK(p.NumberOfDays >= 1 && p.NumberOfDays <= 366);
  (void)LeadingNumber(f[0] + f[3]);
  (void)TryParseDateText(f[0] + "/" + f[1] + "/" + f[2]);
  HeadlessUi ui;
  if (!CheckRunInput(p, ui)) return 0;
  CalendarState cal;
  PrepareRunStart(p, cal);
  const std::string text = DateTextFromJulianDay(cal.StartJD);
  const auto back = TryParseDateText(text);
  NOVASTRA_FUZZ_CHECK(back.has_value());
  NOVASTRA_FUZZ_CHECK(back->month >= 1 && back->month <= 12 && back->day >= 1 && back->day <= 31);
  (void)FormatDdMmmYyyy(text);
  (void)FormatMmddyy(text);
  (void)WeekdayNumber(text);
  return 0;
}
