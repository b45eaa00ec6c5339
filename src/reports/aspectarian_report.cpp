#include "reports/aspectarian_report.h"

#include <algorithm>

namespace novastra {

AspectarianReport BuildAspectarian(const AspectarianRequest& request,
                                   const ReportControl& control) {
  const SampleContext& ctx = request.sky;
  AspectarianReport report;
  report.startJD = request.startJD;
  if (request.directions) {
    report.directions = *request.directions;
  } else if (ctx.coords == Coordinates::Heliocentric) {
    report.directions.flag.fill(1);
  } else {
    report.directions = DirectionsAt(ctx, request.startJD);
  }
  const InstantSetup first =
      PrepareInstantAt(HourT(request.startJD, 0), request.startJD, ctx.ayanamsa);
  report.svp = first.Svp;
  report.ayanamsa = first.Ayanamsa;
  report.named = first.Named;

  report.cancelled = !ForEachSampledDay(
      ctx, request.startJD, request.dayCount, control, [&](int d, const HourSamples& samples) {
        std::vector<Event> day =
            FindDayEvents(samples, request.startJD + d, request.choices, report.directions);
        SortDayEvents(day);
        report.events.insert(report.events.end(), day.begin(), day.end());
        report.dayCount = d + 1;
      });
  if (request.findVoids && !report.cancelled)
    report.voids =
        VoidsOfRun(ctx, request.choices, request.startJD, report.dayCount, report.events);
  if (request.findEclipses && !report.cancelled)
    report.eclipses = EclipsesOfLunations(report.events, *ctx.tables);
  return report;
}

}  // namespace novastra
