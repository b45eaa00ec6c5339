// Pluto from the 43 periodic terms of Meeus, Astronomical Algorithms 2nd ed.,
// ch. 37 (Table 37.A; the terms fitted by Goffin and Meeus to a numerical
// integration, valid 1885-2099), read from PLUTO.DAT. The heliocentric
// position is of the J2000.0 ecliptic; it is seen from the Sun's J2000.0
// position (Meeus ch. 26) and the longitude is then carried to the date by the
// program's linear rule (PlutoLongitudeOfDate). The series check finds the
// heliocentric positions within 0.007 degree of an independent ephemeris.
#include "astro/pluto.h"

#include <cmath>

#include "astro/angles.h"

namespace novastra {

namespace {
// The mean obliquity of J2000.0 in degrees, the equator of Meeus's FK5 frame
// of ch. 37: 0.001" from the IAU 1976 value, 23 deg 26' 21.448".
constexpr double kObliquityJ2000 = 23.43929139;
}  // namespace

// The Sun's geocentric rectangular equatorial coordinates of J2000.0 (AU):
// given the Earth's J2000.0 series set and tau in Julian millennia from
// J2000.0, evaluates the set (fast = null: term by term with the library)
// and hands the position to SunJ2000FromEarth (Meeus ch. 26).
SunJ2000 ComputeSunJ2000(const SeriesSet& earthJ2000, double tau, const TrigKernels* fast) {
  return SunJ2000FromEarth(ComputeHelio(earthJ2000, tau, fast));
}

// The Sun's geocentric rectangular coordinates (AU) in the FK5 equator of
// J2000.0, from the Earth's heliocentric L, B (degrees) and R (AU) of the
// J2000.0 ecliptic: the Sun's direction is the Earth's reversed, rotated from
// the VSOP87 ecliptic frame to FK5 by the matrix Meeus gives for it
// (Astronomical Algorithms 2nd ed., ch. 26).
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

// A J2000.0 ecliptic longitude (degrees) carried to the equinox of the date
// of Julian Day jd, reduced to 0..360. Not a published precession: the
// program's own linear rule, 167.9' per 73049 days (50.37" a year), 84.3' at
// JD 2488070 (J2100.0), less a fixed 0.45'. It stays within about 1' of the
// IAU 1976 general precession in longitude over 1800-2100.
double PlutoLongitudeOfDate(double lonJ2000, double jd) {
  return NormalizeDegrees(lonJ2000 - ((2488070.0 - jd) * 167.9 / 73049.0 - 84.3) / 60.0 -
                          0.45 / 60.0);
}

// Arcsine (degrees) of s in -1..1, by ArcSinAbsDeg with the sign restored.
static double SignedArcSinDeg(double s) {
  const double a = ArcSinAbsDeg(s);
  return s < 0 ? -a : a;
}

// The angle of the point (d, n) in degrees, -90..270: atan(n / d), plus half
// a turn when d < 0 (the quadrant rule of Meeus ch. 37 and 13). d must not be 0.
static double QuadrantAngleDeg(double n, double d) {
  double a = std::atan(n / d);
  if (d < 0) a += kPi;
  return RadToDeg(a);
}

// Pluto at T Julian centuries from J2000.0: the heliocentric l, b (degrees)
// and r (AU) of the J2000.0 ecliptic from the 43 terms (Meeus ch. 37, eq.
// 37.1 and Table 37.A: arguments J, S, P of Jupiter, Saturn and Pluto), then
// the geocentric right ascension and declination of J2000.0 from the Sun's
// J2000.0 position (no light-time, no aberration), the ecliptic longitude
// and latitude of J2000.0, the longitude carried to the date of rowJD
// (PlutoLongitudeOfDate) and the right ascension and declination of the date
// from it with the obliquity of J2000.0. fast = null evaluates the terms
// with the library. Valid 1885-2099 (Meeus); outside it the errors grow.
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
