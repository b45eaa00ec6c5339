#include "text/export_formats.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <nlohmann/json.hpp>
#include <optional>
#include <regex>
#include <string>
#include <utility>

#include "astro/angles.h"
#include "reports/minor_events.h"
#include "text/date_input.h"
#include "text/eclipse_text.h"

namespace novastra {

// The shortest digits that read back as the same double (Dragonbox, as
// {fmt} finds them: Jeon 2020, "Dragonbox: a new floating-point binary-to-
// decimal conversion algorithm"), laid out as {fmt}'s "{}" lays them out:
// fixed notation for decimal exponents -4 to 15, else d.ddde+XX. The CSV rows
// write millions of numbers, and laying the digits out here halves the time
// of a formatted write; the layout is checked against {fmt} in the tests.
void AppendShortest(std::string& out, double v) {
  if (!std::isfinite(v) || v == 0) {
    out += fmt::format("{}", v);
    return;
  }
  const auto decimal = fmt::detail::dragonbox::to_decimal(std::fabs(v));
  // The significand's digits (at most 17), two at a time from the right.
  static constexpr char kPairs[] =
      "0001020304050607080910111213141516171819202122232425262728293031323334353637383940414243444546"
      "4748495051525354555657585960616263646566676869707172737475767778798081828384858687888990919293"
      "949596979899";
  char digits[20];
  char* first = digits + sizeof digits;
  std::uint64_t m = decimal.significand;
  do {
    if (m >= 10) {
      const auto pair = static_cast<std::size_t>(m % 100) * 2;
      m /= 100;
      *--first = kPairs[pair + 1];
      *--first = kPairs[pair];
      if (m == 0 && *first == '0') ++first;
    } else {
      *--first = static_cast<char>('0' + m);
      m = 0;
    }
  } while (m != 0);
  const int n = static_cast<int>(digits + sizeof digits - first);
  // The decimal exponent of the first digit.
  const int exponent = decimal.exponent + n - 1;
  char text[40];
  char* p = text;
  if (std::signbit(v)) *p++ = '-';
  const auto copy = [&p](const char* from, int count) {
    std::memcpy(p, from, static_cast<std::size_t>(count));
    p += count;
  };
  if (exponent < -4 || exponent >= 16) {
    *p++ = first[0];
    if (n > 1) {
      *p++ = '.';
      copy(first + 1, n - 1);
    }
    *p++ = 'e';
    *p++ = exponent < 0 ? '-' : '+';
    int e = std::abs(exponent);
    if (e >= 100) {
      *p++ = static_cast<char>('0' + e / 100);
      e %= 100;
    }
    copy(kPairs + 2 * static_cast<std::size_t>(e), 2);
  } else if (exponent < 0) {
    *p++ = '0';
    *p++ = '.';
    for (int k = 0; k < -exponent - 1; ++k) *p++ = '0';
    copy(first, n);
  } else if (n <= exponent + 1) {
    copy(first, n);
    for (int k = 0; k < exponent + 1 - n; ++k) *p++ = '0';
  } else {
    copy(first, exponent + 1);
    *p++ = '.';
    copy(first + exponent + 1, n - exponent - 1);
  }
  out.append(text, p);
}

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
constexpr const char* kAspectNames[] = {"",         "conjunction",    "sextile",     "square",
                                        "trine",    "opposition",     "semisextile", "semisquare",
                                        "quintile", "sesquiquadrate", "biquintile",  "quincunx"};

// The Moon and the node have no heliocentric place.
bool HasHelio(int body) { return body != kMoon && body != kNorthNode; }

const char* DirectionName(Direction d) {
  return d == Direction::Retrograde ? "retrograde" : "direct";
}
const char* EclipseName(Eclipse e) {
  return e == Eclipse::Solar ? "solar" : e == Eclipse::Lunar ? "lunar" : "";
}

bool IsLocal(const TimeZone* zone) { return zone && !zone->IsUniversal(); }

// The columns of every body in the ephemeris's CSV rows and JSON lines, in
// their order: the name after the body's key and the value. A heliocentric
// column is empty (CSV) or absent (JSON) for the Moon and the node, and named
// after the Earth for the Sun. A new column is one line here.
struct BodyColumn {
  const char* name;
  bool helio;
  double (*value)(const BodyPositions& p, int body);
};
constexpr BodyColumn kBodyColumns[] = {
    {"longitude", false, [](const BodyPositions& p, int b) { return p.Longitude[b]; }},
    {"latitude", false, [](const BodyPositions& p, int b) { return p.Latitude[b]; }},
    {"ra", false, [](const BodyPositions& p, int b) { return p.RightAscension[b]; }},
    {"declination", false, [](const BodyPositions& p, int b) { return p.Declination[b]; }},
    {"helio_longitude", true, [](const BodyPositions& p, int b) { return p.HelioLongitude[b]; }},
    {"helio_latitude", true, [](const BodyPositions& p, int b) { return p.HelioLatitude[b]; }},
};

// One row of the events' CSV (aspects and the rest, void periods, stations):
// each kind of result fills the fields it has, the others stay empty.
struct EventFields {
  std::string instant, kind, body, other, aspect, sign, direction, eclipse, longitude;
  std::string end, localInstant, localEnd;
  std::string eclipseType, eclipseInstant, eclipseMagnitude, saros, sarosMember;
  std::string phase;
};
// The events' columns in their order; a new column is one line here and the
// field set by the results that have it.
constexpr std::pair<const char*, std::string EventFields::*> kEventColumns[] = {
    {"instant", &EventFields::instant},
    {"kind", &EventFields::kind},
    {"body", &EventFields::body},
    {"other", &EventFields::other},
    {"aspect", &EventFields::aspect},
    {"sign", &EventFields::sign},
    {"direction", &EventFields::direction},
    {"eclipse", &EventFields::eclipse},
    {"longitude", &EventFields::longitude},
    {"end", &EventFields::end},
    {"local_instant", &EventFields::localInstant},
    {"local_end", &EventFields::localEnd},
    {"eclipse_type", &EventFields::eclipseType},
    {"eclipse_instant", &EventFields::eclipseInstant},
    {"eclipse_magnitude", &EventFields::eclipseMagnitude},
    {"saros", &EventFields::saros},
    {"saros_member", &EventFields::sarosMember},
    {"phase", &EventFields::phase},
};

std::string NumberText(double v) {
  std::string text;
  AppendShortest(text, v);
  return text;
}

// The instants of a row: start and end (UT) and, in a zone other than UT, local.
void SetInstants(EventFields& f, double startJD, std::optional<double> endJD,
                 const TimeZone* zone) {
  f.instant = IsoInstant(startJD);
  if (endJD) f.end = IsoInstant(*endJD);
  if (IsLocal(zone)) f.localInstant = LocalIsoInstant(startJD, *zone);
  if (endJD && IsLocal(zone)) f.localEnd = LocalIsoInstant(*endJD, *zone);
}

void AppendEventRow(std::string& out, const EventFields& f) {
  const char* separator = "";
  for (const auto& [name, field] : kEventColumns) {
    out += separator;
    out += f.*field;
    separator = ",";
  }
  out += "\r\n";
}

}  // namespace

const char* BodyKey(int body) { return body >= 1 && body <= 11 ? kBodyKeys[body] : ""; }
const char* BodyName(int body, Coordinates coords) {
  if (body == kSun && coords == Coordinates::Heliocentric) return "Earth";
  if (IsMinorEventBody(body)) return MinorBodyName(MinorBodyOfEvent(body));
  return body >= 1 && body <= 11 ? kBodyNames[body] : "";
}
const char* SignName(int sign) { return sign >= 1 && sign <= 12 ? kSignNames[sign] : ""; }
const char* ZodiacWord(Zodiac zodiac) {
  return zodiac == Zodiac::Sidereal   ? "sidereal"
         : zodiac == Zodiac::Ayanamsa ? "ayanamsa"
                                      : "tropical";
}
const char* SkyWord(Sky sky) { return sky == Sky::Apparent ? "apparent" : "design"; }
const char* NodeWord(NodeMode node) {
  return node == NodeMode::Mean ? "mean" : node == NodeMode::Osculating ? "osculating" : "true";
}
const char* AspectName(int aspect) {
  return aspect >= 1 && aspect <= kAspectTypes ? kAspectNames[aspect] : "";
}
const char* PhaseKey(LunarPhase phase) {
  switch (phase) {
    case LunarPhase::NewMoon: return "new_moon";
    case LunarPhase::FirstQuarter: return "first_quarter";
    case LunarPhase::FullMoon: return "full_moon";
    case LunarPhase::LastQuarter: return "last_quarter";
  }
  return "";
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

std::string DayCsvHeader(bool retrograde, const MinorChoice& minor) {
  std::string h = "date,instant,jd,sidereal_time_s";
  for (int b = 1; b <= 11; ++b) {
    for (const BodyColumn& c : kBodyColumns)
      h.append(",").append(c.helio && b == kSun ? "earth" : BodyKey(b)).append("_").append(c.name);
    if (retrograde) h.append(",").append(BodyKey(b)).append("_retrograde");
  }
  for (int i = 0; i < kMinorBodyCount; ++i) {
    if (!minor[i]) continue;
    const std::string key = MinorBodyKey(kMinorBodies[i]);
    for (const BodyColumn& c : kBodyColumns) h.append(",").append(key).append("_").append(c.name);
    if (retrograde) h.append(",").append(key).append("_retrograde");
  }
  return h + "\r\n";
}

void AppendDayCsv(std::string& out, const EphemerisDay& day, bool retrograde) {
  const BodyPositions& p = day.positions;
  out += IsoDate(day.rowJD);
  out += ',';
  out += IsoInstant(day.jd);
  out += ',';
  AppendShortest(out, day.jd);
  out += ',';
  AppendShortest(out, day.siderealSeconds);
  for (int b = 1; b <= 11; ++b) {
    for (const BodyColumn& c : kBodyColumns) {
      out += ',';
      if (!c.helio || HasHelio(b)) AppendShortest(out, c.value(p, b));
    }
    if (retrograde) out += day.retrograde[b] ? ",1" : ",0";
  }
  for (const MinorRow& r : day.minor) {
    for (double v : {r.geo.longitude, r.geo.latitude, r.geo.rightAscension, r.geo.declination}) {
      out += ',';
      AppendShortest(out, v);
    }
    for (const double* v :
         {r.helio ? &r.helio->longitude : nullptr, r.helio ? &r.helio->latitude : nullptr}) {
      out += ',';
      if (v) AppendShortest(out, *v);
    }
    if (retrograde) out += r.retrograde ? ",1" : ",0";
  }
  out += "\r\n";
}

void AppendEphemerisCsv(std::string& out, const EphemerisReport& report) {
  // About 1.3 KB a day: one allocation for the piece.
  out.reserve(out.size() + report.days.size() * 1400);
  for (const EphemerisDay& day : report.days) AppendDayCsv(out, day);
}

std::string LocalIsoInstant(double jd, const TimeZone& zone) {
  const int offset = zone.At(jd).offsetMinutes;
  std::string text = IsoInstant(jd + offset / 1440.0);
  text.pop_back();  // the "Z"
  return text + OffsetText(offset);
}

std::string EventCsvHeader() {
  std::string h;
  for (const auto& [name, field] : kEventColumns) h.append(h.empty() ? "" : ",").append(name);
  return h + "\r\n";
}

void AppendEventCsv(std::string& out, const Event& e, Coordinates coords, const TimeZone* zone,
                    const EclipseEntry* eclipse) {
  const bool pair = e.kind == EventKind::Aspect || e.kind == EventKind::Lunation ||
                    e.kind == EventKind::Parallel || e.kind == EventKind::Contraparallel;
  const bool aspect = e.kind == EventKind::Aspect || e.kind == EventKind::Lunation;
  EventFields f;
  SetInstants(f, e.jd, std::nullopt, zone);
  f.kind = EventKindName(e.kind);
  f.body = BodyName(e.body, coords);
  if (pair) f.other = BodyName(e.other, coords);
  if (aspect) f.aspect = AspectName(e.aspect);
  if (e.kind == EventKind::Ingress) f.sign = SignName(e.sign);
  if (e.kind == EventKind::Station) f.direction = DirectionName(e.direction);
  f.eclipse = EclipseName(e.eclipse);
  if (e.kind == EventKind::Lunation) {
    f.longitude = NumberText(e.moonLongitude);
    f.phase = PhaseKey(PhaseOf(e));
  }
  if (e.kind == EventKind::Station && e.refined) f.longitude = NumberText(e.bodyLongitude);
  if (eclipse) {
    f.eclipseType = EclipseTypeWord(*eclipse);
    f.eclipseInstant = IsoInstant(eclipse->GreatestUT());
    f.eclipseMagnitude = fmt::format("{:.4f}", EclipseMagnitude(*eclipse));
    f.saros = std::to_string(eclipse->Saros().series);
    f.sarosMember = std::to_string(eclipse->Saros().member);
  }
  AppendEventRow(out, f);
}

void AppendVoidCsv(std::string& out, const VoidOfCourse& v, const TimeZone* zone) {
  EventFields f;
  SetInstants(f, v.startJD, v.endJD, zone);
  f.kind = "void_of_course";
  f.body = "Moon";
  f.sign = SignName(v.signEntered);
  AppendEventRow(out, f);
}

void AppendStationCsv(std::string& out, const Station& s, const TimeZone* zone) {
  EventFields f;
  SetInstants(f, s.jd, std::nullopt, zone);
  f.kind = "station";
  f.body = BodyName(s.body, Coordinates::Geocentric);
  f.sign = SignName(SignOf(NormalizeDegrees(s.longitude)));
  f.direction = DirectionName(s.direction);
  f.longitude = NumberText(s.longitude);
  AppendEventRow(out, f);
}

// ---- JSON Lines ----

std::string JsonRunLine(const std::string& version, const std::string& command,
                        const std::vector<std::pair<std::string, std::string>>& parameters) {
  // A value written as a decimal number is a number ("days": 30), the rest text.
  static const std::regex kNumber("-?[0-9]+(\\.[0-9]+)?");
  Json params = Json::object();
  for (const auto& [key, value] : parameters) {
    if (std::regex_match(value, kNumber))
      params[key] = Json::parse(value);
    else
      params[key] = value;
  }
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
    Json body = Json::object();
    for (const BodyColumn& c : kBodyColumns)
      if (!c.helio || HasHelio(b)) body[c.name] = c.value(p, b);
    if (retrograde) body["retrograde"] = day.retrograde[b];
    bodies[BodyKey(b)] = std::move(body);
  }
  for (const MinorRow& r : day.minor) {
    Json body = {{"longitude", r.geo.longitude},
                 {"latitude", r.geo.latitude},
                 {"ra", r.geo.rightAscension},
                 {"declination", r.geo.declination}};
    if (r.helio) {
      body["helio_longitude"] = r.helio->longitude;
      body["helio_latitude"] = r.helio->latitude;
    }
    if (retrograde) body["retrograde"] = r.retrograde;
    bodies[MinorBodyKey(r.body)] = std::move(body);
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

void AppendEventJson(std::string& out, const Event& e, Coordinates coords, const TimeZone* zone,
                     const EclipseEntry* eclipse) {
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
        j["phase"] = PhaseKey(PhaseOf(e));
        j["eclipse"] = e.eclipse == Eclipse::None ? Json(nullptr) : Json(EclipseName(e.eclipse));
        if (eclipse) {
          j["eclipse_type"] = EclipseTypeWord(*eclipse);
          j["eclipse_instant"] = IsoInstant(eclipse->GreatestUT());
          j["eclipse_magnitude"] = EclipseMagnitude(*eclipse);
          j["saros"] = eclipse->Saros().series;
          j["saros_member"] = eclipse->Saros().member;
        }
      }
      break;
    case EventKind::Parallel:
    case EventKind::Contraparallel: j["other"] = BodyName(e.other, coords); break;
    case EventKind::Ingress: j["sign"] = SignName(e.sign); break;
    case EventKind::Station:
      j["direction"] = DirectionName(e.direction);
      if (e.refined) j["longitude"] = e.bodyLongitude;
      break;
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
  Json j = {{"type", "event"}, {"kind", "void_of_course"},   {"instant", IsoInstant(v.startJD)},
            {"jd", v.startJD}, {"end", IsoInstant(v.endJD)}, {"end_jd", v.endJD}};
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
