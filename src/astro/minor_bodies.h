#pragma once
// Chiron, Ceres, Pallas, Juno, Vesta and the Black Moon Lilith (mean and
// osculating): geocentric and heliocentric places for a Universal Time
// instant in either sky. Reentrant: each call reads the instant and the
// loaded MINOR.DAT series and returns the place.
//
// Design sky: geometric places of the mean ecliptic and equinox of date, the
// time argument used directly as the ephemeris time, as the planets are.
// Apparent sky: at TT = UT + delta T, with light-time, annual aberration and
// nutation (true equinox and ecliptic of date), as the apparent planets.
// Longitudes are tropical; a sidereal zodiac is the caller's shift
// (ShiftLongitude), as for the planets.
#include <array>
#include <optional>
#include <string_view>

#include "astro/minor_data.h"
#include "astro/sky.h"

namespace novastra {

enum class MinorBody { Chiron, Ceres, Pallas, Juno, Vesta, Lilith, OscLilith };
inline constexpr int kMinorBodyCount = 7;
inline constexpr std::array<const char*, kMinorBodyCount> kMinorBodyNames{
    "Chiron", "Ceres", "Pallas", "Juno", "Vesta", "Lilith", "Osc. Lilith"};
inline constexpr std::array<MinorBody, kMinorBodyCount> kMinorBodies{
    MinorBody::Chiron, MinorBody::Ceres,  MinorBody::Pallas,   MinorBody::Juno,
    MinorBody::Vesta,  MinorBody::Lilith, MinorBody::OscLilith};

const char* MinorBodyName(MinorBody body);
// The body of a name of kMinorBodyNames (exact, case-insensitive).
std::optional<MinorBody> MinorBodyFromName(std::string_view name);
// Whether a body is one of the five asteroids, whose places come from
// MINOR.DAT (not Lilith, mean or osculating).
inline bool IsAsteroid(MinorBody b) { return b <= MinorBody::Vesta; }

// The asteroids' places hold for 1800 Jan 1 to 2100 Dec 31 (UT); Lilith's
// for any instant the lunar theory holds for.
inline constexpr double kMinorValidFromJD = 2378496.5;  // 1800 Jan 1, 0h UT
inline constexpr double kMinorValidToJD = 2488434.5;    // 2101 Jan 1, 0h UT
inline constexpr const char* kMinorRangeMessage =
    "Chiron, Ceres, Pallas, Juno and Vesta are computed for 1800 to 2100 only";
// True when the asteroids' places can be given at jd (UT).
bool MinorBodiesCover(double jdUT);

struct MinorPlace {
  double longitude = 0;  // degrees, 0..360, ecliptic of date
  double latitude = 0;   // degrees
  double distance = 0;   // AU from the Earth's centre
  double rightAscension = 0;  // degrees, 0..360, equator of date
  double declination = 0;     // degrees
  double longitudeSpeed = 0;  // degrees per day; negative while retrograde
};

struct MinorHelioPlace {
  double longitude = 0;  // degrees, 0..360, ecliptic of date
  double latitude = 0;
  double radius = 0;  // AU
};

// The geocentric place of `body` at the UT Julian Day jdUT; nullopt for an
// asteroid outside MinorBodiesCover.
std::optional<MinorPlace> ComputeMinorPlace(const MinorTables& tables, MinorBody body,
                                            double jdUT, Sky sky);
// The seven at once (the frame rotations and nutation computed once), or
// those of `which`; with `helio`, also the asteroids' heliocentric places.
using MinorBodySet = std::array<bool, kMinorBodyCount>;
inline constexpr MinorBodySet kAllMinorBodies{true, true, true, true, true, true, true};
std::array<std::optional<MinorPlace>, kMinorBodyCount> ComputeMinorPlaces(
    const MinorTables& tables, double jdUT, Sky sky, const MinorBodySet& which = kAllMinorBodies,
    std::array<std::optional<MinorHelioPlace>, kMinorBodyCount>* helio = nullptr);
// Heliocentric place of an asteroid (geometric, no light-time; nutation in
// the apparent sky); nullopt for Lilith or outside MinorBodiesCover.
std::optional<MinorHelioPlace> ComputeMinorHelio(const MinorTables& tables, MinorBody body,
                                                 double jdUT, Sky sky);

}  // namespace novastra
