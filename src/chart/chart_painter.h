#pragma once
// Draws a chart model with QPainter onto any paint device: a widget, an image,
// the SVG and PDF writers or a printer.
#include <QColor>
#include <QRectF>
#include <QString>
#include <vector>

#include "chart/chart_model.h"

class QPainter;

namespace novastra::chart {

// The body's line colour (distinct for the eleven bodies) and its symbol.
QColor BodyColor(int body);
QString BodyGlyph(int body);
// "Sun", "Moon", "Mercury" .. "Pluto", "North Node".
QString BodyName(int body);
// "Aries" .. "Pisces" symbol.
QString SignGlyph(int sign);
// The Unicode character of one of the program's symbol codes (text/glyphs.h).
QString GlyphText(char code);

struct PaintStyle {
  QString fontFamily = "DejaVu Sans";  // has the astrological symbols
  QString title = "Graphic ephemeris";
  // The page and the text; the grid's greys are drawn between the two. Files
  // and print keep black on white; a window takes its palette's.
  QColor paper = Qt::white;
  QColor ink = Qt::black;
};

// Paints the whole picture: page, marks, ticks, fixed points, the bodies'
// lines (retrograde stretches thicker), a glyph at both ends of each line, and
// the title with the legend. Device units are those the model was built for.
void PaintChart(QPainter& painter, const ChartModel& model, const PaintStyle& style = {});

// The boxes of the fixed points' degree labels beside the plot's right edge,
// one per fixed line in the model's order.
std::vector<QRectF> FixedPointLabelBoxes(const ChartModel& model, const PaintStyle& style = {});

// Degrees as "15°30'".
QString DegreesText(double degrees);

}  // namespace novastra::chart
