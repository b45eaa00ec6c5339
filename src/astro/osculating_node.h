#pragma once
// The osculating (true) node of the Moon: the ascending node on the ecliptic of
// date of the plane through the Moon's geocentric position and velocity.
#include "astro/fast_trig.h"

namespace novastra {

// Longitude of the node in degrees (0..360), mean equinox of date, for T in
// Julian centuries from J2000.0. The orbit normal r x v is formed from the
// Moon's directions an hour either side of T: the distance only scales it, so
// the theory's longitude and latitude fix the plane.
double OsculatingNode(double T, const TrigKernels* fast);

}  // namespace novastra
