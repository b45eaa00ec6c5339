// The whole 1800-2100 range as the command line exports it: the aspectarian
// (2,745,775 sampled instants, events found, eclipses measured, stations
// given their minute, CSV rows written) and the
// ephemeris (110,058 days, all six tables' values) as CSV, on one thread and on
// two, through the same range runner as `novastra-cli --format csv`. The CSV
// text is built in memory and dropped, so no disk time is counted.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "app/application.h"
#include "app/range_run.h"
#include "astro/calendar.h"
#include "bench_support.h"
#include "reports/sampling.h"
#include "reports/stations.h"
#include "text/export_formats.h"

namespace novastra {
namespace {

const double kFirstJD = JulianDayNumber(1800, 1, 1);
const int kDays = static_cast<int>(JulianDayNumber(2100, 12, 31) - kFirstJD) + 1;

void BM_AspectarianCsv1800To2100(benchmark::State& state) {
  AspectarianRequest request;
  request.sky = SampleContextOf(bench::SharedApp());
  request.startJD = kFirstJD;
  request.dayCount = kDays;
  // As the command's CSV: each eclipse's type and magnitude, each station at
  // its stopping minute.
  request.findEclipses = true;
  RangeControl control;
  control.jobs = static_cast<int>(state.range(0));
  long long rows = 0;
  for (auto _ : state) {
    rows = 0;
    std::string csv = EventCsvHeader();
    RunZonedAspectarianRange(request, TimeZone(), control, [&](const AspectarianReport& piece) {
      csv.clear();
      AspectarianReport exported = piece;
      RefineStationEvents(request.sky, exported.events, nullptr);
      for (const VoidOfCourse& v : exported.voids) AppendVoidCsv(csv, v);
      for (const Event& e : exported.events)
        AppendEventCsv(csv, e, Coordinates::Geocentric, nullptr,
                       EclipseOfLunation(e, exported.eclipses));
      rows += static_cast<long long>(piece.events.size() + piece.voids.size());
      benchmark::DoNotOptimize(csv.data());
      return true;
    });
  }
  state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_AspectarianCsv1800To2100)
    ->Arg(1)
    ->Arg(2)
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

void BM_EphemerisCsv1800To2100(benchmark::State& state) {
  const Application& app = bench::SharedApp();
  EphemerisRequest request;
  request.tables = &app.series();
  request.ayanamsa = app.options().Ayanamsa();
  request.startJD = kFirstJD;
  request.dayCount = kDays;
  RangeControl control;
  control.jobs = static_cast<int>(state.range(0));
  for (auto _ : state) {
    std::string csv = DayCsvHeader();
    // Each piece written out where it was computed, as the command does.
    RunEphemerisRange(
        request, control,
        [](const EphemerisReport& piece) {
          std::string text;
          AppendEphemerisCsv(text, piece);
          return text;
        },
        [&](const EphemerisReport&, const std::string& text) {
          csv = text;
          benchmark::DoNotOptimize(csv.data());
          return true;
        });
  }
}
BENCHMARK(BM_EphemerisCsv1800To2100)
    ->Arg(1)
    ->Arg(2)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

}  // namespace
}  // namespace novastra
