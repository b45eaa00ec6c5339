#include "app/eclipses_run.h"

#include "app/aspectarian_run.h"
#include "astro/calendar.h"
#include "reports/eclipses_report.h"
#include "text/date_input.h"
#include "text/eclipse_text.h"

namespace novastra {

std::string EclipsesText(RunContext& app) {
  const AspectarianState& s = app.aspectarian;
  if (!s.hasRun || s.dayCount <= 0) return "";
  EclipseRequest request;
  request.from = ParseDateText(DateTextFromJulianDay(s.firstDayJD));
  request.to = ParseDateText(DateTextFromJulianDay(s.firstDayJD + s.dayCount - 1));
  const EclipseReport report = BuildEclipseReport(request, app.series);
  const std::string table = EclipseTextTable(report, IsoDate(s.firstDayJD),
                                             IsoDate(s.firstDayJD + s.dayCount - 1),
                                             s.calendar.zone);
  // The view's lines end with CRLF, as the other texts appended to it.
  std::string out;
  for (char c : table) {
    if (c == '\n') out += '\r';
    out += c;
  }
  if (!out.empty()) out.resize(out.size() - 2);
  return out;
}

void ShowEclipses(RunContext& app) {
  if (!app.aspectarian.hasRun) {
    app.ui.ShowMessage(MessageIcon::Information, "Information", kNoEclipseRun);
    return;
  }
  app.ui.SetBusy(true);
  const int first = app.buffer.ViewTextLines();
  app.buffer.AppendLine(EclipsesText(app));
  app.buffer.ShowDataBuffer();
  app.ui.ScrollDataTo(first);
  app.ui.SetBusy(false);
}

}  // namespace novastra
