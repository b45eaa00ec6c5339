#include "gui/graph_window.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <chrono>
#include <cmath>

#include "app/application.h"
#include "astro/calendar.h"
#include "chart/chart_choices.h"
#include "chart/chart_file.h"
#include "chart/chart_painter.h"
#include "chart/engine_series.h"
#include "gui/date_field.h"
#include "gui/message_box.h"
#include "gui/widgets.h"
#include "reports/minor_events.h"
#include "text/date_input.h"

namespace novastra::gui {

namespace {

double JdOf(const QDate& d) { return JulianDayNumber(d.year(), d.month(), d.day()); }

// "14°♑52'": degrees within the sign, the sign's symbol, minutes.
QString ZodiacText(double longitude) {
  long minutes = std::lround(longitude * 60) % (360L * 60);
  const int sign = int(minutes / (30L * 60));
  minutes -= sign * 30L * 60;
  return QString("%1%2%3'")
      .arg(minutes / 60, 2, 10, QChar('0'))
      .arg(chart::SignGlyph(sign + 1))
      .arg(minutes % 60, 2, 10, QChar('0'));
}

// The first and last dates of the last run, or the current year.
std::pair<QDate, QDate> InitialRange(const Application& app) {
  if (app.cal().StartJD > 0) {
    const chart::CivilDay c = chart::CivilFromJd(app.cal().StartJD - 0.5);
    const QDate first(c.year, c.month, c.day);
    const int days =
        app.params().FullMonth ? first.daysInMonth() : std::max<int>(1, app.params().NumberOfDays);
    return {first, first.addDays(std::max(days - 1, 1))};
  }
  const int year = QDate::currentDate().year();
  return {QDate(year, 1, 1), QDate(year, 12, 31)};
}

}  // namespace

ChartView::ChartView(QWidget* parent) : QWidget(parent) {
  setObjectName("picChart");
  setMouseTracking(true);
  setMinimumSize(480, 320);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void ChartView::SetChart(const chart::EphemerisSeries* series, const chart::ChartOptions& options) {
  series_ = series;
  options_ = options;
  Rebuild();
}

namespace {

// The chart's labels (11 pixels at its own scale 1) at the pixel size of the
// widget's font, the desktop's.
double TextScaleOf(const QWidget* w) {
  const QFontInfo info(w->font());
  return info.pixelSize() / 11.0;
}

}  // namespace

void ChartView::Rebuild() {
  chart::ChartOptions o = options_;
  o.width = width();
  o.height = height();
  o.textScale = TextScaleOf(this);
  model_ = series_ ? chart::BuildChart(*series_, o) : chart::ChartModel{};
  model_.options.width = width();
  model_.options.height = height();
  update();
}

void ChartView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Rebuild();
}

void ChartView::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::FontChange) Rebuild();
  if (event->type() == QEvent::PaletteChange) update();
}

chart::PaintStyle ChartView::Style() const {
  // The palette's text on its base, as the desktop's theme has them.
  chart::PaintStyle style;
  style.paper = palette().color(QPalette::Base);
  style.ink = palette().color(QPalette::Text);
  return style;
}

void ChartView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const chart::PaintStyle style = Style();
  chart::PaintChart(p, model_, style);
  if (pointerX_ >= model_.plot.left && pointerX_ <= model_.plot.right() && model_.plot.width > 0) {
    QColor pointer = style.ink;
    pointer.setAlpha(110);
    p.setPen(QPen(pointer, 1, Qt::DotLine));
    p.drawLine(QPointF(pointerX_, model_.plot.top), QPointF(pointerX_, model_.plot.bottom()));
  }
}

QString ChartView::ReadoutAt(double x) const {
  if (!series_ || series_->empty() || model_.plot.width <= 0) return {};
  if (x < model_.plot.left || x > model_.plot.right()) return {};
  const int i = chart::NearestDay(*series_, model_.JdAt(x));
  QString text = QString::fromStdString(chart::DayText(series_->jd[i]));
  for (const chart::BodySeries& b : series_->bodies) {
    text += QString("   %1 %2").arg(chart::BodyGlyph(b.body), ZodiacText(b.longitude[i]));
    if (b.retrograde[i]) text += " R";
  }
  return text;
}

void ChartView::mouseMoveEvent(QMouseEvent* event) {
  pointerX_ = event->position().x();
  if (onReadout) onReadout(ReadoutAt(pointerX_));
  update();
}

void ChartView::leaveEvent(QEvent*) {
  pointerX_ = -1;
  if (onReadout) onReadout({});
  update();
}

GraphWindow::GraphWindow(Application& app, Dialogs& dialogs, QWidget* parent)
    : QMainWindow(parent), app_(app), dialogs_(dialogs) {
  setObjectName("GraphD");
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QString(kTitlePrefix) + "Graphic ephemeris");

  QMenu* file = menuBar()->addMenu("&File");
  mnuExport = file->addAction("&Export...", this, [this] { Export(); });
  mnuExport->setShortcut(QKeySequence::Save);
  mnuPrint = file->addAction("&Print...", this, [this] { Print(); });
  mnuPrint->setShortcut(QKeySequence::Print);
  file->addSeparator();
  mnuClose = file->addAction("&Close", this, [this] { close(); });
  mnuClose->setShortcut(Qt::Key_Escape);

  auto* central = new QWidget(this);
  auto* column = new QVBoxLayout(central);
  column->setContentsMargins(6, 6, 6, 0);
  auto* row = new QHBoxLayout;
  column->addLayout(row);

  const auto [first, last] = InitialRange(app_);
  auto dateEdit = [this](const char* name, const QDate& date) {
    auto* e = new DateField(date, this);
    e->setObjectName(name);
    e->setDisplayFormat("M/d/yyyy");
    e->setDateRange(QDate(kFirstYear, 1, 1), QDate(kLastYear, 12, 31));
    e->setCalendarPopup(true);
    return e;
  };
  dtFrom = dateEdit("dtFrom", first);
  dtTo = dateEdit("dtTo", last);
  // Alt+M: Alt+F belongs to the File menu.
  auto* fromLabel = FieldCaption("Fro&m", dtFrom, this);
  auto* toLabel = FieldCaption("&To", dtTo, this);
  row->addWidget(fromLabel);
  row->addWidget(dtFrom);
  row->addSpacing(6);
  row->addWidget(toLabel);
  row->addWidget(dtTo);
  row->addSpacing(6);

  cboDial = new QComboBox(this);
  cboDial->setObjectName("cboDial");
  for (int d : {360, 90, 45, 30}) cboDial->addItem(QString("%1\u00B0").arg(d), d);
  auto* dialLabel = FieldCaption("&Dial", cboDial, this);
  row->addWidget(dialLabel);
  row->addWidget(cboDial);
  row->addSpacing(6);

  btnBodies = new QToolButton(this);
  btnBodies->setObjectName("btnBodies");
  btnBodies->setText("&Bodies");
  btnBodies->setPopupMode(QToolButton::InstantPopup);
  auto* bodyMenu = new QMenu(btnBodies);
  const std::vector<int> defaults = chart::DefaultBodies();
  for (int b = 1; b <= 11; ++b) {
    QAction* a = bodyMenu->addAction(chart::BodyGlyph(b) + "  " + chart::BodyName(b));
    a->setCheckable(true);
    a->setChecked(std::find(defaults.begin(), defaults.end(), b) != defaults.end());
    connect(a, &QAction::toggled, this, [this] { Recompute(); });
    bodyActions[b] = a;
  }
  // Chiron, the asteroids and the two Liliths, as the settings last had them.
  bodyMenu->addSeparator();
  const MinorChoice& minor = app_.settings().GraphMinorBodies;
  for (int b = kFirstMinorEventBody; b <= kLastMinorEventBody; ++b) {
    QAction* a = bodyMenu->addAction(chart::BodyGlyph(b) + "  " + chart::BodyName(b));
    a->setObjectName(QString("actMinor_") + MinorBodyKey(MinorBodyOfEvent(b)));
    a->setCheckable(true);
    a->setChecked(minor[static_cast<size_t>(b - kFirstMinorEventBody)]);
    connect(a, &QAction::toggled, this, [this] {
      app_.SetGraphMinorBodies(MinorChosen());
      Recompute();
    });
    bodyActions[b] = a;
  }
  btnBodies->setMenu(bodyMenu);
  row->addWidget(btnBodies);
  row->addSpacing(6);

  txtPoints = new QLineEdit(this);
  txtPoints->setObjectName("txtPoints");
  txtPoints->setPlaceholderText("e.g. 15.5, 120");
  txtPoints->setToolTip("Fixed points in degrees (natal positions), separated by commas");
  auto* pointsLabel = FieldCaption("Fixed &points", txtPoints, this);
  row->addWidget(pointsLabel);
  row->addWidget(txtPoints, 1);

  lblStatus = new QLabel(this);
  lblStatus->setObjectName("lblStatus");
  lblStatus->setStyleSheet("color: #a01010");
  row->addWidget(lblStatus);

  view = new ChartView(this);
  column->addWidget(view, 1);
  setCentralWidget(central);
  statusBar()->setObjectName("barReadout");
  statusBar()->setSizeGripEnabled(false);
  view->onReadout = [this](const QString& text) { statusBar()->showMessage(text); };

  connect(dtFrom, &QDateEdit::dateChanged, this, [this] { Recompute(); });
  connect(dtTo, &QDateEdit::dateChanged, this, [this] { Recompute(); });
  connect(cboDial, &QComboBox::currentIndexChanged, this, [this] { Redraw(); });
  connect(txtPoints, &QLineEdit::editingFinished, this, [this] { Redraw(); });
  resize(1100, 720);
  Recompute();
}

chart::ChartOptions GraphWindow::Options() const {
  chart::ChartOptions o;
  o.dial = cboDial->currentData().toInt();
  o.fixedPoints = points_;
  return o;
}

MinorChoice GraphWindow::MinorChosen() const {
  MinorChoice chosen{};
  for (const auto& [body, action] : bodyActions)
    if (IsMinorEventBody(body) && action->isChecked())
      chosen[static_cast<size_t>(body - kFirstMinorEventBody)] = true;
  return chosen;
}

void GraphWindow::Recompute() {
  lblStatus->clear();
  chart::SeriesRequest request;
  request.firstDayJD = JdOf(dtFrom->date());
  request.lastDayJD = JdOf(dtTo->date());
  for (const auto& [body, action] : bodyActions)
    if (action->isChecked()) request.bodies.push_back(body);
  if (request.lastDayJD <= request.firstDayJD) {
    lblStatus->setText("The last date must come after the first.");
    series_ = {};
  } else if (request.bodies.empty()) {
    lblStatus->setText("Choose at least one body.");
    series_ = {};
  } else {
    request.dayFraction = app_.params().Instant == InstantChoice::Noon ? 0.5 : 0.0;
    request.choices.zodiac = app_.params().ZodiacMode;
    request.choices.node = app_.params().MoonNodes;
    request.ayanamsa =
        app_.options().Ayanamsa(app_.params().ZodiacMode, app_.params().SiderealAyanamsa);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // The minor bodies' series (MINOR.DAT) are read when first chosen; without
    // them the planets are drawn alone and the status line says why.
    std::string minorError;
    if (AnyMinor(MinorChosen())) {
      if (const auto error = app_.LoadMinorBodies())
        minorError = error->Message();
      else
        request.minor = app_.minor();
    }
    series_ = chart::ComputeSeries(request, app_.series());
    QApplication::restoreOverrideCursor();
    // A chosen body the series do not cover is named.
    QStringList missing;
    for (int body : request.bodies)
      if (std::none_of(series_.bodies.begin(), series_.bodies.end(),
                       [body](const chart::BodySeries& b) { return b.body == body; }))
        missing << chart::BodyName(body);
    if (!minorError.empty())
      lblStatus->setText(QString::fromStdString(minorError));
    else if (!missing.isEmpty() && !series_.jd.empty())
      lblStatus->setText(missing.join(", ") + ": not drawn, outside the years of MINOR.DAT.");
  }
  Redraw();
}

void GraphWindow::Redraw() {
  std::string why;
  const auto points = chart::ParsePoints({txtPoints->text().toStdString()}, why);
  if (points) {
    points_ = *points;
  } else if (!series_.empty()) {
    lblStatus->setText(QString::fromStdString("Fixed points: " + why));
  }
  if (points && lblStatus->text().startsWith("Fixed points")) lblStatus->clear();
  view->SetChart(series_.empty() ? nullptr : &series_, Options());
  const bool drawable = !series_.empty();
  mnuExport->setEnabled(drawable);
  mnuPrint->setEnabled(drawable);
}

void GraphWindow::Export() {
  if (series_.empty()) return;
  const QString name = QString("graph-%1.svg").arg(dtFrom->date().toString("yyyy-MM-dd"));
  const QString path = dialogs_.SaveFileName(this, QString::fromStdString(app_.folder().string()),
                                             name, "Charts (*.svg *.png *.pdf)", "svg");
  if (path.isEmpty()) return;
  const std::filesystem::path file(path.toStdString());
  const auto format = chart::FormatOf(file);
  if (!format) {
    dialogs_.Message(this, MessageIcon::Exclamation, "Warning!",
                     "The file name must end in .svg, .png or .pdf.");
    return;
  }
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const std::string failure = chart::WriteChart(series_, Options(), file, *format);
  QApplication::restoreOverrideCursor();
  if (!failure.empty())
    dialogs_.Message(this, MessageIcon::Exclamation, "Warning!",
                     QString("The chart could not be written to %1: %2")
                         .arg(path, QString::fromStdString(failure)));
}

void GraphWindow::PrintOn(QPrinter& printer) {
  if (series_.empty()) return;
  printer.setPageOrientation(QPageLayout::Landscape);
  QPainter p;
  if (!p.begin(&printer)) {
    dialogs_.Message(this, MessageIcon::Exclamation, "Warning!",
                     "The printer could not be started.");
    return;
  }
  // Drawn at a screen-like size and scaled onto the page, so lines and text
  // keep their proportions at any printer resolution.
  const QRect page = p.viewport();
  chart::ChartOptions o = Options();
  o.width = 1600;
  o.height = std::round(1600.0 * page.height() / std::max(1, page.width()));
  p.setWindow(0, 0, int(o.width), int(o.height));
  chart::PaintChart(p, chart::BuildChart(series_, o));
  p.end();
}

void GraphWindow::Print() {
  QPrinter printer(QPrinter::HighResolution);
  // Printer Setup's printer and page, on a printer of the chart's own: its
  // landscape page leaves the kept printer as the user set it up.
  if (QPrinter* kept = keptPrinter ? keptPrinter() : nullptr) {
    if (kept->outputFormat() == QPrinter::PdfFormat) {
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(kept->outputFileName());
    } else {
      printer.setPrinterName(kept->printerName());
    }
    printer.setPageSize(kept->pageLayout().pageSize());
    printer.setColorMode(kept->colorMode());
    printer.setDuplex(kept->duplex());
    printer.setCopyCount(kept->copyCount());
  }
  printer.setPageOrientation(QPageLayout::Landscape);
  QPrintDialog dialog(&printer, this);
  if (!dialogs_.Exec(dialog)) return;
  PrintOn(printer);
}

}  // namespace novastra::gui
