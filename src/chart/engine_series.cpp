#include "chart/engine_series.h"

#include <cmath>

namespace novastra::chart {

namespace {

// Daily motion folded into -180..+180, so that a pass through 0 degrees is
// not taken for a jump of a whole circle.
double Motion(double today, double yesterday) {
  double d = today - yesterday;
  return d - 360.0 * std::floor((d + 180.0) / 360.0);
}

}  // namespace

EphemerisSeries ComputeSeries(const SeriesRequest& request, const SeriesTables& tables) {
  EphemerisSeries out;
  if (request.lastDayJD < request.firstDayJD) return out;
  const int days = static_cast<int>(std::lround(request.lastDayJD - request.firstDayJD)) + 1;
  out.jd.reserve(days);
  out.bodies.resize(request.bodies.size());
  for (size_t b = 0; b < request.bodies.size(); ++b) {
    out.bodies[b].body = request.bodies[b];
    out.bodies[b].longitude.reserve(days);
    out.bodies[b].retrograde.reserve(days);
  }
  BodyPositions previous{};
  for (int i = -1; i < days; ++i) {
    const double rowJD = request.firstDayJD + i;
    const InstantSetup instant = PrepareInstant(rowJD, request.dayFraction, request.ayanamsa);
    const BodyPositions p = ComputePositions(instant, tables, request.choices);
    if (i >= 0) {
      out.jd.push_back(rowJD + request.dayFraction - 0.5);
      for (size_t b = 0; b < request.bodies.size(); ++b) {
        const int k = request.bodies[b];
        out.bodies[b].longitude.push_back(p.Longitude[k]);
        out.bodies[b].retrograde.push_back(Motion(p.Longitude[k], previous.Longitude[k]) < 0);
      }
    }
    previous = p;
  }
  return out;
}

}  // namespace novastra::chart
