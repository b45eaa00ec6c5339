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

// The bodies that move slowly, Jupiter to Pluto (kSlowBodies order), of the
// design sky: tropical geocentric longitude and latitude, right ascension and
// declination, heliocentric longitude and latitude, degrees.
inline constexpr int kSlowBodyCount = 5;
inline constexpr Body kSlowBodies[kSlowBodyCount] = {kJupiter, kSaturn, kUranus, kNeptune, kPluto};
struct SlowPositions {
  double longitude[kSlowBodyCount] = {};
  double latitude[kSlowBodyCount] = {};
  double rightAscension[kSlowBodyCount] = {};
  double declination[kSlowBodyCount] = {};
  double helioLongitude[kSlowBodyCount] = {};
  double helioLatitude[kSlowBodyCount] = {};
  // The angles at whose multiples of 90 degrees the steps above turn a branch:
  // a quadrant rule (atan plus the program's half turn, which is not exactly
  // pi) or the reduction to 0..360 of an angle whose sine and cosine are then
  // taken with that pi. There the result steps by up to about 1e-8 degree.
  // Per body: the planets' heliocentric and geocentric longitudes and right
  // ascension; Pluto's heliocentric longitude, right ascension and longitude
  // of J2000.0, longitude and right ascension of date. Then the Earth's
  // longitudes of date and of J2000.0, which every body reads.
  static constexpr int kTurningAngles = 5;
  double turning[kSlowBodyCount][kTurningAngles] = {};
  double earthTurning[2] = {};
};

// The slow bodies of one instant from its heliocentric sets (those of the
// Earth, Jupiter to Neptune and the Earth of J2000.0 are read).
SlowPositions SlowFromHelio(const InstantSetup& instant, const SeriesTables& tables,
                            const EngineChoices& choices, const HelioSets& sets);

// Every position of one instant from its heliocentric sets and its Moon: the
// geocentric step, Pluto, the equatorial coordinates and the zodiac. With
// `slow`, Jupiter to Pluto are taken from it (tropical) and their sets are
// not read.
BodyPositions PositionsFromHelio(const InstantSetup& instant, const SeriesTables& tables,
                                 const EngineChoices& choices, const HelioSets& sets,
                                 const MoonPosition& moon, const SlowPositions* slow = nullptr);

}  // namespace novastra
