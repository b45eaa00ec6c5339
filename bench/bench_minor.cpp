// Cost of the minor bodies: all seven places of one instant in each sky, and
// a daily run of 1800-2100 of the engine with and without them.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

#include "astro/engine.h"
#include "astro/minor_bodies.h"

namespace novastra {
namespace {

const SeriesTables& Series() {
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
const MinorTables& Minor() {
  static const MinorTables tables = [] {
    MinorTables t;
    if (const auto err = LoadMinorTables(NOVASTRA_DATA_DIR, t)) {
      std::fprintf(stderr, "%s\n", err->Message().c_str());
      std::exit(1);
    }
    return t;
  }();
  return tables;
}

void Places(benchmark::State& state, Sky sky) {
  double jd = 2451545.0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(ComputeMinorPlaces(Minor(), jd, sky));
    jd += 0.25;
  }
  state.SetItemsProcessed(state.iterations());
}
void BM_MinorPlacesDesign(benchmark::State& s) { Places(s, Sky::Design); }
void BM_MinorPlacesApparent(benchmark::State& s) { Places(s, Sky::Apparent); }
BENCHMARK(BM_MinorPlacesDesign);
BENCHMARK(BM_MinorPlacesApparent);

// One day of a 301-year daily run (1800-2100): the engine's eleven bodies,
// with (arg 1) or without (arg 0) the seven minor bodies.
void BM_DailyRun(benchmark::State& state) {
  const bool minor = state.range(0) != 0;
  const Sky sky = state.range(1) != 0 ? Sky::Apparent : Sky::Design;
  EngineChoices choices;
  choices.sky = sky;
  double jd = 2378496.5;
  for (auto _ : state) {
    const InstantSetup s = PrepareInstant(jd, 0.0, AyanamsaOption{});
    benchmark::DoNotOptimize(ComputePositions(s, Series(), choices));
    if (minor) benchmark::DoNotOptimize(ComputeMinorPlaces(Minor(), jd, sky));
    jd = jd >= 2488433.5 ? 2378496.5 : jd + 1;
  }
  state.SetItemsProcessed(state.iterations());
  state.SetLabel(std::string(minor ? "with" : "without") + " minor bodies, " +
                 (sky == Sky::Apparent ? "apparent" : "design"));
}
BENCHMARK(BM_DailyRun)->Args({0, 0})->Args({1, 0})->Args({0, 1})->Args({1, 1});

}  // namespace
}  // namespace novastra
