#pragma once
// The Input window "Input Data": start date, number of days and the run
// choices, edited straight into the application's RunParameters, and the two
// buttons that start a run.
#include <QWidget>
#include <functional>

class QCheckBox;
class QToolButton;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;

namespace novastra {
class Application;
}

namespace novastra::gui {

class InputWindow : public QWidget {
  Q_OBJECT
 public:
  explicit InputWindow(Application& app, QWidget* parent = nullptr);

  // Window load: today's date into the three date fields.
  void SetToday();
  // Puts the start date of the parameters into the date fields (a run or the
  // More commands may have moved it).
  void ShowDate();
  // Puts every field of the parameters into the controls.
  void LoadFromParams();

  // Activates the main window (right mouse button over the window).
  std::function<void()> activateMain;

  QLineEdit* txtMonth = nullptr;
  QLineEdit* txtDay = nullptr;
  QLineEdit* txtYear = nullptr;
  QLineEdit* txtDays = nullptr;
  QScrollBar* VSDays = nullptr;
  QCheckBox* chkFullMonth = nullptr;
  QCheckBox* chkSaveData = nullptr;
  QCheckBox* chkMoonChange = nullptr;
  QCheckBox* chkMinorAspects = nullptr;
  // "Minor bodies...": a menu of Chiron, the asteroids and the two Liliths.
  QToolButton* btnMinorBodies = nullptr;
  QRadioButton *optMidnight, *optNoon, *optGeo, *optHelio, *optMean, *optTrue, *optOsculating;
  QRadioButton *optTropical, *optSidereal, *optAyanamsa, *optDisplay, *optNoDisplay;
  QRadioButton *optLongitude, *optLatitude, *optRightAscension, *optDeclination;
  QRadioButton *optDesign, *optApparent;  // the sky
  QComboBox* cboAyanamsa = nullptr;       // the sidereal zodiac's named ayanamsa
  QPushButton* cmdEphemeris = nullptr;
  QPushButton* cmdAspectarian = nullptr;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void paintEvent(QPaintEvent*) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void DaysChanged(const QString& text);
  void ReadChoices();
  void Run(bool ephemeris);

  Application& app_;
  bool lastRunEphemeris_ = true;  // Enter runs the calculation last used
  QList<QLabel*> sunkenLabels_;
  bool loading_ = false;
};

}  // namespace novastra::gui
