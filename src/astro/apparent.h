#pragma once
// Positions of the apparent sky: the engine's series evaluated at Terrestrial
// Time, with light-time, annual aberration and nutation (see sky.h).
#include "astro/engine.h"

namespace novastra {

// Same fields and conventions as ComputePositions; instant.TimeT is read as
// Universal Time and moved to TT with DeltaTSeconds. Longitudes are of the true
// equinox of date, right ascension and declination of the true equator.
BodyPositions ComputeApparentPositions(const InstantSetup& instant, const SeriesTables& tables,
                                       const EngineChoices& choices);

// The apparent Sun and Moon alone, by the same steps, at a Terrestrial Time
// Julian Day: ecliptic longitude and latitude of the true equinox of date
// (degrees, tropical), geocentric distances and the true obliquity of date.
struct ApparentSunMoon {
  double sunLongitude = 0, sunLatitude = 0, sunDistanceAu = 0;
  double moonLongitude = 0, moonLatitude = 0, moonDistanceKm = 0;
  double trueObliquityRad = 0;
};
ApparentSunMoon ComputeApparentSunMoon(double jdTT, const SeriesTables& tables, bool plain = false);

}  // namespace novastra
