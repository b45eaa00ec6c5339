// Page layouts of the six ephemeris tables, built from synthetic positions.
#include <gtest/gtest.h>

#include <string>

#include "ephemeris/layouts.h"
#include "ephemeris/pages.h"
#include "output/text_format.h"

namespace novastra {
namespace {

std::string Code(int c) { return std::string(1, static_cast<char>(c)); }

TEST(NumberMasks, RoundHalfAwayFromZero) {
  struct Case { double v; int minInt, decimals; const char* text; } cases[] = {
      {59.96, 2, 1, "60.0"},   {7, 2, 0, "07"},        {0, 1, 0, "0"},
      {-0.04, 2, 1, "00.0"},   {-1.25, 2, 1, "-01.3"},  {2.5, 2, 0, "03"},
      {123.456, 2, 2, "123.46"}, {2451544.5, 0, 1, "2451544.5"}, {0.5, 0, 1, ".5"},
      {1e20, 1, 0, "100000000000000000000"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatFixed(c.v, c.minInt, c.decimals), c.text) << c.v;
  std::string out = "x";
  AppendFixed(out, 5.25, 2, 1);
  EXPECT_EQ(out, "x05.3");
}

TEST(SplitZodiacal, SignsDegreesAndMinutes) {
  struct Case { double x; int sign, degrees; double minutes; } cases[] = {
      {0.0, 1, 0, 0.0},     {30.0, 2, 0, 0.0},     {60.0, 3, 0, 0.0},
      {330.0, 12, 0, 0.0},  {359.99, 12, 29, 59.4}, {284.76, 10, 14, 45.6},
      {29.999, 1, 29, 59.94},
  };
  for (const auto& c : cases) {
    Zodiacal z = SplitZodiacal(c.x);
    EXPECT_EQ(z.sign, c.sign) << c.x;
    EXPECT_EQ(z.degrees, c.degrees) << c.x;
    EXPECT_NEAR(z.minutes, c.minutes, 1e-6) << c.x;
  }
}

TEST(PageText, PadNumberAndSiderealTime) {
  EXPECT_EQ(PadNumber("5"), "  5");
  EXPECT_EQ(PadNumber("10.0"), " 10.0");
  EXPECT_EQ(PadNumber("100"), "100");
  struct Case { double seconds; const char* text; } cases[] = {
      {0, "    0  0  0.0"},
      {59.96, "    0  0 60.0"},                // the mask rounds up to 60.0
      {9.96, "    0  0 10.0"},                 // padded by the rounded text
      {23 * 3600 + 59 * 60 + 59.94, "   23 59 59.9"},
      {6 * 3600 + 40 * 60 + 5.25, "    6 40  5.3"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatSiderealTime(c.seconds), c.text) << c.seconds;
}

TEST(PageText, RightAscensionHours) {
  EXPECT_EQ(FormatRightAscensionHours(0), "00 00 00 ");
  EXPECT_EQ(FormatRightAscensionHours(180), "12 00 00 ");
  EXPECT_EQ(FormatRightAscensionHours(284.76), "18 59 02 ");  // 18.984 h
  EXPECT_EQ(FormatRightAscensionHours(359.999), "23 59 60 ");  // rounds to 60, kept
}

TEST(PageText, SvpText) {
  // SVP 335.25 deg = 5 deg 15' Pisces; user ayanamsa 23 30' 0".
  EXPECT_EQ(BuildSvpText(335.25, 23.5),
            "   SVP = 05" + Code(203) + "15.00  True Ayanamsa = 23d 30m 00s ");
  // Values outside 0..360 are reduced first.
  EXPECT_EQ(BuildSvpText(-24.75, 383.5),
            "   SVP = 05" + Code(203) + "15.00  True Ayanamsa = 23d 30m 00s ");
  // Seconds round half to even: 4.5 -> 04, 3.5 -> 04.
  EXPECT_EQ(BuildSvpText(0, 4.5 / 3600).substr(19), "True Ayanamsa = 00d 00m 04s ");
  EXPECT_EQ(BuildSvpText(0, 3.5 / 3600).substr(19), "True Ayanamsa = 00d 00m 04s ");
}

TEST(Header, LineFourWordColumns) {
  struct Case { ColumnSet set; const char* label; const char* first; } cases[] = {
      {ColumnSet::Longitude, "Long.", "Sun"},     {ColumnSet::Latitude, "Lat. ", "Sun"},
      {ColumnSet::RightAscension, "R.A. ", "Sun"}, {ColumnSet::Declination, "Decl.", "Sun"},
      {ColumnSet::HelioLongitude, "Long.", "Earth"}, {ColumnSet::HelioLatitude, "Lat. ", "Earth"},
  };
  for (const auto& c : cases) {
    std::string line = HeaderLine4(c.set);
    bool helio = IsHeliocentric(c.set);
    EXPECT_EQ(line.size(), helio ? 131u : 132u);
    EXPECT_EQ(line.substr(0, 7), std::string("  ") + c.label);
    EXPECT_EQ(line.find("Sidereal Time"), 10u);
    EXPECT_EQ(line.find(c.first), helio ? 26u : 27u);
    const char* words[] = {"Moon", "Mercury", "Venus", "Mars", "Jupiter",
                           "Saturn", "Uranus", "Neptune", "Pluto", "N."};
    size_t columns[] = {36, 45, 56, 66, 75, 85, 95, 105, 115, 124};
    for (int i = 0; i < 10; ++i) EXPECT_EQ(line.find(words[i]), columns[i]) << words[i];
  }
}

TEST(Header, RuleAndUnitLines) {
  std::string geo = RuleLine(false), helio = RuleLine(true);
  EXPECT_EQ(geo.size(), 132u);
  EXPECT_EQ(helio.size(), 131u);
  EXPECT_EQ(geo,
            "  ------  ------------- --------  --------  --------  --------  --------  --------  "
            "--------  --------  --------  --------  --------");
  EXPECT_EQ(helio, geo.substr(0, 131 - 9) + "  -------");

  std::string degrees = UnitsLine(false);
  ASSERT_EQ(degrees.size(), 131u);
  EXPECT_EQ(degrees.substr(0, 19), std::string(12, ' ') + "h  m  s");
  for (size_t col = 19; col < degrees.size(); ++col) {
    char expected = ' ';
    if (col >= 25 && col <= 125 && col % 10 == 5) expected = static_cast<char>(186);
    if (col >= 29 && col <= 129 && col % 10 == 9) expected = static_cast<char>(146);
    EXPECT_EQ(degrees[col], expected) << col;
  }

  std::string hours = UnitsLine(true);
  ASSERT_EQ(hours.size(), 132u);
  for (int k = 0; k <= 11; ++k) {
    size_t h = k == 0 ? 12 : 15 + 10 * k;
    EXPECT_EQ(hours.substr(h, 7), "h  m  s") << k;
  }
}

// Positions where every body sits at a chosen value; today and yesterday.
struct Sky {
  BodyPositions pos;
  std::array<double, 16> previous{};
};

Sky UniformSky(double longitude, double previous) {
  Sky s;
  for (int k = 1; k <= 11; ++k) {
    s.pos.Longitude[k] = longitude;
    s.pos.RightAscension[k] = longitude;
    s.pos.Latitude[k] = -1.5;
    s.pos.Declination[k] = 20.25;
    s.pos.HelioLongitude[k] = longitude;
    s.pos.HelioLatitude[k] = 0.0;
    s.previous[k] = previous;
  }
  return s;
}

RowInfo Row(const Sky& s, double sidereal = 0) {
  return RowInfo{"01/05/2009", sidereal, &s.pos, &s.previous};
}

TEST(Rows, BodyGroups) {
  // Worked example: the Sun at 284.76 deg is 14 Capricorn 45.6.
  EXPECT_EQ(LongitudeGroup(284.76), " 14" + Code(201) + "45.6 ");
  EXPECT_EQ(LongitudeGroup(30.0), " 00" + Code(193) + "00.0 ");
  EXPECT_EQ(NorthSouthGroup(0.0), " 00" + Code(152) + "00.0 ");
  EXPECT_EQ(NorthSouthGroup(-1.5), " 01" + Code(154) + "30.0 ");
  EXPECT_EQ(NorthSouthGroup(23.44), " 23" + Code(152) + "26.4 ");
  EXPECT_EQ(HoursGroup(284.76), "18 59 02  ");

}

TEST(Rows, RetrogradeMark) {
  // Backward across 0 Aries is retrograde; forward across it is not.
  EXPECT_TRUE(IsRetrograde(359.8, 0.3));
  EXPECT_FALSE(IsRetrograde(0.3, 359.8));
  EXPECT_TRUE(IsRetrograde(100.0, 100.5));
  EXPECT_FALSE(IsRetrograde(100.5, 100.0));
  EXPECT_FALSE(IsRetrograde(100.0, 100.0));

  const char mark = static_cast<char>(157);
  Sky back = UniformSky(359.8, 0.3);
  std::string lon = BuildRow(ColumnSet::Longitude, Row(back), false);
  for (int k = 0; k < 11; ++k) {
    EXPECT_EQ(lon.substr(23 + 9 * k, 9), " 29" + Code(203) + "48" + mark + "0 ");
  }
  EXPECT_EQ(lon[lon.size() - 3], mark);
  std::string hours = BuildRow(ColumnSet::RightAscension, Row(back), true);
  EXPECT_EQ(hours.substr(24, 10), std::string("23 59") + mark + "12  ");
  std::string raDegrees = BuildRow(ColumnSet::RightAscension, Row(back), false);
  EXPECT_EQ(raDegrees, lon);
  // Only the longitude and right ascension tables carry the mark.
  for (ColumnSet set : {ColumnSet::Latitude, ColumnSet::Declination, ColumnSet::HelioLongitude,
                        ColumnSet::HelioLatitude})
    EXPECT_EQ(BuildRow(set, Row(back), false).find(mark), std::string::npos);

  Sky forward = UniformSky(0.3, 359.8);
  EXPECT_EQ(BuildRow(ColumnSet::Longitude, Row(forward), false).find(mark), std::string::npos);
}

}  // namespace
}  // namespace novastra
