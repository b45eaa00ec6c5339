#include "app/run_calendar.h"

#include "astro/calendar.h"

namespace novastra {

bool StartDateTextsAreNumbers(const RunParameters& params) {
  return IsNumberText(params.StartMonth) && IsNumberText(params.StartDay) &&
         IsNumberText(params.StartYear);
}

void PrepareRunStart(RunParameters& params, CalendarState& cal) {
  // A whole string, not the literal: g++ 12 reports a false -Wrestrict on
  // assigning a short literal here in Release builds (GCC bug 105329).
  if (params.FullMonth) params.StartDay = std::string("1");
  int16_t day = DateFieldValue(params.StartDay);
  int16_t year = DateFieldValue(params.StartYear);
  int16_t month = DateFieldValue(params.StartMonth);
  cal.StartDateText = params.StartMonth + "/" + params.StartDay + "/" + params.StartYear;
  cal.InstantLabel = params.Instant == InstantChoice::Noon ? "noon" : "midnight";
  cal.StartJD = JulianDayNumber(year, month, day);
  cal.DisplayJD = cal.StartJD;
  if (params.Instant == InstantChoice::Midnight) cal.DisplayJD = cal.StartJD - 0.5;
}

int FullMonthDays(double startJD) {
  for (int d = 28; d <= 31; ++d)
    if (ParseDateText(DateTextFromJulianDay(startJD + d)).day == 1) return d;
  return 32;
}

void SetDayFraction(CalendarState& cal) { cal.DayFraction = cal.NoonFlag == 1 ? 0.5 : 0; }

}  // namespace novastra
