#include "gui/input_window.h"

#include "gui/qt_ui.h"

#include <algorithm>

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/application.h"
#include "app/input_check.h"
#include "astro/ayanamsas.h"
#include "reports/minor_report.h"
#include "gui/calendar_controls.h"
#include "gui/qt_ui.h"
#include "gui/sunken_border.h"
#include "gui/widgets.h"

namespace novastra::gui {

namespace {

QGroupBox* Frame(const QString& title, std::initializer_list<QRadioButton*> options) {
  auto* box = new QGroupBox(title);
  auto* layout = new QVBoxLayout(box);
  auto* group = new QButtonGroup(box);
  for (auto* o : options) {
    layout->addWidget(o);
    group->addButton(o);
  }
  return box;
}

QRadioButton* Option(const char* name, const QString& caption) {
  auto* o = new QRadioButton(caption);
  o->setObjectName(name);
  return o;
}

}  // namespace

InputWindow::InputWindow(Application& app, QWidget* parent)
    : QWidget(parent, Qt::Window), app_(app) {
  setObjectName("InputD");
  setWindowTitle("Input Data");

  auto makeField = [this](const char* name, int maxLength) {
    auto* e = new QLineEdit(this);
    e->setObjectName(name);
    if (maxLength > 0) e->setMaxLength(maxLength);
    e->setAlignment(Qt::AlignRight);
    e->installEventFilter(this);
    return e;
  };
  txtMonth = makeField("txtMonth", 2);
  txtDay = makeField("txtDay", 2);
  txtYear = makeField("txtYear", 4);
  txtDays = makeField("txtDays", 3);
  VSDays = new QScrollBar(Qt::Vertical, this);
  VSDays->setObjectName("VSDays");
  VSDays->setRange(1, kMaxDays);
  VSDays->setSingleStep(1);
  VSDays->setPageStep(10);
  // The upper arrow, the Up key and the wheel turned up raise the number of
  // days, as spin arrows do: larger numbers are drawn at the top, and every
  // step action moves the other way from a plain scroll bar's.
  VSDays->setInvertedAppearance(true);
  connect(VSDays, &QAbstractSlider::actionTriggered, this, [this](int action) {
    const int v = VSDays->value();  // not yet moved by the action
    switch (action) {
      case QAbstractSlider::SliderSingleStepSub:
        VSDays->setSliderPosition(v + VSDays->singleStep());
        break;
      case QAbstractSlider::SliderSingleStepAdd:
        VSDays->setSliderPosition(v - VSDays->singleStep());
        break;
      case QAbstractSlider::SliderPageStepSub:
        VSDays->setSliderPosition(v + VSDays->pageStep());
        break;
      case QAbstractSlider::SliderPageStepAdd:
        VSDays->setSliderPosition(v - VSDays->pageStep());
        break;
      default: break;
    }
  });

  auto makeLabel = [this](const QString& text) {
    auto* l = new QLabel(text, this);
    l->setAlignment(Qt::AlignCenter);
    l->setAutoFillBackground(false);
    sunkenLabels_.append(l);
    return l;
  };

  auto* dateGrid = new QGridLayout;
  dateGrid->setHorizontalSpacing(10);
  dateGrid->setVerticalSpacing(6);
  dateGrid->addWidget(makeLabel("Month"), 0, 0);
  dateGrid->addWidget(makeLabel("Day"), 0, 1);
  dateGrid->addWidget(makeLabel("Year"), 0, 2);
  dateGrid->addWidget(makeLabel("# of Days"), 0, 3, 1, 2);
  dateGrid->addWidget(txtMonth, 1, 0);
  dateGrid->addWidget(txtDay, 1, 1);
  dateGrid->addWidget(txtYear, 1, 2);
  dateGrid->addWidget(txtDays, 1, 3);
  dateGrid->addWidget(VSDays, 1, 4);
  VSDays->setFixedHeight(txtDays->sizeHint().height());

  chkFullMonth = new QCheckBox("Calculate full month", this);
  chkFullMonth->setObjectName("chkFullMonth");
  chkSaveData = new QCheckBox("Save data to file", this);
  chkSaveData->setObjectName("chkSaveData");
  chkMoonChange = new QCheckBox("Moon - change sign only (Asp.)", this);
  chkMoonChange->setObjectName("chkMoonChange");
  chkMinorAspects = new QCheckBox("Minor aspects (Asp.)", this);
  chkMinorAspects->setObjectName("chkMinorAspects");
  chkMinorAspects->setToolTip(
      "Also list the semisextile, semisquare, quintile, sesquiquadrate, biquintile and quincunx");

  btnMinorBodies = new QToolButton(this);
  btnMinorBodies->setObjectName("btnMinorBodies");
  btnMinorBodies->setText("Minor bodies...");
  btnMinorBodies->setToolTip(
      "Chiron, the asteroids and the Black Moon: their aspects, ingresses and stations in the "
      "aspectarian, their longitudes in the ephemeris' View, Minor bodies");
  btnMinorBodies->setPopupMode(QToolButton::InstantPopup);
  auto* minorMenu = new QMenu(btnMinorBodies);
  for (const MinorBody b : kMinorBodies) {
    QAction* a = minorMenu->addAction(MinorBodyName(b));
    a->setObjectName(QString("actMinor_") + MinorBodyKey(b));
    a->setCheckable(true);
    connect(a, &QAction::toggled, this, [this, b](bool on) {
      if (loading_) return;
      RunParameters p = app_.params();
      p.MinorBodies[static_cast<size_t>(b)] = on;
      app_.SetParams(p);
    });
  }
  btnMinorBodies->setMenu(minorMenu);

  optMidnight = Option("optMidnight", "Midnight");
  optNoon = Option("optNoon", "Noon");
  optGeo = Option("optGeo", "Geocentric");
  optHelio = Option("optHelio", "Heliocentric");
  optMean = Option("optMean", "Mean");
  optTrue = Option("optTrue", "True");
  optOsculating = Option("optOsculating", "Osculating");
  optTropical = Option("optTropical", "Tropical");
  optSidereal = Option("optSidereal", "Sidereal");
  optAyanamsa = Option("optAyanamsa", "Ayanamsa");
  optDisplay = Option("optDisplay", "Display");
  optNoDisplay = Option("optNoDisplay", "Do not display");
  optLongitude = Option("optLongitude", "Longitude");
  optLatitude = Option("optLatitude", "Latitude");
  optRightAscension = Option("optRightAscension", "R. Ascension");
  optDeclination = Option("optDeclination", "Declination");
  optDesign = Option("optDesign", "Design");
  optApparent = Option("optApparent", "Apparent");

  auto* frames = new QGridLayout;
  frames->addWidget(Frame("GMT", {optMidnight, optNoon}), 0, 0);
  frames->addWidget(Frame("Coordinates", {optGeo, optHelio}), 0, 1);
  frames->addWidget(Frame("Nodes", {optMean, optTrue, optOsculating}), 0, 2);
  QGroupBox* zodiacFrame = Frame("Zodiac", {optTropical, optSidereal, optAyanamsa});
  // The standard ayanamsas by name beside Sidereal; the first entry is the
  // SVP's sidereal zodiac, as before.
  cboAyanamsa = new QComboBox(this);
  cboAyanamsa->setObjectName("cboAyanamsa");
  cboAyanamsa->addItem("SVP (default)", static_cast<int>(NamedAyanamsa::None));
  for (const NamedAyanamsaInfo& a : NamedAyanamsas())
    cboAyanamsa->addItem(a.name, static_cast<int>(a.id));
  if (auto* column = qobject_cast<QVBoxLayout*>(zodiacFrame->layout())) {
    column->removeWidget(optSidereal);
    auto* siderealRow = new QHBoxLayout;
    siderealRow->addWidget(optSidereal);
    siderealRow->addWidget(cboAyanamsa);
    column->insertLayout(1, siderealRow);
  }
  frames->addWidget(zodiacFrame, 1, 0);
  frames->addWidget(Frame("Moon - Change sign", {optDisplay, optNoDisplay}), 1, 1);
  frames->addWidget(
      Frame("Data Output", {optLongitude, optLatitude, optRightAscension, optDeclination}), 1, 2);

  cmdEphemeris = NamedButton("cmdEphemeris", "Calculate Ephemeris", this);
  cmdAspectarian = NamedButton("cmdAspectarian", "Calculate Aspectarian", this);

  auto* checks = new QVBoxLayout;
  checks->addWidget(chkFullMonth);
  checks->addWidget(chkSaveData);
  checks->addWidget(chkMoonChange);
  checks->addWidget(chkMinorAspects);
  checks->addWidget(btnMinorBodies, 0, Qt::AlignLeft);
  AddCalendarControls(checks, app_, this);
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(cmdEphemeris);
  buttons->addWidget(cmdAspectarian);
  auto* bottom = new QHBoxLayout;
  bottom->addLayout(checks);
  bottom->addStretch();
  bottom->addWidget(Frame("Sky", {optDesign, optApparent}), 0, Qt::AlignTop);
  bottom->addStretch();
  bottom->addLayout(buttons);

  auto* top = new QHBoxLayout;
  top->addLayout(dateGrid);
  top->addStretch();

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(14, 14, 14, 14);
  layout->setSpacing(10);
  layout->addLayout(top);
  layout->addLayout(frames);
  layout->addLayout(bottom);

  // Tab follows the window as it reads: the date, the choices row by row, the
  // check boxes and the zone, the sky, then the buttons.
  const QList<QWidget*> tabOrder = {txtMonth,
                                    txtDay,
                                    txtYear,
                                    txtDays,
                                    VSDays,
                                    optMidnight,
                                    optNoon,
                                    optGeo,
                                    optHelio,
                                    optMean,
                                    optTrue,
                                    optOsculating,
                                    optTropical,
                                    optSidereal,
                                    cboAyanamsa,
                                    optAyanamsa,
                                    optDisplay,
                                    optNoDisplay,
                                    optLongitude,
                                    optLatitude,
                                    optRightAscension,
                                    optDeclination,
                                    chkFullMonth,
                                    chkSaveData,
                                    chkMoonChange,
                                    chkMinorAspects,
                                    btnMinorBodies,
                                    findChild<QWidget*>("chkVoidOfCourse"),
                                    findChild<QWidget*>("chkLocalRows"),
                                    findChild<QWidget*>("cboTimeZone"),
                                    optDesign,
                                    optApparent,
                                    cmdEphemeris,
                                    cmdAspectarian};
  for (qsizetype i = 1; i < tabOrder.size(); ++i)
    if (tabOrder[i - 1] && tabOrder[i]) setTabOrder(tabOrder[i - 1], tabOrder[i]);

  connect(txtMonth, &QLineEdit::textChanged, this, [this](const QString& t) {
    RunParameters p = app_.params();
    p.StartMonth = t.toStdString();
    app_.SetParams(p);
  });
  connect(txtDay, &QLineEdit::textChanged, this, [this](const QString& t) {
    RunParameters p = app_.params();
    p.StartDay = t.toStdString();
    app_.SetParams(p);
  });
  connect(txtYear, &QLineEdit::textChanged, this, [this](const QString& t) {
    RunParameters p = app_.params();
    p.StartYear = t.toStdString();
    app_.SetParams(p);
  });
  connect(txtDays, &QLineEdit::textChanged, this, &InputWindow::DaysChanged);
  connect(VSDays, &QScrollBar::valueChanged, this,
          [this](int v) { txtDays->setText(QString::number(v)); });
  connect(chkFullMonth, &QCheckBox::clicked, this, [this] {
    ReadChoices();
    DaysChanged(txtDays->text());
  });
  for (QAbstractButton* b : std::initializer_list<QAbstractButton*>{
           chkSaveData, chkMoonChange, chkMinorAspects, optMidnight,    optNoon,       optGeo,
           optHelio,    optMean,           optTrue,        optOsculating, optTropical,
           optSidereal, optAyanamsa,       optDisplay,     optNoDisplay,  optLongitude,
           optLatitude, optRightAscension, optDeclination, optDesign,     optApparent})
    connect(b, &QAbstractButton::toggled, this, [this] { ReadChoices(); });
  connect(cboAyanamsa, &QComboBox::currentIndexChanged, this, [this] { ReadChoices(); });
  connect(cmdEphemeris, &QPushButton::clicked, this, [this] { Run(true); });
  connect(cmdAspectarian, &QPushButton::clicked, this, [this] { Run(false); });
  // Enter in a field runs the calculation last used (the ephemeris at first).
  for (QLineEdit* field : {txtMonth, txtDay, txtYear, txtDays})
    connect(field, &QLineEdit::returnPressed, this, [this] { Run(lastRunEphemeris_); });

  LoadFromParams();
  SetToday();
}

void InputWindow::SetToday() {
  const QDate today = QDate::currentDate();
  txtMonth->setText(QString::number(today.month()));
  txtDay->setText(QString::number(today.day()));
  txtYear->setText(QString::number(today.year()).rightJustified(4, '0'));
}

void InputWindow::ShowDate() {
  const RunParameters p = app_.params();
  txtMonth->setText(QString::fromStdString(p.StartMonth));
  txtDay->setText(QString::fromStdString(p.StartDay));
  txtYear->setText(QString::fromStdString(p.StartYear));
}

void InputWindow::LoadFromParams() {
  ShowDate();
  loading_ = true;
  const RunParameters& p = app_.params();
  chkFullMonth->setChecked(p.FullMonth);
  chkSaveData->setChecked(p.SaveData);
  chkMoonChange->setChecked(p.MoonChangeOnly);
  chkMinorAspects->setChecked((p.Aspects & ~kMajorAspects) != 0);
  for (const MinorBody b : kMinorBodies)
    if (auto* a = btnMinorBodies->menu()->findChild<QAction*>(QString("actMinor_") +
                                                               MinorBodyKey(b)))
      a->setChecked(p.MinorBodies[static_cast<size_t>(b)]);
  (p.Instant == InstantChoice::Midnight ? optMidnight : optNoon)->setChecked(true);
  (p.Coords == Coordinates::Heliocentric ? optHelio : optGeo)->setChecked(true);
  (p.MoonNodes == NodeMode::Mean         ? optMean
   : p.MoonNodes == NodeMode::Osculating ? optOsculating
                                         : optTrue)
      ->setChecked(true);
  (p.SkyChoice == Sky::Apparent ? optApparent : optDesign)->setChecked(true);
  (p.ZodiacMode == Zodiac::Sidereal   ? optSidereal
   : p.ZodiacMode == Zodiac::Ayanamsa ? optAyanamsa
                                      : optTropical)
      ->setChecked(true);
  cboAyanamsa->setCurrentIndex(
      std::max(0, cboAyanamsa->findData(static_cast<int>(p.SiderealAyanamsa))));
  cboAyanamsa->setEnabled(p.ZodiacMode == Zodiac::Sidereal);
  (p.MoonSign == MoonChangeSign::Display ? optDisplay : optNoDisplay)->setChecked(true);
  switch (p.Output) {
    case DataOutput::Longitude: optLongitude->setChecked(true); break;
    case DataOutput::Latitude: optLatitude->setChecked(true); break;
    case DataOutput::RightAscension: optRightAscension->setChecked(true); break;
    case DataOutput::Declination: optDeclination->setChecked(true); break;
  }
  LoadCalendarControls(this, p);
  loading_ = false;
  // The days field shows the number from the settings, kept within 1..366.
  const QString days = QString::number(p.NumberOfDays);
  if (txtDays->text() == days)
    DaysChanged(days);
  else
    txtDays->setText(days);
}

void InputWindow::ReadChoices() {
  if (loading_) return;
  RunParameters p = app_.params();
  p.FullMonth = chkFullMonth->isChecked();
  p.SaveData = chkSaveData->isChecked();
  p.MoonChangeOnly = chkMoonChange->isChecked();
  // A list chosen elsewhere (the command line's settings) stays while the box agrees with it.
  if (chkMinorAspects->isChecked() != ((p.Aspects & ~kMajorAspects) != 0))
    p.Aspects = chkMinorAspects->isChecked() ? kAllAspects : kMajorAspects;
  p.Instant = optMidnight->isChecked() ? InstantChoice::Midnight : InstantChoice::Noon;
  p.Coords = optHelio->isChecked() ? Coordinates::Heliocentric : Coordinates::Geocentric;
  p.MoonNodes = optMean->isChecked()         ? NodeMode::Mean
                : optOsculating->isChecked() ? NodeMode::Osculating
                                             : NodeMode::True;
  p.SkyChoice = optApparent->isChecked() ? Sky::Apparent : Sky::Design;
  p.ZodiacMode = optSidereal->isChecked()   ? Zodiac::Sidereal
                 : optAyanamsa->isChecked() ? Zodiac::Ayanamsa
                                            : Zodiac::Tropical;
  p.SiderealAyanamsa = static_cast<NamedAyanamsa>(cboAyanamsa->currentData().toInt());
  cboAyanamsa->setEnabled(p.ZodiacMode == Zodiac::Sidereal);
  p.MoonSign = optDisplay->isChecked() ? MoonChangeSign::Display : MoonChangeSign::NoDisplay;
  p.Output = optLatitude->isChecked()         ? DataOutput::Latitude
             : optRightAscension->isChecked() ? DataOutput::RightAscension
             : optDeclination->isChecked()    ? DataOutput::Declination
                                              : DataOutput::Longitude;
  app_.SetParams(p);
}

void InputWindow::DaysChanged(const QString& text) {
  RunParameters p = app_.params();
  SetDaysText(p, text.toStdString());
  app_.SetParams(p);
  {
    const QSignalBlocker block(VSDays);
    VSDays->setValue(app_.params().NumberOfDays);
  }
  const QString corrected = QString::fromStdString(app_.params().DaysText);
  if (corrected != text) txtDays->setText(corrected);
}

void InputWindow::Run(bool ephemeris) {
  ReadChoices();
  lastRunEphemeris_ = ephemeris;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  RunCommand(app_,
             ephemeris ? &Application::CalculateEphemeris : &Application::CalculateAspectarian);
  ShowDate();
  QApplication::restoreOverrideCursor();
}

bool InputWindow::eventFilter(QObject* watched, QEvent* event) {
  auto* field = qobject_cast<QLineEdit*>(watched);
  if (!field) return QWidget::eventFilter(watched, event);
  if (event->type() == QEvent::FocusIn) {
    // Select the whole text once the click that gave the focus is handled.
    QTimer::singleShot(0, field, [field] { field->selectAll(); });
  } else if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    const QString text = key->text();
    if (key->key() == Qt::Key_Backspace || key->key() == Qt::Key_Delete ||
        key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab ||
        key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
      return false;
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
      return true;                     // no paste of letters, no cut
    if (text.isEmpty()) return false;  // arrows, Home, End: no character typed
    if (text.size() == 1 && text[0] >= '0' && text[0] <= '9') return false;
    return true;  // every other character is discarded
  }
  return QWidget::eventFilter(watched, event);
}

void InputWindow::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QColor shadow = palette().color(QPalette::Dark), light = palette().color(QPalette::Light);
  for (QLabel* l : sunkenLabels_)
    DrawSunkenBorder(p, l->geometry(), logicalDpiX(), logicalDpiY(), shadow, light);
}

void InputWindow::keyPressEvent(QKeyEvent* event) {
  // Enter anywhere else in the window (a choice has the focus) runs too.
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    Run(lastRunEphemeris_);
    return;
  }
  QWidget::keyPressEvent(event);
}

void InputWindow::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton && activateMain) activateMain();
  QWidget::mouseReleaseEvent(event);
}

}  // namespace novastra::gui
