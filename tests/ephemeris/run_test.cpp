// Ephemeris runs of the application: full months, progress, the table shown,
// the real sky against published dates, saved files, failures and a stop.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/ephemeris_run.h"
#include "astro/calendar.h"
#include "support/app_run.h"

namespace novastra {
namespace {

namespace fs = std::filesystem;
std::string Code(int c) { return std::string(1, static_cast<char>(c)); }
const ColumnSet kAllSets[] = {ColumnSet::Longitude,      ColumnSet::Latitude,
                              ColumnSet::RightAscension, ColumnSet::Declination,
                              ColumnSet::HelioLongitude, ColumnSet::HelioLatitude};

class EphemerisRun : public testing_support::AppRun {
 protected:
  const PageLines& Table(ColumnSet set) const {
    return app.ephemeris().tables[static_cast<int>(set)];
  }
  // Rows of a table (lines after the header that are not blank).
  std::vector<std::string> Rows(ColumnSet set) const {
    std::vector<std::string> rows;
    for (int i = 7; i < Table(set).nextFree; ++i)
      if (!Table(set).lines[i].empty()) rows.push_back(Table(set).lines[i]);
    return rows;
  }
};

TEST_F(EphemerisRun, FullMonthsStopAtTheMonthsEnd) {
  struct Case {
    const char* month;
    const char* day;
    const char* year;
    size_t rows;
    double nextJD;
  } cases[] = {
      {"2", "1", "2000", 29, JulianDayNumber(2000, 3, 1)},
      {"2", "17", "2001", 28, JulianDayNumber(2001, 3, 1)},  // the day is forced to 1
      {"12", "5", "2099", 31, JulianDayNumber(2100, 1, 1)},
  };
  for (const auto& c : cases) {
    Choose(c.month, c.day, c.year, 5, true);
    ASSERT_EQ(app.CalculateEphemeris(), RunOutcome::Done);
    for (ColumnSet set : kAllSets) EXPECT_EQ(Rows(set).size(), c.rows) << c.month << "/" << c.year;
    EXPECT_EQ(Rows(ColumnSet::Longitude).front().substr(2, 2), "01");
    EXPECT_DOUBLE_EQ(app.cal().RowJD, c.nextJD);
  }
}

TEST_F(EphemerisRun, ProgressIsDrawnOnlyForMoreThanOneDayAndNotForRefusedInput) {
  for (int days : {1, 3}) {
    ui.events.clear();
    Choose("1", "1", "2009", days, false);
    ASSERT_EQ(app.CalculateEphemeris(), RunOutcome::Done);
    EXPECT_EQ(Rows(ColumnSet::Longitude).size(), size_t(days));
    std::string seen;  // Open, progress done/total, Close, between the busy calls
    for (const auto& e : ui.events) {
      if (e.kind == HeadlessUi::Event::ProgressOpen) seen += "O ";
      if (e.kind == HeadlessUi::Event::Progress)
        seen += std::to_string(e.done) + "/" + std::to_string(e.total) + " ";
      if (e.kind == HeadlessUi::Event::ProgressClose) seen += "C";
    }
    EXPECT_EQ(seen, days == 1 ? "O C" : "O -1/2 0/2 1/2 2/2 C");
    EXPECT_TRUE(ui.events.front().kind == HeadlessUi::Event::Busy && ui.events.front().busy);
    EXPECT_TRUE(ui.events.back().kind == HeadlessUi::Event::Busy && !ui.events.back().busy);
  }
  // Refused input: one message, nothing else happens.
  ui.events.clear();
  Choose("13", "1", "2009", 3, false);
  EXPECT_EQ(app.CalculateEphemeris(), RunOutcome::InputRefused);
  EXPECT_EQ(ui.CountMessages("Error in input data section. Please correct."), 1);
  EXPECT_EQ(ui.events.size(), 1u);
}

// Published: the Sun entered Aquarius on 19 Jan 2009 about 16:40 UT; Mercury
// turned retrograde on 11-12 Jan near 7 45' Aquarius (Astronomical Almanac 2009).
TEST_F(EphemerisRun, January2009AsPublished) {
  Choose("1", "1", "2009", 31, true);
  ASSERT_EQ(app.CalculateEphemeris(), RunOutcome::Done);
  const auto rows = Rows(ColumnSet::Longitude);
  ASSERT_EQ(rows.size(), 31u);
  EXPECT_EQ(rows[18].substr(2, 6) + rows[18].substr(23, 4), "19 Jan 29" + Code(201));
  EXPECT_EQ(rows[19].substr(23, 4), " 00" + Code(202));
  EXPECT_EQ(rows[11].substr(23 + 2 * 9, 9), " 07" + Code(202) + "44.6 ");
  EXPECT_NE(rows[9][23 + 2 * 9 + 6], static_cast<char>(157));  // the retrograde mark
  EXPECT_EQ(rows[12][23 + 2 * 9 + 6], static_cast<char>(157));
}

TEST_F(EphemerisRun, TableShownFollowsCoordinatesAndDataOutput) {
  for (auto [coords, output, line4] :
       {std::tuple{Coordinates::Geocentric, DataOutput::Declination,
                   "  Decl.   Sidereal Time    Sun"},
        {Coordinates::Heliocentric, DataOutput::Declination, "  Lat.    Sidereal Time   Earth"},
        {Coordinates::Heliocentric, DataOutput::RightAscension,
         "  Long.   Sidereal Time   Earth"}}) {
    Choose("1", "1", "2009", 2, false);
    app.EditParams([&](RunParameters& p) { p.Coords = coords, p.Output = output; });
    ASSERT_EQ(app.CalculateEphemeris(), RunOutcome::Done);
    EXPECT_TRUE(app.buffer().ViewLines()[4].starts_with(line4)) << line4;
    EXPECT_EQ(app.buffer().ViewCount(),
              11);  // header, two rows, the spare line, the display's blank line
  }
}

TEST_F(EphemerisRun, SavedFilesNamesAndContent) {
  Choose("1", "5", "2000", 10, false);  // Wednesday 5 January; Sunday the 9th
  app.EditParams([&](RunParameters& p) { p.SaveData = true; });
  ASSERT_EQ(app.CalculateEphemeris(), RunOutcome::Done);
  const char* names[] = {"010500LO.TEG", "010500LA.TEG", "010500RA.TEG",
                         "010500DE.TEG", "010500LO.TEH", "010500LA.TEH"};
  for (int t = 0; t < 6; ++t) {
    const PageLines& table = Table(kAllSets[t]);
    ASSERT_TRUE(table.lines[1].starts_with(
        "  Tropical Ephemeris - Wednesday, 05 Jan 2000 at midnight, Greenwich   SVP = "));
    // The table with CRLF, line 1 without the SVP text, one empty line at the end.
    std::string expected;
    for (int i = 0; i < table.nextFree; ++i)
      expected +=
          (i == 1 ? table.lines[1].substr(0, table.lines[1].find("   SVP =")) : table.lines[i]) +
          "\r\n";
    const std::string file = home.Read(names[t]);
    EXPECT_EQ(file, expected + "\r\n") << names[t];
    EXPECT_NE(file.find("\r\n\r\n  09 Jan"), std::string::npos);
  }
  const int before = home.Entries();

  // Sidereal with a full month: stamped with day 01, letters S.
  Choose("1", "5", "2000", 10, true);
  app.EditParams([&](RunParameters& p) { p.SaveData = true; });
  app.EditParams([&](RunParameters& p) { p.ZodiacMode = Zodiac::Sidereal; });
  ASSERT_EQ(app.CalculateEphemeris(), RunOutcome::Done);
  for (const char* name : {"010100LO.SEG", "010100LA.SEG", "010100RA.SEG", "010100DE.SEG",
                           "010100LO.SEH", "010100LA.SEH"})
    EXPECT_TRUE(home.Read(name).starts_with(
        "\r\n  Sidereal Ephemeris - Saturday, 01 Jan 2000 at midnight, Greenwich\r\n"))
        << name;
  // A shorter run replaces the files, leaving no temporary files behind.
  Choose("1", "5", "2000", 2, false);
  app.EditParams([&](RunParameters& p) { p.SaveData = true; });
  ASSERT_EQ(app.CalculateEphemeris(), RunOutcome::Done);
  const std::string replaced = home.Read("010500LO.TEG");
  EXPECT_EQ(std::count(replaced.begin(), replaced.end(), '\n'), 7 + 2 + 1);
  EXPECT_EQ(home.Entries(), before + 6);
}

TEST_F(EphemerisRun, UnwritableDataFileStopsWithAMessage) {
  // A folder in the way of the first file's name: it cannot be replaced.
  fs::create_directories(home / "010500LO.TEG" / "keep");
  Choose("1", "5", "2000", 3, false);
  app.EditParams([&](RunParameters& p) { p.SaveData = true; });
  EXPECT_EQ(app.CalculateEphemeris(), RunOutcome::SaveFailed);
  const auto messages = ui.Messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].icon, MessageIcon::Critical);
  EXPECT_EQ(messages[0].title, "Warning!");
  EXPECT_NE(messages[0].text.find("010500LO.TEG"), std::string::npos);
  for (const auto& e : fs::directory_iterator(home.path()))
    EXPECT_FALSE(e.path().filename().string().starts_with("010500") &&
                 e.path().filename() != "010500LO.TEG")
        << e.path();
  EXPECT_EQ(ui.LastDataText().substr(0, 2), "\r\n");  // the computed table is still shown
}

// A user interface that asks for a stop at the third step of a run.
class CancellingUi : public HeadlessUi {
 public:
  void UpdateProgress(int done, int total) override {
    HeadlessUi::UpdateProgress(done, total);
    if (done == 2 && app) app->RequestCancel();
  }
  Application* app = nullptr;
};

TEST(RunCancel, StopsWithoutShowingOrSavingAndTheNextRunCompletes) {
  for (const bool aspectarian : {false, true}) {
    SCOPED_TRACE(aspectarian ? "aspectarian" : "ephemeris");
    const testing_support::HomeFolder folder;
    const int before = folder.Entries();
    CancellingUi ui;
    Application app(ui, folder.path());
    ASSERT_TRUE(app.LoadFiles());
    ui.app = &app;
    app.EditParams(
        [&](RunParameters& p) { p.StartMonth = "1", p.StartDay = "1", p.StartYear = "2009"; });
    app.EditParams(
        [&](RunParameters& p) { p.FullMonth = false, p.NumberOfDays = 40, p.SaveData = true; });
    auto run = [&] { return aspectarian ? app.CalculateAspectarian() : app.CalculateEphemeris(); };
    EXPECT_EQ(run(), RunOutcome::Cancelled);
    EXPECT_EQ(folder.Entries(), before);  // nothing saved
    EXPECT_EQ(ui.LastDataText(), "");     // nothing shown
    ASSERT_FALSE(ui.events.empty());
    EXPECT_TRUE(ui.events.back().kind == HeadlessUi::Event::Busy && !ui.events.back().busy);
    ui.app = nullptr;
    EXPECT_EQ(run(), RunOutcome::Done);
    EXPECT_NE(ui.LastDataText(), "");
  }
}

}  // namespace
}  // namespace novastra
