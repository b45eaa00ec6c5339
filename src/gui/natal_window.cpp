#include "gui/natal_window.h"

#include <QComboBox>
#include <QCompleter>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>
#include <cmath>

#include "app/application.h"
#include "app/chart_files.h"
#include "app/text_file.h"
#include "astro/calendar.h"
#include "chart/natal_wheel.h"
#include "gui/graph_window.h"
#include "gui/message_box.h"
#include "gui/widgets.h"
#include "novastra_version.h"
#include "reports/time_zone.h"
#include "text/date_input.h"

namespace novastra::gui {

namespace {

constexpr const char* kTitle = "Natal chart";

QLineEdit* Field(QWidget* parent, const char* name, const QString& text, const QString& tip,
                 int chars) {
  auto* f = new QLineEdit(text, parent);
  f->setObjectName(name);
  f->setToolTip(tip);
  f->setMinimumWidth(f->fontMetrics().horizontalAdvance(QString(chars, '0')) + 12);
  return f;
}

QString Q(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

QString NatalPointsText(const NatalChart& chart) {
  QStringList points;
  for (int k = 0; k <= 12; ++k) {  // bodies 1..11, Ascendant, Midheaven
    double d = std::round(chart.PointLongitude(k) * 100) / 100;
    if (d >= 360) d -= 360;
    points << QString::number(d, 'f', 2);
  }
  return points.join(", ");
}

void ShowNatalPoints(GraphWindow& graph, const NatalChart& chart) {
  graph.txtPoints->setText(NatalPointsText(chart));
  graph.Redraw();
}

WheelView::WheelView(QWidget* parent) : QWidget(parent) {
  setObjectName("picWheel");
  setMinimumSize(240, 240);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void WheelView::SetChart(const NatalChart* chart) {
  chart_ = chart;
  update();
}

void WheelView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const chart::WheelStyle style = chart::WheelStyle::FromPalette(palette());
  if (!chart_) {
    p.fillRect(rect(), style.paper);
    return;
  }
  chart::PaintWheel(p, *chart_, QRectF(rect()), style);
}

NatalWindow::NatalWindow(Application& app, Dialogs& dialogs, const QString& symbolFont,
                         QWidget* parent)
    : QMainWindow(parent), app_(app), dialogs_(dialogs) {
  setObjectName("frmNatal");
  setWindowTitle(kTitle);
  auto* central = new QWidget(this);
  auto* grid = new QGridLayout;
  txtName = Field(central, "txtName", "Chart", "The chart's name; its file is NAME.chart.json", 10);
  txtDate = Field(central, "txtDate", "", "Date of birth: YYYY-MM-DD or M/D/YYYY", 10);
  txtTime = Field(central, "txtTime", "12:00", "Local time of birth: HH:MM or HH:MM:SS", 6);
  txtLatitude = Field(central, "txtLatitude", "", "Latitude: 40N43, 33S52:30 or 40.7128", 8);
  txtLongitude = Field(central, "txtLongitude", "", "Longitude: 74W00, 2E21 or -74.006", 8);
  cboZone = new QComboBox(central);
  cboZone->setObjectName("cboZone");
  cboZone->setEditable(true);
  cboZone->setInsertPolicy(QComboBox::NoInsert);
  cboZone->addItem("UT");
  for (const std::string& name : ZoneNames()) cboZone->addItem(Q(name));
  // Any part of a name ("york", "kolkata") offers the matching zones.
  cboZone->completer()->setFilterMode(Qt::MatchContains);
  cboZone->completer()->setCaseSensitivity(Qt::CaseInsensitive);
  cboZone->completer()->setCompletionMode(QCompleter::PopupCompletion);
  cboHouses = new QComboBox(central);
  cboHouses->setObjectName("cboHouses");
  for (int k = 0; k < kHouseSystems; ++k)
    cboHouses->addItem(HouseSystemName(static_cast<HouseSystem>(k)), k);
  const std::pair<const char*, QWidget*> row[] = {
      {"&Name", txtName},          {"&Date", txtDate},           {"&Time", txtTime},
      {"&Zone", cboZone},          {"&Latitude", txtLatitude},  {"Lon&gitude", txtLongitude},
      {"&Houses", cboHouses}};
  int column = 0;
  for (const auto& [caption, field] : row) {
    auto* label = FieldCaption(caption, field, central);
    grid->addWidget(label, 0, column);
    grid->addWidget(field, 1, column++);
  }
  grid->setColumnStretch(3, 2);
  cmdCalculate = new QPushButton("&Calculate", central);
  cmdCalculate->setObjectName("cmdCalculate");
  cmdCalculate->setDefault(true);
  cmdSave = new QPushButton("&Save", central);
  cmdSave->setObjectName("cmdSave");
  cmdSave->setEnabled(false);
  cmdOpen = new QPushButton("&Open...", central);
  cmdOpen->setObjectName("cmdOpen");
  grid->addWidget(cmdCalculate, 1, column++);
  grid->addWidget(cmdSave, 1, column++);
  grid->addWidget(cmdOpen, 1, column);

  wheel = new WheelView(central);
  txtPositions = new QPlainTextEdit(central);
  txtPositions->setObjectName("txtPositions");
  txtPositions->setReadOnly(true);
  txtPositions->setLineWrapMode(QPlainTextEdit::NoWrap);
  QFont mono(symbolFont);
  mono.setStyleHint(QFont::TypeWriter);
  mono.setPointSize(10);
  txtPositions->setFont(mono);
  txtPositions->setMinimumWidth(QFontMetrics(mono).horizontalAdvance(QString(72, '0')));
  auto* split = new QSplitter(Qt::Horizontal, central);
  split->addWidget(wheel);
  split->addWidget(txtPositions);
  split->setStretchFactor(0, 3);
  split->setStretchFactor(1, 2);
  lblStatus = new QLabel(central);
  lblStatus->setObjectName("lblStatus");
  lblStatus->setWordWrap(true);

  auto* layout = new QVBoxLayout(central);
  layout->addLayout(grid);
  layout->addWidget(split, 1);
  layout->addWidget(lblStatus);
  setCentralWidget(central);
  connect(cmdCalculate, &QPushButton::clicked, this, [this] { Calculate(); });
  connect(cmdSave, &QPushButton::clicked, this, [this] { SaveChart(); });
  connect(cmdOpen, &QPushButton::clicked, this, [this] { Open(); });
  for (QLineEdit* f : {txtName, txtDate, txtTime, txtLatitude, txtLongitude})
    connect(f, &QLineEdit::returnPressed, this, [this] { Calculate(); });
  resize(1280, 660);
}

void NatalWindow::Refuse(const QString& text) {
  lblStatus->setText(text);
  dialogs_.Message(this, MessageIcon::Exclamation, kTitle, text);
}

bool NatalWindow::Calculate() {
  std::string why;
  const std::string dateText = txtDate->text().trimmed().toStdString();
  const auto date = ParseDateInput(dateText, &why);
  if (!date) {
    Refuse(Q("Date \"" + dateText + "\": " + why));
    return false;
  }
  const std::string timeText = txtTime->text().trimmed().toStdString();
  const auto seconds = ParseTimeInput(timeText, &why);
  if (!seconds) {
    Refuse(Q("Time \"" + timeText + "\": " + why));
    return false;
  }
  const std::string zoneText = cboZone->currentText().trimmed().toStdString();
  const auto zone = TimeZone::Find(zoneText, &why);
  if (!zone) {
    Refuse(Q("Time zone \"" + zoneText + "\": " + why));
    return false;
  }
  const std::string latText = txtLatitude->text().trimmed().toStdString();
  const auto lat = ParseCoordinate(latText, true, &why);
  if (!lat) {
    Refuse(Q("Latitude \"" + latText + "\": " + why));
    return false;
  }
  const std::string lonText = txtLongitude->text().trimmed().toStdString();
  const auto lon = ParseCoordinate(lonText, false, &why);
  if (!lon) {
    Refuse(Q("Longitude \"" + lonText + "\": " + why));
    return false;
  }
  ChartRequest r;
  r.tables = &app_.series();
  r.choices.sky = Sky::Apparent;  // as the command line's charts
  r.ayanamsa = app_.options().Ayanamsa();
  r.jdUT = zone->UniversalOf(JulianDayNumber(date->year, date->month, date->day),
                             *seconds / 3600.0);
  r.latitude = *lat;
  r.longitude = *lon;
  r.houses = static_cast<HouseSystem>(cboHouses->currentData().toInt());
  const auto chart = BuildChart(r, &why);
  if (!chart) {
    Refuse(Q("No " + std::string(HouseSystemName(r.houses)) + " houses at latitude " +
             LatitudeText(*lat) + ": " + why));
    return false;
  }
  ChartMeta meta;
  meta.name = txtName->text().trimmed().toStdString();
  if (meta.name.empty()) meta.name = "Chart";
  meta.zone = zone->Name();
  meta.version = kVersion;
  Show(*chart, meta);
  return true;
}

void NatalWindow::Show(const NatalChart& chart, const ChartMeta& meta) {
  chart_ = chart;
  meta_ = meta;
  wheel->SetChart(&*chart_);
  txtPositions->setPlainText(FromCodes(ChartText(*chart_, meta_)).remove(QChar('\r')));
  setWindowTitle(QString(kTitle) + " - " + Q(meta_.name));
  cmdSave->setEnabled(true);
  lblStatus->clear();
  if (onChart) onChart(*chart_);
}

bool NatalWindow::SaveChart() {
  if (!chart_) return false;
  // The name typed now names the file.
  const std::string name = txtName->text().trimmed().toStdString();
  if (!IsChartName(name)) {
    Refuse(Q("Name \"" + name +
             "\": a chart file needs a name of 1 to 64 letters, digits, blanks, '-', '_' and "
             "'.', not starting with '.'"));
    return false;
  }
  meta_.name = name;
  const auto file = ChartFilePath(app_.folder(), name);
  const std::string error = WriteFileSafely(file, ChartJson(*chart_, meta_));
  if (!error.empty()) {
    Refuse(Q("Cannot save " + file.string() + ": " + error));
    return false;
  }
  setWindowTitle(QString(kTitle) + " - " + Q(name));
  lblStatus->setText(Q("Saved to " + file.string()));
  return true;
}

void NatalWindow::Open() {
  const std::vector<std::string> names = SavedChartNames(app_.folder());
  if (names.empty()) {
    Refuse(Q("No chart files (NAME.chart.json) in " + app_.folder().string()));
    return;
  }
  QInputDialog ask(this);
  ask.setObjectName("dlgOpenChart");
  ask.setWindowTitle("Open chart");
  ask.setLabelText("Chart:");
  QStringList items;
  for (const std::string& n : names) items << Q(n);
  ask.setComboBoxItems(items);
  ask.setComboBoxEditable(false);
  if (dialogs_.Exec(ask)) OpenChart(ask.textValue());
}

bool NatalWindow::OpenChart(const QString& name) {
  const std::string n = name.toStdString();
  const auto file = ChartFilePath(app_.folder(), n);
  std::string why;
  const auto text = ReadFileBytes(file, &why);
  if (!IsChartName(n) || !text) {
    Refuse(Q("Cannot read " + file.string() + (why.empty() ? "" : ": " + why)));
    return false;
  }
  NatalChart chart;
  ChartMeta meta;
  if (!ChartFromJson(*text, chart, meta, why)) {
    Refuse(Q(file.string() + " is not a chart file this program reads: " + why));
    return false;
  }
  chart.request.tables = &app_.series();
  FillInputs(chart, meta);
  Show(chart, meta);
  return true;
}

void NatalWindow::FillInputs(const NatalChart& chart, const ChartMeta& meta) const {
  const ChartRequest& r = chart.request;
  txtName->setText(Q(meta.name));
  const auto zone = TimeZone::Find(meta.zone);
  const TimeZone shown = zone ? *zone : TimeZone();
  const LocalClock local = shown.At(r.jdUT);
  // The clock to the second, so that Calculate gives the same instant back.
  const long long total =
      std::llround((r.jdUT + local.offsetMinutes / 1440.0 + 0.5) * 86400.0);
  const long long secondsOfDay = total % 86400;
  const long long day = total / 86400;
  txtDate->setText(Q(IsoDate(static_cast<double>(day))));
  txtTime->setText(QString::asprintf("%02lld:%02lld:%02lld", secondsOfDay / 3600,
                                     secondsOfDay / 60 % 60, secondsOfDay % 60));
  cboZone->setCurrentText(Q(shown.Name()));
  txtLatitude->setText(QString::number(r.latitude, 'f', 6));
  txtLongitude->setText(QString::number(r.longitude, 'f', 6));
  cboHouses->setCurrentIndex(cboHouses->findData(static_cast<int>(r.houses)));
}

}  // namespace novastra::gui
