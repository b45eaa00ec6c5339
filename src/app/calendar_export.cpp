#include "app/calendar_export.h"

#include <optional>

#include "app/application.h"
#include "app/text_file.h"
#include "app/ui.h"
#include "astro/calendar.h"
#include "reports/aspectarian_report.h"
#include "reports/stations.h"

namespace novastra {

namespace {

constexpr double kUnixEpochJD = 2440587.5;

// The run's date of an instant: the zone's date, or the UT day.
double RunDay(const AspectarianState& s, double jd) { return s.calendar.zone.At(jd).dayJD; }

bool OnRunDates(const AspectarianState& s, double jd) {
  const double day = RunDay(s, jd);
  return day >= s.firstDayJD && day < s.firstDayJD + s.dayCount;
}

// The minor bodies the filter chooses that the run holds no events of.
MinorChoice MissingMinor(const AspectarianState& s, const CalendarFilter& filter) {
  MinorChoice missing{};
  if (s.coords != Coordinates::Geocentric) return missing;
  for (size_t b = 0; b < missing.size(); ++b) missing[b] = filter.minor[b] && !s.request.minor[b];
  return missing;
}

}  // namespace

bool CanExportCalendar(const Application& app) {
  return app.aspectarian().hasRun && app.aspectarian().dayCount > 0;
}

std::string LastRunCalendar(const Application& app, const CalendarFilter& filter, double stampJD) {
  const AspectarianState& s = app.aspectarian();
  IcalOptions o;
  o.zone = s.calendar.zone;
  o.coords = s.coords;
  o.stampJD = stampJD;
  o.name = "NOVASTRA aspectarian";
  std::string out = IcalBegin(o, s.firstDayJD - 1, s.firstDayJD + s.dayCount + 3);
  // The run again with the chosen minor bodies it lacked: their events come
  // after the planets' of their minute, so the planets' lines are the run's.
  const MinorChoice missing = MissingMinor(s, filter);
  std::optional<AspectarianReport> wider;
  if (AnyMinor(missing) && app.minor()) {
    AspectarianRequest request = s.request;
    request.minorTables = app.minor();
    for (size_t b = 0; b < missing.size(); ++b) request.minor[b] = request.minor[b] || missing[b];
    wider = BuildAspectarian(request, ReportControl{});
  }
  const AspectarianReport& report = wider ? *wider : s.report;
  const std::vector<EclipseEntry> eclipses = EclipsesOfLunations(report.events, app.series());
  // Stations at their stopping minute, as the stations list gives them (the
  // minor bodies' from their own series).
  std::vector<Event> events = report.events;
  RefineStationEvents(SampleContextOf(app), events, app.minor());
  for (const Event& e : events)
    if (OnRunDates(s, e.jd)) AppendIcalEvent(out, e, o, filter, EclipseOfLunation(e, eclipses));
  for (const VoidOfCourse& v : report.voids)
    if (OnRunDates(s, v.startJD)) AppendIcalVoid(out, v, o, filter);
  return out + IcalEnd();
}

CalendarExportResult ExportCalendar(Application& app, std::filesystem::path* written,
                                    std::time_t now) {
  UserInterface& ui = app.ui();
  if (!CanExportCalendar(app)) {
    ui.ShowMessage(MessageIcon::Exclamation, "Information", kNoCalendarRun);
    return CalendarExportResult::NoRun;
  }
  const AspectarianState& s = app.aspectarian();
  CalendarExportQuestion question;
  question.zoneName = s.calendar.zone.Name();
  for (const Event& e : s.report.events) question.eventCount += OnRunDates(s, e.jd) ? 1 : 0;
  for (const VoidOfCourse& v : s.report.voids)
    question.voidCount += OnRunDates(s, v.startJD) ? 1 : 0;
  // The run's minor bodies, and those chosen at the last export.
  question.minorBodies = s.coords == Coordinates::Geocentric;
  for (size_t b = 0; b < question.filter.minor.size(); ++b)
    question.filter.minor[b] =
        question.minorBodies && (s.request.minor[b] || app.settings().CalendarMinorBodies[b]);
  CalendarFilter filter = question.filter;
  if (!ui.AskCalendarChoices(question, filter)) return CalendarExportResult::Cancelled;
  if (question.minorBodies) app.SetCalendarMinorBodies(filter.minor);
  // Without MINOR.DAT the file holds the run's events only, and says so.
  if (AnyMinor(MissingMinor(s, filter)))
    if (const auto error = app.LoadMinorBodies())
      ui.ShowMessage(MessageIcon::Exclamation, kWarningTitle, error->Message());

  CalendarSaveQuestion save;
  save.folder = app.folder();
  save.fileName = FormatMmddyyyy(DateTextFromJulianDay(s.firstDayJD)) + ".ics";
  std::filesystem::path file;
  if (!ui.AskCalendarFileName(save, file) || file.empty()) return CalendarExportResult::Cancelled;

  ui.SetBusy(true);
  const std::string text =
      LastRunCalendar(app, filter, kUnixEpochJD + static_cast<double>(now) / 86400.0);
  const bool ok = WriteFileOrReport(ui, file, text);
  ui.SetBusy(false);
  if (!ok) return CalendarExportResult::Failed;
  if (written) *written = file;
  return CalendarExportResult::Written;
}

}  // namespace novastra
