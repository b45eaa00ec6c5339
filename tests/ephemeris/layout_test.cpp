// Number texts and row groups of the ephemeris tables, from chosen values
// (headers and whole rows are covered by the golden tables).
#include <gtest/gtest.h>

#include <string>

#include "text/ephemeris_tables.h"
#include "text/zodiac_text.h"
#include "text/text_format.h"
#include "run_fixture.h"

namespace novastra {
namespace {

using testing::Code;

TEST(NumberText, MasksSiderealTimeAndHours) {
  // Masks round half away from zero; 60.0 and 60 stay as they are.
  for (auto [v, minInt, decimals, text] : {std::tuple{59.96, 2, 1, "60.0"}, {-0.04, 2, 1, "00.0"}, {-1.25, 2, 1, "-01.3"},
                                          {2.5, 2, 0, "03"}, {123.456, 2, 2, "123.46"}, {0.5, 0, 1, ".5"}})
    EXPECT_EQ(FormatFixed(v, minInt, decimals), text) << v;
  for (auto [seconds, text] : {std::pair{0.0, "    0  0  0.0"}, {59.96, "    0  0 60.0"}, {9.96, "    0  0 10.0"},
                               {23 * 3600 + 59 * 60 + 59.94, "   23 59 59.9"}})
    EXPECT_EQ(FormatSiderealTime(seconds), text) << seconds;
  EXPECT_EQ(FormatRightAscensionHours(284.76), "18 59 02 ");   // 18.984 h
  EXPECT_EQ(FormatRightAscensionHours(359.999), "23 59 60 ");
}

TEST(NumberText, SplitZodiacal) {
  struct Case { double x; int sign, degrees; double minutes; } cases[] = {
      {0.0, 1, 0, 0.0}, {30.0, 2, 0, 0.0}, {330.0, 12, 0, 0.0}, {359.99, 12, 29, 59.4},
      {284.76, 10, 14, 45.6}, {29.999, 1, 29, 59.94},
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
  // SVP 335.25 deg = 5 deg 15' Pisces; user ayanamsa 23 30' 0"; values outside 0..360 reduced first.
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
  for (int k = 0; k < 11; ++k) EXPECT_EQ(lon.substr(23 + 9 * k, 9), " 29" + Code(203) + "48" + mark + "0 ") << k;
  EXPECT_EQ(BuildRow(ColumnSet::RightAscension, row, true).substr(24, 10), "23 59" + mark + "12  ");
  EXPECT_EQ(BuildRow(ColumnSet::HelioLongitude, row, false).find(mark), std::string::npos);
}

}  // namespace
}  // namespace novastra
