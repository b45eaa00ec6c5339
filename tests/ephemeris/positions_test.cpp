// novastra-cli positions: the whole output against frozen copies, and the
// instant it names against published values.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "support/support.h"

namespace novastra {
namespace {

namespace fs = std::filesystem;
using testing_support::RunCli;
using testing_support::TempFolder;

std::vector<std::string> Words(const std::string& args) {
  std::vector<std::string> words;
  std::istringstream in(args);
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

TEST(PositionsCli, WholeOutputGolden) {
  TempFolder home;
  testing_support::CopySuppliedFiles(home.path());
  struct Case {
    const char* args;
    const char* golden;
  } cases[] = {
      {"--date 1/1/2000 --noon", "positions_2000_01_01_noon.txt"},
      {"--date 3/1/2000 --zodiac sidereal --node mean", "positions_2000_03_01_sidereal_mean.txt"},
  };
  for (const Case& c : cases) {
    auto words = Words(std::string("positions --home ") + home.path().string() + " " + c.args);
    const auto r = RunCli(words);
    ASSERT_EQ(r.status, 0) << c.args << ": " << r.err;
    testing_support::ExpectGolden(fs::path(NOVASTRA_TESTDATA_DIR) / c.golden, r.out);
  }
}

// J2000.0 is 1 January 2000, 12h TT = JD 2451545.0 (Meeus, Astronomical
// Algorithms, ch. 7); 0h UT of that day is JD 2451544.5. The Sun's apparent
// longitude then is 280.37 degrees (Astronomical Almanac 2000, to 0.01).
TEST(PositionsCli, JulianDayOfTheInstant) {
  TempFolder home;
  testing_support::CopySuppliedFiles(home.path());
  const auto noon =
      RunCli({"positions", "--home", home.path().string(), "--date", "1/1/2000", "--noon"});
  ASSERT_EQ(noon.status, 0) << noon.err;
  EXPECT_NE(noon.out.find("01/01/2000 noon UT, Julian Day 2451545.0,"), std::string::npos)
      << noon.out;
  const size_t sun = noon.out.find("\nSun ");
  ASSERT_NE(sun, std::string::npos);
  EXPECT_NEAR(std::strtod(noon.out.c_str() + sun + 12, nullptr), 280.37, 0.01)
      << noon.out.substr(sun, 40);
  const auto midnight = RunCli({"positions", "--home", home.path().string(), "--date", "1/1/2000"});
  EXPECT_NE(midnight.out.find("01/01/2000 midnight UT, Julian Day 2451544.5,"), std::string::npos)
      << midnight.out;
  // A refused date prints nothing on standard output.
  const auto bad = RunCli({"positions", "--home", home.path().string(), "--date", "2/30/1799"});
  EXPECT_EQ(bad.status, 2);
  EXPECT_EQ(bad.out, "");
}

}  // namespace
}  // namespace novastra
