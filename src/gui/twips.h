#pragma once
// Window units: positions and sizes are kept in twips (1/1440 inch) and
// converted at the screen's logical resolution.
#include <QWidget>
#include <cmath>

namespace novastra::gui {

inline double LogicalDpiX(const QWidget* w) { return w ? w->logicalDpiX() : 96.0; }
inline double LogicalDpiY(const QWidget* w) { return w ? w->logicalDpiY() : 96.0; }

inline int TwipsToPixels(double twips, double dpi) {
  return static_cast<int>(std::lround(twips * dpi / 1440.0));
}
inline double PixelsToTwips(int pixels, double dpi) { return pixels * 1440.0 / dpi; }

}  // namespace novastra::gui
