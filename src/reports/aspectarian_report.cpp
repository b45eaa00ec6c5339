#include "reports/aspectarian_report.h"

#include <algorithm>

#include "reports/minor_events.h"

namespace novastra {

namespace {

// The chosen minor bodies' events of a day, after the planets' (a day the
// asteroids' series do not cover adds none).
void AddMinorEvents(const AspectarianRequest& request, const HourSamples& samples, double dayJD,
                    std::vector<Event>& day) {
  MinorHourSamples minor;
  if (!SampleMinorDay(*request.minorTables, request.minor, request.sky, dayJD, minor)) return;
  const std::vector<Event> found =
      FindMinorDayEvents(samples, minor, request.minor, dayJD, request.choices);
  day.insert(day.end(), found.begin(), found.end());
}

}  // namespace

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

  const bool minor = request.minorTables != nullptr && AnyMinor(request.minor);
  report.cancelled = !ForEachSampledDay(
      ctx, request.startJD, request.dayCount, control, [&](int d, const HourSamples& samples) {
        std::vector<Event> day =
            FindDayEvents(samples, request.startJD + d, request.choices, report.directions);
        if (minor) AddMinorEvents(request, samples, request.startJD + d, day);
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
