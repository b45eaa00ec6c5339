#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <optional>

#include "app/app_folder.h"
#include "app/application.h"
#include "app/input_check.h"
#include "astro/calendar.h"
#include "support/support.h"

namespace novastra {
namespace {

namespace fs = std::filesystem;
using testing_support::ReadBytes;
using testing_support::TempFolder;

TEST(Application, FontStepFromTheScreen) {
  struct {
    int width, twips;
    double step;
  } cases[] = {{640, 12, 1.5}, {800, 12, 1.2}, {800, 15, 1.5}, {1024, 15, 1.5}, {1024, 12, 1.2}};
  for (const auto& c : cases)
    EXPECT_EQ(Application::ChooseFontStep(c.width, c.twips), c.step) << c.width << " " << c.twips;
}

TEST(Application, MoreMovesTheStartDate) {
  HeadlessUi ui;
  TempFolder dir;
  Application app(ui, dir.path());
  struct {
    int y, m, d;
    bool forward, fullMonth;
    int days;
    std::string date;
  } cases[] = {{2009, 3, 31, false, true, 30, "2/6/2009"},  // full month after 31 March
               {2009, 3, 31, true, true, 30, "4/1/2009"},
               {2008, 3, 31, false, true, 30, "2/7/2008"},  // leap year
               {2009, 1, 19, true, false, 10, "1/20/2009"},
               {2009, 1, 19, false, false, 10, "12/31/2008"}};
  for (const auto& c : cases) {
    app.SetStartDate(
        RunController::MoreStartJD(JulianDayNumber(c.y, c.m, c.d), c.forward, c.fullMonth, c.days));
    EXPECT_EQ(app.params().StartMonth + "/" + app.params().StartDay + "/" + app.params().StartYear,
              c.date)
        << c.y << "-" << c.m << "-" << c.d << (c.forward ? " forward" : " back");
  }
}

TEST(Application, StartUpReadsOptionsAndSettingsBeforeTheSeriesFiles) {
  HeadlessUi ui;
  TempFolder dir;
  testing_support::CopySuppliedFiles(dir.path());
  fs::rename(dir / "MARS.DAT", dir / "MARS.BAK");
  dir.Write("NOVASTRA.INI", "Zodiac=Sidereal\r\n");
  Application bad(ui, dir.path());
  EXPECT_FALSE(bad.LoadFiles());
  ASSERT_EQ(ui.Messages().size(), 1u);
  EXPECT_NE(ui.Messages()[0].text.find("MARS.DAT"), std::string::npos);
  EXPECT_EQ(bad.options()[7], 61);
  EXPECT_EQ(bad.params().ZodiacMode, Zodiac::Sidereal);

  // A run, then More forward appends the next period; a refused date runs nothing.
  fs::rename(dir / "MARS.BAK", dir / "MARS.DAT");
  Application app(ui, dir.path());
  ASSERT_TRUE(app.LoadFiles());
  app.EditParams(
      [&](RunParameters& p) { p.StartMonth = "1", p.StartDay = "10", p.StartYear = "2009"; });
  app.EditParams([&](RunParameters& p) { p.FullMonth = p.SaveData = false; });
  app.EditParams([](RunParameters& p) { SetDaysText(p, "10"); });
  ASSERT_EQ(app.CalculateEphemeris(), RunOutcome::Done);
  const int16_t afterFirst = app.buffer().AllCount();
  const std::string firstLine = app.buffer().AllLines()[0];
  ASSERT_EQ(app.MoreForward(), RunOutcome::Done);
  EXPECT_EQ(app.params().StartDay, "20");
  EXPECT_GT(app.buffer().AllCount(), afterFirst + 10);  // appended, not replaced
  EXPECT_EQ(app.buffer().AllLines()[0], firstLine);
  app.EditParams([&](RunParameters& p) { p.StartMonth = "13"; });
  EXPECT_EQ(app.CalculateAspectarian(), RunOutcome::InputRefused);
  EXPECT_EQ(app.runKind(), 0);
  EXPECT_EQ(app.buffer().AllCount(), 0);
  EXPECT_EQ(ui.CountMessages("Error in input data section. Please correct."), 1);
}

TEST(Application, ACancelledRunLeavesBufferTablesAndDatesAsTheyWere) {
  TempFolder dir;
  testing_support::CopySuppliedFiles(dir.path());
  for (auto run : {&Application::CalculateEphemeris, &Application::CalculateAspectarian,
                   &Application::MoreForward, &Application::MoreBackward}) {
    HeadlessUi ui;
    Application app(ui, dir.path());
    ASSERT_TRUE(app.LoadFiles());
    app.EditParams(
        [&](RunParameters& p) { p.StartMonth = "1", p.StartDay = "1", p.StartYear = "2009"; });
    app.EditParams([&](RunParameters& p) { p.FullMonth = p.SaveData = false; });
    app.EditParams([](RunParameters& p) { SetDaysText(p, "40"); });
    ASSERT_EQ(app.CalculateEphemeris(), RunOutcome::Done);
    const auto all = app.buffer().AllLines();
    const auto view = app.buffer().ViewLines();
    const auto longitude = app.ephemeris().tables[0].lines;
    const double rowJD = app.cal().RowJD;
    const size_t shows = ui.events.size();
    ui.cancelAtProgress = 5;  // the user stops the run at its sixth step
    EXPECT_EQ((app.*run)(), RunOutcome::Cancelled);
    EXPECT_EQ(app.buffer().AllLines(), all);
    EXPECT_EQ(app.buffer().ViewLines(), view);
    EXPECT_EQ(app.ephemeris().tables[0].lines, longitude);
    EXPECT_EQ(app.runKind(), 1);
    EXPECT_EQ(app.cal().RowJD, rowJD);
    EXPECT_EQ(app.params().StartDay, "1");
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

// Every branch of the choice, with the environment and the write check put in.
// A per-user folder gets the options file alone (the rest is read where
// installed), and a user's own edited copy is kept.
TEST(AppFolderChoice, EveryBranchInOrder) {
  TempFolder supplied, program, home, xdg, given;
  supplied.Write("OPTIONS.OPT", "     61\r\n");
  supplied.Write("MARS.DAT", "1 2 3\r\n");
  program.Write("OPTIONS.OPT", "     62\r\n");  // the program folder holds the supplied files
  program.Write("MARS.DAT", "1 2 3\r\n");
  struct Case {
    const char* what;
    bool giveHome;                 // --home given
    std::string novastraHome;      // "" unset
    std::string xdgHome, homeVar;  // "" unset
    bool programWritable;
    bool programHoldsFiles;
    std::optional<fs::path> want;  // nullopt: refused
    const char* error = "";
  };
  const fs::path perUser = home / ".local/share/novastra";
  const Case cases[] = {
      {"--home wins over everything", true, program.path().string(), "", home.path().string(), true,
       true, given.path()},
      {"--home must be a folder", true, "", "", home.path().string(), true, true, std::nullopt,
       "--home is not a folder"},
      {"NOVASTRA_HOME wins over the program folder", false, given.path().string(), "",
       home.path().string(), true, true, given.path()},
      {"NOVASTRA_HOME must be a folder", false, (given / "missing").string(), "",
       home.path().string(), true, true, std::nullopt, "NOVASTRA_HOME is not a folder"},
      {"the program folder when it holds the files and can be written", false, "", "",
       home.path().string(), true, true, program.path()},
      {"not when it cannot be written", false, "", "", home.path().string(), false, true, perUser},
      {"not when a supplied file is missing", false, "", "", home.path().string(), true, false,
       perUser},
      {"XDG_DATA_HOME when absolute", false, "", xdg.path().string(), home.path().string(), false,
       true, xdg / "novastra"},
      {"a relative XDG_DATA_HOME is ignored", false, "", "relative", home.path().string(), false,
       true, perUser},
      {"no HOME: refused", false, "", "", "", false, true, std::nullopt, "HOME is not set"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::map<std::string, std::string> vars;
    if (!c.novastraHome.empty()) vars["NOVASTRA_HOME"] = c.novastraHome;
    if (!c.xdgHome.empty()) vars["XDG_DATA_HOME"] = c.xdgHome;
    if (!c.homeVar.empty()) vars["HOME"] = c.homeVar;
    FolderEnvironment env;
    env.variable = [&](const char* name) {
      return vars.count(name) ? vars.at(name).c_str() : nullptr;
    };
    env.writable = [&](const fs::path& dir) { return dir == program.path() && c.programWritable; };
    if (!c.programHoldsFiles) fs::rename(program / "OPTIONS.OPT", program / "OPTIONS.BAK");
    std::string error;
    const std::optional<fs::path> home_ =
        c.giveHome ? std::optional<fs::path>(c.error[0] ? given / "missing" : given.path())
                   : std::nullopt;
    const auto got = ResolveAppFolder(home_, program.path(), supplied.path(), &error, env);
    EXPECT_EQ(got, c.want) << error;
    EXPECT_NE(error.find(c.error), std::string::npos) << error;
    if (got && (*got == perUser || *got == xdg / "novastra")) {
      EXPECT_EQ(ReadBytes(*got / "OPTIONS.OPT"), "     61\r\n");
      EXPECT_FALSE(fs::exists(*got / "MARS.DAT"));
    }
    if (!c.programHoldsFiles) fs::rename(program / "OPTIONS.BAK", program / "OPTIONS.OPT");
  }
  home.Write(".local/share/novastra/OPTIONS.OPT", "edited\r\n");
  FolderEnvironment env;
  env.variable = [&](const char* n) {
    return std::string(n) == "HOME" ? home.path().c_str() : nullptr;
  };
  env.writable = [](const fs::path&) { return false; };
  EXPECT_EQ(ResolveAppFolder(std::nullopt, program.path(), supplied.path(), nullptr, env), perUser);
  EXPECT_EQ(home.Read(".local/share/novastra/OPTIONS.OPT"), "edited\r\n");
  // The real write check refuses a folder that does not exist.
  EXPECT_EQ(ResolveAppFolder(std::nullopt, program / "missing", supplied.path(), nullptr,
                             {[&](const char* n) {
                                return std::string(n) == "HOME" ? home.path().c_str() : nullptr;
                              },
                              {}}),
            perUser);
}

}  // namespace
}  // namespace novastra
