#pragma once
// The "Graphic ephemeris" window: each chosen body's longitude against time
// over a range of dates, on a dial of 360, 90, 45 or 30 degrees, with fixed
// points; it follows the pointer, prints and exports SVG, PNG and PDF.
#include <QMainWindow>
#include <QWidget>
#include <functional>
#include <map>

#include "chart/chart_model.h"
#include "chart/chart_painter.h"
#include "chart/ephemeris_series.h"
#include "reports/minor_report.h"

class QAction;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPrinter;
class QToolButton;

namespace novastra {
class Application;
}

namespace novastra::gui {

class Dialogs;

// The drawing area: rebuilds the chart model at its own size and reports the
// date and the bodies' positions under the pointer.
class ChartView : public QWidget {
  Q_OBJECT
 public:
  explicit ChartView(QWidget* parent = nullptr);
  void SetChart(const chart::EphemerisSeries* series, const chart::ChartOptions& options);
  const chart::ChartModel& model() const { return model_; }
  // The text shown for the pointer at x (the nearest day's positions).
  QString ReadoutAt(double x) const;
  std::function<void(const QString&)> onReadout;
  // The colours it is drawn in: its palette's (a dark theme gives a dark
  // chart); print and files keep black on white.
  chart::PaintStyle Style() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  void Rebuild();
  const chart::EphemerisSeries* series_ = nullptr;
  chart::ChartOptions options_;
  chart::ChartModel model_;
  double pointerX_ = -1;
};

class GraphWindow : public QMainWindow {
  Q_OBJECT
 public:
  // Opens over the dates of the last run (or the current year before any run).
  GraphWindow(Application& app, Dialogs& dialogs, QWidget* parent = nullptr);

  QDateEdit* dtFrom = nullptr;
  QDateEdit* dtTo = nullptr;
  QComboBox* cboDial = nullptr;
  QToolButton* btnBodies = nullptr;
  QLineEdit* txtPoints = nullptr;
  QLabel* lblStatus = nullptr;
  ChartView* view = nullptr;
  QAction *mnuExport = nullptr, *mnuPrint = nullptr, *mnuClose = nullptr;
  // By body index: the eleven, then Chiron .. Osc. Lilith (12 .. 18, after a
  // separator), whose choice is kept in the settings.
  std::map<int, QAction*> bodyActions;

  const chart::EphemerisSeries& series() const { return series_; }
  // Recomputes the positions for the dates and bodies shown, then redraws.
  void Recompute();
  // Redraws with the dial and fixed points shown (no new positions).
  void Redraw();
  // Asks for a file name and writes the chart there.
  void Export();
  // Draws the chart on a printer's page, scaled to fit.
  void PrintOn(QPrinter& printer);
  // The printer chosen in Printer Setup, if any: Print starts from it.
  std::function<QPrinter*()> keptPrinter;

 private:
  void Print();
  chart::ChartOptions Options() const;
  // The minor bodies ticked in the Bodies menu.
  MinorChoice MinorChosen() const;

  Application& app_;
  Dialogs& dialogs_;
  chart::EphemerisSeries series_;
  std::vector<double> points_;
};

}  // namespace novastra::gui
