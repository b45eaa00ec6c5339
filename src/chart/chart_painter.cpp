#include "chart/chart_painter.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <vector>

#include "reports/minor_events.h"
#include "text/glyphs.h"

namespace novastra::chart {

namespace {

// Colours picked to stay apart from each other on white paper and in grey
// print (Paul Tol's "bright" and "muted" qualitative schemes).
constexpr QRgb kBodyColors[12] = {
    0x000000,  // unused
    0xEE7733,  // Sun
    0x777777,  // Moon
    0x009988,  // Mercury
    0xEE3377,  // Venus
    0xCC3311,  // Mars
    0x0077BB,  // Jupiter
    0x332288,  // Saturn
    0x33BBEE,  // Uranus
    0x117733,  // Neptune
    0x882255,  // Pluto
    0x999933,  // North Node
};

// The minor bodies' lines (Chiron .. Osc. Lilith), in the further colours of
// Paul Tol's muted scheme; the two Black Moons black and dark grey.
constexpr QRgb kMinorColors[kMinorBodyCount] = {
    0x44AA99,  // Chiron
    0xDDAA33,  // Ceres
    0xAA4499,  // Pallas
    0x88CCEE,  // Juno
    0xCC6677,  // Vesta
    0x000000,  // Lilith
    0x555555,  // Osc. Lilith
};

constexpr const char* kBodyNames[12] = {"",       "Sun",     "Moon",    "Mercury",
                                        "Venus",  "Mars",    "Jupiter", "Saturn",
                                        "Uranus", "Neptune", "Pluto",   "North Node"};

QPointF Q(const Point& p) { return {p.x, p.y}; }

QFont FontOf(const PaintStyle& style, double pixels, bool bold = false) {
  QFont f(style.fontFamily);
  f.setPixelSize(std::max(1, int(std::lround(pixels))));
  f.setBold(bold);
  return f;
}

void DrawCentered(QPainter& p, const QPointF& at, const QString& text) {
  const QFontMetricsF fm(p.font());
  const QRectF r = fm.boundingRect(text);
  p.drawText(QPointF(at.x() - fm.horizontalAdvance(text) / 2, at.y() - r.center().y()), text);
}

void DrawRightAligned(QPainter& p, const QPointF& at, const QString& text) {
  const QFontMetricsF fm(p.font());
  p.drawText(QPointF(at.x() - fm.horizontalAdvance(text), at.y() + fm.capHeight() / 2), text);
}

// Sorts the labels by y and moves them apart to at least `gap`, keeping them
// within top..bottom where there is room.
void SpreadApart(std::vector<std::pair<double, int>>& at, double gap, double top, double bottom) {
  std::sort(at.begin(), at.end());
  for (size_t k = 1; k < at.size(); ++k) at[k].first = std::max(at[k].first, at[k - 1].first + gap);
  if (!at.empty() && at.back().first > bottom) {
    at.back().first = bottom;
    for (size_t k = at.size() - 1; k-- > 0;)
      at[k].first = std::min(at[k].first, at[k + 1].first - gap);
  }
  for (auto& a : at) a.first = std::max(a.first, top - gap);
}

}  // namespace

QColor BodyColor(int body) {
  if (IsMinorEventBody(body))
    return QColor(kMinorColors[static_cast<size_t>(body - kFirstMinorEventBody)]);
  return QColor(kBodyColors[body >= 1 && body <= 11 ? body : 0]);
}
// The program's own symbol table gives the Unicode characters.
QString GlyphText(char code) {
  const Glyph* g = FindGlyph(static_cast<unsigned char>(code));
  return g ? QString::fromUcs4(&g->unicode, 1) : QString(" ");
}

QString BodyGlyph(int body) {
  return (body >= 1 && body <= 11) || IsMinorEventBody(body)
             ? GlyphText(BodyCode(body, Coordinates::Geocentric))
             : QString(" ");
}
QString BodyName(int body) {
  if (IsMinorEventBody(body)) return MinorBodyName(MinorBodyOfEvent(body));
  return kBodyNames[body >= 1 && body <= 11 ? body : 0];
}
QString SignGlyph(int sign) { return GlyphText(SignCode((sign - 1) % 12 + 1)); }

std::vector<QRectF> FixedPointLabelBoxes(const ChartModel& m, const PaintStyle& style) {
  const double s = PictureScale(m.options);
  const QFontMetricsF fm(FontOf(style, 10 * s, true));
  // Each label's middle at its line, moved apart where lines lie closer than
  // a label's height, as the bodies' end glyphs are.
  std::vector<std::pair<double, int>> at;  // (y, line)
  for (size_t k = 0; k < m.fixedLines.size(); ++k)
    at.emplace_back(m.fixedLines[k].y, static_cast<int>(k));
  SpreadApart(at, fm.height(), m.plot.top, m.plot.bottom());
  std::vector<QRectF> boxes(m.fixedLines.size());
  for (const auto& [y, k] : at) {
    const QString text = DegreesText(m.fixedLines[static_cast<size_t>(k)].degrees);
    boxes[static_cast<size_t>(k)] = QRectF(m.plot.right() + 3 * s, y - fm.height() / 2,
                                           fm.horizontalAdvance(text) + 4 * s, fm.height());
  }
  return boxes;
}

QString DegreesText(double degrees) {
  long minutes = std::lround(degrees * 60);
  return QString("%1\u00B0%2'").arg(minutes / 60).arg(minutes % 60, 2, 10, QChar('0'));
}

namespace {

// What every part of the picture is drawn with: the painter, the model, the
// style, the plot's rectangle and the scale of pens and fonts.
struct Canvas {
  QPainter& p;
  const ChartModel& m;
  const PaintStyle& style;
  QRectF plot;
  double s;
  QFont Font(double pixels, bool bold = false) const { return FontOf(style, pixels * s, bold); }
  // The colour `light` has on white paper with black ink, carried over to
  // the style's paper and ink: as far from the paper towards the ink.
  QColor Tone(QColor light) const {
    if (style.paper == QColor(Qt::white) && style.ink == QColor(Qt::black)) return light;
    const double f = 1.0 - (light.red() + light.green() + light.blue()) / (3 * 255.0);
    const auto mix = [f](int a, int b) { return int(std::lround(a + (b - a) * f)); };
    return {mix(style.paper.red(), style.ink.red()), mix(style.paper.green(), style.ink.green()),
            mix(style.paper.blue(), style.ink.blue())};
  }
  // A body's colour, lightened on dark paper where it would be lost.
  QColor Body(int body) const {
    const QColor color = BodyColor(body);
    return style.paper.lightness() < 128 && color.lightness() < 130 ? color.lighter(170) : color;
  }
};

const QColor kFixedColor(90, 90, 90);

// Bands: alternate signs on the full circle, alternate labelled steps on a dial.
void PaintBands(const Canvas& c) {
  const QColor band = c.Tone(QColor(244, 244, 240));
  const QRectF& plot = c.plot;
  if (!c.m.signs.empty()) {
    for (const SignBand& b : c.m.signs)
      if (b.sign % 2 == 0)
        c.p.fillRect(QRectF(plot.left(), b.yTop, plot.width(), b.yBottom - b.yTop), band);
    return;
  }
  double last = -1;
  int k = 0;
  for (const DegreeMark& d : c.m.marks) {
    if (!d.major) continue;
    if (last >= 0 && k++ % 2 == 1)
      c.p.fillRect(QRectF(plot.left(), d.y, plot.width(), last - d.y), band);
    last = d.y;
  }
}

// Day, month, year and degree lines, and the fixed points' dashed lines across.
void PaintGrid(const Canvas& c) {
  QPainter& p = c.p;
  const QRectF& plot = c.plot;
  const double s = c.s;
  p.setPen(QPen(c.Tone(QColor(236, 236, 236)), 0.6 * s));
  for (const DayTick& d : c.m.days)
    p.drawLine(QPointF(d.x, plot.top()), QPointF(d.x, plot.bottom()));
  for (const TimeTick& t : c.m.ticks) {
    p.setPen(QPen(c.Tone(t.yearStart ? QColor(150, 150, 150) : QColor(222, 222, 222)),
                  (t.yearStart ? 1.2 : 0.8) * s));
    p.drawLine(QPointF(t.x, plot.top()), QPointF(t.x, plot.bottom()));
  }
  for (const DegreeMark& d : c.m.marks) {
    p.setPen(
        QPen(c.Tone(d.major ? QColor(170, 170, 170) : QColor(228, 228, 228)), (d.major ? 0.9 : 0.6) * s));
    p.drawLine(QPointF(plot.left(), d.y), QPointF(plot.right(), d.y));
  }
  for (const FixedLine& f : c.m.fixedLines) {
    QPen pen(c.Tone(kFixedColor), 1.2 * s, Qt::DashLine);
    p.setPen(pen);
    p.drawLine(QPointF(plot.left(), f.y), QPointF(plot.right(), f.y));
  }
}

// The bodies' lines, clipped to the plot, thick where retrograde; rings
// where they cross the fixed points.
void PaintBodyLines(const Canvas& c) {
  QPainter& p = c.p;
  const double s = c.s;
  p.save();
  p.setClipRect(c.plot.adjusted(-1, -1, 1, 1));
  for (const Segment& seg : c.m.segments) {
    QPolygonF line;
    line.reserve(int(seg.points.size()));
    for (const Point& pt : seg.points) line << Q(pt);
    QPen pen(c.Body(seg.body), (seg.retrograde ? 4.2 : 1.6) * s, Qt::SolidLine, Qt::FlatCap,
             Qt::RoundJoin);
    p.setPen(pen);
    p.drawPolyline(line);
  }
  p.setPen(QPen(c.Tone(kFixedColor), 1.0 * s));
  p.setBrush(c.style.paper);
  for (const Crossing& x : c.m.crossings) p.drawEllipse(Q(x.at), 3.2 * s, 3.2 * s);
  p.setBrush(Qt::NoBrush);
  p.restore();
}

// Degree labels at the left and right edges; sign symbols inside the bands;
// the fixed points' degrees beside the right edge, over the degree labels.
void PaintDegreeLabels(const Canvas& c) {
  QPainter& p = c.p;
  const QRectF& plot = c.plot;
  const double s = c.s;
  p.setFont(c.Font(11));
  p.setPen(c.Tone(QColor(60, 60, 60)));
  for (const DegreeMark& d : c.m.marks) {
    if (!d.major) continue;
    const QString text = QString::number(int(d.degrees));
    DrawRightAligned(p, QPointF(plot.left() - 26 * s, d.y), text);
    p.drawText(QPointF(plot.right() + 26 * s, d.y + QFontMetricsF(p.font()).capHeight() / 2),
               text);
  }
  p.setFont(c.Font(15));
  p.setPen(c.Tone(QColor(120, 120, 120)));
  for (const SignBand& b : c.m.signs) {
    DrawCentered(p, QPointF(plot.left() + 12 * s, (b.yTop + b.yBottom) / 2), SignGlyph(b.sign));
    DrawCentered(p, QPointF(plot.right() - 12 * s, (b.yTop + b.yBottom) / 2), SignGlyph(b.sign));
  }
  p.setFont(c.Font(10, true));
  const std::vector<QRectF> boxes = FixedPointLabelBoxes(c.m, c.style);
  for (size_t k = 0; k < boxes.size(); ++k) {
    p.fillRect(boxes[k], c.style.paper);
    p.setPen(c.Tone(kFixedColor));
    p.drawText(boxes[k], Qt::AlignCenter, DegreesText(c.m.fixedLines[k].degrees));
    // A label moved off its line points back to it.
    const double y = c.m.fixedLines[k].y;
    if (std::abs(boxes[k].center().y() - y) > 1.0)
      p.drawLine(QPointF(plot.right(), y), QPointF(boxes[k].left(), boxes[k].center().y()));
  }
}

// The month the range starts in and its year, named at the left edge unless
// a tick's label is there already.
void PaintFirstMonthAndYear(const Canvas& c, double monthRow, double yearRow) {
  const QRectF& plot = c.plot;
  const std::vector<TimeTick>& ticks = c.m.ticks;
  const CivilDay start = CivilFromJd(c.m.jd0);
  const double firstTick = ticks.empty() ? plot.right() : ticks.front().x;
  if (!ticks.empty() && ticks.front().labelMonth && firstTick - plot.left() >= 24 * c.s) {
    c.p.setFont(c.Font(11));
    DrawCentered(c.p, QPointF((plot.left() + firstTick) / 2, monthRow),
                 kMonthAbbrev[start.month - 1]);
  }
  const auto yearTick =
      std::find_if(ticks.begin(), ticks.end(), [](const TimeTick& t) { return t.labelYear; });
  const double firstYearLabel = yearTick == ticks.end() ? plot.right() + 100 * c.s : yearTick->x;
  if (firstYearLabel - plot.left() >= 60 * c.s) {
    c.p.setFont(c.Font(12, true));
    DrawCentered(c.p, QPointF(plot.left(), yearRow), QString::number(start.year));
  }
}

// Day numbers, month and year labels under the plot. Day numbers, where
// there are any, take the first row and move the month and year names down.
void PaintTimeLabels(const Canvas& c) {
  QPainter& p = c.p;
  const QRectF& plot = c.plot;
  const double s = c.s;
  const ChartModel& m = c.m;
  p.setPen(c.Tone(QColor(60, 60, 60)));
  const bool dayRow =
      std::any_of(m.days.begin(), m.days.end(), [](const DayTick& d) { return d.label; });
  if (dayRow) {
    p.setFont(c.Font(9));
    for (const DayTick& d : m.days)
      if (d.label) DrawCentered(p, QPointF(d.x, plot.bottom() + 10 * s), QString::number(d.day));
  }
  const double monthRow = plot.bottom() + (dayRow ? 25 : 13) * s;
  const double yearRow = plot.bottom() + (dayRow ? 42 : 32) * s;
  PaintFirstMonthAndYear(c, monthRow, yearRow);
  for (const TimeTick& t : m.ticks) {
    const double next = &t == &m.ticks.back() ? m.XAt(t.jd + 30.44) : (&t + 1)->x;
    const double mid = std::min((t.x + next) / 2, plot.right() - 4 * s);
    if (t.labelMonth && (next - t.x) > 0 && mid > plot.left()) {
      p.setFont(c.Font(11));
      DrawCentered(p, QPointF(mid, monthRow), kMonthAbbrev[t.month - 1]);
    }
    if (t.labelYear) {
      p.setFont(c.Font(12, true));
      DrawCentered(p, QPointF(t.x, yearRow), QString::number(t.year));
    }
  }
}

// A glyph at both ends of each body's line, just outside the plot, moved
// apart where lines end close together.
void PaintLineEnds(const Canvas& c) {
  const double s = c.s;
  c.p.setFont(c.Font(17));
  for (const bool left : {true, false}) {
    std::vector<std::pair<double, int>> at;  // (y, body)
    for (const BodyEnds& e : c.m.ends) at.push_back({left ? e.first.y : e.last.y, e.body});
    SpreadApart(at, 15 * s, c.plot.top(), c.plot.bottom());
    for (const auto& [y, body] : at) {
      c.p.setPen(c.Body(body));
      DrawCentered(c.p, QPointF(left ? c.plot.left() - 12 * s : c.plot.right() + 12 * s, y),
                   BodyGlyph(body));
    }
  }
}

// Title, range, dial and legend along the top.
void PaintTitle(const Canvas& c) {
  QPainter& p = c.p;
  const double s = c.s;
  p.setPen(c.style.ink);
  p.setFont(c.Font(17, true));
  const QString title = QString("%1   %2 - %3   dial %4\u00B0")
                            .arg(c.style.title, QString::fromStdString(DayText(c.m.jd0)),
                                 QString::fromStdString(DayText(c.m.jd1)))
                            .arg(c.m.options.dial);
  p.drawText(QPointF(c.plot.left(), 26 * s), title);
  double x = c.plot.left();
  const double y = 54 * s;
  // The bodies' names when the whole legend fits across the picture, else
  // their symbols alone.
  const QFontMetricsF names(c.Font(11));
  double wide = 30 * s + names.horizontalAdvance("retrograde");
  for (int body : c.m.bodies) wide += 54 * s + names.horizontalAdvance(BodyName(body));
  const bool named = c.plot.left() + wide <= c.m.options.width;
  for (int body : c.m.bodies) {
    p.setPen(QPen(c.Body(body), 1.6 * s));
    p.drawLine(QPointF(x, y - 4 * s), QPointF(x + 16 * s, y - 4 * s));
    p.setFont(c.Font(14));
    p.drawText(QPointF(x + 20 * s, y), BodyGlyph(body));
    if (!named) {
      x += 44 * s;
      continue;
    }
    p.setFont(c.Font(11));
    p.setPen(c.Tone(QColor(40, 40, 40)));
    p.drawText(QPointF(x + 38 * s, y), BodyName(body));
    x += 38 * s + names.horizontalAdvance(BodyName(body)) + 16 * s;
  }
  p.setPen(QPen(c.Tone(QColor(80, 80, 80)), 4.2 * s));
  p.drawLine(QPointF(x + 8 * s, y - 4 * s), QPointF(x + 24 * s, y - 4 * s));
  p.setFont(c.Font(11));
  p.setPen(c.Tone(QColor(40, 40, 40)));
  p.drawText(QPointF(x + 30 * s, y), "retrograde");
}

}  // namespace

void PaintChart(QPainter& p, const ChartModel& m, const PaintStyle& style) {
  const ChartOptions& o = m.options;
  const double s = PictureScale(o);
  p.save();
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setRenderHint(QPainter::TextAntialiasing, true);
  p.fillRect(QRectF(0, 0, o.width, o.height), style.paper);
  if (m.plot.width <= 0) {
    p.restore();
    return;
  }
  const Canvas c{p, m, style, QRectF(m.plot.left, m.plot.top, m.plot.width, m.plot.height), s};
  PaintBands(c);
  PaintGrid(c);
  PaintBodyLines(c);
  p.setPen(QPen(c.Tone(QColor(90, 90, 90)), 1.0 * s));
  p.drawRect(c.plot);
  PaintDegreeLabels(c);
  PaintTimeLabels(c);
  PaintLineEnds(c);
  PaintTitle(c);
  p.restore();
}

}  // namespace novastra::chart
