#pragma once
// The sky as the tests compute it: the supplied series tables and the minor
// bodies' MINOR.DAT (each loaded once),
// the engine's positions at any UT instant, and an aspectarian request.
#include <gtest/gtest.h>

#include <cmath>

#include "astro/engine.h"
#include "astro/minor_data.h"
#include "astro/series.h"
#include "reports/aspectarian_report.h"

namespace novastra::testing_support {

inline const SeriesTables& SuppliedTables() {
  static const SeriesTables tables = [] {
    SeriesTables t;
    if (const auto err = LoadSeriesTables(NOVASTRA_DATA_DIR, t)) ADD_FAILURE() << err->Message();
    return t;
  }();
  return tables;
}

// A failure to load fails the test that asked first.
inline const MinorTables& SuppliedMinorTables() {
  static const MinorTables tables = [] {
    MinorTables t;
    if (const auto err = LoadMinorTables(NOVASTRA_DATA_DIR, t)) ADD_FAILURE() << err->Message();
    return t;
  }();
  return tables;
}

// The engine's positions (tropical, true node, design sky unless chosen) at
// the UT Julian Day jd.
inline BodyPositions PositionsAt(double jd, EngineChoices choices = EngineChoices{Zodiac::Tropical,
                                                                                  NodeMode::True}) {
  const double dayJD = std::floor(jd + 0.5);  // noon JD of the day holding jd
  const InstantSetup s = PrepareInstantAt((jd - 2451545.0) / 36525.0, dayJD, AyanamsaOption{});
  return ComputePositions(s, SuppliedTables(), choices);
}

// A geocentric tropical aspectarian with the true node over `days` days.
inline AspectarianRequest AspectarianOver(double startJD, int days) {
  AspectarianRequest r;
  r.sky.tables = &SuppliedTables();
  r.sky.choices = EngineChoices{Zodiac::Tropical, NodeMode::True};
  r.startJD = startJD;
  r.dayCount = days;
  return r;
}

}  // namespace novastra::testing_support
