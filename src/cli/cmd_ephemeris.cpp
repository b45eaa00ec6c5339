// novastra-cli ephemeris: the daily positions of any range of days inside
// 1800-2100, as the Data Window's tables, CSV or JSON Lines.
#include <memory>

#include "app/ephemeris_run.h"
#include "cli/range_command.h"
#include "reports/ephemeris_report.h"

namespace novastra::cli {

namespace {

bool ComputeEphemeris(RangeRun& run) {
  const RunPlan& plan = run.plan;
  const RunParameters& p = plan.params;
  EphemerisRequest request;
  request.tables = &run.app().series();
  request.engine = EngineChoices{p.ZodiacMode, p.MoonNodes};
  request.engine.sky = p.SkyChoice;
  request.ayanamsa = run.app().options().Ayanamsa(p.ZodiacMode, p.SiderealAyanamsa);
  request.startJD = plan.startJD;
  request.dayFraction = p.Instant == InstantChoice::Noon ? 0.5 : 0;
  request.dayCount = plan.dayCount;
  if (plan.localRows) request.localZone = &plan.zone;
  request.minor = run.app().minor();
  request.minorChoice = plan.minor;
  // Each piece is written out on the thread that computed it.
  return RunEphemerisRange(
      request, run.control, [&run](const EphemerisReport& piece) { return run.writer.Days(piece); },
      [&run](const EphemerisReport& piece, const std::string& chunk) {
        run.SavePiece(piece.days.front().rowJD, static_cast<int>(piece.days.size()),
                      &Application::CalculateEphemeris);
        return run.Write(chunk);
      });
}

void AddParameters(const RunPlan& plan, JsonParameters& out) {
  // Ephemeris rows stay at 0h or 12h UT unless --local-rows asks for the zone's.
  const bool local = plan.localRows && !plan.zone.IsUniversal();
  if (local) AddZoneParameter(plan, out);
  const std::string hour = plan.params.Instant == InstantChoice::Noon ? "12:00" : "00:00";
  out.emplace_back("instant", local ? hour + " " + plan.zone.Name() : hour);
}

}  // namespace

void AddEphemerisCommand(CLI::App& app, const GlobalOptions& global, int& status) {
  auto v = std::make_shared<RunValues>();
  CLI::App* sub = AddRangeSubcommand(
      app, "ephemeris",
      "Daily positions of the Sun, Moon, Mercury to Pluto and the lunar node (six tables)", *v);
  AddInstantOptions(sub, *v, "Positions at 12h UT (--noon, the default) or 0h UT (--midnight)");
  AddSkyOptions(sub, *v);
  sub->add_option("--table", v->table,
                  "Text format: the table shown: longitude, latitude, ra or declination")
      ->check(CLI::IsMember({"longitude", "latitude", "ra", "declination"}))
      ->default_str("longitude");
  sub->add_option("--format", v->format,
                  "text (tables as the Data Window shows them), csv (one row per day, all "
                  "six tables) or json (JSON Lines)")
      ->check(CLI::IsMember({"text", "csv", "json"}))
      ->capture_default_str();
  sub->add_option("--bodies", v->bodies,
                  "Also Chiron, the asteroids and the Black Moon, a comma list of chiron, ceres, "
                  "pallas, juno, vesta, lilith (mean apogee), osc-lilith (osculating), or all: "
                  "text adds a Minor bodies table after the chosen one, csv and json their columns")
      ->type_name("LIST");
  AddOutputOption(sub, *v);
  AddSaveOption(sub, *v);
  AddSettingsOptions(sub, *v);
  AddZoneOption(sub, *v, "Time zone (IANA name, e.g. America/New_York) of --local-rows");
  sub->add_flag("--local-rows", v->localRows,
                "Rows at midnight or noon of the --tz zone instead of 0h or 12h UT");
  RangeCommand command;
  command.name = "ephemeris";
  command.rows = CsvRows::Days;
  command.minorBodies = true;
  command.parameters = AddParameters;
  command.compute = ComputeEphemeris;
  SetRunCallback(sub, v, std::move(command), global, status);
}

}  // namespace novastra::cli
