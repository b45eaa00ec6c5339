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

  const int dayCount = std::max(request.dayCount, 0);
  std::vector<HourSamples> samples(std::min(dayCount, kSampleBatch));
  std::vector<InstantSetup> last(samples.size());
  for (int batch = 0; batch < dayCount; batch += kSampleBatch) {
    if (control.Cancelled()) {
      report.cancelled = true;
      break;
    }
    const int count = std::min(kSampleBatch, dayCount - batch);
    SampleDays(ctx, request.startJD + batch, count, samples, last, ctx.threads);
    for (int k = 0; k < count; ++k) {
      const int d = batch + k;
      control.Step(d);
      std::vector<Event> day =
          FindDayEvents(samples[k], request.startJD + d, request.choices, report.directions);
      SortDayEvents(day);
      report.events.insert(report.events.end(), day.begin(), day.end());
      report.dayCount = d + 1;
    }
  }
  if (request.findVoids && !report.cancelled)
    report.voids =
        VoidsOfRun(ctx, request.choices, request.startJD, report.dayCount, report.events);
  if (request.findEclipses && !report.cancelled)
    report.eclipses = EclipsesOfLunations(report.events, *ctx.tables);
  return report;
}

}  // namespace novastra
