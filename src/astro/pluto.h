#pragma once
// Pluto from its 43 periodic terms (J2000.0 frame), seen from the Sun's J2000.0
// position, with the program's linear correction of the longitude to the date.
#include <array>

#include "astro/fast_trig.h"
#include "astro/planets.h"
#include "astro/series.h"

namespace novastra {

// The Sun's geocentric rectangular equatorial coordinates of J2000.0 (AU).
struct SunJ2000 {
  HelioPosition earth;  // the Earth in the J2000.0 ecliptic frame
  double X0 = 0, Y0 = 0, Z0 = 0;
};

SunJ2000 ComputeSunJ2000(const SeriesSet& earthJ2000, double tau, const TrigKernels* fast);
// The same from the Earth's J2000.0 position already computed.
SunJ2000 SunJ2000FromEarth(const HelioPosition& earthJ2000);

struct PlutoPosition {
  double l = 0, b = 0, r = 0;  // heliocentric, J2000.0 ecliptic (degrees, degrees, AU)
  double longitude = 0;        // geocentric, corrected to the date
  double latitude = 0;
  double rightAscension = 0;  // of the date, from the corrected longitude
  double declination = 0;
  // The geocentric right ascension and ecliptic longitude of J2000.0 before
  // the correction (degrees, -90..270 as their quadrant rule gives them).
  double rightAscensionJ2000 = 0;
  double longitudeJ2000 = 0;
};

// T in Julian centuries; rowJD is the Julian Day of the date, read only by the
// correction to the date. fast = null evaluates the terms with the library.
PlutoPosition ComputePluto(double T, double rowJD, const SunJ2000& sun,
                           const std::array<PlutoTerm, 43>& terms, const TrigKernels* fast);

// A J2000.0 longitude brought to the date of Julian Day jd, reduced to 0..360.
double PlutoLongitudeOfDate(double lonJ2000, double jd);

}  // namespace novastra
