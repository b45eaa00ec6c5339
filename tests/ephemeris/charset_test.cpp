// The code-to-Unicode table behind the screen and UTF-8 output.
#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>

#include "text/charset.h"

namespace novastra {
namespace {

// gtest cannot print char32_t.
uint32_t U(int code) {
  return static_cast<uint32_t>(CodeToUnicode(static_cast<unsigned char>(code)));
}

TEST(Charset, EveryEmittedCodeHasItsOwnPrintablePoint) {
  // Tables: north/south, retrograde, minute; aspectarian: aspects, stations, parallels; bodies.
  for (int code : {152, 154, 157, 146, 161, 162, 163, 164, 165, 166, 177, 156, 171,
                   224, 225, 226, 227, 228, 229, 230, 231, 232, 233, 234, 236})
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
