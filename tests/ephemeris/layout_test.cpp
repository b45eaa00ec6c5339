// Number texts and row groups of the ephemeris tables, from chosen values
// (headers and whole rows are covered by the golden tables).
#include <gtest/gtest.h>

#include <string>

#include "run_fixture.h"
#include "text/ephemeris_tables.h"
#include "text/text_format.h"
#include "text/zodiac_text.h"

namespace novastra {
namespace {

using testing::Code;

TEST(NumberText, MasksSiderealTimeAndHours) {
  // Masks round half away from zero; 60.0 and 60 stay as they are.
  for (auto [v, minInt, decimals, text] : {std::tuple{59.96, 2, 1, "60.0"},
                                           {-0.04, 2, 1, "00.0"},
                                           {-1.25, 2, 1, "-01.3"},
                                           {2.5, 2, 0, "03"},
                                           {123.456, 2, 2, "123.46"},
                                           {0.5, 0, 1, ".5"}})
    EXPECT_EQ(FormatFixed(v, minInt, decimals), text) << v;
  for (auto [seconds, text] : {std::pair{0.0, "    0  0  0.0"},
                               {59.96, "    0  0 60.0"},
                               {9.96, "    0  0 10.0"},
                               {23 * 3600 + 59 * 60 + 59.94, "   23 59 59.9"}})
    EXPECT_EQ(FormatSiderealTime(seconds), text) << seconds;
  EXPECT_EQ(FormatRightAscensionHours(284.76), "18 59 02 ");  // 18.984 h
  EXPECT_EQ(FormatRightAscensionHours(359.999), "23 59 60 ");
}

TEST(NumberText, CarriedSiderealTimeAndHours) {
  // With carry, seconds that round to 60.0 move into the minute, the hour and
  // the next day (sidereal seconds 59.96 is the case the plain mask shows as 60.0).
  for (auto [seconds, text] : {std::pair{0.0, "    0  0  0.0"},
                               {59.96, "    0  1  0.0"},
                               {9.96, "    0  0 10.0"},
                               {59.94, "    0  0 59.9"},
                               {59 * 60 + 59.96, "    1  0  0.0"},
                               {23 * 3600 + 59 * 60 + 59.94, "   23 59 59.9"},
                               {23 * 3600 + 59 * 60 + 59.96, "    0  0  0.0"}})
    EXPECT_EQ(FormatSiderealTime(seconds, true), text) << seconds;
  // Right ascension in hours: seconds rounded to whole ones ("20 07 60" before).
  for (auto [hours, text] : {std::pair{284.76 / 15, "18 59 02 "},
                             {23 + 59 / 60.0 + 59.76 / 3600, "00 00 00 "},
                             {20 + 7 / 60.0 + 59.6 / 3600, "20 08 00 "},
                             {20 + 7 / 60.0 + 59.4 / 3600, "20 07 59 "},
                             {4 + 59 / 60.0 + 59.5 / 3600, "05 00 00 "}})
    EXPECT_EQ(FormatRightAscensionHours(hours * 15, true), text) << hours;
}

TEST(NumberText, RoundedMinutesCarryIntoTheDegreeAndTheSign) {
  // Positions with minutes that round to 60.0: the degree, and past 29 the
  // sign, move on (Pisces into Aries); latitudes keep their north/south mark.
  const double minute = 1 / 60.0;
  for (auto [degrees, text] : {std::pair{29 + 59.97 * minute, " 00" + Code(193) + "00.0 "},
                               {12 + 59.96 * minute, " 13" + Code(192) + "00.0 "},
                               {12 + 59.94 * minute, " 12" + Code(192) + "59.9 "},
                               {359 + 59.95 * minute, " 00" + Code(192) + "00.0 "},
                               {329 + 59.99 * minute, " 00" + Code(203) + "00.0 "}})
    EXPECT_EQ(LongitudeGroup(degrees, true), text) << degrees;
  EXPECT_EQ(LongitudeGroup(29 + 59.97 * minute),
            " 29" + Code(192) + "60.0 ");  // without carry: the mask's 60.0
  EXPECT_EQ(NorthSouthGroup(-(5 + 59.97 * minute), true), " 06" + Code(154) + "00.0 ");
  EXPECT_EQ(NorthSouthGroup(0.99999, true), " 01" + Code(152) + "00.0 ");
  // SVP minutes to two decimals, ayanamsa seconds to whole ones.
  EXPECT_EQ(BuildSvpText(335 + 59.997 * minute, 23.5, true).substr(0, 17),
            "   SVP = 06" + Code(203) + "00.00");
  EXPECT_EQ(BuildSvpText(359.99999, 23.5, true).substr(0, 17), "   SVP = 00" + Code(192) + "00.00");
  EXPECT_EQ(BuildSvpText(0, 23 + 51 * minute + 59.6 / 3600, true).substr(19),
            "True Ayanamsa = 23d 52m 00s ");
  EXPECT_EQ(BuildSvpText(0, 23 + 59 * minute + 59.7 / 3600, true).substr(19),
            "True Ayanamsa = 24d 00m 00s ");
  EXPECT_EQ(BuildSvpText(0, 23 + 59 * minute + 59.7 / 3600).substr(19),
            "True Ayanamsa = 23d 59m 60s ");
}

TEST(NumberText, SplitZodiacal) {
  struct Case {
    double x;
    int sign, degrees;
    double minutes;
  } cases[] = {
      {0.0, 1, 0, 0.0},       {30.0, 2, 0, 0.0},      {330.0, 12, 0, 0.0},
      {359.99, 12, 29, 59.4}, {284.76, 10, 14, 45.6}, {29.999, 1, 29, 59.94},
  };
  for (const auto& c : cases) {
    const Zodiacal z = SplitZodiacal(c.x);
    EXPECT_EQ(z.sign, c.sign) << c.x;
    EXPECT_EQ(z.degrees, c.degrees) << c.x;
    EXPECT_NEAR(z.minutes, c.minutes, 1e-6) << c.x;
  }
  // Worked example: the Sun at 284.76 deg is 14 Capricorn 45.6.
  EXPECT_EQ(LongitudeGroup(284.76), " 14" + Code(201) + "45.6 ");
  EXPECT_EQ(LongitudeGroup(30.0), " 00" + Code(193) + "00.0 ");
  EXPECT_EQ(NorthSouthGroup(-1.5), " 01" + Code(154) + "30.0 ");
}

TEST(NumberText, SvpText) {
  // SVP 335.25 deg = 5 deg 15' Pisces; user ayanamsa 23 30' 0"; values outside 0..360 reduced
  // first.
  const std::string want = "   SVP = 05" + Code(203) + "15.00  True Ayanamsa = 23d 30m 00s ";
  EXPECT_EQ(BuildSvpText(335.25, 23.5), want);
  EXPECT_EQ(BuildSvpText(-24.75, 383.5), want);
  // Seconds round half to even: 4.5 -> 04, 3.5 -> 04.
  EXPECT_EQ(BuildSvpText(0, 4.5 / 3600).substr(19), "True Ayanamsa = 00d 00m 04s ");
  EXPECT_EQ(BuildSvpText(0, 3.5 / 3600).substr(19), "True Ayanamsa = 00d 00m 04s ");
}

TEST(Rows, RetrogradeAcrossZeroAriesBothWays) {
  EXPECT_TRUE(IsRetrograde(359.8, 0.3));  // today, yesterday
  EXPECT_FALSE(IsRetrograde(0.3, 359.8));
  EXPECT_TRUE(IsRetrograde(100.0, 100.5));
  EXPECT_FALSE(IsRetrograde(100.0, 100.0));
  // Every body backing from 0.3 to 359.8: marked in the longitude and right ascension rows only.
  BodyPositions pos;
  std::array<bool, 12> retrograde{};
  pos.Longitude.fill(359.8), pos.RightAscension.fill(359.8), pos.HelioLongitude.fill(359.8);
  for (int k = 1; k <= 11; ++k) retrograde[k] = IsRetrograde(pos.Longitude[k], 0.3);
  const RowInfo row{"01/05/2009", 0, &pos, &retrograde};
  const std::string lon = BuildRow(ColumnSet::Longitude, row, false), mark = Code(157);
  for (int k = 0; k < 11; ++k)
    EXPECT_EQ(lon.substr(23 + 9 * k, 9), " 29" + Code(203) + "48" + mark + "0 ") << k;
  EXPECT_EQ(BuildRow(ColumnSet::RightAscension, row, true).substr(24, 10), "23 59" + mark + "12  ");
  EXPECT_EQ(BuildRow(ColumnSet::HelioLongitude, row, false).find(mark), std::string::npos);
}

}  // namespace
}  // namespace novastra
