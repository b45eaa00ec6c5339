// novastra-cli aspectarian --bodies and stations --bodies: the minor bodies'
// events in every format (the glyph in the text, the name in CSV, JSON and
// the calendar), the planets' words still the calendar's filter, the lines of
// a run without minor bodies kept as they are, and the refusals.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli_support.h"

namespace novastra {
namespace {

struct MinorEventsCli : testing_support::CliHome {};

std::vector<std::string> LinesWith(const std::string& text, const std::string& what) {
  std::vector<std::string> out;
  size_t from = 0;
  while (from < text.size()) {
    size_t end = text.find('\n', from);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(from, end - from);
    if (line.find(what) != std::string::npos) out.push_back(line);
    from = end + 1;
  }
  return out;
}

// Chiron turned retrograde on 19 July 2022 (in the design sky at 13:22 UT,
// its speed's zero); the Moon passed it at 16:57.
TEST_F(MinorEventsCli, ChironInEveryFormat) {
  const std::string range = "aspectarian --from 2022-07-19 --days 1 --bodies chiron ";
  const auto text = Run(range + "--encoding utf8");
  ASSERT_EQ(text.status, 0) << text.err;
  EXPECT_NE(text.out.find("13:00  \u26B7   \u21BA  +/- up to 1 hour"), std::string::npos)
      << text.out;
  EXPECT_NE(text.out.find("16:57  \u26B7 \u260C \u263D"), std::string::npos) << text.out;
  const auto ascii = Run(range + "--symbols ascii");
  EXPECT_NE(ascii.out.find("16:57  ChCnjMo"), std::string::npos) << ascii.out;

  const auto csv = Run(range + "--format csv");
  ASSERT_EQ(csv.status, 0) << csv.err;
  const auto station = LinesWith(csv.out, "station,Chiron");
  ASSERT_EQ(station.size(), 1u) << csv.out;
  EXPECT_EQ(station[0].rfind("2022-07-19T13:22:00Z,station,Chiron,,,,retrograde,,16.43672", 0),
            0u)
      << station[0];
  EXPECT_EQ(LinesWith(csv.out, "aspect,Chiron,Moon,conjunction").size(), 1u) << csv.out;

  const auto json = Run(range + "--format json");
  EXPECT_EQ(LinesWith(json.out, R"("kind":"station","body":"Chiron","direction":"retrograde")")
                .size(),
            1u)
      << json.out;
  const auto ics = Run(range + "--format ics");
  EXPECT_EQ(LinesWith(ics.out, "SUMMARY:Chiron stations retrograde").size(), 1u) << ics.out;
  EXPECT_EQ(LinesWith(ics.out, "SUMMARY:Chiron conjunction Moon").size(), 1u) << ics.out;
}

// The run with --bodies is the run without it plus the minor bodies' lines.
TEST_F(MinorEventsCli, OtherLinesStayAsTheyWere) {
  const std::string range = "aspectarian --from 2022-03-01 --days 10 --aspects all --format csv";
  const auto plain = Run(range);
  const auto minor = Run(range + " --bodies all");
  ASSERT_EQ(plain.status, 0);
  ASSERT_EQ(minor.status, 0) << minor.err;
  std::string kept;
  for (const std::string& line : LinesWith(minor.out, ""))
    if (line.find("Chiron") == std::string::npos && line.find("Ceres") == std::string::npos &&
        line.find("Pallas") == std::string::npos && line.find("Juno") == std::string::npos &&
        line.find("Vesta") == std::string::npos && line.find("Lilith") == std::string::npos)
      kept += line + "\n";
  EXPECT_EQ(kept, plain.out);
  EXPECT_GT(minor.out.size(), plain.out.size() + 2000);
}

// A planet's word still chooses the calendar's bodies; a minor body's word
// adds that body in any format.
TEST_F(MinorEventsCli, PlanetWordsFilterTheCalendar) {
  const auto ics = Run(
      "aspectarian --from 2022-07-19 --days 3 --format ics --kinds aspects --bodies moon,chiron");
  ASSERT_EQ(ics.status, 0) << ics.err;
  const auto summaries = LinesWith(ics.out, "SUMMARY:");
  ASSERT_FALSE(summaries.empty());
  for (const std::string& s : summaries)
    EXPECT_TRUE(s.find("Chiron") != std::string::npos && s.find("Moon") != std::string::npos) << s;
}

TEST_F(MinorEventsCli, StationsListTheMinorBodiesAfterThePlanets) {
  const auto text = Run("stations --from 2022-01-01 --to 2022-12-31 --bodies chiron,ceres");
  ASSERT_EQ(text.status, 0) << text.err;
  const size_t pluto = text.out.rfind("Pluto");
  const size_t chiron = text.out.find("Chiron");
  ASSERT_NE(chiron, std::string::npos) << text.out;
  EXPECT_LT(pluto, chiron) << text.out;
  EXPECT_EQ(LinesWith(text.out, "Chiron").size(), 2u) << text.out;  // July and December
  EXPECT_EQ(LinesWith(text.out, "Ceres").size(), 1u) << text.out;    // January
  const auto csv = Run("stations --from 2022-01-01 --to 2022-12-31 --bodies chiron --format csv");
  EXPECT_EQ(LinesWith(csv.out, ",station,Chiron,").size(), 2u) << csv.out;
  const auto ics = Run("stations --from 2022-01-01 --to 2022-12-31 --bodies chiron --format ics");
  EXPECT_EQ(LinesWith(ics.out, "SUMMARY:Chiron stations").size(), 2u) << ics.out;
}

TEST_F(MinorEventsCli, Refusals) {
  struct Case {
    const char* args;
    const char* message;
  } cases[] = {
      {"aspectarian --days 2 --bodies moon", "--bodies goes with --format ics"},
      {"aspectarian --days 2 --bodies chiron,eris", "unknown body \"eris\""},
      {"aspectarian --days 2 --bodies chiron,,ceres", "an empty item"},
      {"aspectarian --days 2 --bodies chiron --helio", "--helio"},
      {"aspectarian --from 2100-12-01 --days 60 --bodies ceres", "1800 to 2100"},
      {"stations --days 2 --bodies sun", "--bodies goes with --format ics"},
  };
  for (const Case& c : cases) {
    const auto r = Run(std::string(c.args) + " 2>&1");
    EXPECT_EQ(r.status, 2) << c.args;
    EXPECT_NE(r.out.find(c.message), std::string::npos) << c.args << ": " << r.out;
  }
}

}  // namespace
}  // namespace novastra
