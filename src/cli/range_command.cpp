// What every range command (ephemeris, aspectarian, stations) does around its
// own computation: the session, the plan, the output and the writer of its
// format (text in runs of at most 366 days, each as the Data Window shows it,
// CSV, JSON Lines or iCalendar), the progress bar, the saves of --save and
// the exit status.
#include "cli/range_command.h"

#include <algorithm>
#include <ctime>
#include <iostream>
#include <memory>
#include <optional>
#include <thread>

#include "app/ephemeris_run.h"
#include "app/input_check.h"
#include "app/run_calendar.h"
#include "astro/ayanamsas.h"
#include "astro/engine.h"
#include "astro/sky.h"
#include "novastra_version.h"
#include "text/date_input.h"
#include "text/export_formats.h"

namespace novastra::cli {

namespace {

// The JSON run line's parameters: the common ones, then the command's own.
JsonParameters JsonParametersOf(const RunPlan& s, const RangeCommand& command) {
  const RunParameters& p = s.params;
  JsonParameters out = {
      {"from", IsoDate(s.startJD)},
      {"to", IsoDate(s.startJD + s.dayCount - 1)},
      {"days", std::to_string(s.dayCount)},
      {"coordinates", p.Coords == Coordinates::Heliocentric ? "heliocentric" : "geocentric"},
      {"zodiac", ZodiacWord(p.ZodiacMode)},
      {"node", NodeWord(p.MoonNodes)},
      {"sky", SkyWord(p.SkyChoice)},
      {"time_scale", "UT"}};
  // Named only when chosen, after the zodiac it belongs to.
  if (p.ZodiacMode == Zodiac::Sidereal && p.SiderealAyanamsa != NamedAyanamsa::None)
    out.insert(out.begin() + 5, {"ayanamsa", NamedAyanamsaKey(p.SiderealAyanamsa)});
  if (command.parameters) command.parameters(s, out);
  return out;
}

TextLayout TextLayoutOf(const RunValues& v, const RunPlan& plan, const Session& s) {
  const RunParameters& p = plan.params;
  const Application& app = *s.app;
  TextLayout layout;
  layout.style = s.style;
  // Minutes and seconds that round to 60 move into the next unit unless --no-carry.
  layout.carry = !v.noCarry;
  layout.zodiac = p.ZodiacMode;
  layout.midnight = p.Instant == InstantChoice::Midnight;
  layout.columns = ChosenColumnSet(p);
  layout.raHours = app.options()[11] != 0;
  if (plan.localRows && !plan.zone.IsUniversal()) layout.localRows = &plan.zone;
  layout.coords = p.Coords;
  layout.calendar = CalendarChoicesOf(plan, app);
  layout.twoColumns = app.options()[5] != 0;
  return layout;
}

std::unique_ptr<RunWriter> MakeWriter(const RunValues& v, const RangeCommand& command,
                                      const RunPlan& plan, const Session& s,
                                      const CalendarFilter& filter, const GlobalOptions& global) {
  const Coordinates coords = plan.params.Coords;
  if (v.format == "csv") return MakeCsvWriter(command.rows, coords, &plan.zone, plan.minor);
  if (v.format == "json")
    return MakeJsonWriter(novastra::kVersion, command.name, JsonParametersOf(plan, command),
                          coords, &plan.zone);
  if (v.format == "ics") {
    IcalOptions o;
    o.zone = plan.zone;
    o.coords = coords;
    o.symbols = global.symbols != "ascii";
    o.stampJD = 2440587.5 + static_cast<double>(std::time(nullptr)) / 86400.0;
    o.name = command.calendarName;
    return MakeIcalWriter(o, filter, plan.startJD, plan.dayCount);
  }
  return MakeTextWriter(TextLayoutOf(v, plan, s));
}

// The filter from --kinds and the eleven bodies' words of --bodies, which
// belong to --format ics (not given: every kind or body), and the minor
// bodies --bodies adds (any format). Prints the reason and returns false for
// a filter without --format ics, an empty list or an unknown word.
bool CheckCalendarFilter(const RunValues& v, CalendarFilter& filter, MinorChoice& minor) {
  if (v.kindsGiven && v.format != "ics") {
    PrintError("--kinds goes with --format ics");
    return false;
  }
  std::string why;
  EventBodies bodies;
  if (v.bodiesGiven && !ParseEventBodies(v.bodies, bodies, why)) {
    PrintError("--bodies \"" + v.bodies + "\": " + why);
    return false;
  }
  if (bodies.planetsNamed && v.format != "ics") {
    PrintError("--bodies goes with --format ics for the eleven bodies (the minor bodies' words "
               "go with any format)");
    return false;
  }
  if (v.kindsGiven && !ParseCalendarKinds(v.kinds, filter, why)) {
    PrintError("--kinds \"" + v.kinds + "\": " + why);
    return false;
  }
  filter.bodies = bodies.filter.bodies;
  minor = bodies.minor;
  return true;
}

// Reads MINOR.DAT for the minor bodies of the plan; prints the reason and
// returns an exit status for a range they do not cover or a file that
// cannot be read, 0 when they can be computed (or none is chosen).
int PrepareMinorBodies(const RunPlan& plan, Session& s) {
  if (!AnyMinor(plan.minor)) return kDone;
  if (plan.startJD - 0.5 + plan.dayCount > kMinorValidToJD) {
    PrintError(std::string("--bodies: ") + kMinorRangeMessage);
    return kUsageError;
  }
  if (const auto err = s.app->LoadMinorBodies()) {
    PrintError(err->Message() + " (in " + s.app->supplied().string() + ")");
    return kReadWriteFailure;
  }
  return kDone;
}

int Run(const RunValues& v, const RangeCommand& command, const GlobalOptions& global) {
  Session s;
  if (!OpenSession(global, s)) return kReadWriteFailure;
  RunPlan plan;
  if (!ResolvePlan(v, command, *s.app, plan)) return kUsageError;
  const bool text = v.format == "text";
  // The saved files are the desktop program's text files: they have no CSV or JSON form.
  if (v.save && !text) {
    PrintError("--save writes the text tables' files and does not go with --format " + v.format);
    return kUsageError;
  }
  if (v.save && !LockFolderForSave(s)) return kReadWriteFailure;
  CalendarFilter filter;
  if (command.minorBodies) {
    std::string why;
    if (v.bodiesGiven && !ParseMinorBodies(v.bodies, plan.minor, why)) {
      PrintError("--bodies \"" + v.bodies + "\": " + why);
      return kUsageError;
    }
  } else if (!CheckCalendarFilter(v, filter, plan.minor)) {
    return kUsageError;
  } else if (AnyMinor(plan.minor) && plan.params.Coords == Coordinates::Heliocentric) {
    PrintError("--bodies: the minor bodies' events are geocentric and do not go with --helio");
    return kUsageError;
  }
  if (const int status = PrepareMinorBodies(plan, s); status != kDone) return status;

  std::optional<std::filesystem::path> file;
  if (!v.output.empty()) file = v.output;
  OutputSink sink(file);
  if (sink.Failed()) {
    PrintError("cannot write " + sink.Name() + ": " + sink.Reason());
    return kReadWriteFailure;
  }
  // Minutes and seconds that round to 60 move into the next unit unless
  // --no-carry; --save writes the files the desktop writes with the same choice.
  s.app->SetCarrySixty(!v.noCarry);
  ProgressBar bar;
  RangeControl control;
  // One thread per core unless --jobs says otherwise (the output does not depend on it).
  control.jobs =
      v.jobs > 0 ? v.jobs : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  control.progress = [&bar](int done, int total) { bar.Update(done, total); };
  const std::unique_ptr<RunWriter> writer = MakeWriter(v, command, plan, s, filter, global);
  if (const std::string begin = writer->Begin(); !begin.empty()) sink.Write(begin);

  RangeRun run{s, plan, control, *writer, sink, text, v.save && text};
  const bool ok = command.compute(run);
  if (const std::string end = ok ? writer->End() : ""; !end.empty()) sink.Write(end);
  if (!ok || sink.Failed()) {
    sink.Abandon();
    PrintError("cannot write " + sink.Name() + ": " + sink.Reason());
    return kReadWriteFailure;
  }
  if (!FinishOutput(sink)) return kReadWriteFailure;
  // The output itself is unchanged; standard error says when Pluto's series are stretched.
  for (const std::string& m :
       PlutoRangeMessages(plan.startJD - 0.5, plan.startJD - 0.5 + plan.dayCount))
    std::cerr << m << '\n';
  return run.saved ? kDone : kReadWriteFailure;
}

}  // namespace

void RangeRun::SavePiece(double startJD, int days, RunOutcome (Application::*calculate)()) {
  if (!save) return;
  Application& app = *session.app;
  RunParameters p = plan.params;
  SetStartDate(p, startJD);
  SetDaysText(p, std::to_string(days));
  p.FullMonth = false;
  p.SaveData = true;
  app.SetParams(p);
  const RunOutcome outcome = (app.*calculate)();
  PrintMessages(session);
  saved = outcome == RunOutcome::Done && saved;
}

void SetRunCallback(CLI::App* sub, const std::shared_ptr<RunValues>& v, RangeCommand command,
                    const GlobalOptions& global, int& status) {
  sub->callback([v, sub, command = std::move(command), &global, &status] {
    // An empty list given is refused, so whether each was given is kept.
    const CLI::Option* kinds = sub->get_option_no_throw("--kinds");
    const CLI::Option* bodies = sub->get_option_no_throw("--bodies");
    v->kindsGiven = kinds && kinds->count() > 0;
    v->bodiesGiven = bodies && bodies->count() > 0;
    status = Run(*v, command, global);
  });
}

}  // namespace novastra::cli
