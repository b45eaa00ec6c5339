#pragma once
// Line builders of the six ephemeris tables (used by the ephemeris run and its
// tests; the aspectarian shares only pages.h).
#include <array>
#include <string>

#include "astro/engine.h"
#include "ephemeris/ephemeris.h"

namespace novastra {

inline constexpr char kNorthCode = static_cast<char>(152);
inline constexpr char kSouthCode = static_cast<char>(154);
inline constexpr char kRetrogradeCode = static_cast<char>(157);
inline constexpr char kDegreeCode = static_cast<char>(186);
inline constexpr char kMinuteCode = static_cast<char>(146);
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
  const std::array<double, 16>* previousLongitudes = nullptr;  // index 1..11
  bool carry = false;  // rounded 60s carried into the next unit (see output/carry.h)
};

// One row of a table (without the blank line that precedes a Sunday).
std::string BuildRow(ColumnSet set, const RowInfo& row, bool raHours);

// Groups of one body.
// With carry, minutes (seconds) that round to 60 move into the next unit.
std::string LongitudeGroup(double degrees, bool carry = false);   // 9 characters, with the sign code
std::string NorthSouthGroup(double degrees, bool carry = false);  // 9 characters, north/south code
std::string HoursGroup(double raDegrees, bool carry = false);     // 10 characters

// The longitude went backward along the shorter arc since yesterday.
bool IsRetrograde(double today, double yesterday);

// A Sunday row after the first gets a blank line before it.
bool NeedsBlankLineBefore(const std::string& rowDateText, bool firstRow);

}  // namespace novastra
