#pragma once
// The eclipse list as text (a fixed-width table), CSV (RFC 4180, CRLF) and
// JSON Lines. Instants are UT; with a zone other than UT each row also gives
// the zone's clock.
#include <string>

#include "reports/eclipses_report.h"
#include "reports/time_zone.h"

namespace novastra {

// "solar" or "lunar".
const char* EclipseKindWord(const EclipseEntry& e);
// "total", "annular", "hybrid", "partial" or "penumbral".
const char* EclipseTypeWord(const EclipseEntry& e);
// The magnitude an almanac lists first: a solar eclipse's magnitude, a lunar
// eclipse's umbral magnitude (its penumbral one when it is penumbral).
double EclipseMagnitude(const EclipseEntry& e);
// "Total lunar eclipse, magnitude 1.33".
std::string EclipseTitle(const EclipseEntry& e);

// The table: a title line, a header line, then one line per eclipse.
std::string EclipseTextTable(const EclipseReport& report, const std::string& fromISO,
                             const std::string& toISO, const TimeZone& zone);

// instant, kind, type, magnitude, penumbral_magnitude, obscuration, gamma,
// saros, saros_member, p1, u1, u2, u3, u4, p4, local_instant. Solar rows leave
// the lunar columns empty and lunar rows the obscuration; contacts that do not
// happen are empty.
std::string EclipseCsvHeader();
void AppendEclipseCsv(std::string& out, const EclipseEntry& e, const TimeZone* zone = nullptr);
// {"type":"eclipse","instant":..,"kind":..,"eclipse_type":..,"magnitude":..,...}
void AppendEclipseJson(std::string& out, const EclipseEntry& e, const TimeZone* zone = nullptr);

}  // namespace novastra
