#include "chart/engine_series.h"

#include <algorithm>
#include <cmath>

#include "reports/ephemeris_report.h"
#include "reports/minor_events.h"

namespace novastra::chart {

EphemerisSeries ComputeSeries(const SeriesRequest& request, const SeriesTables& tables) {
  EphemerisSeries out;
  if (request.lastDayJD < request.firstDayJD) return out;
  EphemerisRequest r;
  r.tables = &tables;
  r.engine = request.choices;
  r.ayanamsa = request.ayanamsa;
  r.startJD = request.firstDayJD;
  r.dayFraction = request.dayFraction;
  r.dayCount = static_cast<int>(std::lround(request.lastDayJD - request.firstDayJD)) + 1;
  if (request.minor != nullptr) {
    r.minor = request.minor;
    for (int k : request.bodies)
      if (IsMinorEventBody(k)) r.minorChoice[static_cast<size_t>(k - kFirstMinorEventBody)] = true;
  }
  const EphemerisReport report = BuildEphemeris(r);

  out.jd.reserve(report.days.size());
  for (const EphemerisDay& day : report.days) out.jd.push_back(day.jd);
  for (int k : request.bodies) {
    BodySeries b;
    b.body = k;
    b.longitude.reserve(report.days.size());
    b.retrograde.reserve(report.days.size());
    for (const EphemerisDay& day : report.days) {
      if (!IsMinorEventBody(k)) {
        b.longitude.push_back(day.positions.Longitude[k]);
        b.retrograde.push_back(day.retrograde[k]);
        continue;
      }
      const MinorBody body = MinorBodyOfEvent(k);
      const auto row = std::find_if(day.minor.begin(), day.minor.end(),
                                    [body](const MinorRow& m) { return m.body == body; });
      if (row == day.minor.end()) break;  // not asked for, or outside the series
      b.longitude.push_back(row->geo.longitude);
      b.retrograde.push_back(row->retrograde);
    }
    if (b.longitude.size() == report.days.size()) out.bodies.push_back(std::move(b));
  }
  return out;
}

}  // namespace novastra::chart
