#pragma once
// The calendar values of a run: its start date, instant and current row.
#include <cstdint>
#include <string>

#include "app/run_parameters.h"

namespace novastra {

// True when every start-date field of the parameters is a number that
// PrepareRunStart can convert (the window's key filter admits only digits, but
// pasted text can hold anything).
bool StartDateTextsAreNumbers(const RunParameters& params);

// The calendar and time values a run keeps between its steps.
struct CalendarState {
  double StartJD = 0;
  double DisplayJD = 0;
  double RowJD = 0;
  double DayFraction = 0;
  int16_t NoonFlag = 1;
  std::string RowDateText;
  std::string StartDateText;
  std::string InstantLabel;
};

// Start of a run: forces day "1" for a full month, fills StartDateText,
// InstantLabel, StartJD and DisplayJD from the (already checked) parameters.
void PrepareRunStart(RunParameters& params, CalendarState& cal);

// The days of the month that starts at startJD (noon Julian Day of its day 1):
// the first day 1 from the 28th day on ends it.
int FullMonthDays(double startJD);

// DayFraction = 0.5 when NoonFlag is 1, else 0.
void SetDayFraction(CalendarState& cal);

}  // namespace novastra
