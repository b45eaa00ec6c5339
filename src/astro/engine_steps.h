#pragma once
// The position engine's steps after the series sums, shared by the one-instant
// engine and the range evaluator.
#include <array>

#include "astro/engine.h"
#include "astro/moon.h"
#include "astro/planets.h"

namespace novastra {

// L, B and R of the nine series sets at one instant, indexed by SeriesBody.
using HelioSets = std::array<HelioPosition, kSeriesBodyCount>;

// Every position of one instant from its heliocentric sets and its Moon: the
// geocentric step, Pluto, the equatorial coordinates and the zodiac.
BodyPositions PositionsFromHelio(const InstantSetup& instant, const SeriesTables& tables,
                                 const EngineChoices& choices, const HelioSets& sets,
                                 const MoonPosition& moon);

}  // namespace novastra
