#pragma once
// Fills the graphic ephemeris' input from the typed ephemeris results: one
// instant a day (0h or 12h UT) from the first date to the last, both included.
#include <vector>

#include "astro/engine.h"
#include "astro/minor_data.h"
#include "chart/ephemeris_series.h"

namespace novastra::chart {

struct SeriesRequest {
  double firstDayJD = 0;    // noon-based Julian Day Number of the first date
  double lastDayJD = 0;     // and of the last date (>= firstDayJD)
  double dayFraction = 0;   // 0 midnight, 0.5 noon
  std::vector<int> bodies;  // body indices 1..11 and minor bodies 12..18, in drawing order
  EngineChoices choices;
  AyanamsaOption ayanamsa;
  const MinorTables* minor = nullptr;  // needed for the minor bodies
};

// Longitudes and retrograde flags of the requested bodies. A body is
// retrograde on a day when its longitude is smaller than the day before
// (the same test as the ephemeris tables' retrograde mark), so the first day
// is compared with the day before the range.
// A minor body is left out without `minor` or where its series end.
EphemerisSeries ComputeSeries(const SeriesRequest& request, const SeriesTables& tables);

}  // namespace novastra::chart
