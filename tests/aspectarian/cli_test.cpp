// novastra-cli aspectarian and stations, run as a user would run them.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

// Standard output and exit status of one command.
std::pair<std::string, int> Cli(const fs::path& home, const std::string& args) {
  const std::string cmd = std::string(NOVASTRA_CLI) + " " + args + " --home " + home.string() +
                          " --encoding utf8 --midnight --geo --zodiac tropical 2>/dev/null";
  std::string out;
  FILE* p = popen(cmd.c_str(), "r");
  char buf[4096];
  for (size_t n; p && (n = fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
  const int st = p ? pclose(p) : -1;
  return {out, WIFEXITED(st) ? WEXITSTATUS(st) : -1};
}

TEST(AspectarianCli, AspectarianAndStations) {
  if (!fs::exists(NOVASTRA_CLI)) GTEST_SKIP() << "novastra-cli not built";
  const fs::path home = fs::temp_directory_path() / "novastra_asp_cli";
  fs::remove_all(home);
  fs::create_directories(home);
  for (const auto& e : fs::directory_iterator(NOVASTRA_DATA_DIR))
    if (e.path().extension() == ".DAT" || e.path().extension() == ".OPT") fs::copy_file(e.path(), home / e.path().filename());

  auto [out, status] = Cli(home, "aspectarian --start 1/1/2009 --days 3");
  EXPECT_EQ(status, 0);
  EXPECT_NE(out.find("  Tropical Aspectarian - Thursday, 01 Jan 2009 at midnight, Greenwich"), std::string::npos);
  EXPECT_NE(out.find("  01 Jan  00:29  \u263D  \u2653 - Moon ingress\n"), std::string::npos) << out;
  EXPECT_NE(out.find("planet ingress"), std::string::npos);

  std::tie(out, status) = Cli(home, "aspectarian --start 1/1/2009 --days 3 --moon-sign-only");
  EXPECT_EQ(out.find("planet ingress"), std::string::npos);
  EXPECT_NE(out.find("Moon ingress"), std::string::npos);
  std::tie(out, status) = Cli(home, "aspectarian --start 1/1/2009 --days 3 --moon-ingress hide");
  EXPECT_EQ(out.find("Moon ingress"), std::string::npos);

  std::tie(out, status) = Cli(home, "stations --start 1/1/2009 --days 40");
  EXPECT_EQ(status, 0);
  EXPECT_EQ(out.rfind("  Changes in direction (in UT):\n\n  Mercury - 11 Jan 2009 at ", 0), 0u) << out;
  EXPECT_NE(out.find("  Mercury - 01 Feb 2009 at "), std::string::npos);

  EXPECT_EQ(Cli(home, "aspectarian --start 13/1/2009 --days 1"), std::make_pair(std::string(), 2));
  EXPECT_NE(Cli(home, "aspectarian --start 1/1/2009 --moon-ingress sometimes").second, 0);
  fs::remove_all(home);
}

}  // namespace
