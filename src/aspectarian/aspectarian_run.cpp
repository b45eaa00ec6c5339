// The aspectarian run: hourly samples of every body, the day's events sorted by
// time, the header, the optional saved file and the one- or two-column view.
#include <algorithm>
#include <system_error>
#include <thread>

#include "aspectarian/aspectarian.h"
#include "aspectarian/sampling.h"
#include "aspectarian/events.h"
#include "astro/calendar.h"
#include "astro/engine.h"
#include "ephemeris/pages.h"
#include "input/input_check.h"
#include "shell/text_file.h"
#include "output/text_format.h"
#include "shell/application.h"

namespace novastra {

namespace {

double HourT(double rowJD, int hour) { return (rowJD + hour / 24.0 - 0.5 - 2451545) / 36525; }

}  // namespace

SampleContext SampleContextOf(const Application& app) {
  SampleContext ctx;
  ctx.tables = &app.series;
  ctx.choices.zodiac = app.params.ZodiacMode;
  ctx.choices.node = app.params.MoonNodes;
  ctx.ayanamsa = app.options.Ayanamsa();
  ctx.coords = app.params.Coords;
  return ctx;
}

InstantSetup SampleDay(const SampleContext& ctx, double rowJD, HourSamples& samples) {
  const bool helio = ctx.coords == Coordinates::Heliocentric;
  InstantSetup last;
  for (int h = 0; h < kSamplesPerDay; ++h) {
    last = PrepareInstantAt(HourT(rowJD, h), rowJD, ctx.ayanamsa);
    const BodyPositions pos = ComputePositions(last, *ctx.tables, ctx.choices);
    samples.first[0][h] = h;
    samples.second[0][h] = h;
    for (int b = 1; b <= 11; ++b) {
      samples.first[b][h] = helio ? pos.HelioLongitude[b] : pos.Longitude[b];
      samples.second[b][h] = helio ? pos.HelioLatitude[b] : pos.Declination[b];
    }
  }
  return last;
}

InitialDirections DirectionsAt(const SampleContext& ctx, double rowJD) {
  const double t = HourT(rowJD, 0);
  const BodyPositions before =
      ComputePositions(PrepareInstantAt(t - (1.0 / 24) / 36525, rowJD, ctx.ayanamsa), *ctx.tables, ctx.choices);
  const BodyPositions now = ComputePositions(PrepareInstantAt(t, rowJD, ctx.ayanamsa), *ctx.tables, ctx.choices);
  InitialDirections dirs;
  for (int b = 1; b <= 11; ++b) {
    const double d = now.Longitude[b] - before.Longitude[b];
    dirs.flag[b] = ((d > -1 && d < 0) || d > 358) ? 0 : 1;
  }
  return dirs;
}

void SampleDays(const SampleContext& ctx, double firstJD, int count, std::vector<HourSamples>& samples,
                std::vector<InstantSetup>& last) {
  // The engine is reentrant: days are independent, so a few threads share them.
  const unsigned hw = std::thread::hardware_concurrency();
  const int threads = std::min(count, std::clamp(static_cast<int>(hw), 1, 4));
  auto work = [&](int from) {
    for (int k = from; k < count; k += threads) last[k] = SampleDay(ctx, firstJD + k, samples[k]);
  };
  std::vector<std::thread> pool;
  try {
    for (int t = 1; t < threads; ++t) pool.emplace_back(work, t);
  } catch (const std::system_error&) {
    // No thread to spare: the days left over are sampled here.
    for (auto& th : pool) th.join();
    for (int k = 0; k < count; ++k) last[k] = SampleDay(ctx, firstJD + k, samples[k]);
    return;
  }
  work(0);
  for (auto& th : pool) th.join();
}

std::string AspectarianFileName(const std::string& startRowDate, Zodiac zodiac, Coordinates coords) {
  return FormatMmddyy(startRowDate) + "AS." +
         SavedFileExtension(zodiac, coords == Coordinates::Heliocentric);
}

bool RunAspectarian(Application& app) {
  RunParameters& params = app.params;
  CalendarState& cal = app.cal;
  AspectarianState& state = app.aspectarian;
  UserInterface& ui = app.ui;

  if (!CheckRunInput(params, ui)) return false;
  app.buffer.ResetViewCount();
  ui.SetBusy(true);

  const std::string zodiacLabel = ZodiacLabel(params.ZodiacMode);
  PrepareRunStart(params, cal);
  const bool helio = params.Coords == Coordinates::Heliocentric;

  std::vector<std::string> lines;
  lines.emplace_back();
  lines.push_back("  " + zodiacLabel + "Aspectarian - " + FormatWeekdayName(cal.StartDateText) + ", " +
                  FormatDdMmmYyyy(cal.StartDateText) + " at " + cal.InstantLabel + ", Greenwich");
  lines.push_back(std::string(11, ' ') + (helio ? "heliocentric  Julian Day = " : "geocentric    Julian Day = ") +
                  FmtJulianDay(cal.DisplayJD));
  lines.emplace_back();
  lines.push_back("  Day      h  m");
  lines.push_back("  -------------");

  int lastIndex = params.NumberOfDays - 1;
  if (lastIndex > kMaxDays) lastIndex = kMaxDays;
  if (lastIndex < 0) lastIndex = 0;
  if (params.FullMonth) lastIndex = 30;
  cal.DayFraction = 0;
  state.stations.clear();

  const SampleContext ctx = SampleContextOf(app);
  EventChoices choices;
  choices.coords = params.Coords;
  choices.moonChangeOnly = params.MoonChangeOnly;
  choices.moonSign = params.MoonSign;
  choices.option12 = app.options[12];
  choices.carry = app.CarrySixty;
  InitialDirections directions;
  for (auto& f : directions.flag) f = 1;

  // The days of the run; a full month stops before the next month's day 1.
  int dayCount = 0;
  for (int d = 0; d <= lastIndex; ++d, ++dayCount) {
    cal.RowJD = cal.StartJD + d;
    cal.RowDateText = DateTextFromJulianDay(cal.RowJD);
    if (params.FullMonth && d >= 28 && ParseDateText(cal.RowDateText).day == 1) break;
  }
  const double endJD = cal.RowJD;
  const std::string endDateText = cal.RowDateText;

  ui.OpenProgress();
  if (!helio) directions = DirectionsAt(ctx, cal.StartJD);
  {
    const InstantSetup first = PrepareInstantAt(HourT(cal.StartJD, 0), cal.StartJD, ctx.ayanamsa);
    lines[1] += BuildSvpText(first.Svp, first.Ayanamsa, app.CarrySixty);
  }
  std::vector<HourSamples> samples(std::min(dayCount, kSampleBatch));
  std::vector<InstantSetup> last(samples.size());
  std::vector<std::string> carried;
  for (int batch = 0; batch < dayCount && !ui.RunCancelled(); batch += kSampleBatch) {
    const int count = std::min(kSampleBatch, dayCount - batch);
    SampleDays(ctx, cal.StartJD + batch, count, samples, last);
    for (int k = 0; k < count; ++k) {
      const int d = batch + k;
      if (lastIndex > 0) ui.UpdateProgress(d, lastIndex);
      cal.RowJD = cal.StartJD + d;
      cal.RowDateText = DateTextFromJulianDay(cal.RowJD);
      DayEvents day = FindDayEvents(samples[k], cal.RowDateText, choices, directions);
      for (const FoundStation& s : day.stations) {
        StationRow row;
        row.text = "  " + cal.RowDateText + Fmt00(s.hour) + ":00  " + static_cast<char>(BodyGlyph(s.body, params.Coords));
        row.timeT = last[k].TimeT;
        row.obliquityRad = last[k].ObliquityRad;
        row.body = s.body;
        row.glyph = s.glyph;
        row.rowJD = cal.RowJD;
        row.hour = s.hour;
        state.stations.push_back(std::move(row));
      }
      // Events of the previous day that rounded to 24:00 open this day's list.
      day.lines.insert(day.lines.begin(), carried.begin(), carried.end());
      carried = std::move(day.nextDay);
      SortDayEvents(day.lines);
      AppendDay(lines, day.lines);
    }
  }
  // After the last day: its 24:00 events make one more dated list.
  if (!carried.empty() && !ui.RunCancelled()) {
    SortDayEvents(carried);
    AppendDay(lines, carried);
  }
  // Left where the day loop ended (More Forward and Backward start from it).
  cal.RowJD = endJD;
  cal.RowDateText = endDateText;
  ui.CloseProgress();
  if (ui.RunCancelled()) {
    // Stopped by the user: nothing is kept, saved or shown.
    ui.SetBusy(false);
    return false;
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
    const std::string reason = WriteFileSafely(app.File(name), std::string_view(bytes));
    if (!reason.empty()) {
      ok = false;
      ReportWriteFailure(ui, app.File(name), reason);
    }
  }

  app.buffer.ClearView();
  const std::vector<std::string> shown = app.options[5] == 0 ? lines : TwoColumnLines(lines);
  for (const std::string& line : shown) app.buffer.AppendLine(line);
  app.buffer.ShowDataBuffer();
  ui.SetBusy(false);
  return ok;
}

}  // namespace novastra
