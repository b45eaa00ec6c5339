#pragma once
// How a print job is laid on the paper: the point size the line lengths chose
// (options 9 and 10) when the page holds its longest line, else the page
// turned, else a smaller size. Pure: the printer's page and the text's
// measured extent come in, in points; the windows measure (Qt's font metrics)
// and draw.
#include <string>

namespace novastra {

enum class PageOrientation { Portrait, Landscape };

// The part of the paper a page's text may cover, in points.
struct PrintArea {
  double width = 0;
  double height = 0;
};

// The side margins a page prints with: the printer's left margin on both
// sides, or kDefaultSideMargin when the printer gives none.
inline constexpr double kDefaultSideMargin = 10.0;  // points
double SideMargin(double left);

// The smallest size a page's height makes the text shrink to: a fuller page
// goes on over more sheets instead (the width always fits).
inline constexpr double kLeastHeightPointSize = 6.0;
// No text is printed below this size; a line too long for the page even there
// runs past its edge (PrintFit::fits is false).
inline constexpr double kLeastPointSize = 1.0;

struct PrintFitRequest {
  PrintArea portrait;                                   // the page upright
  PrintArea landscape;                                  // the page turned
  PageOrientation current = PageOrientation::Portrait;  // as the printer is set
  bool orientationChosen = false;  // the user set it in the print dialog: it stays
  double pointSize = 12;           // the size the line lengths chose
  // Measured at pointSize, in points: the longest line's advance and the
  // fullest page's height (the first line's ascent to the last one's descent).
  // Both grow in proportion to the size.
  double lineWidth = 0;
  double pageHeight = 0;
};

struct PrintFit {
  PageOrientation orientation = PageOrientation::Portrait;
  double pointSize = 12;  // a whole number of tenths when reduced
  bool turned = false;    // the orientation differs from the printer's
  bool reduced = false;   // the size is below the one the line lengths chose
  bool fits = true;       // the longest line fits across the page
  bool flows = false;     // the fullest page goes on over another sheet
};

// The chosen size in the printer's orientation when the longest line fits
// across and the fullest page down; else, unless the orientation was chosen,
// the other orientation where both fit; else the size and orientation that
// print largest: the size reduced (to tenths of a point, rounded down) until
// the longest line fits across, and, down to kLeastHeightPointSize, until the
// page fits down.
PrintFit FitPrintPage(const PrintFitRequest& request);

// What the print window and the preview say about a fit, "" when the job
// prints as chosen: "Printed landscape to fit the 132-column lines", "Font
// reduced to 7.2 points to fit the page". columns: the longest line's width in
// character cells.
std::string PrintFitNote(const PrintFit& fit, int columns);

}  // namespace novastra
