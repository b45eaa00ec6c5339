#include "gui/qt_ui.h"

#include <QApplication>
#include <QCursor>
#include <QEventLoop>
#include <QThread>
#include <thread>

#include "app/application.h"
#include "gui/calendar_export_dialog.h"
#include "gui/message_box.h"
#include "gui/window_places.h"

namespace novastra::gui {

namespace {

// Calls f on the user-interface thread and waits for it; called from that
// thread it simply runs.
template <class F>
void OnUiThread(F&& f) {
  if (!qApp || QThread::currentThread() == qApp->thread()) {
    f();
    return;
  }
  QMetaObject::invokeMethod(qApp, std::forward<F>(f), Qt::BlockingQueuedConnection);
}

}  // namespace

QtUi::~QtUi() {
  while (busyDepth_ > 0) SetBusy(false);
  delete progress_;
}

void QtUi::ShowMessage(MessageIcon icon, std::string_view title, std::string_view text) {
  const std::string t(title), x(text);
  // A run's messages go over the window the user is in (the Input window
  // for a date refused, the Data Window for More).
  OnUiThread([&] {
    QWidget* active = QApplication::activeWindow();
    dialogs_.Message(active && active->isVisible() ? active : parent, icon, FromCodes(t),
                     FromCodes(x));
  });
}

void QtUi::SetBusy(bool busy) {
  OnUiThread([&] {
    if (busy) {
      QApplication::setOverrideCursor(Qt::WaitCursor);
      ++busyDepth_;
    } else if (busyDepth_ > 0) {
      QApplication::restoreOverrideCursor();
      --busyDepth_;
    }
  });
}

void QtUi::OpenProgress() {
  OnUiThread([&] {
    if (onRunStarted) onRunStarted();
    if (!progress_) {
      progress_ = new ProgressWindow(parent);
      QObject::connect(progress_, &ProgressWindow::cancelRequested, progress_,
                       [this] { Cancel(); });
    }
    progress_->Reset();
    // Over the window the run was started from, but clear of the main
    // window's menu bar.
    QWidget* from = QApplication::activeWindow();
    if (from && from != progress_ && from->isVisible()) CentreOn(progress_, from);
    if (parent && progress_->frameGeometry().intersects(parent->frameGeometry()))
      PlaceClearOf(progress_, parent);
    progress_->setProperty("placedByCaller", true);
    progress_->show();
    // On top of the window the run was started from (More starts it from the
    // Data Window), so its Cancel button can be seen and clicked.
    progress_->raise();
    progress_->activateWindow();
    progress_->picture()->Clear();
    progress_->repaint();
  });
}

void QtUi::UpdateProgress(int done, int total) {
  // Waits for the bar to be drawn, so the bar follows the run step by step
  // and a Cancel pressed now is seen at the run's next step.
  OnUiThread([&] {
    if (progress_) progress_->picture()->Draw(done, total);
    if (onProgress) onProgress(done, total);
  });
}

void QtUi::CloseProgress() {
  OnUiThread([&] {
    if (progress_) progress_->hide();
  });
}

QWidget* QtUi::ExportOwner() const {
  QWidget* owner = exportOwner ? exportOwner() : nullptr;
  return owner ? owner : MessageOwner(parent);
}

bool QtUi::AskCalendarChoices(const CalendarExportQuestion& question, CalendarFilter& choices) {
  bool accepted = false;
  OnUiThread(
      [&] { accepted = AskCalendarExportChoices(ExportOwner(), question, choices, dialogs_); });
  return accepted;
}

bool QtUi::AskCalendarFileName(const CalendarSaveQuestion& question, std::filesystem::path& file) {
  QString chosen;
  OnUiThread([&] {
    chosen = dialogs_.SaveFileName(
        ExportOwner(), QString::fromStdString(question.folder.string()),
        QString::fromStdString(question.fileName), QString::fromStdString(question.filter),
        QString::fromStdString(question.defaultExtension));
  });
  file = chosen.toStdString();
  return !chosen.isEmpty();
}

bool QtUi::DataWindowMinimized() const {
  bool minimized = false;
  OnUiThread([&] { minimized = isDataMinimized && isDataMinimized(); });
  return minimized;
}

void QtUi::SetDataText(const std::string& text) {
  OnUiThread([&] {
    if (onSetData) onSetData(text);
  });
}

void QtUi::ScrollDataTo(int line) {
  OnUiThread([&] {
    if (onScrollData) onScrollData(line);
  });
}

void QtUi::ShowDataWindow(std::string_view caption) {
  OnUiThread([&] {
    if (onShowData) onShowData(caption);
  });
}

bool QtUi::RunOffUiThread(const std::function<bool()>& run) {
  if (running_) return false;
  running_ = true;
  cancel_ = false;
  bool result = false;
  QEventLoop loop;
  std::thread worker([&] {
    result = run();
    QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
  });
  loop.exec();
  worker.join();
  running_ = false;
  return result;
}

RunOutcome RunCommand(Application& app, RunOutcome (Application::*command)()) {
  if (auto* qt = dynamic_cast<QtUi*>(&app.ui())) {
    // A run asked for while another is going is refused, as if cancelled.
    RunOutcome outcome = RunOutcome::Cancelled;
    qt->RunOffUiThread([&] {
      outcome = (app.*command)();
      return outcome == RunOutcome::Done;
    });
    return outcome;
  }
  return (app.*command)();
}

}  // namespace novastra::gui
