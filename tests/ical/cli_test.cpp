// novastra-cli --format ics end to end: one command gives a year of New York
// lunations, ingresses, stations and void periods; bad words are refused.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "app/text_file.h"
#include "ical_support.h"
#include "support/support.h"

namespace novastra {
namespace {

using testing_support::CliResult;
using testing_support::RunCli;
using testing_support::TempFolder;

class IcsCommand : public ::testing::Test {
 protected:
  void SetUp() override { testing_support::CopySuppliedFiles(home.path()); }
  CliResult Cli(std::vector<std::string> args) {
    args.insert(args.begin(), {"--home", home.path().string()});
    return RunCli(args);
  }
  std::map<std::string, int> Categories(const ical_test::Parsed& p) {
    std::map<std::string, int> n;
    for (const auto& ev : p.events) ++n[ev.category];
    return n;
  }
  TempFolder home;
};

// The year 2009 for America/New_York in one file, checked against the CSV of
// the same run: the same instants for every lunation, ingress, station and
// void period, every event on a New York date of 2009.
TEST_F(IcsCommand, AYearForNewYorkInOneCommand) {
  const CliResult r =
      Cli({"aspectarian", "--from", "2009-01-01", "--to", "2009-12-31", "--tz", "America/New_York",
           "--format", "ics", "--kinds", "lunations,ingresses,stations,void", "-o",
           (home / "2009.ics").string()});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(r.out.empty());
  const ical_test::Parsed p = ical_test::Parse(home.Read("2009.ics"));
  ASSERT_TRUE(p.ok) << p.error;
  auto n = Categories(p);
  // 2009: 12 or 13 of each phase (50 lunations), the Moon's 160-odd sign
  // changes, Mercury's three retrograde periods among the stations, and the
  // six eclipses of Espenak's catalogues (two solar, four lunar).
  EXPECT_EQ(n["Lunation"], 50);
  EXPECT_EQ(n["Eclipse"], 6);
  EXPECT_GT(n["Ingress"], 170);
  EXPECT_GE(n["Station"], 15);
  EXPECT_GT(n["Void of course"], 150);
  EXPECT_EQ(n.size(), 5u);

  const CliResult c = Cli({"aspectarian", "--from", "2009-01-01", "--to", "2009-12-31", "--tz",
                           "America/New_York", "--format", "csv"});
  ASSERT_EQ(c.status, 0) << c.err;
  std::multiset<long long> want, got;  // CSV rows "instant,kind,...", to the minute
  const std::vector<std::string> rows = SplitTextLines(c.out);
  for (size_t i = 1; i < rows.size(); ++i) {
    const std::string& row = rows[i];
    if (row.empty()) continue;
    const std::string kind = row.substr(21, row.find(',', 21) - 21);
    if (kind != "lunation" && kind != "ingress" && kind != "station" && kind != "void_of_course")
      continue;
    std::tm t{};
    strptime(row.substr(0, 20).c_str(), "%Y-%m-%dT%H:%M:%SZ", &t);
    want.insert((static_cast<long long>(timegm(&t)) + 30) / 60 * 60);
  }
  for (const auto& ev : p.events)
    if (ev.category != "Eclipse") got.insert(ev.start);
  EXPECT_EQ(got, want);
  // New York dates of 2009: from 1 January 00:00 EST to 1 January 2010 00:00 EST.
  for (const auto& ev : p.events) {
    EXPECT_GE(ev.start, 1230786000) << ev.startText;
    EXPECT_LT(ev.start, 1262322000) << ev.startText;
  }
}

// The stations command to standard output, UTC, only the chosen bodies; the
// global --symbols ascii leaves the symbols out.
TEST_F(IcsCommand, StationsToStandardOutput) {
  const CliResult r = Cli({"--symbols", "ascii", "stations", "--from", "2009-01-01", "--to",
                           "2009-12-31", "--format", "ics", "--bodies", "mercury,venus"});
  ASSERT_EQ(r.status, 0) << r.err;
  const ical_test::Parsed p = ical_test::Parse(r.out);
  ASSERT_TRUE(p.ok) << p.error;
  // 2009: Mercury turned retrograde on 11 January, 7 May, 7 September and
  // 26 December, direct on 1 February, 31 May and 29 September; Venus
  // retrograde on 6 March and direct on 17 April.
  ASSERT_EQ(p.events.size(), 9u);
  for (const auto& ev : p.events) {
    EXPECT_TRUE(ev.summary.rfind("Mercury stations ", 0) == 0 ||
                ev.summary.rfind("Venus stations ", 0) == 0)
        << ev.summary;
    EXPECT_EQ(ev.summary.find('\xE2'), std::string::npos) << ev.summary;  // no symbol
    EXPECT_EQ(ev.startText.back(), 'Z');
  }
}

// A station on a local date whose UT date is the day before: Mercury turned
// retrograde at 14:33 UT on 26 December 2009 (the stations list of December),
// 04:33 of the 27th at Kiritimati (UTC+14), so a one-day run of the 27th
// there holds it.
TEST_F(IcsCommand, StationsOnTheZonesDates) {
  const CliResult r = Cli({"stations", "--from", "2009-12-27", "--days", "1", "--tz",
                           "Pacific/Kiritimati", "--format", "ics"});
  ASSERT_EQ(r.status, 0) << r.err;
  const ical_test::Parsed p = ical_test::Parse(r.out);
  ASSERT_TRUE(p.ok) << p.error;
  ASSERT_EQ(p.events.size(), 1u);
  EXPECT_EQ(p.events[0].startText, "DTSTART;TZID=Pacific/Kiritimati:20091227T043300");
  EXPECT_EQ(p.events[0].summary.rfind("Mercury stations retrograde", 0), 0u);
}

// Bad words and misplaced options: exit status 2, a message naming the word,
// nothing written.
TEST_F(IcsCommand, BadFilterWordsAreRefused) {
  struct Case {
    std::vector<std::string> args;
    const char* message;
  } cases[] = {
      {{"aspectarian", "--format", "ics", "--kinds", "aspects,eclipses"},
       "--kinds \"aspects,eclipses\": unknown kind \"eclipses\""},
      {{"aspectarian", "--format", "ics", "--bodies", "sun,eris"},
       "--bodies \"sun,eris\": unknown body \"eris\""},
      {{"aspectarian", "--format", "ics", "--kinds", ""}, "an empty item"},
      {{"aspectarian", "--format", "csv", "--kinds", "void"}, "--kinds goes with --format ics"},
      {{"stations", "--bodies", "mars"}, "--bodies goes with --format ics"},
      {{"stations", "--format", "ics", "--kinds", "stations"}, "--kinds"},
      {{"ephemeris", "--format", "ics"}, "--format"},
      {{"aspectarian", "--format", "ics", "--tz", "Mars/Olympus_Mons"}, "Mars/Olympus_Mons"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = c.args;
    args.insert(args.end(),
                {"--from", "2009-01-01", "--days", "3", "-o", (home / "x.ics").string()});
    std::filesystem::remove(home / "x.ics");
    const CliResult r = Cli(args);
    EXPECT_EQ(r.status, 2) << c.message;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    EXPECT_TRUE(r.out.empty());
    EXPECT_FALSE(std::filesystem::exists(home / "x.ics")) << c.message;
  }
}

// Python's icalendar package reads the same file (when it is installed).
TEST_F(IcsCommand, PythonIcalendarReadsTheFile) {
  ASSERT_EQ(std::system("/usr/bin/python3 -c 'import icalendar' 2>/dev/null"), 0)
      << "python3-icalendar is missing: scripts/setup installs it";
  const CliResult r = Cli({"aspectarian", "--from", "2009-03-01", "--days", "31", "--tz",
                           "America/New_York", "--format", "ics", "-o", (home / "m.ics").string()});
  ASSERT_EQ(r.status, 0) << r.err;
  const int count = static_cast<int>(ical_test::Parse(home.Read("m.ics")).events.size());
  const std::string script =
      "import icalendar,sys\n"
      "c=icalendar.Calendar.from_ical(open(sys.argv[1],'rb').read())\n"
      "e=c.walk('VEVENT')\n"
      "assert all(x['DTSTART'].dt.utcoffset() is not None for x in e)\n"
      "print(len(e))\n";
  home.Write("check.py", script);
  FILE* pipe =
      popen(("/usr/bin/python3 " + (home / "check.py").string() + " " + (home / "m.ics").string())
                .c_str(),
            "r");
  char buf[64] = {};
  const size_t got = fread(buf, 1, sizeof buf - 1, pipe);
  EXPECT_EQ(pclose(pipe), 0);
  EXPECT_EQ(std::string(buf, got), std::to_string(count) + "\n");
  EXPECT_GT(count, 150);
}

}  // namespace
}  // namespace novastra
