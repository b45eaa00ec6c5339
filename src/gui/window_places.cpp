#include "gui/window_places.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <algorithm>

namespace novastra::gui {

namespace {

QList<QRect>& AreasOverride() {
  static QList<QRect> areas;
  return areas;
}

// Platforms that draw no frames around windows.
bool FramelessPlatform() {
  const QString name = QGuiApplication::platformName();
  return name == "offscreen" || name == "minimal";
}

}  // namespace

QList<QRect> AvailableScreenAreas() {
  if (!AreasOverride().isEmpty()) return AreasOverride();
  QList<QRect> areas;
  for (QScreen* screen : QGuiApplication::screens()) areas.push_back(screen->availableGeometry());
  return areas;
}

void SetAvailableScreenAreas(const QList<QRect>& areas) { AreasOverride() = areas; }

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

QMargins FrameMargins(const QWidget* window) {
  const QRect frame = window->frameGeometry(), inner = window->geometry();
  const QMargins m(inner.left() - frame.left(), inner.top() - frame.top(),
                   frame.right() - inner.right(), frame.bottom() - inner.bottom());
  if (!m.isNull() || FramelessPlatform() || window->testAttribute(Qt::WA_WState_Visible))
    return m;
  // Not yet shown: the window manager adds its frame only when it maps the
  // window, too late for a window sized to the whole screen.
  const QStyle* style = window->style();
  const int border = std::max(1, style->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth));
  const int title = style->pixelMetric(QStyle::PM_TitleBarHeight) + border;
  return {border, title, border, border};
}

void PlaceWindow(QWidget* window, const QRect& wanted) {
  const QMargins m = FrameMargins(window);
  const QRect outer(wanted.topLeft(), wanted.size().grownBy(m));
  const QRect fitted = FitToScreens(outer, AvailableScreenAreas());
  window->move(fitted.topLeft());
  window->resize(fitted.size().shrunkBy(m).expandedTo(QSize(1, 1)));
}

void KeepOnScreen(QWidget* window) {
  if (window->isMaximized() || window->isMinimized() || window->isFullScreen()) return;
  const QMargins m = FrameMargins(window);
  const QRect frame(window->pos(), window->size().grownBy(m));
  if (FitToScreens(frame, AvailableScreenAreas()) == frame) return;
  PlaceWindow(window, QRect(frame.topLeft(), window->size()));
}

namespace {

QSize OuterSize(const QWidget* window) {
  // A dialog not yet laid out has no size of its own: the one it will take.
  const QSize size = window->testAttribute(Qt::WA_Resized)
                         ? window->size()
                         : window->size().expandedTo(window->sizeHint());
  return size.grownBy(FrameMargins(window));
}

QRect OuterFrame(const QWidget* window) {
  return {window->pos(), window->size().grownBy(FrameMargins(window))};
}

}  // namespace

void CentreOn(QWidget* window, const QWidget* owner) {
  if (!owner || owner == window) return;
  QRect outer(QPoint(0, 0), OuterSize(window));
  outer.moveCenter(OuterFrame(owner).center());
  PlaceWindow(window, QRect(outer.topLeft(), outer.size().shrunkBy(FrameMargins(window))));
}

void PlaceClearOf(QWidget* window, const QWidget* owner) {
  if (!owner) return;
  const QRect o = OuterFrame(owner);
  const QSize size = OuterSize(window);
  constexpr int kGap = 8;
  QRect outer(QPoint(o.center().x() - size.width() / 2, o.bottom() + 1 + kGap), size);
  for (const QRect& a : AvailableScreenAreas())
    if (a.contains(o.center()) && outer.bottom() > a.bottom() &&
        o.top() - kGap - size.height() >= a.top())
      outer.moveBottom(o.top() - kGap - 1);
  PlaceWindow(window, QRect(outer.topLeft(), outer.size().shrunkBy(FrameMargins(window))));
}

namespace {

// Places each top-level window as it is shown (the Show event comes before
// the window system maps it, so nothing is seen moving).
class WindowPlacer : public QObject {
 public:
  WindowPlacer(QWidget* fallbackOwner, QObject* parent)
      : QObject(parent), fallback_(fallbackOwner) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::Show || !watched->isWidgetType()) return false;
    auto* w = static_cast<QWidget*>(watched);
    if (!w->isWindow() || w->property("placedByCaller").toBool()) return false;
    const Qt::WindowType type = w->windowType();
    if (type == Qt::Popup || type == Qt::ToolTip || type == Qt::SplashScreen) return false;
    // The window's own Show handling first: a message box takes its final
    // size there.
    static_cast<QObject*>(w)->event(event);
    if (type == Qt::Dialog || type == Qt::Sheet || qobject_cast<QDialog*>(w)) {
      QWidget* owner = w->parentWidget() ? w->parentWidget()->window() : nullptr;
      if (!owner || !owner->isVisible()) owner = QApplication::activeWindow();
      if (!owner || owner == w || !owner->isVisible()) owner = fallback_;
      if (owner && owner != w && owner->isVisible()) CentreOn(w, owner);
    }
    KeepOnScreen(w);
    return true;  // handled above
  }

 private:
  QPointer<QWidget> fallback_;
};

}  // namespace

void InstallWindowPlacer(QWidget* fallbackOwner) {
  static QPointer<WindowPlacer> placer;
  delete placer;
  placer = new WindowPlacer(fallbackOwner, qApp);
  qApp->installEventFilter(placer);
}

}  // namespace novastra::gui
