#pragma once
// The aspectarian run and the list of stations of its last run.
#include <cstdint>
#include <string>
#include <vector>

#include "app/options.h"
#include "app/run_outcome.h"
#include "app/run_parameters.h"
#include "reports/sampling.h"
#include "text/calendar_text.h"

namespace novastra {

class Application;
struct RunContext;

struct AspectarianState {
  std::vector<std::string> lines;  // header lines 0..5, then the days; spare entry at nextFree
  int16_t nextFree = 0;
  std::vector<Event> stations;  // the run's station events, in time order
  CalendarChoices calendar;     // the zone and texts the run was shown with
  // The run's typed results and its dates (in the zone), for the calendar export.
  AspectarianReport report;
  // What it was asked (its minor bodies, its sky), so that the calendar can
  // add the events of minor bodies the run was not asked for.
  AspectarianRequest request;
  double firstDayJD = 0;
  int dayCount = 0;
  Coordinates coords = Coordinates::Geocentric;
  bool hasRun = false;
};

// What the sampling needs from the application's choices and tables.
SampleContext SampleContextOf(const SeriesTables& series, const RunParameters& params,
                              const RunOptions& options);
SampleContext SampleContextOf(const RunContext& app);
SampleContext SampleContextOf(const Application& app);

// "mmddyy" + "AS.TEG" and its sidereal, ayanamsa and heliocentric variants.
std::string AspectarianFileName(const std::string& startRowDate, Zodiac zodiac, Coordinates coords);

// "Calculate Aspectarian" after the button's first steps (NoonFlag, buffer
// emptied, RunKind = 0), and the More commands.
RunOutcome RunAspectarian(RunContext& app);

// "Changes in direction (in UT):" for the stations of the last aspectarian
// run, as one text of CRLF-separated lines ("" when there are none).
std::string StationsText(RunContext& app);

// The Data Window's "Retrograde times": appends StationsText to the view.
void ShowRetrogradeTimes(RunContext& app);

}  // namespace novastra
