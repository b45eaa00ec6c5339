// The many-instant engine against an outside ephemeris when instants are
// asked for out of order: before each reference instant the engine is sent to
// the last instant of the same anchor period, so the instant's block is an
// earlier one the recurrence has already passed and must start again for.
#include <cmath>
#include <cstdint>

#include "astro/range_engine.h"
#include "astro_test.h"

namespace novastra {
namespace {

using testing::AngleGap;

// Reference: PyEphem 4.1.4 apparent longitudes (sky_positions.txt, its header
// names the quantities). The engine's sky here is the geometric one, which
// differs from the apparent by the nutation in longitude (at most 17.3"), the
// aberration (20.5") and the body's motion over the light-time (Mercury's up
// to about 90"): 150" for every body. An instant taken from the wrong block is
// hours off, 1000" and more for the Sun to Mars. The Moon is computed instant by
// instant and the node differs in kind here, so neither is compared.
TEST(RangeEngineReference, InstantsAskedForAfterLaterOnesMatchTheEphemeris) {
  constexpr double kOrigin = 2451544.5, kStep = 1.0 / 24;  // the aspectarian's hours
  constexpr int kAnchorEvery = 240;
  RangeEngine engine(testing::Tables(), EngineChoices{}, kOrigin, kStep, kAnchorEvery);
  int compared = 0;
  for (const testing::Row& r : testing::ReadTable("sky_positions.txt")) {
    if (r.name == "Moon" || r.name == "Node" || (r.name == "Pluto" && r.jd < 2411368.0))
      continue;  // Pluto: 1885 on
    const auto n = static_cast<std::int64_t>(std::llround((r.jd - kOrigin) / kStep));
    const std::int64_t windowEnd =
        (n >= 0 ? n / kAnchorEvery : (n + 1) / kAnchorEvery - 1) * kAnchorEvery + kAnchorEvery - 1;
    BodyPositions later, p;
    engine.Fill(windowEnd, 1, {}, &later);
    engine.Fill(n, 1, {}, &p);
    EXPECT_LE(std::abs(AngleGap(p.Longitude[testing::kBodyIndex.at(r.name)], r.value)) * 3600, 150)
        << r.name << " at JD " << r.jd;
    ++compared;
  }
  EXPECT_GT(compared, 250);
}

}  // namespace
}  // namespace novastra
