#pragma once
// Notes shown beside a run's results, never inside them: the limits of the
// series over the run's days.
#include <string>
#include <vector>

#include "app/run_calendar.h"
#include "app/run_parameters.h"

namespace novastra {

// 0h UT of the first and of the last day of the run that started at
// cal.StartJD with these parameters (a full month ends before the next
// month's day 1).
struct RunDays {
  double firstJD = 0, lastJD = 0;
};
RunDays RunDaysOf(const RunParameters& params, const CalendarState& cal);

// The notes for the run's days: Pluto's messages when they reach outside
// 1885-2099, else none.
std::vector<std::string> RunNotes(const RunParameters& params, const CalendarState& cal);

}  // namespace novastra
