// Whole ephemeris runs: row counts, progress, headers, saved files, failures.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/ephemeris_run.h"
#include "astro/calendar.h"
#include "run_fixture.h"

namespace novastra {
namespace {

using namespace testing;
using EphemerisRun = RunFixture;

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
    ASSERT_EQ(app_->CalculateEphemeris(), RunOutcome::Done);
    for (ColumnSet set : kAllSets) EXPECT_EQ(Rows(set).size(), c.rows) << c.month << "/" << c.year;
    EXPECT_EQ(Rows(ColumnSet::Longitude).front().substr(2, 2), "01");
    EXPECT_DOUBLE_EQ(app_->cal().RowJD, c.nextJD);
  }
}

TEST_F(EphemerisRun, ProgressIsDrawnOnlyForMoreThanOneDayAndNotForRefusedInput) {
  for (int days : {1, 3}) {
    ui_.events.clear();
    Choose("1", "1", "2009", days, false);
    ASSERT_EQ(app_->CalculateEphemeris(), RunOutcome::Done);
    EXPECT_EQ(Rows(ColumnSet::Longitude).size(), size_t(days));
    std::string seen;  // Open, progress done/total, Close, between the busy calls
    for (const auto& e : ui_.events) {
      if (e.kind == HeadlessUi::Event::ProgressOpen) seen += "O ";
      if (e.kind == HeadlessUi::Event::Progress)
        seen += std::to_string(e.done) + "/" + std::to_string(e.total) + " ";
      if (e.kind == HeadlessUi::Event::ProgressClose) seen += "C";
    }
    EXPECT_EQ(seen, days == 1 ? "O C" : "O -1/2 0/2 1/2 2/2 C");
    EXPECT_TRUE(ui_.events.front().kind == HeadlessUi::Event::Busy && ui_.events.front().busy);
    EXPECT_TRUE(ui_.events.back().kind == HeadlessUi::Event::Busy && !ui_.events.back().busy);
  }
  // Refused input: one message, nothing else happens.
  ui_.events.clear();
  Choose("13", "1", "2009", 3, false);
  EXPECT_EQ(app_->CalculateEphemeris(), RunOutcome::InputRefused);
  EXPECT_EQ(ui_.CountMessages("Error in input data section. Please correct."), 1);
  EXPECT_EQ(ui_.events.size(), 1u);
}

TEST_F(EphemerisRun, HeaderJulianDayAndSvpText) {
  const std::string prefix = std::string(23, ' ') + "Julian Day = ";
  Choose("1", "1", "2000", 1, false, InstantChoice::Midnight);
  ASSERT_EQ(app_->CalculateEphemeris(), RunOutcome::Done);
  EXPECT_EQ(Table(ColumnSet::Longitude).lines[2], prefix + "2451544.5");
  Choose("1", "1", "2000", 1, false, InstantChoice::Noon);
  ASSERT_EQ(app_->CalculateEphemeris(), RunOutcome::Done);
  EXPECT_EQ(Table(ColumnSet::HelioLatitude).lines[2], prefix + "2451545.0");

  // The user ayanamsa 23 30' 0", shown in a tropical run too, in every table.
  app_->EditOptions([&](RunOptions& o) { o[1] = 1, o[2] = 23, o[3] = 30, o[4] = 0; });
  Choose("1", "5", "2009", 2, false);
  ASSERT_EQ(app_->CalculateEphemeris(), RunOutcome::Done);
  for (ColumnSet set : kAllSets) {
    const std::string& line1 = Table(set).lines[1];
    EXPECT_TRUE(line1.starts_with(
        "  Tropical Ephemeris - Monday, 05 Jan 2009 at midnight, Greenwich   SVP = 05" +
        Code(203)));
    EXPECT_TRUE(line1.ends_with("True Ayanamsa = 23d 30m 00s ")) << line1;
  }
}

TEST_F(EphemerisRun, SundaysGetABlankLineExceptTheFirstRow) {
  Choose("1", "4", "2009", 15, false);  // Sunday 4 January to Sunday 18 January
  ASSERT_EQ(app_->CalculateEphemeris(), RunOutcome::Done);
  for (ColumnSet set : kAllSets) {
    const PageLines& t = Table(set);
    EXPECT_EQ(t.lines[7].substr(2, 6) + t.lines[14] + t.lines[15].substr(2, 6) + t.lines[22] +
                  t.lines[23].substr(2, 6),
              "04 Jan11 Jan18 Jan");
    EXPECT_EQ(t.nextFree, 24);
    EXPECT_EQ(t.lines.size(), 25u);
    EXPECT_EQ(t.lines.back(), "");
  }
}

TEST_F(EphemerisRun, TableShownFollowsCoordinatesAndDataOutput) {
  for (auto [coords, output, line4] :
       {std::tuple{Coordinates::Geocentric, DataOutput::Declination,
                   "  Decl.   Sidereal Time    Sun"},
        {Coordinates::Heliocentric, DataOutput::Declination, "  Lat.    Sidereal Time   Earth"},
        {Coordinates::Heliocentric, DataOutput::RightAscension,
         "  Long.   Sidereal Time   Earth"}}) {
    Choose("1", "1", "2009", 2, false);
    app_->EditParams([&](RunParameters& p) { p.Coords = coords, p.Output = output; });
    ASSERT_EQ(app_->CalculateEphemeris(), RunOutcome::Done);
    EXPECT_TRUE(app_->buffer().ViewLines()[4].starts_with(line4)) << line4;
    EXPECT_EQ(app_->buffer().ViewCount(),
              11);  // header, two rows, the spare line, the display's blank line
  }
}

TEST_F(EphemerisRun, SavedFilesNamesAndContent) {
  Choose("1", "5", "2000", 10, false);  // Wednesday 5 January; Sunday the 9th
  app_->EditParams([&](RunParameters& p) { p.SaveData = true; });
  ASSERT_EQ(app_->CalculateEphemeris(), RunOutcome::Done);
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
    const std::string file = ReadBytes(folder_ / names[t]);
    EXPECT_EQ(file, expected + "\r\n") << names[t];
    EXPECT_NE(file.find("\r\n\r\n  09 Jan"), std::string::npos);
  }
  const auto entries = [&] {
    return std::distance(fs::directory_iterator(folder_), fs::directory_iterator());
  };
  const auto before = entries();

  // Sidereal with a full month: stamped with day 01, letters S.
  Choose("1", "5", "2000", 10, true);
  app_->EditParams([&](RunParameters& p) { p.SaveData = true; });
  app_->EditParams([&](RunParameters& p) { p.ZodiacMode = Zodiac::Sidereal; });
  ASSERT_EQ(app_->CalculateEphemeris(), RunOutcome::Done);
  for (const char* name : {"010100LO.SEG", "010100LA.SEG", "010100RA.SEG", "010100DE.SEG",
                           "010100LO.SEH", "010100LA.SEH"})
    EXPECT_TRUE(
        ReadBytes(folder_ / name)
            .starts_with(
                "\r\n  Sidereal Ephemeris - Saturday, 01 Jan 2000 at midnight, Greenwich\r\n"))
        << name;
  // A shorter run replaces the files, leaving no temporary files behind.
  Choose("1", "5", "2000", 2, false);
  app_->EditParams([&](RunParameters& p) { p.SaveData = true; });
  ASSERT_EQ(app_->CalculateEphemeris(), RunOutcome::Done);
  const std::string replaced = ReadBytes(folder_ / "010500LO.TEG");
  EXPECT_EQ(std::count(replaced.begin(), replaced.end(), '\n'), 7 + 2 + 1);
  EXPECT_EQ(entries(), before + 6);
}

TEST_F(EphemerisRun, UnwritableDataFileStopsWithAMessage) {
  // A folder in the way of the first file's name: it cannot be replaced.
  fs::create_directories(folder_ / "010500LO.TEG" / "keep");
  Choose("1", "5", "2000", 3, false);
  app_->EditParams([&](RunParameters& p) { p.SaveData = true; });
  EXPECT_EQ(app_->CalculateEphemeris(), RunOutcome::SaveFailed);
  const auto messages = ui_.Messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].icon, MessageIcon::Critical);
  EXPECT_EQ(messages[0].title, "Warning!");
  EXPECT_NE(messages[0].text.find("010500LO.TEG"), std::string::npos);
  for (const auto& e : fs::directory_iterator(folder_))
    EXPECT_FALSE(e.path().filename().string().starts_with("010500") &&
                 e.path().filename() != "010500LO.TEG")
        << e.path();
  EXPECT_EQ(ui_.LastDataText().substr(0, 2), "\r\n");  // the computed table is still shown
}

}  // namespace
}  // namespace novastra

namespace novastra {
namespace {

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
    const fs::path folder = testing::DataFolder();
    const auto before = std::distance(fs::directory_iterator(folder), {});
    CancellingUi ui;
    Application app(ui, folder);
    ASSERT_TRUE(app.LoadFiles());
    ui.app = &app;
    app.EditParams(
        [&](RunParameters& p) { p.StartMonth = "1", p.StartDay = "1", p.StartYear = "2009"; });
    app.EditParams(
        [&](RunParameters& p) { p.FullMonth = false, p.NumberOfDays = 40, p.SaveData = true; });
    auto run = [&] { return aspectarian ? app.CalculateAspectarian() : app.CalculateEphemeris(); };
    EXPECT_EQ(run(), RunOutcome::Cancelled);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), {}), before);  // nothing saved
    EXPECT_EQ(ui.LastDataText(), "");                                      // nothing shown
    ASSERT_FALSE(ui.events.empty());
    EXPECT_TRUE(ui.events.back().kind == HeadlessUi::Event::Busy && !ui.events.back().busy);
    ui.app = nullptr;
    EXPECT_EQ(run(), RunOutcome::Done);
    EXPECT_NE(ui.LastDataText(), "");
    fs::remove_all(folder);
  }
}

}  // namespace
}  // namespace novastra
