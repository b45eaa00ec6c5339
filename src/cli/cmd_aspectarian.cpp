// novastra-cli aspectarian: the aspects, parallels, ingresses, stations,
// lunations and void-of-course periods of any range of days inside 1800-2100,
// as the Data Window's text, CSV, JSON Lines or iCalendar.
#include <memory>

#include "app/aspectarian_run.h"
#include "cli/range_command.h"
#include "text/ical_export.h"
#include "reports/stations.h"

namespace novastra::cli {

namespace {

bool ComputeAspectarian(RangeRun& run) {
  AspectarianRequest request = AspectarianRequestOf(run.plan, run.app());
  // CSV, JSON and the calendar give each eclipse's type, magnitude and Saros series.
  request.findEclipses = !run.text;
  auto emit = [&run, &request](const AspectarianReport& piece) {
    std::string chunk;
    if (run.text) {
      chunk = run.writer.Events(piece);
    } else {
      // CSV, JSON and the calendar give each station its stopping minute and longitude.
      AspectarianReport exported = piece;
      RefineStationEvents(request.sky, exported.events, request.minorTables);
      chunk = run.writer.Events(exported);
    }
    run.SavePiece(piece.startJD, piece.dayCount, &Application::CalculateAspectarian);
    return run.Write(chunk);
  };
  // The plain text of a UT run is found day by day as the Data Window's runs
  // are; local dates and void periods (CSV and JSON always list them) need the
  // days around each piece.
  const bool zoned = !CalendarChoicesOf(run.plan, run.app()).Plain() || !run.text;
  return zoned ? RunZonedAspectarianRange(request, run.plan.zone, run.control, emit)
               : RunAspectarianRange(request, run.control, emit);
}

void AddParameters(const RunPlan& plan, JsonParameters& out) {
  AddZoneParameter(plan, out);
  const RunParameters& p = plan.params;
  out.emplace_back("moon_ingress", p.MoonSign == MoonChangeSign::Display ? "display" : "hide");
  out.emplace_back("moon_sign_only", p.MoonChangeOnly ? "yes" : "no");
  if (p.Aspects != kMajorAspects) out.emplace_back("aspects", AspectListWords(p.Aspects));
}

}  // namespace

void AddAspectarianCommand(CLI::App& app, const GlobalOptions& global, int& status) {
  auto v = std::make_shared<RunValues>();
  CLI::App* sub = AddRangeSubcommand(
      app, "aspectarian",
      "Aspects, parallels, ingresses, stations and lunations to the minute (UT)", *v);
  AddInstantOptions(sub, *v, "Header names noon (the default) or midnight (--midnight)");
  AddSkyOptions(sub, *v);
  sub->add_flag("--moon-sign-only", v->moonSignOnly,
                "List only the Moon's ingresses of the Moon's events");
  sub->add_option("--moon-ingress", v->moonIngress, "Moon ingresses: display or hide")
      ->check(CLI::IsMember({"display", "hide"}))
      ->default_str("display");
  sub->add_option("--aspects", v->aspects,
                  "major (the five), minor (semisextile, semisquare, quintile, sesquiquadrate, "
                  "biquintile, quincunx), all, or a comma list of aspect names")
      ->type_name("LIST")
      ->default_str("major");
  AddEventFormatOption(sub, *v);
  sub->add_option("--kinds", v->kinds,
                  "With --format ics: the events exported, a comma list of aspects, parallels, "
                  "ingresses, stations, lunations, void")
      ->type_name("LIST")
      ->default_str("all");
  AddBodiesOption(sub, *v);
  AddOutputOption(sub, *v);
  AddSaveOption(sub, *v);
  AddSettingsOptions(sub, *v);
  AddEventZoneOption(sub, *v);
  sub->add_flag("--void-of-course", v->voidOfCourse,
                "Text format: a \"Moon void of course\" line where each period starts (CSV and "
                "JSON always list them)");
  RangeCommand command;
  command.name = "aspectarian";
  command.calendarName = "NOVASTRA aspectarian";
  command.parameters = AddParameters;
  command.compute = ComputeAspectarian;
  SetRunCallback(sub, v, std::move(command), global, status);
}

}  // namespace novastra::cli
