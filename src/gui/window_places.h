#pragma once
// Where windows open: restored places kept on the screens that exist now,
// dialogs centred on the window they belong to.
#include <QList>
#include <QMargins>
#include <QRect>

class QWidget;

namespace novastra::gui {

// The available areas (without panels and docks) of every screen.
QList<QRect> AvailableScreenAreas();
// Stands in for the screens' available areas until called again with an
// empty list (a small screen where the real one cannot be resized).
void SetAvailableScreenAreas(const QList<QRect>& areas);

// A window rectangle (its outer frame) moved and shrunk so that all of it lies
// on one available area: the one it overlaps most, else the first. Off-screen
// places (negative or huge) come back inside; a size larger than the area
// becomes the area's size.
QRect FitToScreens(const QRect& wanted, const QList<QRect>& areas);

// The frame the window system adds around the window's client area. Before
// the window is first shown the window system has not said: the title bar
// and border the style draws for one stand in for it.
QMargins FrameMargins(const QWidget* window);

// Gives a window the client rectangle `wanted` (position of the frame, size
// of the client area, as saved), fitted to the screens with the window's
// frame taken into account.
void PlaceWindow(QWidget* window, const QRect& wanted);

// Once shown (its frame is known then): the window moved and shrunk as
// needed so that its whole frame lies on one screen. A maximised window is
// left as it is.
void KeepOnScreen(QWidget* window);

// The window's frame centred on the owner's frame, then fitted to the screens.
void CentreOn(QWidget* window, const QWidget* owner);

// The window centred across the owner and just below it (above it when there
// is no room below), so that it leaves the owner's menus in sight.
void PlaceClearOf(QWidget* window, const QWidget* owner);

// From now on every top-level window is fitted to the screens as it is shown,
// and every dialog centred first on the window it belongs to (its parent's
// window, else the active window, else `fallbackOwner`). Windows placed on
// purpose can opt out with the dynamic property "placedByCaller".
void InstallWindowPlacer(QWidget* fallbackOwner);

}  // namespace novastra::gui
