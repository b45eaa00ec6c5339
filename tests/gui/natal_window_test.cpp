// The Natal chart window: typed birth data give the chart BuildChart gives,
// charts saved and opened again, refusals that keep the chart shown, and the
// chart's points in the graphic ephemeris.
#include "gui/natal_window.h"

#include "app/chart_files.h"
#include "astro/calendar.h"
#include "gui/graph_window.h"
#include "gui_support.h"
#include "text/chart_text.h"

namespace novastra::gui::test {

namespace {

struct Birth {
  QString date, time, zone, lat, lon;
  HouseSystem houses;
};

void ExpectSameChart(const NatalChart& a, const NatalChart& b, double tolerance) {
  EXPECT_NEAR(a.request.jdUT, b.request.jdUT, 1e-8);
  EXPECT_NEAR(a.houses.ascendant, b.houses.ascendant, tolerance);
  EXPECT_NEAR(a.houses.mc, b.houses.mc, tolerance);
  for (int h = 0; h < 12; ++h) EXPECT_NEAR(a.houses.cusps[h], b.houses.cusps[h], tolerance) << h;
  for (int k = 1; k <= 11; ++k)
    EXPECT_NEAR(a.bodies[k].longitude, b.bodies[k].longitude, tolerance) << k;
}

// The file is the chart's JSON as the command line writes it.
void ExpectChartFile(const fs::path& file, const NatalChart& chart) {
  NatalChart read;
  ChartMeta meta;
  std::string why;
  ASSERT_TRUE(ChartFromJson(ReadAll(file), read, meta, why)) << why;
  EXPECT_EQ(meta.name, "New York");
  EXPECT_EQ(meta.zone, "America/New_York");
  ExpectSameChart(read, chart, 1e-9);
}

struct Typed {
  Birth typed;
  double jdUT;
  GeoPlace place;
};

class NatalTest : public GuiTest {
 protected:
  NatalWindow* Open() {
    AppController& c = Start();
    c.mainWindow()->mnuNatal->trigger();
    NatalWindow* w = c.natalWindow();
    EXPECT_NE(w, nullptr);
    return w;
  }
  static void Type(NatalWindow* w, const Birth& b) {
    w->txtDate->setText(b.date);
    w->txtTime->setText(b.time);
    w->cboZone->setCurrentText(b.zone);
    w->txtLatitude->setText(b.lat);
    w->txtLongitude->setText(b.lon);
    w->cboHouses->setCurrentIndex(w->cboHouses->findData(static_cast<int>(b.houses)));
  }
  // The typed data calculated: the chart and the table of BuildChart's chart.
  void CheckTyped(NatalWindow* w, const Typed& c) {
    Type(w, c.typed);
    w->cmdCalculate->click();
    ASSERT_TRUE(w->chart().has_value());
    const NatalChart want = Expected(c.jdUT, c.place, c.typed.houses);
    ExpectSameChart(*w->chart(), want, 1e-9);
    EXPECT_EQ(w->chart()->request.houses, c.typed.houses);
    // The table shows the chart's own text, cusps included.
    EXPECT_EQ(w->txtPositions->toPlainText(),
              FromCodes(ChartText(want, w->meta())).remove(QChar('\r')));
  }
  // A refusal: one message starting with the words, in the status line too,
  // and the chart and table shown before unchanged.
  void CheckRefusal(NatalWindow* w, const Birth& typed, const char* starts, const char* contains) {
    const double ascendant = w->chart()->houses.ascendant;
    const QString table = w->txtPositions->toPlainText();
    messages.clear();
    Type(w, typed);
    w->cmdCalculate->click();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].text.startsWith(starts)) << messages[0].text.toStdString();
    EXPECT_TRUE(messages[0].text.contains(contains)) << messages[0].text.toStdString();
    EXPECT_EQ(w->lblStatus->text(), messages[0].text);
    EXPECT_EQ(w->chart()->houses.ascendant, ascendant);
    EXPECT_EQ(w->txtPositions->toPlainText(), table);
  }
  // Open pressed and `name` chosen in its dialog; the names it offered.
  QStringList OpenChosen(NatalWindow* w, const QString& name) {
    QStringList offered;
    dialogAnswer = [&](QDialog& d) {
      auto& ask = dynamic_cast<QInputDialog&>(d);
      offered = ask.comboBoxItems();
      ask.setTextValue(name);
      return true;
    };
    w->cmdOpen->click();
    dialogAnswer = nullptr;
    return offered;
  }
  // The chart of the same instant and place straight from BuildChart.
  NatalChart Expected(double jdUT, GeoPlace place, HouseSystem houses) {
    ChartRequest r;
    r.tables = &controller->app()->series();
    r.choices.sky = Sky::Apparent;
    r.ayanamsa = controller->app()->options().Ayanamsa();
    r.jdUT = jdUT;
    r.latitude = place.latitude;
    r.longitude = place.longitudeEast;
    r.houses = houses;
    return *BuildChart(r);
  }
};


// 4 July 1990 12:00 in New York is 16:00 UT (Eastern Daylight Time, UTC-4).
const double kNoonNewYork = JulianDayNumber(1990, 7, 4) + 4 / 24.0;

}  // namespace

TEST_F(NatalTest, TypedInputGivesTheCuspsOfBuildChart) {
  NatalWindow* w = Open();
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(w->isVisible());
  // 40N43 is 40 + 43/60 degrees; 74W00 is 74 degrees west (negative east).
  const double lat = 40 + 43 / 60.0;
  const Typed cases[] = {
      {{"1990-07-04", "12:00", "America/New_York", "40N43", "74W00", HouseSystem::Placidus},
       kNoonNewYork, {lat, -74}},
      {{"7/4/1990", "16:00", "UT", "40.716666666666667", "-74", HouseSystem::Koch},
       kNoonNewYork, {lat, -74}},
      {{"1990-07-04", "12:00", "America/New_York", "40N43", "74W00", HouseSystem::WholeSign},
       kNoonNewYork, {lat, -74}},
      // Winter: Eastern Standard Time, UTC-5.
      {{"1990-01-04", "07:30", "America/New_York", "40N43", "74W00", HouseSystem::Regiomontanus},
       JulianDayNumber(1990, 1, 4) + 0.5 / 24.0, {lat, -74}},
      // Sydney in its winter, Australian Eastern Standard Time, UTC+10: the
      // day before in UT; south and east.
      {{"1990-07-04", "08:00", "Australia/Sydney", "33S52", "151E13", HouseSystem::Placidus},
       JulianDayNumber(1990, 7, 3) + 10 / 24.0, {-(33 + 52 / 60.0), 151 + 13 / 60.0}},
  };
  for (const Typed& c : cases) {
    SCOPED_TRACE(c.typed.date.toStdString() + " " + c.typed.zone.toStdString());
    CheckTyped(w, c);
  }
  EXPECT_TRUE(messages.empty());
  w->resize(1280, 660);
  Type(w, cases[0].typed);
  w->txtName->setText("New York 1990");
  w->cmdCalculate->click();
  Screenshot(w, "natal-window");
}

TEST_F(NatalTest, SavedChartOpensAsTheSameChart) {
  NatalWindow* w = Open();
  ASSERT_NE(w, nullptr);
  EXPECT_FALSE(w->cmdSave->isEnabled());  // nothing to save yet
  Type(w, {"1990-07-04", "12:00", "America/New_York", "40N43", "74W00", HouseSystem::Campanus});
  w->txtName->setText("New York");
  ASSERT_TRUE(w->Calculate());
  const NatalChart saved = *w->chart();
  w->cmdSave->click();
  const auto file = folder / "New York.chart.json";
  ASSERT_TRUE(fs::exists(file));
  ExpectChartFile(file, saved);

  // Another chart shown, then the saved one chosen in the Open dialog.
  Type(w, {"2001-03-21", "06:15", "Europe/Paris", "48N52", "2E21", HouseSystem::Equal});
  ASSERT_TRUE(w->Calculate());
  EXPECT_EQ(OpenChosen(w, "New York"), QStringList{"New York"});
  ASSERT_TRUE(w->chart().has_value());
  ExpectSameChart(*w->chart(), saved, 1e-9);
  EXPECT_EQ(w->chart()->request.houses, HouseSystem::Campanus);
  // The input row holds the chart's data again: calculating gives it back.
  EXPECT_EQ(QStringList({w->txtName->text(), w->txtDate->text(), w->txtTime->text(),
                         w->cboZone->currentText()}),
            QStringList({"New York", "1990-07-04", "12:00:00", "America/New_York"}));
  ASSERT_TRUE(w->Calculate());
  ExpectSameChart(*w->chart(), saved, 1e-6);
  EXPECT_TRUE(messages.empty()) << messages.front().text.toStdString();
}

TEST_F(NatalTest, BadInputNamesTheFieldAndKeepsTheChart) {
  NatalWindow* w = Open();
  ASSERT_NE(w, nullptr);
  const Birth good{"1990-07-04", "12:00", "America/New_York", "40N43", "74W00",
                   HouseSystem::Placidus};
  Type(w, good);
  ASSERT_TRUE(w->Calculate());
  const struct Case {
    Birth typed;
    const char* starts;   // the message's first words
    const char* contains;
  } cases[] = {
      {{"1990-07-04", "12:00", "America/New_York", "40X43", "74W00", HouseSystem::Placidus},
       "Latitude \"40X43\"", ""},
      {{"1990-07-04", "12:00", "America/New_York", "91N00", "74W00", HouseSystem::Placidus},
       "Latitude \"91N00\"", ""},
      {{"1990-07-04", "12:00", "America/New_York", "40N43", "74N00", HouseSystem::Placidus},
       "Longitude \"74N00\"", ""},
      {{"1990-07-04", "12:00", "America/New_York", "40N43", "", HouseSystem::Placidus},
       "Longitude \"\"", ""},
      {{"1990-02-30", "12:00", "America/New_York", "40N43", "74W00", HouseSystem::Placidus},
       "Date \"1990-02-30\"", ""},
      {{"1990-07-04", "25:00", "America/New_York", "40N43", "74W00", HouseSystem::Placidus},
       "Time \"25:00\"", ""},
      {{"1990-07-04", "12:00", "Mars/Olympus", "40N43", "74W00", HouseSystem::Placidus},
       "Time zone \"Mars/Olympus\"", ""},
      // Tromso, 69N39: inside the Arctic circle.
      {{"1990-07-04", "12:00", "Europe/Oslo", "69N39", "18E57", HouseSystem::Placidus},
       "No Placidus houses at latitude 69N39", "polar circles"},
      {{"1990-07-04", "12:00", "Europe/Oslo", "69N39", "18E57", HouseSystem::Koch},
       "No Koch houses at latitude 69N39", "polar circles"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.starts);
    CheckRefusal(w, c.typed, c.starts, c.contains);
  }
  // Porphyry is defined there.
  Type(w, {"1990-07-04", "12:00", "Europe/Oslo", "69N39", "18E57", HouseSystem::Porphyry});
  messages.clear();
  EXPECT_TRUE(w->Calculate());
  EXPECT_TRUE(messages.empty());
}

TEST_F(NatalTest, BadNamesAndFilesAreRefused) {
  NatalWindow* w = Open();
  ASSERT_NE(w, nullptr);
  Type(w, {"1990-07-04", "12:00", "Europe/Oslo", "69N39", "18E57", HouseSystem::Porphyry});
  ASSERT_TRUE(w->Calculate());
  // A name that makes no file name is refused and nothing is written.
  messages.clear();
  w->txtName->setText("../escape");
  EXPECT_FALSE(w->SaveChart());
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_TRUE(messages[0].text.startsWith("Name \"../escape\""));
  EXPECT_TRUE(SavedChartNames(folder).empty());

  // A damaged chart file is named and the chart shown stays.
  std::ofstream(folder / "Broken.chart.json") << "{\"type\":\"chart\",\"jd_ut\":2448077.1}";
  const double porphyryAsc = w->chart()->houses.ascendant;
  messages.clear();
  EXPECT_FALSE(w->OpenChart("Broken"));
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_TRUE(messages[0].text.contains("Broken.chart.json")) << messages[0].text.toStdString();
  EXPECT_EQ(w->chart()->houses.ascendant, porphyryAsc);
  messages.clear();
  EXPECT_FALSE(w->OpenChart("Nobody"));
  EXPECT_EQ(messages.size(), 1u);
}

TEST_F(NatalTest, GraphicEphemerisDrawsTheChartsPoints) {
  NatalWindow* w = Open();
  ASSERT_NE(w, nullptr);
  Type(w, {"1990-07-04", "12:00", "America/New_York", "40N43", "74W00", HouseSystem::Placidus});
  ASSERT_TRUE(w->Calculate());
  controller->mainWindow()->mnuGraph->trigger();
  GraphWindow* g = controller->graphWindow();
  ASSERT_NE(g, nullptr);
  QApplication::processEvents();
  // Eleven bodies, the Ascendant and the Midheaven.
  const auto& lines = g->view->model().fixedLines;
  ASSERT_EQ(lines.size(), 13u);
  EXPECT_NEAR(lines[0].degrees, w->chart()->bodies[1].longitude, 0.005);
  EXPECT_NEAR(lines[11].degrees, w->chart()->houses.ascendant, 0.005);
  EXPECT_NEAR(lines[12].degrees, w->chart()->houses.mc, 0.005);
  // A new chart moves them.
  Type(w, {"2001-03-21", "06:15", "Europe/Paris", "48N52", "2E21", HouseSystem::Equal});
  ASSERT_TRUE(w->Calculate());
  EXPECT_NEAR(g->view->model().fixedLines[11].degrees, w->chart()->houses.ascendant, 0.005);
}

TEST_F(NatalTest, MainMenuShortcutsAreDistinct) {
  AppController& c = Start();
  QStringList keys;
  for (QAction* a : c.mainWindow()->findChildren<QAction*>())
    if (!a->shortcut().isEmpty()) keys << a->shortcut().toString();
  EXPECT_TRUE(keys.contains("Ctrl+N"));
  const auto all = keys.size();
  keys.removeDuplicates();
  EXPECT_EQ(keys.size(), all) << keys.join(" ").toStdString();
}

}  // namespace novastra::gui::test
