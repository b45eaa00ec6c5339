// "Changes in direction": each station of the last aspectarian run, found to
// the hour, refined to the minute by recomputing the planet minute by minute.
#include "app/aspectarian_run.h"
#include "app/run_context.h"
#include "reports/stations.h"
#include "text/stations_text.h"

namespace novastra {

std::string StationsText(RunContext& app) {
  if (app.aspectarian.stations.empty()) return "";
  const std::vector<Station> stations =
      BuildStations(SampleContextOf(app), app.aspectarian.stations,
                    app.minor ? &*app.minor : nullptr);
  const CalendarChoices& calendar = app.aspectarian.calendar;
  return calendar.Plain() ? StationsListText(stations, app.CarrySixty)
                          : CalendarStationsText(stations, calendar);
}

void ShowRetrogradeTimes(RunContext& app) {
  if (app.aspectarian.stations.empty()) return;
  app.ui.SetBusy(true);
  const std::string text = StationsText(app);
  const int first = app.buffer.ViewTextLines();
  app.buffer.AppendLine(text);
  app.buffer.ShowDataBuffer();
  app.ui.ScrollDataTo(first);
  app.ui.SetBusy(false);
}

}  // namespace novastra
