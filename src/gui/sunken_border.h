#pragma once
// The sunken three-dimensional frame drawn around a control on its window.
#include <QColor>
#include <QRect>

class QPainter;

namespace novastra::gui {

// Draws, for every distance d from one pixel up to the thickness (15 twips,
// at least one pixel), left and top edges in `shadow` and right and bottom
// edges in `light` d pixels outside `control` (in the painter's
// coordinates): the palette's Dark and Light, grey and white in a light theme.
void DrawSunkenBorder(QPainter& painter, const QRect& control, double dpiX, double dpiY,
                      const QColor& shadow, const QColor& light);

}  // namespace novastra::gui
