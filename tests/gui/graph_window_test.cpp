// The Graphic ephemeris window: opened from both menus over the run's dates,
// its choices, redraw on resize, the pointer's read-out, refusals and export.
#include "chart/chart_painter.h"
#include "gui/graph_window.h"
#include "astro/engine.h"
#include "gui_support.h"

namespace novastra::gui::test {

// After the January 2009 run the View menu opens the chart over that month.
TEST_F(January2009, ViewMenuOpensTheChartOverTheRunsDates) {
  ASSERT_NE(d->mnuViewGraph, nullptr);
  EXPECT_TRUE(d->mnuViewGraph->isEnabled());
  d->mnuViewGraph->trigger();
  GraphWindow* g = controller->graphWindow();
  ASSERT_NE(g, nullptr);
  EXPECT_TRUE(g->isVisible());
  EXPECT_EQ(g->windowTitle(), "NOVASTRA - Graphic ephemeris");
  EXPECT_EQ(g->dtFrom->date(), QDate(2009, 1, 1));
  EXPECT_EQ(g->dtTo->date(), QDate(2009, 1, 31));
  ASSERT_EQ(g->series().jd.size(), 31u);
  EXPECT_EQ(g->series().jd.front(), 2454832.5);  // midnight, as the run
  EXPECT_FALSE(g->view->model().segments.empty());
}

TEST_F(GuiTest, MainMenuOpensTheChartWithItsChoicesReadOutExportAndPrint) {
  AppController& c = Start();
  c.mainWindow()->mnuGraph->trigger();
  GraphWindow* g = c.graphWindow();
  ASSERT_NE(g, nullptr);
  // Before any run: the current year.
  EXPECT_EQ(g->dtFrom->date(), QDate(QDate::currentDate().year(), 1, 1));

  g->dtFrom->setDate(QDate(2009, 1, 1));
  g->dtTo->setDate(QDate(2009, 12, 31));
  g->cboDial->setCurrentIndex(g->cboDial->findData(45));
  g->txtPoints->setText("15.5, 120");
  emit g->txtPoints->editingFinished();
  g->resize(1200, 760);
  g->show();
  QApplication::processEvents();
  const chart::ChartModel& m0 = g->view->model();
  EXPECT_EQ(m0.options.dial, 45);
  EXPECT_EQ(m0.fixedLines.size(), 2u);
  EXPECT_EQ(g->series().jd.size(), 365u);
  EXPECT_EQ(g->lblStatus->text(), "");
  // The pointer over the chart: its date and the bodies' places in the status bar.
  const QPointF over(m0.XAt(2454832.5 + 140), m0.plot.top + 200);
  QMouseEvent move(QEvent::MouseMove, over, g->view->mapToGlobal(over), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QApplication::sendEvent(g->view, &move);
  EXPECT_TRUE(g->statusBar()->currentMessage().startsWith("21 May 2009   ☉ 00♊"))
      << g->statusBar()->currentMessage().toStdString();
  Screenshot(g, "graph-window");

  // Redrawn at the new size.
  const double before = g->view->model().plot.width;
  g->resize(900, 600);
  QApplication::processEvents();
  EXPECT_LT(g->view->model().plot.width, before - 100);
  EXPECT_DOUBLE_EQ(g->view->model().options.width, g->view->width());

  // The pointer's read-out: the date and every body, "R" when retrograde
  // (Mercury turned on 11 Jan 2009 and went direct on 1 Feb).
  const chart::ChartModel& m = g->view->model();
  const QString at = g->view->ReadoutAt(m.XAt(2454832.5 + 19));
  EXPECT_TRUE(at.startsWith("20 Jan 2009")) << at.toStdString();
  EXPECT_TRUE(at.contains(QString("\u263F ")) && at.contains(" R")) << at.toStdString();
  EXPECT_EQ(g->view->ReadoutAt(m.plot.left - 5), "");

  // Bodies switched off and on recompute the positions.
  g->bodyActions[kMoon]->setChecked(true);
  EXPECT_EQ(g->series().bodies.size(), 11u);
  for (auto& [body, action] : g->bodyActions) action->setChecked(false);
  EXPECT_EQ(g->lblStatus->text(), "Choose at least one body.");
  EXPECT_FALSE(g->mnuExport->isEnabled());
  g->bodyActions[kSun]->setChecked(true);
  EXPECT_TRUE(g->mnuExport->isEnabled());

  // Refusals keep the last good chart choices and say why.
  g->txtPoints->setText("15.5, x");
  emit g->txtPoints->editingFinished();
  EXPECT_TRUE(g->lblStatus->text().startsWith("Fixed points: "))
      << g->lblStatus->text().toStdString();
  EXPECT_EQ(g->view->model().fixedLines.size(), 2u);
  g->txtPoints->setText("200");
  emit g->txtPoints->editingFinished();
  EXPECT_EQ(g->lblStatus->text(), "");
  g->dtTo->setDate(QDate(2008, 6, 1));
  EXPECT_EQ(g->lblStatus->text(), "The last date must come after the first.");
  EXPECT_TRUE(g->view->model().segments.empty());
  EXPECT_FALSE(g->mnuPrint->isEnabled());
  g->dtTo->setDate(QDate(2009, 6, 30));

  // Export through the save dialog; a name without a known extension is refused.
  saveAnswer = QString::fromStdString((folder / "chart.pdf").string());
  g->Export();
  EXPECT_EQ(dialog.filter, "Charts (*.svg *.png *.pdf)");
  EXPECT_GT(fs::file_size(folder / "chart.pdf"), 1000u);
  saveAnswer = QString::fromStdString((folder / "chart.txt").string());
  g->Export();
  EXPECT_FALSE(fs::exists(folder / "chart.txt"));
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, "The file name must end in .svg, .png or .pdf.");
  saveAnswer = QString::fromStdString((folder / "none" / "chart.svg").string());
  g->Export();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_TRUE(messages[1].text.startsWith("The chart could not be written to "))
      << messages[1].text.toStdString();

  // Printing, on the printer of Printer Setup, is the window places' test.
}

// The fixed points' degree labels at the right edge never cover one another,
// and each stays within a label's height of its line: on the 45-degree dial
// 244.66 and 110.12 lie 0.46 degree apart (two points of the README's natal
// chart), 24.57 and 69.70 0.13 degree.
TEST_F(January2009, FixedPointLabelsStandApart) {
  controller->mainWindow()->mnuGraph->trigger();
  GraphWindow* g = controller->graphWindow();
  ASSERT_NE(g, nullptr);
  g->cboDial->setCurrentIndex(g->cboDial->findData(45));
  g->txtPoints->setText("244.66, 110.12, 24.57, 69.70, 300");
  emit g->txtPoints->editingFinished();
  g->resize(1000, 650);
  QApplication::processEvents();
  const chart::ChartModel& m = g->view->model();
  ASSERT_EQ(m.fixedLines.size(), 5u);
  const std::vector<QRectF> boxes = chart::FixedPointLabelBoxes(m, g->view->Style());
  ASSERT_EQ(boxes.size(), 5u);
  const double height = boxes[0].height();
  for (size_t i = 0; i < boxes.size(); ++i) {
    // Moved at most as far as the labels crowding it need.
    EXPECT_LE(std::abs(boxes[i].center().y() - m.fixedLines[i].y), 1.01 * height) << i;
    for (size_t j = i + 1; j < boxes.size(); ++j)
      EXPECT_FALSE(boxes[i].intersects(boxes[j].adjusted(0, 0.5, 0, -0.5)))
          << m.fixedLines[i].degrees << " and " << m.fixedLines[j].degrees;
  }
  // A label with no neighbour stays on its line.
  EXPECT_NEAR(boxes[4].center().y(), m.fixedLines[4].y, 0.5);
  Screenshot(g, "graph-fixed-point-labels");
}

}  // namespace novastra::gui::test
