// Whole aspectarian runs: header, days, saving, the two-column view, the station
// list, the real sky against published times, a frozen month and the command line.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/application.h"
#include "app/aspectarian_run.h"
#include "support/support.h"

namespace fs = std::filesystem;

namespace novastra {
namespace {

std::string G(int code) { return std::string(1, static_cast<char>(code)); }

std::string ReadAll(const fs::path& p) {
  std::stringstream ss;
  ss << std::ifstream(p, std::ios::binary).rdbuf();
  return ss.str();
}

class AspectarianRun : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::remove_all(folder);
    fs::create_directories(folder);
    for (const auto& e : fs::directory_iterator(NOVASTRA_DATA_DIR))
      if (e.path().extension() == ".DAT" || e.path().extension() == ".OPT")
        fs::copy_file(e.path(), folder / e.path().filename());
    app = std::make_unique<Application>(ui, folder);
    ASSERT_TRUE(app->LoadFiles());
    app->EditOptions([&](RunOptions& o) { o[5] = o[12] = 0; });
    app->SetParams(RunParameters{});
    app->EditParams([&](RunParameters& p) { p.FullMonth = false; });
    app->EditParams([&](RunParameters& p) { p.Instant = InstantChoice::Midnight; });
  }
  void TearDown() override { fs::remove_all(folder); }

  bool Run(const char* m, const char* d, const char* y, int days) {
    app->EditParams([&](RunParameters& p) { p.StartMonth = m, p.StartDay = d, p.StartYear = y; });
    app->EditParams([&](RunParameters& p) { p.NumberOfDays = static_cast<int16_t>(days); });
    return app->CalculateAspectarian() == RunOutcome::Done;
  }
  const std::vector<std::string>& Lines() const { return app->aspectarian().lines; }
  // The run as saved: lines before nextFree with CRLF.
  std::string Text() const {
    std::string text;
    for (int k = 0; k < app->aspectarian().nextFree; ++k) text += Lines()[k] + "\r\n";
    return text;
  }
  int Days() const {
    return std::count(Lines().begin() + 6, Lines().begin() + app->aspectarian().nextFree, "");
  }
  // The lines of one day ("dd mmm"), whose date shows only on its first line.
  std::string Day(const std::string& ddmmm) const {
    std::string out;
    for (size_t k = 6; k < Lines().size() && !(!out.empty() && Lines()[k].empty()); ++k)
      if (!out.empty() || (Lines()[k].size() > 8 && Lines()[k].substr(2, 6) == ddmmm))
        out += Lines()[k] + "\n";
    return out;
  }

  HeadlessUi ui;
  const fs::path folder =
      fs::temp_directory_path() /
      ("novastra_asp_" +
       std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
  std::unique_ptr<Application> app;
};

TEST_F(AspectarianRun, HeaderAndDays) {  // the geocentric midnight header is in the golden month
  ASSERT_TRUE(Run("1", "1", "2009", 3));
  EXPECT_EQ(Days(), 3);
  EXPECT_EQ(app->aspectarian().nextFree + 1u, Lines().size());  // the spare entry
  EXPECT_EQ(Day("04 Jan"), "");
  app->EditParams([&](RunParameters& p) { p.Coords = Coordinates::Heliocentric; });
  app->EditParams([&](RunParameters& p) { p.Instant = InstantChoice::Noon; });
  app->EditParams([&](RunParameters& p) { p.FullMonth = true; });
  ASSERT_TRUE(Run("2", "17", "2009", 5));
  EXPECT_TRUE(
      Lines()[1].starts_with("  Tropical Aspectarian - Sunday, 01 Feb 2009 at noon, Greenwich"));
  EXPECT_EQ(Lines()[2], "           heliocentric  Julian Day = 2454864.0");
  EXPECT_EQ(Days(), 28);
}

TEST_F(AspectarianRun, ShownInOneOrTwoColumns) {
  ASSERT_TRUE(Run("1", "1", "2009", 1));
  const int n = app->aspectarian().nextFree, half = (n - 6) / 2;
  EXPECT_TRUE(std::equal(Lines().begin(), Lines().begin() + n, app->buffer().ViewLines().begin()));
  app->EditOptions([&](RunOptions& o) { o[5] = 1; });
  ASSERT_TRUE(Run("1", "1", "2009", 1));
  const auto& two = app->buffer().ViewLines();
  EXPECT_EQ(two[4], "  Day      h  m" + std::string(49, ' ') + "  Day      h  m");
  EXPECT_EQ(two[6], Lines()[6] + std::string(62 - Lines()[6].size(), ' ') +
                        Lines()[6 + half]);            // an ingress
  EXPECT_EQ(app->buffer().ViewCount(), 6 + half + 1);  // + the display's blank line
}

TEST_F(AspectarianRun, SavedFileAndAFailedSave) {
  app->EditParams([&](RunParameters& p) { p.SaveData = true; });
  ASSERT_TRUE(Run("1", "5", "2009", 2));
  EXPECT_EQ(ReadAll(folder / "010509AS.TEG"), Text());
  app->EditParams([&](RunParameters& p) { p.ZodiacMode = Zodiac::Sidereal; });
  app->EditParams([&](RunParameters& p) { p.Coords = Coordinates::Heliocentric; });
  ASSERT_TRUE(Run("1", "5", "2009", 1));
  EXPECT_TRUE(fs::exists(folder / "010509AS.SEH"));

  // A directory in the way: a clear message, the run still shown, no stray file.
  fs::create_directory(folder / "010509AS.AEH");
  app->EditParams([&](RunParameters& p) { p.ZodiacMode = Zodiac::Ayanamsa; });
  const auto files = [&] {
    return std::distance(fs::directory_iterator(folder), fs::directory_iterator());
  };
  const auto before = files();
  EXPECT_FALSE(Run("1", "5", "2009", 1));
  EXPECT_NE(ui.Messages().back().text.find("010509AS.AEH"), std::string::npos);
  EXPECT_GT(app->buffer().ViewCount(), 6);
  EXPECT_EQ(files(), before);
}

TEST_F(AspectarianRun, MoonChangeSignOnlyLeavesNoStations) {
  app->EditParams([&](RunParameters& p) { p.MoonChangeOnly = true; });
  ASSERT_TRUE(Run("1", "1", "2009", 40));
  for (int k = 6; k < app->aspectarian().nextFree; ++k)
    EXPECT_TRUE(Lines()[k].empty() || Lines()[k].ends_with(" - Moon ingress")) << Lines()[k];
  const int before = app->buffer().AllCount();
  app->runs().ShowRetrogradeTimes();
  EXPECT_EQ(app->buffer().AllCount(), before);
}

// ---- the real sky (times in UT) ----

TEST_F(AspectarianRun, EclipsesOf2009And2010) {
  // Annular eclipse at the New Moon of 26 January 2009, 07:55, at 6 Aquarius 30.
  ASSERT_TRUE(Run("1", "26", "2009", 1));
  const std::string jan26 = Day("26 Jan");
  const size_t at =
      jan26.find(G(224) + G(161) + G(233) + " - (New Moon, 06" + G(202) + "30.0) - solar eclipse");
  ASSERT_NE(at, std::string::npos) << jan26;
  EXPECT_EQ(jan26.substr(at - 7, 4), "07:5");
  // The Full Moon of 11 January 2009 was far from the nodes.
  ASSERT_TRUE(Run("1", "11", "2009", 1));
  EXPECT_NE(Day("11 Jan").find("(Full Moon, 21" + G(195)), std::string::npos);
  EXPECT_EQ(Day("11 Jan").find("eclipse"), std::string::npos);
  // Total lunar eclipse at the Full Moon of 21 December 2010, 08:13, at 29 Gemini 21.
  ASSERT_TRUE(Run("12", "21", "2010", 1));
  EXPECT_NE(Day("21 Dec").find(G(224) + G(165) + G(233) + " - (Full Moon, 29" + G(194)),
            std::string::npos);
  EXPECT_NE(Day("21 Dec").find(" - lunar eclipse"), std::string::npos);
}

TEST_F(AspectarianRun, MercuryStationsOfEarly2009) {
  // Mercury turned retrograde on 11 January 2009 and direct on 1 February.
  ASSERT_TRUE(Run("1", "1", "2009", 40));
  EXPECT_NE(Day("11 Jan").find(G(225) + "  " + G(156) + " +/- up to 1 hour"), std::string::npos);
  EXPECT_NE(Day("01 Feb").find(G(225) + "  " + G(171) + " +/- up to 1 hour"), std::string::npos);
  const std::string text = app->runs().StationsText();
  EXPECT_TRUE(
      text.starts_with("  Changes in direction (in UT):\r\n\r\n  Mercury - 11 Jan 2009 at "))
      << text;
  EXPECT_NE(text.find("  Mercury - 01 Feb 2009 at 07:"), std::string::npos) << text;
  // The command appends the text as one line below what is shown.
  const int before = app->buffer().AllCount();
  app->runs().ShowRetrogradeTimes();
  EXPECT_EQ(app->buffer().AllLines()[before], text);
}

TEST_F(AspectarianRun, GoldenJanuary2009) {
  app->EditParams([&](RunParameters& p) { p.FullMonth = true; });
  ASSERT_TRUE(Run("1", "1", "2009", 31));
  const fs::path golden = fs::path(NOVASTRA_TESTDATA_DIR) / "aspectarian_2009_01.TEG";
  testing_support::ExpectGolden(golden, Text());
}

TEST_F(AspectarianRun, CarriedJanuary2009ReadsTheGoldenTextWithoutItsSixty) {
  // The one "60" of the month: 30 Jan 22:60 (a sextile at 22:59.5 or later).
  app->EditParams([&](RunParameters& p) { p.FullMonth = true; });
  app->SetCarrySixty(true);
  ASSERT_TRUE(Run("1", "1", "2009", 31));
  std::string want = ReadAll(fs::path(NOVASTRA_TESTDATA_DIR) / "aspectarian_2009_01.TEG");
  const size_t at = want.find("          22:60  ");
  ASSERT_NE(at, std::string::npos);
  want.replace(at, 17, "          23:00  ");
  EXPECT_EQ(Text(), want);
}

TEST_F(AspectarianRun, CommandLineStations) {
  const auto [status, out, err] =
      testing_support::RunCli({"stations", "--start", "1/1/2009", "--days", "40", "--home",
                               folder.string(), "--encoding", "utf8", "--zodiac", "tropical"});
  ASSERT_EQ(status, 0) << err;
  EXPECT_TRUE(out.starts_with("  Changes in direction (in UT):\n\n  Mercury - 11 Jan 2009 at "))
      << out;
  EXPECT_NE(out.find("  Mercury - 01 Feb 2009 at "), std::string::npos);
}

}  // namespace
}  // namespace novastra
