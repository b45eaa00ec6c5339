#include "chart/chart_painter.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <vector>

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

QColor BodyColor(int body) { return QColor(kBodyColors[body >= 1 && body <= 11 ? body : 0]); }
// The program's own symbol table gives the Unicode characters.
QString GlyphText(char code) {
  const Glyph* g = FindGlyph(static_cast<unsigned char>(code));
  return g ? QString::fromUcs4(&g->unicode, 1) : QString(" ");
}

QString BodyGlyph(int body) {
  return body >= 1 && body <= 11 ? GlyphText(BodyCode(body, Coordinates::Geocentric))
                                 : QString(" ");
}
QString BodyName(int body) { return kBodyNames[body >= 1 && body <= 11 ? body : 0]; }
QString SignGlyph(int sign) { return GlyphText(SignCode((sign - 1) % 12 + 1)); }

QString DegreesText(double degrees) {
  long minutes = std::lround(degrees * 60);
  return QString("%1\u00B0%2'").arg(minutes / 60).arg(minutes % 60, 2, 10, QChar('0'));
}

void PaintChart(QPainter& p, const ChartModel& m, const PaintStyle& style) {
  const ChartOptions& o = m.options;
  const double s = std::clamp(std::min(o.width / 1600.0, o.height / 1000.0), 0.5, 2.0);
  p.save();
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setRenderHint(QPainter::TextAntialiasing, true);
  p.fillRect(QRectF(0, 0, o.width, o.height), Qt::white);
  if (m.plot.width <= 0) {
    p.restore();
    return;
  }
  const QRectF plot(m.plot.left, m.plot.top, m.plot.width, m.plot.height);

  // Bands: alternate signs on the full circle, alternate labelled steps on a dial.
  const QColor band(244, 244, 240);
  if (!m.signs.empty()) {
    for (const SignBand& b : m.signs)
      if (b.sign % 2 == 0)
        p.fillRect(QRectF(plot.left(), b.yTop, plot.width(), b.yBottom - b.yTop), band);
  } else {
    double last = -1;
    int k = 0;
    for (const DegreeMark& d : m.marks)
      if (d.major) {
        if (last >= 0 && k++ % 2 == 1)
          p.fillRect(QRectF(plot.left(), d.y, plot.width(), last - d.y), band);
        last = d.y;
      }
  }

  // Day, month and year lines.
  p.setPen(QPen(QColor(236, 236, 236), 0.6 * s));
  for (const DayTick& d : m.days) p.drawLine(QPointF(d.x, plot.top()), QPointF(d.x, plot.bottom()));
  for (const TimeTick& t : m.ticks) {
    p.setPen(QPen(t.yearStart ? QColor(150, 150, 150) : QColor(222, 222, 222),
                  (t.yearStart ? 1.2 : 0.8) * s));
    p.drawLine(QPointF(t.x, plot.top()), QPointF(t.x, plot.bottom()));
  }
  // Degree lines.
  for (const DegreeMark& d : m.marks) {
    p.setPen(
        QPen(d.major ? QColor(170, 170, 170) : QColor(228, 228, 228), (d.major ? 0.9 : 0.6) * s));
    p.drawLine(QPointF(plot.left(), d.y), QPointF(plot.right(), d.y));
  }

  // Fixed points: dashed lines across, their degrees at the right, the
  // transits marked with rings.
  const QColor fixedColor(90, 90, 90);
  for (const FixedLine& f : m.fixedLines) {
    QPen pen(fixedColor, 1.2 * s, Qt::DashLine);
    p.setPen(pen);
    p.drawLine(QPointF(plot.left(), f.y), QPointF(plot.right(), f.y));
  }

  // The bodies' lines, clipped to the plot.
  p.save();
  p.setClipRect(plot.adjusted(-1, -1, 1, 1));
  for (const Segment& seg : m.segments) {
    QPolygonF line;
    line.reserve(int(seg.points.size()));
    for (const Point& pt : seg.points) line << Q(pt);
    QPen pen(BodyColor(seg.body), (seg.retrograde ? 4.2 : 1.6) * s, Qt::SolidLine, Qt::FlatCap,
             Qt::RoundJoin);
    p.setPen(pen);
    p.drawPolyline(line);
  }
  p.setPen(QPen(fixedColor, 1.0 * s));
  p.setBrush(Qt::white);
  for (const Crossing& c : m.crossings) p.drawEllipse(Q(c.at), 3.2 * s, 3.2 * s);
  p.setBrush(Qt::NoBrush);
  p.restore();

  p.setPen(QPen(QColor(90, 90, 90), 1.0 * s));
  p.drawRect(plot);

  // Degree labels at the left and right edges; sign symbols inside the bands.
  p.setFont(FontOf(style, 11 * s));
  p.setPen(QColor(60, 60, 60));
  for (const DegreeMark& d : m.marks)
    if (d.major) {
      const QString text = QString::number(int(d.degrees));
      DrawRightAligned(p, QPointF(plot.left() - 26 * s, d.y), text);
      p.drawText(QPointF(plot.right() + 26 * s, d.y + QFontMetricsF(p.font()).capHeight() / 2),
                 text);
    }
  p.setFont(FontOf(style, 15 * s));
  p.setPen(QColor(120, 120, 120));
  for (const SignBand& b : m.signs) {
    DrawCentered(p, QPointF(plot.left() + 12 * s, (b.yTop + b.yBottom) / 2), SignGlyph(b.sign));
    DrawCentered(p, QPointF(plot.right() - 12 * s, (b.yTop + b.yBottom) / 2), SignGlyph(b.sign));
  }
  // Fixed points' degrees beside the right edge, over the degree labels.
  p.setFont(FontOf(style, 10 * s, true));
  for (const FixedLine& f : m.fixedLines) {
    const QString text = DegreesText(f.degrees);
    const QFontMetricsF fm(p.font());
    QRectF r(plot.right() + 3 * s, f.y - fm.height() / 2, fm.horizontalAdvance(text) + 4 * s,
             fm.height());
    p.fillRect(r, Qt::white);
    p.setPen(fixedColor);
    p.drawText(r, Qt::AlignCenter, text);
  }

  // Month and year labels under the plot; the month the range starts in and
  // its year are named at the left edge unless a tick is there already.
  // Day numbers, where there are any, take the first row and move the month
  // and year names down.
  p.setPen(QColor(60, 60, 60));
  const bool dayRow =
      std::any_of(m.days.begin(), m.days.end(), [](const DayTick& d) { return d.label; });
  if (dayRow) {
    p.setFont(FontOf(style, 9 * s));
    for (const DayTick& d : m.days)
      if (d.label) DrawCentered(p, QPointF(d.x, plot.bottom() + 10 * s), QString::number(d.day));
  }
  const double monthRow = plot.bottom() + (dayRow ? 25 : 13) * s;
  const double yearRow = plot.bottom() + (dayRow ? 42 : 32) * s;
  const CivilDay start = CivilFromJd(m.jd0);
  const double firstTick = m.ticks.empty() ? plot.right() : m.ticks.front().x;
  if (!m.ticks.empty() && m.ticks.front().labelMonth && firstTick - plot.left() >= 24 * s) {
    p.setFont(FontOf(style, 11 * s));
    DrawCentered(p, QPointF((plot.left() + firstTick) / 2, monthRow),
                 kMonthAbbrev[start.month - 1]);
  }
  double firstYearLabel = plot.right() + 100 * s;
  for (const TimeTick& t : m.ticks)
    if (t.labelYear) {
      firstYearLabel = t.x;
      break;
    }
  if (firstYearLabel - plot.left() >= 60 * s) {
    p.setFont(FontOf(style, 12 * s, true));
    DrawCentered(p, QPointF(plot.left(), yearRow), QString::number(start.year));
  }
  for (const TimeTick& t : m.ticks) {
    const double next = &t == &m.ticks.back() ? m.XAt(t.jd + 30.44) : (&t + 1)->x;
    const double mid = std::min((t.x + next) / 2, plot.right() - 4 * s);
    if (t.labelMonth && (next - t.x) > 0 && mid > plot.left()) {
      p.setFont(FontOf(style, 11 * s));
      DrawCentered(p, QPointF(mid, monthRow), kMonthAbbrev[t.month - 1]);
    }
    if (t.labelYear) {
      p.setFont(FontOf(style, 12 * s, true));
      DrawCentered(p, QPointF(t.x, yearRow), QString::number(t.year));
    }
  }

  // A glyph at both ends of each body's line, just outside the plot, moved
  // apart where lines end close together.
  p.setFont(FontOf(style, 17 * s));
  for (const bool left : {true, false}) {
    std::vector<std::pair<double, int>> at;  // (y, body)
    for (const BodyEnds& e : m.ends) at.push_back({left ? e.first.y : e.last.y, e.body});
    SpreadApart(at, 15 * s, plot.top(), plot.bottom());
    for (const auto& [y, body] : at) {
      p.setPen(BodyColor(body));
      DrawCentered(p, QPointF(left ? plot.left() - 12 * s : plot.right() + 12 * s, y),
                   BodyGlyph(body));
    }
  }

  // Title, range, dial and legend along the top.
  p.setPen(Qt::black);
  p.setFont(FontOf(style, 17 * s, true));
  const QString title = QString("%1   %2 - %3   dial %4\u00B0")
                            .arg(style.title, QString::fromStdString(DayText(m.jd0)),
                                 QString::fromStdString(DayText(m.jd1)))
                            .arg(o.dial);
  p.drawText(QPointF(plot.left(), 26 * s), title);
  double x = plot.left();
  const double y = 54 * s;
  for (int body : m.bodies) {
    p.setPen(QPen(BodyColor(body), 1.6 * s));
    p.drawLine(QPointF(x, y - 4 * s), QPointF(x + 16 * s, y - 4 * s));
    p.setFont(FontOf(style, 14 * s));
    p.drawText(QPointF(x + 20 * s, y), BodyGlyph(body));
    p.setFont(FontOf(style, 11 * s));
    p.setPen(QColor(40, 40, 40));
    p.drawText(QPointF(x + 38 * s, y), BodyName(body));
    x += 38 * s + QFontMetricsF(p.font()).horizontalAdvance(BodyName(body)) + 16 * s;
  }
  p.setPen(QPen(QColor(80, 80, 80), 4.2 * s));
  p.drawLine(QPointF(x + 8 * s, y - 4 * s), QPointF(x + 24 * s, y - 4 * s));
  p.setFont(FontOf(style, 11 * s));
  p.setPen(QColor(40, 40, 40));
  p.drawText(QPointF(x + 30 * s, y), "retrograde");
  p.restore();
}

}  // namespace novastra::chart
