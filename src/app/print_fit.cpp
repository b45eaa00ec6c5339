#include "app/print_fit.h"

#include <algorithm>
#include <cmath>

#include <fmt/format.h>

namespace novastra {

namespace {

PageOrientation Other(PageOrientation o) {
  return o == PageOrientation::Portrait ? PageOrientation::Landscape : PageOrientation::Portrait;
}

const PrintArea& AreaOf(const PrintFitRequest& r, PageOrientation o) {
  return o == PageOrientation::Portrait ? r.portrait : r.landscape;
}

// The largest size (at most the chosen one) at which the longest line fits
// across the area, and the page down it as far as kLeastHeightPointSize
// allows. Text extents grow in proportion to the size.
double LargestSize(const PrintFitRequest& r, const PrintArea& area) {
  double size = r.pointSize;
  if (r.lineWidth > area.width) size = r.pointSize * area.width / r.lineWidth;
  if (r.pageHeight > area.height) {
    const double least = std::min(r.pointSize, kLeastHeightPointSize);
    size = std::min(size, std::max(least, r.pointSize * area.height / r.pageHeight));
  }
  return size;
}

bool FitsAt(const PrintFitRequest& r, const PrintArea& area, double size, bool across) {
  const double scale = size / r.pointSize;
  return across ? r.lineWidth * scale <= area.width : r.pageHeight * scale <= area.height;
}

}  // namespace

double SideMargin(double left) { return left > 0 ? left : kDefaultSideMargin; }

PrintFit FitPrintPage(const PrintFitRequest& request) {
  if (!std::isfinite(request.pointSize) || request.pointSize <= 0)
    return {request.current, request.pointSize};
  const PageOrientation ways[] = {request.current, Other(request.current)};
  const int count = request.orientationChosen ? 1 : 2;
  PrintFit best;
  best.orientation = request.current;
  best.pointSize = -1;
  for (int i = 0; i < count; ++i) {
    const PrintArea& area = AreaOf(request, ways[i]);
    const bool whole = FitsAt(request, area, request.pointSize, true) &&
                       FitsAt(request, area, request.pointSize, false);
    // The chosen size that fits needs nothing more; else the largest size
    // wins, the printer's orientation on a tie.
    const double size = whole ? request.pointSize : LargestSize(request, area);
    if (whole || size > best.pointSize) {
      best.orientation = ways[i];
      best.pointSize = size;
    }
    if (whole) break;
  }
  const double size = best.pointSize;
  if (size < request.pointSize) {
    // Tenths of a point, rounded down, so that the size said is the size printed.
    best.pointSize = std::max(kLeastPointSize, std::floor(size * 10 + 1e-9) / 10);
    best.reduced = true;
  }
  const PrintArea& area = AreaOf(request, best.orientation);
  best.turned = best.orientation != request.current;
  best.fits = FitsAt(request, area, best.pointSize, true);
  best.flows = !FitsAt(request, area, best.pointSize, false);
  return best;
}

std::string PrintFitNote(const PrintFit& fit, int columns) {
  const char* way = fit.orientation == PageOrientation::Landscape ? "landscape" : "portrait";
  std::string note;
  if (fit.reduced) {
    const std::string size = fmt::format("{:.1f} points", fit.pointSize);
    note = fit.turned ? fmt::format("Printed {}, font reduced to {}", way, size)
                      : "Font reduced to " + size;
    if (!fit.fits)
      note += ": the longest lines still run past the page";
    else if (!fit.flows)
      note += " to fit the page";
  } else if (fit.turned) {
    note = fit.orientation == PageOrientation::Landscape
               ? fmt::format("Printed landscape to fit the {}-column lines", columns)
               : std::string("Printed portrait to fit the page");
  }
  if (fit.flows)
    note += note.empty() ? "A page longer than the sheet goes on to the next one"
                         : "; a page longer than the sheet goes on to the next one";
  return note;
}

}  // namespace novastra
