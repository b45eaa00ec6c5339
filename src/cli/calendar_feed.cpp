#include "cli/calendar_feed.h"

#include "cli/cli.h"

namespace novastra::cli {

bool ResolveCalendarFilter(const std::string* kinds, const std::string* bodies,
                           CalendarFilter& filter) {
  std::string why;
  if (kinds && !ParseCalendarKinds(*kinds, filter, why)) {
    PrintError("--kinds \"" + *kinds + "\": " + why);
    return false;
  }
  if (bodies && !ParseCalendarBodies(*bodies, filter, why)) {
    PrintError("--bodies \"" + *bodies + "\": " + why);
    return false;
  }
  return true;
}

CalendarFeedWriter::CalendarFeedWriter(const IcalOptions& options, const CalendarFilter& filter,
                                       double firstDayJD, int dayCount)
    : options_(options), filter_(filter), firstDayJD_(firstDayJD), dayCount_(dayCount) {}

std::string CalendarFeedWriter::Begin() const {
  // The zone's offsets from the day before the first to a few days after the
  // last: a void period may end after the run's last day.
  return IcalBegin(options_, firstDayJD_ - 1, firstDayJD_ + dayCount_ + 3);
}

bool CalendarFeedWriter::OnRunDates(double jd) const {
  const double day = options_.zone.At(jd).dayJD;
  return day >= firstDayJD_ && day < firstDayJD_ + dayCount_;
}

long long CalendarFeedWriter::AppendPiece(std::string& out, const AspectarianReport& piece) const {
  long long n = 0;
  for (const Event& e : piece.events)
    if (OnRunDates(e.jd) && filter_.Keeps(e)) {
      AppendIcalEvent(out, e, options_, filter_);
      ++n;
    }
  for (const VoidOfCourse& v : piece.voids)
    if (OnRunDates(v.startJD) && filter_.Keeps(v)) {
      AppendIcalVoid(out, v, options_, filter_);
      ++n;
    }
  return n;
}

long long CalendarFeedWriter::AppendStations(std::string& out,
                                             const std::vector<Station>& stations) const {
  long long n = 0;
  for (const Station& s : stations)
    if (OnRunDates(s.jd) && filter_.Keeps(s)) {
      AppendIcalStation(out, s, options_, filter_);
      ++n;
    }
  return n;
}

}  // namespace novastra::cli
