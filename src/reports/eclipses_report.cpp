#include "reports/eclipses_report.h"

#include <algorithm>
#include <cmath>

namespace novastra {

namespace {

bool ValidDate(const CivilDate& d) {
  if (d.month < 1 || d.month > 12 || d.day < 1) return false;
  // A day past the month's end rolls into the next month.
  const CivilDate next = d.month == 12 ? CivilDate{d.year + 1, 1, 1} : CivilDate{d.year, d.month + 1, 1};
  return JulianDayNumber(d.year, d.month, d.day) < JulianDayNumber(next.year, next.month, next.day);
}

std::string DateText(const CivilDate& d) {
  return std::to_string(d.year) + "-" + (d.month < 10 ? "0" : "") + std::to_string(d.month) +
         "-" + (d.day < 10 ? "0" : "") + std::to_string(d.day);
}

}  // namespace

EclipseReport BuildEclipseReport(const EclipseRequest& request, const SeriesTables& tables) {
  EclipseReport report;
  for (const CivilDate* d : {&request.from, &request.to}) {
    if (!ValidDate(*d)) {
      report.error = "no such date: " + DateText(*d);
      return report;
    }
    if (d->year < kEclipseFirstYear || d->year > kEclipseLastYear) {
      report.error = "eclipse dates must lie within the years " +
                     std::to_string(kEclipseFirstYear) + " to " + std::to_string(kEclipseLastYear);
      return report;
    }
  }
  // From 0h UT of the first day to 0h UT of the day after the last.
  const double from = JulianDayNumber(request.from.year, request.from.month, request.from.day) - 0.5;
  const double to = JulianDayNumber(request.to.year, request.to.month, request.to.day) + 0.5;
  if (to <= from) {
    report.error = "the end date " + DateText(request.to) + " is before the start date " +
                   DateText(request.from);
    return report;
  }
  if (request.solar)
    for (const SolarEclipse& e : FindSolarEclipses(from, to, tables))
      report.eclipses.push_back({e});
  if (request.lunar)
    for (const LunarEclipse& e : FindLunarEclipses(from, to, tables, request.enlargement))
      report.eclipses.push_back({e});
  std::stable_sort(report.eclipses.begin(), report.eclipses.end(),
                   [](const EclipseEntry& a, const EclipseEntry& b) {
                     return a.GreatestUT() < b.GreatestUT();
                   });
  return report;
}

namespace {

bool IsSyzygy(const Event& e) {
  return e.kind == EventKind::Lunation && (e.aspect == kConjunction || e.aspect == kOpposition);
}

bool SameLunation(const Event& e, const EclipseEntry& eclipse) {
  return IsSyzygy(e) && (e.aspect == kConjunction) == (eclipse.Solar() != nullptr) &&
         std::abs(e.jd - eclipse.GreatestUT()) < 0.5;
}

}  // namespace

std::vector<EclipseEntry> EclipsesOfLunations(const std::vector<Event>& events,
                                              const SeriesTables& tables) {
  double first = 0, last = 0;
  bool any = false;
  for (const Event& e : events) {
    if (!IsSyzygy(e)) continue;
    first = any ? std::min(first, e.jd) : e.jd;
    last = any ? std::max(last, e.jd) : e.jd;
    any = true;
  }
  std::vector<EclipseEntry> out;
  if (!any) return out;
  std::vector<EclipseEntry> found;
  for (const SolarEclipse& e : FindSolarEclipses(first - 1, last + 1, tables)) found.push_back({e});
  for (const LunarEclipse& e : FindLunarEclipses(first - 1, last + 1, tables))
    found.push_back({e});
  for (const EclipseEntry& eclipse : found)
    if (std::any_of(events.begin(), events.end(),
                    [&](const Event& e) { return SameLunation(e, eclipse); }))
      out.push_back(eclipse);
  std::stable_sort(out.begin(), out.end(), [](const EclipseEntry& a, const EclipseEntry& b) {
    return a.GreatestUT() < b.GreatestUT();
  });
  return out;
}

const EclipseEntry* EclipseOfLunation(const Event& lunation,
                                      const std::vector<EclipseEntry>& eclipses) {
  for (const EclipseEntry& eclipse : eclipses)
    if (SameLunation(lunation, eclipse)) return &eclipse;
  return nullptr;
}

}  // namespace novastra
