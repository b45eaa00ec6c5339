// Pluto from the 43 periodic terms of Meeus, Astronomical Algorithms 2nd ed.,
// ch. 37 (Table 37.A; the terms fitted by Goffin and Meeus to a numerical
// integration, valid 1885-2099), read from PLUTO.DAT. The heliocentric
// position is of the J2000.0 ecliptic; it is seen from the Sun's J2000.0
// position (Meeus ch. 26) and the longitude is then carried to the date by the
// program's linear rule (PlutoLongitudeOfDate). The series check finds the
// heliocentric positions within 0.007 degree of an independent ephemeris.
//
// The arguments J, S, P and the periodic terms are Meeus's. The constant
// terms are not: l = 238.956785 + 144.96 T, b = -3.908202, r = 40.7247248 AU
// here, where ch. 37 has 238.958116, -3.908239 and 40.7241346 (differences
// -4.8", +0.13" and +0.00059 AU). Where the program's values came from is
// not known; they are kept because every output depends on them. In Example
// 37.a (1992 October 13, 0h TD) they give l = 232.739380, b = 14.587854,
// r = 29.7117012 against the book's 232.74071, 14.58782, 29.711111.
#include "astro/pluto.h"

#include <cmath>

#include "astro/angles.h"

namespace novastra {

namespace {
// The mean obliquity of J2000.0 in degrees, the equator of Meeus's FK5 frame
// of ch. 37: 0.001" from the IAU 1976 value, 23 deg 26' 21.448".
constexpr double kObliquityJ2000 = 23.43929139;
}  // namespace

// The Sun's geocentric rectangular equatorial coordinates of J2000.0.
// Given:  earthJ2000   the Earth's series set of the J2000.0 ecliptic
//         tau          Julian millennia from J2000.0
//         fast         the vector kernels, or nullptr: term by term
// Returns:             X0, Y0, Z0 in AU, FK5 equator and equinox J2000.0,
//                      and the Earth's L, B, R it came from
// Source: Meeus, Astronomical Algorithms 2nd ed., ch. 26 (VSOP87 J2000.0
//         terms of the Earth; see SunJ2000FromEarth).
SunJ2000 ComputeSunJ2000(const SeriesSet& earthJ2000, double tau, const TrigKernels* fast) {
  return SunJ2000FromEarth(ComputeHelio(earthJ2000, tau, fast));
}

// The Sun's geocentric rectangular coordinates from the Earth's heliocentric
// position: the Earth's direction reversed, rotated from the VSOP87 ecliptic
// frame of J2000.0 to the FK5 equator of J2000.0.
// Given:  earthJ2000   L, B degrees, R AU; ecliptic and equinox J2000.0
// Returns:             X0, Y0, Z0 in AU, FK5 equator and equinox J2000.0
// Source: Meeus, Astronomical Algorithms 2nd ed., ch. 26 (the rotation
//         matrix from the dynamical ecliptic of VSOP87 to FK5).
SunJ2000 SunJ2000FromEarth(const HelioPosition& earthJ2000) {
  SunJ2000 s;
  s.earth = earthJ2000;
  const double lon = NormalizeDegrees(s.earth.L + 180.0);
  const double lat = -s.earth.B;
  const double R = s.earth.R;
  const double X = R * CosDeg(lat) * CosDeg(lon);
  const double Y = R * CosDeg(lat) * SinDeg(lon);
  const double Z = R * SinDeg(lat);
  // From the J2000.0 ecliptic of the series to the FK5 equator.
  s.X0 = X + 0.00000044036 * Y - 0.000000190919 * Z;
  s.Y0 = -0.000000479966 * X + 0.917482137087 * Y - 0.397776982902 * Z;
  s.Z0 = 0.397776982902 * Y + 0.917482137087 * Z;
  return s;
}

// A J2000.0 ecliptic longitude carried to the equinox of a date by the
// program's own linear rule: 167.9' per 73049 days (50.37" a year), 84.3' at
// JD 2488070 (J2100.0), less a fixed 0.45'.
// Given:  lonJ2000   degrees, ecliptic and equinox J2000.0
//         jd         Julian Day of the date
// Returns:           degrees, [0, 360), equinox of the date
// Source: none published; not a precession theory.
// Accuracy: within about 1' of the IAU 1976 general precession in longitude
//           over 1800-2100.
double PlutoLongitudeOfDate(double lonJ2000, double jd) {
  return NormalizeDegrees(lonJ2000 - ((2488070.0 - jd) * 167.9 / 73049.0 - 84.3) / 60.0 -
                          0.45 / 60.0);
}

// Arcsine by ArcSinAbsDeg with the sign restored.
// Given:  s   sine, -1..1
// Returns:    degrees, -90..90
static double SignedArcSinDeg(double s) {
  const double a = ArcSinAbsDeg(s);
  return s < 0 ? -a : a;
}

// The angle of the point (d, n): atan(n / d), plus half a turn when d < 0.
// Given:  n, d   numerator and denominator, one unit; d != 0
// Returns:       degrees, -90..270
// Source: the quadrant rule of Meeus, Astronomical Algorithms 2nd ed., ch. 13
//         and 37.
static double QuadrantAngleDeg(double n, double d) {
  double a = std::atan(n / d);
  if (d < 0) a += kPi;
  return RadToDeg(a);
}

// Pluto: the heliocentric l, b, r of the J2000.0 ecliptic from the 43 terms,
// then the geocentric right ascension and declination of J2000.0 from the
// Sun's J2000.0 position (no light-time, no aberration), the ecliptic
// longitude and latitude of J2000.0, the longitude carried to the date
// (PlutoLongitudeOfDate), and the right ascension and declination of the
// date from it with the obliquity of J2000.0.
// Given:  T       Julian centuries from J2000.0
//         rowJD   Julian Day of the date, read only by the correction to it
//         sun     the Sun's J2000.0 position (ComputeSunJ2000)
//         terms   Table 37.A as read from PLUTO.DAT
//         fast    the vector kernels, or nullptr: the library's sin and cos
// Returns:        l, b degrees and r AU (heliocentric, J2000.0 ecliptic);
//                 longitude degrees [0, 360) of the equinox of date, latitude
//                 degrees (J2000.0 ecliptic), right ascension [0, 360) and
//                 declination, degrees
// Source: Meeus, Astronomical Algorithms 2nd ed., ch. 37, Table 37.A and the
//         steps after it (constant terms: see the top of this file);
//         ecliptic and equatorial coordinates, ch. 13, eq. 13.1 to 13.4.
// Accuracy: valid 1885-2099 (Meeus); heliocentric places within 0.007
//           degree of an independent ephemeris (series check); the design
//           sky's longitudes 41.8" worst against PyEphem in 1885-2099, up to
//           half a degree before 1885 (README, Accuracy).
PlutoPosition ComputePluto(double T, double rowJD, const SunJ2000& sun,
                           const std::array<PlutoTerm, 43>& terms, const TrigKernels* fast) {
  const double J = DegToRad(34.35 + 3034.9057 * T);
  const double S = DegToRad(50.08 + 1222.1138 * T);
  const double P = DegToRad(238.96 + 144.96 * T);

  double alpha[43], sinA[43], cosA[43];
  for (int i = 0; i < 43; ++i) alpha[i] = terms[i].s * S + terms[i].j * J + terms[i].p * P;
  if (fast != nullptr) {
    fast->sinBatch(alpha, sinA, 43);
    fast->cosBatch(alpha, cosA, 43);
  } else {
    for (int i = 0; i < 43; ++i) {
      sinA[i] = std::sin(alpha[i]);
      cosA[i] = std::cos(alpha[i]);
    }
  }
  double lonSum = 0, latSum = 0, radSum = 0;
  for (int i = 0; i < 43; ++i) {
    const PlutoTerm& t = terms[i];
    lonSum += t.lonSin * sinA[i] * 0.000001;
    lonSum += t.lonCos * cosA[i] * 0.000001;
    latSum += t.latSin * sinA[i] * 0.000001;
    latSum += t.latCos * cosA[i] * 0.000001;
    radSum += t.radSin * sinA[i] * 0.0000001;
    radSum += t.radCos * cosA[i] * 0.0000001;
  }

  PlutoPosition out;
  out.l = NormalizeDegrees(144.96 * T + 238.956785 + lonSum);
  out.b = latSum - 3.908202;
  out.r = radSum + 40.7247248;

  const double e0 = kObliquityJ2000;
  const double cosE = CosDeg(e0), sinE = SinDeg(e0);
  const double cosB = CosDeg(out.b), sinB = SinDeg(out.b);
  const double cosL = CosDeg(out.l), sinL = SinDeg(out.l);
  const double x = out.r * cosB * cosL;
  const double y = out.r * (cosB * sinL * cosE - sinB * sinE);
  const double z = out.r * (cosB * sinL * sinE + sinB * cosE);

  const double xi = x + sun.X0, eta = y + sun.Y0, zeta = z + sun.Z0;
  const double delta = std::sqrt(xi * xi + eta * eta + zeta * zeta);

  // Right ascension and declination of J2000.0, no light-time.
  const double ra = NormalizeDegrees(QuadrantAngleDeg(eta, xi));
  const double dec = SignedArcSinDeg(zeta / delta);

  // Ecliptic longitude and latitude of J2000.0.
  const double sinRa = SinDeg(ra), cosRa = CosDeg(ra);
  const double sinDec = SinDeg(dec), cosDec = CosDeg(dec);
  double lon = QuadrantAngleDeg(sinRa * cosDec * cosE + sinDec * sinE, cosRa * cosDec);
  out.rightAscensionJ2000 = ra;
  out.longitudeJ2000 = lon;
  lon = PlutoLongitudeOfDate(lon, rowJD);
  const double lat = SignedArcSinDeg(sinDec * cosE - cosDec * sinE * sinRa);

  // Right ascension and declination of the date from the corrected position.
  const double sinLon = SinDeg(lon), cosLon = CosDeg(lon);
  const double sinLat = SinDeg(lat), cosLat = CosDeg(lat);
  out.longitude = lon;
  out.latitude = lat;
  out.rightAscension =
      NormalizeDegrees(QuadrantAngleDeg(cosLat * sinLon * cosE - sinLat * sinE, cosLat * cosLon));
  out.declination = SignedArcSinDeg(sinLat * cosE + cosLat * sinE * sinLon);
  return out;
}

}  // namespace novastra
