#include "text/eclipse_text.h"

#include <fmt/format.h>

#include <array>
#include <nlohmann/json.hpp>
#include <optional>
#include <utility>
#include <variant>

#include "text/date_input.h"
#include "text/export_formats.h"

namespace novastra {

namespace {

using Json = nlohmann::ordered_json;

bool IsLocal(const TimeZone* zone) { return zone != nullptr && !zone->IsUniversal(); }

// The lunar contacts in the order of the columns.
std::array<std::pair<const char*, std::optional<double>>, 6> Contacts(const LunarEclipse& e) {
  const LunarContacts& c = e.contacts;
  return {{{"p1", c.P1}, {"u1", c.U1}, {"u2", c.U2}, {"u3", c.U3}, {"u4", c.U4}, {"p4", c.P4}}};
}

std::string Fixed(double v, int decimals) { return fmt::format("{:.{}f}", v, decimals); }

}  // namespace

const char* EclipseKindWord(const EclipseEntry& e) { return e.Solar() ? "solar" : "lunar"; }

namespace {

struct TypeWord {
  const char* operator()(const SolarEclipse& s) const {
    switch (s.type) {
      case SolarEclipseType::Partial: return "partial";
      case SolarEclipseType::Annular: return "annular";
      case SolarEclipseType::Total: return "total";
      case SolarEclipseType::Hybrid: return "hybrid";
    }
    return "";
  }
  const char* operator()(const LunarEclipse& l) const {
    switch (l.type) {
      case LunarEclipseType::Penumbral: return "penumbral";
      case LunarEclipseType::Partial: return "partial";
      case LunarEclipseType::Total: return "total";
    }
    return "";
  }
};

struct Magnitude {
  double operator()(const SolarEclipse& s) const { return s.magnitude; }
  double operator()(const LunarEclipse& l) const {
    return l.type == LunarEclipseType::Penumbral ? l.penumbralMagnitude : l.umbralMagnitude;
  }
};

}  // namespace

const char* EclipseTypeWord(const EclipseEntry& e) { return std::visit(TypeWord{}, e.eclipse); }

double EclipseMagnitude(const EclipseEntry& e) { return std::visit(Magnitude{}, e.eclipse); }

std::string EclipseTitle(const EclipseEntry& e) {
  std::string type = EclipseTypeWord(e);
  type[0] = static_cast<char>(type[0] - 'a' + 'A');
  return type + " " + EclipseKindWord(e) + " eclipse, magnitude " + Fixed(EclipseMagnitude(e), 2);
}

std::string EclipseTextTable(const EclipseReport& report, const std::string& fromISO,
                             const std::string& toISO, const TimeZone& zone) {
  const bool local = !zone.IsUniversal();
  std::string out = "Eclipses " + fromISO + " to " + toISO + ", greatest eclipse in UT" +
                    (local ? " and " + zone.Name() : std::string()) + "\n";
  out += fmt::format("{:<19} {:<6}{:<10}{:>10}{:>10}{:>9}  {}", "Greatest (UT)", "Kind", "Type",
                     "Magnitude", "Penumbral", "Gamma", local ? "Saros    Local" : "Saros");
  out += "\n";
  for (const EclipseEntry& e : report.eclipses) {
    const double jd = e.GreatestUT();
    const std::string instant = IsoInstant(jd);  // YYYY-MM-DDTHH:MM:SSZ
    const LunarEclipse* lunar = e.Lunar();
    const SarosPlace saros = e.Saros();
    const double gamma = e.Gamma();
    const std::string series = fmt::format("{:>3}/{}", saros.series, saros.member);
    out += fmt::format("{} {} {:<6}{:<10}{:>10.4f}{:>10}{:>9.4f}  ", instant.substr(0, 10),
                       instant.substr(11, 8), EclipseKindWord(e), EclipseTypeWord(e),
                       EclipseMagnitude(e),
                       lunar ? Fixed(lunar->penumbralMagnitude, 4) : std::string(), gamma);
    if (local) {
      const LocalClock c = zone.At(jd);
      out += fmt::format("{:<9}{} {:02}:{:02} {}", series, IsoDate(c.dayJD), c.hour, c.minute,
                         OffsetText(c.offsetMinutes));
    } else {
      out += series;
    }
    out += "\n";
  }
  out += fmt::format("{} eclipses\n", report.eclipses.size());
  return out;
}

std::string EclipseCsvHeader() {
  return "instant,kind,type,magnitude,penumbral_magnitude,obscuration,gamma,saros,saros_member,"
         "p1,u1,u2,u3,u4,p4,local_instant\r\n";
}

void AppendEclipseCsv(std::string& out, const EclipseEntry& e, const TimeZone* zone) {
  const LunarEclipse* lunar = e.Lunar();
  const SolarEclipse* solar = e.Solar();
  const SarosPlace saros = e.Saros();
  out += fmt::format("{},{},{},{:.4f},{},{},{:.4f},{},{}", IsoInstant(e.GreatestUT()),
                     EclipseKindWord(e), EclipseTypeWord(e), EclipseMagnitude(e),
                     lunar ? Fixed(lunar->penumbralMagnitude, 4) : std::string(),
                     solar ? Fixed(solar->obscuration, 4) : std::string(),
                     e.Gamma(), saros.series, saros.member);
  for (int i = 0; i < 6; ++i) {
    out += ',';
    if (lunar && Contacts(*lunar)[i].second) out += IsoInstant(*Contacts(*lunar)[i].second);
  }
  out += ',';
  if (IsLocal(zone)) out += LocalIsoInstant(e.GreatestUT(), *zone);
  out += "\r\n";
}

void AppendEclipseJson(std::string& out, const EclipseEntry& e, const TimeZone* zone) {
  const LunarEclipse* lunar = e.Lunar();
  const SolarEclipse* solar = e.Solar();
  Json j = {{"type", "eclipse"}, {"instant", IsoInstant(e.GreatestUT())}, {"jd", e.GreatestUT()}};
  if (IsLocal(zone)) j["local_instant"] = LocalIsoInstant(e.GreatestUT(), *zone);
  j["kind"] = EclipseKindWord(e);
  j["eclipse_type"] = EclipseTypeWord(e);
  j["magnitude"] = EclipseMagnitude(e);
  if (lunar) {
    j["umbral_magnitude"] = lunar->umbralMagnitude;
    j["penumbral_magnitude"] = lunar->penumbralMagnitude;
    Json contacts = Json::object();
    for (const auto& [name, jd] : Contacts(*lunar))
      if (jd) contacts[name] = IsoInstant(*jd);
    j["contacts"] = contacts;
  } else if (solar) {
    j["obscuration"] = solar->obscuration;
    j["central"] = solar->central;
  }
  j["gamma"] = e.Gamma();
  const SarosPlace saros = e.Saros();
  j["saros"] = saros.series;
  j["saros_member"] = saros.member;
  out += j.dump();
  out += '\n';
}

}  // namespace novastra
