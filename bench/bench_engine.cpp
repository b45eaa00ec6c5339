// Instants per second of the position engine (items_per_second), for the fast
// path and the plain term-by-term path, and the parts that make up one instant.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

#include "astro/engine.h"
#include "astro/fast_trig.h"
#include "astro/moon.h"
#include "astro/planets.h"
#include "astro/pluto.h"

namespace novastra {
namespace {

const SeriesTables& Tables() {
  static const SeriesTables tables = [] {
    SeriesTables t;
    if (const auto err = LoadSeriesTables(NOVASTRA_DATA_DIR, t)) {
      std::fprintf(stderr, "%s\n", err->Message().c_str());
      std::exit(1);
    }
    return t;
  }();
  return tables;
}

// One instant per hour, walking forward from 1 January 2000, as the aspectarian does.
void Instant(benchmark::State& state, bool plain) {
  EngineChoices choices;
  choices.plain = plain;
  const SeriesTables& tables = Tables();
  double jd = 2451545;
  int hour = 0;
  for (auto _ : state) {
    const double T = (jd - 2451545.0 + hour / 24.0 - 0.5) / 36525.0;
    const InstantSetup s = PrepareInstantAt(T, jd, AyanamsaOption{});
    benchmark::DoNotOptimize(ComputePositions(s, tables, choices));
    if (++hour == 24) {
      hour = 0;
      jd += 1;
    }
  }
  state.SetItemsProcessed(state.iterations());
  state.SetLabel(plain ? "plain" : FastKernels().name);
}
void BM_InstantFast(benchmark::State& state) { Instant(state, false); }
void BM_InstantPlain(benchmark::State& state) { Instant(state, true); }
BENCHMARK(BM_InstantFast);
BENCHMARK(BM_InstantPlain);

// The parts of one instant: the nine series sets, Pluto, the Moon.
void Series(benchmark::State& state, const TrigKernels* fast) {
  double tau = 0.01;
  for (auto _ : state) {
    for (const SeriesSet& set : Tables().sets)
      benchmark::DoNotOptimize(ComputeHelio(set, tau, fast));
    tau += 1e-7;
  }
  state.SetItemsProcessed(state.iterations());
}
void BM_SeriesFast(benchmark::State& state) {
  Series(state, &FastKernels());
  state.SetLabel(FastKernels().name);
}
void BM_SeriesPlain(benchmark::State& state) { Series(state, nullptr); }
// Each vector variant this processor has.
void BM_SeriesKernel(benchmark::State& state) {
  const TrigKernels* k[] = {&Sse2Kernels(), Avx2Kernels()};
  const TrigKernels* kernel = k[state.range(0)];
  if (kernel == nullptr) {
    state.SkipWithError("not supported by this processor");
    return;
  }
  Series(state, kernel);
  state.SetLabel(kernel->name);
}
BENCHMARK(BM_SeriesFast);
BENCHMARK(BM_SeriesPlain);
BENCHMARK(BM_SeriesKernel)->DenseRange(0, 1);  // SSE2, AVX2

void Pluto(benchmark::State& state, const TrigKernels* fast) {
  const SunJ2000 sun = ComputeSunJ2000(Tables()[SeriesBody::EarthJ2000], 0.01, nullptr);
  double T = 0.1;
  for (auto _ : state) {
    benchmark::DoNotOptimize(ComputePluto(T, 2455197, sun, Tables().pluto, fast));
    T += 1e-6;
  }
  state.SetItemsProcessed(state.iterations());
}
void BM_PlutoFast(benchmark::State& state) { Pluto(state, &FastKernels()); }
void BM_PlutoPlain(benchmark::State& state) { Pluto(state, nullptr); }
BENCHMARK(BM_PlutoFast);
BENCHMARK(BM_PlutoPlain);

void Moon(benchmark::State& state, const TrigKernels* fast) {
  double T = 0.1;
  for (auto _ : state) {
    benchmark::DoNotOptimize(ComputeMoon(T, NodeMode::True, fast));
    T += 1e-6;
  }
  state.SetItemsProcessed(state.iterations());
}
void BM_MoonFast(benchmark::State& state) { Moon(state, &FastKernels()); }
void BM_MoonPlain(benchmark::State& state) { Moon(state, nullptr); }
BENCHMARK(BM_MoonFast);
BENCHMARK(BM_MoonPlain);

}  // namespace
}  // namespace novastra
