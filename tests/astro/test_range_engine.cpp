#include "astro/range_engine.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "astro/engine.h"
#include "astro/moon.h"
#include "astro_test.h"

namespace novastra {
namespace {

using testing::AngleGap;
using testing::Tables;

// The grids the runs use: the aspectarian's hours (0h UT of 1 January 2000 is
// index 0) and the ephemeris's days at 0h or 12h UT (index 0 on 1 January 2000).
struct Grid {
  const char* name;
  double originJD;
  double stepDays;
  int perDay;          // instants per day
  double dayFraction;  // of index 0 of each day
};
constexpr Grid kHours{"hours", 2451544.5, 1.0 / 24, 24, 0.0};
constexpr Grid kMidnights{"midnights", 2451544.5, 1.0, 1, 0.0};
constexpr Grid kNoons{"noons", 2451545.0, 1.0, 1, 0.5};

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) { return a / b - ((a % b != 0) && (a < 0)); }

// The set-up of grid index n exactly as the runs form it: the aspectarian's
// hour T from the row date, or the ephemeris's row date and day fraction.
InstantSetup SetupAt(const Grid& g, std::int64_t n, const AyanamsaOption& ayanamsa = {}) {
  const double rowJD = 2451545.0 + static_cast<double>(FloorDiv(n, g.perDay));
  if (g.perDay == 1) return PrepareInstant(rowJD, g.dayFraction, ayanamsa);
  const int hour = static_cast<int>(n - FloorDiv(n, g.perDay) * g.perDay);
  return PrepareInstantAt((rowJD + hour / 24.0 - 0.5 - 2451545) / 36525, rowJD, ayanamsa);
}

// Largest gap over the six coordinates of the eleven bodies, in degrees.
double LargestGap(const BodyPositions& a, const BodyPositions& b, int* worstBody) {
  double worst = 0;
  for (int i = kSun; i <= kNorthNode; ++i) {
    for (double g :
         {AngleGap(a.Longitude[i], b.Longitude[i]), a.Latitude[i] - b.Latitude[i],
          AngleGap(a.RightAscension[i], b.RightAscension[i]), a.Declination[i] - b.Declination[i],
          AngleGap(a.HelioLongitude[i], b.HelioLongitude[i]),
          a.HelioLatitude[i] - b.HelioLatitude[i]}) {
      if (std::abs(g) > worst) {
        worst = std::abs(g);
        *worstBody = i;
      }
    }
  }
  return worst;
}

void ExpectBitIdentical(const BodyPositions& a, const BodyPositions& b, const std::string& where) {
  EXPECT_EQ(a.Longitude, b.Longitude) << where;
  EXPECT_EQ(a.Latitude, b.Latitude) << where;
  EXPECT_EQ(a.RightAscension, b.RightAscension) << where;
  EXPECT_EQ(a.Declination, b.Declination) << where;
  EXPECT_EQ(a.HelioLongitude, b.HelioLongitude) << where;
  EXPECT_EQ(a.HelioLatitude, b.HelioLatitude) << where;
}

// Runs that cross several restarts of the recurrence (every 240 steps), spread
// over 1800-2100, against the plain term-by-term engine at every instant.
// Tolerance 1e-9 degree, the agreement the vector path keeps too.
TEST(RangeEngine, WithinOneBillionthOfADegreeOfPlainFrom1800To2100) {
  struct Case {
    Grid grid;
    double startJD;  // first instant, at or after this Julian Day
    int count;
    EngineChoices choices;
  };
  const EngineChoices tropicalTrue{};
  const EngineChoices siderealMean{Zodiac::Sidereal, NodeMode::Mean};
  const Case cases[] = {
      {kHours, 2378497.0, 700, tropicalTrue},  // 1800-01-01
      {kHours, 2415020.0, 520, siderealMean},  // 1899-12-31
      {kHours, 2451540.3, 600, tropicalTrue},  // across index 0 (2000-01-01)
      {kHours, 2488100.0, 500, tropicalTrue},  // 2100
      {kMidnights, 2378497.0, 900, tropicalTrue},
      {kMidnights, 2433282.0, 800, siderealMean},
      {kNoons, 2451000.0, 1200, tropicalTrue},
      {kNoons, 2487500.0, 934, tropicalTrue},  // to 2100-12-31
  };
  for (const Case& c : cases) {
    const Grid& g = c.grid;
    const auto first = static_cast<std::int64_t>(std::ceil((c.startJD - g.originJD) / g.stepDays));
    RangeEngine engine(Tables(), c.choices, g.originJD, g.stepDays);
    EngineChoices plain = c.choices;
    plain.plain = true;
    double worst = 0;
    int worstBody = 0;
    std::int64_t worstIndex = first;
    for (std::int64_t n = first; n < first + c.count; ++n) {
      const InstantSetup s = SetupAt(g, n);
      int body = 0;
      const double gap = LargestGap(engine.At(n, s), ComputePositions(s, Tables(), plain), &body);
      if (gap > worst) {
        worst = gap;
        worstBody = body;
        worstIndex = n;
      }
    }
    EXPECT_LT(worst, 1e-9) << g.name << " from JD " << c.startJD << ": body " << worstBody
                           << " at index " << worstIndex;
  }
}

// The positions of an instant depend only on its grid index: two engines that
// start at different places (before, inside and after a restart of the
// recurrence, going backwards too), and a range filled in pieces, give the
// same bits as one long run.
TEST(RangeEngine, InstantDoesNotDependOnWhereTheRunStarts) {
  for (const Grid& g : {kHours, kNoons}) {
    const std::int64_t base = (g.perDay == 24) ? -1'000'003 : -40'001;
    constexpr int kCount = 700;
    RangeEngine whole(Tables(), {}, g.originJD, g.stepDays);
    std::vector<BodyPositions> longRun(kCount);
    for (int i = 0; i < kCount; ++i) longRun[i] = whole.At(base + i, SetupAt(g, base + i));

    // Fresh engines started at several offsets, each running to the end.
    for (int offset : {1, 7, 8, 239, 240, 241, 333, 699}) {
      RangeEngine late(Tables(), {}, g.originJD, g.stepDays);
      for (int i = offset; i < kCount; i += 3)
        ExpectBitIdentical(
            late.At(base + i, SetupAt(g, base + i)), longRun[i],
            std::string(g.name) + " offset " + std::to_string(offset) + " i " + std::to_string(i));
    }
    // One engine asked out of order: backwards, then jumping forwards.
    RangeEngine wander(Tables(), {}, g.originJD, g.stepDays);
    for (int i : {650, 10, 9, 480, 200, 201, 699, 0})
      ExpectBitIdentical(wander.At(base + i, SetupAt(g, base + i)), longRun[i],
                         std::string(g.name) + " wander " + std::to_string(i));
  }
  // Fill in pieces of uneven lengths equals one Fill.
  RangeEngine one(Tables(), {}, kHours.originJD, kHours.stepDays);
  std::vector<BodyPositions> all(500), pieces(500);
  one.Fill(-300'000, 500, {}, all.data());
  int done = 0;
  for (int len : {13, 1, 250, 99, 137}) {
    RangeEngine part(Tables(), {}, kHours.originJD, kHours.stepDays);
    part.Fill(-300'000 + done, len, {}, pieces.data() + done);
    done += len;
  }
  ASSERT_EQ(done, 500);
  for (int i = 0; i < 500; ++i) ExpectBitIdentical(pieces[i], all[i], "piece " + std::to_string(i));
}

// Jupiter to Pluto from five instants a date, interpolated to the hours: over
// 1800-2100 (every 29th date, its 25 hours 0h..24h as the aspectarian samples
// them) every coordinate of the slow bodies stays within 1e-9 degree of the
// plain term-by-term engine, the tolerance of the whole range engine, and the
// other bodies keep the hourly engine's very bits.
TEST(RangeEngine, SlowBodiesFromFiveInstantsADayKeepTheirPlaces) {
  struct Case {
    EngineChoices choices;
    std::int64_t step;  // dates between two checked dates
  };
  EngineChoices plain;
  plain.plain = true;
  double worstEngine = 0, worstPlain = 0;
  for (const Case& c : {Case{{}, 29}, Case{{Zodiac::Sidereal, NodeMode::Mean}, 211}}) {
    RangeEngine hourly(Tables(), c.choices, kHours.originJD, kHours.stepDays);
    RangeEngine interpolating(Tables(), c.choices, kHours.originJD, kHours.stepDays);
    interpolating.InterpolateSlowBodies();
    EngineChoices plainChoices = c.choices;
    plainChoices.plain = true;
    for (double rowJD = 2378497.0; rowJD <= 2488434.0; rowJD += static_cast<double>(c.step)) {
      const auto first = static_cast<std::int64_t>(rowJD - 2451545.0) * 24;
      for (int h = 0; h <= 24; ++h) {
        const InstantSetup s =
            PrepareInstantAt((rowJD + h / 24.0 - 0.5 - 2451545) / 36525, rowJD, {});
        const BodyPositions a = interpolating.At(first + h, s);
        const BodyPositions b = hourly.At(first + h, s);
        const BodyPositions p = ComputePositions(s, Tables(), plainChoices);
        for (int i = kSun; i <= kNorthNode; ++i) {
          const bool slow = i >= kJupiter && i <= kPluto;
          const double gaps[][2] = {
              {AngleGap(a.Longitude[i], b.Longitude[i]), AngleGap(a.Longitude[i], p.Longitude[i])},
              {a.Latitude[i] - b.Latitude[i], a.Latitude[i] - p.Latitude[i]},
              {AngleGap(a.RightAscension[i], b.RightAscension[i]),
               AngleGap(a.RightAscension[i], p.RightAscension[i])},
              {a.Declination[i] - b.Declination[i], a.Declination[i] - p.Declination[i]},
              {AngleGap(a.HelioLongitude[i], b.HelioLongitude[i]),
               AngleGap(a.HelioLongitude[i], p.HelioLongitude[i])},
              {a.HelioLatitude[i] - b.HelioLatitude[i], a.HelioLatitude[i] - p.HelioLatitude[i]}};
          for (const auto& g : gaps) {
            if (!slow) {
              ASSERT_EQ(g[0], 0) << "body " << i << " JD " << rowJD << " hour " << h;
              continue;
            }
            worstEngine = std::max(worstEngine, std::abs(g[0]));
            worstPlain = std::max(worstPlain, std::abs(g[1]));
          }
        }
      }
    }
  }
  EXPECT_LT(worstPlain, 1e-9);
  EXPECT_LT(worstEngine, 1e-9);
  std::printf("slow bodies interpolated: %.2g degree from the hourly engine, %.2g from plain\n",
              worstEngine, worstPlain);
}

// Fill sets up each grid point from its Julian Day: T, the date of Pluto's
// correction, and the user's ayanamsa.
TEST(RangeEngine, FillSetsUpEachInstantFromItsJulianDay) {
  const AyanamsaOption ayanamsa{true, 23.5};
  RangeEngine engine(Tables(), {Zodiac::Ayanamsa, NodeMode::True}, kHours.originJD,
                     kHours.stepDays);
  std::vector<BodyPositions> out(30);
  const std::int64_t first = 24 * 3650 + 5;  // 5h UT, 29 December 2009
  engine.Fill(first, 30, ayanamsa, out.data());
  for (int i = 0; i < 30; ++i) {
    const std::int64_t n = first + i;
    const double jd = kHours.originJD + static_cast<double>(n) / 24;
    // T of the grid point to 1e-15 century (3 ms).
    EXPECT_NEAR(engine.GridT(n), (-0.5 + static_cast<double>(n) / 24) / 36525, 1e-15)
        << "hour " << i;
    const InstantSetup s = PrepareInstantAt(engine.GridT(n), std::floor(jd + 0.5), ayanamsa);
    const BodyPositions p = ComputePositions(s, Tables(), {Zodiac::Ayanamsa, NodeMode::True, true});
    // Also Pluto's date correction, which reads the day that holds the instant.
    int body = 0;
    EXPECT_LT(LargestGap(out[i], p, &body), 1e-9) << "hour " << i << " body " << body;
  }
}

// The Moon's term sines by angle addition against one sine per term, from
// 1800 to 2100 and beyond, both nodes; and Meeus, Astronomical Algorithms,
// example 47.a (1992 April 12, 0h TD): longitude 133.162655, latitude
// -3.229126 degrees (tolerance 6e-6: the program's ten-decimal pi moves the
// longitude by 5e-6).
TEST(MoonByMultiples, AgreesWithOneSinePerTerm) {
  for (double T = -2.5; T <= 1.5; T += 0.0137) {
    for (NodeMode node : {NodeMode::True, NodeMode::Mean}) {
      const MoonPosition a = ComputeMoonByMultiples(T, node);
      const MoonPosition p = ComputeMoon(T, node, nullptr);
      EXPECT_NEAR(AngleGap(a.longitude, p.longitude), 0, 1e-12) << T;
      EXPECT_NEAR(a.latitude, p.latitude, 1e-12) << T;
      EXPECT_NEAR(AngleGap(a.node, p.node), 0, 1e-12) << T;
      EXPECT_EQ(a.meanNode, p.meanNode);
    }
  }
  const double T = (2448724.5 - 2451545) / 36525;
  const MoonPosition m = ComputeMoonByMultiples(T, NodeMode::True);
  EXPECT_NEAR(m.longitude, 133.162655, 6e-6);
  EXPECT_NEAR(m.latitude, -3.229126, 6e-6);
}

// Two engines that go instant by instant: tables built by hand with more
// series than the published files (here a seventh power of time for
// Mercury's longitude), and the plain choice, which is the one-instant plain
// engine itself.
TEST(RangeEngine, MoreSeriesAndThePlainChoiceGoInstantByInstant) {
  SeriesTables more = Tables();
  more[SeriesBody::Mercury].L.resize(7);
  more[SeriesBody::Mercury].L[6] = {{1e-3, 0.5, 100.0}};
  const EngineChoices plain{Zodiac::Tropical, NodeMode::True, true};
  using Run = std::pair<const SeriesTables*, EngineChoices>;
  for (const auto& [tables, choices] : {Run{&more, {}}, Run{&Tables(), plain}}) {
    RangeEngine engine(*tables, choices, kNoons.originJD, 1.0);
    for (std::int64_t n : {-73048, -70000, 0, 30000, 36524}) {
      const InstantSetup s = SetupAt(kNoons, n);
      ExpectBitIdentical(engine.At(n, s), ComputePositions(s, *tables, choices), std::to_string(n));
    }
  }
}

}  // namespace
}  // namespace novastra
