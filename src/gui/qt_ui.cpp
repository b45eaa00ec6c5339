#include "gui/qt_ui.h"

#include <QApplication>
#include <QCursor>

#include "gui/message_box.h"

namespace novastra::gui {

QtUi::~QtUi() {
  while (busyDepth_ > 0) SetBusy(false);
  delete progress_;
}

void QtUi::ShowMessage(MessageIcon icon, std::string_view title, std::string_view text) {
  ShowMessageBox(parent, icon, FromCodes(title), FromCodes(text));
}

void QtUi::SetBusy(bool busy) {
  if (busy) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ++busyDepth_;
  } else if (busyDepth_ > 0) {
    QApplication::restoreOverrideCursor();
    --busyDepth_;
  }
}

void QtUi::OpenProgress() {
  if (onRunStarted) onRunStarted();
  if (!progress_) progress_ = new ProgressWindow(parent);
  progress_->show();
  progress_->picture()->Clear();
  progress_->repaint();
}

void QtUi::UpdateProgress(int done, int total) {
  if (progress_) progress_->picture()->Draw(done, total);
}

void QtUi::CloseProgress() {
  if (progress_) progress_->hide();
}

bool QtUi::DataWindowMinimized() const { return isDataMinimized && isDataMinimized(); }

void QtUi::SetDataText(const std::string& text) {
  if (onSetData) onSetData(text);
}

void QtUi::ShowDataWindow(std::string_view caption) {
  if (onShowData) onShowData(caption);
}

}  // namespace novastra::gui
