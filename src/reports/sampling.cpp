// Hourly samples of every body for the aspectarian's event search.
#include "reports/sampling.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <system_error>
#include <thread>

namespace novastra {

RangeEngine HourEngine(const SampleContext& ctx) {
  RangeEngine engine(*ctx.tables, ctx.choices, kHourGridOriginJD, 1.0 / 24);
  engine.InterpolateSlowBodies();
  return engine;
}

InstantSetup SampleDay(const SampleContext& ctx, RangeEngine* engine, double rowJD,
                       HourSamples& samples) {
  const bool helio = ctx.coords == Coordinates::Heliocentric;
  // Whole-day rows lie on the engine's hour grid; anything else is computed
  // instant by instant.
  const bool onGrid = engine != nullptr && rowJD == std::floor(rowJD);
  const std::int64_t first = onGrid ? static_cast<std::int64_t>(rowJD - 2451545.0) * 24 : 0;
  InstantSetup last;
  for (int h = 0; h < kSamplesPerDay; ++h) {
    last = PrepareInstantAt(HourT(rowJD, h), rowJD, ctx.ayanamsa);
    const BodyPositions pos =
        onGrid ? engine->At(first + h, last) : ComputePositions(last, *ctx.tables, ctx.choices);
    samples.first[0][h] = h;
    samples.second[0][h] = h;
    for (int b = 1; b <= 11; ++b) {
      samples.first[b][h] = helio ? pos.HelioLongitude[b] : pos.Longitude[b];
      samples.second[b][h] = helio ? pos.HelioLatitude[b] : pos.Declination[b];
    }
  }
  return last;
}

InstantSetup SampleDay(const SampleContext& ctx, double rowJD, HourSamples& samples) {
  RangeEngine engine = HourEngine(ctx);
  return SampleDay(ctx, &engine, rowJD, samples);
}

InitialDirections DirectionsAt(const SampleContext& ctx, double rowJD) {
  const double t = HourT(rowJD, 0);
  const BodyPositions before = ComputePositions(
      PrepareInstantAt(t - (1.0 / 24) / 36525, rowJD, ctx.ayanamsa), *ctx.tables, ctx.choices);
  const BodyPositions now =
      ComputePositions(PrepareInstantAt(t, rowJD, ctx.ayanamsa), *ctx.tables, ctx.choices);
  InitialDirections dirs;
  for (int b = 1; b <= 11; ++b) {
    const double d = now.Longitude[b] - before.Longitude[b];
    dirs.flag[b] = ((d > -1 && d < 0) || d > 358) ? 0 : 1;
  }
  return dirs;
}

void SampleDays(const SampleContext& ctx, double firstJD, int count,
                std::vector<HourSamples>& samples, std::vector<InstantSetup>& last,
                int maxThreads) {
  if (count <= 0) return;
  // Days are independent and a sample depends only on its hour: each thread
  // takes a run of consecutive days with its own range engine.
  const unsigned hw = std::thread::hardware_concurrency();
  int threads = std::min(count, std::clamp(static_cast<int>(hw), 1, 4));
  if (maxThreads > 0) threads = std::min(threads, maxThreads);
  auto work = [&](int t) {
    RangeEngine engine = HourEngine(ctx);
    const int from = count * t / threads, to = count * (t + 1) / threads;
    for (int k = from; k < to; ++k) last[k] = SampleDay(ctx, &engine, firstJD + k, samples[k]);
  };
  std::vector<std::thread> pool;
  try {
    for (int t = 1; t < threads; ++t) pool.emplace_back(work, t);
  } catch (const std::system_error&) {
    // No thread to spare: the days left over are sampled here.
    for (auto& th : pool) th.join();
    RangeEngine engine = HourEngine(ctx);
    for (int k = 0; k < count; ++k) last[k] = SampleDay(ctx, &engine, firstJD + k, samples[k]);
    return;
  }
  work(0);
  for (auto& th : pool) th.join();
}

bool ForEachSampledDay(const SampleContext& ctx, double firstJD, int dayCount,
                       const ReportControl& control,
                       const std::function<void(int, const HourSamples&)>& day) {
  dayCount = std::max(dayCount, 0);
  std::vector<HourSamples> samples(std::min(dayCount, kSampleBatch));
  std::vector<InstantSetup> last(samples.size());
  for (int batch = 0; batch < dayCount; batch += kSampleBatch) {
    if (control.Cancelled()) return false;
    const int count = std::min(kSampleBatch, dayCount - batch);
    SampleDays(ctx, firstJD + batch, count, samples, last, ctx.threads);
    for (int k = 0; k < count; ++k) {
      control.Step(batch + k);
      day(batch + k, samples[k]);
    }
  }
  return true;
}

}  // namespace novastra
