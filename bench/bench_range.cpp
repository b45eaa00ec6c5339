// The range engine against the one-instant engine: the cost of one instant
// when the instants are an hour apart, and the sampling of a whole 1800-2100
// aspectarian (2,745,775 sampled instants, 25 a day) on one and on two threads,
// through the range engine (SampleDays) and instant by instant as before.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <thread>
#include <vector>

#include "app/application.h"
#include "astro/calendar.h"
#include "astro/engine.h"
#include "astro/range_engine.h"
#include "bench_support.h"
#include "reports/events.h"
#include "reports/sampling.h"

namespace novastra {
namespace {

const double kFirstJD = JulianDayNumber(1800, 1, 1);
const double kLastJD = JulianDayNumber(2100, 12, 31);

double HourT(double rowJD, int hour) { return (rowJD + hour / 24.0 - 0.5 - 2451545) / 36525; }

// One instant an hour, walking forward from 1 January 2000 as the aspectarian
// does: the one-instant engine (vector kernels) and the range engine.
void BM_InstantHourly(benchmark::State& state) {
  const SampleContext ctx = SampleContextOf(bench::SharedApp());
  const bool range = state.range(0) != 0;
  RangeEngine engine = HourEngine(ctx);
  double jd = 2451545;
  int hour = 0;
  std::int64_t n = 0;
  for (auto _ : state) {
    const InstantSetup s = PrepareInstantAt(HourT(jd, hour), jd, ctx.ayanamsa);
    if (range)
      benchmark::DoNotOptimize(engine.At(n, s));
    else
      benchmark::DoNotOptimize(ComputePositions(s, *ctx.tables, ctx.choices));
    ++n;
    if (++hour == 24) {
      hour = 0;
      jd += 1;
    }
  }
  state.SetItemsProcessed(state.iterations());
  state.SetLabel(range ? "range engine" : "one instant");
}
BENCHMARK(BM_InstantHourly)->Arg(0)->Arg(1);
// 2,400 instants (100 days) exactly, for instruction counts under
// valgrind --tool=callgrind --toggle-collect='*BM_InstantHourlyFixed*'.
void BM_InstantHourlyFixed(benchmark::State& state) { BM_InstantHourly(state); }
BENCHMARK(BM_InstantHourlyFixed)->Arg(0)->Arg(1)->Iterations(2400);

// Every sampled instant of 1800-01-01 .. 2100-12-31 in the aspectarian's
// batches, on 1 or 2 threads. range(1) = 0 samples instant by instant with the
// one-instant engine, the way the run sampled before the range engine.
void BM_Sampling1800To2100(benchmark::State& state) {
  const int threads = static_cast<int>(state.range(0));
  const bool range = state.range(1) != 0;
  const SampleContext ctx = SampleContextOf(bench::SharedApp());
  const int days = static_cast<int>(kLastJD - kFirstJD) + 1;
  constexpr int kBatch = kSampleBatch;
  std::vector<HourSamples> samples(kBatch);
  std::vector<InstantSetup> last(kBatch);
  for (auto _ : state) {
    for (int d = 0; d < days; d += kBatch) {
      const int count = std::min(kBatch, days - d);
      if (range) {
        SampleDays(ctx, kFirstJD + d, count, samples, last, threads);
      } else {
        auto work = [&](int t) {
          for (int k = count * t / threads; k < count * (t + 1) / threads; ++k)
            last[k] = SampleDay(ctx, nullptr, kFirstJD + d + k, samples[k]);
        };
        std::vector<std::thread> pool;
        for (int t = 1; t < threads; ++t) pool.emplace_back(work, t);
        work(0);
        for (auto& th : pool) th.join();
      }
      benchmark::DoNotOptimize(samples.data());
    }
  }
  state.counters["instants/s"] = benchmark::Counter(static_cast<double>(days) * kSamplesPerDay,
                                                    benchmark::Counter::kIsIterationInvariantRate);
  state.SetLabel(range ? "range engine" : "one instant");
}
BENCHMARK(BM_Sampling1800To2100)
    ->ArgsProduct({{1, 2}, {1, 0}})
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();

// The ephemeris's instants of 1800-2100: one a day at 0h UT.
void BM_Daily1800To2100(benchmark::State& state) {
  const SampleContext ctx = SampleContextOf(bench::SharedApp());
  const bool range = state.range(0) != 0;
  const int days = static_cast<int>(kLastJD - kFirstJD) + 1;
  for (auto _ : state) {
    RangeEngine engine(*ctx.tables, ctx.choices, 2451544.5, 1.0, 64);
    for (int d = 0; d < days; ++d) {
      const double rowJD = kFirstJD + d;
      const InstantSetup s = PrepareInstant(rowJD, 0.0, ctx.ayanamsa);
      if (range)
        benchmark::DoNotOptimize(engine.At(static_cast<std::int64_t>(rowJD - 2451545.0), s));
      else
        benchmark::DoNotOptimize(ComputePositions(s, *ctx.tables, ctx.choices));
    }
  }
  state.counters["instants/s"] =
      benchmark::Counter(static_cast<double>(days), benchmark::Counter::kIsIterationInvariantRate);
  state.SetLabel(range ? "range engine" : "one instant");
}
BENCHMARK(BM_Daily1800To2100)->Arg(1)->Arg(0)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace novastra
