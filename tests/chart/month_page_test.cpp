// The monthly page drawn into an image of 72 dots an inch (device units of
// one point, as the book's PDF writer has them) with a white border around
// the page: nothing is drawn on the border, for every month of a year on both
// papers, the busiest months included.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <filesystem>

#include "chart/month_book.h"

#include "app/range_run.h"
#include "astro/calendar.h"
#include "chart/chart_support.h"
#include "chart/month_page.h"
#include "reports/stations.h"
#include "text/date_input.h"
#include "text/glyphs.h"

namespace novastra::chart {
namespace {

MonthInput Month(int year, int month) {
  MonthInput in;
  in.year = year;
  in.month = month;
  in.zodiacText = "Tropical";
  in.skyText = "design sky";
  in.instantText = "0h UT";
  EphemerisRequest e;
  e.tables = &test::Tables();
  e.startJD = JulianDayNumber(year, month, 1);
  e.dayCount = DaysInMonth(year, month);
  in.ephemeris = BuildEphemeris(e);
  AspectarianRequest a;
  a.sky.tables = &test::Tables();
  a.startJD = e.startJD;
  a.dayCount = e.dayCount;
  a.findEclipses = true;
  RunZonedAspectarianRange(a, in.zone, RangeControl{}, [&in](const AspectarianReport& piece) {
    in.aspectarian = piece;
    return true;
  });
  RefineStationEvents(a.sky, in.aspectarian.events);
  return in;
}

// The box of the pixels that are not white.
QRect InkedBox(const QImage& image) {
  int left = image.width(), top = image.height(), right = -1, bottom = -1;
  for (int y = 0; y < image.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      if (qGray(line[x]) > 250) continue;
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = std::max(bottom, y);
    }
  }
  return {QPoint(left, top), QPoint(right, bottom)};
}

TEST(MonthPage, EveryMonthOfAYearStaysInsideTheLandscapePage) {
  PageFonts fonts;
  fonts.symbols = AddSymbolFont(std::filesystem::path(NOVASTRA_DATA_DIR) / "EPHEMERI.TTF");
  ASSERT_FALSE(fonts.symbols.isEmpty());
  struct Paper {
    const char* name;
    QSizeF size;  // points, landscape
  } papers[] = {{"A4", QSizeF(841.89, 595.28)}, {"Letter", QSizeF(792, 612)}};
  constexpr int kBorder = 40;
  constexpr int kDotsPerMetre = 2835;  // 72 an inch
  size_t most = 0;
  for (int month = 1; month <= 12; ++month) {
    const MonthInput in = Month(2027, month);
    most = std::max(most, MonthPhenomena(in).size());
    for (const Paper& paper : papers) {
      QImage image(int(paper.size.width()) + 2 * kBorder, int(paper.size.height()) + 2 * kBorder,
                   QImage::Format_RGB32);
      image.setDotsPerMeterX(kDotsPerMetre);
      image.setDotsPerMeterY(kDotsPerMetre);
      image.fill(Qt::white);
      QPainter p(&image);
      p.translate(kBorder, kBorder);
      EXPECT_TRUE(PaintMonthPage(p, in, QRectF(QPointF(0, 0), paper.size), fonts))
          << paper.name << " " << month;
      p.end();
      const QRect inked = InkedBox(image);
      const QRectF page(QPointF(kBorder, kBorder), paper.size);
      EXPECT_TRUE(page.contains(QRectF(inked)))
          << paper.name << " " << month << ": inked " << inked.left() << " " << inked.top()
          << " to " << inked.right() << " " << inked.bottom();
      // The phenomena reach into the right half of the page.
      EXPECT_GT(inked.right(), kBorder + paper.size.width() * 0.75) << paper.name << " " << month;
    }
  }
  EXPECT_GT(most, 190u);  // the busiest month's phenomena fill three columns
}

TEST(MonthPage, PositionsAreRoundedToTheMinuteAndCarried) {
  struct Case {
    double degrees;
    std::string text;  // in the program's codes
  } cases[] = {
      {0.0, std::string("00") + SignCode(1) + "00"},
      {29.9999, std::string("00") + SignCode(2) + "00"},   // 60' carried into Taurus
      {359.995, std::string("00") + SignCode(1) + "00"},   // and round the circle
      {10.33, std::string("10") + SignCode(1) + "20"},      // 19.8' to the whole minute
      {-0.5, std::string("29") + SignCode(12) + "30"},
      {295.51, std::string("25") + SignCode(10) + "31"},
  };
  for (const Case& c : cases) EXPECT_EQ(PageLongitude(c.degrees), c.text) << c.degrees;
  EXPECT_EQ(PageDeclination(-23.4392), std::string("23") + kSouthCode + "26");
  EXPECT_EQ(PageDeclination(-0.004), std::string("00") + kNorthCode + "00");
  EXPECT_EQ(PageSiderealTime(86399.6), "00:00:00");
  EXPECT_EQ(PageSiderealTime(24101.3), "06:41:41");
}

}  // namespace
}  // namespace novastra::chart
