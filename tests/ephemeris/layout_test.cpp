// Number texts and row groups of the ephemeris tables from chosen values, and
// the code-to-Unicode table behind the screen and UTF-8 output.
#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <tuple>

#include "text/charset.h"
#include "text/ephemeris_tables.h"
#include "text/text_format.h"
#include "text/zodiac_text.h"

namespace novastra {
namespace {

std::string Code(int c) { return std::string(1, static_cast<char>(c)); }

TEST(NumberText, MasksSiderealTimeAndHoursPlainAndCarried) {
  // Masks round half away from zero; 60.0 and 60 stay as they are.
  for (auto [v, minInt, decimals, text] : {std::tuple{59.96, 2, 1, "60.0"},
                                           {-0.04, 2, 1, "00.0"},
                                           {-1.25, 2, 1, "-01.3"},
                                           {2.5, 2, 0, "03"},
                                           {123.456, 2, 2, "123.46"},
                                           {0.5, 0, 1, ".5"}})
    EXPECT_EQ(FormatFixed(v, minInt, decimals), text) << v;
  // Sidereal seconds: plain, the mask shows 60.0; with carry the seconds move
  // into the minute, the hour and the next day.
  for (auto [seconds, plain, carried] :
       {std::tuple{0.0, "    0  0  0.0", "    0  0  0.0"},
        {59.96, "    0  0 60.0", "    0  1  0.0"},
        {9.96, "    0  0 10.0", "    0  0 10.0"},
        {59.94, "    0  0 59.9", "    0  0 59.9"},
        {59 * 60 + 59.96, "    0 59 60.0", "    1  0  0.0"},
        {23 * 3600 + 59 * 60 + 59.94, "   23 59 59.9", "   23 59 59.9"},
        {23 * 3600 + 59 * 60 + 59.96, "   23 59 60.0", "    0  0  0.0"}}) {
    EXPECT_EQ(FormatSiderealTime(seconds), plain) << seconds;
    EXPECT_EQ(FormatSiderealTime(seconds, true), carried) << seconds;
  }
  // Right ascension in hours: whole seconds, 60 kept plain ("20 07 60"), carried.
  for (auto [hours, plain, carried] :
       {std::tuple{284.76 / 15, "18 59 02 ", "18 59 02 "},  // 18.984 h
        {359.999 / 15, "23 59 60 ", "00 00 00 "},
        {20 + 7 / 60.0 + 59.6 / 3600, "20 07 60 ", "20 08 00 "},
        {20 + 7 / 60.0 + 59.4 / 3600, "20 07 59 ", "20 07 59 "},
        {4 + 59 / 60.0 + 59.5 / 3600, "04 59 60 ", "05 00 00 "}}) {
    EXPECT_EQ(FormatRightAscensionHours(hours * 15), plain) << hours;
    EXPECT_EQ(FormatRightAscensionHours(hours * 15, true), carried) << hours;
  }
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

// gtest cannot print char32_t.
uint32_t U(int code) {
  return static_cast<uint32_t>(CodeToUnicode(static_cast<unsigned char>(code)));
}

TEST(Charset, EveryEmittedCodeHasItsOwnPrintablePoint) {
  // Tables: north/south, retrograde, minute; aspectarian: aspects, stations, parallels; bodies.
  for (int code : {152, 154, 157, 146, 161, 162, 163, 164, 165, 166, 177, 156, 171,
                   224, 225, 226, 227, 228, 229, 230, 231, 232, 233, 234, 236,
                   237, 238, 239, 240, 241, 242, 243})
    EXPECT_GT(U(code), 0xFFu) << code;  // a symbol, not a Latin-1 letter
  for (int sign = 1; sign <= 12; ++sign) EXPECT_EQ(U(191 + sign), 0x2647u + sign);  // Aries..Pisces
  EXPECT_EQ(U(186), 0xB0u);  // the degree sign
  for (int c : {65, 32, 10, 12, 13})
    EXPECT_EQ(U(c), uint32_t(c));  // A, space and the line controls
  std::set<uint32_t> seen;
  for (int code = 0; code < 256; ++code) {
    EXPECT_TRUE(seen.insert(U(code)).second)
        << "code " << code << " shares U+" << std::hex << U(code);
    EXPECT_TRUE(code < 128 || U(code) >= 0xA0u)
        << code;  // no control characters above 127: they would not draw
  }
}

TEST(Charset, Utf8RoundTripAndUnknownCharacters) {
  std::string all;
  for (int code = 0; code < 256; ++code) all += static_cast<char>(code);
  EXPECT_EQ(FromUtf8(ToUtf8(all)), all);
  EXPECT_EQ(ToUtf8("05\xC9"
                   "45.6"),
            "05\xE2\x99\x91"
            "45.6");  // 201 is U+2651 Capricorn
  EXPECT_EQ(FromUtf8("x\xE4\xB8\xAD"
                     "y"),
            "x?y");  // no code for this character
  EXPECT_EQ(FromUtf8("a\xE2\x99"
                     "b"),
            "a??b");  // broken sequences
  EXPECT_EQ(FromUtf8("\xF0\x9F"), "??");
}

}  // namespace
}  // namespace novastra
