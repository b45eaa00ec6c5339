#include "app/run_notes.h"

#include <algorithm>

#include "astro/sky.h"

namespace novastra {

RunDays RunDaysOf(const RunParameters& params, const CalendarState& cal) {
  const int days = params.FullMonth ? FullMonthDays(cal.StartJD)
                                    : std::clamp<int>(params.NumberOfDays, 1, kMaxDays);
  const double first = cal.StartJD - 0.5;  // StartJD is the noon of the first day
  return {first, first + days - 1};
}

std::vector<std::string> RunNotes(const RunParameters& params, const CalendarState& cal) {
  const RunDays d = RunDaysOf(params, cal);
  return PlutoRangeMessages(d.firstJD, d.lastJD);
}

}  // namespace novastra
