#include "text/chart_text.h"

#include <fmt/format.h>

#include <cctype>
#include <cmath>
#include <nlohmann/json.hpp>

#include "astro/angles.h"
#include "astro/calendar.h"
#include "text/date_input.h"
#include "text/export_formats.h"
#include "text/glyphs.h"
#include "text/text_format.h"

namespace novastra {

namespace {

using Json = nlohmann::ordered_json;

constexpr const char* kAngleNames[3] = {"Ascendant", "Midheaven", "Vertex"};
constexpr const char* kAngleShort[3] = {"As", "MC", "Vx"};

// Degrees, minutes and seconds of an angle, rounded to the second.
struct Dms {
  long degrees;
  int minutes, seconds;
};
Dms SplitDms(double x) {
  const long total = std::lround(std::fabs(x) * 3600);
  return {total / 3600, static_cast<int>(total / 60 % 60), static_cast<int>(total % 60)};
}

// "12<sign>47'33"": the sign glyph between the degrees and the minutes.
std::string ZodiacText(double lon) {
  constexpr long kSignSeconds = 30L * 3600;
  long total = std::lround(NormalizeDegrees(lon) * 3600) % (12 * kSignSeconds);
  const int sign = static_cast<int>(total / kSignSeconds) + 1;
  total %= kSignSeconds;
  return fmt::format("{:02}", total / 3600) + SignCode(sign) +
         fmt::format("{:02}'{:02}\"", total / 60 % 60, total % 60);
}

std::string SignedDmsText(double x, int degreeWidth) {
  const Dms d = SplitDms(x);
  const bool negative = x < 0 && (d.degrees || d.minutes || d.seconds);
  return fmt::format("{}{:0{}}{}{:02}'{:02}\"", negative ? '-' : '+', d.degrees, degreeWidth,
                     kDegreeCode, d.minutes, d.seconds);
}

std::string PointName(int k) {
  return k <= 10 ? BodyName(k + 1, Coordinates::Geocentric) : kAngleNames[k - 11];
}

// The glyph code of a natal point, or its two letters for an angle.
std::string PointSymbol(int k) {
  return k <= 10 ? std::string(1, BodyCode(k + 1, Coordinates::Geocentric)) : kAngleShort[k - 11];
}

double Number(const Json& j, const char* key, std::string& why) {
  if (!j.contains(key) || !j[key].is_number()) {
    why = std::string("\"") + key + "\" is missing or not a number";
    return std::nan("");
  }
  const double v = j[key].get<double>();
  if (!std::isfinite(v)) why = std::string("\"") + key + "\" is not finite";
  return v;
}

bool Longitude(const Json& j, const char* key, double& out, std::string& why) {
  out = Number(j, key, why);
  if (!why.empty()) return false;
  if (out < 0 || out >= 360) {
    why = std::string("\"") + key + "\" is outside 0..360";
    return false;
  }
  return true;
}

std::string LocalText(double jd, const TimeZone& zone) {
  return zone.IsUniversal() ? IsoInstant(jd) : LocalIsoInstant(jd, zone);
}

}  // namespace

namespace {

// Digits with at most one point (no sign): the number, or nullopt.
std::optional<double> PlainNumber(const std::string& s, bool point) {
  if (s.empty() || s.size() > 24) return std::nullopt;
  bool seen = false;
  for (char c : s) {
    if (c == '.' && point && !seen) {
      seen = true;
      continue;
    }
    if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
  }
  return std::stod(s);
}

// D<letter>M[:SS] or D<letter>M'SS["]: the unsigned value, or nullopt.
std::optional<double> Sexagesimal(const std::string& t, size_t letter) {
  const std::string rest = t.substr(letter + 1);
  const size_t colon = rest.find_first_of(":'");
  std::string sec = colon == std::string::npos ? "" : rest.substr(colon + 1);
  if (!sec.empty() && sec.back() == '"') sec.pop_back();
  const auto d = PlainNumber(t.substr(0, letter), false);
  const auto m = PlainNumber(rest.substr(0, colon), false);
  const auto s = colon == std::string::npos ? std::optional<double>(0) : PlainNumber(sec, true);
  if (!d || !m || !s || *m >= 60 || *s >= 60) return std::nullopt;
  return *d + *m / 60 + *s / 3600;
}

}  // namespace

std::optional<double> ParseCoordinate(std::string_view text, bool latitude, std::string* why) {
  const std::string t(text);
  const char positive = latitude ? 'N' : 'E', negative = latitude ? 'S' : 'W';
  const size_t letter = t.find_first_of(latitude ? "NSns" : "EWew");
  std::optional<double> value;
  if (letter == std::string::npos) {
    const bool sign = !t.empty() && (t[0] == '-' || t[0] == '+');
    value = PlainNumber(sign ? t.substr(1) : t, true);
    if (value && t[0] == '-') *value = -*value;
  } else if ((value = Sexagesimal(t, letter)) &&
             std::toupper(static_cast<unsigned char>(t[letter])) == negative) {
    *value = -*value;
  }
  if (!value) {
    if (why)
      *why = fmt::format(
          "expected decimal degrees ({}) or degrees, {} or {}, minutes under 60 and optional "
          "seconds ({})",
          latitude ? "40.7128" : "-74.006", positive, negative, latitude ? "40N43" : "74W00:30");
    return std::nullopt;
  }
  if (!std::isfinite(*value) || std::fabs(*value) > (latitude ? 90 : 180)) {
    if (why) *why = latitude ? "a latitude lies within 90 degrees of 0" : "a longitude lies within 180 degrees of 0";
    return std::nullopt;
  }
  return value;
}

std::string LatitudeText(double degrees) {
  const long minutes = std::lround(std::fabs(degrees) * 60);
  return fmt::format("{}{}{:02}", minutes / 60, degrees < 0 ? 'S' : 'N', minutes % 60);
}
std::string LongitudeText(double degrees) {
  const long minutes = std::lround(std::fabs(degrees) * 60);
  return fmt::format("{}{}{:02}", minutes / 60, degrees < 0 ? 'W' : 'E', minutes % 60);
}

std::string ChartText(const NatalChart& c, const ChartMeta& meta) {
  const ChartRequest& r = c.request;
  const double day = std::floor(r.jdUT + 0.5);
  const std::string mdy = DateTextFromJulianDay(day);
  std::string out = "\r\n  " + meta.name + " - " + FormatWeekdayName(mdy) + ", " +
                    FormatDdMmmYyyy(mdy) + " " + IsoInstant(r.jdUT).substr(11, 5) + " UT";
  if (meta.zone != "UT") {
    if (const auto zone = TimeZone::Find(meta.zone)) {
      const LocalClock l = zone->At(r.jdUT);
      out += " (" + FormatDdMmmYyyy(DateTextFromJulianDay(l.dayJD)) +
             fmt::format(" {:02}:{:02} ", l.hour, l.minute) + meta.zone + ")";
    }
  }
  out += "\r\n  Latitude " + LatitudeText(r.latitude) + ", longitude " +
         LongitudeText(r.longitude) + ", " + HouseSystemName(r.houses) + " houses, " +
         ZodiacWord(r.choices.zodiac) + " zodiac, " + SkyWord(r.choices.sky) + " sky, " +
         NodeWord(r.choices.node) + " node\r\n";
  const double st = c.ramc / 15;
  const Dms s = SplitDms(st);
  out += fmt::format("  Julian Day {:.6f} UT, local sidereal time {:02}h {:02}m {:02}s\r\n\r\n",
                     r.jdUT, s.degrees, s.minutes, s.seconds);
  out += "  Body          Longitude       Latitude      Speed a day\r\n";
  for (int b = 1; b <= 11; ++b) {
    const ChartBody& p = c.bodies[b];
    const std::string name = BodyName(b, Coordinates::Geocentric);
    out += fmt::format("  {} {:<11}{}{}   {}   {}\r\n", BodyCode(b, Coordinates::Geocentric),
                       name, ZodiacText(p.longitude), p.retrograde() ? kRetrogradeCode : ' ',
                       SignedDmsText(p.latitude, 2), SignedDmsText(p.speed, 2));
  }
  const double angles[3] = {c.houses.ascendant, c.houses.mc, c.houses.vertex};
  for (int k = 0; k < 3; ++k)
    out += fmt::format("  {:<2} {:<11}{}\r\n", kAngleShort[k], kAngleNames[k], ZodiacText(angles[k]));
  out += "\r\n  House cusps (" + std::string(HouseSystemName(r.houses)) + ")\r\n";
  for (int h = 0; h < 6; ++h)
    out += fmt::format("  {:>2}  {}      {:>2}  {}\r\n", h + 1, ZodiacText(c.houses.cusps[h]),
                       h + 7, ZodiacText(c.houses.cusps[h + 6]));
  return out;
}

std::string ChartCsv(const NatalChart& c) {
  std::string out = "point,longitude,latitude,speed,retrograde\r\n";
  for (int b = 1; b <= 11; ++b) {
    const ChartBody& p = c.bodies[b];
    out += fmt::format("{},{},{},{},{}\r\n", BodyKey(b), p.longitude, p.latitude, p.speed,
                       p.retrograde() ? 1 : 0);
  }
  out += fmt::format("ascendant,{},,,\r\nmc,{},,,\r\nvertex,{},,,\r\n", c.houses.ascendant,
                     c.houses.mc, c.houses.vertex);
  for (int h = 0; h < 12; ++h) out += fmt::format("cusp_{},{},,,\r\n", h + 1, c.houses.cusps[h]);
  return out;
}

std::string ChartJson(const NatalChart& c, const ChartMeta& meta) {
  const ChartRequest& r = c.request;
  Json j;
  j["type"] = "chart";
  j["program"] = "novastra";
  j["version"] = meta.version;
  j["name"] = meta.name;
  j["instant"] = IsoInstant(r.jdUT);
  j["jd_ut"] = r.jdUT;
  j["time_zone"] = meta.zone;
  if (meta.zone != "UT")
    if (const auto zone = TimeZone::Find(meta.zone)) j["local_time"] = LocalIsoInstant(r.jdUT, *zone);
  j["latitude"] = r.latitude;
  j["longitude"] = r.longitude;
  j["houses"] = HouseSystemWord(r.houses);
  j["zodiac"] = ZodiacWord(r.choices.zodiac);
  j["sky"] = SkyWord(r.choices.sky);
  j["node"] = NodeWord(r.choices.node);
  j["sidereal_time"] = c.ramc;
  j["obliquity"] = c.obliquity;
  j["ascendant"] = c.houses.ascendant;
  j["mc"] = c.houses.mc;
  j["vertex"] = c.houses.vertex;
  j["cusps"] = c.houses.cusps;
  Json bodies = Json::object();
  for (int b = 1; b <= 11; ++b) {
    const ChartBody& p = c.bodies[b];
    bodies[BodyKey(b)] = {{"longitude", p.longitude},
                          {"latitude", p.latitude},
                          {"speed", p.speed},
                          {"retrograde", p.retrograde()}};
  }
  j["bodies"] = bodies;
  return j.dump(2) + "\n";
}

namespace {

std::string Word(const Json& j, const char* key, const char* fallback) {
  if (!j.contains(key)) return fallback;
  return j[key].is_string() ? j[key].get<std::string>() : std::string("?");
}

// The instant, the place and the choices of a chart file.
bool ReadChartChoices(const Json& j, ChartRequest& r, std::string& why) {
  r.jdUT = Number(j, "jd_ut", why);
  if (why.empty()) r.latitude = Number(j, "latitude", why);
  if (why.empty()) r.longitude = Number(j, "longitude", why);
  if (!why.empty()) return false;
  if (std::fabs(r.latitude) > 90 || std::fabs(r.longitude) > 180) {
    why = "latitude or longitude out of range";
    return false;
  }
  const auto system = HouseSystemFromWord(Word(j, "houses", "placidus"));
  const std::string zodiac = Word(j, "zodiac", "tropical"), sky = Word(j, "sky", "apparent"),
                    node = Word(j, "node", "true");
  if (!system || (zodiac != "tropical" && zodiac != "sidereal" && zodiac != "ayanamsa") ||
      (sky != "design" && sky != "apparent") ||
      (node != "mean" && node != "true" && node != "osculating")) {
    why = "unknown \"houses\", \"zodiac\", \"sky\" or \"node\"";
    return false;
  }
  r.houses = *system;
  r.choices.zodiac = zodiac == "sidereal"   ? Zodiac::Sidereal
                     : zodiac == "ayanamsa" ? Zodiac::Ayanamsa
                                            : Zodiac::Tropical;
  r.choices.sky = sky == "apparent" ? Sky::Apparent : Sky::Design;
  r.choices.node = node == "mean"         ? NodeMode::Mean
                   : node == "osculating" ? NodeMode::Osculating
                                          : NodeMode::True;
  return true;
}

bool ReadChartAngles(const Json& j, HouseCusps& houses, std::string& why) {
  if (!Longitude(j, "ascendant", houses.ascendant, why) || !Longitude(j, "mc", houses.mc, why) ||
      !Longitude(j, "vertex", houses.vertex, why))
    return false;
  if (!j.contains("cusps") || !j["cusps"].is_array() || j["cusps"].size() != 12) {
    why = "\"cusps\" is not a list of twelve longitudes";
    return false;
  }
  for (int h = 0; h < 12; ++h) {
    const Json& v = j["cusps"][h];
    const double x = v.is_number() ? v.get<double>() : -1;
    if (!std::isfinite(x) || x < 0 || x >= 360) {
      why = "cusp " + std::to_string(h + 1) + " is not a longitude in 0..360";
      return false;
    }
    houses.cusps[h] = x;
  }
  return true;
}

double OptionalNumber(const Json& j, const char* key) {
  return j.contains(key) && j[key].is_number() ? j[key].get<double>() : 0;
}

bool ReadChartBodies(const Json& j, std::array<ChartBody, 12>& bodies, std::string& why) {
  if (!j.contains("bodies") || !j["bodies"].is_object()) {
    why = "\"bodies\" is missing";
    return false;
  }
  for (int b = 1; b <= 11; ++b) {
    const char* key = BodyKey(b);
    if (!j["bodies"].contains(key) || !j["bodies"][key].is_object()) {
      why.assign("body \"").append(key).append("\" is missing");
      return false;
    }
    const Json& p = j["bodies"][key];
    if (!Longitude(p, "longitude", bodies[b].longitude, why)) {
      why.insert(0, std::string(key) + ": ");
      return false;
    }
    bodies[b].latitude = OptionalNumber(p, "latitude");
    bodies[b].speed = OptionalNumber(p, "speed");
  }
  return true;
}

}  // namespace

bool ChartFromJson(const std::string& text, NatalChart& chart, ChartMeta& meta, std::string& why) {
  const Json j = Json::parse(text, nullptr, false);
  if (j.is_discarded() || !j.is_object()) {
    why = "not a JSON object";
    return false;
  }
  if (!j.contains("type") || j["type"] != "chart") {
    why = "not a chart file (no \"type\":\"chart\")";
    return false;
  }
  NatalChart c;
  if (!ReadChartChoices(j, c.request, why) || !ReadChartAngles(j, c.houses, why) ||
      !ReadChartBodies(j, c.bodies, why))
    return false;
  c.ramc = OptionalNumber(j, "sidereal_time");
  meta.name = Word(j, "name", "Chart");
  meta.zone = Word(j, "time_zone", "UT");
  chart = c;
  return true;
}

std::string TransitWords(const Transit& t) {
  return std::string(BodyName(t.body, Coordinates::Geocentric)) + " " + AspectName(t.aspect) +
         " natal " + PointName(t.natal);
}

std::string TransitText(const TransitReport& report, const ChartMeta& meta, const TimeZone& zone,
                        double startJD, int dayCount) {
  const std::string first = DateTextFromJulianDay(startJD),
                    last = DateTextFromJulianDay(startJD + dayCount - 1);
  std::string out = "\r\n  Transits to " + meta.name + " - " + FormatDdMmmYyyy(first) + " to " +
                    FormatDdMmmYyyy(last) + ", times in " +
                    (zone.IsUniversal() ? std::string("UT") : zone.Name()) + "\r\n\r\n";
  out += "  Day          h  m\r\n  ----------------\r\n";
  double shownDay = -1;
  for (const Transit& t : report.transits) {
    const LocalClock l = zone.At(t.jd);
    if (l.dayJD < startJD || l.dayJD >= startJD + dayCount) continue;
    const std::string date = l.dayJD == shownDay
                                 ? std::string(11, ' ')
                                 : FormatDdMmmYyyy(DateTextFromJulianDay(l.dayJD));
    if (l.dayJD != shownDay && shownDay >= 0) out += "\r\n";
    shownDay = l.dayJD;
    std::string symbols{BodyCode(t.body, Coordinates::Geocentric), AspectCode(t.aspect)};
    symbols += PointSymbol(t.natal);
    out += fmt::format("  {}  {:02}:{:02}  {}  {}{}\r\n", date, l.hour, l.minute, symbols,
                       TransitWords(t), t.retrograde ? " (retrograde)" : "");
  }
  return out;
}

std::string TransitCsvHeader() {
  return "instant,local_instant,body,aspect,natal,natal_longitude,transit_longitude,retrograde\r\n";
}

void AppendTransitCsv(std::string& out, const Transit& t, const NatalChart& chart,
                      const TimeZone& zone) {
  out += fmt::format("{},{},{},{},{},{},{},{}\r\n", IsoInstant(t.jd),
                     zone.IsUniversal() ? "" : LocalIsoInstant(t.jd, zone), BodyKey(t.body),
                     AspectName(t.aspect), ChartPointWord(t.natal), chart.PointLongitude(t.natal),
                     t.transitLongitude, t.retrograde ? 1 : 0);
}

void AppendTransitJson(std::string& out, const Transit& t, const NatalChart& chart,
                       const TimeZone& zone) {
  Json j{{"type", "transit"},
         {"instant", IsoInstant(t.jd)},
         {"body", BodyKey(t.body)},
         {"aspect", AspectName(t.aspect)},
         {"natal", ChartPointWord(t.natal)},
         {"natal_longitude", chart.PointLongitude(t.natal)},
         {"transit_longitude", t.transitLongitude},
         {"retrograde", t.retrograde}};
  if (!zone.IsUniversal()) j["local_instant"] = LocalIsoInstant(t.jd, zone);
  out += j.dump() + "\n";
}

void AppendIcalTransit(std::string& out, const Transit& t, const NatalChart& chart,
                       const IcalOptions& options) {
  std::string symbols{BodyCode(t.body, Coordinates::Geocentric), AspectCode(t.aspect)};
  if (t.natal <= 10) symbols += BodyCode(t.natal + 1, Coordinates::Geocentric);
  const std::string key = std::string("transit|") + BodyKey(t.body) + "|" + AspectName(t.aspect) +
                          "|" + ChartPointWord(t.natal);
  const std::string description =
      fmt::format("Exact at {}; natal {:.4f}, transiting {:.4f}{}", LocalText(t.jd, options.zone),
                  chart.PointLongitude(t.natal), t.transitLongitude,
                  t.retrograde ? ", retrograde" : "");
  AppendIcalInstant(out, key, t.jd, TransitWords(t), symbols, "Transit", description, options);
}

}  // namespace novastra
