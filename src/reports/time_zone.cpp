#include "reports/time_zone.h"

#include <date/tz.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
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

}  // namespace novastra
