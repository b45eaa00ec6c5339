// novastra-cli as an astrologer's calendar: --tz, --void-of-course,
// --local-rows and the void-of-course periods in CSV and JSON.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

#include "cli_support.h"
#include "support/csv_reader.h"

namespace novastra {
namespace {

using testing_support::CliShell;
using testing_support::CsvRecord;
using testing_support::HomeFolder;
using testing_support::ReadCsv;

class CalendarCli : public ::testing::Test {
 protected:
  HomeFolder home;
  testing_support::CliResult Run(const std::string& args) {
    return CliShell("--home '" + home.path().string() + "' " + args);
  }
};

// Column numbers of the event CSV.
enum Col {
  kInstant,
  kKind,
  kBody,
  kOther,
  kAspect,
  kSign,
  kDirection,
  kEclipse,
  kLongitude,
  kEnd,
  kLocal,
  kLocalEnd
};

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST_F(CalendarCli, NewYorkMonthWithVoidsAndZoneInTheHeader) {
  const auto local =
      Run("aspectarian --from 3/1/2009 --days 10 --tz America/New_York --void-of-course");
  ASSERT_EQ(local.status, 0);
  EXPECT_TRUE(Contains(local.out, "  Times in America/New_York\n"));
  EXPECT_TRUE(Contains(local.out, "Moon void of course until"));
  // The Moon enters Taurus at 03:35 UT on 1 Mar 2009, 22:35 on 28 Feb in New
  // York (EST, UT-5): the local list starts after it.
  const auto ut = Run("aspectarian --from 3/1/2009 --days 10");
  EXPECT_TRUE(Contains(ut.out, "01 Mar  03:00"));
  EXPECT_TRUE(Contains(ut.out, "03:35"));
  EXPECT_FALSE(Contains(local.out, "22:35"));
  EXPECT_FALSE(Contains(ut.out, "Times in"));
  EXPECT_FALSE(Contains(ut.out, "void of course"));
  // Asking for UT by name changes nothing.
  EXPECT_EQ(Run("aspectarian --from 3/1/2009 --days 10 --tz UT").out, ut.out);
}

TEST_F(CalendarCli, StationsInTheZoneSayWhichZone) {
  const auto local = Run("stations --from 2009-01-01 --to 2009-01-31 --tz America/New_York");
  const auto ut = Run("stations --from 2009-01-01 --to 2009-01-31");
  ASSERT_EQ(local.status, 0);
  EXPECT_TRUE(Contains(local.out, "Changes in direction (in America/New_York):"));
  EXPECT_TRUE(Contains(ut.out, "Changes in direction (in UT):"));
  // Mercury's station of 11 Jan 2009: the same minute five hours earlier (EST).
  const size_t at = ut.out.find("Mercury - 11 Jan 2009 at ");
  ASSERT_NE(at, std::string::npos);
  const int h = std::stoi(ut.out.substr(at + 25, 2)), m = std::stoi(ut.out.substr(at + 28, 2));
  char expected[64];
  std::snprintf(expected, sizeof expected, "Mercury - 11 Jan 2009 at %02d:%02d", h - 5, m);
  EXPECT_TRUE(Contains(local.out, expected)) << local.out;
}

TEST_F(CalendarCli, UnknownZonesAreRefused) {
  for (const std::string zone : {"Mars/Base", "America/New York", "+05:00", "../../etc/passwd"}) {
    const auto r = CliShell("--home '" + home.path().string() + "' aspectarian --days 2 --tz '" +
                            zone + "' 2>&1");
    EXPECT_EQ(r.status, 2) << zone;
    EXPECT_TRUE(Contains(r.out, "--tz")) << r.out;
    EXPECT_FALSE(Contains(r.out, "Aspectarian")) << "no result printed for " << zone;
  }
}

// Offset of New York's clocks in 2009 by the US rule (Energy Policy Act of
// 2005): daylight time from 2:00 EST on 8 Mar (07:00 UT) to 2:00 EDT on 1 Nov
// (06:00 UT).
std::string NewYork2009Offset(const std::string& isoUT) {
  return isoUT >= "2009-03-08T07:00:00Z" && isoUT < "2009-11-01T06:00:00Z" ? "-04:00" : "-05:00";
}

TEST_F(CalendarCli, CsvYearInNewYorkHasLocalInstantsAndVoidPeriods) {
  const auto r = Run(
      "aspectarian --from 2009-01-01 --to 2009-12-31 --tz America/New_York --format csv --jobs 2");
  ASSERT_EQ(r.status, 0);
  const std::vector<CsvRecord> rows = ReadCsv(r.out);
  ASSERT_GT(rows.size(), 1000u);
  EXPECT_EQ(rows[0], (CsvRecord{"instant", "kind", "body", "other", "aspect", "sign", "direction",
                                "eclipse", "longitude", "end", "local_instant", "local_end"}));
  std::vector<std::string> ingresses;  // the Moon's, UT
  std::vector<CsvRecord> voids;
  for (size_t i = 1; i < rows.size(); ++i) {
    const CsvRecord& row = rows[i];
    ASSERT_EQ(row.size(), 12u);
    // The local instant is the UT instant shifted by the offset it names.
    const std::string offset = NewYork2009Offset(row[kInstant]);
    ASSERT_EQ(row[kLocal].substr(19), offset) << row[kInstant];
    EXPECT_EQ(
        row[kLocal].substr(0, 10) >= "2009-01-01" && row[kLocal].substr(0, 10) <= "2009-12-31",
        true)
        << "only the zone's dates of 2009: " << row[kLocal];
    if (row[kKind] == "ingress" && row[kBody] == "Moon") ingresses.push_back(row[kInstant]);
    if (row[kKind] == "void_of_course") voids.push_back(row);
  }
  ASSERT_GT(ingresses.size(), 150u);  // about 13.4 a month
  // Every ingress of the year but possibly the first has the period before it,
  // and every period ends at an ingress listed in the file.
  EXPECT_GE(voids.size() + 1, ingresses.size());
  for (const CsvRecord& v : voids) {
    EXPECT_TRUE(std::find(ingresses.begin(), ingresses.end(), v[kEnd]) != ingresses.end())
        << v[kEnd];
    EXPECT_LT(v[kInstant], v[kEnd]);
    EXPECT_EQ(v[kLocalEnd].substr(19), NewYork2009Offset(v[kEnd]));
  }
  // Both sides of the spring change: 8 Mar 2009 has -05:00 before 07:00 UT
  // and -04:00 after.
  EXPECT_EQ(NewYork2009Offset("2009-03-08T06:59:59Z"), "-05:00");
}

TEST_F(CalendarCli, NoListedMoonAspectInsideAVoidPeriod) {
  const auto r = Run("aspectarian --from 2009-01-01 --to 2009-06-30 --format csv");
  ASSERT_EQ(r.status, 0);
  const std::vector<CsvRecord> rows = ReadCsv(r.out);
  std::vector<std::pair<std::string, std::string>> periods;
  for (const CsvRecord& row : rows)
    if (row[kKind] == "void_of_course") periods.emplace_back(row[kInstant], row[kEnd]);
  ASSERT_GT(periods.size(), 70u);
  const std::set<std::string> planets = {"Sun",    "Mercury", "Venus",   "Mars", "Jupiter",
                                         "Saturn", "Uranus",  "Neptune", "Pluto"};
  int starts = 0;
  for (const CsvRecord& row : rows) {
    const bool moonAspect = (row[kKind] == "aspect" || row[kKind] == "lunation") &&
                            (row[kBody] == "Moon" || row[kOther] == "Moon") &&
                            (planets.count(row[kBody]) || planets.count(row[kOther]));
    if (!moonAspect) continue;
    for (const auto& [from, to] : periods) {
      EXPECT_FALSE(row[kInstant] > from && row[kInstant] < to)
          << row[kInstant] << " inside " << from;
      if (row[kInstant] == from) ++starts;
    }
  }
  // Each period starts at the instant of a listed aspect.
  EXPECT_GE(starts, static_cast<int>(periods.size()));
}

TEST_F(CalendarCli, JsonCarriesTheZoneAndThePeriods) {
  const auto r = Run("aspectarian --from 2009-11-01 --days 3 --tz Asia/Kolkata --format json");
  ASSERT_EQ(r.status, 0);
  std::istringstream lines(r.out);
  std::string line;
  int periods = 0, events = 0;
  long long declared = -1;
  while (std::getline(lines, line)) {
    const auto j = nlohmann::json::parse(line);
    if (j["type"] == "run") {
      EXPECT_EQ(j["parameters"]["time_zone"], "Asia/Kolkata");
    }
    if (j["type"] == "event") {
      ++events;
      EXPECT_EQ(j["local_instant"].get<std::string>().substr(19),
                "+05:30");  // India, no daylight time
    }
    if (j["type"] == "void_of_course") {
      ++periods;
      EXPECT_LT(j["jd"].get<double>(), j["end_jd"].get<double>());
      EXPECT_NE(j["sign_left"], j["sign_entered"]);
      EXPECT_EQ(j["last_aspect"]["body"].get<std::string>() == "Moon" ||
                    j["last_aspect"]["other"].get<std::string>() == "Moon",
                true);
    }
    if (j["type"] == "end") declared = j["count"];
  }
  EXPECT_GE(periods, 1);  // the Moon changes sign every two or three days
  EXPECT_EQ(declared, events + periods);
}

TEST_F(CalendarCli, LongZonedRunsJoinLikeOneRun) {
  // Pieces of at most 366 local dates, on one thread or two, give the same
  // bytes; the seam at 1 Jan 2010 loses and repeats nothing.
  const std::string args =
      "aspectarian --from 2009-01-01 --to 2010-12-31 --tz America/Los_Angeles --format csv";
  const auto one = Run(args + " --jobs 1");
  ASSERT_EQ(one.status, 0);
  EXPECT_EQ(Run(args + " --jobs 2").out, one.out);
  const auto first =
      Run("aspectarian --from 2009-01-01 --to 2009-12-31 --tz America/Los_Angeles --format csv");
  const auto second =
      Run("aspectarian --from 2010-01-01 --to 2010-12-31 --tz America/Los_Angeles --format csv");
  const std::string header = first.out.substr(0, first.out.find('\n') + 1);
  EXPECT_EQ(first.out + second.out.substr(header.size()), one.out);
}

// Greenwich mean sidereal time in seconds (Meeus, Astronomical Algorithms,
// eq. 12.4).
double Gmst(double jd) {
  const double T = (jd - 2451545.0) / 36525.0;
  double deg = 280.46061837 + 360.98564736629 * (jd - 2451545.0) + 0.000387933 * T * T -
               T * T * T / 38710000.0;
  deg = std::fmod(deg, 360.0);
  if (deg < 0) deg += 360.0;
  return deg * 240.0;
}

TEST_F(CalendarCli, EphemerisRowsAtLocalMidnight) {
  const auto r =
      Run("ephemeris --from 2009-11-01 --days 2 --midnight --tz America/New_York --local-rows "
          "--format csv");
  ASSERT_EQ(r.status, 0);
  const auto rows = ReadCsv(r.out);
  ASSERT_EQ(rows.size(), 3u);
  // Midnight of 1 Nov is still daylight time (UT-4); of 2 Nov standard (UT-5).
  EXPECT_EQ(rows[1][1], "2009-11-01T04:00:00Z");
  EXPECT_EQ(rows[2][1], "2009-11-02T05:00:00Z");
  EXPECT_EQ(rows[1][0], "2009-11-01");
  for (int i = 1; i <= 2; ++i) {
    const double jd = std::stod(rows[i][2]);
    EXPECT_NEAR(std::stod(rows[i][3]), Gmst(jd), 0.2) << "sidereal time at " << rows[i][1];
  }
  // The positions are those of the instant itself.
  const auto at = ReadCsv(Run("positions --date 2009-11-01 --time 04:00 --format csv").out);
  const auto header = rows[0];
  const size_t moon = std::find(header.begin(), header.end(), "moon_longitude") - header.begin();
  const size_t atMoon = std::find(at[0].begin(), at[0].end(), "moon_longitude") - at[0].begin();
  ASSERT_LT(moon, header.size());
  ASSERT_LT(atMoon, at[0].size());
  EXPECT_NEAR(std::stod(rows[1][moon]), std::stod(at[1][atMoon]), 1e-6);
  const size_t sidereal = 3;
  EXPECT_NEAR(std::stod(at[1][sidereal]), Gmst(std::stod(at[1][2])), 0.2) << "positions at 04:00";
  // The text names the zone where UT rows say Greenwich.
  const auto text =
      Run("ephemeris --from 2009-11-01 --days 2 --midnight --tz America/New_York --local-rows");
  EXPECT_TRUE(Contains(text.out, "at midnight, America/New_York"));
  // Without --local-rows the zone does not move the rows.
  const auto plain = Run("ephemeris --from 2009-11-01 --days 2 --midnight --format csv");
  EXPECT_EQ(
      Run("ephemeris --from 2009-11-01 --days 2 --midnight --tz America/New_York --format csv").out,
      plain.out);
  EXPECT_EQ(ReadCsv(plain.out)[1][1], "2009-11-01T00:00:00Z");
}

}  // namespace
}  // namespace novastra
