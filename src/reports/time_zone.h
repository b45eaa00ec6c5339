#pragma once
// Local civil time of a Universal Time instant in a zone of the IANA tz
// database ("America/New_York"), read from the system's zoneinfo files.
#include <optional>
#include <string>
#include <vector>

namespace date {
class time_zone;
}

namespace novastra {

// One instant, rounded to the whole minute, as a clock in the zone shows it.
struct LocalClock {
  double dayJD = 0;       // noon Julian Day of the local calendar date
  int hour = 0;           // 0..23
  int minute = 0;         // 0..59
  int offsetMinutes = 0;  // local minus UT (LMT offsets keep their whole minutes)
  // The local time occurs twice (the hour a change back from daylight-saving
  // time repeats): the offset tells the two apart.
  bool repeated = false;
};

struct ZoneObservance;
class TimeZone;
std::vector<ZoneObservance> ZoneObservances(const TimeZone& zone, double fromJD, double toJD);

class TimeZone {
 public:
  // Universal Time itself: every local time equals UT.
  TimeZone() = default;

  // "UT" (or "UTC", or empty) gives Universal Time; otherwise the zone of that
  // IANA name. nullopt with `error` set when the name is unknown or the tz
  // database cannot be read.
  static std::optional<TimeZone> Find(const std::string& name, std::string* error = nullptr);

  bool IsUniversal() const { return zone_ == nullptr; }
  // "UT" or the zone's IANA name.
  const std::string& Name() const { return name_; }

  // The local clock at the instant jdUT (rounded to the minute, half up).
  LocalClock At(double jdUT) const;

  // The UT Julian Day of a local clock time `hours` after local midnight of the
  // date whose noon Julian Day is dayJD. A time skipped by a change to daylight
  // time is taken with the offset before the change; a repeated one at its
  // first occurrence.
  double UniversalOf(double dayJD, double hours) const;

 private:
  // The changes of offset are read from the zone found by Find.
  friend std::vector<ZoneObservance> ZoneObservances(const TimeZone& zone, double fromJD,
                                                     double toJD);
  const date::time_zone* zone_ = nullptr;
  std::string name_ = "UT";
};

// The offset as "+hh:mm" or "-hh:mm" ("-04:00", "+05:30").
std::string OffsetText(int offsetMinutes);

// Every zone name of the tz database, sorted (empty when it cannot be read).
std::vector<std::string> ZoneNames();

}  // namespace novastra
