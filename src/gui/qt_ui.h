#pragma once
// The desktop's UserInterface: message boxes, the busy pointer, the progress
// window and the Data Window.
#include <QPointer>
#include <atomic>
#include <functional>

#include "app/application.h"
#include "app/ui.h"
#include "gui/progress_window.h"

class QWidget;

namespace novastra {
class Application;
}

namespace novastra::gui {

class Dialogs;

class QtUi : public UserInterface {
 public:
  // `dialogs` opens the message boxes and the export's dialogs.
  explicit QtUi(Dialogs& dialogs) : dialogs_(dialogs) {}
  ~QtUi() override;

  void ShowMessage(MessageIcon icon, std::string_view title, std::string_view text) override;
  void SetBusy(bool busy) override;
  void OpenProgress() override;
  void UpdateProgress(int done, int total) override;
  void CloseProgress() override;
  bool RunCancelled() const override { return cancel_.load(); }
  bool DataWindowMinimized() const override;
  void SetDataText(const std::string& text) override;
  void ShowDataWindow(std::string_view caption) override;
  void ScrollDataTo(int line) override;
  bool AskCalendarChoices(const CalendarExportQuestion& question, CalendarFilter& choices) override;
  bool AskCalendarFileName(const CalendarSaveQuestion& question,
                           std::filesystem::path& file) override;

  // Parent of the message boxes and the progress window.
  QWidget* parent = nullptr;
  // The window the calendar export's dialogs open over (the Data Window it
  // was asked from); `parent` when unset or null.
  std::function<QWidget*()> exportOwner;
  // The Data Window's side: fills its text box (loading it when needed), shows
  // it with its caption, reports whether it is minimised.
  std::function<void(const std::string& text)> onSetData;
  std::function<void(std::string_view caption)> onShowData;
  std::function<void(int line)> onScrollData;
  std::function<bool()> isDataMinimized;
  // Called when a run opens its progress window (the input check has passed).
  std::function<void()> onRunStarted;

  // Called on the user-interface thread after each progress step is drawn.
  std::function<void(int done, int total)> onProgress;

  // Runs `run` (a whole run of the core) on a worker thread while the event
  // loop keeps the windows painted; every call the run makes on this
  // interface is carried over to the user-interface thread. The progress
  // window is modal while it is open, and its Cancel button or Escape stops
  // the run. Returns the run's result; a second run asked for while one is
  // going is refused (false).
  bool RunOffUiThread(const std::function<bool()>& run);
  // The user asks the run to stop (Cancel, Escape).
  void Cancel() { cancel_ = true; }
  bool running() const { return running_; }

  ProgressWindow* progress() const { return progress_; }
  int busyDepth() const { return busyDepth_; }

 private:
  QWidget* ExportOwner() const;

  Dialogs& dialogs_;
  QPointer<ProgressWindow> progress_;
  int busyDepth_ = 0;
  std::atomic<bool> cancel_{false};
  bool running_ = false;
};

// A run command of the application (CalculateEphemeris, MoreForward, ...)
// started from a window: off the user-interface thread when the application
// talks to the desktop's interface, in place otherwise.
RunOutcome RunCommand(Application& app, RunOutcome (Application::*command)());

}  // namespace novastra::gui
