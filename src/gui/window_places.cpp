#include "gui/window_places.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace novastra::gui {

QList<QRect> AvailableScreenAreas() {
  QList<QRect> areas;
  for (QScreen* screen : QGuiApplication::screens()) areas.push_back(screen->availableGeometry());
  return areas;
}

QRect FitToScreens(const QRect& wanted, const QList<QRect>& areas) {
  if (areas.isEmpty()) return wanted;
  QRect area = areas.first();
  long long best = 0;
  for (const QRect& a : areas) {
    const QRect common = a.intersected(wanted);
    const long long size = common.isEmpty() ? 0 : 1LL * common.width() * common.height();
    if (size > best) best = size, area = a;
  }
  const int width = std::clamp(wanted.width(), 1, area.width());
  const int height = std::clamp(wanted.height(), 1, area.height());
  const int left = std::clamp(wanted.left(), area.left(), area.right() + 1 - width);
  const int top = std::clamp(wanted.top(), area.top(), area.bottom() + 1 - height);
  return {left, top, width, height};
}

void PlaceWindow(QWidget* window, const QRect& wanted) {
  // The frame the window system adds (none before the first show, and none
  // without a window manager).
  const QRect frame = window->frameGeometry(), inner = window->geometry();
  const QMargins m(inner.left() - frame.left(), inner.top() - frame.top(),
                   frame.right() - inner.right(), frame.bottom() - inner.bottom());
  const QRect outer(wanted.topLeft(), wanted.size().grownBy(m));
  const QRect fitted = FitToScreens(outer, AvailableScreenAreas());
  window->move(fitted.topLeft());
  window->resize(fitted.size().shrunkBy(m).expandedTo(QSize(1, 1)));
}

void KeepOnScreen(QWidget* window) {
  if (window->isMaximized() || window->isMinimized() || window->isFullScreen()) return;
  const QRect frame = window->frameGeometry();
  if (FitToScreens(frame, AvailableScreenAreas()) == frame) return;
  PlaceWindow(window, QRect(frame.topLeft(), window->size()));
}

}  // namespace novastra::gui
