// Window places and the kept printer as a user meets them: the Input window
// stays reachable below a main window restored at a screen edge, places off
// the screen come back onto it, and the Data Window and the graphic ephemeris
// print on the printer chosen in Printer Setup.
#include <QPrintDialog>
#include <QPrinter>

#include "gui/graph_window.h"
#include "gui/gui_support.h"
#include "gui/print_window.h"

namespace novastra::gui::test {
namespace {

// A settings file placing the main window and the Data Window (top, left,
// height, width in twips, as NOVASTRA.INI holds them).
void WriteIni(const fs::path& folder, const std::array<const char*, 4>& main,
              const std::array<const char*, 4>& data = {" 660", " 0", " 6540", " 9600"}) {
  std::ofstream ini(folder / "NOVASTRA.INI", std::ios::binary);
  ini << "[NOVASTRA] - Do NOT change the order of these variables.\r\n"
         "FontSize= 10\r\nFontBold= 0\r\nFontItalic= 0\r\n";
  const char* keys[] = {"NOVASTRATop=", "NOVASTRALeft=", "NOVASTRAHeight=", "NOVASTRAWidth=",
                        "DataTop=",     "DataLeft=",     "DataHeight=",     "DataWidth="};
  for (int i = 0; i < 8; ++i) ini << keys[i] << (i < 4 ? main[i] : data[i - 4]) << "\r\n";
}

}  // namespace

// Where the windows open. The Input window goes 40 pixels right of and below
// the main window, a Data Window never placed by the user below it; with the
// main window kept at an edge of the screen those places run off it, so each
// goes above the main window instead, leaving its menus in sight.
TEST_F(GuiTest, InputAndFirstDataWindowsStayOnScreenBesideAMainWindowAtTheEdge) {
  const struct {
    const char* where;
    const char *top, *left;  // twips; nullptr: no settings file
  } cases[] = {
      {"no settings file", nullptr, nullptr},
      {"right edge", " 0", " 400000"},
      {"bottom edge", " 400000", " 0"},
      {"bottom right corner", " 400000", " 400000"},
      {"far off to the left and above", "-30000", "-30000"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.where);
    fs::remove(folder / "NOVASTRA.INI");
    if (c.top) WriteIni(folder, {c.top, c.left, " 675", " 6555"});
    AppController& app = Start();
    QApplication::processEvents();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect main = app.mainWindow()->frameGeometry();
    const QRect input = app.inputWindow()->frameGeometry();
    EXPECT_TRUE(screen.contains(main));
    EXPECT_TRUE(screen.contains(input))
        << input.x() << "," << input.y() << " " << input.width() << "x" << input.height() << " on "
        << screen.width() << "x" << screen.height();
    EXPECT_FALSE(input.intersects(main)) << input.x() << "," << input.y();
    // Its buttons can be clicked: both lie on the screen.
    for (QWidget* b : {static_cast<QWidget*>(app.inputWindow()->cmdEphemeris),
                       static_cast<QWidget*>(app.inputWindow()->cmdAspectarian)})
      EXPECT_TRUE(screen.contains(QRect(b->mapToGlobal(QPoint(0, 0)), b->size())));
    DataWindow* d = RunMonth("1", "1", "2009", true);
    ASSERT_NE(d, nullptr);
    QApplication::processEvents();
    const QRect data = d->frameGeometry();
    EXPECT_TRUE(screen.contains(data));
    EXPECT_FALSE(data.intersects(main))
        << "data " << data.x() << "," << data.y() << " " << data.width() << "x" << data.height()
        << ", main " << main.x() << "," << main.y();
    EXPECT_GT(data.height(), screen.height() / 2);  // still a tall window
    if (!c.top) {  // the default place: below, wide enough for a table
      EXPECT_GT(data.top(), main.bottom());
      EXPECT_GE(d->width(),
                std::min(d->TableWidth(), screen.width() - (data.width() - d->width())));
    }
    controller.reset();  // a clean start for the next place
  }
}

// Places far off the screen, or larger than it, come back inside it; a
// maximised Data Window is kept maximised, with its place to restore to.
TEST_F(GuiTest, OffScreenAndOversizedPlacesRestoreInsideTheScreen) {
  WriteIni(folder, {"-90000", " 400000", " 900000", " 800000"},
           {" 32000", "-32000", " 32000", " 32000"});
  AppController& c = Start();
  QApplication::processEvents();
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  const QRect main = c.mainWindow()->frameGeometry();
  EXPECT_TRUE(screen.contains(main))
      << main.x() << "," << main.y() << " " << main.width() << "x" << main.height();
  DataWindow* d = RunMonth("1", "1", "2009", true);
  ASSERT_NE(d, nullptr);
  const QRect data = d->frameGeometry();
  EXPECT_TRUE(screen.contains(data))
      << data.x() << "," << data.y() << " " << data.width() << "x" << data.height();
  EXPECT_GT(d->width(), 100);
  d->showMaximized();
  QApplication::processEvents();
  EXPECT_TRUE(c.app()->settings().DataMaximized);
  c.Exit();
  const std::string ini = ReadAll(folder / "NOVASTRA.INI");
  EXPECT_NE(ini.find("DataMaximized=Yes\r\n"), std::string::npos);
  EXPECT_EQ(ini.find("NOVASTRAMaximized"), std::string::npos);
}

// Printer Setup chooses the printer for the rest of the session: the Data
// Window's print window prints there, the chart's print dialog opens on that
// printer and its page, and neither changes the kept printer's orientation.
TEST_F(January2009, ThePrinterChosenInPrinterSetupIsTheOnePrintedTo) {
  const QString chosen = QString::fromStdString((folder / "chosen.pdf").string());
  controller->askPrinter = [&](QPrinter& p) {
    p.setOutputFormat(QPrinter::PdfFormat);
    p.setOutputFileName(chosen);
    p.setPageSize(QPageSize(QPageSize::A3));
    return true;
  };
  controller->mainWindow()->mnuPrSetup->trigger();
  auto printed = [&] {
    const bool pdf = ReadAll(chosen.toStdString()).substr(0, 5) == "%PDF-";
    fs::remove(chosen.toStdString());
    return pdf;
  };
  d->mnuPrint->trigger();
  ASSERT_NE(controller->printWindow(), nullptr);
  EXPECT_EQ(controller->printWindow()->printer, controller->printer());
  controller->printWindow()->btnPrint->click();
  EXPECT_TRUE(printed());
  EXPECT_FALSE(fs::exists(folder / "PRNTFILE.PDF"));

  controller->mainWindow()->mnuGraph->trigger();
  GraphWindow* g = controller->graphWindow();
  ASSERT_NE(g, nullptr);
  QString offeredFile;
  QPageSize::PageSizeId offeredPage = QPageSize::Custom;
  int asked = 0;
  dialogAnswer = [&](QDialog& dialog) {
    auto* print = qobject_cast<QPrintDialog*>(&dialog);
    if (!print) return false;
    ++asked;
    offeredFile = print->printer()->outputFileName();
    offeredPage = print->printer()->pageLayout().pageSize().id();
    return true;
  };
  ASSERT_TRUE(g->mnuPrint->isEnabled());
  g->mnuPrint->trigger();
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(offeredFile, chosen);
  EXPECT_EQ(offeredPage, QPageSize::A3);
  EXPECT_TRUE(printed());
  // The chart's landscape page leaves the kept printer as it was chosen.
  EXPECT_EQ(controller->printer()->pageLayout().orientation(), QPageLayout::Portrait);
  // Cancelled: nothing printed.
  dialogAnswer = [&](QDialog&) { return false; };
  g->mnuPrint->trigger();
  EXPECT_FALSE(fs::exists(chosen.toStdString()));
  EXPECT_TRUE(messages.empty());

  // Cancel in Printer Setup keeps the choice; Export PDF writes where asked.
  controller->askPrinter = [](QPrinter&) { return false; };
  controller->mainWindow()->mnuPrSetup->trigger();
  EXPECT_EQ(controller->printer()->outputFileName(), chosen);
  d->mnuPrint->trigger();
  saveAnswer = QString::fromStdString((folder / "export.pdf").string());
  EXPECT_EQ(controller->printWindow()->ExportPdf(), saveAnswer);
  EXPECT_EQ(ReadAll(saveAnswer.toStdString()).substr(0, 5), "%PDF-");
  EXPECT_EQ(dialog.filter, "PDF Files (*.pdf)");
}

// A display that finds the buffer full says so in one box, the one with the
// number of lines dropped, whether a run or a help document brought them.
TEST_F(January2009, AFullBufferRaisesOneBoxPerDisplay) {
  Buffer().ClearView();
  while (Buffer().AllCount() < kBufferCapacity - 10) Buffer().AppendLine("filler");
  const struct {
    const char* what;
    std::function<void()> display;
  } cases[] = {
      {"More Forward", [&] { d->mnuMoreZForward->trigger(); }},
      {"a help document", [&] { controller->app()->ShowDocument("INPUTD.HLP"); }},
      {"a table of the View menu", [&] { d->mnuViewDeclination->trigger(); }},
  };
  for (const auto& c : cases) {
    messages.clear();
    c.display();
    ASSERT_EQ(messages.size(), 1u) << c.what;
    EXPECT_TRUE(messages[0].text.startsWith("Buffer cannot hold any more data.") &&
                messages[0].text.contains(" lines were not added."))
        << c.what << ": " << messages[0].text.toStdString();
    EXPECT_EQ(messages[0].icon, MessageIcon::Critical) << c.what;
    EXPECT_EQ(Buffer().AllCount(), kBufferCapacity) << c.what;
  }
  // Room again: a display over 1000 lines brings back the nearly-full reminder.
  Buffer().ClearAll();
  while (Buffer().AllCount() < 1500) Buffer().AppendLine("filler");
  messages.clear();
  d->mnuViewLongitude->trigger();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_TRUE(messages[0].text.startsWith("The data buffer is nearly full."))
      << messages[0].text.toStdString();
}

namespace {

// Types text into a widget key by key, as a user would.
void TypeKeys(QWidget* w, const QString& keys) {
  for (QChar c : keys) {
    const int key = c.isDigit() ? Qt::Key_0 + c.digitValue() : c == '/' ? Qt::Key_Slash : 0;
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(c));
    QApplication::sendEvent(w, &release);
  }
}

}  // namespace

// Dates typed in the chart's From and To fields as M/D/YYYY, over the whole
// field or from its first section, give the date typed.
TEST_F(GuiTest, GraphDatesTypedWithSlashesGiveTheDateTyped) {
  AppController& c = Start();
  c.mainWindow()->mnuGraph->trigger();
  GraphWindow* g = c.graphWindow();
  ASSERT_NE(g, nullptr);
  g->show();
  // No bodies: the typing is read without a chart computed at every key.
  for (auto& [body, action] : g->bodyActions) action->setChecked(false);
  const struct {
    const char* typed;
    QDate date;
  } cases[] = {
      {"1/1/2009", {2009, 1, 1}},     {"12/31/2009", {2009, 12, 31}}, {"2/3/2008", {2008, 2, 3}},
      {"01/01/2009", {2009, 1, 1}},   {"10/9/1850", {1850, 10, 9}},   {"7/04/2099", {2099, 7, 4}},
      {"11/11/2011", {2011, 11, 11}}, {"3/1/1800", {1800, 3, 1}},
  };
  for (QDateEdit* field : {g->dtFrom, g->dtTo}) {
    for (const auto& k : cases) {
      for (bool wholeField : {true, false}) {
        field->setDate(QDate(1914, 12, 17));
        field->setFocus();
        if (wholeField)
          field->selectAll();
        else
          field->setSelectedSection(QDateTimeEdit::MonthSection);
        TypeKeys(field, k.typed);
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(field, &enter);
        EXPECT_EQ(field->date(), k.date)
            << field->objectName().toStdString() << " typed " << k.typed
            << (wholeField ? " over the whole field" : " from the month") << ": "
            << field->date().toString("M/d/yyyy").toStdString();
      }
    }
  }
}

// A field's caption is drawn whole: no ink in its last column of pixels. Its
// Alt letter is drawn as a run of its own, which loses the kerning of the pair
// it belongs to, so "To" is drawn wider than its kerned width; sized to that,
// the label cut off the "o".
TEST_F(GuiTest, FieldCaptionsOfTheGraphAndChartWindowsAreNotCut) {
  AppController& c = Start();
  c.mainWindow()->mnuGraph->trigger();
  c.mainWindow()->mnuNatal->trigger();
  for (QWidget* w : {static_cast<QWidget*>(c.graphWindow()), static_cast<QWidget*>(c.natalWindow())}) {
    ASSERT_NE(w, nullptr);
    w->show();
    QApplication::processEvents();
    int captions = 0;
    for (QLabel* l : w->findChildren<QLabel*>()) {
      if (!l->buddy()) continue;
      ++captions;
      const QImage image = l->grab().toImage();
      const int paper = l->palette().color(QPalette::Window).lightness();
      int ink = 0;
      for (int y = 0; y < image.height(); ++y)
        if (QColor(image.pixel(image.width() - 1, y)).lightness() < paper - 60) ++ink;
      EXPECT_EQ(ink, 0) << w->objectName().toStdString() << ": \"" << l->text().toStdString()
                        << "\" cut at " << l->width() << " pixels";
    }
    EXPECT_GE(captions, 4) << w->objectName().toStdString();
  }
}

}  // namespace novastra::gui::test
