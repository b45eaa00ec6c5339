// novastra-cli ephemeris, aspectarian and stations: any range of days inside
// 1800-2100, as text (runs of at most 366 days, each as the Data Window shows
// it), CSV or JSON Lines.
#include <ctime>
#include <iostream>
#include <limits>
#include <memory>
#include <thread>

#include "app/ephemeris_run.h"
#include "app/input_check.h"
#include "app/range_run.h"
#include "app/run_calendar.h"
#include "app/settings.h"
#include "astro/calendar.h"
#include "astro/engine.h"
#include "astro/sky.h"
#include "cli/calendar_feed.h"
#include "cli/session.h"
#include "novastra_version.h"
#include "reports/stations.h"
#include "text/aspectarian_text.h"
#include "text/calendar_text.h"
#include "text/date_input.h"
#include "text/ephemeris_tables.h"
#include "text/export_formats.h"
#include "text/stations_text.h"

namespace novastra::cli {

namespace {

enum class Command { Ephemeris, Aspectarian, Stations };

// What the user typed; empty / -1 / 0 means "not given".
struct RunValues {
  std::string from, to;
  int days = 0;
  bool fullMonth = false;
  int noon = -1;   // 1 --noon, 0 --midnight
  int helio = -1;  // 1 --helio, 0 --geo
  std::string zodiac, node, table;
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
  std::string kinds, bodies;  // --kinds, --bodies (--format ics)
  bool kindsGiven = false, bodiesGiven = false;
};

// The run as resolved from the defaults, the settings (--use-settings) and the options.
struct RunPlan {
  RunParameters params;  // the choices, as the Input window holds them
  double startJD = 0;
  int dayCount = 0;
  TimeZone zone;           // Universal Time unless --tz (or the settings) name one
  bool localRows = false;  // ephemeris rows at the zone's midnight or noon
};

std::string Today() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return std::to_string(local.tm_mon + 1) + "/" + std::to_string(local.tm_mday) + "/" +
         std::to_string(local.tm_year + 1900);
}

// The fixed defaults: today, 30 days, noon, geocentric, tropical, true node,
// the longitude table, Moon ingresses shown.
bool Resolve(const RunValues& v, Command command, const Application& app, RunPlan& plan) {
  RunParameters p;
  p.FullMonth = false;
  p.NumberOfDays = 30;
  std::string start = Today();
  if (v.useSettings) {  // the desktop's choices; its start date is always today's
    // A settings file that is there but cannot be read (a FIFO, a folder, a
    // huge file) is told, as the desktop program tells it; a missing one is not.
    Settings unused;
    if (const std::string problem = ReadSettings(app.folder(), unused, p); !problem.empty())
      PrintError(problem + " The default settings are used.");
  }
  if (!v.from.empty()) start = v.from;
  std::string why;
  auto from = ParseDateInput(start, &why);
  if (!from) {
    PrintError((v.from.empty() ? "start date \"" : "--from \"") + start + "\": " + why);
    return false;
  }
  if (v.noon >= 0) p.Instant = v.noon == 1 ? InstantChoice::Noon : InstantChoice::Midnight;
  if (v.helio >= 0) p.Coords = v.helio == 1 ? Coordinates::Heliocentric : Coordinates::Geocentric;
  if (command == Command::Stations) {  // stations: geocentric, every event kept
    p.Coords = Coordinates::Geocentric;
    p.MoonChangeOnly = false;
  }
  if (v.zodiac == "tropical") p.ZodiacMode = Zodiac::Tropical;
  if (v.zodiac == "sidereal") p.ZodiacMode = Zodiac::Sidereal;
  if (v.zodiac == "ayanamsa") p.ZodiacMode = Zodiac::Ayanamsa;
  if (v.node == "mean") p.MoonNodes = NodeMode::Mean;
  if (v.node == "true") p.MoonNodes = NodeMode::True;
  if (v.node == "osculating") p.MoonNodes = NodeMode::Osculating;
  if (v.sky == "design") p.SkyChoice = Sky::Design;
  if (v.sky == "apparent") p.SkyChoice = Sky::Apparent;
  if (v.table == "longitude") p.Output = DataOutput::Longitude;
  if (v.table == "latitude") p.Output = DataOutput::Latitude;
  if (v.table == "ra") p.Output = DataOutput::RightAscension;
  if (v.table == "declination") p.Output = DataOutput::Declination;
  if (v.moonSignOnly) p.MoonChangeOnly = true;
  if (v.moonIngress == "display") p.MoonSign = MoonChangeSign::Display;
  if (v.moonIngress == "hide") p.MoonSign = MoonChangeSign::NoDisplay;

  if (v.days > 0 || !v.to.empty())
    p.FullMonth = v.fullMonth;
  else if (v.fullMonth)
    p.FullMonth = true;
  if (p.FullMonth) from->day = 1;
  plan.startJD = JulianDayNumber(from->year, from->month, from->day);
  if (!v.to.empty()) {
    auto to = ParseDateInput(v.to, &why);
    if (!to) {
      PrintError("--to \"" + v.to + "\": " + why);
      return false;
    }
    const double endJD = JulianDayNumber(to->year, to->month, to->day);
    if (endJD < plan.startJD) {
      PrintError("--to \"" + v.to + "\" is before the start date");
      return false;
    }
    plan.dayCount = static_cast<int>(endJD - plan.startJD) + 1;
  } else if (p.FullMonth) {
    plan.dayCount = DaysInMonth(from->year, from->month);
  } else {
    plan.dayCount = v.days > 0 ? v.days : std::clamp<int>(p.NumberOfDays, 1, kMaxDays);
  }
  const double lastJD = JulianDayNumber(kLastYear, 12, 31);
  if (plan.startJD + plan.dayCount - 1 > lastJD) {
    PrintError(
        "the run would end after 12/31/2100; the last day the program computes is 12/31/2100");
    return false;
  }
  if (!v.tz.empty()) p.TimeZoneName = v.tz;
  std::string zoneError;
  const std::optional<TimeZone> zone = TimeZone::Find(p.TimeZoneName, &zoneError);
  if (!zone) {
    // Without --tz the zone came from the desktop's settings: say so.
    PrintError((v.tz.empty() ? "TimeZone \"" : "--tz \"") + p.TimeZoneName + "\"" +
               (v.tz.empty() ? " of NOVASTRA.INI: " : ": ") + zoneError);
    return false;
  }
  plan.zone = *zone;
  plan.localRows = v.localRows || p.LocalRows;  // p.LocalRows only from --use-settings
  if (v.voidOfCourse) p.VoidOfCourse = true;
  p.StartMonth = std::to_string(from->month);
  p.StartDay = std::to_string(from->day);
  p.StartYear = std::to_string(from->year);
  plan.params = p;
  return true;
}

const char* ZodiacWord(Zodiac z) {
  return z == Zodiac::Sidereal ? "sidereal" : z == Zodiac::Ayanamsa ? "ayanamsa" : "tropical";
}

std::vector<std::pair<std::string, std::string>> JsonParameters(const RunPlan& s, Command command) {
  const RunParameters& p = s.params;
  std::vector<std::pair<std::string, std::string>> out = {
      {"from", IsoDate(s.startJD)},
      {"to", IsoDate(s.startJD + s.dayCount - 1)},
      {"days", std::to_string(s.dayCount)},
      {"coordinates", p.Coords == Coordinates::Heliocentric ? "heliocentric" : "geocentric"},
      {"zodiac", ZodiacWord(p.ZodiacMode)},
      {"node", p.MoonNodes == NodeMode::Mean         ? "mean"
               : p.MoonNodes == NodeMode::Osculating ? "osculating"
                                                     : "true"},
      {"sky", p.SkyChoice == Sky::Apparent ? "apparent" : "design"},
      {"time_scale", "UT"}};
  // Instants stay UT; with a zone the dates are the zone's and each line also
  // has its local instant (ephemeris: rows at local midnight or noon when asked).
  if (!s.zone.IsUniversal() && (command != Command::Ephemeris || s.localRows))
    out.push_back({"time_zone", s.zone.Name()});
  if (command == Command::Ephemeris) {
    const std::string hour = p.Instant == InstantChoice::Noon ? "12:00" : "00:00";
    out.push_back(
        {"instant", s.localRows && !s.zone.IsUniversal() ? hour + " " + s.zone.Name() : hour});
  }
  if (command == Command::Aspectarian) {
    out.push_back({"moon_ingress", p.MoonSign == MoonChangeSign::Display ? "display" : "hide"});
    out.push_back({"moon_sign_only", p.MoonChangeOnly ? "yes" : "no"});
  }
  return out;
}

HeaderInfo PieceHeader(const RunParameters& p, double startJD) {
  const bool midnight = p.Instant == InstantChoice::Midnight;
  return HeaderInfo{ZodiacLabel(p.ZodiacMode), DateTextFromJulianDay(startJD),
                    midnight ? "midnight" : "noon", midnight ? startJD - 0.5 : startJD};
}

// The ephemeris header of rows at the zone's midnight or noon: the zone's
// name for "Greenwich" and the Julian Day of the first row's instant.
HeaderInfo LocalPieceHeader(const RunParameters& p, const EphemerisDay& first,
                            const TimeZone& zone) {
  HeaderInfo info = PieceHeader(p, first.rowJD);
  info.displayJD = first.jd;
  info.place = zone.Name();
  return info;
}

// The Data Window's text of a run as printed: every line, then the blank line
// the display adds and the empty spare entry.
std::string ViewText(const std::vector<std::string>& lines, const TextStyle& style) {
  std::string out;
  for (const std::string& line : lines) {
    out += EncodeText(line, style);
    out += '\n';
  }
  return out + "\n\n";
}

// --save: the piece is run once more as the desktop program runs it, which
// writes its data files; false when a file could not be written.
bool SavePiece(Session& s, const RunPlan& plan, Command command, double startJD, int days) {
  Application& app = *s.app;
  RunParameters p = plan.params;
  SetStartDate(p, startJD);
  SetDaysText(p, std::to_string(days));
  p.FullMonth = false;
  p.SaveData = true;
  app.SetParams(p);
  const RunOutcome outcome =
      command == Command::Ephemeris ? app.CalculateEphemeris() : app.CalculateAspectarian();
  PrintMessages(s);
  return outcome == RunOutcome::Done;
}

int Run(const RunValues& v, Command command, const GlobalOptions& global) {
  Session s;
  if (!OpenSession(global, s)) return kReadWriteFailure;
  RunPlan plan;
  if (!Resolve(v, command, *s.app, plan)) return kUsageError;
  if (v.save && v.format == "text" && !LockFolderForSave(s)) return kReadWriteFailure;
  const RunParameters& p = plan.params;
  const Application& app = *s.app;
  CalendarFilter filter;
  if ((v.kindsGiven || v.bodiesGiven) && v.format != "ics") {
    PrintError(std::string(v.kindsGiven ? "--kinds" : "--bodies") + " goes with --format ics");
    return kUsageError;
  }
  if (!ResolveCalendarFilter(v.kindsGiven ? &v.kinds : nullptr, v.bodiesGiven ? &v.bodies : nullptr,
                             filter))
    return kUsageError;

  std::optional<std::filesystem::path> file;
  if (!v.output.empty()) file = v.output;
  OutputSink sink(file);
  if (sink.Failed()) {
    PrintError("cannot write " + sink.Name() + ": " + sink.Reason());
    return kReadWriteFailure;
  }
  const std::string format = v.format;
  // Minutes and seconds that round to 60 move into the next unit unless --no-carry.
  const bool carry = !v.noCarry;
  ProgressBar bar;
  RangeControl control;
  control.jobs = v.jobs > 0 ? v.jobs : std::max(1u, std::thread::hardware_concurrency());
  control.progress = [&bar](int done, int total) { bar.Update(done, total); };

  if (format == "json")
    sink.Write(JsonRunLine(novastra::kVersion,
                           command == Command::Ephemeris     ? "ephemeris"
                           : command == Command::Aspectarian ? "aspectarian"
                                                             : "stations",
                           JsonParameters(plan, command)));
  long long count = 0;
  bool saved = true;
  std::string chunk;
  bool ok;
  if (command == Command::Ephemeris) {
    if (format == "csv") sink.Write(DayCsvHeader());
    EphemerisRequest request;
    request.tables = &app.series();
    request.engine = EngineChoices{p.ZodiacMode, p.MoonNodes};
    request.engine.sky = p.SkyChoice;
    request.ayanamsa = app.options().Ayanamsa();
    request.startJD = plan.startJD;
    request.dayFraction = p.Instant == InstantChoice::Noon ? 0.5 : 0;
    request.dayCount = plan.dayCount;
    if (plan.localRows) request.localZone = &plan.zone;
    const bool raHours = app.options()[11] != 0;
    ok = RunEphemerisRange(request, control, [&](const EphemerisReport& piece) {
      chunk.clear();
      if (format == "csv") {
        AppendEphemerisCsv(chunk, piece);
      } else if (format == "json") {
        for (const EphemerisDay& day : piece.days) AppendDayJson(chunk, day);
      } else {
        const double start = piece.days.front().rowJD;
        const HeaderInfo info = request.localZone && !plan.zone.IsUniversal()
                                    ? LocalPieceHeader(p, piece.days.front(), plan.zone)
                                    : PieceHeader(p, start);
        std::vector<std::string> lines =
            EphemerisTableLines(ChosenColumnSet(p), piece, info, raHours, true, carry);
        lines.emplace_back();  // the table's spare entry
        chunk = ViewText(lines, s.style);
        if (v.save)
          saved = SavePiece(s, plan, command, start, static_cast<int>(piece.days.size())) && saved;
      }
      count += static_cast<long long>(piece.days.size());
      return sink.Write(chunk);
    });
  } else {
    if (format == "csv") sink.Write(EventCsvHeader());
    AspectarianRequest request;
    request.sky.tables = &app.series();
    request.sky.choices = EngineChoices{p.ZodiacMode, p.MoonNodes};
    request.sky.choices.sky = p.SkyChoice;
    request.sky.ayanamsa = app.options().Ayanamsa();
    request.sky.coords = p.Coords;
    request.choices.coords = p.Coords;
    request.choices.moonChangeOnly = p.MoonChangeOnly;
    request.choices.moonSign = p.MoonSign;
    request.choices.option12 = app.options()[12];
    request.startJD = plan.startJD;
    request.dayCount = plan.dayCount;
    CalendarChoices calendar;
    calendar.zone = plan.zone;
    calendar.voidOfCourse = p.VoidOfCourse && p.Coords == Coordinates::Geocentric;
    calendar.stationDirection = app.options()[13] != 0;
    const TimeZone* zone = &plan.zone;
    std::optional<CalendarFeedWriter> feed;
    if (format == "ics") {
      IcalOptions o;
      o.zone = plan.zone;
      o.coords = p.Coords;
      o.symbols = global.symbols != "ascii";
      o.stampJD = 2440587.5 + static_cast<double>(std::time(nullptr)) / 86400.0;
      o.name = command == Command::Stations ? "NOVASTRA stations" : "NOVASTRA aspectarian";
      feed.emplace(o, filter, plan.startJD, plan.dayCount);
      sink.Write(feed->Begin());
    }
    auto emit = [&](const AspectarianReport& piece) {
      chunk.clear();
      if (command == Command::Stations) {
        const std::vector<Station> stations = BuildStations(request.sky, piece.events);
        if (feed) {
          feed->AppendStations(chunk, stations);
        } else if (format == "csv") {
          for (const Station& st : stations) AppendStationCsv(chunk, st, zone);
        } else if (format == "json") {
          for (const Station& st : stations) AppendStationJson(chunk, st, zone);
        } else if (!stations.empty()) {
          const std::string text = calendar.Plain() ? StationsListText(stations, carry)
                                                    : CalendarStationsText(stations, calendar);
          for (char c : text)
            if (c != '\r') chunk += c;
          chunk = EncodeText(chunk, s.style);
        }
        count += static_cast<long long>(stations.size());
      } else {
        if (feed) {
          feed->AppendPiece(chunk, piece);
        } else if (format == "csv" || format == "json") {
          // The void periods in time order among the events, by their start.
          size_t k = 0;
          auto voidsUntil = [&](double jd) {
            for (; k < piece.voids.size() && piece.voids[k].startJD <= jd; ++k, ++count) {
              if (format == "csv")
                AppendVoidCsv(chunk, piece.voids[k], zone);
              else
                AppendVoidJson(chunk, piece.voids[k], zone);
            }
          };
          for (const Event& e : piece.events) {
            voidsUntil(e.jd - 1e-9);
            if (format == "csv")
              AppendEventCsv(chunk, e, p.Coords, zone);
            else
              AppendEventJson(chunk, e, p.Coords, zone);
          }
          voidsUntil(std::numeric_limits<double>::infinity());
        } else {
          const HeaderInfo info = PieceHeader(p, piece.startJD);
          const std::vector<std::string> lines =
              calendar.Plain() ? AspectarianLines(piece, info, p.Coords, carry)
                               : CalendarAspectarianLines(piece, info, p.Coords, calendar,
                                                          piece.startJD, piece.dayCount);
          chunk = ViewText(app.options()[5] == 0 ? lines : TwoColumnLines(lines), s.style);
          if (v.save) saved = SavePiece(s, plan, command, piece.startJD, piece.dayCount) && saved;
        }
        count += static_cast<long long>(piece.events.size());
      }
      return sink.Write(chunk);
    };
    // The plain text of a UT run is found day by day as the Data Window's runs
    // are; local dates and void periods need the days around each piece.
    const bool zoned = !calendar.Plain() || (format != "text" && command == Command::Aspectarian);
    ok = zoned ? RunZonedAspectarianRange(request, plan.zone, control, emit)
               : RunAspectarianRange(request, control, emit);
    if (ok && feed) sink.Write(feed->End());
  }
  if (ok && format == "json") sink.Write(JsonEndLine(count));
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
  return saved ? kDone : kReadWriteFailure;
}

void AddCommand(CLI::App& app, Command command, const GlobalOptions& global, int& status) {
  static constexpr const char* kNames[] = {"ephemeris", "aspectarian", "stations"};
  static constexpr const char* kHelp[] = {
      "Daily positions of the Sun, Moon, Mercury to Pluto and the lunar node (six tables)",
      "Aspects, parallels, ingresses, stations and lunations to the minute (UT)",
      "Changes in direction (UT) of Mercury to Pluto, refined to the minute"};
  auto v = std::make_shared<RunValues>();
  CLI::App* sub =
      app.add_subcommand(kNames[static_cast<int>(command)], kHelp[static_cast<int>(command)]);
  sub->fallthrough();
  CLI::Option* from =
      sub->add_option("--from,--start", v->from, "First day, M/D/YYYY or YYYY-MM-DD (1800..2100)")
          ->type_name("DATE")
          ->default_str("today");
  CLI::Option* to = sub->add_option("--to", v->to,
                                    "Last day, M/D/YYYY or YYYY-MM-DD; any range inside 1800..2100")
                        ->type_name("DATE");
  CLI::Option* days = sub->add_option("--days", v->days, "Number of days, 1..366")
                          ->check(CLI::Range(1, 366))
                          ->default_str("30");
  CLI::Option* month =
      sub->add_flag("--full-month", v->fullMonth, "The whole month of the start date");
  days->excludes(to);
  month->excludes(to)->excludes(days);
  (void)from;
  auto pair = [sub](const std::string& on, const std::string& off, int& target,
                    const std::string& help) {
    auto set = [&target](int value) { return [&target, value](std::int64_t) { target = value; }; };
    CLI::Option* a = sub->add_flag_function(on, set(1), help);
    CLI::Option* b = sub->add_flag_function(off, set(0));
    a->excludes(b);
  };
  if (command != Command::Stations) {
    pair("--noon", "--midnight", v->noon,
         command == Command::Ephemeris
             ? "Positions at 12h UT (--noon, the default) or 0h UT (--midnight)"
             : "Header names noon (the default) or midnight (--midnight)");
    pair("--helio", "--geo", v->helio,
         "Heliocentric (--helio) or geocentric (--geo, the default) coordinates");
  }
  sub->add_option("--zodiac", v->zodiac, "tropical, sidereal or ayanamsa")
      ->check(CLI::IsMember({"tropical", "sidereal", "ayanamsa"}))
      ->default_str("tropical");
  sub->add_option("--node", v->node, "Lunar node: mean, true or osculating")
      ->check(CLI::IsMember({"mean", "true", "osculating"}))
      ->default_str("true");
  sub->add_option("--sky", v->sky,
                  "design, or apparent (delta T, nutation, aberration, light-time)")
      ->check(CLI::IsMember({"design", "apparent"}))
      ->default_str("design");
  sub->add_flag("--no-carry", v->noCarry,
                "Text format: print minutes and seconds that round to 60 as 60");
  if (command == Command::Ephemeris)
    sub->add_option("--table", v->table,
                    "Text format: the table shown: longitude, latitude, ra or declination")
        ->check(CLI::IsMember({"longitude", "latitude", "ra", "declination"}))
        ->default_str("longitude");
  if (command == Command::Aspectarian) {
    sub->add_flag("--moon-sign-only", v->moonSignOnly,
                  "List only the Moon's ingresses of the Moon's events");
    sub->add_option("--moon-ingress", v->moonIngress, "Moon ingresses: display or hide")
        ->check(CLI::IsMember({"display", "hide"}))
        ->default_str("display");
  }
  sub->add_option("--format", v->format,
                  command == Command::Ephemeris
                      ? "text (tables as the Data Window shows them), csv (one row per day, all "
                        "six tables) or json (JSON Lines)"
                      : "text (as the Data Window shows it), csv (one row per event), json (JSON "
                        "Lines) or ics "
                        "(an iCalendar file for calendar programs)")
      ->check(command == Command::Ephemeris ? CLI::IsMember({"text", "csv", "json"})
                                            : CLI::IsMember({"text", "csv", "json", "ics"}))
      ->capture_default_str();
  if (command == Command::Aspectarian)
    sub->add_option(
           "--kinds", v->kinds,
           "With --format ics: the events exported, a comma list of aspects, parallels, ingresses, "
           "stations, lunations, void")
        ->type_name("LIST")
        ->default_str("all");
  if (command != Command::Ephemeris)
    sub->add_option(
           "--bodies", v->bodies,
           "With --format ics: the bodies, a comma list of sun moon mercury venus mars jupiter "
           "saturn "
           "uranus neptune pluto node (an event is kept when every body it names is chosen)")
        ->type_name("LIST")
        ->default_str("all");
  sub->add_option("-o,--output", v->output,
                  "Write to FILE (complete or not at all) instead of standard output")
      ->type_name("FILE");
  if (command != Command::Stations)
    sub->add_flag("--save", v->save,
                  "Text format: also save the run's data files in the application folder");
  sub->add_flag(
      "--use-settings", v->useSettings,
      "Start from the desktop program's saved choices (NOVASTRA.INI) instead of the defaults");
  sub->add_option("--jobs", v->jobs, "Threads for long runs (default: one per core)")
      ->check(CLI::Range(1, 64));
  CLI::Option* tz =
      sub->add_option("--tz", v->tz,
                      command == Command::Ephemeris
                          ? "Time zone (IANA name, e.g. America/New_York) of --local-rows"
                          : "Times and dates in this zone (IANA name, e.g. America/New_York); CSV "
                            "and JSON add local instants")
          ->type_name("ZONE")
          ->default_str("UT");
  if (command == Command::Ephemeris)
    sub->add_flag("--local-rows", v->localRows,
                  "Rows at midnight or noon of the --tz zone instead of 0h or 12h UT");
  (void)tz;
  if (command == Command::Aspectarian)
    sub->add_flag("--void-of-course", v->voidOfCourse,
                  "Text format: a \"Moon void of course\" line where each period starts (CSV and "
                  "JSON always list them)");
  sub->callback([v, sub, command, &global, &status] {
    // An empty list given is refused, so whether each was given is kept.
    const CLI::Option* kinds = sub->get_option_no_throw("--kinds");
    const CLI::Option* bodies = sub->get_option_no_throw("--bodies");
    v->kindsGiven = kinds && kinds->count() > 0;
    v->bodiesGiven = bodies && bodies->count() > 0;
    status = Run(*v, command, global);
  });
}

}  // namespace

void AddRunCommands(CLI::App& app, const GlobalOptions& global, int& status) {
  AddCommand(app, Command::Ephemeris, global, status);
  AddCommand(app, Command::Aspectarian, global, status);
  AddCommand(app, Command::Stations, global, status);
}

}  // namespace novastra::cli
