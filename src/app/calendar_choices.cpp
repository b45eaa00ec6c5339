#include "app/calendar_choices.h"

#include "app/input_check.h"
#include "app/run_context.h"
#include "app/ui.h"

namespace novastra {

std::optional<CalendarChoices> CalendarChoicesOf(const RunContext& app, UserInterface& ui) {
  std::string error;
  const std::optional<TimeZone> zone = TimeZone::Find(app.params.TimeZoneName, &error);
  if (!zone) {
    ui.ShowMessage(MessageIcon::Information, kWarningTitle, error);
    return std::nullopt;
  }
  CalendarChoices c;
  c.zone = *zone;
  c.voidOfCourse = app.params.VoidOfCourse && app.params.Coords == Coordinates::Geocentric;
  c.stationDirection = app.options[13] != 0;
  return c;
}

}  // namespace novastra
