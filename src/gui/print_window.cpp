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
#include <QVBoxLayout>

#include "app/application.h"
#include "app/save_print.h"
#include "gui/message_box.h"
#include "gui/widgets.h"

namespace novastra::gui {

bool& PrintWindow::ForcePdf() {
  static bool force = false;
  return force;
}

void DrawJob(const PrintJob& job, const QString& fontFamily, QPrinter& printer) {
  QPainter painter;
  if (!painter.begin(&printer)) return;
  QFont font(fontFamily);
  font.setPointSize(job.pointSize);
  painter.setFont(font);
  const QFontMetricsF metrics(font, &printer);
  const double lineHeight = metrics.lineSpacing();
  bool first = true;
  for (const auto& page : job.pages) {
    if (!first) printer.newPage();
    first = false;
    double y = metrics.ascent();
    for (const std::string& line : page) {
      painter.drawText(QPointF(0, y), FromCodes(line));
      y += lineHeight;
    }
  }
  painter.end();
}

QString PrintJobOut(const PrintJob& job, const QString& fontFamily,
                    const std::filesystem::path& pdf, bool forcePdf, QPrinter* chosen) {
  if (chosen) {
    chosen->setDocName("NOVASTRA");
    DrawJob(job, fontFamily, *chosen);
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
}

void PrintWindow::Print() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const auto job = app_.runs().PreparePrintJob(ToCodes(txtContent->toPlainText()), sizeClass_);
  QString pdf;
  if (job) pdf = PrintJobOut(*job, fontFamily_, app_.File("PRNTFILE.PDF"), ForcePdf(), printer);
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
  QPrintPreviewDialog dialog(printer ? printer : &fallback, this);
  dialog.setWindowTitle("Print Preview");
  connect(&dialog, &QPrintPreviewDialog::paintRequested, this,
          [&](QPrinter* p) { DrawJob(*job, fontFamily_, *p); });
  dialog.exec();
}

QString PrintWindow::ExportPdf() {
  const QString path = dialogs_.SaveFileName(this, QString::fromStdString(app_.folder().string()),
                                             "NOVASTRA.pdf", "PDF Files (*.pdf)", "pdf");
  if (path.isEmpty()) return {};
  const auto job = app_.runs().PreparePrintJob(ToCodes(txtContent->toPlainText()), sizeClass_);
  if (!job) return {};
  QPrinter pdf(QPrinter::HighResolution);
  pdf.setOutputFormat(QPrinter::PdfFormat);
  pdf.setOutputFileName(path);
  if (printer) pdf.setPageLayout(printer->pageLayout());
  pdf.setDocName("NOVASTRA");
  DrawJob(*job, fontFamily_, pdf);
  setWindowTitle("Data To Be Printed - exported to " + path);
  return path;
}

}  // namespace novastra::gui
