// The symbols as a reader sees them: in the Data Window the sign and body
// glyphs stand as tall as the digits beside them, inside their two cells;
// the chart's labels are drawn at the system's font size.
#include "chart/chart_painter.h"
#include "gui/graph_window.h"
#include "gui_support.h"
#include "text/charset.h"

namespace novastra::gui::test {

namespace {

// The symbol of `code` as tall as a digit (a pixel of rounding either way)
// and within its height, unless as wide as its two cells allow (Aquarius's
// waves); never wider than those cells.
void ExpectDigitHigh(const QFontMetricsF& fm, int code) {
  SCOPED_TRACE("code " + std::to_string(code));
  const QRectF digit = fm.tightBoundingRect("0");
  const double cell = fm.horizontalAdvance('0');
  const char32_t u = CodeToUnicode(static_cast<unsigned char>(code));
  const QString glyph = QString::fromUcs4(&u, 1);
  const QRectF ink = fm.tightBoundingRect(glyph);
  const bool fillsWidth = ink.width() >= 2 * cell - 2;
  if (!fillsWidth) {
    EXPECT_NEAR(ink.height(), digit.height(), 1.0);
  }
  EXPECT_GE(ink.height(), 0.8 * digit.height());
  EXPECT_LE(ink.height(), digit.height() + 1.0);
  EXPECT_GE(ink.top(), digit.top() - 1.0);
  EXPECT_LE(ink.bottom(), digit.bottom() + 1.0);
  EXPECT_NEAR(fm.horizontalAdvance(glyph), 2 * cell, 0.05);
  EXPECT_GE(ink.left(), -0.5);
  EXPECT_LE(ink.right(), 2 * cell + 0.5);
}

}  // namespace

// Codes 192..203 are the signs, 224..234 the bodies, 236 the Earth and 237..243
// Chiron, Ceres, Pallas, Juno, Vesta and the mean and osculating Lilith.
TEST_F(January2009, SignAndBodySymbolsStandAsTallAsTheDigits) {
  for (bool bold : {false, true}) {
    SCOPED_TRACE(bold ? "bold" : "regular");
    if (bold) d->FontsBold();
    // The outlines as the font draws them: hinting snaps the digits to the pixel grid
    // and leaves the symbols, which would blur the comparison by a pixel.
    QFont font = d->Text1->font();
    font.setHintingPreference(QFont::PreferNoHinting);
    const QFontMetricsF fm(font);
    ASSERT_GT(fm.tightBoundingRect("0").height(), 5);
    std::vector<int> codes;
    for (int c = 192; c <= 203; ++c) codes.push_back(c);
    for (int c = 224; c <= 234; ++c) codes.push_back(c);
    for (int c = 236; c <= 243; ++c) codes.push_back(c);
    for (int code : codes) ExpectDigitHigh(fm, code);
  }
  Screenshot(d, "symbols-at-the-digits-height");
}

}  // namespace novastra::gui::test

namespace novastra::gui::test {
namespace {

// Rows [top, bottom] holding ink darker (or, on dark paper, lighter) than the
// paper in the image's rectangle; {-1, -1} when none.
std::pair<int, int> InkRows(const QImage& image, const QRect& r, bool darkPaper) {
  int top = -1, bottom = -1;
  for (int y = std::max(0, r.top()); y <= std::min(image.height() - 1, r.bottom()); ++y)
    for (int x = std::max(0, r.left()); x <= std::min(image.width() - 1, r.right()); ++x) {
      const int l = QColor(image.pixel(x, y)).lightness();
      if (darkPaper ? l > 140 : l < 140) {
        if (top < 0) top = y;
        bottom = y;
        break;
      }
    }
  return {top, bottom};
}

QPalette DarkPalette() {
  QPalette dark(QColor(53, 53, 53));  // button and window; light and dark derived
  dark.setColor(QPalette::Base, QColor(30, 30, 30));
  dark.setColor(QPalette::Text, QColor(230, 230, 230));
  dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
  return dark;
}

}  // namespace

// The degree labels beside the plot are drawn at the desktop's font size
// (the height of "180" in the chart's font at the font's pixel size), not
// scaled down with a window smaller than 1600x1000.
TEST_F(January2009, ChartLabelsAtTheDesktopsFontSize) {
  controller->mainWindow()->mnuGraph->trigger();
  GraphWindow* g = controller->graphWindow();
  ASSERT_NE(g, nullptr);
  g->resize(1000, 650);
  QApplication::processEvents();
  ChartView* view = g->view;
  const QImage image = view->grab().toImage();
  const auto& m = view->model();
  const double s = chart::PictureScale(m.options);
  const int y = int(m.YAt(180));
  const auto [top, bottom] =
      InkRows(image, QRect(0, y - 20, int(m.plot.left - 20 * s), 40), false);
  ASSERT_GE(top, 0);
  QFont label(chart::PaintStyle().fontFamily);
  label.setPixelSize(QFontInfo(view->font()).pixelSize());
  const double wanted = QFontMetricsF(label).tightBoundingRect("180").height();
  EXPECT_NEAR(bottom - top + 1, wanted, 1.5) << "font " << QFontInfo(view->font()).pixelSize();
  Screenshot(g, "graph-labels-at-the-desktop-font-size");
}

// A dark theme: the chart and the Input window's label frames take the
// palette's colours; an exported picture stays black on white.
TEST_F(January2009, DarkThemeReachesTheChartAndTheInputFrames) {
  controller->mainWindow()->mnuGraph->trigger();
  GraphWindow* g = controller->graphWindow();
  ASSERT_NE(g, nullptr);
  g->setPalette(DarkPalette());
  QApplication::processEvents();
  const QImage chart = g->view->grab().toImage();
  EXPECT_LT(QColor(chart.pixel(2, 2)).lightness(), 60);
  const auto& m = g->view->model();
  const int y = int(m.YAt(180));
  EXPECT_GE(InkRows(chart, QRect(0, y - 20, int(m.plot.left) - 20, 40), true).first, 0)
      << "no light label on the dark page";
  Screenshot(g, "graph-dark");

  saveAnswer = QString::fromStdString((folder / "chart.png").string());
  g->Export();
  const QImage file(saveAnswer);
  ASSERT_FALSE(file.isNull());
  EXPECT_EQ(QColor(file.pixel(2, 2)), QColor(Qt::white));

  InputWindow* in = controller->inputWindow();
  in->setPalette(DarkPalette());
  in->show();
  QApplication::processEvents();
  QLabel* month = nullptr;
  for (QLabel* l : in->findChildren<QLabel*>())
    if (l->text() == "Month") month = l;
  ASSERT_NE(month, nullptr);
  const QImage input = in->grab().toImage();
  const QRect r = month->geometry();
  // The right and bottom edges of the frame: the palette's Light, not white.
  const QRgb light = DarkPalette().color(QPalette::Light).rgb();
  EXPECT_EQ(input.pixel(r.right() + 2, r.center().y()), light);
  EXPECT_EQ(input.pixel(r.center().x(), r.bottom() + 2), light);
  Screenshot(in, "input-dark");
}

}  // namespace novastra::gui::test

namespace novastra::gui::test {

namespace {

// The note line names the apparent sky and the osculating node as asked;
// the results do not.
void ExpectNotes(DataWindow* d, bool apparent, bool osculating) {
  const QString notes = d->lblNotes->text();
  EXPECT_TRUE(d->lblNotes->isVisible());
  EXPECT_EQ(notes.contains("Apparent sky"), apparent) << notes.toStdString();
  EXPECT_EQ(notes.contains("osculating node"), osculating) << notes.toStdString();
  EXPECT_FALSE(d->Text().contains("Apparent sky") || d->Text().contains("osculating node"));
}

}  // namespace

// The note line above the results names the choices the header lines do
// not: the apparent sky, the osculating node, the heliocentric table; the
// notes stay out of the results (and so out of files and print).
TEST_F(January2009, TheNoteLineNamesTheSkyTheNodeAndTheHeliocentricTable) {
  EXPECT_FALSE(d->lblNotes->isVisible());  // the default sky and node
  const std::string plain = DataText().toStdString();
  InputWindow* in = controller->inputWindow();
  const struct {
    const char* what;
    QRadioButton *sky, *node;
    bool apparent, osculating;
  } cases[] = {
      {"apparent sky", in->optApparent, in->optTrue, true, false},
      {"osculating node", in->optDesign, in->optOsculating, false, true},
      {"both", in->optApparent, in->optOsculating, true, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    controller->OpenInput();
    c.sky->setChecked(true);
    c.node->setChecked(true);
    ASSERT_NE(d = RunMonth("1", "1", "2009", true), nullptr);
    ExpectNotes(d, c.apparent, c.osculating);
  }
  d->mnuViewHelioLongitude->trigger();
  EXPECT_TRUE(d->lblNotes->text().contains("Heliocentric longitudes"));
  EXPECT_TRUE(d->lblNotes->text().contains("Apparent sky"));  // the run's notes stay
  d->mnuViewLongitude->trigger();
  EXPECT_FALSE(d->lblNotes->text().contains("Heliocentric"));
  // Back to the defaults: no notes, and the results as before.
  controller->OpenInput();
  in->optDesign->setChecked(true);
  in->optTrue->setChecked(true);
  ASSERT_NE(d = RunMonth("1", "1", "2009", true), nullptr);
  EXPECT_FALSE(d->lblNotes->isVisible());
  EXPECT_EQ(DataText().toStdString(), plain);
}

}  // namespace novastra::gui::test
