#pragma once
// Heliocentric positions from the planetary series, and the step from
// heliocentric to geocentric ecliptic coordinates. One routine serves the Earth
// and all seven planets; they differ only in the series set they read.
#include <cstddef>

#include "astro/angles.h"
#include "astro/fast_trig.h"
#include "astro/series.h"

namespace novastra {

struct HelioPosition {
  double L = 0;  // degrees, 0 <= L < 360
  double B = 0;  // degrees, signed, not reduced
  double R = 0;  // AU
};

// Sum of A*cos(C*tau + B) over a series, term by term in table order, with the
// library cosine.
double PlainSeriesSum(const SeriesTerm* terms, std::size_t n, double tau);

// One coordinate of a power series, S0 + S1 tau + S2 tau^2 + ..., each S a
// PlainSeriesSum.
double PlainPowerSeriesSum(const std::vector<std::vector<SeriesTerm>>& series, double tau);

// L, B and R of one body at tau (Julian millennia from J2000.0): term by term
// when fast is null, else through the vector kernels.
HelioPosition ComputeHelio(const SeriesSet& set, double tau, const TrigKernels* fast);

// Geocentric ecliptic longitude and latitude of a planet seen from the Earth,
// both taken at the same instant.
EclipticDeg GeocentricFromHelio(const HelioPosition& planet, const HelioPosition& earth);

// The same for n planets at once (n <= 7), the trigonometry batched through the
// kernels when fast is not null.
void GeocentricFromHelio(const HelioPosition* planets, int n, const HelioPosition& earth,
                         EclipticDeg* out, const TrigKernels* fast);

}  // namespace novastra
