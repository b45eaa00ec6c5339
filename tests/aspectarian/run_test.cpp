// Aspectarian runs of the application: the one- or two-column view, the data
// file and a failed save, the stations command, the real sky against published
// times, and the minute that rounds to 60.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/app_run.h"

namespace novastra {
namespace {

namespace fs = std::filesystem;
std::string G(int code) { return std::string(1, static_cast<char>(code)); }

class AspectarianRun : public testing_support::AppRun {
 protected:
  bool Run(const char* m, const char* d, const char* y, int days) {
    app.EditParams([&](RunParameters& p) {
      p.StartMonth = m, p.StartDay = d, p.StartYear = y;
      SetDaysText(p, std::to_string(days));
    });
    return app.CalculateAspectarian() == RunOutcome::Done;
  }
  void SetUp() override {
    AppRun::SetUp();
    app.EditOptions([&](RunOptions& o) { o[5] = o[12] = 0; });  // one column, all ingresses
    Choose("1", "1", "2009", 1);
  }
  const std::vector<std::string>& Lines() const { return app.aspectarian().lines; }
  // The run as saved: the lines before nextFree with CRLF.
  std::string Text() const {
    std::string text;
    for (int k = 0; k < app.aspectarian().nextFree; ++k) text += Lines()[k] + "\r\n";
    return text;
  }
  // The lines of one day ("dd mmm"), whose date shows only on its first line.
  std::string Day(const std::string& ddmmm) const {
    std::string out;
    for (size_t k = 6; k < Lines().size() && !(!out.empty() && Lines()[k].empty()); ++k)
      if (!out.empty() || (Lines()[k].size() > 8 && Lines()[k].substr(2, 6) == ddmmm))
        out += Lines()[k] + "\n";
    return out;
  }
};

TEST_F(AspectarianRun, ShownInOneOrTwoColumns) {
  ASSERT_TRUE(Run("1", "1", "2009", 1));
  const int n = app.aspectarian().nextFree, half = (n - 6) / 2;
  EXPECT_EQ(n + 1u, Lines().size());  // the spare entry
  EXPECT_TRUE(std::equal(Lines().begin(), Lines().begin() + n, app.buffer().ViewLines().begin()));
  app.EditOptions([&](RunOptions& o) { o[5] = 1; });
  ASSERT_TRUE(Run("1", "1", "2009", 1));
  const auto& two = app.buffer().ViewLines();
  EXPECT_EQ(two[4], "  Day      h  m" + std::string(49, ' ') + "  Day      h  m");
  EXPECT_EQ(two[6], Lines()[6] + std::string(62 - Lines()[6].size(), ' ') + Lines()[6 + half]);
  EXPECT_EQ(app.buffer().ViewCount(), 6 + half + 1);  // + the display's blank line
}

TEST_F(AspectarianRun, SavedFileNamedByZodiacAndCoordinatesAndAFailedSave) {
  struct Case {
    Zodiac zodiac;
    Coordinates coords;
    const char* name;
  } cases[] = {{Zodiac::Tropical, Coordinates::Geocentric, "010509AS.TEG"},
               {Zodiac::Sidereal, Coordinates::Heliocentric, "010509AS.SEH"},
               {Zodiac::Ayanamsa, Coordinates::Geocentric, "010509AS.AEG"}};
  for (const Case& c : cases) {
    app.EditParams(
        [&](RunParameters& p) { p.SaveData = true, p.ZodiacMode = c.zodiac, p.Coords = c.coords; });
    ASSERT_TRUE(Run("1", "5", "2009", 2)) << c.name;
    EXPECT_EQ(home.Read(c.name), Text()) << c.name;
  }
  // A folder in the way: a clear message, the run still shown, no stray file.
  fs::create_directory(home / "010509AS.AEH");
  app.EditParams([&](RunParameters& p) { p.Coords = Coordinates::Heliocentric; });
  const int before = home.Entries();
  EXPECT_FALSE(Run("1", "5", "2009", 1));
  EXPECT_NE(ui.Messages().back().text.find("010509AS.AEH"), std::string::npos);
  EXPECT_GT(app.buffer().ViewCount(), 6);
  EXPECT_EQ(home.Entries(), before);
}

TEST_F(AspectarianRun, MoonChangeSignOnlyLeavesNoStations) {
  app.EditParams([&](RunParameters& p) { p.MoonChangeOnly = true; });
  ASSERT_TRUE(Run("1", "1", "2009", 40));
  for (int k = 6; k < app.aspectarian().nextFree; ++k)
    EXPECT_TRUE(Lines()[k].empty() || Lines()[k].ends_with(" - Moon ingress")) << Lines()[k];
  const int before = app.buffer().AllCount();
  app.runs().ShowRetrogradeTimes();
  EXPECT_EQ(app.buffer().AllCount(), before);
}

// Times in UT: the eclipses of 26 Jan 2009 (annular, New Moon 07:55 at 6 Aquarius 30) and of
// 21 Dec 2010 (total lunar, Full Moon 08:13 at 29 Gemini 21), NASA eclipse catalogue (F. Espenak);
// the Full Moon of 11 Jan 2009 far from the nodes; Mercury retrograde on 11 Jan 2009, direct on
// 1 Feb (Astronomical Almanac 2009).
TEST_F(AspectarianRun, EclipsesAndStationsAsPublished) {
  ASSERT_TRUE(Run("1", "26", "2009", 1));
  const std::string jan26 = Day("26 Jan");
  const size_t at =
      jan26.find(G(224) + G(161) + G(233) + " - (New Moon, 06" + G(202) + "30.0) - solar eclipse");
  ASSERT_NE(at, std::string::npos) << jan26;
  EXPECT_EQ(jan26.substr(at - 7, 4), "07:5");
  ASSERT_TRUE(Run("12", "21", "2010", 1));
  EXPECT_NE(Day("21 Dec").find(G(224) + G(165) + G(233) + " - (Full Moon, 29" + G(194)),
            std::string::npos);
  EXPECT_NE(Day("21 Dec").find(" - lunar eclipse"), std::string::npos);

  ASSERT_TRUE(Run("1", "1", "2009", 40));
  EXPECT_NE(Day("11 Jan").find("(Full Moon, 21" + G(195)), std::string::npos);
  EXPECT_EQ(Day("11 Jan").find("eclipse"), std::string::npos);
  EXPECT_NE(Day("11 Jan").find(G(225) + "  " + G(156) + " +/- up to 1 hour"), std::string::npos);
  EXPECT_NE(Day("01 Feb").find(G(225) + "  " + G(171) + " +/- up to 1 hour"), std::string::npos);
  const std::string text = app.runs().StationsText();
  EXPECT_TRUE(
      text.starts_with("  Changes in direction (in UT):\r\n\r\n  Mercury - 11 Jan 2009 at "))
      << text;
  EXPECT_NE(text.find("  Mercury - 01 Feb 2009 at 07:"), std::string::npos) << text;
  // The command appends the text as one line below what is shown.
  const int before = app.buffer().AllCount();
  app.runs().ShowRetrogradeTimes();
  EXPECT_EQ(app.buffer().AllLines()[before], text);
}

// The one "60" of January 2009: a sextile at 22:59.5 or later on 30 Jan shows as
// 22:60, or with carry as 23:00; nothing else of the month differs.
TEST_F(AspectarianRun, CarriedMinuteMovesIntoTheHour) {
  app.EditParams([&](RunParameters& p) { p.FullMonth = true; });
  ASSERT_TRUE(Run("1", "1", "2009", 31));
  std::string plain = Text();
  app.SetCarrySixty(true);
  ASSERT_TRUE(Run("1", "1", "2009", 31));
  const size_t at = plain.find("          22:60  ");
  ASSERT_NE(at, std::string::npos);
  EXPECT_EQ(plain.find(":60 "), plain.rfind(":60 "));
  EXPECT_EQ(Text(), plain.replace(at, 17, "          23:00  "));
}

}  // namespace
}  // namespace novastra
