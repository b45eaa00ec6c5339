#pragma once
// The stations as data: each station the event finder found to the hour,
// refined to the minute by recomputing the planet minute by minute. The
// refinement is apart from the position engine so that its rules can be
// checked with any longitude curve.
#include <functional>
#include <optional>
#include <vector>

#include "astro/minor_data.h"
#include "reports/events.h"
#include "reports/sampling.h"

namespace novastra {

struct Station {
  int body = 0;  // 3 Mercury .. 10 Pluto, or a minor body 12 .. 18 (minor_events.h)
  Direction direction = Direction::Direct;  // the motion after the station
  int hour = 0;                             // may keep the found hour with minutes 60
  int minutes = 0;
  double dayJD = 0;      // noon Julian Day of the day the time belongs to
  double jd = 0;         // the instant in UT as a Julian Day
  double longitude = 0;  // at the stopping minute, degrees
};

// Walks the minutes -60..+60 around the station's hour; longitudeAt gives the
// body's longitude at T (Julian centuries). Empty when it does not reverse.
std::optional<Station> RefineStation(const Event& station,
                                     const std::function<double(double T)>& longitudeAt);

// Every station event of `events`, refined with the engine (those that do not
// reverse within the hour either side are left out); the minor bodies'
// stations from `minor` (left out without it).
std::vector<Station> BuildStations(const SampleContext& sky, const std::vector<Event>& events,
                                   const MinorTables* minor = nullptr);

// The station events of `events` given their stopping minute and longitude
// (Event::refined), as the stations list has them, for the exports; the
// events are then put in time order again. Those that do not reverse within
// the hour either side keep their hour, as do the minor bodies' without `minor`.
void RefineStationEvents(const SampleContext& sky, std::vector<Event>& events,
                         const MinorTables* minor = nullptr);

}  // namespace novastra
