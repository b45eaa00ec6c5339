#include <gtest/gtest.h>

#include <cmath>

#include "astro/angles.h"
#include "astro/engine.h"

namespace novastra {
namespace {

TEST(Angles, NormalizeDegreesReducesIntoOneTurn) {
  struct Case { double in, out; };
  const Case cases[] = {{-10, 350},   {720.5, 0.5}, {-720.5, 359.5}, {360, 0},
                        {0, 0},       {359.75, 359.75}, {-360, 0},   {1e6 + 0.25, 280.25}};
  for (const Case& c : cases) {
    const double r = NormalizeDegrees(c.in);
    EXPECT_NEAR(r, c.out, 1e-9) << c.in;
    EXPECT_GE(r, 0.0) << c.in;
    EXPECT_LT(r, 360.0) << c.in;
  }
}

TEST(Angles, UseTheTenDecimalPi) {
  EXPECT_EQ(DegToRad(180), 3.1415926535);
  EXPECT_EQ(RadToDeg(3.1415926535), 180.0);
  // cos(kPi/2) is not 0 with the shortened pi: about 4.5e-11.
  EXPECT_NEAR(CosDeg(90), 4.4897e-11, 1e-14);
  EXPECT_NEAR(SinDeg(30), 0.5, 1e-9);
  EXPECT_NEAR(SinDeg(390), 0.5, 1e-9);
  // The shortened pi shifts large arguments: 1000 turns on, about 1.6e-7 off.
  EXPECT_NEAR(SinDeg(30 + 360 * 1000), 0.5 - 1.555e-7, 1e-10);
  EXPECT_NEAR(CosDeg(-60), 0.5, 1e-9);
}

TEST(Angles, ArcSinAbsGivesTheMagnitude) {
  struct Case { double x, deg; };
  const Case cases[] = {{0, 0}, {0.5, 30}, {-0.5, 30}, {std::sqrt(0.5), 45}, {-0.99, 81.890385}};
  for (const Case& c : cases) EXPECT_NEAR(ArcSinAbsDeg(c.x), c.deg, 1e-6) << c.x;
}

TEST(Angles, RectToEquatorialQuadrantsAndPoles) {
  struct Case { double x, y, z, ra, dec; };
  const double r2 = std::sqrt(2.0);
  const Case cases[] = {
      {1, 0, 0, 0, 0},     {0, 1, 0, 90, 0},     {-1, 0, 0, 180, 0},  {0, -1, 0, 270, 0},
      {0, 0, 1, 0, 90},    {0, 0, -1, 0, -90},   {0, 0, 0, 0, 0},     {1, 1, 0, 45, 0},
      {-1, 1, 0, 135, 0},  {-1, -1, 0, 225, 0},  {1, -1, r2, 315, 45}, {1, -1e-9, 0, 360 - 5.7e-8, 0},
  };
  for (const Case& c : cases) {
    const EquatorialDeg e = RectToEquatorial(c.x, c.y, c.z);
    EXPECT_NEAR(e.rightAscension, c.ra, 1e-7) << c.x << "," << c.y << "," << c.z;
    EXPECT_NEAR(e.declination, c.dec, 1e-7) << c.x << "," << c.y << "," << c.z;
    EXPECT_GE(e.rightAscension, 0.0);
    EXPECT_LT(e.rightAscension, 360.0);
  }
}

TEST(Angles, RectToEclipticQuadrants) {
  struct Case { double x, y, z, lon, lat; };
  const Case cases[] = {{1, 0, 0, 0, 0},      {1, 1, 0, 45, 0},     {-1, 1, 0, 135, 0},
                        {-1, -1, 0, 225, 0},  {1, -1, 0, 315, 0},   {1, 0, 1, 0, 45},
                        {-2, 1e-12, -2, 180, -45}};
  for (const Case& c : cases) {
    const EclipticDeg e = RectToEcliptic(c.x, c.y, c.z);
    EXPECT_NEAR(e.longitude, c.lon, 1e-7) << c.x << "," << c.y;
    EXPECT_NEAR(e.latitude, c.lat, 1e-6) << c.x << "," << c.y;
  }
}

TEST(Zodiac, LabelsHaveOneTrailingSpace) {
  EXPECT_STREQ(ZodiacLabel(Zodiac::Tropical), "Tropical ");
  EXPECT_STREQ(ZodiacLabel(Zodiac::Sidereal), "Sidereal ");
  EXPECT_STREQ(ZodiacLabel(Zodiac::Ayanamsa), "Ayanamsa ");
}

TEST(Zodiac, SvpAndAyanamsaAround2000) {
  const SvpAyanamsa z = ComputeSvp(0.0, AyanamsaOption{});
  EXPECT_NEAR(z.svp, 335.26, 0.01);
  // The true ayanamsa is the SVP-based value less 0.883611 degree.
  EXPECT_NEAR(z.ayanamsa, 359.116389 - z.svp, 1e-12);
  EXPECT_NEAR(360 - z.svp - z.ayanamsa, 0.883611, 1e-9);
  // General precession moves the SVP back about 50" a year.
  const double perCentury = ComputeSvp(1.0, AyanamsaOption{}).svp - z.svp;
  EXPECT_NEAR(perCentury, -5025.64 / 3600, 0.01);
  // The user's ayanamsa replaces the computed one, whatever the instant.
  AyanamsaOption user{true, 23 + 30 / 60.0 + 0 / 3600.0};
  EXPECT_EQ(ComputeSvp(-1.5, user).ayanamsa, 23.5);
  EXPECT_EQ(ComputeSvp(0.7, user).ayanamsa, 23.5);
}

}  // namespace
}  // namespace novastra
