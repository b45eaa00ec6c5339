#pragma once
// Solar and lunar eclipses from the apparent Sun and Moon (ComputeApparentSunMoon):
// the instant of greatest eclipse, type, magnitudes, gamma, lunar contacts and
// the Saros series. Reentrant: every function reads only its arguments.
#include <cstdint>
#include <optional>
#include <vector>

#include "astro/series.h"

namespace novastra {

enum class SolarEclipseType { Partial, Annular, Total, Hybrid };
enum class LunarEclipseType { Penumbral, Partial, Total };

// How the Earth's shadow is enlarged for its atmosphere (Explanatory Supplement to
// the Astronomical Almanac, 1992, sec. 8.3): Danjon's 1/85 of the Earth's radius,
// or Chauvenet's 1/50 of the shadow's radii. Both with the Earth's radius at
// latitude 45 degrees (0.998340 of the equatorial), as Espenak & Meeus do.
enum class ShadowEnlargement { Danjon, Chauvenet };

// Saros series and the eclipse's place in it (1 = the series' first eclipse).
struct SarosPlace {
  int series = 0;
  int member = 0;
};

struct SolarEclipse {
  SolarEclipseType type = SolarEclipseType::Partial;
  double greatestUT = 0;  // Julian Day (UT) of greatest eclipse
  double greatestTT = 0;  // the same in Terrestrial Time
  double deltaT = 0;      // TT - UT, seconds
  // The distance of the shadow axis from the Earth's centre at greatest eclipse,
  // equatorial radii, positive when the axis passes north of the centre.
  double gamma = 0;
  // At the point of greatest eclipse: the fraction of the Sun's diameter covered
  // (for total, annular and hybrid eclipses the Moon/Sun diameter ratio) and of
  // its disk's area.
  double magnitude = 0;
  double obscuration = 0;
  bool central = false;  // the shadow axis meets the Earth
  int lunation = 0;      // New Moons since that of 2000 January 6
  SarosPlace saros;
};

// Contact instants, Julian Days (UT); an empty one does not happen (U1..U4 in a
// penumbral eclipse, U2 and U3 in a partial one).
struct LunarContacts {
  std::optional<double> P1, U1, U2, U3, U4, P4;
};

struct LunarEclipse {
  LunarEclipseType type = LunarEclipseType::Penumbral;
  double greatestUT = 0;
  double greatestTT = 0;
  double deltaT = 0;
  // The distance of the Moon's centre from the shadow axis at greatest eclipse,
  // equatorial radii, positive when the Moon passes north of the axis.
  double gamma = 0;
  // Fractions of the Moon's diameter inside the umbra and the penumbra at greatest
  // eclipse (negative when outside).
  double umbralMagnitude = 0;
  double penumbralMagnitude = 0;
  LunarContacts contacts;
  int lunation = 0;  // Full Moons counted like the New Moons of SolarEclipse
  SarosPlace saros;
};

// Every eclipse whose greatest eclipse falls in fromUT <= t < toUT (Julian Days,
// UT), in time order. Candidates are the New and Full Moons with the Moon near a
// node; each is then decided on the geometry of the Sun, Moon and Earth.
std::vector<SolarEclipse> FindSolarEclipses(double fromUT, double toUT, const SeriesTables& tables);
std::vector<LunarEclipse> FindLunarEclipses(
    double fromUT, double toUT, const SeriesTables& tables,
    ShadowEnlargement enlargement = ShadowEnlargement::Chauvenet);

// The eclipse of one lunation, if any, without its Saros member number (that
// needs the series' earlier eclipses; the Find functions give it).
std::optional<SolarEclipse> SolarEclipseOfLunation(int lunation, const SeriesTables& tables);
std::optional<LunarEclipse> LunarEclipseOfLunation(
    int lunation, const SeriesTables& tables,
    ShadowEnlargement enlargement = ShadowEnlargement::Chauvenet);

// The Saros series of the solar (lunar) eclipse of a lunation: eclipses 223
// lunations apart share a series, and one 358 lunations (an inex) later belongs
// to the next series (van den Bergh, Periodicity and Variation of Solar (and
// Lunar) Eclipses, 1955).
int SolarSarosSeries(int lunation);
int LunarSarosSeries(int lunation);

// A fingerprint of every coefficient of the tables (FNV-1a), by which the
// supplied series files are recognised.
std::uint64_t SeriesFingerprint(const SeriesTables& tables);

// The fraction of the Sun's disk (radius 1) covered by the Moon's (radius
// diameterRatio) whose limbs overlap by `magnitude` Sun diameters.
double SolarObscuration(double magnitude, double diameterRatio);

}  // namespace novastra
