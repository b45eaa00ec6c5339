#pragma once
// The choices of the Input window that every run reads. The window edits one
// RunParameters record; the runs read it, so the logic works without a window.
#include <cstdint>
#include <string>

#include "astro/choices.h"
#include "astro/sky.h"
#include "reports/choices.h"
#include "reports/events.h"
#include "reports/minor_report.h"

namespace novastra {

enum class DataOutput { Longitude, Latitude, RightAscension, Declination };

inline constexpr int16_t kMaxDays = 366;

struct RunParameters {
  // Start date texts exactly as typed (digits only from the window's key filter).
  std::string StartMonth;
  std::string StartDay;
  std::string StartYear;
  // Text of the "# of Days" field and its value, kept in 1..366 by SetDaysText.
  std::string DaysText = "30";
  int16_t NumberOfDays = 30;
  bool FullMonth = true;
  bool SaveData = false;
  InstantChoice Instant = InstantChoice::Noon;
  Coordinates Coords = Coordinates::Geocentric;
  NodeMode MoonNodes = NodeMode::True;
  Zodiac ZodiacMode = Zodiac::Tropical;
  // The sidereal zodiac's standard ayanamsa by name; None: the SVP's, as always.
  NamedAyanamsa SiderealAyanamsa = NamedAyanamsa::None;
  MoonChangeSign MoonSign = MoonChangeSign::Display;
  bool MoonChangeOnly = false;
  DataOutput Output = DataOutput::Longitude;
  Sky SkyChoice = Sky::Design;
  // Times of the aspectarian and the stations: "UT" or an IANA zone name.
  std::string TimeZoneName = "UT";
  // "Moon void of course" lines in the aspectarian.
  bool VoidOfCourse = false;
  // Ephemeris rows at midnight or noon of the zone instead of 0h or 12h UT.
  bool LocalRows = false;
  // The aspects of the aspectarian, bit t for AspectType t (the five by default).
  std::uint16_t Aspects = kMajorAspects;
  // Chiron, the asteroids and the two Liliths added to the aspectarian's events
  // and the ephemeris' "Minor bodies" view (none by default).
  MinorChoice MinorBodies{};
};

}  // namespace novastra
