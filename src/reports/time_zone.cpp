#include "reports/time_zone.h"

#include <date/tz.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <exception>

#include "reports/zone_transitions.h"

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

std::optional<TimeZone> TimeZone::Find(const std::string& name, std::string* error) {
  if (name.empty() || name == "UT" || name == "UTC") return TimeZone{};
  try {
    TimeZone z;
    z.zone_ = date::locate_zone(name);
    z.name_ = name;
    return z;
  } catch (const std::exception& e) {
    if (error)
      *error =
          "Unknown time zone \"" + name + "\" (expected an IANA name such as America/New_York)";
  }
  return std::nullopt;
}

LocalClock TimeZone::At(double jdUT) const {
  using namespace std::chrono;
  // Round to the minute in UT, as the lists show times.
  const date::sys_seconds s = SysOf(jdUT);
  const auto utMinute = date::floor<minutes>(s + seconds{30});
  LocalClock c;
  date::local_seconds local{};
  if (zone_) {
    const date::sys_info info = zone_->get_info(utMinute);
    c.offsetMinutes = static_cast<int>(duration_cast<minutes>(info.offset).count());
    local = date::local_seconds{(utMinute + info.offset).time_since_epoch()};
    // Seconds of an LMT offset are dropped: the clock shows whole minutes.
    local = date::floor<minutes>(local);
    c.repeated = zone_->get_info(local).result == date::local_info::ambiguous;
  } else {
    local = date::local_seconds{utMinute.time_since_epoch()};
  }
  const auto day = date::floor<date::days>(local);
  const auto tod = date::hh_mm_ss<seconds>(local - day);
  c.dayJD = kUnixEpochJD + 0.5 + static_cast<double>(day.time_since_epoch().count());
  c.hour = static_cast<int>(tod.hours().count());
  c.minute = static_cast<int>(tod.minutes().count());
  return c;
}

double TimeZone::UniversalOf(double dayJD, double hours) const {
  using namespace std::chrono;
  const auto days = static_cast<long long>(std::llround(dayJD - 0.5 - kUnixEpochJD));
  const date::local_seconds local{seconds{days * 86400 + std::llround(hours * 3600)}};
  if (!zone_) return JdOf(date::sys_seconds{local.time_since_epoch()});
  const date::local_info info = zone_->get_info(local);
  // Skipped: the offset before the change; repeated: the first occurrence.
  const seconds offset = info.first.offset;
  return JdOf(date::sys_seconds{local.time_since_epoch() - offset});
}

std::string OffsetText(int offsetMinutes) {
  const int a = std::abs(offsetMinutes);
  char buf[16];
  std::snprintf(buf, sizeof buf, "%c%02d:%02d", offsetMinutes < 0 ? '-' : '+', a / 60, a % 60);
  return buf;
}

std::vector<std::string> ZoneNames() {
  std::vector<std::string> names;
  try {
    const date::tzdb& db = date::get_tzdb();
    for (const date::time_zone& z : db.zones) names.emplace_back(z.name());
  } catch (const std::exception&) {
    return {};
  }
  std::sort(names.begin(), names.end());
  names.erase(std::unique(names.begin(), names.end()), names.end());
  return names;
}

std::vector<ZoneObservance> ZoneObservances(const TimeZone& zone, double fromJD, double toJD) {
  std::vector<ZoneObservance> out;
  if (zone.IsUniversal() || toJD < fromJD) return out;
  const date::time_zone* tz = zone.zone_;
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
