#pragma once
// Shared by the chart tests: the supplied series tables, the engine's own
// longitude of a body at any instant, and a year of series from the adaptor.
#include <gtest/gtest.h>

#include <cmath>

#include "astro/calendar.h"
#include "astro/engine.h"
#include "astro/series.h"
#include "chart/engine_series.h"
#include "support/sky.h"

namespace novastra::chart::test {

inline const SeriesTables& Tables() { return testing_support::SuppliedTables(); }

// The engine's tropical longitude of a body at the instant jd (UT).
inline double EngineLongitude(int body, double jd) {
  return testing_support::PositionsAt(jd, EngineChoices{}).Longitude[body];
}

// Every body from first to last date (M, D, Y) at 0h UT.
inline EphemerisSeries Series(int y0, int m0, int d0, int y1, int m1, int d1,
                              std::vector<int> bodies = {}) {
  SeriesRequest r;
  r.firstDayJD = JulianDayNumber(y0, m0, d0);
  r.lastDayJD = JulianDayNumber(y1, m1, d1);
  r.bodies = bodies.empty() ? std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11} : bodies;
  return ComputeSeries(r, Tables());
}

inline const EphemerisSeries& Year2009() {
  static const EphemerisSeries s = Series(2009, 1, 1, 2009, 12, 31);
  return s;
}

// a - b folded into -180..180.
inline double Gap(double a, double b) {
  double d = std::fmod(a - b, 360.0);
  return d > 180 ? d - 360 : d < -180 ? d + 360 : d;
}

}  // namespace novastra::chart::test
