// A range command's run as resolved from the fixed defaults, the desktop's
// settings (--use-settings) and the options typed, and the parts of the run
// the commands' computations share.
#include <algorithm>
#include <ctime>
#include <initializer_list>
#include <optional>
#include <string>
#include <utility>

#include "app/input_check.h"
#include "app/settings.h"
#include "astro/calendar.h"
#include "cli/range_command.h"
#include "text/ical_export.h"
#include "text/date_input.h"

namespace novastra::cli {

namespace {

std::string Today() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return std::to_string(local.tm_mon + 1) + "/" + std::to_string(local.tm_mday) + "/" +
         std::to_string(local.tm_year + 1900);
}

// The fixed defaults (30 days, noon, geocentric, tropical, true node, the
// longitude table, Moon ingresses shown), or the desktop's choices with
// --use-settings.
RunParameters StartingChoices(const RunValues& v, const Application& app) {
  RunParameters p;
  p.FullMonth = false;
  p.NumberOfDays = 30;
  if (v.useSettings) {  // the desktop's choices; its start date is always today's
    // A settings file that is there but cannot be read (a FIFO, a folder, a
    // huge file) is told, as the desktop program tells it; a missing one is not.
    Settings unused;
    if (const std::string problem = ReadSettings(app.folder(), unused, p); !problem.empty())
      PrintError(problem + " The default settings are used.");
  }
  return p;
}

// target = the choice named by word, when it names one (an option not given
// is the empty word and names none).
template <class T>
void Choose(const std::string& word, std::initializer_list<std::pair<const char*, T>> choices,
            T& target) {
  for (const auto& [name, value] : choices)
    if (word == name) target = value;
}

// The choices the options name, over the defaults or the settings.
void ApplyChoices(const RunValues& v, const RangeCommand& command, RunParameters& p) {
  if (v.noon >= 0) p.Instant = v.noon == 1 ? InstantChoice::Noon : InstantChoice::Midnight;
  if (v.helio >= 0) p.Coords = v.helio == 1 ? Coordinates::Heliocentric : Coordinates::Geocentric;
  if (command.adjust) command.adjust(p);  // e.g. stations: geocentric, every event kept
  Choose(v.zodiac,
         {{"tropical", Zodiac::Tropical}, {"sidereal", Zodiac::Sidereal},
          {"ayanamsa", Zodiac::Ayanamsa}},
         p.ZodiacMode);
  Choose(v.node,
         {{"mean", NodeMode::Mean}, {"true", NodeMode::True}, {"osculating", NodeMode::Osculating}},
         p.MoonNodes);
  Choose(v.sky, {{"design", Sky::Design}, {"apparent", Sky::Apparent}}, p.SkyChoice);
  Choose(v.table,
         {{"longitude", DataOutput::Longitude}, {"latitude", DataOutput::Latitude},
          {"ra", DataOutput::RightAscension}, {"declination", DataOutput::Declination}},
         p.Output);
  if (v.moonSignOnly) p.MoonChangeOnly = true;
  Choose(v.moonIngress,
         {{"display", MoonChangeSign::Display}, {"hide", MoonChangeSign::NoDisplay}}, p.MoonSign);
  if (v.days > 0 || !v.to.empty())
    p.FullMonth = v.fullMonth;
  else if (v.fullMonth)
    p.FullMonth = true;
}

// The first day and the number of days: --to, the whole month, --days or
// the settings' number. A run of --days or --full-month may start on any day
// up to 12/31/2100 and run on past it, as the desktop program's runs do;
// --to cannot pass 2100.
bool ResolveDays(const RunValues& v, const RunParameters& p, CivilDate& from, RunPlan& plan) {
  if (p.FullMonth) from.day = 1;
  plan.startJD = JulianDayNumber(from.year, from.month, from.day);
  if (!v.to.empty()) {
    std::string why;
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
    plan.dayCount = DaysInMonth(from.year, from.month);
  } else {
    plan.dayCount = v.days > 0 ? v.days : std::clamp<int>(p.NumberOfDays, 1, kMaxDays);
  }
  return true;
}

// The time zone of --tz or of the settings.
bool ResolveZone(const RunValues& v, RunParameters& p, RunPlan& plan) {
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
  return true;
}

}  // namespace

bool ResolvePlan(const RunValues& v, const RangeCommand& command, const Application& app,
                 RunPlan& plan) {
  RunParameters p = StartingChoices(v, app);
  const std::string start = v.from.empty() ? Today() : v.from;
  std::string why;
  auto from = ParseDateInput(start, &why);
  if (!from) {
    PrintError((v.from.empty() ? "start date \"" : "--from \"") + start + "\": " + why);
    return false;
  }
  ApplyChoices(v, command, p);
  const AyanamsaChoice ayanamsa = ChooseAyanamsa(v.ayanamsa, v.zodiac);
  if (!ayanamsa.error.empty()) {
    PrintError("--ayanamsa \"" + v.ayanamsa + "\": " + ayanamsa.error);
    return false;
  }
  if (!v.ayanamsa.empty()) p.SiderealAyanamsa = ayanamsa.named;
  if (!ResolveDays(v, p, *from, plan) || !ResolveZone(v, p, plan)) return false;
  if (!v.aspects.empty() && !ParseAspectList(v.aspects, p.Aspects, why)) {
    PrintError("--aspects \"" + v.aspects + "\": " + why);
    return false;
  }
  plan.localRows = v.localRows || p.LocalRows;  // p.LocalRows only from --use-settings
  if (v.voidOfCourse) p.VoidOfCourse = true;
  p.StartMonth = std::to_string(from->month);
  p.StartDay = std::to_string(from->day);
  p.StartYear = std::to_string(from->year);
  plan.params = p;
  return true;
}

CalendarChoices CalendarChoicesOf(const RunPlan& plan, const Application& app) {
  CalendarChoices calendar;
  calendar.zone = plan.zone;
  calendar.voidOfCourse =
      plan.params.VoidOfCourse && plan.params.Coords == Coordinates::Geocentric;
  calendar.stationDirection = app.options()[13] != 0;
  return calendar;
}

void AddZoneParameter(const RunPlan& plan, JsonParameters& out) {
  // Instants stay UT; with a zone the dates are the zone's and each line also
  // has its local instant.
  if (!plan.zone.IsUniversal()) out.emplace_back("time_zone", plan.zone.Name());
}

AspectarianRequest AspectarianRequestOf(const RunPlan& plan, const Application& app) {
  const RunParameters& p = plan.params;
  AspectarianRequest request;
  request.sky.tables = &app.series();
  request.sky.choices = EngineChoices{p.ZodiacMode, p.MoonNodes};
  request.sky.choices.sky = p.SkyChoice;
  request.sky.ayanamsa = app.options().Ayanamsa(p.ZodiacMode, p.SiderealAyanamsa);
  request.sky.coords = p.Coords;
  request.choices.coords = p.Coords;
  request.choices.moonChangeOnly = p.MoonChangeOnly;
  request.choices.aspects = p.Aspects;
  request.choices.moonSign = p.MoonSign;
  request.choices.option12 = app.options()[12];
  request.startJD = plan.startJD;
  request.dayCount = plan.dayCount;
  // --bodies: the minor bodies' events, once their series are read.
  request.minorTables = app.minor();
  request.minor = plan.minor;
  return request;
}

}  // namespace novastra::cli
