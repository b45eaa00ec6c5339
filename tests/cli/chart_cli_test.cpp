// novastra-cli chart and transits: the chart file's fields, every house
// system at a place, the file read back by transits, the place and time
// typed both ways, the refusals.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>

#include "cli_support.h"
#include "support/csv_reader.h"
#include "text/chart_text.h"

namespace novastra {
namespace {

using testing_support::ReadCsv;
using ChartCli = testing_support::CliHome;

const std::string kNewYork =
    "chart --date 1990-07-04 --time 12:00 --tz America/New_York --lat 40N43 --lon 74W00";

TEST_F(ChartCli, JsonHoldsTheAnglesAndTwelveCuspsOfEverySystem) {
  for (const char* system :
       {"placidus", "koch", "regiomontanus", "campanus", "porphyry", "equal", "whole-sign"}) {
    const auto r = Run(kNewYork + " --houses " + system + " --format json");
    ASSERT_EQ(r.status, 0) << system;
    const auto j = nlohmann::json::parse(r.out);
    ASSERT_EQ(j["cusps"].size(), 12u);
    EXPECT_EQ(j["houses"], system);
    // 4 Jul 1990 16:00 UT: the same instant typed in UT and in decimal degrees.
    EXPECT_EQ(j["instant"], "1990-07-04T16:00:00Z");
    const double asc = j["ascendant"], mc = j["mc"];
    EXPECT_TRUE(asc >= 0 && asc < 360 && mc >= 0 && mc < 360);
    if (std::string(system) != "equal" && std::string(system) != "whole-sign") {
      EXPECT_EQ(j["cusps"][0], asc);
      EXPECT_EQ(j["cusps"][9], mc);
    }
    EXPECT_EQ(j["bodies"].size(), 11u);
  }
  const auto ut = Run(
      "chart --date 7/4/1990 --time 16:00 --lat 40.716666666666667 --lon -74 --format json");
  const auto local = Run(kNewYork + " --format json");
  EXPECT_EQ(nlohmann::json::parse(ut.out)["ascendant"], nlohmann::json::parse(local.out)["ascendant"]);
}

TEST_F(ChartCli, TransitsReadTheSavedChart) {
  ASSERT_EQ(Run(kNewYork + " --name \"New York\" --save").status, 0);
  const auto csv = ReadCsv(
      Run("transits --chart \"New York\" --from 2027-01-01 --to 2027-12-31 --format csv").out);
  ASSERT_GT(csv.size(), 1500u);
  EXPECT_EQ(csv[0][2], "body");
  // The file written with -o reads the same.
  const std::string file = (home.path() / "ny.json").string();
  ASSERT_EQ(Run(kNewYork + " --format json -o " + file).status, 0);
  const auto again =
      ReadCsv(Run("transits --chart " + file + " --from 2027-01-01 --to 2027-12-31 --format csv").out);
  EXPECT_EQ(again, csv);
  const auto json = Run("transits --chart " + file + " --from 2027-03-01 --to 2027-03-02 --format json");
  EXPECT_NE(json.out.find("\"type\":\"transit\""), std::string::npos);
  EXPECT_NE(json.out.find("\"type\":\"end\""), std::string::npos);
  const auto ics = Run("transits --chart " + file + " --from 2027-03-01 --to 2027-03-02 --format ics");
  EXPECT_NE(ics.out.find("SUMMARY:Moon"), std::string::npos);
  EXPECT_NE(ics.out.find("natal"), std::string::npos);
}

TEST_F(ChartCli, RefusalsSayWhy) {
  const std::string file = (home.path() / "bad.json").string();
  std::ofstream(file) << "{\"type\":\"chart\",\"jd_ut\":2448077.1}";
  const struct {
    std::string args;
    int status;
    const char* says;
  } cases[] = {
      {"chart --date 1990-07-04 --lat 91N00 --lon 0", 2, "--lat"},
      {"chart --date 1990-07-04 --lat 40X43 --lon 0", 2, "--lat"},
      {"chart --date 1990-07-04 --lat 40N61 --lon 0", 2, "--lat"},
      {"chart --date 1990-07-04 --lat 40N00 --lon 74N00", 2, "--lon"},
      {"chart --date 1990-07-04 --lat 70N00 --lon 20E00", 2, "polar circles"},
      {"chart --date 1990-07-04 --lat 70N00 --lon 20E00 --houses koch", 2, "polar circles"},
      {"chart --date 1990-07-04 --time 25:00 --lat 0 --lon 0", 2, "--time"},
      {"chart --date 1990-07-04 --tz Mars/Olympus --lat 0 --lon 0", 2, "--tz"},
      {"chart --date 1990-07-04 --lat 0 --lon 0 --name ../x --save", 2, "--name"},
      {"transits --chart " + file + " --from 2027-01-01", 2, "latitude"},
      {"transits --chart /nonexistent/c.json --from 2027-01-01", 1, "cannot read"},
      {"transits --chart " + file + " --from 2027-02-01 --to 2027-01-01", 2, "before"},
  };
  for (const auto& c : cases) {
    const auto r = Run(c.args + " 2>&1");
    EXPECT_EQ(r.status, c.status) << c.args;
    EXPECT_NE(r.out.find(c.says), std::string::npos) << c.args << ": " << r.out;
  }
  // Above the polar circles the systems that are defined still work.
  EXPECT_EQ(Run("chart --date 1990-07-04 --lat 70N00 --lon 20E00 --houses equal").status, 0);
  EXPECT_EQ(Run("chart --date 1990-07-04 --lat 70N00 --lon 20E00 --houses regiomontanus").status, 0);
}

TEST(Coordinates, TypedBothWays) {
  const struct {
    const char* text;
    bool latitude;
    double value;  // NaN: refused
  } cases[] = {
      {"40N43", true, 40 + 43 / 60.0},      {"33S52:30", true, -(33 + 52.5 / 60)},
      {"74W00", false, -74},                {"151e12'30\"", false, 151 + 12.5 / 60},
      {"-74.006", false, -74.006},          {"+40.5", true, 40.5},
      {"0", true, 0},                       {"180", false, 180},
      {"90.01", true, NAN},                 {"40N60", true, NAN},
      {"40E43", true, NAN},                 {"74N00", false, NAN},
      {"40.5N30", true, NAN},               {"", true, NAN},
      {"-", true, NAN},                     {"1e2", true, NAN},
      {"40N", true, NAN},                   {"0x10", false, NAN},
  };
  for (const auto& c : cases) {
    std::string why;
    const auto v = ParseCoordinate(c.text, c.latitude, &why);
    if (std::isnan(c.value)) {
      EXPECT_FALSE(v) << c.text;
      EXPECT_FALSE(why.empty()) << c.text;
    } else {
      ASSERT_TRUE(v) << c.text << ": " << why;
      EXPECT_NEAR(*v, c.value, 1e-12) << c.text;
    }
  }
  EXPECT_EQ(LatitudeText(-33.875), "33S53");
  EXPECT_EQ(LongitudeText(-74.0), "74W00");
}

}  // namespace
}  // namespace novastra
