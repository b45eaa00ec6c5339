// Start-up, the Input window's fields, the progress bar, the font commands,
// exit, and the symbol font.
#include <QDateTime>
#include <QRawFont>
#include <QScrollBar>
#include <QTimer>

#include "gui/about_window.h"
#include "gui/progress_window.h"
#include "gui_support.h"
#include "output/charset.h"
#include "shell/settings.h"

namespace novastra::gui::test {

TEST_F(GuiTest, StartupShowsTheMainAndInputWindows) {
  AppController& c = Start();
  MainWindow* m = c.mainWindow();
  ASSERT_NE(m, nullptr);
  EXPECT_TRUE(m->isVisible());
  EXPECT_TRUE(m->windowTitle().startsWith("NOVASTRA - "));
  EXPECT_EQ(m->Timer1->interval(), 1000);
  // The menu bar in its order with its access keys.
  QStringList top;
  for (QAction* a : m->menuBar()->actions()) top << a->text();
  EXPECT_EQ(top, QStringList({"&File", "&Input", "&Options", "&Philosophy", "&Help"}));
  EXPECT_EQ(m->mnuPrSetup->shortcut(), QKeySequence(Qt::Key_F11));
  EXPECT_EQ(m->mnuFileExit->shortcut(), QKeySequence(Qt::Key_F12));
  EXPECT_TRUE(c.inputWindow()->isVisible());
  EXPECT_EQ(c.inputWindow()->windowTitle(), "Input Data");
  EXPECT_EQ(c.inputWindow()->txtDays->text(), "30");
  EXPECT_FALSE(c.fontFamily().isEmpty());
  EXPECT_TRUE(messages.empty());
  Screenshot(m, "main-window");
  Screenshot(c.inputWindow(), "input-window");
  AboutWindow about;
  about.show();
  Screenshot(&about, "about-window");
}

TEST_F(GuiTest, ClockCaptionHasDateFiveBlanksAndTime) {
  const QDateTime t(QDate(2009, 1, 5), QTime(13, 4, 9));
  const QString caption = ClockCaption(t);
  EXPECT_TRUE(caption.startsWith("NOVASTRA - 05 Jan 2009     ")) << caption.toStdString();
  EXPECT_NE(caption.mid(27, 1), " ");
  EXPECT_TRUE(caption.contains("04")) << caption.toStdString();
}

TEST_F(GuiTest, SecondInstanceIsRefusedBeforeReadingAnyFile) {
  Start();
  AppController second;
  AppController::StartOptions o;
  o.home = folder;
  o.suppliedDir = NOVASTRA_DATA_DIR;
  EXPECT_EQ(second.Start(o), AppController::StartResult::AlreadyRunning);
  EXPECT_EQ(second.app(), nullptr);
  EXPECT_EQ(second.mainWindow(), nullptr);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].icon, MessageIcon::Critical);
  EXPECT_EQ(messages[0].title, "WARNING!");
  EXPECT_EQ(messages[0].text,
            "NOVASTRA is already running. For your protection you cannot have more than one copy "
            "of NOVASTRA running at a time.");
}

TEST_F(GuiTest, BadStartDateShowsItsMessageOncePerFailingCheck) {
  AppController& c = Start();
  InputWindow* in = c.inputWindow();
  const QString msg = "Error in input data section. Please correct.";
  struct Case {
    QString month, day, year;
    int times;
  } cases[] = {
      {"", "1", "2009", 2},      // zero check and empty check
      {"13", "1", "2009", 1},    // range
      {"1", "32", "2009", 1},    // range
      {"1", "1", "1799", 1},     // range
      {"1", "1", "2101", 1},     // range
      {"0", "1", "2009", 1},     // zero only
      {"", "", "", 3},           // zero, empty, and year 0 out of range
  };
  for (const auto& k : cases) {
    messages.clear();
    Retype(in->txtMonth, k.month);
    Retype(in->txtDay, k.day);
    Retype(in->txtYear, k.year);
    in->chkFullMonth->setChecked(false);
    in->cmdEphemeris->click();
    EXPECT_EQ(Count(msg), k.times) << k.month.toStdString() << "/" << k.day.toStdString() << "/"
                                   << k.year.toStdString();
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages[0].title, "Warning!");
    EXPECT_TRUE(in->isVisible());  // the window keeps its contents and stays
    EXPECT_EQ(in->txtMonth->text(), k.month);
  }
  EXPECT_EQ(c.dataWindow(), nullptr);
}

TEST_F(GuiTest, DateFieldsTakeDigitsOnlyAndDaysStayWithinBounds) {
  AppController& c = Start();
  InputWindow* in = c.inputWindow();
  Retype(in->txtMonth, "1a2");
  EXPECT_EQ(in->txtMonth->text(), "12");
  EXPECT_EQ(c.app()->params.StartMonth, "12");

  struct Case {
    QString typed, shown;
  } cases[] = {{"400", "366"}, {"45", "45"}, {"", "1"}, {"0", "1"}, {"366", "366"}, {"x7", "7"}};
  for (const auto& k : cases) {
    Retype(in->txtDays, k.typed);
    EXPECT_EQ(in->txtDays->text(), k.shown) << k.typed.toStdString();
    EXPECT_EQ(in->VSDays->value(), k.shown.toInt());
    EXPECT_EQ(c.app()->params.NumberOfDays, k.shown.toInt());
  }
  EXPECT_EQ(in->txtDays->maxLength(), 3);
  in->VSDays->setValue(200);
  EXPECT_EQ(in->txtDays->text(), "200");
  EXPECT_EQ(c.app()->params.NumberOfDays, 200);
  // A click on the full-month box applies the days rule again.
  in->txtDays->blockSignals(true);
  in->txtDays->setText("0");
  in->txtDays->blockSignals(false);
  in->chkFullMonth->click();
  EXPECT_EQ(in->txtDays->text(), "1");
  EXPECT_EQ(c.app()->params.FullMonth, in->chkFullMonth->isChecked());
}

TEST_F(GuiTest, ProgressBarOnlyGrowsAndStopsAtTheRightEdge) {
  struct Case {
    int done, total;
    float percent;
  } cases[] = {{0, 366, 0}, {183, 366, 50}, {366, 366, 100}, {400, 366, 100}, {-5, 366, 0}};
  for (const auto& k : cases)
    EXPECT_NEAR(std::max(0.0f, ProgressPercent(k.done, k.total)), k.percent, 1e-4f)
        << k.done << "/" << k.total;

  ProgressWindow w;
  w.show();
  EXPECT_EQ(w.windowTitle(), "% Completed");
  ProgressPicture* p = w.picture();
  p->Clear();
  const QImage& img = p->image();
  const int width = img.width();
  EXPECT_EQ(p->Draw(-3, 10), 0);
  EXPECT_EQ(img.pixel(0, 0), QColor(Qt::white).rgb());
  EXPECT_EQ(p->Draw(183, 366), (width + 1) / 2);
  EXPECT_EQ(p->Draw(10, 366), width * 10 / 366 + (width * 10 % 366 * 2 >= 366));
  // The earlier, longer bar stays: the picture is not cleared between steps.
  EXPECT_EQ(QColor(img.pixel(width / 2 - 2, img.height() / 2)), QColor(255, 0, 0));
  EXPECT_EQ(img.pixel(width - 1, 0), QColor(Qt::white).rgb());
  EXPECT_EQ(p->Draw(400, 366), width);
  EXPECT_EQ(QColor(img.pixel(width - 1, img.height() - 1)), QColor(255, 0, 0));
  p->Clear();
  p->Draw(244, 366);
  Screenshot(&w, "progress-window");
}

TEST_F(GuiTest, FontCommandsFollowTheSavedSizeRules) {
  AppController& c = Start();
  RunMonth("1", "1", "2009", true);
  DataWindow* d = c.dataWindow();
  ASSERT_NE(d, nullptr);
  c.app()->FontStep = 1.5;
  c.app()->settings.FontSize = 11.5;
  d->mnuFontsIncrease->trigger();
  EXPECT_DOUBLE_EQ(d->Text1->font().pointSizeF(), 12.25);
  EXPECT_DOUBLE_EQ(c.app()->settings.FontSize, 12.25);
  EXPECT_FALSE(d->mnuFontsIncrease->isEnabled());
  EXPECT_TRUE(d->mnuFontsDecrease->isEnabled());

  // With an empty view nothing is redisplayed and the entries keep their state.
  c.app()->buffer.ResetViewCount();
  d->mnuFontsIncrease->setEnabled(true);
  d->mnuFontsIncrease->trigger();
  EXPECT_DOUBLE_EQ(d->Text1->font().pointSizeF(), 12.25);
  EXPECT_DOUBLE_EQ(c.app()->settings.FontSize, 13.0);
  EXPECT_TRUE(d->mnuFontsIncrease->isEnabled());

  d->mnuFontsBold->trigger();
  EXPECT_TRUE(d->Text1->font().bold());
  EXPECT_TRUE(d->mnuFontsBold->isChecked());
  EXPECT_EQ(c.app()->settings.FontBold, -1);
  d->mnuFontsItalic->trigger();
  d->mnuFontsItalic->trigger();
  EXPECT_FALSE(d->Text1->font().italic());
  EXPECT_EQ(c.app()->settings.FontItalic, 0);
}

TEST_F(GuiTest, ExitWritesTheSettingsThatTheNextStartReads) {
  {
    AppController& c = Start();
    InputWindow* in = c.inputWindow();
    in->chkFullMonth->setChecked(true);
    in->optMidnight->setChecked(true);
    in->optSidereal->setChecked(true);
    Retype(in->txtDays, "45");
    c.mainWindow()->close();  // the close box exits like File, Exit
    EXPECT_TRUE(c.exited());
  }
  std::vector<std::string> lines;
  std::istringstream in(ReadAll(folder / "NOVASTRA.INI"));
  for (std::string l; std::getline(in, l);) lines.push_back(l);
  ASSERT_EQ(lines.size(), 20u);
  EXPECT_EQ(lines[0], "[NOVASTRA] - Do NOT change the order of these variables.\r");
  EXPECT_EQ(lines[12], "CalcFullMonth=Yes\r");
  EXPECT_EQ(lines[14], "Type=Midnight\r");
  EXPECT_EQ(lines[15], "NumberOfDays=45\r");
  EXPECT_EQ(lines[18], "Zodiac=Sidereal\r");

  controller.reset();
  AppController& again = Start();
  EXPECT_EQ(again.inputWindow()->txtDays->text(), "45");
  EXPECT_TRUE(again.inputWindow()->optMidnight->isChecked());
  EXPECT_TRUE(again.inputWindow()->optSidereal->isChecked());
  EXPECT_TRUE(again.inputWindow()->chkFullMonth->isChecked());
}

TEST_F(GuiTest, HelpEntriesAppendTheirDocumentEachTime) {
  AppController& c = Start();
  auto* entry = c.mainWindow()->findChild<QAction*>("mnuHelpInputD");
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->text(), "&Input Data Window");
  const std::string doc = ReadAll(folder / "INPUTD.HLP");
  const QString firstLine = FromCodes(doc.substr(0, doc.find_first_of("\r\n")));
  ASSERT_FALSE(firstLine.isEmpty());
  entry->trigger();
  const int once = c.app()->buffer.AllCount();
  ASSERT_GT(once, 0);
  EXPECT_TRUE(DataText().startsWith(firstLine));
  entry->trigger();
  // The second display holds the document once more, after the first.
  EXPECT_GE(c.app()->buffer.AllCount(), 2 * once - 1);
  EXPECT_EQ(DataText().count(firstLine), 1);  // the view shows the latest document only
  auto* f1 = c.mainWindow()->findChild<QAction*>("mnuMainMenuHelp");
  ASSERT_NE(f1, nullptr);
  EXPECT_EQ(f1->shortcut(), QKeySequence(Qt::Key_F1));
}

TEST_F(GuiTest, DataWindowKeepsItsPlaceInTwips) {
  AppController& c = Start();
  c.app()->settings.DataLeft = 1440;
  c.app()->settings.DataTop = 720;
  c.app()->settings.DataWidth = 7200;
  c.app()->settings.DataHeight = 4320;
  RunMonth("1", "1", "2009", true);
  DataWindow* d = c.dataWindow();
  ASSERT_NE(d, nullptr);
  const double dpi = d->logicalDpiX();
  EXPECT_EQ(d->width(), qRound(7200 * dpi / 1440));
  EXPECT_EQ(d->height(), qRound(4320.0 * d->logicalDpiY() / 1440));
  // Loading does not overwrite the stored values with intermediate ones.
  EXPECT_EQ(c.app()->settings.DataWidth, 7200);
  EXPECT_EQ(c.app()->settings.DataLeft, 1440);
  d->resize(qRound(9600 * dpi / 1440), d->height());
  QApplication::processEvents();
  EXPECT_NEAR(c.app()->settings.DataWidth, 9600, 1440 / dpi);
}

TEST_F(GuiTest, SymbolFontDrawsEveryCodeOfTheTable) {
  AppController& c = Start();
  const QRawFont raw(QString::fromStdString((folder / "EPHEMERI.TTF").string()), 12);
  ASSERT_TRUE(raw.isValid());
  EXPECT_EQ(raw.familyName(), c.fontFamily());
  for (int code = 32; code < 256; ++code) {
    const char32_t u = CodeToUnicode(static_cast<unsigned char>(code));
    if (u == 0x7F) continue;  // delete: never printed
    EXPECT_TRUE(raw.supportsCharacter(static_cast<uint>(u))) << "code " << code;
  }
}

}  // namespace novastra::gui::test
