#pragma once
// --format ics of the aspectarian and stations commands: the choices of the
// calendar file (--kinds, --bodies) and its writing piece by piece.
#include <string>

#include "reports/aspectarian_report.h"
#include "reports/stations.h"
#include "text/ical_export.h"

namespace novastra::cli {

// The filter from --kinds and --bodies (nullptr: not given, every kind or
// body). The stations command lists stations only, so it takes no --kinds.
// Prints the reason and returns false for an empty list or an unknown word.
bool ResolveCalendarFilter(const std::string* kinds, const std::string* bodies,
                           CalendarFilter& filter);

// The calendar of one run: Begin, then each piece's events, then End.
class CalendarFeedWriter {
 public:
  // Times in `zone`; events are kept when their date in the zone lies on the
  // run's days firstDayJD .. firstDayJD + dayCount - 1.
  CalendarFeedWriter(const IcalOptions& options, const CalendarFilter& filter, double firstDayJD,
                     int dayCount);

  std::string Begin() const;
  // The piece's events and void periods on the run's dates; returns how many.
  long long AppendPiece(std::string& out, const AspectarianReport& piece) const;
  long long AppendStations(std::string& out, const std::vector<Station>& stations) const;
  std::string End() const { return IcalEnd(); }

 private:
  bool OnRunDates(double jd) const;

  IcalOptions options_;
  CalendarFilter filter_;
  double firstDayJD_;
  int dayCount_;
};

}  // namespace novastra::cli
