#include "text/export_formats.h"

#include <fmt/format.h>

#include <iterator>
#include <nlohmann/json.hpp>
#include <optional>

#include "astro/angles.h"
#include "text/date_input.h"

namespace novastra {

namespace {

using Json = nlohmann::ordered_json;

constexpr const char* kBodyKeys[] = {"",       "sun",     "moon",    "mercury",
                                     "venus",  "mars",    "jupiter", "saturn",
                                     "uranus", "neptune", "pluto",   "north_node"};
constexpr const char* kBodyNames[] = {"",       "Sun",     "Moon",    "Mercury",
                                      "Venus",  "Mars",    "Jupiter", "Saturn",
                                      "Uranus", "Neptune", "Pluto",   "North Node"};
constexpr const char* kSignNames[] = {"",          "Aries",    "Taurus", "Gemini",  "Cancer",
                                      "Leo",       "Virgo",    "Libra",  "Scorpio", "Sagittarius",
                                      "Capricorn", "Aquarius", "Pisces"};
constexpr const char* kAspectNames[] = {"",       "conjunction", "sextile",
                                        "square", "trine",       "opposition"};

// The Moon and the node have no heliocentric place.
bool HasHelio(int body) { return body != kMoon && body != kNorthNode; }

// Shortest text that reads back as the same double.
void AppendNumber(std::string& out, double v) { fmt::format_to(std::back_inserter(out), "{}", v); }

const char* DirectionName(Direction d) {
  return d == Direction::Retrograde ? "retrograde" : "direct";
}
const char* EclipseName(Eclipse e) {
  return e == Eclipse::Solar ? "solar" : e == Eclipse::Lunar ? "lunar" : "";
}

bool IsLocal(const TimeZone* zone) { return zone && !zone->IsUniversal(); }

// The columns after longitude: end (UT), local_instant, local_end.
void AppendEnds(std::string& out, double startJD, std::optional<double> endJD,
                const TimeZone* zone) {
  out += ',';
  if (endJD) out += IsoInstant(*endJD);
  out += ',';
  if (IsLocal(zone)) out += LocalIsoInstant(startJD, *zone);
  out += ',';
  if (endJD && IsLocal(zone)) out += LocalIsoInstant(*endJD, *zone);
  out += "\r\n";
}

}  // namespace

const char* BodyKey(int body) { return body >= 1 && body <= 11 ? kBodyKeys[body] : ""; }
const char* BodyName(int body, Coordinates coords) {
  if (body == kSun && coords == Coordinates::Heliocentric) return "Earth";
  return body >= 1 && body <= 11 ? kBodyNames[body] : "";
}
const char* SignName(int sign) { return sign >= 1 && sign <= 12 ? kSignNames[sign] : ""; }
const char* AspectName(int aspect) {
  return aspect >= 1 && aspect <= 5 ? kAspectNames[aspect] : "";
}
const char* EventKindName(EventKind kind) {
  switch (kind) {
    case EventKind::Aspect: return "aspect";
    case EventKind::Parallel: return "parallel";
    case EventKind::Contraparallel: return "contraparallel";
    case EventKind::Ingress: return "ingress";
    case EventKind::Station: return "station";
    case EventKind::Lunation: return "lunation";
  }
  return "";
}

// ---- CSV: every field is a number or one of the fixed words above, so no
// field ever needs quoting. ----

std::string DayCsvHeader(bool retrograde) {
  std::string h = "date,instant,jd,sidereal_time_s";
  for (int b = 1; b <= 11; ++b) {
    const std::string k = BodyKey(b);
    const std::string helio = b == kSun ? "earth" : k;
    h += "," + k + "_longitude," + k + "_latitude," + k + "_ra," + k + "_declination," + helio +
         "_helio_longitude," + helio + "_helio_latitude";
    if (retrograde) h += "," + k + "_retrograde";
  }
  return h + "\r\n";
}

void AppendDayCsv(std::string& out, const EphemerisDay& day, bool retrograde) {
  const BodyPositions& p = day.positions;
  out += IsoDate(day.rowJD);
  out += ',';
  out += IsoInstant(day.jd);
  out += ',';
  AppendNumber(out, day.jd);
  out += ',';
  AppendNumber(out, day.siderealSeconds);
  for (int b = 1; b <= 11; ++b) {
    for (double v : {p.Longitude[b], p.Latitude[b], p.RightAscension[b], p.Declination[b]}) {
      out += ',';
      AppendNumber(out, v);
    }
    for (double v : {p.HelioLongitude[b], p.HelioLatitude[b]}) {
      out += ',';
      if (HasHelio(b)) AppendNumber(out, v);
    }
    if (retrograde) out += day.retrograde[b] ? ",1" : ",0";
  }
  out += "\r\n";
}

void AppendEphemerisCsv(std::string& out, const EphemerisReport& report) {
  for (const EphemerisDay& day : report.days) AppendDayCsv(out, day);
}

std::string LocalIsoInstant(double jd, const TimeZone& zone) {
  const int offset = zone.At(jd).offsetMinutes;
  std::string text = IsoInstant(jd + offset / 1440.0);
  text.pop_back();  // the "Z"
  return text + OffsetText(offset);
}

std::string EventCsvHeader() {
  return "instant,kind,body,other,aspect,sign,direction,eclipse,longitude,end,local_instant,local_"
         "end\r\n";
}

void AppendEventCsv(std::string& out, const Event& e, Coordinates coords, const TimeZone* zone) {
  const bool pair = e.kind == EventKind::Aspect || e.kind == EventKind::Lunation ||
                    e.kind == EventKind::Parallel || e.kind == EventKind::Contraparallel;
  const bool aspect = e.kind == EventKind::Aspect || e.kind == EventKind::Lunation;
  out += IsoInstant(e.jd);
  out += ',';
  out += EventKindName(e.kind);
  out += ',';
  out += BodyName(e.body, coords);
  out += ',';
  if (pair) out += BodyName(e.other, coords);
  out += ',';
  if (aspect) out += AspectName(e.aspect);
  out += ',';
  if (e.kind == EventKind::Ingress) out += SignName(e.sign);
  out += ',';
  if (e.kind == EventKind::Station) out += DirectionName(e.direction);
  out += ',';
  out += EclipseName(e.eclipse);
  out += ',';
  if (e.kind == EventKind::Lunation) AppendNumber(out, e.moonLongitude);
  AppendEnds(out, e.jd, std::nullopt, zone);
}

void AppendVoidCsv(std::string& out, const VoidOfCourse& v, const TimeZone* zone) {
  out += IsoInstant(v.startJD);
  out += ",void_of_course,Moon,,,";
  out += SignName(v.signEntered);
  out += ",,,";
  AppendEnds(out, v.startJD, v.endJD, zone);
}

void AppendStationCsv(std::string& out, const Station& s, const TimeZone* zone) {
  out += IsoInstant(s.jd);
  out += ",station,";
  out += BodyName(s.body, Coordinates::Geocentric);
  out += ",,,";
  out += SignName(SignOf(NormalizeDegrees(s.longitude)));
  out += ',';
  out += DirectionName(s.direction);
  out += ",,";
  AppendNumber(out, s.longitude);
  AppendEnds(out, s.jd, std::nullopt, zone);
}

// ---- JSON Lines ----

std::string JsonRunLine(const std::string& version, const std::string& command,
                        const std::vector<std::pair<std::string, std::string>>& parameters) {
  Json params = Json::object();
  for (const auto& [key, value] : parameters) params[key] = value;
  Json j = {{"type", "run"},
            {"program", "novastra"},
            {"version", version},
            {"command", command},
            {"parameters", params}};
  return j.dump() + "\n";
}

void AppendDayJson(std::string& out, const EphemerisDay& day, bool retrograde) {
  const BodyPositions& p = day.positions;
  Json bodies = Json::object();
  for (int b = 1; b <= 11; ++b) {
    Json body = {{"longitude", p.Longitude[b]},
                 {"latitude", p.Latitude[b]},
                 {"ra", p.RightAscension[b]},
                 {"declination", p.Declination[b]}};
    if (HasHelio(b)) {
      body["helio_longitude"] = p.HelioLongitude[b];
      body["helio_latitude"] = p.HelioLatitude[b];
    }
    if (retrograde) body["retrograde"] = day.retrograde[b];
    bodies[BodyKey(b)] = std::move(body);
  }
  Json j = {{"type", "day"},
            {"date", IsoDate(day.rowJD)},
            {"instant", IsoInstant(day.jd)},
            {"jd", day.jd},
            {"sidereal_time_s", day.siderealSeconds},
            {"bodies", std::move(bodies)}};
  out += j.dump();
  out += '\n';
}

void AppendEventJson(std::string& out, const Event& e, Coordinates coords, const TimeZone* zone) {
  Json j = {{"type", "event"}, {"instant", IsoInstant(e.jd)}, {"jd", e.jd}};
  if (IsLocal(zone)) j["local_instant"] = LocalIsoInstant(e.jd, *zone);
  j["kind"] = EventKindName(e.kind);
  j["body"] = BodyName(e.body, coords);
  switch (e.kind) {
    case EventKind::Aspect:
    case EventKind::Lunation:
      j["other"] = BodyName(e.other, coords);
      j["aspect"] = AspectName(e.aspect);
      if (e.kind == EventKind::Lunation) {
        j["moon_longitude"] = e.moonLongitude;
        j["eclipse"] = e.eclipse == Eclipse::None ? Json(nullptr) : Json(EclipseName(e.eclipse));
      }
      break;
    case EventKind::Parallel:
    case EventKind::Contraparallel: j["other"] = BodyName(e.other, coords); break;
    case EventKind::Ingress: j["sign"] = SignName(e.sign); break;
    case EventKind::Station: j["direction"] = DirectionName(e.direction); break;
  }
  out += j.dump();
  out += '\n';
}

void AppendStationJson(std::string& out, const Station& s, const TimeZone* zone) {
  Json j = {{"type", "station"}, {"instant", IsoInstant(s.jd)}, {"jd", s.jd}};
  if (IsLocal(zone)) j["local_instant"] = LocalIsoInstant(s.jd, *zone);
  j["body"] = BodyName(s.body, Coordinates::Geocentric);
  j["direction"] = DirectionName(s.direction);
  j["longitude"] = s.longitude;
  j["sign"] = SignName(SignOf(NormalizeDegrees(s.longitude)));
  out += j.dump();
  out += '\n';
}

void AppendVoidJson(std::string& out, const VoidOfCourse& v, const TimeZone* zone) {
  Json j = {{"type", "void_of_course"},
            {"instant", IsoInstant(v.startJD)},
            {"jd", v.startJD},
            {"end", IsoInstant(v.endJD)},
            {"end_jd", v.endJD}};
  if (IsLocal(zone)) {
    j["local_instant"] = LocalIsoInstant(v.startJD, *zone);
    j["local_end"] = LocalIsoInstant(v.endJD, *zone);
  }
  j["sign_left"] = SignName(v.signLeft);
  j["sign_entered"] = SignName(v.signEntered);
  // The aspect that starts the period.
  j["last_aspect"] = {{"body", BodyName(v.lastAspect.body, Coordinates::Geocentric)},
                      {"other", BodyName(v.lastAspect.other, Coordinates::Geocentric)},
                      {"aspect", AspectName(v.lastAspect.aspect)}};
  out += j.dump();
  out += '\n';
}

std::string JsonEndLine(long long count) {
  return Json{{"type", "end"}, {"count", count}}.dump() + "\n";
}

}  // namespace novastra
