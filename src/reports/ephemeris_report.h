#pragma once
// The daily ephemeris as data: every body's positions at one instant per day.
#include <array>
#include <vector>

#include "astro/engine.h"
#include "reports/minor_report.h"
#include "reports/report.h"
#include "reports/time_zone.h"

namespace novastra {

struct EphemerisRequest {
  const SeriesTables* tables = nullptr;
  EngineChoices engine;
  AyanamsaOption ayanamsa;
  double startJD = 0;      // noon Julian Day of the first day
  double dayFraction = 0;  // 0 for 0h UT, 0.5 for 12h UT
  int dayCount = 0;        // any number of days
  // Rows at the zone's local midnight (dayFraction 0) or noon (0.5) of each
  // date instead of 0h or 12h UT; null or Universal Time keeps UT rows.
  const TimeZone* localZone = nullptr;
  // The minor bodies listed after the planets (none unless chosen; `minor`
  // must then be the loaded MINOR.DAT series).
  const MinorTables* minor = nullptr;
  MinorChoice minorChoice{};
};

struct EphemerisDay {
  double rowJD = 0;            // noon Julian Day of the day
  double jd = 0;               // the instant: rowJD - 0.5 + dayFraction (UT rows)
  double siderealSeconds = 0;  // Greenwich mean sidereal time at the instant
  BodyPositions positions;     // indexed by Body (1..11)
  // The geocentric longitude went backward since the day before (index 1..11).
  std::array<bool, 12> retrograde{};
  // The chosen minor bodies (EphemerisRequest::minorChoice), in kMinorBodies order.
  std::vector<MinorRow> minor;
};

struct EphemerisReport {
  double svp = 0;       // degrees, at the first day's instant
  double ayanamsa = 0;  // degrees, at the first day's instant
  // The ayanamsa's name, when one was chosen.
  NamedAyanamsa named = NamedAyanamsa::None;
  std::vector<EphemerisDay> days;
  bool cancelled = false;
};

// One pass per day, with the day before the first computed as well for the
// retrograde flags. Progress steps: -1 (the day before), then 0 .. dayCount - 1.
EphemerisReport BuildEphemeris(const EphemerisRequest& request, const ReportControl& control = {});

// The longitude went backward along the shorter arc since yesterday.
bool IsRetrograde(double today, double yesterday);

}  // namespace novastra
