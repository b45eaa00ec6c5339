// The natal wheel: where the painter puts the Ascendant, the cusps and the
// body glyphs, read back from the pixels it draws, and the spreading of
// crowded glyphs.
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <cmath>
#include <numbers>

#include "chart/chart_painter.h"
#include "chart/natal_wheel.h"
#include "chart_support.h"
#include "reports/chart_report.h"

namespace novastra::chart::test {
namespace {

constexpr double kRad = std::numbers::pi / 180;

// 17 Feb 2009 12:00 UT at New York (40N43, 74W00): Mercury, Mars, Jupiter and
// Neptune within 10 degrees of each other in Capricorn and Aquarius, so their
// glyphs crowd; Saturn retrograde.
NatalChart Crowded(double jdOffset = 0, HouseSystem system = HouseSystem::Placidus) {
  ChartRequest r;
  r.tables = &Tables();
  r.jdUT = JulianDayNumber(2009, 2, 17) + jdOffset;
  r.latitude = 40 + 43 / 60.0;
  r.longitude = -74;
  r.houses = system;
  return *BuildChart(r);
}

// Where a longitude lies on a wheel with the Ascendant at 9 o'clock and the
// zodiac running counterclockwise, written out here apart from the painter.
QPointF Expected(const WheelLayout& w, double longitude, double radius) {
  const double a = (longitude - w.ascendant) * kRad;
  return {w.center.x() - radius * std::cos(a), w.center.y() + radius * std::sin(a)};
}

double Distance(QPointF a, QPointF b) { return std::hypot(a.x() - b.x(), a.y() - b.y()); }

double ColourDistance(QRgb a, QColor b) {
  return std::abs(qRed(a) - b.red()) + std::abs(qGreen(a) - b.green()) +
         std::abs(qBlue(a) - b.blue());
}

// The wheel painted into the middle of a larger transparent image.
struct Painted {
  NatalChart chart;
  QRectF rect{100, 60, 800, 800};
  QImage image{1000, 920, QImage::Format_ARGB32};
  WheelLayout layout;
  explicit Painted(const NatalChart& c) : chart(c) {
    image.fill(Qt::transparent);
    // Ink and faint lines in blues: their blends with the paper never take
    // the grey of the Moon's glyph.
    WheelStyle style;
    style.ink = QColor(0, 0, 128);
    style.faint = QColor(150, 150, 210);
    QPainter p(&image);
    PaintWheel(p, chart, rect, style);
    p.end();
    layout = LayOutWheel(chart, rect);
  }
  // The centre of the pixels of a body's colour in the glyph ring.
  std::optional<QPointF> InkCentre(QColor colour) const {
    double sx = 0, sy = 0;
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) {
        const double r = Distance({x + 0.5, y + 0.5}, layout.center);
        if (r < layout.aspectRadius + layout.outer * 0.1 || r > layout.signInner - layout.outer * 0.045)
          continue;
        if (ColourDistance(image.pixel(x, y), colour) > 24) continue;
        sx += x + 0.5;
        sy += y + 0.5;
        ++n;
      }
    if (n < 5) return std::nullopt;
    return QPointF(sx / n, sy / n);
  }
  // A pixel of the ink at or next to the point.
  bool Dark(QPointF at) const {
    for (int dx = -1; dx <= 1; ++dx)
      for (int dy = -1; dy <= 1; ++dy) {
        const QRgb c = image.pixel(at.toPoint() + QPoint(dx, dy));
        if (qAlpha(c) == 255 && qGray(c) < 60) return true;
      }
    return false;
  }
};

// The Ascendant at the left, the Midheaven above the centre (a northern
// place), and the horizon drawn between the aspect circle and the ring.
void CheckAxes(const Painted& w) {
  const QPointF asc = w.layout.At(w.chart.houses.ascendant, w.layout.outer);
  EXPECT_NEAR(asc.y(), w.layout.center.y(), 1e-6);
  EXPECT_NEAR(asc.x(), w.layout.center.x() - w.layout.outer, 1e-6);
  EXPECT_LT(w.layout.At(w.chart.houses.mc, w.layout.outer).y(), w.layout.center.y());
  const double r = (w.layout.aspectRadius + w.layout.signInner) / 2;
  EXPECT_TRUE(w.Dark(Expected(w.layout, w.chart.houses.ascendant, r)));
}

TEST(Wheel, AscendantAtNineAndMidheavenAboveForEveryHourAndSystem) {
  // Through one day the Ascendant runs round the zodiac; it stays at the left.
  for (int hour = 0; hour < 24; hour += 3)
    for (const HouseSystem system : {HouseSystem::Placidus, HouseSystem::WholeSign}) {
      SCOPED_TRACE(testing::Message() << "hour " << hour << " system " << static_cast<int>(system));
      CheckAxes(Painted(Crowded(hour / 24.0, system)));
    }
}

// One body's tick at its true longitude, its glyph's ink where the layout
// put it, and no other glyph overlapping it. True when it was not moved.
bool CheckBody(const Painted& w, int b) {
  const WheelLayout& l = w.layout;
  const double lon = w.chart.bodies[b].longitude;
  const double moved = std::abs(Gap(l.shownLongitude[b], lon));
  // A moved glyph keeps a tick at its true place on the zodiac ring.
  EXPECT_LT(Distance(l.tick[b], Expected(l, lon, l.signInner)), 1e-6);
  EXPECT_TRUE(w.Dark(Expected(l, lon, l.signInner - l.outer * 0.02)));
  const auto ink = w.InkCentre(BodyColor(b));
  EXPECT_TRUE(ink.has_value());
  // The drawn glyph's ink within 5 pixels (a sixth of its size) of its place,
  // which is the body's own longitude when it was not moved.
  const QPointF want = Expected(l, moved < 1e-6 ? lon : l.shownLongitude[b], l.glyphRadius);
  EXPECT_LT(Distance(ink.value_or(QPointF()), want), 5.0);
  // Never moved further than the whole crowd of eleven could need.
  EXPECT_LT(moved, 11 * l.glyphPixels * 1.1 / l.glyphRadius / kRad / 2);
  int overlaps = 0;
  for (int o = 1; o <= 11; ++o) overlaps += o != b && Distance(l.glyph[b], l.glyph[o]) < l.glyphPixels;
  EXPECT_EQ(overlaps, 0);
  return moved < 1e-6;
}

TEST(Wheel, GlyphsAtTheirLongitudesOrSpreadWithATick) {
  const Painted w(Crowded());
  // A picture to look at, beside the window tests' screenshots.
  if (const QString dir = qEnvironmentVariable("NOVASTRA_SCREENSHOT_DIR"); !dir.isEmpty())
    w.image.save(dir + "/natal_wheel.png", "PNG");
  int unmoved = 0;
  for (int b = 1; b <= 11; ++b) {
    SCOPED_TRACE(testing::Message() << "body " << b);
    unmoved += CheckBody(w, b);
  }
  EXPECT_GE(unmoved, 3);
  EXPECT_LE(unmoved, 9);  // the Capricorn-Aquarius crowd was spread
  // The first cusp of the quadrant systems is the Ascendant itself.
  EXPECT_NEAR(Gap(w.chart.houses.cusps[0], w.chart.houses.ascendant), 0, 1e-9);
}

TEST(Wheel, NothingOutsideTheRectangle) {
  for (const QRectF rect : {QRectF(100, 60, 800, 800), QRectF(30, 40, 900, 300),
                            QRectF(400, 10, 120, 880), QRectF(10, 10, 20, 20)}) {
    SCOPED_TRACE(testing::Message() << rect.x() << "," << rect.y() << " " << rect.width() << "x"
                                    << rect.height());
    QImage image(1000, 920, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    PaintWheel(p, Crowded(), rect);
    p.end();
    int outside = 0, inside = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) {
        const bool in = rect.contains(QPointF(x + 0.5, y + 0.5));
        const bool painted = qAlpha(image.pixel(x, y)) != 0;
        outside += !in && painted;
        inside += in && painted;
      }
    EXPECT_EQ(outside, 0);
    EXPECT_GT(inside, 0);
  }
}

TEST(Wheel, MajorAspectsWithinTheirOrbs) {
  // Separations and what they make, with the orbs 8/6/6/6/8.
  struct Case {
    double a, b;
    int type;  // 0: none
  } cases[] = {
      {10, 17.9, kConjunction}, {10, 18.1, 0},       {0, 54.5, kSextile},  {350, 46, kSextile},
      {0, 84.1, kSquare},       {0, 83.9, 0},        {200, 80, kTrine},    {0, 126.5, 0},
      {5, 177.5, kOpposition},  {5, 192.9, kOpposition}, {5, 193.1, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.a << " " << c.b);
    NatalChart chart;
    // The other bodies all at one place, none of them aspected here.
    for (int b = 3; b <= 11; ++b) chart.bodies[b].longitude = 0;
    chart.bodies[1].longitude = c.a;
    chart.bodies[2].longitude = c.b;
    int found = 0;
    for (const WheelAspect& a : WheelAspects(chart))
      if (a.a == 1 && a.b == 2) found = a.type;
    EXPECT_EQ(found, c.type);
  }
}

TEST(Wheel, SpreadKeepsTheGapAndMovesOnlyTheCrowd) {
  struct Case {
    std::vector<double> in;
    double gap;
    std::vector<double> out;  // empty: only the gap is checked
  } cases[] = {
      {{10, 12}, 6, {8, 14}},
      {{359, 1, 180}, 6, {357, 3, 180}},
      {{100, 101, 102}, 4, {97, 101, 105}},
      {{0, 90, 180, 270}, 10, {0, 90, 180, 270}},
      {std::vector<double>(12, 40.0), 40, {}},  // too many for the gap: 30 apart
      {{5, 5.5, 6, 200, 201, 359.5}, 7, {}},
  };
  for (const Case& c : cases) {
    const std::vector<double> out = SpreadOnCircle(c.in, c.gap);
    ASSERT_EQ(out.size(), c.in.size());
    const double gap = std::min(c.gap, 360.0 / static_cast<double>(c.in.size()));
    for (size_t i = 0; i < out.size(); ++i) {
      if (!c.out.empty()) {
        EXPECT_NEAR(out[i], c.out[i], 1e-4) << i;
      }
      for (size_t j = 0; j < i; ++j) EXPECT_GE(std::abs(Gap(out[i], out[j])), gap - 1e-4);
    }
  }
}

TEST(Wheel, PaletteColoursTheBackground) {
  QPalette dark;
  dark.setColor(QPalette::Base, QColor(30, 30, 30));
  dark.setColor(QPalette::Text, QColor(230, 230, 230));
  QImage image(400, 400, QImage::Format_ARGB32);
  QPainter p(&image);
  PaintWheel(p, Crowded(), QRectF(0, 0, 400, 400), WheelStyle::FromPalette(dark));
  p.end();
  EXPECT_EQ(image.pixel(2, 2), QColor(30, 30, 30).rgb());
  // Print and export: white paper.
  QPainter q(&image);
  PaintWheel(q, Crowded(), QRectF(0, 0, 400, 400));
  q.end();
  EXPECT_EQ(image.pixel(2, 2), QColor(Qt::white).rgb());
}

}  // namespace
}  // namespace novastra::chart::test
