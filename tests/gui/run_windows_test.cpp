// A user's road through the windows: type a date, run, read the Data Window,
// switch tables, page forward, run the aspectarian, clear, save, print, edit options.
#include "app/save_print.h"
#include "gui_support.h"

namespace novastra::gui::test {

TEST_F(January2009, EphemerisRunFillsTheDataWindowAndTheViewMenuSwitchesTables) {
  EXPECT_TRUE(d->isVisible());
  EXPECT_FALSE(controller->inputWindow()->isVisible());
  EXPECT_EQ(d->windowTitle(), "NOVASTRA - Data");
  const QString text = DataText();
  // January 2009 at midnight: day one is JD 2454832.5, a Thursday.
  EXPECT_TRUE(text.contains("Julian Day = 2454832.5")) << text.left(400).toStdString();
  EXPECT_TRUE(text.contains("Ephemeris - Thursday, 01 Jan 2009")) << text.left(400).toStdString();
  // The symbol codes reach the screen as their glyphs (Sun in Capricorn or Aquarius).
  EXPECT_TRUE(text.contains(QChar(0x2651)) || text.contains(QChar(0x2652)));
  EXPECT_TRUE(messages.empty());
  Screenshot(d, "data-window");

  EXPECT_FALSE(d->mnuRx_Times->isEnabled());
  EXPECT_FALSE(d->mnuEclipses->isEnabled());
  const std::pair<QAction*, const char*> tables[] = {{d->mnuViewDeclination, "Decl."},
                                                     {d->mnuViewRA, "R.A."},
                                                     {d->mnuViewLatitude, "Lat."},
                                                     {d->mnuViewHelioLongitude, "Long."},
                                                     {d->mnuViewMinorBodies, "Chiron"},
                                                     {d->mnuViewLongitude, "Long."}};
  for (const auto& [entry, label] : tables) {
    ASSERT_TRUE(entry->isEnabled()) << label;
    entry->trigger();
    EXPECT_TRUE(DataText().contains(label) && DataText().contains("Julian Day = 2454832.5"))
        << label;
  }
  d->mnuViewMinorBodies->trigger();
  Screenshot(d, "minor-bodies");
  d->mnuViewHelioLatitude->trigger();
  EXPECT_NE(DataText(), text);
}

TEST_F(January2009, MoreForwardAndBackwardMoveTheStartDate) {
  InputWindow* in = controller->inputWindow();
  d->mnuMoreZForward->trigger();
  // After 31 Jan 2009 comes 1 Feb 2009, JD 2454863.5 at 0h.
  EXPECT_TRUE(DataText().contains("Julian Day = 2454863.5"));
  EXPECT_EQ(QStringList({in->txtMonth->text(), in->txtDay->text(), in->txtYear->text()}),
            QStringList({"2", "1", "2009"}));
  // Backward with the full month ticked goes back to the month before.
  controller->dataWindow()->mnuMoreBackward->trigger();
  EXPECT_TRUE(DataText().contains("Julian Day = 2454832.5"));
  EXPECT_EQ(in->txtMonth->text(), "1");
}

TEST_F(January2009, AspectarianRunOffersRetrogradeTimes) {
  controller->mainWindow()->mnuInputData->trigger();
  EXPECT_EQ(controller->dataWindow(), nullptr);  // the Input command closes the Data Window
  QApplication::processEvents();
  EXPECT_TRUE(controller->inputWindow()->isVisible());
  EXPECT_EQ(controller->app()->buffer().AllCount(), 0);

  ASSERT_NE(d = RunMonth("1", "1", "2009", false), nullptr);
  EXPECT_TRUE(d->mnuRx_Times->isEnabled());
  for (QAction* a : {d->mnuViewLongitude, d->mnuViewDeclination, d->mnuViewRA, d->mnuViewLatitude,
                     d->mnuViewHelioLongitude, d->mnuViewHelioLatitude, d->mnuViewMinorBodies})
    EXPECT_FALSE(a->isEnabled()) << a->text().toStdString();
  const QString before = DataText();
  d->mnuRx_Times->trigger();
  const QString after = DataText();
  EXPECT_TRUE(after.startsWith(before.left(200)));
  EXPECT_TRUE(after.contains("Changes in direction")) << after.right(400).toStdString();
  // The table is shown, not left below the month (the view once stayed at the top).
  EXPECT_GT(d->Text1->verticalScrollBar()->value(), 0);
  EXPECT_TRUE(d->Text1->textCursor().block().text().contains("Changes in direction"))
      << d->Text1->textCursor().block().text().toStdString();
  // Mercury turned retrograde on 11 January 2009.
  EXPECT_TRUE(after.contains("Mercury - 11 Jan 2009")) << after.right(400).toStdString();
  // The month's one eclipse: annular, 26 January 2009, greatest 07:59:45 TD, 07:58:39 UT
  // (Espenak's catalogue, delta T 66 s; within a minute), Saros 131.
  ASSERT_TRUE(d->mnuEclipses->isEnabled());
  d->mnuEclipses->trigger();
  Screenshot(d, "eclipses");
  EXPECT_TRUE(DataText().contains(QRegularExpression("2009-01-26 07:5[789]:\\d\\d solar annular .* 131/")))
      << DataText().right(400).toStdString();
}

TEST_F(January2009, ClearAllDataEmptiesTheBufferButNotTheText) {
  const QString shown = DataText();
  d->mnuClearBuffer->trigger();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].icon, MessageIcon::Exclamation);
  EXPECT_EQ(messages[0].title + ": " + messages[0].text,
            "Information!: All data cleared from buffer.");
  EXPECT_EQ(controller->app()->buffer().AllCount(), 0);
  EXPECT_EQ(DataText(), shown);
  d->mnuFileSave->trigger();
  d->mnuPrintData->trigger();
  EXPECT_EQ(Count("No data to write to file."), 1);
  EXPECT_EQ(Count("No data to print."), 1);
  EXPECT_EQ(dialogCalls, 0);
}

TEST_F(GuiTest, SaveAsWritesTheWholeBufferWithFormFeeds) {
  AppController& c = Start();
  DataWindow* d = RunMonth("12", "25", "2026", true);
  ASSERT_NE(d, nullptr);
  const fs::path target = folder / "january.DOC";
  saveAnswer = QString::fromStdString(target.string());
  // Save with no current name asks through the dialog; a full month starts on
  // the 1st, so the proposed name is built from 12/01/2026.
  d->mnuFileSave->trigger();
  ASSERT_EQ(dialogCalls, 1);
  EXPECT_EQ(dialog.name, "12012026.DOC");
  EXPECT_EQ(dialog.filter, "Data Files (*.DOC)");
  EXPECT_EQ(fs::path(dialog.folder.toStdString()), folder);

  // The whole buffer in the saved-data format (its own test is the output one's).
  const std::string expected = FormatSavedData(c.app()->buffer().AllLines(),
                                               c.app()->buffer().AllCount(), c.app()->options()[7]);
  EXPECT_EQ(ReadAll(target), expected);

  // Save now rewrites the same file without asking; a cancelled Save As writes nothing.
  fs::remove(target);
  d->mnuFileSave->trigger();
  EXPECT_EQ(dialogCalls, 1);
  EXPECT_EQ(ReadAll(target), expected);
  saveAnswer.clear();
  d->mnuFileSaveAs->trigger();
  EXPECT_EQ(dialogCalls, 2);
  EXPECT_TRUE(messages.empty());
}

TEST_F(January2009, PrintPageGoesThroughTheEditablePrintWindow) {
  d->mnuPrint->trigger();
  PrintWindow* p = controller->printWindow();
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->windowTitle(), "Data To Be Printed");
  EXPECT_TRUE(p->txtContent->toPlainText().startsWith("\n\n"));  // two empty lines before the page
  EXPECT_TRUE(p->txtContent->toPlainText().contains("Julian Day = 2454832.5"));
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

  // Restore puts the master copy into the file and the box; the values in use
  // change only with Save.
  o->txtContent->setPlainText("   99\n");
  o->btnSave->click();
  EXPECT_EQ(c.app()->options()[1], 99.0f);
  o->cmdRestoreDefault->click();
  EXPECT_EQ(ReadAll(folder / "OPTIONS.OPT"), ReadAll(folder / "OPTIONS.MAS"));
  EXPECT_EQ(c.app()->options()[1], 99.0f);
  EXPECT_FALSE(o->txtContent->toPlainText().startsWith("   99"));
  o->close();

  // Without the options file the editor does not open.
  fs::remove(folder / "OPTIONS.OPT");
  QApplication::processEvents();
  c.mainWindow()->mnuOptions->trigger();
  ASSERT_FALSE(messages.empty());
  EXPECT_EQ(messages.back().title + ": " + messages.back().text, "Warning!: File Not Found");
}

}  // namespace novastra::gui::test
