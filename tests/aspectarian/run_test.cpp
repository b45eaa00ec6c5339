// Whole aspectarian runs: header, days, saving, the two-column view, the
// station list, and events of the real sky checked against published times.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "aspectarian/aspectarian.h"
#include "shell/application.h"

namespace fs = std::filesystem;

namespace novastra {
namespace {

std::string G(int code) { return std::string(1, static_cast<char>(code)); }

std::string ReadAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

class AspectarianRun : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = fs::temp_directory_path() /
             ("novastra_asp_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder);
    fs::create_directories(folder);
    for (const auto& e : fs::directory_iterator(NOVASTRA_DATA_DIR))
      if (e.path().extension() == ".DAT" || e.path().filename() == "OPTIONS.OPT")
        fs::copy_file(e.path(), folder / e.path().filename());
    app = std::make_unique<Application>(ui, folder);
    ASSERT_TRUE(app->LoadFiles());
    app->options[5] = 0;
    app->options[12] = 0;
    RunParameters& p = app->params;
    p.FullMonth = false;
    p.SaveData = false;
    p.Instant = InstantChoice::Midnight;
    p.Coords = Coordinates::Geocentric;
    p.ZodiacMode = Zodiac::Tropical;
    p.MoonNodes = NodeMode::True;
    p.MoonSign = MoonChangeSign::Display;
    p.MoonChangeOnly = false;
  }
  void TearDown() override {
    app.reset();
    fs::remove_all(folder);
  }

  bool Run(const char* m, const char* d, const char* y, int days) {
    app->params.StartMonth = m;
    app->params.StartDay = d;
    app->params.StartYear = y;
    app->params.NumberOfDays = static_cast<int16_t>(days);
    return app->CalculateAspectarian();
  }

  const std::vector<std::string>& Lines() const { return app->aspectarian.lines; }

  // The event lines of one day ("dd mmm"), whose date shows only on its first.
  std::vector<std::string> Day(const std::string& ddmmm) const {
    std::vector<std::string> out;
    bool in = false;
    for (size_t k = 6; k < Lines().size(); ++k) {
      const std::string& l = Lines()[k];
      if (l.empty()) {
        if (in) break;
        continue;
      }
      if (l.substr(2, 6) == ddmmm) in = true;
      if (in) out.push_back(l);
    }
    return out;
  }

  static bool Has(const std::vector<std::string>& lines, const std::string& text) {
    for (const auto& l : lines)
      if (l.find(text) != std::string::npos) return true;
    return false;
  }

  HeadlessUi ui;
  fs::path folder;
  std::unique_ptr<Application> app;
};

TEST_F(AspectarianRun, HeaderAndDays) {
  ASSERT_TRUE(Run("1", "1", "2009", 3));
  const auto& l = Lines();
  EXPECT_EQ(l[0], "");
  EXPECT_EQ(l[1].rfind("  Tropical Aspectarian - Thursday, 01 Jan 2009 at midnight, Greenwich   SVP = ", 0), 0u);
  EXPECT_EQ(l[2], "           geocentric    Julian Day = 2454832.5");
  EXPECT_EQ(l[3], "");
  EXPECT_EQ(l[4], "  Day      h  m");
  EXPECT_EQ(l[5], "  -------------");
  // Three days, each closed by one empty line; the spare entry follows.
  int blanks = 0;
  for (int k = 6; k < app->aspectarian.nextFree; ++k) blanks += Lines()[k].empty();
  EXPECT_EQ(blanks, 3);
  EXPECT_EQ(app->aspectarian.nextFree + 1, static_cast<int>(Lines().size()));
  EXPECT_TRUE(Lines().back().empty());
  EXPECT_EQ(Day("01 Jan").empty(), false);
  EXPECT_EQ(Day("03 Jan").empty(), false);
  EXPECT_TRUE(Day("04 Jan").empty());

  app->params.Coords = Coordinates::Heliocentric;
  app->params.Instant = InstantChoice::Noon;
  ASSERT_TRUE(Run("1", "1", "2009", 1));
  EXPECT_EQ(Lines()[1].rfind("  Tropical Aspectarian - Thursday, 01 Jan 2009 at noon, Greenwich", 0), 0u);
  EXPECT_EQ(Lines()[2], "           heliocentric  Julian Day = 2454833.0");
}

TEST_F(AspectarianRun, FullMonthStopsAtTheMonthsEnd) {
  app->params.FullMonth = true;
  for (auto [month, days] : {std::pair{"2", 28}, {"1", 31}}) {
    ASSERT_TRUE(Run(month, "17", "2009", 5));
    int blanks = 0;
    for (int k = 6; k < app->aspectarian.nextFree; ++k) blanks += Lines()[k].empty();
    EXPECT_EQ(blanks, days) << month;
    EXPECT_EQ(app->params.StartDay, "1");
  }
}

TEST_F(AspectarianRun, RefusedInputComputesNothing) {
  EXPECT_FALSE(Run("13", "1", "2009", 3));
  EXPECT_EQ(ui.CountMessages("Error in input data section. Please correct."), 1);
  EXPECT_FALSE(app->aspectarian.hasRun);
  EXPECT_EQ(app->buffer.AllCount(), 0);
}

TEST_F(AspectarianRun, ShownInOneOrTwoColumns) {
  ASSERT_TRUE(Run("1", "1", "2009", 1));
  const auto& view = app->buffer.ViewLines();
  const int n = app->aspectarian.nextFree;
  // One column: the lines as they are, then the display's own blank line.
  for (int k = 0; k < n; ++k) EXPECT_EQ(view[k], Lines()[k]) << k;

  app->options[5] = 1;
  ASSERT_TRUE(Run("1", "1", "2009", 1));
  const int rows = n - 6, half = rows / 2;
  ASSERT_GT(half, 1);
  const auto& two = app->buffer.ViewLines();
  EXPECT_EQ(two[4], "  Day      h  m" + std::string(49, ' ') + "  Day      h  m");
  EXPECT_EQ(two[6].substr(0, Lines()[6].size()), Lines()[6]);
  EXPECT_EQ(two[6].substr(two[6].size() - Lines()[6 + half].size()), Lines()[6 + half]);
  EXPECT_EQ(app->buffer.ViewCount(), 6 + half + 1);  // + the display's blank line
}

TEST_F(AspectarianRun, SavedFileAndAFailedSave) {
  app->params.SaveData = true;
  ASSERT_TRUE(Run("1", "5", "2009", 2));
  const std::string saved = ReadAll(folder / "010509AS.TEG");
  std::string want;
  for (int k = 0; k < app->aspectarian.nextFree; ++k) want += Lines()[k] + "\r\n";
  EXPECT_EQ(saved, want);

  app->params.ZodiacMode = Zodiac::Sidereal;
  app->params.Coords = Coordinates::Heliocentric;
  ASSERT_TRUE(Run("1", "5", "2009", 1));
  EXPECT_TRUE(fs::exists(folder / "010509AS.SEH"));

  // A directory in the way: a clear message, the run still shown, nothing else left behind.
  fs::create_directory(folder / "010509AS.AEH");
  app->params.ZodiacMode = Zodiac::Ayanamsa;
  const size_t before = std::distance(fs::directory_iterator(folder), fs::directory_iterator());
  EXPECT_FALSE(Run("1", "5", "2009", 1));
  EXPECT_EQ(ui.Messages().back().title, "Warning!");
  EXPECT_NE(ui.Messages().back().text.find("010509AS.AEH"), std::string::npos);
  EXPECT_GT(app->buffer.ViewCount(), 6);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), static_cast<long>(before));
}

TEST_F(AspectarianRun, MoonChangeSignOnlyLeavesNoStations) {
  app->params.MoonChangeOnly = true;
  ASSERT_TRUE(Run("1", "1", "2009", 40));
  for (int k = 6; k < app->aspectarian.nextFree; ++k) {
    const auto& l = Lines()[k];
    if (!l.empty()) EXPECT_NE(l.find(" - Moon ingress"), std::string::npos) << l;
  }
  EXPECT_TRUE(app->aspectarian.stations.empty());
  const int before = app->buffer.AllCount();
  ShowRetrogradeTimes(*app);
  EXPECT_EQ(app->buffer.AllCount(), before);
}

// ---- the real sky (times in UT) ----

TEST_F(AspectarianRun, SolarEclipseOfJanuary2009) {
  // Annular eclipse at the New Moon of 26 January 2009, 07:55 UT.
  ASSERT_TRUE(Run("1", "20", "2009", 10));
  const auto day = Day("26 Jan");
  ASSERT_TRUE(Has(day, G(224) + G(161) + G(233) + " - (New Moon, 06" + G(202)));
  EXPECT_TRUE(Has(day, " - solar eclipse"));
  for (const auto& l : day)
    if (l.find("New Moon") != std::string::npos) EXPECT_EQ(l.substr(10, 4), "07:5") << l;
  // The Full Moon of 11 January 2009 was far from the nodes.
  ASSERT_TRUE(Run("1", "11", "2009", 1));
  ASSERT_TRUE(Has(Day("11 Jan"), "(Full Moon,"));
  EXPECT_FALSE(Has(Day("11 Jan"), "eclipse"));
}

TEST_F(AspectarianRun, LunarEclipseOfDecember2010) {
  // Total lunar eclipse at the Full Moon of 21 December 2010, 08:13 UT.
  ASSERT_TRUE(Run("12", "21", "2010", 1));
  const auto day = Day("21 Dec");
  ASSERT_TRUE(Has(day, G(224) + G(165) + G(233) + " - (Full Moon, 29" + G(194)));
  EXPECT_TRUE(Has(day, " - lunar eclipse"));
}

TEST_F(AspectarianRun, MercuryStationsOfEarly2009) {
  // Mercury turned retrograde on 11 January 2009 and direct on 1 February.
  ASSERT_TRUE(Run("1", "1", "2009", 40));
  EXPECT_TRUE(Has(Day("11 Jan"), G(225) + "  " + G(156) + " +/- up to 1 hour"));
  EXPECT_TRUE(Has(Day("01 Feb"), G(225) + "  " + G(171) + " +/- up to 1 hour"));
  const std::string text = StationsText(*app);
  EXPECT_EQ(text.rfind("  Changes in direction (in UT):\r\n\r\n", 0), 0u);
  EXPECT_NE(text.find("  Mercury - 11 Jan 2009 at "), std::string::npos) << text;
  EXPECT_NE(text.find("  Mercury - 01 Feb 2009 at "), std::string::npos) << text;

  // The command appends the text as one line below what is shown.
  const int before = app->buffer.AllCount();
  ShowRetrogradeTimes(*app);
  EXPECT_EQ(app->buffer.AllLines()[before], text);
}

TEST_F(AspectarianRun, GoldenJanuary2009) {
  app->params.FullMonth = true;
  ASSERT_TRUE(Run("1", "1", "2009", 31));
  std::string got;
  for (int k = 0; k < app->aspectarian.nextFree; ++k) got += Lines()[k] + "\r\n";
  const fs::path golden = fs::path(NOVASTRA_TESTDATA_DIR) / "aspectarian_2009_01.TEG";
  if (std::getenv("NOVASTRA_WRITE_GOLDEN")) {
    std::ofstream(golden, std::ios::binary) << got;
    GTEST_SKIP() << "written " << golden;
  }
  EXPECT_EQ(got, ReadAll(golden));
}

}  // namespace
}  // namespace novastra
