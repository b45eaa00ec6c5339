#pragma once
// The Input window's calendar choices: the time zone of the aspectarian and
// station times (a searchable list of the tz database's names) and the
// "Moon void of course" lines beside the Moon choices.
class QBoxLayout;
class QWidget;

namespace novastra {
class Application;
struct RunParameters;
}  // namespace novastra

namespace novastra::gui {

// Adds the zone list ("cboTimeZone") and the check box ("chkVoidOfCourse") to
// `layout`; they change the application's choices as they change.
void AddCalendarControls(QBoxLayout* layout, Application& app, QWidget* parent);

// Shows the parameters' zone and void-of-course choice in the controls.
void LoadCalendarControls(QWidget* window, const RunParameters& params);

}  // namespace novastra::gui
