// Window places and the kept printer as a user meets them: the Input window
// stays reachable below a main window restored at a screen edge, and the
// graphic ephemeris prints on the printer chosen in Printer Setup.
#include <QPrintDialog>
#include <QPrinter>

#include "gui/graph_window.h"
#include "gui/gui_support.h"

namespace novastra::gui::test {
namespace {

void WriteIni(const fs::path& folder, const std::string& top, const std::string& left) {
  std::ofstream ini(folder / "NOVASTRA.INI", std::ios::binary);
  ini << "[NOVASTRA] - Do NOT change the order of these variables.\r\n"
         "FontSize= 10\r\nFontBold= 0\r\nFontItalic= 0\r\n"
      << "NOVASTRATop=" << top << "\r\nNOVASTRALeft=" << left
      << "\r\nNOVASTRAHeight= 675\r\nNOVASTRAWidth= 6555\r\n"
         "DataTop= 660\r\nDataLeft= 0\r\nDataHeight= 6540\r\nDataWidth= 9600\r\n";
}

}  // namespace

// The Input window opens 40 pixels right of and below the main window; with
// the main window kept at an edge of the screen that place runs off it.
TEST_F(GuiTest, InputWindowStaysOnScreenBelowAMainWindowAtTheEdge) {
  const struct {
    const char* where;
    std::string top, left;  // twips, as NOVASTRA.INI holds them
  } cases[] = {
      {"right edge", " 0", " 400000"},
      {"bottom edge", " 400000", " 0"},
      {"bottom right corner", " 400000", " 400000"},
      {"far off to the left and above", "-30000", "-30000"},
  };
  for (const auto& c : cases) {
    WriteIni(folder, c.top, c.left);
    AppController& app = Start();
    QApplication::processEvents();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect input = app.inputWindow()->frameGeometry();
    EXPECT_TRUE(screen.contains(app.mainWindow()->frameGeometry())) << c.where;
    EXPECT_TRUE(screen.contains(input))
        << c.where << ": " << input.x() << "," << input.y() << " " << input.width() << "x"
        << input.height() << " on " << screen.width() << "x" << screen.height();
    // Nor does it hide the main window's menus: it goes above the main
    // window when there is no room below.
    EXPECT_FALSE(input.intersects(app.mainWindow()->frameGeometry()))
        << c.where << ": " << input.x() << "," << input.y();
    // Its buttons can be clicked: both lie on the screen.
    for (QWidget* b : {static_cast<QWidget*>(app.inputWindow()->cmdEphemeris),
                       static_cast<QWidget*>(app.inputWindow()->cmdAspectarian)})
      EXPECT_TRUE(screen.contains(QRect(b->mapToGlobal(QPoint(0, 0)), b->size()))) << c.where;
    controller.reset();  // a clean start for the next place
  }
}

// Printer Setup chooses the printer for the rest of the session: the chart's
// print dialog opens on that printer and its page, and the chart goes there.
TEST_F(GuiTest, GraphicEphemerisPrintsOnThePrinterChosenInPrinterSetup) {
  AppController& c = Start();
  const QString chosen = QString::fromStdString((folder / "chosen.pdf").string());
  c.askPrinter = [&](QPrinter& p) {
    p.setOutputFormat(QPrinter::PdfFormat);
    p.setOutputFileName(chosen);
    p.setPageSize(QPageSize(QPageSize::A3));
    return true;
  };
  c.mainWindow()->mnuPrSetup->trigger();

  c.mainWindow()->mnuGraph->trigger();
  GraphWindow* g = c.graphWindow();
  ASSERT_NE(g, nullptr);
  g->dtFrom->setDate(QDate(2009, 1, 1));
  g->dtTo->setDate(QDate(2009, 12, 31));

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
  EXPECT_EQ(offeredFile.toStdString(), chosen.toStdString());
  EXPECT_EQ(offeredPage, QPageSize::A3);
  ASSERT_TRUE(fs::exists(chosen.toStdString()));
  EXPECT_EQ(ReadAll(chosen.toStdString()).substr(0, 5), "%PDF-");
  // The chart's landscape page leaves the kept printer as it was chosen.
  EXPECT_EQ(c.printer()->pageLayout().orientation(), QPageLayout::Portrait);
  EXPECT_EQ(c.printer()->outputFileName(), chosen);

  // Cancelled: nothing printed.
  fs::remove(chosen.toStdString());
  dialogAnswer = [&](QDialog&) { return false; };
  g->mnuPrint->trigger();
  EXPECT_FALSE(fs::exists(chosen.toStdString()));
  EXPECT_TRUE(messages.empty());
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
    EXPECT_TRUE(messages[0].text.startsWith("Buffer cannot hold any more data.")) << c.what;
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

}  // namespace novastra::gui::test

namespace novastra::gui::test {
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

}  // namespace novastra::gui::test

namespace novastra::gui::test {

// A Data Window never placed by the user opens below the main window; with
// the main window kept at the bottom of the screen it opens above it instead,
// leaving the main window's menus in sight.
TEST_F(GuiTest, FirstDataWindowLeavesAMainWindowAtTheBottomInSight) {
  const struct {
    const char* where;
    std::string top, left;
  } cases[] = {
      {"bottom edge", " 400000", " 0"},
      {"bottom right corner", " 400000", " 400000"},
  };
  for (const auto& c : cases) {
    WriteIni(folder, c.top, c.left);
    AppController& app = Start();
    DataWindow* d = RunMonth("1", "1", "2009", true);
    ASSERT_NE(d, nullptr) << c.where;
    QApplication::processEvents();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect main = app.mainWindow()->frameGeometry(), data = d->frameGeometry();
    EXPECT_TRUE(screen.contains(data)) << c.where;
    EXPECT_FALSE(data.intersects(main))
        << c.where << ": data " << data.x() << "," << data.y() << " " << data.width() << "x"
        << data.height() << ", main " << main.x() << "," << main.y();
    EXPECT_GT(data.height(), screen.height() / 2) << c.where;  // still a tall window
    controller.reset();
  }
}

}  // namespace novastra::gui::test
