#include "app/print_fit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace novastra {
namespace {

// Paper sizes in points (1/72 inch): A4 210 x 297 mm (ISO 216) is
// 595.28 x 841.89, Letter 8.5 x 11 in (ANSI/ASME Y14.1) 612 x 792; less the
// printer's 10-point margins on each side.
constexpr PrintArea kA4{575.28, 821.89}, kA4Turned{821.89, 575.28};
constexpr PrintArea kLetter{592, 772}, kLetterTurned{772, 592};

// Text of the symbol font as Qt measures it: a cell 0.6 em wide, a line
// 1.16 em high; pages of 60 lines (option 8).
constexpr double kCell = 0.6, kLine = 1.16;

PrintFitRequest Text(int columns, int lines, double points, const PrintArea& portrait,
                     const PrintArea& landscape) {
  PrintFitRequest r;
  r.portrait = portrait;
  r.landscape = landscape;
  r.pointSize = points;
  r.lineWidth = columns * kCell * points;
  r.pageHeight = lines * kLine * points;
  return r;
}

constexpr auto P = PageOrientation::Portrait;
constexpr auto L = PageOrientation::Landscape;

TEST(FitPrintPage, WorkedPages) {
  const struct {
    const char* what;
    PrintFitRequest request;
    PageOrientation current;
    bool chosen;
    PageOrientation orientation;
    double pointSize;
    const char* note;
  } cases[] = {
      // The ephemeris tables: 132 cells in 8 points are 633.6 pt across, 60
      // lines 556.8 pt down; turned, A4 is 821.89 x 575.28 pt.
      {"table, A4", Text(132, 60, 8, kA4, kA4Turned), P, false, L, 8,
       "Printed landscape to fit the 132-column lines"},
      {"table, Letter", Text(132, 60, 8, kLetter, kLetterTurned), P, false, L, 8,
       "Printed landscape to fit the 132-column lines"},
      {"table, A4 landscape chosen", Text(132, 60, 8, kA4, kA4Turned), L, true, L, 8, ""},
      // Portrait kept: 8 x 575.28 / 633.6 = 7.264, 8 x 592 / 633.6 = 7.475.
      {"table, A4 portrait chosen", Text(132, 60, 8, kA4, kA4Turned), P, true, P, 7.2,
       "Font reduced to 7.2 points to fit the page"},
      {"table, Letter portrait chosen", Text(132, 60, 8, kLetter, kLetterTurned), P, true, P, 7.4,
       "Font reduced to 7.4 points to fit the page"},
      // A help page: 79 cells in 12 points are 568.8 pt, 60 lines 835.2 pt;
      // 12 x 821.89 / 835.2 = 11.809 upright beats 12 x 575.28 / 835.2 = 8.266.
      {"help, A4", Text(79, 60, 12, kA4, kA4Turned), P, false, P, 11.8,
       "Font reduced to 11.8 points to fit the page"},
      {"help, Letter", Text(79, 60, 12, kLetter, kLetterTurned), P, false, P, 11.0,
       "Font reduced to 11.0 points to fit the page"},
      {"help, A4 landscape chosen", Text(79, 60, 12, kA4, kA4Turned), L, true, L, 8.2,
       "Font reduced to 8.2 points to fit the page"},
      {"help, A4 landscape by default", Text(79, 60, 12, kA4, kA4Turned), L, false, P, 11.8,
       "Printed portrait, font reduced to 11.8 points to fit the page"},
      // 96 cells in 10 points: 576 pt, 0.72 pt too wide for A4 (9.9875 points);
      // turned it would be 8.266 points for its 696 pt of height. Letter holds it.
      {"10 points, A4", Text(96, 60, 10, kA4, kA4Turned), P, false, P, 9.9,
       "Font reduced to 9.9 points to fit the page"},
      {"10 points, Letter", Text(96, 60, 10, kLetter, kLetterTurned), P, false, P, 10, ""},
      // One page of 3000 lines (option 8 never reached): 6 points, then more sheets.
      {"one long page", Text(79, 3000, 12, kA4, kA4Turned), P, false, P, 6,
       "Font reduced to 6.0 points; a page longer than the sheet goes on to the next one"},
      {"one long page of short lines", Text(20, 3000, 8, kA4, kA4Turned), P, false, P, 6,
       "Font reduced to 6.0 points; a page longer than the sheet goes on to the next one"},
      // 2000 cells: 8 x 821.89 / 9600 = 0.68 points, below the least size.
      {"a 2000-column line", Text(2000, 60, 8, kA4, kA4Turned), P, false, L, 1,
       "Printed landscape, font reduced to 1.0 points: the longest lines still run past the page"},
      {"nothing to print", Text(0, 0, 12, kA4, kA4Turned), P, false, P, 12, ""},
  };
  for (const auto& c : cases) {
    PrintFitRequest request = c.request;
    request.current = c.current;
    request.orientationChosen = c.chosen;
    const PrintFit fit = FitPrintPage(request);
    EXPECT_EQ(fit.orientation, c.orientation) << c.what;
    EXPECT_NEAR(fit.pointSize, c.pointSize, 1e-9) << c.what;
    EXPECT_EQ(fit.turned, c.orientation != c.current) << c.what;
    EXPECT_EQ(fit.reduced, c.pointSize < request.pointSize) << c.what;
    const int columns =
        static_cast<int>(std::lround(request.lineWidth / (kCell * request.pointSize)));
    EXPECT_EQ(PrintFitNote(fit, columns), c.note) << c.what;
  }
}

}  // namespace
}  // namespace novastra
