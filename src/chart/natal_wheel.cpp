#include "chart/natal_wheel.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <numeric>

#include "chart/chart_painter.h"
#include "reports/events.h"
#include "text/glyphs.h"

namespace novastra::chart {

namespace {

constexpr double kRad = std::numbers::pi / 180;

double Norm360(double d) {
  d = std::fmod(d, 360.0);
  return d < 0 ? d + 360 : d;
}

// a - b folded into -180..180.
double Gap(double a, double b) {
  const double d = Norm360(a - b);
  return d > 180 ? d - 360 : d;
}

QColor Mix(const QColor& a, const QColor& b, double t) {
  return QColor::fromRgbF(static_cast<float>(a.redF() * (1 - t) + b.redF() * t),
                          static_cast<float>(a.greenF() * (1 - t) + b.greenF() * t),
                          static_cast<float>(a.blueF() * (1 - t) + b.blueF() * t));
}

}  // namespace

WheelStyle WheelStyle::FromPalette(const QPalette& palette) {
  WheelStyle s;
  s.paper = palette.color(QPalette::Base);
  s.ink = palette.color(QPalette::Text);
  s.faint = Mix(s.paper, s.ink, 0.45);
  s.band = Mix(s.paper, s.ink, 0.06);
  return s;
}

double WheelOrb(int type) {
  switch (type) {
    case kConjunction:
    case kOpposition: return 8;
    default: return IsMajorAspect(type) ? 6 : 0;
  }
}

QColor AspectColor(int type) {
  // Hard aspects red, soft ones blue and green, as most chart programs draw them.
  switch (type) {
    case kConjunction: return {0xCC, 0x88, 0x00};
    case kSextile: return {0x33, 0x77, 0xDD};
    case kSquare: return {0xDD, 0x22, 0x22};
    case kTrine: return {0x22, 0x99, 0x44};
    case kOpposition: return {0xAA, 0x11, 0x55};
    default: return Qt::gray;
  }
}

std::vector<WheelAspect> WheelAspects(const NatalChart& chart) {
  std::vector<WheelAspect> out;
  for (int a = 1; a <= 11; ++a)
    for (int b = a + 1; b <= 11; ++b) {
      const double sep = std::abs(Gap(chart.bodies[a].longitude, chart.bodies[b].longitude));
      for (int t = kConjunction; t <= kOpposition; ++t) {
        const double orb = std::abs(sep - AspectAngle(t));
        if (orb <= WheelOrb(t)) {
          out.push_back({a, b, t, orb});
          break;  // the orbs of the major aspects do not overlap
        }
      }
    }
  return out;
}

std::vector<double> SpreadOnCircle(const std::vector<double>& longitudes, double gap) {
  const size_t n = longitudes.size();
  std::vector<double> out(longitudes);
  if (n < 2) return out;
  gap = std::min(gap, 360.0 / static_cast<double>(n));
  std::vector<size_t> order(n);
  std::iota(order.begin(), order.end(), size_t{0});
  std::sort(order.begin(), order.end(),
            [&](size_t x, size_t y) { return Norm360(longitudes[x]) < Norm360(longitudes[y]); });
  // The circle is cut in its widest empty arc and the points laid along a line
  // from there.
  size_t cut = 0;
  double widest = -1;
  for (size_t k = 0; k < n; ++k) {
    const double d = Norm360(longitudes[order[(k + 1) % n]] - longitudes[order[k]]);
    if (d > widest) widest = d, cut = (k + 1) % n;
  }
  std::vector<double> x(n);
  for (size_t j = 0; j < n; ++j) {
    x[j] = Norm360(longitudes[order[(cut + j) % n]]);
    if (j > 0 && x[j] < x[j - 1]) x[j] += 360;
  }
  // Point j goes to c + j * gap with c common to its block: the mean of
  // x - j * gap over the block (least squares). Neighbouring blocks merge
  // while they would overlap (the pool-adjacent-violators algorithm of
  // isotonic regression: Barlow et al., "Statistical Inference under Order
  // Restrictions", 1972).
  struct Block {
    double sum;
    size_t count;
    double c() const { return sum / static_cast<double>(count); }
  };
  std::vector<Block> blocks;
  for (size_t j = 0; j < n; ++j) {
    blocks.push_back({x[j] - static_cast<double>(j) * gap, 1});
    while (blocks.size() > 1 && blocks[blocks.size() - 2].c() > blocks.back().c()) {
      const Block last = blocks.back();
      blocks.pop_back();
      blocks.back().sum += last.sum;
      blocks.back().count += last.count;
    }
  }
  size_t j = 0;
  for (const Block& b : blocks)
    for (size_t k = 0; k < b.count; ++k, ++j)
      out[order[(cut + j) % n]] = Norm360(b.c() + static_cast<double>(j) * gap);
  return out;
}

QPointF WheelLayout::At(double longitude, double radius) const {
  const double a = (180 + longitude - ascendant) * kRad;
  return {center.x() + radius * std::cos(a), center.y() - radius * std::sin(a)};
}

WheelLayout LayOutWheel(const NatalChart& chart, const QRectF& rect) {
  WheelLayout w;
  w.center = rect.center();
  const double half = std::min(rect.width(), rect.height()) / 2;
  w.outer = half * 0.88;  // room outside the ring for the ASC and MC labels
  w.signInner = w.outer * 0.84;
  w.glyphRadius = w.outer * 0.71;
  w.aspectRadius = w.outer * 0.50;
  w.ascendant = chart.houses.ascendant;
  w.glyphPixels = std::max(6.0, w.outer * 0.085);
  std::vector<double> lon;
  for (int b = 1; b <= 11; ++b) lon.push_back(chart.bodies[b].longitude);
  const double gap = w.glyphPixels * 1.1 / w.glyphRadius / kRad;
  const std::vector<double> shown = SpreadOnCircle(lon, gap);
  for (int b = 1; b <= 11; ++b) {
    w.shownLongitude[b] = shown[b - 1];
    w.glyph[b] = w.At(shown[b - 1], w.glyphRadius);
    w.tick[b] = w.At(lon[b - 1], w.signInner);
  }
  return w;
}

namespace {

struct Wheel {
  QPainter& p;
  const NatalChart& chart;
  const WheelLayout& w;
  const WheelStyle& style;
  QFont Font(double pixels, bool bold = false) const {
    QFont f(style.fontFamily);
    f.setPixelSize(std::max(1, static_cast<int>(std::lround(pixels))));
    f.setBold(bold);
    return f;
  }
  double Pen(double width) const { return std::max(0.5, width * w.outer / 300); }
};

void DrawCentered(QPainter& p, const QPointF& at, const QString& text) {
  const QFontMetricsF fm(p.font());
  const QRectF r = fm.tightBoundingRect(text);
  p.drawText(QPointF(at.x() - r.center().x(), at.y() - r.center().y()), text);
}

// The zodiac ring's band of a sign (0 Aries .. 11 Pisces).
QPainterPath SignSector(const WheelLayout& w, int sign) {
  QPainterPath path;
  const double a0 = 180 + sign * 30.0 - w.ascendant;
  const double outer = w.outer, inner = w.signInner;
  const QRectF o(w.center.x() - outer, w.center.y() - outer, 2 * outer, 2 * outer);
  const QRectF i(w.center.x() - inner, w.center.y() - inner, 2 * inner, 2 * inner);
  path.arcMoveTo(o, a0);
  path.arcTo(o, a0, 30);
  path.arcTo(i, a0 + 30, -30);
  path.closeSubpath();
  return path;
}

void PaintZodiac(const Wheel& c) {
  const WheelLayout& w = c.w;
  QPainter& p = c.p;
  p.setPen(Qt::NoPen);
  for (int s = 0; s < 12; s += 2)
    p.fillPath(SignSector(w, s), c.style.band);
  p.setPen(QPen(c.style.ink, c.Pen(1.2)));
  p.setBrush(Qt::NoBrush);
  for (const double r : {w.outer, w.signInner}) p.drawEllipse(w.center, r, r);
  p.setPen(QPen(c.style.faint, c.Pen(0.6)));
  p.drawEllipse(w.center, w.aspectRadius, w.aspectRadius);
  for (int d = 0; d < 360; d += 5) {
    const double len = d % 30 == 0 ? w.outer - w.signInner : (d % 10 == 0 ? 0.05 : 0.03) * w.outer;
    p.setPen(QPen(d % 30 == 0 ? c.style.ink : c.style.faint, c.Pen(d % 30 == 0 ? 1.0 : 0.6)));
    p.drawLine(w.At(d, w.signInner), w.At(d, w.signInner + len));
  }
  p.setFont(c.Font((w.outer - w.signInner) * 0.62));
  for (int s = 1; s <= 12; ++s) {
    // The elements' colours: fire, earth, air, water.
    constexpr QRgb kElement[4] = {0xD55E00, 0x4D7F17, 0xA08000, 0x3A6FB0};
    p.setPen(c.style.bodyColors ? QColor(kElement[(s - 1) % 4]) : c.style.ink);
    DrawCentered(p, w.At(s * 30.0 - 15, (w.outer + w.signInner) / 2), SignGlyph(s));
  }
}

// The twelve cusps from the aspect circle to the zodiac ring, the house
// numbers, and the two axes drawn through with their labels outside.
void PaintHouses(const Wheel& c) {
  const WheelLayout& w = c.w;
  QPainter& p = c.p;
  const HouseCusps& h = c.chart.houses;
  p.setPen(QPen(c.style.faint, c.Pen(0.8)));
  for (const double cusp : h.cusps) p.drawLine(w.At(cusp, w.aspectRadius), w.At(cusp, w.signInner));
  p.setFont(c.Font(w.outer * 0.045));
  for (int k = 0; k < 12; ++k) {
    const double from = h.cusps[k], to = h.cusps[(k + 1) % 12];
    const double mid = from + Norm360(to - from) / 2;
    DrawCentered(p, w.At(mid, w.aspectRadius + w.outer * 0.05), QString::number(k + 1));
  }
  p.setPen(QPen(c.style.ink, c.Pen(2.0)));
  for (const double axis : {h.ascendant, h.mc}) {
    p.drawLine(w.At(axis, w.aspectRadius), w.At(axis, w.outer));
    p.drawLine(w.At(axis + 180, w.aspectRadius), w.At(axis + 180, w.signInner));
  }
  p.setFont(c.Font(w.outer * 0.05, true));
  const double labelRadius = w.outer + w.outer * 0.07;
  DrawCentered(p, w.At(h.ascendant, labelRadius), "ASC");
  DrawCentered(p, w.At(h.mc, labelRadius), "MC");
}

void PaintAspects(const Wheel& c) {
  const WheelLayout& w = c.w;
  for (const WheelAspect& a : WheelAspects(c.chart)) {
    // Closer aspects in stronger lines.
    const double width = c.Pen(a.orb < 2 ? 1.6 : 1.0);
    c.p.setPen(QPen(AspectColor(a.type), width));
    c.p.drawLine(w.At(c.chart.bodies[a.a].longitude, w.aspectRadius),
                 w.At(c.chart.bodies[a.b].longitude, w.aspectRadius));
  }
}

// A tick at each body's true longitude, a line from there to its glyph where
// it was moved, the glyph, and the retrograde mark inside it.
void PaintBodies(const Wheel& c) {
  const WheelLayout& w = c.w;
  QPainter& p = c.p;
  const QString retro = GlyphText(kRetrogradeCode);
  for (int b = 1; b <= 11; ++b) {
    const double lon = c.chart.bodies[b].longitude;
    p.setPen(QPen(c.style.ink, c.Pen(1.4)));
    p.drawLine(w.tick[b], w.At(lon, w.signInner - w.outer * 0.04));
    p.setPen(QPen(c.style.faint, c.Pen(0.6)));
    p.drawLine(w.At(lon, w.signInner - w.outer * 0.04),
               w.At(w.shownLongitude[b], w.glyphRadius + w.glyphPixels * 0.65));
    p.setFont(c.Font(w.glyphPixels));
    p.setPen(c.style.bodyColors ? BodyColor(b) : c.style.ink);
    DrawCentered(p, w.glyph[b], BodyGlyph(b));
    if (c.chart.bodies[b].retrograde()) {
      p.setFont(c.Font(w.glyphPixels * 0.5));
      p.setPen(c.style.ink);
      DrawCentered(p, w.At(w.shownLongitude[b], w.glyphRadius - w.glyphPixels * 0.85), retro);
    }
  }
}

}  // namespace

void PaintWheel(QPainter& painter, const NatalChart& chart, const QRectF& rect,
                const WheelStyle& style) {
  painter.save();
  painter.setClipRect(rect);
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  painter.fillRect(rect, style.paper);
  if (rect.width() >= 40 && rect.height() >= 40) {
    const WheelLayout w = LayOutWheel(chart, rect);
    const Wheel c{painter, chart, w, style};
    PaintZodiac(c);
    PaintHouses(c);
    PaintAspects(c);
    PaintBodies(c);
  }
  painter.restore();
}

}  // namespace novastra::chart
