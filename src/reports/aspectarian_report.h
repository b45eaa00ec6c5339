#pragma once
// The aspectarian as data: the time-ordered events of a run of days.
#include <optional>
#include <vector>

#include "reports/eclipses_report.h"
#include "reports/events.h"
#include "reports/minor_report.h"
#include "reports/report.h"
#include "reports/sampling.h"
#include "reports/void_of_course.h"

namespace novastra {

struct AspectarianRequest {
  SampleContext sky;     // tables, engine choices, ayanamsa and coordinates
  EventChoices choices;  // its coords must equal sky.coords
  double startJD = 0;    // noon Julian Day of the first day
  int dayCount = 0;      // any number of days
  // The directions carried in from the day before startJD. Empty: the
  // directions at 0h UT of the first day (all direct in heliocentric runs).
  // Passing the previous piece's `directions` continues a long run exactly.
  std::optional<InitialDirections> directions;
  // Also find the void-of-course periods of the Moon (geocentric runs).
  bool findVoids = true;
  // Also find the eclipses of the New and Full Moons listed (apparent sky).
  bool findEclipses = false;
  // The minor bodies whose events are added (minor_events.h; none by
  // default), from `minorTables`, which must then be given. Geocentric runs.
  const MinorTables* minorTables = nullptr;
  MinorChoice minor{};
};

struct AspectarianReport {
  double startJD = 0;
  int dayCount = 0;     // the days searched (fewer than asked when cancelled)
  double svp = 0;       // degrees, at 0h UT of the first day
  double ayanamsa = 0;  // degrees, at 0h UT of the first day
  // The ayanamsa's name, when one was chosen.
  NamedAyanamsa named = NamedAyanamsa::None;
  // In time order: by day, then by hour and shown minute.
  std::vector<Event> events;
  InitialDirections directions;  // after the last day searched
  // The Moon's void-of-course periods whose ingress falls on the days searched.
  std::vector<VoidOfCourse> voids;
  // With findEclipses: the eclipses of the lunations listed (EclipsesOfLunations).
  std::vector<EclipseEntry> eclipses;
  bool cancelled = false;
};

// Progress steps: 0 .. dayCount - 1, one per day.
AspectarianReport BuildAspectarian(const AspectarianRequest& request,
                                   const ReportControl& control = {});

}  // namespace novastra
