#pragma once
// The Moon's geocentric longitude and latitude and the North Node, from the
// truncated lunar theory whose terms are constants of moon.cpp.
#include "astro/choices.h"
#include "astro/fast_trig.h"

namespace novastra {

struct MoonPosition {
  // Fundamental arguments (degrees, reduced) and the eccentricity factor.
  double Lp = 0, D = 0, M = 0, Mp = 0, F = 0, E = 0;
  double sumL = 0, sumB = 0;  // periodic sums, 1e-6 degree
  double longitude = 0;       // 0 <= longitude < 360
  double latitude = 0;        // not reduced
  double meanNode = 0;
  double trueNode = 0;
  double node = 0;  // mean or true, as asked
};

// T in Julian centuries from J2000.0. fast = null evaluates the sines with the
// library, term by term.
MoonPosition ComputeMoon(double T, NodeMode mode, const TrigKernels* fast);

// The same Moon with eight sines and cosines instead of one sine per term: the
// sine of each term's argument d D + m M + m' M' + f F (and of the additive
// terms) comes from the sines and cosines of the fundamental arguments by the
// angle-addition formulas, the eight through the vector kernels. Agrees with
// ComputeMoon to about 1e-13 degree.
MoonPosition ComputeMoonByMultiples(double T, NodeMode mode);

// The Moon's geocentric distance in km from the fundamental arguments of a
// computed position: 385000.56 km plus the distance column of Table 47.A
// (Meeus, Astronomical Algorithms, 2nd ed., ch. 47).
double MoonDistanceKm(const MoonPosition& moon);

}  // namespace novastra
