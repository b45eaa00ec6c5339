#pragma once
// "Export calendar": the kinds of event and the bodies to put in the calendar
// file, with the zone of the run its times are given in.
#include <QDialog>
#include <array>
#include <functional>

#include "app/calendar_export.h"

class QCheckBox;
class QDialogButtonBox;
class QLabel;

namespace novastra::gui {

class Dialogs;

class CalendarExportDialog : public QDialog {
  Q_OBJECT
 public:
  CalendarExportDialog(const CalendarExportQuestion& question, QWidget* parent = nullptr);

  // The choices as the check boxes hold them.
  CalendarFilter Choices() const;

  std::array<QCheckBox*, kCalendarKinds> kindBoxes{};
  std::array<QCheckBox*, 12> bodyBoxes{};  // 1..11
  // Chiron .. Osc. Lilith, in the order of MinorChoice.
  std::array<QCheckBox*, kMinorBodyCount> minorBoxes{};
  QLabel* zoneLabel = nullptr;
  QDialogButtonBox* buttons = nullptr;

 private:
  // OK needs at least one kind and one body (a planet or a minor body).
  void UpdateOk();
};

// Shows the dialog through `dialogs`; true with the choices when accepted.
bool AskCalendarExportChoices(QWidget* parent, const CalendarExportQuestion& question,
                              CalendarFilter& choices, Dialogs& dialogs);

}  // namespace novastra::gui
