#pragma once
// What every range command (ephemeris, aspectarian, stations) does around its
// own computation: its common options, the run as resolved from them, the
// session, the output and its format's writer, the progress bar, the saves of
// --save and the exit status. A command is one file (cmd_*.cpp) that adds its
// own options and computes its pieces.
#include <CLI/CLI.hpp>
#include <functional>
#include <memory>
#include <string>

#include "app/application.h"
#include "app/range_run.h"
#include "app/run_parameters.h"
#include "cli/cli.h"
#include "cli/session.h"
#include "reports/aspectarian_report.h"
#include "reports/minor_report.h"
#include "reports/time_zone.h"
#include "text/run_writers.h"

namespace novastra::cli {

// What the user typed; empty / -1 / 0 means "not given".
struct RunValues {
  std::string from, to;
  int days = 0;
  bool fullMonth = false;
  int noon = -1;   // 1 --noon, 0 --midnight
  int helio = -1;  // 1 --helio, 0 --geo
  std::string zodiac, node, table;
  std::string ayanamsa;  // --ayanamsa NAME (with --zodiac sidereal)
  std::string sky;
  bool noCarry = false;
  bool moonSignOnly = false;
  std::string moonIngress;
  std::string format = "text";
  std::string output;
  bool save = false;
  bool useSettings = false;
  int jobs = 0;
  std::string tz;             // --tz
  bool voidOfCourse = false;  // --void-of-course
  bool localRows = false;     // --local-rows
  std::string kinds, bodies;  // --kinds, --bodies (--format ics; ephemeris: minor bodies)
  bool kindsGiven = false, bodiesGiven = false;
  std::string aspects;  // --aspects (aspectarian)
};

// The run as resolved from the defaults, the settings (--use-settings) and the options.
struct RunPlan {
  RunParameters params;  // the choices, as the Input window holds them
  double startJD = 0;
  int dayCount = 0;
  TimeZone zone;           // Universal Time unless --tz (or the settings) name one
  bool localRows = false;  // ephemeris rows at the zone's midnight or noon
  MinorChoice minor{};     // --bodies: the minor bodies listed after the planets' rows or events
};

// A run under way, as a command's computation sees it.
struct RangeRun {
  Session& session;
  const RunPlan& plan;
  const RangeControl& control;
  RunWriter& writer;
  OutputSink& sink;
  bool text = false;   // --format text
  bool save = false;   // --save with the text format
  bool saved = true;   // every --save so far wrote its files

  const Application& app() const { return *session.app; }
  // With --save: the piece startJD .. + days - 1 is run once more as the
  // desktop program runs it (`calculate`), which writes its data files.
  void SavePiece(double startJD, int days, RunOutcome (Application::*calculate)());
  // Writes a piece's text; false once the output cannot be written.
  bool Write(const std::string& chunk) { return sink.Write(chunk); }
};

// What makes one range command.
struct RangeCommand {
  std::string name;                       // the JSON run line's "command"
  CsvRows rows = CsvRows::Events;         // the CSV header row
  std::string calendarName;               // --format ics: the calendar's name
  std::function<void(RunParameters&)> adjust;  // choices the command fixes
  bool minorBodies = false;  // --bodies names minor bodies (not the calendar's filter)
  // The command's own parameters of the JSON run line, after the common ones.
  std::function<void(const RunPlan&, JsonParameters&)> parameters;
  // Computes the run, handing each piece to run.writer; false when stopped.
  std::function<bool(RangeRun&)> compute;
};

// ---- options, in the order --help lists them (range_options.cpp) ----

// The command with --from, --to, --days and --full-month.
CLI::App* AddRangeSubcommand(CLI::App& app, const std::string& name, const std::string& help,
                             RunValues& v);
// --noon / --midnight (with its help) and --helio / --geo.
void AddInstantOptions(CLI::App* sub, RunValues& v, const std::string& noonHelp);
// --zodiac, --ayanamsa, --node, --sky and --no-carry.
void AddSkyOptions(CLI::App* sub, RunValues& v);
// --bodies of the aspectarian and the stations: minor bodies, and the bodies of --format ics.
void AddBodiesOption(CLI::App* sub, RunValues& v);
void AddOutputOption(CLI::App* sub, RunValues& v);
void AddSaveOption(CLI::App* sub, RunValues& v);
// --use-settings and --jobs.
void AddSettingsOptions(CLI::App* sub, RunValues& v);
void AddZoneOption(CLI::App* sub, RunValues& v, const std::string& help);
// What every command listing events has: --format text|csv|json|ics, and --tz
// for its times and dates.
void AddEventFormatOption(CLI::App* sub, RunValues& v);
void AddEventZoneOption(CLI::App* sub, RunValues& v);
// Runs the command when it is named; its exit status goes into `status`.
void SetRunCallback(CLI::App* sub, const std::shared_ptr<RunValues>& v, RangeCommand command,
                    const GlobalOptions& global, int& status);

// ---- parts of the runs (range_plan.cpp) ----

// The run from the defaults, the settings (--use-settings) and the options;
// prints the reason and returns false for input that is refused.
bool ResolvePlan(const RunValues& v, const RangeCommand& command, const Application& app,
                 RunPlan& plan);

// "time_zone" when the run has a zone other than UT.
void AddZoneParameter(const RunPlan& plan, JsonParameters& out);
// The aspectarian's and the stations' choices of local dates, void periods and directions.
CalendarChoices CalendarChoicesOf(const RunPlan& plan, const Application& app);
// The aspectarian of the plan's days (the stations are found from it).
AspectarianRequest AspectarianRequestOf(const RunPlan& plan, const Application& app);

}  // namespace novastra::cli
