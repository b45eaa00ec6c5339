// Whole tables compared byte for byte with frozen copies (checked by hand against the layout
// rules and published positions), in the program and through novastra-cli.
// NOVASTRA_UPDATE_GOLDENS=1 rewrites the copies after a deliberate change.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdio>

#include "run_fixture.h"

namespace novastra {
namespace {

using namespace testing;

fs::path GoldenFile(const std::string& name) { return fs::path(NOVASTRA_TESTDATA_DIR) / name; }

class Golden : public RunFixture {
 protected:
  // The table as the Data Window's text holds it: lines 0..nextFree with CRLF.
  void Compare(ColumnSet set, const std::string& name) {
    std::string text;
    for (int i = 0; i <= Table(set).nextFree; ++i) text += Table(set).lines[i] + "\r\n";
    testing_support::ExpectGolden(GoldenFile(name), text);
  }
};

TEST_F(Golden, January2009MidnightTropicalAllTables) {
  Choose("1", "1", "2009", 31, true);
  ASSERT_EQ(app_->CalculateEphemeris(), RunOutcome::Done);
  Compare(ColumnSet::Longitude, "jan2009_longitude.txt");
  Compare(ColumnSet::Latitude, "jan2009_latitude.txt");
  Compare(ColumnSet::RightAscension, "jan2009_ra.txt");
  Compare(ColumnSet::Declination, "jan2009_declination.txt");
  Compare(ColumnSet::HelioLongitude, "jan2009_helio_longitude.txt");
  Compare(ColumnSet::HelioLatitude, "jan2009_helio_latitude.txt");

  // Published: the Sun entered Aquarius on 19 Jan 2009 about 16:40 UT;
  // Mercury turned retrograde on 11-12 Jan near 7 45' Aquarius.
  const auto rows = Rows(ColumnSet::Longitude);
  ASSERT_EQ(rows.size(), 31u);
  EXPECT_EQ(rows[18].substr(2, 6) + rows[18].substr(23, 4), "19 Jan 29" + Code(201));
  EXPECT_EQ(rows[19].substr(23, 4), " 00" + Code(202));
  EXPECT_EQ(rows[11].substr(23 + 2 * 9, 9), " 07" + Code(202) + "44.6 ");
  EXPECT_NE(rows[9][23 + 2 * 9 + 6], static_cast<char>(157));
  EXPECT_EQ(rows[12][23 + 2 * 9 + 6], static_cast<char>(157));
}

TEST_F(Golden, SiderealNoonMeanNodeAndRightAscensionInHours) {
  Choose("3", "1", "2000", 10, false, InstantChoice::Noon);
  app_->EditParams([&](RunParameters& p) { p.ZodiacMode = Zodiac::Sidereal; });
  app_->EditParams([&](RunParameters& p) { p.MoonNodes = NodeMode::Mean; });
  ASSERT_EQ(app_->CalculateEphemeris(), RunOutcome::Done);
  Compare(ColumnSet::Longitude, "mar2000_sidereal_noon_longitude.txt");
  app_->EditOptions([&](RunOptions& o) { o[11] = 1; });
  Choose("1", "1", "2009", 10, false);
  ASSERT_EQ(app_->CalculateEphemeris(), RunOutcome::Done);
  Compare(ColumnSet::RightAscension, "jan2009_ra_hours.txt");
}

// The frozen headers against the column rules: words of line 4 at their columns,
// the rule's length, and the unit marks of line 6 (degree and hours forms).
TEST(GoldenHeaders, ColumnsOfTitleRuleAndUnits) {
  auto lines = [](const std::string& name) {
    std::vector<std::string> out;
    std::string text = ReadBytes(GoldenFile(name)), line;
    for (char c : text) {
      if (c == '\n') {
        out.push_back(line);
        line.clear();
      } else if (c != '\r')
        line += c;
    }
    return out;
  };
  for (const auto& [name, helio] :
       {std::pair{"jan2009_longitude.txt", false}, {"jan2009_helio_latitude.txt", true}}) {
    const auto h = lines(name);
    SCOPED_TRACE(name);
    for (int col : {2, 10, helio ? 26 : 27, 36, 45, 56, 66, 75, 85, 95, 105, 115, 124}) {
      EXPECT_NE(h[4][col], ' ') << "word at " << col;
      EXPECT_EQ(h[4][col - 1], ' ') << "word at " << col;
    }
    EXPECT_EQ(h[5].size(), helio ? 131u : 132u);
    EXPECT_EQ(h[6].size(), 131u);
    for (int k = 0; k < 11; ++k) {
      EXPECT_EQ(h[6][25 + 10 * k], static_cast<char>(186));
      EXPECT_EQ(h[6][29 + 10 * k], static_cast<char>(146));
    }
  }
  const auto hours = lines("jan2009_ra_hours.txt");
  ASSERT_EQ(hours[6].size(), 132u);
  for (int k = 1; k <= 11; ++k) EXPECT_EQ(hours[6].substr(15 + 10 * k, 7), "h  m  s");
}

// novastra-cli ephemeris on a fresh folder: exit status and standard output.
std::pair<int, std::string> Cli(const fs::path& home, const std::string& args) {
  std::vector<std::string> words = {"ephemeris", "--home", home.string()};
  std::istringstream in(args);
  for (std::string w; in >> w;) words.push_back(w);
  const auto r = testing_support::RunCli(words);
  return {r.status, r.out};
}

TEST(EphemerisCli, PrintsTheDataWindowTextAndRefusesBadInput) {
  const fs::path home = DataFolder();
  // The frozen table with plain line ends, then the display's blank line and the spare entry.
  std::string expected;
  for (char c : ReadBytes(GoldenFile("jan2009_longitude.txt")))
    if (c != '\r') expected += c;
  EXPECT_EQ(Cli(home,
                "--start 1/1/2009 --full-month --midnight --geo --zodiac tropical --node true "
                "--table longitude --encoding cp1252"),
            std::make_pair(0, expected + "\n\n"));
  EXPECT_FALSE(fs::exists(home / "010109LO.TEG"));  // saved only when asked
  EXPECT_EQ(Cli(home, "--start 13/1/2009 --days 3"),
            std::make_pair(2, std::string()));  // refused by the input check
  fs::remove_all(home);
}

}  // namespace
}  // namespace novastra
