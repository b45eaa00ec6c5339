#pragma once
// The print window "Data To Be Printed": the print file, editable, and the
// Print and Cancel buttons.
#include <QDialog>
#include <QPageLayout>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/print_fit.h"

class QLabel;
class QPlainTextEdit;
class QPrinter;
class QPushButton;

namespace novastra {
class Application;
struct PrintJob;
}  // namespace novastra

namespace novastra::gui {

class Dialogs;

// How a job lies on a printer's page: the fit of its text (print_fit.h), as
// measured in the symbol font on that printer, the page to draw it on (the
// printer's, turned as the fit says, its right margin as its left one) and
// what the print window says about it ("" when the job prints as chosen).
struct JobFit {
  PrintFit fit;
  QPageLayout layout;
  QString note;
};
// orientationChosen: the user chose the printer's orientation, which stays.
JobFit FitJob(const PrintJob& job, const QString& fontFamily, QPrinter& printer,
              bool orientationChosen);

// Sends a job in the symbol font to the printer chosen in Printer Setup when
// there is one (its page settings unchanged afterwards); else to the default
// printer, or, without a printer (or when forced), to a PDF file. Returns the
// PDF path, or "" when the job went to a printer.
QString PrintJobOut(const PrintJob& job, const QString& fontFamily,
                    const std::filesystem::path& pdf, bool forcePdf, QPrinter* chosen = nullptr,
                    bool orientationChosen = false);

// Sets the printer's page to the job's fit and draws the job's pages on it
// (also the preview's); returns the fit's note.
QString DrawJob(const PrintJob& job, const QString& fontFamily, QPrinter& printer,
                bool orientationChosen = false);

class PrintWindow : public QDialog {
  Q_OBJECT
 public:
  PrintWindow(Application& app, Dialogs& dialogs, const QString& fontFamily,
              QWidget* parent = nullptr);
  ~PrintWindow() override;
  bool loaded() const { return loaded_; }
  int16_t sizeClass() const { return sizeClass_; }

  // Tests print to the PDF file even where a printer exists.
  static bool& ForcePdf();

  QPlainTextEdit* txtContent = nullptr;
  QPushButton* btnPrint = nullptr;
  QPushButton* btnPreview = nullptr;
  QPushButton* btnExportPdf = nullptr;
  QPushButton* btnCancel = nullptr;
  // How the text fits the page, when it does not print as chosen.
  QLabel* lblFit = nullptr;

  // The printer kept by the program (Printer Setup's choice); null: default.
  QPrinter* printer = nullptr;
  // The user chose that printer's orientation in Printer Setup: it is kept.
  bool orientationChosen = false;

  void Print();
  // Shows the pages as they will print (Qt's print preview).
  void Preview();
  // Asks for a file name and writes the text there as PDF; returns the path
  // ("" when cancelled).
  QString ExportPdf();

  // Says how the text as it stands fits the printer's page (on opening, with
  // the printer and orientation set, and as the text is edited).
  void ShowFit();

 private:
  // The text as it stands, in pages, in the size chosen when it was loaded.
  PrintJob JobShown() const;

  Application& app_;
  Dialogs& dialogs_;
  QString fontFamily_;
  int16_t sizeClass_ = 0;
  bool loaded_ = false;
  std::unique_ptr<QPrinter> defaultPrinter_;  // whose page ShowFit uses without a chosen one
};

}  // namespace novastra::gui
