#pragma once
// The position engine: all eleven bodies for one instant. Reentrant: it reads
// the instant and the series tables and returns the positions.
#include <array>

#include "astro/choices.h"
#include "astro/series.h"
#include "astro/sky.h"

namespace novastra {

// Body indices used by every table, sample array and event list.
enum Body : int {
  kSun = 1,
  kMoon = 2,
  kMercury = 3,
  kVenus = 4,
  kMars = 5,
  kJupiter = 6,
  kSaturn = 7,
  kUranus = 8,
  kNeptune = 9,
  kPluto = 10,
  kNorthNode = 11
};

// Positions in degrees, indexed by body (0 and 12..15 unused).
struct BodyPositions {
  std::array<double, 16> Longitude{};  // geocentric, in the chosen zodiac
  std::array<double, 16> Latitude{};
  std::array<double, 16> RightAscension{};  // always from the tropical position
  std::array<double, 16> Declination{};
  std::array<double, 16> HelioLongitude{};  // 1 = Earth, 3..10; tropical
  std::array<double, 16> HelioLatitude{};
};

// The user's ayanamsa from options 1 to 4 (used when option 1 is 1), or a
// standard one by name: a name chosen gives the sidereal zodiac that
// ayanamsa (tropical - ayanamsa) in place of the SVP's.
struct AyanamsaOption {
  bool useUserValue = false;
  double degrees = 0;  // option 2 + option 3 / 60 + option 4 / 3600
  NamedAyanamsa named = NamedAyanamsa::None;
};

// Everything the instant set-up prepares before positions are computed.
struct InstantSetup {
  double RowJD = 0;            // noon-based JD of the date; read by Pluto's date correction
  double TimeT = 0;            // Julian centuries from JD 2451545.0
  double ObliquityRad = 0;     // minus the mean obliquity, radians
  double SiderealSeconds = 0;  // Greenwich mean sidereal time, 0..86400
  double Svp = 0;              // degrees
  double Ayanamsa = 0;         // degrees; the named one's when one is chosen
  NamedAyanamsa Named = NamedAyanamsa::None;
};

// Instant set-up of a table row: T from RowJD and DayFraction, SVP, obliquity,
// sidereal time.
InstantSetup PrepareInstant(double rowJD, double dayFraction, const AyanamsaOption& ayanamsa);
// The same at any hour of the day (dayFraction may lie outside 0..1): the
// sidereal time is that of the instant itself. At 0h and 12h it equals
// PrepareInstant's.
InstantSetup PrepareInstantAnyHour(double rowJD, double dayFraction,
                                   const AyanamsaOption& ayanamsa);

// The same set-up for an instant given directly as T (aspectarian and station
// searches); rowJD is the Julian Day of the date that Pluto's correction reads.
InstantSetup PrepareInstantAt(double T, double rowJD, const AyanamsaOption& ayanamsa);

struct EngineChoices {
  Zodiac zodiac = Zodiac::Tropical;
  NodeMode node = NodeMode::True;
  // Term-by-term evaluation with the library's sine and cosine, in table order.
  // The default evaluates the same terms through the vector kernels; results
  // agree to far better than 1e-9 degree.
  bool plain = false;
  Sky sky = Sky::Design;
};

BodyPositions ComputePositions(const InstantSetup& instant, const SeriesTables& tables,
                               const EngineChoices& choices);

// The longitude (degrees, in the chosen zodiac) of one body at one instant,
// the same bits as ComputePositions(instant, tables, choices).Longitude[body]
// but computing only what that body needs: the Sun, a planet or Pluto from
// their own series and the Earth's. The other bodies, and every body of the
// apparent sky, go through ComputePositions.
double ComputeLongitude(const InstantSetup& instant, const SeriesTables& tables,
                        const EngineChoices& choices, int body);

}  // namespace novastra

namespace novastra {

// SVP and ayanamsa (degrees) for T in Julian centuries from J2000.0.
struct SvpAyanamsa {
  double svp = 0;
  double ayanamsa = 0;
};
SvpAyanamsa ComputeSvp(double T, const AyanamsaOption& ayanamsa);

// "Tropical ", "Sidereal " or "Ayanamsa ".
const char* ZodiacLabel(Zodiac zodiac);

}  // namespace novastra
