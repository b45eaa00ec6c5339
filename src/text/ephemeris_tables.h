#pragma once
// Line builders of the six ephemeris tables (used by the ephemeris run and its
// tests; the aspectarian shares only zodiac_text.h).
#include <array>
#include <string>
#include <vector>

#include "astro/engine.h"
#include "reports/ephemeris_report.h"
#include "text/glyphs.h"

namespace novastra {

enum class ColumnSet {
  Longitude,
  Latitude,
  RightAscension,
  Declination,
  HelioLongitude,
  HelioLatitude
};

inline constexpr const char* kHelioPlaceholder = "  Helio   ";

inline bool IsHeliocentric(ColumnSet set) {
  return set == ColumnSet::HelioLongitude || set == ColumnSet::HelioLatitude;
}

// What the header lines read from the run's start.
struct HeaderInfo {
  std::string zodiacLabel;    // "Tropical " ...
  std::string startDateText;  // as typed, month/day/year
  std::string instantLabel;   // "midnight" or "noon"
  double displayJD = 0;
  std::string place = "Greenwich";  // or the zone of local rows
};

// Header lines 0..6 of one table; raHours selects the hours form of the
// RightAscension table (option 11 not 0).
std::array<std::string, 7> BuildHeaderLines(ColumnSet set, const HeaderInfo& info, bool raHours);

// Line 1 without the SVP text, line 2, line 4, the rule and the units line.
std::string HeaderLine1(const HeaderInfo& info);
std::string HeaderLine2(double displayJD);
std::string HeaderLine4(ColumnSet set);
std::string RuleLine(bool heliocentric);
std::string UnitsLine(bool hoursForm);

// What one row reads.
struct RowInfo {
  std::string rowDateText;  // "MM/DD/YYYY"
  double siderealSeconds = 0;
  const BodyPositions* positions = nullptr;
  const std::array<bool, 12>* retrograde = nullptr;  // index 1..11; none marked when null
  bool carry = false;  // rounded 60s carried into the next unit (see text/carry.h)
};

// One row of a table (without the blank line that precedes a Sunday).
std::string BuildRow(ColumnSet set, const RowInfo& row, bool raHours);

// Groups of one body.
// With carry, minutes (seconds) that round to 60 move into the next unit.
std::string LongitudeGroup(double degrees, bool carry = false);  // 9 characters, with the sign code
std::string NorthSouthGroup(double degrees, bool carry = false);  // 9 characters, north/south code
std::string HoursGroup(double raDegrees, bool carry = false);     // 10 characters

// A Sunday row after the first gets a blank line before it.
bool NeedsBlankLineBefore(const std::string& rowDateText, bool firstRow);

// A whole table from the report: header lines 0..6 (line 1 with the SVP text
// when withSvp), then the rows, a blank line before each Sunday but the first
// row.
std::vector<std::string> EphemerisTableLines(ColumnSet set, const EphemerisReport& report,
                                             const HeaderInfo& info, bool raHours, bool withSvp,
                                             bool carry = false);

// The "Minor bodies" table of the days' minor bodies (EphemerisDay::minor), in
// the longitude table's layout: header lines, then a row per day with each
// body's longitude group and retrograde mark. Empty without minor bodies.
std::vector<std::string> MinorTableLines(const EphemerisReport& report, const HeaderInfo& info,
                                         bool carry = false);

}  // namespace novastra
