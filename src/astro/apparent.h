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

}  // namespace novastra
