// The aspectarian run: hourly samples of every body, the day's events sorted by
// time, the header, the optional saved file and the one- or two-column view.
#include "app/aspectarian_run.h"

#include <atomic>

#include "app/calendar_choices.h"
#include "app/ephemeris_run.h"
#include "app/input_check.h"
#include "app/run_context.h"
#include "app/text_file.h"
#include "astro/calendar.h"
#include "astro/zodiac.h"
#include "reports/aspectarian_report.h"
#include "text/aspectarian_text.h"
#include "text/zodiac_text.h"

namespace novastra {

SampleContext SampleContextOf(const SeriesTables& series, const RunParameters& params,
                              const RunOptions& options) {
  SampleContext ctx;
  ctx.tables = &series;
  ctx.choices.zodiac = params.ZodiacMode;
  ctx.choices.node = params.MoonNodes;
  ctx.choices.sky = params.SkyChoice;
  ctx.ayanamsa = options.Ayanamsa(params.ZodiacMode, params.SiderealAyanamsa);
  ctx.coords = params.Coords;
  return ctx;
}

SampleContext SampleContextOf(const RunContext& app) {
  return SampleContextOf(app.series, app.params, app.options);
}

std::string AspectarianFileName(const std::string& startRowDate, Zodiac zodiac,
                                Coordinates coords) {
  return FormatMmddyy(startRowDate) + "AS." +
         SavedFileExtension(zodiac, coords == Coordinates::Heliocentric);
}

RunOutcome RunAspectarian(RunContext& app) {
  RunParameters& params = app.params;
  CalendarState& cal = app.cal;
  AspectarianState& state = app.aspectarian;
  UserInterface& ui = app.ui;

  if (!CheckRunInput(params, ui)) return RunOutcome::InputRefused;
  const std::optional<CalendarChoices> calendar = CalendarChoicesOf(app, ui);
  if (!calendar) return RunOutcome::InputRefused;
  const bool local = !calendar->zone.IsUniversal();
  app.cancelRequested.store(false);
  app.buffer.ResetViewCount();
  ui.SetBusy(true);

  PrepareRunStart(params, cal);

  int lastIndex = params.NumberOfDays - 1;
  if (lastIndex > kMaxDays) lastIndex = kMaxDays;
  if (lastIndex < 0) lastIndex = 0;
  if (params.FullMonth) lastIndex = 30;
  cal.DayFraction = 0;
  state.stations.clear();

  // The days of the run; a full month stops before the next month's day 1.
  int dayCount = 0;
  for (int d = 0; d <= lastIndex; ++d, ++dayCount) {
    cal.RowJD = cal.StartJD + d;
    cal.RowDateText = DateTextFromJulianDay(cal.RowJD);
    if (params.FullMonth && d >= 28 && ParseDateText(cal.RowDateText).day == 1) break;
  }

  AspectarianRequest request;
  request.sky = SampleContextOf(app);
  request.choices.coords = params.Coords;
  request.choices.moonChangeOnly = params.MoonChangeOnly;
  request.choices.aspects = params.Aspects;
  request.choices.moonSign = params.MoonSign;
  request.choices.option12 = app.options[12];
  request.startJD = cal.StartJD;
  request.dayCount = dayCount;
  // The chosen minor bodies' events; without MINOR.DAT the run goes on without them.
  if (AnyMinor(params.MinorBodies) && params.Coords == Coordinates::Geocentric) {
    if (const auto error = EnsureMinorTables(app.supplied, app.minor)) {
      ui.ShowMessage(MessageIcon::Exclamation, kWarningTitle, error->Message());
    } else {
      request.minorTables = &*app.minor;
      request.minor = params.MinorBodies;
    }
  }
  if (local) {
    // The UT days either side hold the ends of the first and last local dates.
    request.startJD = cal.StartJD - 1;
    request.dayCount = dayCount + 2;
  }
  // The user's Cancel reaches the report through the interface, polled after each day.
  ReportControl control;
  control.progress = [&](int d) {
    if (lastIndex > 0) ui.UpdateProgress(d, lastIndex);
    if (ui.RunCancelled()) app.RequestCancel();
  };
  control.cancel = &app.cancelRequested;

  ui.OpenProgress();
  const AspectarianReport report = BuildAspectarian(request, control);
  ui.CloseProgress();
  if (report.cancelled || ui.RunCancelled()) {
    // Stopped by the user: nothing is kept, saved or shown.
    ui.SetBusy(false);
    return RunOutcome::Cancelled;
  }

  for (const Event& e : report.events) {
    if (e.kind != EventKind::Station) continue;
    const double day = local ? calendar->zone.At(e.jd).dayJD : e.dayJD;
    if (day >= cal.StartJD && day < cal.StartJD + dayCount) state.stations.push_back(e);
  }
  state.calendar = *calendar;
  state.report = report;
  state.request = request;
  state.firstDayJD = cal.StartJD;
  state.dayCount = dayCount;
  state.coords = params.Coords;
  const HeaderInfo info{ZodiacLabel(params.ZodiacMode), cal.StartDateText, cal.InstantLabel,
                        cal.DisplayJD};
  std::vector<std::string> lines;
  if (calendar->Plain()) {
    lines = AspectarianLines(report, info, params.Coords, app.CarrySixty);
  } else {
    AspectarianReport shown = report;
    if (local) {
      // The header's SVP and ayanamsa stay those of 0h UT of the first day.
      const InstantSetup first =
          PrepareInstantAt(HourT(cal.StartJD, 0), cal.StartJD, request.sky.ayanamsa);
      shown.svp = first.Svp;
      shown.ayanamsa = first.Ayanamsa;
    }
    lines = CalendarAspectarianLines(shown, info, params.Coords, *calendar, cal.StartJD, dayCount);
  }
  state.lines = lines;
  state.lines.emplace_back();  // spare entry at nextFree
  state.nextFree = static_cast<int16_t>(lines.size());
  state.hasRun = true;

  bool ok = true;
  if (params.SaveData) {
    const std::string name =
        AspectarianFileName(DateTextFromJulianDay(cal.StartJD), params.ZodiacMode, params.Coords);
    std::string bytes;
    for (const std::string& line : lines) bytes += line + "\r\n";
    ok = WriteFileOrReport(ui, app.File(name), bytes);
  }

  app.buffer.ClearView();
  const std::vector<std::string> shown = app.options[5] == 0 ? lines : TwoColumnLines(lines);
  for (const std::string& line : shown) app.buffer.AppendLine(line);
  app.buffer.ShowDataBuffer();
  ui.SetBusy(false);
  return ok ? RunOutcome::Done : RunOutcome::SaveFailed;
}

}  // namespace novastra
