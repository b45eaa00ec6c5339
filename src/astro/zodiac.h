#pragma once
// Zodiac shift of the geocentric longitudes (ComputeSvp and ZodiacLabel are
// declared in engine.h).
#include "astro/engine.h"

namespace novastra {

// The longitude in the chosen zodiac, from the tropical longitude.
double ShiftLongitude(double tropical, Zodiac zodiac, double svp, double ayanamsa);
// The same with the instant's SVP and ayanamsa; a named ayanamsa makes the
// sidereal zodiac tropical - ayanamsa.
double ShiftLongitude(double tropical, Zodiac zodiac, const InstantSetup& instant);

}  // namespace novastra
