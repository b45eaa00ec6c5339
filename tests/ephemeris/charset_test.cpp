// The code-to-Unicode table behind the screen and UTF-8 output.
#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>

#include "output/charset.h"

namespace novastra {
namespace {

// gtest cannot print char32_t.
uint32_t U(int code) { return static_cast<uint32_t>(CodeToUnicode(static_cast<unsigned char>(code))); }

TEST(Charset, SymbolCodesOfTablesAndAspectarian) {
  struct Case { int code; uint32_t point; } cases[] = {
      {192, 0x2648}, {203, 0x2653},                       // Aries, Pisces
      {224, 0x2609}, {225, 0x263F}, {226, 0x2640}, {227, 0x2642}, {228, 0x2643},
      {229, 0x2644}, {230, 0x2645}, {231, 0x2646}, {232, 0x2647}, {233, 0x263D},
      {234, 0x260A}, {236, 0x2641},                       // bodies, node, Earth
      {161, 0x260C}, {162, 0x26B9}, {163, 0x25A1}, {164, 0x25B3}, {165, 0x260D},
      {166, 0x2225}, {157, 0x211E}, {152, 0x2191}, {154, 0x2193},
      {186, 0x00B0}, {146, 0x2032},
      {'A', 'A'}, {' ', ' '}, {12, 12}, {13, 13}, {10, 10},
      {128, 0x20AC}, {176, 0xF0B0},                        // euro; 176 yields U+00B0 to 186
  };
  for (const auto& c : cases) EXPECT_EQ(U(c.code), c.point) << c.code;
  for (int sign = 1; sign <= 12; ++sign) EXPECT_EQ(U(191 + sign), 0x2647u + sign);
}

TEST(Charset, EveryCodeHasItsOwnPrintablePoint) {
  std::set<uint32_t> seen;
  for (int code = 0; code < 256; ++code) {
    uint32_t point = U(code);
    EXPECT_TRUE(seen.insert(point).second) << "code " << code << " shares U+" << std::hex << point;
    if (code >= 128) {
      // No control characters for the upper half: they would not draw.
      EXPECT_GE(point, 0xA0u) << code;
    }
  }
  // The codes the program emits stay distinct from each other's look:
  // stations, parallel and contraparallel are four different symbols.
  std::set<uint32_t> stations = {U(156), U(171), U(157), U(166), U(177)};
  EXPECT_EQ(stations.size(), 5u);
}

TEST(Charset, Utf8RoundTrip) {
  std::string all;
  for (int code = 0; code < 256; ++code) all += static_cast<char>(code);
  EXPECT_EQ(FromUtf8(ToUtf8(all)), all);
  EXPECT_EQ(ToUtf8("05" + std::string(1, static_cast<char>(201)) + "45.6"),
            "05\xE2\x99\x91" "45.6");  // U+2651 Capricorn
  EXPECT_EQ(FromUtf8("x\xE4\xB8\xAD" "y"), "x?y");  // no code for this character
  EXPECT_EQ(FromUtf8("a\xE2\x99" "b"), "a??b");     // broken sequence
  EXPECT_EQ(FromUtf8("\xF0\x9F"), "??");
}

}  // namespace
}  // namespace novastra
