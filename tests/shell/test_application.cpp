#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <optional>

#include "astro/calendar.h"
#include "app/input_check.h"
#include "app/app_folder.h"
#include "app/application.h"
#include "temp_folder.h"

namespace novastra {
namespace {

namespace fs = std::filesystem;
using testing_support::TempFolder;

void CopySupplied(const TempFolder& dir) {
  for (const auto& e : fs::directory_iterator(NOVASTRA_DATA_DIR))
    if (e.is_regular_file()) fs::copy_file(e.path(), dir / e.path().filename().string());
}

TEST(Application, FontStepFromTheScreen) {
  struct { int width, twips; double step; } cases[] = {
      {640, 12, 1.5}, {800, 12, 1.2}, {800, 15, 1.5}, {1024, 15, 1.5}, {1024, 12, 1.2}};
  for (const auto& c : cases)
    EXPECT_EQ(Application::ChooseFontStep(c.width, c.twips), c.step) << c.width << " " << c.twips;
}

TEST(Application, MoreMovesTheStartDate) {
  HeadlessUi ui;
  TempFolder dir;
  Application app(ui, dir.path());
  struct { int y, m, d; bool forward, fullMonth; int days; std::string date; } cases[] = {
      {2009, 3, 31, false, true, 30, "2/6/2009"},  // full month after 31 March
      {2009, 3, 31, true, true, 30, "4/1/2009"},
      {2008, 3, 31, false, true, 30, "2/7/2008"},  // leap year
      {2009, 1, 19, true, false, 10, "1/20/2009"},
      {2009, 1, 19, false, false, 10, "12/31/2008"}};
  for (const auto& c : cases) {
    app.SetStartDate(
        Application::MoreStartJD(JulianDayNumber(c.y, c.m, c.d), c.forward, c.fullMonth, c.days));
    EXPECT_EQ(app.params.StartMonth + "/" + app.params.StartDay + "/" + app.params.StartYear,
              c.date) << c.y << "-" << c.m << "-" << c.d << (c.forward ? " forward" : " back");
  }
}

TEST(Application, StartUpReadsOptionsAndSettingsBeforeTheSeriesFiles) {
  HeadlessUi ui;
  TempFolder dir;
  CopySupplied(dir);
  fs::rename(dir / "MARS.DAT", dir / "MARS.BAK");
  dir.Write("NOVASTRA.INI", "Zodiac=Sidereal\r\n");
  Application bad(ui, dir.path());
  EXPECT_FALSE(bad.LoadFiles());
  ASSERT_EQ(ui.Messages().size(), 1u);
  EXPECT_NE(ui.Messages()[0].text.find("MARS.DAT"), std::string::npos);
  EXPECT_EQ(bad.options[7], 61);
  EXPECT_EQ(bad.params.ZodiacMode, Zodiac::Sidereal);

  // A run, then More forward appends the next period; a refused date runs nothing.
  fs::rename(dir / "MARS.BAK", dir / "MARS.DAT");
  Application app(ui, dir.path());
  ASSERT_TRUE(app.LoadFiles());
  app.params.StartMonth = "1", app.params.StartDay = "10", app.params.StartYear = "2009";
  app.params.FullMonth = app.params.SaveData = false;
  SetDaysText(app.params, "10");
  ASSERT_TRUE(app.CalculateEphemeris());
  const int16_t afterFirst = app.buffer.AllCount();
  const std::string firstLine = app.buffer.AllLines()[0];
  ASSERT_TRUE(app.MoreForward());
  EXPECT_EQ(app.params.StartDay, "20");
  EXPECT_GT(app.buffer.AllCount(), afterFirst + 10);  // appended, not replaced
  EXPECT_EQ(app.buffer.AllLines()[0], firstLine);
  app.params.StartMonth = "13";
  EXPECT_FALSE(app.CalculateAspectarian());
  EXPECT_EQ(app.RunKind, 0);
  EXPECT_EQ(app.buffer.AllCount(), 0);
  EXPECT_EQ(ui.CountMessages("Error in input data section. Please correct."), 1);
}

TEST(Application, ACancelledRunLeavesBufferTablesAndDatesAsTheyWere) {
  TempFolder dir;
  CopySupplied(dir);
  for (auto run : {&Application::CalculateEphemeris, &Application::CalculateAspectarian,
                   &Application::MoreForward, &Application::MoreBackward}) {
    HeadlessUi ui;
    Application app(ui, dir.path());
    ASSERT_TRUE(app.LoadFiles());
    app.params.StartMonth = "1", app.params.StartDay = "1", app.params.StartYear = "2009";
    app.params.FullMonth = app.params.SaveData = false;
    SetDaysText(app.params, "40");
    ASSERT_TRUE(app.CalculateEphemeris());
    const auto all = app.buffer.AllLines();
    const auto view = app.buffer.ViewLines();
    const auto longitude = app.ephemeris.tables[0].lines;
    const double rowJD = app.cal.RowJD;
    const size_t shows = ui.events.size();
    ui.cancelAtProgress = 5;  // the user stops the run at its sixth step
    EXPECT_FALSE((app.*run)());
    EXPECT_EQ(app.buffer.AllLines(), all);
    EXPECT_EQ(app.buffer.ViewLines(), view);
    EXPECT_EQ(app.ephemeris.tables[0].lines, longitude);
    EXPECT_EQ(app.RunKind, 1);
    EXPECT_EQ(app.cal.RowJD, rowJD);
    EXPECT_EQ(app.params.StartDay, "1");
    int dataShows = 0, closes = 0, busy = 0;
    for (size_t i = shows; i < ui.events.size(); ++i) {
      const auto& e = ui.events[i];
      dataShows += e.kind == HeadlessUi::Event::DataWindow;
      closes += e.kind == HeadlessUi::Event::ProgressClose;
      if (e.kind == HeadlessUi::Event::Busy) busy += e.busy ? 1 : -1;
    }
    EXPECT_EQ(dataShows, 0);
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(busy, 0);  // the busy pointer is given back
  }
}

class AppFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    supplied.Write("OPTIONS.OPT", "     61\r\n");
    supplied.Write("MARS.DAT", "1 2 3\r\n");
    Env("NOVASTRA_HOME", std::nullopt), Env("XDG_DATA_HOME", std::nullopt);
    Env("HOME", home.path().string());
  }
  void TearDown() override { for (const auto& [name, old] : saved) Env(name.c_str(), old); }
  void Env(const char* name, const std::optional<std::string>& value) {
    if (const char* old = std::getenv(name); !saved.count(name))
      saved[name] = old ? std::optional<std::string>(old) : std::nullopt;
    value ? ::setenv(name, value->c_str(), 1) : ::unsetenv(name);
  }
  std::optional<fs::path> Resolve(const std::optional<fs::path>& given = std::nullopt) {
    error.clear();
    return ResolveAppFolder(given, program.path(), supplied.path(), &error);
  }
  TempFolder supplied, program, home, other;
  std::map<std::string, std::optional<std::string>> saved;
  std::string error;
};

TEST_F(AppFolderTest, PerUserFolderIsSeededWithMissingFilesOnly) {
  ASSERT_EQ(Resolve(), home / ".local/share/novastra") << error;
  EXPECT_EQ(home.Read(".local/share/novastra/OPTIONS.OPT"), "     61\r\n");
  home.Write(".local/share/novastra/OPTIONS.OPT", "edited\r\n");
  fs::remove(home / ".local/share/novastra/MARS.DAT");
  ASSERT_TRUE(Resolve());
  EXPECT_EQ(home.Read(".local/share/novastra/OPTIONS.OPT"), "edited\r\n");
  EXPECT_EQ(home.Read(".local/share/novastra/MARS.DAT"), "1 2 3\r\n");
  Env("XDG_DATA_HOME", other.path().string());
  EXPECT_EQ(Resolve(), other / "novastra");
  EXPECT_EQ(other.Read("novastra/MARS.DAT"), "1 2 3\r\n");
  Env("HOME", std::nullopt), Env("XDG_DATA_HOME", std::nullopt);
  EXPECT_FALSE(Resolve());
}

TEST(InstanceLock, RefusesASecondHolderUntilTheFirstEnds) {
  TempFolder dir;
  {
    InstanceLock first(dir.path());
    ASSERT_TRUE(first.acquired());
    EXPECT_FALSE(InstanceLock(dir.path()).acquired());
  }
  EXPECT_TRUE(InstanceLock(dir.path()).acquired());
  EXPECT_FALSE(InstanceLock(dir / "missing").acquired());
}

}  // namespace
}  // namespace novastra
