#pragma once
// Start-up, the windows and shutdown of the desktop program.
#include <QObject>
#include <QPointer>
#include <QPrinter>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include "gui/data_window.h"
#include "gui/graph_window.h"
#include "gui/message_box.h"
#include "gui/natal_window.h"
#include "gui/options_window.h"
#include "gui/print_window.h"
#include "gui/qt_ui.h"

namespace novastra {
class Application;
class InstanceLock;
}  // namespace novastra

namespace novastra::gui {

class InputWindow;
class MainWindow;

class AppController : public QObject {
  Q_OBJECT
 public:
  struct StartOptions {
    std::optional<std::filesystem::path> home;  // --home DIR
    std::filesystem::path programDir;
    std::filesystem::path suppliedDir;
  };
  enum class StartResult { Started, AlreadyRunning, Failed };

  // `dialogs` opens the message boxes and dialogs (Qt's own when null); it
  // must outlive the controller.
  explicit AppController(Dialogs* dialogs = nullptr);
  ~AppController() override;

  // The start-up steps in order; the program ends unless it returns Started.
  StartResult Start(const StartOptions& options);

  // File, Exit and the close box: writes the settings, closes every window
  // and calls onExit (the event loop's end). Runs once.
  void Exit();
  std::function<void()> onExit;

  // Main window commands.
  void OpenInput();
  void OpenOptions();
  void PrinterSetup();
  void ShowAbout();
  void ActivateMain();
  // The graphic ephemeris window over the last run's dates.
  void OpenGraph();
  // The natal chart window; its chart's points become the graph's fixed points.
  void OpenNatal();

  // Data Window commands of the saving and printing group.
  void Save();
  void SaveAs();
  void PrintPage();
  void PrintData();

  // Asks once, when the Data Window holds results not saved since their run,
  // whether to leave anyway; true when the program may end.
  bool ConfirmLeave();
  // True when the buffer holds a run's results not saved since.
  bool HasUnsavedResults() const;

  // The printer kept while the program runs (Printer Setup's choice).
  QPrinter* printer() const { return printer_.get(); }
  // Printer Setup's dialog: the print dialog on the kept printer; tests
  // answer it here instead (true = accepted).
  std::function<bool(QPrinter& printer)> askPrinter;

  Application* app() const { return app_.get(); }
  QtUi& ui() { return ui_; }
  MainWindow* mainWindow() const { return main_.get(); }
  InputWindow* inputWindow() const { return input_.get(); }
  DataWindow* dataWindow() const { return data_; }
  OptionsWindow* optionsWindow() const { return options_; }
  PrintWindow* printWindow() const { return print_; }
  GraphWindow* graphWindow() const { return graph_; }
  NatalWindow* natalWindow() const { return natal_; }
  QString fontFamily() const { return fontFamily_; }
  int fontId() const { return fontId_; }
  bool exited() const { return exited_; }

 private:
  // The Data Window loaded (when needed) and its text box filled, not shown.
  void SetDataText(const std::string& text);
  // The Data Window shown with its caption.
  void ShowData(std::string_view caption);
  void OpenPrintWindow();
  // After a save: the buffer counts as saved, and the Data Window says where.
  void SavedTo(const std::filesystem::path& file);

  Dialogs ownDialogs_;
  Dialogs& dialogs_;
  QtUi ui_{dialogs_};
  std::unique_ptr<InstanceLock> lock_;
  std::unique_ptr<Application> app_;
  std::unique_ptr<MainWindow> main_;
  std::unique_ptr<InputWindow> input_;
  QPointer<DataWindow> data_;
  QPointer<OptionsWindow> options_;
  QPointer<PrintWindow> print_;
  QPointer<GraphWindow> graph_;
  QPointer<NatalWindow> natal_;
  QString fontFamily_;
  int fontId_ = -1;
  int boldFontId_ = -1;
  bool exited_ = false;
  bool leaveConfirmed_ = false;
  std::unique_ptr<QPrinter> printer_;
  bool printerChosen_ = false;
  bool orientationChosen_ = false;  // in Printer Setup, for the rest of the session
  int savedAllCount_ = -1;          // AllCount when the buffer was last saved
};

}  // namespace novastra::gui
