#include "chart/month_book.h"

#include <QBuffer>
#include <QFontDatabase>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace novastra::chart {

QString AddSymbolFont(const std::filesystem::path& fontFile) {
  const int id = QFontDatabase::addApplicationFont(QString::fromStdString(fontFile.string()));
  if (id < 0) return {};
  const QStringList families = QFontDatabase::applicationFontFamilies(id);
  return families.isEmpty() ? QString() : families.first();
}

std::string DrawBook(const std::vector<MonthInput>& months, Paper paper, const PageFonts& fonts,
                     QByteArray& pdf) {
  if (months.empty()) return "no month to draw";
  QBuffer buffer(&pdf);
  if (!buffer.open(QIODevice::WriteOnly)) return "no memory for the book";
  QPdfWriter writer(&buffer);
  writer.setTitle(QString("Ephemeris %1 %2 - %3 %4")
                      .arg(MonthName(months.front().month))
                      .arg(months.front().year)
                      .arg(MonthName(months.back().month))
                      .arg(months.back().year));
  writer.setCreator("NOVASTRA");
  // Device units of one point, so that the page's sizes are points.
  writer.setResolution(72);
  writer.setPageLayout(QPageLayout(QPageSize(paper == Paper::A4 ? QPageSize::A4 : QPageSize::Letter),
                                   QPageLayout::Landscape, QMarginsF(0, 0, 0, 0),
                                   QPageLayout::Point));
  QPainter p;
  if (!p.begin(&writer)) return "the book could not be drawn";
  const QRectF page(QPointF(0, 0), writer.pageLayout().fullRectPoints().size());
  PaintTitlePage(p, months.front(), months.back(), page, fonts);
  for (const MonthInput& m : months) {
    writer.newPage();
    if (!PaintMonthPage(p, m, page, fonts)) {
      p.end();
      return std::string("the phenomena of ") + MonthName(m.month) + " " +
             std::to_string(m.year) + " do not fit on one page";
    }
  }
  if (!p.end()) return "the book could not be drawn";
  return {};
}

}  // namespace novastra::chart
