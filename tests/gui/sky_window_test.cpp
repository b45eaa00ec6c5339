// The Input window's sky and osculating node: they change the run, go back to
// the design output byte for byte, are remembered; and the Data Window's note
// for runs whose days reach past Pluto's 1885-2099.
#include <set>

#include "gui_support.h"

namespace novastra::gui::test {

namespace {

// Bytes of a table as the run left it, lines 0..nextFree with CRLF (the golden files' form).
std::string TableBytes(const Application& app, ColumnSet set) {
  const PageLines& page = app.ephemeris().tables[static_cast<int>(set)];
  std::string text;
  for (int i = 0; i <= page.nextFree; ++i) text += page.lines[i] + "\r\n";
  return text;
}

// One body's 9-byte column of every row of the longitude table (0 Sun, 1 Moon, ..., 10 node).
std::vector<std::string> Column(const Application& app, int body) {
  const PageLines& page = app.ephemeris().tables[static_cast<int>(ColumnSet::Longitude)];
  std::vector<std::string> out;
  for (int i = 7; i < page.nextFree; ++i)
    if (page.lines[i].size() >= 122u) out.push_back(page.lines[i].substr(23 + 9 * body, 9));
  return out;
}

int Differing(const std::vector<std::string>& a, const std::vector<std::string>& b) {
  int n = 0;
  for (size_t i = 0; i < std::min(a.size(), b.size()); ++i) n += a[i] != b[i];
  return n;
}

std::set<fs::path> Files(const fs::path& folder) {
  std::set<fs::path> out;
  for (const auto& e : fs::directory_iterator(folder)) out.insert(e.path());
  return out;
}

}  // namespace

TEST_F(GuiTest, SkyAndOsculatingNodeChangeTheRunAndDesignStaysByteIdentical) {
  AppController& c = Start();
  InputWindow* in = c.inputWindow();
  ASSERT_NE(in->findChild<QRadioButton*>("optDesign"), nullptr);
  ASSERT_NE(in->findChild<QRadioButton*>("optOsculating"), nullptr);
  EXPECT_TRUE(in->optDesign->isChecked() && !in->optApparent->isChecked());
  EXPECT_TRUE(in->optTrue->isChecked() && !in->optOsculating->isChecked());
  const Application& app = *c.app();
  // Frozen January 2009 at midnight, the same run the ephemeris goldens hold.
  const std::string golden =
      ReadAll(fs::path(NOVASTRA_EPHEMERIS_GOLDENS) / "jan2009_longitude.txt");
  ASSERT_FALSE(golden.empty());

  ASSERT_NE(RunMonth("1", "1", "2009", true), nullptr);
  EXPECT_EQ(TableBytes(app, ColumnSet::Longitude), golden);
  const auto designMoon = Column(app, 1), designSun = Column(app, 0), trueNode = Column(app, 10);
  ASSERT_EQ(designMoon.size(), 31u);

  // Apparent sky: delta T (about 66 s in 2009) alone moves the Moon some 36";
  // every row's Moon and most of the Sun's tenths of a minute change.
  c.mainWindow()->mnuInputData->trigger();
  in->optApparent->click();
  EXPECT_EQ(app.params().SkyChoice, Sky::Apparent);
  ASSERT_NE(RunMonth("1", "1", "2009", true), nullptr);
  EXPECT_EQ(Differing(Column(app, 1), designMoon), 31);
  EXPECT_GE(Differing(Column(app, 0), designSun), 15);
  EXPECT_NE(TableBytes(app, ColumnSet::Longitude), golden);

  // Osculating node: it swings up to 1.5 degrees about the mean one, so it
  // parts from the five-term true node on most days.
  c.mainWindow()->mnuInputData->trigger();
  in->optDesign->click();
  in->optOsculating->click();
  EXPECT_EQ(app.params().MoonNodes, NodeMode::Osculating);
  EXPECT_EQ(app.params().SkyChoice, Sky::Design);
  ASSERT_NE(RunMonth("1", "1", "2009", true), nullptr);
  EXPECT_EQ(Column(app, 1), designMoon);
  EXPECT_GE(Differing(Column(app, 10), trueNode), 25);

  // Back to the design sky and the true node: the golden bytes again.
  c.mainWindow()->mnuInputData->trigger();
  in->optTrue->click();
  EXPECT_EQ(app.params().MoonNodes, NodeMode::True);
  ASSERT_NE(RunMonth("1", "1", "2009", true), nullptr);
  EXPECT_EQ(TableBytes(app, ColumnSet::Longitude), golden);
}

TEST_F(GuiTest, SkyAndNodeChoicesAreRememberedAndFollowTheWindowsOrder) {
  AppController& c = Start();
  InputWindow* in = c.inputWindow();
  // Tab goes through the window as it reads: the date, the choice frames row
  // by row (the osculating node after the true one), the check boxes and the
  // zone, the sky, then the buttons.
  const QList<QWidget*> want = {in->txtMonth,
                                in->txtDay,
                                in->txtYear,
                                in->txtDays,
                                in->optMidnight,
                                in->optNoon,
                                in->optGeo,
                                in->optHelio,
                                in->optMean,
                                in->optTrue,
                                in->optOsculating,
                                in->optTropical,
                                in->optSidereal,
                                in->optAyanamsa,
                                in->optDisplay,
                                in->optNoDisplay,
                                in->optLongitude,
                                in->optLatitude,
                                in->optRightAscension,
                                in->optDeclination,
                                in->chkFullMonth,
                                in->chkSaveData,
                                in->chkMoonChange,
                                in->findChild<QWidget*>("chkVoidOfCourse"),
                                in->findChild<QWidget*>("chkLocalRows"),
                                in->findChild<QWidget*>("cboTimeZone"),
                                in->optDesign,
                                in->optApparent,
                                in->cmdEphemeris,
                                in->cmdAspectarian};
  ASSERT_FALSE(want.contains(nullptr));
  QList<QWidget*> chain;
  QWidget* w = in->txtMonth;
  do {
    if (want.contains(w)) chain.push_back(w);
    w = w->nextInFocusChain();
  } while (w != in->txtMonth && chain.size() < 100);
  EXPECT_EQ(chain, want);
  Screenshot(in, "input-window-sky");

  in->optApparent->click();
  in->optOsculating->click();
  c.mainWindow()->close();
  const std::string ini = ReadAll(folder / "NOVASTRA.INI");
  EXPECT_NE(ini.find("\r\nMoonNodes=Osculating\r\n"), std::string::npos) << ini;
  EXPECT_NE(ini.find("\r\nSky=Apparent\r\n"), std::string::npos) << ini;
  controller.reset();
  in = Start().inputWindow();
  EXPECT_TRUE(in->optApparent->isChecked() && !in->optDesign->isChecked());
  EXPECT_TRUE(in->optOsculating->isChecked() && !in->optTrue->isChecked() &&
              !in->optMean->isChecked());
  EXPECT_EQ(controller->app()->params().SkyChoice, Sky::Apparent);
  EXPECT_EQ(controller->app()->params().MoonNodes, NodeMode::Osculating);

  // Back to the defaults: the file has no sky line and the true node.
  in->optDesign->click();
  in->optTrue->click();
  controller->mainWindow()->close();
  const std::string plain = ReadAll(folder / "NOVASTRA.INI");
  EXPECT_EQ(plain.find("Sky="), std::string::npos) << plain;
  EXPECT_NE(plain.find("\r\nMoonNodes=True\r\n"), std::string::npos) << plain;
}

TEST_F(GuiTest, DataWindowNotesRunsWhoseDaysReachPastPlutosYears) {
  AppController& c = Start();
  struct {
    const char *month, *year;
    bool ephemeris;
    QString note;
  } cases[] = {
      {"1", "2009", true, ""},
      {"12", "1884", true, "Pluto's positions before 1885 are approximate"},
      {"1", "1885", false, ""},  // the first month of the series' years
      {"12", "2099", true, ""},  // and the last
      {"1", "2100", false, "Pluto's positions after 2099 are approximate"},
      {"3", "1800", false, "Pluto's positions before 1885 are approximate"},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(std::string(k.month) + "/" + k.year);
    c.mainWindow()->mnuInputData->trigger();
    DataWindow* d = RunMonth(k.month, "1", k.year, k.ephemeris);
    ASSERT_NE(d, nullptr);
    auto* note = d->findChild<QLabel*>("lblNotes");
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(note->isVisible(), !k.note.isEmpty());
    EXPECT_EQ(note->text(), k.note.isEmpty() ? note->text() : k.note);
    // The results' own text says nothing of it.
    EXPECT_FALSE(DataText().contains("Pluto's")) << DataText().left(300).toStdString();
  }
  // A run over a whole year from December 1884 reaches past the start only.
  c.mainWindow()->mnuInputData->trigger();
  InputWindow* in = c.inputWindow();
  in->chkFullMonth->setChecked(false);
  Retype(in->txtDays, "366");
  Retype(in->txtMonth, "12");
  Retype(in->txtDay, "31");
  Retype(in->txtYear, "1884");
  in->cmdEphemeris->click();
  DataWindow* d = c.dataWindow();
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->lblNotes->text(), "Pluto's positions before 1885 are approximate");

  // The View menu keeps the run's note; More moves into the years that hold.
  d->mnuViewDeclination->trigger();
  EXPECT_TRUE(d->lblNotes->isVisible());
  Screenshot(d, "data-window-note");
  d->mnuMoreZForward->trigger();  // from 1 Jan 1886
  EXPECT_FALSE(d->lblNotes->isVisible());

  // Saved files hold the results only.
  c.mainWindow()->mnuInputData->trigger();
  const std::set<fs::path> before = Files(folder);
  in->chkSaveData->setChecked(true);
  ASSERT_NE(d = RunMonth("2", "1", "1884", true), nullptr);
  EXPECT_TRUE(d->lblNotes->isVisible());
  int saved = 0;
  for (const fs::path& f : Files(folder)) {
    if (before.count(f) || !fs::is_regular_file(f)) continue;
    ++saved;
    EXPECT_EQ(ReadAll(f).find("Pluto's"), std::string::npos) << f;
  }
  EXPECT_GE(saved, 1);
}

}  // namespace novastra::gui::test
