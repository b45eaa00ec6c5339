#pragma once
// The "Natal chart" window: the birth data typed in a row (name, date, time,
// zone, latitude, longitude, house system), the wheel, and beside it the
// positions and cusps as text; charts saved to and opened from the
// application folder.
#include <QMainWindow>
#include <QWidget>
#include <functional>
#include <optional>

#include "reports/chart_report.h"
#include "text/chart_text.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace novastra {
class Application;
}

namespace novastra::gui {

class Dialogs;
class GraphWindow;

// The chart's bodies, Ascendant and Midheaven as the graph's fixed points
// ("15.25, 120.50, ..."), and the graph redrawn with them.
QString NatalPointsText(const NatalChart& chart);
void ShowNatalPoints(GraphWindow& graph, const NatalChart& chart);

// Paints the chart's wheel at the widget's size in the window's colours.
class WheelView : public QWidget {
  Q_OBJECT
 public:
  explicit WheelView(QWidget* parent = nullptr);
  void SetChart(const NatalChart* chart);
  QSize sizeHint() const override { return {520, 520}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const NatalChart* chart_ = nullptr;
};

class NatalWindow : public QMainWindow {
  Q_OBJECT
 public:
  // `symbolFont` is the family the program's symbol codes are drawn with.
  NatalWindow(Application& app, Dialogs& dialogs, const QString& symbolFont,
              QWidget* parent = nullptr);

  QLineEdit *txtName = nullptr, *txtDate = nullptr, *txtTime = nullptr;
  QLineEdit *txtLatitude = nullptr, *txtLongitude = nullptr;
  QComboBox *cboZone = nullptr, *cboHouses = nullptr;
  QPushButton *cmdCalculate = nullptr, *cmdSave = nullptr, *cmdOpen = nullptr;
  WheelView* wheel = nullptr;
  QPlainTextEdit* txtPositions = nullptr;
  QLabel* lblStatus = nullptr;

  // The chart of the typed data; a message names what is wrong and the
  // chart shown stays. True when a new chart is shown.
  bool Calculate();
  // Writes the chart shown to NAME.chart.json in the application folder.
  bool SaveChart();
  // Asks which saved chart to open, then opens it.
  void Open();
  // Reads NAME.chart.json from the application folder and shows it, its
  // data in the input row. False, with a message, for a missing or bad file.
  bool OpenChart(const QString& name);

  const std::optional<NatalChart>& chart() const { return chart_; }
  const ChartMeta& meta() const { return meta_; }
  // Told of every chart shown (the graphic ephemeris draws its points).
  std::function<void(const NatalChart&)> onChart;

 private:
  void Show(const NatalChart& chart, const ChartMeta& meta);
  void Refuse(const QString& text);
  void FillInputs(const NatalChart& chart, const ChartMeta& meta) const;

  Application& app_;
  Dialogs& dialogs_;
  std::optional<NatalChart> chart_;
  ChartMeta meta_;
};

}  // namespace novastra::gui
