#include "reports/stations.h"

#include <algorithm>

#include "reports/minor_events.h"

namespace novastra {

std::optional<Station> RefineStation(const Event& station,
                                     const std::function<double(double T)>& longitudeAt) {
  const int hh = station.hour;
  // From T of the day's last sample (0h UT of the next day) back to the hour.
  const double t0 = HourT(station.dayJD, 24) - ((24.0 - hh) / 24) / 36525;
  const bool turningRetrograde = station.direction == Direction::Retrograde;
  double previous = 0;
  for (int m = -60; m <= 60; ++m) {
    const double lambda = longitudeAt(t0 + (m / 1440.0) / 36525);
    if (m > -60) {
      const double step = lambda - previous;
      const bool stop = turningRetrograde ? (lambda < previous || step > 350)
                                          : (lambda > previous || step < -350);
      if (stop) {
        Station r;
        r.body = station.body;
        r.direction = station.direction;
        r.longitude = lambda;
        r.dayJD = station.dayJD;
        if (m < 0) {
          r.minutes = 60 + m;
          r.hour = hh - 1;
          if (r.hour < 0) {
            r.hour += 24;
            r.dayJD -= 1;
          }
        } else {
          r.minutes = m;
          r.hour = hh;
        }
        r.jd = r.dayJD - 0.5 + (r.hour * 60 + r.minutes) / 1440.0;
        return r;
      }
    }
    previous = lambda;
  }
  return std::nullopt;
}

namespace {

// A station event refined: a planet's stopping minute on the engine's
// longitudes, a minor body's minute from its series (none without them).
std::optional<Station> Refined(const SampleContext& sky, const Event& e,
                               const MinorTables* minor) {
  if (IsMinorEventBody(e.body))
    return minor != nullptr ? RefineMinorStation(*minor, sky, e) : std::nullopt;
  return RefineStation(e, [&sky, &e](double T) {
    const InstantSetup inst = PrepareInstantAt(T, e.dayJD, sky.ayanamsa);
    return ComputeLongitude(inst, *sky.tables, sky.choices, e.body);
  });
}

}  // namespace

std::vector<Station> BuildStations(const SampleContext& sky, const std::vector<Event>& events,
                                   const MinorTables* minor) {
  // The list keeps the order in which the hourly finder reports the stations:
  // day by day, and within a day by body (the finder's outer loop), not by the
  // hour or the refined minute, which the day's sorted event lines follow.
  // The minor bodies' stations follow the planets', in the same order.
  std::vector<const Event*> found;
  for (const Event& e : events)
    if (e.kind == EventKind::Station) found.push_back(&e);
  std::stable_sort(found.begin(), found.end(), [](const Event* a, const Event* b) {
    const bool am = IsMinorEventBody(a->body), bm = IsMinorEventBody(b->body);
    if (am != bm) return bm;
    return a->dayJD != b->dayJD ? a->dayJD < b->dayJD : a->body < b->body;
  });
  std::vector<Station> out;
  for (const Event* station : found) {
    if (auto refined = Refined(sky, *station, minor)) out.push_back(*refined);
  }
  return out;
}

void RefineStationEvents(const SampleContext& sky, std::vector<Event>& events,
                         const MinorTables* minor) {
  bool any = false;
  for (Event& e : events) {
    if (e.kind != EventKind::Station) continue;
    if (const auto refined = Refined(sky, e, minor)) {
      e.jd = refined->jd;
      e.bodyLongitude = refined->longitude;
      e.refined = true;
      any = true;
    }
  }
  if (any)
    std::stable_sort(events.begin(), events.end(),
                     [](const Event& a, const Event& b) { return a.jd < b.jd; });
}

}  // namespace novastra
