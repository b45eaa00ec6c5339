#pragma once
// The print window "Data To Be Printed": the print file, editable, and the
// Print and Cancel buttons.
#include <QDialog>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

class QPlainTextEdit;
class QPrinter;
class QPushButton;

namespace novastra {
class Application;
struct PrintJob;
}  // namespace novastra

namespace novastra::gui {

class Dialogs;

// Sends a job in the symbol font to the printer chosen in Printer Setup when
// there is one; else to the default printer, or, without a printer (or when
// forced), to a PDF file. Returns the PDF path, or "" when the job went to a
// printer.
QString PrintJobOut(const PrintJob& job, const QString& fontFamily,
                    const std::filesystem::path& pdf, bool forcePdf, QPrinter* chosen = nullptr);

// Draws the job's pages on a printer that is ready (also the preview's).
void DrawJob(const PrintJob& job, const QString& fontFamily, QPrinter& printer);

class PrintWindow : public QDialog {
  Q_OBJECT
 public:
  PrintWindow(Application& app, Dialogs& dialogs, const QString& fontFamily,
              QWidget* parent = nullptr);
  bool loaded() const { return loaded_; }
  int16_t sizeClass() const { return sizeClass_; }

  // Tests print to the PDF file even where a printer exists.
  static bool& ForcePdf();

  QPlainTextEdit* txtContent = nullptr;
  QPushButton* btnPrint = nullptr;
  QPushButton* btnPreview = nullptr;
  QPushButton* btnExportPdf = nullptr;
  QPushButton* btnCancel = nullptr;

  // The printer kept by the program (Printer Setup's choice); null: default.
  QPrinter* printer = nullptr;

  void Print();
  // Shows the pages as they will print (Qt's print preview).
  void Preview();
  // Asks for a file name and writes the text there as PDF; returns the path
  // ("" when cancelled).
  QString ExportPdf();

 private:
  Application& app_;
  Dialogs& dialogs_;
  QString fontFamily_;
  int16_t sizeClass_ = 0;
  bool loaded_ = false;
};

}  // namespace novastra::gui
