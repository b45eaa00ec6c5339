// Where the keyboard goes and where windows open: after More and after the
// calendar export the next F-key reaches the Data Window; on a small screen
// every window opens inside the available area; dialogs open centred on the
// window they belong to.
#include <QPrintDialog>
#include <QStatusBar>
#include <QTest>

#include "gui/calendar_export_dialog.h"
#include "gui/graph_window.h"
#include "gui/progress_window.h"
#include "gui/window_places.h"
#include "gui_support.h"

namespace novastra::gui::test {
namespace {

// Lets queued activation and focus events arrive.
void Settle() {
  for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

// What a window manager does when a dialog closes: it activates the window
// the dialog stood over (the progress window's is the main window).
class ActivateOwnerOnHide : public QObject {
 public:
  explicit ActivateOwnerOnHide(QWidget* owner) : owner_(owner) {}
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Hide) owner_->activateWindow();
    return false;
  }

 private:
  QWidget* owner_;
};

}  // namespace

// After each command the Data Window is the active window and its text box
// holds the focus, so the next F2 (or F3) pages on without a click.
TEST_F(January2009, TheDataWindowKeepsTheKeyboardAfterMoreAndTheCalendarExport) {
  Settle();
  ASSERT_NE(controller->ui().progress(), nullptr);
  ActivateOwnerOnHide manager(controller->mainWindow());
  controller->ui().progress()->installEventFilter(&manager);
  const struct {
    const char* what;
    std::function<void()> command;
  } cases[] = {
      {"More Forward (F2)", [&] { d->mnuMoreZForward->trigger(); }},
      {"More Backward (F3)", [&] { d->mnuMoreBackward->trigger(); }},
      {"calendar export", [&] {
         ASSERT_NE(d = RunMonth("1", "1", "2009", false), nullptr);
         Settle();
         controller->ActivateMain();  // the user was last in the main window
         Settle();
         dialogAnswer = [](QDialog&) { return true; };
         saveAnswer = QString::fromStdString((folder / "jan.ics").string());
         d->mnuFileExportCalendar->trigger();
         dialogAnswer = nullptr;
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    c.command();
    Settle();
    EXPECT_EQ(QApplication::activeWindow(), d);
    EXPECT_EQ(QApplication::focusWidget(), d->Text1);
  }
  // And the next F-key is the Data Window's: F2 runs the next month.
  const double start = controller->app()->cal().StartJD;
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_F2);
  Settle();
  EXPECT_GT(controller->app()->cal().StartJD, start);
}

}  // namespace novastra::gui::test
