// A year's geocentric aspectarian: the whole run, and its two halves apart
// (9,150 sampled instants; the event search over the samples).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "app/application.h"
#include "app/aspectarian_run.h"
#include "astro/calendar.h"
#include "reports/events.h"
#include "reports/sampling.h"

namespace novastra {
namespace {

constexpr int kDays = 366;

struct Fixture {
  HeadlessUi ui;
  std::unique_ptr<Application> app;
  double startJD = JulianDayNumber(2009, 1, 1);

  Fixture() {
    app = std::make_unique<Application>(ui, NOVASTRA_DATA_DIR);
    app->LoadFiles();
    RunParameters p = app->params();
    p.StartMonth = "1";
    p.StartDay = "1";
    p.StartYear = "2009";
    p.NumberOfDays = kDays;
    p.FullMonth = false;
    p.SaveData = false;
    p.Coords = Coordinates::Geocentric;
    p.Instant = InstantChoice::Midnight;
    app->SetParams(p);
    RunOptions options = app->options();
    options[5] = 0;
    app->SetOptions(options);
  }
};

Fixture& Shared() {
  static Fixture f;
  return f;
}

void BM_AspectarianRun366(benchmark::State& state) {
  Fixture& f = Shared();
  for (auto _ : state) {
    f.ui.events.clear();
    benchmark::DoNotOptimize(f.app->CalculateAspectarian());
  }
  state.counters["instants"] = kDays * kSamplesPerDay;
}
BENCHMARK(BM_AspectarianRun366)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Sampling366(benchmark::State& state) {
  Fixture& f = Shared();
  const SampleContext ctx = SampleContextOf(*f.app);
  HourSamples samples;
  for (auto _ : state) {
    RangeEngine engine = HourEngine(ctx);
    for (int d = 0; d < kDays; ++d) SampleDay(ctx, &engine, f.startJD + d, samples);
    benchmark::DoNotOptimize(samples);
  }
}
BENCHMARK(BM_Sampling366)->Unit(benchmark::kMillisecond);

// The same 9,150 instants as the run samples them: its batches of days over a few threads.
void BM_SamplingThreaded366(benchmark::State& state) {
  Fixture& f = Shared();
  const SampleContext ctx = SampleContextOf(*f.app);
  std::vector<HourSamples> samples(kSampleBatch);
  std::vector<InstantSetup> last(kSampleBatch);
  for (auto _ : state) {
    for (int d = 0; d < kDays; d += kSampleBatch)
      SampleDays(ctx, f.startJD + d, std::min(kSampleBatch, kDays - d), samples, last);
    benchmark::DoNotOptimize(samples);
  }
}
BENCHMARK(BM_SamplingThreaded366)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_EventFinding366(benchmark::State& state) {
  Fixture& f = Shared();
  const SampleContext ctx = SampleContextOf(*f.app);
  std::vector<HourSamples> days(kDays);
  for (int d = 0; d < kDays; ++d) SampleDay(ctx, f.startJD + d, days[d]);
  const InitialDirections start = DirectionsAt(ctx, f.startJD);
  EventChoices choices;
  size_t events = 0;
  for (auto _ : state) {
    InitialDirections dirs = start;
    for (int d = 0; d < kDays; ++d) {
      std::vector<Event> day = FindDayEvents(days[d], f.startJD + d, choices, dirs);
      SortDayEvents(day);
      events += day.size();
    }
  }
  state.counters["events/run"] =
      benchmark::Counter(static_cast<double>(events), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_EventFinding366)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace novastra
