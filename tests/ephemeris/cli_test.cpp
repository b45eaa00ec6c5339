// novastra-cli ephemeris, run as a separate program on a fresh folder.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <fstream>

#include "run_fixture.h"

namespace novastra {
namespace {

using testing::ReadBytes;

class EphemerisCli : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(std::filesystem::exists(NOVASTRA_CLI)) << "build novastra-cli first";
    home_ = testing::MakeTempFolder();
    for (const auto& entry : std::filesystem::directory_iterator(NOVASTRA_DATA_DIR)) {
      auto ext = entry.path().extension().string();
      if (ext == ".DAT" || ext == ".OPT")
        std::filesystem::copy_file(entry.path(), home_ / entry.path().filename());
    }
  }
  void TearDown() override {
    std::error_code ec;
    std::filesystem::remove_all(home_, ec);
  }

  // Runs the command; returns its exit status, fills out and err.
  int Run(const std::string& args) {
    std::string errFile = (home_ / "stderr.txt").string();
    std::string command = std::string(NOVASTRA_CLI) + " ephemeris --home '" + home_.string() +
                          "' " + args + " 2>'" + errFile + "'";
    FILE* pipe = popen(command.c_str(), "r");
    out.clear();
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, pipe)) > 0) out.append(buf, n);
    int status = pclose(pipe);
    err = ReadBytes(errFile);
    std::filesystem::remove(errFile);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  std::filesystem::path home_;
  std::string out, err;
};

TEST_F(EphemerisCli, PrintsTheDataWindowText) {
  ASSERT_EQ(Run("--start 1/1/2009 --full-month --midnight --geo --zodiac tropical --node true "
                "--table longitude --encoding cp1252"),
            0)
      << err;
  // The frozen table with plain line ends, then the display's blank line and
  // the spare entry.
  std::string golden = ReadBytes(std::filesystem::path(NOVASTRA_TESTDATA_DIR) / "jan2009_longitude.txt");
  std::string expected;
  for (char c : golden)
    if (c != '\r') expected += c;
  EXPECT_EQ(out, expected + "\n\n");
  EXPECT_EQ(err, "");
  EXPECT_FALSE(std::filesystem::exists(home_ / "010109LO.TEG"));

  // UTF-8 draws the symbol codes; --days ends the full month; --save writes files.
  ASSERT_EQ(Run("--start 1/20/2009 --days 2 --midnight --encoding utf8 --save"), 0) << err;
  size_t row = out.find("\n  20 Jan ");
  ASSERT_NE(row, std::string::npos) << out;
  EXPECT_EQ(out.substr(row + 24, 6), " 00\xE2\x99\x92");  // the Sun just inside Aquarius
  EXPECT_NE(out.find("\n  21 Jan "), std::string::npos);
  EXPECT_EQ(out.find("\n  22 Jan "), std::string::npos);
  EXPECT_TRUE(std::filesystem::exists(home_ / "012009LO.TEG"));
}

TEST_F(EphemerisCli, RefusedAndMalformedInput) {
  EXPECT_EQ(Run("--start 13/1/2009 --days 3"), 2);
  EXPECT_EQ(out, "");
  EXPECT_NE(err.find("Error in input data section. Please correct."), std::string::npos);

  EXPECT_EQ(Run("--start 1-1-2009"), 2);
  EXPECT_NE(err.find("M/D/YYYY"), std::string::npos);
  EXPECT_NE(Run("--start 1/1/2009 --zodiac lunar"), 0);
  EXPECT_NE(Run("--start 1/1/2009 --noon --midnight"), 0);
  EXPECT_EQ(out, "");
}

}  // namespace
}  // namespace novastra
