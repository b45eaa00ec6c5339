#include <cmath>

#include "astro/angles.h"
#include "astro/engine.h"
#include "astro/moon.h"
#include "astro/planets.h"
#include "astro/pluto.h"
#include "astro_test.h"

namespace novastra {
namespace {

using testing::AngleGap;
using testing::Tables;

TEST(Angles, ReductionAndTheTenDecimalPi) {
  const double cases[][2] = {{-10, 350}, {720.5, 0.5}, {-720.5, 359.5},
                             {360, 0},   {-360, 0},    {1e6 + 0.25, 280.25}};
  for (const auto& c : cases) EXPECT_NEAR(NormalizeDegrees(c[0]), c[1], 1e-9) << c[0];
  EXPECT_EQ(DegToRad(180), 3.1415926535);
  EXPECT_EQ(RadToDeg(3.1415926535), 180.0);
  EXPECT_NEAR(CosDeg(90), 4.4897e-11, 1e-14);  // not 0 with the shortened pi
  // ArcSinAbsDeg gives the magnitude only; the caller restores the sign.
  EXPECT_NEAR(ArcSinAbsDeg(-0.5), 30, 1e-6);
  EXPECT_NEAR(ArcSinAbsDeg(std::sqrt(0.5)), 45, 1e-6);
}

TEST(Angles, RectToSphericalQuadrantsAndPoles) {
  struct Case {
    double x, y, z, ra, dec;
  };
  const Case equatorial[] = {
      {1, 0, 0, 0, 0},    {0, 1, 0, 90, 0},    {-1, 0, 0, 180, 0},
      {0, -1, 0, 270, 0}, {0, 0, 1, 0, 90},    {0, 0, -1, 0, -90},
      {0, 0, 0, 0, 0},    {-1, -1, 0, 225, 0}, {1, -1, std::sqrt(2.0), 315, 45},
  };
  for (const Case& c : equatorial) {
    const EquatorialDeg e = RectToEquatorial(c.x, c.y, c.z);
    EXPECT_NEAR(e.rightAscension, c.ra, 1e-7) << c.x << "," << c.y << "," << c.z;
    EXPECT_NEAR(e.declination, c.dec, 1e-7) << c.x << "," << c.y << "," << c.z;
  }
  // Ecliptic: the quadrant rule keeps a body in conjunction (tiny y) in 0..360.
  const Case ecliptic[] = {{-1, 1, 0, 135, 0},
                           {1, -1, 0, 315, 0},
                           {1, -1e-9, 0, 360 - 5.7e-8, 0},
                           {-2, 1e-12, -2, 180, -45}};
  for (const Case& c : ecliptic) {
    const EclipticDeg e = RectToEcliptic(c.x, c.y, c.z);
    EXPECT_NEAR(e.longitude, c.ra, 1e-7) << c.x << "," << c.y;
    EXPECT_LT(e.longitude, 360.0);
    EXPECT_NEAR(e.latitude, c.dec, 1e-6) << c.x << "," << c.y;
  }
}

TEST(Zodiac, LabelsSvpAndAyanamsa) {
  EXPECT_STREQ(ZodiacLabel(Zodiac::Tropical), "Tropical ");
  EXPECT_STREQ(ZodiacLabel(Zodiac::Sidereal), "Sidereal ");
  EXPECT_STREQ(ZodiacLabel(Zodiac::Ayanamsa), "Ayanamsa ");
  const SvpAyanamsa z = ComputeSvp(0.0, AyanamsaOption{});
  EXPECT_NEAR(z.svp, 335.26, 0.01);
  EXPECT_NEAR(360 - z.svp - z.ayanamsa, 0.883611, 1e-9);  // 359.116389 - SVP
  // General precession moves the SVP back about 50" a year.
  EXPECT_NEAR(ComputeSvp(1.0, AyanamsaOption{}).svp - z.svp, -5025.64 / 3600, 0.01);
  // The user's ayanamsa (23 deg 30' 0") replaces the computed one at every instant.
  const AyanamsaOption user{true, 23 + 30 / 60.0};
  EXPECT_EQ(ComputeSvp(-1.5, user).ayanamsa, 23.5);
  EXPECT_EQ(ComputeSvp(0.7, user).ayanamsa, 23.5);
}

// T = 0, and the published worked example of 1992 April 12 at 0h.
TEST(Moon, AtJ2000AndThe1992April12WorkedExample) {
  const MoonPosition z = ComputeMoon(0.0, NodeMode::True, nullptr);
  const MoonPosition m = ComputeMoon((2448724.5 - 2451545.0) / 36525.0, NodeMode::True, nullptr);
  struct Value {
    const char* name;
    double got, want, tol;
  };
  const Value values[] = {
      {"L' 2000", z.Lp, 218.3164591, 1e-9},
      {"node 2000", z.meanNode, 125.044555, 1e-9},
      {"E 2000", z.E, 1, 0},
      {"longitude 2000", z.longitude, 223.31872, 6e-6},
      {"latitude 2000", z.latitude, 5.17128, 6e-6},
      {"true node 2000", z.node, 123.92571, 6e-6},
      {"L'", m.Lp, 134.290186, 6e-7},
      {"D", m.D, 113.842309, 6e-7},
      {"M", m.M, 97.643514, 6e-7},
      {"M'", m.Mp, 5.150839, 6e-7},
      {"F", m.F, 219.889726, 6e-7},
      {"E", m.E, 1.000194, 6e-7},
      {"sum l", m.sumL, -1127526.4, 0.06},
      {"sum b", m.sumB, -3229126.8, 0.06},
      {"longitude", m.longitude, 133.16266, 6e-6},
      {"latitude", m.latitude, -3.22913, 6e-6},
      {"mean node", m.meanNode, 274.40066, 6e-6},
      {"true node", m.trueNode, 273.73804, 6e-6},
  };
  for (const Value& v : values) EXPECT_NEAR(v.got, v.want, v.tol) << v.name;
}

TEST(Moon, NodeModeChangesOnlyTheNodeAndArgumentsStayReduced) {
  for (double T = -2.0; T <= 1.0; T += 0.0137) {
    const MoonPosition tr = ComputeMoon(T, NodeMode::True, nullptr);
    const MoonPosition mn = ComputeMoon(T, NodeMode::Mean, nullptr);
    EXPECT_EQ(tr.longitude, mn.longitude) << T;
    EXPECT_EQ(tr.latitude, mn.latitude) << T;
    EXPECT_EQ(mn.node, mn.meanNode) << T;
    EXPECT_EQ(tr.node, tr.trueNode) << T;
    // The true node swings about the mean one by at most about 1.7 degrees.
    EXPECT_LT(std::abs(AngleGap(tr.node, mn.node)), 1.8) << T;
    for (double a : {tr.Lp, tr.D, tr.M, tr.Mp, tr.F, tr.meanNode, tr.longitude, tr.node})
      EXPECT_TRUE(a >= 0 && a < 360) << T;
    EXPECT_LT(std::abs(tr.latitude), 5.35) << T;  // signed, never reduced into 0..360
  }
}

// Published worked examples: Venus 1992 December 20 at 0h, the Earth (the Sun's
// example) 1992 October 13 at 0h.
TEST(Planets, VenusAndEarthHeliocentric1992) {
  const HelioPosition v =
      ComputeHelio(Tables()[SeriesBody::Venus], (2448976.5 - 2451545.0) / 365250.0, nullptr);
  EXPECT_NEAR(v.L, 26.11428, 6e-6);
  EXPECT_NEAR(v.B, -2.62070, 6e-6);
  EXPECT_NEAR(v.R, 0.724603, 6e-7);
  const HelioPosition e =
      ComputeHelio(Tables()[SeriesBody::Earth], (2448908.5 - 2451545.0) / 365250.0, nullptr);
  EXPECT_NEAR(e.L, 19.907372, 6e-7);
  EXPECT_NEAR(e.B, -0.000179, 6e-7);
  EXPECT_NEAR(e.R, 0.99760775, 6e-9);
}

// Pluto, 1992 October 13 at 0h (published, J2000.0 frame: l = 232.74,
// b = 14.58782, r = 29.711111). The program's constant terms differ from the
// published ones (b -3.908202 for -3.908239, r 40.7247248 for 40.7241346); the
// periodic sums are the same.
TEST(Planets, PlutoHeliocentric1992AndCorrectionToTheDate) {
  const double T = (2448908.5 - 2451545.0) / 36525.0;
  const SunJ2000 sun = ComputeSunJ2000(Tables()[SeriesBody::EarthJ2000], T / 10, nullptr);
  const PlutoPosition p = ComputePluto(T, 2448908.0, sun, Tables().pluto, nullptr);
  EXPECT_NEAR(p.l, 232.74, 0.002);
  EXPECT_NEAR(p.b - (-3.908202 + 3.908239), 14.58782, 6e-6);
  EXPECT_NEAR(p.r - (40.7247248 - 40.7241346), 29.711111, 6e-7);
  // Of the date, near the published J2000.0 place 15h31m43.7s, -4 deg 27' 29".
  EXPECT_NEAR(p.rightAscension, 232.93, 0.2);
  EXPECT_NEAR(p.declination, -4.458, 0.1);
  // The correction to the date: +1.3975 deg at JD 2488070, about -0.0017 at JD 2451545; reduced.
  const double atJ2000 = -0.001685820476666512;
  const double cases[][3] = {{100, 2488070, 101.3975},
                             {100, 2451545, 100 + atJ2000},
                             {359.5, 2488070, 0.8975},
                             {0.0005, 2451545, 360.0005 + atJ2000}};
  for (const auto& c : cases) EXPECT_NEAR(PlutoLongitudeOfDate(c[0], c[1]), c[2], 1e-9) << c[0];
}

TEST(Planets, GeocentricStepKeepsQuadrant) {
  const HelioPosition earth{180, 0, 1};  // puts the Sun at 0 deg
  struct Case {
    HelioPosition planet;
    double lon, lat;
  };
  const Case cases[] = {{{90, 0, 1}, 45, 0},
                        {{270, 0, 1}, 315, 0},
                        {{0, 0, 0.7}, 0, 0},
                        {{180, 0, 0.7}, 0, 0},
                        {{0, 10, 2}, 0, 6.68}};
  for (const Case& c : cases) {
    const EclipticDeg g = GeocentricFromHelio(c.planet, earth);
    EXPECT_NEAR(AngleGap(g.longitude, c.lon), 0, 1e-7) << c.planet.L;
    EXPECT_NEAR(g.latitude, c.lat, 0.01) << c.planet.L;
  }
}

}  // namespace
}  // namespace novastra
