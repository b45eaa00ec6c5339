// The options every range command (ephemeris, aspectarian, stations) shares,
// each added by the command that takes it, in the order --help lists them.
#include <cstdint>

#include "cli/range_command.h"

namespace novastra::cli {

CLI::App* AddRangeSubcommand(CLI::App& app, const std::string& name, const std::string& help,
                             RunValues& v) {
  CLI::App* sub = app.add_subcommand(name, help);
  sub->fallthrough();
  sub->add_option("--from,--start", v.from, "First day, M/D/YYYY or YYYY-MM-DD (1800..2100)")
      ->type_name("DATE")
      ->default_str("today");
  CLI::Option* to = sub->add_option("--to", v.to,
                                    "Last day, M/D/YYYY or YYYY-MM-DD; any range inside 1800..2100")
                        ->type_name("DATE");
  CLI::Option* days = sub->add_option("--days", v.days, "Number of days, 1..366")
                          ->check(CLI::Range(1, 366))
                          ->default_str("30");
  CLI::Option* month =
      sub->add_flag("--full-month", v.fullMonth, "The whole month of the start date");
  days->excludes(to);
  month->excludes(to)->excludes(days);
  return sub;
}

namespace {

// A pair of flags that set one choice to 1 (on) or 0 (off), not both at once.
struct FlagPair {
  const char* on;
  const char* off;
};

void AddFlagPair(CLI::App* sub, FlagPair names, int& target, const std::string& help) {
  auto set = [&target](int value) { return [&target, value](std::int64_t) { target = value; }; };
  CLI::Option* a = sub->add_flag_function(names.on, set(1), help);
  CLI::Option* b = sub->add_flag_function(names.off, set(0));
  a->excludes(b);
}

}  // namespace

void AddInstantOptions(CLI::App* sub, RunValues& v, const std::string& noonHelp) {
  AddFlagPair(sub, {"--noon", "--midnight"}, v.noon, noonHelp);
  AddFlagPair(sub, {"--helio", "--geo"}, v.helio,
              "Heliocentric (--helio) or geocentric (--geo, the default) coordinates");
}

void AddSkyOptions(CLI::App* sub, RunValues& v) {
  sub->add_option("--zodiac", v.zodiac, "tropical, sidereal or ayanamsa")
      ->check(CLI::IsMember({"tropical", "sidereal", "ayanamsa"}))
      ->default_str("tropical");
  sub->add_option("--ayanamsa", v.ayanamsa,
                  "With --zodiac sidereal: a standard ayanamsa by name, one of " +
                      AyanamsaNamesText() + " (default: the SVP's)")
      ->type_name("NAME");
  sub->add_option("--node", v.node, "Lunar node: mean, true or osculating")
      ->check(CLI::IsMember({"mean", "true", "osculating"}))
      ->default_str("true");
  sub->add_option("--sky", v.sky, "design, or apparent (delta T, nutation, aberration, light-time)")
      ->check(CLI::IsMember({"design", "apparent"}))
      ->default_str("design");
  sub->add_flag("--no-carry", v.noCarry,
                "Text format: print minutes and seconds that round to 60 as 60");
}

void AddBodiesOption(CLI::App* sub, RunValues& v) {
  sub->add_option(
         "--bodies", v.bodies,
         "A comma list: chiron ceres pallas juno vesta lilith osc-lilith (or all) add those "
         "bodies' events; with --format ics, sun moon mercury venus mars jupiter saturn "
         "uranus neptune pluto node choose the calendar's bodies (an event is kept when "
         "every body it names is chosen)")
      ->type_name("LIST")
      ->default_str("all");
}

void AddOutputOption(CLI::App* sub, RunValues& v) {
  sub->add_option("-o,--output", v.output,
                  "Write to FILE (complete or not at all) instead of standard output")
      ->type_name("FILE");
}

void AddSaveOption(CLI::App* sub, RunValues& v) {
  sub->add_flag("--save", v.save,
                "Text format: also save the run's data files in the application folder");
}

void AddSettingsOptions(CLI::App* sub, RunValues& v) {
  sub->add_flag(
      "--use-settings", v.useSettings,
      "Start from the desktop program's saved choices (NOVASTRA.INI) instead of the defaults");
  sub->add_option("--jobs", v.jobs, "Threads for long runs (default: one per core)")
      ->check(CLI::Range(1, 64));
}

void AddZoneOption(CLI::App* sub, RunValues& v, const std::string& help) {
  sub->add_option("--tz", v.tz, help)->type_name("ZONE")->default_str("UT");
}

void AddEventFormatOption(CLI::App* sub, RunValues& v) {
  sub->add_option("--format", v.format,
                  "text (as the Data Window shows it), csv (one row per event), json (JSON "
                  "Lines) or ics (an iCalendar file for calendar programs)")
      ->check(CLI::IsMember({"text", "csv", "json", "ics"}))
      ->capture_default_str();
}

void AddEventZoneOption(CLI::App* sub, RunValues& v) {
  AddZoneOption(sub, v,
                "Times and dates in this zone (IANA name, e.g. America/New_York); CSV and JSON "
                "add local instants");
}

}  // namespace novastra::cli
