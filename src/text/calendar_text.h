#pragma once
// The aspectarian and the list of stations as a calendar reads them: times in
// a chosen zone grouped by its dates, the Moon's void-of-course periods, and
// the direction of each station. With none of these chosen the text is that of
// AspectarianLines and StationsListText.
#include <string>
#include <vector>

#include "reports/aspectarian_report.h"
#include "reports/stations.h"
#include "reports/time_zone.h"
#include "text/ephemeris_tables.h"

namespace novastra {

struct CalendarChoices {
  TimeZone zone;                  // Universal Time unless chosen
  bool voidOfCourse = false;      // a "Moon void of course" line at each period's start
  bool stationDirection = false;  // "retrograde" / "direct" on station lines (option 13)
  bool Plain() const { return zone.IsUniversal() && !voidOfCourse && !stationDirection; }
};

// "hh:mm" of a clock, with its offset ("01:30-04:00") when the time is one a
// change back from daylight-saving time repeats.
std::string ClockText(const LocalClock& clock);

// "  Moon void of course until 16 Mar 07:12" text after the time: the Moon's
// glyph and the ingress it lasts to, in the zone.
std::string VoidText(const VoidOfCourse& v, Coordinates coords, const TimeZone& zone);

// Header lines 0..5 then the dates firstDayJD .. firstDayJD + dayCount - 1
// (noon Julian Days of dates in the zone): each date's events, in time order,
// the date on the first line only, one empty line after each date. Events of
// the report outside those dates are left out.
std::vector<std::string> CalendarAspectarianLines(const AspectarianReport& report,
                                                  const HeaderInfo& info, Coordinates coords,
                                                  const CalendarChoices& choices, double firstDayJD,
                                                  int dayCount);

// "  Changes in direction (in America/New_York):", an empty line, then one
// line per station in the zone's time, each ending with CRLF.
std::string CalendarStationsText(const std::vector<Station>& stations,
                                 const CalendarChoices& choices);

}  // namespace novastra
