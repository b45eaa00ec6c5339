// The ephemeris run: one pass per day, six tables filled row by row, optional
// saved data files, and one table shown at the end.
#include <atomic>
#include <filesystem>
#include <optional>

#include "app/calendar_choices.h"
#include "app/ephemeris_run.h"
#include "app/input_check.h"
#include "app/run_context.h"
#include "app/safe_write.h"
#include "app/text_file.h"
#include "astro/calendar.h"
#include "astro/engine.h"
#include "reports/ephemeris_report.h"
#include "text/ephemeris_tables.h"
#include "text/zodiac_text.h"

namespace novastra {

namespace {

constexpr int kTables = 6;

// File suffixes by table, before the zodiac letter and the coordinates letter.
constexpr const char* kTableCodes[kTables] = {"LO", "LA", "RA", "DE", "LO", "LA"};

// The six saved data files. Lines are collected in memory as the run goes and
// the six are written at its end as one set (app/safe_write.h), so a failed
// write never leaves a partial file or a mixed set under the final names.
class SavedFiles {
 public:
  SavedFiles(const RunContext& app, bool enabled) : enabled_(enabled) {
    if (!enabled_) return;
    std::string stamp = FormatMmddyy(app.cal.StartDateText);
    for (int t = 0; t < kTables; ++t) {
      std::string name =
          stamp + kTableCodes[t] + "." + SavedFileExtension(app.params.ZodiacMode, t >= 4);
      paths_[t] = app.File(name);
    }
  }

  void WriteLine(ColumnSet set, const std::string& line) {
    if (!enabled_) return;
    std::string& text = text_[static_cast<int>(set)];
    text += line;
    text += "\r\n";
  }

  // Writes the six files as one set: all six are written aside before any
  // replaces its old file, so a failure leaves the old set whole. On failure
  // shows the message.
  bool Commit(UserInterface& ui) {
    if (!enabled_) return true;
    std::vector<std::pair<std::filesystem::path, std::string>> files;
    files.reserve(kTables);
    for (int t = 0; t < kTables; ++t) files.emplace_back(paths_[t], std::move(text_[t]));
    const SetWriteResult result = WriteFilesAsSet(files);
    if (!result.ok()) {
      ReportSetWriteFailure(ui, result, kTables);
      return false;
    }
    return true;
  }

 private:
  bool enabled_;
  std::filesystem::path paths_[kTables];
  std::string text_[kTables];
};

}  // namespace

ColumnSet ChosenColumnSet(const RunParameters& p) {
  if (p.Coords == Coordinates::Heliocentric) {
    bool longitudeLike =
        p.Output == DataOutput::Longitude || p.Output == DataOutput::RightAscension;
    return longitudeLike ? ColumnSet::HelioLongitude : ColumnSet::HelioLatitude;
  }
  switch (p.Output) {
    case DataOutput::Latitude: return ColumnSet::Latitude;
    case DataOutput::RightAscension: return ColumnSet::RightAscension;
    case DataOutput::Declination: return ColumnSet::Declination;
    case DataOutput::Longitude: break;
  }
  return ColumnSet::Longitude;
}

RunOutcome RunEphemeris(RunContext& app) {
  if (!CheckRunInput(app.params, app.ui)) return RunOutcome::InputRefused;
  // Rows at the zone's own midnight or noon when asked for.
  std::optional<CalendarChoices> calendar;
  if (app.params.LocalRows) {
    calendar = CalendarChoicesOf(app, app.ui);
    if (!calendar) return RunOutcome::InputRefused;
  }
  const bool local = calendar && !calendar->zone.IsUniversal();
  app.cancelRequested.store(false);
  app.buffer.ResetViewCount();
  app.ui.SetBusy(true);

  RunParameters& params = app.params;
  CalendarState& cal = app.cal;
  PrepareRunStart(params, cal);

  int16_t lastIndex = static_cast<int16_t>(params.NumberOfDays - 1);
  if (lastIndex > kMaxDays) lastIndex = kMaxDays;
  if (params.FullMonth) {
    lastIndex = 31;
    params.NumberOfDays = 31;
  }
  SetDayFraction(cal);

  EphemerisRequest request;
  request.tables = &app.series;
  request.engine = EngineChoices{params.ZodiacMode, params.MoonNodes, false, params.SkyChoice};
  request.ayanamsa = app.options.Ayanamsa(params.ZodiacMode, params.SiderealAyanamsa);
  request.startJD = cal.StartJD;
  request.dayFraction = cal.DayFraction;
  if (local) request.localZone = &calendar->zone;
  // A full month ends before the first day of the next month.
  request.dayCount = params.FullMonth ? FullMonthDays(cal.StartJD) : lastIndex + 1;
  // The user's Cancel reaches the report through the interface, polled after each step.
  ReportControl control;
  control.progress = [&](int pass) {
    if (lastIndex > 0) app.ui.UpdateProgress(pass, lastIndex);
    if (app.ui.RunCancelled()) app.RequestCancel();
  };
  control.cancel = &app.cancelRequested;

  app.ui.OpenProgress();
  const EphemerisReport report = BuildEphemeris(request, control);
  if (report.cancelled || app.ui.RunCancelled()) {
    // Stopped by the user: no file is written and nothing is shown.
    app.ui.CloseProgress();
    app.ui.SetBusy(false);
    return RunOutcome::Cancelled;
  }
  // The pass that finds the next month's first day is counted as well.
  if (params.FullMonth && request.dayCount <= lastIndex)
    app.ui.UpdateProgress(request.dayCount, lastIndex);
  cal.RowJD = cal.StartJD + (params.FullMonth ? request.dayCount : lastIndex);
  cal.RowDateText = DateTextFromJulianDay(cal.RowJD);

  HeaderInfo info{ZodiacLabel(params.ZodiacMode), cal.StartDateText, cal.InstantLabel,
                  cal.DisplayJD};
  if (local && !report.days.empty()) {
    info.place = calendar->zone.Name();
    info.displayJD = report.days.front().jd;
  }
  const bool raHours = app.options[11] != 0;
  SavedFiles files(app, params.SaveData);
  for (int t = 0; t < kTables; ++t) {
    const auto set = static_cast<ColumnSet>(t);
    PageLines& page = app.ephemeris.tables[t];
    page.lines = EphemerisTableLines(set, report, info, raHours, true, app.CarrySixty);
    page.nextFree = static_cast<int16_t>(page.lines.size());
    page.lines.emplace_back();  // spare entry at nextFree
    // Saved files get the header as built: line 1 without the SVP text.
    if (params.SaveData)
      for (const std::string& line :
           EphemerisTableLines(set, report, info, raHours, false, app.CarrySixty))
        files.WriteLine(set, line);
    files.WriteLine(set, "");
  }
  const bool saved = files.Commit(app.ui);
  app.ui.CloseProgress();
  app.ephemeris.hasRun = true;
  app.ephemeris.request = request;
  app.ephemeris.localZone.reset();
  if (local) app.ephemeris.localZone = calendar->zone;
  app.ephemeris.request.localZone = nullptr;
  app.ephemeris.header = info;
  // The tables are complete even when the files failed: show them anyway.
  ShowColumnSet(app, ChosenColumnSet(params));
  app.ui.SetBusy(false);
  return saved ? RunOutcome::Done : RunOutcome::SaveFailed;
}

std::optional<SeriesError> EnsureMinorTables(const std::filesystem::path& supplied,
                                             std::optional<MinorTables>& minor) {
  if (minor) return std::nullopt;
  MinorTables tables;
  if (auto error = LoadMinorTables(supplied, tables)) return error;
  minor = std::move(tables);
  return std::nullopt;
}

void ShowMinorBodies(RunContext& app) {
  if (!app.ephemeris.hasRun) return;
  if (const auto error = EnsureMinorTables(app.supplied, app.minor)) {
    app.ui.ShowMessage(MessageIcon::Exclamation, kWarningTitle, error->Message());
    return;
  }
  app.ui.SetBusy(true);
  EphemerisRequest request = app.ephemeris.request;
  if (app.ephemeris.localZone) request.localZone = &*app.ephemeris.localZone;
  request.minor = &*app.minor;
  // The bodies the Input window chose, or all seven.
  request.minorChoice =
      AnyMinor(app.params.MinorBodies) ? app.params.MinorBodies : kAllMinorBodies;
  const EphemerisReport report = BuildEphemeris(request);
  app.buffer.ClearView();
  if (report.days.empty() || report.days.front().minor.empty()) {
    app.buffer.AppendLine(kMinorRangeMessage);
  } else {
    for (const std::string& line : MinorTableLines(report, app.ephemeris.header, app.CarrySixty))
      app.buffer.AppendLine(line);
    app.buffer.AppendLine("");
  }
  app.buffer.ShowDataBuffer();
  app.ui.SetBusy(false);
}

void ShowColumnSet(RunContext& app, ColumnSet set) {
  const PageLines& page = app.ephemeris.tables[static_cast<int>(set)];
  app.buffer.ClearView();
  for (int i = 0; i <= page.nextFree && i < static_cast<int>(page.lines.size()); ++i)
    app.buffer.AppendLine(page.lines[i]);
  app.buffer.ShowDataBuffer();
}

}  // namespace novastra
