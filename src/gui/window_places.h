#pragma once
// Where windows open: restored places kept on the screens that exist now.
#include <QList>
#include <QRect>

class QWidget;

namespace novastra::gui {

// The available areas (without panels and docks) of every screen.
QList<QRect> AvailableScreenAreas();

// A window rectangle (its outer frame) moved and shrunk so that all of it lies
// on one available area: the one it overlaps most, else the first. Off-screen
// places (negative or huge) come back inside; a size larger than the area
// becomes the area's size.
QRect FitToScreens(const QRect& wanted, const QList<QRect>& areas);

// Gives a window the client rectangle `wanted` (position of the frame, size
// of the client area, as saved), fitted to the screens with the window's
// frame taken into account.
void PlaceWindow(QWidget* window, const QRect& wanted);

// Once shown (its frame is known then): the window moved and shrunk as
// needed so that its whole frame lies on one screen. A maximised window is
// left as it is.
void KeepOnScreen(QWidget* window);

}  // namespace novastra::gui
