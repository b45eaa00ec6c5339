// Chiron, the asteroids and the two Liliths in the desktop windows: the
// Data Window's texts and the calendar file hold the events the command line
// gives for the same choices.
#include "gui/calendar_export_dialog.h"
#include "gui/data_window.h"
#include "gui/graph_window.h"
#include "gui/message_box.h"
#include "gui_support.h"
#include "reports/minor_events.h"

namespace novastra::gui::test {
namespace {

// Runs the command-line program on the test's folder (its OPTIONS.OPT) and
// returns its standard output as the program's own bytes.
std::string RunCli(const fs::path& home, const QStringList& args) {
  QProcess p;
  p.start(
      NOVASTRA_CLI,
      QStringList{"--home", QString::fromStdString(home.string()), "--encoding", "cp1252"} + args);
  EXPECT_TRUE(p.waitForFinished(120000));
  EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
  const QByteArray out = p.readAllStandardOutput();
  return {out.constData(), static_cast<size_t>(out.size())};
}

// The lines that are not blank, without their trailing blanks and CRs.
QStringList Lines(const QString& text) {
  QStringList out;
  for (QString line : text.split('\n')) {
    while (!line.isEmpty() && (line.back() == ' ' || line.back() == '\r')) line.chop(1);
    if (!line.isEmpty()) out << line;
  }
  return out;
}

// A calendar file without its DTSTAMP lines (the minute it was made).
std::string WithoutStamps(const std::string& ics) {
  std::string out;
  size_t at = 0;
  while (at < ics.size()) {
    size_t end = ics.find('\n', at);
    end = end == std::string::npos ? ics.size() : end + 1;
    if (ics.compare(at, 8, "DTSTAMP:") != 0) out.append(ics, at, end - at);
    at = end;
  }
  return out;
}

// "" when the texts are equal, else their first differing lines.
std::string FirstDifference(const QStringList& a, const QStringList& b) {
  for (qsizetype i = 0; i < std::max(a.size(), b.size()); ++i) {
    const QString x = i < a.size() ? a[i] : "(end)", y = i < b.size() ? b[i] : "(end)";
    if (x != y)
      return "line " + std::to_string(i + 1) + ":\n  " + x.toStdString() + "\n  " + y.toStdString();
  }
  return "";
}

int Occurrences(const std::string& text, const std::string& what) {
  int n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

class MinorBodies : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    Start();
  }
  // Ticks the Input window's minor bodies named by their keys.
  void ChooseInInput(const QStringList& keys) {
    for (const QString& key : keys) {
      auto* a =
          controller->inputWindow()->btnMinorBodies->menu()->findChild<QAction*>("actMinor_" + key);
      ASSERT_NE(a, nullptr) << key.toStdString();
      a->setChecked(true);
    }
  }
};

// January 2009 holds stations of Osc. Lilith (4th, 18th), Ceres (11th) and
// Pallas (14th) beside Mercury's (11th). With every minor body chosen in the
// Input window, the aspectarian and its "Retrograde times" are the command
// line's text for the same choices, line for line, in Universal Time and in a
// zone with the void-of-course lines; every station line names its body.
TEST_F(MinorBodies, AspectarianAndRetrogradeTimesNameEveryBodyAsTheCommandLine) {
  ChooseInInput({"chiron", "ceres", "pallas", "juno", "vesta", "lilith", "osc_lilith"});
  struct Case {
    const char* zone;
    bool voids;
  };
  for (const Case c : {Case{"UT", false}, Case{"America/New_York", true}}) {
    SCOPED_TRACE(c.zone);
    InputWindow* in = controller->inputWindow();
    in->findChild<QComboBox*>("cboTimeZone")->setCurrentText(c.zone);
    in->findChild<QCheckBox*>("chkVoidOfCourse")->setChecked(c.voids);
    if (controller->dataWindow()) controller->mainWindow()->mnuInputData->trigger();
    DataWindow* d = RunMonth("1", "1", "2009", false);
    ASSERT_NE(d, nullptr);
    d->mnuRx_Times->trigger();
    QStringList args = {"--from", "1/1/2009", "--full-month", "--bodies", "all", "--tz", c.zone};
    QStringList aspectarian = args;
    aspectarian << "--midnight";
    if (c.voids) aspectarian << "--void-of-course";
    const QString cli = FromCodes(RunCli(folder, QStringList{"aspectarian"} + aspectarian)) +
                        FromCodes(RunCli(folder, QStringList{"stations"} + args));
    EXPECT_EQ(FirstDifference(Lines(DataText()), Lines(cli)), "");

    // The aspectarian's lines show each body by its symbol: the Unicode
    // characters CHIRON, CERES, PALLAS, JUNO, VESTA and BLACK MOON LILITH
    // (U+26B7, U+26B3..U+26B6, U+26B8), the osculating Lilith as the last
    // quarter moon U+263E, which has none of its own.
    const QString text = DataText();
    for (const char16_t glyph :
         {u'\u26B7', u'\u26B3', u'\u26B4', u'\u26B5', u'\u26B6', u'\u26B8', u'\u263E'})
      EXPECT_TRUE(text.contains(QChar(glyph))) << std::hex << int(glyph);
    const QString stations = text.mid(text.indexOf("Changes in direction"));
    for (const char* line : {"Osc. Lilith - 04 Jan 2009", "Ceres   - 11 Jan 2009",
                             "Pallas  - 14 Jan 2009", "Osc. Lilith - 18 Jan 2009"})
      EXPECT_TRUE(stations.contains(line)) << line << "\n" << stations.toStdString();
    for (const QString& line : Lines(stations).mid(1))
      EXPECT_TRUE(line.contains(QRegularExpression("^  (Mercury|Osc\\. Lilith|Ceres|Pallas) +- ")))
          << line.toStdString();
  }
  EXPECT_TRUE(messages.empty());
}

// The calendar file of a January 2009 run is the command line's feed for the
// bodies of the run and those ticked in the dialog together: a body ticked
// that the run was not asked for has its events found for the file. The
// minor bodies ticked are remembered for the next export; a heliocentric run
// offers none.
TEST_F(MinorBodies, CalendarHoldsTheRunsBodiesAndThoseTickedInTheDialog) {
  struct Case {
    QStringList run, ticked, untick;
    const char* cliBodies;  // --bodies of the command line's feed; "" none
    const char* remembered;
  };
  const Case cases[] = {
      {{"ceres"}, {}, {}, "ceres", "ceres"},
      {{}, {"ceres", "osc_lilith"}, {}, "ceres,osc-lilith", "ceres,osc-lilith"},
      // Osc. Lilith still ticked from the export before.
      {{"pallas"}, {"chiron"}, {"pallas", "ceres"}, "chiron,osc-lilith", "chiron,osc-lilith"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.cliBodies);
    ChooseInInput(c.run);
    if (controller->dataWindow()) controller->mainWindow()->mnuInputData->trigger();
    DataWindow* d = RunMonth("1", "1", "2009", false);
    ASSERT_NE(d, nullptr);
    dialogAnswer = [&](QDialog& dialog) {
      for (const QString& key : c.ticked)
        dialog.findChild<QCheckBox*>("chkMinor_" + key)->setChecked(true);
      for (const QString& key : c.untick)
        dialog.findChild<QCheckBox*>("chkMinor_" + key)->setChecked(false);
      return true;
    };
    const fs::path file = folder / "minor.ics";
    saveAnswer = QString::fromStdString(file.string());
    d->mnuFileExportCalendar->trigger();
    dialogAnswer = nullptr;
    const std::string cli = RunCli(folder, {"aspectarian", "--from", "1/1/2009", "--full-month",
                                            "--format", "ics", "--bodies", c.cliBodies});
    const std::string desktop = ReadAll(file);
    EXPECT_GE(Occurrences(desktop, "SUMMARY:"), 100);
    EXPECT_EQ(FirstDifference(Lines(QString::fromStdString(WithoutStamps(desktop))),
                              Lines(QString::fromStdString(WithoutStamps(cli)))),
              "");
    EXPECT_EQ(MinorBodyWords(controller->app()->settings().CalendarMinorBodies), c.remembered);
    // Untick the run's bodies for the next case.
    for (const QString& key : c.run)
      controller->inputWindow()
          ->btnMinorBodies->menu()
          ->findChild<QAction*>("actMinor_" + key)
          ->setChecked(false);
  }
  EXPECT_TRUE(messages.empty());
}

// The dialog starts with the minor bodies remembered, and a heliocentric run
// offers none (its minor bodies have no events).
TEST_F(MinorBodies, TheDialogStartsFromTheRememberedBodiesAndHeliocentricRunsOfferNone) {
  MinorChoice remembered{};
  remembered[3] = true;  // Juno
  controller->app()->SetCalendarMinorBodies(remembered);
  for (const bool helio : {false, true}) {
    SCOPED_TRACE(helio ? "heliocentric" : "geocentric");
    if (controller->dataWindow()) controller->mainWindow()->mnuInputData->trigger();
    controller->inputWindow()
        ->findChild<QRadioButton*>(helio ? "optHelio" : "optGeo")
        ->setChecked(true);
    DataWindow* d = RunMonth("1", "1", "2009", false);
    ASSERT_NE(d, nullptr);
    std::vector<std::pair<bool, bool>> boxes;  // enabled, checked
    dialogAnswer = [&](QDialog& dialog) {
      for (const char* key : {"chiron", "juno"}) {
        const auto* box = dialog.findChild<QCheckBox*>(QString("chkMinor_") + key);
        boxes.emplace_back(box->isEnabled(), box->isChecked());
      }
      return false;
    };
    d->mnuFileExportCalendar->trigger();
    dialogAnswer = nullptr;
    const std::vector<std::pair<bool, bool>> expected =
        helio ? std::vector<std::pair<bool, bool>>{{false, false}, {false, false}}
              : std::vector<std::pair<bool, bool>>{{true, false}, {true, true}};
    EXPECT_EQ(boxes, expected);
  }
  EXPECT_EQ(controller->app()->settings().CalendarMinorBodies, remembered);
}

// The graphic ephemeris draws the minor bodies ticked in its Bodies menu
// beside the planets, after them, and remembers them for the next window.
TEST_F(MinorBodies, TheGraphDrawsTheTickedBodiesAndRemembersThem) {
  controller->mainWindow()->mnuGraph->trigger();
  GraphWindow* g = controller->graphWindow();
  ASSERT_NE(g, nullptr);
  g->dtFrom->setDate(QDate(2009, 1, 1));
  g->dtTo->setDate(QDate(2009, 12, 31));
  const size_t planets = g->series().bodies.size();
  g->bodyActions[EventBodyOf(MinorBody::Ceres)]->setChecked(true);
  g->bodyActions[EventBodyOf(MinorBody::OscLilith)]->setChecked(true);
  std::vector<int> drawn;
  for (const chart::BodySeries& b : g->series().bodies) drawn.push_back(b.body);
  ASSERT_EQ(drawn.size(), planets + 2);
  EXPECT_EQ(drawn[planets], EventBodyOf(MinorBody::Ceres));
  EXPECT_EQ(drawn[planets + 1], EventBodyOf(MinorBody::OscLilith));
  EXPECT_EQ(g->lblStatus->text(), "");
  EXPECT_EQ(MinorBodyWords(controller->app()->settings().GraphMinorBodies), "ceres,osc-lilith");

  // A new window starts with them ticked.
  const GraphWindow again(*controller->app(), answers);
  EXPECT_TRUE(again.bodyActions.at(EventBodyOf(MinorBody::Ceres))->isChecked());
  EXPECT_TRUE(again.bodyActions.at(EventBodyOf(MinorBody::OscLilith))->isChecked());
  EXPECT_FALSE(again.bodyActions.at(EventBodyOf(MinorBody::Vesta))->isChecked());
  EXPECT_TRUE(messages.empty());
}

}  // namespace
}  // namespace novastra::gui::test
