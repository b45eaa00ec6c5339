// A run the desktop program makes, the command line makes too, with the same
// text: runs of --days that start by 12/31/2100 and run on into 2101, as the
// Input window allows (a start year up to 2100, 1 to 366 days).
#include <gtest/gtest.h>

#include <sstream>

#include "app/application.h"
#include "app/input_check.h"
#include "support/support.h"

namespace novastra::testing_support {
namespace {

struct ParityCase {
  const char* command;
  const char* month;
  const char* day;
  const char* year;
  int days;
  const char* firstRow;  // the first row of the table or aspectarian
  const char* lastDate;  // the date of the run's last day, as its rows print it
};

const ParityCase kCases[] = {
    {"ephemeris", "12", "31", "2100", 7, "  31 Dec", "  06 Jan"},
    {"ephemeris", "12", "1", "2100", 366, "  01 Dec", "  01 Dec"},
    {"aspectarian", "12", "25", "2100", 14, "  25 Dec", "  07 Jan"},
};

TEST(DesktopParity, RunsPastTheLastYearAsTheDesktopDoes) {
  for (const ParityCase& c : kCases) {
    SCOPED_TRACE(std::string(c.command) + " from " + c.month + "/" + c.day + "/" + c.year);
    TempFolder home;
    CopySuppliedFiles(home.path());

    HeadlessUi ui;
    Application app(ui, home.path());
    ASSERT_TRUE(app.LoadFiles());
    app.SetCarrySixty(true);  // as the desktop program runs
    RunParameters p = app.params();
    p.StartMonth = c.month, p.StartDay = c.day, p.StartYear = c.year;
    SetDaysText(p, std::to_string(c.days));
    p.FullMonth = false, p.Instant = InstantChoice::Noon, p.Coords = Coordinates::Geocentric;
    p.ZodiacMode = Zodiac::Tropical, p.MoonNodes = NodeMode::True;
    p.Output = DataOutput::Longitude, p.SaveData = false;
    app.SetParams(p);
    const bool ephemeris = std::string(c.command) == "ephemeris";
    ASSERT_EQ(ephemeris ? app.CalculateEphemeris() : app.CalculateAspectarian(), RunOutcome::Done);
    std::string desktop;
    for (const std::string& line : app.buffer().ViewLines()) desktop += line + "\n";

    const CliResult cli = RunCli({"--home", home.path().string(), c.command, "--from",
                                  std::string(c.month) + "/" + c.day + "/" + c.year, "--days",
                                  std::to_string(c.days), "--noon", "--geo", "--zodiac",
                                  "tropical", "--node", "true", "--encoding", "cp1252"});
    ASSERT_EQ(cli.status, 0) << cli.err;
    auto trimmed = [](std::string t) {
      std::erase(t, '\r');
      const size_t first = t.find_first_not_of('\n'), last = t.find_last_not_of('\n');
      return first == std::string::npos ? std::string() : t.substr(first, last - first + 1);
    };
    EXPECT_EQ(trimmed(cli.out), trimmed(desktop));
    EXPECT_NE(cli.out.find(c.firstRow), std::string::npos);
    EXPECT_NE(cli.out.rfind(c.lastDate), std::string::npos);
  }
}

}  // namespace
}  // namespace novastra::testing_support
