// The desktop's sky and node choices reach the command line only through
// --use-settings; without it the fixed defaults stay.
#include <gtest/gtest.h>

#include "app/settings.h"
#include "cli_support.h"

namespace novastra {
namespace {

using testing_support::CliShell;
using testing_support::HomeFolder;

TEST(CliSkySettings, ApparentSkyAndOsculatingNodeFromTheDesktopSettings) {
  HomeFolder home;
  const std::string at = "--home '" + home.path().string() + "' ";
  RunParameters saved;
  saved.SkyChoice = Sky::Apparent;
  saved.MoonNodes = NodeMode::Osculating;
  ASSERT_TRUE(WriteSettings(home.path(), Settings{}, saved));
  struct {
    std::string args, sky, node;
  } cases[] = {
      {"ephemeris --from 1/1/2009 --days 2 --format json", "design", "true"},
      {"ephemeris --use-settings --from 1/1/2009 --days 2 --format json", "apparent", "osculating"},
      // The command line's own choices win over the settings.
      {"ephemeris --use-settings --sky design --node mean --from 1/1/2009 --days 2 --format json",
       "design", "mean"},
  };
  for (const auto& c : cases) {
    const auto run = CliShell(at + c.args);
    ASSERT_EQ(run.status, 0) << c.args << run.err;
    EXPECT_NE(run.out.find("\"sky\":\"" + c.sky + "\""), std::string::npos)
        << c.args << run.out.substr(0, 400);
    EXPECT_NE(run.out.find("\"node\":\"" + c.node + "\""), std::string::npos)
        << c.args << run.out.substr(0, 400);
  }
}

}  // namespace
}  // namespace novastra
