#pragma once
// The main window "NOVASTRA": the menu bar and the clock caption.
#include <QMainWindow>
#include <functional>

class QAction;
class QTimer;

namespace novastra::gui {

// "NOVASTRA - " + "dd mmm yyyy" + five blanks + the time.
QString ClockCaption(const QDateTime& now);

class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  explicit MainWindow(QWidget* parent = nullptr);

  // Commands the controller answers.
  std::function<void()> onPrinterSetup, onExit, onInput, onOptions, onAbout, onGraph, onNatal;
  std::function<void(const std::string& document)> onDocument;
  // Asked before the close box ends the program; false keeps it running.
  std::function<bool()> mayClose;

  QAction* mnuPrSetup = nullptr;
  QAction* mnuGraph = nullptr;
  QAction* mnuNatal = nullptr;
  QAction* mnuFileExit = nullptr;
  QAction* mnuInputData = nullptr;
  QAction* mnuOptions = nullptr;
  QAction* mnuHelpAbout = nullptr;
  QTimer* Timer1 = nullptr;

  void UpdateClock();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  bool exiting_ = false;
};

}  // namespace novastra::gui
