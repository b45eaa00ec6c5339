// Words a script or a hurried user may hand novastra-cli: empty values, signed
// times, unreadable settings. Each is refused with exit status 2 and a message,
// or told and passed over, and never taken for a default or a result.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "cli_support.h"

namespace novastra {
namespace {

namespace fs = std::filesystem;
using testing_support::HomeFolder;
using testing_support::RunCli;

TEST(HostileArguments, EmptyAndSignedValuesAreRefusedAndNothingIsWritten) {
  HomeFolder home;
  const std::string h = home.path().string();
  const std::string out = (home / "out.csv").string();
  // Each once ran with exit status 0: the empty value was taken as "not
  // given" (today, UT, standard output), "-1:00" as 23:00 of the day before
  // under the date asked for.
  const std::vector<std::vector<std::string>> cases = {
      {"--home", h, "ephemeris", "--from", "", "--days", "2", "-o", out},
      {"--home", h, "ephemeris", "--from", "2009-01-01", "--to", "", "-o", out},
      {"--home", h, "ephemeris", "--from", "2009-01-01", "--days", "2", "-o", ""},
      {"--home", h, "aspectarian", "--from", "2009-01-01", "--days", "2", "--tz", "", "-o", out},
      {"--home", h, "stations", "--from", "", "--days", "30", "-o", out},
      {"--home", h, "positions", "--date", "2009-01-01", "--time", "", "-o", out},
      {"--home", h, "positions", "--date", "2009-01-01", "--time", "-1:00", "-o", out},
      {"--home", h, "positions", "--date", "2009-01-01", "--time", "1:-0", "-o", out},
      {"--home", "", "positions", "--date", "2009-01-01", "-o", out},
  };
  const int before = home.Entries();
  for (const auto& args : cases) {
    std::string line;
    for (const auto& a : args) line += "'" + a + "' ";
    const auto r = RunCli(args);
    EXPECT_EQ(r.status, 2) << line;
    EXPECT_EQ(r.out, "") << line;
    EXPECT_EQ(r.err.rfind("novastra-cli", 0), 0u) << line << "\n" << r.err;
    EXPECT_EQ(home.Entries(), before) << line;
  }
}

TEST(HostileArguments, UnreadableSettingsAreToldAndTheDefaultsUsed) {
  HomeFolder home;
  const std::vector<std::string> args = {"--home", home.path().string(), "ephemeris",
                                         "--from", "2009-01-01",         "--days",
                                         "1",      "--use-settings"};
  const auto plain = RunCli(args);
  ASSERT_EQ(plain.status, 0) << plain.err;
  // A FIFO would block a plain read; a folder cannot be read at all. The
  // desktop program tells both; the command line once said nothing.
  struct {
    const char* what;
    void (*make)(const fs::path& file);
    const char* reason;
  } cases[] = {
      {"FIFO", [](const fs::path& f) { ASSERT_EQ(::mkfifo(f.c_str(), 0644), 0); },
       "it is not a regular file"},
      {"folder", [](const fs::path& f) { fs::create_directory(f); }, "it is a folder"},
  };
  for (const auto& c : cases) {
    const fs::path ini = home / "NOVASTRA.INI";
    fs::remove_all(ini);
    c.make(ini);
    const auto r = RunCli(args);
    EXPECT_EQ(r.status, 0) << c.what;
    EXPECT_EQ(r.out, plain.out) << c.what;
    EXPECT_NE(r.err.find(std::string("Cannot read NOVASTRA.INI: ") + c.reason +
                         ". The default settings are used."),
              std::string::npos)
        << c.what << ": " << r.err;
  }
}

TEST(HostileArguments, AZoneFromTheSettingsIsNamedAsSuch) {
  // Once refused as '--tz "Mars/Base"', an option the user never gave.
  HomeFolder home;
  home.Write("NOVASTRA.INI", "[NOVASTRA]\r\nTimeZone=Mars/Base\r\n");
  const auto r = RunCli({"--home", home.path().string(), "aspectarian", "--from", "2009-01-01",
                         "--days", "1", "--use-settings"});
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err.find("TimeZone \"Mars/Base\" of NOVASTRA.INI: "), std::string::npos) << r.err;
  EXPECT_EQ(r.err.find("--tz"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace novastra
