#pragma once
// The sunken three-dimensional frame drawn around a control on its window.
#include <QRect>

class QPainter;

namespace novastra::gui {

// Draws, for every distance d from one pixel up to the thickness (15 twips,
// at least one pixel), dark grey left and top edges and white right and
// bottom edges d pixels outside `control` (in the painter's coordinates).
void DrawSunkenBorder(QPainter& painter, const QRect& control, double dpiX, double dpiY);

}  // namespace novastra::gui
