#include <gtest/gtest.h>

#include <string>

#include "astro/calendar.h"
#include "input/input_check.h"
#include "shell/application.h"
#include "temp_folder.h"

namespace novastra {
namespace {

namespace fs = std::filesystem;
using testing_support::TempFolder;

// A folder holding a copy of every supplied file.
void CopySupplied(const TempFolder& dir) {
  for (const auto& e : fs::directory_iterator(NOVASTRA_DATA_DIR))
    if (e.is_regular_file()) fs::copy_file(e.path(), dir / e.path().filename().string());
}

TEST(Application, FontStepFromTheScreen) {
  struct {
    int width, twips;
    double step;
  } cases[] = {{640, 15, 1.5}, {640, 12, 1.5}, {800, 12, 1.2}, {800, 15, 1.5},
               {1024, 15, 1.5}, {1024, 12, 1.2}, {1920, 15, 1.5}, {1920, 1, 1.2}};
  for (const auto& c : cases)
    EXPECT_EQ(Application::ChooseFontStep(c.width, c.twips), c.step) << c.width << " " << c.twips;
}

TEST(Application, MoreMovesTheStartDate) {
  HeadlessUi ui;
  TempFolder dir;
  Application app(ui, dir.path());
  struct {
    int y, m, d;  // last row of the previous run
    bool forward, fullMonth;
    int days;
    const char *month, *day, *year;
  } cases[] = {
      {2009, 3, 31, false, true, 30, "2", "6", "2009"},    // full month, common year
      {2009, 3, 31, true, true, 30, "4", "1", "2009"},
      {2008, 3, 31, false, true, 30, "2", "7", "2008"},    // leap year
      {2009, 1, 19, true, false, 10, "1", "20", "2009"},   // 10 days from 10 Jan: J + 10
      {2009, 1, 19, false, false, 10, "12", "31", "2008"}, // J - 10
      {2009, 12, 31, true, false, 366, "1", "1", "2010"},
      {2009, 12, 31, false, false, 366, "12", "31", "2007"},
  };
  for (const auto& c : cases) {
    const double row = JulianDayNumber(c.y, c.m, c.d);
    app.SetStartDate(Application::MoreStartJD(row, c.forward, c.fullMonth, c.days));
    EXPECT_EQ(app.params.StartMonth, c.month) << c.y << "-" << c.m << "-" << c.d;
    EXPECT_EQ(app.params.StartDay, c.day) << c.y << "-" << c.m << "-" << c.d;
    EXPECT_EQ(app.params.StartYear, c.year) << c.y << "-" << c.m << "-" << c.d;
  }
}

TEST(Application, ShowDocumentAppendsTheFileToTheBuffer) {
  HeadlessUi ui;
  TempFolder dir;
  dir.Write("TIPS.HLP", "First tip\r\n  indented\tline \r\n\r\nlast");
  Application app(ui, dir.path());
  app.ShowDocument("TIPS.HLP");
  EXPECT_EQ(ui.LastDataText(), "First tip\r\n  indented\tline \r\n\r\nlast\r\n\r\n\r\n\r\n");
  EXPECT_EQ(ui.events.back().title, "NOVASTRA - Data");
  EXPECT_EQ(app.buffer.AllCount(), 6);  // four lines, the blank line, the display's blank
  app.ShowDocument("TIPS.HLP");         // a second time adds to the full list
  EXPECT_EQ(app.buffer.AllCount(), 12);
  EXPECT_EQ(app.buffer.ViewCount(), 6);

  app.ShowDocument("MISSING.HLP");
  ASSERT_EQ(ui.Messages().size(), 1u);
  EXPECT_NE(ui.Messages()[0].text.find("MISSING.HLP"), std::string::npos);
  EXPECT_EQ(app.buffer.AllCount(), 12);
  EXPECT_EQ(app.buffer.ViewCount(), 6);
}

TEST(Application, LoadFilesReportsABadSeriesFile) {
  HeadlessUi ui;
  TempFolder dir;
  CopySupplied(dir);
  dir.Write("NOVASTRA.INI", "Zodiac=Sidereal\r\nNumberOfDays=45\r\n");
  fs::remove(dir / "MARS.DAT");
  Application app(ui, dir.path());
  EXPECT_FALSE(app.LoadFiles());
  ASSERT_EQ(ui.Messages().size(), 1u);
  EXPECT_EQ(ui.Messages()[0].title, "WARNING!");
  EXPECT_EQ(ui.Messages()[0].icon, MessageIcon::Critical);
  EXPECT_NE(ui.Messages()[0].text.find("MARS.DAT"), std::string::npos);
  // Options and settings were read before the series files.
  EXPECT_EQ(app.options[7], 61);
  EXPECT_EQ(app.params.ZodiacMode, Zodiac::Sidereal);
  EXPECT_EQ(app.params.NumberOfDays, 45);
}

TEST(Application, RunsAndMoreForwardKeepTheBuffer) {
  HeadlessUi ui;
  TempFolder dir;
  CopySupplied(dir);
  Application app(ui, dir.path());
  ASSERT_TRUE(app.LoadFiles());
  EXPECT_TRUE(ui.Messages().empty());
  app.params.StartMonth = "1";
  app.params.StartDay = "10";
  app.params.StartYear = "2009";
  app.params.FullMonth = false;
  app.params.SaveData = false;
  SetDaysText(app.params, "10");

  ASSERT_TRUE(app.CalculateEphemeris());
  EXPECT_EQ(app.RunKind, 1);
  const int16_t afterFirst = app.buffer.AllCount();
  ASSERT_GT(afterFirst, 10);
  const std::string firstLine = app.buffer.AllLines()[0];
  ASSERT_TRUE(app.MoreForward());
  EXPECT_EQ(app.params.StartDay, "20");
  EXPECT_GT(app.buffer.AllCount(), afterFirst + 10);  // appended, not replaced
  EXPECT_EQ(app.buffer.AllLines()[0], firstLine);
  ASSERT_TRUE(app.MoreBackward());
  EXPECT_EQ(app.params.StartDay, "10");

  // A refused date: the button has emptied the buffer, nothing runs.
  app.params.StartMonth = "13";
  EXPECT_FALSE(app.CalculateAspectarian());
  EXPECT_EQ(app.RunKind, 0);
  EXPECT_EQ(app.buffer.AllCount(), 0);
  EXPECT_EQ(ui.CountMessages("Error in input data section. Please correct."), 1);
}

}  // namespace
}  // namespace novastra
