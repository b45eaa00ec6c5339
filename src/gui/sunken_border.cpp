#include "gui/sunken_border.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace novastra::gui {

void DrawSunkenBorder(QPainter& painter, const QRect& control, double dpiX, double dpiY,
                      const QColor& shadow, const QColor& light) {
  const int thickX = std::max(1, static_cast<int>(std::floor(15.0 * dpiX / 1440.0)));
  const int thickY = std::max(1, static_cast<int>(std::floor(15.0 * dpiY / 1440.0)));
  const int l = control.left(), t = control.top();
  const int r = l + control.width(), b = t + control.height();
  const int steps = std::max(thickX, thickY);
  for (int i = 1; i <= steps; ++i) {
    const int dx = std::min(i, thickX), dy = std::min(i, thickY);
    painter.setPen(shadow);
    painter.drawLine(l - dx, t - dy, l - dx, b + dy);  // left
    painter.drawLine(l - dx, t - dy, r + dx, t - dy);  // top
    painter.setPen(light);
    painter.drawLine(r + dx, t - dy, r + dx, b + dy);  // right
    painter.drawLine(l - dx, b + dy, r + dx, b + dy);  // bottom
  }
}

}  // namespace novastra::gui
