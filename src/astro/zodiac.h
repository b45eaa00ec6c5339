#pragma once
// Zodiac shift of the geocentric longitudes (ComputeSvp and ZodiacLabel are
// declared in engine.h).
#include "astro/engine.h"

namespace novastra {

// The longitude in the chosen zodiac, from the tropical longitude.
double ShiftLongitude(double tropical, Zodiac zodiac, double svp, double ayanamsa);

}  // namespace novastra
