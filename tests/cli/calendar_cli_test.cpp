// novastra-cli as an astrologer's calendar: --tz, --void-of-course,
// --local-rows and the void-of-course periods in CSV and JSON.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <numeric>
#include <nlohmann/json.hpp>
#include <sstream>

#include "cli_support.h"
#include "support/csv_reader.h"

namespace novastra {
namespace {

using testing_support::CsvRecord;
using testing_support::ReadCsv;
using CalendarCli = testing_support::CliHome;

// Column numbers of the event CSV.
enum Col { kInstant, kKind, kBody, kOther, kEnd = 9, kLocal, kLocalEnd };

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST_F(CalendarCli, NewYorkMonthWithVoidsAndZoneInTheHeader) {
  const auto local =
      Run("aspectarian --from 3/1/2009 --days 10 --tz America/New_York --void-of-course");
  const auto ut = Run("aspectarian --from 3/1/2009 --days 10");
  ASSERT_EQ(local.status, 0);
  EXPECT_TRUE(Contains(local.out, "  Times in America/New_York\n"));
  // The header names the zone of the times; a UT run's header names Greenwich.
  EXPECT_TRUE(Contains(local.out, "Sunday, 01 Mar 2009 at noon UT, times in America/New_York"));
  EXPECT_TRUE(Contains(ut.out, "Sunday, 01 Mar 2009 at noon, Greenwich"));
  EXPECT_TRUE(Contains(local.out, "Moon void of course until"));
  // The Moon enters Taurus at 03:35 UT on 1 Mar 2009, 22:35 on 28 Feb in New
  // York (EST, UT-5): the local list starts after it.
  EXPECT_TRUE(Contains(ut.out, "01 Mar  03:00") && Contains(ut.out, "03:35"));
  EXPECT_FALSE(Contains(local.out, "22:35") || Contains(ut.out, "Times in") ||
               Contains(ut.out, "void of course"));
  EXPECT_EQ(Run("aspectarian --from 3/1/2009 --days 10 --tz UT").out, ut.out);  // UT by name
  // Mercury's station of 11 Jan 2009: the same minute five hours earlier (EST).
  const auto zoned = Run("stations --from 2009-01-01 --to 2009-01-31 --tz America/New_York");
  const auto plain = Run("stations --from 2009-01-01 --to 2009-01-31");
  EXPECT_TRUE(Contains(zoned.out, "Changes in direction (in America/New_York):"));
  EXPECT_TRUE(Contains(plain.out, "Changes in direction (in UT):"));
  const size_t at = plain.out.find("Mercury - 11 Jan 2009 at ");
  ASSERT_NE(at, std::string::npos);
  const int h = std::stoi(plain.out.substr(at + 25, 2)), m = std::stoi(plain.out.substr(at + 28, 2));
  char expected[64];
  std::snprintf(expected, sizeof expected, "Mercury - 11 Jan 2009 at %02d:%02d", h - 5, m);
  EXPECT_TRUE(Contains(zoned.out, expected)) << zoned.out;
}

// Offset of New York's clocks in 2009 by the US rule (Energy Policy Act of
// 2005): daylight time from 2:00 EST on 8 Mar (07:00 UT) to 2:00 EDT on 1 Nov
// (06:00 UT).
std::string NewYork2009Offset(const std::string& isoUT) {
  return isoUT >= "2009-03-08T07:00:00Z" && isoUT < "2009-11-01T06:00:00Z" ? "-04:00" : "-05:00";
}

// A year in New York as CSV: local instants shifted by the offset they name,
// only the zone's dates of 2009, and a void period before every Moon ingress
// (but possibly the first) ending at an ingress of the file. Three days in
// Kolkata (+05:30, no daylight time) as JSON Lines: the zone in the run line,
// the periods with their last aspect, the count in the end line.
TEST_F(CalendarCli, LocalInstantsAndVoidPeriodsInCsvAndJson) {
  const auto r = Run(
      "aspectarian --from 2009-01-01 --to 2009-12-31 --tz America/New_York --format csv --jobs 2");
  ASSERT_EQ(r.status, 0);
  const std::vector<CsvRecord> rows = ReadCsv(r.out);
  ASSERT_GT(rows.size(), 1000u);
  EXPECT_EQ(rows[0], (CsvRecord{"instant", "kind", "body", "other", "aspect", "sign", "direction",
                                "eclipse", "longitude", "end", "local_instant", "local_end",
                                "eclipse_type", "eclipse_instant", "eclipse_magnitude", "saros",
                                "saros_member", "phase"}));
  std::vector<std::string> ingresses;  // the Moon's, UT
  std::vector<CsvRecord> voids;
  for (size_t i = 1; i < rows.size(); ++i) {
    const CsvRecord& row = rows[i];
    ASSERT_EQ(row.size(), 18u);
    ASSERT_EQ(row[kLocal].substr(19), NewYork2009Offset(row[kInstant])) << row[kInstant];
    EXPECT_TRUE(row[kLocal] >= "2009-01-01" && row[kLocal] < "2010-01-01") << row[kLocal];
    if (row[kKind] == "ingress" && row[kBody] == "Moon") ingresses.push_back(row[kInstant]);
    if (row[kKind] == "void_of_course") voids.push_back(row);
  }
  ASSERT_GT(ingresses.size(), 150u);  // about 13.4 a month
  EXPECT_GE(voids.size() + 1, ingresses.size());
  for (const CsvRecord& v : voids) {
    EXPECT_TRUE(std::find(ingresses.begin(), ingresses.end(), v[kEnd]) != ingresses.end());
    EXPECT_LT(v[kInstant], v[kEnd]);
    EXPECT_EQ(v[kLocalEnd].substr(19), NewYork2009Offset(v[kEnd]));
  }
  std::istringstream lines(
      Run("aspectarian --from 2009-11-01 --days 3 --tz Asia/Kolkata --format json").out);
  std::map<std::string, int> count;
  for (std::string line; std::getline(lines, line);) {
    const auto j = nlohmann::json::parse(line);
    ++count[j["type"] == "event" ? j["kind"].get<std::string>() : j["type"].get<std::string>()];
    if (j["type"] == "run") {
      EXPECT_EQ(j["parameters"]["time_zone"], "Asia/Kolkata");
      EXPECT_TRUE(j["parameters"]["days"].is_number()) << j;  // numbers stay numbers
    } else if (j["type"] == "event") {
      EXPECT_EQ(j["local_instant"].get<std::string>().substr(19), "+05:30");
    }
    if (j["type"] == "event" && j["kind"] == "void_of_course") {
      EXPECT_LT(j["jd"].get<double>(), j["end_jd"].get<double>());
      EXPECT_NE(j["sign_left"], j["sign_entered"]);
      EXPECT_TRUE(j["last_aspect"]["body"] == "Moon" || j["last_aspect"]["other"] == "Moon");
    }
    if (j["type"] == "end") {
      EXPECT_EQ(j["count"], std::accumulate(count.begin(), count.end(), 0,
                                            [](int n, const auto& c) { return n + c.second; }) -
                                2);  // every line but the run line and this one
    }
  }
  EXPECT_GE(count["void_of_course"], 1);  // the Moon changes sign every two or three days
  EXPECT_EQ(count["end"], 1);
}

// The exports name each lunation's phase and give each station its stopping
// minute. Phases of January 2009 from PyEphem 4.1.4 (next_first_quarter_moon
// and the rest, UT), within 5 minutes (the design sky's lunations are within
// 4 of a modern ephemeris, see README). The year's stations are those of the
// stations list, minute and longitude alike; the calendar says where.
TEST_F(CalendarCli, LunationPhasesAndStationsToTheMinute) {
  const std::map<std::string, std::string> phases = {{"2009-01-04T11:56:15Z", "first_quarter"},
                                                     {"2009-01-11T03:26:47Z", "full_moon"},
                                                     {"2009-01-18T02:45:45Z", "last_quarter"},
                                                     {"2009-01-26T07:55:18Z", "new_moon"}};
  auto minutes = [](const std::string& iso) {
    int y, mo, d, h, mi, sec;
    std::sscanf(iso.c_str(), "%d-%d-%dT%d:%d:%d", &y, &mo, &d, &h, &mi, &sec);
    return ((d * 24 + h) * 60 + mi) + sec / 60.0;  // within one month
  };
  const auto january = ReadCsv(Run("aspectarian --from 2009-01-01 --days 31 --format csv").out);
  size_t named = 0;
  for (const CsvRecord& row : january) {
    if (row[kKind] != "lunation") continue;
    ++named;
    const auto ref = std::find_if(phases.begin(), phases.end(),
                                  [&](const auto& p) { return p.second == row[17]; });
    ASSERT_NE(ref, phases.end()) << row[kInstant] << " " << row[17];
    EXPECT_NEAR(minutes(row[kInstant]), minutes(ref->first), 5) << row[17];
  }
  EXPECT_EQ(named, 4u);

  const std::string year = "--from 2009-01-01 --to 2009-12-31 --format csv";
  std::vector<CsvRecord> fromAspectarian;
  for (const CsvRecord& row : ReadCsv(Run("aspectarian " + year).out))
    if (row[kKind] == "station") fromAspectarian.push_back(row);
  const auto fromList = ReadCsv(Run("stations " + year).out);
  ASSERT_EQ(fromAspectarian.size() + 1, fromList.size());
  for (size_t i = 0; i < fromAspectarian.size(); ++i)
    for (const int col : {0, 2, 6, 8})  // instant, body, direction, longitude
      EXPECT_EQ(fromAspectarian[i][col], fromList[i + 1][col]) << i << " " << col;
  const std::string ics = Run("aspectarian --from 2009-01-10 --days 3 --format ics").out;
  EXPECT_TRUE(Contains(ics, "Mercury stations retrograde at 7")) << ics;
}

TEST_F(CalendarCli, LongZonedRunsJoinLikeOneRun) {
  // Pieces of at most 366 local dates, on one thread or two, give the same
  // bytes; the seam at 1 Jan 2010 loses and repeats nothing.
  const std::string args = "aspectarian --tz America/Los_Angeles --format csv --from 20";
  const auto one = Run(args + "09-01-01 --to 2010-12-31 --jobs 1");
  ASSERT_EQ(one.status, 0);
  EXPECT_EQ(Run(args + "09-01-01 --to 2010-12-31 --jobs 2").out, one.out);
  const auto first = Run(args + "09-01-01 --to 2009-12-31").out;
  const auto second = Run(args + "10-01-01 --to 2010-12-31").out;
  EXPECT_EQ(first + second.substr(second.find('\n') + 1), one.out);
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
  EXPECT_EQ(rows[1][0] + " " + rows[1][1] + " " + rows[2][1],
            "2009-11-01 2009-11-01T04:00:00Z 2009-11-02T05:00:00Z");
  for (int i = 1; i <= 2; ++i) {
    const double jd = std::stod(rows[i][2]);
    EXPECT_NEAR(std::stod(rows[i][3]), Gmst(jd), 0.2) << "sidereal time at " << rows[i][1];
  }
  // The positions are those of the instant itself.
  const auto at = ReadCsv(Run("positions --date 2009-11-01 --time 04:00 --format csv").out);
  ASSERT_EQ(at.size(), 2u);
  auto moon = [](const std::vector<CsvRecord>& t) {
    return std::stod(t[1].at(std::find(t[0].begin(), t[0].end(), "moon_longitude") - t[0].begin()));
  };
  EXPECT_NEAR(moon(rows), moon(at), 1e-6);
  EXPECT_NEAR(std::stod(at[1][3]), Gmst(std::stod(at[1][2])), 0.2) << "positions at 04:00";
  // The text names the zone where UT rows say Greenwich; without --local-rows
  // the zone does not move the rows.
  const std::string args = "ephemeris --from 2009-11-01 --days 2 --midnight ";
  EXPECT_TRUE(Contains(Run(args + "--tz America/New_York --local-rows").out,
                       "at midnight, America/New_York"));
  const auto plain = Run(args + "--format csv");
  EXPECT_EQ(Run(args + "--tz America/New_York --format csv").out, plain.out);
  EXPECT_EQ(ReadCsv(plain.out)[1][1], "2009-11-01T00:00:00Z");
}

}  // namespace
}  // namespace novastra
