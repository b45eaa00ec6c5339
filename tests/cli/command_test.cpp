// novastra-cli conventions: exit statuses, checked writes, atomic -o, fixed
// defaults, global options anywhere, encodings from the locale, long runs.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "app/input_check.h"
#include "app/safe_write.h"
#include "app/settings.h"
#include "app/text_file.h"
#include "astro/calendar.h"
#include "cli_support.h"
#include "novastra_version.h"
#include "reports/aspectarian_report.h"
#include "support/csv_reader.h"
#include "text/export_formats.h"

namespace novastra {
namespace {

namespace fs = std::filesystem;
using testing_support::CliShell;
using testing_support::HomeFolder;

class Cli : public ::testing::Test {
 protected:
  HomeFolder home;
  std::string Home() const { return "--home '" + home.path().string() + "' "; }
};

TEST_F(Cli, ExitStatuses) {
  struct Case {
    std::string args;
    int status;
  };
  const Case cases[] = {
      {"--version", 0},
      {"--help", 0},
      {"ephemeris --help", 0},
      {Home() + "ephemeris --from 1/1/2009 --days 3", 0},
      {"", 2},                              // no command
      {Home() + "ephemeris --days -3", 2},  // outside 1..366
      {Home() + "ephemeris --days 0", 2},
      {Home() + "ephemeris --days 367", 2},
      {Home() + "ephemeris --days 99999999999999999999", 2},
      {Home() + "ephemeris --from 13/1/2009", 2},                        // refused date
      {Home() + "ephemeris --from 2009-01-01 --to 2008-12-31", 2},       // empty range
      {Home() + "ephemeris --from 12/1/2100 --days 40", 2},              // past 2100
      {Home() + "ephemeris --from 1/1/2009 --to 1/2/2009 --days 3", 2},  // --to or --days
      {Home() + "ephemeris --format xml", 2},
      {Home() + "ephemeris --moon-sign-only", 2},  // an aspectarian option
      {Home() + "stations --helio", 2},            // stations are geocentric
      {Home() + "positions --date 1/1/2000 --time 25:00", 2},
      {Home() + "positions", 2},                                       // --date required
      {Home() + "ephemeris --from 1/1/2009 --days 3 > /dev/full", 1},  // every write checked
      {Home() + "positions --date 1/1/2000 --format json > /dev/full", 1},
      {Home() + "ephemeris --days 3 -o /nonexistent-folder/x.csv", 1},
      {"--home /nonexistent-folder/novastra ephemeris --days 3", 1},
  };
  for (const Case& c : cases)
    EXPECT_EQ(CliShell(c.args + " 2>/dev/null").status, c.status) << c.args;
  EXPECT_EQ(CliShell("--version").out, std::string("novastra-cli ") + kVersion + "\n");
}

TEST_F(Cli, MessagesNameTheFileAndTheReason) {
  EXPECT_EQ(CliShell(Home() + "ephemeris --days 3 2>&1 >/dev/full").out,
            "novastra-cli: cannot write standard output: No space left on device\n");
  EXPECT_EQ(CliShell(Home() + "ephemeris --days -3 2>&1").out.substr(0, 13), "novastra-cli:");
  const std::string missing = (home / "no-folder" / "x.csv").string();
  const auto r = CliShell(Home() + "ephemeris --days 3 -o '" + missing + "' 2>&1");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "novastra-cli: cannot write " + missing + ": No such file or directory\n");
}

TEST_F(Cli, OutputFileIsCompleteOrUntouched) {
  const fs::path target = home / "out.csv";
  home.Write("out.csv", "old contents");
  EXPECT_EQ(CliShell(Home() + "ephemeris --from 1/1/2009 --days 10 --format csv -o '" +
                     target.string() + "'")
                .status,
            0);
  const auto rows = testing_support::ReadCsv(home.Read("out.csv"));
  EXPECT_EQ(rows.size(), 11u);
  const int entries = home.Entries();
  // A refused run and a failed one leave the file as it was and no temporary file.
  EXPECT_EQ(
      CliShell(Home() + "ephemeris --days 400 -o '" + target.string() + "' 2>/dev/null").status, 2);
  // A folder in the way of the rename: the write fails at its last step.
  fs::create_directory(home / "taken.csv");
  EXPECT_EQ(
      CliShell(Home() + "ephemeris --days 3 -o '" + (home / "taken.csv").string() + "' 2>/dev/null")
          .status,
      1);
  EXPECT_TRUE(fs::is_empty(home / "taken.csv"));
  fs::remove(home / "taken.csv");
  EXPECT_EQ(testing_support::ReadCsv(home.Read("out.csv")).size(), 11u);
  EXPECT_EQ(home.Entries(), entries);
  // A write failing half way leaves no temporary file behind.
  {
    AtomicFile f(home / "never.txt");
    f.Write("partial");
  }
  EXPECT_FALSE(fs::exists(home / "never.txt"));
  EXPECT_EQ(home.Entries(), entries);
}

TEST_F(Cli, FixedDefaultsIgnoreTheDesktopSettingsAndWriteNothing) {
  // The desktop's saved choices: heliocentric, sidereal, mean node, 5 days.
  RunParameters saved;
  saved.Coords = Coordinates::Heliocentric;
  saved.ZodiacMode = Zodiac::Sidereal;
  SetDaysText(saved, "5");
  saved.FullMonth = false;
  ASSERT_TRUE(WriteSettings(home.path(), Settings{}, saved));
  auto entries = home.Entries();
  const auto plain = CliShell(Home() + "ephemeris --from 1/1/2009 --days 3 --format json");
  EXPECT_EQ(plain.status, 0);
  EXPECT_NE(plain.out.find("\"coordinates\":\"geocentric\""), std::string::npos) << plain.out;
  EXPECT_NE(plain.out.find("\"zodiac\":\"tropical\""), std::string::npos);
  EXPECT_NE(plain.out.find("\"instant\":\"12:00\""), std::string::npos);
  EXPECT_EQ(home.Entries(), entries);  // nothing written
  const auto desktop = CliShell(Home() + "ephemeris --use-settings --from 3/5/2001 --format json");
  EXPECT_NE(desktop.out.find("\"coordinates\":\"heliocentric\""), std::string::npos) << desktop.out;
  EXPECT_NE(desktop.out.find("\"zodiac\":\"sidereal\""), std::string::npos);
  EXPECT_NE(desktop.out.find("\"from\":\"2001-03-05\",\"to\":\"2001-03-09\""), std::string::npos);
  // Any run without --days or --to is 30 days long.
  const auto thirty = CliShell(Home() + "ephemeris --from 1/1/2009 --format csv");
  EXPECT_EQ(testing_support::ReadCsv(thirty.out).size(), 31u);
  // --save writes the six data files of the run.
  EXPECT_EQ(
      CliShell(Home() + "ephemeris --from 1/1/2009 --days 3 --midnight --save > /dev/null").status,
      0);
  EXPECT_TRUE(fs::exists(home / "010109LO.TEG"));
  // The six files, and the lock a saving run takes on the folder.
  EXPECT_TRUE(fs::exists(home / "NOVASTRA.LCK"));
  EXPECT_EQ(home.Entries(), entries + 7);
}

TEST_F(Cli, GlobalOptionsBeforeOrAfterTheCommand) {
  const auto a =
      CliShell(Home() + "--encoding utf8 --symbols ascii ephemeris --from 1/1/2009 --days 3");
  const auto b =
      CliShell("ephemeris --from 1/1/2009 --days 3 --symbols ascii " + Home() + " --encoding utf8");
  EXPECT_EQ(a.status, 0);
  EXPECT_EQ(a.out, b.out);
  EXPECT_NE(a.out.find("Cap"), std::string::npos);  // the Sun in Capricorn
  for (unsigned char c : a.out) EXPECT_LT(c, 0x80);
}

TEST_F(Cli, EncodingFollowsTheLocale) {
  const std::string args = Home() + "ephemeris --from 1/1/2009 --days 3";
  const auto utf8 = CliShell(args, "LC_ALL=C.UTF-8");
  const auto legacy = CliShell(args, "LC_ALL=C");
  const auto forced = CliShell(args + " --encoding cp1252", "LC_ALL=C.UTF-8");
  EXPECT_NE(utf8.out.find("\xe2\x99\x91"), std::string::npos);  // U+2651 Capricorn
  EXPECT_NE(legacy.out.find(static_cast<char>(201)), std::string::npos);
  EXPECT_EQ(forced.out, legacy.out);
}

TEST_F(Cli, LongRunsAreOneStreamOrConsecutiveRuns) {
  // 2009-2010 as one CSV stream equals the typed long run (the Moon's void
  // periods among the rows are checked on their own).
  const auto csv =
      CliShell(Home() + "aspectarian --from 2009-01-01 --to 2010-12-31 --format csv --midnight");
  ASSERT_EQ(csv.status, 0);
  std::string events;
  for (size_t at = 0, end; at < csv.out.size(); at = end + 1) {
    end = csv.out.find('\n', at);
    const std::string row = csv.out.substr(at, end - at + 1);
    if (row.find(",void_of_course,") == std::string::npos) events += row;
  }
  AspectarianRequest r;
  r.sky.tables = &testing_support::Tables();
  r.startJD = JulianDayNumber(2009, 1, 1);
  r.dayCount = 730;
  std::string expected = EventCsvHeader();
  for (const Event& e : BuildAspectarian(r).events)
    AppendEventCsv(expected, e, Coordinates::Geocentric);
  EXPECT_EQ(events, expected);
  // As text: a run of 366 days, then one of 364, each as the program prints it.
  const auto text = CliShell(Home() + "ephemeris --from 2009-01-01 --to 2010-12-31 --midnight");
  const auto first = CliShell(Home() + "ephemeris --from 2009-01-01 --days 366 --midnight");
  const auto second = CliShell(Home() + "ephemeris --from 2010-01-02 --days 364 --midnight");
  EXPECT_EQ(text.out, first.out + second.out);
  // JSON Lines: run line, 730 days, end line.
  const auto json =
      CliShell(Home() + "ephemeris --from 2009-01-01 --to 2010-12-31 --format json --jobs 2");
  std::istringstream lines(json.out);
  std::string line;
  int count = 0;
  while (std::getline(lines, line)) {
    const auto j = nlohmann::json::parse(line);
    if (count == 0) {
      EXPECT_EQ(j["type"], "run");
    }
    ++count;
  }
  EXPECT_EQ(count, 732);
  EXPECT_EQ(
      CliShell(Home() + "ephemeris --from 2009-01-01 --to 2010-12-31 --format json --jobs 1").out,
      json.out);
}

TEST_F(Cli, PositionsAtAnyTime) {
  const auto midnight = CliShell(Home() + "positions --date 2000-01-01 --format csv");
  const auto atTime = CliShell(Home() + "positions --date 1/1/2000 --time 00:00:00 --format csv");
  const auto noon = CliShell(Home() + "positions --date 1/1/2000 --time 12:00 --format csv");
  const auto noonFlag = CliShell(Home() + "positions --date 1/1/2000 --noon --format csv");
  EXPECT_EQ(midnight.out, atTime.out);
  EXPECT_EQ(noon.out, noonFlag.out);
  const auto rows = testing_support::ReadCsv(noon.out);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[1][1], "2000-01-01T12:00:00Z");
  EXPECT_EQ(rows[1][2], "2451545");
  // The Sun's geometric longitude at J2000.0 is 280.37 degrees (Meeus,
  // Astronomical Algorithms, ch. 25: mean longitude 280.46646 and equation
  // of centre -0.1; within 0.01 degree).
  EXPECT_NEAR(std::stod(rows[1][4]), 280.37, 0.01);
}

}  // namespace
}  // namespace novastra
