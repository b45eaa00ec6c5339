// The ephemeris run: one pass per day, six tables filled row by row, optional
// saved data files, and one table shown at the end.
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "astro/calendar.h"
#include "astro/engine.h"
#include "ephemeris/ephemeris.h"
#include "ephemeris/layouts.h"
#include "ephemeris/pages.h"
#include "input/input_check.h"
#include "shell/application.h"
#include "shell/text_file.h"

namespace novastra {

namespace {

constexpr int kTables = 6;

// File suffixes by table, before the zodiac letter and the coordinates letter.
constexpr const char* kTableCodes[kTables] = {"LO", "LA", "RA", "DE", "LO", "LA"};

// The six saved data files. Lines are collected in memory as the run goes and
// each file is written at its end through a temporary file beside it, so a
// failed write never leaves a partial file under a final name.
class SavedFiles {
 public:
  SavedFiles(const Application& app, bool enabled) : enabled_(enabled) {
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

  // Writes the six files; on failure shows the message and stops.
  bool Commit(UserInterface& ui) {
    if (!enabled_) return true;
    for (int t = 0; t < kTables; ++t) {
      const std::string reason = WriteFileSafely(paths_[t], text_[t]);
      if (!reason.empty()) {
        ReportWriteFailure(ui, paths_[t], reason);
        return false;
      }
    }
    return true;
  }

 private:
  bool enabled_;
  std::filesystem::path paths_[kTables];
  std::string text_[kTables];
};

// The six tables of one run and the run's row state.
struct RunTables {
  Application& app;
  SavedFiles& files;
  bool raHours;
  bool firstRow = true;

  PageLines& Table(ColumnSet set) { return app.ephemeris.tables[static_cast<int>(set)]; }

  void Append(ColumnSet set, const std::string& line) {
    PageLines& page = Table(set);
    page.lines[page.nextFree] = line;
    ++page.nextFree;
    page.lines.emplace_back();
    files.WriteLine(set, line);
  }

  void BuildHeader(std::initializer_list<ColumnSet> sets, const HeaderInfo& info) {
    for (ColumnSet set : sets) {
      PageLines& page = Table(set);
      auto header = BuildHeaderLines(set, info, raHours);
      page.lines.assign(header.begin(), header.end());
      page.lines.emplace_back();
      page.nextFree = 7;
    }
    // Saved files get the header as built: line 1 without the SVP text.
    for (int line = 0; line < 7; ++line)
      for (ColumnSet set : sets) files.WriteLine(set, Table(set).lines[line]);
  }

  void AppendRow(ColumnSet set, const RowInfo& row) {
    if (NeedsBlankLineBefore(row.rowDateText, firstRow)) Append(set, "");
    Append(set, BuildRow(set, row, raHours));
  }
};

void BuildGeocentricHeader(RunTables& t, const HeaderInfo& info) {
  t.BuildHeader({ColumnSet::Longitude, ColumnSet::Latitude, ColumnSet::RightAscension,
                 ColumnSet::Declination},
                info);
}

void BuildHeliocentricHeader(RunTables& t, const HeaderInfo& info) {
  t.BuildHeader({ColumnSet::HelioLongitude, ColumnSet::HelioLatitude}, info);
}

void AppendLongitudeRow(RunTables& t, const RowInfo& r) { t.AppendRow(ColumnSet::Longitude, r); }
void AppendLatitudeRow(RunTables& t, const RowInfo& r) { t.AppendRow(ColumnSet::Latitude, r); }
void AppendRightAscensionRow(RunTables& t, const RowInfo& r) {
  t.AppendRow(ColumnSet::RightAscension, r);
}
void AppendDeclinationRow(RunTables& t, const RowInfo& r) {
  t.AppendRow(ColumnSet::Declination, r);
}
void AppendHelioLongitudeRow(RunTables& t, const RowInfo& r) {
  t.AppendRow(ColumnSet::HelioLongitude, r);
}
void AppendHelioLatitudeRow(RunTables& t, const RowInfo& r) {
  t.AppendRow(ColumnSet::HelioLatitude, r);
}

ColumnSet ChosenColumnSet(const RunParameters& p) {
  if (p.Coords == Coordinates::Heliocentric) {
    bool longitudeLike = p.Output == DataOutput::Longitude || p.Output == DataOutput::RightAscension;
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

}  // namespace

bool RunEphemeris(Application& app) {
  if (!CheckRunInput(app.params, app.ui)) return false;
  app.buffer.ResetViewCount();
  app.ui.SetBusy(true);

  RunParameters& params = app.params;
  CalendarState& cal = app.cal;
  const std::string zodiacLabel = ZodiacLabel(params.ZodiacMode);
  PrepareRunStart(params, cal);

  SavedFiles files(app, params.SaveData);
  RunTables tables{app, files, app.options[11] != 0};
  const HeaderInfo info{zodiacLabel, cal.StartDateText, cal.InstantLabel, cal.DisplayJD};
  BuildGeocentricHeader(tables, info);
  BuildHeliocentricHeader(tables, info);

  int16_t lastIndex = static_cast<int16_t>(params.NumberOfDays - 1);
  if (lastIndex > kMaxDays) lastIndex = kMaxDays;
  if (params.FullMonth) {
    lastIndex = 31;
    params.NumberOfDays = 31;
  }

  SetDayFraction(cal);
  const double baseJD = cal.StartJD;
  cal.RowJD = cal.StartJD;

  app.ui.OpenProgress();
  tables.firstRow = true;
  const AyanamsaOption ayanamsa = app.options.Ayanamsa();
  const EngineChoices choices{params.ZodiacMode, params.MoonNodes};
  std::array<double, 16> previous{};

  for (int16_t pass = -1; pass <= lastIndex && !app.ui.RunCancelled(); ++pass) {
    SetDayFraction(cal);
    if (lastIndex > 0) app.ui.UpdateProgress(pass, lastIndex);
    cal.RowJD = pass + baseJD;
    cal.RowDateText = DateTextFromJulianDay(cal.RowJD);
    // A full month ends at the first day of the next month.
    if (params.FullMonth && pass > 27 && ParseDateText(cal.RowDateText).day == 1) break;

    const InstantSetup instant = PrepareInstant(cal.RowJD, cal.DayFraction, ayanamsa);
    const BodyPositions positions = ComputePositions(instant, app.series, choices);

    if (pass == 0) {
      const std::string svp = BuildSvpText(instant.Svp, instant.Ayanamsa, app.CarrySixty);
      for (PageLines& page : app.ephemeris.tables) page.lines[1] += svp;
    }
    if (pass >= 0) {
      const RowInfo row{cal.RowDateText, instant.SiderealSeconds, &positions, &previous, app.CarrySixty};
      AppendLongitudeRow(tables, row);
      AppendDeclinationRow(tables, row);
      AppendRightAscensionRow(tables, row);
      AppendLatitudeRow(tables, row);
      AppendHelioLongitudeRow(tables, row);
      AppendHelioLatitudeRow(tables, row);
      tables.firstRow = false;
    }
    for (int k = 1; k <= 11; ++k) previous[k] = positions.Longitude[k];
  }

  if (app.ui.RunCancelled()) {
    // Stopped by the user: no file is written and nothing is shown.
    app.ui.CloseProgress();
    app.ui.SetBusy(false);
    return false;
  }
  for (int t = 0; t < kTables; ++t) files.WriteLine(static_cast<ColumnSet>(t), "");
  const bool saved = files.Commit(app.ui);
  app.ui.CloseProgress();
  app.ephemeris.hasRun = true;
  // The tables are complete even when the files failed: show them anyway.
  ShowColumnSet(app, ChosenColumnSet(params));
  app.ui.SetBusy(false);
  return saved;
}

void ShowColumnSet(Application& app, ColumnSet set) {
  const PageLines& page = app.ephemeris.tables[static_cast<int>(set)];
  app.buffer.ClearView();
  for (int i = 0; i <= page.nextFree && i < static_cast<int>(page.lines.size()); ++i)
    app.buffer.AppendLine(page.lines[i]);
  app.buffer.ShowDataBuffer();
}

}  // namespace novastra
