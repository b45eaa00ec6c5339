// The command line against text made by an independent model of the program's
// pages (data/README.md): every run, byte for byte, in a fresh application
// folder holding the supplied files and the run's own OPTIONS.OPT.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "support/support.h"

namespace novastra::testing_support {
namespace {

const std::filesystem::path kData = NOVASTRA_TESTDATA_DIR;

struct ConformanceRun {
  std::vector<std::string> args;
  std::string optionsFile;
  std::string expected;  // file name under data/
};

std::vector<ConformanceRun> LoadRuns() {
  std::vector<ConformanceRun> runs;
  std::ifstream in(kData / "runs.jsonl");
  for (std::string line; std::getline(in, line);) {
    if (line.empty()) continue;
    const auto j = nlohmann::json::parse(line);
    runs.push_back({j.at("args").get<std::vector<std::string>>(),
                    j.at("options_file").get<std::string>(), j.at("expected").get<std::string>()});
  }
  return runs;
}

const std::vector<ConformanceRun>& Runs() {
  static const std::vector<ConformanceRun> runs = LoadRuns();
  return runs;
}

// As the reference files hold it: no carriage returns, no trailing newlines.
std::string Normalized(std::string text) {
  std::erase(text, '\r');
  while (!text.empty() && text.back() == '\n') text.pop_back();
  return text;
}

class Conformance : public ::testing::TestWithParam<size_t> {};

TEST_P(Conformance, PrintsTheReferenceText) {
  const ConformanceRun& run = Runs().at(GetParam());
  TempFolder home;
  CopySuppliedFiles(home.path());
  home.Write("OPTIONS.OPT", run.optionsFile);
  std::vector<std::string> args = {"--home", home.path().string()};
  args.insert(args.end(), run.args.begin(), run.args.end());
  const CliResult r = RunCli(args);
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string want = ReadBytes(kData / run.expected);
  const std::string got = Normalized(r.out);
  const size_t at =
      std::mismatch(got.begin(), got.end(), want.begin(), want.end()).first - got.begin();
  const size_t line = at == 0 ? 0 : got.rfind('\n', at - 1) + 1;
  EXPECT_TRUE(!want.empty() && got == want)
      << run.expected << " differs at byte " << at << "\nwant: " << want.substr(line, 140)
      << "\ngot:  " << got.substr(std::min(line, got.size()), 140);
}

// Lines of a text without carriage returns or trailing blank lines.
std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(Normalized(text));
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// --save writes the run's data files as the desktop program does: the file of
// the table shown (or the aspectarian's file) holds the reference lines, the
// minutes and seconds carried as on screen, but for the SVP on header line 2.
class SavedFiles : public ::testing::TestWithParam<size_t> {};

TEST_P(SavedFiles, HoldTheReferenceLines) {
  const ConformanceRun& run = Runs().at(GetParam());
  TempFolder home;
  CopySuppliedFiles(home.path());
  home.Write("OPTIONS.OPT", run.optionsFile);
  std::set<std::filesystem::path> before;
  for (const auto& e : std::filesystem::directory_iterator(home.path())) before.insert(e.path());
  std::vector<std::string> args = {"--home", home.path().string()};
  args.insert(args.end(), run.args.begin(), run.args.end());
  args.push_back("--save");
  ASSERT_EQ(RunCli(args).status, 0);
  std::vector<std::string> want = Lines(ReadBytes(kData / run.expected));
  ASSERT_GT(want.size(), 2u);
  want.erase(want.begin() + 1);
  int saved = 0;
  bool found = false;
  for (const auto& e : std::filesystem::directory_iterator(home.path())) {
    if (before.count(e.path()) || e.path().filename() == "NOVASTRA.LCK") continue;
    ++saved;
    std::vector<std::string> got = Lines(ReadBytes(e.path()));
    if (got.size() > 1) got.erase(got.begin() + 1);
    found = found || got == want;
  }
  EXPECT_GT(saved, 0) << "no data file saved";
  EXPECT_TRUE(found) << "no saved file holds the lines of " << run.expected;
}

TEST(ConformanceData, HoldsEveryRun) { EXPECT_EQ(Runs().size(), 88u); }

std::string RunName(const ::testing::TestParamInfo<size_t>& info) {
  const ConformanceRun& r = Runs()[info.param];
  return r.expected.substr(9, 3) + "_" + r.args.front();
}

// The runs whose shown text is what their saved file holds: the ephemeris
// tables, and the aspectarians shown in one column (option 5 is 0; the saved
// file is always one column). A stations list saves no data file.
std::vector<size_t> SavedFileRuns() {
  std::vector<size_t> out;
  for (size_t i = 0; i < Runs().size(); ++i) {
    const ConformanceRun& r = Runs()[i];
    std::istringstream options(r.optionsFile);
    std::string line;
    for (int n = 0; n < 5; ++n) std::getline(options, line);
    const bool oneColumn = std::stod(line.substr(0, 7)) == 0;
    if (r.args.front() == "ephemeris" || (r.args.front() == "aspectarian" && oneColumn))
      out.push_back(i);
  }
  return out;
}

INSTANTIATE_TEST_SUITE_P(Runs, Conformance, ::testing::Range<size_t>(0, Runs().size()), RunName);
INSTANTIATE_TEST_SUITE_P(Runs, SavedFiles, ::testing::ValuesIn(SavedFileRuns()), RunName);

}  // namespace
}  // namespace novastra::testing_support
