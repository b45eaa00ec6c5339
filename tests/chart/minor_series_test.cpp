// The graphic ephemeris' minor bodies: the words that choose them, and their
// series against the bodies' own places at each day's instant.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "astro/minor_bodies.h"
#include "chart/chart_choices.h"
#include "chart/chart_painter.h"
#include "chart_support.h"
#include "reports/minor_events.h"

namespace novastra::chart::test {
namespace {

// The supplied MINOR.DAT, loaded once.
constexpr auto& Minor = testing_support::SuppliedMinorTables;

TEST(ChartMinorBodies, WordsChooseThemAfterTheEleven) {
  std::string why;
  const auto b = ParseBodies({"sun,Chiron", "osc-lilith", "vesta,chiron"}, why);
  ASSERT_TRUE(b) << why;
  EXPECT_EQ(*b, (std::vector<int>{1, 12, 18, 16}));
  EXPECT_EQ(ParseBodies({"all"}, why)->size(), 11u);  // "all" stays the eleven
  EXPECT_FALSE(ParseBodies({"eris"}, why));
  EXPECT_NE(why.find("chiron"), std::string::npos) << why;
  for (int body = 12; body <= 18; ++body) {
    EXPECT_EQ(BodyName(body).toStdString(), MinorBodyName(MinorBodyOfEvent(body)));
    EXPECT_NE(BodyGlyph(body), QString(" ")) << body;
    for (int other = 1; other < body; ++other) EXPECT_NE(BodyColor(body), BodyColor(other));
  }
}

// Each day's point is the body's place at 0h UT; a retrograde day is one
// whose longitude fell since the day before (Chiron turned on 19 July and
// 23 December 2022).
TEST(ChartMinorBodies, SeriesAreTheBodiesPlaces) {
  SeriesRequest r;
  r.firstDayJD = JulianDayNumber(2022, 1, 1);
  r.lastDayJD = JulianDayNumber(2022, 12, 31);
  r.bodies = {1, 12, 13, 17};
  r.minor = &Minor();
  const EphemerisSeries s = ComputeSeries(r, Tables());
  ASSERT_EQ(s.bodies.size(), 4u);
  for (size_t k = 1; k < s.bodies.size(); ++k) {
    const BodySeries& b = s.bodies[k];
    ASSERT_EQ(b.longitude.size(), s.jd.size());
    for (size_t d = 0; d < s.jd.size(); d += 30) {
      const auto place = ComputeMinorPlace(Minor(), MinorBodyOfEvent(b.body), s.jd[d], Sky::Design);
      EXPECT_NEAR(Gap(b.longitude[d], place->longitude), 0, 1e-9) << b.body << " " << d;
    }
  }
  const BodySeries& chiron = s.bodies[1];
  int turns = 0;
  for (size_t d = 1; d < chiron.retrograde.size(); ++d)
    turns += chiron.retrograde[d] != chiron.retrograde[d - 1];
  EXPECT_EQ(turns, 2);
  EXPECT_FALSE(chiron.retrograde[200 - 1]);  // 19 July, the last day forward
  EXPECT_TRUE(chiron.retrograde[201]);
  // Without the series the minor bodies are left out.
  r.minor = nullptr;
  EXPECT_EQ(ComputeSeries(r, Tables()).bodies.size(), 1u);
}

}  // namespace
}  // namespace novastra::chart::test
