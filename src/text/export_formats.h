#pragma once
// The typed results as CSV (RFC 4180: a header row, CRLF line ends) and as
// JSON Lines (one object per line: the run, then its days or events, then an
// end line), for other programs to read. Every function appends to `out`, so
// a long run is written piece by piece.
#include <string>
#include <utility>
#include <vector>

#include "astro/choices.h"
#include "astro/engine.h"
#include "reports/eclipses_report.h"
#include "reports/ephemeris_report.h"
#include "reports/events.h"
#include "reports/minor_report.h"
#include "reports/stations.h"
#include "reports/time_zone.h"
#include "reports/void_of_course.h"

namespace novastra {

// Lower-case names used in column titles and JSON keys ("sun" .. "north_node").
const char* BodyKey(int body);
// The name of a body in event lists: "Sun" .. "North Node"; "Earth" for the
// Sun's place in heliocentric lists.
const char* BodyName(int body, Coordinates coords);
const char* SignName(int sign);      // "Aries" .. "Pisces"; "" outside 1..12
const char* AspectName(int aspect);  // "conjunction" .. "quincunx"; ""
const char* EventKindName(EventKind kind);
// The choices as the JSON run lines and chart files name them: "tropical",
// "sidereal", "ayanamsa"; "design", "apparent"; "mean", "true", "osculating".
const char* ZodiacWord(Zodiac zodiac);
const char* SkyWord(Sky sky);
const char* NodeWord(NodeMode node);
// "new_moon", "first_quarter", "full_moon", "last_quarter".
const char* PhaseKey(LunarPhase phase);

// Appends the shortest text that reads back as the same double, laid out as
// {fmt}'s "{}" does (1.5, 0.0001, 1e-05, 1e+16).
void AppendShortest(std::string& out, double v);

// ---- CSV ----

// date, instant, jd, sidereal_time_s, then per body its longitude, latitude,
// ra, declination, helio_longitude, helio_latitude (decimal degrees; empty for
// the Moon and the node, the Earth's for the Sun) and, with retrograde, a
// 0/1 retrograde flag.
// The chosen minor bodies follow, with the same columns (their heliocentric
// ones empty for Lilith), filled from EphemerisDay::minor.
std::string DayCsvHeader(bool retrograde = true, const MinorChoice& minor = {});
void AppendDayCsv(std::string& out, const EphemerisDay& day, bool retrograde = true);
void AppendEphemerisCsv(std::string& out, const EphemerisReport& report);

// An instant as the zone's clock shows it, with its offset from UT:
// "2009-11-01T01:30:00-05:00".
std::string LocalIsoInstant(double jd, const TimeZone& zone);

// instant, kind, body, other, aspect, sign, direction, eclipse, longitude,
// end, local_instant, local_end, eclipse_type, eclipse_instant,
// eclipse_magnitude, saros, saros_member, phase (lunations: PhaseKey). Instants are UT; end only
// for the Moon's void-of-course periods (kind void_of_course, sign the one it enters); the local
// columns are filled when a zone other than UT is given, the eclipse's when a lunation has one (its
// greatest eclipse, EclipseMagnitude).
std::string EventCsvHeader();
void AppendEventCsv(std::string& out, const Event& event, Coordinates coords,
                    const TimeZone* zone = nullptr, const EclipseEntry* eclipse = nullptr);
void AppendStationCsv(std::string& out, const Station& station, const TimeZone* zone = nullptr);
void AppendVoidCsv(std::string& out, const VoidOfCourse& v, const TimeZone* zone = nullptr);

// ---- JSON Lines ----

// {"type":"run","program":"novastra","version":...,"command":...,"parameters":{...}}
std::string JsonRunLine(const std::string& version, const std::string& command,
                        const std::vector<std::pair<std::string, std::string>>& parameters);
void AppendDayJson(std::string& out, const EphemerisDay& day, bool retrograde = true);
// With a zone other than UT each line also has "local_instant"; a lunation
// with an eclipse has its eclipse_type, eclipse_instant, eclipse_magnitude,
// saros and saros_member.
void AppendEventJson(std::string& out, const Event& event, Coordinates coords,
                     const TimeZone* zone = nullptr, const EclipseEntry* eclipse = nullptr);
void AppendStationJson(std::string& out, const Station& station, const TimeZone* zone = nullptr);
// {"type":"event","kind":"void_of_course","instant":..,"end":..,"sign_left":..,"sign_entered":..,
//  "last_aspect":{..}}
void AppendVoidJson(std::string& out, const VoidOfCourse& v, const TimeZone* zone = nullptr);
// {"type":"end","count":N}: the stream is complete.
std::string JsonEndLine(long long count);

}  // namespace novastra
