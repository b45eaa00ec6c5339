#pragma once
// The angles and house cusps of a chart: Ascendant, Midheaven, Vertex and the
// twelve cusps of the common house systems, from the sidereal time, the
// obliquity and the latitude of the place.
#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "astro/sky.h"

namespace novastra {

enum class HouseSystem { Placidus, Koch, Regiomontanus, Campanus, Porphyry, Equal, WholeSign };
inline constexpr int kHouseSystems = 7;

// "placidus", "koch", "regiomontanus", "campanus", "porphyry", "equal", "whole-sign".
const char* HouseSystemWord(HouseSystem system);
// "Placidus" ... "Whole Sign".
const char* HouseSystemName(HouseSystem system);
std::optional<HouseSystem> HouseSystemFromWord(std::string_view word);

// The sky of the place at the instant, all in degrees.
struct HouseSky {
  double ramc = 0;       // right ascension of the meridian: local apparent sidereal time
  double obliquity = 0;  // true obliquity of the ecliptic
  double latitude = 0;   // geographic latitude, north positive, |latitude| < 90
};

// The HouseSky of a place (latitude, longitude east, degrees) at a UT
// instant: the local sidereal time from Greenwich apparent sidereal time
// (IAU 1982 mean sidereal time with the IAU 1994 equation of the equinoxes,
// ERFA eraGst94) and the true obliquity (IAU 1980 nutation) in the apparent
// sky; the mean sidereal time (eraGmst82) and the mean obliquity in the design
// sky. UT1 is taken as UT (they differ by under a second).
struct GeoPlace {
  double latitude = 0;       // degrees, north positive
  double longitudeEast = 0;  // degrees, east positive
};
HouseSky HouseSkyAt(double jdUT, GeoPlace place, Sky sky);

// Ecliptic longitudes in degrees, 0..360, of the equinox whose sidereal time
// and obliquity HouseSky holds.
struct HouseCusps {
  double ascendant = 0, mc = 0, vertex = 0;
  std::array<double, 12> cusps{};  // house 1 first
};

// The cusps of `system`. nullopt, with the reason in `why`, where the system
// is undefined: Placidus and Koch within the polar circles (|latitude| >=
// 90 - obliquity, where some degrees of the ecliptic never rise or set), and
// every system at the poles themselves.
//
// Ascendant, Midheaven and the cusps of Regiomontanus and Campanus from the
// spherical triangles of the ecliptic with the horizon and the house circles
// (R. Hand, "Essays on Astrology", 1982; J. Meeus, Astronomical Algorithms,
// 2nd ed., ch. 13 for the transformations); the Vertex is the Ascendant of the
// co-latitude at the opposite meridian. Placidus by iteration of each cusp's
// right ascension on its own semi-arc (the cusp of house 11 is the degree that
// has passed two thirds of its diurnal semi-arc since rising); Koch as the
// Ascendants of the times that trisect the diurnal and nocturnal semi-arcs of
// the Midheaven's degree (W. Koch and E. Schaeck, "Hausertabellen des
// Geburtsortes", 1962). Porphyry trisects the quadrants in longitude; Equal
// counts 30 degrees from the Ascendant; Whole Sign starts at 0 degrees of the
// Ascendant's sign. Exact to rounding (Placidus iterated to 1e-10 degree).
std::optional<HouseCusps> ComputeHouses(HouseSystem system, const HouseSky& sky,
                                        std::string* why = nullptr);

// The ecliptic longitude rising on the horizon of a place of latitude
// `poleDeg` when the right ascension of its meridian is `ramcDeg` (the
// Ascendant for the place's own latitude), obliquity `epsDeg`; degrees.
double AscendantOf(double ramcDeg, double poleDeg, double epsDeg);
// The ecliptic longitude on the meridian of right ascension `ramcDeg`.
double MidheavenOf(double ramcDeg, double epsDeg);

}  // namespace novastra
