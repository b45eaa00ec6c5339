// novastra-cli eclipses: every solar and lunar eclipse between two dates, with
// its type, greatest eclipse, magnitudes, gamma, Saros series and contacts.
#include <ctime>
#include <memory>
#include <optional>
#include <string>

#include "cli/session.h"
#include "novastra_version.h"
#include "reports/eclipses_report.h"
#include "reports/time_zone.h"
#include "text/date_input.h"
#include "text/eclipse_text.h"
#include "text/export_formats.h"
#include "text/ical_export.h"

namespace novastra::cli {

namespace {

struct EclipseValues {
  std::string from, to;
  std::string kind = "all";
  std::string tz;
  std::string format = "text";
  std::string output;
};

std::optional<CivilDate> DateOption(const char* name, const std::string& text) {
  std::string why;
  std::optional<CivilDate> d = ParseDateInput(text, &why);
  if (!d) PrintError(std::string(name) + " \"" + text + "\": " + why);
  return d;
}

int RunEclipses(const EclipseValues& v, const GlobalOptions& global) {
  const std::optional<CivilDate> from = DateOption("--from", v.from);
  if (!from) return kUsageError;
  std::optional<CivilDate> to = CivilDate{from->year, 12, 31};
  if (!v.to.empty() && !(to = DateOption("--to", v.to))) return kUsageError;
  std::string zoneError;
  const std::optional<TimeZone> zone = TimeZone::Find(v.tz, &zoneError);
  if (!zone) {
    PrintError("--tz \"" + v.tz + "\": " + zoneError);
    return kUsageError;
  }
  Session s;
  if (!OpenSession(global, s)) return kReadWriteFailure;

  EclipseRequest request;
  request.from = *from;
  request.to = *to;
  request.solar = v.kind != "lunar";
  request.lunar = v.kind != "solar";
  const EclipseReport report = BuildEclipseReport(request, s.app->series());
  if (!report.error.empty()) {
    PrintError(report.error);
    return kUsageError;
  }
  const double fromJD = JulianDayNumber(from->year, from->month, from->day);
  const double toJD = JulianDayNumber(to->year, to->month, to->day);
  const TimeZone* local = zone->IsUniversal() ? nullptr : &*zone;
  std::string out;
  if (v.format == "csv") {
    out = EclipseCsvHeader();
    for (const EclipseEntry& e : report.eclipses) AppendEclipseCsv(out, e, local);
  } else if (v.format == "json") {
    std::vector<std::pair<std::string, std::string>> parameters = {
        {"from", IsoDate(fromJD)}, {"to", IsoDate(toJD)}, {"kind", v.kind}, {"sky", "apparent"}};
    if (local) parameters.emplace_back("time_zone", zone->Name());
    out = JsonRunLine(novastra::kVersion, "eclipses", parameters);
    for (const EclipseEntry& e : report.eclipses) AppendEclipseJson(out, e, local);
    out += JsonEndLine(static_cast<long long>(report.eclipses.size()));
  } else if (v.format == "ics") {
    IcalOptions o;
    o.zone = *zone;
    o.symbols = global.symbols != "ascii";
    o.stampJD = 2440587.5 + static_cast<double>(std::time(nullptr)) / 86400.0;
    o.name = "NOVASTRA eclipses";
    out = IcalBegin(o, fromJD - 0.5, toJD + 0.5);
    for (const EclipseEntry& e : report.eclipses) AppendIcalEclipse(out, e, o);
    out += IcalEnd();
  } else {
    out = EncodeText(EclipseTextTable(report, IsoDate(fromJD), IsoDate(toJD), *zone), s.style);
  }
  std::optional<std::filesystem::path> file;
  if (!v.output.empty()) file = v.output;
  OutputSink sink(file);
  sink.Write(out);
  return FinishOutput(sink) ? kDone : kReadWriteFailure;
}

}  // namespace

void AddEclipsesCommand(CLI::App& app, const GlobalOptions& global, int& status) {
  auto v = std::make_shared<EclipseValues>();
  CLI::App* sub = app.add_subcommand(
      "eclipses",
      "Solar and lunar eclipses between two dates, computed in the apparent sky: type, greatest "
      "eclipse (UT), magnitudes, gamma, Saros series and member, lunar contacts");
  sub->fallthrough();
  sub->add_option("--from", v->from, "First day, M/D/YYYY or YYYY-MM-DD (1800..2100)")
      ->type_name("DATE")
      ->required();
  sub->add_option("--to", v->to, "Last day (default: 31 December of the first day's year)")
      ->type_name("DATE");
  sub->add_option("--kind", v->kind, "solar, lunar or all")
      ->check(CLI::IsMember({"solar", "lunar", "all"}))
      ->capture_default_str();
  sub->add_option("--tz", v->tz,
                  "Also give greatest eclipse on this zone's clock (IANA name, e.g. "
                  "Europe/Paris); instants stay UT")
      ->type_name("ZONE");
  sub->add_option("--format", v->format,
                  "text, csv, json (JSON Lines) or ics (iCalendar, for calendar programs)")
      ->check(CLI::IsMember({"text", "csv", "json", "ics"}))
      ->capture_default_str();
  sub->add_option("-o,--output", v->output,
                  "Write to FILE (complete or not at all) instead of standard output")
      ->type_name("FILE");
  sub->callback([v, &global, &status] { status = RunEclipses(*v, global); });
}

}  // namespace novastra::cli
