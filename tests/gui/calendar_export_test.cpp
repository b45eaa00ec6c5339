// File > Export calendar... in the Data Window: offered after an aspectarian
// run, its dialog's choices reach the file, the save dialog names it.
#include "gui/calendar_export_dialog.h"
#include "gui/data_window.h"
#include "gui_support.h"

namespace novastra::gui::test {
namespace {

TEST_F(January2009, ExportCalendarFollowsAnAspectarianRun) {
  // After an ephemeris run there is nothing to export.
  ASSERT_NE(d->mnuFileExportCalendar, nullptr);
  EXPECT_EQ(d->mnuFileExportCalendar->text(), "Export &calendar...");
  EXPECT_FALSE(d->mnuFileExportCalendar->isEnabled());

  ASSERT_NE(d = RunMonth("1", "1", "2009", false), nullptr);
  EXPECT_TRUE(d->mnuFileExportCalendar->isEnabled());

  // The dialog: every box ticked, the zone shown; the test keeps only the
  // ingresses of the Sun and the Moon.
  QString zoneText;
  bool okEnabledWithNothing = true;
  dialogAnswer = [&](QDialog& shown) {
    auto& dialog = dynamic_cast<CalendarExportDialog&>(shown);
    zoneText = dialog.zoneLabel->text();
    for (QCheckBox* box : dialog.kindBoxes) {
      EXPECT_TRUE(box->isChecked());
      box->setChecked(false);
    }
    okEnabledWithNothing = dialog.buttons->button(QDialogButtonBox::Ok)->isEnabled();
    dialog.findChild<QCheckBox*>("chkKind_ingresses")->setChecked(true);
    for (int b = 3; b <= 11; ++b) dialog.bodyBoxes[static_cast<size_t>(b)]->setChecked(false);
    return true;
  };
  saveAnswer = QString::fromStdString((folder / "jan.ics").string());
  d->mnuFileExportCalendar->trigger();
  dialogAnswer = nullptr;

  EXPECT_TRUE(zoneText.startsWith("Times in Universal Time")) << zoneText.toStdString();
  EXPECT_FALSE(okEnabledWithNothing);
  EXPECT_EQ(dialog.name, "01012009.ics");
  EXPECT_EQ(dialog.filter, "Calendar Files (*.ics)");
  const std::string text = ReadAll(folder / "jan.ics");
  ASSERT_FALSE(text.empty());
  EXPECT_TRUE(messages.empty());
  // January 2009: the Sun enters Aquarius on the 19th, the Moon changes sign
  // about every two and a half days.
  const auto count = [&](const std::string& what) {
    int n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
  };
  EXPECT_EQ(count("SUMMARY:Sun enters Aquarius"), 1);
  EXPECT_GE(count("SUMMARY:Moon enters "), 12);
  EXPECT_EQ(count("BEGIN:VEVENT"), count("SUMMARY:Sun enters ") + count("SUMMARY:Moon enters "));
  EXPECT_TRUE(d->statusBar()->currentMessage().startsWith("Calendar saved to "))
      << d->statusBar()->currentMessage().toStdString();
}

TEST_F(GuiTest, ExportCalendarDialogShowsTheZoneOfTheRun) {
  CalendarExportQuestion q;
  q.zoneName = "America/New_York";
  q.eventCount = 12;
  q.voidCount = 3;
  q.filter.kinds[static_cast<size_t>(CalendarKind::Parallels)] = false;
  CalendarExportDialog dialog(q);
  EXPECT_EQ(dialog.zoneLabel->text(),
            "Times in America/New_York - 12 events, 3 void-of-course periods");
  EXPECT_FALSE(dialog.findChild<QCheckBox*>("chkKind_parallels")->isChecked());
  dialog.findChild<QCheckBox*>("chkBody_node")->setChecked(false);
  const CalendarFilter f = dialog.Choices();
  EXPECT_FALSE(f.Has(CalendarKind::Parallels));
  EXPECT_TRUE(f.Has(CalendarKind::Void));
  EXPECT_FALSE(f.bodies[11]);
  EXPECT_TRUE(f.bodies[2]);
  // No body chosen: the file would be empty, so Save is not offered; one
  // planet or one minor body is enough.
  for (int b = 1; b <= 11; ++b) dialog.bodyBoxes[static_cast<size_t>(b)]->setChecked(false);
  for (QCheckBox* box : dialog.minorBoxes) box->setChecked(false);
  EXPECT_FALSE(dialog.buttons->button(QDialogButtonBox::Ok)->isEnabled());
  for (QCheckBox* box : {dialog.minorBoxes[1], dialog.bodyBoxes[2]}) {
    box->setChecked(true);
    EXPECT_TRUE(dialog.buttons->button(QDialogButtonBox::Ok)->isEnabled());
    box->setChecked(false);
  }
  dialog.bodyBoxes[2]->setChecked(true);
  dialog.show();
  Screenshot(&dialog, "calendar-export-dialog");
}

}  // namespace
}  // namespace novastra::gui::test
