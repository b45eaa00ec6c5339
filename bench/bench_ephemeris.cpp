// A full-year ephemeris run: 367 engine passes, six tables, one shown.
#include <benchmark/benchmark.h>

#include "app/application.h"

namespace {

void BM_EphemerisYear(benchmark::State& state) {
  novastra::HeadlessUi ui;
  novastra::Application app(ui, NOVASTRA_DATA_DIR);
  if (!app.LoadFiles()) {
    state.SkipWithError("cannot load the series data files");
    return;
  }
  novastra::RunParameters p = app.params();
  p.StartMonth = "1";
  p.StartDay = "1";
  p.StartYear = "2024";
  p.NumberOfDays = 366;
  p.DaysText = "366";
  p.FullMonth = false;
  p.SaveData = false;
  p.Instant = novastra::InstantChoice::Midnight;
  app.SetParams(p);
  for (auto _ : state) {
    ui.events.clear();
    const novastra::RunOutcome ok = app.CalculateEphemeris();
    benchmark::DoNotOptimize(ok);
  }
  state.SetItemsProcessed(state.iterations() * 366);
}
BENCHMARK(BM_EphemerisYear)->Unit(benchmark::kMillisecond);

}  // namespace
