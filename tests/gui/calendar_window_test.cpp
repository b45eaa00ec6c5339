// The Input window's calendar choices: a zone picked from the searchable list
// and the void-of-course lines show in the aspectarian and are remembered.
#include <QComboBox>
#include <QCompleter>
#include <QLineEdit>

#include "gui_support.h"

namespace novastra::gui::test {

TEST_F(GuiTest, ZoneAndVoidOfCourseShowInTheAspectarianAndAreRemembered) {
  AppController& c = Start();
  InputWindow* in = c.inputWindow();
  auto* zone = in->findChild<QComboBox*>("cboTimeZone");
  auto* voids = in->findChild<QCheckBox*>("chkVoidOfCourse");
  ASSERT_NE(zone, nullptr);
  ASSERT_NE(voids, nullptr);
  EXPECT_EQ(zone->currentText(), "UT");
  EXPECT_FALSE(voids->isChecked());
  EXPECT_GT(zone->findText("America/New_York"), 0);

  // Typing part of a name offers the matching zones.
  zone->completer()->setCompletionPrefix("new_y");
  EXPECT_GE(zone->completer()->completionCount(), 1);

  // A name not in the database is put back when editing ends.
  zone->lineEdit()->setText("Nowhere/At_All");
  emit zone->lineEdit()->editingFinished();
  EXPECT_EQ(zone->currentText(), "UT");
  EXPECT_EQ(c.app()->params().TimeZoneName, "UT");

  zone->setCurrentText("America/New_York");
  voids->setChecked(true);
  ASSERT_NE(RunMonth("3", "1", "2009", false), nullptr);
  const QString text = DataText();
  EXPECT_TRUE(text.contains("Times in America/New_York")) << text.left(600).toStdString();
  EXPECT_TRUE(text.contains("Moon void of course until"));

  c.mainWindow()->close();
  const std::string ini = ReadAll(folder / "NOVASTRA.INI");
  EXPECT_NE(ini.find("\r\nTimeZone=America/New_York\r\n"), std::string::npos) << ini;
  EXPECT_NE(ini.find("\r\nMoonVoidOfCourse=Yes\r\n"), std::string::npos) << ini;
  controller.reset();
  in = Start().inputWindow();
  EXPECT_EQ(in->findChild<QComboBox*>("cboTimeZone")->currentText(), "America/New_York");
  EXPECT_TRUE(in->findChild<QCheckBox*>("chkVoidOfCourse")->isChecked());
}

TEST_F(GuiTest, EphemerisRowsAtLocalMidnightAreAChoice) {
  AppController& c = Start();
  InputWindow* in = c.inputWindow();
  auto* rows = in->findChild<QCheckBox*>("chkLocalRows");
  ASSERT_NE(rows, nullptr);
  EXPECT_FALSE(rows->isChecked());
  in->findChild<QComboBox*>("cboTimeZone")->setCurrentText("Asia/Kolkata");
  // The zone alone leaves the ephemeris at 0h UT.
  ASSERT_NE(RunMonth("1", "1", "2009", true), nullptr);
  EXPECT_TRUE(DataText().contains("at midnight, Greenwich")) << DataText().left(400).toStdString();
  rows->setChecked(true);
  ASSERT_NE(RunMonth("1", "1", "2009", true), nullptr);
  const QString text = DataText();
  EXPECT_TRUE(text.contains("at midnight, Asia/Kolkata")) << text.left(400).toStdString();
  // Midnight of 1 Jan 2009 in Kolkata is 18:30 UT on 31 Dec (UT+5:30):
  // Julian Day 2454832.27083.
  EXPECT_TRUE(text.contains("Julian Day = 2454832.3")) << text.left(400).toStdString();

  c.mainWindow()->close();
  EXPECT_NE(ReadAll(folder / "NOVASTRA.INI").find("\r\nLocalTimeRows=Yes\r\n"), std::string::npos);
  controller.reset();
  EXPECT_TRUE(Start().inputWindow()->findChild<QCheckBox*>("chkLocalRows")->isChecked());
}

}  // namespace novastra::gui::test
