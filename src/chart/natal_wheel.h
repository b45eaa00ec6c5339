#pragma once
// Draws a natal chart as the astrologer's wheel with QPainter: the zodiac
// ring with the sign symbols, the house cusps with the Ascendant at the left
// (9 o'clock) and the Midheaven near the top, the bodies at their longitudes
// and the major aspects between them.
#include <QColor>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <array>
#include <vector>

#include "reports/chart_report.h"

class QPainter;
class QPalette;

namespace novastra::chart {

// The colours and the font of a wheel. The defaults paint on white paper
// (print and export); FromPalette follows a window's palette.
struct WheelStyle {
  QString fontFamily = "DejaVu Sans";  // has the astrological symbols
  QColor paper = Qt::white;
  QColor ink = Qt::black;
  QColor faint = QColor(150, 150, 150);
  QColor band = QColor(244, 244, 240);  // every other sign
  bool bodyColors = true;               // the graphic ephemeris' colour of each body
  static WheelStyle FromPalette(const QPalette& palette);
};

// One of the five major aspects between bodies a and b (1..11).
struct WheelAspect {
  int a = 0, b = 0;
  int type = 0;      // AspectType, conjunction .. opposition
  double orb = 0;    // degrees from exact
};

// Orbs of the major aspects, degrees: conjunction 8, sextile 6, square 6,
// trine 6, opposition 8.
double WheelOrb(int type);
// The aspects among the eleven bodies within those orbs, closest pair first
// for each body pair (a pair has at most one).
std::vector<WheelAspect> WheelAspects(const NatalChart& chart);
QColor AspectColor(int type);

// Where everything of a wheel lies in its rectangle: the radii of the rings
// and, for each body, its glyph's centre (moved along the ring where bodies
// crowd) and the tick at its true longitude.
struct WheelLayout {
  QPointF center;
  double outer = 0;      // the zodiac ring's outer edge
  double signInner = 0;  // its inner edge
  double glyphRadius = 0;
  double aspectRadius = 0;  // the circle the aspect lines join
  double ascendant = 0;     // longitude at 9 o'clock
  double glyphPixels = 0;   // font size of the body glyphs
  std::array<double, 12> shownLongitude{};  // 1..11: where the glyph is drawn
  std::array<QPointF, 12> glyph{};          // 1..11: glyph centres
  std::array<QPointF, 12> tick{};           // 1..11: on the ring at the true longitude

  // The point at `radius` from the centre in the direction of `longitude`:
  // counterclockwise from the Ascendant at the left.
  QPointF At(double longitude, double radius) const;
};

WheelLayout LayOutWheel(const NatalChart& chart, const QRectF& rect);

// Longitudes moved apart to at least `gap` degrees around the circle, each
// as little as it can; all of them when they cannot fit.
std::vector<double> SpreadOnCircle(const std::vector<double>& longitudes, double gap);

// Paints the wheel inside `rect` (nothing outside it): the background, the
// rings, cusps, ASC and MC labels, the bodies with their retrograde marks and
// ticks, and the aspect lines.
void PaintWheel(QPainter& painter, const NatalChart& chart, const QRectF& rect,
                const WheelStyle& style = {});

}  // namespace novastra::chart
