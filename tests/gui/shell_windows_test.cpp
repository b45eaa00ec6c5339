// Start-up and the refused second instance, the Input window's fields, the
// progress bar, the font commands, exit, help documents and the symbol font.
#include <QMenu>
#include <QToolButton>
#include <array>

#include "gui/about_window.h"
#include "gui/progress_window.h"
#include "gui_support.h"
#include "reports/minor_report.h"
#include "text/charset.h"

namespace novastra::gui::test {

TEST_F(GuiTest, StartupShowsTheMainAndInputWindowsAndRefusesASecondInstance) {
  AppController& c = Start();
  MainWindow* m = c.mainWindow();
  ASSERT_NE(m, nullptr);
  EXPECT_TRUE(m->isVisible() && c.inputWindow()->isVisible());
  EXPECT_TRUE(m->windowTitle().startsWith("NOVASTRA - "));
  QStringList top;
  for (QAction* a : m->menuBar()->actions()) top << a->text();
  EXPECT_EQ(top, QStringList({"&File", "&Input", "&Options", "&Philosophy", "&Help"}));
  EXPECT_EQ(c.inputWindow()->windowTitle(), "Input Data");
  EXPECT_EQ(c.inputWindow()->txtDays->text(), "30");
  EXPECT_TRUE(messages.empty());
  Screenshot(m, "main-window");
  Screenshot(c.inputWindow(), "input-window");
  AboutWindow about;
  about.show();
  EXPECT_EQ(about.findChild<QLabel*>("lblVersion")->text(),
            "Version  1.00");  // the project version
  Screenshot(&about, "about-window");
  // The clock caption: date "dd mmm yyyy", five blanks, then the time.
  const QString caption = ClockCaption(QDateTime(QDate(2009, 1, 5), QTime(13, 4, 9)));
  EXPECT_TRUE(caption.startsWith("NOVASTRA - 05 Jan 2009     ") && caption.mid(27, 1) != " " &&
              caption.contains("04"))
      << caption.toStdString();

  // A second copy stops at the warning, before reading any file.
  AppController second(&answers);
  EXPECT_EQ(second.Start(Options()), AppController::StartResult::AlreadyRunning);
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
  InputWindow* in = Start().inputWindow();
  in->chkFullMonth->setChecked(false);
  const struct {
    QString month, day, year;
    int times;
  } cases[] = {
      // Which checks fail is the input check's own test; here each shows its box.
      {"", "1", "2009", 2},  // zero check and empty check
      {"13", "1", "2009", 1},
      {"", "", "", 3},  // zero, empty, and year 0 out of range
  };
  for (const auto& k : cases) {
    messages.clear();
    Retype(in->txtMonth, k.month);
    Retype(in->txtDay, k.day);
    Retype(in->txtYear, k.year);
    in->cmdEphemeris->click();
    const std::string date = (k.month + "/" + k.day + "/" + k.year).toStdString();
    EXPECT_EQ(Count("Error in input data section. Please correct."), k.times) << date;
    ASSERT_FALSE(messages.empty()) << date;
    EXPECT_EQ(messages[0].title, "Warning!");
    EXPECT_TRUE(in->isVisible());  // the window keeps its contents and stays
    EXPECT_EQ(in->txtMonth->text(), k.month);
  }
  EXPECT_EQ(controller->dataWindow(), nullptr);
}

TEST_F(GuiTest, DateFieldsTakeDigitsOnlyAndDaysStayWithinBounds) {
  AppController& c = Start();
  InputWindow* in = c.inputWindow();
  Retype(in->txtMonth, "1a2");
  EXPECT_EQ(in->txtMonth->text(), "12");
  EXPECT_EQ(c.app()->params().StartMonth, "12");
  const std::pair<QString, int> days[] = {{"400", 366}, {"45", 45},   {"", 1},
                                          {"0", 1},     {"366", 366}, {"x7", 7}};
  for (const auto& [typed, shown] : days) {
    Retype(in->txtDays, typed);
    EXPECT_EQ(in->txtDays->text(), QString::number(shown)) << typed.toStdString();
    EXPECT_EQ(in->VSDays->value(), shown);
    EXPECT_EQ(c.app()->params().NumberOfDays, shown);
  }
  EXPECT_EQ(in->txtDays->maxLength(), 3);
  in->VSDays->setValue(200);
  EXPECT_EQ(in->txtDays->text(), "200");
  EXPECT_EQ(c.app()->params().NumberOfDays, 200);
  // A click on the full-month box applies the days rule again.
  {
    const QSignalBlocker quiet(in->txtDays);  // "0" put in without the days rule
    in->txtDays->setText("0");
  }
  in->chkFullMonth->click();
  EXPECT_EQ(in->txtDays->text(), "1");
  EXPECT_EQ(c.app()->params().FullMonth, in->chkFullMonth->isChecked());
}

TEST_F(GuiTest, ProgressBarOnlyGrowsAndStopsAtTheRightEdge) {
  ProgressWindow w;
  w.show();
  EXPECT_EQ(w.windowTitle(), "% Completed");
  ProgressPicture* p = w.picture();
  p->Clear();
  const QImage& img = p->image();
  const int width = img.width();
  const QColor red(255, 0, 0), white(Qt::white);
  EXPECT_EQ(p->Draw(-3, 10), 0);
  EXPECT_EQ(QColor(img.pixel(0, 0)), white);
  EXPECT_EQ(p->Draw(183, 366), (width + 1) / 2);
  EXPECT_EQ(p->Draw(10, 366), width * 10 / 366 + (width * 10 % 366 * 2 >= 366));
  // The earlier, longer bar stays: the picture is not cleared between steps.
  EXPECT_EQ(QColor(img.pixel(width / 2 - 2, img.height() / 2)), red);
  EXPECT_EQ(QColor(img.pixel(width - 1, 0)), white);
  EXPECT_EQ(p->Draw(400, 366), width);  // percent capped at 100
  EXPECT_EQ(QColor(img.pixel(width - 1, img.height() - 1)), red);
  Screenshot(&w, "progress-window");
}

TEST_F(January2009, FontCommandsFollowTheSavedSizeRules) {
  auto& a = *controller->app();
  a.SetFontStep(1.5);  // the step is half of it
  Settings s = a.settings();
  s.FontSize = 11.5;
  a.SetSettings(s);
  d->mnuFontsIncrease->trigger();
  EXPECT_DOUBLE_EQ(d->Text1->font().pointSizeF(), 12.25);
  EXPECT_DOUBLE_EQ(a.settings().FontSize, 12.25);
  EXPECT_FALSE(d->mnuFontsIncrease->isEnabled());
  EXPECT_TRUE(d->mnuFontsDecrease->isEnabled());
  // With an empty view nothing is redisplayed and the entries keep their state.
  a.buffer().ResetViewCount();
  d->mnuFontsIncrease->setEnabled(true);
  d->mnuFontsIncrease->trigger();
  EXPECT_DOUBLE_EQ(d->Text1->font().pointSizeF(), 12.25);
  EXPECT_DOUBLE_EQ(a.settings().FontSize, 13.0);
  EXPECT_TRUE(d->mnuFontsIncrease->isEnabled());

  // Bold takes the font's bold face: more ink, the entry ticked, -1 kept.
  const QString family = controller->fontFamily();
  EXPECT_TRUE(QFontDatabase::styles(family).contains("Bold"))
      << QFontDatabase::styles(family).join(",").toStdString();
  auto ink = [&] {  // dark pixels of the text box
    const QImage img = d->Text1->grab().toImage();
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x) n += qGray(img.pixel(x, y)) < 128;
    return n;
  };
  d->Text1->resize(900, 300);
  const int regular = ink();
  d->mnuFontsBold->trigger();
  EXPECT_EQ(QFontInfo(d->Text1->font()).styleName(), "Bold");
  EXPECT_TRUE(d->Text1->font().bold() && d->mnuFontsBold->isChecked());
  EXPECT_EQ(a.settings().FontBold, -1);
  EXPECT_GT(ink(), regular * 11 / 10);
  d->mnuFontsItalic->trigger();
  d->mnuFontsItalic->trigger();
  EXPECT_FALSE(d->Text1->font().italic());
  EXPECT_EQ(a.settings().FontItalic, 0);
}

// Every choice of the Input window is written at exit and read by the next start.
TEST_F(GuiTest, ExitWritesTheSettingsThatTheNextStartReads) {
  AppController& c = Start();
  InputWindow* in = c.inputWindow();
  auto* zone = in->findChild<QComboBox*>("cboTimeZone");
  auto* voids = in->findChild<QCheckBox*>("chkVoidOfCourse");
  auto* localRows = in->findChild<QCheckBox*>("chkLocalRows");
  ASSERT_TRUE(zone && voids && localRows);
  in->chkFullMonth->setChecked(true);
  in->optMidnight->setChecked(true);
  in->optSidereal->setChecked(true);
  // The named ayanamsa beside Sidereal; its first entry is the SVP's zodiac.
  auto* ayanamsa = in->findChild<QComboBox*>("cboAyanamsa");
  ASSERT_TRUE(ayanamsa);
  EXPECT_EQ(ayanamsa->currentIndex(), 0);
  EXPECT_EQ(controller->app()->params().SiderealAyanamsa, NamedAyanamsa::None);
  ayanamsa->setCurrentText("Lahiri");
  EXPECT_EQ(controller->app()->params().SiderealAyanamsa, NamedAyanamsa::Lahiri);
  Retype(in->txtDays, "45");
  in->optApparent->click();
  in->optOsculating->click();
  zone->setCurrentText("America/New_York");
  voids->setChecked(true);
  localRows->setChecked(true);
  auto* minor = in->findChild<QCheckBox*>("chkMinorAspects");
  ASSERT_TRUE(minor);
  minor->setChecked(true);
  EXPECT_EQ(c.app()->params().Aspects, kAllAspects);
  // The Minor bodies menu: Chiron and the osculating Lilith chosen.
  auto* bodies = in->findChild<QToolButton*>("btnMinorBodies");
  ASSERT_TRUE(bodies && bodies->menu());
  EXPECT_EQ(bodies->menu()->actions().size(), 7);
  for (const char* key : {"chiron", "osc_lilith"}) {
    auto* a = bodies->menu()->findChild<QAction*>(QString("actMinor_") + key);
    ASSERT_TRUE(a) << key;
    a->trigger();
  }
  MinorChoice chosen{};
  chosen[static_cast<size_t>(MinorBody::Chiron)] = true;
  chosen[static_cast<size_t>(MinorBody::OscLilith)] = true;
  EXPECT_EQ(c.app()->params().MinorBodies, chosen);
  c.mainWindow()->close();  // the close box exits like File, Exit
  EXPECT_TRUE(c.exited());
  // The file's lines are the settings tests' own; here each choice comes back.
  controller.reset();
  in = Start().inputWindow();
  EXPECT_EQ(in->txtDays->text(), "45");
  EXPECT_TRUE(in->optMidnight->isChecked() && in->optSidereal->isChecked() &&
              in->chkFullMonth->isChecked());
  EXPECT_TRUE(in->optApparent->isChecked() && !in->optDesign->isChecked());
  EXPECT_TRUE(in->optOsculating->isChecked() && !in->optTrue->isChecked() &&
              !in->optMean->isChecked());
  EXPECT_EQ(controller->app()->params().SkyChoice, Sky::Apparent);
  EXPECT_EQ(controller->app()->params().MoonNodes, NodeMode::Osculating);
  EXPECT_EQ(in->findChild<QComboBox*>("cboTimeZone")->currentText(), "America/New_York");
  EXPECT_TRUE(in->findChild<QCheckBox*>("chkVoidOfCourse")->isChecked());
  EXPECT_TRUE(in->findChild<QCheckBox*>("chkLocalRows")->isChecked());
  EXPECT_TRUE(in->findChild<QCheckBox*>("chkMinorAspects")->isChecked());
  EXPECT_EQ(controller->app()->params().Aspects, kAllAspects);
  EXPECT_EQ(controller->app()->params().MinorBodies, chosen);
  const QMenu* menu = in->findChild<QToolButton*>("btnMinorBodies")->menu();
  EXPECT_TRUE(menu->findChild<QAction*>("actMinor_chiron")->isChecked());
  EXPECT_TRUE(menu->findChild<QAction*>("actMinor_osc_lilith")->isChecked());
  EXPECT_FALSE(menu->findChild<QAction*>("actMinor_ceres")->isChecked());
  EXPECT_EQ(in->findChild<QComboBox*>("cboAyanamsa")->currentText(), "Lahiri");
  EXPECT_EQ(controller->app()->params().SiderealAyanamsa, NamedAyanamsa::Lahiri);
}

TEST_F(GuiTest, HelpEntriesAppendTheirDocumentEachTime) {
  AppController& c = Start();
  auto* entry = c.mainWindow()->findChild<QAction*>("mnuHelpInputD");
  ASSERT_NE(entry, nullptr);
  const std::string doc = ReadAll(folder / "INPUTD.HLP");
  const QString firstLine = FromCodes(doc.substr(0, doc.find_first_of("\r\n")));
  ASSERT_FALSE(firstLine.isEmpty());
  entry->trigger();
  const int once = c.app()->buffer().AllCount();
  ASSERT_GT(once, 0);
  EXPECT_TRUE(DataText().startsWith(firstLine));
  // The second display appends the document once more; the view shows the latest only.
  entry->trigger();
  EXPECT_GE(c.app()->buffer().AllCount(), 2 * once - 1);
  EXPECT_EQ(DataText().count(firstLine), 1);
}

TEST_F(GuiTest, DataWindowKeepsItsPlaceInTwips) {
  Application& app = *Start().app();
  Settings s = app.settings();
  s.DataLeft = 1440, s.DataTop = 720, s.DataWidth = 7200, s.DataHeight = 4320;
  app.SetSettings(s);
  DataWindow* d = RunMonth("1", "1", "2009", true);
  ASSERT_NE(d, nullptr);
  const double dpi = d->logicalDpiX();
  EXPECT_EQ(d->width(), qRound(7200 * dpi / 1440));
  EXPECT_EQ(d->height(), qRound(4320.0 * d->logicalDpiY() / 1440));
  // Loading does not overwrite the stored values with intermediate ones.
  EXPECT_EQ(app.settings().DataWidth, 7200);
  EXPECT_EQ(app.settings().DataLeft, 1440);
  d->resize(qRound(9600 * dpi / 1440), d->height());
  QApplication::processEvents();
  EXPECT_NEAR(app.settings().DataWidth, 9600, 1440 / dpi);
  // Moved, it records left and top, each in its own field.
  d->move(qRound(2880 * dpi / 1440), qRound(1440.0 * d->logicalDpiY() / 1440));
  QApplication::processEvents();
  EXPECT_NEAR(app.settings().DataLeft, 2880, 1440 / dpi);
  EXPECT_NEAR(app.settings().DataTop, 1440, 1440 / d->logicalDpiY());
}

namespace {

// The codes of the symbol font and the cells each advances: the digit's width each.
struct CodeCells {
  std::array<int, 256> cells{};
  std::array<const char*, 256> what{};
};

// The face `file` draws every code of the table and advances it `expected.cells` digits.
void ExpectCodesInTheirCells(const fs::path& file, const CodeCells& expected) {
  SCOPED_TRACE(file.filename().string());
  QRawFont raw(QString::fromStdString(file.string()), 12);
  ASSERT_TRUE(raw.isValid());
  raw.setPixelSize(raw.unitsPerEm());  // advances in font units
  auto advance = [&raw](char32_t u) {
    const QList<quint32> index = raw.glyphIndexesForString(QString::fromUcs4(&u, 1));
    return index.size() == 1 ? raw.advancesForGlyphIndexes(index).first().x() : -1.0;
  };
  const double cell = advance(U'0');
  ASSERT_GT(cell, 0);
  for (int code = 32; code < 256; ++code) {
    const char32_t u = CodeToUnicode(static_cast<unsigned char>(code));
    if (u == 0x7F) continue;  // DEL draws nothing
    EXPECT_TRUE(raw.supportsCharacter(static_cast<uint>(u))) << "code " << code;
    EXPECT_NEAR(advance(u), expected.cells[code] * cell, 0.5)
        << "code " << code << " (U+" << std::hex << unsigned(u) << std::dec << "), "
        << expected.what[code];
  }
}

}  // namespace

// Both faces draw every code of the table in its cells (the digit's width
// each): the symbols in two, so that a degree group with its sign fills the
// titles' 10-cell pitch and a minor body's events line up with a planet's;
// the retrograde, degree and minute marks, like every text character, in one.
TEST_F(GuiTest, SymbolFontsDrawEveryCodeInItsCells) {
  const struct {
    const char* what;
    int first, last, cells;
  } cases[] = {
      {"minute mark", 146, 146, 1},
      {"north", 152, 152, 2},
      {"south", 154, 154, 2},
      {"turning retrograde", 156, 156, 2},
      {"retrograde mark", 157, 157, 1},
      {"conjunction to parallel", 161, 166, 2},
      {"semisextile to sesquiquadrate", 167, 170, 2},
      {"turning direct", 171, 171, 2},
      {"biquintile and quincunx", 172, 173, 2},
      {"contraparallel", 177, 177, 2},
      {"degree mark", 186, 186, 1},
      {"signs", 192, 203, 2},
      {"Sun to North Node", 224, 234, 2},
      {"Earth", 236, 236, 2},
      {"Chiron, the asteroids and the two Liliths", 237, 243, 2},
  };
  CodeCells expected;  // every other code is text: one cell
  for (int code = 32; code < 256; ++code) expected.cells[code] = 1, expected.what[code] = "text";
  for (const auto& c : cases)
    for (int code = c.first; code <= c.last; ++code)
      expected.cells[code] = c.cells, expected.what[code] = c.what;
  EXPECT_EQ(QRawFont(QString::fromStdString((folder / "EPHEMERI.TTF").string()), 12).familyName(),
            Start().fontFamily());
  for (const char* face : {"EPHEMERI.TTF", "EPHEMERIB.TTF"})
    ExpectCodesInTheirCells(folder / face, expected);
}

// An installed tree: supplied files in share/novastra, the font in
// share/fonts/truetype/novastra, a user folder holding OPTIONS.OPT alone.
TEST_F(GuiTest, StartsFromAnInstalledTreeWithItsFontBesideTheSuppliedFiles) {
  const fs::path share = folder / "tree/share", supplied = share / "novastra";
  const fs::path fonts = share / "fonts/truetype/novastra", user = folder / "user";
  fs::create_directories(supplied), fs::create_directories(fonts), fs::create_directories(user);
  for (const auto& e : fs::directory_iterator(NOVASTRA_DATA_DIR))
    if (e.is_regular_file() && e.path().filename() != "EPHEMERI.TTF")
      fs::copy_file(e.path(), supplied / e.path().filename());
  fs::copy_file(fs::path(NOVASTRA_DATA_DIR) / "EPHEMERI.TTF", fonts / "EPHEMERI.TTF");
  fs::copy_file(supplied / "OPTIONS.OPT", user / "OPTIONS.OPT");
  AppController::StartOptions o;
  o.home = user;
  o.suppliedDir = supplied;
  controller = std::make_unique<AppController>(&answers);
  ASSERT_EQ(controller->Start(o), AppController::StartResult::Started);
  EXPECT_EQ(controller->fontFamily(), "EPHEMERI");
  EXPECT_TRUE(messages.empty());
  controller->app()->ShowDocument("TIPS.HLP");  // documents are read where installed
  EXPECT_GT(controller->app()->buffer().AllCount(), 1);
  EXPECT_TRUE(messages.empty());
}

}  // namespace novastra::gui::test
