#include "astro/pluto.h"

#include <cmath>

#include "astro/angles.h"

namespace novastra {

namespace {
constexpr double kObliquityJ2000 = 23.43929139;  // degrees
}

SunJ2000 ComputeSunJ2000(const SeriesSet& earthJ2000, double tau, const TrigKernels* fast) {
  return SunJ2000FromEarth(ComputeHelio(earthJ2000, tau, fast));
}

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

double PlutoLongitudeOfDate(double lonJ2000, double jd) {
  return NormalizeDegrees(lonJ2000 - ((2488070.0 - jd) * 167.9 / 73049.0 - 84.3) / 60.0 -
                          0.45 / 60.0);
}

// Arcsine with the sign of its argument restored.
static double SignedArcSinDeg(double s) {
  const double a = ArcSinAbsDeg(s);
  return s < 0 ? -a : a;
}

// Angle of (d, n) in degrees by the arctangent plus half a turn when d < 0.
static double QuadrantAngleDeg(double n, double d) {
  double a = std::atan(n / d);
  if (d < 0) a += kPi;
  return RadToDeg(a);
}

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
