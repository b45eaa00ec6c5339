#pragma once
// The desktop's UserInterface: message boxes, the busy pointer, the progress
// window and the Data Window.
#include <QPointer>
#include <functional>

#include "gui/progress_window.h"
#include "app/ui.h"

class QWidget;

namespace novastra::gui {

class QtUi : public UserInterface {
 public:
  QtUi() = default;
  ~QtUi() override;

  void ShowMessage(MessageIcon icon, std::string_view title, std::string_view text) override;
  void SetBusy(bool busy) override;
  void OpenProgress() override;
  void UpdateProgress(int done, int total) override;
  void CloseProgress() override;
  bool DataWindowMinimized() const override;
  void SetDataText(const std::string& text) override;
  void ShowDataWindow(std::string_view caption) override;

  // Parent of the message boxes and the progress window.
  QWidget* parent = nullptr;
  // The Data Window's side: fills its text box (loading it when needed), shows
  // it with its caption, reports whether it is minimised.
  std::function<void(const std::string& text)> onSetData;
  std::function<void(std::string_view caption)> onShowData;
  std::function<bool()> isDataMinimized;
  // Called when a run opens its progress window (the input check has passed).
  std::function<void()> onRunStarted;

  ProgressWindow* progress() const { return progress_; }
  int busyDepth() const { return busyDepth_; }

 private:
  QPointer<ProgressWindow> progress_;
  int busyDepth_ = 0;
};

}  // namespace novastra::gui
