// novastra-cli aspectarian and stations, run as a user would run them.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

struct Result {
  std::string out;
  int status = -1;
};

Result Cli(const std::string& args) {
  Result r;
  const std::string cmd = std::string(NOVASTRA_CLI) + " " + args + " 2>/dev/null";
  FILE* p = popen(cmd.c_str(), "r");
  if (!p) return r;
  std::array<char, 4096> buf;
  size_t n;
  while ((n = fread(buf.data(), 1, buf.size(), p)) > 0) r.out.append(buf.data(), n);
  const int st = pclose(p);
  r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  return r;
}

class AspectarianCli : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(NOVASTRA_CLI)) GTEST_SKIP() << "novastra-cli not built";
    home = fs::temp_directory_path() / ("novastra_asp_cli_" + std::string(
        ::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(home);
    fs::create_directories(home);
    for (const auto& e : fs::directory_iterator(NOVASTRA_DATA_DIR))
      if (e.path().extension() == ".DAT" || e.path().extension() == ".OPT")
        fs::copy_file(e.path(), home / e.path().filename());
  }
  void TearDown() override { fs::remove_all(home); }

  std::string Args(const std::string& rest) const {
    return "--home " + home.string() + " --encoding utf8 --midnight --geo --zodiac tropical " + rest;
  }

  fs::path home;
};

TEST_F(AspectarianCli, PrintsTheDataWindowText) {
  const Result r = Cli("aspectarian " + Args("--start 1/1/2009 --days 1"));
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("  Tropical Aspectarian - Thursday, 01 Jan 2009 at midnight, Greenwich"), std::string::npos);
  EXPECT_NE(r.out.find("  01 Jan  00:29  \u263D  \u2653 - Moon ingress\n"), std::string::npos) << r.out;
  // Only Moon ingresses.
  const Result only = Cli("aspectarian " + Args("--start 1/1/2009 --days 3 --moon-sign-only"));
  EXPECT_EQ(only.out.find("planet ingress"), std::string::npos);
  EXPECT_NE(only.out.find("Moon ingress"), std::string::npos);
  const Result hidden = Cli("aspectarian " + Args("--start 1/1/2009 --days 3 --moon-ingress hide"));
  EXPECT_EQ(hidden.out.find("Moon ingress"), std::string::npos);
  EXPECT_NE(hidden.out.find("planet ingress"), std::string::npos);
}

TEST_F(AspectarianCli, TwoColumnsFromTheOptionsFile) {
  std::string opt;
  {
    std::ifstream in(home / "OPTIONS.OPT", std::ios::binary);
    opt.assign(std::istreambuf_iterator<char>(in), {});
  }
  // Option 5 is the fifth line.
  size_t pos = 0;
  for (int k = 0; k < 4; ++k) pos = opt.find('\n', pos) + 1;
  opt.replace(pos, 7, "      1");
  std::ofstream(home / "OPTIONS.OPT", std::ios::binary) << opt;
  const Result r = Cli("aspectarian " + Args("--start 1/1/2009 --days 1"));
  EXPECT_NE(r.out.find("  Day      h  m" + std::string(49, ' ') + "  Day      h  m\n"), std::string::npos) << r.out;
}

TEST_F(AspectarianCli, StationsAndRefusedInput) {
  const Result r = Cli("stations " + Args("--start 1/1/2009 --days 40"));
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out.rfind("  Changes in direction (in UT):\n\n  Mercury - 11 Jan 2009 at ", 0), 0u) << r.out;
  EXPECT_NE(r.out.find("  Mercury - 01 Feb 2009 at "), std::string::npos);

  const Result bad = Cli("aspectarian " + Args("--start 13/1/2009 --days 1"));
  EXPECT_EQ(bad.status, 2);
  EXPECT_EQ(bad.out, "");
  EXPECT_NE(Cli("aspectarian " + Args("--start 1/1/2009 --moon-ingress sometimes")).status, 0);
}

TEST_F(AspectarianCli, SaveWritesTheAspectarianFile) {
  const Result r = Cli("aspectarian " + Args("--start 1/5/2009 --days 1 --save"));
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(fs::exists(home / "010509AS.TEG"));
  for (const auto& e : fs::directory_iterator(home))
    EXPECT_EQ(e.path().filename().string().find(".tmp"), std::string::npos) << e.path();
}

}  // namespace
