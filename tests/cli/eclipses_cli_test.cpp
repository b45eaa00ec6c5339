// novastra-cli eclipses: its refusals, and its CSV, JSON and calendar output for
// 2000-2050 against Espenak's NASA catalogues (the tables in astro/data name
// the pages): every eclipse listed and none invented, the type, greatest
// eclipse within a minute, the listed magnitude within 0.01 and the Saros series.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>

#include "astro/calendar.h"
#include "cli_support.h"
#include "support/csv_reader.h"

namespace novastra {
namespace {

using testing_support::ReadCsv;
struct Eclipses : testing_support::CliHome {};

struct CatalogueRow {
  double ut;  // Julian Day of greatest eclipse, UT
  std::string kind, type;
  double magnitude;
  int saros;
};

// "2017 Aug 21" "18:26:40" as a Julian Day.
double Instant(const std::string& y, const std::string& mon, const std::string& d,
               const std::string& hms) {
  const int month = static_cast<int>(std::string("JanFebMarAprMayJunJulAugSepOctNovDec").find(mon)) / 3 + 1;
  int h = 0, m = 0, s = 0;
  std::sscanf(hms.c_str(), "%d:%d:%d", &h, &m, &s);
  return JulianDayNumber(std::stoi(y), month, std::stoi(d)) - 0.5 + (h + m / 60.0 + s / 3600.0) / 24;
}

// The catalogues' eclipses of the years first..last. Solar: date, TD, delta T, lunation,
// Saros, type, gamma, magnitude. Lunar: date, UT, type, Saros, gamma,
// penumbral and umbral magnitudes.
std::vector<CatalogueRow> Catalogue(int first, int last) {
  std::vector<CatalogueRow> out;
  for (const char* kind : {"solar", "lunar"}) {
    std::ifstream in(std::string(NOVASTRA_SKY_REFERENCE_DIR) + "/" + kind + "_eclipses_1801_2100.txt");
    for (std::string line; std::getline(in, line);) {
      if (line.empty() || line[0] == '#') continue;
      std::istringstream s(line);
      std::vector<std::string> w;
      for (std::string x; s >> x;) w.push_back(x);
      const int year = std::stoi(w[0]);
      if (year < first || year > last) continue;
      const double at = Instant(w[0], w[1], w[2], w[3]);
      const bool solar = kind[0] == 's';
      const char t = solar ? w[7][0] : w[4][0];
      const std::map<char, std::string> types = {
          {'P', "partial"}, {'A', "annular"}, {'T', "total"}, {'H', "hybrid"}, {'N', "penumbral"}};
      out.push_back({solar ? at - std::stod(w[4]) / 86400 : at, kind, types.at(t),
                     solar ? std::stod(w[9]) : std::stod(t == 'N' ? w[7] : w[8]),
                     std::stoi(solar ? w[6] : w[5])});
    }
  }
  return out;
}

double JulianDayOf(const std::string& iso) {  // "YYYY-MM-DDTHH:MM:SSZ"
  int y, mo, d, h, mi, s;
  std::sscanf(iso.c_str(), "%d-%d-%dT%d:%d:%d", &y, &mo, &d, &h, &mi, &s);
  return JulianDayNumber(y, mo, d) - 0.5 + (h + mi / 60.0 + s / 3600.0) / 24;
}

TEST_F(Eclipses, RefusalsPrintNothing) {
  const struct {
    std::string args;
    int status;
  } cases[] = {
      {"eclipses --from 2024-01-01", 0},
      {"eclipses --from 2/30/2024", 2},
      {"eclipses --from 2024-06-01 --to 2024-05-31", 2},
      {"eclipses --from 1/1/1799", 2},
      {"eclipses --from 2024-01-01 --kind planetary", 2},
      {"eclipses --from 2024-01-01 --tz Mars/Base", 2},
      {"eclipses --from 2024-01-01 --format xml", 2},
      {"eclipses", 2},
      {"eclipses --from 2024-01-01 > /dev/full", 1},
  };
  for (const auto& c : cases) {
    const auto r = Run(c.args + " 2>/dev/null");
    EXPECT_EQ(r.status, c.status) << c.args;
    EXPECT_TRUE(c.status != 2 || r.out.empty()) << c.args;
  }
}

TEST_F(Eclipses, TheCataloguesEclipsesOf2000To2050) {
  const std::vector<CatalogueRow> catalogue = Catalogue(2000, 2050);
  ASSERT_EQ(catalogue.size(), 232u);  // the catalogues' 114 solar and 118 lunar rows
  const auto csv = ReadCsv(Run("eclipses --from 2000-01-01 --to 2050-12-31 --format csv").out);
  ASSERT_EQ(csv.size(), catalogue.size() + 1);
  const std::vector<std::string> head(csv[0].begin(), csv[0].begin() + 9);
  EXPECT_EQ(head, (std::vector<std::string>{"instant", "kind", "type", "magnitude",
                                            "penumbral_magnitude", "obscuration", "gamma", "saros",
                                            "saros_member"}));
  for (size_t i = 1; i < csv.size(); ++i) {
    const auto& row = csv[i];
    const double ut = JulianDayOf(row[0]);
    const CatalogueRow* match = nullptr;
    for (const CatalogueRow& c : catalogue)
      if (c.kind == row[1] && std::abs(c.ut - ut) < 1.0 / 1440) match = &c;
    ASSERT_NE(match, nullptr) << row[0] << " " << row[1] << ": not in the catalogue";
    EXPECT_EQ(row[2], match->type) << row[0];
    EXPECT_NEAR(std::stod(row[3]), match->magnitude, 0.01) << row[0];
    EXPECT_EQ(std::stoi(row[7]), match->saros) << row[0];
  }
}

TEST_F(Eclipses, JsonCalendarAndLocalClock) {
  // The total lunar eclipse of 2000 January 21, 04:44 UT, umbral magnitude 1.330
  // (Espenak's catalogue), 23:44 of January 20 in New York (EST).
  const std::string range = "eclipses --from 2000-01-01 --to 2000-12-31 --kind lunar";
  std::istringstream lines(Run(range + " --format json --tz America/New_York").out);
  std::vector<nlohmann::json> json;
  for (std::string line; std::getline(lines, line);) json.push_back(nlohmann::json::parse(line));
  ASSERT_EQ(json.size(), 4u);  // run, the eclipses of January and July, end
  EXPECT_EQ(json[1]["eclipse_type"], "total");
  const std::string local = json[1]["local_instant"];
  EXPECT_EQ(local.substr(0, 14) + local.substr(local.size() - 6), "2000-01-20T23:-05:00");
  EXPECT_EQ(json[3]["count"], 2);
  const std::string ics = Run(range + " --format ics").out;
  EXPECT_NE(ics.find("SUMMARY:Total lunar eclipse\\, magnitude 1.33"), std::string::npos) << ics;
  size_t events = 0;
  for (size_t at = 0; (at = ics.find("BEGIN:VEVENT", at)) != std::string::npos; ++at) ++events;
  EXPECT_EQ(events, 2u);
}

// The aspectarian's New and Full Moons of 2024 carry the catalogue's four
// eclipses (type, greatest eclipse, magnitude, Saros) and the other lunations
// none; the calendar gives each its own event.
TEST_F(Eclipses, AspectarianLunationsCarryTheirEclipses) {
  const auto csv = ReadCsv(Run("aspectarian --from 2024-01-01 --to 2024-12-31 --format csv").out);
  const std::vector<CatalogueRow> catalogue = Catalogue(2024, 2024);
  ASSERT_EQ(catalogue.size(), 4u);
  size_t found = 0;
  for (size_t i = 1; i < csv.size(); ++i) {
    const auto& row = csv[i];
    if (row[12].empty()) continue;
    ++found;
    const double ut = JulianDayOf(row[13]);
    const auto match = std::find_if(catalogue.begin(), catalogue.end(), [&](const CatalogueRow& c) {
      return std::abs(c.ut - ut) < 1.0 / 1440 && c.kind == (row[4] == "conjunction" ? "solar" : "lunar");
    });
    ASSERT_NE(match, catalogue.end()) << row[13];
    EXPECT_EQ(row[12], match->type);
    EXPECT_NEAR(std::stod(row[14]), match->magnitude, 0.01);
    EXPECT_EQ(std::stoi(row[15]), match->saros);
  }
  EXPECT_EQ(found, 4u);
  const std::string ics =
      Run("aspectarian --from 2024-04-01 --days 30 --format ics --kinds lunations").out;
  EXPECT_NE(ics.find("SUMMARY:Total solar eclipse\\, magnitude 1.06"), std::string::npos) << ics;
}

}  // namespace
}  // namespace novastra
