// The symbols as a reader sees them: in the Data Window the sign and body
// glyphs stand as tall as the digits beside them, inside their two cells;
// the chart's labels are drawn at the system's font size.
#include "gui/graph_window.h"
#include "gui_support.h"
#include "text/charset.h"

namespace novastra::gui::test {

// Codes 192..203 are the signs, 224..234 the bodies and 236 the Earth.
TEST_F(January2009, SignAndBodySymbolsStandAsTallAsTheDigits) {
  for (bool bold : {false, true}) {
    SCOPED_TRACE(bold ? "bold" : "regular");
    if (bold) d->FontsBold();
    // The outlines as designed: hinting snaps the digits to the pixel grid
    // and leaves the symbols, which would blur the comparison by a pixel.
    QFont font = d->Text1->font();
    font.setHintingPreference(QFont::PreferNoHinting);
    const QFontMetricsF fm(font);
    const QRectF digit = fm.tightBoundingRect("0");
    const double cell = fm.horizontalAdvance('0');
    ASSERT_GT(digit.height(), 5);
    std::vector<int> codes;
    for (int c = 192; c <= 203; ++c) codes.push_back(c);
    for (int c = 224; c <= 234; ++c) codes.push_back(c);
    codes.push_back(236);
    for (int code : codes) {
      const QString glyph = QString::fromUcs4(
          reinterpret_cast<const char32_t*>(std::array<char32_t, 1>{
              CodeToUnicode(static_cast<unsigned char>(code))}.data()),
          1);
      const QRectF ink = fm.tightBoundingRect(glyph);
      SCOPED_TRACE("code " + std::to_string(code));
      // As tall as a digit (a pixel of rounding either way) and within its
      // height, unless as wide as its two cells allow (Aquarius's waves);
      // never wider than those cells.
      const bool fillsWidth = ink.width() >= 2 * cell - 2;
      if (!fillsWidth) {
        EXPECT_NEAR(ink.height(), digit.height(), 1.0);
      }
      EXPECT_GE(ink.height(), 0.8 * digit.height());
      EXPECT_LE(ink.height(), digit.height() + 1.0);
      EXPECT_GE(ink.top(), digit.top() - 1.0);
      EXPECT_LE(ink.bottom(), digit.bottom() + 1.0);
      EXPECT_NEAR(fm.horizontalAdvance(glyph), 2 * cell, 0.05);
      EXPECT_GE(ink.left(), -0.5);
      EXPECT_LE(ink.right(), 2 * cell + 0.5);
    }
  }
  Screenshot(d, "symbols-at-the-digits-height");
}

}  // namespace novastra::gui::test
