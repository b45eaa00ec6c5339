#include "astro/ayanamsas.h"

#include <erfa.h>
#include <erfam.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <string>

#include "astro/sky.h"

namespace novastra {

namespace {

// Each ayanamsa is a value at a reference epoch (TT Julian Day) and the
// precession since: A(T) = A0 + p_A(T) - p_A(T0). The precession is the IAU
// 2006 general precession in longitude (Capitaine et al. 2003, the model
// ERFA implements; Lieske et al. 1977 differs from it by under 0.5" over
// 1800-2100 from these epochs). The value printed and subtracted is the
// true ayanamsa, the mean one plus the nutation in longitude, as the
// program's SVP and "True Ayanamsa" always were. An epoch value that its
// author gave as a true value has the nutation of its epoch taken out first.
struct Definition {
  NamedAyanamsa id;
  double epochJD;     // TT Julian Day of the reference epoch
  double arcseconds;  // the ayanamsa then
  bool trueAtEpoch;   // the value includes the nutation of the epoch
};

// Degrees, minutes and seconds of arc as arcseconds.
// Given:  d, m, s   degrees, arcminutes, arcseconds
// Returns:          arcseconds
constexpr double Dms(double d, double m, double s) { return d * 3600.0 + m * 60.0 + s; }

constexpr std::array<Definition, 7> kDefinitions{{
    // Fagan and Allen (Bradley): the mean sidereal longitude of the SVP at
    // B1950.0 is 335 deg 57' 28.64", an ayanamsa of 24 deg 02' 31.36"; later
    // places add precession and nutation (American Astrology, 1957; the
    // definition of the Synetic Vernal Point). B1950.0 = JD 2433282.4235.
    {NamedAyanamsa::FaganBradley, 2433282.4235, Dms(24, 2, 31.36), false},
    // Lahiri (Chitrapaksha): the point of the ecliptic whose true tropical
    // longitude was 23 deg 15' 00" on 1956 March 21, 0h (Report of the
    // Calendar Reform Committee, Government of India, 1955; the Indian
    // Astronomical Ephemeris and the Rashtriya Panchang since).
    {NamedAyanamsa::Lahiri, 2435553.5, Dms(23, 15, 0.0), true},
    // B. V. Raman: zero in A.D. 397 at 50 1/3" a year (A Manual of Hindu
    // Astrology), which for 1900 is 1503 x 50 1/3" = 21 deg 00' 51"; taken at
    // 1900 January 0.5 (JD 2415020.0).
    {NamedAyanamsa::Raman, 2415020.0, Dms(21, 0, 51.0), false},
    // K. S. Krishnamurti: 22 deg 22' for 1900 in the ayanamsa table of KP
    // Reader I (zero year A.D. 291), taken at 1900 January 1, 0h.
    {NamedAyanamsa::Krishnamurti, 2415020.5, Dms(22, 22, 0.0), false},
    // Sri Yukteshwar, The Holy Science (1894), Introduction: the vernal
    // equinox "now" 20 deg 54' 36" from the first point of Aries; the book
    // names only the year, taken at 1894 January 1, 0h.
    {NamedAyanamsa::Yukteshwar, 2412829.5, Dms(20, 54, 36.0), false},
    // The mean equinox of J2000.0 as the zero point: the ecliptic frame of
    // the astronomical catalogues (IAU 1976 resolutions; JD 2451545.0).
    {NamedAyanamsa::J2000, 2451545.0, 0.0, false},
    // Djwhal Khul (through A. A. Bailey): the Age of Aquarius begins in 2117,
    // the vernal point then at 0 deg of sidereal Pisces, an ayanamsa of 30
    // deg (P. Lindsay, "Zodiac and Ray Cycles in Esoteric Astrology: The
    // Beginning of the Age of Aquarius", The Esoteric Quarterly, Fall 2006);
    // taken at 2117 January 1, 0h.
    {NamedAyanamsa::DjwhalKhul, 2494278.5, Dms(30, 0, 0.0), false},
}};

constexpr std::array<NamedAyanamsaInfo, 8> kInfo{{
    {NamedAyanamsa::FaganBradley, "fagan-bradley", "Fagan-Bradley"},
    {NamedAyanamsa::Lahiri, "lahiri", "Lahiri"},
    {NamedAyanamsa::Raman, "raman", "Raman"},
    {NamedAyanamsa::Krishnamurti, "krishnamurti", "Krishnamurti"},
    {NamedAyanamsa::Yukteshwar, "yukteshwar", "Yukteshwar"},
    {NamedAyanamsa::J2000, "j2000", "J2000"},
    {NamedAyanamsa::DjwhalKhul, "djwhal-khul", "Djwhal Khul"},
    {NamedAyanamsa::GalacticCentre, "galactic-centre", "Galactic Centre 0 Sag"},
}};

// Other spellings accepted on the command line.
struct Alias {
  const char* word;
  NamedAyanamsa id;
};
constexpr std::array<Alias, 9> kAliases{{
    {"fagan", NamedAyanamsa::FaganBradley},
    {"faganbradley", NamedAyanamsa::FaganBradley},
    {"chitrapaksha", NamedAyanamsa::Lahiri},
    {"kp", NamedAyanamsa::Krishnamurti},
    {"yukteswar", NamedAyanamsa::Yukteshwar},
    {"sri-yukteshwar", NamedAyanamsa::Yukteshwar},
    {"djwhalkhul", NamedAyanamsa::DjwhalKhul},
    {"galactic-center", NamedAyanamsa::GalacticCentre},
    {"galactic", NamedAyanamsa::GalacticCentre},
}};

// The Julian Day of T Julian centuries from J2000.0.
// Given:  T   Julian centuries of TT from J2000.0
// Returns:    Julian Day, TT
double TtJulianDay(double T) { return ERFA_DJ00 + T * 36525.0; }

// Julian centuries from J2000.0 of a Julian Day (the inverse of TtJulianDay).
// Given:  jd   Julian Day, TT
// Returns:     Julian centuries from J2000.0
double CenturiesOf(double jd) { return (jd - ERFA_DJ00) / 36525.0; }

// The nutation in longitude.
// Given:  T   Julian centuries of TT from J2000.0
// Returns:    arcseconds
// Source: IAU 1980 nutation through ERFA eraNut80 (Nutation in sky.cpp).
double NutationArcsec(double T) { return Nutation(TtJulianDay(T)).dpsi * ERFA_DR2AS; }

// The galactic-centre ayanamsa at J2000.0: the centre at 0 deg sidereal
// Sagittarius, its longitude on the ecliptic and equinox of J2000.0 less
// 240 deg; computed once. The centre's motion is neglected.
// Given:  nothing (Sgr A* at ICRS RA 17h 45m 40.0409s, Dec -29 deg 00'
//         28.118")
// Returns: arcseconds
// Source: Reid & Brunthaler 2004, ApJ 616, 872 (the position); IAU 2006
//         precession, ERFA eraEqec06 (the equator-to-ecliptic rotation).
// Accuracy: within 0.05" of the same position turned by Meeus eq. 13.1 with
//           the J2000 obliquity (tests).
double GalacticCentreAtJ2000Arcsec() {
  static const double value = [] {
    const double ra = (17.0 + 45.0 / 60.0 + 40.0409 / 3600.0) * 15.0 * ERFA_DD2R;
    const double dec = -(29.0 + 28.118 / 3600.0) * ERFA_DD2R;
    double lon = 0, lat = 0;
    eraEqec06(ERFA_DJ00, 0.0, ra, dec, &lon, &lat);
    return (lon * ERFA_DR2D - 240.0) * 3600.0;
  }();
  return value;
}

}  // namespace

// Every named ayanamsa with its key and display name, in the order the lists
// show them (None excluded).
// Returns: a view of the static table; bookkeeping, no published source
std::span<const NamedAyanamsaInfo> NamedAyanamsas() { return kInfo; }

// The ayanamsa a word names: its key or one of the other spellings, in any
// case, with '_' read as '-'.
// Given:  word   a command-line word
// Returns:       the ayanamsa, or nothing for an unknown word
std::optional<NamedAyanamsa> FindNamedAyanamsa(std::string_view word) {
  std::string lower(word);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  std::replace(lower.begin(), lower.end(), '_', '-');
  for (const NamedAyanamsaInfo& a : kInfo)
    if (lower == a.key) return a.id;
  for (const Alias& a : kAliases)
    if (lower == a.word) return a.id;
  return std::nullopt;
}

// The command-line key of a named ayanamsa.
// Given:  a   the ayanamsa
// Returns:    e.g. "lahiri"; "" for None
const char* NamedAyanamsaKey(NamedAyanamsa a) {
  for (const NamedAyanamsaInfo& i : kInfo)
    if (i.id == a) return i.key;
  return "";
}

// The display name of a named ayanamsa.
// Given:  a   the ayanamsa
// Returns:    e.g. "Lahiri"; "" for None
const char* NamedAyanamsaName(NamedAyanamsa a) {
  for (const NamedAyanamsaInfo& i : kInfo)
    if (i.id == a) return i.name;
  return "";
}

// The general precession in longitude p_A since J2000.0.
// Given:  T   Julian centuries of TT from J2000.0
// Returns:    arcseconds
// Source: IAU 2006 precession, Capitaine, Wallace & Chapront 2003, A&A 412,
//         567, eq. 39, through ERFA eraP06e.
// Accuracy: the model's; 5029.90170" at T = 1 to 0.001" (tests).
double GeneralPrecessionArcsec(double T) {
  double eps0 = 0, psia = 0, oma = 0, bpa = 0, bqa = 0, pia = 0, bpia = 0, epsa = 0, chia = 0,
         za = 0, zetaa = 0, thetaa = 0, pa = 0, gam = 0, phi = 0, psi = 0;
  eraP06e(ERFA_DJ00, T * 36525.0, &eps0, &psia, &oma, &bpa, &bqa, &pia, &bpia, &epsa, &chia, &za,
          &zetaa, &thetaa, &pa, &gam, &phi, &psi);
  return pa * ERFA_DR2AS;
}

// The mean value of a named ayanamsa: its epoch value (less the epoch's
// nutation when its author gave a true value) plus the general precession
// since the epoch, A(T) = A0 + p_A(T) - p_A(T0).
// Given:  a   the ayanamsa (None gives 0)
//         T   Julian centuries of TT from J2000.0
// Returns:    degrees, mean equinox of date
// Source: the epoch values named in kDefinitions; IAU 2006 precession
//         (Capitaine et al. 2003, A&A 412, 567, through ERFA eraP06e).
// Accuracy: Lahiri within 1" of the Indian Ephemeris formula over 1800-2100;
//           Lahiri's yearly table 1922-2000 to its 1" rounding (tests).
double MeanNamedAyanamsa(NamedAyanamsa a, double T) {
  if (a == NamedAyanamsa::None) return 0;
  if (a == NamedAyanamsa::GalacticCentre)
    return (GalacticCentreAtJ2000Arcsec() + GeneralPrecessionArcsec(T)) / 3600.0;
  for (const Definition& d : kDefinitions) {
    if (d.id != a) continue;
    const double T0 = CenturiesOf(d.epochJD);
    const double mean0 = d.trueAtEpoch ? d.arcseconds - NutationArcsec(T0) : d.arcseconds;
    return (mean0 + GeneralPrecessionArcsec(T) - GeneralPrecessionArcsec(T0)) / 3600.0;
  }
  return 0;
}

// The true value of a named ayanamsa: the mean one plus the nutation in
// longitude, as the program's SVP and "True Ayanamsa" always were.
// Given:  a   the ayanamsa (None gives 0)
//         T   Julian centuries of TT from J2000.0
// Returns:    degrees, true equinox of date
// Source: MeanNamedAyanamsa; IAU 1980 nutation (ERFA eraNut80).
double NamedAyanamsaDegrees(NamedAyanamsa a, double T) {
  if (a == NamedAyanamsa::None) return 0;
  return MeanNamedAyanamsa(a, T) + NutationArcsec(T) / 3600.0;
}

}  // namespace novastra
