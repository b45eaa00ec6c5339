#include "chart/chart_file.h"

#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>
#include <algorithm>
#include <cctype>

namespace novastra::chart {

std::optional<ChartFormat> FormatOf(const std::filesystem::path& file) {
  std::string ext = file.extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return std::tolower(c); });
  if (ext == ".svg") return ChartFormat::Svg;
  if (ext == ".png") return ChartFormat::Png;
  if (ext == ".pdf") return ChartFormat::Pdf;
  return std::nullopt;
}

std::string WriteChart(const EphemerisSeries& series, const ChartOptions& options,
                       const std::filesystem::path& file, ChartFormat format,
                       const PaintStyle& style) {
  if (series.empty()) return "nothing to draw";
  const QString name = QString::fromStdString(file.string());
  QSaveFile out(name);
  if (!out.open(QIODevice::WriteOnly)) return out.errorString().toStdString();

  bool painted = false;
  ChartOptions o = options;
  switch (format) {
    case ChartFormat::Svg: {
      QSvgGenerator svg;
      svg.setOutputDevice(&out);
      svg.setSize(QSize(int(o.width), int(o.height)));
      svg.setViewBox(QRectF(0, 0, o.width, o.height));
      svg.setTitle(style.title);
      svg.setDescription(QString("%1 - %2").arg(QString::fromStdString(DayText(series.jd.front())),
                                                QString::fromStdString(DayText(series.jd.back()))));
      QPainter p;
      if ((painted = p.begin(&svg))) {
        PaintChart(p, BuildChart(series, o), style);
        painted = p.end();
      }
      break;
    }
    case ChartFormat::Png: {
      QImage image(int(o.width), int(o.height), QImage::Format_RGB32);
      if (image.isNull()) return "the picture is too large";
      QPainter p;
      if ((painted = p.begin(&image))) {
        PaintChart(p, BuildChart(series, o), style);
        painted = p.end() && image.save(&out, "PNG");
      }
      break;
    }
    case ChartFormat::Pdf: {
      QPdfWriter pdf(&out);
      pdf.setTitle(style.title);
      pdf.setCreator("NOVASTRA");
      pdf.setResolution(96);
      pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                    QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
      const QRect page = pdf.pageLayout().paintRectPixels(pdf.resolution());
      o.width = page.width();
      o.height = page.height();
      QPainter p;
      if ((painted = p.begin(&pdf))) {
        PaintChart(p, BuildChart(series, o), style);
        painted = p.end();
      }
      break;
    }
  }
  if (!painted) {
    out.cancelWriting();
    return "the chart could not be drawn";
  }
  if (!out.commit()) return out.errorString().toStdString();
  return {};
}

}  // namespace novastra::chart
