#pragma once
// The print window "Data To Be Printed": the print file, editable, and the
// Print and Cancel buttons.
#include <QDialog>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

class QPlainTextEdit;
class QPushButton;

namespace novastra {
struct Application;
struct PrintJob;
}  // namespace novastra

namespace novastra::gui {

// Sends a job to the default printer in the symbol font; without a printer
// (or when forced) writes a PDF file instead. Returns the PDF path, or ""
// when the job went to a printer.
QString PrintJobOut(const PrintJob& job, const QString& fontFamily, const std::filesystem::path& pdf,
                    bool forcePdf);

class PrintWindow : public QDialog {
  Q_OBJECT
 public:
  PrintWindow(Application& app, const QString& fontFamily, QWidget* parent = nullptr);
  bool loaded() const { return loaded_; }
  int16_t sizeClass() const { return sizeClass_; }

  // Tests print to the PDF file even where a printer exists.
  static bool& ForcePdf();

  QPlainTextEdit* txtContent = nullptr;
  QPushButton* btnPrint = nullptr;
  QPushButton* btnCancel = nullptr;

  void Print();

 private:
  Application& app_;
  QString fontFamily_;
  int16_t sizeClass_ = 0;
  bool loaded_ = false;
};

}  // namespace novastra::gui
