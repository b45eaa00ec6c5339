#include "gui/calendar_export_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/message_box.h"
#include "reports/minor_report.h"

namespace novastra::gui {

namespace {

constexpr const char* kKindCaptions[kCalendarKinds] = {
    "&Aspects", "&Parallels", "&Ingresses", "S&tations", "&Lunations", "&Void-of-course Moon"};
constexpr const char* kBodyCaptions[] = {"",        "Sun",    "Moon",   "Mercury", "Venus", "Mars",
                                         "Jupiter", "Saturn", "Uranus", "Neptune", "Pluto", "Node"};

}  // namespace

CalendarExportDialog::CalendarExportDialog(const CalendarExportQuestion& question, QWidget* parent)
    : QDialog(parent) {
  setObjectName("CalendarExport");
  setWindowTitle("Export calendar");
  auto* layout = new QVBoxLayout(this);

  const QString zone = QString::fromStdString(question.zoneName);
  zoneLabel =
      new QLabel((zone == "UT" ? QString("Times in Universal Time (UTC)") : "Times in " + zone) +
                     QString(" - %1 events, %2 void-of-course periods")
                         .arg(question.eventCount)
                         .arg(question.voidCount),
                 this);
  zoneLabel->setObjectName("lblZone");
  layout->addWidget(zoneLabel);

  auto* kinds = new QGroupBox("Events", this);
  auto* kindGrid = new QGridLayout(kinds);
  for (int k = 0; k < kCalendarKinds; ++k) {
    QCheckBox* box = new QCheckBox(kKindCaptions[k], kinds);
    box->setObjectName(QString("chkKind_") + CalendarKindWord(static_cast<CalendarKind>(k)));
    box->setChecked(question.filter.kinds[static_cast<size_t>(k)]);
    kindGrid->addWidget(box, k / 3, k % 3);
    kindBoxes[static_cast<size_t>(k)] = box;
    connect(box, &QCheckBox::toggled, this, [this] { UpdateOk(); });
  }
  layout->addWidget(kinds);

  auto* bodies = new QGroupBox("Bodies", this);
  auto* bodyGrid = new QGridLayout(bodies);
  for (int b = 1; b <= 11; ++b) {
    QCheckBox* box = new QCheckBox(kBodyCaptions[b], bodies);
    box->setObjectName(QString("chkBody_") + CalendarBodyWord(b));
    box->setChecked(question.filter.bodies[static_cast<size_t>(b)]);
    bodyGrid->addWidget(box, (b - 1) / 4, (b - 1) % 4);
    bodyBoxes[static_cast<size_t>(b)] = box;
    connect(box, &QCheckBox::toggled, this, [this] { UpdateOk(); });
  }
  layout->addWidget(bodies);

  // Chiron, the asteroids and the two Liliths; their events are found for
  // the export when the run was not asked for them.
  auto* minor = new QGroupBox("Minor bodies", this);
  minor->setObjectName("grpMinorBodies");
  auto* minorGrid = new QGridLayout(minor);
  for (size_t m = 0; m < kMinorBodyCount; ++m) {
    QCheckBox* box = new QCheckBox(MinorBodyName(kMinorBodies[m]), minor);
    box->setObjectName(QString("chkMinor_") + MinorBodyKey(kMinorBodies[m]));
    box->setChecked(question.minorBodies && question.filter.minor[m]);
    minorGrid->addWidget(box, static_cast<int>(m / 4), static_cast<int>(m % 4));
    minorBoxes[m] = box;
    connect(box, &QCheckBox::toggled, this, [this] { UpdateOk(); });
  }
  minor->setEnabled(question.minorBodies);
  if (!question.minorBodies) minor->setToolTip("Minor bodies are found in geocentric runs only.");
  layout->addWidget(minor);

  auto* note = new QLabel("An aspect is exported when both its bodies are chosen.", this);
  note->setObjectName("lblNote");
  layout->addWidget(note);

  buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText("&Save...");
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  UpdateOk();
}

CalendarFilter CalendarExportDialog::Choices() const {
  CalendarFilter f;
  for (int k = 0; k < kCalendarKinds; ++k)
    f.kinds[static_cast<size_t>(k)] = kindBoxes[static_cast<size_t>(k)]->isChecked();
  for (int b = 1; b <= 11; ++b)
    f.bodies[static_cast<size_t>(b)] = bodyBoxes[static_cast<size_t>(b)]->isChecked();
  for (size_t m = 0; m < kMinorBodyCount; ++m)
    f.minor[m] = minorBoxes[m]->isEnabled() && minorBoxes[m]->isChecked();
  return f;
}

void CalendarExportDialog::UpdateOk() {
  const CalendarFilter f = Choices();
  bool kind = false, body = false;
  for (bool k : f.kinds) kind = kind || k;
  for (bool b : f.bodies) body = body || b;
  for (bool b : f.minor) body = body || b;
  buttons->button(QDialogButtonBox::Ok)->setEnabled(kind && body);
}

bool AskCalendarExportChoices(QWidget* parent, const CalendarExportQuestion& question,
                              CalendarFilter& choices, Dialogs& dialogs) {
  CalendarExportDialog dialog(question, MessageOwner(parent));
  const bool accepted = dialogs.Exec(dialog);
  if (!accepted) return false;
  choices = dialog.Choices();
  return true;
}

}  // namespace novastra::gui
