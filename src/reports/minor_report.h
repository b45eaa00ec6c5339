#pragma once
// The chosen minor bodies (Chiron, the four asteroids, the mean and osculating
// Lilith) at one instant, in the run's zodiac: the rows that the ephemeris and
// positions lists add after the planets.
#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "astro/engine.h"
#include "astro/minor_bodies.h"

namespace novastra {

// Which of kMinorBodies a run lists (none by default).
using MinorChoice = MinorBodySet;

inline bool AnyMinor(const MinorChoice& c) {
  return std::any_of(c.begin(), c.end(), [](bool b) { return b; });
}

// "chiron", "ceres", "pallas", "juno", "vesta", "lilith", "osc_lilith": the
// words of --bodies (also "osc-lilith") and the CSV and JSON keys.
const char* MinorBodyKey(MinorBody body);
// A comma list of those words, or "all"; false with the reason in `why`
// for an empty list or an unknown word.
bool ParseMinorBodies(const std::string& list, MinorChoice& choice, std::string& why);
// The comma list of the chosen bodies' words that ParseMinorBodies reads back.
std::string MinorBodyWords(const MinorChoice& choice);

struct MinorRow {
  MinorBody body = MinorBody::Chiron;
  MinorPlace geo;                       // longitude in the run's zodiac
  std::optional<MinorHelioPlace> helio;  // the asteroids' (tropical, as the planets')
  // Moving backward: at the instant (its longitude speed), or in a daily list
  // since the day before, as the planets are marked.
  bool retrograde = false;
};

// The chosen bodies at jdUT, in kMinorBodies order; `instant` gives the zodiac's
// shift (its Svp and Ayanamsa). Empty when the asteroids are asked for outside
// MinorBodiesCover.
std::vector<MinorRow> MinorRowsAt(const MinorTables& tables, const MinorChoice& choice,
                                  double jdUT, const EngineChoices& engine,
                                  const InstantSetup& instant);

}  // namespace novastra
