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

// Writes a settings file placing the main window and the Data Window (top,
// left, height, width in twips, as NOVASTRA.INI holds them).
void WritePlaces(const fs::path& folder, const std::array<const char*, 4>& main,
                 const std::array<const char*, 4>& data) {
  std::ofstream ini(folder / "NOVASTRA.INI", std::ios::binary);
  ini << "[NOVASTRA] - Do NOT change the order of these variables.\r\n"
         "FontSize= 10\r\nFontBold= 0\r\nFontItalic= 0\r\n";
  const char* keys[] = {"NOVASTRATop=", "NOVASTRALeft=", "NOVASTRAHeight=", "NOVASTRAWidth=",
                        "DataTop=",     "DataLeft=",     "DataHeight=",     "DataWidth="};
  for (int i = 0; i < 8; ++i) ini << keys[i] << (i < 4 ? main[i] : data[i - 4]) << "\r\n";
}

std::string Describe(const QRect& r) {
  return std::to_string(r.x()) + "," + std::to_string(r.y()) + " " + std::to_string(r.width()) +
         "x" + std::to_string(r.height());
}

// A widget's rectangle on the screen.
QRect OnScreen(const QWidget* w) { return {w->mapToGlobal(QPoint(0, 0)), w->size()}; }

// A 1024x700 screen with a 28-pixel panel along its top, for one test.
class SmallScreen : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    SetAvailableScreenAreas({area});
  }
  void TearDown() override {
    GuiTest::TearDown();
    SetAvailableScreenAreas({});
  }
  const QRect area{0, 28, 1024, 672};
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

namespace novastra::gui::test {
namespace {

void ExpectInside(const QRect& area, std::initializer_list<QWidget*> windows) {
  for (QWidget* w : windows)
    EXPECT_TRUE(area.contains(w->frameGeometry()))
        << w->objectName().toStdString() << " " << Describe(w->frameGeometry());
}

// The chart's plot ends above the bottom of its view, with room for the day,
// month and year rows, and the view lies inside the area.
void ExpectAxesInside(const QRect& area, const ChartView* view) {
  EXPECT_TRUE(area.contains(OnScreen(view))) << Describe(OnScreen(view));
  const auto& plot = view->model().plot;
  EXPECT_GT(plot.width, 0);
  EXPECT_LE(plot.top + plot.height + 30, view->height());
}

}  // namespace

// Every window opens inside the available area of a 1024x700 screen, for
// the settings' own places and for saved places as large as the screen or
// beyond it; the Data Window's scroll bar and the chart's date axis are in
// sight.
TEST_F(SmallScreen, EveryWindowOpensInsideTheAvailableArea) {
  const struct {
    const char* where;
    std::array<const char*, 4> main, data;  // twips; main[0] == nullptr: no file
  } cases[] = {
      {"no settings file", {nullptr, nullptr, nullptr, nullptr}, {}},
      {"saved at the whole screen", {" 0", " 0", " 10500", " 15360"},
       {" 0", " 0", " 10500", " 15360"}},
      {"saved larger and lower", {" 9000", " 9000", " 675", " 20000"},
       {" 6000", " 3000", " 14000", " 24000"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.where);
    fs::remove(folder / "NOVASTRA.INI");
    if (c.main[0]) WritePlaces(folder, c.main, c.data);
    AppController& app = Start();
    QApplication::processEvents();
    DataWindow* d = RunMonth("1", "1", "2009", true);
    ASSERT_NE(d, nullptr);
    app.mainWindow()->mnuGraph->trigger();
    app.OpenInput();  // the Input window again, over the other windows
    RunMonth("1", "1", "2009", true);
    d = app.dataWindow();
    app.mainWindow()->mnuGraph->trigger();
    app.OpenOptions();
    QApplication::processEvents();
    ASSERT_NE(d, nullptr);
    ASSERT_NE(app.graphWindow(), nullptr);
    ASSERT_NE(app.optionsWindow(), nullptr);
    ExpectInside(area, {app.mainWindow(), app.inputWindow(), d, app.graphWindow(),
                        app.optionsWindow()});
    EXPECT_TRUE(area.contains(OnScreen(d->Text1->verticalScrollBar())))
        << Describe(OnScreen(d->Text1->verticalScrollBar()));
    ExpectAxesInside(area, app.graphWindow()->view);
    Screenshot(d, QString("small-screen-data-%1").arg(&c - cases));
    Screenshot(app.graphWindow(), QString("small-screen-graph-%1").arg(&c - cases));
    controller.reset();
  }
}

}  // namespace novastra::gui::test

namespace novastra::gui::test {
namespace {

struct Opened {
  QString kind;  // the dialog's class
  QRect frame;
  QRect owner;  // the frame of the window it should be centred on
};

// The program's dialogs as Qt shows them, each closed as soon as it is up:
// the calendar's choices accepted, every other one cancelled (No).
class RealDialogs : public Dialogs {
 public:
  bool Exec(QDialog& dialog) override { return Dialogs::Exec(dialog); }
};

// Records the modal window that is up and closes it.
class DialogCloser : public QObject {
 public:
  std::vector<Opened> opened;
  QWidget* owner = nullptr;
  void timerEvent(QTimerEvent*) override {
    QWidget* modal = QApplication::activeModalWidget();
    auto* dialog = qobject_cast<QDialog*>(modal);
    if (!dialog || dialog->objectName() == "StatusDlg" || !dialog->isVisible()) return;
    opened.push_back({dialog->metaObject()->className(), dialog->frameGeometry(),
                      owner ? owner->frameGeometry() : QRect()});
    dialog->done(qobject_cast<CalendarExportDialog*>(dialog) ? QDialog::Accepted
                                                              : QDialog::Rejected);
  }
};

// Each place of the progress window leaves the main window in sight.
void ExpectClearOf(const std::vector<QRect>& places, const QRect& main) {
  ASSERT_FALSE(places.empty());
  for (const QRect& p : places)
    EXPECT_FALSE(p.intersects(main)) << Describe(p) << " over " << Describe(main);
}

void ExpectCentred(const std::vector<Opened>& opened) {
  for (const Opened& o : opened) {
    SCOPED_TRACE(o.kind.toStdString());
    EXPECT_LE((o.frame.center() - o.owner.center()).manhattanLength(), 4)
        << Describe(o.frame) << " on " << Describe(o.owner);
  }
}

}  // namespace

// The buffer warning, the quit question (from File, Exit and from the close
// box), the calendar's dialogs and the options editor open centred on the
// window they belong to; the progress window leaves the main window's menu
// in sight.
TEST_F(GuiTest, DialogsOpenCentredOnTheirWindow) {
  SetAvailableScreenAreas({QRect(0, 0, 1920, 1080)});
  RealDialogs real;
  controller = std::make_unique<AppController>(&real);
  ASSERT_EQ(controller->Start(Options()), AppController::StartResult::Started);
  MainWindow* main = controller->mainWindow();
  main->move(0, 0);  // the settings' own place: the screen's top left
  QApplication::processEvents();
  std::vector<QRect> progress;
  controller->ui().onProgress = [&](int, int) {
    if (controller->ui().progress()) progress.push_back(controller->ui().progress()->frameGeometry());
  };
  DataWindow* d = RunMonth("1", "1", "2009", false);
  ASSERT_NE(d, nullptr);
  d->setGeometry(500, 300, 900, 600);
  QApplication::processEvents();
  ExpectClearOf(progress, main->frameGeometry());

  DialogCloser closer;
  closer.startTimer(5);
  const struct {
    const char* what;
    QWidget* owner;
    std::function<void()> open;
    int dialogs;
  } cases[] = {
      {"buffer warning", d, [&] { d->mnuClearBuffer->trigger(); }, 1},
      {"quit question from File, Exit", d, [&] {
         RunMonth("1", "1", "2009", false);
         controller->ActivateMain();  // F12 pressed in the main window
         QApplication::processEvents();
         main->mnuFileExit->trigger();
       }, 1},
      {"quit question from the close box", d, [&] { main->close(); }, 1},
      {"calendar choices and save dialog", d, [&] { d->mnuFileExportCalendar->trigger(); }, 2},
      {"options editor", main, [&] {
         main->move(700, 100);
         QApplication::processEvents();
         main->mnuOptions->trigger();
       }, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    closer.opened.clear();
    closer.owner = c.owner;
    d->setGeometry(500, 300, 900, 600);
    QApplication::processEvents();
    c.open();
    QApplication::processEvents();
    ASSERT_EQ(closer.opened.size(), size_t(c.dialogs));
    ExpectCentred(closer.opened);
  }
  ASSERT_FALSE(controller->exited());
  // The options editor, a window of its own, over the middle of the main
  // window (as near as the screen allows).
  OptionsWindow* options = controller->optionsWindow();
  ASSERT_NE(options, nullptr);
  EXPECT_NEAR(options->frameGeometry().center().x(), main->frameGeometry().center().x(), 4);
  EXPECT_TRUE(QRect(0, 0, 1920, 1080).contains(options->frameGeometry()));
  options->close();
  d->setWindowModified(false);
  controller->app()->buffer().ClearAll();
  SetAvailableScreenAreas({});
}

}  // namespace novastra::gui::test

namespace novastra::gui::test {

// The calendar export says where it saved as Save does, and the place stays
// in the status line after the pointer has passed over the menus (their
// empty status tips clear the message).
TEST_F(January2009, SaveAndTheCalendarExportSayWhereTheySaved) {
  const struct {
    const char* what;
    const char* file;
    bool aspectarian;
    QString prefix;
  } cases[] = {
      {"Save As", "jan.doc", true, "Saved to "},
      {"calendar export", "jan.ics", false, "Calendar saved to "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_NE(d = RunMonth("1", "1", "2009", c.aspectarian), nullptr);
    saveAnswer = QString::fromStdString((folder / c.file).string());
    dialogAnswer = [](QDialog&) { return true; };
    (c.aspectarian ? d->mnuFileSaveAs : d->mnuFileExportCalendar)->trigger();
    dialogAnswer = nullptr;
    ASSERT_TRUE(fs::exists(folder / c.file));
    QStatusTipEvent tip{QString()};
    QApplication::sendEvent(d, &tip);
    ASSERT_NE(d->lblSaved, nullptr);
    EXPECT_TRUE(d->lblSaved->isVisible());
    EXPECT_EQ(d->lblSaved->text(), c.prefix + saveAnswer);
  }
}

// Printer Setup chooses a printer: its confirm button does not say "Print".
TEST_F(GuiTest, PrinterSetupConfirmsWithOk) {
  Start();
  QString confirm;
  dialogAnswer = [&](QDialog& dialog) {
    dialog.show();  // as shown, after the dialog has set itself up
    QApplication::processEvents();
    if (auto* box = dialog.findChild<QDialogButtonBox*>())
      confirm = box->button(QDialogButtonBox::Ok)->text();
    Screenshot(&dialog, "printer-setup");
    dialog.hide();
    return false;
  };
  controller->mainWindow()->mnuPrSetup->trigger();
  dialogAnswer = nullptr;
  EXPECT_EQ(confirm, "OK");
}

}  // namespace novastra::gui::test
