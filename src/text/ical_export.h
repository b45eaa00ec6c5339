#pragma once
// The aspectarian and the stations as an iCalendar file (RFC 5545) for the
// user's own calendar program, written with libical: one VEVENT per event,
// void-of-course periods with a start and an end, times in UT or in a zone
// of the tz database (with its VTIMEZONE). Every function appends to `out`,
// so a long run is written piece by piece: IcalBegin, the events, IcalEnd.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "astro/choices.h"
#include "reports/eclipses_report.h"
#include "reports/minor_report.h"
#include "reports/events.h"
#include "reports/stations.h"
#include "reports/time_zone.h"
#include "reports/void_of_course.h"

namespace novastra {

// What a calendar may hold, in the order of the words that name them.
enum class CalendarKind { Aspects, Parallels, Ingresses, Stations, Lunations, Void };
inline constexpr int kCalendarKinds = 6;
// "aspects", "parallels", "ingresses", "stations", "lunations", "void".
const char* CalendarKindWord(CalendarKind kind);
// "sun" .. "pluto", "node" for bodies 1..11.
const char* CalendarBodyWord(int body);

// Which events go into the calendar: every kind and body unless chosen.
// An event is kept when its kind is chosen and every body it names is
// (both of an aspect's pair, the Sun and the Moon of a lunation, the Moon of
// a void-of-course period).
// A minor body's events are kept when it is chosen in `minor` (all by
// default: a run holds them only for the bodies it was asked for).
struct CalendarFilter {
  std::array<bool, kCalendarKinds> kinds{true, true, true, true, true, true};
  std::array<bool, 12> bodies{false, true, true, true, true, true,
                              true,  true, true, true, true, true};
  MinorChoice minor{true, true, true, true, true, true, true};

  bool Has(CalendarKind k) const { return kinds[static_cast<int>(k)]; }
  bool Keeps(const Event& e) const;
  bool Keeps(const VoidOfCourse& v) const;
  bool Keeps(const Station& s) const;
  // Whether an event body (1..11, or a minor body 12..18) is chosen.
  bool Chosen(int body) const;
};

// Sets filter.kinds from a comma list of the kind words ("lunations,void");
// false with a message in `why` for an empty list or an unknown word.
bool ParseCalendarKinds(const std::string& list, CalendarFilter& filter, std::string& why);
// Sets filter.bodies from a comma list of body words or "all".
bool ParseCalendarBodies(const std::string& list, CalendarFilter& filter, std::string& why);
// The --bodies of the aspectarian and the stations: the words of the eleven
// bodies choose the calendar's bodies (filter.bodies, planetsNamed), those of
// the minor bodies (ParseMinorBodies) add them to `minor`, and "all" adds
// every minor body and keeps every planet. False with a message in `why` for
// an empty item or an unknown word.
struct EventBodies {
  CalendarFilter filter;
  bool planetsNamed = false;  // a planet's word given (the calendar's filter)
  MinorChoice minor{};
};
bool ParseEventBodies(const std::string& list, EventBodies& bodies, std::string& why);
// The aspects of a comma list of aspect names (AspectName), "major" (the
// five), "minor" (the six others) or "all": bit t for AspectType t. False
// with a message in `why` for an empty item or an unknown word.
bool ParseAspectList(const std::string& list, std::uint16_t& aspects, std::string& why);
// The list that ParseAspectList reads back: "major", "all" or the names.
std::string AspectListWords(std::uint16_t aspects);

struct IcalOptions {
  TimeZone zone;  // Universal Time: DTSTART in UTC; a zone: local times with its TZID
  Coordinates coords = Coordinates::Geocentric;
  bool symbols = true;            // the astrological symbols after the words of each SUMMARY
  double stampJD = 0;             // DTSTAMP: the time the file is made (UT Julian Day)
  std::string name = "NOVASTRA";  // the calendar's name (X-WR-CALNAME)
};

// BEGIN:VCALENDAR and its properties, then, for a zone, its VTIMEZONE with
// the offsets of the whole years from fromJD to toJD (UT Julian Days).
std::string IcalBegin(const IcalOptions& options, double fromJD, double toJD);
// One VEVENT each (nothing when the filter leaves the event out); a lunation
// with an eclipse (EclipseOfLunation) is followed by the eclipse's own event.
void AppendIcalEvent(std::string& out, const Event& event, const IcalOptions& options,
                     const CalendarFilter& filter = {}, const EclipseEntry* eclipse = nullptr);
void AppendIcalVoid(std::string& out, const VoidOfCourse& period, const IcalOptions& options,
                    const CalendarFilter& filter = {});
void AppendIcalStation(std::string& out, const Station& station, const IcalOptions& options,
                       const CalendarFilter& filter = {});
// One VEVENT at greatest eclipse, titled "Total lunar eclipse, magnitude 1.33",
// with its gamma, Saros series and (lunar) contacts in the description.
void AppendIcalEclipse(std::string& out, const EclipseEntry& eclipse, const IcalOptions& options);
// One VEVENT at an instant: its summary (words, then the symbols of the glyph
// codes when the options keep symbols), category and description; the UID
// from `key` and the minute.
void AppendIcalInstant(std::string& out, const std::string& key, double jd,
                       const std::string& words, const std::string& symbolCodes,
                       const std::string& category, const std::string& description,
                       const IcalOptions& options);
// END:VCALENDAR
std::string IcalEnd();

// The words of a SUMMARY without its symbols: "Moon enters Aries",
// "Mercury stations retrograde", "Sun square Moon - First Quarter".
std::string EventSummaryWords(const Event& event, Coordinates coords);
// The same instant, kind and bodies give the same UID in every file.
std::string EventUid(const Event& event, Coordinates coords);

}  // namespace novastra
