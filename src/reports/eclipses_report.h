#pragma once
// The eclipse list: every solar and lunar eclipse between two dates, in time
// order, as typed results.
#include <string>
#include <variant>
#include <vector>

#include "astro/calendar.h"
#include "astro/eclipses.h"
#include "astro/series.h"
#include "reports/events.h"

namespace novastra {

struct EclipseRequest {
  CivilDate from, to;  // both days included, days of Universal Time
  bool solar = true, lunar = true;
  ShadowEnlargement enlargement = ShadowEnlargement::Chauvenet;
};

// The years a request may span: beyond them delta T, and so the hour of an
// eclipse, is a guess of hours.
inline constexpr int kEclipseFirstYear = 1000;
inline constexpr int kEclipseLastYear = 3000;

struct EclipseEntry {
  std::variant<SolarEclipse, LunarEclipse> eclipse;

  double GreatestUT() const {
    return std::visit([](const auto& e) { return e.greatestUT; }, eclipse);
  }
  SarosPlace Saros() const {
    return std::visit([](const auto& e) { return e.saros; }, eclipse);
  }
  double Gamma() const {
    return std::visit([](const auto& e) { return e.gamma; }, eclipse);
  }
  const SolarEclipse* Solar() const { return std::get_if<SolarEclipse>(&eclipse); }
  const LunarEclipse* Lunar() const { return std::get_if<LunarEclipse>(&eclipse); }
};

struct EclipseReport {
  std::vector<EclipseEntry> eclipses;  // by the instant of greatest eclipse
  std::string error;                   // why nothing was computed; empty when all went well
};

EclipseReport BuildEclipseReport(const EclipseRequest& request, const SeriesTables& tables);

// The eclipses of the New and Full Moons among `events` (an aspectarian's
// lunations): each whose greatest eclipse lies within half a day of a New
// Moon (solar) or a Full Moon (lunar) listed, in time order.
std::vector<EclipseEntry> EclipsesOfLunations(const std::vector<Event>& events,
                                              const SeriesTables& tables);
// The eclipse of a lunation event among `eclipses`, or null.
const EclipseEntry* EclipseOfLunation(const Event& lunation,
                                      const std::vector<EclipseEntry>& eclipses);

}  // namespace novastra
