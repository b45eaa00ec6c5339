#pragma once
// Plausibility check of freshly read series tables: every coefficient finite
// and of a size the tables of Meeus, Astronomical Algorithms 2nd ed., App. III
// and Table 37.A can have, and every body's heliocentric position at a few
// reference instants finite and inside its known orbit.
#include <optional>
#include <string>

#include "astro/series.h"

namespace novastra {

// A failed check: the data file to blame and what was wrong with it.
struct SeriesCheckFailure {
  std::string file;    // e.g. "MARS.DAT"
  std::string detail;  // e.g. "radius vector 52.3 AU on JD 2451545.0"
};

// nullopt when the tables look like those of Meeus App. III and Table 37.A.
std::optional<SeriesCheckFailure> CheckSeriesTables(const SeriesTables& tables);

// The independent ephemeris's heliocentric Earth, J2000.0 ecliptic, at the
// check's reference instants: longitude and latitude in degrees, radius in AU.
struct EarthReference {
  double jd, L, B, R;
};
inline constexpr int kEarthReferenceCount = 13;
EarthReference EarthJ2000Reference(int i);

}  // namespace novastra
