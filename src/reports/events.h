#pragma once
// The event finder: one day's hourly samples in, the day's events out.
// Everything it reads is passed in, so a day can be checked on its own.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

#include "astro/choices.h"
#include "reports/choices.h"

namespace novastra {

inline constexpr int kSamplesPerDay = 25;  // 0h .. 24h (24h is the next day's 0h)

// Hourly samples of one day, indexed [body 1..11][sample 0..25]; row 0 holds
// the sample's hour. Geocentric: longitude and declination. Heliocentric:
// heliocentric longitude and latitude.
struct HourSamples {
  using Table = std::array<std::array<double, 26>, 12>;
  Table first{};
  Table second{};
};

// 1 direct, 0 retrograde, per body 1..11; carried from day to day.
struct InitialDirections {
  std::array<int16_t, 12> flag{};
};

// Whether two sets of directions agree for every body whose turns the day's
// finder lists, the Sun to Pluto (it never reads the node's).
inline bool SameTurningDirections(const InitialDirections& a, const InitialDirections& b) {
  return std::equal(a.flag.begin() + 1, a.flag.begin() + 11, b.flag.begin() + 1);
}

// Aspect types: the five that AspectTypeOf gives, then the minor aspects.
enum AspectType : int {
  kConjunction = 1,
  kSextile = 2,
  kSquare = 3,
  kTrine = 4,
  kOpposition = 5,
  kSemisextile = 6,     // 30 degrees
  kSemisquare = 7,      // 45
  kQuintile = 8,        // 72
  kSesquiquadrate = 9,  // 135
  kBiquintile = 10,     // 144
  kQuincunx = 11,       // 150
};
inline constexpr int kAspectTypes = 11;
inline constexpr std::uint16_t kMajorAspects = 0x3E;  // conjunction .. opposition
inline constexpr std::uint16_t kAllAspects = 0xFFE;   // every type
// The separation of an aspect type in degrees (0 for anything else).
double AspectAngle(int type);
inline bool IsMajorAspect(int type) { return type >= kConjunction && type <= kOpposition; }

// The choices that filter and shape one day's events.
struct EventChoices {
  Coordinates coords = Coordinates::Geocentric;
  bool moonChangeOnly = false;  // "Moon - change sign only (Asp.)"
  MoonChangeSign moonSign = MoonChangeSign::Display;
  float option12 = 0;  // Moon ingresses into cardinal signs only
  // The aspects listed, bit t for AspectType t (kMajorAspects by default).
  // Lunations are listed whatever it holds.
  std::uint16_t aspects = kMajorAspects;
};

enum class EventKind { Aspect, Parallel, Contraparallel, Ingress, Station, Lunation };
enum class Eclipse { None, Solar, Lunar };
enum class Direction { Direct, Retrograde };

// Event body numbers: 1 the Sun .. 11 the node, then the minor bodies in
// the order of kMinorBodies, 12 Chiron .. 18 Osc. Lilith (minor_events.h).
inline constexpr int kFirstMinorEventBody = 12;
inline constexpr int kLastMinorEventBody = 18;
inline bool IsMinorEventBody(int body) {
  return body >= kFirstMinorEventBody && body <= kLastMinorEventBody;
}

// One event of the aspectarian.
struct Event {
  EventKind kind = EventKind::Aspect;
  int body = 0;           // 1..18: the pair's first body, or the body entering a sign or turning
  int other = 0;          // the pair's second body (aspects, parallels, lunations)
  int aspect = 0;         // AspectType (aspects and lunations)
  double separation = 0;  // degrees between the pair at the instant (aspects and lunations)
  int sign = 0;           // sign entered, 1 Aries .. 12 Pisces (ingresses)
  Direction direction = Direction::Direct;  // stations: the motion from now on
  Eclipse eclipse = Eclipse::None;          // lunations
  double moonLongitude = 0;                 // lunations: the Moon at the instant
  // The instant as found: the day (noon Julian Day), the sample hour and the
  // interpolated minutes past it (which may lie outside 0..60). The lists
  // print exactly these.
  double dayJD = 0;
  int hour = 0;
  double minutes = 0;
  double jd = 0;  // the same instant in UT as a Julian Day, rounded to the second
  // Stations given their stopping minute (RefineStationEvents): jd is then that
  // minute and bodyLongitude the planet's longitude there.
  bool refined = false;
  double bodyLongitude = 0;

  // An event found in hour h of the day dayJD, `minutes` past the hour.
  static Event Found(EventKind kind, int body, double dayJD, int h, double minutes) {
    Event e;
    e.kind = kind;
    e.body = body;
    e.dayJD = dayJD;
    e.hour = h;
    e.minutes = minutes;
    e.jd = dayJD - 0.5 + std::round((h * 60 + minutes) * 60) / 86400.0;
    return e;
  }
};

// The phase a lunation marks.
enum class LunarPhase { NewMoon, FirstQuarter, FullMoon, LastQuarter };
// From the aspect, and for a quarter from the Moon's elongation from the mean
// Sun (within 2 degrees of the true one; a sidereal zodiac moves the Moon by
// less than 30, far inside the 90 degrees that part the two quarters).
LunarPhase PhaseOf(const Event& e);

// Sign 1..12 of a longitude (values just outside 0..360 give 0 or 13).
int SignOf(double x);
// Degrees within the 30-degree segment of x, 0 <= result < 30.
double DegreesInSegment(double x);

// Aspect type of a separation x in degrees (0..180): 1 conjunction, 2 sextile,
// 3 square, 4 trine, 5 opposition; 0 for anything else, 30 and 150 included.
int AspectTypeOf(double x);

// Scans the 24 hours of the day whose noon Julian Day is dayJD; the events
// come in the order found. Stations update `directions` (geocentric runs only).
std::vector<Event> FindDayEvents(const HourSamples& samples, double dayJD,
                                 const EventChoices& choices, InitialDirections& directions);

// The minutes of an instant as the lists show them, rounded to the whole
// minute (half away from zero), read back as two characters: the key by which
// a day's events are ordered.
int ShownMinuteKey(double minutes);

// Orders a day's events by hour, then by shown minute, with the exchange sort
// the lists have always used (events of the same minute keep the order that
// sort leaves).
void SortDayEvents(std::vector<Event>& events);

}  // namespace novastra
