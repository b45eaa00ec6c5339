// novastra-cli chart: the eleven bodies, the angles and the house cusps of an
// instant and place; transits: the aspects of the transiting bodies to a
// chart over a range of days, to the minute.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <ctime>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "app/chart_files.h"
#include "app/text_file.h"
#include "astro/calendar.h"
#include "cli/session.h"
#include "novastra_version.h"
#include "reports/chart_report.h"
#include "text/chart_text.h"
#include "text/date_input.h"
#include "text/export_formats.h"
#include "text/ical_export.h"

namespace novastra::cli {

namespace {

struct ChartValues {
  std::string date, time = "12:00", tz = "UT", lat, lon;
  std::string houses = "placidus", zodiac = "tropical", node = "true", sky = "apparent";
  std::string name = "Chart";
  std::string format = "text";
  std::string output;
  bool save = false;
};

EngineChoices ChoicesOf(const std::string& zodiac, const std::string& node,
                        const std::string& sky) {
  EngineChoices c;
  c.zodiac = zodiac == "sidereal"   ? Zodiac::Sidereal
             : zodiac == "ayanamsa" ? Zodiac::Ayanamsa
                                    : Zodiac::Tropical;
  c.node = node == "mean" ? NodeMode::Mean : node == "osculating" ? NodeMode::Osculating : NodeMode::True;
  c.sky = sky == "design" ? Sky::Design : Sky::Apparent;
  return c;
}

int Write(const std::string& out, const std::string& output) {
  std::optional<std::filesystem::path> file;
  if (!output.empty()) file = output;
  OutputSink sink(file);
  sink.Write(out);
  return FinishOutput(sink) ? kDone : kReadWriteFailure;
}

int RunChart(const ChartValues& v, const GlobalOptions& global) {
  std::string why;
  const auto date = ParseDateInput(v.date, &why);
  if (!date) {
    PrintError("--date \"" + v.date + "\": " + why);
    return kUsageError;
  }
  const auto seconds = ParseTimeInput(v.time, &why);
  if (!seconds) {
    PrintError("--time \"" + v.time + "\": " + why);
    return kUsageError;
  }
  const auto zone = TimeZone::Find(v.tz, &why);
  if (!zone) {
    PrintError("--tz \"" + v.tz + "\": " + why);
    return kUsageError;
  }
  const auto lat = ParseCoordinate(v.lat, true, &why);
  if (!lat) {
    PrintError("--lat \"" + v.lat + "\": " + why);
    return kUsageError;
  }
  const auto lon = ParseCoordinate(v.lon, false, &why);
  if (!lon) {
    PrintError("--lon \"" + v.lon + "\": " + why);
    return kUsageError;
  }
  if (v.save && !IsChartName(v.name)) {
    PrintError("--name \"" + v.name +
               "\": a chart saved in the application folder needs a name of letters, digits, "
               "blanks, '-', '_' and '.'");
    return kUsageError;
  }
  Session s;
  if (!OpenSession(global, s)) return kReadWriteFailure;

  ChartRequest r;
  r.tables = &s.app->series();
  r.choices = ChoicesOf(v.zodiac, v.node, v.sky);
  r.ayanamsa = s.app->options().Ayanamsa();
  r.jdUT = zone->UniversalOf(JulianDayNumber(date->year, date->month, date->day), *seconds / 3600.0);
  r.latitude = *lat;
  r.longitude = *lon;
  r.houses = *HouseSystemFromWord(v.houses);
  const auto chart = BuildChart(r, &why);
  if (!chart) {
    PrintError("no " + std::string(HouseSystemName(r.houses)) + " houses at latitude " +
               LatitudeText(*lat) + ": " + why);
    return kUsageError;
  }
  ChartMeta meta;
  meta.name = v.name;
  meta.zone = zone->Name();
  meta.version = novastra::kVersion;
  if (v.save) {
    if (!LockFolderForSave(s)) return kReadWriteFailure;
    const std::filesystem::path file = ChartFilePath(s.app->folder(), v.name);
    const std::string error = WriteFileSafely(file, ChartJson(*chart, meta));
    if (!error.empty()) {
      PrintError("cannot save " + file.string() + ": " + error);
      return kReadWriteFailure;
    }
  }
  std::string out;
  if (v.format == "json")
    out = ChartJson(*chart, meta);
  else if (v.format == "csv")
    out = ChartCsv(*chart);
  else
    out = EncodeText(ChartText(*chart, meta), s.style);
  return Write(out, v.output);
}

struct TransitValues {
  std::string chart, from, to, tz = "UT", aspects = "major";
  std::string format = "text";
  std::string output;
};

// The chart file named: a path, or a chart saved in the application folder.
std::optional<std::string> ReadChartFile(const std::string& name, const Application& app) {
  std::filesystem::path path = name;
  std::error_code ec;
  if (!std::filesystem::exists(path, ec) && name.find('/') == std::string::npos)
    path = ChartFilePath(app.folder(), name);
  if (std::filesystem::is_directory(path, ec)) return std::nullopt;
  const auto bytes = ReadFileBytes(path);
  if (!bytes) return std::nullopt;
  return std::string(bytes->begin(), bytes->end());
}

int RunTransits(const TransitValues& v, const GlobalOptions& global) {
  std::string why;
  const auto from = ParseDateInput(v.from, &why);
  if (!from) {
    PrintError("--from \"" + v.from + "\": " + why);
    return kUsageError;
  }
  CivilDate last{from->year, 12, 31};
  if (!v.to.empty()) {
    const auto to = ParseDateInput(v.to, &why);
    if (!to) {
      PrintError("--to \"" + v.to + "\": " + why);
      return kUsageError;
    }
    last = *to;
  }
  const double startJD = JulianDayNumber(from->year, from->month, from->day);
  const double endJD = JulianDayNumber(last.year, last.month, last.day);
  if (endJD < startJD) {
    PrintError("--to \"" + v.to + "\" is before --from");
    return kUsageError;
  }
  const auto zone = TimeZone::Find(v.tz, &why);
  if (!zone) {
    PrintError("--tz \"" + v.tz + "\": " + why);
    return kUsageError;
  }
  std::uint16_t aspects = kMajorAspects;
  if (!ParseAspectList(v.aspects, aspects, why)) {
    PrintError("--aspects \"" + v.aspects + "\": " + why);
    return kUsageError;
  }
  Session s;
  if (!OpenSession(global, s)) return kReadWriteFailure;
  const auto text = ReadChartFile(v.chart, *s.app);
  if (!text) {
    PrintError("--chart \"" + v.chart + "\": cannot read the chart file");
    return kReadWriteFailure;
  }
  NatalChart chart;
  ChartMeta meta;
  if (!ChartFromJson(*text, chart, meta, why)) {
    PrintError("--chart \"" + v.chart + "\": " + why);
    return kUsageError;
  }
  TransitRequest request;
  request.sky.tables = &s.app->series();
  request.sky.choices = chart.request.choices;
  request.sky.ayanamsa = s.app->options().Ayanamsa();
  request.chart = &chart;
  // The zone's first and last dates need the UT days either side.
  request.startJD = startJD - 1;
  request.dayCount = static_cast<int>(endJD - startJD) + 3;
  request.aspects = aspects;
  ProgressBar bar;
  ReportControl control;
  control.progress = [&](int d) { bar.Update(d + 1, request.dayCount); };
  TransitReport report = BuildTransits(request, control);
  // Only the instants on the zone's days asked for.
  std::erase_if(report.transits, [&](const Transit& t) {
    const double day = zone->At(t.jd).dayJD;
    return day < startJD || day > endJD;
  });
  std::string out;
  if (v.format == "csv") {
    out = TransitCsvHeader();
    for (const Transit& t : report.transits) AppendTransitCsv(out, t, chart, *zone);
  } else if (v.format == "json") {
    std::vector<std::pair<std::string, std::string>> parameters = {
        {"chart", meta.name}, {"from", IsoDate(startJD)}, {"to", IsoDate(endJD)},
        {"aspects", AspectListWords(aspects)}, {"sky", SkyWord(chart.request.choices.sky)},
        {"zodiac", ZodiacWord(chart.request.choices.zodiac)}};
    if (!zone->IsUniversal()) parameters.emplace_back("time_zone", zone->Name());
    out = JsonRunLine(novastra::kVersion, "transits", parameters);
    for (const Transit& t : report.transits) AppendTransitJson(out, t, chart, *zone);
    out += JsonEndLine(static_cast<long long>(report.transits.size()));
  } else if (v.format == "ics") {
    IcalOptions o;
    o.zone = *zone;
    o.symbols = global.symbols != "ascii";
    o.stampJD = 2440587.5 + static_cast<double>(std::time(nullptr)) / 86400.0;
    o.name = "NOVASTRA transits to " + meta.name;
    out = IcalBegin(o, startJD - 0.5, endJD + 0.5);
    for (const Transit& t : report.transits) AppendIcalTransit(out, t, chart, o);
    out += IcalEnd();
  } else {
    out = EncodeText(
        TransitText(report, meta, *zone, startJD, static_cast<int>(endJD - startJD) + 1),
        s.style);
  }
  return Write(out, v.output);
}

void AddChoiceOptions(CLI::App* sub, std::string& zodiac, std::string& node, std::string& sky) {
  sub->add_option("--zodiac", zodiac, "tropical, sidereal or ayanamsa")
      ->check(CLI::IsMember({"tropical", "sidereal", "ayanamsa"}))
      ->capture_default_str();
  sub->add_option("--node", node, "Lunar node: mean, true or osculating")
      ->check(CLI::IsMember({"mean", "true", "osculating"}))
      ->capture_default_str();
  sub->add_option("--sky", sky,
                  "apparent (the default for charts: true sidereal time, nutation, aberration, "
                  "light-time) or design")
      ->check(CLI::IsMember({"design", "apparent"}))
      ->capture_default_str();
}

}  // namespace

void AddChartCommand(CLI::App& app, const GlobalOptions& global, int& status) {
  auto v = std::make_shared<ChartValues>();
  CLI::App* sub = app.add_subcommand(
      "chart", "A chart: the eleven bodies, Ascendant, Midheaven, Vertex and the house cusps of "
               "an instant and place");
  sub->fallthrough();
  sub->add_option("--date", v->date, "Date, M/D/YYYY or YYYY-MM-DD (1800..2100)")
      ->type_name("DATE")
      ->required();
  sub->add_option("--time", v->time, "Clock time in the zone of --tz, HH:MM or HH:MM:SS")
      ->type_name("TIME")
      ->capture_default_str();
  sub->add_option("--tz", v->tz, "Zone of the clock time (IANA name, e.g. America/New_York)")
      ->type_name("ZONE")
      ->capture_default_str();
  sub->add_option("--lat", v->lat, "Latitude: 40N43 or 40.7167 (north positive)")
      ->type_name("LAT")
      ->required();
  sub->add_option("--lon", v->lon, "Longitude: 74W00 or -74.0 (east positive)")
      ->type_name("LON")
      ->required();
  sub->add_option("--houses", v->houses,
                  "placidus, koch, regiomontanus, campanus, porphyry, equal or whole-sign")
      ->check(CLI::IsMember(
          {"placidus", "koch", "regiomontanus", "campanus", "porphyry", "equal", "whole-sign"}))
      ->capture_default_str();
  AddChoiceOptions(sub, v->zodiac, v->node, v->sky);
  sub->add_option("--name", v->name, "The chart's name (its title, and its file with --save)")
      ->capture_default_str();
  sub->add_flag("--save", v->save,
                "Also save the chart as NAME.chart.json in the application folder (what "
                "transits --chart NAME reads)");
  sub->add_option("--format", v->format,
                  "text, csv, or json (the chart file, which transits --chart reads)")
      ->check(CLI::IsMember({"text", "csv", "json"}))
      ->capture_default_str();
  sub->add_option("-o,--output", v->output,
                  "Write to FILE (complete or not at all) instead of standard output")
      ->type_name("FILE");
  sub->callback([v, &global, &status] { status = RunChart(*v, global); });
}

void AddTransitsCommand(CLI::App& app, const GlobalOptions& global, int& status) {
  auto v = std::make_shared<TransitValues>();
  CLI::App* sub = app.add_subcommand(
      "transits",
      "Every exact aspect of the transiting bodies to a chart's bodies and angles, to the minute");
  sub->fallthrough();
  sub->add_option("--chart", v->chart,
                  "The chart: a file written by chart --format json, or the NAME of a chart "
                  "saved with chart --save")
      ->type_name("FILE")
      ->required();
  sub->add_option("--from", v->from, "First day, M/D/YYYY or YYYY-MM-DD (1800..2100)")
      ->type_name("DATE")
      ->required();
  sub->add_option("--to", v->to, "Last day (default: 31 December of the first day's year)")
      ->type_name("DATE");
  sub->add_option("--tz", v->tz, "Times and days in this zone (IANA name)")
      ->type_name("ZONE")
      ->capture_default_str();
  sub->add_option("--aspects", v->aspects, "major, minor, all, or a comma list of aspect names")
      ->type_name("LIST")
      ->capture_default_str();
  sub->add_option("--format", v->format,
                  "text, csv (one row per exact transit), json (JSON Lines) or ics (iCalendar)")
      ->check(CLI::IsMember({"text", "csv", "json", "ics"}))
      ->capture_default_str();
  sub->add_option("-o,--output", v->output,
                  "Write to FILE (complete or not at all) instead of standard output")
      ->type_name("FILE");
  sub->callback([v, &global, &status] { status = RunTransits(*v, global); });
}

}  // namespace novastra::cli
