#pragma once
// Pieces of the ephemeris page layouts that other pages share.
#include <string>

#include "astro/choices.h"
#include "text/glyphs.h"

namespace novastra {

// Sign 1 (Aries) .. 12 (Pisces), whole degrees within the sign, minutes.
struct Zodiacal {
  int sign = 1;
  int degrees = 0;
  double minutes = 0;
};
Zodiacal SplitZodiacal(double x);
// The minutes as shown with `decimals` decimals; a 60 carries into the degree,
// and 30 degrees into the next sign (Pisces into Aries).
Zodiacal CarryZodiacalMinutes(Zodiacal z, int decimals);

// Right-justifies a number's text: two blanks below 10, one below 100.
std::string PadNumber(const std::string& text);

// 13 characters: two blanks, hours "#0", minutes "#0", seconds "#0.0", padded.
// With carry, seconds that round to 60.0 move into the minute (and on).
std::string FormatSiderealTime(double seconds, bool carry = false);

// 9 characters "hh mm ss " of a right ascension in degrees.
std::string FormatRightAscensionHours(double degrees, bool carry = false);

// "   SVP = 05<Pisces>15.xx  True Ayanamsa = 23d 51m ..s " for header line 1.
std::string BuildSvpText(double svp, double ayanamsa, bool carry = false);

// "   Lahiri True Ayanamsa = 23d 51m ..s " in its place when a named ayanamsa
// was chosen; BuildSvpText's text for None.
std::string BuildZodiacText(double svp, double ayanamsa, NamedAyanamsa named, bool carry = false);

// Extension of a saved data file: the zodiac letter (T, S or A), "E", and G
// for geocentric or H for heliocentric tables ("TEG" ... "AEH").
std::string SavedFileExtension(Zodiac zodiac, bool heliocentric);

}  // namespace novastra
