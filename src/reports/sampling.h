#pragma once
// The aspectarian's sampling of the sky, apart from its event search, and the
// pieces of the run that the station list and the benchmarks reuse.
#include <functional>
#include <string>
#include <vector>

#include "astro/engine.h"
#include "astro/range_engine.h"
#include "reports/events.h"
#include "reports/report.h"

namespace novastra {

// What the position engine needs for every sampled instant of a run.
struct SampleContext {
  const SeriesTables* tables = nullptr;
  EngineChoices choices;
  AyanamsaOption ayanamsa;
  Coordinates coords = Coordinates::Geocentric;
  // Threads that sample the days of one report: 0 as many as help (up to four,
  // one per core); a run that computes several reports at once gives each its
  // share of the threads it was given.
  int threads = 0;
};

// Fills the 25 hourly samples of the day whose noon Julian Day is rowJD;
// returns the set-up of the last sample (0h UT of the next day).
InstantSetup SampleDay(const SampleContext& ctx, double rowJD, HourSamples& samples);

// The range engine of the hourly samples: grid index 0 is 0h UT of 1 January
// 2000, one index per hour.
inline constexpr double kHourGridOriginJD = 2451544.5;
RangeEngine HourEngine(const SampleContext& ctx);
// SampleDay through `engine` (one engine serves consecutive days best).
InstantSetup SampleDay(const SampleContext& ctx, RangeEngine* engine, double rowJD,
                       HourSamples& samples);

// Samples `count` consecutive days from firstJD into samples[0..count-1]
// (and the last set-up of each into last), spread over a few threads (at most
// `threads` when it is not 0).
inline constexpr int kSampleBatch = 32;
void SampleDays(const SampleContext& ctx, double firstJD, int count,
                std::vector<HourSamples>& samples, std::vector<InstantSetup>& last,
                int threads = 0);

// The days firstJD .. + dayCount - 1 sampled in batches of kSampleBatch (on
// ctx.threads) and handed to `day` in order with their index; control's
// progress steps once per day. False when control cancelled before the end.
bool ForEachSampledDay(const SampleContext& ctx, double firstJD, int dayCount,
                       const ReportControl& control,
                       const std::function<void(int, const HourSamples&)>& day);

// Directions of all bodies at 0h UT of rowJD's day, from the hour before.
InitialDirections DirectionsAt(const SampleContext& ctx, double rowJD);

// T of an hour of the day whose noon Julian Day is rowJD.
inline double HourT(double rowJD, int hour) {
  return (rowJD + hour / 24.0 - 0.5 - 2451545) / 36525;
}

}  // namespace novastra
