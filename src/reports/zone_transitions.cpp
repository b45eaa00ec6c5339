#include "reports/zone_transitions.h"

#include <date/tz.h>

#include <chrono>
#include <cmath>
#include <exception>

namespace novastra {

namespace {

constexpr double kUnixEpochJD = 2440587.5;  // 1970-01-01 0h UT

date::sys_seconds SysOf(double jd) {
  return date::sys_seconds{std::chrono::seconds{std::llround((jd - kUnixEpochJD) * 86400.0)}};
}

double JdOf(date::sys_seconds t) {
  return kUnixEpochJD + static_cast<double>(t.time_since_epoch().count()) / 86400.0;
}

ZoneObservance ObservanceOf(const date::sys_info& info, int offsetBefore, double startJD) {
  ZoneObservance o;
  o.startJD = startJD;
  o.offsetBeforeSeconds = offsetBefore;
  o.offsetSeconds = static_cast<int>(info.offset.count());
  o.daylight = info.save != std::chrono::minutes{0};
  o.abbreviation = info.abbrev;
  return o;
}

}  // namespace

std::vector<ZoneObservance> ZoneObservances(const TimeZone& zone, double fromJD, double toJD) {
  std::vector<ZoneObservance> out;
  if (zone.IsUniversal() || toJD < fromJD) return out;
  const date::time_zone* tz = nullptr;
  try {
    tz = date::locate_zone(zone.Name());
  } catch (const std::exception&) {
    return out;
  }
  const date::sys_seconds from = SysOf(fromJD), to = SysOf(toJD);
  const date::sys_seconds earliest = SysOf(fromJD - 400);
  date::sys_info info = tz->get_info(from);
  // The offset before the first observance: that of the instant before it.
  const bool dated = info.begin > earliest;
  const date::sys_seconds firstStart = dated ? info.begin : earliest;
  const int before =
      dated ? static_cast<int>(tz->get_info(info.begin - std::chrono::seconds{1}).offset.count())
            : static_cast<int>(info.offset.count());
  out.push_back(ObservanceOf(info, before, JdOf(firstStart)));
  // Each change up to the end of the span; a change of the abbreviation or
  // the daylight flag alone (same offset) is one too.
  while (info.end <= to) {
    const int previous = static_cast<int>(info.offset.count());
    info = tz->get_info(info.end);
    out.push_back(ObservanceOf(info, previous, JdOf(info.begin)));
  }
  return out;
}

}  // namespace novastra
