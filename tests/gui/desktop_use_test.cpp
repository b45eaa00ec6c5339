// The desktop program as a user meets it: columns that read straight down
// under their titles (regular and bold), window places fitted to the screens,
// a run off the user-interface thread that Cancel stops, and the smaller
// conveniences.
#include <QStatusBar>

#include "gui/progress_window.h"
#include "gui/window_places.h"
#include "gui_support.h"

namespace novastra::gui::test {

namespace {

// x in pixels of character `column` of text line `line` as the text box lays it out.
int XOf(QPlainTextEdit* box, int line, int column) {
  QTextCursor c(box->document()->findBlockByNumber(line));
  c.setPosition(c.block().position() + column);
  return box->cursorRect(c).x();
}

int LineStarting(QPlainTextEdit* box, const QString& start, int from = 0) {
  for (QTextBlock b = box->document()->findBlockByNumber(from); b.isValid(); b = b.next())
    if (b.text().startsWith(start)) return b.blockNumber();
  return -1;
}

}  // namespace

TEST_F(January2009, EveryValueSitsUnderItsTitleInBothFaces) {
  // Title words of line 4 (geocentric) start at these characters; a degree
  // group of body k is 9 characters from 23 + 9(k - 1), its sign glyph two
  // cells wide, so that it fills the 10-cell pitch of the titles.
  const int titles[11] = {27, 36, 45, 56, 66, 75, 85, 95, 105, 115, 124};
  QPlainTextEdit* box = d->Text1;
  box->resize(2400, 800);
  for (bool bold : {false, true}) {
    if (bold) d->FontsBold();
    ASSERT_EQ(box->font().bold(), bold);
    const int head = LineStarting(box, "  Long.");
    const int units = head + 2;
    ASSERT_GE(head, 0);
    int rows = 0;
    for (QTextBlock b = box->document()->findBlockByNumber(head + 3); b.isValid(); b = b.next()) {
      if (b.text().size() < 100) continue;  // Sunday's blank line, the end
      ++rows;
      for (int k = 0; k < 11; ++k) {
        const int group = 23 + 9 * k;
        const int first = XOf(box, b.blockNumber(), group + 1),
                  last = XOf(box, b.blockNumber(), group + 8);
        const int title = XOf(box, head, titles[k]);
        // The title word begins over the value's digits, in every row.
        EXPECT_LE(first, title) << "body " << k + 1 << " bold " << bold << " "
                                << b.text().toStdString();
        EXPECT_LT(title, last) << "body " << k + 1 << " bold " << bold;
        // Down the column the values start at one x.
        EXPECT_EQ(first, XOf(box, head + 3, group + 1)) << "body " << k + 1 << " row " << rows;
        // The degree and minute marks of the units line fall inside the value.
        const int degree = XOf(box, units, 25 + 10 * k), minute = XOf(box, units, 29 + 10 * k);
        EXPECT_TRUE(first <= degree && degree < minute && minute < last) << "body " << k + 1;
      }
    }
    EXPECT_EQ(rows, 31) << bold;
  }
}

TEST(WindowPlaces, FitToScreensKeepsEveryWindowOnOneScreen) {
  const QList<QRect> two = {QRect(0, 0, 1600, 1000), QRect(1600, 0, 1280, 1024)};
  struct Case {
    QRect wanted, placed;
  } cases[] = {
      {{100, 100, 640, 480}, {100, 100, 640, 480}},      // on screen: unchanged
      {{-5000, -300, 640, 480}, {0, 0, 640, 480}},       // far left and above
      {{30000, 30000, 640, 480}, {960, 520, 640, 480}},  // far off: first screen, its far corner
      {{1500, 100, 640, 480}, {1600, 100, 640, 480}},    // overlaps the second more
      {{10, 10, 9000, 9000}, {0, 0, 1600, 1000}},        // larger than the screen
      {{1700, 900, 2000, 300}, {1600, 724, 1280, 300}},  // wider than the second, low
  };
  for (const auto& c : cases)
    EXPECT_EQ(FitToScreens(c.wanted, two), c.placed) << c.wanted.x() << "," << c.wanted.y();
}

TEST_F(January2009, TheBarMovesDuringARunAndCancelLeavesEverythingAsItWas) {
  const std::vector<std::string> all = Buffer().AllLines(), view = Buffer().ViewLines();
  const QString shown = DataText();
  std::vector<int> bars;
  QtUi& ui = controller->ui();
  auto redWidth = [&] {  // of the bar drawn so far
    const QImage& img = ui.progress()->picture()->image();
    int w = 0;
    while (w < img.width() && QColor(img.pixel(w, 0)) == QColor(255, 0, 0)) ++w;
    return w;
  };
  ui.onProgress = [&](int done, int) {
    bars.push_back(redWidth());
    EXPECT_TRUE(ui.progress()->isVisible());
    EXPECT_TRUE(ui.progress()->isModal());
    if (done == 6) ui.progress()->cancelButton()->click();
  };
  d->mnuMoreZForward->trigger();
  ui.onProgress = nullptr;
  ASSERT_GE(bars.size(), 6u);
  EXPECT_LT(bars.size(), 10u);  // stopped at the step after Cancel
  EXPECT_LT(bars[1], bars[5]);  // the bar grew while the run went on
  EXPECT_FALSE(ui.progress()->isVisible());
  EXPECT_EQ(Buffer().AllLines(), all);
  EXPECT_EQ(Buffer().ViewLines(), view);
  EXPECT_EQ(DataText(), shown);
  EXPECT_EQ(controller->inputWindow()->txtMonth->text(), "1");  // the start date did not move
  EXPECT_EQ(ui.busyDepth(), 0);
  // Escape in the progress window stops a run the same way.
  ui.onProgress = [&](int done, int) {
    if (done != 2) return;
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(ui.progress(), &esc);
  };
  d->mnuMoreZForward->trigger();
  ui.onProgress = nullptr;
  EXPECT_EQ(Buffer().AllLines(), all);
  // And a run left alone still completes.
  d->mnuMoreZForward->trigger();
  EXPECT_TRUE(DataText().contains("Julian Day = 2454863.5"));
}

TEST_F(GuiTest, MoreAndViewWaitForARun) {
  AppController& c = Start();
  c.app()->ShowDocument("INPUTD.HLP");
  DataWindow* d = c.dataWindow();
  ASSERT_NE(d, nullptr);
  for (QAction* a :
       {d->mnuMoreZForward, d->mnuMoreBackward, d->mnuViewLongitude, d->mnuViewHelioLatitude})
    EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();
  const QString month = c.inputWindow()->txtMonth->text();
  d->mnuMoreZForward->trigger();  // disabled: nothing happens
  EXPECT_EQ(c.inputWindow()->txtMonth->text(), month);
  ASSERT_EQ(RunMonth("1", "1", "2009", true), d);  // the same window, now with tables
  for (QAction* a :
       {d->mnuMoreZForward, d->mnuMoreBackward, d->mnuViewLongitude, d->mnuViewHelioLatitude})
    EXPECT_TRUE(a->isEnabled()) << a->objectName().toStdString();
}

TEST_F(GuiTest, EnterRunsTheLastCalculationAndTheDaysArrowGoesUp) {
  AppController& c = Start();
  InputWindow* in = c.inputWindow();
  Retype(in->txtMonth, "1"), Retype(in->txtDay, "1"), Retype(in->txtYear, "2009"),
      Retype(in->txtDays, "3");
  in->chkFullMonth->setChecked(false);
  auto enter = [&] {
    in->txtDays->setFocus();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r");
    QApplication::sendEvent(in->txtDays, &press);
  };
  enter();  // nothing run yet: the ephemeris
  EXPECT_EQ(c.app()->runKind(), 1);
  EXPECT_TRUE(DataText().contains("Ephemeris - Thursday"));
  in->show();
  in->cmdAspectarian->click();
  in->show();
  enter();
  EXPECT_EQ(c.app()->runKind(), 0);
  EXPECT_TRUE(DataText().contains("Aspectarian - Thursday"));

  // The days scroll bar: the Up key and the upper arrow raise the number.
  Retype(in->txtDays, "30");
  QKeyEvent up(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier);
  QApplication::sendEvent(in->VSDays, &up);
  EXPECT_EQ(in->txtDays->text(), "31");
  in->VSDays->triggerAction(QAbstractSlider::SliderSingleStepSub);  // the upper arrow's action
  EXPECT_EQ(in->txtDays->text(), "32");
  in->VSDays->triggerAction(QAbstractSlider::SliderPageStepAdd);  // a click below the handle
  EXPECT_EQ(in->txtDays->text(), "22");
  EXPECT_TRUE(in->VSDays->invertedAppearance());  // the larger numbers at the top
}

TEST_F(January2009, SavingSaysWhereAndLeavingWithUnsavedResultsAsksOnce) {
  const QString question =
      "The Data Window holds results that have not been saved. Leave NOVASTRA anyway?";
  EXPECT_TRUE(controller->HasUnsavedResults());
  saveAnswer = QString::fromStdString((folder / "jan.doc").string());
  d->mnuFileSaveAs->trigger();
  EXPECT_EQ(d->statusBar()->currentMessage(), "Saved to " + saveAnswer);
  EXPECT_FALSE(controller->HasUnsavedResults());
  d->mnuMoreZForward->trigger();
  d->mnuFileSave->trigger();
  EXPECT_EQ(d->statusBar()->currentMessage(), "Saved to " + saveAnswer);
  d->mnuMoreZForward->trigger();
  EXPECT_TRUE(controller->HasUnsavedResults());
  controller->mainWindow()->close();  // the close box asks, then File, Exit does not ask again
  EXPECT_EQ(Count(question), 1);
  EXPECT_TRUE(controller->exited());
}

}  // namespace novastra::gui::test
