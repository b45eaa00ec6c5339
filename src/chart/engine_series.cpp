#include "chart/engine_series.h"

#include <cmath>

#include "reports/ephemeris_report.h"

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
  const EphemerisReport report = BuildEphemeris(r);

  out.jd.reserve(report.days.size());
  for (const EphemerisDay& day : report.days) out.jd.push_back(day.jd);
  for (int k : request.bodies) {
    BodySeries b;
    b.body = k;
    b.longitude.reserve(report.days.size());
    b.retrograde.reserve(report.days.size());
    for (const EphemerisDay& day : report.days) {
      b.longitude.push_back(day.positions.Longitude[k]);
      b.retrograde.push_back(day.retrograde[k]);
    }
    out.bodies.push_back(std::move(b));
  }
  return out;
}

}  // namespace novastra::chart
