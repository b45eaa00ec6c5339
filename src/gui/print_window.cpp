#include "gui/print_window.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <optional>

#include "app/application.h"
#include "app/print_fit.h"
#include "app/save_print.h"
#include "app/text_file.h"
#include "gui/message_box.h"
#include "gui/widgets.h"

namespace novastra::gui {

bool& PrintWindow::ForcePdf() {
  static bool force = false;
  return force;
}

namespace {

QPageLayout::Orientation ToQt(PageOrientation o) {
  return o == PageOrientation::Landscape ? QPageLayout::Landscape : QPageLayout::Portrait;
}

// The printer's page turned as asked, in points, with its left margin on the
// right as well; a printer that cannot print that near its edge keeps its own
// margins.
QPageLayout Evened(QPageLayout layout, QPageLayout::Orientation orientation) {
  layout.setUnits(QPageLayout::Point);
  layout.setOrientation(orientation);
  const QMarginsF m = layout.margins();
  const double side = SideMargin(m.left());
  layout.setMargins(QMarginsF(side, m.top(), side, m.bottom()));
  return layout;
}

PrintArea AreaOf(const QPageLayout& layout) {
  const QRectF paint = layout.paintRect(QPageLayout::Point);
  return {paint.width(), paint.height()};
}

// The job's longest line across and its fullest page down, in points.
struct TextExtent {
  double width = 0;
  double height = 0;
  int columns = 0;  // the longest line in character cells
};

TextExtent Measure(const PrintJob& job, const QFont& font, QPrinter& printer) {
  const QFontMetricsF metrics(font, &printer);
  const double toPointsX = 72.0 / printer.logicalDpiX();
  const double toPointsY = 72.0 / printer.logicalDpiY();
  double widest = 0;
  size_t fullest = 0;
  for (const auto& page : job.pages) {
    fullest = std::max(fullest, page.size());
    for (const std::string& line : page) {
      // Trailing blanks print nothing.
      const size_t end = line.find_last_not_of(" \t\r");
      if (end != std::string::npos)
        widest = std::max(widest, metrics.horizontalAdvance(FromCodes(line.substr(0, end + 1))));
    }
  }
  TextExtent extent;
  extent.width = widest * toPointsX;
  if (fullest > 0)
    extent.height = (metrics.ascent() + metrics.descent() +
                     static_cast<double>(fullest - 1) * metrics.lineSpacing()) *
                    toPointsY;
  const double cell = metrics.horizontalAdvance(QChar('0'));
  extent.columns = cell > 0 ? static_cast<int>(std::lround(widest / cell)) : 0;
  return extent;
}

}  // namespace

JobFit FitJob(const PrintJob& job, const QString& fontFamily, QPrinter& printer,
              bool orientationChosen) {
  QFont font(fontFamily);
  font.setPointSizeF(job.pointSize);
  const TextExtent extent = Measure(job, font, printer);
  const QPageLayout current = printer.pageLayout();
  PrintFitRequest request;
  request.portrait = AreaOf(Evened(current, QPageLayout::Portrait));
  request.landscape = AreaOf(Evened(current, QPageLayout::Landscape));
  request.current = current.orientation() == QPageLayout::Landscape ? PageOrientation::Landscape
                                                                    : PageOrientation::Portrait;
  request.orientationChosen = orientationChosen;
  request.pointSize = job.pointSize;
  request.lineWidth = extent.width;
  request.pageHeight = extent.height;
  JobFit result;
  result.fit = FitPrintPage(request);
  result.layout = Evened(current, ToQt(result.fit.orientation));
  // The text is measured again at the size chosen: a tenth of a point less
  // where the font's widths do not grow quite in proportion.
  const double across = AreaOf(result.layout).width;
  for (int step = 0;
       step < 10 && result.fit.reduced && result.fit.fits && result.fit.pointSize > kLeastPointSize;
       ++step) {
    font.setPointSizeF(result.fit.pointSize);
    if (Measure(job, font, printer).width <= across) break;
    result.fit.pointSize = std::max(kLeastPointSize, result.fit.pointSize - 0.1);
  }
  result.note = QString::fromStdString(PrintFitNote(result.fit, extent.columns));
  return result;
}

QString DrawJob(const PrintJob& job, const QString& fontFamily, QPrinter& printer,
                bool orientationChosen) {
  const JobFit fitted = FitJob(job, fontFamily, printer, orientationChosen);
  printer.setPageLayout(fitted.layout);
  QPainter painter;
  if (!painter.begin(&printer)) return fitted.note;
  QFont font(fontFamily);
  font.setPointSizeF(fitted.fit.pointSize);
  painter.setFont(font);
  const QFontMetricsF metrics(font, &printer);
  const double lineHeight = metrics.lineSpacing();
  const double bottom = printer.pageRect(QPrinter::DevicePixel).height();
  bool first = true;
  for (const auto& page : job.pages) {
    if (!first) printer.newPage();
    first = false;
    double y = metrics.ascent();
    for (const std::string& line : page) {
      // A page longer than the sheet goes on to the next sheet.
      if (y + metrics.descent() > bottom && y > metrics.ascent()) {
        printer.newPage();
        y = metrics.ascent();
      }
      painter.drawText(QPointF(0, y), FromCodes(line));
      y += lineHeight;
    }
  }
  painter.end();
  return fitted.note;
}

QString PrintJobOut(const PrintJob& job, const QString& fontFamily,
                    const std::filesystem::path& pdf, bool forcePdf, QPrinter* chosen,
                    bool orientationChosen) {
  if (chosen) {
    // The job turns the page for itself only: Printer Setup's choice stays.
    const QPageLayout kept = chosen->pageLayout();
    chosen->setDocName("NOVASTRA");
    DrawJob(job, fontFamily, *chosen, orientationChosen);
    chosen->setPageLayout(kept);
    return chosen->outputFormat() == QPrinter::PdfFormat ? chosen->outputFileName() : QString();
  }
  const bool toPdf = forcePdf || QPrinterInfo::defaultPrinter().isNull();
  QPrinter printer(QPrinter::HighResolution);
  QString pdfPath;
  if (toPdf) {
    pdfPath = QString::fromStdString(pdf.string());
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdfPath);
  } else {
    printer.setPrinterName(QPrinterInfo::defaultPrinter().printerName());
  }
  printer.setDocName("NOVASTRA");
  DrawJob(job, fontFamily, printer);
  return pdfPath;
}

PrintWindow::PrintWindow(Application& app, Dialogs& dialogs, const QString& fontFamily,
                         QWidget* parent)
    : QDialog(parent), app_(app), dialogs_(dialogs), fontFamily_(fontFamily) {
  setObjectName("PrntFile");
  setWindowTitle("Data To Be Printed");
  setAttribute(Qt::WA_DeleteOnClose);

  txtContent = SymbolTextBox(fontFamily, this);
  auto* hint = new QLabel("Ctrl-C to copy.  Ctrl-X to cut.  Ctrl-V to paste.", this);
  lblFit = new QLabel(this);
  lblFit->setObjectName("lblFit");
  btnPrint = NamedButton("btnPrint", "Print", this);
  btnPreview = NamedButton("btnPreview", "Preview...", this);
  btnExportPdf = NamedButton("btnExportPdf", "Export PDF...", this);
  btnCancel = NamedButton("btnCancel", "Cancel", this);

  auto* row = new QHBoxLayout;
  row->addWidget(hint);
  row->addStretch();
  row->addWidget(btnPrint);
  row->addWidget(btnPreview);
  row->addWidget(btnExportPdf);
  row->addWidget(btnCancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(txtContent);
  layout->addWidget(lblFit);
  layout->addLayout(row);
  resize(760, 520);

  connect(btnPrint, &QPushButton::clicked, this, &PrintWindow::Print);
  connect(btnPreview, &QPushButton::clicked, this, &PrintWindow::Preview);
  connect(btnExportPdf, &QPushButton::clicked, this, [this] { ExportPdf(); });
  connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

  // Load: the print file and the size its longest lines ask for.
  if (auto loaded = app_.runs().LoadPrintFile()) {
    sizeClass_ = loaded->sizeClass;
    QFont shown = txtContent->font();
    shown.setPointSize(PrintPointSize(sizeClass_));  // the size it will print in
    txtContent->setFont(shown);
    QString text = FromCodes(loaded->text);
    text.replace("\r\n", "\n");
    txtContent->setPlainText(text);
    loaded_ = true;
  }
  // The note follows the text as it is edited, a moment after the typing stops.
  auto* refit = new QTimer(this);
  refit->setSingleShot(true);
  refit->setInterval(300);
  connect(refit, &QTimer::timeout, this, &PrintWindow::ShowFit);
  connect(txtContent, &QPlainTextEdit::textChanged, refit, qOverload<>(&QTimer::start));
}

PrintWindow::~PrintWindow() = default;

PrintJob PrintWindow::JobShown() const {
  PrintJob job;
  job.pointSize = PrintPointSize(sizeClass_);
  job.pages =
      PaginatePrintLines(SplitTextLines(ToCodes(txtContent->toPlainText())), app_.options()[8]);
  return job;
}

void PrintWindow::ShowFit() {
  QPrinter* target = printer;
  if (!target) {
    if (!defaultPrinter_) defaultPrinter_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    target = defaultPrinter_.get();
  }
  const QString note = FitJob(JobShown(), fontFamily_, *target, printer && orientationChosen).note;
  lblFit->setText(note);
  lblFit->setVisible(!note.isEmpty());
}

void PrintWindow::Print() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const auto job = app_.runs().PreparePrintJob(ToCodes(txtContent->toPlainText()), sizeClass_);
  QString pdf;
  if (job)
    pdf = PrintJobOut(*job, fontFamily_, app_.File("PRNTFILE.PDF"), ForcePdf(), printer,
                      printer && orientationChosen);
  accept();
  QApplication::restoreOverrideCursor();
  if (!pdf.isEmpty() && !printer)
    dialogs_.Message(parentWidget(), MessageIcon::Information, "Information",
                     "No printer is available. The text was printed to the file " + pdf + ".");
}

void PrintWindow::Preview() {
  const auto job = app_.runs().PreparePrintJob(ToCodes(txtContent->toPlainText()), sizeClass_);
  if (!job) return;
  QPrinter fallback(QPrinter::HighResolution);
  QPrinter* target = printer ? printer : &fallback;
  const QPageLayout kept = target->pageLayout();
  QPrintPreviewDialog dialog(target, this);
  dialog.setWindowTitle("Print Preview");
  // The page is turned to fit until the user turns it in the preview: then
  // their orientation stays.
  bool chosen = printer && orientationChosen;
  std::optional<QPageLayout::Orientation> turnedTo;
  connect(&dialog, &QPrintPreviewDialog::paintRequested, this, [&](QPrinter* p) {
    if (turnedTo && p->pageLayout().orientation() != *turnedTo) chosen = true;
    const QString note = DrawJob(*job, fontFamily_, *p, chosen);
    turnedTo = p->pageLayout().orientation();
    dialog.setWindowTitle(note.isEmpty() ? QString("Print Preview") : "Print Preview - " + note);
    lblFit->setText(note);
    lblFit->setVisible(!note.isEmpty());
  });
  dialogs_.Exec(dialog);
  target->setPageLayout(kept);
}

QString PrintWindow::ExportPdf() {
  QString path = dialogs_.SaveFileName(this, QString::fromStdString(app_.folder().string()),
                                       "NOVASTRA.pdf", "PDF Files (*.pdf)", "pdf");
  if (path.isEmpty()) return {};
  const auto job = app_.runs().PreparePrintJob(ToCodes(txtContent->toPlainText()), sizeClass_);
  if (!job) return {};
  QPrinter pdf(QPrinter::HighResolution);
  pdf.setOutputFormat(QPrinter::PdfFormat);
  pdf.setOutputFileName(path);
  if (printer) pdf.setPageLayout(printer->pageLayout());
  pdf.setDocName("NOVASTRA");
  DrawJob(*job, fontFamily_, pdf, printer && orientationChosen);
  setWindowTitle("Data To Be Printed - exported to " + path);
  return path;
}

}  // namespace novastra::gui
