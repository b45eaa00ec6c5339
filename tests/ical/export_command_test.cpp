// "Export calendar..." driven through the headless interface: the dialogs'
// questions and answers, the file written whole or not at all.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "app/application.h"
#include "app/calendar_export.h"
#include "ical_support.h"
#include "support/support.h"

namespace fs = std::filesystem;

namespace novastra {
namespace {

using testing_support::TempFolder;

class ExportCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    testing_support::CopySuppliedFiles(home.path());
    app = std::make_unique<Application>(ui, home.path());
    ASSERT_TRUE(app->LoadFiles());
    RunParameters p;
    p.FullMonth = true;
    p.StartMonth = "3", p.StartDay = "1", p.StartYear = "2009";
    p.TimeZoneName = "America/New_York";
    app->SetParams(p);
  }
  std::string Zone() const {
    for (const auto& e : ui.events)
      if (e.kind == HeadlessUi::Event::CalendarChoices) return e.text;
    return "(not asked)";
  }

  TempFolder home;
  HeadlessUi ui;
  std::unique_ptr<Application> app;
};

// March 2009 in New York, lunations and void periods only: the dialog shows
// the run's zone and counts, the save dialog proposes 03012009.ics in the
// application folder, and the file holds exactly those events on March's
// local dates, in the zone.
TEST_F(ExportCommand, WritesTheChosenEventsOfTheLastRun) {
  ASSERT_EQ(app->CalculateAspectarian(), RunOutcome::Done);
  ASSERT_TRUE(CanExportCalendar(*app));
  ui.calendarChoices = [](CalendarFilter& f) {
    std::string why;
    ASSERT_TRUE(ParseCalendarKinds("lunations,void", f, why));
  };
  ui.calendarFile = home / "march.ics";
  fs::path written;
  ASSERT_EQ(ExportCalendar(*app, &written, 1767225600), CalendarExportResult::Written);
  EXPECT_EQ(written, home / "march.ics");
  EXPECT_EQ(Zone(), "America/New_York");
  const auto file = std::find_if(ui.events.begin(), ui.events.end(), [](const auto& e) {
    return e.kind == HeadlessUi::Event::CalendarFile;
  });
  ASSERT_NE(file, ui.events.end());
  EXPECT_EQ(file->text, "03012009.ics");
  EXPECT_EQ(file->title, home.path().string());

  const ical_test::Parsed p = ical_test::Parse(home.Read("march.ics"));
  ASSERT_TRUE(p.ok) << p.error;
  int lunations = 0, voids = 0;
  // 1 March 00:00 EST to 1 April 00:00 EDT.
  const long long from = 1235883600, to = 1238558400;
  for (const auto& ev : p.events) {
    EXPECT_TRUE(ev.category == "Lunation" || ev.category == "Void of course") << ev.summary;
    lunations += ev.category == "Lunation";
    voids += ev.category == "Void of course";
    EXPECT_TRUE(ev.zoned) << ev.startText;
    EXPECT_GE(ev.start, from);
    EXPECT_LT(ev.start, to);
  }
  // March 2009: first quarter 4th, full 11th, last quarter 18th, new 26th.
  EXPECT_EQ(lunations, 4);
  EXPECT_GE(voids, 12);
  // The dialog's counts are those of the run's dates.
  for (const auto& e : ui.events)
    if (e.kind == HeadlessUi::Event::CalendarChoices) {
      EXPECT_EQ(e.total, voids);
    }
  EXPECT_TRUE(ui.Messages().empty());
}

// Nothing is written and nothing asked when there is no run; a cancelled
// dialog writes nothing; a file that cannot be written is reported and the
// folder keeps no partial file.
TEST_F(ExportCommand, NoRunCancelAndFailureWriteNothing) {
  EXPECT_FALSE(CanExportCalendar(*app));
  EXPECT_EQ(ExportCalendar(*app), CalendarExportResult::NoRun);
  EXPECT_EQ(ui.CountMessages(kNoCalendarRun), 1);
  EXPECT_EQ(Zone(), "(not asked)");

  ASSERT_EQ(app->CalculateAspectarian(), RunOutcome::Done);
  const int before = home.Entries();
  ui.calendarFile = home / "x.ics";
  EXPECT_EQ(ExportCalendar(*app), CalendarExportResult::Cancelled);  // choices cancelled
  ui.calendarChoices = [](CalendarFilter&) {};
  ui.calendarFile.clear();
  EXPECT_EQ(ExportCalendar(*app), CalendarExportResult::Cancelled);  // file dialog cancelled
  EXPECT_EQ(home.Entries(), before);

  // A folder where the file should be: refused with a message.
  fs::create_directory(home / "taken.ics");
  ui.calendarFile = home / "taken.ics";
  ui.events.clear();
  EXPECT_EQ(ExportCalendar(*app), CalendarExportResult::Failed);
  EXPECT_EQ(ui.Messages().size(), 1u);
  EXPECT_TRUE(fs::is_directory(home / "taken.ics"));
  EXPECT_EQ(home.Entries(), before + 1);
  // An existing calendar is replaced whole.
  home.Write("old.ics", "old");
  ui.calendarFile = home / "old.ics";
  EXPECT_EQ(ExportCalendar(*app), CalendarExportResult::Written);
  EXPECT_TRUE(ical_test::Parse(home.Read("old.ics")).ok);
}

}  // namespace
}  // namespace novastra
