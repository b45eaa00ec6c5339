// novastra-cli stations: the changes in direction of Mercury to Pluto in any
// range of days inside 1800-2100, as text, CSV, JSON Lines or iCalendar.
#include <memory>

#include "cli/range_command.h"
#include "reports/stations.h"

namespace novastra::cli {

namespace {

bool ComputeStations(RangeRun& run) {
  const AspectarianRequest request = AspectarianRequestOf(run.plan, run.app());
  auto emit = [&run, &request](const AspectarianReport& piece) {
    return run.Write(run.writer.Stations(BuildStations(request.sky, piece.events, request.minorTables)));
  };
  // Local dates and the directions' words need the days around each piece.
  const bool zoned = !CalendarChoicesOf(run.plan, run.app()).Plain();
  return zoned ? RunZonedAspectarianRange(request, run.plan.zone, run.control, emit)
               : RunAspectarianRange(request, run.control, emit);
}

// Stations are geocentric, and every event is kept to find them.
void Adjust(RunParameters& p) {
  p.Coords = Coordinates::Geocentric;
  p.MoonChangeOnly = false;
}

}  // namespace

void AddStationsCommand(CLI::App& app, const GlobalOptions& global, int& status) {
  auto v = std::make_shared<RunValues>();
  CLI::App* sub = AddRangeSubcommand(
      app, "stations", "Changes in direction (UT) of Mercury to Pluto, refined to the minute",
      *v);
  AddSkyOptions(sub, *v);
  AddEventFormatOption(sub, *v);
  AddBodiesOption(sub, *v);
  AddOutputOption(sub, *v);
  AddSettingsOptions(sub, *v);
  AddEventZoneOption(sub, *v);
  RangeCommand command;
  command.name = "stations";
  command.calendarName = "NOVASTRA stations";
  command.adjust = Adjust;
  command.parameters = AddZoneParameter;
  command.compute = ComputeStations;
  SetRunCallback(sub, v, std::move(command), global, status);
}

}  // namespace novastra::cli
