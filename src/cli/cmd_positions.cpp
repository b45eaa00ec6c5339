// novastra-cli positions: the eleven bodies for one instant (UT).
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "astro/ayanamsas.h"
#include "astro/calendar.h"
#include "astro/engine.h"
#include "astro/sky.h"
#include "cli/session.h"
#include "novastra_version.h"
#include "reports/minor_report.h"
#include "text/date_input.h"
#include "text/export_formats.h"

namespace novastra::cli {

namespace {

using JsonFields = std::vector<std::pair<std::string, std::string>>;

struct PositionsValues {
  std::string date;
  std::string time;
  bool noon = false;
  std::string zodiac = "tropical";
  std::string ayanamsa;  // --ayanamsa NAME (with --zodiac sidereal)
  std::string node = "true";
  std::string sky = "design";
  std::string format = "text";
  std::string output;
  std::string bodies;  // --bodies: the minor bodies added after the planets
  bool bodiesGiven = false;
};

constexpr const char* kBodyNames[] = {"",       "Sun",     "Moon",    "Mercury",
                                      "Venus",  "Mars",    "Jupiter", "Saturn",
                                      "Uranus", "Neptune", "Pluto",   "North Node"};

std::string Degrees(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%15.8f", v);
  return buf;
}

std::string TextTable(const EphemerisDay& day, const std::vector<MinorRow>& minor,
                      const std::string& instantLabel, Zodiac zodiac, NamedAyanamsa named,
                      const std::string& node) {
  const BodyPositions& p = day.positions;
  char jd[32];
  std::snprintf(jd, sizeof jd, "%.1f", day.jd);
  std::string out =
      DateTextFromJulianDay(day.rowJD) + " " + instantLabel + " UT, Julian Day " +
      (day.jd * 10 == std::floor(day.jd * 10) ? std::string(jd) : std::to_string(day.jd)) + ", " +
      ZodiacLabel(zodiac) + "zodiac, " +
      (named == NamedAyanamsa::None ? "" : std::string(NamedAyanamsaName(named)) + " ayanamsa, ") +
      node + " node\n";
  char line[256];
  std::snprintf(line, sizeof line, "%-11s%15s%15s%15s%15s%15s%15s\n", "Body", "Longitude",
                "Latitude", "RightAscension", "Declination", "HelioLongitude", "HelioLatitude");
  out += line;
  for (int b = kSun; b <= kNorthNode; ++b) {
    // The Sun's row carries the Earth's heliocentric place; the Moon and the node have none.
    const bool helio = b != kMoon && b != kNorthNode;
    const std::string name = kBodyNames[b];
    out += name + std::string(11 - name.size(), ' ') + Degrees(p.Longitude[b]) +
           Degrees(p.Latitude[b]) + Degrees(p.RightAscension[b]) + Degrees(p.Declination[b]) +
           (helio ? Degrees(p.HelioLongitude[b]) : std::string(14, ' ') + "-") +
           (helio ? Degrees(p.HelioLatitude[b]) : std::string(14, ' ') + "-") + "\n";
  }
  for (const MinorRow& r : minor) {
    const std::string name = MinorBodyName(r.body);
    out += name + std::string(11 - std::min<size_t>(name.size(), 11), ' ') +
           Degrees(r.geo.longitude) + Degrees(r.geo.latitude) + Degrees(r.geo.rightAscension) +
           Degrees(r.geo.declination) +
           (r.helio ? Degrees(r.helio->longitude) : std::string(14, ' ') + "-") +
           (r.helio ? Degrees(r.helio->latitude) : std::string(14, ' ') + "-") + "\n";
  }
  return out;
}

int RunPositions(const PositionsValues& v, const GlobalOptions& global) {
  std::string why;
  auto date = ParseDateInput(v.date, &why);
  if (!date) {
    PrintError("--date \"" + v.date + "\": " + why);
    return kUsageError;
  }
  int seconds = v.noon ? 43200 : 0;
  if (!v.time.empty()) {
    auto t = ParseTimeInput(v.time, &why);
    if (!t) {
      PrintError("--time \"" + v.time + "\": " + why);
      return kUsageError;
    }
    seconds = *t;
  }
  MinorChoice minorChoice{};
  if (v.bodiesGiven && !ParseMinorBodies(v.bodies, minorChoice, why)) {
    PrintError("--bodies \"" + v.bodies + "\": " + why);
    return kUsageError;
  }
  const AyanamsaChoice ayanamsa = ChooseAyanamsa(v.ayanamsa, v.zodiac);
  if (!ayanamsa.error.empty()) {
    PrintError("--ayanamsa \"" + v.ayanamsa + "\": " + ayanamsa.error);
    return kUsageError;
  }
  Session s;
  if (!OpenSession(global, s)) return kReadWriteFailure;
  if (AnyMinor(minorChoice)) {
    if (const auto err = s.app->LoadMinorBodies()) {
      PrintError(err->Message() + " (in " + s.app->supplied().string() + ")");
      return kReadWriteFailure;
    }
  }

  EngineChoices choices;
  choices.zodiac = v.zodiac == "sidereal"   ? Zodiac::Sidereal
                   : v.zodiac == "ayanamsa" ? Zodiac::Ayanamsa
                                            : Zodiac::Tropical;
  choices.node = v.node == "mean"         ? NodeMode::Mean
                 : v.node == "osculating" ? NodeMode::Osculating
                                          : NodeMode::True;
  choices.sky = v.sky == "apparent" ? Sky::Apparent : Sky::Design;

  EphemerisDay day;
  day.rowJD = JulianDayNumber(date->year, date->month, date->day);
  const double dayFraction = seconds / 86400.0;
  day.jd = day.rowJD - 0.5 + dayFraction;
  const InstantSetup instant = PrepareInstantAnyHour(
      day.rowJD, dayFraction, s.app->options().Ayanamsa(choices.zodiac, ayanamsa.named));
  day.siderealSeconds = instant.SiderealSeconds;
  day.positions = ComputePositions(instant, s.app->series(), choices);
  if (AnyMinor(minorChoice)) {
    day.minor = MinorRowsAt(*s.app->minor(), minorChoice, day.jd, choices, instant);
    if (day.minor.empty()) {
      PrintError(std::string("--bodies: ") + kMinorRangeMessage);
      return kUsageError;
    }
  }

  std::string out;
  if (v.format == "csv") {
    out = DayCsvHeader(false, minorChoice);
    AppendDayCsv(out, day, false);
  } else if (v.format == "json") {
    JsonFields parameters = {{"date", IsoDate(day.rowJD)},
                             {"instant", IsoInstant(day.jd)},
                             {"zodiac", v.zodiac},
                             {"node", v.node},
                             {"time_scale", "UT"}};
    if (ayanamsa.named != NamedAyanamsa::None)
      parameters.insert(parameters.begin() + 3, {"ayanamsa", NamedAyanamsaKey(ayanamsa.named)});
    out = JsonRunLine(novastra::kVersion, "positions", parameters);
    AppendDayJson(out, day, false);
    out += JsonEndLine(1);
  } else {
    const std::string label = seconds == 0       ? "midnight"
                              : seconds == 43200 ? "noon"
                                                 : IsoInstant(day.jd).substr(11, 8);
    out = TextTable(day, day.minor, label, choices.zodiac, ayanamsa.named, v.node);
  }
  std::optional<std::filesystem::path> file;
  if (!v.output.empty()) file = v.output;
  OutputSink sink(file);
  sink.Write(out);
  return FinishOutput(sink) ? kDone : kReadWriteFailure;
}

}  // namespace

void AddPositionsCommand(CLI::App& app, const GlobalOptions& global, int& status) {
  auto v = std::make_shared<PositionsValues>();
  CLI::App* sub =
      app.add_subcommand("positions", "Positions of the eleven bodies for one instant (UT)");
  sub->fallthrough();
  sub->add_option("--date", v->date, "Date, M/D/YYYY or YYYY-MM-DD (1800..2100)")
      ->type_name("DATE")
      ->required();
  CLI::Option* time = sub->add_option("--time", v->time, "Time of day in UT, HH:MM or HH:MM:SS")
                          ->type_name("TIME")
                          ->default_str("00:00");
  sub->add_flag("--noon", v->noon, "Positions at 12:00 UT (the same as --time 12:00)")
      ->excludes(time);
  sub->add_option("--zodiac", v->zodiac, "tropical, sidereal or ayanamsa")
      ->check(CLI::IsMember({"tropical", "sidereal", "ayanamsa"}))
      ->capture_default_str();
  sub->add_option("--ayanamsa", v->ayanamsa,
                  "With --zodiac sidereal: a standard ayanamsa by name, one of " +
                      AyanamsaNamesText() + " (default: the SVP's)")
      ->type_name("NAME");
  sub->add_option("--node", v->node, "Lunar node: mean, true or osculating")
      ->check(CLI::IsMember({"mean", "true", "osculating"}))
      ->capture_default_str();
  sub->add_option("--sky", v->sky,
                  "design, or apparent (delta T, nutation, aberration, light-time)")
      ->check(CLI::IsMember({"design", "apparent"}))
      ->capture_default_str();
  sub->add_option("--format", v->format, "text, csv or json (JSON Lines)")
      ->check(CLI::IsMember({"text", "csv", "json"}))
      ->capture_default_str();
  CLI::Option* bodies = sub->add_option("--bodies", v->bodies,
                  "Also Chiron, the asteroids and the Black Moon: a comma list of chiron, ceres, "
                  "pallas, juno, vesta, lilith (mean apogee), osc-lilith (osculating), or all")
      ->type_name("LIST");
  sub->add_option("-o,--output", v->output,
                  "Write to FILE (complete or not at all) instead of standard output")
      ->type_name("FILE");
  sub->callback([v, bodies, &global, &status] {
    v->bodiesGiven = bodies->count() > 0;
    status = RunPositions(*v, global);
  });
}

}  // namespace novastra::cli
