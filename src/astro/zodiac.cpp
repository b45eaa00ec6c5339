#include "astro/zodiac.h"

#include "astro/angles.h"

namespace novastra {

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
  out.ayanamsa = ayanamsa.useUserValue ? ayanamsa.degrees : 359.116389 - out.svp;
  return out;
}

const char* ZodiacLabel(Zodiac zodiac) {
  switch (zodiac) {
    case Zodiac::Sidereal: return "Sidereal ";
    case Zodiac::Ayanamsa: return "Ayanamsa ";
    case Zodiac::Tropical: break;
  }
  return "Tropical ";
}

double ShiftLongitude(double tropical, Zodiac zodiac, double svp, double ayanamsa) {
  switch (zodiac) {
    case Zodiac::Sidereal: return NormalizeDegrees(tropical + NormalizeDegrees(svp));
    case Zodiac::Ayanamsa: return NormalizeDegrees(tropical - NormalizeDegrees(ayanamsa));
    case Zodiac::Tropical: break;
  }
  return tropical;
}

}  // namespace novastra
