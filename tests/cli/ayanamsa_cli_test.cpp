// --ayanamsa NAME: the sidereal zodiac of a standard ayanamsa on every command
// that has --zodiac, and its refusals.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "astro/ayanamsas.h"
#include "astro/calendar.h"
#include "cli_support.h"

namespace novastra {
namespace {

using testing_support::CliHome;
using testing_support::CliResult;

class Ayanamsa : public CliHome {};

// The eleven longitudes of a positions table (the 15 characters after the
// 11-character body name of each row below the two header lines).
std::vector<double> Longitudes(const std::string& text) {
  std::vector<double> out;
  std::istringstream in(text);
  std::string line;
  for (int n = 0; std::getline(in, line); ++n)
    if (n >= 2 && line.size() > 26) out.push_back(std::stod(line.substr(11, 15)));
  return out;
}

double Gap(double a, double b) {
  const double d = std::fmod(a - b + 540.0, 360.0) - 180.0;
  return std::fabs(d);
}

// Every body's sidereal longitude is its tropical one less the Lahiri value
// of the instant, within 0.5".
TEST_F(Ayanamsa, PositionsAreTropicalLessTheNamedValue) {
  const struct {
    const char* date;
    int y, m, d;
  } dates[] = {{"1800-01-01", 1800, 1, 1},
               {"1850-06-15", 1850, 6, 15},
               {"2000-01-01", 2000, 1, 1},
               {"2090-03-03", 2090, 3, 3},
               {"2100-12-31", 2100, 12, 31}};
  for (const auto& when : dates) {
    const CliResult tropical = Run(std::string("positions --date ") + when.date);
    const CliResult lahiri =
        Run(std::string("positions --zodiac sidereal --ayanamsa lahiri --date ") + when.date);
    ASSERT_EQ(tropical.status, 0) << when.date;
    ASSERT_EQ(lahiri.status, 0) << when.date;
    EXPECT_NE(lahiri.out.find("Sidereal zodiac, Lahiri ayanamsa, true node"), std::string::npos);
    const double T = (JulianDayNumber(when.y, when.m, when.d) - 0.5 - 2451545.0) / 36525.0;
    const double value = NamedAyanamsaDegrees(NamedAyanamsa::Lahiri, T);
    const std::vector<double> a = Longitudes(tropical.out), b = Longitudes(lahiri.out);
    ASSERT_EQ(a.size(), 11u) << tropical.out;
    ASSERT_EQ(b.size(), 11u) << lahiri.out;
    for (size_t i = 0; i < a.size(); ++i)
      EXPECT_LT(Gap(b[i], a[i] - value) * 3600.0, 0.5) << when.date << " body row " << i;
  }
}

TEST_F(Ayanamsa, BadUsesAreRefusedWithStatusTwo) {
  const struct {
    const char* args;
    const char* message;
  } cases[] = {
      {"positions --date 2000-01-01 --ayanamsa lahiri", "needs --zodiac sidereal"},
      {"positions --date 2000-01-01 --zodiac tropical --ayanamsa lahiri",
       "needs --zodiac sidereal"},
      {"positions --date 2000-01-01 --zodiac ayanamsa --ayanamsa raman", "needs --zodiac sidereal"},
      {"positions --date 2000-01-01 --zodiac sidereal --ayanamsa lahari",
       "the choices are fagan-bradley, lahiri, raman"},
      {"ephemeris --from 2000-01-01 --days 2 --ayanamsa lahiri", "needs --zodiac sidereal"},
      {"aspectarian --from 2000-01-01 --days 2 --zodiac tropical --ayanamsa kp",
       "needs --zodiac sidereal"},
      {"stations --from 2000-01-01 --days 2 --zodiac sidereal --ayanamsa x",
       "not a known ayanamsa"},
      {"graph --from 2000-01-01 --to 2000-02-01 -o g.svg --ayanamsa lahiri",
       "needs --zodiac sidereal"},
      {"graph --from 2000-01-01 --to 2000-02-01 -o g.svg --zodiac sidereal --ayanamsa x",
       "galactic-centre"},
  };
  for (const auto& c : cases) {
    const CliResult r = Run(std::string(c.args) + " 2>&1");
    EXPECT_EQ(r.status, 2) << c.args << "\n" << r.out;
    EXPECT_NE(r.out.find(c.message), std::string::npos) << c.args << "\n" << r.out;
  }
}

// The header line of a sidereal run names the ayanamsa and its value; the
// JSON run line names it; without --ayanamsa the run is the SVP's as before.
TEST_F(Ayanamsa, HeadersAndRunParametersNameIt) {
  const CliResult svp = Run("ephemeris --from 2000-01-01 --days 1 --zodiac sidereal");
  const CliResult named =
      Run("ephemeris --from 2000-01-01 --days 1 --zodiac sidereal --ayanamsa lahiri");
  ASSERT_EQ(svp.status, 0);
  ASSERT_EQ(named.status, 0);
  EXPECT_NE(svp.out.find("True Ayanamsa = "), std::string::npos);
  EXPECT_EQ(svp.out.find("Lahiri"), std::string::npos);
  // 2000 January 1, noon: 23d 51' 25.6" mean less 13.9" of nutation.
  EXPECT_NE(named.out.find("   Lahiri True Ayanamsa = 23d 51m 1"), std::string::npos) << named.out;
  EXPECT_EQ(named.out.find("SVP ="), std::string::npos);

  const CliResult aspects =
      Run("aspectarian --from 2000-01-01 --days 2 --zodiac sidereal --ayanamsa fagan");
  ASSERT_EQ(aspects.status, 0);
  EXPECT_NE(aspects.out.find("Fagan-Bradley True Ayanamsa = 24d 4"), std::string::npos)
      << aspects.out;

  const CliResult json =
      Run("stations --from 2000-01-01 --days 30 --zodiac sidereal --ayanamsa raman --format json");
  ASSERT_EQ(json.status, 0);
  EXPECT_NE(json.out.find(R"("zodiac":"sidereal","ayanamsa":"raman")"), std::string::npos)
      << json.out.substr(0, 400);
  const CliResult plain =
      Run("stations --from 2000-01-01 --days 30 --zodiac sidereal --format json");
  EXPECT_EQ(plain.out.find("\"ayanamsa\""), std::string::npos);
}

}  // namespace
}  // namespace novastra
