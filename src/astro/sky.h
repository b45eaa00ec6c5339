#pragma once
// The sky the engine computes, and the time and frame corrections of the
// apparent sky: delta T, nutation, and the years over which Pluto's series hold.
#include <string>
#include <vector>

namespace novastra {

// Design: geometric positions of the mean equinox of date, the series evaluated
// at the Universal Time instant. Apparent: the series evaluated at Terrestrial
// Time (UT + delta T), with light-time, annual aberration and nutation.
enum class Sky { Design, Apparent };

// TT - UT in seconds at the Julian Day jd (UT), from the polynomials of
// Espenak & Meeus, "Five Millennium Canon of Solar Eclipses" (NASA TP-2006-214141),
// for 1600-2150; outside those years their long-term parabola -20 + 32 u^2.
double DeltaTSeconds(double jd);

// Nutation in longitude and obliquity and the mean and true obliquity of date,
// radians, for a Terrestrial Time Julian Day (IAU 1980 theory through ERFA).
struct NutationOfDate {
  double dpsi = 0, deps = 0;
  double meanObliquity = 0, trueObliquity = 0;
};
NutationOfDate Nutation(double jdTT);

// Pluto's series (Meeus, Astronomical Algorithms, ch. 37) hold for 1885-2099.
inline constexpr double kPlutoValidFromJD = 2409542.5;  // 1885 Jan 1, 0h UT
inline constexpr double kPlutoValidToJD = 2488069.5;    // 2100 Jan 1, 0h UT
inline constexpr const char* kPlutoBeforeMessage = "Pluto's positions before 1885 are approximate";
inline constexpr const char* kPlutoAfterMessage = "Pluto's positions after 2099 are approximate";

// The messages for a run whose instants span firstJD..lastJD (UT): none when the
// whole range lies within 1885-2099, else one for each side it reaches past.
std::vector<std::string> PlutoRangeMessages(double firstJD, double lastJD);

}  // namespace novastra
