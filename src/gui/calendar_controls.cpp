#include "gui/calendar_controls.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

#include "app/application.h"
#include "reports/time_zone.h"

namespace novastra::gui {

void AddCalendarControls(QBoxLayout* layout, Application& app, QWidget* parent) {
  auto* chk = new QCheckBox("Moon void of course (Asp.)", parent);
  chk->setObjectName("chkVoidOfCourse");
  auto* zone = new QComboBox(parent);
  zone->setObjectName("cboTimeZone");
  zone->setEditable(true);
  zone->setInsertPolicy(QComboBox::NoInsert);
  zone->addItem("UT");
  for (const std::string& name : ZoneNames()) zone->addItem(QString::fromStdString(name));
  // Typing any part of a name ("york", "kolkata") offers the matching zones.
  zone->completer()->setFilterMode(Qt::MatchContains);
  zone->completer()->setCaseSensitivity(Qt::CaseInsensitive);
  zone->completer()->setCompletionMode(QCompleter::PopupCompletion);

  auto* row = new QHBoxLayout;
  row->addWidget(new QLabel("Time zone", parent));
  row->addWidget(zone, 1);
  auto* rows = new QCheckBox("Ephemeris at local time (Eph.)", parent);
  rows->setObjectName("chkLocalRows");
  rows->setToolTip("Rows at midnight or noon of the time zone instead of 0h or 12h UT");
  layout->addWidget(chk);
  layout->addWidget(rows);
  layout->addLayout(row);
  QObject::connect(rows, &QCheckBox::toggled, parent, [&app](bool on) {
    RunParameters p = app.params();
    p.LocalRows = on;
    app.SetParams(p);
  });

  QObject::connect(chk, &QCheckBox::toggled, parent, [&app](bool on) {
    RunParameters p = app.params();
    p.VoidOfCourse = on;
    app.SetParams(p);
  });
  // A name of the tz database is taken as soon as it is complete; anything
  // else typed is put back to the zone in use when editing ends.
  QObject::connect(zone, &QComboBox::currentTextChanged, parent, [&app](const QString& text) {
    if (!TimeZone::Find(text.toStdString())) return;
    RunParameters p = app.params();
    p.TimeZoneName = text == "UTC" ? "UT" : text.toStdString();
    app.SetParams(p);
  });
  QObject::connect(zone->lineEdit(), &QLineEdit::editingFinished, parent, [&app, zone] {
    if (!TimeZone::Find(zone->currentText().toStdString()))
      zone->setCurrentText(QString::fromStdString(app.params().TimeZoneName));
  });
}

void LoadCalendarControls(QWidget* window, const RunParameters& params) {
  if (auto* chk = window->findChild<QCheckBox*>("chkVoidOfCourse"))
    chk->setChecked(params.VoidOfCourse);
  if (auto* rows = window->findChild<QCheckBox*>("chkLocalRows"))
    rows->setChecked(params.LocalRows);
  if (auto* zone = window->findChild<QComboBox*>("cboTimeZone"))
    zone->setCurrentText(QString::fromStdString(params.TimeZoneName));
}

}  // namespace novastra::gui
