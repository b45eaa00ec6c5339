// Printed pages hold every line whole: each kind of page the Data Window
// prints (the six tables of a geocentric and a heliocentric run, the
// aspectarian in one and two columns, the stations, a help document) goes to
// a PDF file on A4 and Letter (ISO 216, ANSI/ASME Y14.1), portrait and
// landscape, through Printer PageSetup and the print window's Print button; the
// PDF's text is read back with poppler's pdftotext and every printed line must
// be there, in order, ending with its last value, and every word inside the
// page's side margins. pdffonts must list the symbol font as embedded.
#include <QPageLayout>
#include <QPageSize>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QTest>
#include <cstdio>
#include <iterator>
#include <memory>
#include <optional>
#include <regex>
#include <sstream>

#include "app/save_print.h"
#include "gui/data_window.h"
#include "gui/message_box.h"
#include "gui/print_window.h"
#include "gui_support.h"

namespace novastra::gui::test {
namespace {

// Standard output of a command (poppler-utils), or nullopt when it fails.
std::optional<std::string> Output(const std::string& command) {
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  if (!pipe) return std::nullopt;
  std::string out;
  char chunk[4096];
  size_t n = 0;
  while ((n = fread(chunk, 1, sizeof chunk, pipe.get())) > 0) out.append(chunk, n);
  if (pclose(pipe.release()) != 0) return std::nullopt;
  return out;
}

std::string Quoted(const fs::path& file) { return "'" + file.string() + "'"; }

// The line without trailing blanks, its runs of blanks made one.
std::string Squeezed(const std::string& line) {
  std::string out;
  bool blank = false;
  for (char c : line) {
    if (c == ' ' || c == '\t' || c == '\r') {
      blank = true;
      continue;
    }
    if (blank && !out.empty()) out += ' ';
    blank = false;
    out += c;
  }
  return out;
}

std::vector<std::string> NonBlankLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line, '\n'))
    for (std::string part; !line.empty();) {
      // pdftotext ends each page with a form feed.
      const size_t ff = line.find('\f');
      part = line.substr(0, ff);
      line = ff == std::string::npos ? std::string() : line.substr(ff + 1);
      if (!Squeezed(part).empty()) lines.push_back(Squeezed(part));
    }
  return lines;
}

struct Sheet {
  double width = 0, height = 0;  // points
  double left = 1e9, right = 0;  // the words' extent across
  double top = 1e9, bottom = 0;  // and down
};

// The sheets of the PDF with the horizontal extent of their words, from
// pdftotext -bbox (one <page> element per sheet, one <word> per word).
std::vector<Sheet> Sheets(const fs::path& pdf) {
  std::vector<Sheet> sheets;
  const auto html = Output("pdftotext -bbox " + Quoted(pdf) + " -");
  if (!html) return sheets;
  static const std::regex page(R"re(<page width="([0-9.]+)" height="([0-9.]+)")re");
  static const std::regex word(
      R"re(<word xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="([0-9.]+)" yMax="([0-9.]+)")re");
  std::istringstream in(*html);
  std::string line;
  std::smatch m;
  while (std::getline(in, line)) {
    if (std::regex_search(line, m, page)) {
      sheets.push_back({std::stod(m[1]), std::stod(m[2])});
    } else if (!sheets.empty() && std::regex_search(line, m, word)) {
      Sheet& s = sheets.back();
      s.left = std::min(s.left, std::stod(m[1]));
      s.top = std::min(s.top, std::stod(m[2]));
      s.right = std::max(s.right, std::stod(m[3]));
      s.bottom = std::max(s.bottom, std::stod(m[4]));
    }
  }
  return sheets;
}

// What lies outside the margins on a sheet ("" when nothing): every word
// inside the printer's left margin on each side (10 points unless chosen) and
// 10 points above and below; the sheet turned as expected.
std::string Misplaced(const Sheet& s, std::optional<QPageLayout::Orientation> orientation,
                      double side) {
  constexpr double kTolerance = 0.5;  // points: pdftotext's word boxes
  if (orientation && (s.width > s.height) != (*orientation == QPageLayout::Landscape))
    return "turned the wrong way";
  if (s.right == 0) return "";  // a sheet without words
  std::string out;
  if (s.left < side - kTolerance) out += " left " + std::to_string(s.left);
  if (s.right > s.width - side + kTolerance) out += " right " + std::to_string(s.right);
  if (s.top < 10 - kTolerance) out += " top " + std::to_string(s.top);
  if (s.bottom > s.height - 10 + kTolerance) out += " bottom " + std::to_string(s.bottom);
  return out;
}

// pdffonts lists the symbol font as embedded: its columns are name, type,
// encoding (one or more words), emb, sub, uni, object and ID.
bool SymbolFontEmbedded(const std::string& pdffonts) {
  std::istringstream in(pdffonts);
  for (std::string line; std::getline(in, line);) {
    if (line.find("EPHEMERI") == std::string::npos) continue;
    std::istringstream cols(line);
    const std::vector<std::string> c{std::istream_iterator<std::string>(cols), {}};
    return c.size() >= 7 && c[c.size() - 5] == "yes";
  }
  return false;
}

struct PageSetup {
  const char* name;
  QPageSize::PageSizeId size;
  QPageLayout::Orientation orientation;
  bool chosen;  // the print dialog turned the page: the sheets keep its orientation
};

// In the order a user may choose them: the default portrait page first, then
// landscape chosen in the print dialog, then portrait chosen back.
const PageSetup kSetups[] = {
    {"A4 portrait", QPageSize::A4, QPageLayout::Portrait, false},
    {"Letter portrait", QPageSize::Letter, QPageLayout::Portrait, false},
    {"A4 landscape", QPageSize::A4, QPageLayout::Landscape, true},
    {"Letter landscape", QPageSize::Letter, QPageLayout::Landscape, true},
    {"A4 portrait chosen", QPageSize::A4, QPageLayout::Portrait, true},
    {"Letter portrait chosen", QPageSize::Letter, QPageLayout::Portrait, true},
};

// Printer Setup answered with a PDF file on the page; the printer's
// orientation as the print dialog leaves it.
void ChoosePrinter(AppController& c, const fs::path& pdf, const PageSetup& setup) {
  c.askPrinter = [pdf, setup](QPrinter& p) {
    p.setOutputFormat(QPrinter::PdfFormat);
    p.setOutputFileName(QString::fromStdString(pdf.string()));
    p.setPageSize(QPageSize(setup.size));
    p.setPageOrientation(setup.orientation);
    return true;
  };
  c.mainWindow()->mnuPrSetup->trigger();
}

const QString kTurned = "Printed landscape to fit the 132-column lines";

// A page the Data Window shows, by the menu entry that shows it.
struct Shown {
  std::string name;
  std::function<void()> show;
};

class PrintFit : public GuiTest {
 protected:
  // Prints each page shown (or the whole buffer) on each page setup, through
  // Printer Setup and the print window's Print button, and checks the sheets.
  void PrintEverywhere(const std::vector<Shown>& pages, bool wholeBuffer) {
    for (const PageSetup& setup : kSetups) {
      const fs::path pdf = folder / "printed.pdf";
      ChoosePrinter(*controller, pdf, setup);
      for (const Shown& page : pages) {
        const std::string name = page.name + ", " + setup.name;
        fs::remove(pdf);
        page.show();
        DataWindow* d = controller->dataWindow();
        ASSERT_NE(d, nullptr) << name;
        (wholeBuffer ? d->mnuPrintData : d->mnuPrint)->trigger();
        PrintWindow* p = controller->printWindow();
        ASSERT_NE(p, nullptr) << name;
        p->btnPrint->click();
        ASSERT_TRUE(fs::exists(pdf)) << name;
        CheckSheets(name, pdf, ReadAll(folder / kPrintFileName),
                    setup.chosen ? std::optional(setup.orientation) : std::nullopt);
      }
    }
  }

  // side: the margin left and right, in points; orientation: the sheets'
  // where it matters.
  static void CheckSheets(const std::string& name, const fs::path& pdf, const std::string& printed,
                          std::optional<QPageLayout::Orientation> orientation, double side = 10) {
    CheckLines(name, pdf, printed);
    const std::vector<Sheet> sheets = Sheets(pdf);
    ASSERT_FALSE(sheets.empty()) << name;
    for (size_t i = 0; i < sheets.size(); ++i)
      EXPECT_EQ(Misplaced(sheets[i], orientation, side), "") << name << ", sheet " << i + 1;
    const auto fonts = Output("pdffonts " + Quoted(pdf));
    ASSERT_TRUE(fonts) << name;
    EXPECT_TRUE(SymbolFontEmbedded(*fonts)) << name << ":\n" << *fonts;
  }

  // Every printed line, in order, from its first value to its last.
  static void CheckLines(const std::string& name, const fs::path& pdf, const std::string& printed) {
    const auto text = Output("pdftotext -layout -enc UTF-8 " + Quoted(pdf) + " -");
    ASSERT_TRUE(text) << name << ": pdftotext (poppler-utils) failed";
    const std::vector<std::string> want = NonBlankLines(FromCodes(printed).toStdString());
    const std::vector<std::string> got = NonBlankLines(*text);
    ASSERT_FALSE(want.empty()) << name;
    EXPECT_EQ(got.size(), want.size()) << name;
    for (size_t i = 0; i < std::min(got.size(), want.size()); ++i)
      ASSERT_EQ(got[i], want[i]) << name << ", line " << i + 1;
  }

  // Sets option n (from 1) of the options file, before the start.
  void SetOption(int n, const char* value) {
    std::string options = ReadAll(folder / "OPTIONS.OPT");
    size_t at = 0;
    for (int i = 1; i < n; ++i) at = options.find('\n', at) + 1;
    options.replace(at, 7, value);
    std::ofstream(folder / "OPTIONS.OPT", std::ios::binary) << options;
  }

  void Ephemeris(bool helio) {
    Start();
    (helio ? controller->inputWindow()->optHelio : controller->inputWindow()->optGeo)
        ->setChecked(true);
    DataWindow* d = RunMonth("1", "1", "2009", true);
    ASSERT_NE(d, nullptr);
    const std::string run = helio ? "heliocentric run, " : "geocentric run, ";
    std::vector<Shown> tables;
    for (QAction* a : {d->mnuViewLongitude, d->mnuViewDeclination, d->mnuViewRA, d->mnuViewLatitude,
                       d->mnuViewHelioLongitude, d->mnuViewHelioLatitude})
      tables.push_back({run + a->text().remove('&').toStdString(), [a] { a->trigger(); }});
    PrintEverywhere(tables, false);
  }

  void Aspectarian(bool twoColumns) {
    if (twoColumns) SetOption(5, "      1");
    Start();
    ASSERT_EQ(controller->app()->options()[5], twoColumns ? 1.0f : 0.0f);
    ASSERT_NE(RunMonth("1", "1", "2009", false), nullptr);
    PrintEverywhere({{twoColumns ? "aspectarian, two columns" : "aspectarian, one column", [] {}}},
                    false);
  }
};

TEST_F(PrintFit, GeocentricTables) { Ephemeris(false); }
TEST_F(PrintFit, HeliocentricTables) { Ephemeris(true); }
TEST_F(PrintFit, AspectarianOneColumn) { Aspectarian(false); }
TEST_F(PrintFit, AspectarianTwoColumns) { Aspectarian(true); }

TEST_F(PrintFit, Stations) {
  Start();
  ASSERT_NE(RunMonth("1", "1", "2009", false), nullptr);
  controller->dataWindow()->mnuRx_Times->trigger();
  PrintEverywhere({{"stations", [] {}}}, false);
}

TEST_F(PrintFit, HelpDocumentOnSeveralPages) {
  Start();
  controller->app()->ShowDocument("README.TXT");
  ASSERT_NE(controller->dataWindow(), nullptr);
  PrintEverywhere({{"README.TXT", [] {}}}, true);
}

// Every help document in one page (option 8 at 0 never ends a page): some
// 740 lines in 6 points, the least the height shrinks to, over several sheets.
TEST_F(PrintFit, OneLongPageGoesOnOverSheets) {
  SetOption(8, "      0");
  Start();
  for (const char* doc : {"NOVASTRA.HLP", "PHILO.HLP", "INPUTD.HLP", "OPTIONS.HLP", "OUTPUTD1.HLP",
                          "PRNTFILE.HLP", "HOW_DO_I.HLP", "READING.HLP", "TIPS.HLP", "SHORTCUT.HLP",
                          "LICENSE.HLP", "REVISION.HLP", "README.TXT"})
    controller->app()->ShowDocument(doc);
  ChoosePrinter(*controller, folder / "long.pdf", kSetups[0]);
  controller->dataWindow()->mnuPrintData->trigger();
  PrintWindow* p = controller->printWindow();
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->lblFit->text(),
            "Font reduced to 6.0 points; a page longer than the sheet goes on to the next one");
  p->btnPrint->click();
  CheckSheets("one long page", folder / "long.pdf", ReadAll(folder / kPrintFileName),
              QPageLayout::Portrait);
  EXPECT_GE(Sheets(folder / "long.pdf").size(), 6u);
}

// A printer with a wide left margin and none on the right prints with the
// left one on both sides: two inches, on A4 turned in the print dialog, leave
// 553.89 points across, and the table's size is reduced to fill them.
TEST_F(PrintFit, TheRightMarginIsTheLeftOne) {
  Start();
  ASSERT_NE(RunMonth("1", "1", "2009", true), nullptr);
  const fs::path pdf = folder / "margins.pdf";
  controller->askPrinter = [pdf](QPrinter& p) {
    p.setOutputFormat(QPrinter::PdfFormat);
    p.setOutputFileName(QString::fromStdString(pdf.string()));
    p.setPageSize(QPageSize(QPageSize::A4));
    p.setPageOrientation(QPageLayout::Landscape);
    p.setPageMargins(QMarginsF(144, 10, 0, 10), QPageLayout::Point);
    return true;
  };
  controller->mainWindow()->mnuPrSetup->trigger();
  controller->dataWindow()->mnuPrint->trigger();
  EXPECT_EQ(controller->printWindow()->lblFit->text(),
            "Font reduced to 6.9 points to fit the page");
  controller->printWindow()->btnPrint->click();
  CheckSheets("two inches on the left", pdf, ReadAll(folder / kPrintFileName),
              QPageLayout::Landscape, 144);
}

// The print window says how the table fits, before it prints, and the print
// file (no printer: the default page, A4 or Letter) is laid out so.
TEST_F(PrintFit, TheWindowSaysHowTheTableFits) {
  Start();
  ASSERT_NE(RunMonth("1", "1", "2009", true), nullptr);
  controller->dataWindow()->mnuPrint->trigger();
  PrintWindow* p = controller->printWindow();
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->lblFit->text(), kTurned);
  EXPECT_TRUE(p->lblFit->isVisibleTo(p));
  PrintWindow::ForcePdf() = true;
  p->btnPrint->click();
  PrintWindow::ForcePdf() = false;
  CheckSheets("the print file", folder / "PRNTFILE.PDF", ReadAll(folder / kPrintFileName),
              QPageLayout::Landscape);
  ASSERT_EQ(messages.size(), 1u);  // "No printer is available. ..."

  // Edited to short lines, the text prints as chosen and the note goes.
  controller->dataWindow()->mnuPrint->trigger();
  p = controller->printWindow();
  p->txtContent->setPlainText("Short lines\nonly\n");
  QTest::qWait(400);
  EXPECT_TRUE(p->lblFit->text().isEmpty());
  EXPECT_FALSE(p->lblFit->isVisibleTo(p));
}

// The preview turns the page as Print does, until the user turns it: then it
// stays so; the printer chosen keeps its page.
TEST_F(PrintFit, ThePreviewTurnsThePageUntilTheUserDoes) {
  Start();
  ASSERT_NE(RunMonth("1", "1", "2009", true), nullptr);
  const fs::path chosen = folder / "chosen.pdf";
  ChoosePrinter(*controller, chosen, kSetups[0]);  // A4, portrait as it was
  controller->dataWindow()->mnuPrint->trigger();
  PrintWindow* p = controller->printWindow();
  ASSERT_NE(p, nullptr);
  QString before, after;
  QPageLayout::Orientation shown = QPageLayout::Portrait;
  dialogAnswer = [&](QDialog& dialog) {
    auto* preview = dialog.findChild<QPrintPreviewWidget*>();
    if (!preview) return false;
    preview->updatePreview();
    before = dialog.windowTitle();
    shown = preview->orientation();
    preview->setPortraitOrientation();  // the user turns it back
    after = dialog.windowTitle();
    return false;
  };
  p->btnPreview->click();
  EXPECT_EQ(before, "Print Preview - " + kTurned);
  EXPECT_EQ(shown, QPageLayout::Landscape);
  const QString reduced = "Font reduced to 7.2 points to fit the page";
  EXPECT_EQ(after, "Print Preview - " + reduced);
  EXPECT_EQ(p->lblFit->text(), reduced);
  EXPECT_EQ(controller->printer()->pageLayout().orientation(), QPageLayout::Portrait);
}

// Export PDF lays the table out as Print does; printing leaves the printer
// chosen with the page it was given.
TEST_F(PrintFit, ExportAndPrintLeaveThePrintersPage) {
  Start();
  ASSERT_NE(RunMonth("1", "1", "2009", true), nullptr);
  const fs::path chosen = folder / "chosen.pdf";
  ChoosePrinter(*controller, chosen, kSetups[0]);
  const QPageLayout kept = controller->printer()->pageLayout();
  controller->dataWindow()->mnuPrint->trigger();
  PrintWindow* p = controller->printWindow();
  ASSERT_NE(p, nullptr);
  saveAnswer = QString::fromStdString((folder / "export.pdf").string());
  ASSERT_EQ(p->ExportPdf(), saveAnswer);
  CheckSheets("Export PDF", folder / "export.pdf", ReadAll(folder / kPrintFileName),
              QPageLayout::Landscape);
  p->btnPrint->click();
  CheckSheets("Print", chosen, ReadAll(folder / kPrintFileName), QPageLayout::Landscape);
  const QPageLayout printedOn = controller->printer()->pageLayout();
  EXPECT_EQ(printedOn.orientation(), QPageLayout::Portrait);
  EXPECT_EQ(printedOn.pageSize().id(), QPageSize::A4);
  EXPECT_TRUE(printedOn.margins() == kept.margins());
  EXPECT_TRUE(messages.empty());
}

}  // namespace
}  // namespace novastra::gui::test
