// novastra-cli positions: the whole text against frozen copies, the instant it
// names and the Sun's place against published values, the same instant named
// several ways.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "support/csv_reader.h"
#include "support/support.h"

namespace novastra {
namespace {

namespace fs = std::filesystem;
using testing_support::ReadCsv;

class PositionsCli : public ::testing::Test {
 protected:
  testing_support::CliResult Run(const std::string& args) const {
    std::vector<std::string> words = {"positions", "--home", home.path().string()};
    std::istringstream in(args);
    for (std::string w; in >> w;) words.push_back(w);
    return testing_support::RunCli(words);
  }
  testing_support::HomeFolder home;
};

// The copies' values were checked against the Sun below and the published
// instants; they hold the layout of the text.
TEST_F(PositionsCli, WholeOutputGolden) {
  for (auto [args, golden] : {std::pair{"--date 1/1/2000 --noon", "positions_2000_01_01_noon.txt"},
                              {"--date 3/1/2000 --zodiac sidereal --node mean",
                               "positions_2000_03_01_sidereal_mean.txt"}}) {
    const auto r = Run(args);
    ASSERT_EQ(r.status, 0) << args << ": " << r.err;
    testing_support::ExpectGolden(fs::path(NOVASTRA_TESTDATA_DIR) / golden, r.out);
  }
}

// J2000.0 is 1 January 2000, 12h TT = JD 2451545.0 (Meeus, Astronomical
// Algorithms, ch. 7); 0h UT of that day is JD 2451544.5. The Sun's geometric
// longitude then is 280.37 degrees (Meeus ch. 25: mean longitude 280.46646 and
// equation of centre -0.1; within 0.01 degree).
TEST_F(PositionsCli, JulianDayAndTheSunAtJ2000) {
  const auto noon = Run("--date 1/1/2000 --noon");
  ASSERT_EQ(noon.status, 0) << noon.err;
  EXPECT_NE(noon.out.find("01/01/2000 noon UT, Julian Day 2451545.0,"), std::string::npos);
  const size_t sun = noon.out.find("\nSun ");
  ASSERT_NE(sun, std::string::npos);
  EXPECT_NEAR(std::strtod(noon.out.c_str() + sun + 12, nullptr), 280.37, 0.01);
  EXPECT_NE(Run("--date 1/1/2000").out.find("01/01/2000 midnight UT, Julian Day 2451544.5,"),
            std::string::npos);
  const auto rows = ReadCsv(Run("--date 1/1/2000 --time 12:00 --format csv").out);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[1][1], "2000-01-01T12:00:00Z");
  EXPECT_EQ(rows[1][2], "2451545");
  EXPECT_NEAR(std::stod(rows[1][4]), 280.37, 0.01);
  // The same instants named other ways.
  EXPECT_EQ(Run("--date 2000-01-01 --format csv").out,
            Run("--date 1/1/2000 --time 00:00:00 --format csv").out);
  EXPECT_EQ(Run("--date 1/1/2000 --noon --format csv").out,
            Run("--date 1/1/2000 --time 12:00 --format csv").out);
  // A refused date prints nothing on standard output.
  const auto bad = Run("--date 2/30/1799");
  EXPECT_EQ(bad.status, 2);
  EXPECT_EQ(bad.out, "");
}

}  // namespace
}  // namespace novastra
