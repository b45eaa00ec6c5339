// Whole ephemeris runs: row counts, progress, headers, saved files, failures.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "astro/calendar.h"
#include "ephemeris/ephemeris.h"
#include "run_fixture.h"

namespace novastra {
namespace {

using testing::ReadBytes;
using testing::RunFixture;

const ColumnSet kAllSets[] = {ColumnSet::Longitude,      ColumnSet::Latitude,
                              ColumnSet::RightAscension, ColumnSet::Declination,
                              ColumnSet::HelioLongitude, ColumnSet::HelioLatitude};

std::string Code(int c) { return std::string(1, static_cast<char>(c)); }

using EphemerisRun = RunFixture;

TEST_F(EphemerisRun, FullMonthsStopAtTheMonthsEnd) {
  struct Case { const char* month; const char* day; const char* year; size_t rows; double nextJD; } cases[] = {
      {"2", "1", "2000", 29, JulianDayNumber(2000, 3, 1)},
      {"2", "17", "2001", 28, JulianDayNumber(2001, 3, 1)},  // the day is forced to 1
      {"1", "1", "2009", 31, JulianDayNumber(2009, 2, 1)},
      {"12", "5", "2099", 31, JulianDayNumber(2100, 1, 1)},
  };
  for (const auto& c : cases) {
    Choose(c.month, c.day, c.year, 5, true);
    ASSERT_TRUE(app_->CalculateEphemeris());
    for (ColumnSet set : kAllSets) EXPECT_EQ(Rows(set).size(), c.rows) << c.month << "/" << c.year;
    EXPECT_EQ(Rows(ColumnSet::Longitude).front().substr(2, 2), "01");
    EXPECT_DOUBLE_EQ(app_->cal.RowJD, c.nextJD);
  }
}

TEST_F(EphemerisRun, RowCountAndProgress) {
  Choose("1", "1", "2009", 1, false);
  ASSERT_TRUE(app_->CalculateEphemeris());
  EXPECT_EQ(Rows(ColumnSet::Longitude).size(), 1u);
  EXPECT_DOUBLE_EQ(app_->cal.RowJD, JulianDayNumber(2009, 1, 1));
  int opened = 0, updates = 0, closed = 0;
  for (const auto& e : ui_.events) {
    opened += e.kind == HeadlessUi::Event::ProgressOpen;
    updates += e.kind == HeadlessUi::Event::Progress;
    closed += e.kind == HeadlessUi::Event::ProgressClose;
  }
  EXPECT_EQ(opened, 1);
  EXPECT_EQ(updates, 0);  // one day: nothing to draw
  EXPECT_EQ(closed, 1);

  ui_.events.clear();
  Choose("1", "1", "2009", 3, false);
  ASSERT_TRUE(app_->CalculateEphemeris());
  std::vector<int> done;
  for (const auto& e : ui_.events)
    if (e.kind == HeadlessUi::Event::Progress) {
      done.push_back(e.done);
      EXPECT_EQ(e.total, 2);
    }
  EXPECT_EQ(done, (std::vector<int>{-1, 0, 1, 2}));
  EXPECT_EQ(Rows(ColumnSet::Longitude).size(), 3u);
  EXPECT_DOUBLE_EQ(app_->cal.RowJD, JulianDayNumber(2009, 1, 3));
  EXPECT_FALSE(ui_.events.front().kind == HeadlessUi::Event::DataWindow);
  EXPECT_TRUE(ui_.events.front().kind == HeadlessUi::Event::Busy && ui_.events.front().busy);
  EXPECT_TRUE(ui_.events.back().kind == HeadlessUi::Event::Busy && !ui_.events.back().busy);
}

TEST_F(EphemerisRun, RefusedInputChangesNothing) {
  Choose("13", "1", "2009", 3, false);
  EXPECT_FALSE(app_->CalculateEphemeris());
  EXPECT_EQ(ui_.CountMessages("Error in input data section. Please correct."), 1);
  EXPECT_FALSE(app_->ephemeris.hasRun);
  for (const auto& e : ui_.events) EXPECT_EQ(e.kind, HeadlessUi::Event::Message);
}

TEST_F(EphemerisRun, JulianDayOfMidnightAndNoon) {
  const std::string prefix = std::string(23, ' ') + "Julian Day = ";
  Choose("1", "1", "2000", 1, false, InstantChoice::Midnight);
  ASSERT_TRUE(app_->CalculateEphemeris());
  EXPECT_EQ(Table(ColumnSet::Longitude).lines[2], prefix + "2451544.5");
  Choose("1", "1", "2000", 1, false, InstantChoice::Noon);
  ASSERT_TRUE(app_->CalculateEphemeris());
  EXPECT_EQ(Table(ColumnSet::HelioLatitude).lines[2], prefix + "2451545.0");
}

TEST_F(EphemerisRun, SvpTextOnLineOneOfEveryTable) {
  app_->options[1] = 1;
  app_->options[2] = 23;
  app_->options[3] = 30;
  app_->options[4] = 0;
  Choose("1", "5", "2009", 2, false);
  ASSERT_TRUE(app_->CalculateEphemeris());
  const std::string start = "  Tropical Ephemeris - Monday, 05 Jan 2009 at midnight, Greenwich   SVP = 05" +
                            Code(203);
  for (ColumnSet set : kAllSets) {
    const std::string& line1 = Table(set).lines[1];
    EXPECT_EQ(line1.substr(0, start.size()), start);
    EXPECT_TRUE(line1.ends_with("True Ayanamsa = 23d 30m 00s ")) << line1;
  }
}

TEST_F(EphemerisRun, SundaysGetABlankLineExceptTheFirstRow) {
  Choose("1", "4", "2009", 15, false);  // Sunday 4 January to Sunday 18 January
  ASSERT_TRUE(app_->CalculateEphemeris());
  for (ColumnSet set : kAllSets) {
    const PageLines& t = Table(set);
    EXPECT_EQ(t.lines[7].substr(2, 6), "04 Jan");
    EXPECT_EQ(t.lines[14], "");
    EXPECT_EQ(t.lines[15].substr(2, 6), "11 Jan");
    EXPECT_EQ(t.lines[22], "");
    EXPECT_EQ(t.lines[23].substr(2, 6), "18 Jan");
    EXPECT_EQ(t.nextFree, 24);
    EXPECT_EQ(t.lines.size(), 25u);
    EXPECT_EQ(t.lines.back(), "");
  }
}

TEST_F(EphemerisRun, TableShownFollowsCoordinatesAndDataOutput) {
  struct Case { Coordinates coords; DataOutput output; const char* line4Start; } cases[] = {
      {Coordinates::Geocentric, DataOutput::Declination, "  Decl.   Sidereal Time    Sun"},
      {Coordinates::Geocentric, DataOutput::RightAscension, "  R.A.    Sidereal Time    Sun"},
      {Coordinates::Heliocentric, DataOutput::Declination, "  Lat.    Sidereal Time   Earth"},
      {Coordinates::Heliocentric, DataOutput::RightAscension, "  Long.   Sidereal Time   Earth"},
      {Coordinates::Heliocentric, DataOutput::Latitude, "  Lat.    Sidereal Time   Earth"},
  };
  for (const auto& c : cases) {
    Choose("1", "1", "2009", 2, false);
    app_->params.Coords = c.coords;
    app_->params.Output = c.output;
    ASSERT_TRUE(app_->CalculateEphemeris());
    const auto& view = app_->buffer.ViewLines();
    EXPECT_EQ(view[4].substr(0, std::string(c.line4Start).size()), c.line4Start);
    // Header, two rows, the table's spare line, the display's blank line.
    EXPECT_EQ(app_->buffer.ViewCount(), 11);
  }
}

TEST_F(EphemerisRun, PublishedPositionsAndMarks) {
  // The Sun enters Aquarius on 19 Jan 2009 about 16:40 UT: at 0h on the 20th
  // it stands just past 0 Aquarius, at 0h on the 19th in late Capricorn.
  Choose("1", "1", "2009", 31, false);
  app_->params.MoonNodes = NodeMode::Mean;
  ASSERT_TRUE(app_->CalculateEphemeris());
  auto rows = Rows(ColumnSet::Longitude);
  ASSERT_EQ(rows.size(), 31u);
  EXPECT_EQ(rows[18].substr(2, 6), "19 Jan");
  EXPECT_EQ(rows[18].substr(23, 4), " 29" + Code(201));
  EXPECT_EQ(rows[19].substr(23, 4), " 00" + Code(202));
  for (const auto& row : rows) {
    EXPECT_EQ(row[row.size() - 3], static_cast<char>(157)) << row;  // the mean node
    EXPECT_NE(row[23 + 6], static_cast<char>(157)) << row;            // never the Sun
  }
  // Mercury turned retrograde on 11-12 Jan 2009 near 7 45' Aquarius.
  EXPECT_EQ(rows[11].substr(23 + 2 * 9, 9), " 07" + Code(202) + "44.6 ");
  EXPECT_NE(rows[9][23 + 2 * 9 + 6], static_cast<char>(157));
  EXPECT_EQ(rows[12][23 + 2 * 9 + 6], static_cast<char>(157));
}

TEST_F(EphemerisRun, SavedFilesNamesAndContent) {
  Choose("1", "5", "2000", 10, false);  // Wednesday 5 January; Sunday the 9th
  app_->params.SaveData = true;
  ASSERT_TRUE(app_->CalculateEphemeris());
  const char* names[] = {"010500LO.TEG", "010500LA.TEG", "010500RA.TEG",
                         "010500DE.TEG", "010500LO.TEH", "010500LA.TEH"};
  for (int t = 0; t < 6; ++t) {
    std::string file = ReadBytes(folder_ / names[t]);
    ASSERT_FALSE(file.empty()) << names[t];
    const PageLines& table = Table(kAllSets[t]);
    // The file is the table with CRLF, line 1 without the SVP text, one
    // empty line at the end.
    std::string expected;
    for (int i = 0; i < table.nextFree; ++i)
      expected += (i == 1 ? table.lines[1].substr(0, table.lines[1].find("   SVP =")) : table.lines[i]) +
                  "\r\n";
    expected += "\r\n";
    EXPECT_EQ(file, expected) << names[t];
    EXPECT_NE(file.find("\r\n\r\n  09 Jan"), std::string::npos);
    EXPECT_TRUE(table.lines[1].starts_with(
        "  Tropical Ephemeris - Wednesday, 05 Jan 2000 at midnight, Greenwich   SVP = "));
  }
  std::size_t entries = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(folder_)) ++entries;

  // Sidereal with a full month: stamped with day 01, letters S; files replaced.
  Choose("1", "5", "2000", 10, true);
  app_->params.SaveData = true;
  app_->params.ZodiacMode = Zodiac::Sidereal;
  ASSERT_TRUE(app_->CalculateEphemeris());
  for (const char* name : {"010100LO.SEG", "010100LA.SEG", "010100RA.SEG", "010100DE.SEG",
                           "010100LO.SEH", "010100LA.SEH"}) {
    std::string file = ReadBytes(folder_ / name);
    EXPECT_TRUE(file.starts_with("\r\n  Sidereal Ephemeris - Saturday, 01 Jan 2000 at midnight, Greenwich\r\n"))
        << name;
  }
  Choose("1", "5", "2000", 2, false);
  app_->params.SaveData = true;
  ASSERT_TRUE(app_->CalculateEphemeris());
  EXPECT_EQ(Rows(ColumnSet::Longitude).size(), 2u);
  std::string replaced = ReadBytes(folder_ / "010500LO.TEG");
  EXPECT_EQ(std::count(replaced.begin(), replaced.end(), '\n'), 7 + 2 + 1);
  std::size_t after = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(folder_)) ++after;
  EXPECT_EQ(after, entries + 6);  // no temporary files left behind
}

TEST_F(EphemerisRun, UnwritableDataFileStopsWithAMessage) {
  // A folder in the way of the first file's name: it cannot be replaced.
  std::filesystem::create_directory(folder_ / "010500LO.TEG");
  std::filesystem::create_directory(folder_ / "010500LO.TEG" / "keep");
  Choose("1", "5", "2000", 3, false);
  app_->params.SaveData = true;
  EXPECT_FALSE(app_->CalculateEphemeris());
  auto messages = ui_.Messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].icon, MessageIcon::Critical);
  EXPECT_EQ(messages[0].title, "Warning!");
  EXPECT_NE(messages[0].text.find("010500LO.TEG"), std::string::npos);
  for (const auto& e : std::filesystem::directory_iterator(folder_)) {
    std::string name = e.path().filename().string();
    EXPECT_FALSE(name.starts_with("010500") && name != "010500LO.TEG") << name;
  }
  // The computed table is still shown.
  EXPECT_EQ(ui_.LastDataText().substr(0, 2), "\r\n");
}

}  // namespace
}  // namespace novastra
