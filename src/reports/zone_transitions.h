#pragma once
// The offsets of a tz database zone over a span of time: the one in effect at
// the span's start and every change after it, as a calendar file's time zone
// definition lists them.
#include <string>
#include <vector>

#include "reports/time_zone.h"

namespace novastra {

struct ZoneObservance {
  // The UT instant (Julian Day) the offset takes effect; for the first entry,
  // the instant it took effect before the span (no earlier than fromJD less
  // 400 days, so that an offset in use since the zone began gets a date).
  double startJD = 0;
  int offsetBeforeSeconds = 0;  // local minus UT before the change
  int offsetSeconds = 0;        // local minus UT from startJD on
  bool daylight = false;        // a daylight-saving offset
  std::string abbreviation;     // "EST", "EDT", "LMT", "+0530"
};

// ZoneObservances(zone, fromJD, toJD) (declared in reports/time_zone.h,
// which reads the zone's own rules): empty for Universal Time; every change
// in [fromJD, toJD] in time order, after the observance in effect at fromJD.

}  // namespace novastra
