// A user's road through the windows: type a date, run, read the Data Window,
// switch tables, page forward, run the aspectarian, clear, save.
#include <QAction>
#include <QScrollBar>

#include "gui/options_window.h"
#include "gui/print_window.h"
#include "gui_support.h"

namespace novastra::gui::test {

TEST_F(GuiTest, EphemerisRunFromTheInputWindowFillsTheDataWindow) {
  AppController& c = Start();
  RunMonth("1", "1", "2009", true);
  ASSERT_NE(c.dataWindow(), nullptr);
  EXPECT_TRUE(c.dataWindow()->isVisible());
  EXPECT_FALSE(c.inputWindow()->isVisible());
  EXPECT_EQ(c.dataWindow()->windowTitle(), "NOVASTRA - Data");
  const QString text = DataText();
  // January 2009 at midnight: day one is JD 2454832.5, and the last row is 31 Jan.
  EXPECT_TRUE(text.contains("Julian Day = 2454832.5")) << text.left(400).toStdString();
  EXPECT_TRUE(text.contains("Ephemeris - Thursday, 01 Jan 2009")) << text.left(400).toStdString();
  EXPECT_TRUE(text.contains("Long.")) << text.left(400).toStdString();
  // The symbol codes reach the screen as their glyph characters.
  EXPECT_TRUE(text.contains(QChar(0x2651)) || text.contains(QChar(0x2652)));  // Capricorn or Aquarius
  EXPECT_TRUE(messages.empty());
  Screenshot(c.dataWindow(), "data-window");

  // The View menu switches among the six tables of the run.
  EXPECT_FALSE(c.dataWindow()->mnuRx_Times->isEnabled());
  struct Case {
    QAction* entry;
    const char* label;
  } cases[] = {{c.dataWindow()->mnuViewDeclination, "Decl."},
               {c.dataWindow()->mnuViewRA, "R.A."},
               {c.dataWindow()->mnuViewLatitude, "Lat."},
               {c.dataWindow()->mnuViewHelioLongitude, "Long."},
               {c.dataWindow()->mnuViewLongitude, "Long."}};
  for (const auto& k : cases) {
    ASSERT_TRUE(k.entry->isEnabled()) << k.label;
    k.entry->trigger();
    EXPECT_TRUE(DataText().contains(k.label)) << k.label;
    EXPECT_TRUE(DataText().contains("Julian Day = 2454832.5")) << k.label;
  }
  c.dataWindow()->mnuViewHelioLatitude->trigger();
  EXPECT_NE(DataText(), text);
}

TEST_F(GuiTest, MoreForwardAndBackwardMoveTheStartDate) {
  AppController& c = Start();
  RunMonth("1", "1", "2009", true);
  ASSERT_NE(c.dataWindow(), nullptr);
  c.dataWindow()->mnuMoreZForward->trigger();
  // The run after 31 Jan 2009 starts on 1 Feb 2009 (JD 2454863.5 at 0h).
  EXPECT_TRUE(DataText().contains("Julian Day = 2454863.5"));
  EXPECT_EQ(c.inputWindow()->txtMonth->text(), "2");
  EXPECT_EQ(c.inputWindow()->txtDay->text(), "1");
  EXPECT_EQ(c.inputWindow()->txtYear->text(), "2009");
  // Backward with the full month ticked goes back to the month before.
  c.dataWindow()->mnuMoreBackward->trigger();
  EXPECT_TRUE(DataText().contains("Julian Day = 2454832.5"));
  EXPECT_EQ(c.inputWindow()->txtMonth->text(), "1");
}

TEST_F(GuiTest, AspectarianRunOffersRetrogradeTimes) {
  AppController& c = Start();
  RunMonth("1", "1", "2009", true);
  c.mainWindow()->mnuInputData->trigger();
  EXPECT_EQ(c.dataWindow(), nullptr);  // the Input command closes the Data Window
  QApplication::processEvents();
  EXPECT_TRUE(c.inputWindow()->isVisible());
  EXPECT_EQ(c.app()->buffer.AllCount(), 0);

  RunMonth("1", "1", "2009", false);
  ASSERT_NE(c.dataWindow(), nullptr);
  DataWindow* d = c.dataWindow();
  EXPECT_TRUE(d->mnuRx_Times->isEnabled());
  for (QAction* a : {d->mnuViewLongitude, d->mnuViewDeclination, d->mnuViewRA, d->mnuViewLatitude,
                     d->mnuViewHelioLongitude, d->mnuViewHelioLatitude})
    EXPECT_FALSE(a->isEnabled()) << a->text().toStdString();
  const QString before = DataText();
  d->mnuRx_Times->trigger();
  const QString after = DataText();
  EXPECT_TRUE(after.startsWith(before.left(200)));
  EXPECT_TRUE(after.contains("Changes in direction")) << after.right(400).toStdString();
  // Mercury turned retrograde on 11 January 2009.
  EXPECT_TRUE(after.contains("Mercury - 11 Jan 2009")) << after.right(400).toStdString();
}

TEST_F(GuiTest, ClearAllDataEmptiesTheBufferButNotTheText) {
  AppController& c = Start();
  RunMonth("1", "1", "2009", true);
  const QString shown = DataText();
  c.dataWindow()->mnuClearBuffer->trigger();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].title, "Information!");
  EXPECT_EQ(messages[0].text, "All data cleared from buffer.");
  EXPECT_EQ(messages[0].icon, MessageIcon::Exclamation);
  EXPECT_EQ(c.app()->buffer.AllCount(), 0);
  EXPECT_EQ(DataText(), shown);
  c.dataWindow()->mnuFileSave->trigger();
  c.dataWindow()->mnuPrintData->trigger();
  EXPECT_EQ(Count("No data to write to file."), 1);
  EXPECT_EQ(Count("No data to print."), 1);
  EXPECT_EQ(dialogCalls, 0);
}

TEST_F(GuiTest, SaveAsWritesTheWholeBufferWithFormFeeds) {
  AppController& c = Start();
  RunMonth("12", "25", "2026", true);
  ASSERT_NE(c.dataWindow(), nullptr);
  const fs::path target = folder / "january.DOC";
  saveAnswer = QString::fromStdString(target.string());
  // Save with no current name asks through the dialog first.
  c.dataWindow()->mnuFileSave->trigger();
  ASSERT_EQ(dialogCalls, 1);
  // A full month starts on the 1st, so the proposal is built from 12/01/2026.
  EXPECT_EQ(dialogName, "12012026.DOC");
  EXPECT_EQ(dialogFilter, "Data Files (*.DOC)");
  EXPECT_EQ(fs::path(dialogFolder.toStdString()), folder);

  // Independent build of the saved format: CRLF lines, a form-feed line after
  // every (option 7 - 1) lines and one at the end.
  const auto& lines = c.app()->buffer.AllLines();
  const int count = c.app()->buffer.AllCount();
  const int page = static_cast<int>(c.app()->options[7]) - 1;
  ASSERT_GT(page, 0);
  std::string expected;
  int formFeeds = 0;
  for (int i = 0; i <= count; ++i) {
    expected += lines[i] + "\r\n";
    if (i != 0 && i % page == 0) {
      expected += "\f\r\n";
      ++formFeeds;
    }
  }
  expected += "\f\r\n";
  EXPECT_EQ(formFeeds, count / page);
  EXPECT_EQ(ReadAll(target), expected);
  EXPECT_TRUE(DataText().startsWith(FromCodes(lines[0])));

  // Save (F5) now rewrites the same file without asking.
  fs::remove(target);
  c.dataWindow()->mnuFileSave->trigger();
  EXPECT_EQ(dialogCalls, 1);
  EXPECT_EQ(ReadAll(target), expected);

  // A cancelled dialog writes nothing.
  saveAnswer.clear();
  c.dataWindow()->mnuFileSaveAs->trigger();
  EXPECT_EQ(dialogCalls, 2);
  EXPECT_TRUE(messages.empty());
}

TEST_F(GuiTest, PrintPageGoesThroughTheEditablePrintWindow) {
  AppController& c = Start();
  RunMonth("1", "1", "2009", true);
  c.dataWindow()->mnuPrint->trigger();
  PrintWindow* p = c.printWindow();
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->windowTitle(), "Data To Be Printed");
  const QString text = p->txtContent->toPlainText();
  EXPECT_TRUE(text.startsWith("\n\n"));  // two empty lines before the page
  EXPECT_TRUE(text.contains("Julian Day = 2454832.5"));
  Screenshot(p, "print-window");

  // The edited text is what goes to the print file and the printer.
  p->txtContent->setPlainText("edited line\n");
  PrintWindow::ForcePdf() = true;
  p->btnPrint->click();
  PrintWindow::ForcePdf() = false;
  EXPECT_EQ(ReadAll(folder / "PRNTFILE.XXX"), "edited line\r\n");
  EXPECT_TRUE(fs::exists(folder / "PRNTFILE.PDF"));
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_TRUE(messages[0].text.contains("PRNTFILE.PDF"));
}

TEST_F(GuiTest, OptionsEditorSavesTheTextBackByteForByte) {
  AppController& c = Start();
  const std::string original = ReadAll(folder / "OPTIONS.OPT");
  c.mainWindow()->mnuOptions->trigger();
  OptionsWindow* o = c.optionsWindow();
  ASSERT_NE(o, nullptr);
  EXPECT_EQ(o->windowTitle(), "Edit: OPTIONS.OPT");
  Screenshot(o, "options-window");
  o->btnSave->click();
  EXPECT_EQ(ReadAll(folder / "OPTIONS.OPT"), original);

  // Restore puts the master copy back into the file and the box.
  o->txtContent->setPlainText("   99\n");
  o->btnSave->click();
  EXPECT_EQ(c.app()->options[1], 99.0f);
  o->cmdRestoreDefault->click();
  EXPECT_EQ(ReadAll(folder / "OPTIONS.OPT"), ReadAll(folder / "OPTIONS.MAS"));
  EXPECT_EQ(c.app()->options[1], 99.0f);  // values in use change only with Save
  EXPECT_FALSE(o->txtContent->toPlainText().startsWith("   99"));
  o->close();

  // Without the options file the editor does not open.
  fs::remove(folder / "OPTIONS.OPT");
  QApplication::processEvents();
  c.mainWindow()->mnuOptions->trigger();
  ASSERT_FALSE(messages.empty());
  EXPECT_EQ(messages.back().title, "Warning!");
  EXPECT_EQ(messages.back().text, "File Not Found");
}

}  // namespace novastra::gui::test
