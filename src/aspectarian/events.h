#pragma once
// The event finder: one day's hourly samples in, the day's event lines out.
// Everything it reads is passed in, so a day can be checked on its own.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "input/run_parameters.h"

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

// The choices that filter and shape one day's events.
struct EventChoices {
  Coordinates coords = Coordinates::Geocentric;
  bool moonChangeOnly = false;                   // "Moon - change sign only (Asp.)"
  MoonChangeSign moonSign = MoonChangeSign::Display;
  float option12 = 0;                            // Moon ingresses into cardinal signs only
  bool carry = false;  // minutes that round to 60 carry into the hour (24:00: the next day)
};

// A station the finder listed, to the hour.
struct FoundStation {
  int body = 0;   // 3 Mercury .. 10 Pluto
  int hour = 0;   // start of the sample hour in which it turned
  int glyph = 0;  // 156 turning retrograde, 171 turning direct
};

struct DayEvents {
  std::vector<std::string> lines;     // unsorted, in the order found
  std::vector<FoundStation> stations;
  std::vector<std::string> nextDay;   // events at 23:59.5 or later, shown as 00:00 of the next day
};

// Glyph codes.
inline constexpr int kGlyphRetrograde = 156;
inline constexpr int kGlyphDirect = 171;
inline constexpr int kGlyphParallel = 166;
inline constexpr int kGlyphContraparallel = 177;
int BodyGlyph(int body, Coordinates coords);

// Sign 1..12 of a longitude (values just outside 0..360 give 0 or 13).
int SignOf(double x);
// Degrees within the 30-degree segment of x, 0 <= result < 30.
double DegreesInSegment(double x);

// Aspect type of a separation in degrees (0..180): 1 conjunction, 2 sextile,
// 3 square, 4 trine, 5 opposition; 0 for anything else, 30 and 150 included.
int AspectTypeOf(double separation);

// Scans the 24 hours of one day. dateText is the day's "MM/DD/YYYY".
// Stations update `directions` (geocentric runs only).
DayEvents FindDayEvents(const HourSamples& samples, const std::string& dateText,
                        const EventChoices& choices, InitialDirections& directions);

// Exchange sort by hour (characters 11-12) then minutes (characters 14-15).
void SortDayEvents(std::vector<std::string>& lines);

// Appends a sorted day to the aspectarian lines: the date shows only on the
// day's first line, and one empty line closes the day.
void AppendDay(std::vector<std::string>& out, const std::vector<std::string>& day);

// The two-column view of aspectarian lines (header 0..5 included).
std::vector<std::string> TwoColumnLines(const std::vector<std::string>& lines);

}  // namespace novastra
