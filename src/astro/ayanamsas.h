#pragma once
// The standard ayanamsas by name: each one's value at its reference epoch as
// its author gave it (sources in ayanamsas.cpp), carried to any instant by the
// general precession in longitude (IAU 2006), plus the nutation in longitude.
#include <optional>
#include <span>
#include <string_view>

#include "astro/choices.h"

namespace novastra {

struct NamedAyanamsaInfo {
  NamedAyanamsa id;
  const char* key;   // the command line's word, "lahiri"
  const char* name;  // as the headers print it, "Lahiri"
};

// Every named ayanamsa (None excluded), in the order the lists show them.
std::span<const NamedAyanamsaInfo> NamedAyanamsas();

// The ayanamsa a word names: its key, or a few other spellings ("fagan",
// "chitrapaksha", "kp", "galactic-center" ...), in any letter case.
std::optional<NamedAyanamsa> FindNamedAyanamsa(std::string_view word);

// The key and the printed name; "" for None.
const char* NamedAyanamsaKey(NamedAyanamsa a);
const char* NamedAyanamsaName(NamedAyanamsa a);

// The general precession in longitude p_A from J2000.0, arcseconds, at T
// Julian centuries (TT) from J2000.0 (Capitaine, Wallace & Chapront 2003,
// A&A 412, 567, eq. 39; ERFA eraP06e).
double GeneralPrecessionArcsec(double T);

// The mean ayanamsa (no nutation), degrees, at T Julian centuries from J2000.0.
double MeanNamedAyanamsa(NamedAyanamsa a, double T);

// The true ayanamsa: the mean one plus the nutation in longitude (IAU 1980),
// degrees; the value the sidereal zodiac of that name subtracts. 0 for None.
double NamedAyanamsaDegrees(NamedAyanamsa a, double T);

}  // namespace novastra
