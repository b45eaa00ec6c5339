#pragma once
// The Black Moon Lilith: the Moon's mean apogee and its osculating apogee.
#include "astro/chebyshev.h"
#include "astro/fast_trig.h"

namespace novastra {

// Longitude (degrees, 0..360, mean equinox of date) of the mean lunar apogee
// for T in Julian centuries from J2000.0: the mean perigee plus 180 degrees
// (Meeus, Astronomical Algorithms 2nd ed., ch. 47, eq. 47.7).
double MeanLunarApogee(double T);
// Its rate in degrees per day.
double MeanLunarApogeeSpeed(double T);

// The Moon's geocentric distance in km (Meeus, ch. 47, Table 47.A), T in
// Julian centuries from J2000.0.
double MoonDistanceKm(double T, const TrigKernels* fast);
// The same from the fundamental arguments of a computed Moon.
struct MoonPosition;
double MoonDistanceKm(const MoonPosition& moon, const TrigKernels* fast);

// The apogee of the osculating two-body orbit of a geocentric position
// (km) and velocity (km per day) with GM = gmKm3PerDay2: direction as
// longitude and latitude (degrees) of the frame given, distance a (1 + e) in
// km; with the acceleration (km per day squared), the longitude's rate in
// degrees per day.
struct Apogee {
  double longitude = 0, latitude = 0, distanceKm = 0;
  double longitudeSpeed = 0;
};
// r, v: the Moon's geocentric position (km) and velocity (km/day); mu: the
// Earth-Moon GM (km^3/day^2).
Apogee OsculatingApogee(Vector3 r, Vector3 v, double mu, Vector3 acceleration = {});

// GM of the Earth and Moon, DE440 (GM3 + GMM), km^3/s^2.
inline constexpr double kEarthMoonGMKm3PerS2 = 403503.235502;

// The osculating apogee of the Moon of the program's lunar theory (ecliptic
// and mean equinox of date): position from its longitude, latitude and
// distance, velocity and acceleration from central differences over 0.01 day.
Apogee OsculatingLunarApogee(double T, const TrigKernels* fast);

}  // namespace novastra
