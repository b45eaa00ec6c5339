#include "astro/zodiac.h"

#include "astro/angles.h"
#include "astro/ayanamsas.h"

namespace novastra {

// The Synetic Vernal Point (SVP) of the Fagan-Bradley sidereal zodiac and the
// ayanamsa. The precession from the sidereal zero point is A = 84038.27"
// at JD 2415021.0 (1900 January 1.5) + Newcomb's general precession in
// longitude + the two largest terms of the nutation in longitude, with the
// Sun's mean longitude and the Moon's mean node of the same epoch. The SVP
// is -A reduced to [0, 360). The ayanamsa is the user's value (options 1 to
// 4), or 359.116389 deg - SVP (the Fagan-Bradley value less 0 deg 53' 01",
// close to Lahiri's), or with a name chosen that standard ayanamsa
// (NamedAyanamsaDegrees).
// Given:  T          Julian centuries from J2000.0 (UT in the design sky)
//         ayanamsa   the user's choice: value, option or name
// Returns:           svp and ayanamsa, degrees; svp in [0, 360)
// Source: Newcomb's general precession 5025.64" a century + 1.11" t^2, the
//         Sun's mean longitude 279.696678 + 36000.768925 t + 0.0003025 t^2
//         (Newcomb) and the Moon's mean node 259.183275 - 1934.142008 t +
//         0.002078 t^2 + 0.0000022 t^3 (Brown), t in Julian centuries from
//         JD 2415020.0 (here 2415021.0): Explanatory Supplement to the
//         Astronomical Ephemeris (1961). The nutation is the two largest
//         terms of Woolard's series (1953) that the Supplement gives,
//         -(17.2327 + 0.01737 t) sin node - 1.273 sin 2L, the second
//         coefficient rounded to 0.001". 84038.27" (23 deg 20' 38.27")
//         is within 0.14" of the Fagan-Bradley ayanamsa of B1950.0, 24 deg
//         02' 31.36" (American Astrology, 1957), carried back by the same
//         precession.
// Accuracy: within 2" of the Fagan-Bradley definition under the IAU 2006
//           precession over 1800-2100 (test NamedAyanamsas).
SvpAyanamsa ComputeSvp(double T, const AyanamsaOption& ayanamsa) {
  // Centuries counted from JD 2415021.0.
  const double t = T + 36524.0 / 36525.0;
  // Powers first, each then multiplied by its coefficient.
  const double t2 = t * t, t3 = t * t * t;
  const double L = 279.696678 + 36000.768925 * t + 0.0003025 * t2;
  const double node = 259.183275 - 1934.142008 * t + 0.002078 * t2 + 0.0000022 * t3;
  const double nutation = -(17.2327 + 0.01737 * t) * SinDeg(node) - 1.273 * SinDeg(2.0 * L);
  const double A = 84038.27 + 5025.64 * t + 1.11 * t2 + nutation;  // arcseconds
  SvpAyanamsa out;
  out.svp = NormalizeDegrees(-A / 3600.0);
  if (ayanamsa.named != NamedAyanamsa::None)
    out.ayanamsa = NamedAyanamsaDegrees(ayanamsa.named, T);
  else
    out.ayanamsa = ayanamsa.useUserValue ? ayanamsa.degrees : 359.116389 - out.svp;
  return out;
}

// The zodiac's name as the table headers print it, with its trailing blank.
// Given:  zodiac   Tropical, Sidereal or Ayanamsa
// Returns:         "Tropical ", "Sidereal " or "Ayanamsa "
const char* ZodiacLabel(Zodiac zodiac) {
  switch (zodiac) {
    case Zodiac::Sidereal: return "Sidereal ";
    case Zodiac::Ayanamsa: return "Ayanamsa ";
    case Zodiac::Tropical: break;
  }
  return "Tropical ";
}

// A tropical longitude in the chosen zodiac: plus the SVP (sidereal), less
// the ayanamsa (ayanamsa), or unchanged (tropical).
// Given:  tropical        degrees, equinox of date
//         svp, ayanamsa   degrees
// Returns:                degrees, [0, 360) for the two sidereal zodiacs,
//                         tropical unchanged
double ShiftLongitude(double tropical, Zodiac zodiac, double svp, double ayanamsa) {
  switch (zodiac) {
    case Zodiac::Sidereal: return NormalizeDegrees(tropical + NormalizeDegrees(svp));
    case Zodiac::Ayanamsa: return NormalizeDegrees(tropical - NormalizeDegrees(ayanamsa));
    case Zodiac::Tropical: break;
  }
  return tropical;
}

// The same with an instant's SVP and ayanamsa; the sidereal zodiac of a
// named ayanamsa is tropical - ayanamsa, as the ayanamsa zodiac is.
// Given:  tropical   degrees, equinox of date
//         instant    Svp, Ayanamsa (degrees) and Named of the instant
// Returns:           degrees, as the other ShiftLongitude
double ShiftLongitude(double tropical, Zodiac zodiac, const InstantSetup& instant) {
  if (zodiac == Zodiac::Sidereal && instant.Named != NamedAyanamsa::None) zodiac = Zodiac::Ayanamsa;
  return ShiftLongitude(tropical, zodiac, instant.Svp, instant.Ayanamsa);
}

}  // namespace novastra
